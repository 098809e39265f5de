#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "analyze.h"

namespace kiryuza {
namespace {

// The starting position as a record line.
std::string 開始行() {
    std::string s;
    局面 局;
    初期配置(局);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            std::string f = std::to_string(局.盤面[x][y]);
            s += std::string(4 - f.size(), ' ') + f;
        }
    s += std::string(14, '0');
    s += "    0    0    0    0";
    return s;
}

TEST(評価値の文字列, 小数一桁) {
    EXPECT_EQ(評価値の文字列(125), "12.5");
    EXPECT_EQ(評価値の文字列(-5), "-0.5");
    EXPECT_EQ(評価値の文字列(0), "0.0");
    EXPECT_EQ(評価値の文字列(-99980), "-9998.0");
    EXPECT_EQ(評価値の文字列(99990), "9999.0");
}

TEST(局面解析, 壊れた行は番号付きで報告し次の行へ進む) {
    std::string 正 = 開始行();
    ASSERT_EQ(正.size(), 358u);
    std::string 短い = 正.substr(0, 357);
    std::string 数でない = 正;
    数でない[2] = 'x';
    std::string 駒でない = 正;
    駒でない.replace(0, 4, " 111");
    std::string 王なし = 正;
    王なし.replace(4 * (4 * 9 + 8), 4, "   0");  // the lower king on (5, 9)
    std::istringstream in(短い + "\n\n" + 数でない + "\n" + 駒でない + "\n   \n" + 王なし + "\n" +
                          正 + "\r\n");
    std::ostringstream out;
    EXPECT_FALSE(局面解析(in, out, 3, false));
    const std::string 出力 = out.str();
    EXPECT_NE(出力.find("error 1 "), std::string::npos) << 出力;
    EXPECT_NE(出力.find("error 3 "), std::string::npos) << 出力;
    EXPECT_NE(出力.find("error 4 "), std::string::npos) << 出力;
    EXPECT_NE(出力.find("error 6 "), std::string::npos) << 出力;
    // The valid last line (with a CR LF end) is still analysed.
    EXPECT_NE(出力.find("best "), std::string::npos) << 出力;
    EXPECT_EQ(出力.find("error 2 "), std::string::npos) << 出力;
    EXPECT_EQ(出力.find("error 5 "), std::string::npos) << 出力;
}

TEST(局面解析, 正しい入力だけなら成功) {
    std::istringstream in(開始行() + "\n");
    std::ostringstream out;
    EXPECT_TRUE(局面解析(in, out, 1, true));
    EXPECT_EQ(out.str().rfind("best ", 0), std::string::npos);  // eval lines come first
    EXPECT_NE(out.str().find("\nbest "), std::string::npos);
}

TEST(局面解析, 指す手がなければ_best_none) {
    // The upper king in the corner is hemmed in by its own pawns, none of which can move.
    std::string s(358, ' ');
    auto 置く = [&s](int x, int y, int code) {
        const std::string f = std::to_string(code);
        s.replace(4 * ((x - 1) * 9 + (y - 1)), 4, std::string(4 - f.size(), ' ') + f);
    };
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) 置く(x, y, 0);
    置く(1, 9, 950);
    置く(2, 9, 10);
    置く(2, 8, 10);
    置く(1, 8, 10);
    置く(9, 1, -950);
    s.replace(324, 14, std::string(14, '0'));
    s.replace(338, 20, "    0    0    0    0");
    std::istringstream in(s + "\n");
    std::ostringstream out;
    EXPECT_TRUE(局面解析(in, out, 3, false));
    EXPECT_EQ(out.str(), "best none\n");
}

}  // namespace
}  // namespace kiryuza
