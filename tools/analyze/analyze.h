// The engine from the command line: candidate scores for positions read as record lines,
// deterministic self-play against a seeded pseudo-player, matches between levels and the review
// of a record file.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <random>
#include <string>

#include "engine/engine.h"
#include "notation.h"

namespace kiryuza {

// A score in tenths as text with exactly one decimal ("12.5", "-0.5", "-9998.0").
std::string 評価値の文字列(評価値 v);

// Analyses every line of `in`; returns false when any line was malformed.
bool 局面解析(std::istream& in, std::ostream& out, int レベル, bool 候補表示);

// Plays up to `手数上限` plies from the starting position and prints them.
void 自己対局(std::ostream& out, std::uint64_t 種, int 手数上限, int レベル);

// Plays `手数` random moves from `p`, the lower side's first when it is to move, the change of
// form always taken as a person moving with the mouse does; stops early at a side with no move.
void 乱数の序盤(局面と手番& p, std::mt19937_64& rng, int 手数);

// A clock for games between engines: main time, byoyomi and increment per move.
struct 持ち時間設定 {
    std::int64_t 持ちms = 0;  // 0: no clock; each move is given the player's 時間ms
    std::int64_t 秒読みms = 0;
    std::int64_t 加算ms = 0;
};

// A match: level A against level B (1..3 the one-ply player, 4 the searching player), or engine
// program A against engine program B, each opening played twice with the sides swapped.
struct 対戦設定 {
    int レベルA = 4;
    int レベルB = 3;
    std::string 命令A;  // engines: the shell commands that start them (both or neither)
    std::string 命令B;
    int 局数 = 2;
    std::uint64_t 種 = 1;
    int 時間msA = 1000;  // thinking time of a level-4 player or an engine A per move
    int 時間msB = 1000;  // and of B
    持ち時間設定 時計;   // engines only
    int スレッド数 = 0;  // engines only: sent as their Threads option when above 0
    // 'A' or 'B': that player's moves are held to a person's (the change of form always taken):
    // it is told so for the side it plays each game (an engine through PersonSide), and a move
    // of it that declines a change of form loses the game. 0: nobody is held.
    char 人 = 0;
    bool 人を読む = false;  // the other player is told too, and reads that side as a person
};

// The result from A's side.
struct 対戦成績 {
    int 勝 = 0;
    int 負 = 0;
    int 分 = 0;
};

// Plays the match, printing one line per game and the summary line last.
対戦成績 対戦(std::ostream& out, const 対戦設定& 設定);

// True when `手` is a move the upper side (COM側) or the lower side may make in `局`: a board
// move or drop that 合法手一覧 lists, left in its own form or in the form 調査_駒成 gives (only
// the latter for a person's moves).
bool 指せる手か(局面& 局, bool COM側, const 最善手& 手, 手の範囲 範囲 = 手の範囲::全て);

// A search score for one side as text: "+35", "-1200", "mate +5" (the side takes the king with
// the fifth ply from here), "mate -4" (it loses its own).
std::string 評価の文(int 評価);

// The sides of a reviewed game whose moves a person entered, by the order of play: ▲ (the side
// that moved first), △, both or neither.
enum class 人の手番 { なし, 先手, 後手, 両方 };

// How a game is reviewed: each position searched for 時間ms (and at most 深さ上限 plies deep
// when above 0; with 時間ms 0 the depth alone limits it), スレッド数 positions at once; the
// moves of a side a person played (人) are weighed as a person's: the change of form always
// taken.
struct 講評の条件 {
    int 時間ms = 100;
    int 深さ上限 = 0;
    int スレッド数 = 1;
    人の手番 人 = 人の手番::なし;
};

// Reviews the game of the record file at `パス` as `条件` says: one line per move on `out`
// (number, move, evaluation after it for ▲, the mark, and for a marked move the preferred one
// with its evaluation), then the marks of each side. A file that cannot be read or is not a
// record: a message on `err` and false.
bool 棋譜講評(const std::string& パス, const 講評の条件& 条件, std::ostream& out,
              std::ostream& err);

}  // namespace kiryuza
