// Iterative deepening negamax with alpha-beta (principal variation search), quiescence on
// captures, a transposition table, null-move pruning, late-move reductions, check extensions,
// and move ordering by the table's move, captures (most valuable victim, least valuable
// attacker), killers and history. The game ends when a king is taken, so a side that can take
// the other's king has won, and a side whose king is attacked must answer it.
#include "engine/deep_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/deep_board.h"
#include "engine/deep_eval.h"
#include "engine/deep_tt.h"
#include "engine/mate_solver.h"

namespace kiryuza {

namespace {

constexpr int 最大深さ = 100;         // plies from the root
constexpr std::size_t 詰み表MB = 8;   // the mate solver's table
constexpr int 根の詰み最大手数 = 15;  // the longest mate looked for at the root, in plies
constexpr std::uint64_t 根の詰み節点数 = 5'000;  // its budget when the search has no clock
constexpr int 引き分け嫌い = 40;  // what a position reached again costs the side searching
// A circle in which one side gave check with every move counts as that side's loss (short of a
// king taken), so that no side plays for a draw by checking for ever.
constexpr int 千日手の負け = 深読み勝ち境界 - 100;
// Near the leaves of the principal line: mates of up to 3 plies, 100 nodes a look.
constexpr int 葉の詰み深さ = 1;
constexpr int 葉の詰み最大手数 = 3;
constexpr std::uint64_t 葉の詰み節点数 = 100;
constexpr std::size_t 葉の詰み表MB = 1;
constexpr int 手上限 = 1500;  // moves of one position
constexpr int 無限 = 32000;
constexpr int 確認間隔 = 256;    // nodes between looks at the clock
constexpr int 観察間隔 = 4096;   // nodes between calls of the observer
constexpr int 見切り深さ = 3;    // standing scores far above β are taken up to this depth
constexpr int 見切り余裕 = 200;  // how far, per ply of depth
constexpr int 大差 = 1000;       // a game's lead beyond which they are not
constexpr int 窓の深さ = 5;      // the first iteration searched in a window
constexpr int 静止王手深さ = 4;  // plies of quiescence that still answer a check with every move
constexpr int 静止取り返し深さ = 3;  // plies of quiescence after which only recaptures are tried

// Order of the moves: the table's move, captures, killers, then quiet moves by history.
constexpr int 順_表手 = 4'000'000;
constexpr int 順_取り = 2'000'000;
constexpr int 順_キラー1 = 1'900'000;
constexpr int 順_キラー2 = 1'800'000;
constexpr int 順_弱い形 = -1'000'000;  // a move that gives up the promoted form
constexpr int 履歴上限 = 1'000'000;

using 時計 = std::chrono::steady_clock;

// Mate scores are stored relative to the position, not to the root.
int 表へ(int v, int ply) {
    if (v >= 深読み勝ち境界) return v + ply;
    if (v <= -深読み勝ち境界) return v - ply;
    return v;
}
int 表から(int v, int ply) {
    if (v >= 深読み勝ち境界) return v - ply;
    if (v <= -深読み勝ち境界) return v + ply;
    return v;
}

// True when the move leaves its piece in the weaker form though the stronger was allowed.
bool 弱い形(const 探索盤& 盤, 手符号 m) {
    return !打つ手(m) && 手の駒(m) != 盤.駒(手の元(m));
}

}  // namespace

// The search of one thread: its own board, move lists, killers, history and lines; the
// transposition table, the evaluation's tables and the stop request are shared by all.
struct 探索者 {
    探索者(置換表& t, const 深読み評価& e, std::atomic<bool>& 停止, const int (&減)[64][64])
        : 評価器(e),
          表(t),
          盤(e.表),
          手置場(最大深さ * 手上限),
          順置場(最大深さ * 手上限),
          停止要求(停止),
          減らす表(減) {}

    const 深読み評価& 評価器;
    置換表& 表;
    探索盤 盤;
    詰み探索 詰み{葉の詰み表MB};  // this thread's own, for short mates near the leaves
    std::vector<手符号> 手置場;
    std::vector<int> 順置場;
    手符号 キラー[最大深さ][2]{};
    int 履歴[2][打ち元 + 8][100]{};

    std::atomic<bool>& 停止要求;
    const int (&減らす表)[64][64];
    // The searchers of the same search, to sum their nodes (the main one only).
    const std::vector<std::unique_ptr<探索者>>* 仲間 = nullptr;
    bool 主 = false;  // the thread that keeps the clock, reports and decides
    bool 止まった = false;
    std::uint64_t 節点数 = 0;
    std::atomic<std::uint64_t> 公開節点数{0};
    std::uint64_t 他の節点数 = 0;
    std::uint64_t 節点上限 = 0;
    int 選択深さ = 0;
    // The principal variation of each ply: the line from there that raised α last.
    手符号 PV[最大深さ][最大深さ]{};
    int PV長[最大深さ]{};
    bool 置換表使用 = true;
    bool 選択的 = true;
    bool 大差局面 = false;  // the game is far from even: standing scores are not taken
    bool 期限あり = false;
    時計::time_point 開始;
    時計::time_point 期限;
    深読み観察* 観察 = nullptr;
    const 局面* 根局面 = nullptr;
    bool 根COM側 = true;
    int 現深さ = 0;
    手符号 暫定手 = 手なし;
    // What its deepest completed iteration found.
    int 完了深さ = 0;
    手符号 完了手 = 手なし;
    int 完了値 = 0;
    // Variety: root moves found within 余裕 of the best in the iteration going on, and in the
    // last one completed (the main searcher only; 揺らぎ余裕 0 otherwise).
    int 揺らぎ余裕 = 0;
    static constexpr int 近い手最大数 = 16;
    手符号 近い手[近い手最大数]{};
    int 近い数 = 0;
    手符号 完了近い手[近い手最大数]{};
    int 完了近い数 = 0;
    // The keys along the line being searched, and those of the game before the root (sorted,
    // with a one-word filter that turns most lookups away at once).
    std::uint64_t 経路鍵[最大深さ]{};
    bool 王手経路[最大深さ]{};  // whether the side to move stood in check, along the line
    const std::vector<std::uint64_t>* 既出 = nullptr;
    std::uint64_t 既出印 = 0;

