// Piece codes, turn values and the other named constants of the game.
// The sign of a piece code is its owner (negative = MAN, the lower side; positive = COM, the
// upper side); the magnitude is the kind and form, and doubles as the piece's value.
#pragma once

namespace kiryuza {

inline constexpr int 定数_ON = 1;
inline constexpr int 定数_OFF = 0;
inline constexpr int 盤桝数 = 9;
inline constexpr int 空桝 = 0;

// Turn values.
inline constexpr int 手番_先手 = 1;
inline constexpr int 手番_後手 = -1;
inline constexpr int 手番_なし = 0;

// Game modes.
inline constexpr int 対局モード_人間 = 0;
inline constexpr int 対局モード_COM = 1;

// MAN (lower side) pieces.
inline constexpr int 駒_MAN歩 = -10;
inline constexpr int 駒_MANと = -11;
inline constexpr int 駒_MAN香 = -20;
inline constexpr int 駒_MAN香成 = -21;
inline constexpr int 駒_MAN桂 = -30;
inline constexpr int 駒_MAN桂成 = -31;
inline constexpr int 駒_MAN銀 = -100;
inline constexpr int 駒_MAN銀成 = -101;
inline constexpr int 駒_MAN金 = -110;
inline constexpr int 駒_MAN金成 = -111;
inline constexpr int 駒_MAN角 = -800;
inline constexpr int 駒_MAN角成 = -801;
inline constexpr int 駒_MAN飛 = -900;
inline constexpr int 駒_MAN飛成 = -901;
inline constexpr int 駒_MAN王 = -950;

// COM (upper side) pieces.
inline constexpr int 駒_COM歩 = 10;
inline constexpr int 駒_COMと = 11;
inline constexpr int 駒_COM香 = 20;
inline constexpr int 駒_COM香成 = 21;
inline constexpr int 駒_COM桂 = 30;
inline constexpr int 駒_COM桂成 = 31;
inline constexpr int 駒_COM銀 = 100;
inline constexpr int 駒_COM銀成 = 101;
inline constexpr int 駒_COM金 = 110;
inline constexpr int 駒_COM金成 = 111;
inline constexpr int 駒_COM角 = 800;
inline constexpr int 駒_COM角成 = 801;
inline constexpr int 駒_COM飛 = 900;
inline constexpr int 駒_COM飛成 = 901;
inline constexpr int 駒_COM王 = 950;

// Drop origins: a drop from the MAN hand has origin column 11 (origin row = hand index + 2),
// a drop from the COM hand origin column -1 (origin row = hand index).
inline constexpr int 持駒列_MAN = 11;
inline constexpr int 持駒列_COM = -1;

// Number of history entries (0..500).
inline constexpr int 棋譜最大数 = 501;

// Palette indices of the classic 16-colour palette.
inline constexpr int 色_黒 = 0;
inline constexpr int 色_緑 = 2;
inline constexpr int 色_選択枠 = 12;
inline constexpr int 色_黄 = 14;
inline constexpr int 色_ヒント = 11;  // light cyan: the move a hint suggests
inline constexpr int 色_白 = 15;
inline constexpr int 色_移動結果 = 色_白;
inline constexpr int 色_背景 = 色_黒;
inline constexpr int 色_桝線 = 色_背景;

inline constexpr bool MAN駒(int code) {
    return code <= 駒_MAN歩;
}
inline constexpr bool COM駒(int code) {
    return code >= 駒_COM歩;
}

// The kinds of piece, by hand index 1..7 (歩 香 桂 銀 金 角 飛), and the king: the magnitudes of
// the plain and the promoted code (gold has one form), the names shown for them and how many
// of the kind a set holds. Every
// other fact about a kind (its hand index, its drop code, its picture in hand, its name, whether
// a code may stand on the board) is read from this one table.
struct 駒の種類 {
    int 元;
    int 成;
    const char* 元の名;
    const char* 成の名;
    int 枚数;
};
inline constexpr 駒の種類 駒種類表[9] = {
    {0, 0, "", "", 0},           {10, 11, "歩", "と", 18},    {20, 21, "香", "香成", 4},
    {30, 31, "桂", "桂成", 4},   {100, 101, "銀", "銀成", 4}, {110, 110, "金", "金", 4},
    {800, 801, "角", "角成", 2}, {900, 901, "飛", "飛成", 2}, {950, 950, "王", "王", 2},
};
inline constexpr int 王の種類 = 8;

// The magnitude of a code, for codes in the range of pieces; -1 for anything further out.
constexpr int 駒の大きさ(int code) {
    if (code < -駒_COM王 || code > 駒_COM王) return -1;
    return code < 0 ? -code : code;
}

// Kind 1..8 of a code of either side and form (8 the king); 0 for anything else.
constexpr int 駒の種類番号(int code) {
    const int m = 駒の大きさ(code);
    for (int k = 1; k <= 王の種類; ++k)
        if (m == 駒種類表[k].元 || m == 駒種類表[k].成) return k;
    return 0;
}

// The code a piece in hand of index k (1..7) is dropped as: always the promoted form.
constexpr int 打駒(bool COM側, int k) {
    return COM側 ? 駒種類表[k].成 : -駒種類表[k].成;
}
inline constexpr int 打駒_MAN[8] = {0,
                                    打駒(false, 1),
                                    打駒(false, 2),
                                    打駒(false, 3),
                                    打駒(false, 4),
                                    打駒(false, 5),
                                    打駒(false, 6),
                                    打駒(false, 7)};
inline constexpr int 打駒_COM[8] = {0,
                                    打駒(true, 1),
                                    打駒(true, 2),
                                    打駒(true, 3),
                                    打駒(true, 4),
                                    打駒(true, 5),
                                    打駒(true, 6),
                                    打駒(true, 7)};

// Hand index 1..7 of a captured code of either form and side (a gold's unused promoted code
// counts as gold); 0 for the king and non-pieces.
constexpr int 持駒番号(int code) {
    if (駒の大きさ(code) == -駒_MAN金成) return 5;
    const int k = 駒の種類番号(code);
    return k == 王の種類 ? 0 : k;
}

// True for the 29 codes that may stand on a board (both sides, both forms, the kings).
constexpr bool 盤上駒コード(int code) {
    return code != 空桝 && 駒の種類番号(code) != 0;
}

// The name shown for a code of either side; empty for codes without a name.
constexpr const char* 駒の名前(int code) {
    const int k = 駒の種類番号(code);
    if (k == 0) return "";
    return 駒の大きさ(code) == 駒種類表[k].元 ? 駒種類表[k].元の名 : 駒種類表[k].成の名;
}

}  // namespace kiryuza
