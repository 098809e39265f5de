#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "engine/engine.h"
#include "support/board_picture.h"

namespace kiryuza {
namespace {

using testing::盤図;

struct 記録観察 : 探索観察 {
    int 時計回数 = 0;
    struct 評価記録 {
        int 元X, 元Y, 先X, 先Y, 駒;
        評価値 値;
    };
    std::vector<評価記録> 評価一覧;
    void 時計() override { ++時計回数; }
    void 評価(int a, int b, int c, int d, int e, 評価値 v) override {
        評価一覧.push_back({a, b, c, d, e, v});
    }
};

class 探索テスト : public ::testing::Test {
  protected:
    局面 局;
    思考エンジン エンジン{局};
    記録観察 観察;

    最善手 探す(const std::array<std::string_view, 9>& 行) {
        盤図(局, 行);
        エンジン.勢力調査();
        return エンジン.探索(観察);
    }
};

TEST_F(探索テスト, 王を取る手は即座に選ばれ探索を打ち切る) {
    const 最善手 m = 探す({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・v金 ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・v銀",
    });
    ASSERT_TRUE(m.有り);
    EXPECT_EQ(m.元X, 6);
    EXPECT_EQ(m.元Y, 8);
    EXPECT_EQ(m.先X, 5);
    EXPECT_EQ(m.先Y, 9);
    EXPECT_EQ(m.評価, 点(9999));
    // Nothing after the capture was evaluated: the silver on column 9 was never tried.
    EXPECT_EQ(観察.評価一覧.back().先X, 5);
    for (const auto& e : 観察.評価一覧) EXPECT_NE(e.元X, 9);
}

TEST_F(探索テスト, 盤面も持駒も元のまま_時計は列ごとと持駒ごと) {
    初期配置(局);
    局.持駒COM[1] = 1;
    局.持駒COM[7] = 1;
    局.持駒総数COM = 2;
    局.盤面[5][3] = 空桝;
    const 局面 前 = 局;
    エンジン.勢力調査();
    const 最善手 m = エンジン.探索(観察);
    ASSERT_TRUE(m.有り);
    EXPECT_EQ(std::memcmp(局.盤面, 前.盤面, sizeof 局.盤面), 0);
    EXPECT_EQ(std::memcmp(局.持駒COM, 前.持駒COM, sizeof 局.持駒COM), 0);
    EXPECT_EQ(局.持駒総数COM, 2);
    EXPECT_EQ(観察.時計回数, 9 + 7);
    // Drops of the pawn are tried as promoted pawns, of the rook as promoted rooks.
    bool 歩打 = false;
    bool 飛打 = false;
    for (const auto& e : 観察.評価一覧) {
        if (e.元X == 持駒列_COM && e.元Y == 1) 歩打 = e.駒 == 駒_COMと;
        if (e.元X == 持駒列_COM && e.元Y == 7) 飛打 = e.駒 == 駒_COM飛成;
    }
    EXPECT_TRUE(歩打);
    EXPECT_TRUE(飛打);
}

TEST_F(探索テスト, 持駒がなければ打つ手も時計もない) {
    探す({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    EXPECT_EQ(観察.時計回数, 9);
    for (const auto& e : 観察.評価一覧) EXPECT_GE(e.元X, 1);
}

TEST_F(探索テスト, 成るかどうか選べる手は両方の形を評価する) {
    // A promoted silver stepping into row 7 may stay promoted or fall back to a silver.
    探す({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・v全 ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    int 銀成 = 0;
    int 銀 = 0;
    for (const auto& e : 観察.評価一覧) {
        if (e.元X == 2 && e.元Y == 6 && e.先X == 2 && e.先Y == 7) {
            銀成 += e.駒 == 駒_COM銀成;
            銀 += e.駒 == 駒_COM銀;
        }
    }
    EXPECT_EQ(銀成, 1);
    EXPECT_EQ(銀, 1);
    // The form test asks about the piece before its change, so a promoted pawn entering row 9
    // is also tried as a plain pawn that could never move again.
    観察.評価一覧.clear();
    探す({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "vと ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    int と = 0;
    int 歩 = 0;
    for (const auto& e : 観察.評価一覧) {
        if (e.元X == 1 && e.元Y == 8 && e.先X == 1 && e.先Y == 9) {
            と += e.駒 == 駒_COMと;
            歩 += e.駒 == 駒_COM歩;
        }
    }
    EXPECT_EQ(と, 1);
    EXPECT_EQ(歩, 1);
}

TEST_F(探索テスト, 同点なら先に試した手) {
    const 最善手 m = 探す({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    ASSERT_TRUE(m.有り);
    評価値 最高 = 点(-99999);
    const 記録観察::評価記録* 最初 = nullptr;
    for (const auto& e : 観察.評価一覧) {
        if (e.値 > 最高) {
            最高 = e.値;
            最初 = &e;
        }
    }
    ASSERT_NE(最初, nullptr);
    EXPECT_EQ(m.評価, 最高);
    EXPECT_EQ(m.先X, 最初->先X);
    EXPECT_EQ(m.先Y, 最初->先Y);
}

TEST_F(探索テスト, 動ける駒がなければ手なし) {
    const 最善手 m = 探す({
        " ・ ・ ・ ・ ・ ・ ・ ・^王",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        "v歩v歩 ・ ・ ・ ・ ・ ・ ・",
        "v王v歩 ・ ・ ・ ・ ・ ・ ・",
    });
    EXPECT_FALSE(m.有り);
    EXPECT_TRUE(観察.評価一覧.empty());
}

}  // namespace
}  // namespace kiryuza
