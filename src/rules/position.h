// The game state: the position with both hands, the game status, the clock values and the
// history of snapshots, with the operations of the rules on them.
#pragma once

#include "rules/pieces.h"

namespace kiryuza {

// What the rules ask of the screen when they change the position. The window implements it;
// the engine and the tools use the silent default.
class 局面表示 {
  public:
    virtual ~局面表示() = default;
    virtual void 描画_絵(int /*駒種類*/, double /*座標X*/, double /*座標Y*/) {}
    virtual void 描画_桝輪郭(int /*描画色*/, double /*座標X*/, double /*座標Y*/) {}
    virtual void 描画_自持盤() {}
    virtual void 描画_敵持盤() {}
    virtual void 画面_再描画() {}
    virtual void Timer1_停止() {}
};

// The board, both hands and what the rules derive or record on the way.
struct 局面 {
    int 盤面[10][10]{};  // (X, Y): column 1..9 from the left, row 1..9 from the top
    int 持駒MAN[8]{};    // counts by hand index 1..7 (歩 香 桂 銀 金 角 飛)
    int 持駒COM[8]{};
    int 持駒総数MAN = 0;
    int 持駒総数COM = 0;
    int 王位置X_MAN = 0;
    int 王位置Y_MAN = 0;
    int 王位置X_COM = 0;
    int 王位置Y_COM = 0;
    int 二歩フラグMAN[10]{};
    int 二歩フラグCOM[10]{};
    int 駒成結果 = 0;
    int 勝者 = 手番_なし;
    int 手番値MAN = 手番_後手;
    int 手番値COM = 手番_先手;
};

// Lays out the starting position on an empty board with empty hands (steps 7 to 10 of the
// set-up); the history, the status and the king fields are not touched.
void 初期配置(局面& 局);

// Move legality.
int 移動チェック(const 局面& 局, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y,
                 int 移動駒種類);
int 移動チェック飛車(const 局面& 局, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y);
int 移動チェック角(const 局面& 局, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y);
void 調査_2歩フラグ設定(局面& 局);
int 移動後チェック(int 移動先Y, int 移動駒種類);

// A move: origin, destination and the code of the moving piece (for a drop, the drop code).
struct 指し手 {
    int 元X, 元Y, 先X, 先Y, 駒;
};

// The most moves a side can have: every board pair and every drop of seven kinds.
inline constexpr int 合法手最大数 = 81 * 81 + 7 * 81;

// Every move of one side that 移動チェック allows, after 調査_2歩フラグ設定: board moves by origin
// column, origin row, destination column and row, with the piece's own code (no change of
// form); then drops by hand index 1..7 in promoted form, by destination column and row.
// Writes them to `手` (room for 合法手最大数) and returns how many there are.
int 合法手一覧(局面& 局, bool COM側, 指し手* 手);

// True when the king of that code stands on the board.
bool 王がいる(const 局面& 局, int 王);

// Move execution.
int 調査_駒成(局面& 局, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y, int 移動駒種類);
void 駒移動(局面& 局, 局面表示& 表示, int 移動元X, int 移動元Y, int 移動先X, int 移動先Y,
            int 移動駒);
void 駒取得(局面& 局, int 取得駒);
int 調査_持駒数(const 局面& 局, int IN_手番);

}  // namespace kiryuza
