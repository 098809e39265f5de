#include <gtest/gtest.h>

#include "support/board_picture.h"

namespace kiryuza {
namespace {

using testing::局面図;

struct 手例 {
    const char* 名;
    int 元X, 元Y, 先X, 先Y, 駒;
    int 期待;
};

void 全て確認(const 局面& 局, std::initializer_list<手例> 例) {
    for (const auto& e : 例) {
        EXPECT_EQ(移動チェック(局, e.元X, e.元Y, e.先X, e.先Y, e.駒), e.期待) << e.名;
    }
}

const 局面 空盤 = 局面図({
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・",
});

TEST(移動チェック, 一歩ずつの駒の動き) {
    全て確認(空盤, {
                       {"と forward", 5, 7, 5, 6, 駒_MANと, 定数_ON},
                       {"と forward left", 5, 7, 4, 6, 駒_MANと, 定数_ON},
                       {"と forward right", 5, 7, 6, 6, 駒_MANと, 定数_ON},
                       {"と sideways", 5, 7, 4, 7, 駒_MANと, 定数_ON},
                       {"と sideways right", 5, 7, 6, 7, 駒_MANと, 定数_ON},
                       {"と back", 5, 7, 5, 8, 駒_MANと, 定数_ON},
                       {"と back diagonal", 5, 7, 4, 8, 駒_MANと, 定数_OFF},
                       {"と back diagonal right", 5, 7, 6, 8, 駒_MANと, 定数_OFF},
                       {"と two squares", 5, 7, 5, 5, 駒_MANと, 定数_OFF},
                       {"COM 銀 forward", 5, 3, 5, 4, 駒_COM銀, 定数_ON},
                       {"COM 銀 forward diagonals", 5, 3, 4, 4, 駒_COM銀, 定数_ON},
                       {"COM 銀 forward diagonal r", 5, 3, 6, 4, 駒_COM銀, 定数_ON},
                       {"COM 銀 back diagonal", 5, 3, 4, 2, 駒_COM銀, 定数_ON},
                       {"COM 銀 back diagonal r", 5, 3, 6, 2, 駒_COM銀, 定数_ON},
                       {"COM 銀 straight back", 5, 3, 5, 2, 駒_COM銀, 定数_OFF},
                       {"COM 銀 sideways", 5, 3, 4, 3, 駒_COM銀, 定数_OFF},
                       {"MAN 歩 forward", 3, 5, 3, 4, 駒_MAN歩, 定数_ON},
                       {"MAN 歩 backward", 3, 5, 3, 6, 駒_MAN歩, 定数_OFF},
                       {"COM 歩 forward", 3, 5, 3, 6, 駒_COM歩, 定数_ON},
                       {"MAN 桂 jump", 5, 5, 4, 3, 駒_MAN桂, 定数_ON},
                       {"MAN 桂 jump right", 5, 5, 6, 3, 駒_MAN桂, 定数_ON},
                       {"MAN 桂 backwards", 5, 5, 4, 7, 駒_MAN桂, 定数_OFF},
                       {"COM 桂 jump", 5, 5, 4, 7, 駒_COM桂, 定数_ON},
                       {"王 any neighbour", 5, 5, 4, 6, 駒_MAN王, 定数_ON},
                       {"王 two away", 5, 5, 5, 7, 駒_MAN王, 定数_OFF},
                       {"COM gold-like 香成 back", 5, 5, 5, 4, 駒_COM香成, 定数_ON},
                       {"COM gold-like 桂成 back diagonal", 5, 5, 4, 4, 駒_COM桂成, 定数_OFF},
                       {"destination off the board", 1, 1, 0, 1, 駒_COM王, 定数_OFF},
                       {"destination below the board", 5, 9, 5, 10, 駒_MAN王, 定数_OFF},
                       {"same square", 5, 5, 5, 5, 駒_MAN王, 定数_OFF},
                       {"a code outside the table passes", 5, 5, 1, 9, 駒_MAN金成, 定数_ON},
                   });
}

TEST(移動チェック, 走り駒は途中の駒で止まる) {
    const 局面 局 = 局面図({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "v歩 ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^金 ・ ・^竜 ・",
        "^香 ・ ・ ・ ・ ・ ・ ・ ・",
    });
    全て確認(局, {
                     {"香 one step", 1, 9, 1, 8, 駒_MAN香, 定数_ON},
                     {"香 captures the blocker", 1, 9, 1, 7, 駒_MAN香, 定数_ON},
                     {"香 cannot pass the blocker", 1, 9, 1, 6, 駒_MAN香, 定数_OFF},
                     {"香 cannot step sideways", 1, 9, 2, 9, 駒_MAN香, 定数_OFF},
                     {"竜 steps diagonally", 8, 8, 7, 7, 駒_MAN飛成, 定数_ON},
                     {"竜 slides left to the blocker's neighbour", 8, 8, 6, 8, 駒_MAN飛成, 定数_ON},
                     {"竜 cannot take its own gold", 8, 8, 5, 8, 駒_MAN飛成, 定数_OFF},
                     {"竜 cannot pass its own gold", 8, 8, 4, 8, 駒_MAN飛成, 定数_OFF},
                     {"竜 slides up the file", 8, 8, 8, 1, 駒_MAN飛成, 定数_ON},
                     {"竜 no long diagonal", 8, 8, 6, 6, 駒_MAN飛成, 定数_OFF},
                     {"馬 slides the diagonal", 9, 1, 2, 8, 駒_COM角成, 定数_ON},
                     {"馬 captures at the end of the diagonal", 9, 1, 1, 9, 駒_COM角成, 定数_ON},
                     {"馬 steps orthogonally", 5, 5, 5, 4, 駒_MAN角成, 定数_ON},
                     {"馬 no long orthogonal", 5, 5, 5, 3, 駒_MAN角成, 定数_OFF},
                     {"角 captures the gold", 3, 6, 5, 8, 駒_COM角, 定数_ON},
                     {"角 cannot pass the gold", 3, 6, 6, 9, 駒_COM角, 定数_OFF},
                     {"角 no step orthogonally", 5, 5, 5, 4, 駒_MAN角, 定数_OFF},
                     {"飛 no diagonal step", 5, 5, 4, 4, 駒_MAN飛, 定数_OFF},
                 });
    EXPECT_EQ(移動チェック飛車(局, 1, 9, 1, 6), 定数_OFF);
    EXPECT_EQ(移動チェック飛車(局, 1, 9, 3, 8), 定数_OFF);
    EXPECT_EQ(移動チェック角(局, 2, 6, 5, 9), 定数_ON);
    EXPECT_EQ(移動チェック角(局, 2, 6, 5, 8), 定数_OFF);
}

TEST(移動チェック, 打ち駒) {
    局面 局 = 局面図({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・^歩 ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v歩 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    調査_2歩フラグ設定(局);
    全て確認(局, {
                     {"onto an occupied square", 持駒列_MAN, 3, 3, 6, 駒_MANと, 定数_OFF},
                     {"onto an opposing piece", 持駒列_MAN, 3, 5, 8, 駒_MAN金, 定数_OFF},
                     {"second pawn in the column", 持駒列_MAN, 3, 3, 4, 駒_MAN歩, 定数_OFF},
                     {"promoted pawn in that column", 持駒列_MAN, 3, 3, 4, 駒_MANと, 定数_ON},
                     {"pawn in another column", 持駒列_MAN, 3, 4, 4, 駒_MAN歩, 定数_ON},
                     {"MAN pawn on row 1", 持駒列_MAN, 3, 4, 1, 駒_MAN歩, 定数_OFF},
                     {"MAN lance on row 1", 持駒列_MAN, 4, 4, 1, 駒_MAN香, 定数_OFF},
                     {"MAN knight on row 2", 持駒列_MAN, 5, 4, 2, 駒_MAN桂, 定数_OFF},
                     {"MAN knight on row 3", 持駒列_MAN, 5, 4, 3, 駒_MAN桂, 定数_ON},
                     {"MAN gold on row 1", 持駒列_MAN, 7, 4, 1, 駒_MAN金, 定数_ON},
                     {"COM pawn column flagged", 持駒列_COM, 1, 5, 5, 駒_COM歩, 定数_OFF},
                     {"COM pawn on row 9", 持駒列_COM, 1, 4, 9, 駒_COM歩, 定数_OFF},
                     {"COM knight on row 8", 持駒列_COM, 3, 4, 8, 駒_COM桂, 定数_OFF},
                     {"COM knight on row 7", 持駒列_COM, 3, 4, 7, 駒_COM桂, 定数_ON},
                     {"COM promoted rook anywhere empty", 持駒列_COM, 7, 9, 9, 駒_COM飛成, 定数_ON},
                 });
}

TEST(移動チェック, 王も取れる) {
    const 局面 局 = 局面図({
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
    EXPECT_EQ(移動チェック(局, 5, 2, 5, 1, 駒_MAN金), 定数_ON);
    EXPECT_EQ(移動チェック(局, 5, 1, 5, 2, 駒_COM王), 定数_ON);
}

TEST(移動後チェック, 行き所のない駒) {
    EXPECT_EQ(移動後チェック(1, 駒_MAN歩), 定数_OFF);
    EXPECT_EQ(移動後チェック(1, 駒_MANと), 定数_ON);
    EXPECT_EQ(移動後チェック(1, 駒_MAN香), 定数_OFF);
    EXPECT_EQ(移動後チェック(2, 駒_MAN香), 定数_ON);
    EXPECT_EQ(移動後チェック(2, 駒_MAN桂), 定数_OFF);
    EXPECT_EQ(移動後チェック(3, 駒_MAN桂), 定数_ON);
    EXPECT_EQ(移動後チェック(9, 駒_COM歩), 定数_OFF);
    EXPECT_EQ(移動後チェック(9, 駒_COM香), 定数_OFF);
    EXPECT_EQ(移動後チェック(8, 駒_COM桂), 定数_OFF);
    EXPECT_EQ(移動後チェック(7, 駒_COM桂), 定数_ON);
    EXPECT_EQ(移動後チェック(9, 駒_COM銀), 定数_ON);
}

TEST(調査_2歩フラグ設定, 成った歩は数えない) {
    局面 局 = 局面図({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・v歩 ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^と ・ ・ ・ ・ ・ ・ ・^歩",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    局.二歩フラグMAN[1] = 1;  // stale flags from an earlier survey are cleared
    調査_2歩フラグ設定(局);
    for (int x = 1; x <= 9; ++x) {
        EXPECT_EQ(局.二歩フラグMAN[x], x == 9 ? 1 : 0) << x;
        EXPECT_EQ(局.二歩フラグCOM[x], x == 2 ? 1 : 0) << x;
    }
}

}  // namespace
}  // namespace kiryuza
