// The window's grid of cells in twips: cell (x, y) has its corner at (1050 + 570x, 100 + 660y);
// the board is cells 1..9 x 1..9, the lower side's hand column 11 (rows 3..9), the upper side's
// column -1 (rows 1..7). Coordinates may be fractional.
#pragma once

#include <cmath>
#include <optional>

#include "rules/pieces.h"

namespace kiryuza {

inline constexpr double 盤原点X = 1050;
inline constexpr double 盤原点Y = 100;
inline constexpr double 桝幅 = 570;
inline constexpr double 桝高 = 660;

constexpr double 格子X(double x) {
    return 盤原点X + 桝幅 * x;
}
constexpr double 格子Y(double y) {
    return 盤原点Y + 桝高 * y;
}

// A cell of the grid.
struct 桝 {
    int 列, 行;
};

// The cell a window point (twips) falls in.
inline 桝 桝を求める(double x, double y) {
    return {static_cast<int>(std::floor((x - 盤原点X) / 桝幅)),
            static_cast<int>(std::floor((y - 盤原点Y) / 桝高))};
}

inline bool 盤の桝(桝 c) {
    return c.列 >= 1 && c.列 <= 盤桝数 && c.行 >= 1 && c.行 <= 盤桝数;
}

// A hand slot: which side's hand and which kind (hand index 1..7).
struct 持駒の桝 {
    bool COM側;
    int 番号;
};

// The hand slot a cell is, if any: the lower side's hand holds 歩 at row 3 down to 飛 at row 9,
// the upper side's 飛 at row 1 down to 歩 at row 7.
inline std::optional<持駒の桝> 持駒の桝を求める(桝 c) {
    if (c.列 == 持駒列_MAN && c.行 >= 3 && c.行 <= 9) return 持駒の桝{false, c.行 - 2};
    if (c.列 == 持駒列_COM && c.行 >= 1 && c.行 <= 7) return 持駒の桝{true, 8 - c.行};
    return std::nullopt;
}

// The cell of a hand slot.
constexpr 桝 持駒の位置(bool COM側, int 番号) {
    return COM側 ? 桝{持駒列_COM, 8 - 番号} : 桝{持駒列_MAN, 番号 + 2};
}

}  // namespace kiryuza
