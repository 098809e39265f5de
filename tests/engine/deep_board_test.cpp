// The searching player's board against the rules, over positions from random games: it lists
// exactly the rules' moves (both forms where the change is optional), make and unmake agree
// with 駒移動 and restore everything, the incremental key and material match a fresh count,
// and it sees a king that can be taken exactly when a listed move takes it. The reversal of
// the rules is checked on the same positions: twice is nothing, it swaps the sides' moves and
// the evaluation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "engine/deep_board.h"
#include "engine/deep_eval.h"
#include "engine/deep_search.h"
#include "rules/reversal.h"

namespace kiryuza {
namespace {

struct 局面と手番 {
    局面 局;
    bool COM側;
};

// A copy of `局` with about a third of the promoted pieces turned back to their plain forms,
// so that every kind of plain piece is met often.
局面 形を崩す(const 局面& 局, std::mt19937& rng) {
    局面 r = 局;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            const int c = r.盤面[x][y];
            const int m = c < 0 ? -c : c;
            if (m % 10 == 1 && m != 駒_COM金成 && rng() % 3 == 0)
                r.盤面[x][y] = c < 0 ? c + 1 : c - 1;
        }
    return r;
}

// Positions met in random games from the starting position, either form taken at random, each
// also with some of its pieces in plain form.
std::vector<局面と手番> 乱戦局面(unsigned 種, int 局数, int 手数) {
    std::vector<局面と手番> 結果;
    std::mt19937 rng(種);
    std::vector<指し手> 一覧(合法手最大数);
    局面表示 無表示;
    for (int g = 0; g < 局数; ++g) {
        局面 局;
        初期配置(局);
        bool COM側 = false;
        for (int ply = 0; ply < 手数; ++ply) {
            結果.push_back({局, COM側});
            結果.push_back({形を崩す(局, rng), COM側});
            const int n = 合法手一覧(局, COM側, 一覧.data());
            if (n == 0) break;
            指し手 m = 一覧[rng() % static_cast<unsigned>(n)];
            if (調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON && rng() % 2 == 0)
                m.駒 = 局.駒成結果;
            駒移動(局, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
            if (局.勝者 != 手番_なし) break;
            COM側 = !COM側;
        }
    }
    return 結果;
}

using 手組 = std::tuple<int, int, int>;  // origin (square or 100 + hand index), destination, code

// The rules' moves of a side with every form the mover may choose.
std::vector<手組> 規則の手(局面 局, bool COM側) {
    std::vector<指し手> 一覧(合法手最大数);
    一覧.resize(static_cast<std::size_t>(合法手一覧(局, COM側, 一覧.data())));
    std::vector<手組> 結果;
    for (const 指し手& m : 一覧) {
        const int 先 = m.先X * 10 + m.先Y;
        if (m.元X == 持駒列_COM || m.元X == 持駒列_MAN) {
            結果.emplace_back(打ち元 + (COM側 ? m.元Y : m.元Y - 2), 先, m.駒);
            continue;
        }
        const int 元 = m.元X * 10 + m.元Y;
        if (調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_OFF) {
            結果.emplace_back(元, 先, m.駒);
            continue;
        }
        結果.emplace_back(元, 先, 局.駒成結果);
        if (移動後チェック(m.先Y, m.駒) == 定数_ON) 結果.emplace_back(元, 先, m.駒);
    }
    std::sort(結果.begin(), 結果.end());
    return 結果;
}

bool 王を取る手あり(局面 局, bool COM側) {
    std::vector<指し手> 一覧(合法手最大数);
    const int n = 合法手一覧(局, COM側, 一覧.data());
    const int 王 = COM側 ? 駒_MAN王 : 駒_COM王;
    for (int i = 0; i < n; ++i)
        if (一覧[i].元X >= 1 && 一覧[i].元X <= 9 && 局.盤面[一覧[i].先X][一覧[i].先Y] == 王)
            return true;
    return false;
}

bool 同じ局面(const 局面& a, const 局面& b) {
    return std::memcmp(a.盤面, b.盤面, sizeof a.盤面) == 0 &&
           std::memcmp(a.持駒MAN, b.持駒MAN, sizeof a.持駒MAN) == 0 &&
           std::memcmp(a.持駒COM, b.持駒COM, sizeof a.持駒COM) == 0 &&
           a.持駒総数MAN == b.持駒総数MAN && a.持駒総数COM == b.持駒総数COM;
}

// Plays `m` of the board through the rules' own move execution.
局面 規則で指す(局面 局, bool COM側, 手符号 m) {
    局面表示 無表示;
    const int 元 = 手の元(m);
    const int 先 = 手の先(m);
    if (元 >= 打ち元) {
        const int k = 元 - 打ち元;
        駒移動(局, 無表示, COM側 ? 持駒列_COM : 持駒列_MAN, COM側 ? k : k + 2, 先 / 10, 先 % 10,
               手の駒(m));
    } else {
        駒移動(局, 無表示, 元 / 10, 元 % 10, 先 / 10, 先 % 10, 手の駒(m));
    }
    return 局;
}

class 探索盤テスト : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { 局面集 = new std::vector<局面と手番>(乱戦局面(7, 12, 140)); }
    static void TearDownTestSuite() { delete 局面集; }
    static std::vector<局面と手番>* 局面集;
    深読み評価 評価;
};
std::vector<局面と手番>* 探索盤テスト::局面集 = nullptr;

TEST_F(探索盤テスト, 規則の手をそのまま全部生成し_取る手はその部分集合) {
    auto 盤 = std::make_unique<探索盤>(評価.表);
    std::vector<手符号> 手(2000);
    for (const auto& [局, COM側] : *局面集) {
        盤->設定(局, COM側);
        const int n = 盤->全手生成(手.data(), 2000);
        std::vector<手組> 生成;
        for (int i = 0; i < n; ++i) 生成.emplace_back(手の元(手[i]), 手の先(手[i]), 手の駒(手[i]));
        std::sort(生成.begin(), 生成.end());
        ASSERT_EQ(生成, 規則の手(局, COM側));

        const int c = 盤->取る手生成(手.data(), 2000);
        for (int i = 0; i < c; ++i) {
            const int 取 = 盤->駒(手の先(手[i]));
            ASSERT_TRUE(COM側 ? MAN駒(取) : COM駒(取));
            ASSERT_TRUE(std::binary_search(生成.begin(), 生成.end(),
                                           手組{手の元(手[i]), 手の先(手[i]), 手の駒(手[i])}));
        }
    }
}

TEST_F(探索盤テスト, 指して戻すと元通りで_鍵と駒得は数え直しと一致する) {
    auto 盤 = std::make_unique<探索盤>(評価.表);
    auto 新盤 = std::make_unique<探索盤>(評価.表);
    std::vector<手符号> 手(2000);
    for (const auto& [局, COM側] : *局面集) {
        盤->設定(局, COM側);
        const 局面 前 = 盤->局;
        const std::uint64_t 前鍵 = 盤->鍵;
        const int 前駒得 = 盤->駒得;
        const int n = 盤->全手生成(手.data(), 2000);
        for (int i = 0; i < n; ++i) {
            const int 取 = 盤->駒(手の先(手[i]));
            if (取 == 駒_MAN王 || 取 == 駒_COM王) continue;  // the search never plays these
            復元情報 r;
            盤->指す(手[i], r);
            const 局面 後 = 規則で指す(前, COM側, 手[i]);
            ASSERT_TRUE(同じ局面(盤->局, 後));
            新盤->設定(後, !COM側);
            ASSERT_EQ(盤->鍵, 新盤->鍵);
            ASSERT_EQ(盤->駒得, 新盤->駒得);
            ASSERT_EQ(盤->手番, 新盤->手番);
            ASSERT_EQ(std::memcmp(盤->王桝, 新盤->王桝, sizeof 盤->王桝), 0);
            ASSERT_EQ(std::memcmp(盤->局.二歩フラグMAN, 新盤->局.二歩フラグMAN,
                                  sizeof 盤->局.二歩フラグMAN),
                      0);
            ASSERT_EQ(std::memcmp(盤->局.二歩フラグCOM, 新盤->局.二歩フラグCOM,
                                  sizeof 盤->局.二歩フラグCOM),
                      0);
            盤->戻す(手[i], r);
            ASSERT_TRUE(同じ局面(盤->局, 前));
            ASSERT_EQ(盤->鍵, 前鍵);
            ASSERT_EQ(盤->駒得, 前駒得);
            ASSERT_TRUE(盤->指せる手(手[i]));
        }
    }
}

TEST_F(探索盤テスト, 王を取れるのは取る手が規則にあるときだけ) {
    auto 盤 = std::make_unique<探索盤>(評価.表);
    int 取れた = 0;
    for (const auto& [局, COM側] : *局面集) {
        盤->設定(局, COM側);
        for (const bool 側 : {true, false}) {
            const bool 期待 = 王を取る手あり(局, 側);
            ASSERT_EQ(盤->王を取れる(側 ? 1 : -1), 期待);
            取れた += 期待;
        }
    }
    EXPECT_GT(取れた, 0);  // the random games do leave kings open
}

// Checks and replies to check against the rules' moves played one by one: a check is a move
// (not the taking of the king) after which some piece of the mover may go onto the other king;
// a reply any move after which no piece of the other side may go onto the mover's king.
TEST_F(探索盤テスト, 王手と王手回避は規則の手を指して確かめた通り) {
    auto 盤 = std::make_unique<探索盤>(評価.表);
    std::vector<手符号> 手(2000);
    auto 利く = [](const 局面& 局, bool COM側) {
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y)
                if (局.盤面[x][y] == (COM側 ? 駒_MAN王 : 駒_COM王))
                    for (int ox = 1; ox <= 9; ++ox)
                        for (int oy = 1; oy <= 9; ++oy) {
                            const int c = 局.盤面[ox][oy];
                            if ((COM側 ? COM駒(c) : MAN駒(c)) &&
                                移動チェック(局, ox, oy, x, y, c) == 定数_ON)
                                return true;
                        }
        return false;
    };
    auto 並べる = [&](int n) {
        std::vector<手組> r;
        for (int i = 0; i < n; ++i) r.emplace_back(手の元(手[i]), 手の先(手[i]), 手の駒(手[i]));
        std::sort(r.begin(), r.end());
        return r;
    };
    int 王手中 = 0;
    for (std::size_t j = 0; j < 局面集->size(); j += 2) {
        const auto& [局, COM側] = (*局面集)[j];
        std::vector<手組> 王手;
        std::vector<手組> 受け;
        for (const auto& [元, 先, 駒] : 規則の手(局, COM側)) {
            const 局面 後 = 規則で指す(局, COM側, 手を作る(元, 先, 駒));
            if (後.勝者 == 手番_なし && 利く(後, COM側)) 王手.emplace_back(元, 先, 駒);
            if (!利く(後, !COM側)) 受け.emplace_back(元, 先, 駒);
        }
        盤->設定(局, COM側);
        ASSERT_EQ(並べる(盤->王手生成(手.data(), 2000)), 王手) << j;
        ASSERT_EQ(並べる(盤->王手回避生成(手.data(), 2000)), 受け) << j;
        王手中 += 利く(局, !COM側);
    }
    EXPECT_GT(王手中, 100);  // the random games often leave a king in check
}

