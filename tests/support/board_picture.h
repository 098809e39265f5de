// Positions written as 9x9 pictures for the tests. A row lists columns 1..9 from the left;
// a cell is a side mark and a piece letter: "^" the lower side (MAN), "v" the upper side (COM),
// " ・" an empty square. Letters: 歩 と 香 杏(香成) 桂 圭(桂成) 銀 全(銀成) 金 角 馬(角成)
// 飛 竜(飛成) 王.
#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "rules/position.h"

namespace kiryuza::testing {

inline int 駒文字の値(std::string_view 字) {
    struct 対 {
        std::string_view 字;
        int 値;
    };
    static constexpr 対 表[] = {{"歩", 10},  {"と", 11},  {"香", 20},  {"杏", 21},  {"桂", 30},
                                {"圭", 31},  {"銀", 100}, {"全", 101}, {"金", 110}, {"角", 800},
                                {"馬", 801}, {"飛", 900}, {"竜", 901}, {"王", 950}};
    for (const auto& e : 表)
        if (e.字 == 字) return e.値;
    throw std::invalid_argument("unknown piece letter: " + std::string(字));
}

// Fills the board of `局` from the picture; hands, totals and flags are left as they are.
inline void 盤図(局面& 局, const std::array<std::string_view, 9>& 行) {
    for (int y = 1; y <= 9; ++y) {
        std::string_view s = 行[y - 1];
        int x = 1;
        std::size_t i = 0;
        while (i < s.size()) {
            if (x > 9) throw std::invalid_argument("row too long: " + std::string(s));
            const char mark = s[i++];
            // A letter is one UTF-8 character of three bytes.
            std::string_view 字 = s.substr(i, 3);
            i += 3;
            if (字 == "・") {
                局.盤面[x][y] = 空桝;
            } else {
                const int v = 駒文字の値(字);
                局.盤面[x][y] = mark == 'v' ? v : -v;
            }
            ++x;
        }
        if (x != 10) throw std::invalid_argument("row too short: " + std::string(s));
    }
}

// A fresh position from a picture, with empty hands.
inline 局面 局面図(const std::array<std::string_view, 9>& 行) {
    局面 局;
    盤図(局, 行);
    return 局;
}

}  // namespace kiryuza::testing
