#include "rules/time_control.h"

#include <algorithm>
#include <cmath>

namespace kiryuza {

時計の残り 残り時間(int 持ち時間秒, int 秒読み秒, double 累計秒, double 経過秒) {
    if (持ち時間秒 <= 0 && 秒読み秒 <= 0) return {};
    const double 本 = std::max(0.0, 持ち時間秒 - 累計秒);
    if (本 > 0 && 経過秒 <= 本) return {本 - 経過秒, false, false};
    const double 超過 = 経過秒 - 本;
    if (超過 > 秒読み秒) return {0, true, true};
    return {秒読み秒 - 超過, true, false};
}

int 残りの表示秒(double 残り秒) {
    return static_cast<int>(std::ceil(std::clamp(残り秒, 0.0, 1e9)));
}

}  // namespace kiryuza
