// One side of a match: a level of the computer player, or an engine program on the protocol.
#pragma once

#include <cstdint>
#include <string>

#include "notation.h"

namespace kiryuza {

// What a player answers for a move: the move, or why it has none.
struct 応手 {
    最善手 手;
    std::string 理由;  // when 手.有り is false: "no move", "resigned", "the engine died", ...
};

class 対局者 {
  public:
    virtual ~対局者() = default;
    // A new game from `開始`, the position after the opening. Empty when the player is ready;
    // otherwise why not, and the game counts as its loss.
    virtual std::string 新局(const 局面と手番& /*開始*/) { return {}; }
    // The move of the side to move of `今`. In a game on a clock `残りms` holds the time left
    // of the lower and the upper side; otherwise it is null.
    virtual 応手 選ぶ(const 局面と手番& 今, const std::int64_t* 残りms) = 0;
    // Told before each game which sides' moves are a person's (the change of form always
    // taken), as this player is to weigh them: its own side's when it is held to them, its
    // opponent's when it is to read the opponent so.
    virtual void 人の側を知る(const 両側の範囲& /*範囲*/) {}
    // Told of every move of the game, its own included, before it is made.
    virtual void 指された(const 最善手& /*手*/) {}
    // A few words on how the game went for this player, or nothing.
    virtual std::string 様子() const { return {}; }
};

}  // namespace kiryuza
