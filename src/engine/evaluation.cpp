// The static evaluation of a candidate of the computer: sentinel verdicts, general terms on
// check, safety, exchange and capture, and the level gate before the piece terms. Scores are
// integer tenths; 点(n) is n whole points and 一分 is 0.1.
#include <algorithm>
#include <cstdlib>

#include "engine/engine.h"

namespace kiryuza {

namespace {

constexpr 評価値 一分 = 1;

}  // namespace

評価値 思考エンジン::盤評価(int 取得駒, int 移動駒, int 移動元X, int 移動元Y, int 移動先X,
                            int 移動先Y) {
    const auto& 盤 = 局.盤面;
    const int Dx = 移動先X;
    const int Dy = 移動先Y;
    const int Kx = 局.王位置X_MAN;
    const int Ky = 局.王位置Y_MAN;
    const int Cx = 局.王位置X_COM;
    const int Cy = 局.王位置Y_COM;
    const int Px = 図.攻駒X_MAN[Dx][Dy];
    const int Py = 図.攻駒Y_MAN[Dx][Dy];
    評価値 score = 0;

    // Sentinels.
    if (取得駒 == 駒_MAN王) return 点(9999);
    if (図.勢力数_MAN[Cx][Cy] >= 1) return 点(-9998);
    if (図.勢力数_COM[Kx][Ky] > 0) {
        if (詰めかMAN() == 定数_ON) return 移動駒 == 駒_COM歩 ? 点(-9998) : 点(9998);
        if (図.攻駒_MAN[Dx][Dy] == 駒_MAN王 && 図.勢力数_COM[Dx][Dy] > 0) score += 点(100);
        const bool 斜め隣 = Dx != Kx && Dy != Ky && std::abs(Kx - Dx) < 2 && std::abs(Ky - Dy) < 2;
        if (図.勢力数_MAN[Dx][Dy] <= 2 && 図.守駒_COM[Dx][Dy] == 駒_COM飛成 && 斜め隣 &&
            (図.守駒X_COM[Dx][Dy] == Kx || 図.守駒Y_COM[Dx][Dy] == Ky)) {
            score += 点(900);
        }
        if (図.勢力数_MAN[Dx][Dy] == 0) score += 点(10);
    }

    // A drop costs a little.
    if (移動元X < 0) score -= 点(5);

    score += 盤評価_COM危険座標(移動駒, Dx, Dy);

    // Approach to the human king.
    const int dx = std::abs(Dx - Kx);
    const int dy = std::abs(Dy - Ky);
    if (dx > dy) {
        if (思考.起点王距離 > dx) score += 点(1);
    } else {
        if (思考.起点王距離 > dy) score += 一分;
    }

    // Attacking a human piece that is pinned to its king.
    {
        const bool 数 =
            図.勢力数_MAN[Dx][Dy] == 1 ||
            (図.勢力数_MAN[Dx][Dy] == 2 && 図.勢力数_COM[Kx][Ky] > 0 && 図.勢力数_COM[Dx][Dy] > 0);
        const bool 線違い = (Kx == Px && Kx != Dx) || (Ky == Py && Ky != Dy) ||
                            (Kx != Px && Ky != Py && (Kx == Dx || Ky == Dy));
        if (図.勢力数_MAN[Px][Py] > 0 && 数 && 思考.移動不可駒_MAN[Px][Py] == 1 && 線違い &&
            移動チェック(局, Dx, Dy, Px, Py, 思考.候補駒) == 定数_ON) {
            const bool 盤上の手 = 移動元X > 0;
            if (!盤上の手 ||
                盤[思考.攻駒X_COM_手番前[Px][Py]][思考.攻駒Y_COM_手番前[Px][Py]] != 空桝) {
                score += 点(std::abs(盤[Px][Py]));
            }
        }
    }

    // Safety of the destination.
    if (図.勢力数_MAN[Dx][Dy] == 0) {
        if (移動駒 != 駒_COM角 && 移動駒 != 駒_COM角成 && 移動駒 != 駒_COM王 &&
            移動駒 != 駒_COM歩) {
            score -= 点(盤評価_自角注意_COM(Dx, Dy, 移動駒));
        }
        if ((dx < 3 && dy < 3) || 移動駒 == 駒_COM香 ||
            (移動駒 >= 駒_COM角 && 移動駒 <= 駒_COM飛成)) {
            const int n = 調査_自王逃道();
            if (思考.逃道数_手番前 > n) score += 点(思考.逃道数_手番前 - n);
        }
    } else if (図.勢力数_COM[Dx][Dy] > 0) {
        if ((局.持駒MAN[4] > 0 || 局.持駒MAN[5] > 0) && Dx >= 2 && Dx <= 8) {
            const int 左 = 盤[Dx - 1][Dy];
            const int 右 = 盤[Dx + 1][Dy];
            const auto 飛 = [](int c) { return c == 駒_MAN飛 || c == 駒_MAN飛成; };
            if ((飛(左) && 右 == 駒_COM王) || (飛(右) && 左 == 駒_COM王)) score -= 点(移動駒);
        }
        const int a = std::abs(図.攻駒_MAN[Dx][Dy]);
        if (移動駒 > a) score += 点(a - 移動駒);
        if (図.攻駒_MAN[Dx][Dy] == 駒_MAN王 && Dy < Ky && 図.勢力数_COM[Kx][Ky] > 0) {
            score += 点(移動駒);
        }
    } else if (移動元X < 0) {
        score -= 点(移動駒 + 50);
    }

    // A human lance waiting on the edge file.
    if (盤[Dx][9] == 駒_MAN香 && (Dx == 1 || Dx == 9) && 移動駒 != 駒_COM香 && 移動駒 != 駒_COM飛 &&
        移動駒 != 駒_COM飛成 && Dx != 移動元X) {
        score -= 一分;
    }

    // Capture.
    if (取得駒 != 空桝) {
        const 評価値 取得値 = 点(std::abs(取得駒));
        if ((取得駒 == 駒_MAN角 || 取得駒 == 駒_MAN角成 || 取得駒 == 駒_MAN飛 ||
             取得駒 == 駒_MAN飛成) &&
            移動駒 <= 駒_COM金) {
            score += 取得値;
        }
        if (COMレベル == 1) return score;
        const int 攻 = 図.勢力数_MAN[Dx][Dy];
        const int 守 = 図.勢力数_COM[Dx][Dy];
        if (攻 > 0 && 守 > 0 && 盤[Dx][Dy] < std::abs(図.攻駒_MAN[Dx][Dy])) score += 取得値;
        if (攻 > 0 && 守 == 0 && 移動元X > 0 && 思考.勢力数_MAN_手番前[移動元X][移動元Y] > 0 &&
            調査_移動可場所数(移動元X, 移動元Y, 移動駒) == 0) {
            score += 取得値;
        }
        if (攻 == 0) {
            score += 取得値;
            if (取得駒 == 駒_MANと || 取得駒 == 駒_MAN香成 || 取得駒 == 駒_MAN桂成) score += 点(50);
        }
    }

    if (COMレベル == 2) return score;
    return 駒別評価(score, 取得駒, 移動駒, 移動元X, 移動元Y, 移動先X, 移動先Y);
}

}  // namespace kiryuza
