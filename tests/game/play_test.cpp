// Play beyond the start commands: the question before an unsaved game is replaced, 新しい対局
// with the kind and handicap of the last game, 投了, clocks that count down and run out, and
// the choices of play that a restart keeps.
#include "form1_fixture.h"
#include "options/preferences.h"
#include "rules/time_control.h"

namespace kiryuza::testing {
namespace {

class 対局 : public Form1テスト {
  protected:
    // Some text on the window starts with `頭`.
    bool 見える文の頭(const std::string& 頭) const {
        for (const auto& d : 環.キャンバス面.模型.字)
            if (d.文.rfind(頭, 0) == 0) return true;
        return false;
    }
};

constexpr const char* 破棄の問い = "対局中の棋譜は保存されていません。破棄してよろしいですか？";
constexpr const char* 終局の問い =
    "終局した対局の棋譜は保存されていません。破棄してよろしいですか？";

TEST_F(対局, 保存していない対局を置き換える前に尋ね_いいえなら何も変わらない) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    // Saved as a record: replacing it asks nothing.
    form->KIFU_WRITE_Click();
    環.パネル.欄[1] = "一局";
    form->Command1_Click();
    ASSERT_EQ(環.メッセージ.最後(), "棋譜を書き込みました");
    const std::string 記録 = 環.パネル.フォルダ() + "/一局.棋譜";
    押す(4, 7);
    押す(4, 6);
    ASSERT_EQ(s().状況.手数, 4);

    const 棋譜表 前 = s().棋譜;
    using 命令 = std::function<void()>;
    for (const 命令& f : {命令([&] { form->CANCEL_Click(); }), 命令([&] { form->SHINKI_Click(); }),
                          命令([&] { form->File1_Click(記録); })}) {
        環.メッセージ.箱一覧.clear();
        環.メッセージ.答え = {押されたボタン::いいえ};
        f();
        ASSERT_EQ(環.メッセージ.箱一覧.size(), 1u);
        EXPECT_EQ(環.メッセージ.箱一覧[0].本文, 破棄の問い);
        EXPECT_EQ(環.メッセージ.箱一覧[0].種類, ボタン種類::はいいいえ_いいえ既定);
        EXPECT_TRUE(記録が同じ(前, s().棋譜));
        EXPECT_EQ(s().状況.手数, 4);
    }
    // はい: the record is loaded over it; the loaded record is replaced without a question.
    環.メッセージ.答え = {押されたボタン::はい};
    form->File1_Click(記録);
    EXPECT_EQ(s().状況.棋譜モード, 定数_ON);
    環.メッセージ.箱一覧.clear();
    form->SHINKI_Click();
    EXPECT_FALSE(環.メッセージ.出た(破棄の問い));
    EXPECT_EQ(環.メッセージ.最後(), "MANの番です");
    EXPECT_EQ(s().棋譜.棋譜記録数(), 0);
}

// A game that has ended is kept as surely as one going on: every command that would begin
// another asks first, and いいえ leaves it as it was; saved as KIF text, it is replaced
// without a question.
TEST_F(対局, 終わった対局も保存していなければ置き換える前に尋ね_KIFで保存すれば尋ねない) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    form->TOURYOU_Click();
    ASSERT_NE(s().局.勝者, 手番_なし);
    const 棋譜表 前 = s().棋譜;
    using 命令 = std::function<void()>;
    for (const 命令& f :
         {命令([&] { form->SHINKI_Click(); }), 命令([&] { form->SENTE_Click(); }),
          命令([&] { form->GOTE_Click(); }), 命令([&] { form->START_Click(); }),
          命令([&] { form->CANCEL_Click(); }), 命令([&] { form->REVERSE_Click(); })}) {
        環.メッセージ.箱一覧.clear();
        環.メッセージ.答え = {押されたボタン::いいえ};
        f();
        ASSERT_EQ(環.メッセージ.箱一覧.size(), 1u);
        EXPECT_EQ(環.メッセージ.箱一覧[0].本文, 終局の問い);
        EXPECT_TRUE(記録が同じ(前, s().棋譜));
        EXPECT_NE(s().局.勝者, 手番_なし);
    }
    環.形勢.保存先 = "/records/勝った.kif";
    form->棋譜を文で保存_Click();
    ASSERT_EQ(環.メッセージ.最後(), "棋譜を保存しました");
    環.メッセージ.箱一覧.clear();
    form->SENTE_Click();
    EXPECT_FALSE(環.メッセージ.出た(終局の問い));
    EXPECT_EQ(s().局.勝者, 手番_なし);
    EXPECT_EQ(s().棋譜.棋譜記録数(), 0);
}

