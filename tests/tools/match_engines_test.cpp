// Matches between engine programs: two engines play whole games to their end and the summary
// adds up; an engine that dies, answers garbage or an illegal move, or lets its clock run out
// loses each game with a line that says why, and is started again for the next game. An engine
// held to a person's moves is told so for its side of each game, and loses a game in which it
// declines a change of form.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>

#include "analyze.h"

namespace kiryuza {
namespace {

// Plays two games of engine A against the engine program and returns the lines printed.
std::string 二局(const std::string& A, std::int64_t 持ち時間, 対戦成績& r) {
    対戦設定 設定;
    設定.命令A = A;
    設定.命令B = KIRYUZA_ENGINE;
    設定.局数 = 2;
    設定.種 = 4;
    設定.時間msA = 設定.時間msB = 5;
    設定.時計.持ちms = 持ち時間;
    設定.スレッド数 = 1;
    std::ostringstream out;
    r = 対戦(out, 設定);
    return out.str();
}

TEST(エンジン対戦, 二つのエンジンが終局まで指し_集計は勝敗と合う) {
    対戦成績 r;
    const std::string s = 二局(KIRYUZA_ENGINE, 0, r);
    // Each engine's view of the game follows: its last, peak and lowest score.
    const std::string 値 = "(\\+\\d+|-\\d+|0|mate [+-]\\d+)";
    const std::string 見方 = " evaluation " + 値 + " last, peak " + 値 + " \\(move \\d+\\), low " +
                             値 + " \\(move \\d+\\)";
    const std::string 終局 =
        ", \\d+ moves, (A wins|B wins|draw) \\((king taken|move limit, left at "
        "sfen [^)]+)\\); A" +
        見方 + "; B" + 見方 + "\n";
    const std::regex 形("game 1 opening 1: A \\(engine\\) lower" + 終局 +
                        "game 2 opening 1: A \\(engine\\) upper" + 終局 +
                        "match A vs B: " + std::to_string(r.勝) + " wins, " + std::to_string(r.負) +
                        " losses, " + std::to_string(r.分) + " draws, score \\d+\\.\\d%\n");
    EXPECT_TRUE(std::regex_match(s, 形)) << s;
    EXPECT_EQ(r.勝 + r.負 + r.分, 2);
}

TEST(エンジン対戦, 壊れたエンジンは毎局負け_理由が行に出る) {
    // Shell loops that introduce themselves and then misbehave at go.
    const auto 壊れた = [](const std::string& go) {
        return "while read l; do case \"$l\" in usi) echo usiok;; isready) echo readyok;; go*) " +
               go + ";; esac; done";
    };
    struct 例 {
        std::string 命令;
        std::int64_t 持ち時間;
        const char* 理由;
    };
    const 例 例表[] = {
        {壊れた("exit 3"), 0, "(the engine died)"},
        {壊れた("echo hello"), 0, "(garbage from the engine: 'hello')"},
        {壊れた("echo bestmove 9i9i"), 0, "(bad move from the engine: '9i9i'"},
        {壊れた("echo bestmove resign"), 0, "(resigned)"},
        // The score of a move is the last one given before it; a mate is written as one.
        {壊れた("echo info depth 1 score cp 35 pv 1g1f; echo info depth 2 score cp -120; echo "
                "bestmove resign"),
         0, "(resigned); A evaluation -120 last, peak -120 (move "},
        {壊れた("echo info depth 3 score mate -2 pv 1g1f 1c1d; echo bestmove resign"), 0,
         "(resigned); A evaluation mate -2 last, peak mate -2 (move "},
        {壊れた("sleep 0.8; echo bestmove resign"), 300, "(loss on time: "},
        {"echo nonsense; sleep 5", 0, "(garbage from the engine: 'nonsense')"},
        {"exec /nonexistent/engine 2>/dev/null", 0, "(the engine died)"},
    };
    for (const 例& e : 例表) {
        対戦成績 r;
        const std::string s = 二局(e.命令, e.持ち時間, r);
        EXPECT_EQ(r.負, 2) << s;
        const std::string 負け = "B wins " + std::string(e.理由);
        EXPECT_NE(s.find(負け), s.rfind(負け)) << "both games: " << s;
    }
}

std::string ファイルの文(const std::string& パス) {
    std::ifstream in(パス);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A, held, is told its side of each game; B is told it too when it is to read A as a person,
// and nothing otherwise. A held engine that turns its changes of form into moves that keep the
// form (= made +) loses for it.
TEST(エンジン対戦, 人の手に縛った側は局ごとに告げられ_形を残せば負け) {
    const std::string 記録A = ::testing::TempDir() + "match_person_A.log";
    const std::string 記録B = ::testing::TempDir() + "match_person_B.log";
    const auto 記録する = [](const std::string& 記録, const std::string& 後) {
        return "tee '" + 記録 + "' | '" + std::string(KIRYUZA_ENGINE) + "'" + 後;
    };
    const auto 二局 = [&](const std::string& 後, bool 読む, 対戦成績& r) {
        対戦設定 設定;
        設定.命令A = 記録する(記録A, 後);
        設定.命令B = 記録する(記録B, "");
        設定.局数 = 2;
        設定.種 = 4;
        設定.時間msA = 設定.時間msB = 5;
        設定.スレッド数 = 1;
        設定.人 = 'A';
        設定.人を読む = 読む;
        std::ostringstream out;
        r = 対戦(out, 設定);
        return out.str();
    };
    対戦成績 r;
    const std::string 読む = 二局("", true, r);
    EXPECT_EQ(読む.rfind("A plays a person's moves (the change of form always taken); B is told "
                         "so\n",
                         0),
              0u)
        << 読む;
    EXPECT_EQ(読む.find("declined"), std::string::npos) << 読む;
    // A played the lower side (sente), then the upper side (gote); B was told the same.
    for (const std::string& 記録 : {記録A, 記録B}) {
        const std::string 文 = ファイルの文(記録);
        const std::size_t 先 = 文.find("setoption name PersonSide value sente\n");
        EXPECT_NE(先, std::string::npos) << 文;
        EXPECT_NE(文.find("setoption name PersonSide value gote\n", 先), std::string::npos) << 文;
    }

    const std::string 残す = 二局(" | sed -u 's/^\\(bestmove .*\\)=$/\\1+/'", false, r);
    EXPECT_GE(r.負, 1) << 残す;
    EXPECT_NE(残す.find("B wins (declined a change of form, held to a person's moves: "),
              std::string::npos)
        << 残す;
    EXPECT_EQ(ファイルの文(記録B).find("PersonSide"), std::string::npos);
}

}  // namespace
}  // namespace kiryuza
