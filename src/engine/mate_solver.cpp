// df-pn over (position, plies left). At the attacker's nodes (OR) the proof number is the least
// of the children's and the disproof number their sum; at the defender's nodes (AND) the other
// way round. A node is searched until one of its numbers reaches the threshold its parent gave
// it, the child with the least number going first; the table keeps each node's numbers so that
// a node met again, by the same line or another, starts from what is known of it.
#include "engine/mate_solver.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <vector>

#include "engine/deep_board.h"

namespace kiryuza {

namespace {

using 時計 = std::chrono::steady_clock;

// A proof or disproof number that has settled the other way.
constexpr std::uint32_t 無限 = 0x7FFFFFFF;
// The depth of a disproof that holds however many plies are left.
constexpr int 無限深さ = 255;
// Moves one node may have: checks and defences, drops included.
constexpr int 手上限 = 600;
// Plies of the deepest line: the longest mate and the node after it.
constexpr int 最大深さ = 詰み手順最大長 + 2;
// The most defences counted for a first estimate of the defender's node.
constexpr int 応手見積上限 = 4;
// Nodes between two looks at the clock.
constexpr std::uint64_t 確認間隔 = 64;

// What is known of a node. Proven (pn 0): a mate in 長さ plies. Disproven (dn 0): no mate
// within 長さ plies (無限深さ: none at all). Otherwise the numbers are estimates.
struct 値 {
    std::uint32_t pn = 1;
    std::uint32_t dn = 1;
    int 長さ = 0;
};

// Sum of two numbers, kept below 無限 unless one of them is 無限.
std::uint32_t 足す(std::uint32_t a, std::uint32_t b) {
    if (a == 無限 || b == 無限) return 無限;
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(std::uint64_t{a} + b, 無限 - 1));
}

// A threshold below 無限 + 1, from a 64-bit sum.
std::uint32_t 閾(std::uint64_t v) {
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(v, 無限));
}

struct 詰み項 {
    std::uint64_t 鍵 = 0;
    std::uint32_t pn = 0;  // pn and dn both 0: an empty entry
    std::uint32_t dn = 0;
    std::uint32_t 量 = 0;  // nodes searched to find it: what it is worth keeping
    std::uint8_t 残り = 0;
    std::uint8_t 長さ = 0;
};

// The table: entries in sets of four by position, one entry per depth at which the position was
// searched. A settled entry answers for every depth it holds for.
class 詰み表 {
  public:
    static constexpr int 組 = 4;

    explicit 詰み表(std::size_t MB) {
        std::size_t n = 1;
        while (n * 2 * 組 * sizeof(詰み項) <= MB * 1024 * 1024) n *= 2;
        項_.assign(n * 組, 詰み項{});
        mask_ = n - 1;
    }

    void 消去() { std::fill(項_.begin(), 項_.end(), 詰み項{}); }

    // True when the table holds anything of the position.
    bool ある(std::uint64_t 鍵) const {
        const 詰み項* b = 組頭(鍵);
        for (int i = 0; i < 組; ++i)
            if (b[i].鍵 == 鍵 && !空(b[i])) return true;
        return false;
    }

    // What is known of the position with `残り` plies left: a proof or disproof that holds
    // there, else the numbers found at this depth, else those of another depth as an estimate.
    値 引く(std::uint64_t 鍵, int 残り) const {
        const 詰み項* b = 組頭(鍵);
        const 詰み項* 同 = nullptr;
        const 詰み項* 他 = nullptr;
        for (int i = 0; i < 組; ++i) {
            const 詰み項& e = b[i];
            if (e.鍵 != 鍵 || 空(e)) continue;
            if (e.pn == 0 && e.長さ <= 残り) return {0, 無限, e.長さ};
            if (e.dn == 0 && e.長さ >= 残り) return {無限, 0, e.長さ};
            if (e.pn == 0 || e.dn == 0) continue;
            if (e.残り == 残り)
                同 = &e;
            else if (他 == nullptr)
                他 = &e;
        }
        if (同 != nullptr) return {同->pn, 同->dn, 0};
        if (他 != nullptr) return {他->pn, 他->dn, 0};
        return {};
    }

