// The kept game: what goes in comes back whole, hand counts of ten and more included, and any
// torn or altered copy reads as nothing.
#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "record/autosave.h"

namespace kiryuza {
namespace {

// A game stepped back one move from its last position, in which the lower side holds twelve
// pawns: more than a record line can hold.
std::unique_ptr<対局状態> 途中の対局() {
    auto s = std::make_unique<対局状態>();
    初期配置(s->局);
    s->棋譜.開始(s->局, 0, 0);
    局面表示 無表示;
    s->棋譜.手順保存(s->局, 0, 12.5, 0, 0);
    駒移動(s->局, 無表示, 5, 7, 5, 6, 駒_MANと);
    s->棋譜.着手後保存(s->局);
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int c = s->局.盤面[x][y];
            if (c == 駒_MANと || (c == 駒_COMと && x <= 3)) s->局.盤面[x][y] = 空桝;
        }
    }
    s->局.持駒MAN[1] = 12;
    s->棋譜.手順保存(s->局, 12.5, 12.5, 0, 3);
    s->棋譜.着手後保存(s->局);
    s->棋譜.戻す();
    棋譜の局面を写す(s->棋譜.現在(), s->局);
    s->状況.手番 = 手番_後手;
    s->状況.対局モード = 対局モード_COM;
    s->状況.手数 = 2;
    s->状況.COMレベル = 2;
    s->状況.ハンデレベル = -3;
    s->状況.見出し = {"練習", "上", "下"};
    s->局.手番値MAN = 手番_後手;
    s->局.手番値COM = 手番_先手;
    s->時計.累計秒MAN = 12.5;
    return s;
}

// Records the position on the board as one more move, with the clocks as they stand.
void 一手として記録(対局状態& s) {
    const auto& 時 = s.時計;
    s.棋譜.手順保存(s.局, 時.累計秒MAN, 時.累計秒MAN, 時.累計秒COM, 時.累計秒COM);
    s.棋譜.着手後保存(s.局);
}

TEST(自動保存, 入れたものがそのまま戻る) {
    const auto s = 途中の対局();
    const auto 形 = 自動保存の形にする(*s, {false, true});
    auto r = 自動保存を読む(形);
    ASSERT_TRUE(r.has_value());
    EXPECT_TRUE(記録が同じ(r->状態.棋譜, s->棋譜));
    EXPECT_EQ(r->状態.棋譜.棋譜手数(), 1);
    EXPECT_EQ(r->状態.棋譜.項目(2).持駒MAN[1], 12);
    EXPECT_EQ(r->状態.局.持駒MAN[1], 12);
    EXPECT_EQ(r->状態.局.持駒総数MAN, 12);
    EXPECT_EQ(r->状態.状況.COMレベル, 2);
    EXPECT_EQ(r->状態.状況.ハンデレベル, -3);
    EXPECT_EQ(r->状態.状況.見出し.上手名, "上");
    EXPECT_EQ(r->状態.局.手番値MAN, 手番_後手);
    EXPECT_EQ(r->状態.時計.累計秒MAN, 12.5);
    EXPECT_EQ(r->状態.棋譜.項目(2).後秒C, 3);
    EXPECT_TRUE(r->印.保存済み);
    EXPECT_FALSE(続けられる(*r));  // saved: nothing to offer
    r->印.保存済み = false;
    EXPECT_TRUE(続けられる(*r));
}

// Under a time control the clocks are the game's, whatever entry is shown (time spent on moves
// taken back included), and each keeps the turn it is in and whether it runs; without one they
// are the entry's and hold no turn.
TEST(自動保存, 持ち時間の対局は時計を手番の途中までそのまま残す) {
    auto s = 途中の対局();
    auto& 時 = s->時計;
    時.持ち時間秒 = 300;
    時.秒読み秒 = 30;
    時.累計秒MAN = 40;
    時.手の秒MAN = 2.25;
    時.手の秒COM = 7.5;
    時.走る側 = 時計の側::COM;
    const auto r = 自動保存を読む(自動保存の形にする(*s, {}));
    ASSERT_TRUE(r.has_value());
    const auto& 読んだ = r->状態.時計;
    EXPECT_EQ(読んだ.持ち時間秒, 300);
    EXPECT_EQ(読んだ.秒読み秒, 30);
    EXPECT_EQ(読んだ.累計秒MAN, 40);
    EXPECT_EQ(読んだ.手の秒MAN, 2.25);
    EXPECT_EQ(読んだ.手の秒COM, 7.5);
    EXPECT_EQ(読んだ.走る側, 時計の側::COM);
    EXPECT_EQ(自動保存の矛盾(*r), "");

    時.持ち時間秒 = 0;
    時.秒読み秒 = 0;
    EXPECT_FALSE(自動保存を読む(自動保存の形にする(*s, {})).has_value());
    時.累計秒MAN = 12.5;
    EXPECT_FALSE(自動保存を読む(自動保存の形にする(*s, {})).has_value());
    時.手の秒MAN = 0;
    時.手の秒COM = 0;
    時.走る側 = 時計の側::なし;
    EXPECT_TRUE(自動保存を読む(自動保存の形にする(*s, {})).has_value());
}

