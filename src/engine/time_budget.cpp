#include "engine/time_budget.h"

#include <algorithm>

namespace kiryuza {

考慮時間 考慮時間を決める(std::int64_t 残りms, std::int64_t 秒読みms, std::int64_t 加算ms,
                          int 手数) {
    残りms = std::max<std::int64_t>(残りms, 0);
    秒読みms = std::max<std::int64_t>(秒読みms, 0);
    加算ms = std::max<std::int64_t>(加算ms, 0);
    // What this move may take before the flag falls; the increment comes only after it.
    const std::int64_t 持ち = 残りms + 秒読みms;
    const std::int64_t 余裕 = std::min(時間余裕ms, 持ち / 2);
    const std::int64_t 限界 = std::max<std::int64_t>(1, 持ち - 余裕);
    if (秒読みms > 0 && 残りms < 秒読みms) return {限界, 限界};
    // The moves of this side still to come: many early in the game, never fewer than ten.
    const std::int64_t 残り手 = std::max(10, 30 - std::max(手数, 0) / 8);
    const std::int64_t 目安 =
        std::clamp<std::int64_t>(残りms / 残り手 + 秒読みms / 2 + 加算ms * 3 / 4, 1, 限界);
    return {目安, std::min(限界, 目安 * 4)};
}

}  // namespace kiryuza