TEST_F(対局, 投了で負けとなり新しい対局は同じ種類とハンデで始まり好みは再起動後も残る) {
    form->LEVEL4_Click();
    form->MOCHI_5_Click();
    form->BYOU_30_Click();
    form->LBEL_UP_Click();
    form->LBEL_UP_Click();
    form->GOTE_Click();
    // Level 4 thinks on the computer's clock: a share of its five minutes, not its usual second.
    ASSERT_EQ(環.読み.待ち一覧.size(), 1u);
    const int 考慮 = 環.読み.待ち一覧[0].依頼.設定.時間ms;
    EXPECT_GT(考慮, 0);
    EXPECT_LT(考慮, 300 * 1000 / 10);
    読みを届ける();
    ASSERT_EQ(s().状況.手数, 1);

    環.メッセージ.答え = {押されたボタン::いいえ};
    form->TOURYOU_Click();
    EXPECT_EQ(s().局.勝者, 手番_なし);
    form->TOURYOU_Click();
    EXPECT_EQ(s().局.勝者, s().局.手番値COM);
    EXPECT_EQ(環.メッセージ.最後(), "投了しました。\nｺﾝﾋﾟｭｰﾀの勝ちです");
    form->TOURYOU_Click();
    EXPECT_EQ(鳴った(音_禁止), 1);
    // The game is over and nobody saved it: a new one asks first, in words for a game that
    // has ended, then keeps the handicap and starts as 後手 again.
    環.メッセージ.箱一覧.clear();
    form->SHINKI_Click();
    EXPECT_TRUE(環.メッセージ.出た(終局の問い));
    EXPECT_FALSE(環.メッセージ.出た(破棄の問い));
    EXPECT_EQ(s().状況.ハンデレベル, 2);
    EXPECT_EQ(s().棋譜.出自(), 棋譜の出自::ハンデ);
    EXPECT_EQ(s().局.手番値COM, 手番_先手);
    EXPECT_EQ(環.読み.待ち一覧.size(), 1u);

    // The next run: level, time control and kind as chosen; the settings file keeps its lines.
    偽環境 次;
    次.ファイル.ファイル = 環.ファイル.ファイル;
    Form1 f(次.束(), *次.状態);
    f.Form_Load();
    EXPECT_EQ(次.状態->状況.COMレベル, 4);
    for (const char* 名 : {"LEVEL4", "MOCHI_5", "BYOU_30"}) EXPECT_TRUE(次.メニュー欄.チェック(名));
    EXPECT_FALSE(次.メニュー欄.チェック("LEVEL3"));
    EXPECT_EQ(次.ファイル.文字列("Kiryuza.ini"),
              "背景画=緑\r\n移動指導=OFF\r\n経過時間=ON\r\nBGM=ON\r\n");
    f.SHINKI_Click();
    EXPECT_EQ(次.状態->局.手番値COM, 手番_先手);
    EXPECT_EQ(次.読み.待ち一覧.size(), 1u);
}

