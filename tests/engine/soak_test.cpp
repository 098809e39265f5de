// Self-play soak: the computer against a seeded random mover for many games. Every computer
// move must pass the legality check, and the hands, totals and pieces must stay consistent.
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "engine/engine.h"
#include "support/invariants.h"

namespace kiryuza {
namespace {

using 手 = 指し手;

std::vector<手> MAN合法手(局面& 局) {
    std::vector<手> 一覧(合法手最大数);
    一覧.resize(static_cast<std::size_t>(合法手一覧(局, false, 一覧.data())));
    return 一覧;
}

// Plays one game; returns the number of plies.
int 一局(unsigned 種, int レベル) {
    auto 局 = std::make_unique<局面>();
    初期配置(*局);
    局->手番値MAN = 手番_先手;
    局->手番値COM = 手番_後手;
    auto エンジン = std::make_unique<思考エンジン>(*局);
    エンジン->COMレベル = レベル;
    局面表示 無表示;
    探索観察 無観察;
    std::mt19937 rng(種);
    int ply = 0;
    for (; ply < 300; ply += 2) {
        const auto 一覧 = MAN合法手(*局);
        if (一覧.empty()) break;
        手 m = 一覧[rng() % 一覧.size()];
        if (調査_駒成(*局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON) m.駒 = 局->駒成結果;
        駒移動(*局, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
        if (局->勝者 != 手番_なし) break;
        エンジン->勢力調査();
        エンジン->詰めかCOM();  // as after every human move; the board must come back intact
        エンジン->勢力調査();
        const 最善手 b = エンジン->探索(無観察);
        EXPECT_TRUE(b.有り);
        if (!b.有り) break;
        if (b.元X == 持駒列_COM) {
            EXPECT_GE(b.元Y, 1);
            EXPECT_LE(b.元Y, 7);
            EXPECT_GT(局->持駒COM[b.元Y], 0);
            EXPECT_EQ(b.駒, 打駒_COM[b.元Y]);
            EXPECT_EQ(移動チェック(*局, b.元X, b.元Y, b.先X, b.先Y, b.駒), 定数_ON);
        } else {
            const int 元駒 = 局->盤面[b.元X][b.元Y];
            EXPECT_EQ(元駒, b.元駒);
            EXPECT_GE(元駒, 駒_COM歩);
            EXPECT_EQ(移動チェック(*局, b.元X, b.元Y, b.先X, b.先Y, 元駒), 定数_ON);
            if (b.駒 != 元駒) {
                EXPECT_EQ(調査_駒成(*局, b.元X, b.元Y, b.先X, b.先Y, 元駒), 定数_ON);
                EXPECT_EQ(b.駒, 局->駒成結果);
            }
        }
        駒移動(*局, 無表示, b.元X, b.元Y, b.先X, b.先Y, b.駒);
        if (局->勝者 != 手番_なし) break;
        // Nothing here tidies the king fields and two-pawn flags after a move, as the game does.
        testing::局面の期待 期待;
        期待.王位置 = false;
        期待.二歩フラグ = false;
        EXPECT_EQ(testing::局面の矛盾(*局, 期待), "");
        if (::testing::Test::HasFailure()) break;
    }
    return ply;
}

TEST(自己対局, 乱数相手に数百局指しても手は合法で駒の数は合う) {
    long 合計 = 0;
    for (unsigned 種 = 1; 種 <= 1000; ++種) {
        合計 += 一局(種, static_cast<int>(種 % 3) + 1);
        if (::testing::Test::HasFailure()) {
            ADD_FAILURE() << "seed " << 種;
            break;
        }
    }
    EXPECT_GT(合計, 1000);
}

}  // namespace
}  // namespace kiryuza