    void 準備(const 局面& 局, bool COM側, const 深読み設定& 設定, 時計::time_point 始,
              bool 主として, 深読み観察* 見る);
    void 反復深化(int 最初の深さ, const 深読み設定& 設定);
    std::uint64_t 他の節点数を数える() const;
    void 数える();
    std::optional<int> 繰り返しの値(int ply) const;
    int 根読む(int d, int α, int β, 手符号* 根手, int n, 手符号& 今回, bool 最善);
    int 読む(int 深さ, int α, int β, int ply, bool 王手中, bool null可);
    int 静止(int α, int β, int ply, int q, bool 王手中, int 前先);
    void 順位付け(const 手符号* 手, int* 順, int n, int ply, 手符号 表手);
    手符号 選ぶ(手符号* 手, int* 順, int n, int i);
    void 良い静かな手(手符号 m, int 深さ, int ply);
    void 筋を記す(int ply, 手符号 m);
    void 読み筋を作る(const 手符号* 筋, int n, 深読み読み筋& 出力);
    最善手 変換(手符号 m) const;
    double 経過秒() const { return std::chrono::duration<double>(時計::now() - 開始).count(); }
};

// Counts a node; now and then looks at the clock, the stop request and the node limit, makes
// its count seen by the other threads and calls the observer. Once stopped, the nodes it is
// still called for (each returns at once) are not counted, so a node limit is never passed.
void 探索者::数える() {
    if (止まった) return;
    ++節点数;
    if (節点上限 != 0 && 節点数 + 他の節点数 >= 節点上限) 止まった = true;
    if (節点数 % 確認間隔 != 0) return;
    公開節点数.store(節点数, std::memory_order_relaxed);
    if (停止要求.load(std::memory_order_relaxed)) 止まった = true;
    if (!主) return;
    if (期限あり && 時計::now() >= 期限) 止まった = true;
    if (節点上限 != 0) 他の節点数 = 他の節点数を数える();
    if (観察 != nullptr && 節点数 % 観察間隔 == 0) {
        深読み経過 e;
        e.節点数 = 節点数 + 他の節点数を数える();
        e.深さ = 現深さ;
        e.秒 = 経過秒();
        e.暫定手 = 変換(暫定手);
        観察->経過(e);
        if (停止要求.load(std::memory_order_relaxed)) 止まった = true;
    }
}

// The move in the encoding of the rules, read against the root position.
最善手 探索者::変換(手符号 m) const {
    最善手 r;
    if (m == 手なし) return r;
    r.有り = true;
    r.先X = 手の先(m) / 10;
    r.先Y = 手の先(m) % 10;
    r.駒 = 手の駒(m);
    const int 元 = 手の元(m);
    if (元 >= 打ち元) {
        const int k = 元 - 打ち元;
        r.元X = 根COM側 ? 持駒列_COM : 持駒列_MAN;
        r.元Y = 根COM側 ? k : k + 2;
        r.元駒 = r.駒;
    } else {
        r.元X = 元 / 10;
        r.元Y = 元 % 10;
        r.元駒 = 根局面->盤面[r.元X][r.元Y];
    }
    return r;
}

void 探索者::順位付け(const 手符号* 手, int* 順, int n, int ply, 手符号 表手) {
    const int 側 = 側番号(盤.手番);
    for (int i = 0; i < n; ++i) {
        const 手符号 m = 手[i];
        int s;
        const int 取 = 打つ手(m) ? 空桝 : 盤.駒(手の先(m));
        if (m == 表手) {
            s = 順_表手;
        } else if (取 != 空桝) {
            const int 攻 = 盤.動く駒(m);
            s = 順_取り + 評価器.取り得(取) * 8 - (攻 < 0 ? -攻 : 攻) / 8;
        } else if (m == キラー[ply][0]) {
            s = 順_キラー1;
        } else if (m == キラー[ply][1]) {
            s = 順_キラー2;
        } else {
            s = 履歴[側][手の元(m)][手の先(m)];
        }
        if (弱い形(盤, m)) s += 順_弱い形;
        順[i] = s;
    }
}

// Brings the best-ordered of moves i..n-1 to place i: by picking for the first few, which
// often end the search of a position, then by sorting the rest once.
手符号 探索者::選ぶ(手符号* 手, int* 順, int n, int i) {
    constexpr int 拾う数 = 6;
    if (i < 拾う数) {
        int b = i;
        for (int j = i + 1; j < n; ++j)
            if (順[j] > 順[b]) b = j;
        std::swap(手[i], 手[b]);
        std::swap(順[i], 順[b]);
    } else if (i == 拾う数) {
        // Insertion sort by order score, highest first.
        for (int j = i + 1; j < n; ++j) {
            const 手符号 m = 手[j];
            const int s = 順[j];
            int k = j;
            for (; k > i && 順[k - 1] < s; --k) {
                手[k] = 手[k - 1];
                順[k] = 順[k - 1];
            }
            手[k] = m;
            順[k] = s;
        }
    }
    return 手[i];
}

// A quiet move that refuted a position: remembered as a killer and in the history.
void 探索者::良い静かな手(手符号 m, int 深さ, int ply) {
    if (キラー[ply][0] != m) {
        キラー[ply][1] = キラー[ply][0];
        キラー[ply][0] = m;
    }
    int& h = 履歴[側番号(盤.手番)][手の元(m)][手の先(m)];
    h += 深さ * 深さ;
    if (h > 履歴上限) {
        for (auto& 側 : 履歴)
            for (auto& 元 : 側)
                for (int& v : 元) v /= 2;
    }
}

// What the position at `ply` is worth to the side to move when it stood before, on the line
// from the root (four plies back at least, the same side to move) or earlier in the game: a
// draw, except that a side that gave check with every move of a circle on the line is taken to
// lose by it. Nothing when it is new.
std::optional<int> 探索者::繰り返しの値(int ply) const {
    const std::uint64_t 鍵 = 盤.鍵;
    const int 引き分け = ply % 2 == 0 ? -引き分け嫌い : 引き分け嫌い;
    for (int p = ply - 4; p >= 0; p -= 2) {
        if (経路鍵[p] != 鍵) continue;
        // Who gave check with every move of the circle: the side to move here made its moves
        // from plies p, p + 2, ... (the other side stood in check after each of them), the
        // other side from p + 1, p + 3, ... (this side stood in check after each).
        bool 自分が王手し続けた = true;
        bool 相手が王手し続けた = true;
        for (int q = p + 1; q <= ply; ++q)
            (q % 2 == p % 2 ? 相手が王手し続けた : 自分が王手し続けた) &= 王手経路[q];
        if (自分が王手し続けた && !相手が王手し続けた) return -千日手の負け;
        if (相手が王手し続けた && !自分が王手し続けた) return 千日手の負け;
        return 引き分け;
    }
    if (既出 == nullptr || (既出印 & (std::uint64_t{1} << (鍵 & 63))) == 0) return std::nullopt;
    if (std::binary_search(既出->begin(), 既出->end(), 鍵)) return 引き分け;
    return std::nullopt;
}

// Move m raised α at ply: the line from there is m, then the line of the ply after it.
void 探索者::筋を記す(int ply, 手符号 m) {
    PV[ply][0] = m;
    const int n = std::min(PV長[ply + 1], 最大深さ - ply - 1);
    std::copy_n(PV[ply + 1], n, PV[ply] + 1);
    PV長[ply] = n + 1;
}

// A line from the root in the rules' encoding, played out on the board and taken back again;
// it ends early at a move the position does not allow.
void 探索者::読み筋を作る(const 手符号* 筋, int n, 深読み読み筋& 出力) {
    復元情報 r[読み筋最大長];
    int k = 0;
    for (; k < std::min(n, 読み筋最大長) && 盤.指せる手(筋[k]); ++k) {
        const 手符号 m = 筋[k];
        最善手& w = 出力.手[k];
        w = 最善手{};
        w.有り = true;
        w.先X = 手の先(m) / 10;
        w.先Y = 手の先(m) % 10;
        w.駒 = 手の駒(m);
        if (打つ手(m)) {
            const int 種 = 手の元(m) - 打ち元;
            w.元X = 盤.手番 > 0 ? 持駒列_COM : 持駒列_MAN;
            w.元Y = 盤.手番 > 0 ? 種 : 種 + 2;
            w.元駒 = w.駒;
        } else {
            w.元X = 手の元(m) / 10;
            w.元Y = 手の元(m) % 10;
            w.元駒 = 盤.駒(手の元(m));
        }
        盤.指す(m, r[k]);
    }
    出力.手数 = k;
    while (k-- > 0) 盤.戻す(筋[k], r[k]);
}

// One iteration over the root moves within (α, β). Returns the best score, a bound when it
// falls outside the window; a move that raised α is left in `今回` and first in the list.
int 探索者::根読む(int d, int α, int β, 手符号* 根手, int n, 手符号& 今回, bool 最善) {
    int 最良 = -無限;
    PV長[0] = 0;
    if (最善) 近い数 = 0;
    for (int i = 0; i < n; ++i) {
        const 手符号 m = 根手[i];
        復元情報 r;
        盤.指す(m, r);
        const bool 王手 = 盤.王を取れる(-盤.手番);
        int v;
        if (i == 0) {
            v = -読む(d - 1, -β, -α, 1, 王手, true);
        } else {
            // With variety, a first look against a bound lowered by the margin tells the
            // moves that come near the best.
            const bool 揺らす = 最善 && 揺らぎ余裕 > 0 && α > -深読み勝ち境界 && α < 深読み勝ち境界;
            const int 下 = 揺らす ? α - 揺らぎ余裕 : α;
            v = -読む(d - 1, -下 - 1, -下, 1, 王手, true);
            if (揺らす && v > 下 && !止まった) {
                if (近い数 < 近い手最大数) 近い手[近い数++] = m;
                if (v > α) v = -読む(d - 1, -α - 1, -α, 1, 王手, true);
            }
            if (v > α && v < β && !止まった) v = -読む(d - 1, -β, -α, 1, 王手, true);
        }
        盤.戻す(m, r);
        if (止まった) break;
        最良 = std::max(最良, v);
        if (v > α) {
            // The moves near the old best are judged again against the new one: only the old
            // best itself is kept, when it is near enough.
            if (最善 && i > 0 && 揺らぎ余裕 > 0) {
                const bool 旧も近い = v - α <= 揺らぎ余裕;
                近い数 = 0;
                if (旧も近い) 近い手[近い数++] = 根手[0];
            }
            α = v;
            今回 = m;
            // The new best goes first, the others keep their order.
            std::rotate(根手, 根手 + i, 根手 + i + 1);
            筋を記す(0, m);
            if (最善) 暫定手 = m;
            if (v >= β) break;
        }
    }
    return 最良;
}

int 探索者::読む(int 深さ, int α, int β, int ply, bool 王手中, bool null可) {
    数える();
    PV長[ply] = 0;
    選択深さ = std::max(選択深さ, ply);
    if (止まった) return 0;
    if (盤.王を取れる(盤.手番)) return 深読み勝ち - ply;
    if (ply >= 最大深さ - 1) return 評価器.評価(盤);
    経路鍵[ply] = 盤.鍵;
    王手経路[ply] = 王手中;
    // Going round in circles is a draw that the side searching would rather not have: it keeps
    // looking for progress while the game is even, and only a side that stands clearly worse
    // steers for it; checking for ever is no way out.
    if (const auto 値 = 繰り返しの値(ply)) return *値;
    if (選択的 && 王手中 && ply < 2 * 現深さ) ++深さ;
    if (深さ <= 0) return 静止(α, β, ply, 0, 王手中, 0);

    // No score can beat a king taken sooner.
    α = std::max(α, -深読み勝ち + ply);
    β = std::min(β, 深読み勝ち - ply - 1);
    if (α >= β) return α;
    const bool pv = β - α > 1;

    // Near the leaves of the line the search expects, the mate solver looks a little beyond
    // the horizon: a short forced mate there is a win the plain search would not see.
    if (pv && 選択的 && !王手中 && 深さ <= 葉の詰み深さ && ply > 0) {
        詰み設定 条件;
        条件.最大手数 = 葉の詰み最大手数;
        条件.節点上限 = 葉の詰み節点数;
        条件.範囲 = 盤.範囲;
        const 詰み結果 r = 詰み.探す(盤.局, 盤.手番 > 0, 条件);
        if (r.判定 == 詰み判定::詰み) return 深読み勝ち - (ply + r.手数 + 1);
    }

    手符号 表手 = 手なし;
    if (置換表使用) {
        if (置換項 e; 表.引く(盤.鍵, e)) {
            表手 = e.手;
            if (!pv && e.深さ >= 深さ) {
                const int v = 表から(e.値, ply);
                if (e.種別 == 値種別::正確 || (e.種別 == 値種別::下限 && v >= β) ||
                    (e.種別 == 値種別::上限 && v <= α))
                    return v;
            }
            if (表手 != 手なし && !盤.指せる手(表手)) 表手 = 手なし;
        }
    }

    const int 静的 = 王手中 ? -無限 : 評価器.評価(盤);
    // Off the expected line and out of check, the selective search may cut.
    const bool 刈れる = 選択的 && !pv && !王手中;

    // Near the leaves, a standing score far above β will hold. Not in a game one side leads
    // by far: there the side ahead must look for the way in, not stand on its lead.
    if (刈れる && !大差局面 && 深さ <= 見切り深さ && 静的 - 見切り余裕 * 深さ >= β) return 静的;

    // Null move: if passing still holds β, a real move will too.
    if (刈れる && null可 && 深さ >= 3 && β < 深読み勝ち境界 && β > -深読み勝ち境界 && 静的 >= β) {
        const int R = 深さ >= 7 ? 3 : 2;
        盤.手番交代();
        const int v = -読む(深さ - 1 - R, -β, -β + 1, ply + 1, false, false);
        盤.手番交代();
        if (止まった) return 0;
        if (v >= β) return v >= 深読み勝ち境界 ? β : v;
    }

    // Near the leaves, a quiet move that gives no check cannot lift a score far below α.
    const int 余裕 = 深さ <= 2 ? 250 * 深さ : 0;
    const bool 見込みなし = 刈れる && 深さ <= 2 && α > -深読み勝ち境界 && 静的 + 余裕 <= α;
    // Near the leaves, only the first quiet moves in order are worth a look.
    const int 静か上限 = (刈れる && 深さ <= 3) ? 6 + 4 * 深さ * 深さ : 1 << 30;

    const int 元α = α;
    int 最良 = -無限;
    手符号 最良手 = 手なし;
    int 試行 = 0;
    int 静か数 = 0;
    // Searches one move; true when the position needs no more moves tried.
    auto 試す = [&](手符号 m) {
        const bool 取り = !打つ手(m) && 盤.駒(手の先(m)) != 空桝;
        const bool 静か = !取り && m != 表手 && m != キラー[ply][0] && m != キラー[ply][1];
        if (静か && 静か数 >= 静か上限) return false;
        復元情報 r;
        盤.指す(m, r);
        const bool 王手 = 盤.王を取れる(-盤.手番);
        if (見込みなし && !取り && !王手 && 試行 > 0) {
            盤.戻す(m, r);
            最良 = std::max(最良, 静的 + 余裕);
            return false;
        }
        if (静か && !王手) ++静か数;
        int v;
        if (試行 == 0) {
            v = -読む(深さ - 1, -β, -α, ply + 1, 王手, true);
        } else {
            int 減 = 0;
            if (選択的 && 深さ >= 3 && 試行 >= 3 && 静か && !王手 && !王手中) {
                減 = 減らす表[std::min(深さ, 63)][std::min(試行, 63)];
                if (pv) --減;
                減 = std::clamp(減, 0, 深さ - 2);
            }
            v = -読む(深さ - 1 - 減, -α - 1, -α, ply + 1, 王手, true);
            if (v > α && 減 > 0) v = -読む(深さ - 1, -α - 1, -α, ply + 1, 王手, true);
            if (v > α && v < β) v = -読む(深さ - 1, -β, -α, ply + 1, 王手, true);
        }
        盤.戻す(m, r);
        ++試行;
        if (止まった) return true;
        if (v > 最良) {
            最良 = v;
            最良手 = m;
            if (v > α) {
                α = v;
                if (v >= β) {
                    if (!取り) 良い静かな手(m, 深さ, ply);
                    return true;
                }
                筋を記す(ply, m);
            }
        }
        return false;
    };

    // The table's move first, before the others are even listed.
    bool 終わり = 表手 != 手なし && 試す(表手);
    if (!終わり) {
        手符号* 手 = &手置場[static_cast<std::size_t>(ply) * 手上限];
        int* 順 = &順置場[static_cast<std::size_t>(ply) * 手上限];
        const int n = 盤.全手生成(手, 手上限, true);
        if (n == 0) return -深読み勝ち + ply;  // a side that cannot move has lost
        順位付け(手, 順, n, ply, 表手);
        for (int i = 0; i < n && !終わり; ++i) {
            const 手符号 m = 選ぶ(手, 順, n, i);
            if (m != 表手) 終わり = 試す(m);
        }
    }
    if (止まった) return 0;

    if (置換表使用) {
        const 値種別 種別 = 最良 >= β ? 値種別::下限 : 最良 > 元α ? 値種別::正確 : 値種別::上限;
        表.書く(盤.鍵, 最良手, 表へ(最良, ply), 深さ, 種別);
    }
    return 最良;
}

// Captures only, from a standing score; a side in check answers with every move for a few
// plies, since standing still would lose its king. Deeper in, only recaptures on the square
// just taken on are tried, and never a capture that puts a piece worth more than its victim
// where it will be taken back.
int 探索者::静止(int α, int β, int ply, int q, bool 王手中, int 前先) {
    数える();
    PV長[ply] = 0;
    選択深さ = std::max(選択深さ, ply);
    if (止まった) return 0;
    if (盤.王を取れる(盤.手番)) return 深読み勝ち - ply;
    if (ply >= 最大深さ - 1) return 評価器.評価(盤);

    手符号* 手 = &手置場[static_cast<std::size_t>(ply) * 手上限];
    int* 順 = &順置場[static_cast<std::size_t>(ply) * 手上限];
    int 最良;
    int n;
    const bool 全手 = 王手中 && q < 静止王手深さ;
    if (全手) {
        n = 盤.全手生成(手, 手上限, true);
        if (n == 0) return -深読み勝ち + ply;
        最良 = -無限;
    } else {
        最良 = 評価器.評価(盤);
        if (最良 >= β) return 最良;
        if (最良 > α) α = 最良;
        n = 盤.取る手生成(手, 手上限);
    }
    順位付け(手, 順, n, ply, 手なし);

    for (int i = 0; i < n; ++i) {
        const 手符号 m = 選ぶ(手, 順, n, i);
        if (!全手) {
            const int 先 = 手の先(m);
            if (q >= 静止取り返し深さ && 先 != 前先) continue;
            const int 取得 = 評価器.取り得(盤.駒(先));
            if (選択的 && 最良 + 取得 + 200 <= α) continue;  // cannot reach α
            if (評価器.取り得(盤.動く駒(m)) > 取得 && 盤.利いている(-盤.手番, 先)) continue;
        }
        復元情報 r;
        盤.指す(m, r);
        const bool 王手 = 盤.王を取れる(-盤.手番);
        const int v = -静止(-β, -α, ply + 1, q + 1, 王手, 手の先(m));
        盤.戻す(m, r);
        if (止まった) return 0;
        if (v > 最良) {
            最良 = v;
            if (v > α) {
                α = v;
                if (v >= β) break;
            }
        }
    }
    return 最良;
}

// Sets the searcher up for a new search of `局`.
void 探索者::準備(const 局面& 局, bool COM側, const 深読み設定& 設定, 時計::time_point 始,
                  bool 主として, 深読み観察* 見る) {
    開始 = 始;
    期限あり = 設定.時間ms > 0;
    期限 = 始 + std::chrono::milliseconds(設定.時間ms);
    止まった = false;
    節点数 = 0;
    公開節点数.store(0, std::memory_order_relaxed);
    他の節点数 = 0;
    節点上限 = 設定.節点上限;
    選択深さ = 0;
    置換表使用 = 設定.置換表使用;
    選択的 = 設定.選択的;
    主 = 主として;
    観察 = 見る;
    根局面 = &局;
    根COM側 = COM側;
    現深さ = 0;
    完了深さ = 0;
    完了手 = 手なし;
    完了値 = 0;
    既出印 = 0;
    if (既出 != nullptr)
        for (const std::uint64_t k : *既出) 既出印 |= std::uint64_t{1} << (k & 63);
    揺らぎ余裕 = 主として && 設定.揺らぎ種 != 0 ? std::max(設定.揺らぎ幅, 0) : 0;
    近い数 = 0;
    完了近い数 = 0;
    for (auto& k : キラー) k[0] = k[1] = 手なし;
    for (auto& 側 : 履歴)
        for (auto& 元 : 側)
            for (int& v : 元) v /= 8;
    盤.設定(局, COM側, 設定.範囲);
}

std::uint64_t 探索者::他の節点数を数える() const {
    std::uint64_t n = 0;
    if (仲間 != nullptr)
        for (const auto& p : *仲間)
            if (p.get() != this) n += p->公開節点数.load(std::memory_order_relaxed);
    return n;
}

// Iterative deepening from `最初の深さ` until the search stops, the depth limit is reached or
// the outcome is settled; the main searcher reports each iteration's lines.
void 探索者::反復深化(int 最初の深さ, const 深読み設定& 設定) {
    手符号* 根手 = &手置場[0];
    int* 順 = &順置場[0];
    const int n = 盤.全手生成(根手, 手上限, true);
    if (n == 0) return;
    手符号 表手 = 手なし;
    if (置換表使用)
        if (置換項 e; 表.引く(盤.鍵, e) && 盤.指せる手(e.手)) 表手 = e.手;
    順位付け(根手, 順, n, 0, 表手);
    for (int i = 0; i < n; ++i) 選ぶ(根手, 順, n, i);

    手符号 最良手 = 根手[0];
    int 最良値 = 0;
    暫定手 = 最良手;
    完了手 = 最良手;
    経路鍵[0] = 盤.鍵;
    王手経路[0] = 盤.王を取れる(-盤.手番);
    const int 上限 = 設定.深さ上限 > 0 ? std::min(設定.深さ上限, 最大深さ - 10) : 最大深さ - 10;
    // Line k is the best of the root moves after the first k: they end the iteration in order.
    const int 候補 = 主 ? std::clamp(設定.候補数, 1, std::min(読み筋最大数, n)) : 1;
    手符号 筋[読み筋最大数][最大深さ];
    int 筋長[読み筋最大数]{};
    int 筋値[読み筋最大数]{};
    // How far the game is from even: the root's standing score, then each iteration's answer.
    // A node's own standing score would not do: in the middle of an exchange it is far off.
    const auto 大差か = [](int v) { return v >= 大差 || v <= -大差; };
    大差局面 = 大差か(評価器.評価(盤));
    const int 始め = std::min(最初の深さ, 上限);
    for (int d = 始め; d <= 上限; ++d) {
        現深さ = d;
        if (d > 始め) 大差局面 = 大差か(最良値);
        int k = 0;
        for (; k < 候補; ++k) {
            // From depth 5 the first line is searched in a window around the last iteration's
            // score, widened on the side it fails; the other lines in a full window.
            int 幅 = 設定.窓幅;
            const bool 窓 = k == 0 && d >= 窓の深さ && 幅 > 0 && 最良値 > -深読み勝ち境界 &&
                            最良値 < 深読み勝ち境界;
            int 下 = 窓 ? 最良値 - 幅 : -無限;
            int 上 = 窓 ? 最良値 + 幅 : 無限;
            手符号 今回;
            int v;
            for (;;) {
                今回 = 手なし;
                v = 根読む(d, 下, 上, 根手 + k, n - k, 今回, k == 0);
                if (k == 0 && 今回 != 手なし) {
                    最良手 = 今回;
                    最良値 = v;
                }
                if (止まった || !窓 || (v > 下 && v < 上)) break;
                幅 *= 3;
                if (v <= 下)
                    下 = v - 幅 <= -深読み勝ち境界 ? -無限 : v - 幅;
                else
                    上 = v + 幅 >= 深読み勝ち境界 ? 無限 : v + 幅;
            }
            if (止まった) break;
            筋値[k] = v;
            筋長[k] = PV長[0];
            std::copy_n(PV[0], 筋長[k], 筋[k]);
        }
        // A later line can score above an earlier one, whose search judged that move against
        // a bound that pruning had left too low: the lines are put in order of their scores,
        // and the best of them is the move.
        if (k == 候補 && 候補 > 1) {
            for (int j = 1; j < 候補; ++j)
                for (int i = j; i > 0 && 筋値[i] > 筋値[i - 1]; --i) {
                    std::swap(根手[i], 根手[i - 1]);
                    std::swap(筋値[i], 筋値[i - 1]);
                    std::swap(筋長[i], 筋長[i - 1]);
                    std::swap(筋[i], 筋[i - 1]);
                }
            最良手 = 根手[0];
            最良値 = 筋値[0];
        }
        完了手 = 最良手;
        完了値 = 最良値;
        if (止まった) break;
        完了深さ = d;
        完了近い数 = 近い数;
        std::copy_n(近い手, 近い数, 完了近い手);
        if (置換表使用) 表.書く(盤.鍵, 最良手, 表へ(最良値, 0), d, 値種別::正確);
        if (観察 != nullptr) {
            深読み読み筋 報告;
            const std::uint64_t 全節点 = 節点数 + 他の節点数を数える();
            for (int j = 0; j < 候補; ++j) {
                報告.番号 = j + 1;
                報告.深さ = d;
                報告.選択深さ = 選択深さ;
                報告.評価 = 筋値[j];
                報告.節点数 = 全節点;
                報告.秒 = 経過秒();
                読み筋を作る(筋[j], 筋長[j], 報告);
                観察->読み筋(報告);
            }
        }
        if (n == 1 || 最良値 >= 深読み勝ち境界) break;
    }
}

// The searchers, the helpers' threads, and what they share.
struct 深読みエンジン::内部 {
    explicit 内部(std::size_t MB) : 表(MB) {
        for (int d = 1; d < 64; ++d)
            for (int i = 1; i < 64; ++i)
                減らす表[d][i] = static_cast<int>(0.5 + std::log(d) * std::log(i) / 2.0);
        探索者たち.push_back(std::make_unique<探索者>(表, 評価器, 停止要求, 減らす表));
    }
    ~内部() { 手伝いを止める(); }

