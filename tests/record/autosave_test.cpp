// The kept game: what goes in comes back whole, hand counts of ten and more included, and any
// torn or altered copy reads as nothing.
#include <gtest/gtest.h>

#include <memory>

#include "record/autosave.h"

namespace kiryuza {
namespace {

std::unique_ptr<対局状態> 途中の対局() {
    auto s = std::make_unique<対局状態>();
    初期配置(s->局);
    s->棋譜.開始(s->局, 0, 0);
    局面表示 無表示;
    s->棋譜.手順保存(s->局, 0, 12.5, 0, 0);
    駒移動(s->局, 無表示, 5, 7, 5, 6, 駒_MANと);
    s->棋譜.着手後保存(s->局);
    s->局.持駒MAN[1] = 12;  // more than a record line can hold
    s->局.盤面[1][7] = 空桝;
    s->棋譜.手順保存(s->局, 12.5, 12.5, 0, 3);
    s->棋譜.着手後保存(s->局);
    s->棋譜.戻す();
    s->状況.手番 = 手番_後手;
    s->状況.対局モード = 対局モード_COM;
    s->状況.手数 = 2;
    s->状況.COMレベル = 2;
    s->状況.ハンデレベル = -3;
    s->状況.見出し = {"練習", "上", "下"};
    s->局.手番値MAN = 手番_後手;
    s->局.手番値COM = 手番_先手;
    s->時計.累計秒MAN = 12.5;
    s->時計.累計秒COM = 3;
    return s;
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
    EXPECT_TRUE(r->印.保存済み);
    EXPECT_FALSE(続けられる(*r));  // saved: nothing to offer
    r->印.保存済み = false;
    EXPECT_TRUE(続けられる(*r));
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

}  // namespace
}  // namespace kiryuza
