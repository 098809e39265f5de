#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

using 再生 = Form1テスト;

TEST_F(再生, 起動直後の進と戻は断る) {
    form->AFTER_Click();
    EXPECT_EQ(環.メッセージ.最後(), "「対局」で始めて下さい");
    form->REPLAY_Click();
    EXPECT_EQ(環.メッセージ.最後(), "できません");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "戻る");
    EXPECT_EQ(鳴った(音_禁止), 2);
}

TEST_F(再生, 戻って進むと同じ局面_指した最後の局面まで戻れる) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    押す(4, 7);
    押す(4, 6);
    ASSERT_EQ(s().状況.手数, 4);
    const 局面 最後 = s().局;
    form->REPLAY_Click();
    EXPECT_EQ(s().状況.手数, 3);
    EXPECT_EQ(s().棋譜.棋譜手数(), 3);
    EXPECT_EQ(s().状況.手番, s().局.手番値COM);
    EXPECT_EQ(s().状況.再開フラグ, 定数_ON);
    form->REPLAY_Click();
    EXPECT_EQ(盤(4, 7), 駒_MANと);
    form->AFTER_Click();
    EXPECT_EQ(s().状況.手数, 3);
    EXPECT_EQ(盤(4, 6), 駒_MANと);
    // The position after the last move is an entry too: 進 returns to it, and no further.
    form->AFTER_Click();
    EXPECT_EQ(s().状況.手数, 4);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(盤(x, y), 最後.盤面[x][y]);
    form->AFTER_Click();
    EXPECT_EQ(環.メッセージ.最後(), "できません");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "進む");
    EXPECT_EQ(s().状況.手数, 4);
}

TEST_F(再生, 戻った後のクリックで手番を告げて再開する) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    form->REPLAY_Click();
    form->REPLAY_Click();
    ASSERT_EQ(s().状況.手番, s().局.手番値MAN);
    環.メッセージ.箱一覧.clear();
    押す(3, 7);
    EXPECT_EQ(環.メッセージ.最後(), "MANの番です");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "対局");
    EXPECT_EQ(s().状況.再開フラグ, 定数_OFF);
    EXPECT_EQ(s().状況.選択状態, 1);  // the same click picked the piece
    押す(3, 6);
    EXPECT_EQ(s().状況.手数, 2);
    // The history is overwritten from there on.
    EXPECT_EQ(s().棋譜.項目(1).盤面[3][6], 駒_MANと);
}

TEST_F(再生, 最初は開始局面に戻し進は新しい対局を求める) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    form->CANCEL_Click();
    EXPECT_EQ(s().状況.手番, 手番_なし);
    EXPECT_EQ(盤(5, 7), 駒_MANと);
    form->AFTER_Click();
    EXPECT_EQ(環.メッセージ.最後(), "「対局」で始めて下さい");
}

TEST_F(再生, 反転二回で元に戻り棋譜は消える) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    持駒を置く(false, 3, 2);
    const 局面 前 = s().局;
    const int 手番 = s().状況.手番;
    form->REVERSE_Click();
    EXPECT_EQ(s().状況.反転フラグ, 定数_ON);
    EXPECT_EQ(s().棋譜.棋譜記録数(), 0);
    EXPECT_EQ(s().状況.手番, -手番);
    EXPECT_EQ(盤(5, 4), -前.盤面[5][6]);  // the lower と on (5,6) is now an upper と on (5,4)
    EXPECT_EQ(s().局.持駒COM[3], 2);
    EXPECT_EQ(s().局.持駒総数COM, 2);  // the totals follow the hands
    EXPECT_EQ(s().局.持駒総数MAN, 前.持駒総数COM);
    form->REVERSE_Click();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(盤(x, y), 前.盤面[x][y]);
    EXPECT_EQ(s().局.持駒MAN[3], 2);
    EXPECT_EQ(s().状況.手番, 手番);
    form->REPLAY_Click();
    EXPECT_EQ(環.メッセージ.最後(), "できません");
}

using ハンデ = Form1テスト;

TEST_F(ハンデ, 上げると上手の駒を外し下げると戻す) {
    form->LBEL_UP_Click();
    form->LBEL_UP_Click();
    EXPECT_EQ(盤(8, 2), 空桝);
    EXPECT_EQ(盤(2, 2), 空桝);
    EXPECT_EQ(s().状況.ハンデレベル, 2);
    EXPECT_EQ(s().状況.ハンデ設定フラグ, 定数_ON);
    EXPECT_TRUE(環.キャンバス面.字あり("ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４級"));
    form->LEBEL_DOWN_Click();
    EXPECT_EQ(盤(2, 2), 駒_COM飛成);
    EXPECT_EQ(盤(8, 2), 空桝);
    EXPECT_EQ(鳴った(音_駒打), 3);
}

TEST_F(ハンデ, 下手の駒は逆の順で十枚まで) {
    for (int i = 0; i < 12; ++i) form->LEBEL_DOWN_Click();
    EXPECT_EQ(s().状況.ハンデレベル, -10);
    EXPECT_EQ(鳴った(音_駒打), 10);  // the last two clicks changed nothing and were silent
    for (int x = 1; x <= 9; ++x) {
        EXPECT_EQ(盤(x, 7), 駒_MANと);
        EXPECT_EQ(盤(x, 9), x == 5 ? 駒_MAN王 : 空桝);
    }
    EXPECT_EQ(盤(2, 8), 空桝);
    EXPECT_EQ(盤(8, 8), 空桝);
    EXPECT_TRUE(環.キャンバス面.字あり("ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人"));
    for (int i = 0; i < 10; ++i) form->LBEL_UP_Click();
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            局面 開始;
            初期配置(開始);
            EXPECT_EQ(盤(x, y), 開始.盤面[x][y]);
        }
}

TEST_F(ハンデ, 対局途中と反転後と棋譜モードでは断る) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    form->LBEL_UP_Click();
    EXPECT_EQ(環.メッセージ.最後(), "対局途中ではできません\r\r局面→最初にして下さい");
    EXPECT_EQ(環.メッセージ.箱一覧.back().題, "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定");
    EXPECT_EQ(鳴った(音_禁止), 1);

    form->CANCEL_Click();
    form->REVERSE_Click();
    form->LEBEL_DOWN_Click();
    EXPECT_EQ(環.メッセージ.最後(), "反転後ではできません\r\r局面→最初にして下さい");

    form->CANCEL_Click();
    状態を変える().状況.棋譜モード = 定数_ON;
    form->LBEL_UP_Click();
    EXPECT_EQ(環.メッセージ.最後(), "棋譜ﾓｰﾄﾞではできません\r\r局面→最初にして下さい");
}

TEST_F(ハンデ, 反転すると段級の符号が変わる) {
    form->LBEL_UP_Click();
    form->REVERSE_Click();
    EXPECT_EQ(s().状況.ハンデレベル, -1);
    EXPECT_TRUE(環.キャンバス面.字あり("ﾊﾝﾃﾞｨｷｬｯﾌﾟ:１級"));
}

}  // namespace
}  // namespace kiryuza::testing