    // Stores a node: over its own entry or one the new result makes useless, else over the
    // entry of the set that cost least.
    void 書く(std::uint64_t 鍵, int 残り, const 値& v, std::uint64_t 量) {
        詰み項* b = 組頭(鍵);
        詰み項* 先 = nullptr;
        for (int i = 0; i < 組 && 先 == nullptr; ++i)
            if (b[i].鍵 == 鍵 && !空(b[i]) && (b[i].残り == 残り || 要らない(b[i], v))) 先 = &b[i];
        if (先 == nullptr) {
            先 = &b[0];
            for (int i = 0; i < 組; ++i) {
                if (空(b[i])) {
                    先 = &b[i];
                    break;
                }
                if (b[i].量 < 先->量) 先 = &b[i];
            }
        }
        先->鍵 = 鍵;
        先->pn = v.pn;
        先->dn = v.dn;
        先->量 = static_cast<std::uint32_t>(std::min<std::uint64_t>(量, 0xFFFFFFFFu));
        先->残り = static_cast<std::uint8_t>(残り);
        先->長さ = static_cast<std::uint8_t>(v.長さ);
    }

  private:
    static bool 空(const 詰み項& e) { return e.pn == 0 && e.dn == 0; }

    // True when the settled `v` answers every question entry `e` of the same position could.
    static bool 要らない(const 詰み項& e, const 値& v) {
        const bool e未定 = e.pn != 0 && e.dn != 0;
        if (v.pn == 0) return (e未定 && e.残り >= v.長さ) || (e.pn == 0 && e.長さ >= v.長さ);
        if (v.dn == 0) return (e未定 && e.残り <= v.長さ) || (e.dn == 0 && e.長さ <= v.長さ);
        return false;
    }

    詰み項* 組頭(std::uint64_t 鍵) { return &項_[(static_cast<std::size_t>(鍵) & mask_) * 組]; }
    const 詰み項* 組頭(std::uint64_t 鍵) const {
        return &項_[(static_cast<std::size_t>(鍵) & mask_) * 組];
    }

    std::vector<詰み項> 項_;
    std::size_t mask_ = 0;
};

}  // namespace

struct 詰み探索::内部 {
    explicit 内部(std::size_t MB)
        : 盤(無評価), 表(MB), 手置場(最大深さ * 手上限), 鍵置場(最大深さ * 手上限) {}

    駒得表 無評価{};  // the board keeps material up to date; the solver never reads it
    探索盤 盤;
    詰み表 表;
    std::vector<手符号> 手置場;         // the moves of each ply
    std::vector<std::uint64_t> 鍵置場;  // the keys of the positions after them

    std::atomic<bool> 停止要求{false};
    bool 止まった = false;
    std::uint64_t 節点数 = 0;
    std::uint64_t 節点上限 = 0;
    bool 期限あり = false;
    時計::time_point 開始;
    時計::time_point 期限;
    int 攻め側 = 1;  // +1: the upper side attacks; -1: the lower side
    // Mixed into the key when the lower side attacks: the same position with the same side to
    // move is another node when the other side attacks, and the table outlives a search.
    std::uint64_t 攻め鍵 = 0;

    void 数える();
    bool 一手で詰む(int ply, 手符号 m);
    値 一手詰め(int ply, int n);
    値 応手を数える(int ply);
    値 王手を数える(int ply);
    int 展開(int ply, int 残り, 値& 終);
    値 集める(bool 攻め, int 残り, const std::uint64_t* 子鍵, int n, int& 最良,
              std::uint32_t& 次点);
    値 探る(int ply, int 残り, std::uint32_t 閾pn, std::uint32_t 閾dn);
    値 解く(int ply, int 残り);
    値 子を解く(int ply, 手符号 m, int 残り, bool 探してよい);
    void 筋を作る(詰み結果& 結果);
    最善手 変換(手符号 m) const;

    std::uint64_t 表鍵() const { return 盤.鍵 ^ 攻め鍵; }
    手符号* 手(int ply) { return &手置場[static_cast<std::size_t>(ply) * 手上限]; }
    double 経過秒() const { return std::chrono::duration<double>(時計::now() - 開始).count(); }
};

// Counts a node and looks at the stop request (a node may take tens of microseconds, and a
// player who quits must not wait); now and then looks at the clock.
void 詰み探索::内部::数える() {
    ++節点数;
    if (節点上限 != 0 && 節点数 >= 節点上限) 止まった = true;
    if (停止要求.load(std::memory_order_relaxed)) 止まった = true;
    if (節点数 % 確認間隔 != 0) return;
    if (期限あり && 時計::now() >= 期限) 止まった = true;
}

// True when after the check `m` the defender has no defence (and cannot take the attacker's
// king instead).
bool 詰み探索::内部::一手で詰む(int ply, 手符号 m) {
    復元情報 r;
    盤.指す(m, r);
    const bool 詰む = !盤.王を取れる(盤.手番) && 盤.王手回避生成(手(ply + 1), 手上限, 1) == 0;
    盤.戻す(m, r);
    return 詰む;
}

