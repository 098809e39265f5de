// The searching player on positions with a known answer, each played by the upper side as
// drawn and by the lower side on the board turned round; the answers are checked by brute
// force over the rules, not against squares typed in here.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "engine/deep_board.h"
#include "engine/deep_search.h"
#include "record/record_line.h"
#include "rules/reversal.h"
#include "rules_oracle.h"
#include "support/board_picture.h"

namespace kiryuza {
namespace {

using testing::一手詰めあり;
using testing::局面図;
using testing::手の形;
using testing::指した後;
using testing::王を取れる;
using testing::規則にある手;
using testing::規則の全手;
using testing::詰ませる手;

bool 同じ手(const 最善手& a, const 最善手& b) {
    return a.元X == b.元X && a.元Y == b.元Y && a.先X == b.先X && a.先Y == b.先Y && a.駒 == b.駒;
}

class 深読みテスト : public ::testing::Test {
  protected:
    std::unique_ptr<深読みエンジン> エンジン = std::make_unique<深読みエンジン>(4);

    深読み結果 読む(const 局面& 局, bool COM側, int 深さ, bool 置換表 = true, bool 選択的 = true) {
        深読み設定 s;
        s.時間ms = 0;
        s.深さ上限 = 深さ;
        s.置換表使用 = 置換表;
        s.選択的 = 選択的;
        return エンジン->探索(局, COM側, s);
    }

