// The moves of a history as the move list and the record text show them: each move with its
// number, the side that made it, the destination and piece as the game writes a move ("１六 と"),
// where it came from ("(17)", or 打 for a drop) and the time it took.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "rules/history.h"

namespace kiryuza {

struct 一覧の手 {
    int 番号 = 0;          // 1 for the first move
    bool 先手 = true;      // made by the side that moved first (▲), else △
    bool COM側 = false;    // made by the upper side's pieces
    int 元X = 0, 元Y = 0;  // the origin square; 0, 0 for a drop
    int 先X = 0, 先Y = 0;
    int 駒 = 0;        // the piece as it stands after the move
    long long 秒 = 0;  // the whole seconds the move took (手の秒数)
};

// The whole seconds the move after entry `前` took, as the mover's clock showed them: its
// whole seconds after the move less those before. Every place that shows a move's time uses
// this one count, so that the move list, the record text and a record saved and read again
// agree, and a side's moves add up to its clock. A time that is negative or not a number
// counts as none; one beyond about 31 years (a broken history) is capped.
long long 手の秒数(const 棋譜項目& 前, bool COM側);

// Move n of the history (1..棋譜記録数), found from the entries before and after it; `先手COM`
// says whether the upper side moved first in this game. Nothing when the two entries are not
// one move apart (a history taken as it stands).
std::optional<一覧の手> 一覧の手を求める(const 棋譜表& 棋譜, int n, bool 先手COM);

// "１六 と (17)", or "５五 歩 打" for a drop.
std::string 指し手の文(const 一覧の手& 手);

// A move the searching player found ("▲１六 と (17)"), made by the side that moved first (先手)
// or the other.
std::string 最善手の文(const 最善手& 手, bool 先手);

// Whole seconds as the move list shows a move's time: "0:05" or "1:02:05".
std::string 消費時間の文(long long 秒);

// The move list's text for entry n: "開始局面" (with the handicap when there is one) for 0,
// else "▲１六 と (17)".
std::string 一覧の文(const 棋譜表& 棋譜, int n, bool 先手COM, int ハンデレベル);

}  // namespace kiryuza
