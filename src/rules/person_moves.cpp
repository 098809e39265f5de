#include "rules/person_moves.h"

namespace kiryuza {

bool 範囲の形か(手の範囲 範囲, int 元X, int 元Y, int /*先X*/, int 先Y, int 駒, int 置く駒) {
    const int 変化後 = 変化後の駒(元X, 元Y, 先Y, 駒);
    if (置く駒 == 変化後) return true;
    if (範囲 == 手の範囲::人の手 || 置く駒 != 駒) return false;
    return 移動後チェック(先Y, 駒) == 定数_ON;
}

}  // namespace kiryuza
