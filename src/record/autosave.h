// The game in progress, kept whole so that a crash, a kill or a power cut loses nothing: every
// history entry (hand counts above 9 included), the position on the board, whose turn it is,
// the mode, both sides' turn values, the level, the handicap, the clock totals and a loaded
// record's titles. A form of our own: a magic line, then little-endian fields, then a checksum
// of everything before it; anything else reads as nothing.
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
// (wrong magic or version, a bad checksum, a count or piece code out of range).
struct 自動保存 {
    対局状態 状態;
    自動保存の印 印;
};
std::optional<自動保存> 自動保存を読む(const std::vector<std::uint8_t>& 内容);

// True when a kept game is worth offering to go on with: a game was being played, it has a
// move, and it neither ended nor was saved since.
bool 続けられる(const 自動保存& 保存);

}  // namespace kiryuza
