// Handicaps: before the first move, each step of the level takes one piece of a side off the
// board or puts it back. Positive levels take the upper side's pieces, negative levels the
// lower side's, in mirrored orders; level 0 is the even game.
#pragma once

#include <optional>

#include "rules/position.h"

namespace kiryuza {

inline constexpr int ハンデ最大 = 10;

// The square a handicap step changed and what stands there now.
struct ハンデの桝 {
    int x, y, 駒;
};

// Moves `レベル` one step (向き +1 or -1) within -10..10 and takes the piece of the level reached
// off the board (moving away from 0) or puts the piece of the level left back (moving towards
// 0). Nothing changes at the limit.
std::optional<ハンデの桝> ハンデを動かす(局面& 局, int& レベル, int 向き);

}  // namespace kiryuza
