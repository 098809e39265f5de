// The influence survey: for every square, how many pieces of each side bear on it, the cheapest
// attacker and defender, and the squares taking part in a check on either king.
#include <cstring>
#include <initializer_list>

#include "engine/engine.h"

namespace kiryuza {

namespace {

// What a COM piece records where it bears (the MAN side always records everything).
enum : unsigned {
    守 = 1u,         // defence code in 守駒_COM
    守位置 = 2u,     // ... with its position
    攻 = 4u,         // attack code in 攻駒_COM
    攻位置 = 8u,     // ... with its position
    王手試験 = 16u,  // marks its square in 王手_COM when it bears on the MAN king
};

constexpr unsigned 線記録 = 守 | 守位置 | 攻 | 攻位置 | 王手試験;

inline bool 盤内(int x, int y) {
    return x >= 1 && x <= 9 && y >= 1 && y <= 9;
}

// A 10x10 table holding v on 1..9 x 1..9 and 0 on the unused index 0.
struct 初期表 {
    盤表 値{};
    explicit constexpr 初期表(int v) {
        for (int x = 1; x <= 9; ++x)
            for (int y = 1; y <= 9; ++y) 値[x][y] = v;
    }
};
constexpr 初期表 表999(999);
constexpr 初期表 表負999(-999);

}  // namespace

// MAN bearing of the piece at O on T, recording code c.
inline void 思考エンジン::MAN勢力(int ox, int oy, int tx, int ty, int c, bool 王手有) {
    図.勢力数_MAN[tx][ty] += 1;
    const int t = 局.盤面[tx][ty];
    if (t < 0) {
        if (図.守駒_MAN[tx][ty] > c) 図.守駒_MAN[tx][ty] = c;
    } else if (t > 0) {
        if (図.攻駒_MAN[tx][ty] < c) {
            図.攻駒_MAN[tx][ty] = c;
            図.攻駒X_MAN[tx][ty] = ox;
            図.攻駒Y_MAN[tx][ty] = oy;
        }
        if (王手有 && t == 駒_COM王) 図.王手_MAN[ox][oy] = 9;
    }
}

// COM bearing of the piece at O on T, recording code c, with what the kind records.
template <unsigned 記録>
inline void 思考エンジン::COM勢力(int ox, int oy, int tx, int ty, int c) {
    図.勢力数_COM[tx][ty] += 1;
    const int t = 局.盤面[tx][ty];
    if (t >= 駒_COM歩) {
        if ((記録 & 守) && 図.守駒_COM[tx][ty] > c) {
            図.守駒_COM[tx][ty] = c;
            if (記録 & 守位置) {
                図.守駒X_COM[tx][ty] = ox;
                図.守駒Y_COM[tx][ty] = oy;
            }
        }
    } else if (t <= 駒_MAN歩) {
        if ((記録 & 攻) && 図.攻駒_COM[tx][ty] > c) {
            図.攻駒_COM[tx][ty] = c;
            if (記録 & 攻位置) {
                図.攻駒X_COM[tx][ty] = ox;
                図.攻駒Y_COM[tx][ty] = oy;
            }
        }
        if ((記録 & 王手試験) && t == 駒_MAN王) 図.王手_COM[ox][oy] = 9;
    }
}

// A sliding line from O in direction (dx, dy): every square up to and including the first
// occupied one, passing through the opposing king and marking the squares between.
void 思考エンジン::線勢力(int 記録駒, int ox, int oy, int dx, int dy) {
    const bool MAN側 = 記録駒 < 0;
    const int 敵王 = MAN側 ? 駒_COM王 : 駒_MAN王;
    int x = ox + dx;
    int y = oy + dy;
    while (盤内(x, y)) {
        if (MAN側) {
            MAN勢力(ox, oy, x, y, 記録駒, true);
        } else {
            COM勢力<線記録>(ox, oy, x, y, 記録駒);
        }
        const int t = 局.盤面[x][y];
        if (t == 敵王) {
            盤表& 王手 = MAN側 ? 図.王手_MAN : 図.王手_COM;
            for (int bx = ox + dx, by = oy + dy; bx != x || by != y; bx += dx, by += dy) {
                王手[bx][by] = 1;
            }
            王手[ox][oy] = 9;
        } else if (t != 空桝) {
            break;
        }
        x += dx;
        y += dy;
    }
}

void 思考エンジン::勢力確定上直進(int 駒種類, int 入力X, int 入力Y) {
    線勢力(駒種類, 入力X, 入力Y, 0, -1);
}

void 思考エンジン::勢力確定下直進(int 駒種類, int 入力X, int 入力Y) {
    線勢力(駒種類, 入力X, 入力Y, 0, 1);
}

void 思考エンジン::勢力確定右直進(int 駒種類, int 入力X, int 入力Y) {
    線勢力(駒種類, 入力X, 入力Y, 1, 0);
}

void 思考エンジン::勢力確定左直進(int 駒種類, int 入力X, int 入力Y) {
    線勢力(駒種類, 入力X, 入力Y, -1, 0);
}

void 思考エンジン::勢力確定自角(int 入力X, int 入力Y) {
    線勢力(駒_MAN角, 入力X, 入力Y, -1, -1);
    線勢力(駒_MAN角, 入力X, 入力Y, 1, -1);
    線勢力(駒_MAN角, 入力X, 入力Y, -1, 1);
    線勢力(駒_MAN角, 入力X, 入力Y, 1, 1);
}

void 思考エンジン::勢力確定敵角(int 駒種類, int 入力X, int 入力Y) {
    線勢力(駒種類, 入力X, 入力Y, -1, -1);
    線勢力(駒種類, 入力X, 入力Y, 1, -1);
    線勢力(駒種類, 入力X, 入力Y, -1, 1);
    線勢力(駒種類, 入力X, 入力Y, 1, 1);
}

// The six squares of a MAN gold-like mover, each recorded with its own code.
void 思考エンジン::勢力確定自金(int 駒種類, int 入力X, int 入力Y) {
    const int X = 入力X;
    const int Y = 入力Y;
    if (Y > 1) {
        MAN勢力(X, Y, X, Y - 1, 駒種類, true);
        if (X > 1) MAN勢力(X, Y, X - 1, Y - 1, 駒種類, true);
        if (X < 9) MAN勢力(X, Y, X + 1, Y - 1, 駒種類, true);
    }
    if (Y < 9) MAN勢力(X, Y, X, Y + 1, 駒種類, true);
    if (X > 1) MAN勢力(X, Y, X - 1, Y, 駒種類, true);
    if (X < 9) MAN勢力(X, Y, X + 1, Y, 駒種類, true);
}

// The six squares of a COM gold-like mover: every kind defends as a gold, without position.
void 思考エンジン::勢力確定敵金(int 入力X, int 入力Y) {
    constexpr unsigned 金記録 = 守 | 王手試験;
    const int X = 入力X;
    const int Y = 入力Y;
    if (Y > 1) COM勢力<金記録>(X, Y, X, Y - 1, 駒_COM金);
    if (Y < 9) {
        COM勢力<金記録>(X, Y, X, Y + 1, 駒_COM金);
        if (X > 1) COM勢力<金記録>(X, Y, X - 1, Y + 1, 駒_COM金);
        if (X < 9) COM勢力<金記録>(X, Y, X + 1, Y + 1, 駒_COM金);
    }
    if (X > 1) COM勢力<金記録>(X, Y, X - 1, Y, 駒_COM金);
    if (X < 9) COM勢力<金記録>(X, Y, X + 1, Y, 駒_COM金);
}

void 思考エンジン::勢力調査() {
    constexpr std::size_t 表大きさ = sizeof(盤表);
    std::memset(図.勢力数_MAN, 0, 表大きさ);
    std::memset(図.勢力数_COM, 0, 表大きさ);
    std::memset(図.王手_MAN, 0, 表大きさ);
    std::memset(図.王手_COM, 0, 表大きさ);
    std::memset(図.攻駒X_MAN, 0, 表大きさ);
    std::memset(図.攻駒Y_MAN, 0, 表大きさ);
    std::memcpy(図.攻駒_MAN, 表負999.値, 表大きさ);
    std::memcpy(図.守駒_MAN, 表999.値, 表大きさ);
    std::memcpy(図.守駒_COM, 表999.値, 表大きさ);
    std::memcpy(図.攻駒_COM, 表999.値, 表大きさ);

    for (int X = 1; X <= 9; ++X) {
        for (int Y = 1; Y <= 9; ++Y) {
            const int c = 局.盤面[X][Y];
            switch (c) {
                case 空桝:
                    break;

                case 駒_MAN歩:
                    if (Y > 1) MAN勢力(X, Y, X, Y - 1, c, true);
                    break;
                case 駒_COM歩:
                    if (Y < 9) COM勢力<守 | 攻 | 王手試験>(X, Y, X, Y + 1, c);
                    break;

                case 駒_MANと:
                case 駒_MAN香成:
                case 駒_MAN桂成:
                case 駒_MAN銀成:
                case 駒_MAN金:
                    勢力確定自金(c, X, Y);
                    break;
                case 駒_COMと:
                case 駒_COM香成:
                case 駒_COM桂成:
                case 駒_COM銀成:
                case 駒_COM金:
                    勢力確定敵金(X, Y);
                    break;

                case 駒_MAN香:
                    勢力確定上直進(c, X, Y);
                    break;
                case 駒_COM香:
                    勢力確定下直進(c, X, Y);
                    break;

                case 駒_MAN桂:
                    if (Y >= 3) {
                        for (int nx : {X - 1, X + 1}) {
                            if (nx < 1 || nx > 9) continue;
                            MAN勢力(X, Y, nx, Y - 2, c, true);
                            if (局.盤面[nx][Y - 2] == 駒_COM王) 図.王手_MAN[nx][Y - 2] = 9;
                        }
                    }
                    break;
                case 駒_COM桂:
                    if (Y <= 7) {
                        for (int nx : {X - 1, X + 1}) {
                            if (nx < 1 || nx > 9) continue;
                            COM勢力<守 | 守位置 | 王手試験>(X, Y, nx, Y + 2, c);
                            if (局.盤面[nx][Y + 2] == 駒_MAN王) 図.王手_COM[nx][Y + 2] = 9;
                        }
                    }
                    break;

                case 駒_MAN銀:
                    for (int nx = X - 1; nx <= X + 1; ++nx) {
                        if (nx < 1 || nx > 9) continue;
                        if (Y > 1) MAN勢力(X, Y, nx, Y - 1, c, true);
                        if (Y < 9 && nx != X) MAN勢力(X, Y, nx, Y + 1, c, true);
                    }
                    break;
                case 駒_COM銀:
                    for (int nx = X - 1; nx <= X + 1; ++nx) {
                        if (nx < 1 || nx > 9) continue;
                        if (Y < 9) COM勢力<守 | 守位置 | 王手試験>(X, Y, nx, Y + 1, c);
                        if (Y > 1 && nx != X) COM勢力<守 | 守位置 | 王手試験>(X, Y, nx, Y - 1, c);
                    }
                    break;

                case 駒_MAN角:
                    勢力確定自角(X, Y);
                    break;
                case 駒_COM角:
                    勢力確定敵角(c, X, Y);
                    break;

                case 駒_MAN角成:
                    if (Y > 1) MAN勢力(X, Y, X, Y - 1, c, true);
                    if (Y < 9) MAN勢力(X, Y, X, Y + 1, c, true);
                    if (X > 1) MAN勢力(X, Y, X - 1, Y, c, true);
                    if (X < 9) MAN勢力(X, Y, X + 1, Y, c, true);
                    勢力確定自角(X, Y);
                    break;
                case 駒_COM角成:
                    if (Y > 1) COM勢力<王手試験>(X, Y, X, Y - 1, c);
                    if (Y < 9) COM勢力<王手試験>(X, Y, X, Y + 1, c);
                    if (X > 1) COM勢力<王手試験>(X, Y, X - 1, Y, c);
                    if (X < 9) COM勢力<王手試験>(X, Y, X + 1, Y, c);
                    勢力確定敵角(c, X, Y);
                    break;

                case 駒_MAN飛:
                case 駒_COM飛:
                case 駒_MAN飛成:
                case 駒_COM飛成:
                    勢力確定下直進(c, X, Y);
                    勢力確定上直進(c, X, Y);
                    勢力確定右直進(c, X, Y);
                    勢力確定左直進(c, X, Y);
                    if (c == 駒_MAN飛成 || c == 駒_COM飛成) {
                        for (int nx : {X - 1, X + 1}) {
                            for (int ny : {Y - 1, Y + 1}) {
                                if (!盤内(nx, ny)) continue;
                                if (c < 0) {
                                    MAN勢力(X, Y, nx, ny, c, true);
                                } else {
                                    COM勢力<線記録>(X, Y, nx, ny, c);
                                }
                            }
                        }
                    }
                    break;

                case 駒_MAN王:
                    局.王位置X_MAN = X;
                    局.王位置Y_MAN = Y;
                    for (int nx = X - 1; nx <= X + 1; ++nx)
                        for (int ny = Y - 1; ny <= Y + 1; ++ny)
                            if ((nx != X || ny != Y) && 盤内(nx, ny)) {
                                MAN勢力(X, Y, nx, ny, c, false);
                            }
                    break;
                case 駒_COM王:
                    局.王位置X_COM = X;
                    局.王位置Y_COM = Y;
                    for (int nx = X - 1; nx <= X + 1; ++nx)
                        for (int ny = Y - 1; ny <= Y + 1; ++ny)
                            if ((nx != X || ny != Y) && 盤内(nx, ny)) {
                                COM勢力<守>(X, Y, nx, ny, c);
                            }
                    break;

                default:
                    break;  // the promoted-gold codes and anything else bear on nothing
            }
        }
    }
}

}  // namespace kiryuza
