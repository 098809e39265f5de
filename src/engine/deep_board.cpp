#include "engine/deep_board.h"

namespace kiryuza {

namespace {

// splitmix64: a fixed stream of well-mixed 64-bit numbers for the Zobrist keys.
constexpr std::uint64_t 混ぜる(std::uint64_t& s) {
    std::uint64_t z = (s += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Every key of the table, drawn from one fixed seed so that keys are the same in every run.
constexpr 鍵表 鍵表を作る() {
    鍵表 t{};
    std::uint64_t s = 20240613;
    for (auto& 駒 : t.駒)
        for (auto& k : 駒) k = 混ぜる(s);
    for (auto& 側 : t.持駒)
        for (auto& 種 : 側)
            for (auto& k : 種) k = 混ぜる(s);
    t.手番 = 混ぜる(s);
    t.範囲[0] = 0;
    for (int i = 1; i < 4; ++i) t.範囲[i] = 混ぜる(s);
    return t;
}

struct 方向 {
    int dx, dy;
};
constexpr 方向 周囲[8] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
constexpr 方向 縦横[4] = {{0, -1}, {0, 1}, {-1, 0}, {1, 0}};
constexpr 方向 斜め[4] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
constexpr 方向 縦[2] = {{0, -1}, {0, 1}};
constexpr 方向 桂跳[4] = {{-1, -2}, {1, -2}, {-1, 2}, {1, 2}};

// The squares a kind of piece could possibly reach: single steps and sliding lines. A superset
// of its real moves; 移動チェック picks the real ones.
struct 到達形 {
    const 方向* 歩み;
    int 歩み数;
    const 方向* 線;
    int 線数;
};

constexpr 到達形 到達(int 絶対値) {
    switch (絶対値) {
        case 駒_COM香:
            return {nullptr, 0, 縦, 2};
        case 駒_COM桂:
            return {桂跳, 4, nullptr, 0};
        case 駒_COM角:
            return {nullptr, 0, 斜め, 4};
        case 駒_COM角成:
            return {縦横, 4, 斜め, 4};
        case 駒_COM飛:
            return {nullptr, 0, 縦横, 4};
        case 駒_COM飛成:
            return {斜め, 4, 縦横, 4};
        default:
            return {周囲, 8, nullptr, 0};
    }
}

// True for a square of the board.
constexpr bool 盤内(int x, int y) {
    return x >= 1 && x <= 盤桝数 && y >= 1 && y <= 盤桝数;
}

// True when `code` belongs to side `側` (+1 upper, -1 lower).
constexpr bool 自駒(int 側, int code) {
    return 側 > 0 ? COM駒(code) : MAN駒(code);
}

// The count a hand key is drawn for; counts beyond the table share its last key.
constexpr int 持駒鍵番号(int n) {
    return n > 持駒上限 ? 持駒上限 : (n < 0 ? 0 : n);
}

constexpr bool 歩か(int code) {
    return code == 駒_MAN歩 || code == 駒_COM歩;
}

// True when square `b` (x*10+y) lies on a row, column or diagonal through square `a`.
constexpr bool 線上(int a, int b) {
    const int dx = b / 10 - a / 10;
    const int dy = b % 10 - a % 10;
    return dx == 0 || dy == 0 || dx == dy || dx == -dy;
}

// True for a piece that may move more than two squares at once: lance, bishop and rook in
// either form (a promoted lance moves like a gold).
constexpr bool 走る駒(int code) {
    const int m = code < 0 ? -code : code;
    return m == 駒_COM香 || m == 駒_COM角 || m == 駒_COM角成 || m == 駒_COM飛 || m == 駒_COM飛成;
}

// True when square `b` is a knight's jump away from square `a`, in either direction.
constexpr bool 桂の位置(int a, int b) {
    const int dx = b / 10 - a / 10;
    const int dy = b % 10 - a % 10;
    return (dx == 1 || dx == -1) && (dy == 2 || dy == -2);
}

// A move taken apart, with the hand of the side that makes it, for 指す and 戻す.
struct 手の部分 {
    int 側;  // 側番号 of the mover
    int* 持駒;
    int& 総数;
    int 元, 先, tx, ty, 置く;
};

手の部分 分ける(局面& 局, int 手番, 手符号 m) {
    const int 先 = 手の先(m);
    return {側番号(手番),
            手番 > 0 ? 局.持駒COM : 局.持駒MAN,
            手番 > 0 ? 局.持駒総数COM : 局.持駒総数MAN,
            手の元(m),
            先,
            先 / 10,
            先 % 10,
            手の駒(m)};
}

}  // namespace

constinit const 鍵表 局面鍵 = 鍵表を作る();

std::uint64_t 局面の鍵(const 局面& 局, bool COM側) {
    std::uint64_t 鍵 = COM側 ? 局面鍵.手番 : 0;
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y)
            if (const int i = 駒番号(局.盤面[x][y]); i >= 0) 鍵 ^= 局面鍵.駒[i][x * 10 + y];
    for (int k = 1; k <= 7; ++k) {
        鍵 ^= 局面鍵.持駒[0][k][持駒鍵番号(局.持駒MAN[k])];
        鍵 ^= 局面鍵.持駒[1][k][持駒鍵番号(局.持駒COM[k])];
    }
    return 鍵;
}

std::uint64_t 局面の鍵(const 局面& 局, bool COM側, 両側の範囲 範囲) {
    return 局面の鍵(局, COM側) ^ 範囲の鍵(範囲);
}

void 探索盤::設定(const 局面& 元, bool COM側, 両側の範囲 各側) {
    局 = 元;
    範囲 = 各側;
    手番 = COM側 ? 1 : -1;
    鍵 = (COM側 ? 局面鍵.手番 : 0) ^ 範囲の鍵(範囲);
    駒得 = 0;
    王桝[0] = 王桝[1] = 0;
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) {
            const int c = 局.盤面[x][y];
            const int i = 駒番号(c);
            if (i < 0) continue;
            鍵 ^= 局面鍵.駒[i][x * 10 + y];
            駒得 += 表_.盤[i][x * 10 + y];
            if (c == 駒_MAN王) 王桝[0] = x * 10 + y;
            if (c == 駒_COM王) 王桝[1] = x * 10 + y;
        }
    局.持駒総数MAN = 0;
    局.持駒総数COM = 0;
    for (int k = 1; k <= 7; ++k) {
        局.持駒総数MAN += 局.持駒MAN[k];
        局.持駒総数COM += 局.持駒COM[k];
        鍵 ^= 局面鍵.持駒[0][k][持駒鍵番号(局.持駒MAN[k])];
        鍵 ^= 局面鍵.持駒[1][k][持駒鍵番号(局.持駒COM[k])];
        駒得 += 表_.持駒[0][k] * 局.持駒MAN[k] + 表_.持駒[1][k] * 局.持駒COM[k];
    }
    調査_2歩フラグ設定(局);
}

// Sets the two-pawn flags of column x again from the board.
void 探索盤::二歩列更新(int x) {
    if (x < 1 || x > 盤桝数) return;
    局.二歩フラグMAN[x] = 0;
    局.二歩フラグCOM[x] = 0;
    for (int y = 1; y <= 盤桝数; ++y) {
        if (局.盤面[x][y] == 駒_MAN歩) 局.二歩フラグMAN[x] = 1;
        if (局.盤面[x][y] == 駒_COM歩) 局.二歩フラグCOM[x] = 1;
    }
}

int 探索盤::動く駒(手符号 m) const {
    const int 元 = 手の元(m);
    if (元 >= 打ち元) return 手の駒(m);
    return 駒(元);
}

// The moves of the piece `c` on `桝`: each square it could reach that the rules allow, in both
// forms where the change of form is optional (only the changed form for a person's side);
// captures only with `取りのみ`, each in the form that keeps the most moves.
void 探索盤::盤手生成(int 桝, int c, 手符号* 出力, int& n, int 上限, bool 取りのみ) {
    const int x = 桝 / 10;
    const int y = 桝 % 10;
    auto 試す = [&](int tx, int ty) {
        const int t = 局.盤面[tx][ty];
        if (自駒(手番, t) || (取りのみ && t == 空桝)) return;
        if (移動チェック(局, x, y, tx, ty, c) != 定数_ON) return;
        const int 先 = tx * 10 + ty;
        if (調査_駒成(局, x, y, tx, ty, c) == 定数_ON) {
            const int 成後 = 局.駒成結果;
            if (!形を残せる() || 移動後チェック(ty, c) == 定数_OFF) {
                if (n < 上限) 出力[n++] = 手を作る(桝, 先, 成後);
                return;
            }
            if (n < 上限) 出力[n++] = 手を作る(桝, 先, c);
            if (!取りのみ && n < 上限) 出力[n++] = 手を作る(桝, 先, 成後);
            return;
        }
        if (n < 上限) 出力[n++] = 手を作る(桝, 先, c);
    };
    const 到達形 形 = 到達(c < 0 ? -c : c);
    for (int i = 0; i < 形.歩み数; ++i) {
        const int tx = x + 形.歩み[i].dx;
        const int ty = y + 形.歩み[i].dy;
        if (盤内(tx, ty)) 試す(tx, ty);
    }
    for (int i = 0; i < 形.線数; ++i) {
        int tx = x + 形.線[i].dx;
        int ty = y + 形.線[i].dy;
        while (盤内(tx, ty)) {
            試す(tx, ty);
            if (局.盤面[tx][ty] != 空桝) break;
            tx += 形.線[i].dx;
            ty += 形.線[i].dy;
        }
    }
}

int 探索盤::全手生成(手符号* 出力, int 上限, bool 金打ち一種) {
    int n = 0;
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) {
            const int c = 局.盤面[x][y];
            if (自駒(手番, c)) 盤手生成(x * 10 + y, c, 出力, n, 上限, false);
        }
    const bool COM側 = 手番 > 0;
    const int* 持駒 = COM側 ? 局.持駒COM : 局.持駒MAN;
    const int 元X = COM側 ? 持駒列_COM : 持駒列_MAN;
    bool 金打ちあり = false;
    for (int k = 1; k <= 7; ++k) {
        if (持駒[k] <= 0) continue;
        if (k <= 5) {
            if (金打ち一種 && 金打ちあり) continue;
            金打ちあり = true;
        }
        const int 打駒 = COM側 ? 打駒_COM[k] : 打駒_MAN[k];
        const int 元Y = COM側 ? k : k + 2;
        for (int x = 1; x <= 盤桝数; ++x)
            for (int y = 1; y <= 盤桝数; ++y) {
                if (局.盤面[x][y] != 空桝) continue;
                if (移動チェック(局, 元X, 元Y, x, y, 打駒) != 定数_ON) continue;
                if (n < 上限) 出力[n++] = 手を作る(打ち元 + k, x * 10 + y, 打駒);
            }
    }
    return n;
}

