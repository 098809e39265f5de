// The game as text the way shogi records are written to be read, pasted into a mail or saved
// as a .kif file: header lines "key：value", the column titles, one line per move with its
// number, the move and its time, and a closing line with the result. UTF-8, lines end with
// "\n".
#pragma once

#include <string>

#include "rules/history.h"

namespace kiryuza {

// The side that moved first (▲, 先手) or second (△, 後手).
enum class 記録の側 { 先手, 後手 };

// How the game ended; 対局中 for a game that has not.
enum class 終局の理由 { 対局中, 王を取った, 詰み, 投了, 時間切れ };

// What the header and the closing line say; the history gives the moves.
struct 棋譜文の見出し {
    std::string 開始日時;  // when the game was played, as the caller writes it
    std::string 先手名;    // ▲
    std::string 後手名;    // △
    std::string 表題;      // no line when empty
    int 駒落ち枚数 = 0;    // 0 (or less): an even game
    記録の側 駒を落とす側 = 記録の側::後手;
    終局の理由 終局 = 終局の理由::対局中;
    記録の側 勝者 = 記録の側::先手;  // read only when the game ended
};

// The side of the record that the upper (COM) or lower (MAN) pieces played in this history;
// with no move yet the lower side counts as moving first.
記録の側 記録上の側(const 棋譜表& 棋譜, bool COM側);

// The whole record as text: entries 0..棋譜記録数 of the history, whatever entry is on the
// board. Total: any history and any header texts give well-formed lines.
std::string 棋譜の文(const 棋譜表& 棋譜, const 棋譜文の見出し& 見出し);

}  // namespace kiryuza
