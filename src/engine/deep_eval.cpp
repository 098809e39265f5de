#include "engine/deep_eval.h"

#include <algorithm>
#include <cstdint>

namespace kiryuza {

namespace {

// Kind indices in the order of 駒種の値.
enum 種 { 歩, と, 香, 香成, 桂, 桂成, 銀, 銀成, 金, 角, 角成, 飛, 飛成, 王 };

constexpr bool 金動き(int 種類) {
    return 種類 == と || 種類 == 香成 || 種類 == 桂成 || 種類 == 銀成 || 種類 == 金;
}

// Placement of a kind on (x, y) for the upper side, whose back row is row 1.
int 配置(const 評価係数& 係, int 種類, int x, int y) {
    const int 段 = y - 1;
    const int 端 = x < 5 ? 5 - x : x - 5;
    if (金動き(種類)) return 係.金前進[段];
    if (種類 == 王) return 係.王段[段];
    if (種類 == 角成 || 種類 == 飛成) return 係.大駒端 * 端;
    return 0;
}

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
深読み評価::深読み評価(const 評価係数& 係数) : 係_(係数) {
    for (int i = 0; i < 駒種数; ++i) {
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) {
                const int v = 係_.盤価値[i] + 配置(係_, i, x, y);
                表.盤[i + 駒種数][x * 10 + y] = v;        // upper side on (x, y)
                表.盤[i][(10 - x) * 10 + (10 - y)] = -v;  // lower side, turned round
            }
        const int k = 持駒番号(駒種の値[i]);
        取得価値_[i] = 係_.盤価値[i] + (k ? 係_.持駒価値[k] : 0);
    }
    for (int k = 1; k <= 7; ++k) {
        表.持駒[1][k] = 係_.持駒価値[k];
        表.持駒[0][k] = -係_.持駒価値[k];
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
                if (隣) 守 += 金動き(種類) ? 係_.金守り : 1;
            } else {
                攻 += 係_.攻め重み[種類] * (隣 ? 2 : 1);
            }
        }
    const int* 敵持駒 = 側 > 0 ? 局.持駒MAN : 局.持駒COM;
    int 持 = 0;
    for (int k = 1; k <= 7; ++k) 持 += 係_.持駒脅威[k] * 敵持駒[k];
    if (持 > 係_.持駒脅威上限) 持 = 係_.持駒脅威上限;
    // Pressed by a side far ahead, the king's own guards count for less (half at the most):
    // the side ahead can afford to give pieces for them.
    const int 守り = 守 * 係_.守り係数 * (2 * 押し幅 - 押し) / (2 * 押し幅);
    const int 危険 = 攻 * 係_.攻め係数 + 持 * (1 + 空き) - 守り;
    if (危険 <= 0) return 0;
    // Squared in 64 bits and kept within 0..危険上限, whatever numbers a tuner tries: a
    // negative weight would otherwise make a danger of millions that overflows below.
    const std::int64_t 二乗 = std::int64_t{危険} * 危険 * 係_.危険倍率 / 8;
    const int 値 =
        static_cast<int>(std::max<std::int64_t>(0, std::min<std::int64_t>(二乗, 係_.危険上限)));
    return 値 + 値 * 押し / 押し幅;
}

// Material and placement as the board keeps them, the pieces' distances from the kings, the
// reach of the sliding pieces and the danger to both kings, turned to the side to move.
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
            if (c == 空桝 || m == 駒_COM王) continue;
            // A piece's distance from the other king counts for attack, and for the press when
            // its side is the one pressing (whose 的 that king is).
            const int 側 = c > 0 ? 1 : -1;
            if (const int 敵王 = 盤.王桝[側番号(-側)]) {
                const int d = 桝からの距離(敵王, x, y);
                点 += 側 * 係_.攻め近[d];
                if (側 == 押す側) 寄せ += 寄せ点[d];
            }
            if (const int 自王 = 盤.王桝[側番号(側)])
                点 += 側 * 係_.守り近[桝からの距離(自王, x, y)];
            if (m < 駒_COM角) continue;
            int n = 0;
            if (m == 駒_COM角 || m == 駒_COM角成) n = 利き数(局, x, y, 斜線);
            if (m == 駒_COM飛 || m == 駒_COM飛成) n = 利き数(局, x, y, 直線);
            点 += 側 * n * 係_.線利き点;
        }
    // Pieces near the pressed king count, and the danger to it counts for more.
    点 += 押す側 * 寄せ * 押し / 押し幅;
    点 += 王の危険(盤, -1, 押す側 > 0 ? 押し : 0) - 王の危険(盤, 1, 押す側 < 0 ? 押し : 0);
    return 盤.手番 * 点 + 係_.手番点;
}

}  // namespace kiryuza
