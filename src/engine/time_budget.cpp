#include "engine/time_budget.h"

#include <algorithm>

#include "rules/pieces.h"

namespace kiryuza {

考慮時間 考慮時間を決める(std::int64_t 残りms, std::int64_t 秒読みms, std::int64_t 加算ms,
                          int 手数) {
    残りms = std::max<std::int64_t>(残りms, 0);
    秒読みms = std::max<std::int64_t>(秒読みms, 0);
    加算ms = std::max<std::int64_t>(加算ms, 0);
    // The moves this side may still have to make after this one, and what they cost besides
    // thinking, kept back unless byoyomi or the increment pays for it.
    const std::int64_t 後の手 = std::max(0, (棋譜最大数 - std::max(手数, 1)) / 2);
    const std::int64_t 予備 =
        秒読みms > 0 ? 0 : 後の手 * std::max<std::int64_t>(0, 一手の手間ms - 加算ms);
    const std::int64_t 使える = std::max<std::int64_t>(0, 残りms - 予備);
    // What this move may take before the flag falls; the increment comes only after it.
    const std::int64_t 持ち = 使える + 秒読みms;
    const std::int64_t 余裕 = std::min(時間余裕ms, 持ち / 2);
    const std::int64_t 限界 = std::max<std::int64_t>(1, 持ち - 余裕);
    if (秒読みms > 0 && 残りms < 秒読みms) return {限界, 限界};
    // The moves of this side still to come: many early in the game, never fewer than ten.
    const std::int64_t 残り手 = std::max(10, 30 - std::max(手数, 0) / 8);
    const std::int64_t 目安 =
        std::clamp<std::int64_t>(使える / 残り手 + 秒読みms / 2 + 加算ms * 3 / 4, 1, 限界);
    return {目安, std::min(限界, 目安 * 4)};
}

}  // namespace kiryuza
