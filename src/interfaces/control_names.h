// The names of the window's menus and menu items. The window gives each control its name;
// the game addresses check marks and commands by these names.
#pragma once

#include <string_view>

namespace kiryuza::control {

inline constexpr std::string_view TAIKYOKU = "TAIKYOKU";
inline constexpr std::string_view MATCH_MAN = "MATCH_MAN";
inline constexpr std::string_view START = "START";
inline constexpr std::string_view START2 = "START2";
inline constexpr std::string_view SENTE = "SENTE";
inline constexpr std::string_view GOTE = "GOTE";
inline constexpr std::string_view LEVEL = "LEVEL";
inline constexpr std::string_view LEVEL1 = "LEVEL1";
inline constexpr std::string_view LEVEL2 = "LEVEL2";
inline constexpr std::string_view LEVEL3 = "LEVEL3";
inline constexpr std::string_view LEVEL4 = "LEVEL4";
inline constexpr std::string_view MATTA = "MATTA";
inline constexpr std::string_view HINT = "HINT";
inline constexpr std::string_view OWARI = "OWARI";
inline constexpr std::string_view STOP = "STOP";
inline constexpr std::string_view CANCEL = "CANCEL";
inline constexpr std::string_view REVERSE = "REVERSE";
inline constexpr std::string_view REPLAY = "REPLAY";
inline constexpr std::string_view AFTER = "AFTER";
inline constexpr std::string_view LBEL_UP = "LBEL_UP";
inline constexpr std::string_view LEBEL_DOWN = "LEBEL_DOWN";
inline constexpr std::string_view KIFU = "KIFU";
inline constexpr std::string_view KIFU_READ = "KIFU_READ";
inline constexpr std::string_view KIFU_WRITE = "KIFU_WRITE";
inline constexpr std::string_view OPTION = "OPTION";
inline constexpr std::string_view HAIKEI_GA = "HAIKEI_GA";
inline constexpr std::string_view MIDORI = "MIDORI";
inline constexpr std::string_view TATAMI = "TATAMI";
inline constexpr std::string_view TAKE = "TAKE";
inline constexpr std::string_view UCHU = "UCHU";
inline constexpr std::string_view RENGA = "RENGA";
inline constexpr std::string_view SIDOU = "SIDOU";
inline constexpr std::string_view KEIKA = "KEIKA";
inline constexpr std::string_view BGM = "BGM";
inline constexpr std::string_view VER = "VER";

// The computer levels' items by level 1..4.
inline constexpr std::string_view LEVEL項目[5] = {"", LEVEL1, LEVEL2, LEVEL3, LEVEL4};

}  // namespace kiryuza::control
