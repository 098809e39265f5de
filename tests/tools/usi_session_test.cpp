// The engine program driven through whole sessions over its pipes: every line it writes is one
// the protocol knows, every info line's line of play and every bestmove is legal, stop and
// isready are answered while it thinks, and what it is told that the rules refuse is reported
// and leaves the position as it was before.
#include <gtest/gtest.h>

#include <random>
#include <regex>
#include <string>
#include <vector>

#include "engine_process.h"
#include "interfaces/product.h"
#include "notation.h"
#include "tools/usi_support.h"

namespace kiryuza {
namespace {

using namespace std::chrono_literals;
using testing::乱局面;
using testing::全ての手;

// Plays the moves written in `pv` from `p`; false at the first one the rules refuse.
bool 指せる列(局面と手番 p, const std::string& pv, std::string& why) {
    std::size_t i = 0;
    while (i < pv.size()) {
        const std::size_t j = std::min(pv.find(' ', i), pv.size());
        最善手 m;
        if (!表記の手(p, pv.substr(i, j - i), m, why)) {
            why = pv.substr(i, j - i) + ": " + why;
            return false;
        }
        手を進める(p, m);
        i = j + 1;
    }
    return true;
}

class エンジン対話 : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(engine_.start(KIRYUZA_ENGINE)); }
    void TearDown() override { engine_.end(2000ms); }

    void 送る(const std::string& s) { ASSERT_TRUE(engine_.send(s)) << s; }

    // The next line, checked to be one the protocol knows; an info line's line of play must be
    // legal from `局面_`. Empty on a timeout.
    std::string 読む(std::chrono::milliseconds 待ち = 60s) {
        std::string line;
        const auto r = engine_.readLine(line, EngineProcess::Clock::now() + 待ち);
        if (r == EngineProcess::Read::timeout) return {};
        EXPECT_EQ(r, EngineProcess::Read::line);
        static const std::regex 形(
            "id name .+|id author .+|option name \\w+ type spin default \\d+ min \\d+ max \\d+|"
            "usiok|readyok|checkmate notimplemented|bestmove \\S+|info string .*|"
            "info depth \\d+ seldepth \\d+( multipv \\d+)? score (cp|mate) -?\\d+ nodes \\d+ nps "
            "\\d+ time \\d+ pv( \\S+)+");
        EXPECT_TRUE(std::regex_match(line, 形)) << line;
        if (line.rfind("info depth", 0) == 0) {
            std::string why;
            EXPECT_TRUE(指せる列(局面_, line.substr(line.find(" pv ") + 4), why))
                << why << " in " << line;
        }
        return line;
    }

    // Lines up to and including the first that starts with `頭`.
    std::vector<std::string> 待つ(const std::string& 頭) {
        std::vector<std::string> lines;
        for (;;) {
            lines.push_back(読む());
            if (lines.back().empty()) {
                ADD_FAILURE() << "no " << 頭;
                return lines;
            }
            if (lines.back().rfind(頭, 0) == 0) return lines;
        }
    }

    // Sends go and checks that the bestmove is legal, or resign when no move is.
    void 最善手が合法(const std::string& go) {
        送る(go);
        const std::string b = 待つ("bestmove").back();
        const std::string 手 = b.substr(9);
        if (全ての手(局面_).empty()) {
            EXPECT_EQ(手, "resign");
            return;
        }
        最善手 m;
        std::string why;
        EXPECT_TRUE(表記の手(局面_, 手, m, why)) << go << ": " << b << ": " << why;
    }