// The attacker's node on the board with one ply left and its `n` checks in the ply's buffer:
// proven when one of them leaves no defence.
値 詰み探索::内部::一手詰め(int ply, int n) {
    const 手符号* 出 = 手(ply);
    for (int i = 0; i < n; ++i)
        if (一手で詰む(ply, 出[i])) return {0, 無限, 1};
    return {無限, 0, 1};
}

// A first estimate of the defender's node on the board: settled when the defender has no
// defence or can take the attacker's king, else a proof number of one per defence.
値 詰み探索::内部::応手を数える(int ply) {
    if (盤.王を取れる(盤.手番)) return {無限, 0, 無限深さ};
    const int n = 盤.王手回避生成(手(ply + 1), 手上限, 応手見積上限);
    if (n == 0) return {0, 無限, 0};
    return {static_cast<std::uint32_t>(n), 1, 0};
}

// A first estimate of the attacker's node on the board: settled when it has no check, else a
// disproof number of one per check.
値 詰み探索::内部::王手を数える(int ply) {
    const int n = 盤.王手生成(手(ply + 1), 手上限);
    if (n == 0) return {無限, 0, 無限深さ};
    return {1, static_cast<std::uint32_t>(n), 0};
}

// The moves of the node on the board (checks for the attacker, defences for the defender) in
// the ply's buffer, and their count; -1 with `終` set when the node is settled without them.
int 詰み探索::内部::展開(int ply, int 残り, 値& 終) {
    手符号* 出 = 手(ply);
    if (盤.手番 == 攻め側) {
        const int n = 盤.王手生成(出, 手上限);
        if (n == 0) {
            終 = {無限, 0, 無限深さ};  // no check: no mate however long
            return -1;
        }
        if (残り < 1) {
            終 = {無限, 0, 残り};
            return -1;
        }
        if (残り == 1) {
            終 = 一手詰め(ply, n);
            return -1;
        }
        return n;
    }
    if (盤.王を取れる(盤.手番)) {
        終 = {無限, 0, 無限深さ};  // the defender takes the attacker's king
        return -1;
    }
    const int n = 盤.王手回避生成(出, 手上限);
    if (n == 0) {
        終 = {0, 無限, 0};  // mated
        return -1;
    }
    if (残り < 2) {
        終 = {無限, 0, 残り};  // a defence and no ply left to mate after it
        return -1;
    }
    if (残り == 2) {
        // Each defence against a mate in one, settled here without a node for each.
        終 = {0, 無限, 2};
        for (int i = 0; i < n; ++i) {
            復元情報 r;
            盤.指す(出[i], r);
            const int k = 盤.王手生成(手(ply + 1), 手上限);
            const 値 c = k == 0 ? 値{無限, 0, 無限深さ} : 一手詰め(ply + 1, k);
            盤.戻す(出[i], r);
            if (c.dn == 0) {
                終 = {無限, 0, c.長さ == 無限深さ ? 無限深さ : 2};
                break;
            }
        }
        return -1;
    }
    return n;
}

// The node's numbers from its children's entries, the child to search next and the runner-up's
// number (proof number at the attacker's nodes, disproof number at the defender's).
値 詰み探索::内部::集める(bool 攻め, int 残り, const std::uint64_t* 子鍵, int n, int& 最良,
                          std::uint32_t& 次点) {
    std::uint32_t 最小 = 無限;
    std::uint32_t 和 = 0;
    int 証明長 = 攻め ? 無限深さ : 0;  // attacker: the shortest proven child; defender: longest
    int 反証長 = 攻め ? 無限深さ : 0;  // attacker: the weakest disproof; defender: the strongest
    次点 = 無限;
    最良 = 0;
    for (int i = 0; i < n; ++i) {
        const 値 c = 表.引く(子鍵[i], 残り - 1);
        const std::uint32_t 選 = 攻め ? c.pn : c.dn;
        if (選 < 最小) {
            次点 = 最小;
            最小 = 選;
            最良 = i;
        } else if (選 < 次点) {
            次点 = 選;
        }
        和 = 足す(和, 攻め ? c.dn : c.pn);
        if (c.pn == 0) 証明長 = 攻め ? std::min(証明長, c.長さ) : std::max(証明長, c.長さ);
        if (c.dn == 0) 反証長 = 攻め ? std::min(反証長, c.長さ) : std::max(反証長, c.長さ);
    }
    値 v{攻め ? 最小 : 和, 攻め ? 和 : 最小, 0};
    if (v.pn == 0) v.長さ = 証明長 + 1;
    if (v.dn == 0) v.長さ = 反証長 == 無限深さ ? 無限深さ : 反証長 + 1;
    return v;
}

