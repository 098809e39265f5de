// kiryuza-analyze [--level N] [--candidates] < positions.txt
// kiryuza-analyze --selfplay SEED --moves N [--level N]
// kiryuza-analyze --match A B --games N [--seed S] [--time-ms T] [--time-ms-b T]
// kiryuza-analyze --match-engines CMD_A CMD_B --games N [--seed S] [--time-ms T] [--time-ms-b T]
//                 [--clock-ms C [--byoyomi-ms B] [--inc-ms I]] [--threads N]
//                 [--person-engine A|B [--person-model]]
// kiryuza-analyze --review FILE [--time-ms T] [--threads N] [--person sente|gote|both]
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <string>

#include "analyze.h"

namespace {

int 使い方() {
    std::cerr << "usage: kiryuza-analyze [--level N] [--candidates] < positions.txt\n"
                 "       kiryuza-analyze --selfplay SEED --moves N [--level N]\n"
                 "       kiryuza-analyze --match A B --games N [--seed S] [--time-ms T]"
                 " [--time-ms-b T]\n"
                 "       kiryuza-analyze --match-engines CMD_A CMD_B --games N [--seed S]"
                 " [--time-ms T]\n"
                 "                       [--time-ms-b T] [--clock-ms C [--byoyomi-ms B]"
                 " [--inc-ms I]] [--threads N]\n"
                 "                       [--person-engine A|B [--person-model]]\n"
                 "       kiryuza-analyze --review FILE [--time-ms T] [--threads N]"
                 " [--person sente|gote|both]\n"
                 "  --match plays level A against level B (levels 1..4; 4 is the searching\n"
                 "  player), each opening twice with the sides swapped. --time-ms is the\n"
                 "  thinking time of a level-4 player per move (default 1000), --time-ms-b\n"
                 "  that of player B when it should differ from A's.\n"
                 "  --match-engines plays the same games between two engine programs started\n"
                 "  with /bin/sh -c and spoken to on the engine protocol (docs/ENGINE.md):\n"
                 "  each move with go movetime T, or on a clock of C ms a side with byoyomi B\n"
                 "  and increment I (a move that comes after its side's time is gone loses).\n"
                 "  --threads sends the Threads option to both. An engine that dies, hangs or\n"
                 "  answers garbage loses the game. Each game's line ends with each engine's\n"
                 "  last, peak and lowest score of the game, with their moves.\n"
                 "  --person-engine holds player A or B (of either kind of match) to a person's\n"
                 "  moves, which always take the change of form: it is told so (an engine\n"
                 "  through its PersonSide option) and a move of it that declines a change\n"
                 "  loses. --person-model tells the other player too, so that it reads that\n"
                 "  side as a person.\n"
                 "  --review searches every position of the record file FILE for T ms\n"
                 "  (default 100), N positions at once (default 1, at most 32), and prints one\n"
                 "  line per move: its number, the move, the evaluation after it for the side\n"
                 "  that moved first (▲; centipawns, or mate N: the king taken on ply N), and\n"
                 "  for a move that lost too much 悪手 or 疑問手 with the move the searching\n"
                 "  player preferred and its evaluation; then the marks of ▲ and △. A file that\n"
                 "  cannot be read or is not a record: a message on stderr and exit code 1.\n"
                 "  --person names the side (▲ sente, △ gote, or both) whose moves a person\n"
                 "  entered, who always takes the change of form: its moves are judged against\n"
                 "  those it could make. Without it every side keeps the whole choice.\n";
    return 2;
}

bool 数値(const char* s, long long& v) {
    char* end = nullptr;
    v = std::strtoll(s, &end, 10);
    return end != s && *end == '\0';
}

}  // namespace

