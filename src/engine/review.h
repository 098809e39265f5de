// The review of a game: every position of its history evaluated by the searching player, and each
// move after which the evaluation fell too far for the side that made it marked 悪手 (blunder) or
// 疑問手 (dubious), with the move the searching player preferred. The marking rule sees
// evaluations only, so it is tested without a search; the search comes in as a callable. Plain
// C++.
//
// Use from a window: 検討局面を作る for each entry 0..棋譜記録数, evaluate each (the service's
// answer through 評価にする, or 終局の評価 for a position whose king is already taken), then
// 講評をまとめる; or 印を決める on two evaluations as they arrive. From a tool: 棋譜を講評する.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "engine/deep_search.h"
#include "rules/history.h"

namespace kiryuza {

// --- The scale ---

// The score, in hundredths of a pawn, at which a side's winning chance is 1 / (1 + e^-1), 73%.
inline constexpr int 勝率尺度 = 600;

// A side's chance of winning, 0..1, from its score: a logistic curve, so that a won position stays
// readable in a graph (another thousand points on a large lead barely move it) and a fall is
// weighed by what it costs. Mate scores (at or beyond 深読み勝ち境界) are exactly 1 and 0.
double 勝率(int 評価);

// True for a score that means a king is taken within the search, either side's.
constexpr bool 詰みの評価(int 評価) {
    return 評価 >= 深読み勝ち境界 || 評価 <= -深読み勝ち境界;
}

// For a mate score: the ply on which the king is taken, counted from the position (1: the side to
// move takes it at once). Positive when the side the score is for takes it, negative when it loses
// its own.
int 詰みまでの手数(int 評価);

// --- The evaluation of one position ---

struct 局面評価 {
    bool 済み = false;  // evaluated; a move next to a position not evaluated is not marked
    int 手番評価 = 0;   // for the side to move, in hundredths of a pawn (mate scores as searched)
    int MAN評価 = 0;    // the same for the lower side: positive above the graph's middle line
    bool 詰み = false;  // 詰みの評価(手番評価)
    bool 終局 = false;  // a king was already taken: nothing was searched
    最善手 最善;        // the searching player's move; 有り is false when there is none
    int 深さ = 0;       // the deepest iteration the search completed
};

// The evaluation of a position with the upper side (COM側) or the lower side to move, from the
// searching player's answer. A side with no move has lost.
局面評価 評価にする(const 深読み結果& 結果, bool COM側);

// --- Sides and positions of a history ---

// The side to move at entry n: the side of entry 0 (the lower side in a game between two people
// or when the human moved first; the upper side when 先手COM), then alternating.
constexpr bool 手番はCOMか(int n, bool 先手COM) {
    return (n % 2 == 1) != 先手COM;
}

// True when the upper side made move 1 of the history (the side whose piece moved from entry 0 to
// entry 1); false when there is no move 1.
bool 初手はCOMか(const 棋譜表& 棋譜);

// One position of the history as the searching player is handed it.
struct 検討局面 {
    int 番号 = 0;        // the history entry
    局面 局;             // its board and hands, derived fields tidy
    bool COM側 = false;  // the side to move
    bool 終局 = false;   // a king is missing: the game ended with the move before
    std::vector<std::uint64_t>
        既出鍵;  // 局面の鍵 of entries 0..n-1: a position seen again is a draw
};

// Entry n (0..棋譜記録数) of the history, the side to move as 手番はCOMか gives it.
検討局面 検討局面を作る(const 棋譜表& 棋譜, int n, bool 先手COM);

// The evaluation of a position whose game is over (対象.終局): the side without its king lost.
局面評価 終局の評価(const 検討局面& 対象);

// The searching player's evaluation of one position (終局の評価 when the game is over there), with
// the game's earlier positions as its 既出鍵. Allocates nothing during the search itself.
局面評価 深読みで評価する(深読みエンジン& エンジン, const 検討局面& 対象, 深読み設定 設定);

// --- The marking rule ---

enum class 手の印 { なし, 疑問手, 悪手 };

// Falls in winning chance (勝率 before the move less 勝率 after it, for the side that moved) from
// which a move is marked.
inline constexpr double 疑問手の落差 = 0.12;
inline constexpr double 悪手の落差 = 0.25;

// The mark of a move from the evaluation before it (the best the searching player found for the
// side to move) and after it, both from the view of the side that made the move.
手の印 印を決める(int 前, int 後);

// --- A whole game ---

struct 手の講評 {
    int 番号 = 0;             // move n leads from entry n - 1 to entry n
    bool COM側 = false;       // made by the upper side
    bool 先手 = true;         // made by the side that moved first (▲), else △
    int 前評価 = 0;           // before the move, for its side: the preferred move's evaluation
    int 後評価 = 0;           // after it, for the same side
    double 落差 = 0;          // 勝率(前評価) - 勝率(後評価)
    bool 最善どおり = false;  // the move played is the preferred one: never marked
    手の印 印 = 手の印::なし;
    最善手 最善;  // the preferred move (entry n - 1's); 有り is false when not evaluated
};

struct 講評集計 {
    int 悪手 = 0;
    int 疑問手 = 0;
};

struct 講評 {
    std::vector<局面評価> 局面;  // entries 0..N
    std::vector<手の講評> 手;    // moves 1..N: 手[i] is move i + 1
    講評集計 先手;               // ▲, the side that moved first
    講評集計 後手;               // △
};

// The review from the evaluations of entries 0..棋譜記録数 (評価[n] for entry n; missing or not
// 済み ones leave their moves unmarked).
講評 講評をまとめる(const 棋譜表& 棋譜, bool 先手COM, std::vector<局面評価> 評価);

// Evaluates one position. With 並列数 above 1 it is called from that many threads at once, each
// call with the index (0..並列数 - 1) of the thread, which makes no other call meanwhile: one
// searching player per index.
using 局面を評価する = std::function<局面評価(const 検討局面& 対象, int 作業者)>;

// Evaluates every entry of the history (a position whose game is over without a call) and
// reviews the game.
講評 棋譜を講評する(const 棋譜表& 棋譜, bool 先手COM, const 局面を評価する& 評価する,
                    int 並列数 = 1);

}  // namespace kiryuza
