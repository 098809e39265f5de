#include <gtest/gtest.h>

#include <cmath>

#include "platform/files/qt_text_codec.h"
#include "record/record_file.h"
#include "record_test_support.h"

namespace kiryuza {
namespace {

using testing::FakeFiles;

// The starting position as a move line.
std::string 開始行() {
    const 局面 局 = testing::開始局面();
    棋譜行データ d;
    std::memcpy(d.盤面, 局.盤面, sizeof d.盤面);
    std::string 行;
    EXPECT_EQ(棋譜行を書く(d, 行), 書込誤り::なし);
    return 行;
}

// The line with `置換` written over it from 1-based column `桁`.
std::string 書き換え(std::string 行, int 桁, const std::string& 置換) {
    行.replace(static_cast<std::size_t>(桁 - 1), 置換.size(), 置換);
    return 行;
}

std::string 繰り返し(const std::string& 行, int 回数) {
    std::string s;
    for (int i = 0; i < 回数; ++i) s += 行 + "\r\n";
    return s;
}

// A history filled with a value that no load would write, to see what a load touches.
std::unique_ptr<棋譜表> 汚れた棋譜表() {
    testing::棋譜組立 組立;
    std::memset(static_cast<void*>(組立.項目.data()), 0x5A, sizeof(棋譜項目) * 組立.項目.size());
    auto 棋譜 = 組立.作る(棋譜最大手数);
    for (int i = 0; i < 7; ++i) 棋譜->進める();
    return 棋譜;
}

const std::string 見 = "t\r\nu\r\nl\r\n";

TEST(棋譜読込, 壊れたファイルは行と理由を挙げて断り棋譜表には触れない) {
    const std::string 正 = 開始行();
    const std::string 長さ = 行誤りの説明(行誤り::長さ);
    const std::string 数値 = 行誤りの説明(行誤り::数値でない);
    const std::string 駒 = 行誤りの説明(行誤り::駒でない);
    const std::string 駒数 = 行誤りの説明(行誤り::駒数超過);
    const std::string 王 = 行誤りの説明(行誤り::王の数);
    struct 例 {
        const char* 名;
        std::string バイト列;
        int 行;
        int 桁;
        std::string 理由;
    };
    const 例 表[] = {
        {"空のファイル", "", 0, 0, std::string(record_text::空のファイル)},
        {"見出しが2行", "t\r\nu\r\n", 0, 0, std::string(record_text::見出し不足)},
        {"見出しが2行で行末なし", "t\r\nu", 0, 0, std::string(record_text::見出し不足)},
        {"途中で切れた2バイト文字", "t\r\nu\x82\r\nl\r\n" + 正, 2, 0,
         std::string(record_text::文字コード不正)},
        {"CP932にないバイト", "t\xff\r\nu\r\nl\r\n", 1, 0,
         std::string(record_text::文字コード不正)},
        {"UTF-8のBOM", "\xef\xbb\xbft\r\nu\r\nl\r\n", 1, 0,
         std::string(record_text::文字コード不正)},
        {"見出しの制御文字", "t\r\nu\r\nl\x01\r\n", 3, 0, std::string(record_text::制御文字)},
        {"見出しの途中のCR", "t\ru\r\nu\r\nl\r\n", 1, 0, std::string(record_text::制御文字)},
        {"357文字", 見 + 正 + "\r\n" + 正.substr(1) + "\r\n", 5, 0, 長さ},
        {"359文字", 見 + " " + 正 + "\r\n", 4, 0, 長さ},
        {"途中の空行", 見 + "\r\n" + 正 + "\r\n", 4, 0, 長さ},
        {"見出しのあとに全角文字", 見 + "第一局\r\n", 4, 0, 長さ},
        {"盤の欄に文字", 見 + 書き換え(正, 5, "  1x"), 4, 5, 数値},
        {"盤の欄が空白だけ", 見 + 書き換え(正, 5, "    "), 4, 5, 数値},
        {"持駒の欄に文字", 見 + 書き換え(正, 325, "a"), 4, 325, 数値},
        {"持駒の欄に空白", 見 + 書き換え(正, 338, " "), 4, 338, 数値},
        {"時間の欄に空白を挟む", 見 + 書き換え(正, 339, "12 34"), 4, 339, 数値},
        {"負の時間", 見 + 書き換え(正, 354, "  -12"), 4, 354, 数値},
        {"駒でない値", 見 + 書き換え(正, 161, "  12"), 4, 161, 駒},
        {"金の成りは盤に置けない", 見 + 書き換え(正, 161, " 111"), 4, 161, 駒},
        {"歩が19枚", 見 + 書き換え(正, 325, "1"), 4, 0, 駒数},
        {"王を取った局面のあとにまだ手がある", 見 + 書き換え(正, 177, "   0") + "\r\n" + 正, 4, 0,
         王},
        {"両方の王がない", 見 + 書き換え(書き換え(正, 177, "   0"), 145, "   0"), 4, 0, 王},
        {"上側の王がふたつ", 見 + 書き換え(正, 161, " 950"), 4, 0, 王},
        {"後ろの行だけ壊れている", 見 + 繰り返し(正, 2) + 書き換え(正, 1, "   x"), 6, 1, 数値},
        {"LFだけでも行番号は同じ", "t\nu\nl\n" + 正 + "\n" + 正.substr(2) + "\n", 5, 0, 長さ},
        {"501手", 見 + 繰り返し(正, 501), 504, 0, std::string(record_text::手数超過)},
        {"UTF-16（BOMあり）", "\xff\xfet\0\r\0\n\0", 0, 0, std::string(record_text::UTF16)},
        {"UTF-16（BOMなし）", std::string("t\0\r\0\n\0u\0", 8), 0, 0,
         std::string(record_text::UTF16)},
        {"CRだけの改行", "t\ru\rl\r" + 正 + "\r", 0, 0, std::string(record_text::CR改行)},
        {"大きすぎる", 見 + std::string(棋譜ファイル最大バイト数, '\n'), 0, 0, 読込文_大きすぎる},
    };
    for (const auto& e : 表) {
        FakeFiles files;
        files.put("/home/a/壊れた.棋譜", e.バイト列);
        QtTextCodec 符号;
        auto 棋譜 = 汚れた棋譜表();
        const auto 前 = 汚れた棋譜表();
        const 棋譜読込結果 r = 棋譜を読み込む(files, 符号, "/home/a/壊れた.棋譜", *棋譜);
        EXPECT_FALSE(r.成功) << e.名;
        EXPECT_EQ(r.誤り, 読込失敗文("壊れた.棋譜", e.行, e.桁, e.理由)) << e.名;
        EXPECT_EQ(r.棋譜.記録数(), 0) << e.名;
        EXPECT_TRUE(testing::同じ棋譜表(*棋譜, *前)) << e.名;
    }
}

TEST(棋譜読込, ないファイルは名前を挙げて断る) {
    FakeFiles files;
    QtTextCodec 符号;
    auto 棋譜 = 汚れた棋譜表();
    const 棋譜読込結果 r = 棋譜を読み込む(files, 符号, "/home/a/ない.棋譜", *棋譜);
    EXPECT_FALSE(r.成功);
    EXPECT_EQ(r.誤り, "棋譜ファイル「ない.棋譜」を読み込めません。\nファイルが見つかりません");
    EXPECT_TRUE(testing::同じ棋譜表(*棋譜, *汚れた棋譜表()));
}

TEST(棋譜読込, 誤りの文はファイル名と行と桁を挙げる) {
    EXPECT_EQ(読込失敗文("a.棋譜", 12, 339, "数値でない欄があります"),
              "棋譜ファイル「a.棋譜」を読み込めません。\n12行目 339文字目：数値でない欄があります");
    EXPECT_EQ(読込失敗文("a.棋譜", 2, 0, "x"),
              "棋譜ファイル「a.棋譜」を読み込めません。\n2行目：x");
    EXPECT_EQ(ファイル名部分("/a/b/c.棋譜"), "c.棋譜");
    EXPECT_EQ(ファイル名部分("c.棋譜"), "c.棋譜");
}

TEST(棋譜読込, 行末はCRLFでもLFでもよく最後の行末と末尾の空行はなくてもよい) {
    const std::string 正 = 開始行();
    struct 例 {
        const char* 名;
        std::string バイト列;
        int 手数;
    };
    const 例 表[] = {
        {"CRLF", 見 + 繰り返し(正, 2), 2},
        {"LF", "t\nu\nl\n" + 正 + "\n" + 正 + "\n", 2},
        {"最後の行末なし", 見 + 正 + "\r\n" + 正, 2},
        {"CRLFとLFの混在", "t\nu\r\nl\n" + 正 + "\r\n" + 正 + "\n", 2},
        {"末尾の空行", 見 + 繰り返し(正, 2) + "\r\n\r\n", 2},
        {"末尾のLFだけの空行", 見 + 繰り返し(正, 2) + "\n\n", 2},
        {"見出しだけ", 見, 0},
        {"見出しだけで行末なし", "t\r\nu\r\nl", 0},
        {"見出しのあとに空行", 見 + "\r\n", 0},
        {"500手", 見 + 繰り返し(正, 500), 500},
        {"最後の局面で王が取られている", 見 + 正 + "\r\n" + 書き換え(正, 177, "   0"), 2},
        {"末尾のCtrl-Z", 見 + 繰り返し(正, 2) + "\x1a", 2},
        {"CRだけで終わる最後の行", 見 + 正 + "\r", 1},
        {"末尾の大量の空行", 見 + 繰り返し(正, 1) + std::string(300000, '\n'), 1},
    };
    for (const auto& e : 表) {
        QtTextCodec 符号;
        const 棋譜読込結果 r = 棋譜ファイルを解析(e.バイト列, "a.棋譜", 符号);
        ASSERT_TRUE(r.成功) << e.名 << ": " << r.誤り;
        EXPECT_EQ(r.棋譜.記録数(), e.手数) << e.名;
        EXPECT_EQ(r.棋譜.見出し.対局名, "t") << e.名;
        EXPECT_EQ(r.棋譜.見出し.上手名, "u") << e.名;
        EXPECT_EQ(r.棋譜.見出し.下手名, "l") << e.名;
    }
    // Empty header texts are kept as empty lines, not taken for missing ones.
    QtTextCodec 符号;
    const 棋譜読込結果 空 = 棋譜ファイルを解析("\r\n\r\n\r\n", "a.棋譜", 符号);
    ASSERT_TRUE(空.成功) << 空.誤り;
    EXPECT_EQ(空.棋譜.見出し.対局名, "");
    EXPECT_EQ(空.棋譜.見出し.下手名, "");
}

TEST(棋譜読込, 書いた棋譜を読むとすべての局面と持駒と時間の整数部が戻る) {
    std::mt19937 乱数(20240611);
    std::uniform_real_distribution<double> 秒(0, 100000);
    testing::棋譜組立 組立;
    for (int n = 0; n <= 棋譜ファイル最大手数; ++n) {
        組立.記入(n, testing::乱数局面(乱数), 秒(乱数), 秒(乱数), 秒(乱数), 秒(乱数));
    }
    // The edges of the time fields.
    組立.項目[1].前秒M = 0;
    組立.項目[1].後秒M = 99999.999;
    組立.項目[1].前秒C = 75.9;
    const auto 元 = 組立.作る(棋譜ファイル最大手数);

    FakeFiles files;
    QtTextCodec 符号;
    const 棋譜見出し 見出し{"第3局 ～ 決勝", "ａ－ｂ", "山田　花子"};
    const 棋譜書込結果 w = 棋譜ファイルを書く(files, 符号, "r.棋譜", *元, 500, 見出し, "r.棋譜");
    ASSERT_TRUE(w.成功) << w.誤り;

    auto 先 = 汚れた棋譜表();
    const 棋譜読込結果 r = 棋譜を読み込む(files, 符号, "r.棋譜", *先);
    ASSERT_TRUE(r.成功) << r.誤り;
    EXPECT_EQ(r.棋譜.見出し.対局名, 見出し.対局名);
    EXPECT_EQ(r.棋譜.見出し.上手名, 見出し.上手名);
    EXPECT_EQ(r.棋譜.見出し.下手名, 見出し.下手名);
    EXPECT_EQ(先->棋譜記録数(), 500);
    EXPECT_EQ(先->棋譜手数(), 0);
    for (int n = 1; n <= 500; ++n) {
        const 棋譜項目& a = 先->項目(n);
        const 棋譜項目& b = 元->項目(n);
        for (int x = 0; x <= 9; ++x)
            for (int y = 0; y <= 9; ++y)
                ASSERT_EQ(a.盤面[x][y], b.盤面[x][y]) << n << ":" << x << y;
        for (int k = 0; k <= 7; ++k) {
            ASSERT_EQ(a.持駒MAN[k], b.持駒MAN[k]) << n << ":" << k;
            ASSERT_EQ(a.持駒COM[k], b.持駒COM[k]) << n << ":" << k;
        }
        ASSERT_EQ(a.前秒M, std::trunc(b.前秒M)) << n;
        ASSERT_EQ(a.後秒M, std::trunc(b.後秒M)) << n;
        ASSERT_EQ(a.前秒C, std::trunc(b.前秒C)) << n;
        ASSERT_EQ(a.後秒C, std::trunc(b.後秒C)) << n;
    }
    EXPECT_EQ(先->項目(1).後秒M, 99999);
    EXPECT_EQ(先->項目(1).前秒C, 75);
}

TEST(棋譜読込, 読み込むと0番は開始局面で時間0になる) {
    // Entry 2: the upper side has taken the pawn of (1, 7) and both clocks have run.
    const std::string 正 = 開始行();
    const std::string 二行目 =
        書き換え(書き換え(書き換え(正, 25, "   0"), 325, "01"), 339, " 1234 1234   75   80");
    FakeFiles files;
    files.put("a.棋譜", 見 + 正 + "\r\n" + 二行目 + "\r\n");
    QtTextCodec 符号;
    auto 棋譜 = 汚れた棋譜表();
    const 棋譜読込結果 r = 棋譜を読み込む(files, 符号, "a.棋譜", *棋譜);
    ASSERT_TRUE(r.成功) << r.誤り;

    const 局面 開始 = testing::開始局面();
    局面 二 = 開始;
    二.盤面[1][7] = 空桝;
    二.持駒COM[1] = 1;
    testing::棋譜組立 期待;
    期待.記入(0, 開始, 0, 0, 0, 0);
    期待.記入(1, 開始, 0, 0, 0, 0);
    期待.記入(2, 二, 1234, 1234, 75, 80);
    EXPECT_TRUE(testing::同じ棋譜表(*棋譜, *期待.作る(2)));
}

}  // namespace
}  // namespace kiryuza
