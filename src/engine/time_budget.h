// How long to think for one move on a clock: main time left, byoyomi and increment. Plain C++,
// shared by the engine program and, later, the window's clock games.
#pragma once

#include <cstdint>

namespace kiryuza {

// The time kept back from every move for reading the command, starting and stopping the
// search and sending the answer through the pipe (half the time when that is shorter).
inline constexpr std::int64_t 時間余裕ms = 100;
// What one move costs at most besides thinking (the pipe, the process, starting and stopping
// the search). Without byoyomi it is kept back for every move the side may still have to make
// before the game's move limit, less what the increment gives back: a game played to the limit
// never loses on time.
inline constexpr std::int64_t 一手の手間ms = 10;

struct 考慮時間 {
    std::int64_t 目安ms;  // think this long
    std::int64_t 上限ms;  // and never longer than this (always within the clock, less the margin)
};

// The thinking time of the side to move from its main time left, the byoyomi (the time every
// move may take once the main time is gone), the increment added after each move and the
// number of the move (the game's ply, 1 for the first). While main time is left the move takes
// a share of it and half the byoyomi; once less than one byoyomi period is left, the main time
// is as good as gone and the move uses what is left of it and the whole byoyomi.
考慮時間 考慮時間を決める(std::int64_t 残りms, std::int64_t 秒読みms, std::int64_t 加算ms,
                          int 手数);

}  // namespace kiryuza
