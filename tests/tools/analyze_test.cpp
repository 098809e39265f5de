#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

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

std::vector<std::string> 行に分ける(const std::string& s) {
    std::vector<std::string> 行;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);) 行.push_back(l);
    return 行;
}

// Each opening twice with the sides swapped, the one-ply levels on the lower side through the
// reversal (a fault there shows as an illegal move), and the summary line that adds up.
TEST(対戦, 序盤ごとに先後を替え_反則なく_集計は勝敗と合う) {
    for (const auto& [A, B] : {std::pair{4, 1}, std::pair{1, 4}}) {
        対戦設定 設定;
        設定.レベルA = A;
        設定.レベルB = B;
        設定.局数 = 2;
        設定.種 = 3;
        設定.時間msA = 設定.時間msB = 5;
        std::ostringstream out;
        const 対戦成績 r = 対戦(out, 設定);
        const auto 行 = 行に分ける(out.str());
        ASSERT_EQ(行.size(), 3u) << out.str();
        for (int g = 0; g < 2; ++g) {
            const std::string& l = 行[static_cast<std::size_t>(g)];
            const std::string 頭 = "game " + std::to_string(g + 1) + " opening " +
                                   std::to_string(g / 2 + 1) + ": A (level " + std::to_string(A) +
                                   ") " + (g % 2 == 0 ? "lower" : "upper") + ", ";
            EXPECT_EQ(l.rfind(頭, 0), 0u) << l;
            EXPECT_EQ(l.find("illegal"), std::string::npos) << l;
            EXPECT_EQ(l.find("no move"), std::string::npos) << l;
        }
        EXPECT_EQ(r.勝 + r.負 + r.分, 2);
        char 率[16];
        std::snprintf(率, sizeof 率, "%.1f", (r.勝 + 0.5 * r.分) * 100.0 / 2);
        EXPECT_EQ(行[2], "match " + std::to_string(A) + " vs " + std::to_string(B) + ": " +
                             std::to_string(r.勝) + " wins, " + std::to_string(r.負) + " losses, " +
                             std::to_string(r.分) + " draws, score " + 率 + "%");
    }
}

}  // namespace
}  // namespace kiryuza
