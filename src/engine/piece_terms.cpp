// The tail of the evaluation: adjustments by the kind of piece now on the destination, a few
// fixed opening and castle patterns on absolute squares, and early returns with fixed offsets.
#include <cstdlib>

#include "engine/engine.h"

namespace kiryuza {

namespace {

constexpr 評価値 一分 = 1;

}  // namespace

評価値 思考エンジン::駒別評価(評価値 score, int 取得駒, int 移動駒, int 移動元X, int 移動元Y,
                              int 移動先X, int 移動先Y) {
    const auto& 盤 = 局.盤面;
    const auto& 攻数 = 図.勢力数_MAN;
    const auto& 守数 = 図.勢力数_COM;
    const int Dx = 移動先X;
    const int Dy = 移動先Y;
    const int Ox = 移動元X;
    const int Oy = 移動元Y;
    const int Kx = 局.王位置X_MAN;
    const int Ky = 局.王位置Y_MAN;
    const int Px = 図.攻駒X_MAN[Dx][Dy];
    const int Py = 図.攻駒Y_MAN[Dx][Dy];
    const bool 打 = Ox < 0;
    const bool 王の近く直線 =
        (Dx == Kx || Dy == Ky) && std::abs(Kx - Dx) < 3 && std::abs(Ky - Dy) < 3;

    switch (移動駒) {
        case 駒_COM歩: {
            if (局.持駒COM[2] > 0) score += 点(調査_香狙い(Dx, Dy));
            if (局.持駒COM[3] > 0) score += 点(調査_桂狙い(Dx, Dy));
            if (Dy < 9) {
                const int F = 盤[Dx][Dy + 1];
                if (F == 駒_COM金) score += 5 * 一分;
                if (F == 駒_COM飛) score -= 点(1);
                if (F < 駒_MAN歩 && 調査_移動可場所数(Dx, Dy + 1, F) == 0) score += 点(std::abs(F));
            }
            if (守数[Dx][Dy] != 0) {
                if (Dx >= 2 && Dx <= 8 &&
                    (盤[Dx - 1][Dy] == 駒_COM飛 || 盤[Dx + 1][Dy] == 駒_COM飛)) {
                    score -= 点(1);
                }
                if (守数[Dx][Dy] >= 攻数[Dx][Dy] && Dy < 9 && 盤[Dx][Dy + 1] <= 駒_MAN歩) {
                    score += 点(1);
                }
            }
            if (打) {
                if (守数[Dx][Dy] == 0 && Dy > 1 && 盤[Dx][Dy - 1] >= 駒_COM銀 &&
                    (局.持駒MAN[1] > 0 || 局.持駒MAN[2] > 0)) {
                    score += 点(6);
                }
                if (盤[2][8] == 駒_MAN角 && Dx == 2 && Dy == 7 &&
                    (攻数[2][7] == 0 || 守数[2][7] > 0)) {
                    score += 点(30);
                }
                if (!(思考.勢力数_COM_手番前[Px][Py] > 0 && 攻数[Px][Py] == 0)) {
                    const int a = 図.攻駒_MAN[Dx][Dy];
                    if (守数[Dx][Dy] > 0 && Dx == Px && (a == 駒_MAN飛 || a == 駒_MAN香) &&
                        Dy < Py) {
                        return score + 点(120);
                    }
                }
            } else if (Ox > 0) {
                score -= 一分;
                if (図.守駒_COM[Dx][Dy] == 駒_COM金 || 図.守駒_COM[Dx][Dy] == 駒_COM銀) {
                    score += 6 * 一分;
                }
                if (Dy >= 8) return score;
                if (図.守駒_COM[Dx][Dy] == 駒_COM香 ||
                    (図.守駒_COM[Dx][Dy] == 駒_COM飛 && 図.守駒X_COM[Dx][Dy] == Dx &&
                     守数[Dx][Dy] >= 攻数[Dx][Dy] && 図.守駒Y_COM[Dx][Dy] < Dy)) {
                    score += 点(2);
                }
                if (攻数[Dx][Dy + 1] == 0 && 盤[Dx][Dy + 2] <= 駒_MAN桂) score += 点(1);
                if (Dy < 7) {
                    if (盤[Dx][Dy + 1] == 駒_MAN歩 && 攻数[Dx][Dy + 1] > 0) score -= 点(5);
                    if (Dx < 9 && 盤[Dx + 1][Dy] == 駒_COM角) {
                        score += 5 * 一分;
                        if (盤[Dx + 1][Dy + 2] == 駒_MAN歩) score += 点(5);
                    }
                    if (Dx > 1) {
                        if (Dx == 7 && Dy == 4 && 盤[8][2] == 駒_COM角) score += 点(10);
                        if (盤[Dx - 1][Dy] == 駒_COM角) {
                            score += 5 * 一分;
                            if (盤[Dx - 1][Dy + 2] == 駒_MAN歩) score += 点(5);
                        }
                    }
                }
                if (取得駒 <= 駒_MAN歩 && 守数[Ox][Oy] == 1) {
                    if (Dy > 2 && 図.攻駒_MAN[Dx][Dy] == 駒_MAN香 && 盤[Dx][Dy - 2] == 駒_COM角) {
                        score -= 点(5);
                    } else {
                        score += 点(5);
                    }
                }
                if (取得駒 == 駒_MAN歩 &&
                    (図.攻駒_MAN[Dx][Dy] == 駒_MAN香 || 図.攻駒_MAN[Dx][Dy] == 駒_MAN飛) &&
                    守数[Ox][Oy] < 2) {
                    score += 点(50);
                }
                const int 前 = 盤[Dx][Dy + 1];
                if (前 <= 駒_MAN歩) {
                    if (守数[Dx][Dy] > 攻数[Dx][Dy]) return score + 点(1);
                    if (前 == 駒_MAN歩) return score - 点(1);
                    if (守数[Dx][Dy] > 0) {
                        if (思考.勢力数_COM_手番前[Dx][Dy + 1] > 0 &&
                            思考.勢力数_MAN_手番前[Dx][Dy + 1] == 0) {
                            return score - 点(1);
                        }
                        return 守数[Dx][Dy] >= 攻数[Dx][Dy] ? score + 点(5) : score;
                    }
                    if (攻数[Dx][Dy] == 0) return score + 点(1);
                }
            }
            return score;
        }

        case 駒_COMと:
            if (守数[Dx][Dy] >= 攻数[Dx][Dy]) return score + 点(5);
            return score;

        case 駒_COM香: {
            if (局.持駒COM[3] > 0) score += 点(調査_桂狙い(Dx, Dy));
            if (Ox == 持駒列_COM) {
                if (Dy >= 8) return score;
                if (局.持駒MAN[1] > 0 && 攻数[Dx][Dy + 1] > 0 && 攻数[Dx][Dy] == 0) score -= 点(10);
                if (盤[Dx][Dy + 1] <= 駒_MAN香 &&
                    (守数[Dx][Dy] >= 攻数[Dx][Dy] || 攻数[Dx][Dy] == 0)) {
                    int r = Dy + 2;
                    while (r <= 9 && 盤[Dx][r] == 空桝) ++r;
                    if (r > 9) return score;
                    if (移動チェック(局, Dx, Dy + 1, Dx, r, 駒_COM香) == 定数_ON &&
                        盤[Dx][r] < 駒_MAN香) {
                        return score + 点(std::abs(盤[Dx][r]));
                    }
                }
            } else if (Ox > 0) {
                if (取得駒 == 空桝) return score - 点(1);
                if (取得駒 == 駒_MAN香) {
                    score += 点(10);
                    if (攻数[Dx][Dy] >= 1) return score + 点(1);
                }
            }
            return score;
        }

        case 駒_COM桂:
            score -= 一分;
            // A knight may land on row 9; the square in front of it is then off the board.
            if (Dy < 9 && 攻数[Dx][Dy + 1] > 0) score -= 点(1);
            if (Dy < 8 && Dx >= 2 && Dx <= 8) {
                if (攻数[Dx - 1][Dy + 2] > 0 && 攻数[Dx + 1][Dy + 2] > 0) score -= 点(1);
                if (Dx == 7 && Dy == 3 && 盤[8][4] == 駒_COM角) return score - 点(1);
            }
            return score;

        case 駒_COM銀:
            if (Dy <= 1) return score;
            if (Dy > Oy && Dx == Ox) {
                if (盤[7][5] == 駒_MAN銀 || 盤[8][5] == 駒_MAN銀 || 盤[9][5] == 駒_MAN銀) {
                    score += 点(5);
                } else {
                    score -= 一分;
                }
            }
            if (盤[Dx][Dy - 1] == 駒_COM桂) score -= 5 * 一分;
            if (Dx == 7 && Dy == 3 && 盤[8][3] == 駒_COM歩 && 盤[8][5] == 駒_MAN歩)
                score += 点(115);
            if (Dx == 4 && Dy == 2) return 守数[Dx][Dy] >= 攻数[Dx][Dy] ? score + 点(5) : score;
            return score;

        case 駒_COM金:
            if (Dy > Oy && Dx != Ox) score -= 5 * 一分;
            if (Dy == 4 && 攻数[6][4] > 0 && 盤[6][4] == 駒_COM角) return score - 点(1);
            if (Dy == 2) {
                if (盤[8][3] == 駒_COM歩 && 盤[8][6] == 駒_MAN歩 && 図.守駒_MAN[8][6] == 駒_MAN飛 &&
                    Dx == 7) {
                    score += 点(10);
                }
                if (局.持駒MAN[6] > 0 && 思考.勢力数_COM_手番前[Dx][Dy + 1] == 0 &&
                    盤[Dx][Dy + 1] >= 駒_COM歩) {
                    score += 点(2);
                    if (思考.勢力数_COM_手番前[Dx][Dy + 2] == 1 && 盤[Dx][Dy + 2] == 駒_COM角) {
                        return score + 点(125);
                    }
                }
            }
            return score;

        case 駒_COM角:
            score += 点(調査_周辺状況(Dx, Dy));
            if (Dy < 9) {
                if (Dy == 3) {
                    if (Dx == 9 && 盤[9][4] == 駒_COM歩 && 盤[9][6] == 駒_MAN歩 &&
                        盤[9][9] == 駒_MAN香) {
                        score -= 点(10);
                    }
                    if (Dx == 7 && 盤[8][5] == 駒_MAN歩 && 図.守駒_MAN[8][5] == 駒_MAN飛) {
                        score += 点(9);
                    }
                }
                if (攻数[Dx][Dy + 1] > 0) {
                    if (調査_移動可場所数(Dx, Dy, 駒_COM角) == 0) score -= 点(100);
                    if (Dy < 8 && 盤[Dx][Dy + 2] == 駒_MAN歩) score -= 点(1);
                }
            }
            if (Oy == 3) {
                if (Ox == 9 && 盤[9][4] == 駒_COM歩 && 盤[9][6] == 駒_MAN歩 &&
                    図.守駒_MAN[9][6] == 駒_MAN香) {
                    score += 点(10);
                }
                if (Ox == 7 && 盤[8][5] == 駒_MAN歩 && 図.守駒_MAN[8][5] == 駒_MAN飛 &&
                    思考.勢力数_COM_手番前[8][4] > 守数[8][4]) {
                    score -= 点(10);
                }
            }
            if (打) {
                if (Dy > 6 && 調査_移動可場所数(Dx, Dy, 駒_COM角) <= 3) return score - 点(1);
                if (Dy == 5 && (Dx == 1 || Dx == 9 || Dx == 4) && 盤[Dx][7] == 駒_MAN歩) {
                    return score - 点(1);
                }
            }
            return score;

        case 駒_COM角成:
            return score + 点(調査_周辺状況(Dx, Dy));

        case 駒_COM飛:
            score += 点(調査_周辺状況(Dx, Dy));
            if (打) {
                if (Dy == 9 && 盤[Dx][8] == 駒_MAN銀 && Dx >= 2 && Dx <= 8 &&
                    ((盤[Dx - 1][9] != 空桝 && 盤[Dx + 1][8] == 駒_MAN金) ||
                     (盤[Dx + 1][9] != 空桝 && 盤[Dx - 1][8] == 駒_MAN金))) {
                    return score - 点(1);
                }
            } else if (Ox > 0) {
                if (攻数[Dx][Dy] == 0 && Dx == 3 && Dy == 4 && 盤[3][7] == 駒_MAN角 &&
                    盤[3][6] == 駒_MAN歩 && 盤[3][5] == 空桝) {
                    score += 点(7);
                }
                if (Dy < 8) {
                    if (攻数[Dx][Dy + 1] > 0) {
                        score -= 点(1);
                        if (盤[Dx][Dy + 2] == 駒_MAN歩 && Oy == Dy) score -= 点(5);
                    }
                    if (Oy < 9 && 盤[8][Oy + 1] == 駒_MAN歩 && 図.守駒_MAN[8][Oy + 1] == 駒_MAN飛) {
                        if (守数[8][Oy] < 思考.勢力数_COM_手番前[8][Oy]) score -= 点(11);
                        if (盤[7][Oy] == 駒_COM歩 && Oy != Dy) score -= 点(11);
                    }
                    if (攻数[Ox][Oy] == 0 && Ox == 2 && Oy == 2 && Dx == 2 && Dy == 3)
                        score -= 点(1);
                }
                if (攻数[Dx][Dy] == 0 || (図.攻駒_MAN[Dx][Dy] == 駒_MAN王 && 守数[Dx][Dy] > 0)) {
                    if (調査_移動可場所数(Dx, Dy, 駒_COM飛) <= 1) return score - 点(1);
                    if (王の近く直線) return score + 点(5);
                }
            }
            return score;

        case 駒_COM飛成:
            score += 点(調査_周辺状況(Dx, Dy));
            if (Dy == 9 && 盤[Dx][8] <= 駒_MAN歩) {
                if (Dx == 3 && 盤[2][9] <= 駒_MAN歩 && 盤[4][8] == 駒_MAN金) score -= 点(150);
                if (Dx == 7 && 盤[8][9] <= 駒_MAN歩 && 盤[6][8] == 駒_MAN金) score -= 点(150);
            }
            if ((攻数[Dx][Dy] == 0 || (図.攻駒_MAN[Dx][Dy] == 駒_MAN王 && 守数[Dx][Dy] > 0)) &&
                王の近く直線) {
                score += 点(100);
            }
            if (Ox > 0) {
                if (盤[Dx][Dy - 1] == 駒_MAN銀 && Dx >= 2 && Dx <= 8 &&
                    ((盤[Dx - 1][Dy] != 空桝 && 盤[Dx + 1][Dy - 1] == 駒_MAN金) ||
                     (盤[Dx + 1][Dy] != 空桝 && 盤[Dx - 1][Dy - 1] == 駒_MAN金))) {
                    score -= 点(10);
                }
                if (Oy == 9 && 盤[Ox][8] == 駒_MAN銀) {
                    if (Ox > 1 && 盤[Ox - 1][8] == 駒_MAN金) score += 点(2);
                    if (Ox < 9 && 盤[Ox + 1][8] == 駒_MAN金) return score + 点(120);
                }
            }
            return score;

        case 駒_COM王:
            if (Dy > 2) score -= 点(15 + Dy);
            if (Dx != 5) score += 点(1);
            if (思考.移動不可駒有_COM == 定数_ON) score += 点(10);
            if (Dy < Oy && Oy < 9) {
                for (int c = Ox - 1; c <= Ox + 1; ++c) {
                    if (c >= 1 && c <= 9 && 盤[c][Oy + 1] >= 駒_COM歩) score -= 点(1);
                }
            }
            if (守数[Dx][Dy] > 思考.勢力数_COM_手番前[Dx][Dy]) score += 点(1);
            if (調査_移動可場所数(Dx, Dy, 駒_COM王) < 2) return score - 点(1);
            return score;

        default:
            return score;  // 香成, 桂成, 銀成 and anything else have no terms
    }
}

}  // namespace kiryuza
