// The thinking time on a clock: played out over whole games, a side that always thinks up to
// its hard limit never runs out, and the byoyomi is spent in full once the main time is gone.
#include <gtest/gtest.h>

#include <string>

#include "engine/time_budget.h"

namespace kiryuza {
namespace {

struct 持ち時間 {
    const char* 名;
    std::int64_t 持ち;
    std::int64_t 秒読み;
    std::int64_t 加算;
};

constexpr 持ち時間 時計表[] = {
    {"byoyomi only", 0, 1000, 0},
    {"main and byoyomi", 10000, 3000, 0},
    {"long main and byoyomi", 600000, 30000, 0},
    {"fischer", 60000, 0, 500},
    {"fast fischer", 2000, 0, 100},
    {"almost nothing and increment", 300, 0, 200},
};

TEST(考慮時間, 毎手上限まで考え_手間が余裕の半分でも時間切れにならない) {
    // What the process and the pipe add to every move, beyond the hard limit.
    constexpr std::int64_t 手間 = 時間余裕ms / 2;
    for (const 持ち時間& c : 時計表) {
        SCOPED_TRACE(c.名);
        std::int64_t 残り = c.持ち;
        for (int 手数 = 1; 手数 <= 600; 手数 += 2) {
            const 考慮時間 t = 考慮時間を決める(残り, c.秒読み, c.加算, 手数);
            ASSERT_GE(t.目安ms, 1);
            ASSERT_LE(t.目安ms, t.上限ms);
            const std::int64_t 使用 = t.上限ms + 手間;
            ASSERT_LE(使用, 残り + c.秒読み) << "move " << 手数 << " with " << 残り << " ms left";
            残り = (使用 > 残り ? 0 : 残り - 使用) + c.加算;
        }
    }
}

TEST(考慮時間, 持ち時間があるうちは一部を使い_尽きれば秒読みを使い切る) {
    const 考慮時間 最初 = 考慮時間を決める(60000, 10000, 0, 1);
    EXPECT_LT(最初.目安ms, 10000) << "a share of the main time and part of the byoyomi";
    EXPECT_GT(最初.目安ms, 60000 / 60);
    const 考慮時間 尽きた = 考慮時間を決める(0, 10000, 0, 101);
    EXPECT_EQ(尽きた.目安ms, 尽きた.上限ms);
    EXPECT_GE(尽きた.目安ms, 10000 - 時間余裕ms);
    EXPECT_LT(尽きた.上限ms, 10000);
    // Late in the game a move takes a larger share of what is left.
    EXPECT_GT(考慮時間を決める(60000, 0, 0, 200).目安ms, 考慮時間を決める(60000, 0, 0, 1).目安ms);
}

}  // namespace
}  // namespace kiryuza