int 探索盤::取る手生成(手符号* 出力, int 上限) {
    int n = 0;
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) {
            const int c = 局.盤面[x][y];
            if (自駒(手番, c)) 盤手生成(x * 10 + y, c, 出力, n, 上限, true);
        }
    return n;
}

namespace {

// Puts move `m` of the side to move on the board alone (no hands, key or flags), for a test;
// 仮戻し puts the board back.
struct 仮手 {
    int 元, 先, 元駒, 取駒;
};

仮手 仮に指す(局面& 局, 手符号 m) {
    const int 元 = 手の元(m);
    const int 先 = 手の先(m);
    仮手 t{元, 先, 空桝, 局.盤面[先 / 10][先 % 10]};
    if (元 < 打ち元) {
        t.元駒 = 局.盤面[元 / 10][元 % 10];
        局.盤面[元 / 10][元 % 10] = 空桝;
    }
    局.盤面[先 / 10][先 % 10] = 手の駒(m);
    return t;
}
void 仮戻し(局面& 局, const 仮手& t) {
    局.盤面[t.先 / 10][t.先 % 10] = t.取駒;
    if (t.元 < 打ち元) 局.盤面[t.元 / 10][t.元 % 10] = t.元駒;
}

}  // namespace

void 探索盤::形を選んで加える(int 元, int 先, int c, 手符号* 出力, int& n, int 上限) {
    const int tx = 先 / 10;
    const int ty = 先 % 10;
    if (調査_駒成(局, 元 / 10, 元 % 10, tx, ty, c) == 定数_ON) {
        const int 成後 = 局.駒成結果;
        if (形を残せる() && 移動後チェック(ty, c) == 定数_ON && n < 上限)
            出力[n++] = 手を作る(元, 先, c);
        if (n < 上限) 出力[n++] = 手を作る(元, 先, 成後);
        return;
    }
    if (n < 上限) 出力[n++] = 手を作る(元, 先, c);
}

