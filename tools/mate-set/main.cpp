// kiryuza-mate-set [--seed N] [--per-length N] [--no-mate N] [--seconds S] > mates.txt
//
// Makes mating positions for the tests and the benchmarks: random positions with a king, a few
// pieces of each side around it, a few pieces in hand and the attacker's king far away, and
// small changes to the mates of five plies or more found so far (a piece added, moved, taken
// away, given to a hand), which finds the longer mates far more often. A
// position is kept when the solver finds a mate of 3 to 11 plies whose first move is the only
// one that mates as soon (a change of form of the same move aside), until --per-length of each
// odd length are found; --no-mate positions where the attacker has checks but no mate within
// 63 plies are kept too. Writes one position a line, ordered by length: the attacker (COM, the
// upper side, or MAN), the plies of the mate (0: none) and the position as a record line.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/deep_board.h"
#include "engine/mate_solver.h"
#include "record/record_line.h"

namespace kiryuza {
namespace {

constexpr int 最長 = 11;
constexpr std::uint64_t 節点上限 = 100000;

using 乱数 = std::mt19937;

int 一つ(乱数& g, int n) {
    return static_cast<int>(g() % static_cast<unsigned>(n));
}

// A code of kind k (1..7) for one side on row y: mostly the promoted form, sometimes the plain
// one where a piece standing there could have it (pawn, lance and knight only in the far zone,
// with a move left).
int 駒を選ぶ(乱数& g, int k, bool COM側, int y) {
    const int 符号 = COM側 ? 1 : -1;
    const int 成 = 符号 * 駒種類表[k].成;
    const int 元 = 符号 * 駒種類表[k].元;
    if (成 == 元 || 一つ(g, 3) != 0) return 成;
    if (k <= 3) {
        const bool 敵陣 = COM側 ? y >= 7 : y <= 3;
        if (!敵陣 || 移動後チェック(y, 元) == 定数_OFF) return 成;
    }
    return 元;
}

struct 組立 {
    乱数& g;
    局面 局{};
    int 使用[9]{};

    // Counts the pieces of each kind already on the board and in the hands.
    void 数える() {
        for (int& n : 使用) n = 0;
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) ++使用[駒の種類番号(局.盤面[x][y])];
        for (int k = 1; k <= 7; ++k) 使用[k] += 局.持駒MAN[k] + 局.持駒COM[k];
    }

    // A kind 1..7 of which the set still has a piece, or 0.
    int 種類() {
        for (int t = 0; t < 20; ++t) {
            const int k = 1 + 一つ(g, 7);
            if (使用[k] < 駒種類表[k].枚数) {
                ++使用[k];
                return k;
            }
        }
        return 0;
    }

    // Puts a piece of the side on an empty square within `距離` of (kx, ky).
    void 近くに置く(bool COM側, int kx, int ky, int 距離) {
        const int k = 種類();
        if (k == 0) return;
        for (int t = 0; t < 30; ++t) {
            const int x = kx - 距離 + 一つ(g, 2 * 距離 + 1);
            const int y = ky - 距離 + 一つ(g, 2 * 距離 + 1);
            if (x < 1 || x > 9 || y < 1 || y > 9 || 局.盤面[x][y] != 空桝) continue;
            局.盤面[x][y] = 駒を選ぶ(g, k, COM側, y);
            return;
        }
        --使用[k];
    }

