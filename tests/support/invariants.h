// What must hold of every position a game reaches, shared by the random-play, self-play and
// game-flow checks: the game's own check, named for the tests.
#pragma once

#include "rules/position_check.h"

namespace kiryuza::testing {

using kiryuza::局面の期待;
using kiryuza::局面の矛盾;

}  // namespace kiryuza::testing
