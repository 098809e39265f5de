// The searching player on several threads: every answer is a legal move whatever the threads
// do, a stop from outside ends the search at once, the thread count changes between searches,
// and the shared table never hands out an entry that no thread wrote. Run under
// ThreadSanitizer as well as in the plain builds.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/deep_search.h"
#include "engine/deep_tt.h"
#include "engine/search_service.h"
#include "record/record_line.h"
#include "rules_oracle.h"

namespace kiryuza {
namespace {

using testing::規則にある手;

// Every fortieth position of the reference set, with the side that is to move in it.
std::vector<局面> 局面集() {
    std::vector<局面> 結果;
    std::ifstream in(KIRYUZA_POSITIONS);
    std::string s;
    for (int i = 0; std::getline(in, s); ++i) {
        const 行解析結果 r = 棋譜行を読む(s);
        if (i % 40 != 0 || r.誤り != 行誤り::なし) continue;
        局面 局;
        行を局面へ(r.データ, 局);
        結果.push_back(局);
    }
    return 結果;
}

TEST(並列探索, どのスレッド数でも合法な手と合法な読み筋を返す) {
    struct 筋を確かめる : 深読み観察 {
        const 局面* 局 = nullptr;
        bool COM側 = false;
        int 回数 = 0;
        void 読み筋(const 深読み読み筋& e) override {
            ++回数;
            EXPECT_TRUE(e.手数 == 0 || 規則にある手(*局, COM側, e.手[0]));
        }
    } 観察;
    auto エンジン = std::make_unique<深読みエンジン>(4, 2);
    const std::vector<局面> 集 = 局面集();
    ASSERT_FALSE(集.empty());
    for (const int スレッド : {2, 4, 1, 3}) {
        エンジン->スレッド数を決める(スレッド);
        ASSERT_EQ(エンジン->スレッド数(), スレッド);
        for (std::size_t i = 0; i < 集.size(); ++i) {
            const bool COM側 = i % 2 == 0;
            観察.局 = &集[i];
            観察.COM側 = COM側;
            深読み設定 s;
            s.時間ms = 0;
            s.深さ上限 = 3;
            const 深読み結果 r = エンジン->探索(集[i], COM側, s, &観察);
            if (r.手.有り) {
                EXPECT_TRUE(規則にある手(集[i], COM側, r.手)) << i;
            }
            EXPECT_GT(r.節点数, 0u);
        }
    }
    EXPECT_GT(観察.回数, 0);
}

TEST(並列探索, 外からの停止で時間も深さも限りのない探索が終わる) {
    深読みエンジン エンジン(4, 3);
    局面 局;
    初期配置(局);
    深読み設定 s;
    s.時間ms = 0;
    深読み結果 r;
    std::thread 読む([&] { r = エンジン.探索(局, false, s); });
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    エンジン.停止();
    読む.join();
    EXPECT_TRUE(規則にある手(局, false, r.手));
    EXPECT_LT(r.深さ, 60);
}

// Two threads write the same keys over and over, each with values of its own that tell the
// key and the writer; whatever is read back for a key was written for that key. The writers go
// on until the reader is done, and the reader starts once both have written, so the reads
// always overlap the writes however the threads are scheduled.
TEST(並列探索, 共有の置換表は書かれなかった項を返さない) {
    置換表 表(1);
    std::atomic<int> 書き始めた{0};
    std::atomic<bool> 読み終えた{false};
    auto 書き手 = [&](int 誰) {
        for (int round = 0; !読み終えた.load(); ++round) {
            for (std::uint64_t 鍵 = 1; 鍵 <= 64; ++鍵)
                表.書く(鍵 * 0x9E3779B97F4A7C15ull, static_cast<手符号>(鍵),
                        static_cast<int>(鍵 * 10), 誰, 値種別::正確);
            if (round == 0) ++書き始めた;
        }
    };
    std::thread a(書き手, 1);
    std::thread b(書き手, 2);
    while (書き始めた.load() < 2) std::this_thread::yield();
    int 読めた = 0;
    for (int round = 0; round < 20000; ++round)
        for (std::uint64_t 鍵 = 1; 鍵 <= 64; ++鍵) {
            置換項 e;
            if (!表.引く(鍵 * 0x9E3779B97F4A7C15ull, e)) continue;
            ++読めた;
            if (e.手 != static_cast<手符号>(鍵) || e.値 != static_cast<int>(鍵 * 10) ||
                (e.深さ != 1 && e.深さ != 2)) {
                ADD_FAILURE() << "key " << 鍵 << " read back a torn or foreign entry";
                round = 20000;
                break;
            }
        }
    読み終えた = true;
    a.join();
    b.join();
    EXPECT_GT(読めた, 0);
}

// Requests of three callers handed in and dropped at random while the service searches: every
// answer is for its caller's latest request and a legal move of its position, nothing comes
// for a dropped or replaced request, and each request still wanted at the end is answered once.
TEST(読み手サービス, 最新の依頼にだけ一度ずつ答え取り消した依頼には答えない) {
    std::mutex 錠;
    std::condition_variable 来た;
    int 知らせ数 = 0;
    読み手サービス サービス(2, 1, [&] {
        std::lock_guard<std::mutex> lock(錠);
        ++知らせ数;
        来た.notify_all();
    });
    const std::vector<局面> 集 = 局面集();
    std::mt19937 乱(5);
    struct 依頼の控え {
        std::uint64_t 番号 = 0;  // 0: nothing wanted
        const 局面* 局 = nullptr;
        bool COM側 = false;
        bool 答えた = false;
    } 控え[依頼者数];
    auto 受け取る = [&] {
        for (const 読み答え& a : サービス.答えを受け取る()) {
            auto& c = 控え[static_cast<int>(a.誰)];
            ASSERT_EQ(a.番号, c.番号);
            if (!a.終わり) continue;
            ASSERT_FALSE(c.答えた);
            c.答えた = true;
            if (a.結果.手.有り) {
                EXPECT_TRUE(規則にある手(*c.局, c.COM側, a.結果.手));
            }
        }
    };
    for (int i = 0; i < 300; ++i) {
        const auto 誰 = static_cast<依頼者>(乱() % 依頼者数);
        auto& c = 控え[static_cast<int>(誰)];
        if (乱() % 4 == 0) {
            サービス.取り消す(誰);
            c = {};
        } else {
            読み依頼 依頼;
            c.局 = &集[乱() % 集.size()];
            c.COM側 = 乱() % 2 == 0;
            依頼.局 = *c.局;
            依頼.COM側 = c.COM側;
            依頼.設定.時間ms = 0;
            依頼.設定.深さ上限 = 1 + static_cast<int>(乱() % 3);
            依頼.読み筋も = 誰 == 依頼者::検討;
            c.番号 = サービス.依頼する(誰, 依頼);
            c.答えた = false;
        }
        受け取る();
    }
    // Everything still wanted is answered.
    auto 残り = [&] {
        for (const auto& c : 控え)
            if (c.番号 != 0 && !c.答えた) return true;
        return false;
    };
    for (int 待ち = 0; 残り() && 待ち < 600; ++待ち) {
        std::unique_lock<std::mutex> lock(錠);
        来た.wait_for(lock, std::chrono::milliseconds(100));
        lock.unlock();
        受け取る();
    }
    EXPECT_FALSE(残り());
    サービス.全て止める();
    EXPECT_EQ(サービス.依頼する(依頼者::対局, 読み依頼{}), 0u);
}

}  // namespace
}  // namespace kiryuza
