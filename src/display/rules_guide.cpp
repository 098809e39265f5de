#include "display/rules_guide.h"

#include <algorithm>

namespace kiryuza {

namespace {

// Marks the rows of the lower side's far zone.
void 敵陣を塗る(盤の図& 図) {
    for (int y = 1; y <= 盤桝数; ++y) {
        if (!敵陣の段(y)) continue;
        for (int x = 1; x <= 盤桝数; ++x) 図.桝[x][y].敵陣 = true;
    }
}

// The far zone's row nearest the lower side: where a piece coming up the board enters it.
int 敵陣の入口() {
    int 入口 = 0;
    for (int y = 1; y <= 盤桝数; ++y)
        if (敵陣の段(y)) 入口 = std::max(入口, y);
    return 入口;
}

// A piece stepping straight from row 元Y to row 先Y of the middle column, shown on the three
// middle columns from the top row down to two rows below the far zone.
成りの例 例を作る(int 駒, int 元Y, int 先Y) {
    局面 局;
    成りの例 例{駒, 駒, 敵陣の段(元Y) && !敵陣の段(先Y), {}, {}};
    if (調査_駒成(局, 図の中央, 元Y, 図の中央, 先Y, 駒) == 定数_ON) 例.後の駒 = 局.駒成結果;
    for (盤の図* 図 : {&例.前, &例.後}) {
        図->左 = 図の中央 - 1;
        図->右 = 図の中央 + 1;
        図->上 = 1;
        図->下 = std::min(盤桝数, 敵陣の入口() + 2);
        敵陣を塗る(*図);
    }
    例.前.桝[図の中央][元Y].駒 = 駒;
    例.前.手あり = true;
    例.前.元X = 例.前.先X = 図の中央;
    例.前.元Y = 元Y;
    例.前.先Y = 先Y;
    例.後.桝[図の中央][先Y].駒 = 例.後の駒;
    return 例;
}

}  // namespace

盤の図 動きの図(int 駒) {
    局面 局;
    局.盤面[図の中央][図の中央] = 駒;
    盤の図 図;
    図.桝[図の中央][図の中央].駒 = 駒;
    int 左 = 2;
    int 右 = 2;
    int 上 = 2;
    int 下 = 2;
    for (int x = 1; x <= 盤桝数; ++x) {
        for (int y = 1; y <= 盤桝数; ++y) {
            if (移動チェック(局, 図の中央, 図の中央, x, y, 駒) != 定数_ON) continue;
            図.桝[x][y].行先 = true;
            左 = std::max(左, 図の中央 - x);
            右 = std::max(右, x - 図の中央);
            上 = std::max(上, 図の中央 - y);
            下 = std::max(下, y - 図の中央);
        }
    }
    図.左 = 図の中央 - 左;
    図.右 = 図の中央 + 右;
    図.上 = 図の中央 - 上;
    図.下 = 図の中央 + 下;
    return 図;
}

std::vector<駒の形> 教える駒の順() {
    static constexpr int 順[] = {王の種類, 5, 1, 2, 3, 4, 6, 7};
    std::vector<駒の形> 形;
    for (const int k : 順) 形.push_back({-駒種類表[k].成, -駒種類表[k].元});
    return 形;
}

bool 敵陣の段(int Y) {
    if (Y < 1 || Y > 盤桝数) return false;
    // A sideways step, which a promoted pawn may make on any row.
    局面 局;
    return 調査_駒成(局, 図の中央 - 1, Y, 図の中央, Y, 駒_MANと) == 定数_ON;
}

盤の図 初めの並びの図() {
    局面 局;
    初期配置(局);
    盤の図 図;
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) 図.桝[x][y].駒 = 局.盤面[x][y];
    敵陣を塗る(図);
    return 図;
}

std::vector<成りの例> 成りの例一覧() {
    const int 入口 = 敵陣の入口();
    std::vector<成りの例> 入る;
    std::vector<成りの例> 出る;
    for (const 駒の形& 形 : 教える駒の順()) {
        if (形.成駒 == 形.元駒) continue;
        成りの例 入り = 例を作る(形.成駒, 入口 + 1, 入口);
        if (入り.後の駒 != 入り.前の駒) 入る.push_back(入り);
        成りの例 出 = 例を作る(形.成駒, 入口, 入口 + 1);
        if (出.後の駒 != 出.前の駒) 出る.push_back(出);
    }
    入る.insert(入る.end(), 出る.begin(), 出る.end());
    return 入る;
}

std::vector<打ちの形> 打ちの形一覧() {
    std::vector<打ちの形> 形;
    for (int k = 1; k <= 7; ++k) 形.push_back({-駒種類表[k].元, 打駒_MAN[k]});
    return 形;
}

}  // namespace kiryuza
