// The record text: over random games, one line per move in order with the move list's text and
// times that add up, and the result only for an ended game; an example; a move not explained.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>
#include <sstream>

#include "display/move_list.h"
#include "engine/review.h"
#include "platform/files/qt_text_codec.h"
#include "record/kif_text.h"
#include "record/record_file.h"

namespace kiryuza::kif_text_test {
namespace {

std::vector<std::string> 行に分ける(const std::string& 文) {
    std::vector<std::string> 行;
    std::istringstream in(文);
    for (std::string s; std::getline(in, s);) 行.push_back(s);
    return 行;
}

// A random legal game from the start, each move booked with less than `一手の上限` parts of
// 1/`分母` second (by default up to an hour in half seconds, exact in a double); it stops at
// a taken king or after `上限` moves.
棋譜表 乱数対局(unsigned 種, bool 先手COM, int 上限 = 棋譜最大手数, int 分母 = 2,
                unsigned 一手の上限 = 7300) {
    局面表示 無表示;
    std::vector<指し手> 手(合法手最大数);
    std::mt19937 乱(種);
    局面 局;
    初期配置(局);
    派生値を整える(局);
    棋譜表 棋譜;
    棋譜.開始(局, 0, 0);
    double 累計[2] = {0, 0};
    for (bool COM側 = 先手COM; 棋譜.棋譜記録数() < 上限 && 王がいる(局, 駒_MAN王) &&
                               王がいる(局, 駒_COM王) && 合法手一覧(局, COM側, 手.data()) > 0;
         COM側 = !COM側) {
        const 指し手 m = 手[乱() % static_cast<unsigned>(合法手一覧(局, COM側, 手.data()))];
        const double 前 = 累計[COM側];
        累計[COM側] += 乱() % 一手の上限 / static_cast<double>(分母);
        棋譜.手順保存(局, COM側 ? 累計[0] : 前, 累計[0], COM側 ? 前 : 累計[1], 累計[1]);
        const bool 成る = 調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON;
        駒移動(局, 無表示, m.元X, m.元Y, m.先X, m.先Y, 成る ? 局.駒成結果 : m.駒);
        派生値を整える(局);
        棋譜.着手後保存(局);
    }
    return 棋譜;
}

TEST(棋譜の文, 乱数対局の手は一手一行で番号順_時間は合計に合い_結果は終局のときだけ) {
    const std::regex 手の行(R"( *(\d+) (.*\S) +\( ?(\d+):(\d\d)/(\d+):(\d\d):(\d\d)\))");
    for (unsigned 種 = 20; 種 < 30; ++種) {  // 500 moves, and kings taken by either side
        const 棋譜表 棋譜 = 乱数対局(種, 種 % 2 == 0);
        const int N = 棋譜.棋譜記録数();
        const bool 終局 = N < 棋譜最大手数;
        棋譜文の見出し 見;
        見.終局 = 終局 ? 終局の理由::王を取った : 終局の理由::対局中;
        見.勝者 = N % 2 == 1 ? 記録の側::先手 : 記録の側::後手;
        const std::vector<std::string> 行 = 行に分ける(棋譜の文(棋譜, 見));
        ASSERT_EQ(行.size(), 5 + N + (終局 ? 1u : 0u)) << 種;  // 4 header lines, the titles
        long long 合計[2] = {0, 0};
        for (int n = 1; n <= N; ++n) {
            std::smatch m;
            ASSERT_TRUE(std::regex_match(行[4 + n], m, 手の行)) << 行[4 + n];
            EXPECT_EQ(std::stoi(m[1]), n);
            EXPECT_EQ(m[2], 指し手の文(*一覧の手を求める(棋譜, n, 初手はCOMか(棋譜))));
            合計[n % 2] += std::stoll(m[3]) * 60 + std::stoll(m[4]);
            EXPECT_EQ(std::stoll(m[5]) * 3600 + std::stoll(m[6]) * 60 + std::stoll(m[7]),
                      合計[n % 2]);
        }
        // ... and the totals reach the clocks' totals at the end (▲ made the odd moves).
        const 棋譜項目& 末 = 棋譜.項目(N);
        EXPECT_EQ(合計[1], static_cast<long long>(種 % 2 == 0 ? 末.前秒C : 末.前秒M));
        EXPECT_EQ(合計[0], static_cast<long long>(種 % 2 == 0 ? 末.前秒M : 末.前秒C));
        EXPECT_TRUE(!終局 || 行.back().ends_with(N % 2 == 1 ? "先手の勝ち" : "後手の勝ち"));
    }
}

// Two moves, then the first side out of time. Line breaks in the header's values become
// spaces, bytes that are no character U+FFFD.
TEST(棋譜の文, 短い対局の例) {
    const 棋譜文の見出し 見{
        "2024/05/01 14:03", "山田\n太郎",         "COM\xE2\x80\xA8\xFF", "練習\r\n対局", 3,
        記録の側::後手,     終局の理由::時間切れ, 記録の側::後手};
    EXPECT_EQ(棋譜の文(乱数対局(3, false, 2), 見),
              "開始日時：2024/05/01 14:03\n"
              "表題：練習  対局\n"
              "手合割：駒落ち（後手が3枚落とす）\n"
              "先手：山田 太郎\n"
              "後手：COM \uFFFD\n"
              "手数----指手---------消費時間--\n"
              "   1 ９八 と (97)   ( 6:14/00:06:14)\n"
              "   2 ６二 と (63)   (26:23/00:26:23)\n"
              "まで2手で時間切れにより後手の勝ち\n");
}

// A move the history cannot explain is numbered and said to be so, with no time; a
// resignation names the side that resigned.
TEST(棋譜の文, 読めない手はそうと書き_投了は投了した側を書く) {
    棋譜表 棋譜;
    棋譜.手順保存(局面{}, 0, 0, 0, 0);
    棋譜.着手後保存(局面{});
    棋譜文の見出し 見;
    見.終局 = 終局の理由::投了;
    const std::vector<std::string> 行 = 行に分ける(棋譜の文(棋譜, 見));
    ASSERT_EQ(行.size(), 7u);
    EXPECT_TRUE(行[5].starts_with("   1 ") && 行[5].find('(') == std::string::npos) << 行[5];
    EXPECT_EQ(行[6], "まで1手で後手の投了");
}

// The clocks run in fractions of a second: a move's time is the same in the move list, in the
// record text, and in both once the game is saved as a record and read back (where only whole
// seconds are kept).
TEST(棋譜の文, 手の時間は一覧と文と保存して読んだ棋譜で同じ) {
    QtTextCodec 符号;
    for (unsigned 種 = 40; 種 < 46; ++種) {
        const 棋譜表 棋譜 = 乱数対局(種, 種 % 2 == 0, 150, 10, 300);
        const 棋譜内容結果 書 = 棋譜ファイル内容を作る(棋譜, 棋譜.棋譜記録数(), {}, 符号);
        ASSERT_TRUE(書.成功) << 書.誤り;
        const std::string バイト列(書.内容.begin(), 書.内容.end());
        const 棋譜読込結果 読 = 棋譜ファイルを解析(バイト列, "x.棋譜", 符号);
        ASSERT_TRUE(読.成功) << 読.誤り;
        棋譜表 読んだ;
        棋譜表へ移す(読.棋譜, 読んだ);
        ASSERT_EQ(読んだ.棋譜記録数(), 棋譜.棋譜記録数());
        const bool 先手COM = 初手はCOMか(棋譜);
        int 端数あり = 0;
        for (int n = 1; n <= 棋譜.棋譜記録数(); ++n) {
            const auto 今 = 一覧の手を求める(棋譜, n, 先手COM);
            const auto 後 = 一覧の手を求める(読んだ, n, 先手COM);
            ASSERT_TRUE(今 && 後);
            EXPECT_EQ(今->秒, 後->秒) << 種 << " " << n;
            const 棋譜項目& e = 棋譜.項目(n - 1);
            端数あり += 今->COM側 ? e.後秒C - e.前秒C != std::floor(e.後秒C - e.前秒C)
                                  : e.後秒M - e.前秒M != std::floor(e.後秒M - e.前秒M);
        }
        EXPECT_GT(端数あり, 0);
        EXPECT_EQ(棋譜の文(棋譜, {}), 棋譜の文(読んだ, {})) << 種;
    }
}

}  // namespace
}  // namespace kiryuza::kif_text_test
