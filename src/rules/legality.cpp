#include <cstdlib>

#include "rules/position.h"

namespace kiryuza {

namespace {

// Every square strictly between origin and destination, walking by (sx, sy), is empty.
inline bool 途中空き(const 局面& 局, int x, int y, int 先X, int 先Y, int sx, int sy) {
    x += sx;
    y += sy;
    while (x != 先X || y != 先Y) {
        if (局.盤面[x][y] != 空桝) return false;
        x += sx;
        y += sy;
    }
    return true;
}

inline int 符号(int v) {
    return (v > 0) - (v < 0);
}

// The dead-piece drop rule: an unpromoted pawn, lance or knight must keep a move.
inline int 打ち行チェック(int 先Y, int 駒) {
    switch (駒) {
        case 駒_MAN歩:
        case 駒_MAN香:
            return 先Y == 1 ? 定数_OFF : 定数_ON;
        case 駒_MAN桂:
            return 先Y <= 2 ? 定数_OFF : 定数_ON;
        case 駒_COM歩:
        case 駒_COM香:
            return 先Y == 9 ? 定数_OFF : 定数_ON;
        case 駒_COM桂:
            return 先Y >= 8 ? 定数_OFF : 定数_ON;
        default:
            return 定数_ON;
    }
}

}  // namespace

int 移動チェック飛車(const 局面& 局, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y) {
    const int dX = 移動先X - 移動元X;
    const int dY = 移動先Y - 移動元Y;
    if (dX != 0 && dY != 0) return 定数_OFF;
    return 途中空き(局, 移動元X, 移動元Y, 移動先X, 移動先Y, 符号(dX), 符号(dY)) ? 定数_ON
                                                                                : 定数_OFF;
}

int 移動チェック角(const 局面& 局, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y) {
    const int dX = 移動先X - 移動元X;
    const int dY = 移動先Y - 移動元Y;
    if (std::abs(dX) != std::abs(dY)) return 定数_OFF;
    return 途中空き(局, 移動元X, 移動元Y, 移動先X, 移動先Y, 符号(dX), 符号(dY)) ? 定数_ON
                                                                                : 定数_OFF;
}

int 移動チェック(const 局面& 局, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y,
                 int 移動駒種類) {
    if (移動先X < 1 || 移動先X > 盤桝数 || 移動先Y < 1 || 移動先Y > 盤桝数) return 定数_OFF;
    if (移動先X == 移動元X && 移動先Y == 移動元Y) return 定数_OFF;

    const int 先駒 = 局.盤面[移動先X][移動先Y];
    if (COM駒(移動駒種類) && COM駒(先駒)) return 定数_OFF;
    if (MAN駒(移動駒種類) && MAN駒(先駒)) return 定数_OFF;

    if (移動元X == 持駒列_MAN || 移動元X == 持駒列_COM) {
        if (先駒 != 空桝) return 定数_OFF;
        if (移動駒種類 == 駒_MAN歩 && 局.二歩フラグMAN[移動先X] == 1) return 定数_OFF;
        if (移動駒種類 == 駒_COM歩 && 局.二歩フラグCOM[移動先X] == 1) return 定数_OFF;
        return 打ち行チェック(移動先Y, 移動駒種類);
    }

    const int dX = 移動先X - 移動元X;
    const int dY = 移動先Y - 移動元Y;
    const int adX = std::abs(dX);
    const int adY = std::abs(dY);
    const int F = 移動駒種類 < 0 ? -dY : dY;  // rows moved towards the opponent

    bool 可 = true;
    switch (移動駒種類) {
        case 駒_MAN歩:
        case 駒_COM歩:
            可 = dX == 0 && F == 1;
            break;
        case 駒_MAN香:
        case 駒_COM香:
            可 = dX == 0 && F >= 1 && 途中空き(局, 移動元X, 移動元Y, 移動先X, 移動先Y, 0, 符号(dY));
            break;
        case 駒_MAN桂:
        case 駒_COM桂:
            可 = adX == 1 && F == 2;
            break;
        case 駒_MAN銀:
        case 駒_COM銀:
            可 = (adX <= 1 && F == 1) || (adX == 1 && F == -1);
            break;
        case 駒_MANと:
        case 駒_MAN香成:
        case 駒_MAN桂成:
        case 駒_MAN銀成:
        case 駒_MAN金:
        case 駒_COMと:
        case 駒_COM香成:
        case 駒_COM桂成:
        case 駒_COM銀成:
        case 駒_COM金:
            可 = (adX <= 1 && F == 1) || (adX == 1 && dY == 0) || (dX == 0 && F == -1);
            break;
        case 駒_MAN角:
        case 駒_COM角:
            return 移動チェック角(局, 移動元X, 移動元Y, 移動先X, 移動先Y);
        case 駒_MAN角成:
        case 駒_COM角成:
            if (adX <= 1 && adY <= 1) return 定数_ON;
            return 移動チェック角(局, 移動元X, 移動元Y, 移動先X, 移動先Y);
        case 駒_MAN飛:
        case 駒_COM飛:
            return 移動チェック飛車(局, 移動元X, 移動元Y, 移動先X, 移動先Y);
        case 駒_MAN飛成:
        case 駒_COM飛成:
            if (adX <= 1 && adY <= 1) return 定数_ON;
            return 移動チェック飛車(局, 移動元X, 移動元Y, 移動先X, 移動先Y);
        case 駒_MAN王:
        case 駒_COM王:
            可 = adX <= 1 && adY <= 1;
            break;
        default:
            break;
    }
    return 可 ? 定数_ON : 定数_OFF;
}

void 調査_2歩フラグ設定(局面& 局) {
    for (int x = 1; x <= 盤桝数; ++x) {
        局.二歩フラグMAN[x] = 0;
        局.二歩フラグCOM[x] = 0;
        for (int y = 1; y <= 盤桝数; ++y) {
            if (局.盤面[x][y] == 駒_MAN歩) 局.二歩フラグMAN[x] = 1;
            if (局.盤面[x][y] == 駒_COM歩) 局.二歩フラグCOM[x] = 1;
        }
    }
}

int 移動後チェック(int 移動先Y, int 移動駒種類) {
    return 打ち行チェック(移動先Y, 移動駒種類);
}

int 合法手一覧(局面& 局, bool COM側, 指し手* 手) {
    調査_2歩フラグ設定(局);
    int n = 0;
    for (int ox = 1; ox <= 9; ++ox)
        for (int oy = 1; oy <= 9; ++oy) {
            const int c = 局.盤面[ox][oy];
            if (COM側 ? !COM駒(c) : !MAN駒(c)) continue;
            for (int tx = 1; tx <= 9; ++tx)
                for (int ty = 1; ty <= 9; ++ty)
                    if (移動チェック(局, ox, oy, tx, ty, c) == 定数_ON)
                        手[n++] = {ox, oy, tx, ty, c};
        }
    const int* 持駒 = COM側 ? 局.持駒COM : 局.持駒MAN;
    const int 元X = COM側 ? 持駒列_COM : 持駒列_MAN;
    for (int k = 1; k <= 7; ++k) {
        if (持駒[k] <= 0) continue;
        const int 駒 = COM側 ? 打駒_COM[k] : 打駒_MAN[k];
        const int 元Y = COM側 ? k : k + 2;
        for (int tx = 1; tx <= 9; ++tx)
            for (int ty = 1; ty <= 9; ++ty)
                if (移動チェック(局, 元X, 元Y, tx, ty, 駒) == 定数_ON)
                    手[n++] = {元X, 元Y, tx, ty, 駒};
    }
    return n;
}

}  // namespace kiryuza
