// The engine program driven through sessions over its pipes: every line it writes is one the
// protocol knows, every line of play and every bestmove is legal, stop and isready are answered
// while it thinks, and what the rules refuse is reported and leaves the position before it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine_process.h"
#include "interfaces/product.h"
#include "support/mate_set.h"
#include "tools/usi_support.h"

namespace kiryuza {
namespace {

using namespace std::chrono_literals;
using testing::全ての手;

class エンジン対話 : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(engine_.start(KIRYUZA_ENGINE)); }
    void TearDown() override { engine_.end(2000ms); }

    void 送る(const std::string& s) { ASSERT_TRUE(engine_.send(s)) << s; }

    // The next line (empty after `待ち`), which must be one the protocol knows; the line of play
    // of an info line must be legal from `局面_`.
    std::string 読む(std::chrono::milliseconds 待ち = 60s) {
        std::string l;
        if (engine_.readLine(l, EngineProcess::Clock::now() + 待ち) != EngineProcess::Read::line)
            return {};
        static const std::regex 形(
            "id (name|author) .+|option name \\w+ type (spin default \\d+ min \\d+ max \\d+|"
            "combo default \\w+( var \\w+)+)|usiok|"
            "readyok|checkmate( \\S+)+|bestmove \\S+|info string .*|info depth \\d+ "
            "seldepth \\d+( multipv \\d+)? score (cp|mate) -?\\d+ nodes \\d+ nps \\d+ time \\d+ "
            "pv( \\S+)+");
        EXPECT_TRUE(std::regex_match(l, 形)) << l;
        if (l.rfind("info depth", 0) == 0) {
            局面と手番 p = 局面_;
            std::istringstream pv(l.substr(l.find(" pv ") + 4));
            for (std::string 手; pv >> 手;) {
                最善手 m;
                std::string why;
                if (!表記の手(p, 手, m, why)) {
                    ADD_FAILURE() << 手 << ": " << why << " in " << l;
                    break;
                }
                手を進める(p, m);
            }
        }
        return l;
    }

    // Lines up to and including the first that starts with `頭`.
    std::vector<std::string> 待つ(const std::string& 頭) {
        std::vector<std::string> lines;
        do lines.push_back(読む());
        while (!lines.back().empty() && lines.back().rfind(頭, 0) != 0);
        EXPECT_FALSE(lines.back().empty()) << "no " << 頭;
        return lines;
    }

    // Sends `命令` and checks the bestmove: legal, or resign when there is no legal move.
    void 最善手が合法(const std::string& 命令) {
        送る(命令);
        const std::string 手 = 待つ("bestmove").back().substr(9);
        最善手 m;
        std::string why;
        if (全ての手(局面_).empty())
            EXPECT_EQ(手, "resign");
        else
            EXPECT_TRUE(表記の手(局面_, 手, m, why)) << 命令 << ": " << 手 << ": " << why;
    }

    std::string 今のSFEN() {
        送る("sfen");
        return 待つ("info string sfen").back().substr(17);
    }

    EngineProcess engine_;
    局面と手番 局面_ = 開始局面();
};

TEST_F(エンジン対話, 名乗り_設定_探索の形と合法な手_止める_終わる) {
    送る("usi");
    std::string 名乗り;
    for (const std::string& l : 待つ("usiok")) 名乗り += l + "\n";
    EXPECT_EQ(名乗り.rfind("id name Kiryuza " + std::string(版) + "\n", 0), 0u) << 名乗り;
    for (const char* o : {"Threads", "Hash", "MultiPV", "PersonSide"})
        EXPECT_NE(名乗り.find("option name " + std::string(o) + " "), std::string::npos) << o;
    for (const char* s : {"setoption name Hash value 8", "setoption name MultiPV value 3",
                          "setoption name Threads value 2", "isready"})
        送る(s);
    EXPECT_EQ(待つ("readyok").size(), 1u) << "the settings are taken without a word";
    for (const char* s :
         {"setoption name MultiPV value 9", "setoption name Nothing value 1", "setoption name Hash",
          "setoption name PersonSide value black", "frobnicate"}) {
        送る(s);
        EXPECT_EQ(読む().rfind("info string ", 0), 0u) << s;
    }

    // A dozen random moves from the start, then every kind of limit.
    送る("usinewgame");
    std::string 命令 = "position startpos moves";
    std::mt19937 rng(5);
    for (int ply = 0; ply < 12; ++ply) {
        const auto 手 = 全ての手(局面_);
        const 最善手& m = 手[rng() % 手.size()];
        命令 += " " + 手の表記(局面_.局, m);
        手を進める(局面_, m);
    }
    送る(命令);
    EXPECT_EQ(今のSFEN(), SFENへ(局面_));
    int 筋 = 0;
    送る("go depth 3");
    for (const std::string& l : 待つ("bestmove")) 筋 += l.find(" multipv 3 ") != std::string::npos;
    EXPECT_EQ(筋, 3) << "the third line at each of depths 1 to 3";
    送る("setoption name MultiPV value 1");
    for (const char* go : {"go depth 3", "go movetime 200", "go btime 3000 wtime 1000 byoyomi 200",
                           "go btime 0 wtime 0 binc 300 winc 300", "go nodes 20000"})
        最善手が合法(go);

    // Infinite: isready and a refused go are answered while it thinks, bestmove only after stop.
    for (const char* s : {"go infinite", "isready", "go depth 1"}) 送る(s);
    std::string 途中;
    for (std::string l = 読む(500ms); !l.empty(); l = 読む(500ms)) 途中 += l + "\n";
    EXPECT_NE(途中.find("readyok\n"), std::string::npos) << 途中;
    EXPECT_NE(途中.find("a search is running"), std::string::npos) << 途中;
    EXPECT_EQ(途中.find("bestmove"), std::string::npos) << 途中;
    最善手が合法("stop");
    // The mate solver: the shortest mate of a 5-ply problem of the set, and no mate at the start.
    for (const auto& p : testing::詰み問題集(KIRYUZA_MATES)) {
        if (p.手数 != 5) continue;
        送る("position sfen " + SFENへ({p.局, p.COM側, 1}));
        送る("go mate 5000");
        const std::string 答え = 待つ("checkmate").back();
        EXPECT_EQ(std::count(答え.begin(), 答え.end(), ' '), 5) << 答え;
        break;
    }
    送る("position startpos");
    送る("go mate 200");
    const std::string 無し = 待つ("checkmate").back();
    EXPECT_TRUE(無し == "checkmate nomate" || 無し == "checkmate timeout") << 無し;

    送る("quit");
    std::string l;
    EXPECT_EQ(engine_.readLine(l, EngineProcess::Clock::now() + 10s), EngineProcess::Read::closed);
}

