// The window and kiryuza-analyze --review judge a game against the computer alike: the window
// reviews it as it is played (the player's side weighed as a person's moves); the record it
// saves, reviewed by the tool with the player's side named, gets the same evaluation after every
// move and the same mark on every move.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "analyze.h"
#include "game/form1_fixture.h"

namespace kiryuza::testing {
namespace {

// Each move's mark and the lower side's winning chance after it.
struct 講評の列 {
    std::vector<std::string> 印;
    std::vector<double> 下手の勝率;
    bool operator==(const 講評の列&) const = default;
};

// The tool's output read back; it gives each evaluation for ▲ ("+35", "mate -3", "won").
講評の列 読み戻す(const std::string& 出力, bool 先手COM) {
    講評の列 r;
    std::istringstream in(出力);
    for (std::string 行; std::getline(in, 行);) {
        if (行.rfind("# ", 0) == 0 || 行.rfind("▲:", 0) == 0 || 行.rfind("△:", 0) == 0) continue;
        r.印.push_back(行.find(" 悪手 ") != std::string::npos     ? "悪手"
                       : 行.find(" 疑問手 ") != std::string::npos ? "疑問手"
                                                                  : "");
        std::istringstream 語(行);
        std::string w[6];  // the number, the move in three words, the evaluation
        for (std::string& x : w) 語 >> x;
        const bool 数 = w[4] != "won" && w[4] != "lost" && w[4] != "mate";
        const double 先手 = w[4] == "won" || (w[4] == "mate" && w[5][0] == '+');
        r.下手の勝率.push_back(数        ? 勝率(先手COM ? -std::stoi(w[4]) : std::stoi(w[4]))
                               : 先手COM ? 1 - 先手
                                         : 先手);
    }
    return r;
}

class 人の側の講評 : public Form1テスト {
  protected:
    void 比べる(bool 人が先手, unsigned 種);
};

// A game at level 1, the player's moves drawn from `種` (half of them, where it can, a move that
// changes a piece's form), the panel shown and every question of the review answered; saved,
// then reviewed by the tool as the fakes' searching player searches (two plies, no clock).
void 人の側の講評::比べる(bool 人が先手, unsigned 種) {
    std::mt19937 乱(種);
    form->KIFU_LIST_Click();
    form->LEVEL1_Click();
    人が先手 ? form->SENTE_Click() : form->GOTE_Click();
    std::vector<指し手> 手(合法手最大数);
    for (int i = 0; i <= 40 && s().局.勝者 == 手番_なし; ++i) {
        while (!環.読み.待ち一覧.empty()) 読みを届ける();
        if (i == 40) break;
        局面 局 = s().局;
        const int n = 合法手一覧(局, false, 手.data());
        std::vector<指し手> 変わる;
        for (int k = 0; k < n; ++k)
            if (人の置く駒(手[k].元X, 手[k].元Y, 手[k].先X, 手[k].先Y, 手[k].駒) != 手[k].駒)
                変わる.push_back(手[k]);
        const 指し手 m = !変わる.empty() && 乱() % 2 == 0 ? 変わる[乱() % 変わる.size()]
                                                          : 手[乱() % static_cast<unsigned>(n)];
        押す(m.元X, m.元Y);
        押す(m.先X, m.先Y);
    }
    講評の列 窓;
    for (std::size_t n = 1; n < 環.形勢.行.size(); ++n) {
        窓.印.push_back(環.形勢.行[n].印);
        窓.下手の勝率.push_back(環.形勢.点[n].勝率);
    }
    ASSERT_GE(窓.印.size(), 20u);
    form->KIFU_WRITE_Click();
    for (int k = 1; k <= 4; ++k) 環.パネル.欄[k] = "review";
    form->Command1_Click();
    const auto& 記録 = 環.ファイル.ファイル["/records/review" + std::string(棋譜拡張子)];
    const std::string パス = ::testing::TempDir() + "review_person_test.rec";
    std::ofstream(パス, std::ios::binary)
        .write(reinterpret_cast<const char*>(記録.data()),
               static_cast<std::streamsize>(記録.size()));
    講評の条件 条件;
    条件.時間ms = 0;
    条件.深さ上限 = 2;
    条件.人 = 人が先手 ? 人の手番::先手 : 人の手番::後手;
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_TRUE(棋譜講評(パス, 条件, out, err)) << err.str();
    EXPECT_EQ(読み戻す(out.str(), !人が先手), 窓) << out.str();
    EXPECT_GT(std::count(窓.印.begin(), 窓.印.end(), "悪手"), 0);
}

TEST_F(人の側の講評, 人が先手の対局で窓と道具は同じ評価と印を付ける) {
    比べる(true, 5);
}

TEST_F(人の側の講評, 人が後手の対局で窓と道具は同じ評価と印を付ける) {
    比べる(false, 1);
}

}  // namespace
}  // namespace kiryuza::testing