    // The game's earlier positions of the search going on, sorted; room for a whole game is
    // made at the start, so a search allocates nothing.
    std::vector<std::uint64_t> 既出鍵 = std::vector<std::uint64_t>(棋譜最大数 + 1);

    // Starts helpers until there are `n` searchers in all; stops them all first.
    void 人数を決める(int n);
    void 手伝いを止める();
    void 手伝う(std::size_t i, std::uint64_t 済み);
    bool 詰みを探す(探索者& 主, 深読み観察* 観察, 深読み結果& 結果);

    深読み評価 評価器;
    置換表 表;
    詰み探索 詰み{詰み表MB};
    std::atomic<bool> 停止要求{false};
    int 減らす表[64][64]{};
    std::vector<std::unique_ptr<探索者>> 探索者たち;  // [0] runs on the caller's thread

    // The helpers wait for a job number they have not worked on, or the end.
    std::vector<std::thread> 手伝い;
    std::mutex 錠;
    std::condition_variable 起こす;
    std::condition_variable 戻った;
    std::uint64_t 仕事番号 = 0;
    int 働き中 = 0;
    bool 終了 = false;
    // The job.
    局面 根局面;
    bool 根COM側 = true;
    深読み設定 設定;
};

// Helper i's thread: waits for a job it has not worked on, searches it, and says so. It starts
// from the job number at its creation, so a job that ended before it is never taken up.
void 深読みエンジン::内部::手伝う(std::size_t i, std::uint64_t 済み) {
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(錠);
            起こす.wait(lock, [&] { return 終了 || 仕事番号 != 済み; });
            if (終了) return;
            済み = 仕事番号;
        }
        // Half the helpers start one iteration deeper, so the threads spread over depths.
        探索者たち[i]->反復深化(1 + static_cast<int>(i % 2), 設定);
        std::lock_guard<std::mutex> lock(錠);
        if (--働き中 == 0) 戻った.notify_all();
    }
}

