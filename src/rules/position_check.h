// What every position a game reaches holds: its pieces where pieces may stand, no more of a
// kind than a set has, one king a side, and the fields derived from the board in step with it.
// Used to check a game restored from outside bytes, and by the tests after every move.
#pragma once

#include <string>

#include "rules/position.h"

namespace kiryuza {

// What a position is expected to hold besides the fixed rules.
struct 局面の期待 {
    int 王以外の駒数 = 38;        // pieces other than kings, on the board and in hand; -1: any
    bool 王一枚でもよい = false;  // a king may have been captured
    bool 王位置 = true;           // the king fields must name the kings' squares
    bool 二歩フラグ = true;       // the two-pawn flags must follow the board
};

// The first way `局` breaks what is expected of it, as short English text; empty when none.
std::string 局面の矛盾(const 局面& 局, const 局面の期待& 期待 = {});

// The pieces other than kings on the board and in both hands.
int 王以外の駒数(const 局面& 局);

}  // namespace kiryuza