// df-pn on the board's position with `残り` plies left, until it is settled or its proof number
// reaches 閾pn or its disproof number 閾dn. Stores what it found and returns it.
値 詰み探索::内部::探る(int ply, int 残り, std::uint32_t 閾pn, std::uint32_t 閾dn) {
    数える();
    const std::uint64_t 鍵 = 表鍵();
    const std::uint64_t 始 = 節点数;
    値 v;
    const int n = 展開(ply, 残り, v);
    if (n < 0) {
        表.書く(鍵, 残り, v, 1);
        return v;
    }
    const bool 攻め = 盤.手番 == 攻め側;
    手符号* 出 = 手(ply);
    std::uint64_t* 子鍵 = &鍵置場[static_cast<std::size_t>(ply) * 手上限];
    for (int i = 0; i < n; ++i) {
        復元情報 r;
        盤.指す(出[i], r);
        子鍵[i] = 表鍵();
        if (!表.ある(子鍵[i]))
            表.書く(子鍵[i], 残り - 1, 攻め ? 応手を数える(ply) : 王手を数える(ply), 0);
        盤.戻す(出[i], r);
    }
    for (;;) {
        int 最良 = 0;
        std::uint32_t 次点 = 無限;
        v = 集める(攻め, 残り, 子鍵, n, 最良, 次点);
        if (v.pn == 0 || v.dn == 0 || v.pn >= 閾pn || v.dn >= 閾dn || 止まった) break;
        const 値 c = 表.引く(子鍵[最良], 残り - 1);
        std::uint32_t 子pn = 0;
        std::uint32_t 子dn = 0;
        if (攻め) {
            子pn = std::min(閾pn, 閾(std::uint64_t{次点} + 次点 / 4 + 1));
            子dn = 閾(std::uint64_t{閾dn} - v.dn + c.dn);
        } else {
            子dn = std::min(閾dn, 閾(std::uint64_t{次点} + 次点 / 4 + 1));
            子pn = 閾(std::uint64_t{閾pn} - v.pn + c.pn);
        }
        復元情報 r;
        盤.指す(出[最良], r);
        探る(ply + 1, 残り - 1, 子pn, 子dn);
        盤.戻す(出[最良], r);
    }
    表.書く(鍵, 残り, v, 節点数 - 始);
    return v;
}

// Settles the board's position with `残り` plies left, unless a limit comes first.
値 詰み探索::内部::解く(int ply, int 残り) {
    値 v = 表.引く(表鍵(), 残り);
    while (v.pn != 0 && v.dn != 0 && !止まった) v = 探る(ply, 残り, 無限, 無限);
    return v;
}

// What is known of the position after `m` with `残り` plies left, searched when the table does
// not settle it and `探してよい`.
値 詰み探索::内部::子を解く(int ply, 手符号 m, int 残り, bool 探してよい) {
    復元情報 r;
    盤.指す(m, r);
    値 v = 表.引く(表鍵(), 残り);
    if (探してよい && v.pn != 0 && v.dn != 0) v = 解く(ply + 1, 残り);
    盤.戻す(m, r);
    return v;
}

// The move in the encoding of the rules, for the side to move on the board.
最善手 詰み探索::内部::変換(手符号 m) const {
    最善手 r;
    r.有り = true;
    r.先X = 手の先(m) / 10;
    r.先Y = 手の先(m) % 10;
    r.駒 = 手の駒(m);
    r.元駒 = 盤.動く駒(m);
    const int 元 = 手の元(m);
    if (元 >= 打ち元) {
        const int k = 元 - 打ち元;
        r.元X = 盤.手番 > 0 ? 持駒列_COM : 持駒列_MAN;
        r.元Y = 盤.手番 > 0 ? k : k + 2;
    } else {
        r.元X = 元 / 10;
        r.元Y = 元 % 10;
    }
    return r;
}