void 深読みエンジン::内部::手伝いを止める() {
    {
        std::lock_guard<std::mutex> lock(錠);
        終了 = true;
    }
    起こす.notify_all();
    for (std::thread& t : 手伝い) t.join();
    手伝い.clear();
    終了 = false;
}

void 深読みエンジン::内部::人数を決める(int n) {
    n = std::max(n, 1);
    手伝いを止める();
    探索者たち.resize(1);
    for (int i = 1; i < n; ++i)
        探索者たち.push_back(std::make_unique<探索者>(表, 評価器, 停止要求, 減らす表));
    const std::uint64_t 今 = 仕事番号;
    for (std::size_t i = 1; i < 探索者たち.size(); ++i)
        手伝い.emplace_back([this, i, 今] { 手伝う(i, 今); });
}

// The mate solver on the root, on a slice of the budget: a forced mate it finds is the answer,
// with the mating line as the one line reported. False when there is none or no time for it.
bool 深読みエンジン::内部::詰みを探す(探索者& 主, 深読み観察* 観察, 深読み結果& 結果) {
    auto& I = *this;
    if (!設定.詰み探索使用 || !設定.選択的 || 設定.候補数 > 1) return false;
    詰み設定 条件;
    条件.最大手数 = 根の詰み最大手数;
    条件.範囲 = 設定.範囲;
    if (設定.時間ms > 0) {
        条件.時間ms = std::clamp(設定.時間ms / 8, 1, 200);
    } else {
        条件.節点上限 = 根の詰み節点数;
    }
    const 詰み結果 r = I.詰み.探す(I.根局面, I.根COM側, 条件);
    if (r.判定 != 詰み判定::詰み || r.手順長 == 0 || I.停止要求.load()) return false;
    // Scored as the search scores it: the side can take the king on the ply after the defence.
    const int 値 = 深読み勝ち - (r.手数 + 1);
    結果.手 = r.手順[0];
    結果.手.評価 = 値;
    結果.評価 = 値;
    結果.深さ = r.手数;
    結果.節点数 = r.節点数;
    結果.秒 = 主.経過秒();
    if (観察 != nullptr) {
        深読み読み筋 筋;
        筋.深さ = r.手数;
        筋.選択深さ = r.手数;
        筋.評価 = 値;
        筋.節点数 = r.節点数;
        筋.秒 = 結果.秒;
        筋.手数 = std::min(r.手順長, 読み筋最大長);
        std::copy_n(r.手順, 筋.手数, 筋.手);
        観察->読み筋(筋);
    }
    return true;
}

