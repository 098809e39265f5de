#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "analyze.h"
#include "iconv_codec.h"
#include "record/record_file.h"
#include "tools/review_support.h"

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

std::string ファイルの文(const std::string& パス) {
    std::ifstream in(パス, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct 実行結果 {
    int 終了 = -1;
    std::string 出力;
    std::string 誤り;
};

// Runs kiryuza-analyze with the arguments (as the shell reads them).
実行結果 実行(const std::string& 引数) {
    const std::string 出 = ::testing::TempDir() + "review_stdout.txt";
    const std::string 誤 = ::testing::TempDir() + "review_stderr.txt";
    std::string 命令 = KIRYUZA_ANALYZE;
    命令 += " " + 引数 + " >'" + 出 + "' 2>'" + 誤 + "'";
    const int rc = std::system(命令.c_str());
    return {WIFEXITED(rc) ? WEXITSTATUS(rc) : -1, ファイルの文(出), ファイルの文(誤)};
}

TEST(棋譜講評, 一手一行と両者の集計_王を取られる手は最善手付きの悪手) {
    const auto 棋譜 = testing::王を取られる対局();
    ASSERT_FALSE(HasFatalFailure());
    IconvCodec 符号;
    const 棋譜内容結果 内容 =
        棋譜ファイル内容を作る(*棋譜, 棋譜->棋譜記録数(), {"講評の試験", "上手", "下手"}, 符号);
    ASSERT_TRUE(内容.成功) << 内容.誤り;
    const std::string パス = ::testing::TempDir() + "review_test.rec";
    std::ofstream(パス, std::ios::binary)
        .write(reinterpret_cast<const char*>(内容.内容.data()),
               static_cast<std::streamsize>(内容.内容.size()));

    const 実行結果 r = 実行("--review '" + パス + "' --time-ms 20 --threads 2");
    ASSERT_EQ(r.終了, 0) << r.誤り;
    std::vector<std::string> 行 = 行に分ける(r.出力);
    ASSERT_EQ(行.size(), 3u + 6u + 2u) << r.出力;
    EXPECT_EQ(行[0], "# 講評の試験");
    int 印[2] = {0, 0};  // ▲'s and △'s marked lines
    for (int n = 1; n <= 6; ++n) {
        const std::string& l = 行[static_cast<std::size_t>(2 + n)];
        std::string 頭 = "  ";
        頭 += std::to_string(n);
        頭 += n % 2 == 1 ? "  ▲" : "  △";
        EXPECT_EQ(l.rfind(頭, 0), 0u) << l;
        const bool 印あり =
            l.find("悪手") != std::string::npos || l.find("疑問手") != std::string::npos;
        EXPECT_EQ(印あり, l.find(" best ") != std::string::npos) << l;
        印[n % 2 == 1 ? 0 : 1] += 印あり;
    }
    const std::string& 見逃し = 行[2 + testing::見逃す手];
    EXPECT_NE(見逃し.find(" 悪手 "), std::string::npos) << 見逃し;
    EXPECT_NE(見逃し.find(" best ▲"), std::string::npos) << 見逃し;
    EXPECT_EQ(行[8].substr(行[8].size() - 4), "lost") << 行[8];
    // The summary counts what the lines mark.
    for (int 側 = 0; 側 < 2; ++側) {
        int 悪 = -1, 疑 = -1;
        const std::string& l = 行[static_cast<std::size_t>(9 + 側)];
        EXPECT_EQ(std::sscanf(l.c_str(), "%*[^:]: 悪手 %d, 疑問手 %d", &悪, &疑), 2) << l;
        EXPECT_EQ(l.rfind(側 == 0 ? "▲" : "△", 0), 0u) << l;
        EXPECT_GE(悪, 1 - 側);
        EXPECT_EQ(悪 + 疑, 印[側]) << r.出力;
    }
}

TEST(棋譜講評, 読めないファイルや棋譜でないファイルは理由を示して終了コード1) {
    const std::string 壊れ = ::testing::TempDir() + "review_broken.rec";
    std::ofstream(壊れ, std::ios::binary) << "title\r\nupper\r\nlower\r\n  12 not a move line\r\n";
    for (const std::string& パス :
         {::testing::TempDir() + "no_such_record.rec", 壊れ, ::testing::TempDir()}) {
        const 実行結果 r = 実行("--review '" + パス + "' --time-ms 20");
        EXPECT_EQ(r.終了, 1) << パス;
        EXPECT_EQ(r.出力, "") << パス;
        EXPECT_NE(r.誤り.find("kiryuza-analyze: "), std::string::npos) << r.誤り;
    }
    EXPECT_NE(実行("--review '" + 壊れ + "'").誤り.find("4行目"), std::string::npos);
    // The person's side is named as the review names the sides, and only for a review.
    EXPECT_EQ(実行("--review '" + 壊れ + "' --person black").終了, 2);
    EXPECT_EQ(実行("--person both").終了, 2);
}

}  // namespace
}  // namespace kiryuza