// A side held to a person's moves: each generator gives the moves it gives a side with every
// move, less those that leave a piece in its form where the mouse would change it (captures, one
// form each, in the person's form), and 指せる手 agrees; the other side's moves do not change.
// The key tells the choices apart and is the key 局面の鍵 gives.
TEST_F(探索盤テスト, 人の手に縛った側は形を残す手だけが消え_鍵は縛り方ごとに違う) {
    auto 全 = std::make_unique<探索盤>(評価.表);
    auto 人 = std::make_unique<探索盤>(評価.表);
    std::vector<手符号> 手(2000);
    const auto 人の形 = [](const 探索盤& 盤, 手符号 m) {
        const int 元 = 手の元(m);
        const int 先 = 手の先(m);
        if (打つ手(m)) return true;
        return 手の駒(m) == 人の置く駒(元 / 10, 元 % 10, 先 / 10, 先 % 10, 盤.駒(元));
    };
    using 生成器 = int (*)(探索盤&, 手符号*, int);
    const std::pair<const char*, 生成器> 生成器一覧[] = {
        {"all", [](探索盤& b, 手符号* o, int n) { return b.全手生成(o, n); }},
        {"checks", [](探索盤& b, 手符号* o, int n) { return b.王手生成(o, n); }},
        {"evasions", [](探索盤& b, 手符号* o, int n) { return b.王手回避生成(o, n); }},
    };
    int 消えた = 0;
    for (const auto& [局, COM側] : *局面集) {
        for (const int 番号 : {1, 2, 3}) {
            両側の範囲 範囲;
            if (番号 & 1) 範囲.MAN = 手の範囲::人の手;
            if (番号 & 2) 範囲.COM = 手の範囲::人の手;
            const bool 縛る = 範囲.側(COM側) == 手の範囲::人の手;
            全->設定(局, COM側);
            人->設定(局, COM側, 範囲);
            ASSERT_EQ(人->鍵, 局面の鍵(局, COM側, 範囲));
            ASSERT_NE(人->鍵, 全->鍵);
            for (const auto& [名, 生成] : 生成器一覧) {
                SCOPED_TRACE(名);
                std::vector<手符号> 期待(手.begin(), 手.begin() + 生成(*全, 手.data(), 2000));
                const std::size_t 全数 = 期待.size();
                if (縛る) std::erase_if(期待, [&](手符号 m) { return !人の形(*全, m); });
                消えた += static_cast<int>(全数 - 期待.size());
                std::vector<手符号> 得た(手.begin(), 手.begin() + 生成(*人, 手.data(), 2000));
                std::sort(期待.begin(), 期待.end());
                std::sort(得た.begin(), 得た.end());
                ASSERT_EQ(得た, 期待);
            }
            const int n = 全->全手生成(手.data(), 2000);
            for (int i = 0; i < n; ++i) ASSERT_EQ(人->指せる手(手[i]), !縛る || 人の形(*全, 手[i]));
            // Captures, one form each: as many, each in a form the side may leave.
            const int c = 人->取る手生成(手.data(), 2000);
            for (int i = 0; i < c; ++i)
                ASSERT_TRUE(人->指せる手(手[i]) && (!縛る || 人の形(*人, 手[i])));
            ASSERT_EQ(c, 全->取る手生成(手.data(), 2000));
        }
    }
    EXPECT_GT(消えた, 1000);  // the random games bring many pieces to the far zones
}

