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

// The code a piece in hand of index k (1..7) is dropped as: always the promoted form.
inline constexpr int 打駒_MAN[8] = {0,          駒_MANと, 駒_MAN香成, 駒_MAN桂成,
                                    駒_MAN銀成, 駒_MAN金, 駒_MAN角成, 駒_MAN飛成};
inline constexpr int 打駒_COM[8] = {0,          駒_COMと, 駒_COM香成, 駒_COM桂成,
                                    駒_COM銀成, 駒_COM金, 駒_COM角成, 駒_COM飛成};

// Hand index 1..7 of a captured code of either form and side; 0 for the king and non-pieces.
constexpr int 持駒番号(int code) {
    if (code < -駒_COM王 || code > 駒_COM王) return 0;
    const int m = code < 0 ? -code : code;
    switch (m) {
        case 10:
        case 11:
            return 1;
        case 20:
        case 21:
            return 2;
        case 30:
        case 31:
            return 3;
        case 100:
        case 101:
            return 4;
        case 110:
        case 111:
            return 5;
        case 800:
        case 801:
            return 6;
        case 900:
        case 901:
            return 7;
        default:
            return 0;
    }
}

// True for the 29 codes that may stand on a board (both sides, both forms, the kings).
constexpr bool 盤上駒コード(int code) {
    if (code < -駒_COM王 || code > 駒_COM王) return false;
    const int m = code < 0 ? -code : code;
    switch (m) {
        case 10:
        case 11:
        case 20:
        case 21:
        case 30:
        case 31:
        case 100:
        case 101:
        case 110:
        case 800:
        case 801:
        case 900:
        case 901:
        case 950:
            return true;
        default:
            return false;
    }
}

}  // namespace kiryuza
