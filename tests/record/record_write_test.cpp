#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/files/qt_text_codec.h"
#include "record/record_file.h"
#include "record_test_support.h"

namespace kiryuza {
namespace {

using testing::FakeFiles;

// The starting position's columns as written: x = 1..9, each top to bottom.
const std::string 列1 = "  21   0  11   0   0   0 -11   0 -21";
const std::string 列2 = "  31 901  11   0   0   0 -11-801 -31";
const std::string 列3 = " 101   0  11   0   0   0 -11   0-101";
const std::string 列4 = " 110   0  11   0   0   0 -11   0-110";
const std::string 列5 = " 950   0  11   0   0   0 -11   0-950";
const std::string 列8 = "  31 801  11   0   0   0 -11-901 -31";

// A line of the short game below: only column 3 differs from the start.
std::string 行(const std::string& 第3列, const std::string& 持駒, const std::string& 時間) {
    return 列1 + 列2 + 第3列 + 列4 + 列5 + 列4 + 列3 + 列8 + 列1 + 持駒 + 時間 + "\r\n";
}

// Four moves: と 3-7 to 3-6, と 3-3 to 3-4, と 3-6 to 3-5, と 3-4 takes 3-5; entries 1..4 are
// written.
testing::棋譜組立 短い対局の組立() {
    testing::棋譜組立 棋譜;
    局面 局 = testing::開始局面();
    auto 動かす = [&局](int 元Y, int 先Y) {
        局.盤面[3][先Y] = 局.盤面[3][元Y];
        局.盤面[3][元Y] = 空桝;
    };
    棋譜.記入(0, 局, 0, 3.2, 0, 0);
    動かす(7, 6);
    棋譜.記入(1, 局, 3.2, 3.2, 0, 75.9);
    動かす(3, 4);
    棋譜.記入(2, 局, 3.2, 1234.5, 75.9, 75.9);
    動かす(6, 5);
    棋譜.記入(3, 局, 1234.5, 1234.5, 75.9, 12345.7);
    動かす(4, 5);
    局.持駒COM[1] = 1;
    棋譜.記入(4, 局, 1234.5, 99999.99, 12345.7, 12345.7);
    return 棋譜;
}

std::unique_ptr<棋譜表> 短い対局() {
    return 短い対局の組立().作る(4);
}

const 棋譜見出し 日本語の見出し{"第1局～練習", "コンピュータ", "山田　太郎 ﾌｧｲﾀｰ"};

TEST(棋譜書込, 短い対局はCP932とCRLFで一字一句決まった形になる) {
    QtTextCodec 符号;
    const auto 棋譜 = 短い対局();
    const 棋譜内容結果 r = 棋譜ファイル内容を作る(*棋譜, 4, 日本語の見出し, 符号);
    ASSERT_TRUE(r.成功) << r.誤り;

    const std::string 期待 =
        // 第1局～練習 / コンピュータ / 山田　太郎 ﾌｧｲﾀｰ
        "\x91\xe6"
        "1"
        "\x8b\xc7\x81\x60\x97\xfb\x8f\x4b\r\n"
        "\x83\x52\x83\x93\x83\x73\x83\x85\x81\x5b\x83\x5e\r\n"
        "\x8e\x52\x93\x63\x81\x40\x91\xbe\x98\x59 \xcc\xa7\xb2\xc0\xb0\r\n" +
        行(" 101   0  11   0   0 -11   0   0-101", "00000000000000", "    3    3    0   75") +
        行(" 101   0   0  11   0 -11   0   0-101", "00000000000000", "    3 1234   75   75") +
        行(" 101   0   0  11 -11   0   0   0-101", "00000000000000", " 1234 1234   7512345") +
        行(" 101   0   0   0  11   0   0   0-101", "01000000000000", " 1234999991234512345");
    EXPECT_EQ(std::string(r.内容.begin(), r.内容.end()), 期待);
    EXPECT_EQ(r.内容.size(), (11 + 2) + (12 + 2) + (16 + 2) + 4 * (358 + 2));
}

TEST(棋譜書込, 手数0は見出しだけで空の名前もそのまま書く) {
    QtTextCodec 符号;
    const auto 棋譜 = 短い対局();
    const 棋譜内容結果 r = 棋譜ファイル内容を作る(*棋譜, 0, {"", "a", ""}, 符号);
    ASSERT_TRUE(r.成功) << r.誤り;
    EXPECT_EQ(std::string(r.内容.begin(), r.内容.end()), "\r\na\r\n\r\n");
}

TEST(棋譜書込, 持駒数と時間は書式に収まらなければ何も書かずに断る) {
    QtTextCodec 符号;
    struct 例 {
        const char* 名;
        void (*壊す)(std::vector<棋譜項目>&);
        std::string 理由;
        int 表せない手目;  // the entries before it can still be written
    };
    using 項目表 = std::vector<棋譜項目>;
    const 例 表[] = {
        {"持駒10枚", [](項目表& k) { k[3].持駒MAN[1] = 10; }, 持駒数超過文(3), 3},
        {"相手の持駒10枚", [](項目表& k) { k[1].持駒COM[7] = 10; }, 持駒数超過文(1), 1},
        {"100000秒", [](項目表& k) { k[2].後秒C = 100000; }, 時間範囲外文(2), 2},
        {"99999秒台は切り捨てでも上限内", [](項目表& k) { k[4].前秒M = 99999.999; }, "", 0},
        {"負の時間", [](項目表& k) { k[4].前秒M = -0.5; }, 時間範囲外文(4), 4},
        {"NaN", [](項目表& k) { k[1].後秒M = std::numeric_limits<double>::quiet_NaN(); },
         時間範囲外文(1), 1},
        {"無限大", [](項目表& k) { k[3].前秒C = std::numeric_limits<double>::infinity(); },
         時間範囲外文(3), 3},
        {"王がない", [](項目表& k) { k[2].盤面[5][9] = 空桝; }, 局面不正文(2, 行誤り::王の数), 0},
        {"駒でない値", [](項目表& k) { k[4].盤面[5][5] = 12; }, 局面不正文(4, 行誤り::駒でない), 0},
    };
    for (const auto& e : 表) {
        auto 組立 = 短い対局の組立();
        e.壊す(組立.項目);
        const auto 棋譜 = 組立.作る(4);
        FakeFiles files;
        files.put("/d/前の.棋譜", "前の内容");
        const 棋譜書込結果 r =
            棋譜ファイルを書く(files, 符号, "/d/前の.棋譜", *棋譜, 4, {"a", "b", "c"}, "前の.棋譜");
        if (e.理由.empty()) {
            EXPECT_TRUE(r.成功) << e.名 << ": " << r.誤り;
            continue;
        }
        EXPECT_FALSE(r.成功) << e.名;
        EXPECT_EQ(r.誤り, 書込失敗文("前の.棋譜", e.理由)) << e.名;
        EXPECT_EQ(r.表せない手目, e.表せない手目) << e.名;
        EXPECT_EQ(files.writes, 0) << e.名;
        EXPECT_EQ(files.text("/d/前の.棋譜"), "前の内容") << e.名;
    }
}

TEST(棋譜書込, 手数は0から棋譜にある数まで) {
    QtTextCodec 符号;
    const auto 棋譜 = 短い対局();
    for (int 記録数 : {-1, 5, 501}) {
        const 棋譜内容結果 r = 棋譜ファイル内容を作る(*棋譜, 記録数, {}, 符号);
        EXPECT_FALSE(r.成功) << 記録数;
        EXPECT_EQ(r.誤り, record_text::手数範囲外);
    }
}

TEST(棋譜書込, CP932にない文字と制御文字の見出しは文字を挙げて断る) {
    QtTextCodec 符号;
    const auto 棋譜 = 短い対局();
    struct 例 {
        棋譜見出し 見出し;
        std::string 理由;
    };
    const 例 表[] = {
        {{"対局😀", "b", "c"}, 書けない文字文("対局😀", "😀")},
        {{"a", "☗先手", "c"}, 書けない文字文("☗先手", "☗")},
        {{"a", "b", "名前¥"}, 書けない文字文("名前¥", "¥")},
        {{"a", "b", "\xe5\xb1"}, std::string(record_text::文字列不正)},
        {{"一行目\r\n二行目", "b", "c"},
         std::string("「対局名」や対局者の名前に") + std::string(record_text::制御文字)},
        {{"a", "タブ\tあり", "c"},
         std::string("「対局名」や対局者の名前に") + std::string(record_text::制御文字)},
    };
    for (const auto& e : 表) {
        FakeFiles files;
        const 棋譜書込結果 r =
            棋譜ファイルを書く(files, 符号, "x.棋譜", *棋譜, 4, e.見出し, "x.棋譜");
        EXPECT_FALSE(r.成功) << e.理由;
        EXPECT_EQ(r.誤り, 書込失敗文("x.棋譜", e.理由));
        EXPECT_EQ(files.writes, 0);
    }
}

TEST(棋譜書込, 書き込みに失敗しても前のファイルはそのまま残り理由を伝える) {
    QtTextCodec 符号;
    const auto 棋譜 = 短い対局();
    FakeFiles files;
    files.put("/d/対局.棋譜", "前の棋譜");
    files.writeError = "ディスクの空き容量が足りません";
    const 棋譜書込結果 r =
        棋譜ファイルを書く(files, 符号, "/d/対局.棋譜", *棋譜, 4, 日本語の見出し, "対局.棋譜");
    EXPECT_FALSE(r.成功);
    EXPECT_EQ(r.誤り,
              "棋譜ファイル「対局.棋譜」に書き込めません。\nディスクの空き容量が足りません");
    EXPECT_EQ(files.text("/d/対局.棋譜"), "前の棋譜");

    files.writeError.clear();
    const 棋譜書込結果 ok =
        棋譜ファイルを書く(files, 符号, "/d/対局.棋譜", *棋譜, 4, 日本語の見出し, "対局.棋譜");
    EXPECT_TRUE(ok.成功) << ok.誤り;
    EXPECT_EQ(ok.誤り, "");
    EXPECT_EQ(files.files.at("/d/対局.棋譜"),
              棋譜ファイル内容を作る(*棋譜, 4, 日本語の見出し, 符号).内容);
}

}  // namespace
}  // namespace kiryuza
