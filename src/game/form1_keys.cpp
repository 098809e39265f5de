// Form1's keyboard play: the arrows move a cursor over the board and both hands, and Enter or
// Space does what a click on its cell does; while a record or the history is being stepped
// through, ← and → step 戻 and 進.
#include <algorithm>

#include "game/form1.h"

namespace kiryuza {

namespace {

constexpr int キー_左 = 37;
constexpr int キー_上 = 38;
constexpr int キー_右 = 39;
constexpr int キー_下 = 40;

// The cell the cursor reaches from `c` going (横, 縦): across the board, and off its sides into
// the hand beside it (the upper side's on the left, the lower side's on the right).
桝 隣の桝(桝 c, int 横, int 縦) {
    if (c.列 == 持駒列_COM) {
        if (横 > 0) return {1, c.行};
        return {c.列, std::clamp(c.行 + 縦, 1, 7)};
    }
    if (c.列 == 持駒列_MAN) {
        if (横 < 0) return {9, c.行};
        return {c.列, std::clamp(c.行 + 縦, 3, 9)};
    }
    const int 列 = c.列 + 横;
    if (列 < 1) return {持駒列_COM, std::clamp(c.行, 1, 7)};
    if (列 > 9) return {持駒列_MAN, std::clamp(c.行, 3, 9)};
    return {列, std::clamp(c.行 + 縦, 1, 9)};
}

}  // namespace

void Form1::Form_KeyDown(int キーコード) {
    // While the form of a move is chosen, the arrows choose it.
    if (入力_.形を選ぶ) {
        形の選択を動かす(キーコード);
        return;
    }
    const bool 再生中 = s_.状況.棋譜モード == 定数_ON || s_.状況.再開フラグ == 定数_ON;
    switch (キーコード) {
        case キー_左:
            再生中 ? REPLAY_Click() : カーソルを動かす(-1, 0);
            break;
        case キー_右:
            再生中 ? AFTER_Click() : カーソルを動かす(1, 0);
            break;
        case キー_上:
            カーソルを動かす(0, -1);
            break;
        case キー_下:
            カーソルを動かす(0, 1);
            break;
        default:
            break;
    }
}

// ← and → select the piece on their side of the chooser, ↑ and ↓ the other one.
void Form1::形の選択を動かす(int キーコード) {
    auto& m = 入力_;
    bool 変える = m.変える;
    if (キーコード == キー_左) 変える = true;
    if (キーコード == キー_右) 変える = false;
    if (キーコード == キー_上 || キーコード == キー_下) 変える = !変える;
    if (変える == m.変える) return;
    m.変える = 変える;
    画面_.描画_形の選択(m.移動先X, m.移動先Y, m.変えた駒, m.移動駒, 変える);
    画面_.更新();
}

// The first key shows the cursor on the lower side's middle pawn; later keys move it.
void Form1::カーソルを動かす(int 横, int 縦) {
    if (カーソル_) 画面_.消去_カーソル(*カーソル_);
    カーソル_ = カーソル_ ? 隣の桝(*カーソル_, 横, 縦) : 桝{5, 7};
    画面_.描画_カーソル(*カーソル_);
    画面_.更新();
}

void Form1::カーソルで押す() {
    if (!カーソル_) {
        カーソルを動かす(0, 0);
        return;
    }
    const 桝 c = *カーソル_;
    Form_MouseDown(1, 0, 格子X(c.列) + 桝幅 / 2, 格子Y(c.行) + 桝高 / 2);
    // What the click drew may have covered the cursor.
    画面_.描画_カーソル(c);
    画面_.更新();
}

}  // namespace kiryuza