深読みエンジン::深読みエンジン(std::size_t 置換表MB, int スレッド数)
    : 内_(std::make_unique<内部>(置換表MB)) {
    if (スレッド数 > 1) 内_->人数を決める(スレッド数);
}

深読みエンジン::~深読みエンジン() = default;

void 深読みエンジン::停止() noexcept {
    内_->停止要求.store(true, std::memory_order_relaxed);
    内_->詰み.停止();
}

void 深読みエンジン::スレッド数を決める(int n) {
    if (n != スレッド数()) 内_->人数を決める(n);
}

int 深読みエンジン::スレッド数() const {
    return static_cast<int>(内_->探索者たち.size());
}

void 深読みエンジン::初期化() {
    auto& I = *内_;
    I.表.消去();
    I.詰み.初期化();
    for (auto& p : I.探索者たち)
        for (auto& 側 : p->履歴)
            for (auto& 元 : 側)
                for (int& v : 元) v = 0;
}

int 深読みエンジン::静的評価(const 局面& 局, bool COM側) {
    探索者& 主 = *内_->探索者たち[0];
    主.盤.設定(局, COM側);
    return 内_->評価器.評価(主.盤);
}

深読み結果 深読みエンジン::探索(const 局面& 局, bool COM側, const 深読み設定& 設定,
                                深読み観察* 観察) {
    auto& I = *内_;
    const auto 始 = 時計::now();
    I.停止要求.store(false, std::memory_order_relaxed);
    I.表.次の世代();
    I.根局面 = 局;
    I.根COM側 = COM側;
    I.設定 = 設定;
    // The most recent positions of the game, as many as a game can have, keyed as the board
    // keys them under the sides held to a person's moves.
    const int 既出数 = std::clamp(設定.既出鍵数, 0, 棋譜最大数 + 1);
    I.既出鍵.assign(設定.既出鍵 + (設定.既出鍵数 - 既出数), 設定.既出鍵 + 設定.既出鍵数);
    const std::uint64_t 範囲鍵 = 範囲の鍵(設定.範囲);
    for (std::uint64_t& k : I.既出鍵) k ^= 範囲鍵;
    std::sort(I.既出鍵.begin(), I.既出鍵.end());
    for (std::size_t i = 0; i < I.探索者たち.size(); ++i) {
        探索者& p = *I.探索者たち[i];
        p.既出 = &I.既出鍵;
        p.準備(I.根局面, COM側, 設定, 始, i == 0, i == 0 ? 観察 : nullptr);
        p.仲間 = &I.探索者たち;
    }
    探索者& 主 = *I.探索者たち[0];
    深読み結果 結果;
    手符号* 根手 = &主.手置場[0];
    const int n = 主.盤.全手生成(根手, 手上限, true);
    if (n == 0) return 結果;

    // Taking the king ends the game: nothing to think about.
    if (主.盤.王を取れる(主.盤.手番)) {
        const int 王 = 主.盤.王桝[側番号(-主.盤.手番)];
        for (int i = 0; i < n; ++i)
            if (!打つ手(根手[i]) && 手の先(根手[i]) == 王) {
                結果.手 = 主.変換(根手[i]);
                結果.評価 = 深読み勝ち;
                結果.手.評価 = 深読み勝ち;
                結果.秒 = 主.経過秒();
                return 結果;
            }
    }

    if (I.詰みを探す(主, 観察, 結果)) return 結果;

    // The helpers search the same position beside the main searcher, sharing the table.
    if (!I.手伝い.empty()) {
        std::lock_guard<std::mutex> lock(I.錠);
        ++I.仕事番号;
        I.働き中 = static_cast<int>(I.手伝い.size());
    }
    I.起こす.notify_all();
    主.反復深化(1, 設定);
    I.停止要求.store(true, std::memory_order_relaxed);
    {
        std::unique_lock<std::mutex> lock(I.錠);
        I.戻った.wait(lock, [&] { return I.働き中 == 0; });
    }

    // The main searcher's answer, unless a helper completed a deeper iteration.
    const 探索者* 決め手 = &主;
    std::uint64_t 全節点 = 0;
    int 選択深さ = 0;
    for (const auto& p : I.探索者たち) {
        全節点 += p->節点数;
        選択深さ = std::max(選択深さ, p->選択深さ);
        if (p->完了深さ > 決め手->完了深さ && p->完了手 != 手なし) 決め手 = p.get();
    }
    手符号 指す手 = 決め手->完了手;
    // Variety: a move drawn among the main searcher's best and those near it, unless a deeper
    // helper found a move outside them.
    if (主.完了近い数 > 0 && std::abs(主.完了値) <= 設定.揺らぎ上限) {
        const bool 内 = 指す手 == 主.完了手 ||
                        std::find(主.完了近い手, 主.完了近い手 + 主.完了近い数, 指す手) !=
                            主.完了近い手 + 主.完了近い数;
        if (内) {
            std::uint64_t h = (設定.揺らぎ種 ^ 主.盤.鍵) * 0x9E3779B97F4A7C15ull;
            h ^= h >> 31;
            const int i = static_cast<int>(h % static_cast<std::uint64_t>(主.完了近い数 + 1));
            指す手 = i == 0 ? 主.完了手 : 主.完了近い手[i - 1];
        }
    }
    結果.手 = 主.変換(指す手);
    結果.評価 = 決め手->完了値;
    結果.深さ = 決め手->完了深さ;
    結果.節点数 = 全節点;
    結果.秒 = 主.経過秒();
    結果.手.評価 = 決め手->完了値;
    return 結果;
}

}  // namespace kiryuza
