// The state one game owns: the position, the history, whose turn it is with the mode and
// flags, and the clock values; and the set-up that lays out a fresh game.
#pragma once

#include <cstdint>
#include <string>

#include "interfaces/canvas.h"
#include "rules/history.h"

namespace kiryuza {

// The three header lines of a record, as UTF-8 text.
struct 棋譜見出し {
    std::string 対局名;
    std::string 上手名;  // the upper side's (COM side's) player: line 2
    std::string 下手名;  // the lower side's (MAN side's) player: line 3
};

// Whose turn it is, the mode and the flags of the running game.
struct 対局状況 {
    int 手番 = 手番_なし;
    int 対局モード = 対局モード_人間;
    int 棋譜モード = 定数_OFF;
    int 反転フラグ = 定数_OFF;
    int ハンデ設定フラグ = 定数_OFF;
    int 再開フラグ = 定数_OFF;
    int 選択状態 = 0;
    int 手数 = 0;
    int ハンデレベル = 0;
    int COMレベル = 3;
    棋譜見出し 見出し;  // the titles of the record loaded, shown while it is stepped through
};

// One side's clock: the lower (MAN) side's or the upper (COM) side's; none.
enum class 時計の側 : std::uint8_t { なし, MAN, COM };

// Seconds of thinking time (times of day are seconds since midnight).
struct 時計値 {
    double 経過秒 = 0;
    double 累計秒MAN = 0;
    double 累計秒COM = 0;
    double 手番開始時刻 = 0;
    int 表示秒 = 0;
    // The time control the clocks count down (0 and 0: none, the clocks count up).
    int 持ち時間秒 = 0;
    int 秒読み秒 = 0;
    // Under a time control each side has a clock of its own, as on a game clock: besides its
    // total (累計秒) it holds the seconds of the turn it is in, which only its own move ends; at
    // most one clock runs (走る側's, since 手番開始時刻), and 経過秒 is its turn's seconds as last
    // measured.
    double 手の秒MAN = 0;
    double 手の秒COM = 0;
    時計の側 走る側 = 時計の側::なし;
};

// The player's options: what the settings file keeps and the option menus show.
struct 設定状態 {
    int 背景種類 = 背景_緑;         // the background tile (picture code 2..6)
    int 移動指導フラグ = 定数_OFF;  // move guidance
    int 色_移動指導 = 色_桝線;      // the outline colour of the guidance
    bool 経過時間 = false;          // the clocks are shown
    bool BGM = false;               // the music plays
};

// Everything the game runs on: the position, its history, the game's status, the clocks and
// the options.
struct 対局状態 {
    局面 局;
    棋譜表 棋譜;
    対局状況 状況;
    時計値 時計;
    設定状態 設定;
};

// Resets the game state and lays out the starting position, then redraws the window.
void 初期設定(対局状態& 状態, 局面表示& 表示);

}  // namespace kiryuza
