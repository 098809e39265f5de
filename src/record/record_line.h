// One move line of a record file: 81 board fields of 4 characters (columns 1..9 outer, rows
// 1..9 inner), 14 one-digit hand counts (for each kind 1..7: the lower side's, then the upper
// side's) and four time fields of 5 characters, 358 characters in all, right-aligned.
#pragma once

#include <string>
#include <string_view>

#include "rules/history.h"

namespace kiryuza {

inline constexpr std::size_t 棋譜行長 = 358;

// The content of one line: one history entry.
struct 棋譜行データ {
    int 盤面[10][10]{};
    int 持駒MAN[8]{};
    int 持駒COM[8]{};
    long 前秒M = 0;
    long 後秒M = 0;
    long 前秒C = 0;
    long 後秒C = 0;
};

// Why a line was refused.
enum class 行誤り {
    なし,
    長さ,        // not 358 characters
    数値でない,  // a field that is not a right-aligned decimal number
    駒でない,    // a board value that is neither 0 nor a piece code
    駒数超過,    // more pieces of a kind than a set holds
    王の数,      // not exactly one king per side
};

struct 行解析結果 {
    行誤り 誤り = 行誤り::なし;
    int 桁 = 0;  // 1-based character column where the fault lies (0 when not tied to one)
    // One side's king is gone: the position after a king was captured, which ends a game.
    bool 王が取られた = false;
    棋譜行データ データ;
};

// Parses and checks one line (without its line end). A position with one king, taken by the
// last move of a game, reads with 王が取られた set; a position without kings, or with more
// than one of a side, is refused.
行解析結果 棋譜行を読む(std::string_view 行);

// A short English reason for the command-line tool, and a Japanese one for the window.
const char* 行誤りの理由(行誤り 誤り);
const char* 行誤りの説明(行誤り 誤り);

// Puts the position a line holds on `局` (board and hands) with what follows from it: hand
// totals, the kings' squares and the two-pawn flags.
void 行を局面へ(const 棋譜行データ& データ, 局面& 局);

// Why an entry cannot be written in the fixed-width format.
enum class 書込誤り { なし, 持駒数, 時間 };

// Builds the 358-character line; refuses hand counts of 10 or more and times that do not fit in
// five characters (whole seconds 0..99999), which the format cannot hold.
書込誤り 棋譜行を書く(const 棋譜行データ& データ, std::string& 出力);

}  // namespace kiryuza
