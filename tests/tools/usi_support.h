// Positions and moves for the tests of the engine protocol: every way a side may play, and the
// positions of seeded random games.
#pragma once

#include <memory>
#include <random>
#include <vector>

#include "notation.h"

namespace kiryuza::testing {

// Every move the side to move may make: each move 合法手一覧 lists in its own form and, where
// the piece may change form, in the changed one too.
inline std::vector<最善手> 全ての手(const 局面と手番& p) {
    局面 作業 = p.局;
    auto 一覧 = std::make_unique<指し手[]>(合法手最大数);
    const int n = 合法手一覧(作業, p.COM番, 一覧.get());
    std::vector<最善手> 手;
    for (int i = 0; i < n; ++i) {
        const 指し手& m = 一覧[i];
        最善手 b{true, m.元X, m.元Y, m.先X, m.先Y, m.駒, m.駒, 0};
        手.push_back(b);
        const bool 打 = m.元X == 持駒列_MAN || m.元X == 持駒列_COM;
        if (!打 && 調査_駒成(作業, m.元X, m.元Y, m.先X, m.先Y, m.駒) == 定数_ON) {
            b.駒 = 作業.駒成結果;
            手.push_back(b);
        }
    }
    return 手;
}

// The positions of `局数` random games of at most `手数` plies each (captures fill the hands,
// pieces change form), the start included; a game stops before a king would be taken.
inline std::vector<局面と手番> 乱局面(int 局数, int 手数, unsigned 種) {
    std::mt19937 rng(種);
    std::vector<局面と手番> 局面;
    for (int g = 0; g < 局数; ++g) {
        局面と手番 p = 開始局面();
        for (int ply = 0; ply < 手数; ++ply) {
            局面.push_back(p);
            const std::vector<最善手> 手 = 全ての手(p);
            if (手.empty()) break;
            const 最善手& m = 手[rng() % 手.size()];
            const int 取る = p.局.盤面[m.先X][m.先Y];
            if (取る == 駒_MAN王 || 取る == 駒_COM王) break;
            手を進める(p, m);
        }
    }
    return 局面;
}

}  // namespace kiryuza::testing
