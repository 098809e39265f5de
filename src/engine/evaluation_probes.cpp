// Small questions the evaluation asks about a trial position.
#include "engine/engine.h"

namespace kiryuza {

int 思考エンジン::調査_移動可場所数(int 移動元X, int 移動元Y, int 移動駒) {
    const auto& 敵勢力 = 移動駒 >= 駒_COM歩 ? 図.勢力数_MAN : 図.勢力数_COM;
    int 数 = 0;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (敵勢力[x][y] == 0 && 移動チェック(局, 移動元X, 移動元Y, x, y, 移動駒) == 定数_ON)
                ++数;
        }
    }
    return 数;
}

int 思考エンジン::調査_桂狙い(int 移動先X, int 移動先Y) {
    const int X = 移動先X;
    const int Y = 移動先Y;
    const int a = 図.攻駒_MAN[X][Y];
    if (a < 駒_MAN飛成 || a > 駒_MAN角 || Y <= 5) return 0;
    const auto& 盤 = 局.盤面;
    int result = 0;
    if (X > 2 && 図.勢力数_MAN[X - 1][Y - 2] == 0 && 盤[X - 1][Y - 2] == 空桝 &&
        盤[X - 2][Y] <= 駒_MAN角 && 図.攻駒X_MAN[X][Y] != X - 2) {
        result += -盤[X - 2][Y];
    }
    if (X < 8 && 図.勢力数_MAN[X + 1][Y - 2] == 0 && 盤[X + 1][Y - 2] == 空桝 &&
        盤[X + 2][Y] <= 駒_MAN角 && 図.攻駒X_MAN[X][Y] != X + 2) {
        result += -盤[X + 2][Y];
    }
    return result;
}

int 思考エンジン::調査_香狙い(int 移動先X, int 移動先Y) {
    const int X = 移動先X;
    const int Y = 移動先Y;
    if (Y <= 6 || 図.勢力数_COM[X][Y - 1] == 0 || 図.勢力数_MAN[X][Y - 1] != 0) return 0;
    const int a = 図.攻駒_MAN[X][Y];
    if (a < 駒_MAN飛成 || a > 駒_MAN角) return 0;
    for (int r = Y + 1; r <= 9; ++r) {
        const int c = 局.盤面[X][r];
        if (c == 空桝) continue;
        return 移動チェック(局, X, Y, X, r, 駒_COM香) == 定数_ON ? (c < 0 ? -c : c) : 0;
    }
    return 0;
}

int 思考エンジン::調査_自守駒MAN_直進駒(int 入力X, int 入力Y) {
    const int X = 入力X;
    const int Y = 入力Y;
    int result = 定数_OFF;
    const int 元 = 局.盤面[X][Y];
    局.盤面[X][Y] = 空桝;
    for (int k = Y + 1; k <= 9; ++k) {
        const int c = 局.盤面[X][k];
        if (c >= 駒_COM歩) break;
        if (c == 駒_MAN香 || c == 駒_MAN飛 || c == 駒_MAN飛成) {
            if (移動チェック(局, X, k, X, Y, c) == 定数_ON) result = 定数_ON;
            break;
        }
    }
    局.盤面[X][Y] = 元;
    return result;
}

int 思考エンジン::調査_周辺状況(int 移動先X, int 移動先Y) {
    int result = 0;
    for (int x = 移動先X - 1; x <= 移動先X + 1; ++x) {
        for (int y = 移動先Y - 1; y <= 移動先Y + 1; ++y) {
            if ((x == 移動先X && y == 移動先Y) || x < 1 || x > 9 || y < 1 || y > 9) continue;
            if (局.盤面[x][y] >= 駒_COM角) --result;
        }
    }
    return result;
}

}  // namespace kiryuza
