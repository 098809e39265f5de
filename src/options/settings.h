// The settings file "Kiryuza.ini": key=value lines in CP932 with CR LF line ends, one line
// each for the background, move guidance, the clock display and the music.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game/platform.h"

namespace kiryuza {

inline constexpr const char* 設定ファイル名 = "Kiryuza.ini";

// A background choice: its value in the file, its picture code and its menu item.
struct 背景項目 {
    const char* 値;
    int コード;
    const char* メニュー名;
};

inline constexpr 背景項目 背景一覧[] = {
    {"緑", 2, "MIDORI"}, {"畳", 3, "TATAMI"},  {"竹", 4, "TAKE"},
    {"宇宙", 5, "UCHU"}, {"煉瓦", 6, "RENGA"},
};

// Lookups in the table above; nothing when there is no such entry.
const 背景項目* 背景を値で探す(std::string_view 値);
const 背景項目* 背景をコードで探す(int コード);
const 背景項目* 背景を名前で探す(std::string_view メニュー名);

// One line split at its first "=": a line without "=" has an empty key and the whole line as
// value.
struct 設定行 {
    std::string キー;
    std::string 値;
};
設定行 設定行を分ける(std::string_view 行);

// The lines of a settings file, decoded from CP932 (lines that are not valid CP932 are left
// out), without their line ends. Both CR LF and lone LF end a line.
std::vector<std::string> 設定ファイルの行(const std::vector<std::uint8_t>& 内容, 文字コード& 符号);

// The bytes of a settings file holding these lines; nothing when a line cannot be encoded.
std::optional<std::vector<std::uint8_t>> 設定ファイル内容(const std::vector<std::string>& 行,
                                                          文字コード& 符号);

// The four lines a new settings file holds.
std::vector<std::string> 既定の設定行();

}  // namespace kiryuza
