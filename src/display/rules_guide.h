// The board pictures of the 遊び方 window, worked out by the rules themselves: where each piece
// may go from the middle of an empty board, which rows are the far zone, how a piece changes
// form on an example move, and what a piece in hand is dropped as. The window only draws them.
#pragma once

#include <vector>

#include "rules/position.h"

namespace kiryuza {

// One square of a board picture.
struct 図の桝 {
    int 駒 = 空桝;
    bool 行先 = false;  // marked: a square the piece may go to
    bool 敵陣 = false;  // in the lower side's far zone
};

// Part of the board: columns 左..右 and rows 上..下, as the window shows the board (row 1 at the
// top), and, when 手あり, a move drawn as an arrow from (元X, 元Y) to (先X, 先Y).
struct 盤の図 {
    int 左 = 1;
    int 右 = 盤桝数;
    int 上 = 1;
    int 下 = 盤桝数;
    図の桝 桝[10][10]{};
    bool 手あり = false;
    int 元X = 0;
    int 元Y = 0;
    int 先X = 0;
    int 先Y = 0;
};

// The square the movement pictures put their piece on.
inline constexpr int 図の中央 = 5;

// A lower-side piece alone on the middle of the board, with every square 移動チェック lets it go
// to marked. The picture keeps the part of the board around the piece that holds all the
// marks, and at least two squares on every side, as far as a knight jumps.
盤の図 動きの図(int 駒);

// One kind of piece as the lower side holds it: the promoted form it starts in and the plain
// form it falls back to; the same code twice for the king and the gold.
struct 駒の形 {
    int 成駒;
    int 元駒;
};

// Every kind, in the order the window teaches them: the king and the gold first, since every
// promoted small piece moves as a gold, then the pawn up to the rook.
std::vector<駒の形> 教える駒の順();

// True when row Y (1..9) is in the lower side's far zone: a promoted pawn stepping onto it from
// the row behind changes form.
bool 敵陣の段(int Y);

// The starting position, with the lower side's far zone marked.
盤の図 初めの並びの図();

// A lower-side promoted piece making one straight step across the edge of the far zone, and
// what 調査_駒成 makes of it.
struct 成りの例 {
    int 前の駒;
    int 後の駒;  // 前の駒 when the rules leave the piece as it is
    bool 出る;   // the step leaves the far zone; otherwise it enters it
    盤の図 前;   // the piece on its square, the step drawn as an arrow
    盤の図 後;   // the piece where the step took it
};

// A step into the far zone for every promoted kind that changes there, then a step out of it for
// every kind that the rules change on leaving too.
std::vector<成りの例> 成りの例一覧();

// A kind of piece in hand (its plain lower-side code) and the code it is dropped as.
struct 打ちの形 {
    int 持駒;
    int 打つ駒;
};

// The seven kinds of piece in hand, in hand order.
std::vector<打ちの形> 打ちの形一覧();

}  // namespace kiryuza
