#include "rules/time_control.h"

#include <algorithm>
#include <cmath>

namespace kiryuza {

double 調査_経過秒(double I_開始, double I_終了) {
    if (I_開始 <= I_終了) return I_終了 - I_開始;
    return I_終了 + (86400 - I_開始);
}

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

double& 側の累計(時計値& 時, 時計の側 側) {
    return 側 == 時計の側::COM ? 時.累計秒COM : 時.累計秒MAN;
}

double 側の累計(const 時計値& 時, 時計の側 側) {
    if (側 == 時計の側::なし) return 0;
    return 側 == 時計の側::COM ? 時.累計秒COM : 時.累計秒MAN;
}

double& 側の手の秒(時計値& 時, 時計の側 側) {
    return 側 == 時計の側::COM ? 時.手の秒COM : 時.手の秒MAN;
}

double 手の秒(const 時計値& 時, 時計の側 側, double 今) {
    if (側 == 時計の側::なし) return 0;
    const double 止めた秒 = 側 == 時計の側::COM ? 時.手の秒COM : 時.手の秒MAN;
    return 止めた秒 + (側 == 時.走る側 ? 調査_経過秒(時.手番開始時刻, 今) : 0);
}

double 使った秒(const 時計値& 時, 時計の側 側, double 今) {
    return 側の累計(時, 側) + 手の秒(時, 側, 今);
}

時計の残り 側の残り(const 時計値& 時, 時計の側 側, double 今) {
    return 残り時間(時.持ち時間秒, 時.秒読み秒, 側の累計(時, 側), 手の秒(時, 側, 今));
}

void 時計を止める(時計値& 時, double 今) {
    if (時.走る側 == 時計の側::なし) return;
    側の手の秒(時, 時.走る側) = 手の秒(時, 時.走る側, 今);
    時.走る側 = 時計の側::なし;
}

void 時計を切り替える(時計値& 時, 時計の側 側, double 今) {
    時計を止める(時, 今);
    if (側 == 時計の側::なし) return;
    時.走る側 = 側;
    時.手番開始時刻 = 今;
    時.経過秒 = 側の手の秒(時, 側);
}

void 手を終える(時計値& 時, 時計の側 側, double 秒) {
    if (側 == 時計の側::なし) return;
    側の累計(時, 側) += 秒;
    側の手の秒(時, 側) = 0;
    if (時.走る側 == 側) 時.走る側 = 時計の側::なし;
}

void 時計を初めに戻す(時計値& 時) {
    時.累計秒MAN = 0;
    時.累計秒COM = 0;
    時.手の秒MAN = 0;
    時.手の秒COM = 0;
    時.経過秒 = 0;
    時.表示秒 = 0;
    時.走る側 = 時計の側::なし;
}

}  // namespace kiryuza
