// The searching player's board: the rules' position played in place with make and unmake,
// with a Zobrist key and the material kept up to date move by move. Moves come from the rules:
// the generator only proposes the squares a piece of that kind could reach and 移動チェック,
// 調査_駒成 and 移動後チェック decide. Plain C++; nothing here allocates.
#pragma once

#include <cstdint>

#include "rules/person_moves.h"
#include "rules/position.h"

namespace kiryuza {

// Kinds of board code in a fixed order, so that a code has a small index: 0..13 for the lower
// side, 14..27 for the upper side.
inline constexpr int 駒種数 = 14;
inline constexpr int 駒番号数 = 2 * 駒種数;
inline constexpr int 駒種の値[駒種数] = {駒_COM歩,   駒_COMと, 駒_COM香,   駒_COM香成, 駒_COM桂,
                                         駒_COM桂成, 駒_COM銀, 駒_COM銀成, 駒_COM金,   駒_COM角,
                                         駒_COM角成, 駒_COM飛, 駒_COM飛成, 駒_COM王};

// Index 0..27 of every code from -駒_COM王 to 駒_COM王; -1 for a code that is no board piece.
struct 駒番号表 {
    signed char 番号[2 * 駒_COM王 + 1];
};
constexpr 駒番号表 駒番号表を作る() {
    駒番号表 t{};
    for (auto& v : t.番号) v = -1;
    for (int i = 0; i < 駒種数; ++i) {
        t.番号[駒_COM王 - 駒種の値[i]] = static_cast<signed char>(i);
        t.番号[駒_COM王 + 駒種の値[i]] = static_cast<signed char>(i + 駒種数);
    }
    return t;
}
inline constexpr 駒番号表 駒番号一覧 = 駒番号表を作る();

// Index 0..27 of a board code; -1 for anything else.
constexpr int 駒番号(int code) {
    if (code < -駒_COM王 || code > 駒_COM王) return -1;
    return 駒番号一覧.番号[code + 駒_COM王];
}

// The board code of an index 0..27.
constexpr int 番号の駒(int i) {
    return i < 駒種数 ? -駒種の値[i] : 駒種の値[i - 駒種数];
}

// A move packed in 32 bits: origin (square x*10+y, or 100 + hand index for a drop), destination
// square, and the index of the code left on the destination. 0 is no move.
using 手符号 = std::uint32_t;
inline constexpr 手符号 手なし = 0;
inline constexpr int 打ち元 = 100;

constexpr 手符号 手を作る(int 元, int 先, int 置く駒) {
    return static_cast<手符号>(元) | static_cast<手符号>(先) << 7 |
           static_cast<手符号>(駒番号(置く駒)) << 14;
}
constexpr int 手の元(手符号 m) {
    return static_cast<int>(m & 127u);
}
constexpr int 手の先(手符号 m) {
    return static_cast<int>((m >> 7) & 127u);
}
constexpr int 手の駒(手符号 m) {
    return 番号の駒(static_cast<int>((m >> 14) & 31u));
}
constexpr bool 打つ手(手符号 m) {
    return 手の元(m) >= 打ち元;
}

// Largest number of hand pieces of one kind (all eighteen pawns).
inline constexpr int 持駒上限 = 18;

// Zobrist keys: one per code and square, per side, hand kind and count, and the side to move;
// and one per choice of the sides held to a person's moves (両側の範囲::番号; 0 for none), so
// that what is learnt of a position under one choice is never taken for another.
struct 鍵表 {
    std::uint64_t 駒[駒番号数][100];
    std::uint64_t 持駒[2][8][持駒上限 + 1];
    std::uint64_t 手番;
    std::uint64_t 範囲[4];
};
extern const 鍵表 局面鍵;

// What a move changed that its unmake cannot work out again.
struct 復元情報 {
    int 取得駒;
    int 元駒;
    std::uint64_t 鍵;
    int 駒得;
};

// Material and placement values of the evaluation, from the upper side's point of view: one
// per code index and square, and one per hand piece of each side and kind.
struct 駒得表 {
    int 盤[駒番号数][100];
    int 持駒[2][8];
};

class 探索盤 {
  public:
    explicit 探索盤(const 駒得表& 表) : 表_(表) {}

    // Takes a copy of `元` with the upper side (COM側) or the lower side to move; the hand
    // totals, king squares, two-pawn flags, key and material are worked out afresh. `各側`
    // says which moves each side may make: every generator below and 指せる手 leave out the
    // moves that decline a change of form for a side held to a person's moves.
    void 設定(const 局面& 元, bool COM側, 両側の範囲 各側 = {});

