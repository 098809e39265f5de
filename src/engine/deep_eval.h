// The searching player's evaluation: material of both forms and of the hands (which come back
// promoted), placement, king safety and the reach of the sliding pieces. Symmetric between the
// sides: the score of a position for one side is the score of its reversal for the other.
#pragma once

#include "engine/deep_board.h"

namespace kiryuza {

// The numbers of the evaluation, in hundredths of a pawn; the defaults are the player's own.
// Kinds are indexed in the order of 駒種の値, hand pieces by hand index 1..7.
struct 評価係数 {
    // Value of a piece standing on the board, by kind. The promoted forms move as gold, horse
    // and dragon; the plain forms are what a piece may fall back to in the far zone.
    int 盤価値[駒種数] = {100, 560, 320, 560, 360, 560, 480, 570, 600, 780, 1050, 880, 1250, 0};
    // Value of a piece in hand. It comes back in its promoted form, anywhere, but does nothing
    // until it is dropped: it counts for less than the same piece placed, so that the player
    // puts its pieces to work.
    int 持駒価値[8] = {0, 300, 300, 300, 310, 340, 780, 980};
    // Placement by rows advanced from the owner's back row (0..8), for the gold movers and the
    // king; per column away from the middle, for the horse and the dragon.
    int 金前進[9] = {0, 2, 4, 8, 12, 16, 18, 18, 16};
    int 王段[9] = {0, -10, -30, -60, -90, -110, -120, -130, -140};
    int 大駒端 = -3;
    // Weight of an enemy piece near a king, by kind, and of a piece in the opponent's hand
    // (where it lands next to the king it attacks), the hand's weight capped.
    int 攻め重み[駒種数] = {1, 2, 1, 2, 1, 2, 2, 2, 2, 2, 3, 2, 3, 0};
    int 持駒脅威[8] = {0, 2, 2, 2, 2, 2, 3, 4};
    int 持駒脅威上限 = 16;
    // Danger = attackers x 攻め係数 + hand threat x (1 + free squares next to the king) - guards
    // x 守り係数 (a gold mover counts as 金守り guards); the king's side loses danger² x
    // 危険倍率 / 8 of its score, up to 危険上限.
    int 攻め係数 = 6;
    int 守り係数 = 3;
    int 金守り = 2;
    int 危険倍率 = 3;
    int 危険上限 = 3000;
    // Placement of every piece but the kings by its distance from a king (the larger of the two
    // steps): near the other king it attacks, near its own it guards. They draw the pieces
    // towards the kings, so that two walls of gold movers do not shuffle until the move limit.
    int 攻め近[9] = {0, 30, 20, 10, 4, 0, 0, 0, 0};
    int 守り近[9] = {0, 16, 10, 4, 0, 0, 0, 0, 0};
    int 線利き点 = 3;  // per square a bishop or rook reaches
    int 手番点 = 20;   // for having the move
};

struct 深読み評価 {
    explicit 深読み評価(const 評価係数& 係数 = {});

    // The score of the position for the side to move.
    int 評価(const 探索盤& 盤) const;

    // What a capture of `code` gains: the piece off the board and one of its kind in hand.
    int 取り得(int code) const { return 取得価値_[駒番号(code) % 駒種数]; }

    駒得表 表{};

  private:
    int 王の危険(const 探索盤& 盤, int 側, int 押し) const;
    評価係数 係_;
    int 取得価値_[駒種数]{};
};

}  // namespace kiryuza
