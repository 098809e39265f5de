#include "rules/position_check.h"

namespace kiryuza {

std::string 局面の矛盾(const 局面& 局, const 局面の期待& 期待) {
    int 種類数[8] = {};
    int 王以外 = 0;
    int 王[2] = {};  // the lower side's, the upper side's
    for (int x = 0; x <= 9; ++x)
        for (int y = 0; y <= 9; ++y) {
            const int c = 局.盤面[x][y];
            if (c == 空桝) continue;
            if (x == 0 || y == 0) return "index 0 of the board holds " + std::to_string(c);
            if (!盤上駒コード(c)) return "not a piece on the board: " + std::to_string(c);
            if (c == 駒_MAN王 || c == 駒_COM王) {
                const bool MAN = c == 駒_MAN王;
                ++王[MAN ? 0 : 1];
                if (期待.王位置 && ((MAN ? 局.王位置X_MAN : 局.王位置X_COM) != x ||
                                    (MAN ? 局.王位置Y_MAN : 局.王位置Y_COM) != y)) {
                    return std::string(MAN ? "MAN" : "COM") + " king field is not on its king";
                }
                continue;
            }
            ++王以外;
            ++種類数[持駒番号(c)];
            if (期待.二歩フラグ && (c == 駒_MAN歩 || c == 駒_COM歩) &&
                (c < 0 ? 局.二歩フラグMAN : 局.二歩フラグCOM)[x] != 1) {
                return "two-pawn flag missing on column " + std::to_string(x);
            }
        }
    int 持MAN = 0;
    int 持COM = 0;
    for (int k = 1; k <= 7; ++k) {
        if (局.持駒MAN[k] < 0 || 局.持駒COM[k] < 0) return "negative hand count";
        持MAN += 局.持駒MAN[k];
        持COM += 局.持駒COM[k];
        種類数[k] += 局.持駒MAN[k] + 局.持駒COM[k];
        if (種類数[k] > 駒種類表[k].枚数)
            return "more pieces of kind " + std::to_string(k) + " than a set";
    }
    if (局.持駒MAN[0] != 0 || 局.持駒COM[0] != 0) return "hand index 0 is not empty";
    if (持MAN != 局.持駒総数MAN || 持COM != 局.持駒総数COM) return "hand totals disagree";
    if (期待.王以外の駒数 >= 0 && 王以外 + 持MAN + 持COM != 期待.王以外の駒数) {
        return "pieces: " + std::to_string(王以外 + 持MAN + 持COM) + " instead of " +
               std::to_string(期待.王以外の駒数);
    }
    // One king a side; after a capture, one side's alone.
    const bool 両方 = 王[0] == 1 && 王[1] == 1;
    if (!両方 && !(王[0] + 王[1] == 1 && 期待.王一枚でもよい)) {
        return std::to_string(王[0]) + " MAN and " + std::to_string(王[1]) + " COM kings";
    }
    if (期待.二歩フラグ) {
        for (int x = 1; x <= 9; ++x) {
            int MAN歩 = 0;
            int COM歩 = 0;
            for (int y = 1; y <= 9; ++y) {
                MAN歩 += 局.盤面[x][y] == 駒_MAN歩;
                COM歩 += 局.盤面[x][y] == 駒_COM歩;
            }
            if ((MAN歩 > 0) != (局.二歩フラグMAN[x] == 1) ||
                (COM歩 > 0) != (局.二歩フラグCOM[x] == 1))
                return "two-pawn flags disagree on column " + std::to_string(x);
        }
    }
    return "";
}

int 王以外の駒数(const 局面& 局) {
    int n = 0;
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) {
            const int c = 局.盤面[x][y];
            n += c != 空桝 && c != 駒_MAN王 && c != 駒_COM王;
        }
    for (int k = 1; k <= 7; ++k) n += 局.持駒MAN[k] + 局.持駒COM[k];
    return n;
}

}  // namespace kiryuza