int 探索盤::王手で選ぶ(手符号* 出力, int from, int n, bool 既に) {
    const int 側 = 手番;
    const int 王 = 王桝[側番号(-側)];
    int k = from;
    for (int i = from; i < n; ++i) {
        const 手符号 m = 出力[i];
        bool 王手;
        if (既に) {
            復元情報 r;
            指す(m, r);
            王手 = 王を取れる(側);
            戻す(m, r);
        } else {
            // Only the moved piece, or a piece behind the square it left, can bear on the king.
            const 仮手 t = 仮に指す(局, m);
            王手 = 移動チェック(局, t.先 / 10, t.先 % 10, 王 / 10, 王 % 10, 手の駒(m)) == 定数_ON;
            if (!王手 && t.元 < 打ち元 && 線上(王, t.元)) {
                const int dx = (t.元 / 10 > 王 / 10) - (t.元 / 10 < 王 / 10);
                const int dy = (t.元 % 10 > 王 % 10) - (t.元 % 10 < 王 % 10);
                int x = 王 / 10 + dx;
                int y = 王 % 10 + dy;
                while (盤内(x, y) && 局.盤面[x][y] == 空桝) x += dx, y += dy;
                王手 = 盤内(x, y) && 自駒(側, 局.盤面[x][y]) &&
                       移動チェック(局, x, y, 王 / 10, 王 % 10, 局.盤面[x][y]) == 定数_ON;
            }
            仮戻し(局, t);
        }
        if (王手) 出力[k++] = m;
    }
    return k;
}

