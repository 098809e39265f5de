// What is drawn where: the board, both hands, the coordinate labels, the background, the
// status texts, the move notation and the clocks, on a grid of cells over the canvas. A cell
// (x, y) has its corner at (1050 + 570x, 100 + 660y) twips; x and y may be fractional.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "display/geometry.h"
#include "interfaces/canvas.h"
#include "rules/game_state.h"
#include "rules/time_control.h"

namespace kiryuza {

// Text of a code: file digits 1..9, rank numerals 1001..1009, piece names; empty otherwise.
std::string 文字列変換(int IN_文字列);

// The X position in twips at which a record's header line is printed so that it roughly
// centres over the board: 1050 + 570 × (3 + (13 − n) / 5) with n the number of characters.
double 取得_棋譜のX座標(std::string_view IN_文字列);

// Where a line of text goes within [左限, 右限) twips: at 希望X when it fits, moved left or
// right to fit, and shortened with "…" when it is wider than the room.
struct 文字配置 {
    double X;
    std::string 文;
};
文字配置 範囲内に置く(const std::string& 文, double 希望X, double 左限, double 右限,
                      double ポイント);

// Clock values: two-digit fields and the hh:mm:ss text (elapsed seconds across midnight are
// the clock's own, in rules/time_control.h).
std::string 変換_数字から文字(long I_数字);
std::string 調査_時間秒追加結果(double IN_経過秒);

// The chooser of the form a move's piece arrives in stands over the destination (x, y): both
// pieces side by side, the change of form on the left, centred on the destination and kept on
// the board. The column where the left piece's cell begins.
double 形の選択の左列(int 先X);

class 画面 {
  public:
    画面(キャンバス& キャンバス面, const 対局状態& 状態) : キャンバス_(キャンバス面), 状態_(状態) {}

    // Primitives.
    void 描画_絵(int 駒種類, double 座標X, double 座標Y);
    void 描画_桝輪郭(int 描画色, double 座標X, double 座標Y);
    void 描画_数値(double 入力X, double 入力Y, long 数値, int 色, int モード,
                   double フォントサイズ);
    void 描画_数値(double 入力X, double 入力Y, const std::string& 文字, int 色, int モード,
                   double フォントサイズ);
    void 描画_文字_位置(double X, double Y, const std::string& 文字, int 色, double フォントサイズ);
    void 背景色塗り(int 色) {
        カーソル隠れ_ = true;
        キャンバス_.背景色(色);
    }
    // Shows what was drawn; a cursor that a drawing covered is drawn again on top first.
    void 更新();

    // Board, hands, labels and the whole window.
    void 描画_背景(int IN_背景種類);
    void 描画_盤();
    void 描画_将棋盤桝();
    void 描画_自持盤();
    void 描画_敵持盤();
    void 描画_桝_数値();
    void 画面_再描画();
    void 描画_棋譜読込み部分消去();
    // Outlines every board square and hand slot in the square colour: no pick, no guidance.
    void 描画_全桝輪郭();

    // A loaded record's header lines: the title and the lower side's player in the row below
    // the board, the upper side's player above it, each kept inside its area.
    void 描画_棋譜見出し(const std::string& 対局名, const std::string& 上手名,
                         const std::string& 下手名);

    // Forgets the move number, the last-move texts and the header lines, so that the next
    // full redraw shows none of them (a new game, a turned board).
    void 表示記憶消去();

    // Status texts and notation.
    void 描画_移動駒種類(double 入力X, double 入力Y, const std::string& 駒文字, int 色);
    void 描画_文字列(double 入力X, double 入力Y, int 数値, int 色, double サイズ);
    void 描画_移動結果(int IN_手番, int 移動先X, int 移動先Y, int 移動駒, int 駒色);
    void 消去_移動結果(int IN_手番);
    void 消去_思考中();
    void 描画_手数(int 数値, int 色);
    void 描画_レベル(int IN_LEVEL);
    void 消去_レベル();
    // The shadowed "思考中" caption where the upper side's last move is shown.
    void 描画_思考中();
    void 描画_ハンデレベル(int IN_ハンデレベル);

    // The keyboard's cursor: a frame inside cell c (a board square or a hand slot), drawn, or
    // taken away by painting the cell again with the outline it had. Once drawn it stays on
    // top: whatever later paints its cell, 更新 draws it again.
    void 描画_カーソル(桝 c);
    void 消去_カーソル(桝 c);

    // The chooser of the form at the destination (先X, 先Y): the piece with the change of form
    // (変えた駒) and as it is (元の駒), the selected one (the change with 変える) framed. It
    // stays on top of whatever is drawn under it, and hides the keyboard's cursor, until it is
    // taken away, which paints the cells under it again as the position has them.
    void 描画_形の選択(int 先X, int 先Y, int 変えた駒, int 元の駒, bool 変える);
    void 消去_形の選択();
    // Which of the chooser's pieces the window point (x, y) in twips falls on: true for the
    // change of form, false for the piece as it is; nothing elsewhere or with no chooser shown.
    std::optional<bool> 形の選択の駒(double x, double y) const;

    // Whose turn it is, beside the board: ▲先手番 / △後手番 between two people, あなたの番 /
    // COMの番 against the computer; nothing while no game runs or after its end. Repaints only
    // when the text changes (or after a full redraw).
    void 描画_手番表示();

    // Clocks.
    // `IN_思考時間` includes `今の手`, the time spent on the move being thought about.
    void 描画_所有時間(int IN_手番, double IN_思考時間, double 今の手 = 0);
    void 消去_所有時間(int IN_手番);

  private:
    // What the status areas show, so that a full redraw (a new background) puts it back.
    struct 移動結果表示 {
        bool 有 = false;
        int 先X = 0, 先Y = 0, 駒 = 0, 色 = 0;
    };
    struct 見出し表示 {
        bool 有 = false;
        std::string 対局名, 上手名, 下手名;
    };
    void 状態表示を戻す();
    struct 形の選択表示 {
        int 先X = 0, 先Y = 0, 変えた駒 = 0, 元の駒 = 0;
        bool 変える = true;
    };
    void 形の選択を描く();
    // Whether what is drawn on cell (X, Y), its outline included, may reach the chooser.
    bool 形の選択に触れる(double 座標X, double 座標Y) const;
    // Notes that cell (X, Y) was painted over, should the cursor stand there.
    void 桝を塗った(double 座標X, double 座標Y) {
        if (カーソル桝_ && カーソル桝_->列 == 座標X && カーソル桝_->行 == 座標Y)
            カーソル隠れ_ = true;
    }

    int 表示中の手数_ = -1;  // -1: no move number shown
    int 枠色_[13][10]{};     // the outline last drawn on cells -1..11 x 0..9
    std::string 手番表示_;   // the turn text shown
    移動結果表示 移動結果MAN_;
    移動結果表示 移動結果COM_;
    見出し表示 見出し_;
    std::optional<桝> カーソル桝_;          // where the cursor is shown
    bool カーソル隠れ_ = false;             // something was painted over it since
    std::optional<形の選択表示> 形の選択_;  // the chooser shown

    キャンバス& キャンバス_;
    const 対局状態& 状態_;
};

}  // namespace kiryuza
