// The game clock. Under a time control each side has a main time for the whole game, and once
// it is gone, the byoyomi for every move. A side that has used `累計秒` before this move and
// `経過秒` on it still has main time while its total stays within the main time; after that it
// has the byoyomi for this move, and its time has run out once it has spent that too.
//
// Each side's clock is kept as on a game clock: the turn a side is in goes on until that side
// moves, wherever the game goes meanwhile, so that nothing but a move of its own starts a side's
// byoyomi afresh and nothing gives time back.
#pragma once

#include "rules/game_state.h"

namespace kiryuza {

// Seconds from `I_開始` to `I_終了`, both times of day in seconds since midnight: a span that
// passes midnight goes on counting across it.
double 調査_経過秒(double I_開始, double I_終了);

struct 時計の残り {
    double 残り秒 = 0;      // the time left, counting down: main time, or this move's byoyomi
    bool 秒読み中 = false;  // the main time is gone
    bool 切れ = false;      // no time is left: the side loses
};

// With neither main time nor byoyomi there is no time control: the time never runs out.
時計の残り 残り時間(int 持ち時間秒, int 秒読み秒, double 累計秒, double 経過秒);

// The whole seconds a clock counting down shows: a second is shown until it has fully passed.
int 残りの表示秒(double 残り秒);

// `側`'s total of the turns it has ended, and the seconds of the turn it is in as last stopped.
double& 側の累計(時計値& 時, 時計の側 側);
double 側の累計(const 時計値& 時, 時計の側 側);
double& 側の手の秒(時計値& 時, 時計の側 側);

// The seconds `側`'s turn has taken at `今`: what it took before its clock last stopped and,
// while its clock runs, the time since it started.
double 手の秒(const 時計値& 時, 時計の側 側, double 今);

// `側`'s seconds in the game at `今`: the turns it has ended and the turn it is in.
double 使った秒(const 時計値& 時, 時計の側 側, double 今);

// `側`'s time left at `今` under the control of `時`.
時計の残り 側の残り(const 時計値& 時, 時計の側 側, double 今);

// Stops the clock that runs at `今`; its turn keeps the seconds it took.
void 時計を止める(時計値& 時, double 今);

// Stops the clock that runs and starts `側`'s at `今`, its turn going on from where it stood
// (none: no clock runs).
void 時計を切り替える(時計値& 時, 時計の側 側, double 今);

// `側` has moved, its turn having taken `秒`: they go to its total, its next turn starts from
// nothing, and its clock stops if it ran.
void 手を終える(時計値& 時, 時計の側 側, double 秒);

// Both clocks of a game not begun: nothing used, nothing runs; the control stays.
void 時計を初めに戻す(時計値& 時);

}  // namespace kiryuza