    void 持たせる(bool COM側) {
        const int k = 種類();
        if (k != 0) ++(COM側 ? 局.持駒COM : 局.持駒MAN)[k];
    }
};

bool 王が無事(const 局面& 局, bool 攻COM);

// A random position for the attacker `攻COM` to move; false when it came out unusable.
bool 組み立てる(乱数& g, 局面& 出力, bool& 攻COM) {
    組立 a{g};
    攻COM = 一つ(g, 2) == 0;
    const bool 守COM = !攻COM;
    // The defender's king near its own edge; the attacker's far away on its own side, or
    // close enough to be drawn into the fight.
    static constexpr int 段[] = {1, 1, 1, 1, 2, 2, 2, 3, 3, 4};
    const int kx = 1 + 一つ(g, 9);
    const int d = 段[一つ(g, 10)];
    const int ky = 守COM ? d : 10 - d;
    a.局.盤面[kx][ky] = 守COM ? 駒_COM王 : 駒_MAN王;
    int ax = kx <= 5 ? 9 - 一つ(g, 2) : 1 + 一つ(g, 2);
    int ay = 攻COM ? 1 : 9;
    if (一つ(g, 3) == 0) {
        ax = std::clamp(kx - 4 + 一つ(g, 9), 1, 9);
        ay = std::clamp(ky + (攻COM ? -1 : 1) * (2 + 一つ(g, 3)), 1, 9);
        if (std::max(std::abs(ax - kx), std::abs(ay - ky)) < 2) return false;
    }
    a.局.盤面[ax][ay] = 攻COM ? 駒_COM王 : 駒_MAN王;

    const int 守駒 = 一つ(g, 5);
    for (int i = 0; i < 守駒; ++i) a.近くに置く(守COM, kx, ky, 2);
    const int 攻駒 = 1 + 一つ(g, 3);
    for (int i = 0; i < 攻駒; ++i) a.近くに置く(攻COM, kx, ky, 3);
    const int 攻持 = 一つ(g, 4);
    for (int i = 0; i < 攻持; ++i) a.持たせる(攻COM);
    if (一つ(g, 3) == 0) {
        const int 守持 = 1 + 一つ(g, 2);
        for (int i = 0; i < 守持; ++i) a.持たせる(守COM);
    }
    出力 = a.局;
    return 王が無事(出力, 攻COM);
}

// True when neither king can be taken before the attacker moves.
bool 王が無事(const 局面& 局, bool 攻COM) {
    static const 駒得表 無評価{};
    探索盤 盤(無評価);
    盤.設定(局, 攻COM);
    return !盤.王を取れる(盤.手番) && !盤.王を取れる(-盤.手番);
}

// A small change to a position: a piece added near the defender's king or taken away, a piece
// moved, a piece given to a hand or taken from one. False when it came out unusable.
bool 変える(乱数& g, 局面& 局, bool 攻COM) {
    組立 a{g, 局};
    a.数える();
    const bool 守COM = !攻COM;
    int kx = 0;
    int ky = 0;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (局.盤面[x][y] == (守COM ? 駒_COM王 : 駒_MAN王)) kx = x, ky = y;
    // A square of the board holding no king, for moving or removing its piece.
    auto 駒の桝 = [&](int& x, int& y) {
        for (int t = 0; t < 50; ++t) {
            x = 1 + 一つ(g, 9);
            y = 1 + 一つ(g, 9);
            const int c = a.局.盤面[x][y];
            if (c != 空桝 && c != 駒_COM王 && c != 駒_MAN王) return true;
        }
        return false;
    };
    int x = 0;
    int y = 0;
    switch (一つ(g, 7)) {
        case 0:
            a.近くに置く(守COM, kx, ky, 2);
            break;
        case 1:
            a.近くに置く(攻COM, kx, ky, 3);
            break;
        case 2:
            if (!駒の桝(x, y)) return false;
            a.局.盤面[x][y] = 空桝;
            break;
        case 3: {
            if (!駒の桝(x, y)) return false;
            const int c = a.局.盤面[x][y];
            a.局.盤面[x][y] = 空桝;
            const int nx = kx - 3 + 一つ(g, 7);
            const int ny = ky - 3 + 一つ(g, 7);
            if (nx < 1 || nx > 9 || ny < 1 || ny > 9 || a.局.盤面[nx][ny] != 空桝) return false;
            a.局.盤面[nx][ny] = 駒を選ぶ(g, 駒の種類番号(c), c > 0, ny);
            break;
        }
        case 4:
            a.持たせる(一つ(g, 2) == 0);
            break;
        default: {
            int* 持駒 = 一つ(g, 2) == 0 ? a.局.持駒COM : a.局.持駒MAN;
            const int k = 1 + 一つ(g, 7);
            if (持駒[k] == 0) return false;
            --持駒[k];
            break;
        }
    }
    局 = a.局;
    return 王が無事(局, 攻COM);
}

// True when no first move of the attacker but `初手` (or `初手` in its other form) mates within
// `手数` plies; each other check is tried against every defence with the solver.
bool 唯一(詰み探索& 探索, const 局面& 局, bool 攻COM, int 手数, const 最善手& 初手) {
    static const 駒得表 無評価{};
    探索盤 盤(無評価);
    盤.設定(局, 攻COM);
    手符号 王手[600];
    const int n = 盤.王手生成(王手, 600);
    const int 初元 = 初手.元X == 持駒列_COM || 初手.元X == 持駒列_MAN
                         ? 打ち元 + (攻COM ? 初手.元Y : 初手.元Y - 2)
                         : 初手.元X * 10 + 初手.元Y;
    for (int i = 0; i < n; ++i) {
        if (手の元(王手[i]) == 初元 && 手の先(王手[i]) == 初手.先X * 10 + 初手.先Y) continue;
        復元情報 r;
        盤.指す(王手[i], r);
        bool 詰む = !盤.王を取れる(盤.手番);
        手符号 応手[600];
        const int m = 詰む ? 盤.王手回避生成(応手, 600) : 0;
        for (int j = 0; j < m && 詰む; ++j) {
            if (手数 < 3) {
                詰む = false;
                break;
            }
            復元情報 r2;
            盤.指す(応手[j], r2);
            詰み設定 s;
            s.最大手数 = 手数 - 2;
            s.節点上限 = 節点上限;
            const 詰み結果 k = 探索.探す(盤.局, 攻COM, s);
            盤.戻す(応手[j], r2);
            if (k.判定 == 詰み判定::不明) return false;
            詰む = k.判定 == 詰み判定::詰み;
        }
        盤.戻す(王手[i], r);
        if (詰む) return false;
    }
    return true;
}

// True when the attacker has at least one check.
bool 王手あり(const 局面& 局, bool 攻COM) {
    static const 駒得表 無評価{};
    探索盤 盤(無評価);
    盤.設定(局, 攻COM);
    手符号 王手[600];
    return 盤.王手生成(王手, 600) > 0;
}

// True when the solver finds no mate at all within the longest mate it looks for.
bool 詰みなし(詰み探索& 探索, const 局面& 局, bool 攻COM) {
    詰み設定 s;
    s.最大手数 = 詰み手順最大長;
    s.節点上限 = 節点上限;
    return 探索.探す(局, 攻COM, s).判定 == 詰み判定::不詰;
}

std::string 行にする(const 局面& 局) {
    棋譜行データ d;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) d.盤面[x][y] = 局.盤面[x][y];
    for (int k = 1; k <= 7; ++k) {
        d.持駒MAN[k] = 局.持駒MAN[k];
        d.持駒COM[k] = 局.持駒COM[k];
    }
    std::string s;
    if (棋譜行を書く(d, s) != 書込誤り::なし) return {};
    return s;
}

