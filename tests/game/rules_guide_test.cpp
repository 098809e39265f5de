// The 遊び方 window's pictures: each must say what the rules do, and the claims its text makes
// about them must hold.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>

#include "display/rules_guide.h"

namespace kiryuza::testing {
namespace {

using 桝の組 = std::set<std::pair<int, int>>;

局面 駒だけの盤(int 駒, int x, int y) {
    局面 局;
    局.盤面[x][y] = 駒;
    return 局;
}

// The squares a piece on the middle of an empty board may go to, by the rules.
桝の組 行先(int 駒) {
    const 局面 局 = 駒だけの盤(駒, 図の中央, 図の中央);
    桝の組 先;
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y)
            if (移動チェック(局, 図の中央, 図の中央, x, y, 駒) == 定数_ON) 先.insert({x, y});
    return 先;
}

bool 図の中(const 盤の図& 図, int x, int y) {
    return x >= 図.左 && x <= 図.右 && y >= 図.上 && y <= 図.下;
}

TEST(遊び方の図, 印は移動チェックが許す行先と同じで全て図に入る) {
    std::set<int> 種類;
    for (const 駒の形& 形 : 教える駒の順()) {
        EXPECT_TRUE(種類.insert(駒の種類番号(形.成駒)).second);
        EXPECT_EQ(駒の種類番号(形.元駒), 駒の種類番号(形.成駒));
        for (const int 駒 : {形.成駒, 形.元駒}) {
            SCOPED_TRACE(駒の名前(駒));
            const 盤の図 図 = 動きの図(駒);
            桝の組 印;
            for (int x = 1; x <= 盤桝数; ++x)
                for (int y = 1; y <= 盤桝数; ++y)
                    if (図.桝[x][y].行先) 印.insert({x, y});
            EXPECT_EQ(印, 行先(駒));
            EXPECT_EQ(図.桝[図の中央][図の中央].駒, 駒);
            for (const auto& [x, y] : 印) EXPECT_TRUE(図の中(図, x, y)) << x << "," << y;
            EXPECT_TRUE(図の中(図, 図の中央 - 2, 図の中央 - 2) &&
                        図の中(図, 図の中央 + 2, 図の中央 + 2));
        }
    }
    EXPECT_EQ(種類.size(), static_cast<std::size_t>(王の種類));
}

// The window says: promoted small pieces move as a gold, the horse and the dragon add steps to
// the bishop's and the rook's lines, and every plain form moves otherwise than its promoted one.
TEST(遊び方の図, 本文の言う通りに成駒と元の駒の動きが違う) {
    for (const 駒の形& 形 : 教える駒の順()) {
        if (形.成駒 == 形.元駒) continue;
        SCOPED_TRACE(駒の名前(形.成駒));
        const 桝の組 成 = 行先(形.成駒);
        const 桝の組 元 = 行先(形.元駒);
        EXPECT_NE(成, 元);
        if (形.成駒 != 駒_MAN角成 && 形.成駒 != 駒_MAN飛成) {
            EXPECT_EQ(成, 行先(駒_MAN金));
            continue;
        }
        EXPECT_TRUE(std::includes(成.begin(), 成.end(), 元.begin(), 元.end()));
        for (const auto& [x, y] : 成) {
            const int 距離 = std::max(std::abs(x - 図の中央), std::abs(y - 図の中央));
            EXPECT_TRUE(元.count({x, y}) || 距離 == 1) << x << "," << y;
        }
    }
}

TEST(遊び方の図, 敵陣は一段目から続く段で上側には鏡に映る) {
    int 段数 = 0;
    for (int y = 1; y <= 盤桝数; ++y) {
        if (敵陣の段(y)) {
            EXPECT_EQ(++段数, y) << "the zone runs on from row 1";
        }
        局面 局;
        const int 鏡 = 盤桝数 + 1 - y;
        EXPECT_EQ(調査_駒成(局, 4, 鏡, 5, 鏡, 駒_COMと) == 定数_ON, 敵陣の段(y)) << y;
    }
    EXPECT_GT(段数, 0);
    EXPECT_LT(段数, 盤桝数);
    const 盤の図 図 = 初めの並びの図();
    局面 始め;
    初期配置(始め);
    for (int x = 1; x <= 盤桝数; ++x) {
        for (int y = 1; y <= 盤桝数; ++y) {
            EXPECT_EQ(図.桝[x][y].駒, 始め.盤面[x][y]);
            EXPECT_EQ(図.桝[x][y].敵陣, 敵陣の段(y));
        }
    }
}

TEST(遊び方の図, 成りの例は合法な一手で駒成の結果を見せ持駒を経て元に戻る) {
    std::set<int> 入る;
    std::set<int> 出る;
    for (const 成りの例& 例 : 成りの例一覧()) {
        SCOPED_TRACE(駒の名前(例.前の駒));
        const 盤の図& 前 = 例.前;
        ASSERT_TRUE(前.手あり);
        EXPECT_EQ(前.桝[前.元X][前.元Y].駒, 例.前の駒);
        EXPECT_TRUE(図の中(前, 前.先X, 前.先Y));
        局面 局 = 駒だけの盤(例.前の駒, 前.元X, 前.元Y);
        EXPECT_EQ(移動チェック(局, 前.元X, 前.元Y, 前.先X, 前.先Y, 例.前の駒), 定数_ON);
        ASSERT_EQ(調査_駒成(局, 前.元X, 前.元Y, 前.先X, 前.先Y, 例.前の駒), 定数_ON);
        EXPECT_EQ(局.駒成結果, 例.後の駒);
        EXPECT_EQ(例.後.桝[前.先X][前.先Y].駒, 例.後の駒);
        EXPECT_EQ(例.後.桝[前.元X][前.元Y].駒, 空桝);
        EXPECT_NE(敵陣の段(前.元Y), 敵陣の段(前.先Y));
        EXPECT_EQ(例.出る, 敵陣の段(前.元Y));
        (例.出る ? 出る : 入る).insert(例.前の駒);
        // The upper side's changed piece, captured, goes to the hand under its kind and is
        // dropped again as the piece the example began with.
        局面 取り;
        駒取得(取り, -例.後の駒);
        const int k = 持駒番号(例.後の駒);
        EXPECT_EQ(取り.持駒MAN[k], 1);
        EXPECT_EQ(打駒_MAN[k], 例.前の駒);
    }
    // Entering: every kind with two forms. Leaving: the kinds the rules change when they step
    // out of the zone anywhere, tried here in another column.
    int 入口 = 0;
    for (int y = 1; y <= 盤桝数; ++y) 入口 = 敵陣の段(y) ? y : 入口;
    for (const 駒の形& 形 : 教える駒の順()) {
        EXPECT_EQ(入る.count(形.成駒) == 1, 形.成駒 != 形.元駒);
        局面 局;
        const bool 出て変わる = 調査_駒成(局, 1, 入口, 2, 入口 + 1, 形.成駒) == 定数_ON;
        EXPECT_EQ(出る.count(形.成駒) == 1, 出て変わる) << 駒の名前(形.成駒);
    }
    EXPECT_FALSE(出る.empty());
}

// The window says: a piece in hand is dropped promoted, on any empty square, even in a column
// that holds the player's own plain pawn.
TEST(遊び方の図, 持駒は成った姿でどこにでも打てる) {
    const auto 形一覧 = 打ちの形一覧();
    ASSERT_EQ(形一覧.size(), 7u);
    for (int k = 1; k <= 7; ++k) {
        const 打ちの形& 形 = 形一覧[k - 1];
        SCOPED_TRACE(駒の名前(形.持駒));
        EXPECT_EQ(持駒番号(形.持駒), k);
        EXPECT_EQ(持駒番号(形.打つ駒), k);
        // The drop form is the one the far zone changes, or the only form there is.
        局面 局;
        const bool 変わる = 調査_駒成(局, 5, 2, 5, 1, 形.打つ駒) == 定数_ON;
        EXPECT_EQ(変わる ? 局.駒成結果 : 形.打つ駒, 形.持駒);
        for (int 歩の筋 = 1; 歩の筋 <= 盤桝数; ++歩の筋) {
            局面 盤 = 駒だけの盤(駒_MAN歩, 歩の筋, 6);
            調査_2歩フラグ設定(盤);
            for (int x = 1; x <= 盤桝数; ++x)
                for (int y = 1; y <= 盤桝数; ++y)
                    EXPECT_EQ(移動チェック(盤, 持駒列_MAN, k + 2, x, y, 形.打つ駒) == 定数_ON,
                              盤.盤面[x][y] == 空桝);
        }
    }
}

}  // namespace
}  // namespace kiryuza::testing