    void 局面を置く(const 局面と手番& p, const std::string& 命令) {
        局面_ = p;
        送る(命令);
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
    const auto intro = 待つ("usiok");
    ASSERT_GE(intro.size(), 3u);
    EXPECT_EQ(intro[0], "id name Kiryuza " + std::string(版));
    for (const char* o : {"Threads", "Hash", "MultiPV"}) {
        bool found = false;
        for (const std::string& l : intro)
            found = found || l.rfind("option name " + std::string(o) + " ", 0) == 0;
        EXPECT_TRUE(found) << o;
    }
    for (const char* s : {"setoption name Hash value 8", "setoption name MultiPV value 3",
                          "setoption name Threads value 2", "isready"})
        送る(s);
    EXPECT_EQ(待つ("readyok").size(), 1u) << "the settings were taken without a word";
    for (const char* s : {"setoption name MultiPV value 9", "setoption name Nothing value 1",
                          "setoption name Hash", "frobnicate"}) {
        送る(s);
        EXPECT_EQ(読む().rfind("info string ", 0), 0u) << s;
    }

    // A game's worth of moves from the start, then three kinds of limit.
    送る("usinewgame");
    std::string 命令 = "position startpos moves";
    局面と手番 p = 開始局面();
    std::mt19937 rng(5);
    for (int ply = 0; ply < 12; ++ply) {
        const auto 手 = 全ての手(p);
        const 最善手& m = 手[rng() % 手.size()];
        命令 += " " + 手の表記(p.局, m);
        手を進める(p, m);
    }
    局面を置く(p, 命令);
    EXPECT_EQ(今のSFEN(), SFENへ(p));
    送る("go depth 3");
    std::vector<std::string> lines = 待つ("bestmove");
    int 線 = 0;
    for (const std::string& l : lines) 線 += l.find(" multipv 3 ") != std::string::npos;
    EXPECT_EQ(線, 3) << "three lines at each of depths 1 to 3";
    送る("setoption name MultiPV value 1");
    最善手が合法("go depth 3");
    最善手が合法("go movetime 200");
    最善手が合法("go btime 3000 wtime 1000 byoyomi 200");
    最善手が合法("go btime 0 wtime 0 binc 300 winc 300");
    最善手が合法("go nodes 20000");

    // Infinite: isready and a refused go are answered while it thinks, and no bestmove comes
    // before stop.
    送る("go infinite");
    送る("isready");
    送る("go depth 1");
    bool ready = false;
    bool refused = false;
    for (std::string l = 読む(500ms); !l.empty(); l = 読む(500ms)) {
        EXPECT_NE(l.rfind("bestmove", 0), 0u) << "before stop";
        ready = ready || l == "readyok";
        refused = refused || l.find("a search is running") != std::string::npos;
    }
    EXPECT_TRUE(ready);
    EXPECT_TRUE(refused);
    最善手が合法("stop");

    送る("go mate 50");
    待つ("checkmate notimplemented");

    送る("quit");
    std::string line;
    EXPECT_EQ(engine_.readLine(line, EngineProcess::Clock::now() + 10s),
              EngineProcess::Read::closed);
}

TEST_F(エンジン対話, 局面はSFENで行き来し_規則にないものは告げて前の局面に留まる) {
    送る("position startpos");
    EXPECT_EQ(今のSFEN(), SFENへ(開始局面()));
    const auto 局面集 = 乱局面(4, 120, 11);
    for (std::size_t i = 0; i < 局面集.size(); i += 23) {
        const 局面と手番& p = 局面集[i];
        const auto 手 = 全ての手(p);
        if (手.empty()) continue;
        const 最善手& m = 手[i % 手.size()];
        局面と手番 後 = p;
        手を進める(後, m);
        送る("position sfen " + SFENへ(p) + " moves " + 手の表記(p.局, m));
        EXPECT_EQ(今のSFEN(), SFENへ(後));
        // An illegal move stops the list: the position stands before it.
        送る("position sfen " + SFENへ(p) + " moves " + 手の表記(p.局, m) + " " +
             手の表記(p.局, m));
        const std::string l = 読む();
        EXPECT_EQ(l.rfind("info string illegal move ", 0), 0u) << l;
        EXPECT_NE(l.find("(move 2 of the list)"), std::string::npos) << l;
        EXPECT_EQ(今のSFEN(), SFENへ(後));
    }
    // Unreadable positions leave the last one.
    const std::string 前 = 今のSFEN();
    for (const char* s : {"position sfen 9/9 b - 1", "position", "position startpos 7g7f",
                          "position sfen 4k4/9/9/9/9/9/9/9/4K4 b 19P 1"}) {
        送る(s);
        EXPECT_EQ(読む().rfind("info string position", 0), 0u) << s;
    }
    EXPECT_EQ(今のSFEN(), 前);

    // No move left (the lower king is walled in by its own plain pawns, which cannot move),
    // and a game already over: resign.
    std::string why;
    ASSERT_TRUE(SFENから("KP7/PP7/9/9/9/9/9/9/8k b - 1", 局面_, why)) << why;
    送る("position sfen KP7/PP7/9/9/9/9/9/9/8k b - 1");
    最善手が合法("go movetime 50");
    送る("position sfen 4k4/4+P4/9/9/9/9/9/9/4K4 b - 1 moves 5b5a+");
    送る("go depth 2");
    EXPECT_EQ(待つ("bestmove").back(), "bestmove resign");
    送る("go mate 10");
    待つ("checkmate notimplemented");
}

}  // namespace
}  // namespace kiryuza
