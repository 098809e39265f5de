// 待った, ヒント and what the player sees of the turn: take-backs restore everything as it was,
// a hint finds the move that wins, and the screen says whose turn it is.
#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

using 助け = Form1テスト;

TEST_F(助け, 待ったはコンピュータの応手と自分の手を戻しもう一度で断る) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    ASSERT_EQ(s().状況.手数, 2);
    const int 駒打 = 鳴った(音_駒打);
    form->MATTA_Click();
    EXPECT_EQ(鳴った(音_駒打), 駒打 + 1);
    局面 開始;
    初期配置(開始);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) ASSERT_EQ(盤(x, y), 開始.盤面[x][y]) << x << y;
    EXPECT_EQ(s().状況.手数, 0);
    EXPECT_EQ(s().状況.手番, s().局.手番値MAN);
    EXPECT_EQ(s().棋譜.棋譜記録数(), 0);
    EXPECT_EQ(s().時計.累計秒MAN, 0);
    // Both last-move texts are gone, as before the first move.
    EXPECT_FALSE(環.キャンバス面.見える("と"));
    form->MATTA_Click();
    EXPECT_EQ(鳴った(音_禁止), 1);
    // The game goes on from there.
    押す(4, 7);
    押す(4, 6);
    EXPECT_EQ(s().状況.手数, 2);
}

TEST_F(助け, 二人対局の待ったは一手だけ戻し前の指し手の表示に戻る) {
    form->START_Click();
    押す(5, 7);
    押す(5, 6);
    押す(5, 3);
    押す(5, 4);
    form->MATTA_Click();
    EXPECT_EQ(s().状況.手数, 1);
    EXPECT_EQ(s().状況.手番, 手番_後手);
    EXPECT_EQ(盤(5, 3), 駒_COMと);
    EXPECT_EQ(盤(5, 6), 駒_MANと);
    // The lower player's move is shown again; nothing is left where the upper player's stood.
    EXPECT_TRUE(環.キャンバス面.見える("と"));
    for (const auto& d : 環.キャンバス面.模型.字) {
        EXPECT_FALSE(d.X < 格子X(1) && d.Y >= 格子Y(8) && d.Y < 格子Y(9)) << d.文;
    }
}

TEST_F(助け, 待ったとヒントは対局中だけ選べる) {
    form->TAIKYOKU_Click();
    EXPECT_FALSE(環.メニュー欄.有効("MATTA"));
    EXPECT_FALSE(環.メニュー欄.有効("HINT"));
    form->SENTE_Click();
    form->TAIKYOKU_Click();
    EXPECT_TRUE(環.メニュー欄.有効("MATTA"));
    EXPECT_TRUE(環.メニュー欄.有効("HINT"));
    form->START_Click();
    form->TAIKYOKU_Click();
    EXPECT_TRUE(環.メニュー欄.有効("MATTA"));
    EXPECT_FALSE(環.メニュー欄.有効("HINT"));  // no computer to ask
}

// The hint's outlines and the move it prints, checked against what must be chosen.
class ヒント : public Form1テスト {
  protected:
    void ヒントを見る(桝 元, 桝 先, const char* 筋, const char* 段, const char* 駒) {
        form->HINT_Click();
        const auto& 模型 = 環.キャンバス面.模型;
        EXPECT_EQ(模型.桝の枠(元.列, 元.行), 色_ヒント);
        EXPECT_EQ(模型.桝の枠(先.列, 先.行), 色_ヒント);
        for (const char* 文 : {筋, 段, 駒}) EXPECT_TRUE(環.キャンバス面.見える(文)) << 文;
        // Nothing moved.
        EXPECT_EQ(s().棋譜.棋譜記録数(), 0);
        EXPECT_EQ(s().状況.手数, 0);
    }
};

