// The search must not touch the heap: every global allocation is counted around one search.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "engine/deep_search.h"
#include "engine/engine.h"
#include "engine/mate_solver.h"
#include "support/mate_set.h"

namespace {
std::atomic<long> 確保数{0};
}

void* operator new(std::size_t n) {
    ++確保数;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t n) {
    ++確保数;
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace kiryuza {
namespace {

TEST(探索, ヒープを使わない) {
    auto 局 = std::make_unique<局面>();
    初期配置(*局);
    // A middle-game flavour: hands on both sides and a few pieces moved forward.
    局->盤面[5][3] = 空桝;
    局->盤面[5][5] = 駒_COMと;
    局->盤面[3][7] = 空桝;
    局->持駒COM[1] = 2;
    局->持駒COM[4] = 1;
    局->持駒総数COM = 3;
    局->持駒MAN[3] = 1;
    局->持駒総数MAN = 1;
    auto エンジン = std::make_unique<思考エンジン>(*局);
    探索観察 観察;
    エンジン->勢力調査();
    const long 前 = 確保数.load();
    const 最善手 m = エンジン->探索(観察);
    const long 後 = 確保数.load();
    EXPECT_TRUE(m.有り);
    EXPECT_EQ(後 - 前, 0);
}

TEST(深読み, 表は作るときに確保し探索中はヒープを使わない) {
    auto 局 = std::make_unique<局面>();
    初期配置(*局);
    局->盤面[5][3] = 空桝;
    局->持駒COM[1] = 1;
    局->持駒MAN[3] = 1;
    auto エンジン = std::make_unique<深読みエンジン>(1);
    struct 数える観察 : 深読み観察 {
        int 回数 = 0;
        void 経過(const 深読み経過&) override { ++回数; }
    } 観察;
    深読み設定 設定;
    設定.時間ms = 0;
    設定.深さ上限 = 4;
    const long 前 = 確保数.load();
    const 深読み結果 r = エンジン->探索(*局, false, 設定, &観察);
    const long 後 = 確保数.load();
    EXPECT_TRUE(r.手.有り);
    EXPECT_GT(観察.回数, 0);
    EXPECT_EQ(後 - 前, 0);
}

TEST(詰み探索, 表は作るときに確保し探索中はヒープを使わない) {
    const auto 集 = testing::詰み問題集(KIRYUZA_MATES);
    auto 探索 = std::make_unique<詰み探索>(1);
    for (const auto& p : 集) {
        if (p.手数 != 7) continue;
        const long 前 = 確保数.load();
        const 詰み結果 r = 探索->探す(p.局, p.COM側);
        const long 後 = 確保数.load();
        EXPECT_EQ(r.判定, 詰み判定::詰み);
        EXPECT_EQ(後 - 前, 0);
        break;
    }
}

}  // namespace
}  // namespace kiryuza
