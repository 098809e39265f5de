// 成・不成を選ぶ: a person's move that may keep or change its piece's form waits at its
// destination for the player's choice, made with the mouse or the keys.
#include <string>
#include <vector>

#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

class 形の選択 : public Form1テスト {
  protected:
    // A game against the computer with the lower side's pawn on (5, 4), one step before the
    // upper side's pawn on (5, 3) in the zone; the option switched on.
    void 前に出た歩で始める() {
        form->NARI_FUNARI_Click();
        form->SENTE_Click();
        状態を変える().局.盤面[5][7] = 空桝;
        状態を変える().局.盤面[5][4] = 駒_MANと;
        form->MIDORI_Click();  // shows the board as set
        環.キャンバス面.消す();
    }
    bool 選択中() const { return form->入力中の手().形を選ぶ; }
    // The twip centre of the chooser's piece with the change of form (左) or without it.
    void 選択の駒を押す(int 先X, int 先Y, bool 左) {
        const double x = 形の選択の左列(先X) + (左 ? 0.5 : 1.5);
        form->Form_MouseDown(1, 0, 1050 + 570 * x, 100 + 660 * (先Y + 0.5));
    }
    // The chooser's two pictures stand at their places, the selected one framed in the pick's
    // colour, and nothing drawn later covers them.
    void 選択が見える(int 先X, int 先Y, int 変えた駒, int 元の駒, bool 変える) {
        const auto& 模型 = 環.キャンバス面.模型;
        const double X = 1050 + 570 * 形の選択の左列(先X);
        const double Y = 100 + 660.0 * 先Y;
        EXPECT_EQ(模型.絵.at(画面模型::点(X, Y)), 変えた駒);
        EXPECT_EQ(模型.絵.at(画面模型::点(X + 570, Y)), 元の駒);
        const auto 枠 = [&](double x) {
            const auto it = 模型.枠.find(画面模型::点(x + 45, Y + 45));
            return it == 模型.枠.end() ? -1 : it->second;
        };
        EXPECT_EQ(枠(変える ? X : X + 570) == 色_選択枠, true);
        EXPECT_EQ(枠(変える ? X + 570 : X) == 色_選択枠, false);
        for (auto it = 環.キャンバス面.絵一覧.rbegin(); it != 環.キャンバス面.絵一覧.rend(); ++it) {
            if (it->X + 570 <= X || it->X >= X + 1140 || it->Y + 660 <= Y || it->Y >= Y + 660)
                continue;
            EXPECT_TRUE(it->Y == Y && (it->X == X || it->X == X + 570)) << "covered";
            break;
        }
    }
    // The fake window shows the position on every board square.
    void 盤が見える() {
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y)
                ASSERT_EQ(環.キャンバス面.模型.桝の絵(x, y), 盤(x, y)) << x << "," << y;
    }
};

// Every way of answering the chooser: a click on either piece, elsewhere on the board or off
// it, the arrows then Enter, Space or Esc; the piece that arrives, or none when the move is
// dropped.
struct 答え方 {
    const char* 名;
    int 押す所;  // 0 none, 1 the change of form, 2 the piece as it is, 3 another square, 4 off
    std::vector<int> 矢印;
    int キー;      // 0 none
    int 着いた駒;  // 空桝: the move was dropped
};

void PrintTo(const 答え方& a, std::ostream* os) {
    *os << a.名;
}

class 形の選択に答える : public 形の選択, public ::testing::WithParamInterface<答え方> {};

TEST_P(形の選択に答える, 選んだ形で指すか指し手を取り消す) {
    const 答え方& a = GetParam();
    前に出た歩で始める();
    押す(5, 4);
    押す(5, 3);
    ASSERT_TRUE(選択中());
    EXPECT_EQ(s().状況.手数, 0);
    EXPECT_EQ(s().状況.選択状態, 1);
    選択が見える(5, 3, 駒_MAN歩, 駒_MANと, true);
    if (a.押す所 == 1 || a.押す所 == 2) 選択の駒を押す(5, 3, a.押す所 == 1);
    if (a.押す所 == 3) 押す(5, 4);
    if (a.押す所 == 4) form->Form_MouseDown(1, 0, -50, -50);
    for (const int k : a.矢印) form->Form_KeyDown(k);
    if (a.キー != 0) form->Form_KeyPress(a.キー);
    if (a.キー != 0 && a.キー != 13 && a.キー != ' ' && a.キー != 27) {
        // Other keys do nothing while the form is chosen.
        EXPECT_TRUE(選択中());
        form->Form_KeyPress(27);
    }
    EXPECT_FALSE(選択中());
    EXPECT_FALSE(環.窓.終了要求);
    EXPECT_EQ(s().状況.選択状態, 0);
    if (a.着いた駒 == 空桝) {
        EXPECT_EQ(s().状況.手数, 0);
        EXPECT_EQ(s().棋譜.棋譜記録数(), 0);
        EXPECT_EQ(盤(5, 4), 駒_MANと);
        EXPECT_NE(環.キャンバス面.模型.桝の枠(5, 4), 色_選択枠);
        EXPECT_EQ(鳴った(音_駒打), 0);
    } else {
        // Played as any move is: the history, the sound, the notation, the computer's reply.
        EXPECT_EQ(s().状況.手数, 2);
        EXPECT_EQ(s().棋譜.項目(1).盤面[5][3], a.着いた駒);
        EXPECT_EQ(s().局.持駒MAN[1], 1);
        EXPECT_GE(鳴った(音_駒打), 2);
        EXPECT_TRUE(環.キャンバス面.字あり(駒の名前(a.着いた駒)));
        EXPECT_EQ(s().状況.手番, s().局.手番値MAN);
    }
    盤が見える();
}

