// The game in progress, kept whole so that a crash, a kill or a power cut loses nothing: every
// history entry (hand counts above 9 included), the position on the board, whose turn it is,
// the mode, both sides' turn values, the level, the handicap, the clocks (each side's total and
// the turn it is in, the one that runs, the time control) and a loaded record's titles. A form
// of our own: a magic line, then little-endian fields, then a checksum of everything before it;
// anything else reads as nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rules/game_state.h"

namespace kiryuza {

// What the kept game says of itself besides its state.
struct 自動保存の印 {
    bool 終局 = false;      // the game ended
    bool 保存済み = false;  // nothing happened since it was saved or loaded as a record
};

// The bytes that keep `状態` (all but the options and the working values of a turn).
std::vector<std::uint8_t> 自動保存の形にする(const 対局状態& 状態, const 自動保存の印& 印);

// A kept game: its state and marks; nothing when the bytes are not a whole, sound kept game
// (wrong magic or version, a bad checksum, a count or piece code out of range), or when a game
// that would be offered (続けられる) is one that no play reaches (自動保存の矛盾).
struct 自動保存 {
    対局状態 状態;
    自動保存の印 印;
};
std::optional<自動保存> 自動保存を読む(const std::vector<std::uint8_t>& 内容);

// The most seconds a clock of a kept game may hold: far more than any game runs (a game left
// open for weeks included), and little enough for every conversion to a whole number.
inline constexpr double 時計の上限 = 1e9;

// The highest move number a kept game may show. The number goes on counting where the history
// starts again (a reversal keeps it), so it is not bound by the history's 500 moves; no run
// plays this many.
inline constexpr int 手数の上限 = 99999;

// Why a kept game cannot be played on: the first thing it holds that no game reaches (a
// position with a missing or extra king or more pieces than a set, a count that changes, a
// board or clock out of step with the history, a last entry that holds a move, a clock out of
// range), as short English text;
// empty when it is sound.
std::string 自動保存の矛盾(const 自動保存& 保存);

// Puts right the checksum in the last eight bytes, for tools that edit kept games on purpose
// (the fuzz target); nothing for fewer than eight bytes.
void 検査値を付け直す(std::vector<std::uint8_t>& 内容);

// True when a kept game is worth offering to go on with: a game was being played, it has a
// move, and it neither ended nor was saved since.
bool 続けられる(const 自動保存& 保存);

}  // namespace kiryuza
