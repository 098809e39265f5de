#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "engine/review.h"
#include "tools/review_support.h"

namespace kiryuza {
namespace {

// Scores a reader can picture, for the side that moved, in hundredths of a pawn.
constexpr int 互角 = 0;
constexpr int 歩損 = -400;  // a pawn given: gone from the board, in the other's hand
constexpr int 飛車損 = -2000;
constexpr int 優勢 = 1200;
constexpr int 勝勢 = 3000;
constexpr int 詰みあり = 深読み勝ち - 6;   // the mover takes the king on the seventh ply
constexpr int 長い詰み = 深読み勝ち - 12;  // ... on the thirteenth
constexpr int 詰まされる = -(深読み勝ち - 5);

struct 場面 {
    const char* 名前;
    int 前;
    int 後;
    手の印 印;
};

TEST(印を決める, 場面ごとの印) {
    const 場面 表[] = {
        {"最善を続ける", 互角, 互角, 手の印::なし},
        {"形勢が良くなる", -300, 100, 手の印::なし},
        {"誤差ほどの損", 互角, -30, 手の印::なし},
        {"互角から歩を只で渡す", 互角, 歩損, 手の印::疑問手},
        {"互角から飛車を只で渡す", 互角, 飛車損, 手の印::悪手},
        {"優勢を逆転されて負けへ", 優勢, -優勢, 手の印::悪手},
        {"勝勢のまま三百点減る", 勝勢, 勝勢 - 300, 手の印::なし},
        {"詰みを逃し勝勢が残る", 詰みあり, 勝勢, 手の印::悪手},
        {"詰みを逃し互角へ", 詰みあり, 互角, 手の印::悪手},
        {"詰みを長い詰みに変える", 詰みあり, 長い詰み, 手の印::なし},
        {"詰まされる側が粘らない", 詰まされる, 詰まされる + 2, 手の印::なし},
        {"負けの局面がさらに悪くなる", -勝勢, -勝勢 - 1500, 手の印::なし},
    };
    for (const 場面& s : 表) EXPECT_EQ(印を決める(s.前, s.後), s.印) << s.名前;
    // Points lost while the game stays clearly won are no blunder.
    EXPECT_NE(印を決める(勝勢, 勝勢 - 1200), 手の印::悪手);
}

// Before and after scores across the whole range, mates of both sides included.
std::vector<int> 評価の列() {
    std::vector<int> v = {-深読み勝ち, 詰まされる, -深読み勝ち境界, -深読み勝ち境界 + 1};
    for (int s = -6000; s <= 6000; s += 150) v.push_back(s);
    for (int s : {深読み勝ち境界 - 1, 深読み勝ち境界, 長い詰み, 詰みあり, 深読み勝ち})
        v.push_back(s);
    return v;
}

TEST(印を決める, 落ちなければ印はなく_落ちるほど重く_詰みを手放せば悪手) {
    const std::vector<int> 列 = 評価の列();
    for (int 前 : 列) {
        int 重さ = 0;
        // From the best after-score down: the mark never gets milder.
        for (auto it = 列.rbegin(); it != 列.rend(); ++it) {
            const 手の印 印 = 印を決める(前, *it);
            const bool 詰みを手放す = 前 >= 深読み勝ち境界 && *it < 深読み勝ち境界;
            EXPECT_TRUE(*it < 前 || 印 == 手の印::なし) << 前 << " -> " << *it;
            EXPECT_TRUE(!詰みを手放す || 印 == 手の印::悪手) << 前 << " -> " << *it;
            EXPECT_GE(static_cast<int>(印), 重さ) << 前 << " -> " << *it;
            重さ = static_cast<int>(印);
        }
    }
}

TEST(勝率, 互角で半分_対称で単調_詰みは端) {
    EXPECT_DOUBLE_EQ(勝率(0), 0.5);
    EXPECT_EQ(勝率(深読み勝ち境界), 1.0);
    EXPECT_EQ(勝率(-深読み勝ち境界), 0.0);
    double 前 = 0;
    for (int v = -10000; v <= 10000; v += 97) {
        EXPECT_NEAR(勝率(v) + 勝率(-v), 1.0, 1e-12) << v;
        EXPECT_GT(勝率(v), 前) << v;
        前 = 勝率(v);
    }
}

// Evaluations for the short game: even, then the dragon's move (the preferred one) judged as a
// fall for the upper side, then lost for the side that looked away.
std::vector<局面評価> 偽の評価(const 棋譜表& 棋譜) {
    std::vector<局面評価> e(static_cast<std::size_t>(棋譜.棋譜記録数()) + 1);
    const int MAN側[] = {20, 10, 30, 0, 900, -深読み勝ち, -深読み勝ち};
    for (std::size_t n = 0; n < e.size(); ++n) {
        e[n].済み = true;
        e[n].MAN評価 = MAN側[n];
        e[n].手番評価 = 手番はCOMか(static_cast<int>(n), false) ? -MAN側[n] : MAN側[n];
    }
    e[6].終局 = true;
    // The preferred move before move 4 is the dragon's move that was played.
    e[3].最善 = {true, 2, 2, 5, 2, 駒_COM飛成, 駒_COM飛成, 0};
    return e;
}

TEST(講評をまとめる, 手番の側から見て印を付け_最善どおりの手と評価のない手は印なし) {
    const auto 棋譜 = testing::王を取られる対局();
    ASSERT_FALSE(初手はCOMか(*棋譜));
    std::vector<局面評価> e = 偽の評価(*棋譜);
    const 講評 r = 講評をまとめる(*棋譜, false, e);
    ASSERT_EQ(r.手.size(), 6u);
    const 手の講評& 見逃し = r.手[testing::見逃す手 - 1];
    EXPECT_FALSE(見逃し.COM側);
    EXPECT_TRUE(見逃し.先手);
    EXPECT_EQ(見逃し.前評価, 900);
    EXPECT_EQ(見逃し.後評価, -深読み勝ち);
    EXPECT_EQ(見逃し.印, 手の印::悪手);
    // Move 4 falls by 900 points for the upper side, but it is the preferred move.
    EXPECT_TRUE(r.手[3].最善どおり);
    EXPECT_EQ(r.手[3].印, 手の印::なし);
    EXPECT_EQ(r.先手.悪手, 1);
    EXPECT_EQ(r.後手.悪手 + r.後手.疑問手, 0);

    // With the upper side moving first, the fifth move is its own, and still ▲'s.
    const 手の講評 上手の五手目 = 講評をまとめる(*棋譜, true, e).手[4];
    EXPECT_TRUE(上手の五手目.COM側);
    EXPECT_TRUE(上手の五手目.先手);
    // Without the position after it, the move is not judged.
    e[testing::見逃す手].済み = false;
    EXPECT_EQ(講評をまとめる(*棋譜, false, e).手[testing::見逃す手 - 1].印, 手の印::なし);
}

TEST(棋譜を講評する, 各局面を一度ずつ評価し_終局は渡さず_作業者は重ならない) {
    const auto 棋譜 = testing::王を取られる対局();
    const std::vector<局面評価> e = 偽の評価(*棋譜);
    std::atomic<int> 回数[7] = {};
    std::atomic<bool> 使用中[3] = {};
    std::atomic<bool> 重なり{false};
    const 講評 r = 棋譜を講評する(
        *棋譜, false,
        [&](const 検討局面& t, int 作業者) {
            EXPECT_FALSE(t.終局);
            if (作業者 < 0 || 作業者 >= 3) {
                ADD_FAILURE() << 作業者;
                return 局面評価{};
            }
            EXPECT_EQ(t.既出鍵.size(), static_cast<std::size_t>(t.番号));
            if (使用中[作業者].exchange(true)) 重なり = true;
            ++回数[t.番号];
            局面評価 v = e[static_cast<std::size_t>(t.番号)];
            使用中[作業者] = false;
            return v;
        },
        3);
    EXPECT_FALSE(重なり);
    for (int n = 0; n < 6; ++n) EXPECT_EQ(回数[n], 1) << n;
    EXPECT_EQ(回数[6], 0);
    EXPECT_TRUE(r.局面[6].終局);
    EXPECT_EQ(r.局面[6].MAN評価, -深読み勝ち);
    EXPECT_EQ(r.先手.悪手, 1);
}

}  // namespace
}  // namespace kiryuza
