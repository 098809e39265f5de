// Long random games: after every move the hands, the totals, the king square and the history
// must agree with the board.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "rules/game_state.h"
#include "support/invariants.h"

namespace kiryuza {
namespace {

using 手 = 指し手;
using testing::局面の期待;
using testing::局面の矛盾;

// The square of a king as 10 * column + row.
int 王の桝(const 局面& 局, int 王) {
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (局.盤面[x][y] == 王) return 10 * x + y;
    return 0;
}

std::vector<手> 合法手(局面& 局, bool COM側) {
    std::vector<手> 一覧(合法手最大数);
    一覧.resize(static_cast<std::size_t>(合法手一覧(局, COM側, 一覧.data())));
    return 一覧;
}

TEST(乱数対局, 持駒と棋譜と王の位置が盤と一致し続ける) {
    局面表示 無表示;
    int 王取り = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        auto 状態 = std::make_unique<対局状態>();
        初期設定(*状態, 無表示);
        auto& 局 = 状態->局;
        局.王位置X_MAN = 5;
        局.王位置Y_MAN = 9;
        局.手番値MAN = 手番_先手;
        局.手番値COM = 手番_後手;
        auto& 棋譜 = 状態->棋譜;
        std::mt19937 rng(seed);
        bool COM側 = false;
        棋譜.開始(局, 0, 0);
        while (局.勝者 == 手番_なし && 棋譜.空きあり()) {
            const auto 手一覧 = 合法手(局, COM側);
            ASSERT_FALSE(手一覧.empty());
            手 m = 手一覧[rng() % 手一覧.size()];
            const 局面 前 = 局;
            const int n = 棋譜.棋譜手数();
            ASSERT_EQ(棋譜.手順保存(局, n, n + 1, n, n), 保存結果::保存);
            if (調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON && rng() % 4 != 0) {
                m.駒 = 局.駒成結果;
            }
            駒移動(局, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
            棋譜.着手後保存(局);
            // Entry n is the position before the move, entry n + 1 the position after it.
            for (int x = 1; x <= 9; ++x)
                for (int y = 1; y <= 9; ++y) {
                    ASSERT_EQ(棋譜.項目(n).盤面[x][y], 前.盤面[x][y]);
                    ASSERT_EQ(棋譜.項目(n + 1).盤面[x][y], 局.盤面[x][y]);
                }
            for (int k = 1; k <= 7; ++k) {
                ASSERT_EQ(棋譜.項目(n).持駒MAN[k], 前.持駒MAN[k]);
                ASSERT_EQ(棋譜.項目(n).持駒COM[k], 前.持駒COM[k]);
            }
            ASSERT_EQ(棋譜.棋譜記録数(), n + 1);
            if (局.勝者 != 手番_なし) {
                ++王取り;
                break;
            }
            // The survey keeps the upper king's field and the move lister the two-pawn flags;
            // the lower king's field follows its king on every move.
            局面の期待 期待;
            期待.王位置 = false;
            期待.二歩フラグ = false;
            ASSERT_EQ(局面の矛盾(局, 期待), "");
            ASSERT_EQ(局.王位置X_MAN * 10 + 局.王位置Y_MAN, 王の桝(局, 駒_MAN王));
            COM側 = !COM側;
        }
        if (局.勝者 == 手番_なし) {
            // The game ran into the end of the history: the next move is refused.
            EXPECT_EQ(棋譜.手順保存(局, 0, 0, 0, 0), 保存結果::満杯);
            EXPECT_EQ(棋譜.棋譜手数(), 棋譜最大手数);
        }
    }
    EXPECT_GT(王取り, 0);
}

}  // namespace
}  // namespace kiryuza
