// Which moves a side may make. Wherever a piece may change form the rules leave the choice to
// the mover; a person who enters moves with the mouse always takes the change (the game never
// asks), so advice and judgement for a person's side weigh only those moves. A computer or an
// engine program keeps the whole choice. Plain C++; nothing here allocates.
#pragma once

#include "rules/position.h"

namespace kiryuza {

enum class 手の範囲 : unsigned char {
    全て,    // every legal move, in either form where the form may change
    人の手,  // a person's: the change of form taken wherever it is possible
};

// Which moves each side may make.
struct 両側の範囲 {
    手の範囲 MAN = 手の範囲::全て;  // the lower side
    手の範囲 COM = 手の範囲::全て;  // the upper side

    constexpr 手の範囲 側(bool COM側) const { return COM側 ? COM : MAN; }
    // 0 when both sides keep every move; bit 1 the lower side, bit 2 the upper side held to a
    // person's moves.
    constexpr int 番号() const {
        return (MAN == 手の範囲::人の手 ? 1 : 0) | (COM == 手の範囲::人の手 ? 2 : 0);
    }
    friend constexpr bool operator==(const 両側の範囲&, const 両側の範囲&) = default;
};

// The code a move of `駒` from (元X, 元Y) into row 先Y turns into when it changes form there
// (the table of 調査_駒成); `駒` itself when it cannot change (a drop never does).
constexpr int 変化後の駒(int 元X, int 元Y, int 先Y, int 駒) {
    if (元X == 持駒列_COM || 元X == 持駒列_MAN) return 駒;
    switch (駒) {
        case 駒_MANと:
        case 駒_MAN香成:
        case 駒_MAN桂成:
            return 先Y < 4 ? 駒 + 1 : 駒;
        case 駒_MAN銀成:
        case 駒_MAN角成:
        case 駒_MAN飛成:
            return 先Y < 4 || 元Y < 4 ? 駒 + 1 : 駒;
        case 駒_COMと:
        case 駒_COM香成:
        case 駒_COM桂成:
            return 先Y > 6 ? 駒 - 1 : 駒;
        case 駒_COM銀成:
        case 駒_COM角成:
        case 駒_COM飛成:
            return 先Y > 6 || 元Y > 6 ? 駒 - 1 : 駒;
        default:
            return 駒;
    }
}

// The code a person's move of `駒` from (元X, 元Y) to (先X, 先Y) leaves on the destination: the
// changed form wherever the piece may change there, the piece itself otherwise.
constexpr int 人の置く駒(int 元X, int 元Y, int /*先X*/, int 先Y, int 駒) {
    return 変化後の駒(元X, 元Y, 先Y, 駒);
}

// True when a side whose moves are `範囲` may leave `置く駒` on the destination of a move of
// `駒` from (元X, 元Y) to (先X, 先Y) that 移動チェック allows: with every move, the piece itself
// (where it keeps a move, 移動後チェック) or its changed form; with a person's, only the form
// 人の置く駒 gives.
bool 範囲の形か(手の範囲 範囲, int 元X, int 元Y, int 先X, int 先Y, int 駒, int 置く駒);

}  // namespace kiryuza
