// The window and kiryuza-analyze --review judge a game against the computer alike: the window
// reviews it as it is played (the player's side weighed as a person's moves), and the record it
// saves, reviewed by the tool with the player's side named, gets the same evaluation after every
// move and the same mark on every move.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analyze.h"
#include "game/form1_fixture.h"

namespace kiryuza::testing {
namespace {

// The saved record's bytes, and for each move (index n - 1 for move n) the window's mark and the
// lower side's winning chance the graph shows after it.
struct 窓の講評 {
    std::vector<std::uint8_t> 記録;
    std::vector<std::string> 印;
    std::vector<double> 下手の勝率;
};

class 人の側の講評 : public Form1テスト {
  protected:
    // Plays a game at level 1 with the player's moves drawn from `種` (half of them, where it
    // can, a move that changes a piece's form), the panel shown and the review's questions
    // answered as they come; then saves it.
    窓の講評 指して講評する(bool 人が先手, unsigned 種) {
        std::mt19937 乱(種);
        form->KIFU_LIST_Click();
        form->LEVEL1_Click();
        人が先手 ? form->SENTE_Click() : form->GOTE_Click();
        const auto 答える = [&] {
            while (!環.読み.待ち一覧.empty()) 読みを届ける();
        };
        std::vector<指し手> 手(合法手最大数);
        for (int i = 0; i < 40 && s().局.勝者 == 手番_なし; ++i) {
            答える();
            局面 局 = s().局;
            const int n = 合法手一覧(局, false, 手.data());
            if (n == 0) break;
            std::vector<指し手> 変わる;
            for (int k = 0; k < n; ++k)
                if (人の置く駒(手[k].元X, 手[k].元Y, 手[k].先X, 手[k].先Y, 手[k].駒) != 手[k].駒)
                    変わる.push_back(手[k]);
            const 指し手 m = !変わる.empty() && 乱() % 2 == 0 ? 変わる[乱() % 変わる.size()]
                                                              : 手[乱() % static_cast<unsigned>(n)];
            if (m.元X == 持駒列_MAN) {
                押す(持駒列_MAN, m.元Y);
            } else {
                押す(m.元X, m.元Y);
            }
            押す(m.先X, m.先Y);
        }
        答える();
        窓の講評 r;
        for (std::size_t n = 1; n < 環.形勢.行.size(); ++n) {
            r.印.push_back(環.形勢.行[n].印);
            r.下手の勝率.push_back(環.形勢.点[n].勝率);
        }
        form->KIFU_WRITE_Click();
        環.パネル.欄[1] = "review";
        環.パネル.欄[2] = "t";
        環.パネル.欄[3] = "u";
        環.パネル.欄[4] = "l";
        form->Command1_Click();
        r.記録 = 環.ファイル.ファイル["/records/review" + std::string(棋譜拡張子)];
        return r;
    }
};

// The tool's output read back: each move line's mark and the lower side's winning chance from the
// evaluation after the move, which the line gives for ▲ (the upper side when it moved first).
struct 道具の講評 {
    std::vector<std::string> 印;
    std::vector<double> 下手の勝率;
};

道具の講評 読み戻す(const std::string& 出力, bool 先手COM) {
    道具の講評 r;
    std::istringstream in(出力);
    std::string 行;
    while (std::getline(in, 行)) {
        if (行.rfind("# ", 0) == 0 || 行.rfind("▲:", 0) == 0 || 行.rfind("△:", 0) == 0) continue;
        r.印.push_back(行.find(" 悪手 ") != std::string::npos     ? "悪手"
                       : 行.find(" 疑問手 ") != std::string::npos ? "疑問手"
                                                                  : "");
        // Number, the move in three words, then the evaluation: "+35", "mate -3", "won", "lost".
        std::istringstream 語(行);
        std::string w[6];
        for (std::string& x : w) 語 >> x;
        double 先手の勝率;
        if (w[4] == "won" || w[4] == "lost") {
            先手の勝率 = w[4] == "won" ? 1 : 0;
        } else if (w[4] == "mate") {
            先手の勝率 = w[5][0] == '+' ? 1 : 0;
        } else {
            const int v = std::stoi(w[4]);
            r.下手の勝率.push_back(勝率(先手COM ? -v : v));
            continue;
        }
        r.下手の勝率.push_back(先手COM ? 1 - 先手の勝率 : 先手の勝率);
    }
    return r;
}

// Reviews the window's game with the tool, the player's side named, searching as the window's
// searching player on the fakes does (two plies, no clock).
void 道具と比べる(const 窓の講評& w, 人の手番 人) {
    ASSERT_GE(w.印.size(), 20u);
    ASSERT_FALSE(w.記録.empty());
    const std::string パス = ::testing::TempDir() + "review_person_test.rec";
    std::ofstream(パス, std::ios::binary)
        .write(reinterpret_cast<const char*>(w.記録.data()),
               static_cast<std::streamsize>(w.記録.size()));
    講評の条件 条件;
    条件.時間ms = 0;
    条件.深さ上限 = 2;
    条件.人 = 人;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_TRUE(棋譜講評(パス, 条件, out, err)) << err.str();
    const 道具の講評 t = 読み戻す(out.str(), 人 == 人の手番::後手);
    EXPECT_EQ(t.下手の勝率, w.下手の勝率) << out.str();
    EXPECT_EQ(t.印, w.印) << out.str();
    int 印の数 = 0;
    for (const std::string& 印 : w.印) 印の数 += !印.empty();
    EXPECT_GT(印の数, 1);  // random moves make blunders to agree on
}

TEST_F(人の側の講評, 人が先手の対局で窓と道具は同じ評価と印を付ける) {
    道具と比べる(指して講評する(true, 5), 人の手番::先手);
}

TEST_F(人の側の講評, 人が後手の対局で窓と道具は同じ評価と印を付ける) {
    道具と比べる(指して講評する(false, 1), 人の手番::後手);
}

}  // namespace
}  // namespace kiryuza::testing
