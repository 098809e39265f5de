// The thinking time on a clock: over whole games, to the move limit, a side that always thinks
// up to its hard limit never runs out, and the byoyomi is spent in full only once the main time
// is gone.
#include <gtest/gtest.h>

#include "engine/time_budget.h"
#include "rules/pieces.h"

namespace kiryuza {
namespace {

TEST(考慮時間, 毎手上限まで考え_手間が余裕の半分でも時間切れにならない) {
    struct 持ち時間 {
        std::int64_t 持ち, 秒読み, 加算;
    };
    for (const 持ち時間 c : {持ち時間{0, 1000, 0},
                             {10000, 3000, 0},
                             {600000, 30000, 0},
                             {60000, 0, 500},
                             {2000, 0, 100},
                             {300, 0, 200},
                             {30000, 0, 0},
                             {3000, 0, 0},
                             {20000, 0, 5}}) {
        SCOPED_TRACE(::testing::Message()
                     << c.持ち << " ms, byoyomi " << c.秒読み << ", inc " << c.加算);
        std::int64_t 残り = c.持ち;
        for (int 手数 = 1; 手数 < 棋譜最大数; 手数 += 2) {
            const 考慮時間 t = 考慮時間を決める(残り, c.秒読み, c.加算, 手数);
            ASSERT_TRUE(1 <= t.目安ms && t.目安ms <= t.上限ms) << t.目安ms << " " << t.上限ms;
            // What the process and the pipe add comes on top of the hard limit: half the margin,
            // or in sudden death half what is kept back for every move.
            const bool 切れ負け = c.秒読み == 0 && c.加算 < 一手の手間ms;
            const std::int64_t 使用 = t.上限ms + (切れ負け ? 一手の手間ms : 時間余裕ms) / 2;
            ASSERT_LE(使用, 残り + c.秒読み) << "move " << 手数 << " with " << 残り << " ms left";
            残り = (使用 > 残り ? 0 : 残り - 使用) + c.加算;
        }
    }
}

TEST(考慮時間, 持ち時間があるうちは一部を使い_尽きれば秒読みを使い切る) {
    const 考慮時間 最初 = 考慮時間を決める(60000, 10000, 0, 1);
    EXPECT_TRUE(60000 / 60 < 最初.目安ms && 最初.目安ms < 10000) << 最初.目安ms;
    const 考慮時間 尽きた = 考慮時間を決める(0, 10000, 0, 101);
    EXPECT_EQ(尽きた.目安ms, 尽きた.上限ms);
    EXPECT_TRUE(10000 - 時間余裕ms <= 尽きた.目安ms && 尽きた.上限ms < 10000) << 尽きた.目安ms;
    // Late in the game a move takes a larger share of what is left.
    EXPECT_GT(考慮時間を決める(60000, 0, 0, 200).目安ms, 考慮時間を決める(60000, 0, 0, 1).目安ms);
}

}  // namespace
}  // namespace kiryuza