    // Runs `確認` on the position with the upper side to move, then on its reversal with the
    // lower side to move.
    static void 両側で(局面 局, const std::function<void(const 局面&, bool)>& 確認) {
        局.持駒総数MAN = 局.持駒総数COM = 0;
        for (int k = 1; k <= 7; ++k) {
            局.持駒総数MAN += 局.持駒MAN[k];
            局.持駒総数COM += 局.持駒COM[k];
        }
        {
            SCOPED_TRACE("upper side to move");
            確認(局, true);
        }
        局面反転(局);
        SCOPED_TRACE("lower side to move");
        確認(局, false);
    }
};

TEST_F(深読みテスト, 王を取れるなら取る) {
    局面 局 = 局面図({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・^竜",
        " ・ ・ ・ ・ ・ ・ ・v馬 ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・v金 ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    両側で(局, [&](const 局面& p, bool COM側) {
        const 深読み結果 r = 読む(p, COM側, 3);
        ASSERT_TRUE(規則にある手(p, COM側, r.手));
        EXPECT_NE(指した後(p, 手の形(r.手)).勝者, 手番_なし);
        EXPECT_EQ(r.評価, 深読み勝ち);
    });
}

TEST_F(深読みテスト, 一手詰めを見つける) {
    // A gold dropped next to the cornered king, guarded by the promoted pawn; the loose dragon
    // is only a distraction.
    局面 局 = 局面図({
        " ・ ・ ・ ・ ・ ・ ・ ・v王",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・v馬 ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・^竜 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・vと ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^王 ・ ・ ・ ・ ・ ・ ・ ・",
    });
    局.持駒COM[5] = 1;
    両側で(局, [&](const 局面& p, bool COM側) {
        const 深読み結果 r = 読む(p, COM側, 3);
        ASSERT_TRUE(規則にある手(p, COM側, r.手));
        EXPECT_TRUE(詰ませる手(p, COM側, 手の形(r.手)));
        EXPECT_EQ(r.評価, 深読み勝ち - 2);
    });
}

TEST_F(深読みテスト, 二手詰めを見つける) {
    // The dragon takes the promoted pawn; every answer then meets a gold drop that mates.
    局面 局 = 局面図({
        " ・ ・ ・ ・ ・ ・ ・ ・v王",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・v竜 ・ ・ ・ ・ ・ ・ ・",
        " ・^と ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^王 ・ ・ ・ ・ ・ ・ ・ ・",
    });
    局.持駒COM[5] = 1;
    両側で(局, [&](const 局面& p, bool COM側) {
        ASSERT_FALSE(一手詰めあり(p, COM側));
        const 深読み結果 r = 読む(p, COM側, 5);
        ASSERT_TRUE(規則にある手(p, COM側, r.手));
        EXPECT_EQ(r.評価, 深読み勝ち - 4);
        const 局面 後 = 指した後(p, 手の形(r.手));
        for (const 指し手& 応 : 規則の全手(後, !COM側)) {
            const 局面 次 = 指した後(後, 応);
            EXPECT_TRUE(王を取れる(次, COM側) || 一手詰めあり(次, COM側));
        }
    });
}

TEST_F(深読みテスト, 一手詰めの脅しを受ける) {
    // The other side threatens a gold drop beside the king, guarded by its promoted pawn; taking
    // the loose dragon instead would lose.
    局面 局 = 局面図({
        " ・ ・ ・ ・ ・ ・ ・ ・v王",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・^と ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・v馬 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・^竜 ・ ・ ・ ・ ・ ・",
        "^王 ・ ・ ・ ・ ・ ・ ・ ・",
    });
    局.持駒MAN[5] = 1;
    両側で(局, [&](const 局面& p, bool COM側) {
        ASSERT_TRUE(一手詰めあり(p, !COM側));
        const 深読み結果 r = 読む(p, COM側, 4);
        ASSERT_TRUE(規則にある手(p, COM側, r.手));
        EXPECT_FALSE(一手詰めあり(指した後(p, 手の形(r.手)), !COM側));
    });
}

// Positions of the reference set, every twentieth.
std::vector<局面> 参考局面() {
    std::vector<局面> 結果;
    std::ifstream in(KIRYUZA_POSITIONS);
    std::string s;
    for (int i = 0; std::getline(in, s); ++i) {
        if (i % 20 != 0) continue;
        const 行解析結果 r = 棋譜行を読む(s);
        if (r.誤り != 行誤り::なし) continue;
        局面 局;
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) 局.盤面[x][y] = r.データ.盤面[x][y];
        for (int k = 1; k <= 7; ++k) {
            局.持駒MAN[k] = r.データ.持駒MAN[k];
            局.持駒COM[k] = r.データ.持駒COM[k];
        }
        結果.push_back(局);
    }
    return 結果;
}

// A plain alpha-beta's result at a fixed depth depends neither on the order of the moves, which
// the table's moves change, nor on the side that plays. So with the table on and off the score
// and the move are the same, and the board turned round for the other side gives the same
// score. Four plies are the least at which one position is reached by two orders of the same
// moves, so that the table's results are used at all.
TEST_F(深読みテスト, 置換表の有無でも側や窓を替えても決まった深さの答えは変わらない) {
    const auto 局面集 = 参考局面();
    ASSERT_GE(局面集.size(), 10u);
    const auto 形 = [](const 最善手& m) {
        return std::make_tuple(m.元X, m.元Y, m.先X, m.先Y, m.駒);
    };
    for (std::size_t i = 0; i < 局面集.size(); ++i) {
        const 局面& 局 = 局面集[i];
        局面 反 = 局;
        局面反転(反);
        for (const bool COM側 : {true, false}) {
            // Each starts from nothing learnt, so that only the table or the side differs.
            エンジン->初期化();
            const 深読み結果 有 = 読む(局, COM側, 4, true, false);
            エンジン->初期化();
            const 深読み結果 無 = 読む(局, COM側, 4, false, false);
            エンジン->初期化();
            const 深読み結果 逆 = 読む(反, !COM側, 4, true, false);
            ASSERT_TRUE(規則にある手(局, COM側, 有.手));
            EXPECT_EQ(有.評価, 無.評価);
            EXPECT_EQ(形(有.手), 形(無.手));
            EXPECT_EQ(有.評価, 逆.評価);
            // From depth 5 on the first line is searched in a window around the last score:
            // whether it holds, fails high or fails low (a window of 1 fails at almost every
            // iteration), the widened search ends with the full window's answer. On every
            // fourth position and one side, for time.
            if (i % 4 != 1 || !COM側) continue;
            深読み設定 s;
            s.時間ms = 0;
            s.深さ上限 = 5;
            s.選択的 = false;
            s.窓幅 = 0;
            エンジン->初期化();
            const int 全窓 = エンジン->探索(局, COM側, s).評価;
            for (const int 幅 : {1, 50}) {
                s.窓幅 = 幅;
                エンジン->初期化();
                EXPECT_EQ(エンジン->探索(局, COM側, s).評価, 全窓) << 幅;
            }
        }
    }
}

// Asks the search to stop from its first progress report.
struct 止める観察 : 深読み観察 {
    深読みエンジン* エンジン = nullptr;
    int 回数 = 0;
    void 経過(const 深読み経過& e) override {
        ++回数;
        EXPECT_GT(e.節点数, 0u);
        EXPECT_TRUE(e.暫定手.有り);
        エンジン->停止();
    }
};

TEST_F(深読みテスト, 外から止めても合法な手を返し_局面は元のまま) {
    局面 局;
    初期配置(局);
    const 局面 前 = 局;
    止める観察 観察;
    観察.エンジン = エンジン.get();
    深読み設定 s;
    s.時間ms = 0;
    s.深さ上限 = 60;
    for (const bool COM側 : {true, false}) {
        観察.回数 = 0;
        const 深読み結果 r = エンジン->探索(局, COM側, s, &観察);
        EXPECT_EQ(観察.回数, 1);
        EXPECT_LT(r.深さ, 60);
        EXPECT_TRUE(規則にある手(局, COM側, r.手));
        EXPECT_EQ(std::memcmp(&局, &前, sizeof 局), 0);
    }
}

// The lines an iteration reports: as many as asked, each a sequence of moves the rules allow
// from the root, their first moves all different, best first; the best line begins with the
// move played. A node limit ends the search where it says.
TEST_F(深読みテスト, 読み筋は合法手の列で良い順に並び_節点数の上限で止まる) {
    struct 記録 : 深読み観察 {
        std::vector<深読み読み筋> 筋;
        void 読み筋(const 深読み読み筋& e) override { 筋.push_back(e); }
    } 観察;
    局面 局;
    初期配置(局);
    深読み設定 s;
    s.時間ms = 0;
    s.深さ上限 = 4;
    s.候補数 = 3;
    const 深読み結果 r = エンジン->探索(局, false, s, &観察);
    ASSERT_EQ(観察.筋.size(), 3u * 4u);
    for (int d = 1; d <= 4; ++d) {
        const 深読み読み筋* 組 = &観察.筋[static_cast<std::size_t>(d - 1) * 3];
        for (int j = 0; j < 3; ++j) {
            const 深読み読み筋& e = 組[j];
            EXPECT_EQ(e.番号, j + 1);
            EXPECT_EQ(e.深さ, d);
            EXPECT_GE(e.選択深さ, d);
            ASSERT_GE(e.手数, 1);
            if (j > 0) {
                EXPECT_LE(e.評価, 組[j - 1].評価);
                for (int i = 0; i < j; ++i) EXPECT_FALSE(同じ手(e.手[0], 組[i].手[0]));
            }
            局面 今 = 局;
            for (int i = 0; i < e.手数; ++i) {
                const bool COM側 = i % 2 == 1;
                ASSERT_TRUE(規則にある手(今, COM側, e.手[i])) << "depth " << d << " ply " << i;
                今 = 指した後(今, 手の形(e.手[i]));
            }
        }
    }
    EXPECT_TRUE(同じ手(観察.筋[9].手[0], r.手));

    // With the selective search, on the reference positions: an iteration's lines still come
    // best first, and the move played begins the best line of the last iteration.
    s.深さ上限 = 5;
    const auto 局面集 = 参考局面();
    for (std::size_t i = 0; i < 局面集.size(); i += 2) {
        観察.筋.clear();
        const 深読み結果 答え = エンジン->探索(局面集[i], i % 4 == 0, s, &観察);
        ASSERT_EQ(観察.筋.size() % 3, 0u);
        for (std::size_t j = 1; j < 観察.筋.size(); ++j) {
            if (j % 3 != 0) {
                EXPECT_LE(観察.筋[j].評価, 観察.筋[j - 1].評価) << i << " " << j;
            }
        }
        if (!観察.筋.empty() && 答え.評価 < 深読み勝ち境界) {
            EXPECT_TRUE(同じ手(観察.筋[観察.筋.size() - 3].手[0], 答え.手)) << i;
        }
    }

    s.深さ上限 = 0;
    s.候補数 = 1;
    s.節点上限 = 5000;
    const 深読み結果 限 = エンジン->探索(局, false, s);
    EXPECT_EQ(限.節点数, 5000u);
    EXPECT_TRUE(規則にある手(局, false, 限.手));
}

// Variety: the move drawn for a seed is the same from the same start, within the margin of the best
// (scored by a search of the position after it), and seeds differ in what they draw.
TEST_F(深読みテスト, 揺らぎは種ごとに同じ手を最善との差が幅の内から選ぶ) {
    局面 局;
    初期配置(局);
    const int 最善 = 読む(局, false, 3, false, false).評価;
    std::set<std::tuple<int, int, int, int, int>> 選んだ手;
    for (std::uint64_t 種 = 1; 種 <= 12; ++種) {
        深読み設定 s;
        s.時間ms = 0;
        s.深さ上限 = 3;
        s.置換表使用 = false;
        s.選択的 = false;
        s.揺らぎ種 = 種;
        エンジン->初期化();
        const 最善手 m = エンジン->探索(局, false, s).手;
        エンジン->初期化();
        const 最善手 また = エンジン->探索(局, false, s).手;
        ASSERT_TRUE(規則にある手(局, false, m));
        EXPECT_EQ(std::tie(m.元X, m.元Y, m.先X, m.先Y, m.駒),
                  std::tie(また.元X, また.元Y, また.先X, また.先Y, また.駒));
        const int その手 = -読む(指した後(局, 手の形(m)), true, 2, false, false).評価;
        EXPECT_GE(その手, 最善 - s.揺らぎ幅) << 種;
        選んだ手.insert({m.元X, m.元Y, m.先X, m.先Y, m.駒});
    }
    EXPECT_GE(選んだ手.size(), 2u);
}

// A position the game has already been through scores as a draw the side searching would
// rather not have: for a side that stands clearly worse, the move back into it is worth a
// little less than an even game, and so the best.
TEST_F(深読みテスト, 対局で既に出た局面は引き分けの値になる) {
    int 見た = 0;
    for (const 局面& 局 : 参考局面())
        for (const bool COM側 : {true, false}) {
            深読み設定 s;
            s.時間ms = 0;
            s.深さ上限 = 2;
            s.選択的 = false;
            s.置換表使用 = false;
            const 深読み結果 前 = エンジン->探索(局, COM側, s);
            if (!前.手.有り || 前.評価 >= -200 || 前.評価 <= -深読み勝ち境界) continue;
            const std::uint64_t 鍵 = 局面の鍵(指した後(局, 手の形(前.手)), !COM側);
            s.既出鍵 = &鍵;
            s.既出鍵数 = 1;
            const 深読み結果 後 = エンジン->探索(局, COM側, s);
            EXPECT_TRUE(同じ手(後.手, 前.手));
            EXPECT_LT(後.評価, 0);
            EXPECT_GT(後.評価, -200);
            ++見た;
        }
    EXPECT_GT(見た, 0);
}

TEST_F(深読みテスト, 大差の側は自陣に籠った王を寄せ切る) {
    // Far ahead (two dragons, four golds and two knights in hand) against a king walled in by
    // its own pieces: no attacker stands near it and no short mate is in sight. Searching a few
    // plies a move against itself, the side ahead must still take the king long before the
    // game's move limit, not keep its lead for ever.
    局面 局 = 局面図({
        " ・vとv馬 ・v杏v王vと ・ ・",
        "v竜 ・ ・ ・v竜 ・vと ・v杏",
        "v圭v全 ・ ・ ・vと ・ ・vと",
        " ・ ・ ・vと ・vと^と ・vと",
        " ・^と ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^と^杏 ・ ・ ・",
        " ・^圭 ・ ・ ・ ・ ・^と^杏",
        " ・ ・ ・^と^馬^と ・ ・ ・",
        "vとv全 ・^と^王^全^と ・ ・",
    });
    局.持駒MAN[1] = 局.持駒MAN[4] = 1;
    局.持駒COM[3] = 2;
    局.持駒COM[5] = 4;
    両側で(局, [&](const 局面& 初め, bool COM側) {
        局面 p = 初め;
        std::vector<std::uint64_t> 鍵;
        bool 手番 = COM側;
        int 手数 = 0;
        for (; 手数 < 150 && p.勝者 == 手番_なし; ++手数, 手番 = !手番) {
            深読み設定 s;
            s.時間ms = 0;
            s.深さ上限 = 4;
            s.既出鍵 = 鍵.data();
            s.既出鍵数 = static_cast<int>(鍵.size());
            const 深読み結果 r = エンジン->探索(p, 手番, s);
            ASSERT_TRUE(規則にある手(p, 手番, r.手)) << 手数;
            鍵.push_back(局面の鍵(p, 手番));
            p = 指した後(p, 手の形(r.手));
        }
        EXPECT_EQ(p.勝者, COM側 ? p.手番値COM : p.手番値MAN) << 手数 << " plies";
    });
}

}  // namespace
}  // namespace kiryuza
