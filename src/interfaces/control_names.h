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
inline constexpr std::string_view SHINKI = "SHINKI";
inline constexpr std::string_view MATTA = "MATTA";
inline constexpr std::string_view HINT = "HINT";
inline constexpr std::string_view TOURYOU = "TOURYOU";
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
inline constexpr std::string_view KIFU_LIST = "KIFU_LIST";
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
inline constexpr std::string_view NARI_FUNARI = "NARI_FUNARI";
inline constexpr std::string_view MOCHIJIKAN = "MOCHIJIKAN";
inline constexpr std::string_view MOCHI_NASHI = "MOCHI_NASHI";
inline constexpr std::string_view MOCHI_1 = "MOCHI_1";
inline constexpr std::string_view MOCHI_5 = "MOCHI_5";
inline constexpr std::string_view MOCHI_10 = "MOCHI_10";
inline constexpr std::string_view MOCHI_15 = "MOCHI_15";
inline constexpr std::string_view MOCHI_30 = "MOCHI_30";
inline constexpr std::string_view MOCHI_60 = "MOCHI_60";
inline constexpr std::string_view BYOUYOMI = "BYOUYOMI";
inline constexpr std::string_view BYOU_NASHI = "BYOU_NASHI";
inline constexpr std::string_view BYOU_10 = "BYOU_10";
inline constexpr std::string_view BYOU_30 = "BYOU_30";
inline constexpr std::string_view BYOU_60 = "BYOU_60";
inline constexpr std::string_view VER = "VER";
inline constexpr std::string_view ASOBIKATA = "ASOBIKATA";

// The computer levels' items by level 1..4.
inline constexpr std::string_view LEVEL項目[5] = {"", LEVEL1, LEVEL2, LEVEL3, LEVEL4};

}  // namespace kiryuza::control
