#include "rules/person_moves.h"
#include "rules/position.h"

namespace kiryuza {

int 調査_駒成(局面& 局, int 移動元X, int 移動元Y, int /*移動先X*/, int 移動先Y, int 移動駒種類) {
    const int 変化後 = 変化後の駒(移動元X, 移動元Y, 移動先Y, 移動駒種類);
    if (変化後 == 移動駒種類) return 定数_OFF;
    局.駒成結果 = 変化後;
    return 定数_ON;
}

void 駒取得(局面& 局, int 取得駒) {
    if (取得駒 == 駒_COM王) {
        局.勝者 = 局.手番値MAN;
        return;
    }
    if (取得駒 == 駒_MAN王) {
        局.勝者 = 局.手番値COM;
        return;
    }
    const int k = 持駒番号(取得駒);
    if (k == 0) return;
    if (COM駒(取得駒)) {
        局.持駒MAN[k] += 1;
    } else if (MAN駒(取得駒)) {
        局.持駒COM[k] += 1;
    }
}

void 駒移動(局面& 局, 局面表示& 表示, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y,
            int 移動駒) {
    const int 先駒 = 局.盤面[移動先X][移動先Y];
    if (MAN駒(先駒)) {
        局.持駒総数COM += 1;
        駒取得(局, 先駒);
        表示.描画_敵持盤();
    } else if (COM駒(先駒)) {
        局.持駒総数MAN += 1;
        駒取得(局, 先駒);
        表示.描画_自持盤();
    }

    表示.描画_絵(空桝, 移動元X, 移動元Y);
    表示.描画_桝輪郭(色_背景, 移動元X, 移動元Y);

    局.盤面[移動先X][移動先Y] = 移動駒;
    if (移動駒 == 駒_MAN王) {
        局.王位置X_MAN = 移動先X;
        局.王位置Y_MAN = 移動先Y;
    }

    if (移動元X == 持駒列_COM) {
        if (移動元Y >= 1 && 移動元Y <= 7) {
            局.持駒総数COM -= 1;
            局.持駒COM[移動元Y] -= 1;
        }
        表示.描画_敵持盤();
    } else if (移動元X == 持駒列_MAN) {
        if (移動元Y >= 3 && 移動元Y <= 9) {
            局.持駒総数MAN -= 1;
            局.持駒MAN[移動元Y - 2] -= 1;
        }
        表示.描画_自持盤();
    } else {
        局.盤面[移動元X][移動元Y] = 空桝;
    }

    表示.描画_絵(移動駒, 移動先X, 移動先Y);
    表示.描画_桝輪郭(色_背景, 移動先X, 移動先Y);
}

int 調査_持駒数(const 局面& 局, int IN_手番) {
    const int* 持駒 = nullptr;
    if (IN_手番 == 局.手番値MAN) {
        持駒 = 局.持駒MAN;
    } else if (IN_手番 == 局.手番値COM) {
        持駒 = 局.持駒COM;
    } else {
        return 0;
    }
    int 合計 = 0;
    for (int k = 1; k <= 7; ++k) 合計 += 持駒[k];
    return 合計;
}

}  // namespace kiryuza
