// Answers worked out by brute force from the rules alone (合法手一覧, 調査_駒成, 駒移動), to
// check the searching player against: which moves a side has, whether one is among them,
// whether a king can be taken and whether a move mates.
#pragma once

#include <vector>

#include "engine/engine.h"

namespace kiryuza::testing {

// Every move of a side, board moves also in the changed form where the rules allow one.
inline std::vector<指し手> 規則の全手(局面 局, bool COM側) {
    std::vector<指し手> 一覧(合法手最大数);
    const int n = 合法手一覧(局, COM側, 一覧.data());
    std::vector<指し手> 結果;
    for (int i = 0; i < n; ++i) {
        指し手 m = 一覧[i];
        結果.push_back(m);
        const bool 打 = m.元X == 持駒列_COM || m.元X == 持駒列_MAN;
        if (!打 && 調査_駒成(局, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON) {
            m.駒 = 局.駒成結果;
            結果.push_back(m);
        }
    }
    return 結果;
}

// True when the move is one the side may make: listed by the rules, in a form they allow, with
// the code that stood on the origin.
inline bool 規則にある手(const 局面& 局, bool COM側, const 最善手& 手) {
    if (!手.有り) return false;
    const bool 打 = 手.元X == 持駒列_COM || 手.元X == 持駒列_MAN;
    if (!打 && (手.元X < 1 || 手.元X > 9 || 手.元Y < 1 || 手.元Y > 9)) return false;
    if (!打 && 手.元駒 != 局.盤面[手.元X][手.元Y]) return false;
    for (const 指し手& m : 規則の全手(局, COM側))
        if (m.元X == 手.元X && m.元Y == 手.元Y && m.先X == 手.先X && m.先Y == 手.先Y &&
            m.駒 == 手.駒)
            return true;
    return false;
}

inline 局面 指した後(局面 局, const 指し手& m) {
    局面表示 無表示;
    駒移動(局, 無表示, m.元X, m.元Y, m.先X, m.先Y, m.駒);
    return 局;
}

inline 指し手 手の形(const 最善手& b) {
    return {b.元X, b.元Y, b.先X, b.先Y, b.駒};
}

// True when the side could take the other side's king at once.
inline bool 王を取れる(const 局面& 局, bool COM側) {
    const int 王 = COM側 ? 駒_MAN王 : 駒_COM王;
    for (const 指し手& m : 規則の全手(局, COM側))
        if (局.盤面[m.先X][m.先Y] == 王) return true;
    return false;
}

// True when after `m` the other side cannot keep its king: it is taken, or every reply leaves
// it to be taken.
inline bool 詰ませる手(const 局面& 局, bool COM側, const 指し手& m) {
    const 局面 後 = 指した後(局, m);
    if (後.勝者 != 手番_なし) return true;
    for (const 指し手& r : 規則の全手(後, !COM側)) {
        const 局面 次 = 指した後(後, r);
        if (次.勝者 != 手番_なし || !王を取れる(次, COM側)) return false;
    }
    return true;
}

// True when the side has a move that mates.
inline bool 一手詰めあり(const 局面& 局, bool COM側) {
    for (const 指し手& m : 規則の全手(局, COM側))
        if (詰ませる手(局, COM側, m)) return true;
    return false;
}

}  // namespace kiryuza::testing
