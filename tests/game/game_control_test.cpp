#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

using 始動 = Form1テスト;

TEST_F(始動, 起動直後は対局なしで開始局面_設定は既定値) {
    EXPECT_EQ(s().状況.手番, 手番_なし);
    EXPECT_EQ(盤(5, 9), 駒_MAN王);
    EXPECT_EQ(盤(5, 7), 駒_MANと);
    EXPECT_TRUE(環.メニュー欄.チェック("LEVEL3"));
    EXPECT_TRUE(環.メニュー欄.チェック("MIDORI"));
    EXPECT_TRUE(環.メニュー欄.チェック("KEIKA"));
    EXPECT_TRUE(環.メニュー欄.チェック("BGM"));
    EXPECT_FALSE(環.メニュー欄.チェック("SIDOU"));
    EXPECT_EQ(環.ファイル.文字列("Kiryuza.ini"),
              "背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n");
    // No music on a first start, although the BGM item is checked.
    for (const auto& c : 環.サウンド源.呼出) EXPECT_EQ(c.rfind("loop", 0), std::string::npos);
    EXPECT_EQ(環.窓.配置回数, 1);
    EXPECT_TRUE(環.メッセージ.箱一覧.empty());
}

TEST_F(始動, 音の装置がなければ警告して黙って遊べる) {
    偽環境 別;
    別.サウンド源.装置あり = false;
    Form1 f(別.束(), *別.状態);
    f.Form_Load();
    ASSERT_EQ(別.メッセージ.箱一覧.size(), 1u);
    EXPECT_EQ(別.メッセージ.箱一覧[0].本文, "Direct Soundインターフェースが作成できません。");
    EXPECT_EQ(別.メッセージ.箱一覧[0].題, "Kiryuza.dll");
    EXPECT_TRUE(別.メッセージ.箱一覧[0].警告);
    f.SENTE_Click();
    EXPECT_EQ(別.状態->状況.手番, 手番_先手);
}

TEST_F(始動, 先手は人の番を告げ後手はすぐ指させる) {
    form->SENTE_Click();
    ASSERT_EQ(環.メッセージ.箱一覧.size(), 1u);
    EXPECT_EQ(環.メッセージ.箱一覧[0].本文, "MANの番です");
    EXPECT_EQ(環.メッセージ.箱一覧[0].題, " ");
    EXPECT_EQ(s().局.手番値MAN, 手番_先手);
    EXPECT_EQ(s().状況.手番, 手番_先手);
    EXPECT_EQ(s().状況.対局モード, 対局モード_COM);
    EXPECT_TRUE(環.Timer1.動作);

    SetUp();
    環.メッセージ.箱一覧.clear();
    form->GOTE_Click();
    EXPECT_EQ(s().局.手番値MAN, 手番_後手);
    EXPECT_EQ(s().状況.手数, 1);          // the computer moved at once
    EXPECT_EQ(s().状況.手番, 手番_後手);  // and handed the turn to the human
    EXPECT_TRUE(環.メッセージ.箱一覧.empty());
}

TEST_F(始動, スタートは二人対局で先手から) {
    form->START_Click();
    EXPECT_EQ(環.メッセージ.最後(), "先手の番です");
    EXPECT_EQ(s().状況.対局モード, 対局モード_人間);
    EXPECT_EQ(s().状況.手番, 手番_先手);
    押す(5, 7);
    押す(5, 6);
    EXPECT_EQ(s().状況.手番, 手番_後手);
    EXPECT_EQ(s().状況.手数, 1);
    // A resumed game announces the side to move.
    form->START_Click();
    EXPECT_EQ(環.メッセージ.最後(), "後手の番です");
}

TEST_F(始動, 終局後の開始は初期局面から) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    ASSERT_GT(s().状況.手数, 0);
    状態を変える().局.勝者 = 手番_先手;
    form->SENTE_Click();
    EXPECT_EQ(s().状況.手数, 0);
    EXPECT_EQ(盤(5, 7), 駒_MANと);
    EXPECT_EQ(s().局.勝者, 手番_なし);
    EXPECT_EQ(環.メッセージ.最後(), "MANの番です");
}

TEST_F(始動, 終わりとEscは音を解放して終了する) {
    form->Form_KeyPress('a');
    EXPECT_FALSE(環.窓.終了要求);
    form->Form_KeyPress(27);
    EXPECT_TRUE(環.窓.終了要求);
    const auto& c = 環.サウンド源.呼出;
    ASSERT_GE(c.size(), 5u);
    const std::vector<std::string> 末尾(c.end() - 5, c.end());
    EXPECT_EQ(末尾,
              (std::vector<std::string>{"free 1", "free 2", "free 3", "free 4", "terminate 100"}));
    // Closing the window afterwards does not free them twice.
    const std::size_t 前 = c.size();
    form->Form_Unload();
    EXPECT_EQ(c.size(), 前);
}

TEST_F(始動, レベルの選択はチェックを一つだけ付ける) {
    form->LEVEL1_Click();
    EXPECT_TRUE(環.メニュー欄.チェック("LEVEL1"));
    EXPECT_FALSE(環.メニュー欄.チェック("LEVEL3"));
    EXPECT_EQ(s().状況.COMレベル, 1);
    form->LEVEL2_Click();
    EXPECT_TRUE(環.メニュー欄.チェック("LEVEL2"));
    EXPECT_FALSE(環.メニュー欄.チェック("LEVEL1"));
    // The level text is drawn only in a game against the computer.
    環.キャンバス面.消す();
    form->LEVEL3_Click();
    EXPECT_FALSE(環.キャンバス面.字あり("LEVEL"));
    form->SENTE_Click();
    環.キャンバス面.消す();
    form->LEVEL1_Click();
    EXPECT_TRUE(環.キャンバス面.字あり("LEVEL"));
    EXPECT_TRUE(環.キャンバス面.字あり(" 1"));
}

TEST_F(始動, 時計は一秒ごとにだけ描き直す) {
    form->SENTE_Click();
    環.時刻.歩み = 0;
    環.キャンバス面.消す();
    環.時刻.今 += 0.5;
    form->Timer1_Timer();
    EXPECT_TRUE(環.キャンバス面.字一覧.empty());
    環.時刻.今 += 0.6;
    form->Timer1_Timer();
    EXPECT_TRUE(環.キャンバス面.字あり("00:00:01"));
    環.キャンバス面.消す();
    form->Timer1_Timer();
    EXPECT_TRUE(環.キャンバス面.字一覧.empty());
    // Across midnight the clock keeps counting.
    状態を変える().時計.手番開始時刻 = 86399.5;
    環.時刻.今 = 61.7;
    form->Timer1_Timer();
    EXPECT_TRUE(環.キャンバス面.字あり("00:01:02"));
}

}  // namespace
}  // namespace kiryuza::testing
