// The history of one game: a table of snapshots. Entry n is the position after move n (before
// move n + 1) with both sides' accumulated seconds before and after move n + 1; entry 0 is the
// position the game started from, and the last entry is the position on the board after the
// last move. The table keeps its own bounds: 棋譜手数 (the entry on the board) never leaves
// 0..棋譜記録数, and 棋譜記録数 (the last entry written for this game) never passes what this game
// wrote, so no caller can step or save into entries of an earlier game.
#pragma once

#include <vector>

#include "rules/position.h"

namespace kiryuza {

// The most moves a game can hold: entries 0..500, the last one the position after move 500.
inline constexpr int 棋譜最大手数 = 棋譜最大数 - 1;

// One snapshot.
struct 棋譜項目 {
    int 盤面[10][10]{};
    int 持駒MAN[8]{};
    int 持駒COM[8]{};
    double 前秒M = 0;  // MAN's accumulated seconds before move n + 1
    double 後秒M = 0;  // ... and after it
    double 前秒C = 0;  // COM's
    double 後秒C = 0;
};

// How the game the history holds began; a game begun from an altered position is not written
// to a record file.
enum class 棋譜の出自 { 平手, ハンデ, 反転 };

// Result of recording a move: the table has room for 500 moves only.
enum class 保存結果 { 保存, 満杯 };

class 棋譜表 {
  public:
    // Starts the history at the position on the board with both totals: entry 0, nothing
    // after it.
    void 開始(const 局面& 局, double 秒M, double 秒C, 棋譜の出自 出自 = 棋譜の出自::平手);

    // Records a move about to be made from the entry on the board: that entry takes the
    // position as it stands and the totals before and after the move, and every later entry is
    // dropped. Refuses, changing nothing, when the position after the move would not fit.
    保存結果 手順保存(const 局面& 局, double 前秒M, double 後秒M, double 前秒C, double 後秒C);

    // After the move recorded by 手順保存 has been made: the next entry takes the position on
    // the board, with the totals after the move, and becomes the entry on the board.
    void 着手後保存(const 局面& 局);

    // Steps to the next or previous entry; false (nothing changes) at either end.
    bool 進める();
    bool 戻す();

    // Puts entry 0 on the board again; the entries stay.
    void 最初へ() { 手数_ = 0; }

    // Drops the entries after the one on the board (play goes on from here); no move has been
    // made from it now.
    void 以降を捨てる();

    // Replaces the whole history: entries 0..n from `項目`, entry 0 on the board.
    void 置き換える(const 棋譜項目* 項目, int n, 棋譜の出自 出自 = 棋譜の出自::平手);

    int 棋譜手数() const { return 手数_; }
    int 棋譜記録数() const { return 記録数_; }
    棋譜の出自 出自() const { return 出自_; }
    bool 空きあり() const { return 手数_ < 棋譜最大手数; }

    // Entry n, 0 <= n <= 棋譜記録数 (clamped into that range).
    const 棋譜項目& 項目(int n) const;
    const 棋譜項目& 現在() const { return 項目_[手数_]; }

  private:
    // Entry n, made (zeroed) when the table has not reached it yet.
    棋譜項目& 用意(int n);
    // Puts the board and hands of `局` in entry n and returns the entry.
    棋譜項目& 写す(int n, const 局面& 局);

    // Grows with the game: a full table is a quarter of a megabyte, most games use a fraction.
    std::vector<棋譜項目> 項目_ = std::vector<棋譜項目>(1);
    int 手数_ = 0;
    int 記録数_ = 0;
    棋譜の出自 出自_ = 棋譜の出自::平手;
};

// Two histories hold the same game: the same start and the same entries 0..棋譜記録数 (the entry
// on the board may differ).
bool 記録が同じ(const 棋譜表& a, const 棋譜表& b);

// Puts entry n's board and hands on `局` and tidies the fields derived from them.
void 棋譜の局面を写す(const 棋譜項目& 項目, 局面& 局);

// Recomputes what follows from the board and hands: hand totals, the kings' squares (left as
// they were for a king that is not on the board) and the two-pawn flags.
void 派生値を整える(局面& 局);

}  // namespace kiryuza
