// Matches between engine programs: two engines play whole games to the end and the summary adds
// up; an engine that dies, answers garbage, plays an illegal move or lets its clock run out
// loses each game with a line that says why, and is started again for the next game.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "analyze.h"

namespace kiryuza {
namespace {

std::vector<std::string> 対戦の行(const std::string& s) {
    std::vector<std::string> 行;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);) 行.push_back(l);
    return 行;
}

TEST(エンジン対戦, 二つのエンジンが終局まで指し_集計は勝敗と合う) {
    対戦設定 設定;
    設定.命令A = 設定.命令B = KIRYUZA_ENGINE;
    設定.局数 = 2;
    設定.種 = 4;
    設定.時間msA = 設定.時間msB = 5;
    設定.スレッド数 = 1;
    std::ostringstream out;
    const 対戦成績 r = 対戦(out, 設定);
    const auto 行 = 対戦の行(out.str());
    ASSERT_EQ(行.size(), 3u) << out.str();
    for (int g = 0; g < 2; ++g) {
        const std::string& l = 行[static_cast<std::size_t>(g)];
        EXPECT_EQ(l.rfind("game " + std::to_string(g + 1) + " opening 1: A (engine) " +
                              (g == 0 ? "lower" : "upper") + ", ",
                          0),
                  0u)
            << l;
        EXPECT_TRUE(l.find("(king taken)") != std::string::npos ||
                    l.find("draw (move limit)") != std::string::npos)
            << l;
    }
    EXPECT_EQ(r.勝 + r.負 + r.分, 2);
    EXPECT_EQ(
        行[2].rfind("match A vs B: " + std::to_string(r.勝) + " wins, " + std::to_string(r.負) +
                        " losses, " + std::to_string(r.分) + " draws, score ",
                    0),
        0u)
        << 行[2];
}

// Stand-ins for broken engines: shell loops that answer the introduction and then misbehave.
std::string 壊れたエンジン(const std::string& go) {
    return "while read l; do case \"$l\" in usi) echo usiok;; isready) echo readyok;; go*) " + go +
           ";; quit) exit 0;; esac; done";
}

TEST(エンジン対戦, 壊れたエンジンは毎局負け_理由が行に出る) {
    struct 例 {
        const char* 名;
        std::string 命令;
        std::int64_t 持ち時間;
        const char* 理由;
    };
    const 例 例表[] = {
        {"dies", 壊れたエンジン("exit 3"), 0, "(the engine died)"},
        {"garbage", 壊れたエンジン("echo hello"), 0, "(garbage from the engine: 'hello')"},
        {"illegal", 壊れたエンジン("echo bestmove 9i9i"), 0, "(bad move from the engine: '9i9i'"},
        {"resigns", 壊れたエンジン("echo bestmove resign"), 0, "(resigned)"},
        {"slow", 壊れたエンジン("sleep 0.5; echo bestmove resign"), 100, "(loss on time: "},
        {"no usiok", "echo nonsense; sleep 5", 0, "(garbage from the engine: 'nonsense')"},
        {"missing", "exec /nonexistent/engine 2>/dev/null", 0, "(the engine died)"},
    };
    for (const 例& e : 例表) {
        SCOPED_TRACE(e.名);
        対戦設定 設定;
        設定.命令A = e.命令;
        設定.命令B = KIRYUZA_ENGINE;
        設定.局数 = 2;
        設定.時間msA = 設定.時間msB = 5;
        設定.時計.持ちms = e.持ち時間;
        std::ostringstream out;
        const 対戦成績 r = 対戦(out, 設定);
        EXPECT_EQ(r.負, 2) << out.str();
        const auto 行 = 対戦の行(out.str());
        ASSERT_EQ(行.size(), 3u) << out.str();
        for (int g = 0; g < 2; ++g)
            EXPECT_NE(行[static_cast<std::size_t>(g)].find("B wins " + std::string(e.理由)),
                      std::string::npos)
                << 行[static_cast<std::size_t>(g)];
    }
}

}  // namespace
}  // namespace kiryuza
