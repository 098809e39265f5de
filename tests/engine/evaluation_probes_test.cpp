#include <gtest/gtest.h>

#include <cstring>

#include "engine/engine.h"
#include "support/board_picture.h"

namespace kiryuza {
namespace {

using testing::盤図;

class 評価の探り : public ::testing::Test {
  protected:
    局面 局;
    思考エンジン エンジン{局};

    void 準備(const std::array<std::string_view, 9>& 行) {
        盤図(局, 行);
        エンジン.勢力調査();
    }
};

TEST_F(評価の探り, 移動可場所数は相手の利きのある桝を数えない) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・v金 ・ ・ ・ ・ ・",
        " ・ ・ ・^歩 ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    // All six steps of the gold count, the capture of the pawn included.
    EXPECT_EQ(エンジン.調査_移動可場所数(4, 5, 駒_COM金), 6);
    // A MAN gold on (2,5) bears on (3,5): that square drops out, although the COM gold bears
    // on it too.
    局.盤面[2][5] = 駒_MAN金;
    エンジン.勢力調査();
    EXPECT_EQ(エンジン.調査_移動可場所数(4, 5, 駒_COM金), 5);
    // The piece need not stand on the square asked about; a pawn on row 9 has no move.
    EXPECT_EQ(エンジン.調査_移動可場所数(5, 1, 駒_COM歩), 1);
    EXPECT_EQ(エンジン.調査_移動可場所数(1, 9, 駒_COM歩), 0);
}

TEST_F(評価の探り, 桂狙いは五段目までは零) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^飛 ・v歩 ・^角 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    EXPECT_EQ(エンジン.調査_桂狙い(3, 5), 0);
    // The same shape on row 7: a knight dropped on (4,5) would attack the pawn's square and
    // the bishop.
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^飛 ・v歩 ・^角 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    // The rook on (1,7) is the pawn's cheapest attacker, so only the bishop side counts.
    EXPECT_EQ(エンジン.調査_桂狙い(3, 7), 800);
}

TEST_F(評価の探り, 自守駒直進駒は盤を元に戻す) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v歩 ・ ・ ・ ・",
        " ・ ・ ・ ・^と ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^飛 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    const 局面 前 = 局;
    // The rook covers (5,4) once the piece there is lifted.
    EXPECT_EQ(エンジン.調査_自守駒MAN_直進駒(5, 4), 定数_ON);
    // (5,3) is screened by the promoted pawn on (5,4): the rook is found but cannot reach.
    EXPECT_EQ(エンジン.調査_自守駒MAN_直進駒(5, 3), 定数_OFF);
    EXPECT_EQ(std::memcmp(局.盤面, 前.盤面, sizeof 局.盤面), 0);
    // A COM piece below ends the scan.
    局.盤面[5][6] = 駒_COM歩;
    EXPECT_EQ(エンジン.調査_自守駒MAN_直進駒(5, 4), 定数_OFF);
}

TEST_F(評価の探り, 周辺状況は盤の隅では三桝だけ) {
    準備({
        " ・v飛 ・ ・ ・ ・ ・ ・ ・",
        "v角v王 ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・^飛",
    });
    EXPECT_EQ(エンジン.調査_周辺状況(1, 1), -3);
    EXPECT_EQ(エンジン.調査_周辺状況(9, 8), 0);  // a MAN rook does not count
    EXPECT_EQ(エンジン.調査_周辺状況(3, 3), -1);
}

TEST_F(評価の探り, 狙い桝がなければ角注意は零) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v金 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・^角 ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    std::memset(エンジン.思考.持角狙座標_MAN, 0, sizeof(盤表));
    EXPECT_EQ(エンジン.盤評価_自角注意_COM(5, 5, 駒_COM金), 0);
    // With the targets surveyed, the gold on (5,5) stands on a diagonal to the target (3,3).
    // The human bishop on (2,8) cannot reach it, but one dropped from the hand could.
    エンジン.調査_持角狙座標();
    EXPECT_EQ(エンジン.盤評価_自角注意_COM(5, 5, 駒_COM金), 0);
    局.持駒MAN[6] = 1;
    EXPECT_EQ(エンジン.盤評価_自角注意_COM(5, 5, 駒_COM金), 駒_COM金);
}

}  // namespace
}  // namespace kiryuza