int main(int argc, char** argv) {
    long long レベル = 3;
    bool 候補 = false;
    bool 自己 = false;
    long long 種 = 0;
    long long 手数 = -1;
    bool 対戦 = false;
    long long レベルA = 0;
    long long レベルB = 0;
    long long 局数 = -1;
    long long 対戦種 = 1;
    long long 時間A = 1000;
    long long 時間B = -1;
    bool 対戦専用 = false;  // an option that only a match takes was given
    std::string 命令A;
    std::string 命令B;
    long long 持ち = 0;
    long long 秒読み = 0;
    long long 加算 = 0;
    long long スレッド = 0;
    bool 時計専用 = false;      // an option that only a match of engines takes was given
    bool 時間指定 = false;      // --time-ms: a match's or a review's
    bool スレッド指定 = false;  // --threads: a match of engines' or a review's
    bool レベル指定 = false;
    bool 講評 = false;
    std::string 棋譜パス;
    kiryuza::人の手番 人 = kiryuza::人の手番::なし;
    bool 人指定 = false;
    char 人のエンジン = 0;
    bool 人を読む = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool 値あり = i + 1 < argc;
        if (a == "--level" && 値あり) {
            レベル指定 = true;
            if (!数値(argv[++i], レベル) || レベル < 1 || レベル > 3) return 使い方();
        } else if (a == "--candidates") {
            候補 = true;
        } else if (a == "--selfplay" && 値あり) {
            自己 = true;
            if (!数値(argv[++i], 種) || 種 < 0) return 使い方();
        } else if (a == "--moves" && 値あり) {
            if (!数値(argv[++i], 手数) || 手数 < 0) return 使い方();
        } else if (a == "--match" && i + 2 < argc) {
            対戦 = true;
            if (!数値(argv[++i], レベルA) || レベルA < 1 || レベルA > 4) return 使い方();
            if (!数値(argv[++i], レベルB) || レベルB < 1 || レベルB > 4) return 使い方();
        } else if (a == "--match-engines" && i + 2 < argc) {
            命令A = argv[++i];
            命令B = argv[++i];
            if (命令A.empty() || 命令B.empty()) return 使い方();
        } else if (a == "--clock-ms" && 値あり) {
            時計専用 = true;
            if (!数値(argv[++i], 持ち) || 持ち < 1) return 使い方();
        } else if (a == "--byoyomi-ms" && 値あり) {
            時計専用 = true;
            if (!数値(argv[++i], 秒読み) || 秒読み < 0) return 使い方();
        } else if (a == "--inc-ms" && 値あり) {
            時計専用 = true;
            if (!数値(argv[++i], 加算) || 加算 < 0) return 使い方();
        } else if (a == "--review" && 値あり) {
            講評 = true;
            棋譜パス = argv[++i];
        } else if (a == "--person" && 値あり) {
            人指定 = true;
            const std::string v = argv[++i];
            if (v == "sente") {
                人 = kiryuza::人の手番::先手;
            } else if (v == "gote") {
                人 = kiryuza::人の手番::後手;
            } else if (v == "both") {
                人 = kiryuza::人の手番::両方;
            } else {
                return 使い方();
            }
        } else if (a == "--person-engine" && 値あり) {
            対戦専用 = true;
            const std::string v = argv[++i];
            if (v != "A" && v != "B") return 使い方();
            人のエンジン = v[0];
        } else if (a == "--person-model") {
            対戦専用 = true;
            人を読む = true;
        } else if (a == "--threads" && 値あり) {
            スレッド指定 = true;
            if (!数値(argv[++i], スレッド) || スレッド < 1) return 使い方();
        } else if (a == "--games" && 値あり) {
            対戦専用 = true;
            if (!数値(argv[++i], 局数) || 局数 < 1) return 使い方();
        } else if (a == "--seed" && 値あり) {
            対戦専用 = true;
            if (!数値(argv[++i], 対戦種) || 対戦種 < 0) return 使い方();
        } else if (a == "--time-ms" && 値あり) {
            時間指定 = true;
            if (!数値(argv[++i], 時間A) || 時間A < 1) return 使い方();
        } else if (a == "--time-ms-b" && 値あり) {
            対戦専用 = true;
            if (!数値(argv[++i], 時間B) || 時間B < 1) return 使い方();
        } else {
            return 使い方();
        }
    }
    std::ios::sync_with_stdio(false);
    const bool エンジン対戦 = !命令A.empty();
    if ((秒読み > 0 || 加算 > 0) && 持ち == 0) return 使い方();
    if (講評) {
        if (対戦 || エンジン対戦 || 自己 || 候補 || 手数 >= 0 || レベル指定 || 対戦専用 || 時計専用)
            return 使い方();
        const long long 上限 = std::numeric_limits<int>::max();
        kiryuza::講評の条件 条件;
        条件.時間ms = static_cast<int>(時間指定 ? std::min(時間A, 上限) : 100);
        条件.スレッド数 = static_cast<int>(スレッド指定 ? std::min(スレッド, 上限) : 1);
        条件.人 = 人;
        return kiryuza::棋譜講評(棋譜パス, 条件, std::cout, std::cerr) ? 0 : 1;
    }
    if (人指定) return 使い方();
    if ((時計専用 || スレッド指定) && !エンジン対戦) return 使い方();
    if (対戦 || エンジン対戦) {
        if (局数 < 1 || 自己 || 候補 || 手数 >= 0 || (対戦 && エンジン対戦)) return 使い方();
        if (人を読む && 人のエンジン == 0) return 使い方();
        kiryuza::対戦設定 設定;
        設定.レベルA = static_cast<int>(レベルA);
        設定.レベルB = static_cast<int>(レベルB);
        設定.局数 = static_cast<int>(局数);
        設定.種 = static_cast<std::uint64_t>(対戦種);
        設定.時間msA = static_cast<int>(時間A);
        設定.時間msB = static_cast<int>(時間B > 0 ? 時間B : 時間A);
        設定.命令A = 命令A;
        設定.命令B = 命令B;
        設定.時計 = {持ち, 秒読み, 加算};
        設定.スレッド数 = static_cast<int>(スレッド);
        設定.人 = 人のエンジン;
        設定.人を読む = 人を読む;
        kiryuza::対戦(std::cout, 設定);
        return 0;
    }
    if (対戦専用 || 時間指定) return 使い方();
    if (自己) {
        if (手数 < 0 || 候補) return 使い方();
        kiryuza::自己対局(std::cout, static_cast<std::uint64_t>(種), static_cast<int>(手数),
                          static_cast<int>(レベル));
        return 0;
    }
    if (手数 >= 0) return 使い方();
    return kiryuza::局面解析(std::cin, std::cout, static_cast<int>(レベル), 候補) ? 0 : 1;
}
