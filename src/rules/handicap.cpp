#include "rules/handicap.h"

#include <cstdlib>

namespace kiryuza {

namespace {

// The upper side's piece taken off when the level goes from i - 1 to i; the lower side's
// pieces are the same ones turned half round.
constexpr ハンデの桝 COMの順[ハンデ最大 + 1] = {
    {0, 0, 0},          {8, 2, 駒_COM角成}, {2, 2, 駒_COM飛成}, {9, 1, 駒_COM香成},
    {1, 1, 駒_COM香成}, {8, 1, 駒_COM桂成}, {2, 1, 駒_COM桂成}, {7, 1, 駒_COM銀成},
    {3, 1, 駒_COM銀成}, {6, 1, 駒_COM金},   {4, 1, 駒_COM金},
};

ハンデの桝 段の駒(int 段, bool COM側) {
    const ハンデの桝& e = COMの順[段];
    return COM側 ? e : ハンデの桝{10 - e.x, 10 - e.y, -e.駒};
}

}  // namespace

std::optional<ハンデの桝> ハンデを動かす(局面& 局, int& レベル, int 向き) {
    const int 前 = レベル;
    const int 後 = 前 + 向き;
    if (後 < -ハンデ最大 || 後 > ハンデ最大) return std::nullopt;
    レベル = 後;
    const bool 離れる = std::abs(後) > std::abs(前);
    const int 段 = 離れる ? std::abs(後) : std::abs(前);
    const bool COM側 = 離れる ? 後 > 0 : 前 > 0;
    ハンデの桝 e = 段の駒(段, COM側);
    if (離れる) e.駒 = 空桝;
    局.盤面[e.x][e.y] = e.駒;
    return e;
}

}  // namespace kiryuza
