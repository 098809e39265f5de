#include <gtest/gtest.h>

#include <cstring>

#include "engine/engine.h"
#include "support/board_picture.h"

namespace kiryuza {
namespace {

using testing::盤図;

class 詰め : public ::testing::Test {
  protected:
    局面 局;
    思考エンジン エンジン{局};

    void 準備(const std::array<std::string_view, 9>& 行) {
        盤図(局, 行);
        調査_2歩フラグ設定(局);
        エンジン.勢力調査();
    }
    void COM持駒(int k, int n) {
        局.持駒COM[k] = n;
        局.持駒総数COM = 0;
        for (int i = 1; i <= 7; ++i) 局.持駒総数COM += 局.持駒COM[i];
    }
    void MAN持駒(int k, int n) {
        局.持駒MAN[k] = n;
        局.持駒総数MAN = 0;
        for (int i = 1; i <= 7; ++i) 局.持駒総数MAN += 局.持駒MAN[i];
    }
};

constexpr std::array<std::string_view, 9> 飛車の王手 = {
    "v歩 ・ ・v歩v王v歩 ・ ・ ・", " ・ ・ ・v歩 ・v歩 ・ ・ ・", " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・^飛 ・ ・ ・ ・", " ・ ・ ・ ・ ・ ・ ・ ・ ・", " ・ ・ ・ ・ ・ ・ ・ ・ ・",
    " ・ ・ ・ ・ ・ ・ ・ ・ ・", " ・ ・ ・ ・ ・ ・ ・ ・ ・", " ・ ・ ・ ・^王 ・ ・ ・ ・",
};

TEST_F(詰め, 王手でなければ詰みではない) {
    準備({
        " ・ ・ ・v歩v王v歩 ・ ・ ・",
        " ・ ・ ・v歩v歩v歩 ・ ・ ・",
        " ・ ・ ・^金^金^金 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    // Boxed in, but not attacked.
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_OFF);
}

TEST_F(詰め, 遠い飛車の王手は持駒を打って防げる) {
    準備(飛車の王手);
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_ON);
    COM持駒(5, 1);
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_OFF);
}

TEST_F(詰め, 歩だけの持駒は打てる桝でしか防げない) {
    準備(飛車の王手);
    COM持駒(1, 2);
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_OFF);
    // A COM pawn beyond the rook in the same column forbids the pawn drop.
    局.盤面[5][7] = 駒_COM歩;
    調査_2歩フラグ設定(局);
    エンジン.勢力調査();
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_ON);
}

TEST_F(詰め, 隣の金や桂の王手は打って防げない) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・^金 ・ ・ ・ ・",
        " ・ ・ ・ ・^歩 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    COM持駒(5, 3);
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_ON);

    準備({
        " ・ ・ ・v歩v王v歩 ・ ・ ・",
        " ・ ・ ・v桂v歩v歩 ・ ・ ・",
        " ・ ・ ・^桂 ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_ON);
    // A piece that can take the knight saves the king.
    局.盤面[4][2] = 駒_COM歩;
    エンジン.勢力調査();
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_OFF);
}

TEST_F(詰め, 両王手は一枚の合駒では防げない) {
    準備({
        " ・ ・ ・v歩v王v歩 ・ ・ ・",
        " ・ ・ ・ ・ ・v歩 ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^角 ・ ・ ・^飛 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    COM持駒(5, 1);
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_ON);
}

TEST_F(詰め, 王の逃げ道と盤面の復元) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・^金 ・ ・ ・ ・",
        " ・ ・ ・ ・^歩 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    // Remove the pawn's support: the king takes the gold.
    局.盤面[5][3] = 空桝;
    エンジン.勢力調査();
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_OFF);
    // A defence by capture runs trial surveys; the board comes back exactly.
    準備(飛車の王手);
    局.盤面[6][3] = 駒_COM金;
    エンジン.勢力調査();
    const 局面 前 = 局;
    EXPECT_EQ(エンジン.詰めかCOM(), 定数_OFF);
    EXPECT_EQ(std::memcmp(局.盤面, 前.盤面, sizeof 局.盤面), 0);
}

TEST_F(詰め, MANの王の詰み) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・v歩 ・ ・ ・ ・",
        " ・ ・ ・ ・v金 ・ ・ ・ ・",
        " ・ ・ ・^歩^王^歩 ・ ・ ・",
    });
    勢力図 前;
    std::memcpy(&前, &エンジン.図, sizeof 前);
    EXPECT_EQ(エンジン.詰めかMAN(), 定数_ON);
    EXPECT_EQ(std::memcmp(&前, &エンジン.図, sizeof 前), 0);
    // A MAN silver that can take the gold defends.
    局.盤面[6][9] = 駒_MAN銀;
    エンジン.勢力調査();
    EXPECT_EQ(エンジン.詰めかMAN(), 定数_OFF);
    // A rook check from afar can be blocked by a dropped gold.
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・v飛 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・^歩 ・^歩 ・ ・ ・",
        " ・ ・ ・^歩^王^歩 ・ ・ ・",
    });
    EXPECT_EQ(エンジン.詰めかMAN(), 定数_ON);
    MAN持駒(5, 1);
    EXPECT_EQ(エンジン.詰めかMAN(), 定数_OFF);
}

TEST_F(詰め, 自王逃道は空いていて利きのない隣の桝) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・^金^王^金 ・ ・ ・",
    });
    EXPECT_EQ(エンジン.調査_自王逃道(), 3);
    EXPECT_EQ(エンジン.思考.逃道印_MAN[4][8], 1);
    EXPECT_EQ(エンジン.思考.逃道印_MAN[4][9], 0);
    // A COM piece bearing on (6,8) and a COM piece on (4,8) leave one square.
    局.盤面[7][7] = 駒_COM銀;
    局.盤面[4][8] = 駒_COM歩;
    エンジン.勢力調査();
    EXPECT_EQ(エンジン.調査_自王逃道(), 1);
}

}  // namespace
}  // namespace kiryuza