// A game kept before the clocks held their turns (version 1: nothing after the two totals) was
// played without a time control, and is taken up as it was.
TEST(自動保存, 時計の手番を持たない前の版も読む) {
    const auto s = 途中の対局();
    auto 形 = 自動保存の形にする(*s, {});
    // The magic line, the version, two marks, twelve numbers and the two totals come first.
    const std::size_t 時計の後 = 13 + 4 + 2 + 12 * 4 + 2 * 8;
    形[13] = 1;
    形.erase(形.begin() + 時計の後, 形.begin() + 時計の後 + 2 * 8 + 1 + 2 * 4);
    検査値を付け直す(形);
    const auto r = 自動保存を読む(形);
    ASSERT_TRUE(r.has_value());
    EXPECT_TRUE(記録が同じ(r->状態.棋譜, s->棋譜));
    EXPECT_EQ(r->状態.時計.累計秒MAN, 12.5);
    EXPECT_EQ(r->状態.時計.持ち時間秒, 0);
    EXPECT_EQ(r->状態.時計.走る側, 時計の側::なし);
}

TEST(自動保存, 欠けたり書き換わったりした写しは読まない) {
    const auto 形 = 自動保存の形にする(*途中の対局(), {});
    ASSERT_TRUE(自動保存を読む(形).has_value());
    for (std::size_t n : {std::size_t(0), std::size_t(5), 形.size() / 2, 形.size() - 1}) {
        EXPECT_FALSE(自動保存を読む({形.begin(), 形.begin() + static_cast<long>(n)}).has_value())
            << n;
    }
    for (std::size_t i = 0; i < 形.size(); i += 97) {
        auto 壊 = 形;
        壊[i] ^= 0x20;
        EXPECT_FALSE(自動保存を読む(壊).has_value()) << i;
    }
}

// Files edited with a checksum put right: a game no play reaches is refused as a whole, and
// nothing in it is used (the sanitizers watch the conversions on the way).
TEST(自動保存, 検査値が合っていても遊べない対局は読まない) {
    struct 例 {
        const char* 名;
        void (*変える)(対局状態&);
    };
    const 例 表[] = {
        {"変えずに一手記録", [](対局状態& s) { 一手として記録(s); }},
        {"手番値が最小の整数", [](対局状態& s) { s.局.手番値COM = INT_MIN; }},
        {"手数が百万を超える", [](対局状態& s) { s.状況.手数 = 1048577; }},
        {"時計が3e22秒",
         [](対局状態& s) {
             s.時計.累計秒MAN = 3e22;
             一手として記録(s);
         }},
        {"下手の王がない",
         [](対局状態& s) {
             s.局.盤面[5][9] = 空桝;
             一手として記録(s);
         }},
        {"上手の王が二枚",
         [](対局状態& s) {
             s.局.盤面[5][5] = 駒_COM王;
             一手として記録(s);
         }},
        {"駒が一組より多い",
         [](対局状態& s) {
             s.局.持駒COM[7] = 1;
             一手として記録(s);
         }},
        {"途中で駒が消える",
         [](対局状態& s) {
             s.局.盤面[1][1] = 空桝;
             一手として記録(s);
         }},
        {"盤が棋譜の局面と違う", [](対局状態& s) { s.局.盤面[1][1] = 空桝; }},
        {"時計が棋譜の局面と違う", [](対局状態& s) { s.時計.累計秒COM = 1; }},
    };
    for (const 例& e : 表) {
        auto s = 途中の対局();
        e.変える(*s);
        派生値を整える(s->局);
        const auto 読めた = 自動保存を読む(自動保存の形にする(*s, {}));
        EXPECT_EQ(読めた.has_value(), e.名 == 表[0].名) << e.名;
    }
}

}  // namespace
}  // namespace kiryuza
