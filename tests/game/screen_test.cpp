// The drawing layer: what is printed where.
#include <cmath>

#include "form1_fixture.h"

namespace kiryuza::testing {
namespace {

TEST(文字列変換, 筋と段と駒の名前) {
    EXPECT_EQ(文字列変換(7), "７");
    EXPECT_EQ(文字列変換(1006), "六");
    EXPECT_EQ(文字列変換(-10), "歩");
    EXPECT_EQ(文字列変換(801), "角成");
    EXPECT_EQ(文字列変換(111), "");
    EXPECT_EQ(文字列変換(0), "");
}

TEST(時計, 経過秒と時刻の文字) {
    EXPECT_NEAR(調査_経過秒(86399.5, 0.7), 1.2, 1e-9);
    EXPECT_DOUBLE_EQ(調査_経過秒(10, 12.5), 2.5);
    EXPECT_EQ(調査_時間秒追加結果(75.9), "00:01:15");
    EXPECT_EQ(調査_時間秒追加結果(3725), "01:02:05");
    EXPECT_EQ(調査_時間秒追加結果(0), "00:00:00");
    EXPECT_EQ(調査_時間秒追加結果(100 * 3600 + 61), ":01:01");
    EXPECT_EQ(変換_数字から文字(7), "07");
    EXPECT_EQ(変換_数字から文字(123), "");
}

TEST(棋譜見出し, X座標は文字数で決まる) {
    struct 例 {
        std::string 文字列;
        double X;
    };
    const 例 表[] = {
        {"", 4242},
        {"山田太郎だ", 3672},  // 5 characters
        {"abcde", 3672},
        {"ﾌｧｲﾙ", 3786},  // half-width kana count one each
        {"第一局　名人戦七番勝負", 2988},
        {"一二三四五六七八九十一二三", 2760},
        {"😀", 4128},
    };
    for (const auto& e : 表) EXPECT_DOUBLE_EQ(取得_棋譜のX座標(e.文字列), e.X) << e.文字列;
    // Line 1 goes 3000 twips further left: a long one is moved back inside the window and a
    // longer one shortened to its room.
    const 文字配置 題 = 範囲内に置く("一二三四五六七八九十一二三", -240, 480, 3000, 12);
    EXPECT_DOUBLE_EQ(題.X, 480);
    EXPECT_EQ(題.文, "一二三四五六七八九…");
    const 文字配置 短 = 範囲内に置く("abcde", 672, 480, 3000, 12);
    EXPECT_DOUBLE_EQ(短.X, 672);
    EXPECT_EQ(短.文, "abcde");
}

class 画面テスト : public ::testing::Test {
  protected:
    記録キャンバス キャンバス面;
    std::unique_ptr<対局状態> 状態 = std::make_unique<対局状態>();
    画面 画{キャンバス面, *状態};

    // The front (not the shadow) of a text drawn: the later of the two copies.
    const 描いた字& 前面(const std::string& 文) {
        const 描いた字* r = nullptr;
        for (const auto& d : キャンバス面.字一覧)
            if (d.文 == 文) r = &d;
        EXPECT_NE(r, nullptr) << 文;
        static const 描いた字 なし{};
        return r ? *r : なし;
    }
};

TEST_F(画面テスト, 指し手は上手なら盤の左に下手なら盤の右に_名前のない駒は筋と段だけ) {
    状態->局.手番値MAN = 手番_先手;
    状態->局.手番値COM = 手番_後手;
    画.描画_移動結果(手番_先手, 3, 6, 駒_MAN歩, 色_白);
    for (const char* 文 : {"７", "六", "歩"}) EXPECT_GE(前面(文).X, 格子X(10)) << 文;
    キャンバス面.消す();
    画.描画_移動結果(手番_後手, 3, 6, 駒_COM歩, 色_白);
    for (const char* 文 : {"７", "六", "歩"}) EXPECT_LT(前面(文).X, 格子X(1)) << 文;
    キャンバス面.消す();
    画.描画_移動結果(手番_後手, 3, 6, 111, 色_白);
    EXPECT_EQ(キャンバス面.字一覧.size(), 4u);  // file and rank, each with its shadow
    キャンバス面.消す();
    画.消去_移動結果(手番_なし);
    EXPECT_TRUE(キャンバス面.絵一覧.empty());
}

TEST_F(画面テスト, 手数は桁が増えるごとに左へ寄り手目は動かない) {
    double 前X = 1e9;
    double 手目X = -1;
    for (int n : {9, 10, 100}) {
        キャンバス面.消す();
        画.描画_手数(n, 色_白);
        const 描いた字& 数 = 前面(std::string(" ").append(std::to_string(n)));
        EXPECT_LT(数.X, 前X) << n;
        前X = 数.X;
        if (手目X >= 0) {
            EXPECT_EQ(前面("手目").X, 手目X);
        }
        手目X = 前面("手目").X;
    }
}

TEST_F(画面テスト, 背景は盤の桝を覆わない) {
    画.描画_背景(背景_竹);
    for (const auto& e : キャンバス面.絵一覧) {
        EXPECT_FALSE(e.X >= 格子X(1) && e.X < 格子X(10) && e.Y >= 格子Y(1) && e.Y < 格子Y(10));
    }
}

TEST_F(画面テスト, 経過時間を外すと時計は描かない) {
    状態->局.手番値MAN = 手番_先手;
    状態->局.手番値COM = 手番_後手;
    画.描画_所有時間(手番_先手, 5);
    EXPECT_TRUE(キャンバス面.字一覧.empty());
    状態->設定.経過時間 = true;
    画.描画_所有時間(手番_先手, 4000);
    EXPECT_TRUE(キャンバス面.字あり("01:06:40"));
}

}  // namespace
}  // namespace kiryuza::testing