int 探索盤::安全で選ぶ(手符号* 出力, int from, int n) {
    const int 側 = 手番;
    int k = from;
    for (int i = from; i < n; ++i) {
        const 手符号 m = 出力[i];
        const 仮手 t = 仮に指す(局, m);
        const bool 王が動く = t.元 < 打ち元 && t.元 == 王桝[側番号(側)];
        const bool 安全 = !利いている(-側, 王が動く ? t.先 : 王桝[側番号(側)]);
        仮戻し(局, t);
        if (安全) 出力[k++] = m;
    }
    return k;
}

int 探索盤::王手生成(手符号* 出力, int 上限) {
    const int 側 = 手番;
    const int 王 = 王桝[側番号(-側)];
    if (王 == 0) return 0;
    int n = 0;
    if (王を取れる(側)) {
        // The side bears on the king already: every move but the capture is tried in full.
        const int m = 全手生成(出力, 上限);
        for (int i = 0; i < m; ++i)
            if (手の先(出力[i]) != 王) 出力[n++] = 出力[i];
        return 王手で選ぶ(出力, 0, n, true);
    }
    // Board moves: the piece bears on the king from where it lands, or it leaves a line
    // through the king and opens it for a piece behind.
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) {
            const int c = 局.盤面[x][y];
            if (!自駒(側, c)) continue;
            const int 元 = x * 10 + y;
            const bool 開き得る = 線上(王, 元);
            // A piece that only steps or jumps, far from the king, cannot reach it in one move.
            if (!開き得る && !走る駒(c) && 桝からの距離(王, x, y) > 4) continue;
            const int from = n;
            盤手生成(元, c, 出力, n, 上限, false);
            int k = from;
            for (int i = from; i < n; ++i) {
                const int 先 = 手の先(出力[i]);
                if (先 == 王) continue;
                if (!開き得る && !線上(王, 先) && !桂の位置(王, 先)) continue;
                出力[k++] = 出力[i];
            }
            n = 王手で選ぶ(出力, from, k, false);
        }
    // Drops: a dropped piece moves like a gold, a horse or a dragon, so it can bear on the
    // king only from an empty square on a line out of it.
    const bool COM側 = 側 > 0;
    const int* 持駒 = COM側 ? 局.持駒COM : 局.持駒MAN;
    const int 元X = COM側 ? 持駒列_COM : 持駒列_MAN;
    const int from = n;
    for (const 方向& d : 周囲) {
        int x = 王 / 10 + d.dx;
        int y = 王 % 10 + d.dy;
        for (; 盤内(x, y) && 局.盤面[x][y] == 空桝; x += d.dx, y += d.dy)
            for (int k = 1; k <= 7; ++k) {
                if (持駒[k] <= 0) continue;
                const int 打駒 = COM側 ? 打駒_COM[k] : 打駒_MAN[k];
                if (移動チェック(局, 元X, COM側 ? k : k + 2, x, y, 打駒) != 定数_ON) continue;
                if (n < 上限) 出力[n++] = 手を作る(打ち元 + k, x * 10 + y, 打駒);
            }
    }
    return 王手で選ぶ(出力, from, n, false);
}

