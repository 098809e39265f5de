// The engine protocol's notation: a position as SFEN and a move as text, to and from the rules'
// 局面 and 最善手. Plain C++; docs/ENGINE.md describes the notation.
//
// Files are numbered 1..9 from the right as the lower side sees the board (column X is file
// 10 - X), ranks a..i from the top (row Y is rank a + Y - 1). Letters: P L N S G B R K for the
// plain forms, with "+" before them for the promoted forms; uppercase for the lower side (MAN),
// lowercase for the upper side (COM).
#pragma once

#include <string>
#include <string_view>

#include "engine/engine.h"

namespace kiryuza {

// A position as the protocol passes it: the board and both hands with their derived fields
// tidy, the side to move and the number of the move to be made (1 for the first).
struct 局面と手番 {
    局面 局;
    bool COM番 = false;
    int 手数 = 1;
};

// The starting position, every piece promoted as 初期配置 lays it out, the lower side to move.
局面と手番 開始局面();

// True while both kings stand on the board.
bool 対局中(const 局面& 局);

std::string SFENへ(const 局面と手番& p);

// Reads "board side hands [move number]". On failure returns false with the reason in `誤り`
// and leaves `p` as it was. Both kings must stand on the board and no kind may have more pieces
// than a set holds.
bool SFENから(std::string_view 文字, 局面と手番& p, std::string& 誤り);

// A move of the side to move of `局` as text: "7g7f" for a board move, "P*5e" for a drop (the
// plain letter of the kind in hand; the piece lands promoted). Where the move lets the piece end
// in either form, a suffix names the form it ends in: "+" promoted, "=" plain. Where the form is
// forced there is no suffix.
std::string 手の表記(const 局面& 局, const 最善手& 手);

// The move that `文字` writes for the side to move of `p`, checked against the rules: a move
// the rules do not allow, or one written without the suffix it needs (or with one it may not
// have), gives false and the reason.
bool 表記の手(const 局面と手番& p, std::string_view 文字, 最善手& 手, std::string& 誤り);

// Makes a legal move of the side to move (a capture goes into the hand), tidies the derived
// fields, passes the turn and counts the move.
void 手を進める(局面と手番& p, const 最善手& 手);

}  // namespace kiryuza
