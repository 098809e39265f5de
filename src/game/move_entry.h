// The move being entered with the mouse, kept from one click to the next: the square or hand
// slot picked (a slot by its cell), the destination of the last second click and the code of
// the picked piece (the drop code for a piece in hand); and, while the player chooses the form
// the piece arrives in, the code the change of form gives and the form selected.
#pragma once

#include "rules/position.h"

namespace kiryuza {

struct 指し手入力 {
    int 移動元X = 0;
    int 移動元Y = 0;
    int 移動先X = 0;
    int 移動先Y = 0;
    int 移動駒 = 0;
    bool 形を選ぶ = false;  // the move waits for its form: the chooser shows both
    int 変えた駒 = 0;       // the code with the change of form
    bool 変える = true;     // the form selected: the change (preselected), or the piece as it is

    void 選ぶ(int x, int y, int 駒) {
        移動元X = x;
        移動元Y = y;
        移動駒 = 駒;
    }
    // A piece has been picked at some time (the record starts out empty).
    bool 駒あり() const { return MAN駒(移動駒) || COM駒(移動駒); }
    // The pick is a slot of the hand of the side not to move (上の番: the upper side moves).
    bool 相手の持駒(bool 上の番) const { return 移動元X == (上の番 ? 持駒列_MAN : 持駒列_COM); }
    // The move as the rules take it: a drop from the upper hand names its hand index, not the
    // row of its slot.
    指し手 手() const {
        return {移動元X, 移動元X == 持駒列_COM ? 8 - 移動元Y : 移動元Y, 移動先X, 移動先Y, 移動駒};
    }
};

}  // namespace kiryuza