int 探索盤::王手回避生成(手符号* 出力, int 上限, int 足りる数) {
    const int 側 = 手番;
    const int 王 = 王桝[側番号(側)];
    if (王 == 0) return 0;
    const int kx = 王 / 10;
    const int ky = 王 % 10;
    // Mark each attacker's square and the squares between it and the king.
    bool 印[100]{};
    bool 王手 = false;
    for (const 方向& d : 周囲) {
        int 道[盤桝数]{};
        int m = 0;
        int x = kx + d.dx;
        int y = ky + d.dy;
        for (; 盤内(x, y) && 局.盤面[x][y] == 空桝; x += d.dx, y += d.dy) 道[m++] = x * 10 + y;
        if (!盤内(x, y)) continue;
        const int c = 局.盤面[x][y];
        if (!自駒(-側, c) || 移動チェック(局, x, y, kx, ky, c) != 定数_ON) continue;
        王手 = true;
        印[x * 10 + y] = true;
        for (int i = 0; i < m; ++i) 印[道[i]] = true;
    }
    for (const 方向& d : 桂跳) {
        const int x = kx + d.dx;
        const int y = ky + d.dy;
        if (!盤内(x, y)) continue;
        const int c = 局.盤面[x][y];
        if (自駒(-側, c) && 移動チェック(局, x, y, kx, ky, c) == 定数_ON) {
            王手 = true;
            印[x * 10 + y] = true;
        }
    }
    if (!王手) return 安全で選ぶ(出力, 0, 全手生成(出力, 上限));

    // The king's moves first: the likeliest defences.
    int n = 0;
    盤手生成(王, 駒(王), 出力, n, 上限, false);
    n = 安全で選ぶ(出力, 0, n);
    if (足りる数 > 0 && n >= 足りる数) return n;
    // Then the other pieces that reach a marked square: found by looking out from it.
    for (int 桝 = 11; 桝 < 100; ++桝) {
        if (!印[桝]) continue;
        const int tx = 桝 / 10;
        const int ty = 桝 % 10;
        const int from = n;
        auto 試す = [&](int x, int y) {
            const int c = 局.盤面[x][y];
            if (自駒(側, c) && x * 10 + y != 王 && 移動チェック(局, x, y, tx, ty, c) == 定数_ON)
                形を選んで加える(x * 10 + y, 桝, c, 出力, n, 上限);
        };
        for (const 方向& d : 周囲) {
            int x = tx + d.dx;
            int y = ty + d.dy;
            while (盤内(x, y) && 局.盤面[x][y] == 空桝) x += d.dx, y += d.dy;
            if (盤内(x, y)) 試す(x, y);
        }
        for (const 方向& d : 桂跳)
            if (盤内(tx + d.dx, ty + d.dy)) 試す(tx + d.dx, ty + d.dy);
        n = 安全で選ぶ(出力, from, n);
        if (足りる数 > 0 && n >= 足りる数) return n;
    }
    const bool COM側 = 側 > 0;
    const int* 持駒 = COM側 ? 局.持駒COM : 局.持駒MAN;
    const int 元X = COM側 ? 持駒列_COM : 持駒列_MAN;
    const int from = n;
    for (int 桝 = 11; 桝 < 100; ++桝) {
        if (!印[桝] || 局.盤面[桝 / 10][桝 % 10] != 空桝) continue;
        for (int k = 1; k <= 7; ++k) {
            if (持駒[k] <= 0) continue;
            const int 打駒 = COM側 ? 打駒_COM[k] : 打駒_MAN[k];
            if (移動チェック(局, 元X, COM側 ? k : k + 2, 桝 / 10, 桝 % 10, 打駒) != 定数_ON)
                continue;
            if (n < 上限) 出力[n++] = 手を作る(打ち元 + k, 桝, 打駒);
        }
    }
    return 安全で選ぶ(出力, from, n);
}

