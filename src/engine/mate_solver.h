// The mate solver: depth-first proof-number search (df-pn) over the attacker's checks (moves
// after which it could take the king next) and every defence (moves after which the king cannot
// be taken at once). The defender is mated when it has no defence; an attacker who can take
// the king at once has won. Plain C++; every table is made with the solver and a search
// allocates nothing.
//
// Each node of the search is a position with the plies left to mate in, so that a position met
// again further down a line is another node with fewer plies: the graph has no cycles, and what
// the table holds for a node does not depend on the path to it. Proofs (a mate in L plies) and
// disproofs (no mate within D plies, or none at all) are shared between the depths they hold
// for. Once a mate is found, the search looks for a shorter one until there is none, then makes
// the line: at each defender ply the defence that lasts longest.
//
// Use: make one 詰み探索 and keep it (its table takes some megabytes); 初期化() forgets what it
// learnt. 探す(position, attacker, settings) copies the position and returns after the mate is
// settled, the node or time limit is reached or 停止() is called, from this or any other thread.
// Each search clears an earlier stop request when it starts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/engine.h"
#include "rules/person_moves.h"

namespace kiryuza {

// The longest mate the solver looks for, in plies.
inline constexpr int 詰み手順最大長 = 63;

struct 詰み設定 {
    int 時間ms = 0;              // 0 or less: no limit
    std::uint64_t 節点上限 = 0;  // 0: no limit
    int 最大手数 = 31;  // the longest mate looked for, in plies (1 to 詰み手順最大長)
    // The moves each side may make: a side held to a person's moves checks and defends only
    // with the change of form taken wherever it is possible.
    両側の範囲 範囲;
};

enum class 詰み判定 {
    詰み,  // the attacker mates whatever the defender does
    不詰,  // no mate within 最大手数 plies
    不明,  // a limit or a stop request came first
};

struct 詰み結果 {
    詰み判定 判定 = 詰み判定::不明;
    // Plies of the mate: up to and including the attacker's last move, after which the defender
    // has no defence (or the move that takes the king, when the attacker can take it at once).
    int 手数 = 0;
    // The mating line, in the encoding of 最善手 (a drop comes from origin column -1 for the
    // upper side, 11 for the lower side). It has 手順長 moves: 手数 unless a limit cut the
    // search before the line was made.
    最善手 手順[詰み手順最大長];
    int 手順長 = 0;
    // True when 手数 is the shortest mate and each defence of the line the longest; false when
    // a limit came between the first mate found and that proof.
    bool 最短 = false;
    std::uint64_t 節点数 = 0;
    double 秒 = 0;
};

class 詰み探索 {
  public:
    // `表MB`: size of the transposition table in megabytes.
    explicit 詰み探索(std::size_t 表MB = 16);
    ~詰み探索();
    詰み探索(const 詰み探索&) = delete;
    詰み探索& operator=(const 詰み探索&) = delete;

    // Looks for a mate of the lower side's king by the upper side (COM側) or the reverse, the
    // attacker to move.
    詰み結果 探す(const 局面& 局, bool COM側, const 詰み設定& 設定 = {});

    // Ends the running search at its next node.
    void 停止() noexcept;

    // Forgets every position learnt.
    void 初期化();

  private:
    struct 内部;
    std::unique_ptr<内部> 内_;
};

}  // namespace kiryuza
