// The engine from the command line: candidate scores for positions read as record lines, and
// deterministic self-play against a seeded pseudo-player.
#pragma once

#include <cstdint>
#include <iosfwd>

#include "engine/engine.h"

namespace kiryuza {

// A score in tenths as text with exactly one decimal ("12.5", "-0.5", "-9998.0").
std::string 評価値の文字列(評価値 v);

// Analyses every line of `in`; returns false when any line was malformed.
bool 局面解析(std::istream& in, std::ostream& out, int レベル, bool 候補表示);

// Plays up to `手数上限` plies from the starting position and prints them.
void 自己対局(std::ostream& out, std::uint64_t 種, int 手数上限, int レベル);

}  // namespace kiryuza