bool 探索盤::利いている(int 側, int 桝) const {
    const int kx = 桝 / 10;
    const int ky = 桝 % 10;
    for (const 方向& d : 周囲) {
        int x = kx + d.dx;
        int y = ky + d.dy;
        while (盤内(x, y)) {
            const int c = 局.盤面[x][y];
            if (c != 空桝) {
                if (自駒(側, c) && 移動チェック(局, x, y, kx, ky, c) == 定数_ON) return true;
                break;
            }
            x += d.dx;
            y += d.dy;
        }
    }
    for (const 方向& d : 桂跳) {
        const int x = kx + d.dx;
        const int y = ky + d.dy;
        if (!盤内(x, y)) continue;
        const int c = 局.盤面[x][y];
        if (自駒(側, c) && 移動チェック(局, x, y, kx, ky, c) == 定数_ON) return true;
    }
    return false;
}

bool 探索盤::指せる手(手符号 m) {
    const int 元 = 手の元(m);
    const int 先 = 手の先(m);
    const int tx = 先 / 10;
    const int ty = 先 % 10;
    if (!盤内(tx, ty)) return false;
    const int 置く = 手の駒(m);
    if (元 >= 打ち元) {
        const int k = 元 - 打ち元;
        if (k < 1 || k > 7) return false;
        const bool COM側 = 手番 > 0;
        if ((COM側 ? 局.持駒COM[k] : 局.持駒MAN[k]) <= 0) return false;
        if (置く != (COM側 ? 打駒_COM[k] : 打駒_MAN[k])) return false;
        return 移動チェック(局, COM側 ? 持駒列_COM : 持駒列_MAN, COM側 ? k : k + 2, tx, ty, 置く) ==
               定数_ON;
    }
    const int x = 元 / 10;
    const int y = 元 % 10;
    if (!盤内(x, y)) return false;
    const int c = 局.盤面[x][y];
    if (!自駒(手番, c)) return false;
    if (移動チェック(局, x, y, tx, ty, c) != 定数_ON) return false;
    return 範囲の形か(範囲.側(手番 > 0), x, y, tx, ty, c, 置く);
}