TEST_F(ヒント, 王を取れるときは王を取る手) {
    form->SENTE_Click();
    局面にする({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "v歩 ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^飛 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^歩 ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    ヒントを見る({5, 5}, {5, 1}, "５", "一", "飛");
}

TEST_F(ヒント, 詰ませられるときは詰ます手) {
    form->SENTE_Click();
    局面にする({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^と ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    持駒を置く(false, 5, 1);
    ヒントを見る(持駒の位置(false, 5), {5, 2}, "５", "二", "金");
}

TEST_F(助け, 手番はいつも盤の横に出る) {
    auto 手番の字 = [&] {
        std::string s;
        for (int x = 13; x <= 14; ++x)
            for (const auto& d : 環.キャンバス面.模型.字)
                if (d.X >= 格子X(x) && d.X < 格子X(x + 1) && d.Y >= 格子Y(4) && d.Y < 格子Y(5))
                    s = d.文;
        return s;
    };
    EXPECT_EQ(手番の字(), "");
    form->SENTE_Click();
    EXPECT_EQ(手番の字(), "あなたの番");
    form->START_Click();
    EXPECT_EQ(手番の字(), "▲先手番");
    押す(5, 7);
    押す(5, 6);
    EXPECT_EQ(手番の字(), "△後手番");
    form->TAKE_Click();  // a new background keeps it
    EXPECT_EQ(手番の字(), "△後手番");
    form->CANCEL_Click();
    EXPECT_EQ(手番の字(), "");
}

TEST_F(助け, 断られた手は桝が光りその後は元の枠に戻る) {
    form->SENTE_Click();
    押す(5, 7);
    環.キャンバス面.消す();
    押す(5, 4);
    EXPECT_EQ(鳴った(音_禁止), 1);
    EXPECT_GT(環.キャンバス面.更新回数, 2);  // the flash was shown while it lasted
    EXPECT_EQ(環.キャンバス面.模型.桝の枠(5, 4), 色_桝線);
    // A move made stays marked on its square.
    押す(5, 7);
    押す(5, 6);
    EXPECT_EQ(s().状況.手数, 2);
}

TEST_F(助け, 矢印で桝を選びEnterとSpaceで押す_再生中は左右で戻と進) {
    form->SENTE_Click();
    form->Form_KeyPress(13);  // the first key shows the cursor, on the middle pawn
    EXPECT_EQ(s().状況.選択状態, 0);
    form->Form_KeyPress(13);
    EXPECT_EQ(s().状況.選択状態, 1);
    form->Form_KeyDown(38);
    form->Form_KeyPress(' ');
    EXPECT_EQ(盤(5, 6), 駒_MANと);
    EXPECT_EQ(s().状況.手数, 2);
    // The cursor stays on top of whatever paints its cell: a new background, and leaves no
    // trace where it was.
    const auto& 模型 = 環.キャンバス面.模型;
    EXPECT_TRUE(模型.カーソルあり(5, 6));
    form->TATAMI_Click();
    EXPECT_TRUE(模型.カーソルあり(5, 6));
    form->Form_KeyDown(40);
    EXPECT_FALSE(模型.カーソルあり(5, 6));
    EXPECT_TRUE(模型.カーソルあり(5, 7));
    form->Form_KeyDown(38);
    // Off the board's right edge into the lower side's hand, and back.
    for (int i = 0; i < 5; ++i) form->Form_KeyDown(39);
    form->Form_KeyDown(37);
    form->Form_KeyPress(13);
    EXPECT_EQ(s().状況.選択状態, 0);  // (9, 6) is empty
    form->REPLAY_Click();
    form->Form_KeyDown(37);
    EXPECT_EQ(s().状況.手数, 0);
    form->Form_KeyDown(39);
    EXPECT_EQ(s().状況.手数, 1);
}

using 保存 = Form1テスト;

TEST_F(保存, 人の手はコンピュータが考える前に保たれる) {
    std::vector<std::pair<int, int>> 保った;  // move number and side to move of each write
    環.自動保存.保存時 = [&](const std::vector<std::uint8_t>& b) {
        const auto r = 自動保存を読む(b);
        ASSERT_TRUE(r.has_value());
        保った.emplace_back(r->状態.状況.手数, r->状態.状況.手番);
    };
    form->SENTE_Click();
    保った.clear();
    押す(5, 7);
    押す(5, 6);
    const std::vector<std::pair<int, int>> 期待{{1, s().局.手番値COM}, {2, s().局.手番値MAN}};
    EXPECT_EQ(保った, 期待);
}

// How often the failure is told is the game-flow checker's to watch; here, what it says and
// that the game is written again as soon as it can be.
TEST_F(保存, 書けなければ理由を告げ書けるようになれば次の操作で書き直す) {
    form->START_Click();
    環.自動保存.書込失敗 = true;
    押す(5, 7);
    押す(5, 6);
    押す(5, 3);
    押す(5, 4);
    const std::string 告知 = 環.メッセージ.最後();
    EXPECT_EQ(告知.rfind("対局の途中経過を保存できませんでした。\n保存先のフォルダ：/state\n", 0),
              0u);
    EXPECT_NE(告知.find("理由：ディスクの空き容量が足りません"), std::string::npos);
    環.自動保存.書込失敗 = false;
    form->LEVEL3_Click();  // the level it has: nothing changes
    ASSERT_TRUE(環.自動保存.内容.has_value());
    EXPECT_EQ(自動保存を読む(*環.自動保存.内容)->状態.状況.手数, 2);
}

TEST_F(保存, 壊れた保存は消さずに脇へ移し一度だけ告げる) {
    form->SENTE_Click();
    押す(5, 7);
    押す(5, 6);
    auto 壊れ = *環.自動保存.内容;
    壊れ.resize(壊れ.size() / 2);
    環.自動保存.内容 = 壊れ;
    環.メッセージ.箱一覧.clear();
    SetUp();
    EXPECT_EQ(s().状況.手番, 手番_なし);
    ASSERT_EQ(環.メッセージ.箱一覧.size(), 1u);
    EXPECT_NE(環.メッセージ.最後().find("「/state/current-game.damaged」として残して"),
              std::string::npos);
    環.メッセージ.箱一覧.clear();
    SetUp();
    EXPECT_TRUE(環.メッセージ.箱一覧.empty());
    ASSERT_EQ(環.自動保存.脇へ.size(), 1u);
    EXPECT_EQ(環.自動保存.脇へ[0], 壊れ);
}

}  // namespace
}  // namespace kiryuza::testing
