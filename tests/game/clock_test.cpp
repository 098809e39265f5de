// The clock under 持ち時間 1分 as the player found it: a box raised as a turn starts is nobody's
// time, and nothing gives time back (resuming, 戻 and 進, going on from an earlier entry, a
// restart). The game-flow checker holds the same as invariants over random play.
#include <utility>

#include "form1_fixture.h"
#include "rules/time_control.h"

namespace kiryuza::testing {
namespace {

constexpr auto MAN = 時計の側::MAN;

// The lower side's clock as shown.
std::string 下の時計(const 偽環境& 環) {
    for (const auto& d : 環.キャンバス面.模型.字)
        if (d.X >= 1050 + 570.0 * 13 && d.Y >= 100 + 660.0 * 9) return d.文;
    return "";
}

TEST_F(Form1テスト, 持ち時間の時計は箱の間に減らず何をしても戻らない) {
    if (!s().設定.経過時間) form->KEIKA_Click();
    form->MOCHI_1_Click();
    // The player reads every box for 20 seconds; time passes as the timer ticks.
    環.メッセージ.表示時 = [this](const 表示した箱&) { 環.時刻.今 += 20; };
    auto 待つ = [this](double 秒) {
        環.時刻.今 += 秒;
        const double 歩み = std::exchange(環.時刻.歩み, 0);
        form->Timer1_Timer();
        環.時刻.歩み = 歩み;
    };
    form->SENTE_Click();
    EXPECT_EQ(下の時計(環), "00:01:00");
    押す(5, 7);
    押す(5, 6);
    待つ(26);
    EXPECT_EQ(下の時計(環), "00:00:34");
    form->SENTE_Click();  // resumes, 「MANの番です」 standing 20 s
    EXPECT_EQ(下の時計(環), "00:00:34");
    form->REPLAY_Click();
    form->AFTER_Click();
    待つ(20);
    EXPECT_TRUE(環.Timer1.動作);
    EXPECT_EQ(下の時計(環), "00:00:14");
    form->REPLAY_Click();
    form->REPLAY_Click();
    押す(4, 7);  // goes on from the start, 「MANの番です」 standing 20 s
    押す(4, 6);
    EXPECT_GE(s().時計.累計秒MAN, 46);
    待つ(5);
    const double 使った = 使った秒(s().時計, MAN, 環.時刻.今);
    form->OWARI_Click();

    偽環境 次;
    次.ファイル.ファイル = 環.ファイル.ファイル;
    次.自動保存.内容 = 環.自動保存.内容;
    次.時刻.今 = 環.時刻.今 + 3600;
    次.メッセージ.表示時 = [&次](const 表示した箱&) { 次.時刻.今 += 20; };
    Form1 f(次.束(), *次.状態);
    f.Form_Load();
    ASSERT_TRUE(次.メッセージ.出た("前回の対局を続けますか？"));
    EXPECT_NEAR(使った秒(次.状態->時計, MAN, 次.時刻.今), 使った, 0.2);
    EXPECT_TRUE(次.Timer1.動作);
}

TEST_F(Form1テスト, 持ち時間がなくても対局の初めの箱の間は数えない) {
    if (!s().設定.経過時間) form->KEIKA_Click();
    環.メッセージ.表示時 = [this](const 表示した箱&) { 環.時刻.今 += 20; };
    form->SENTE_Click();
    環.時刻.今 += 1.5;
    form->Timer1_Timer();
    EXPECT_EQ(下の時計(環), "00:00:01");
}

}  // namespace
}  // namespace kiryuza::testing
