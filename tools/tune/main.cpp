// Tunes the searching player's evaluation from the outcomes of its own games (run by hand, not
// by the build):
//
//   kiryuza-tune games OUT --games N [--nodes K] [--seed S] [--jobs J]
//     plays N games of the searching player against itself, K nodes a move, J games at once,
//     and writes to OUT one line per quiet position ("RESULT SFEN", RESULT the lower side's
//     score: 1, 0.5 or 0);
//   kiryuza-tune fit IN [--passes P] [--jobs J] [--only NAME,...]
//     fits the evaluation's numbers to those outcomes (a logistic curve of the score, numbers
//     moved one step at a time while the fit improves) and prints them as 評価係数; with
//     --only, just the numbers whose names begin with one of the names given.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <mutex>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "analyze.h"
#include "engine/deep_board.h"
#include "engine/deep_eval.h"
#include "engine/deep_search.h"

namespace kiryuza {
namespace {

constexpr int 序盤手数 = 6;       // random plies that make an opening
constexpr int 最長手数 = 500;     // a game that goes on longer is a draw
constexpr int 記録開始手数 = 16;  // positions before this come from the opening
// One position in so many is kept: those of one game are much alike, and fewer fit faster.
constexpr int 記録間隔 = 3;

struct 標本 {
    局面と手番 位置;
    float 結果;  // the lower side's score
};

// One game of the searching player against itself; appends its quiet positions with the
// outcome: positions where the side to move is not in check and the move chosen takes nothing.
void 一局(std::uint64_t 種, std::uint64_t 節点, std::vector<標本>& 出力) {
    std::mt19937_64 rng(種);
    局面と手番 p = 開始局面();
    乱数の序盤(p, rng, 序盤手数);
    深読みエンジン エンジン(16, 1);
    const 深読み評価 評価器;
    探索盤 盤(評価器.表);
    std::vector<std::uint64_t> 既出;
    深読み設定 設定;
    設定.時間ms = 0;
    設定.節点上限 = 節点;
    設定.揺らぎ種 = 種 | 1;
    const std::size_t 初め = 出力.size();
    float 結果 = 0.5F;
    for (int 手数 = 序盤手数; 手数 < 最長手数; ++手数) {
        設定.既出鍵 = 既出.data();
        設定.既出鍵数 = static_cast<int>(既出.size());
        const 深読み結果 r = エンジン.探索(p.局, p.COM番, 設定);
        if (!r.手.有り) {
            結果 = p.COM番 ? 1.0F : 0.0F;
            break;
        }
        盤.設定(p.局, p.COM番);
        // A drop lands on an empty square, so a capture is a move onto a piece.
        const bool 取り = p.局.盤面[r.手.先X][r.手.先Y] != 空桝;
        if (手数 >= 記録開始手数 && 手数 % 記録間隔 == 0 && !取り && !盤.王を取れる(-盤.手番) &&
            std::abs(r.評価) < 深読み勝ち境界)
            出力.push_back({p, 0.5F});
        既出.push_back(盤.鍵);
        const bool COM番 = p.COM番;
        手を進める(p, r.手);
        if (!対局中(p.局)) {
            結果 = COM番 ? 0.0F : 1.0F;
            break;
        }
    }
    for (std::size_t i = 初め; i < 出力.size(); ++i) 出力[i].結果 = 結果;
}

int 対局して書く(const std::string& パス, int 局数, std::uint64_t 節点, std::uint64_t 種,
                 int 並列) {
    std::vector<標本> 全て;
    std::mutex 鍵;
    std::atomic<int> 次{0};
    int 勝[3] = {0, 0, 0};
    auto 働く = [&] {
        for (int g; (g = 次.fetch_add(1)) < 局数;) {
            std::vector<標本> 一つ;
            一局(種 * 1000003u + static_cast<std::uint64_t>(g), 節点, 一つ);
            std::lock_guard<std::mutex> l(鍵);
            if (!一つ.empty()) ++勝[static_cast<int>(一つ[0].結果 * 2)];
            全て.insert(全て.end(), 一つ.begin(), 一つ.end());
            std::fprintf(stderr, "\r%d games, %zu positions", g + 1, 全て.size());
        }
    };
    std::vector<std::thread> 糸;
    for (int i = 0; i < 並列; ++i) 糸.emplace_back(働く);
    for (auto& t : 糸) t.join();
    std::fprintf(stderr, "\nupper wins %d, draws %d, lower wins %d\n", 勝[0], 勝[1], 勝[2]);
    const std::string 仮 = パス + ".part";
    {
        std::ofstream out(仮);
        for (const auto& s : 全て) out << s.結果 << ' ' << SFENへ(s.位置) << '\n';
        if (!out) {
            std::cerr << "kiryuza-tune: cannot write " << 仮 << '\n';
            return 1;
        }
    }
    if (std::rename(仮.c_str(), パス.c_str()) != 0) {
        std::cerr << "kiryuza-tune: cannot write " << パス << '\n';
        return 1;
    }
    return 0;
}

// A number of the evaluation, or an array of them: its name, where it is, how many, the indices
// [始, 終) the fit may move (not the hand's unused index 0, nor the king's value), and the step
// of a move.
struct 係数群 {
    const char* 名;
    int* 先頭;
    int 数;
    int 始;
    int 終;
    int 刻み;
};

std::vector<係数群> 係数群一覧(評価係数& c) {
    return {
        {"盤価値", c.盤価値, 駒種数, 0, 駒種数 - 1, 10},
        {"持駒価値", c.持駒価値, 8, 1, 8, 10},
        {"金前進", c.金前進, 9, 1, 9, 2},
        {"王段", c.王段, 9, 1, 9, 5},
        {"大駒端", &c.大駒端, 1, 0, 1, 1},
        {"攻め重み", c.攻め重み, 駒種数, 0, 駒種数 - 1, 1},
        {"持駒脅威", c.持駒脅威, 8, 1, 8, 1},
        {"持駒脅威上限", &c.持駒脅威上限, 1, 0, 1, 1},
        {"攻め係数", &c.攻め係数, 1, 0, 1, 1},
        {"守り係数", &c.守り係数, 1, 0, 1, 1},
        {"金守り", &c.金守り, 1, 0, 1, 1},
        {"危険倍率", &c.危険倍率, 1, 0, 1, 1},
        {"危険上限", &c.危険上限, 1, 0, 1, 100},
        {"攻め近", c.攻め近, 9, 1, 9, 2},
        {"守り近", c.守り近, 9, 1, 9, 2},
        {"線利き点", &c.線利き点, 1, 0, 1, 1},
        {"手番点", &c.手番点, 1, 0, 1, 2},
    };
}

// True when `名` begins with one of the comma-separated names of `対象` (any name when empty).
bool 対象に入る(std::string_view 名, std::string_view 対象) {
    if (対象.empty()) return true;
    std::size_t 始 = 0;
    while (始 <= 対象.size()) {
        const std::size_t 終 = std::min(対象.find(',', 始), 対象.size());
        const std::string_view 頭 = 対象.substr(始, 終 - 始);
        if (!頭.empty() && 名.substr(0, 頭.size()) == 頭) return true;
        始 = 終 + 1;
    }
    return false;
}

// The mean squared gap between the outcomes and the winning chance the scores give.
double 誤差(const std::vector<標本>& 標本群, const 評価係数& c, double K, int 並列) {
    const 深読み評価 評価器(c);
    std::vector<double> 部分(static_cast<std::size_t>(並列), 0.0);
    auto 働く = [&](int t) {
        探索盤 盤(評価器.表);
        double s = 0;
        for (std::size_t i = static_cast<std::size_t>(t); i < 標本群.size();
             i += static_cast<std::size_t>(並列)) {
            const auto& x = 標本群[i];
            盤.設定(x.位置.局, x.位置.COM番);
            const int v = 評価器.評価(盤);
            const double 下手 = 盤.手番 > 0 ? -v : v;
            const double 勝率 = 1.0 / (1.0 + std::exp(-K * 下手 / 400.0));
            s += (x.結果 - 勝率) * (x.結果 - 勝率);
        }
        部分[static_cast<std::size_t>(t)] = s;
    };
    std::vector<std::thread> 糸;
    for (int t = 0; t < 並列; ++t) 糸.emplace_back(働く, t);
    for (auto& t : 糸) t.join();
    double s = 0;
    for (double d : 部分) s += d;
    return s / static_cast<double>(標本群.size());
}

int 合わせる(const std::string& パス, int 回数, int 並列, const std::string& 対象) {
    std::ifstream in(パス);
    if (!in) {
        std::cerr << "kiryuza-tune: cannot read " << パス << '\n';
        return 1;
    }
    std::vector<標本> 標本群;
    std::string 行;
    while (std::getline(in, 行)) {
        const auto sp = 行.find(' ');
        if (sp == std::string::npos) continue;
        標本 s;
        std::string 誤り;
        s.結果 = std::strtof(行.c_str(), nullptr);
        if (!SFENから(std::string_view(行).substr(sp + 1), s.位置, 誤り)) continue;
        標本群.push_back(s);
    }
    // The last tenth (whole games, since a game's positions come together) is held out, to
    // tell a better fit from one that only learns these games by heart.
    std::vector<標本> 検証(標本群.begin() + static_cast<std::ptrdiff_t>(標本群.size() * 9 / 10),
                           標本群.end());
    標本群.resize(標本群.size() * 9 / 10);
    std::fprintf(stderr, "%zu positions, %zu held out\n", 標本群.size(), 検証.size());
    if (標本群.empty() || 検証.empty()) return 1;
    評価係数 c;
    // The scale of the curve that fits today's numbers best.
    double K = 1.0;
    double 最良 = 誤差(標本群, c, K, 並列);
    for (double 幅 = 0.5; 幅 > 0.01; 幅 /= 2) {
        for (bool 動いた = true; 動いた;) {
            動いた = false;
            for (double k : {K - 幅, K + 幅}) {
                if (k <= 0) continue;
                const double e = 誤差(標本群, c, k, 並列);
                if (e < 最良) {
                    最良 = e;
                    K = k;
                    動いた = true;
                }
            }
        }
    }
    std::fprintf(stderr, "K %.3f, error %.6f, held out %.6f\n", K, 最良, 誤差(検証, c, K, 並列));
    const std::vector<係数群> 群一覧 = 係数群一覧(c);
    for (int 回 = 0; 回 < 回数; ++回) {
        int 改善 = 0;
        for (const 係数群& 群 : 群一覧) {
            if (!対象に入る(群.名, 対象)) continue;
            for (int i = 群.始; i < 群.終; ++i) {
                int& v = 群.先頭[i];
                const int 元 = v;
                for (int 向き : {1, -1}) {
                    v = 元 + 向き * 群.刻み;
                    const double e = 誤差(標本群, c, K, 並列);
                    if (e < 最良) {
                        最良 = e;
                        ++改善;
                        break;
                    }
                    v = 元;
                }
            }
        }
        std::fprintf(stderr, "pass %d: %d moved, error %.6f, held out %.6f\n", 回 + 1, 改善, 最良,
                     誤差(検証, c, K, 並列));
        if (改善 == 0) break;
    }
    for (const 係数群& 群 : 群一覧) {
        if (群.数 == 1) {
            std::printf("    int %s = %d;\n", 群.名, *群.先頭);
            continue;
        }
        std::printf("    int %s[%d] = {", 群.名, 群.数);
        for (int i = 0; i < 群.数; ++i) std::printf("%s%d", i ? ", " : "", 群.先頭[i]);
        std::printf("};\n");
    }
    return 0;
}

int 使い方() {
    std::cerr << "usage: kiryuza-tune games OUT --games N [--nodes K] [--seed S] [--jobs J]\n"
                 "       kiryuza-tune fit IN [--passes P] [--jobs J] [--only NAME,...]\n";
    return 2;
}

}  // namespace
}  // namespace kiryuza

int main(int argc, char** argv) {
    using namespace kiryuza;
    if (argc < 3) return 使い方();
    const std::string 命令 = argv[1];
    const std::string パス = argv[2];
    long long 局数 = 0, 節点 = 10000, 種 = 1, 並列 = 2, 回数 = 20;
    std::string 対象;
    for (int i = 3; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--only") {
            対象 = argv[i + 1];
            continue;
        }
        const long long v = std::atoll(argv[i + 1]);
        if (a == "--games")
            局数 = v;
        else if (a == "--nodes")
            節点 = v;
        else if (a == "--seed")
            種 = v;
        else if (a == "--jobs")
            並列 = v;
        else if (a == "--passes")
            回数 = v;
        else
            return 使い方();
    }
    if (並列 < 1) 並列 = 1;
    if (命令 == "games" && 局数 > 0)
        return 対局して書く(パス, static_cast<int>(局数), static_cast<std::uint64_t>(節点),
                            static_cast<std::uint64_t>(種), static_cast<int>(並列));
    if (命令 == "fit") return 合わせる(パス, static_cast<int>(回数), static_cast<int>(並列), 対象);
    return 使い方();
}
