#include "rules/position.h"

namespace kiryuza {

保存結果 手順保存(棋譜表& 棋譜, const 局面& 局, int /*元X*/, int /*元Y*/, int /*先X*/, int /*先Y*/,
                  int /*元駒*/, int /*先駒*/, double 前秒M, double 後秒M, double 前秒C,
                  double 後秒C) {
    const int n = 棋譜.棋譜手数;
    if (n < 0 || n >= 棋譜最大数) return 保存結果::満杯;
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) 棋譜.棋譜_盤面[n][x][y] = 局.盤面[x][y];
    for (int k = 1; k <= 7; ++k) {
        棋譜.棋譜_持駒MAN[n][k] = 局.持駒MAN[k];
        棋譜.棋譜_持駒COM[n][k] = 局.持駒COM[k];
    }
    棋譜.棋譜_前秒M[n] = 前秒M;
    棋譜.棋譜_後秒M[n] = 後秒M;
    棋譜.棋譜_前秒C[n] = 前秒C;
    棋譜.棋譜_後秒C[n] = 後秒C;
    棋譜.棋譜記録数 = n;
    return 保存結果::保存;
}

}  // namespace kiryuza
