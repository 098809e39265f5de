// A short game for the review's tests, made with the rules' own moves: the upper side's dragon
// comes to the king's file, the lower side ignores it with its fifth move, and the dragon takes
// the king with the sixth.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "rules/history.h"

namespace kiryuza::testing {

// Makes the move on `局` and records it, after checking that the rules allow it; the piece keeps
// its form.
inline void 記録して指す(局面& 局, 棋譜表& 棋譜, int 元X, int 元Y, int 先X, int 先Y) {
    const int 駒 = 局.盤面[元X][元Y];
    ASSERT_EQ(移動チェック(局, 元X, 元Y, 先X, 先Y, 駒), 定数_ON) << 元X << 元Y << 先X << 先Y;
    棋譜.手順保存(局, 0, 0, 0, 0);
    局面表示 無表示;
    駒移動(局, 無表示, 元X, 元Y, 先X, 先Y, 駒);
    派生値を整える(局);
    棋譜.着手後保存(局);
}

inline constexpr int 見逃す手 = 5;  // the lower side's move that leaves its king to be taken

inline std::unique_ptr<棋譜表> 王を取られる対局() {
    局面 局;
    初期配置(局);
    派生値を整える(局);
    auto 棋譜 = std::make_unique<棋譜表>();
    棋譜->開始(局, 0, 0);
    記録して指す(局, *棋譜, 5, 7, 4, 6);  // ▲ opens the king's file
    記録して指す(局, *棋譜, 5, 3, 6, 4);  // △ opens it from above
    記録して指す(局, *棋譜, 1, 7, 1, 6);
    記録して指す(局, *棋譜, 2, 2, 5, 2);  // △ the dragon faces the king
    記録して指す(局, *棋譜, 9, 7, 9, 6);  // ▲ looks away
    記録して指す(局, *棋譜, 5, 2, 5, 9);  // △ takes the king
    return 棋譜;
}

}  // namespace kiryuza::testing
