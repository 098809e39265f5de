#include "rules/reversal.h"

#include <utility>

namespace kiryuza {

void 局面反転(局面& 局) {
    int 元[10][10];
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) 元[x][y] = 局.盤面[x][y];
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) {
            const int v = 元[x][y];
            局.盤面[10 - x][10 - y] = (MAN駒(v) || COM駒(v)) ? -v : 空桝;
            if (v == 駒_COM王) {
                局.王位置X_MAN = 10 - x;
                局.王位置Y_MAN = 10 - y;
            } else if (v == 駒_MAN王) {
                局.王位置X_COM = 10 - x;
                局.王位置Y_COM = 10 - y;
            }
        }
    局.持駒総数MAN = 0;
    局.持駒総数COM = 0;
    for (int k = 1; k <= 7; ++k) {
        std::swap(局.持駒MAN[k], 局.持駒COM[k]);
        局.持駒総数MAN += 局.持駒MAN[k];
        局.持駒総数COM += 局.持駒COM[k];
    }
    調査_2歩フラグ設定(局);
}

指し手 反転手(const 指し手& 手) {
    if (手.元X == 持駒列_COM) return {持駒列_MAN, 手.元Y + 2, 10 - 手.先X, 10 - 手.先Y, -手.駒};
    if (手.元X == 持駒列_MAN) return {持駒列_COM, 手.元Y - 2, 10 - 手.先X, 10 - 手.先Y, -手.駒};
    return {10 - 手.元X, 10 - 手.元Y, 10 - 手.先X, 10 - 手.先Y, -手.駒};
}

}  // namespace kiryuza
