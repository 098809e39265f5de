// The settings file "Kiryuza.ini": key=value lines in CP932 with CR LF line ends, one line
// each for the background, move guidance, the clock display and the music.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "interfaces/control_names.h"
#include "interfaces/platform.h"
#include "rules/game_state.h"

namespace kiryuza {

inline constexpr const char* 設定ファイル名 = "Kiryuza.ini";

// The largest settings file read: four short lines; anything larger is not a settings file.
inline constexpr std::size_t 設定ファイル最大バイト数 = 4096;

// A background choice: its value in the file, its picture code and its menu item.
struct 背景項目 {
    std::string_view 値;
    int コード;
    std::string_view メニュー名;
};

inline constexpr 背景項目 背景一覧[] = {
    {"緑", 背景_緑, control::MIDORI},    {"畳", 背景_畳, control::TATAMI},
    {"竹", 背景_竹, control::TAKE},      {"宇宙", 背景_宇宙, control::UCHU},
    {"煉瓦", 背景_煉瓦, control::RENGA},
};

// Lookups in the table above; nothing when there is no such entry.
const 背景項目* 背景を値で探す(std::string_view 値);
const 背景項目* 背景をコードで探す(int コード);

// One line split at its first "=": a line without "=" has an empty key and the whole line as
// value.
struct 設定行 {
    std::string キー;
    std::string 値;
};
設定行 設定行を分ける(std::string_view 行);

// The lines of a settings file, decoded from CP932 (lines that are not valid CP932 are left
// out), without their line ends. CR LF, lone LF and lone CR each end a line. The lines the game
// writes are known by their bytes and read without `符号`.
std::vector<std::string> 設定ファイルの行(const std::vector<std::uint8_t>& 内容, 文字コード& 符号);

// The bytes of a settings file holding these lines; nothing when a line cannot be encoded.
std::optional<std::vector<std::uint8_t>> 設定ファイル内容(const std::vector<std::string>& 行,
                                                          文字コード& 符号);

// The options as a settings file sets them, line by line in order: a later line overrides an
// earlier one; a background value not in the table leaves the background as it was, any value
// but "ON" switches the other three off. An option without a valid line stays unset.
struct 設定値 {
    std::optional<int> 背景;  // picture code
    std::optional<bool> 移動指導;
    std::optional<bool> 経過時間;
    std::optional<bool> BGM;
};
設定値 設定を読む(const std::vector<std::string>& 行);

// Puts the options a settings file gave in effect: the background, green when the file chose
// none; guidance on (white outlines) or off (green outlines, as a file that says so gives);
// the clocks and the music as given. An option the file does not give stays as it was.
void 設定を当てる(const 設定値& 値, 設定状態& 設定);

// The options a new settings file holds, and its four lines.
設定状態 既定の設定();
std::vector<std::string> 既定の設定行();

// The four lines that keep the options, background first.
std::vector<std::string> 設定の行(const 設定状態& 設定);

// Reads the settings file at `パス` into `設定`. A missing or unreadable file gives the defaults
// (the guidance colour kept), written back for next time; 知らせ then says why when the file was
// far too large to be settings, the one case worth a word since it is replaced.
struct 設定読込結果 {
    bool 既定 = false;
    std::string 知らせ;
};
設定読込結果 設定を読み込む(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                            設定状態& 設定);

// The background the settings file at `パス` chooses, read without writing anything: green
// when it chooses none or cannot be read, as 設定を読み込む would leave it.
int 設定の背景(ファイル系& ファイル, 文字コード& 符号, const std::string& パス);

// Writes the options to the settings file at `パス`, replacing it; the reason when that fails.
std::optional<std::string> 設定を書き込む(ファイル系& ファイル, 文字コード& 符号,
                                          const std::string& パス, const 設定状態& 設定);

}  // namespace kiryuza
