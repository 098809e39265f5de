// The game-flow checker over many seeds: no action sequence may break an invariant.
#include <gtest/gtest.h>

#include "game/flow_check.h"

namespace kiryuza::testing {
namespace {

class 流れ : public ::testing::TestWithParam<int> {};

TEST_P(流れ, 乱数の操作を続けても不変条件は崩れない) {
    const 流れ検査結果 r = 対局の流れを検査(static_cast<std::uint64_t>(GetParam()), 5000);
    EXPECT_EQ(r.操作数, 5000);
    EXPECT_EQ(r.違反数, 0);
    for (const std::string& v : r.違反) ADD_FAILURE() << v;
}

INSTANTIATE_TEST_SUITE_P(種, 流れ, ::testing::Range(1, 11));

}  // namespace
}  // namespace kiryuza::testing
