#include <gtest/gtest.h>

#include <memory>

#include "engine/engine.h"
#include "support/board_picture.h"

namespace kiryuza {
namespace {

using testing::盤図;

class 探り : public ::testing::Test {
  protected:
    局面 局;
    思考エンジン エンジン{局};

    void 準備(const std::array<std::string_view, 9>& 行) {
        盤図(局, 行);
        エンジン.勢力調査();
    }
    int 印の数(const 盤表& 表) {
        int n = 0;
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) n += 表[x][y];
        return n;
    }
};

TEST_F(探り, 王と飛車の間の駒一枚だけが動けない) {
    準備({
        " ・ ・ ・ ・v飛 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^金 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・v王 ・ ・ ・ ・ ・ ・^歩",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    const 局面 前 = 局;
    エンジン.調査_移動不可駒();
    EXPECT_EQ(エンジン.思考.移動不可駒_MAN[5][5], 1);
    // Lifting the king itself does not open the line: the gold still blocks it.
    EXPECT_EQ(エンジン.思考.移動不可駒_MAN[5][9], 0);
    EXPECT_EQ(印の数(エンジン.思考.移動不可駒_MAN), 1);
    EXPECT_EQ(エンジン.思考.移動不可駒有_COM, 定数_OFF);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(局.盤面[x][y], 前.盤面[x][y]);

    // With two pieces between, neither is pinned.
    局.盤面[5][6] = 駒_MAN歩;
    エンジン.調査_移動不可駒();
    EXPECT_EQ(エンジン.思考.移動不可駒_MAN[5][5], 0);
    EXPECT_EQ(エンジン.思考.移動不可駒_MAN[5][6], 0);
}

TEST_F(探り, 王手がかかっていれば全ての駒に印) {
    準備({
        " ・ ・ ・ ・v飛 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・v桂 ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "^歩v王 ・ ・ ・ ・ ・ ・^歩",
        " ・ ・ ・^銀 ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    エンジン.調査_移動不可駒();
    EXPECT_EQ(エンジン.思考.移動不可駒_MAN[1][7], 1);
    EXPECT_EQ(エンジン.思考.移動不可駒_MAN[9][7], 1);
    EXPECT_EQ(エンジン.思考.移動不可駒_MAN[4][8], 1);
    EXPECT_EQ(エンジン.思考.移動不可駒_MAN[5][9], 1);
    EXPECT_EQ(印の数(エンジン.思考.移動不可駒_MAN), 4);
}

TEST_F(探り, 桂や銀は釘付けにしない_COMの釘付けは旗) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・v金 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^香 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・v桂 ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^歩 ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    エンジン.調査_移動不可駒();
    EXPECT_EQ(印の数(エンジン.思考.移動不可駒_MAN), 0);
    EXPECT_EQ(エンジン.思考.移動不可駒有_COM, 定数_ON);
}

TEST_F(探り, 持角狙座標は王から利きのない斜めの空桝) {
    準備({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・v歩 ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    エンジン.調査_持角狙座標();
    const auto& 狙 = エンジン.思考.持角狙座標_MAN;
    EXPECT_EQ(狙[4][2], 0);  // next to the king: the king bears on it
    EXPECT_EQ(狙[3][3], 1);  // two steps on a free diagonal
    EXPECT_EQ(狙[1][5], 1);
    EXPECT_EQ(狙[7][3], 0);  // occupied
    EXPECT_EQ(狙[8][4], 0);  // behind the pawn on the diagonal
    EXPECT_EQ(狙[5][3], 0);  // not on a diagonal
}

TEST(調査_移動結果, 変わった桝のうち空でない最初の桝) {
    auto 棋譜 = std::make_unique<棋譜表>();
    局面 局;
    初期配置(局);
    棋譜->開始(局, 0, 0);
    auto 記録 = [&](int 元Y, int 先Y) {
        棋譜->手順保存(局, 0, 0, 0, 0);
        局.盤面[5][先Y] = 局.盤面[5][元Y];
        if (先Y != 元Y) 局.盤面[5][元Y] = 空桝;
        棋譜->着手後保存(局);
    };
    記録(7, 6);
    // A capture: the promoted pawn takes on (5,3)... via two steps in one entry.
    記録(6, 3);
    // An entry identical to the one before.
    記録(3, 3);

    int x = -1, y = -1, c = -1;
    調査_移動結果(*棋譜, 1, x, y, c);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    EXPECT_EQ(c, 駒_MANと);
    調査_移動結果(*棋譜, 2, x, y, c);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 3);
    EXPECT_EQ(c, 駒_MANと);
    x = y = c = 77;
    調査_移動結果(*棋譜, 3, x, y, c);
    EXPECT_EQ(x, 77);
    EXPECT_EQ(y, 77);
    EXPECT_EQ(c, 77);
}

}  // namespace
}  // namespace kiryuza
