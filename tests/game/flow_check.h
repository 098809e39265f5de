// A model-based checker of whole game flows: long seeded sequences of random user actions
// (every menu command, clicks anywhere, legal moves, answers to every box, saves and loads
// through an in-memory file system, time passing, restarts) applied to Form1 over the fakes,
// with the game's invariants checked after every action.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace kiryuza::testing {

struct 流れ検査結果 {
    long 操作数 = 0;
    long 違反数 = 0;
    std::vector<std::string> 違反;  // the first few, with the action that led to each
    // How far the actions went: moves played, games won, records saved and loaded, the
    // longest history reached.
    long 指し手数 = 0;
    long 終局数 = 0;
    long 保存数 = 0;
    long 読込数 = 0;
    long 復元数 = 0;  // games taken back after a crash
    long 投了数 = 0;
    long 時間切れ数 = 0;
    long 時間制の操作数 = 0;  // actions checked under a time control
    int 最長手数 = 0;
    // Moves whose form the player chose (keeping it as it was in some), and moves dropped at
    // the chooser.
    long 形を選んだ数 = 0;
    long 形を保った数 = 0;
    long 選択を取り消した数 = 0;
    long 助言数 = 0;  // hints, lines of 検討 and preferred moves checked for a person's side
};

// Applies `操作数` actions drawn from `種`, checking after each one. With `保存`, the first
// start finds that kept game and takes it up when it is offered: the history it brings is
// taken as it stands (a loaded record may hold any positions), only what play adds is checked
// move by move, and a position may hold fewer pieces than a set.
流れ検査結果 対局の流れを検査(std::uint64_t 種, long 操作数,
                              const std::vector<std::uint8_t>* 保存 = nullptr);

}  // namespace kiryuza::testing
