// The player's choices of play that outlive a run besides the four options of the settings
// file: the computer's level, the time control, the kind of the last game and whether a person
// chooses the form of a move that may keep or change it. They live in a
// file of their own beside the settings file, UTF-8 key=value lines, so that the settings file
// keeps exactly its four lines.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/control_names.h"

namespace kiryuza {

inline constexpr const char* 好みファイル名 = "Kiryuza-play.ini";
inline constexpr std::size_t 好みファイル最大バイト数 = 4096;

// The kinds of game a start command begins.
enum class 対局の種類 { COM先手, COM後手, 人間 };

// A time-control choice: its menu item and its seconds (0: none).
struct 時間項目 {
    std::string_view メニュー名;
    int 秒;
};

// The main time of each side, and the byoyomi every move may take once it is gone.
inline constexpr 時間項目 持ち時間一覧[] = {
    {control::MOCHI_NASHI, 0}, {control::MOCHI_1, 60},   {control::MOCHI_5, 300},
    {control::MOCHI_10, 600},  {control::MOCHI_15, 900}, {control::MOCHI_30, 1800},
    {control::MOCHI_60, 3600},
};
inline constexpr 時間項目 秒読み一覧[] = {
    {control::BYOU_NASHI, 0},
    {control::BYOU_10, 10},
    {control::BYOU_30, 30},
    {control::BYOU_60, 60},
};

struct 対局の好み {
    int COMレベル = 3;
    int 持ち時間秒 = 0;  // one of 持ち時間一覧
    int 秒読み秒 = 0;    // one of 秒読み一覧
    対局の種類 種類 = 対局の種類::COM先手;
    // 成・不成を選ぶ: a person's move that may keep or change its piece's form asks which;
    // off, the change is always taken.
    bool 成不成を選ぶ = false;
    bool operator==(const 対局の好み&) const = default;
};

// The file's text: one line per choice.
std::string 好みの文(const 対局の好み& 好み);

// The choices a file's text gives; a line that is not one of the lines 好みの文 writes (an
// unknown key, a value no menu offers) leaves that choice at its default.
対局の好み 好みを読む(std::string_view 文);

}  // namespace kiryuza