TEST_F(探索盤テスト, 反転は二度で元に戻り_両者の手と評価を入れ替える) {
    auto エンジン = std::make_unique<深読みエンジン>(1);
    for (const auto& [局, COM側] : *局面集) {
        局面 反 = 局;
        局面反転(反);
        局面 二度 = 反;
        局面反転(二度);
        ASSERT_TRUE(同じ局面(二度, 局));

        std::vector<指し手> 一覧(合法手最大数);
        std::vector<std::tuple<int, int, int, int, int>> 元の手;
        std::vector<std::tuple<int, int, int, int, int>> 反の手;
        int n = 合法手一覧(二度, !COM側, 一覧.data());
        for (int i = 0; i < n; ++i) {
            const 指し手& m = 一覧[i];
            元の手.emplace_back(m.元X, m.元Y, m.先X, m.先Y, m.駒);
        }
        n = 合法手一覧(反, COM側, 一覧.data());
        for (int i = 0; i < n; ++i) {
            const 指し手 m = 反転手(一覧[i]);
            反の手.emplace_back(m.元X, m.元Y, m.先X, m.先Y, m.駒);
        }
        std::sort(元の手.begin(), 元の手.end());
        std::sort(反の手.begin(), 反の手.end());
        ASSERT_EQ(元の手, 反の手);

        ASSERT_EQ(エンジン->静的評価(局, COM側), エンジン->静的評価(反, !COM側));
    }
}