    // Every move of the side to move: board moves in both forms where the change of form is
    // optional (the changed form only for a person's side), then drops in promoted form. Returns
    // the count (at most `上限`). With `金打ち一種` the drops of pawn, lance, knight, silver and
    // gold, which all land as pieces that move like a gold, are made with the first of those kinds
    // in hand only.
    int 全手生成(手符号* 出力, int 上限, bool 金打ち一種 = false);
    // Captures only, each in the form that keeps the most moves.
    int 取る手生成(手符号* 出力, int 上限);
    // The moves after which the side to move could take the other side's king (checks, both
    // forms where the form is the mover's choice, drops in promoted form), not the capture of
    // the king itself. None when the other king is not on the board.
    int 王手生成(手符号* 出力, int 上限);
    // The moves of the side to move after which its own king cannot be taken at once: when it
    // is attacked, king moves, then captures of an attacker and moves onto the squares in
    // between, then drops there; otherwise every move that leaves the king safe. None without
    // a king. With `足りる数` above 0 it may stop once it has found as many.
    int 王手回避生成(手符号* 出力, int 上限, int 足りる数 = 0);

    // True when side `側` (+1 upper, -1 lower) has a piece that may move onto square `桝`.
    bool 利いている(int 側, int 桝) const;
    // True when side `側` could take the other side's king now.
    bool 王を取れる(int 側) const {
        const int 王 = 王桝[側 > 0 ? 0 : 1];
        return 王 != 0 && 利いている(側, 王);
    }
    // True when `m` is a move the side to move may make here (for moves out of the table).
    bool 指せる手(手符号 m);

    void 指す(手符号 m, 復元情報& 復元);
    void 戻す(手符号 m, const 復元情報& 復元);
    // Passes the move to the other side (for the null-move test).
    void 手番交代();

    // The code standing on a square x*10+y.
    int 駒(int 桝) const { return 局.盤面[桝 / 10][桝 % 10]; }
    // The code that moves with `m`: the piece on its origin, or the drop code.
    int 動く駒(手符号 m) const;

    局面 局;
    std::uint64_t 鍵 = 0;
    int 手番 = 1;     // +1: the upper side (positive codes) to move; -1: the lower side
    int 駒得 = 0;     // material and placement, upper side's view
    int 王桝[2]{};    // king squares x*10+y: [0] lower side, [1] upper side
    両側の範囲 範囲;  // the moves each side may make, as 設定 was given them

  private:
    // True when the side to move may keep a piece's form where it could change.
    bool 形を残せる() const { return 範囲.側(手番 > 0) == 手の範囲::全て; }
    void 二歩列更新(int x);
    // Keep those of the moves 出力[from..n) of the side to move after which it could take the
    // other king (王手で選ぶ; `既に`: it could already), or after which its own king cannot be
    // taken (安全で選ぶ); return the new count.
    int 王手で選ぶ(手符号* 出力, int from, int n, bool 既に);
    int 安全で選ぶ(手符号* 出力, int from, int n);
    // Adds the move of `c` from `元` to `先` in each form the mover may leave there.
    void 形を選んで加える(int 元, int 先, int c, 手符号* 出力, int& n, int 上限);
    void 盤手生成(int 桝, int c, 手符号* 出力, int& n, int 上限, bool 取りのみ);
    const 駒得表& 表_;
};

// The key 探索盤::設定 gives `局` with the upper side (COM側) or the lower side to move: for
// telling positions of the game seen before.
std::uint64_t 局面の鍵(const 局面& 局, bool COM側);
// The same with the sides held to a person's moves: the key a position is learnt by under that
// choice (局面の鍵 itself when no side is held).
std::uint64_t 局面の鍵(const 局面& 局, bool COM側, 両側の範囲 範囲);
// What 範囲 adds to a position's key.
inline std::uint64_t 範囲の鍵(両側の範囲 範囲) {
    return 局面鍵.範囲[範囲.番号()];
}

// How many king steps (x, y) is from the square 桝 (x*10+y).
constexpr int 桝からの距離(int 桝, int x, int y) {
    const int dx = x > 桝 / 10 ? x - 桝 / 10 : 桝 / 10 - x;
    const int dy = y > 桝 % 10 ? y - 桝 % 10 : 桝 % 10 - y;
    return dx > dy ? dx : dy;
}

// Index 0 for the lower side (-1), 1 for the upper side (+1).
constexpr int 側番号(int 側) {
    return 側 > 0 ? 1 : 0;
}

}  // namespace kiryuza
