// The computer's search: every legal board move (in both forms where the change of form is
// optional, in the changed form only for a person's moves) and every legal drop, each made in place
// on the board, surveyed and evaluated; the first candidate with the strictly highest score wins.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/engine.h"
#include "rules/history.h"
#include "rules/reversal.h"

namespace kiryuza {

namespace {

constexpr 評価値 探索下限 = 点(-99999);

}  // namespace

最善手 思考エンジン::探索(探索観察& 観察) {
    auto& 盤 = 局.盤面;
    最善手 最善;
    最善.評価 = 探索下限;

    std::memcpy(思考.盤面_手番前, 盤, sizeof(盤表));
    std::memset(思考.逃道印_MAN, 0, sizeof(盤表));

    調査_2歩フラグ設定(局);
    思考.逃道数_手番前 = 調査_自王逃道();
    勢力調査();
    調査_持角狙座標();
    調査_移動不可駒();
    std::memcpy(思考.勢力数_MAN_手番前, 図.勢力数_MAN, sizeof(盤表));
    std::memcpy(思考.勢力数_COM_手番前, 図.勢力数_COM, sizeof(盤表));
    std::memcpy(思考.攻駒X_COM_手番前, 図.攻駒X_COM, sizeof(盤表));
    std::memcpy(思考.攻駒Y_COM_手番前, 図.攻駒Y_COM, sizeof(盤表));

    // Evaluates the trial position with `駒` on the destination.
    auto 評価する = [&](int 取得, int 駒, int ox, int oy, int tx, int ty) {
        盤[tx][ty] = 駒;
        勢力調査();
        const 評価値 v = 盤評価(取得, 駒, ox, oy, tx, ty);
        観察.評価(ox, oy, tx, ty, 駒, v);
        return v;
    };

    for (int ox = 1; ox <= 9; ++ox) {
        観察.時計();
        for (int oy = 1; oy <= 9; ++oy) {
            const int 元駒 = 盤[ox][oy];
            if (元駒 < 駒_COM歩) continue;
            for (int tx = 1; tx <= 9; ++tx) {
                for (int ty = 1; ty <= 9; ++ty) {
                    if (移動チェック(局, ox, oy, tx, ty, 元駒) != 定数_ON) continue;
                    思考.候補駒 = 元駒;
                    思考.起点王距離 =
                        std::max(std::abs(ox - 局.王位置X_MAN), std::abs(oy - 局.王位置Y_MAN));
                    const int 取得 = 盤[tx][ty];
                    盤[ox][oy] = 空桝;

                    評価値 score;
                    int 残る駒 = 元駒;
                    if (調査_駒成(局, ox, oy, tx, ty, 元駒) == 定数_OFF) {
                        score = 評価する(取得, 元駒, ox, oy, tx, ty);
                    } else if (移動後チェック(ty, 元駒) == 定数_OFF || 範囲 == 手の範囲::人の手) {
                        残る駒 = 局.駒成結果;
                        score = 評価する(取得, 残る駒, ox, oy, tx, ty);
                    } else {
                        const int 成後 = 局.駒成結果;
                        score = 評価する(取得, 元駒, ox, oy, tx, ty);
                        const 評価値 score2 = 評価する(取得, 成後, ox, oy, tx, ty);
                        if (score2 > score) {
                            score = score2;
                            残る駒 = 成後;
                        }
                    }

                    盤[tx][ty] = 取得;
                    盤[ox][oy] = 元駒;

                    if (score > 最善.評価) {
                        最善 = {true, ox, oy, tx, ty, 残る駒, 元駒, score};
                        if (取得 == 駒_MAN王) return 最善;
                    }
                }
            }
        }
    }

    if (局.持駒総数COM > 0) {
        for (int k = 1; k <= 7; ++k) {
            観察.時計();
            if (局.持駒COM[k] <= 0) continue;
            const int 駒 = 打駒_COM[k];
            思考.候補駒 = 駒;
            for (int tx = 1; tx <= 9; ++tx) {
                for (int ty = 1; ty <= 9; ++ty) {
                    if (移動チェック(局, 持駒列_COM, k, tx, ty, 駒) != 定数_ON) continue;
                    const 評価値 score = 評価する(空桝, 駒, 持駒列_COM, k, tx, ty);
                    盤[tx][ty] = 空桝;
                    if (score > 最善.評価) {
                        最善 = {true, 持駒列_COM, k, tx, ty, 駒, 最善.元駒, score};
                        if (score >= 点(9998)) return 最善;
                    }
                }
            }
        }
    }
    return 最善;
}

最善手 思考エンジン::手を選ぶ(探索観察& 観察) {
    勢力調査();
    return 探索(観察);
}

最善手 一手読みの手(思考エンジン& エンジン, const 局面& 局, bool COM側, 探索観察& 観察) {
    エンジン.局 = 局;
    if (!COM側) 局面反転(エンジン.局);
    最善手 b = エンジン.手を選ぶ(観察);
    if (!b.有り || COM側) return b;
    const 指し手 m = 反転手({b.元X, b.元Y, b.先X, b.先Y, b.駒});
    b.元X = m.元X;
    b.元Y = m.元Y;
    b.先X = m.先X;
    b.先Y = m.先Y;
    b.駒 = m.駒;
    b.元駒 = -b.元駒;
    return b;
}

void 思考エンジン::手を指す(const 最善手& 手, 局面表示& 表示) {
    駒移動(局, 表示, 手.元X, 手.元Y, 手.先X, 手.先Y, 手.駒);
    派生値を整える(局);
    勢力調査();
}

}  // namespace kiryuza
