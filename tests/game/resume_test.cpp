// Resuming a game with the start commands: whose turn it is, whose clock runs, what the
// history keeps; and what a full history and an unwritable record do.
#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

using 再開 = Form1テスト;

TEST_F(再開, 後手で人の番に戻ると時計はそこから数える) {
    form->GOTE_Click();
    押す(5, 7);
    押す(5, 6);
    form->REPLAY_Click();
    form->REPLAY_Click();
    ASSERT_EQ(s().状況.手番, s().局.手番値MAN);
    環.時刻.今 += 400;  // time spent looking at the history
    form->GOTE_Click();
    EXPECT_EQ(環.メッセージ.最後(), "MANの番です");
    押す(4, 7);
    押す(4, 6);
    const 棋譜項目& 人の手 = s().棋譜.項目(1);
    EXPECT_LT(人の手.後秒M - 人の手.前秒M, 10);
}

TEST_F(再開, コンピュータの番から再開すると次のクリックで告げ直さない) {
    for (auto 再開する : {&Form1::SENTE_Click, &Form1::GOTE_Click}) {
        SetUp();
        form->SENTE_Click();
        押す(5, 7);
        押す(5, 6);
        form->REPLAY_Click();
        ASSERT_EQ(s().状況.手番, s().局.手番値COM);
        (form.get()->*再開する)();
        EXPECT_EQ(s().状況.手数, 2);  // the computer moved again
        EXPECT_EQ(s().状況.再開フラグ, 定数_OFF);
        環.メッセージ.箱一覧.clear();
        const double 始 = s().時計.手番開始時刻;
        押す(4, 7);
        EXPECT_TRUE(環.メッセージ.箱一覧.empty());
        EXPECT_EQ(s().時計.手番開始時刻, 始);
    }
}

TEST_F(再開, 後手の対局をスタートで続けると下の対局者が先手になり時間はその手の側へ) {
    form->GOTE_Click();
    ASSERT_EQ(s().状況.手番, s().局.手番値MAN);
    form->START_Click();
    EXPECT_EQ(環.メッセージ.最後(), "先手の番です");
    EXPECT_EQ(s().局.手番値MAN, 手番_先手);
    EXPECT_EQ(s().状況.手番, 手番_先手);
    環.時刻.今 += 60;
    押す(5, 7);
    押す(5, 6);
    EXPECT_GE(s().時計.累計秒MAN, 60);
    EXPECT_LT(s().時計.累計秒COM, 10);
    EXPECT_EQ(s().状況.手番, 手番_後手);
}

TEST_F(再開, スタートの前に選んだ駒はスタートの後に動かせない) {
    form->START_Click();
    押す(5, 7);
    ASSERT_EQ(s().状況.選択状態, 1);
    form->START_Click();
    押す(5, 6);
    EXPECT_EQ(盤(5, 7), 駒_MANと);
    EXPECT_EQ(s().状況.手数, 0);
}

TEST_F(再開, 棋譜が満杯ならコンピュータの番のクリックは探索せずに一度断る) {
    form->SENTE_Click();
    auto& 状態 = 状態を変える();
    while (状態.棋譜.空きあり()) {
        状態.棋譜.手順保存(状態.局, 0, 0, 0, 0);
        状態.棋譜.着手後保存(状態.局);
    }
    状態.状況.手番 = 状態.局.手番値COM;
    環.メッセージ.箱一覧.clear();
    環.キャンバス面.消す();
    押す(5, 7);
    ASSERT_EQ(環.メッセージ.箱一覧.size(), 1u);
    EXPECT_NE(環.メッセージ.最後().find("500手"), std::string::npos);
    EXPECT_FALSE(環.キャンバス面.字あり("思考中"));
    押す(5, 7);
    EXPECT_EQ(環.メッセージ.箱一覧.size(), 2u);
}

TEST_F(再開, 持駒が十枚の局面はその前の手までを保存するか尋ねる) {
    // Ten pawns in hand before the third move: entry 2 holds what a record line cannot.
    form->START_Click();
    押す(5, 7);
    押す(5, 6);
    押す(5, 3);
    押す(5, 4);
    持駒を置く(false, 1, 10);
    押す(4, 7);
    押す(4, 6);
    ASSERT_EQ(s().棋譜.棋譜記録数(), 3);
    form->KIFU_WRITE_Click();
    環.パネル.欄[1] = "十枚";
    環.メッセージ.答え.push_back(押されたボタン::いいえ);
    form->Command1_Click();
    EXPECT_NE(環.メッセージ.最後().find("1手目までを保存しますか？"), std::string::npos);
    EXPECT_FALSE(環.ファイル.存在("/records/十枚.棋譜"));
    環.メッセージ.答え.push_back(押されたボタン::はい);
    form->Command1_Click();
    EXPECT_EQ(環.メッセージ.最後(), "棋譜を書き込みました");
    EXPECT_EQ(環.ファイル.文字列("/records/十枚.棋譜").size(), 3 * 2 + 1 * 360);
}

TEST_F(再開, ハンデの対局は最初に戻した後も書き込めない) {
    form->LBEL_UP_Click();
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    form->CANCEL_Click();
    form->KIFU_WRITE_Click();
    EXPECT_EQ(環.メッセージ.最後(), "ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません");
    EXPECT_FALSE(環.パネル.入力見);
}

TEST_F(再開, 書けない棋譜は打ち込んだ名前で知らせる) {
    form->START_Click();
    押す(5, 7);
    押す(5, 6);
    form->KIFU_WRITE_Click();
    環.パネル.欄[1] = "nodir/x";
    環.ファイル.書込禁止.insert("/records/nodir/x.棋譜");
    form->Command1_Click();
    EXPECT_NE(環.メッセージ.最後().find("「nodir/x.棋譜」"), std::string::npos);
    EXPECT_EQ(鳴った(音_禁止), 1);
}

}  // namespace
}  // namespace kiryuza::testing
