// Soak of the searching player: seeded games against a random mover and against itself, on
// either side. Every move it plays must be one the rules allow, it must leave the position it
// was given untouched, and the pieces must stay whole.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "engine/deep_search.h"
#include "rules_oracle.h"

namespace kiryuza {
namespace {

using testing::規則にある手;
using testing::規則の全手;

void 駒は揃っている(const 局面& 局) {
    int 駒数 = 0;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            if (局.盤面[x][y] != 空桝) ++駒数;
    for (int k = 1; k <= 7; ++k) 駒数 += 局.持駒MAN[k] + 局.持駒COM[k];
    ASSERT_EQ(駒数, 40);
}

// Plays one game from the starting position, its first plies random; a null player is the
// random mover. Returns the number of plies.
int 一局(深読みエンジン* 下手, 深読みエンジン* 上手, unsigned 種, int 深さ) {
    局面 局;
    初期配置(局);
    std::mt19937 rng(種);
    局面表示 無表示;
    深読み設定 設定;
    設定.時間ms = 0;
    設定.深さ上限 = 深さ;
    bool COM側 = false;
    int ply = 0;
    for (; ply < 200; ++ply) {
        深読みエンジン* 手番者 = COM側 ? 上手 : 下手;
        最善手 b;
        if (手番者 == nullptr || ply < 4) {
            const auto 一覧 = 規則の全手(局, COM側);
            if (一覧.empty()) break;
            const 指し手& m = 一覧[rng() % 一覧.size()];
            b = {true, m.元X, m.元Y, m.先X, m.先Y, m.駒, 0, 0};
        } else {
            const 局面 前 = 局;
            b = 手番者->探索(局, COM側, 設定).手;
            EXPECT_EQ(std::memcmp(&局, &前, sizeof 局), 0);
            EXPECT_TRUE(規則にある手(局, COM側, b)) << "ply " << ply;
            if (::testing::Test::HasFailure()) break;
        }
        駒移動(局, 無表示, b.元X, b.元Y, b.先X, b.先Y, b.駒);
        if (局.勝者 != 手番_なし) break;
        駒は揃っている(局);
        COM側 = !COM側;
    }
    return ply;
}

TEST(深読み自己対局, 乱数相手にも自分相手にもどちらの側でも合法な手だけを指す) {
    auto A = std::make_unique<深読みエンジン>(1);
    auto B = std::make_unique<深読みエンジン>(1);
    long 合計 = 0;
    for (unsigned 種 = 1; 種 <= 24 && !::testing::Test::HasFailure(); ++種) {
        SCOPED_TRACE(種);
        switch (種 % 3) {
            case 0:
                合計 += 一局(A.get(), nullptr, 種, 2);
                break;
            case 1:
                合計 += 一局(nullptr, A.get(), 種, 2);
                break;
            default:
                合計 += 一局(A.get(), B.get(), 種, 1);
                break;
        }
    }
    EXPECT_GT(合計, 300);
}

}  // namespace
}  // namespace kiryuza
