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
    偽メニュー メニュー欄;
    std::unique_ptr<対局状態> 状態 = std::make_unique<対局状態>();
    画面 画{キャンバス面, *状態, メニュー欄};

    // The texts drawn at cell (x, y), front (not the shadow).
    std::vector<std::string> 文字(double x, double y) {
        std::vector<std::string> r;
        for (const auto& d : キャンバス面.字一覧)
            if (std::abs(d.X - (1050 + 570 * x)) < 1e-6 && std::abs(d.Y - (100 + 660 * y)) < 1e-6)
                r.push_back(d.文);
        return r;
    }
};

TEST_F(画面テスト, 指し手は上手なら左に下手なら右に) {
    状態->局.手番値MAN = 手番_先手;
    状態->局.手番値COM = 手番_後手;
    画.描画_移動結果(手番_先手, 3, 6, 駒_MAN歩, 色_白);
    EXPECT_EQ(文字(12.4, 2.4), std::vector<std::string>{"７"});
    EXPECT_EQ(文字(12.8, 2.4), std::vector<std::string>{"六"});
    EXPECT_EQ(文字(13.4, 2.4), std::vector<std::string>{"歩"});
    画.描画_移動結果(手番_後手, 3, 6, 駒_COM歩, 色_白);
    EXPECT_EQ(文字(-1.6, 8.4), std::vector<std::string>{"７"});
    // A code without a name prints the square only.
    キャンバス面.消す();
    画.描画_移動結果(手番_後手, 3, 6, 111, 色_白);
    EXPECT_EQ(キャンバス面.字一覧.size(), 4u);
    // Neither side's turn value erases nothing.
    キャンバス面.消す();
    画.消去_移動結果(手番_なし);
    EXPECT_TRUE(キャンバス面.絵一覧.empty());
}

TEST_F(画面テスト, 手数は桁が増えるごとに左へ) {
    画.描画_手数(9, 色_白);
    EXPECT_EQ(文字(13.2, 3.3), std::vector<std::string>{" 9"});
    画.描画_手数(10, 色_白);
    EXPECT_EQ(文字(13.1, 3.3), std::vector<std::string>{" 10"});
    画.描画_手数(100, 色_白);
    EXPECT_EQ(文字(13, 3.3), std::vector<std::string>{" 100"});
    // The suffix stays in place, 120 and 160 twips into its cell.
    int 手目 = 0;
    for (const auto& d : キャンバス面.字一覧)
        if (d.文 == "手目" && d.X == 1050 + 570 * 13.8 + 120) ++手目;
    EXPECT_EQ(手目, 3);
}

TEST_F(画面テスト, 持駒の数は零なら空の桝だけ_十以上は二桁) {
    状態->局.持駒MAN[1] = 12;
    画.描画_自持盤();
    EXPECT_EQ(文字(12, 3.2), std::vector<std::string>{" 12"});
    EXPECT_TRUE(文字(12, 4.2).empty());
    EXPECT_EQ(キャンバス面.最後の絵(11, 3), 駒_MANと);
    EXPECT_EQ(キャンバス面.最後の絵(11, 4), 空桝);
}

TEST_F(画面テスト, 背景は盤の桝を覆わない) {
    画.描画_背景(背景_竹);
    for (const auto& e : キャンバス面.絵一覧) {
        const int x = static_cast<int>(std::lround((e.X - 1050) / 570));
        const int y = static_cast<int>(std::lround((e.Y - 100) / 660));
        EXPECT_FALSE(x >= 1 && x <= 9 && y >= 1 && y <= 9);
    }
    EXPECT_EQ(キャンバス面.絵一覧.size(), 32u * 20u - 81u);
}

TEST_F(画面テスト, 経過時間を外すと時計は描かない) {
    状態->局.手番値MAN = 手番_先手;
    状態->局.手番値COM = 手番_後手;
    画.描画_所有時間(手番_先手, 5);
    EXPECT_TRUE(キャンバス面.字一覧.empty());
    メニュー欄.チェック設定("KEIKA", true);
    画.描画_所有時間(手番_先手, 4000);
    EXPECT_EQ(文字(13, 9.2), std::vector<std::string>{"01:06:40"});
}

}  // namespace
}  // namespace kiryuza::testing