// PersonSide holds a side to a person's moves: once the bishops face each other, no line and no
// bestmove gives the held side a move that keeps its form where it could change (suffix +),
// whether it moves first or replies; a side not held does keep it on some lines.
TEST_F(エンジン対話, 人の側の手はどの読み筋でも形を残さない) {
    送る("setoption name MultiPV value 3");
    送る("position startpos moves 7g7f 3c3d");
    for (const char* m : {"7g7f", "3c3d"}) {
        最善手 b;
        std::string why;
        ASSERT_TRUE(表記の手(局面_, m, b, why)) << why;
        手を進める(局面_, b);
    }
    // The moves with + of each side (0 the lower, 1 the upper) in the lines of `go depth 3`.
    const auto 残す手 = [&](const char* 人) {
        送る(std::string("setoption name PersonSide value ") + 人);
        送る("go depth 3");
        std::array<int, 2> n{};
        for (const std::string& l : 待つ("bestmove")) {
            const std::size_t pv = l.find(" pv ");
            std::istringstream 筋(pv == std::string::npos ? l.substr(l.find(' ') + 1)
                                                          : l.substr(pv + 4));
            bool 上手 = false;
            for (std::string m; 筋 >> m; 上手 = !上手) n[上手] += m.back() == '+';
        }
        return n;
    };
    const std::array<int, 2> 自由 = 残す手("none");
    EXPECT_GT(自由[0], 0);
    EXPECT_GT(自由[1], 0);
    EXPECT_EQ(残す手("sente")[0], 0);
    EXPECT_EQ(残す手("gote")[1], 0);
    EXPECT_EQ(残す手("both"), (std::array<int, 2>{0, 0}));
}

TEST_F(エンジン対話, 局面はSFENで行き来し_規則にないものは告げて前の局面に留まる) {
    送る("position startpos");
    EXPECT_EQ(今のSFEN(), SFENへ(開始局面()));
    const auto 局面集 = testing::乱局面(4, 120, 11);
    for (std::size_t i = 0; i < 局面集.size(); i += 23) {
        const 局面と手番& p = 局面集[i];
        const auto 手 = 全ての手(p);
        if (手.empty()) continue;
        const std::string m = 手の表記(p.局, 手[i % 手.size()]);
        局面と手番 後 = p;
        手を進める(後, 手[i % 手.size()]);
        送る("position sfen " + SFENへ(p) + " moves " + m);
        EXPECT_EQ(今のSFEN(), SFENへ(後));
        送る("position sfen " + SFENへ(p) + " moves " + m + " " + m);  // the second is illegal
        const std::string l = 読む();
        EXPECT_EQ(l.rfind("info string illegal move " + m + " (move 2 of the list): ", 0), 0u) << l;
        EXPECT_EQ(今のSFEN(), SFENへ(後));
    }
    const std::string 前 = 今のSFEN();
    for (const char* s : {"position sfen 9/9 b - 1", "position", "position startpos 7g7f"}) {
        送る(s);
        EXPECT_EQ(読む().rfind("info string position", 0), 0u) << s;
    }
    EXPECT_EQ(今のSFEN(), 前);

    // No move left (the lower king walled in by its own plain pawns, which cannot move), and a
    // game already over: resign.
    std::string why;
    ASSERT_TRUE(SFENから("KP7/PP7/9/9/9/9/9/9/8k b - 1", 局面_, why)) << why;
    送る("position sfen KP7/PP7/9/9/9/9/9/9/8k b - 1");
    最善手が合法("go movetime 50");
    送る("position sfen 4k4/4+P4/9/9/9/9/9/9/4K4 b - 1 moves 5b5a+");
    送る("go depth 2");
    EXPECT_EQ(待つ("bestmove").back(), "bestmove resign");
}

}  // namespace
}  // namespace kiryuza
