#include <gtest/gtest.h>

#include <memory>

#include "rules/game_state.h"

namespace kiryuza {
namespace {

struct 回数表示 : 局面表示 {
    int 再描画 = 0;
    int 停止 = 0;
    void 画面_再描画() override { ++再描画; }
    void Timer1_停止() override { ++停止; }
};

TEST(初期設定, 開始局面はすべて成った形) {
    auto 状態 = std::make_unique<対局状態>();
    回数表示 表示;
    初期設定(*状態, 表示);
    const auto& 盤 = 状態->局.盤面;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 4; y <= 6; ++y) EXPECT_EQ(盤[x][y], 空桝);
        EXPECT_EQ(盤[x][7], 駒_MANと);
        EXPECT_EQ(盤[x][3], 駒_COMと);
    }
    // Symmetric under a half turn: each code mirrors to its opponent's code.
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) EXPECT_EQ(盤[x][y], -盤[10 - x][10 - y]) << x << "," << y;
    EXPECT_EQ(盤[2][8], 駒_MAN角成);
    EXPECT_EQ(盤[8][8], 駒_MAN飛成);
    EXPECT_EQ(盤[5][9], 駒_MAN王);
    EXPECT_EQ(盤[8][2], 駒_COM角成);
    EXPECT_EQ(盤[2][2], 駒_COM飛成);
    EXPECT_EQ(盤[1][1], 駒_COM香成);
    EXPECT_EQ(盤[2][1], 駒_COM桂成);
    EXPECT_EQ(盤[3][1], 駒_COM銀成);
    EXPECT_EQ(盤[4][1], 駒_COM金);
    for (int k = 1; k <= 7; ++k) {
        EXPECT_EQ(状態->局.持駒MAN[k], 0);
        EXPECT_EQ(状態->局.持駒COM[k], 0);
    }
    EXPECT_EQ(状態->局.持駒総数MAN, 0);
    EXPECT_EQ(状態->局.持駒総数COM, 0);
    EXPECT_EQ(表示.再描画, 1);
    EXPECT_EQ(表示.停止, 1);
}

TEST(初期設定, 終局後はゲームの状況を消すが手番の割り当ては残す) {
    auto 状態 = std::make_unique<対局状態>();
    回数表示 表示;
    auto& s = *状態;
    s.局.手番値MAN = 手番_先手;
    s.局.手番値COM = 手番_後手;
    s.局.勝者 = 手番_先手;
    s.局.持駒MAN[3] = 2;
    s.局.持駒総数MAN = 2;
    s.局.王位置X_MAN = 4;
    s.状況.手番 = 手番_後手;
    s.状況.手数 = 42;
    s.状況.対局モード = 対局モード_COM;
    s.状況.ハンデレベル = 3;
    s.状況.ハンデ設定フラグ = 定数_ON;
    s.状況.反転フラグ = 定数_ON;
    s.状況.棋譜モード = 定数_ON;
    s.状況.再開フラグ = 定数_ON;
    s.状況.選択状態 = 1;
    s.状況.COMレベル = 1;
    const std::vector<棋譜項目> 項目(50);
    s.棋譜.置き換える(項目.data(), 41);
    for (int i = 0; i < 30; ++i) s.棋譜.進める();
    s.時計.累計秒MAN = 10;
    s.時計.累計秒COM = 20;
    s.時計.表示秒 = 7;

    初期設定(s, 表示);

    EXPECT_EQ(s.局.勝者, 手番_なし);
    EXPECT_EQ(s.状況.手番, 手番_なし);
    EXPECT_EQ(s.状況.手数, 0);
    EXPECT_EQ(s.棋譜.棋譜手数(), 0);
    EXPECT_EQ(s.状況.対局モード, 対局モード_人間);
    EXPECT_EQ(s.状況.ハンデレベル, 0);
    EXPECT_EQ(s.状況.ハンデ設定フラグ, 定数_OFF);
    EXPECT_EQ(s.状況.反転フラグ, 定数_OFF);
    EXPECT_EQ(s.状況.棋譜モード, 定数_OFF);
    EXPECT_EQ(s.状況.再開フラグ, 定数_OFF);
    EXPECT_EQ(s.状況.選択状態, 0);
    EXPECT_EQ(s.時計.累計秒MAN, 0);
    EXPECT_EQ(s.時計.累計秒COM, 0);
    EXPECT_EQ(s.時計.表示秒, 0);
    EXPECT_EQ(s.局.持駒MAN[3], 0);
    EXPECT_EQ(s.局.持駒総数MAN, 0);
    // Kept: the sides, the level and the record count; the king fields follow the board.
    EXPECT_EQ(s.局.手番値MAN, 手番_先手);
    EXPECT_EQ(s.局.手番値COM, 手番_後手);
    EXPECT_EQ(s.状況.COMレベル, 1);
    EXPECT_EQ(s.棋譜.棋譜記録数(), 41);
    EXPECT_EQ(s.局.王位置X_MAN, 5);
    EXPECT_EQ(s.局.王位置Y_MAN, 9);
    EXPECT_EQ(s.局.王位置Y_COM, 1);
}

}  // namespace
}  // namespace kiryuza