void 探索盤::指す(手符号 m, 復元情報& 復元) {
    復元.鍵 = 鍵;
    復元.駒得 = 駒得;
    const auto [側, 持駒, 総数, 元, 先, tx, ty, 置く] = 分ける(局, 手番, m);
    bool 歩あり = 歩か(置く);
    if (元 >= 打ち元) {
        const int k = 元 - 打ち元;
        鍵 ^= 局面鍵.持駒[側][k][持駒鍵番号(持駒[k])];
        --持駒[k];
        鍵 ^= 局面鍵.持駒[側][k][持駒鍵番号(持駒[k])];
        --総数;
        駒得 -= 表_.持駒[側][k];
        復元.取得駒 = 空桝;
        復元.元駒 = 置く;
    } else {
        const int x = 元 / 10;
        const int y = 元 % 10;
        const int c = 局.盤面[x][y];
        const int t = 局.盤面[tx][ty];
        復元.取得駒 = t;
        復元.元駒 = c;
        if (t != 空桝) {
            const int ti = 駒番号(t);
            鍵 ^= 局面鍵.駒[ti][先];
            駒得 -= 表_.盤[ti][先];
            const int k = 持駒番号(t);
            if (k != 0) {
                鍵 ^= 局面鍵.持駒[側][k][持駒鍵番号(持駒[k])];
                ++持駒[k];
                鍵 ^= 局面鍵.持駒[側][k][持駒鍵番号(持駒[k])];
                ++総数;
                駒得 += 表_.持駒[側][k];
            }
        }
        const int ci = 駒番号(c);
        鍵 ^= 局面鍵.駒[ci][元];
        駒得 -= 表_.盤[ci][元];
        局.盤面[x][y] = 空桝;
        if (c == 駒_MAN王 || c == 駒_COM王) 王桝[側] = 先;
        歩あり = 歩あり || 歩か(c) || 歩か(t);
        if (歩あり) 二歩列更新(x);
    }
    局.盤面[tx][ty] = 置く;
    const int pi = 駒番号(置く);
    鍵 ^= 局面鍵.駒[pi][先];
    駒得 += 表_.盤[pi][先];
    if (歩あり) 二歩列更新(tx);
    鍵 ^= 局面鍵.手番;
    手番 = -手番;
}

void 探索盤::戻す(手符号 m, const 復元情報& 復元) {
    手番 = -手番;
    const auto [側, 持駒, 総数, 元, 先, tx, ty, 置く] = 分ける(局, 手番, m);
    bool 歩あり = 歩か(置く);
    if (元 >= 打ち元) {
        ++持駒[元 - 打ち元];
        ++総数;
        局.盤面[tx][ty] = 空桝;
        if (歩あり) 二歩列更新(tx);
    } else {
        const int x = 元 / 10;
        const int y = 元 % 10;
        局.盤面[x][y] = 復元.元駒;
        const int t = 復元.取得駒;
        局.盤面[tx][ty] = t;
        const int k = 持駒番号(t);
        if (t != 空桝 && k != 0) {
            --持駒[k];
            --総数;
        }
        if (復元.元駒 == 駒_MAN王 || 復元.元駒 == 駒_COM王) 王桝[側] = 元;
        歩あり = 歩あり || 歩か(t) || 歩か(復元.元駒);
        if (歩あり) {
            二歩列更新(x);
            二歩列更新(tx);
        }
    }
    鍵 = 復元.鍵;
    駒得 = 復元.駒得;
}

void 探索盤::手番交代() {
    鍵 ^= 局面鍵.手番;
    手番 = -手番;
}

}  // namespace kiryuza
