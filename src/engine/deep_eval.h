// The searching player's evaluation: material of both forms and of the hands (which come back
// promoted), placement, king safety and the reach of the sliding pieces. Symmetric between the
// sides: the score of a position for one side is the score of its reversal for the other.
#pragma once

#include "engine/deep_board.h"

namespace kiryuza {

// Values in hundredths of a pawn.
struct 深読み評価 {
    深読み評価();

    // The score of the position for the side to move.
    int 評価(const 探索盤& 盤) const;

    // What a capture of `code` gains: the piece off the board and one of its kind in hand.
    int 取り得(int code) const { return 取得価値_[駒番号(code) % 駒種数]; }

    駒得表 表{};

  private:
    int 王の危険(const 探索盤& 盤, int 側, int 押し) const;
    int 取得価値_[駒種数]{};
};

}  // namespace kiryuza
