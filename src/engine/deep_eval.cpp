#include "engine/deep_eval.h"

#include <algorithm>

namespace kiryuza {

namespace {

// Kind indices in the order of 駒種の値.
enum 種 { 歩, と, 香, 香成, 桂, 桂成, 銀, 銀成, 金, 角, 角成, 飛, 飛成, 王 };

// Value of a piece standing on the board, by kind. The promoted forms move as gold, horse and
// dragon; the plain forms are what a piece may fall back to in the far zone.
constexpr int 盤価値[駒種数] = {100, 560, 320, 560,  360, 560,  480,
                                570, 600, 780, 1050, 880, 1250, 0};

// Value of a piece in hand, by hand index 1..7. It comes back in its promoted form, anywhere,
// but does nothing until it is dropped: it counts for much less than the same piece placed, so
// that the player puts its pieces to work.
constexpr int 持駒価値[8] = {0, 300, 300, 300, 310, 340, 780, 980};

// Placement by rows advanced from the owner's back row (0..8), for the gold movers and the king.
constexpr int 金前進[9] = {0, 2, 4, 8, 12, 16, 18, 18, 16};
constexpr int 王段[9] = {0, -10, -30, -60, -90, -110, -120, -130, -140};

constexpr bool 金動き(int 種類) {
    return 種類 == と || 種類 == 香成 || 種類 == 桂成 || 種類 == 銀成 || 種類 == 金;
}

// Placement of a kind on (x, y) for the upper side, whose back row is row 1.
int 配置(int 種類, int x, int y) {
    const int 段 = y - 1;
    const int 端 = x < 5 ? 5 - x : x - 5;
    if (金動き(種類)) return 金前進[段];
    if (種類 == 王) return 王段[段];
    if (種類 == 角成 || 種類 == 飛成) return -3 * 端;
    return 0;
}

// Weight of an enemy piece near a king, by kind.
constexpr int 攻め重み[駒種数] = {1, 2, 1, 2, 1, 2, 2, 2, 2, 2, 3, 2, 3, 0};
// Weight of a piece in the opponent's hand: where it lands next to the king it attacks.
constexpr int 持駒脅威[8] = {0, 2, 2, 2, 2, 2, 3, 4};
constexpr int 持駒脅威上限 = 16;
// Danger = attackers x 攻め係数 + hand threat x (1 + free squares next to the king) - guards x
// 守り係数; the king's side loses 3/8 of its square, up to 危険上限.
constexpr int 攻め係数 = 6;
constexpr int 守り係数 = 3;
constexpr int 危険上限 = 3000;

// The directions of a sliding piece's lines.
struct 線形 {
    int 数;
    int d[4][2];
};
constexpr 線形 斜線 = {4, {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}}};
constexpr 線形 直線 = {4, {{0, -1}, {0, 1}, {-1, 0}, {1, 0}}};

// Squares a sliding piece reaches along its lines: empty squares and the first piece met.
int 利き数(const 局面& 局, int x, int y, const 線形& 線) {
    int n = 0;
    for (int i = 0; i < 線.数; ++i) {
        int tx = x + 線.d[i][0];
        int ty = y + 線.d[i][1];
        while (tx >= 1 && tx <= 9 && ty >= 1 && ty <= 9) {
            ++n;
            if (局.盤面[tx][ty] != 空桝) break;
            tx += 線.d[i][0];
            ty += 線.d[i][1];
        }
    }
    return n;
}

constexpr int 線利き点 = 3;  // per square a bishop or rook reaches
constexpr int 手番点 = 20;   // for having the move
// The lead in material from which the danger to the other king counts for more, and the
// further lead at which it counts double.
constexpr int 押し始め = 500;
constexpr int 押し幅 = 1500;
// What a piece of the side far ahead is worth for standing close to the other king, by the
// king's distance (the larger of the two steps); counted in full at a lead of 押し始め + 押し幅.
// Without it the lead stays where it is: a king walled in by its own pieces shows no danger
// until attackers stand next to it, farther than a search sees.
constexpr int 寄せ点[9] = {0, 70, 50, 30, 10, 0, 0, 0, 0};

}  // namespace

