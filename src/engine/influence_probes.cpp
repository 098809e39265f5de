// Probes derived from the board and the influence maps: squares where a human bishop would
// check the computer's king unopposed, pinned pieces, and where a recorded move went.
#include "engine/engine.h"

namespace kiryuza {

void 思考エンジン::調査_持角狙座標() {
    for (int X = 1; X <= 9; ++X) {
        for (int Y = 1; Y <= 9; ++Y) {
            思考.持角狙座標_MAN[X][Y] = 0;
            if (局.盤面[X][Y] == 空桝 && 図.勢力数_COM[X][Y] == 0 &&
                移動チェック(局, X, Y, 局.王位置X_COM, 局.王位置Y_COM, 駒_MAN角) == 定数_ON) {
                思考.持角狙座標_MAN[X][Y] = 1;
            }
        }
    }
}

namespace {

bool COM走り駒(int c) {
    return c == 駒_COM香 || c == 駒_COM角 || c == 駒_COM角成 || c == 駒_COM飛 || c == 駒_COM飛成;
}

bool MAN走り駒(int c) {
    return c == 駒_MAN香 || c == 駒_MAN角 || c == 駒_MAN角成 || c == 駒_MAN飛 || c == 駒_MAN飛成;
}

}  // namespace

void 思考エンジン::調査_移動不可駒() {
    // Lifting one piece never removes a slider of the other side, so the sliders are found once.
    int COM走り[81][2];
    int MAN走り[81][2];
    int COM数 = 0;
    int MAN数 = 0;
    for (int a = 1; a <= 9; ++a) {
        for (int b = 1; b <= 9; ++b) {
            const int c = 局.盤面[a][b];
            if (COM走り駒(c)) {
                COM走り[COM数][0] = a;
                COM走り[COM数++][1] = b;
            } else if (MAN走り駒(c)) {
                MAN走り[MAN数][0] = a;
                MAN走り[MAN数++][1] = b;
            }
        }
    }

    思考.移動不可駒有_COM = 定数_OFF;
    for (int X = 1; X <= 9; ++X) {
        for (int Y = 1; Y <= 9; ++Y) {
            思考.移動不可駒_MAN[X][Y] = 0;
            const int p = 局.盤面[X][Y];
            if (p == 空桝) continue;
            局.盤面[X][Y] = 空桝;
            if (p <= 駒_MAN歩) {
                for (int i = 0; i < COM数; ++i) {
                    const int a = COM走り[i][0];
                    const int b = COM走り[i][1];
                    if (移動チェック(局, a, b, 局.王位置X_MAN, 局.王位置Y_MAN, 局.盤面[a][b]) ==
                        定数_ON) {
                        思考.移動不可駒_MAN[X][Y] = 1;
                    }
                }
            } else if (p >= 駒_COM歩) {
                for (int i = 0; i < MAN数; ++i) {
                    const int a = MAN走り[i][0];
                    const int b = MAN走り[i][1];
                    if (移動チェック(局, a, b, 局.王位置X_COM, 局.王位置Y_COM, 局.盤面[a][b]) ==
                        定数_ON) {
                        思考.移動不可駒有_COM = 定数_ON;
                    }
                }
            }
            局.盤面[X][Y] = p;
        }
    }
}

void 調査_移動結果(const 棋譜表& 棋譜, int IN_CNT, int& O_移動先X, int& O_移動先Y,
                   int& O_移動駒種類) {
    if (IN_CNT < 1 || IN_CNT > 棋譜.棋譜記録数()) return;
    const auto& 前盤 = 棋譜.項目(IN_CNT - 1).盤面;
    const auto& 後盤 = 棋譜.項目(IN_CNT).盤面;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int 後 = 後盤[x][y];
            if (前盤[x][y] != 後 && 後 != 空桝) {
                O_移動先X = x;
                O_移動先Y = y;
                O_移動駒種類 = 後;
                return;
            }
        }
    }
}

}  // namespace kiryuza
