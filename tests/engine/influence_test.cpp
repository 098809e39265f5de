#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/board_picture.h"

namespace kiryuza {
namespace {

using testing::盤図;

class 勢力調査テスト : public ::testing::Test {
  protected:
    局面 局;
    思考エンジン エンジン{局};
    const 勢力図& 図 = エンジン.図;

    void 調査(const std::array<std::string_view, 9>& 行) {
        盤図(局, 行);
        エンジン.勢力調査();
    }
};

TEST_F(勢力調査テスト, 空の盤では何も記録されない) {
    調査({
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
    for (int x = 0; x <= 9; ++x)
        for (int y = 0; y <= 9; ++y) {
            const bool 盤内 = x >= 1 && y >= 1;
            EXPECT_EQ(図.勢力数_MAN[x][y], 0);
            EXPECT_EQ(図.勢力数_COM[x][y], 0);
            EXPECT_EQ(図.王手_MAN[x][y], 0);
            EXPECT_EQ(図.王手_COM[x][y], 0);
            // Index 0 of every table stays 0.
            EXPECT_EQ(図.攻駒_MAN[x][y], 盤内 ? -999 : 0);
            EXPECT_EQ(図.守駒_MAN[x][y], 盤内 ? 999 : 0);
            EXPECT_EQ(図.守駒_COM[x][y], 盤内 ? 999 : 0);
            EXPECT_EQ(図.攻駒_COM[x][y], 盤内 ? 999 : 0);
        }
}

TEST_F(勢力調査テスト, 最後の段の歩と桂は何も利かない) {
    調査({
        "^歩^桂 ・ ・ ・ ・ ・ ・ ・",
        " ・ ・^桂 ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・v桂 ・",
        " ・ ・ ・ ・ ・ ・v桂 ・v歩",
    });
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            EXPECT_EQ(図.勢力数_MAN[x][y], 0) << x << "," << y;
            EXPECT_EQ(図.勢力数_COM[x][y], 0) << x << "," << y;
        }
}

TEST_F(勢力調査テスト, 安い攻め駒は先に見つけた方) {
    調査({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v金 ・ ・ ・ ・",
        " ・ ・ ・^銀 ・^銀 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    EXPECT_EQ(図.勢力数_MAN[5][5], 2);
    EXPECT_EQ(図.攻駒_MAN[5][5], -100);
    EXPECT_EQ(図.攻駒X_MAN[5][5], 4);
    EXPECT_EQ(図.攻駒Y_MAN[5][5], 6);
    // A COM gold records no attack on a MAN piece.
    EXPECT_EQ(図.攻駒_COM[4][6], 999);
    EXPECT_EQ(図.勢力数_COM[4][6], 1);
}

TEST_F(勢力調査テスト, 歩は飛車に勝ち_とは歩に負ける) {
    調査({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^飛 ・ ・v銀 ・ ・ ・ ・ ・",
        " ・ ・ ・^歩^と ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    EXPECT_EQ(図.勢力数_MAN[4][5], 3);
    EXPECT_EQ(図.攻駒_MAN[4][5], -10);
    EXPECT_EQ(図.攻駒X_MAN[4][5], 4);
    EXPECT_EQ(図.攻駒Y_MAN[4][5], 6);
}

TEST_F(勢力調査テスト, 桂の王手は桂と王の桝に九) {
    調査({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・^桂 ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            const bool 九 = (x == 4 && y == 3) || (x == 5 && y == 1);
            EXPECT_EQ(図.王手_MAN[x][y], 九 ? 9 : 0) << x << "," << y;
        }
    EXPECT_EQ(局.王位置X_COM, 5);
    EXPECT_EQ(局.王位置Y_COM, 1);
    EXPECT_EQ(局.王位置X_MAN, 5);
    EXPECT_EQ(局.王位置Y_MAN, 9);
}

TEST_F(勢力調査テスト, 金の王手は金の桝だけ) {
    調査({
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
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y)
            EXPECT_EQ(図.王手_MAN[x][y], x == 5 && y == 2 ? 9 : 0) << x << "," << y;
    // The MAN gold is defended by nothing; the COM king bears on it.
    EXPECT_EQ(図.勢力数_COM[5][2], 1);
    EXPECT_EQ(図.攻駒_COM[5][2], 999);  // the king records no attack
}

TEST_F(勢力調査テスト, 飛車の王手は間の桝に一_王を通り抜ける) {
    調査({
        " ・ ・ ・ ・v金 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^飛 ・ ・^王 ・",
    });
    for (int y = 4; y <= 8; ++y) EXPECT_EQ(図.王手_MAN[5][y], 1) << y;
    EXPECT_EQ(図.王手_MAN[5][9], 9);
    EXPECT_EQ(図.王手_MAN[5][3], 0);
    EXPECT_EQ(図.勢力数_MAN[5][3], 1);
    EXPECT_EQ(図.勢力数_MAN[5][2], 1);
    EXPECT_EQ(図.勢力数_MAN[5][1], 1);
    EXPECT_EQ(図.攻駒_MAN[5][1], -900);
    // Along row 9 the rook stops at its own king, which counts as defended.
    EXPECT_EQ(図.勢力数_MAN[8][9], 1);
    EXPECT_EQ(図.守駒_MAN[8][9], -900);
    EXPECT_EQ(図.勢力数_MAN[9][9], 1);  // the king's own step, not the rook's
}

TEST_F(勢力調査テスト, 隣の飛車の王手は自分の桝だけ) {
    調査({
        " ・ ・ ・ ・v王^飛 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    int 印 = 0;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) 印 += 図.王手_MAN[x][y] != 0;
    EXPECT_EQ(印, 1);
    EXPECT_EQ(図.王手_MAN[6][1], 9);
    // The line passes through the king to the edge.
    EXPECT_EQ(図.勢力数_MAN[1][1], 1);
}

TEST_F(勢力調査テスト, 守り駒の位置は安い駒の位置を残す) {
    // The silver at (4,4) and the pawn at (5,4) both defend (5,5). The pawn is met later and
    // is cheaper, but records no position: the position still names the silver.
    調査({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・v銀v歩 ・ ・ ・ ・",
        " ・ ・ ・ ・v香 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    EXPECT_EQ(図.守駒_COM[5][5], 10);
    EXPECT_EQ(図.守駒X_COM[5][5], 4);
    EXPECT_EQ(図.守駒Y_COM[5][5], 4);
}

TEST_F(勢力調査テスト, 金の動きの駒はすべて金として守る) {
    調査({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・v全 ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v角vと ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    EXPECT_EQ(図.守駒_COM[5][4], 110);
    EXPECT_EQ(図.勢力数_COM[5][4], 2);
    // Neither gold-like mover wrote a position (none was recorded before).
    EXPECT_EQ(図.守駒X_COM[5][4], 0);
}

TEST_F(勢力調査テスト, 馬の斜めは角として記録し縦横は馬として記録する) {
    調査({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v銀 ・ ・ ・ ・",
        " ・ ・ ・ ・^馬v金 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    EXPECT_EQ(図.攻駒_MAN[5][4], -801);
    EXPECT_EQ(図.攻駒_MAN[6][5], -801);
    調査({
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・v銀 ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^馬 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    EXPECT_EQ(図.攻駒_MAN[3][3], -800);
}

TEST_F(勢力調査テスト, 角の斜めは王を通り抜けて次の駒まで) {
    調査({
        "v角 ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・^王 ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^歩 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    });
    EXPECT_EQ(図.王手_COM[2][2], 1);
    EXPECT_EQ(図.王手_COM[1][1], 9);
    EXPECT_EQ(図.勢力数_COM[4][4], 1);
    EXPECT_EQ(図.勢力数_COM[5][5], 1);
    EXPECT_EQ(図.攻駒_COM[5][5], 800);
    EXPECT_EQ(図.攻駒X_COM[5][5], 1);
    EXPECT_EQ(図.勢力数_COM[6][6], 0);
}

TEST_F(勢力調査テスト, 王がいなくなっても王の位置は前の値を残す) {
    調査({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・^王 ・ ・ ・ ・ ・",
    });
    局.盤面[4][9] = 空桝;
    局.盤面[5][1] = 空桝;
    エンジン.勢力調査();
    EXPECT_EQ(局.王位置X_MAN, 4);
    EXPECT_EQ(局.王位置Y_MAN, 9);
    EXPECT_EQ(局.王位置X_COM, 5);
    EXPECT_EQ(局.王位置Y_COM, 1);
}

TEST_F(勢力調査テスト, 香は最後の段で何も利かない) {
    調査({
        "^香 ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・v香",
    });
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            EXPECT_EQ(図.勢力数_MAN[x][y], 0);
            EXPECT_EQ(図.勢力数_COM[x][y], 0);
        }
}

}  // namespace
}  // namespace kiryuza
