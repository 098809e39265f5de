// Turning a position round: the board by 180 degrees with the owners swapped, so that a player
// written for one side can play the other.
#pragma once

#include "rules/position.h"

namespace kiryuza {

// Turns the board half round and swaps the owners: a piece v on (x, y) goes to (10 - x, 10 - y)
// as -v; the hands change sides. The hand totals, the king squares and the two-pawn flags are
// recomputed from the result; the winner and the turn values are left alone. Applying it twice
// gives the position back.
void 局面反転(局面& 局);

// A move of the turned position as a move of the original one: board squares turned round, the
// code negated, and a drop taken from the other hand (origin column and row re-encoded).
指し手 反転手(const 指し手& 手);

}  // namespace kiryuza