// Fills the material table: each kind on each square for the upper side, the same turned round
// for the lower side, and the hands.
深読み評価::深読み評価() {
    for (int i = 0; i < 駒種数; ++i) {
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) {
                const int v = 盤価値[i] + 配置(i, x, y);
                表.盤[i + 駒種数][x * 10 + y] = v;        // upper side on (x, y)
                表.盤[i][(10 - x) * 10 + (10 - y)] = -v;  // lower side, turned round
            }
        const int k = 持駒番号(駒種の値[i]);
        取得価値_[i] = 盤価値[i] + (k ? 持駒価値[k] : 0);
    }
    for (int k = 1; k <= 7; ++k) {
        表.持駒[1][k] = 持駒価値[k];
        表.持駒[0][k] = -持駒価値[k];
    }
}

// How much danger the king of `側` is in: enemy pieces close by and enemy pieces in hand that
// could land on the free squares around it, against its own guards.
int 深読み評価::王の危険(const 探索盤& 盤, int 側, int 押し) const {
    const int 王 = 盤.王桝[側番号(側)];
    if (王 == 0) return 0;
    const int kx = 王 / 10;
    const int ky = 王 % 10;
    const auto& 局 = 盤.局;
    int 攻 = 0;
    int 守 = 0;
    int 空き = 0;
    for (int dx = -2; dx <= 2; ++dx)
        for (int dy = -2; dy <= 2; ++dy) {
            if (dx == 0 && dy == 0) continue;
            const int x = kx + dx;
            const int y = ky + dy;
            const bool 隣 = dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
            if (x < 1 || x > 9 || y < 1 || y > 9) {
                if (隣) ++守;
                continue;
            }
            const int c = 局.盤面[x][y];
            if (c == 空桝) {
                if (隣) ++空き;
                continue;
            }
            const bool 自 = 側 > 0 ? COM駒(c) : MAN駒(c);
            const int 種類 = 駒番号(c) % 駒種数;
            if (自) {
                if (隣) 守 += 金動き(種類) ? 2 : 1;
            } else {
                攻 += 攻め重み[種類] * (隣 ? 2 : 1);
            }
        }
    const int* 敵持駒 = 側 > 0 ? 局.持駒MAN : 局.持駒COM;
    int 持 = 0;
    for (int k = 1; k <= 7; ++k) 持 += 持駒脅威[k] * 敵持駒[k];
    if (持 > 持駒脅威上限) 持 = 持駒脅威上限;
    // Pressed by a side far ahead, the king's own guards count for less (half at the most):
    // the side ahead can afford to give pieces for them.
    const int 守り = 守 * 守り係数 * (2 * 押し幅 - 押し) / (2 * 押し幅);
    const int 危険 = 攻 * 攻め係数 + 持 * (1 + 空き) - 守り;
    if (危険 <= 0) return 0;
    const int 値 = std::min(危険 * 危険 * 3 / 8, 危険上限);
    return 値 + 値 * 押し / 押し幅;
}

// Material and placement as the board keeps them, the reach of the sliding pieces and the
// danger to both kings, turned to the side to move.
int 深読み評価::評価(const 探索盤& 盤) const {
    const auto& 局 = 盤.局;
    const int 差 = 盤.駒得;
    int 点 = 差;
    // A side far ahead in material presses the other king (的): 押し grows with the lead from 0
    // at 押し始め to 押し幅, so that the lead is turned into a mate instead of being kept.
    const int 押す側 = 差 > 押し始め ? 1 : -差 > 押し始め ? -1 : 0;
    const int 的 = 押す側 ? 盤.王桝[側番号(-押す側)] : 0;
    const int 押し = 的 ? std::min(押す側 * 差 - 押し始め, 押し幅) : 0;
    int 寄せ = 0;
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            const int c = 局.盤面[x][y];
            const int m = c < 0 ? -c : c;
            if (的 && c != 空桝 && (c > 0) == (押す側 > 0) && m != 駒_COM王)
                寄せ += 寄せ点[桝からの距離(的, x, y)];
            if (m < 駒_COM角) continue;
            int n = 0;
            if (m == 駒_COM角 || m == 駒_COM角成) n = 利き数(局, x, y, 斜線);
            if (m == 駒_COM飛 || m == 駒_COM飛成) n = 利き数(局, x, y, 直線);
            点 += (c > 0 ? 1 : -1) * n * 線利き点;
        }
    // Pieces near the pressed king count, and the danger to it counts for more.
    点 += 押す側 * 寄せ * 押し / 押し幅;
    点 += 王の危険(盤, -1, 押す側 > 0 ? 押し : 0) - 王の危険(盤, 1, 押す側 < 0 ? 押し : 0);
    return 盤.手番 * 点 + 手番点;
}

}  // namespace kiryuza
