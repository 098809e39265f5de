// One-move mate tests: the king is in check and no single reply of the defender removes it.
#include <cstdlib>
#include <cstring>

#include "engine/engine.h"

namespace kiryuza {

// Drop-block scan shared by both tests. Returns true when some check cannot be answered by a
// drop (an adjacent or knight checker, or a between square that cannot take a blocker), false
// when every check could be blocked by a drop.
int 思考エンジン::詰め_合駒不能(int kx, int ky, bool COM側) {
    const 盤表& 王手 = COM側 ? 図.王手_MAN : 図.王手_COM;
    const int 総数 = COM側 ? 局.持駒総数COM : 局.持駒総数MAN;
    const int 歩数 = COM側 ? 局.持駒COM[1] : 局.持駒MAN[1];
    const int 歩 = COM側 ? 駒_COM歩 : 駒_MAN歩;
    const int 打元 = COM側 ? 持駒列_COM : 持駒列_MAN;

    for (int X = 1; X <= 9; ++X) {
        for (int Y = 1; Y <= 9; ++Y) {
            if (王手[X][Y] == 9) {
                if (std::abs(X - kx) < 2 && std::abs(Y - ky) < 2) return true;
            } else if (王手[X][Y] == 1) {
                if (総数 == 歩数 && 移動チェック(局, 打元, 0, X, Y, 歩) == 定数_OFF) return true;
                const int 元 = 局.盤面[X][Y];
                局.盤面[X][Y] = 歩;
                bool 王手残り = false;
                for (int X2 = 1; X2 <= 9 && !王手残り; ++X2) {
                    for (int Y2 = 1; Y2 <= 9; ++Y2) {
                        if (王手[X2][Y2] == 9 && 局.盤面[X2][Y2] != 空桝 &&
                            移動チェック(局, X2, Y2, kx, ky, 局.盤面[X2][Y2]) == 定数_ON) {
                            王手残り = true;
                            break;
                        }
                    }
                }
                局.盤面[X][Y] = 元;
                if (王手残り) return true;
            }
        }
    }
    return false;
}

int 思考エンジン::詰めかCOM() {
    const int kx = 局.王位置X_COM;
    const int ky = 局.王位置Y_COM;
    if (図.勢力数_MAN[kx][ky] == 0) return 定数_OFF;

    if (局.持駒総数COM > 0 && !詰め_合駒不能(kx, ky, true)) return 定数_OFF;

    for (int ex = kx - 1; ex <= kx + 1; ++ex) {
        for (int ey = ky - 1; ey <= ky + 1; ++ey) {
            if (ex < 1 || ex > 9 || ey < 1 || ey > 9) continue;
            if (移動チェック(局, kx, ky, ex, ey, 駒_COM王) == 定数_ON &&
                図.勢力数_MAN[ex][ey] == 0) {
                return 定数_OFF;
            }
        }
    }

    // Trials replace the maps; the squares to try are those of the position under test.
    盤表 王手元;
    std::memcpy(王手元, 図.王手_MAN, sizeof(盤表));
    for (int sx = 1; sx <= 9; ++sx) {
        for (int sy = 1; sy <= 9; ++sy) {
            const int code = 局.盤面[sx][sy];
            if (code < 駒_COM歩 || code > 駒_COM飛成) continue;
            for (int tx = 1; tx <= 9; ++tx) {
                for (int ty = 1; ty <= 9; ++ty) {
                    if (王手元[tx][ty] <= 0) continue;
                    if (移動チェック(局, sx, sy, tx, ty, code) != 定数_ON) continue;
                    const int 先駒 = 局.盤面[tx][ty];
                    局.盤面[tx][ty] = code;
                    局.盤面[sx][sy] = 空桝;
                    勢力調査();
                    局.盤面[sx][sy] = code;
                    局.盤面[tx][ty] = 先駒;
                    if (図.勢力数_MAN[kx][ky] == 0) return 定数_OFF;
                }
            }
        }
    }
    return 定数_ON;
}

int 思考エンジン::詰めかMAN_COM移動() {
    for (int X = 1; X <= 9; ++X) {
        for (int Y = 1; Y <= 9; ++Y) {
            const int c = 局.盤面[X][Y];
            if (c >= 駒_COM歩 &&
                移動チェック(局, X, Y, 局.王位置X_MAN, 局.王位置Y_MAN, c) == 定数_ON) {
                return 定数_ON;
            }
        }
    }
    return 定数_OFF;
}

int 思考エンジン::詰めかMAN() {
    const int kx = 局.王位置X_MAN;
    const int ky = 局.王位置Y_MAN;
    if (図.勢力数_COM[kx][ky] == 0) return 定数_OFF;

    if (局.持駒総数MAN > 0 && !詰め_合駒不能(kx, ky, false)) return 定数_OFF;

    for (int ex = kx - 1; ex <= kx + 1; ++ex) {
        for (int ey = ky - 1; ey <= ky + 1; ++ey) {
            if (ex < 1 || ex > 9 || ey < 1 || ey > 9) continue;
            if (移動チェック(局, kx, ky, ex, ey, 駒_MAN王) == 定数_ON &&
                図.勢力数_COM[ex][ey] == 0) {
                return 定数_OFF;
            }
        }
    }

    for (int sx = 1; sx <= 9; ++sx) {
        for (int sy = 1; sy <= 9; ++sy) {
            const int code = 局.盤面[sx][sy];
            if (code < 駒_MAN飛成 || code > 駒_MAN歩) continue;
            for (int tx = 1; tx <= 9; ++tx) {
                for (int ty = 1; ty <= 9; ++ty) {
                    if (tx == sx && ty == sy) continue;
                    if (移動チェック(局, sx, sy, tx, ty, code) != 定数_ON) continue;
                    const int 先駒 = 局.盤面[tx][ty];
                    局.盤面[tx][ty] = code;
                    局.盤面[sx][sy] = 空桝;
                    const int 王手残り = 詰めかMAN_COM移動();
                    局.盤面[sx][sy] = code;
                    局.盤面[tx][ty] = 先駒;
                    if (王手残り == 定数_OFF) return 定数_OFF;
                }
            }
        }
    }
    return 定数_ON;
}

int 思考エンジン::調査_自王逃道() {
    const int kx = 局.王位置X_MAN;
    const int ky = 局.王位置Y_MAN;
    int 数 = 0;
    for (int x = kx - 1; x <= kx + 1; ++x) {
        for (int y = ky - 1; y <= ky + 1; ++y) {
            if (x == kx && y == ky) continue;
            if (x < 1 || x > 9 || y < 1 || y > 9) continue;
            if (局.盤面[x][y] == 空桝 && 図.勢力数_COM[x][y] == 0) {
                思考.逃道印_MAN[x][y] = 1;
                ++数;
            }
        }
    }
    return 数;
}

}  // namespace kiryuza
