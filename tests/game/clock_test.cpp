// The clocks of a game under a time control, on the player's reports: nothing the player does
// gives time back (resuming, 戻 and 進, going on from an earlier entry, 待った, a restart), a box
// raised as a turn starts is nobody's time, and the clock shown is the clock kept.
#include "form1_fixture.h"
#include "rules/time_control.h"

#include <utility>

namespace kiryuza::testing {
namespace {

class 持ち時間の時計 : public Form1テスト {
  protected:
    void SetUp() override {
        Form1テスト::SetUp();
        if (!s().設定.経過時間) form->KEIKA_Click();
        form->MOCHI_1_Click();
        // The player reads every box for 20 seconds.
        環.メッセージ.表示時 = [this](const 表示した箱&) { 環.時刻.今 += 箱の秒; };
    }

    double 箱の秒 = 20;

    // What `側` has used, and the whole seconds its clock shows.
    double 使った(時計の側 側) const { return 使った秒(s().時計, 側, 環.時刻.今); }
    std::string 示す(時計の側 側) const {
        const double X = 側 == 時計の側::MAN ? 1050 + 570.0 * 13 : 1050 - 570.0 * 2;
        for (const auto& d : 環.キャンバス面.模型.字)
            if (d.X >= X && d.X < X + 570 && d.Y >= 100 + 660.0 * 9) return d.文;
        return "";
    }
    // Time passes, and the timer ticks (reading the time of day exactly then).
    void 待つ(double 秒) {
        環.時刻.今 += 秒;
        const double 歩み = std::exchange(環.時刻.歩み, 0);
        form->Timer1_Timer();
        環.時刻.歩み = 歩み;
    }
};

constexpr auto MAN = 時計の側::MAN;
constexpr auto COM = 時計の側::COM;

// Found: 0:34 left, 先手 showed 「MANの番です」 and the clock read 0:57 after OK; at a game's start
// the clock ran behind that box.
TEST_F(持ち時間の時計, 再開しても時間は戻らず手番を告げる箱の間は誰の時間も減らない) {
    form->SENTE_Click();
    EXPECT_LT(使った(MAN), 0.5);
    EXPECT_EQ(示す(MAN), "00:01:00");
    待つ(26);
    EXPECT_EQ(示す(MAN), "00:00:34");
    for (auto 再開 : {&Form1::SENTE_Click, &Form1::GOTE_Click, &Form1::START_Click}) {
        const double 前 = 使った(MAN);
        (form.get()->*再開)();
        EXPECT_NEAR(使った(MAN), 前, 0.5);
        EXPECT_EQ(示す(MAN), "00:00:34");
    }
}

TEST_F(持ち時間の時計, 持ち時間がなくても対局の初めの箱の間は数えない) {
    form->MOCHI_NASHI_Click();
    form->SENTE_Click();
    待つ(0.5);
    EXPECT_EQ(示す(MAN), "00:00:00");
    待つ(1);
    EXPECT_EQ(示す(MAN), "00:00:01");
}

// Found: 戻 then 進 left the clock at 0:58 and stopped until the next click; going on from an
// earlier entry gave that entry's clock back.
TEST_F(持ち時間の時計, 振り返る間も手番の側の時計は進み_前の局面から続けても使った時間は残る) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    ASSERT_EQ(s().状況.手数, 2);
    待つ(10);
    const double 下 = 使った(MAN);
    const double 上 = 使った(COM);
    form->REPLAY_Click();
    form->AFTER_Click();
    待つ(20);
    EXPECT_TRUE(環.Timer1.動作);
    EXPECT_NEAR(使った(MAN), 下 + 20, 0.5);
    EXPECT_EQ(使った(COM), 上);
    EXPECT_EQ(示す(MAN), 調査_時間秒追加結果(残りの表示秒(60 - 使った(MAN))));

