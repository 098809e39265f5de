// Settings file bytes through the whole reader: decoded from CP932 with the real codec when Qt
// is built, split into lines and read into option values, as start-up does. The same bytes go
// through the reader of the preferences file beside it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_codec.h"
#include "options/preferences.h"
#include "options/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static kiryuza::fuzz::Codec 符号;
    const std::vector<std::uint8_t> 内容(data, data + size);
    const std::vector<std::string> 行 = kiryuza::設定ファイルの行(内容, 符号);
    // No line holds a line end, and what was read is a background the game can draw.
    for (const std::string& l : 行) {
        if (l.find_first_of("\r\n") != std::string::npos) __builtin_trap();
    }
    const kiryuza::設定値 値 = kiryuza::設定を読む(行);
    if (値.背景 && !kiryuza::背景をコードで探す(*値.背景)) __builtin_trap();
    // What the game writes back reads back to the same options.
    if (const auto 書 = kiryuza::設定ファイル内容(行, 符号)) {
        const kiryuza::設定値 再 = kiryuza::設定を読む(kiryuza::設定ファイルの行(*書, 符号));
        if (再.背景 != 値.背景 || 再.移動指導 != 値.移動指導 || 再.経過時間 != 値.経過時間 ||
            再.BGM != 値.BGM) {
            __builtin_trap();
        }
    }
    // The preferences read are choices the menus offer, and read back the same when written.
    const kiryuza::対局の好み 好み =
        kiryuza::好みを読む(std::string_view(reinterpret_cast<const char*>(data), size));
    if (好み.COMレベル < 1 || 好み.COMレベル > 4) __builtin_trap();
    if (!(kiryuza::好みを読む(kiryuza::好みの文(好み)) == 好み)) __builtin_trap();
    return 0;
}