// Any numbers the evaluation is given keep it symmetric between the sides and keep the material
// the board updates move by move equal to a recount; every other round each number is also
// scaled by -2..2, as a tuner gone astray might leave it (the sanitizers watch for overflow).
TEST_F(探索盤テスト, どの係数でも評価は反転で入れ替わり_駒得は数え直しと一致する) {
    std::mt19937 rng(11);
    std::vector<手符号> 手(2000);
    for (int 回 = 0; 回 < 4; ++回) {
        評価係数 c;
        int 値[sizeof c / sizeof(int)];
        std::memcpy(値, &c, sizeof c);
        for (int& v : 値) {
            if (回 % 2 == 1) v *= static_cast<int>(rng() % 5) - 2;
            v += static_cast<int>(rng() % 61) - 30;
        }
        std::memcpy(&c, 値, sizeof c);
        const 深読み評価 評価器(c);
        auto 盤 = std::make_unique<探索盤>(評価器.表);
        auto 反盤 = std::make_unique<探索盤>(評価器.表);
        for (std::size_t j = 回; j < 局面集->size(); j += 4) {
            const auto& [局, COM側] = (*局面集)[j];
            局面 反 = 局;
            局面反転(反);
            盤->設定(局, COM側);
            反盤->設定(反, !COM側);
            ASSERT_EQ(評価器.評価(*盤), 評価器.評価(*反盤)) << j;
            const int n = 盤->全手生成(手.data(), 2000);
            for (int i = 0; i < n; ++i) {
                const int 取 = 盤->駒(手の先(手[i]));
                if (取 == 駒_MAN王 || 取 == 駒_COM王) continue;
                復元情報 r;
                盤->指す(手[i], r);
                反盤->設定(盤->局, !COM側);
                ASSERT_EQ(盤->駒得, 反盤->駒得) << j;
                盤->戻す(手[i], r);
            }
        }
    }
}

}  // namespace
}  // namespace kiryuza
