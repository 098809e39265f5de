// Whole-board scans of a trial position: weaknesses around the computer's camp and king,
// computer pieces that can be won, drops the human could exploit, bonuses for human pieces the
// candidate newly attacks and for forks; and the caution against a human bishop line.
#include <algorithm>
#include <cstdlib>

#include "engine/engine.h"

namespace kiryuza {

namespace {

constexpr 評価値 一分 = 1;

}  // namespace

評価値 思考エンジン::盤評価_COM危険座標(int 移動駒, int COM移動先X, int COM移動先Y) {
    const auto& 盤 = 局.盤面;
    const auto& 攻数 = 図.勢力数_MAN;
    const auto& 守数 = 図.勢力数_COM;
    const int Cx = 局.王位置X_COM;
    const int Cy = 局.王位置Y_COM;
    const int Kx = 局.王位置X_MAN;
    const int Ky = 局.王位置Y_MAN;
    const bool 持銀金 = 局.持駒MAN[4] > 0 || 局.持駒MAN[5] > 0;
    // Whether a human piece bears on the candidate's destination decides the fork test.
    const bool 先に利きなし = 攻数[COM移動先X][COM移動先Y] == 0;

    評価値 result = 0;
    int 両取り数 = 0;
    int 両取り最小 = 9999;

    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int v = 盤[x][y];
            if (v == 空桝) {
                if (攻数[x][y] > 0) {
                    if (std::abs(x - Cx) < 2 && std::abs(y - Cy) < 2) {
                        result -= 5 * 一分 * 攻数[x][y];
                        if (守数[x][y] == 1 && 攻数[x][y] > 1) result -= 点(10);
                        if (持銀金) result -= 点(10);
                    }
                    if (y <= 3) {
                        if (守数[x][y] == 0) {
                            result -= 一分;
                            if (調査_自守駒MAN_直進駒(x, y) == 定数_ON) result -= 点(10);
                        }
                        if (盤[x][y + 1] == 駒_MAN歩 && 攻数[x][y] >= 守数[x][y]) {
                            result -= 点(30);
                            if (調査_自守駒MAN_直進駒(x, y + 1) == 定数_ON) result -= 点(70);
                        }
                    }
                }
                if (局.持駒総数MAN > 0) {
                    if (局.持駒MAN[2] > 0 && y > 2 && 盤[x][y - 1] > 駒_COM香 &&
                        (攻数[x][y] > 0 || 守数[x][y] == 0)) {
                        for (int r = y - 2; r >= 1; --r) {
                            const int c = 盤[x][r];
                            if (c == 空桝) continue;
                            if (c > 駒_COM香) result -= 点(100) + c * 5;  // 100 + half the code
                            break;
                        }
                    }
                    if (局.持駒MAN[3] > 0 &&
                        (守数[x][y] == 0 || (図.攻駒_COM[x][y] > 駒_COM桂 && 攻数[x][y] > 0)) &&
                        y > 2 && x >= 2 && x <= 8 && 盤[x - 1][y - 2] > 駒_COM歩 &&
                        盤[x + 1][y - 2] > 駒_COM歩) {
                        result -= 点(20);
                    }
                    if (持銀金 && 守数[x][y] <= 1) {
                        const int 周辺 = 調査_周辺状況(x, y);
                        if (周辺 < -1) result -= 点(5);
                        if (守数[x][y] == 0 && 周辺 < 0) {
                            result -= 点(1);
                            if (y <= 3) result -= 点(10);
                        }
                    }
                }
                if (守数[x][y] == 0) {
                    if (y == 2 && 盤[x][1] == 駒_COM桂) result -= 点(5);
                    if (y <= 3) result -= 一分;
                    if (局.持駒MAN[4] > 0 && x >= 2 && x <= 8 && y >= 2 && y <= 8) {
                        if (盤[x - 1][y - 1] >= 駒_COM歩 && 盤[x + 1][y + 1] >= 駒_COM歩 &&
                            守数[x - 1][y - 1] == 0 && 守数[x + 1][y + 1] == 0) {
                            result -= 点(20);
                        }
                        if (盤[x + 1][y - 1] >= 駒_COM歩 && 盤[x - 1][y + 1] >= 駒_COM歩 &&
                            守数[x + 1][y - 1] == 0 && 守数[x - 1][y + 1] == 0) {
                            result -= 点(20);
                        }
                    }
                }
            } else if (v >= 駒_COM歩) {
                if (v == 駒_COM王 && y == 1) {
                    if (攻数[x][2] > 0) {
                        result -= 点(50);
                        if (攻数[x][2] >= 守数[x][2]) result -= 点(250);
                        if (持銀金) result -= 点(700);
                    }
                } else if (v == 駒_COM歩 && 図.攻駒_MAN[x][y] == 駒_MAN飛 && 局.持駒MAN[1] > 0 &&
                           攻数[x][y] >= 守数[x][y] && y < 9 && 守数[x][y + 1] == 1) {
                    result -= 点(5);
                }
                if (攻数[x][y] > 0) {
                    const int Px = 図.攻駒X_MAN[x][y];
                    const int Py = 図.攻駒Y_MAN[x][y];
                    const int a = std::abs(図.攻駒_MAN[x][y]);
                    const bool 攻め駒自由 = 思考.移動不可駒_MAN[Px][Py] == 定数_OFF;
                    if (図.守駒_COM[x][y] == 駒_COM王 && (攻数[x][y] > 1 || v > a))
                        result -= 点(100);
                    if (攻め駒自由 && v > a) result += 点(a - v);
                    if (守数[x][y] > 0 && 攻め駒自由) {
                        if (攻数[x][y] > 守数[x][y] && 図.守駒_COM[x][y] >= a) result -= 点(v);
                        if (y <= 3 && 攻数[x][y] == 守数[x][y] && 盤[x][y + 1] != 空桝 &&
                            調査_自守駒MAN_直進駒(x, y + 1) == 定数_ON) {
                            result -= 点(v + std::abs(図.攻駒_MAN[x][y + 1]));
                        }
                    }
                    if (守数[x][y] == 0) {
                        result -= 点(v);
                        if (y <= 3) result -= 点(10);
                        if (思考.盤面_手番前[x][y] <= 駒_MAN歩) {
                            result += 点(std::abs(思考.盤面_手番前[x][y]));
                        }
                        if ((図.攻駒_MAN[x][y] == 駒_MAN歩 || 図.攻駒_MAN[x][y] == 駒_MAN香) &&
                            y < 4) {
                            result -= 点(20);
                        }
                    }
                }
            } else {
                if (思考.勢力数_COM_手番前[x][y] == 0 && 守数[x][y] > 0) {
                    if (v == 駒_MAN桂 && y > 2 && 攻数[x][y - 1] == 0 &&
                        (盤[x][y - 1] == 駒_COM銀 || 盤[x][y - 1] == 駒_COM飛成 ||
                         盤[x][y - 1] == 駒_COM角成)) {
                        result += 点(1);
                    }
                    if (std::abs(Cx - x) < 3 && std::abs(Cy - y) < 3) result += 点(15);
                }
                if (v == 駒_MAN桂 && y > 4 && 盤[x][y - 4] >= 駒_COM銀) {
                    for (int s : {-1, 1}) {
                        if ((s < 0 && x <= 1) || (s > 0 && x >= 9)) continue;
                        if (盤[x + s][y - 2] >= 0 && 守数[x + s][y - 2] == 0) result -= 点(1);
                    }
                } else if ((v == 駒_MAN飛 || v == 駒_MAN飛成 || v == 駒_MAN香) && x == Cx) {
                    result -= 点(1);
                }
                if (先に利きなし && (攻数[x][y] == 0 || (x == Kx && y == Ky)) &&
                    移動チェック(局, COM移動先X, COM移動先Y, x, y, 移動駒) == 定数_ON) {
                    result += 一分;
                    ++両取り数;
                    両取り最小 = std::min(両取り最小, std::abs(v));
                }
            }
        }
    }
    if (両取り数 > 1) result += 点(両取り最小);
    return result;
}

int 思考エンジン::盤評価_自角注意_COM(int 移動元X, int 移動元Y, int 移動駒) {
    int Tx = 0;
    int Ty = 0;
    for (int x = 1; x <= 9 && Tx == 0; ++x) {
        for (int y = 1; y <= 9; ++y) {
            if (思考.持角狙座標_MAN[x][y] == 1 &&
                (移動チェック(局, 移動元X, 移動元Y, x, y, 駒_MAN角) == 定数_ON ||
                 移動チェック(局, 移動元X, 移動元Y, x, y, 駒_MAN角成) == 定数_ON)) {
                Tx = x;
                Ty = y;
                break;
            }
        }
    }
    if (Tx == 0) return 0;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y) {
            const int c = 局.盤面[x][y];
            if ((c == 駒_MAN角 || c == 駒_MAN角成) &&
                移動チェック(局, x, y, Tx, Ty, c) == 定数_ON) {
                return 移動駒;
            }
        }
    }
    if (局.持駒MAN[6] > 0 && 移動チェック(局, 持駒列_COM, 0, Tx, Ty, 駒_MAN角) == 定数_ON) {
        return 移動駒;
    }
    return 0;
}

}  // namespace kiryuza