// A mate found, with the random position it was changed from.
struct 種局面 {
    局面 局;
    bool 攻COM;
    int 長さ;
    long long 家;
};

bool 数値(const char* s, long long& v) {
    char* end = nullptr;
    v = std::strtoll(s, &end, 10);
    return end != s && *end == '\0' && v >= 0;
}

}  // namespace
}  // namespace kiryuza

int main(int argc, char** argv) {
    using namespace kiryuza;
    long long 乱数種 = 1;
    long long 各 = 8;
    long long 不詰数 = 6;
    long long 秒 = 300;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        long long* 先 = a == "--seed"         ? &乱数種
                        : a == "--per-length" ? &各
                        : a == "--no-mate"    ? &不詰数
                        : a == "--seconds"    ? &秒
                                              : nullptr;
        if (先 == nullptr || i + 1 >= argc || !数値(argv[++i], *先)) {
            std::cerr << "usage: kiryuza-mate-set [--seed N] [--per-length N] [--no-mate N]"
                         " [--seconds S] > mates.txt\n";
            return 2;
        }
    }
    乱数 g(static_cast<unsigned>(乱数種));
    詰み探索 探索(64);
    std::map<int, std::vector<std::string>> 集;
    std::set<std::string> 出した;
    const auto 期限 = std::chrono::steady_clock::now() + std::chrono::seconds(秒);
    long long 試行 = 0;
    // Mates of five plies or more found so far, as starting points for changes, and how many
    // positions of the set came from each random position (at most two, for variety).
    std::vector<種局面> 種;
    std::map<long long, int> 家の数;
    constexpr std::size_t 種上限 = 200;
    auto 揃った = [&] {
        for (int L = 3; L <= 最長; L += 2)
            if (static_cast<long long>(集[L].size()) < 各) return false;
        return static_cast<long long>(集[0].size()) >= 不詰数;
    };
    while (!揃った() && std::chrono::steady_clock::now() < 期限) {
        ++試行;
        局面 局;
        bool 攻COM = true;
        int 元の長さ = 0;
        long long 家 = 試行;
        if (!種.empty() && 一つ(g, 2) == 0) {
            // A change to a mate found before, to look for a longer one near it.
            const 種局面& t = 種[static_cast<std::size_t>(一つ(g, static_cast<int>(種.size())))];
            局 = t.局;
            攻COM = t.攻COM;
            元の長さ = t.長さ;
            家 = t.家;
            if (!変える(g, 局, 攻COM)) continue;
        } else if (!組み立てる(g, 局, 攻COM)) {
            continue;
        }
        探索.初期化();
        詰み設定 s;
        s.最大手数 = 最長;
        s.節点上限 = 節点上限;
        const 詰み結果 r = 探索.探す(局, 攻COM, s);
        int L = -1;
        if (r.判定 == 詰み判定::不詰 && static_cast<long long>(集[0].size()) < 不詰数 &&
            王手あり(局, 攻COM) && 詰みなし(探索, 局, 攻COM))
            L = 0;
        if (r.判定 == 詰み判定::詰み && r.最短 && r.手順長 == r.手数 && r.手数 >= 3 &&
            r.手数 <= 最長) {
            L = r.手数;
            if (L >= 5 && L >= 元の長さ) {
                if (種.size() >= 種上限) 種.erase(種.begin());
                種.push_back({局, 攻COM, L, 家});
            }
        }
        if (L < 0 || static_cast<long long>(集[L].size()) >= (L == 0 ? 不詰数 : 各)) continue;
        if (L > 0 && 家の数[家] >= 2) continue;
        if (L > 0 && !唯一(探索, 局, 攻COM, L, r.手順[0])) continue;
        const std::string 行 = 行にする(局);
        if (行.empty() || !出した.insert(行).second) continue;
        ++家の数[家];
        集[L].push_back(std::string(攻COM ? "COM " : "MAN ") + std::to_string(L) + " " + 行);
        std::cerr << "trial " << 試行 << ": " << (攻COM ? "COM" : "MAN") << " mates in " << L
                  << " (" << r.節点数 << " nodes)\n";
    }
    for (int L = 3; L <= 最長; L += 2)
        for (const auto& s : 集[L]) std::cout << s << '\n';
    for (const auto& s : 集[0]) std::cout << s << '\n';
    std::cerr << 試行 << " positions tried\n";
    for (const auto& [L, v] : 集) std::cerr << "length " << L << ": " << v.size() << '\n';
    return 揃った() ? 0 : 1;
}
