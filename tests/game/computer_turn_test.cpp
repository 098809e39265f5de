#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

using コンピュータ = Form1テスト;

// Upper-side pawns chained down columns 1 and 2 cannot move, and box in their king on (1,1).
constexpr std::array<std::string_view, 9> 動けない上手 = {
    "v王v歩 ・ ・ ・ ・ ・ ・ ・", "v歩v歩 ・ ・ ・ ・ ・ ・ ・", "v歩v歩 ・ ・ ・ ・ ・ ・ ・",
    "v歩v歩 ・ ・ ・ ・ ・ ・ ・", "v歩v歩 ・ ・ ・ ・ ・ ・ ・", "v歩v歩 ・ ・ ・ ・ ・ ・ ・",
    "v歩v歩 ・ ・ ・ ・ ・ ・^歩", "v歩v歩 ・ ・ ・ ・ ・ ・ ・", "v歩v歩 ・^王 ・ ・ ・ ・ ・",
};

TEST_F(コンピュータ, 王を取れればすぐ取って勝つ) {
    form->SENTE_Click();
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
    EXPECT_EQ(環.メッセージ.最後(), "ｺﾝﾋﾟｭｰﾀの勝ちです");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "終了");
    EXPECT_EQ(s().局.勝者, s().局.手番値COM);
    EXPECT_EQ(s().状況.手番, s().局.手番値MAN);
    EXPECT_FALSE(環.Timer1.動作);
    EXPECT_EQ(盤(5, 9), 駒_COM金);
}

TEST_F(コンピュータ, 詰ませたらよしと言い対局は続く) {
    form->SENTE_Click();
    局面にする({
        "v王 ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^歩 ・ ・v金 ・v銀 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・^歩^王^歩 ・ ・ ・",
    });
    押す(1, 7);
    押す(1, 6);
    EXPECT_TRUE(環.メッセージ.出た("よし！!"));
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "詰め ?");
    EXPECT_FALSE(環.メッセージ.出た("   ** 王手 **"));
    EXPECT_EQ(s().局.勝者, 手番_なし);
    EXPECT_EQ(s().状況.手番, s().局.手番値MAN);
}

TEST_F(コンピュータ, 王手なら王手と告げる) {
    form->SENTE_Click();
    局面にする(動けない上手);
    状態を変える().局.盤面[4][5] = 駒_COM桂;  // its only moves both check (4, 9)
    押す(9, 7);
    押す(9, 6);
    EXPECT_EQ(環.メッセージ.最後(), "   ** 王手 **");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "");
    EXPECT_TRUE(盤(3, 7) == 駒_COM桂 || 盤(5, 7) == 駒_COM桂);
    EXPECT_TRUE(環.Timer1.動作);
}

TEST_F(コンピュータ, 指す手がなければ人の勝ち) {
    form->SENTE_Click();
    局面にする(動けない上手);
    押す(9, 7);
    押す(9, 6);
    EXPECT_NE(環.メッセージ.最後().find("あなたの勝ちです"), std::string::npos);
    EXPECT_EQ(s().局.勝者, s().局.手番値MAN);
    EXPECT_EQ(s().状況.手数, 1);
    押す(5, 5);
    EXPECT_EQ(環.メッセージ.最後(), "新規に対局してください");
}

TEST_F(コンピュータ, 戻した後コンピュータの番で押すと確認して指させる) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    ASSERT_EQ(s().状況.手数, 2);
    form->REPLAY_Click();
    ASSERT_EQ(s().状況.手番, s().局.手番値COM);
    押す(5, 5);
    EXPECT_TRUE(環.メッセージ.出た("OKですか？"));
    EXPECT_EQ(s().状況.手数, 2);
    EXPECT_EQ(s().状況.手番, s().局.手番値MAN);
}

TEST_F(コンピュータ, 真夜中をまたいでも待ち時間は半秒で終わる) {
    form->SENTE_Click();
    環.時刻.今 = 86399.0;  // the blink and the pause after the move span midnight
    押す(5, 7);
    押す(5, 6);
    EXPECT_EQ(s().状況.手数, 2);
    EXPECT_LT(環.時刻.今, 100.0);
}

TEST_F(コンピュータ, 思考中の表示と点滅) {
    form->SENTE_Click();
    環.キャンバス面.消す();
    押す(5, 7);
    押す(5, 6);
    EXPECT_TRUE(環.キャンバス面.字あり("思考中"));
    // The computer's piece blinks twice on its origin: empty, piece, empty, piece.
    int 空 = 0;
    for (const auto& e : 環.キャンバス面.絵一覧) 空 += e.コード == 空桝;
    EXPECT_GE(空, 4);
    EXPECT_GE(環.キャンバス面.更新回数, 4);
}

TEST_F(コンピュータ, レベル4は別に読み_その間は対局を変える操作を断り_終われば読みも止まる) {
    form->LEVEL4_Click();
    EXPECT_TRUE(環.メニュー欄.チェック("LEVEL4"));
    EXPECT_FALSE(環.メニュー欄.チェック("LEVEL3"));
    form->SENTE_Click();
    EXPECT_TRUE(環.キャンバス面.見える("LEVEL"));
    押す(5, 7);
    押す(5, 6);
    // The searching player thinks apart: meanwhile the game takes no command that changes it.
    EXPECT_EQ(s().状況.手数, 1);
    EXPECT_TRUE(環.キャンバス面.字あり("思考中"));
    const int 禁止 = 鳴った(音_禁止);
    押す(4, 7);
    form->REPLAY_Click();
    form->START_Click();
    EXPECT_EQ(鳴った(音_禁止), 禁止 + 3);
    EXPECT_EQ(s().状況.手数, 1);
    読みを届ける();
    EXPECT_EQ(s().状況.手数, 2);
    EXPECT_EQ(s().状況.手番, s().局.手番値MAN);
    // And it is stopped when the game ends while it thinks.
    押す(4, 7);
    押す(4, 6);
    form->OWARI_Click();
    EXPECT_EQ(環.読み.止めた回数, 1);
    EXPECT_TRUE(環.窓.終了要求);
}

}  // namespace
}  // namespace kiryuza::testing