INSTANTIATE_TEST_SUITE_P(, 形の選択に答える,
                         ::testing::Values(答え方{"変えた駒を押す", 1, {}, 0, 駒_MAN歩},
                                           答え方{"元の駒を押す", 2, {}, 0, 駒_MANと},
                                           答え方{"盤の他の桝を押す", 3, {}, 0, 空桝},
                                           答え方{"窓の外を押す", 4, {}, 0, 空桝},
                                           答え方{"Enter", 0, {}, 13, 駒_MAN歩},
                                           答え方{"右からSpace", 0, {39}, ' ', 駒_MANと},
                                           答え方{"下でもう一方", 0, {40}, 13, 駒_MANと},
                                           答え方{"右右左で戻る", 0, {39, 39, 37}, ' ', 駒_MAN歩},
                                           答え方{"上下で戻る", 0, {38, 40}, 13, 駒_MAN歩},
                                           答え方{"右からEsc", 0, {39}, 27, 空桝},
                                           答え方{"ほかのキー", 0, {}, 'a', 空桝}));

// By keys alone: the cursor waits unseen while the arrows choose the form, and comes back.
TEST_F(形の選択, キーだけで選べてカーソルは選ぶ間だけ隠れる) {
    前に出た歩で始める();
    const auto& 模型 = 環.キャンバス面.模型;
    form->Form_KeyPress(13);  // shows the cursor on (5, 7)
    for (const int k : {38, 38, 38}) form->Form_KeyDown(k);
    form->Form_KeyPress(13);
    form->Form_KeyDown(38);
    EXPECT_TRUE(模型.カーソルあり(5, 3));
    form->Form_KeyPress(' ');
    ASSERT_TRUE(選択中());
    EXPECT_FALSE(模型.カーソルあり(5, 3));
    form->Form_KeyDown(39);
    EXPECT_FALSE(模型.カーソルあり(5, 3));
    form->Form_KeyPress(13);
    EXPECT_FALSE(選択中());
    EXPECT_EQ(s().棋譜.項目(1).盤面[5][3], 駒_MANと);
    EXPECT_TRUE(模型.カーソルあり(5, 3));
}

// A command that only changes the view leaves the chooser on top of what it redraws; the
// clock runs on while the player chooses.
TEST_F(形の選択, 見た目だけの操作では上に残る) {
    using 操作 = void (Form1::*)();
    const 操作 見た目の操作[] = {
        &Form1::UCHU_Click,   &Form1::SIDOU_Click, &Form1::SIDOU_Click,     &Form1::KEIKA_Click,
        &Form1::KEIKA_Click,  &Form1::BGM_Click,   &Form1::KIFU_READ_Click, &Form1::KIFU_LIST_Click,
        &Form1::OPTION_Click, &Form1::HINT_Click,  &Form1::VER_Click,
    };
    前に出た歩で始める();
    押す(5, 4);
    押す(5, 3);
    for (const 操作 f : 見た目の操作) {
        環.キャンバス面.消す();
        (form.get()->*f)();
        環.時刻.今 += 1;
        form->Timer1_Timer();
        ASSERT_TRUE(選択中());
        選択が見える(5, 3, 駒_MAN歩, 駒_MANと, true);
    }
    選択の駒を押す(5, 3, false);
    EXPECT_EQ(s().棋譜.項目(1).盤面[5][3], 駒_MANと);
    EXPECT_GE(s().棋譜.項目(1).後秒M, 11);
    盤が見える();
}

}  // namespace
}  // namespace kiryuza::testing