    // Back two entries, the player to move there: the click goes on from it, its box costs
    // nothing, and each side keeps what it has used.
    form->REPLAY_Click();
    form->REPLAY_Click();
    const double 戻した時 = 使った(MAN);
    押す(4, 7);
    EXPECT_NEAR(使った(MAN), 戻した時, 0.5);
    EXPECT_EQ(使った(COM), 上);
    押す(4, 6);
    EXPECT_GE(s().棋譜.項目(0).後秒M, 戻した時);
    EXPECT_GE(s().時計.累計秒MAN, 戻した時);
}

// With byoyomi only, a side's byoyomi starts afresh with its own move and nothing else: going
// back to where the computer moves, or taking moves back, leaves the player's turn where it was.
TEST_F(持ち時間の時計, 秒読みは自分が指すまで続き_戻って相手に指させても待ったでも戻らない) {
    form->MOCHI_NASHI_Click();
    form->BYOU_10_Click();
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    待つ(7);
    EXPECT_EQ(示す(MAN), "00:00:03");
    form->REPLAY_Click();
    ASSERT_EQ(s().状況.手番, s().局.手番値COM);
    押す(1, 1);  // 「OKですか？」 and the computer moves again
    ASSERT_EQ(s().状況.手数, 2);
    EXPECT_EQ(示す(MAN), "00:00:03");
    form->MATTA_Click();
    ASSERT_EQ(s().状況.手数, 0);
    EXPECT_EQ(示す(MAN), "00:00:03");
    待つ(4);
    EXPECT_EQ(s().局.勝者, s().局.手番値COM);
    EXPECT_EQ(環.メッセージ.最後(), "時間切れです。\nｺﾝﾋﾟｭｰﾀの勝ちです");
}

// Between two people 待った gives the move back to the side that made it, with its clock; the
// clock of the other side stands with the seconds its turn had.
TEST_F(持ち時間の時計, 二人対局の待ったは指した側の時計を動かし相手の時間はそのまま) {
    form->START_Click();
    押す(5, 7);
    押す(5, 6);
    待つ(12);
    const double 上 = 使った(COM);
    const double 下 = 使った(MAN);
    form->MATTA_Click();
    const double 止めた = 使った(COM);
    EXPECT_NEAR(止めた, 上, 0.2);
    待つ(5);
    EXPECT_EQ(使った(COM), 止めた);
    EXPECT_NEAR(使った(MAN), 下 + 5, 0.5);
    EXPECT_EQ(示す(COM), 調査_時間秒追加結果(残りの表示秒(60 - 止めた)));
    // Nor can the control be changed to give time: not while the history is looked back either.
    押す(5, 7);
    押す(5, 6);
    form->REPLAY_Click();
    form->MOCHI_60_Click();
    EXPECT_TRUE(環.メニュー欄.チェック("MOCHI_1"));
}

// The kept game holds each clock as it stood: quitting and starting again gives nothing back,
// the question costs nothing, and the clock that ran goes on once it is answered.
TEST_F(持ち時間の時計, 終えて起動し直しても時計はそのままで問いの後に動き出す) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    待つ(15);
    const double 下 = 使った(MAN);
    const double 上 = 使った(COM);
    form->OWARI_Click();

    偽環境 次;
    次.ファイル.ファイル = 環.ファイル.ファイル;
    次.自動保存.内容 = 環.自動保存.内容;
    次.時刻.今 = 環.時刻.今 + 3600;
    次.メッセージ.表示時 = [&次](const 表示した箱&) { 次.時刻.今 += 20; };
    Form1 f(次.束(), *次.状態);
    f.Form_Load();
    ASSERT_TRUE(次.メッセージ.出た("前回の対局を続けますか？"));
    const auto& 時 = 次.状態->時計;
    EXPECT_TRUE(次.メニュー欄.チェック("MOCHI_1"));
    EXPECT_NEAR(使った秒(時, MAN, 次.時刻.今), 下, 0.2);
    EXPECT_EQ(使った秒(時, COM, 次.時刻.今), 上);
    EXPECT_TRUE(次.Timer1.動作);
    次.時刻.今 += 5;
    EXPECT_NEAR(使った秒(時, MAN, 次.時刻.今), 下 + 5, 0.2);
}

}  // namespace
}  // namespace kiryuza::testing
