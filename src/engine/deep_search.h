// The searching player (level 4): iterative deepening alpha-beta over the rules' moves, for
// either side, on a time budget. Every table is allocated when the player is made; a search
// allocates nothing. Plain C++.
//
// Use: make one 深読みエンジン and keep it (its tables take some megabytes; each thread has
// its own board and move lists, all share the transposition table); call 初期化() when a new
// game starts. For each move call 探索(position, side, settings, observer). It copies the
// position first, so the caller's board may be redrawn while it thinks, and it returns after
// the settings' time (one second by default), or sooner once the outcome is settled (one move
// only, a sure win, or every line searched to its end). The observer is called every 4096 nodes, on
// the searching thread; from there, or from any other thread, 停止() ends the search within a few
// thousand nodes. Each search clears an earlier stop request when it starts. The result's move is
// legal whenever the side has a move at all, in the encoding of 最善手 (a drop comes from origin
// column -1 for the upper side, 11 for the lower side), ready for 手順保存 and 駒移動.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include "engine/engine.h"
#include "rules/person_moves.h"

namespace kiryuza {

struct 深読み設定 {
    int 時間ms = 1000;           // thinking time; 0 or less: no limit (the search then ends at its
                                 // depth or node limit, at the deepest iteration, or when stopped)
    int 深さ上限 = 0;            // depth of the last iteration; 0: as deep as time allows
    std::uint64_t 節点上限 = 0;  // nodes; 0: no limit
    int 候補数 = 1;              // best lines searched and reported (1 to 読み筋最大数)
    // Variety: with a seed other than 0, the move played is drawn (from the seed and the
    // position) among the root moves that score within 揺らぎ幅 of the best, so that games
    // differ; the same seed gives the same choices. Only while the game is even (the best
    // scores within 揺らぎ上限 of 0): a side that stands better keeps to its best move, or it
    // would wander among moves that all keep its lead and never win.
    std::uint64_t 揺らぎ種 = 0;
    int 揺らぎ幅 = 20;     // hundredths of a pawn
    int 揺らぎ上限 = 150;  // hundredths of a pawn
    // The keys (局面の鍵) of the positions the game went through before this one: a position
    // reached again, here or on a line of the search, scores as a draw, since play that goes
    // round in circles ends at the move limit. The keys must outlive the search.
    const std::uint64_t* 既出鍵 = nullptr;
    int 既出鍵数 = 0;
    // The mate solver first, on a slice of the budget: a forced mate it finds (up to 15 plies)
    // is played at once. Only in the selective search and for one line.
    bool 詰み探索使用 = true;
    bool 置換表使用 = true;
    // From depth 5 on, the first line is searched in a window of this half-width around the
    // last iteration's score, widened on the side it fails; 0: a full window every time.
    int 窓幅 = 50;
    // Selective search: null move, late-move reductions, futility pruning, check extensions.
    // Off, the search is plain alpha-beta to a fixed depth, whose result does not depend on the
    // order in which the moves are tried.
    bool 選択的 = true;
    // The moves each side may make. A side whose moves a person enters is held to a person's
    // (the change of form always taken): the search, its lines and its mate solvers never
    // give that side a move that declines the change, whether it moves at the root or replies.
    両側の範囲 範囲;
};

// Where the search stands, for the observer.
struct 深読み経過 {
    std::uint64_t 節点数 = 0;
    int 深さ = 0;   // the iteration being searched
    double 秒 = 0;  // seconds since the search began
    最善手 暫定手;  // the move that would be played if the search stopped now
};

// The most lines one search reports, and the most moves of a line.
inline constexpr int 読み筋最大数 = 8;
inline constexpr int 読み筋最大長 = 64;

// One line of play the search expects, as found by an iteration.
struct 深読み読み筋 {
    int 番号 = 1;      // 1 for the best line, 2 for the next best, ...
    int 深さ = 0;      // the iteration
    int 選択深さ = 0;  // the deepest ply any line of the iteration reached
    int 評価 = 0;      // for the side that moves, as 深読み結果::評価
    std::uint64_t 節点数 = 0;
    double 秒 = 0;
    int 手数 = 0;
    最善手 手[読み筋最大長];  // from the root position, each in the encoding of 最善手
};

class 深読み観察 {
  public:
    virtual ~深読み観察() = default;
    // Called every 4096 nodes.
    virtual void 経過(const 深読み経過& /*経過*/) {}
    // Called for each line when an iteration has ended (on the searching thread).
    virtual void 読み筋(const 深読み読み筋& /*筋*/) {}
};

struct 深読み結果 {
    最善手 手;     // 有り is false only when the side has no move at all
    int 評価 = 0;  // for the side that moves, in hundredths of a pawn
    int 深さ = 0;  // the deepest iteration completed
    std::uint64_t 節点数 = 0;
    double 秒 = 0;
};

// Scores at or beyond this size mean a king is taken within the search.
inline constexpr int 深読み勝ち = 30000;
inline constexpr int 深読み勝ち境界 = 深読み勝ち - 1000;

class 深読みエンジン {
  public:
    // `置換表MB`: size of the transposition table in megabytes (rounded down to a power of two).
    // `スレッド数`: threads that search each position together (lazy SMP: the caller's thread
    // and helpers that share the table), 1 for a search whose result depends on nothing but
    // its input.
    explicit 深読みエンジン(std::size_t 置換表MB = 16, int スレッド数 = 1);
    ~深読みエンジン();
    深読みエンジン(const 深読みエンジン&) = delete;
    深読みエンジン& operator=(const 深読みエンジン&) = delete;

    // Finds a move for the upper side (COM側) or the lower side of `局`.
    深読み結果 探索(const 局面& 局, bool COM側, const 深読み設定& 設定 = {},
                    深読み観察* 観察 = nullptr);

    // Ends the running search as soon as possible; it still returns its best move so far.
    void 停止() noexcept;

    // Forgets everything learnt (for a new game).
    void 初期化();

    // The threads of each search; changed only between searches.
    void スレッド数を決める(int n);
    int スレッド数() const;

    // The evaluation of `局` for the side to move, without search (for tests and tools).
    int 静的評価(const 局面& 局, bool COM側);

  private:
    struct 内部;
    std::unique_ptr<内部> 内_;
};

}  // namespace kiryuza
