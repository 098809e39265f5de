#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "rules/history.h"
#include "support/board_picture.h"

namespace kiryuza {
namespace {

using testing::局面図;

TEST(調査_駒成, 遠い三段で元の形に戻る) {
    局面 局;
    struct 例 {
        const char* 名;
        int 元X, 元Y, 先X, 先Y, 駒;
        int 期待, 結果;
    };
    const 例 表[] = {
        {"と enters row 3", 5, 4, 5, 3, 駒_MANと, 定数_ON, 駒_MAN歩},
        {"と leaves row 3 (no change)", 4, 3, 4, 4, 駒_MANと, 定数_OFF, 0},
        {"歩 never changes again", 5, 3, 5, 2, 駒_MAN歩, 定数_OFF, 0},
        {"馬 leaving the zone changes", 2, 2, 5, 5, 駒_MAN角成, 定数_ON, 駒_MAN角},
        {"竜 starting in the zone", 8, 3, 8, 5, 駒_MAN飛成, 定数_ON, 駒_MAN飛},
        {"全 inside own camp", 3, 9, 3, 8, 駒_MAN銀成, 定数_OFF, 0},
        {"COM 杏 enters row 7", 1, 6, 1, 7, 駒_COM香成, 定数_ON, 駒_COM香},
        {"COM 杏 to row 6", 1, 5, 1, 6, 駒_COM香成, 定数_OFF, 0},
        {"COM 全 leaving row 7", 3, 7, 3, 6, 駒_COM銀成, 定数_ON, 駒_COM銀},
        {"COM 圭 entering row 8", 2, 6, 3, 8, 駒_COM桂成, 定数_ON, 駒_COM桂},
        {"金 never changes", 4, 4, 4, 3, 駒_MAN金, 定数_OFF, 0},
        {"王 never changes", 5, 4, 5, 3, 駒_MAN王, 定数_OFF, 0},
        {"a MAN drop keeps its form", 持駒列_MAN, 6, 5, 1, 駒_MAN銀成, 定数_OFF, 0},
        {"a COM drop keeps its form", 持駒列_COM, 4, 5, 9, 駒_COM銀成, 定数_OFF, 0},
    };
    for (const auto& e : 表) {
        局.駒成結果 = 12345;
        EXPECT_EQ(調査_駒成(局, e.元X, e.元Y, e.先X, e.先Y, e.駒), e.期待) << e.名;
        EXPECT_EQ(局.駒成結果, e.期待 == 定数_ON ? e.結果 : 12345) << e.名;
    }
}

// Records every drawing request, to check what a move repaints.
struct 記録表示 : 局面表示 {
    std::vector<std::tuple<int, double, double>> 絵;
    int 自持盤 = 0;
    int 敵持盤 = 0;
    void 描画_絵(int c, double x, double y) override { 絵.emplace_back(c, x, y); }
    void 描画_自持盤() override { ++自持盤; }
    void 描画_敵持盤() override { ++敵持盤; }
};

局面 取り合い局面() {
    局面 局 = 局面図({
        " ・ ・ ・ ・v王 ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・v飛 ・ ・ ・ ・ ・ ・ ・",
        " ・^歩 ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・ ・ ・ ・ ・ ・",
        " ・ ・ ・ ・^王 ・ ・ ・ ・",
    });
    局.王位置X_MAN = 5;
    局.王位置Y_MAN = 9;
    return 局;
}

TEST(駒移動, 取った駒は相手の持駒になる) {
    局面 局 = 取り合い局面();
    記録表示 表示;
    駒移動(局, 表示, 2, 5, 2, 4, 駒_MAN歩);
    EXPECT_EQ(局.盤面[2][4], 駒_MAN歩);
    EXPECT_EQ(局.盤面[2][5], 空桝);
    EXPECT_EQ(局.持駒MAN[7], 1);
    EXPECT_EQ(局.持駒総数MAN, 1);
    EXPECT_EQ(局.持駒総数COM, 0);
    EXPECT_EQ(表示.自持盤, 1);
    EXPECT_EQ(表示.敵持盤, 0);
    ASSERT_EQ(表示.絵.size(), 2u);
    EXPECT_EQ(表示.絵[0], std::make_tuple(空桝, 2.0, 5.0));
    EXPECT_EQ(表示.絵[1], std::make_tuple(駒_MAN歩, 2.0, 4.0));

    // A captured promoted rook counts as a rook as well.
    局.盤面[7][7] = 駒_COM飛成;
    駒移動(局, 表示, 5, 9, 6, 8, 駒_MAN王);
    局.盤面[6][8] = 駒_MAN飛;
    駒移動(局, 表示, 6, 8, 7, 7, 駒_MAN飛);
    EXPECT_EQ(局.持駒MAN[7], 2);
    EXPECT_EQ(局.持駒総数MAN, 2);
}

TEST(駒移動, 打つと持駒が減る) {
    局面 局 = 取り合い局面();
    局.持駒MAN[7] = 1;
    局.持駒総数MAN = 1;
    局.持駒COM[7] = 2;
    局.持駒総数COM = 2;
    記録表示 表示;
    // The MAN hand slot on screen row 9 holds the rook (index 7).
    駒移動(局, 表示, 持駒列_MAN, 9, 5, 5, 駒_MAN飛成);
    EXPECT_EQ(局.盤面[5][5], 駒_MAN飛成);
    EXPECT_EQ(局.持駒MAN[7], 0);
    EXPECT_EQ(局.持駒総数MAN, 0);
    EXPECT_EQ(表示.自持盤, 1);
    // A COM drop gives the hand index itself as origin row.
    駒移動(局, 表示, 持駒列_COM, 7, 9, 5, 駒_COM飛成);
    EXPECT_EQ(局.盤面[9][5], 駒_COM飛成);
    EXPECT_EQ(局.持駒COM[7], 1);
    EXPECT_EQ(局.持駒総数COM, 1);
    EXPECT_EQ(表示.敵持盤, 1);
}

TEST(駒移動, 王を取ると勝者が決まり持駒は変わらない) {
    局面 局 = 取り合い局面();
    局.手番値MAN = 手番_先手;
    局.手番値COM = 手番_後手;
    局.盤面[5][8] = 駒_COM金;
    記録表示 表示;
    駒移動(局, 表示, 5, 8, 5, 9, 駒_COM金);
    EXPECT_EQ(局.勝者, 手番_後手);
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(局.持駒MAN[k], 0);
        EXPECT_EQ(局.持駒COM[k], 0);
    }
    // The total still counts the king; the game is over and nobody reads it again.
    EXPECT_EQ(局.持駒総数COM, 1);
}

TEST(駒移動, MANの王の位置を追う) {
    局面 局 = 取り合い局面();
    記録表示 表示;
    駒移動(局, 表示, 5, 9, 4, 8, 駒_MAN王);
    EXPECT_EQ(局.王位置X_MAN, 4);
    EXPECT_EQ(局.王位置Y_MAN, 8);
}

TEST(駒取得, 取った駒の種類) {
    局面 局;
    駒取得(局, 駒_COM飛);
    駒取得(局, 駒_COM飛成);
    駒取得(局, 駒_COM金成);
    駒取得(局, 駒_MANと);
    駒取得(局, 駒_MAN桂);
    EXPECT_EQ(局.持駒MAN[7], 2);
    EXPECT_EQ(局.持駒MAN[5], 1);
    EXPECT_EQ(局.持駒COM[1], 1);
    EXPECT_EQ(局.持駒COM[3], 1);
    EXPECT_EQ(局.勝者, 手番_なし);
    局.手番値MAN = 手番_後手;
    駒取得(局, 駒_COM王);
    EXPECT_EQ(局.勝者, 手番_後手);
}

TEST(調査_持駒数, 手番値で手を選ぶ) {
    局面 局;
    局.手番値MAN = 手番_先手;
    局.手番値COM = 手番_後手;
    局.持駒MAN[1] = 3;
    局.持駒MAN[7] = 1;
    局.持駒COM[4] = 2;
    EXPECT_EQ(調査_持駒数(局, 手番_先手), 4);
    EXPECT_EQ(調査_持駒数(局, 手番_後手), 2);
    EXPECT_EQ(調査_持駒数(局, 手番_なし), 0);
}

TEST(棋譜表, 指した局面を順に記録し盤の局面が最後の項目になり500手で満杯) {
    auto 局 = std::make_unique<局面>();
    初期配置(*局);
    auto 棋譜 = std::make_unique<棋譜表>();
    棋譜->開始(*局, 0, 0);
    局面表示 無表示;
    const int 手[3][4] = {{5, 7, 5, 6}, {5, 3, 5, 4}, {4, 7, 4, 6}};
    double 秒 = 0;
    for (const auto& m : 手) {
        const int 駒 = 局->盤面[m[0]][m[1]];
        ASSERT_EQ(棋譜->手順保存(*局, 秒, 秒 + 1, 秒, 秒 + 2), 保存結果::保存);
        駒移動(*局, 無表示, m[0], m[1], m[2], m[3], 駒);
        棋譜->着手後保存(*局);
        秒 += 1;
    }
    EXPECT_EQ(棋譜->棋譜手数(), 3);
    EXPECT_EQ(棋譜->棋譜記録数(), 3);
    EXPECT_EQ(棋譜->項目(0).盤面[5][7], 駒_MANと);
    EXPECT_EQ(棋譜->項目(1).盤面[5][7], 空桝);
    EXPECT_EQ(棋譜->項目(1).盤面[5][3], 駒_COMと);
    EXPECT_EQ(棋譜->項目(2).盤面[5][4], 駒_COMと);
    EXPECT_EQ(棋譜->項目(3).盤面[4][6], 駒_MANと);
    // The position after a move takes the totals after it as its own.
    EXPECT_EQ(棋譜->項目(2).前秒M, 2);
    EXPECT_EQ(棋譜->項目(2).後秒C, 4);
    EXPECT_EQ(棋譜->項目(3).前秒M, 3);
    EXPECT_EQ(棋譜->項目(3).前秒C, 4);

    while (棋譜->空きあり()) {
        ASSERT_EQ(棋譜->手順保存(*局, 0, 0, 0, 0), 保存結果::保存);
        棋譜->着手後保存(*局);
    }
    EXPECT_EQ(棋譜->棋譜記録数(), 500);
    EXPECT_EQ(棋譜->手順保存(*局, 0, 0, 0, 0), 保存結果::満杯);
    EXPECT_EQ(棋譜->棋譜記録数(), 500);
    EXPECT_EQ(棋譜->棋譜手数(), 500);
}

TEST(棋譜表, 進めると戻すは記録の範囲を出ず途中から指すと後ろの項目は消える) {
    auto 局 = std::make_unique<局面>();
    初期配置(*局);
    auto 棋譜 = std::make_unique<棋譜表>();
    棋譜->開始(*局, 0, 0);
    EXPECT_FALSE(棋譜->戻す());
    EXPECT_FALSE(棋譜->進める());
    for (int i = 0; i < 4; ++i) {
        棋譜->手順保存(*局, 0, 0, 0, 0);
        棋譜->着手後保存(*局);
    }
    EXPECT_FALSE(棋譜->進める());
    EXPECT_TRUE(棋譜->戻す());
    EXPECT_TRUE(棋譜->戻す());
    EXPECT_EQ(棋譜->棋譜手数(), 2);
    EXPECT_TRUE(棋譜->進める());
    EXPECT_TRUE(棋譜->戻す());
    棋譜->手順保存(*局, 0, 0, 0, 0);
    EXPECT_EQ(棋譜->棋譜記録数(), 2);
    棋譜->着手後保存(*局);
    EXPECT_EQ(棋譜->棋譜記録数(), 3);
    EXPECT_FALSE(棋譜->進める());
    // Entries past the count are out of reach.
    EXPECT_EQ(&棋譜->項目(400), &棋譜->項目(3));
}

}  // namespace
}  // namespace kiryuza