TEST_F(対局, 持ち時間と秒読みを使い切った側が負け_時間切れの後の手は数えない) {
    form->MOCHI_1_Click();
    form->BYOU_10_Click();
    form->START_Click();
    押す(5, 7);
    押す(5, 6);
    ASSERT_EQ(s().状況.手番, 手番_後手);
    // The main time is gone, the byoyomi is not: the game goes on and the clock counts it down.
    環.時刻.今 += 65;
    form->Timer1_Timer();
    EXPECT_EQ(s().局.勝者, 手番_なし);
    EXPECT_TRUE(見える文の頭("00:00:0"));
    // Changing the time control in the middle of a game is refused.
    form->MOCHI_60_Click();
    EXPECT_TRUE(環.メニュー欄.チェック("MOCHI_1"));
    // A move made after the byoyomi ran out, before a tick noticed, loses instead.
    環.時刻.今 += 10;
    押す(5, 3);
    押す(5, 4);
    EXPECT_EQ(s().状況.手数, 1);
    EXPECT_EQ(s().局.勝者, 手番_先手);
    EXPECT_EQ(環.メッセージ.最後(), "後手の時間切れです。\n先手の勝ちです");
    EXPECT_FALSE(環.Timer1.動作);

    // Against the computer the player's clock runs out on a tick, shown or not.
    form->MOCHI_NASHI_Click();
    form->BYOU_30_Click();
    form->KEIKA_Click();
    form->SENTE_Click();
    EXPECT_TRUE(環.Timer1.動作);
    環.時刻.今 += 31;
    form->Timer1_Timer();
    EXPECT_EQ(s().局.勝者, s().局.手番値COM);
    EXPECT_EQ(環.メッセージ.最後(), "時間切れです。\nｺﾝﾋﾟｭｰﾀの勝ちです");
}

// The clock's rule over many uses and moves: time runs out exactly when a move takes longer
// than the main time left and the byoyomi together, and what is left never grows as the move
// goes on.
TEST(持ち時間, 残りは減るだけで切れるのは持ち時間と秒読みを使い切った時) {
    for (const auto& 持 : 持ち時間一覧)
        for (const auto& 秒 : 秒読み一覧)
            for (const double 累計 : {0.0, 30.5, 59.9, 60.0, 299.0, 1000.0, 5000.0}) {
                double 前 = -1;
                bool 前秒読み = false;
                for (double 経過 = 0; 経過 < 4000; 経過 += 0.7) {
                    const 時計の残り r = 残り時間(持.秒, 秒.秒, 累計, 経過);
                    const bool 制限 = 持.秒 > 0 || 秒.秒 > 0;
                    const double 使える = std::max(0.0, 持.秒 - 累計) + 秒.秒;
                    ASSERT_EQ(r.切れ, 制限 && 経過 > 使える)
                        << 持.秒 << " " << 秒.秒 << " " << 経過;
                    ASSERT_GE(r.残り秒, 0);
                    // Only entering the byoyomi gives time back: the byoyomi of this move.
                    if (前 >= 0 && r.残り秒 > 前 + 1e-9) {
                        ASSERT_TRUE(r.秒読み中 && !前秒読み);
                    }
                    前 = r.残り秒;
                    前秒読み = r.秒読み中;
                }
            }
}

TEST(対局の好み, 書いた好みは読み戻せて_壊れた行は既定のまま) {
    for (int レベル = 1; レベル <= 4; ++レベル)
        for (const auto& 持 : 持ち時間一覧)
            for (const auto& 秒 : 秒読み一覧)
                for (const 対局の種類 種類 :
                     {対局の種類::COM先手, 対局の種類::COM後手, 対局の種類::人間})
                    for (const bool 選ぶ : {false, true}) {
                        const 対局の好み 好み{レベル, 持.秒, 秒.秒, 種類, 選ぶ};
                        ASSERT_EQ(好みを読む(好みの文(好み)), 好み);
                    }
    const 対局の好み 既定;
    for (const char* 文 : {"COMレベル=5\n", "COMレベル=4x\n", "持ち時間=61\n", "秒読み=-10\n",
                           "対局=COM\n", "COMレベル\n", "\xff\xfe=\n", "=4\n",
                           "成・不成を選ぶ=on\n", "成・不成を選ぶ=1\n", "成不成を選ぶ=ON\n"}) {
        EXPECT_EQ(好みを読む(文), 既定) << 文;
    }
    // Windows line ends and a later line that overrides an earlier one.
    EXPECT_EQ(好みを読む("COMレベル=2\r\nCOMレベル=4\r\n").COMレベル, 4);
    EXPECT_TRUE(好みを読む("成・不成を選ぶ=OFF\r\n成・不成を選ぶ=ON\r\n").成不成を選ぶ);
}

}  // namespace
}  // namespace kiryuza::testing
