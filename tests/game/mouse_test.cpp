#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

using マウス = Form1テスト;

TEST_F(マウス, 対局前のクリックは断られる) {
    押す(5, 7);
    EXPECT_EQ(環.メッセージ.最後(), "「対局」で始めて下さい");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "開始");
    EXPECT_EQ(鳴った(音_禁止), 1);
}

TEST_F(マウス, 二回のクリックで指しコンピュータが応じる) {
    form->SENTE_Click();
    押す(5, 7);
    EXPECT_EQ(s().状況.選択状態, 1);
    押す(5, 6);
    EXPECT_EQ(盤(5, 6), 駒_MANと);
    EXPECT_EQ(盤(5, 7), 空桝);
    // The computer answered: two moves, two history entries, the human to move again.
    EXPECT_EQ(s().状況.手数, 2);
    EXPECT_EQ(s().棋譜.棋譜手数(), 2);
    EXPECT_EQ(s().状況.手番, s().局.手番値MAN);
    EXPECT_GE(鳴った(音_駒打), 2);
    // The human's move is shown on the right: file ５, rank 六, と.
    EXPECT_TRUE(環.キャンバス面.字あり("５"));
    EXPECT_TRUE(環.キャンバス面.字あり("六"));
    EXPECT_TRUE(環.キャンバス面.字あり("と"));
    // The history holds the positions before each move and the position after the last.
    EXPECT_EQ(s().棋譜.項目(0).盤面[5][7], 駒_MANと);
    EXPECT_EQ(s().棋譜.項目(1).盤面[5][6], 駒_MANと);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(s().棋譜.項目(2).盤面[x][y], 盤(x, y));
}

TEST_F(マウス, 自分の別の駒を押すと選び直し_不正な行き先は禁止音) {
    form->SENTE_Click();
    押す(5, 7);
    押す(4, 7);
    EXPECT_EQ(s().状況.選択状態, 1);
    EXPECT_EQ(鳴った(音_禁止), 0);
    押す(4, 4);  // a promoted pawn cannot go three squares
    EXPECT_EQ(鳴った(音_禁止), 1);
    EXPECT_EQ(s().状況.選択状態, 0);
    EXPECT_EQ(盤(4, 7), 駒_MANと);
    // The next click starts over: (4, 6) is empty, nothing happens.
    押す(4, 6);
    EXPECT_EQ(s().状況.選択状態, 0);
    EXPECT_EQ(s().状況.手数, 0);
}

TEST_F(マウス, 相手の駒を押すと動きを見せるだけ) {
    form->SENTE_Click();
    押す(5, 3);
    EXPECT_EQ(s().状況.選択状態, 0);
}

TEST_F(マウス, 右ボタンも同じ_盤の外の左端は上手の持駒) {
    form->SENTE_Click();
    持駒を置く(true, 7, 1);
    // x = 1049 twips is column -1; on row 1 sits the upper side's rook.
    form->Form_MouseDown(2, 0, 1049, 100 + 660 + 10);
    EXPECT_EQ(s().状況.選択状態, 1);
    // The human may not drop the computer's rook: the next board click drops the pick.
    押す(5, 5);
    EXPECT_EQ(s().状況.選択状態, 0);
    EXPECT_EQ(盤(5, 5), 空桝);
    EXPECT_EQ(s().状況.手数, 0);
}

TEST_F(マウス, 持駒を打つと成った形で置かれる) {
    form->SENTE_Click();
    持駒を置く(false, 1, 1);
    押す(11, 3);  // the pawn slot
    EXPECT_EQ(s().状況.選択状態, 1);
    押す(5, 5);
    EXPECT_EQ(盤(5, 5), 駒_MANと);
    EXPECT_EQ(s().局.持駒MAN[1], 0);
    EXPECT_EQ(s().局.持駒総数MAN, 0);
}

TEST_F(マウス, 遠い三段に入ると元の形に戻る) {
    form->START_Click();
    局面にする({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^と ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    押す(5, 4);
    押す(5, 3);
    EXPECT_EQ(盤(5, 3), 駒_MAN歩);
    EXPECT_TRUE(環.キャンバス面.字あり("歩"));
}

TEST_F(マウス, 取った駒は持駒になる) {
    form->START_Click();
    局面にする({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v飛 ・ ・ ・ ・",
        " ・ ・ ・ ・^金 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    押す(5, 5);
    押す(5, 4);
    EXPECT_EQ(s().局.持駒MAN[7], 1);
    EXPECT_EQ(s().局.持駒総数MAN, 1);
    // The upper player moves next, from its own pieces.
    EXPECT_EQ(s().状況.手番, 手番_後手);
}

TEST_F(マウス, 詰ませれば勝ち_その後のクリックは新規対局を求める) {
    form->SENTE_Click();
    局面にする({
        " ・ ・ ・v歩v王v歩 ・ ・ ・",
        " ・ ・ ・v歩 ・v歩 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^飛 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    押す(5, 5);
    押す(5, 4);  // the rook checks from (5,4): no escape, nothing to block or capture with
    EXPECT_EQ(環.メッセージ.最後(), "あなたの勝ちです");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "終了");
    EXPECT_EQ(s().局.勝者, s().局.手番値MAN);
    押す(5, 4);
    EXPECT_EQ(環.メッセージ.最後(), "新規に対局してください");
}

TEST_F(マウス, 王を取れば勝ち) {
    form->SENTE_Click();
    局面にする({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・^金 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    押す(5, 2);
    押す(5, 1);
    EXPECT_EQ(環.メッセージ.最後(), "あなたの勝ちです");
    EXPECT_EQ(s().局.勝者, s().局.手番値MAN);
}

TEST_F(マウス, 二人対局では王を取った側の勝ち) {
    form->START_Click();
    局面にする({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v金 ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・^香",
    });
    押す(9, 9);
    押す(9, 8);
    押す(5, 8);
    押す(5, 9);
    EXPECT_EQ(環.メッセージ.最後(), "後手の勝ちです");
    EXPECT_EQ(s().局.勝者, 手番_後手);
}

TEST_F(マウス, 五百手で棋譜が満杯になれば次の手は断る) {
    form->START_Click();
    auto& 状態 = 状態を変える();
    while (状態.棋譜.空きあり()) {
        状態.棋譜.手順保存(状態.局, 0, 0, 0, 0);
        状態.棋譜.着手後保存(状態.局);
    }
    押す(5, 7);
    押す(5, 6);
    EXPECT_NE(環.メッセージ.最後().find("500手"), std::string::npos);
    EXPECT_EQ(盤(5, 7), 駒_MANと);
    EXPECT_EQ(s().状況.手数, 0);
    EXPECT_EQ(鳴った(音_禁止), 1);
}

TEST_F(マウス, 移動指導で行ける桝を囲む) {
    form->SIDOU_Click();
    form->SENTE_Click();
    EXPECT_EQ(s().設定.色_移動指導, 色_白);
    押す(5, 7);
    EXPECT_EQ(s().状況.選択状態, 1);
}

}  // namespace
}  // namespace kiryuza::testing