// Plays out the mate of 結果.手数 plies from the root: at each attacker ply a check proven to
// mate in the plies left, at each defender ply the defence that lasts longest (board moves
// before drops among equals). Leaves the board at the root.
void 詰み探索::内部::筋を作る(詰み結果& 結果) {
    手符号 指した[最大深さ];
    復元情報 戻し[最大深さ];
    int p = 0;
    int m = 結果.手数;  // the plies within which the node on the board is proven to be mated
    for (; p < 結果.手数; ++p) {
        手符号* 出 = 手(p);
        const int n = 盤.手番 == 攻め側 ? 盤.王手生成(出, 手上限) : 盤.王手回避生成(出, 手上限);
        if (n == 0) break;
        int 選 = -1;
        int 次 = 0;
        if (盤.手番 == 攻め側) {
            // The check proven to mate soonest; searched for when the table has lost them.
            for (int pass = 0; pass < 2 && 選 < 0; ++pass)
                for (int i = 0; i < n; ++i) {
                    const 値 c = 子を解く(p, 出[i], m - 1, pass == 1);
                    if (c.pn == 0 && (選 < 0 || c.長さ < 次)) {
                        選 = i;
                        次 = c.長さ;
                        if (pass == 1) break;
                    }
                    if (止まった) break;
                }
        } else if (m <= 3) {
            // One check mates after every defence: the first will do.
            選 = 0;
            次 = m - 1;
        } else {
            // The first defence not mated within two plies less than the node is the longest.
            for (int i = 0; i < n && !止まった; ++i) {
                const 値 c = 子を解く(p, 出[i], m - 3, true);
                if (c.dn == 0) {
                    選 = i;
                    次 = m - 1;
                    break;
                }
            }
            if (選 < 0) {
                // A limit came first: the defence known to last longest.
                結果.最短 = false;
                for (int i = 0; i < n; ++i) {
                    const 値 c = 子を解く(p, 出[i], m - 1, !止まった);
                    if (c.pn == 0 && (選 < 0 || c.長さ > 次)) {
                        選 = i;
                        次 = c.長さ;
                    }
                }
            }
        }
        if (選 < 0) break;
        結果.手順[p] = 変換(出[選]);
        指した[p] = 出[選];
        盤.指す(指した[p], 戻し[p]);
        m = 次;
    }
    結果.手順長 = p;
    while (p > 0) {
        --p;
        盤.戻す(指した[p], 戻し[p]);
    }
}

詰み探索::詰み探索(std::size_t 表MB) : 内_(std::make_unique<内部>(表MB)) {}

詰み探索::~詰み探索() = default;

void 詰み探索::停止() noexcept {
    内_->停止要求.store(true, std::memory_order_relaxed);
}

void 詰み探索::初期化() {
    内_->表.消去();
}

詰み結果 詰み探索::探す(const 局面& 局, bool COM側, const 詰み設定& 設定) {
    auto& I = *内_;
    I.開始 = 時計::now();
    I.期限あり = 設定.時間ms > 0;
    I.期限 = I.開始 + std::chrono::milliseconds(設定.時間ms);
    I.停止要求.store(false, std::memory_order_relaxed);
    I.止まった = false;
    I.節点数 = 0;
    I.節点上限 = 設定.節点上限;
    I.盤.設定(局, COM側, 設定.範囲);
    I.攻め側 = I.盤.手番;
    I.攻め鍵 = COM側 ? 0 : 0x6A09E667F3BCC909ull;

    詰み結果 結果;
    auto 終える = [&](詰み判定 判定) {
        結果.判定 = 判定;
        結果.節点数 = I.節点数;
        結果.秒 = I.経過秒();
        return 結果;
    };
    if (I.盤.王桝[側番号(-I.攻め側)] == 0) return 終える(詰み判定::不詰);

    // The king can be taken at once: that is the whole line.
    if (I.盤.王を取れる(I.攻め側)) {
        手符号* 出 = I.手(0);
        const int n = I.盤.取る手生成(出, 手上限);
        for (int i = 0; i < n; ++i)
            if (手の先(出[i]) == I.盤.王桝[側番号(-I.攻め側)]) {
                結果.手順[0] = I.変換(出[i]);
                結果.手数 = 結果.手順長 = 1;
                結果.最短 = true;
                return 終える(詰み判定::詰み);
            }
    }

    // A mate from the attacker's move has an odd number of plies.
    int 最大 = std::clamp(設定.最大手数, 1, 詰み手順最大長);
    if (最大 % 2 == 0) --最大;
    const 値 v = I.解く(0, 最大);
    if (v.dn == 0) return 終える(詰み判定::不詰);
    if (v.pn != 0) return 終える(詰み判定::不明);

    // Shorter and shorter mates, until there is none.
    結果.手数 = v.長さ;
    結果.最短 = true;
    while (結果.手数 >= 3) {
        const 値 w = I.解く(0, 結果.手数 - 2);
        if (w.pn == 0 && w.長さ < 結果.手数) {
            結果.手数 = w.長さ;
        } else {
            if (w.dn != 0) 結果.最短 = false;
            break;
        }
    }
    I.筋を作る(結果);
    return 終える(詰み判定::詰み);
}

}  // namespace kiryuza
