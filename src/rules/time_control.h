// A clock under a time control: each side has a main time for the whole game, and once it is
// gone, the byoyomi for every move. A side that has used `累計秒` before this move and `経過秒`
// on it still has main time while its total stays within the main time; after that it has the
// byoyomi for this move, and its time has run out once it has spent that too.
#pragma once

namespace kiryuza {

struct 時計の残り {
    double 残り秒 = 0;      // the time left, counting down: main time, or this move's byoyomi
    bool 秒読み中 = false;  // the main time is gone
    bool 切れ = false;      // no time is left: the side loses
};

// With neither main time nor byoyomi there is no time control: the time never runs out.
時計の残り 残り時間(int 持ち時間秒, int 秒読み秒, double 累計秒, double 経過秒);

// The whole seconds a clock counting down shows: a second is shown until it has fully passed.
int 残りの表示秒(double 残り秒);

}  // namespace kiryuza
