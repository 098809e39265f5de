#include "iconv_codec.h"

#include <iconv.h>

#include <algorithm>

namespace kiryuza {

namespace {

// The text converted from code `元` to code `先`; nothing when a character has no place there,
// the input is not valid in `元`, or the C library cannot convert between the two (then
// 変換できない is set).
std::optional<std::string> 変換(const char* 先, const char* 元, const std::string& 入力,
                                bool& 変換できない) {
    iconv_t cd = iconv_open(先, 元);
    変換できない = cd == reinterpret_cast<iconv_t>(-1);
    if (変換できない) return std::nullopt;
    // A CP932 character takes at most 3 bytes in UTF-8 and a UTF-8 one at most 2 in CP932.
    std::string 出力(入力.size() * 3 + 4, '\0');
    char* 入 = const_cast<char*>(入力.data());
    std::size_t 入残り = 入力.size();
    char* 出 = 出力.data();
    std::size_t 出残り = 出力.size();
    bool 成功 = iconv(cd, &入, &入残り, &出, &出残り) != static_cast<std::size_t>(-1) &&
                入残り == 0 &&
                iconv(cd, nullptr, nullptr, &出, &出残り) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!成功) return std::nullopt;
    出力.resize(出力.size() - 出残り);
    return 出力;
}

}  // namespace

std::optional<std::string> IconvCodec::CP932から(const std::string& バイト列) {
    bool 変換できない = false;
    std::optional<std::string> r = 変換("UTF-8", "CP932", バイト列, 変換できない);
    if (変換できない) return バイト列;
    return r;
}

std::optional<std::string> IconvCodec::CP932へ(const std::string& 文字列) {
    bool 変換できない = false;
    std::optional<std::string> r = 変換("CP932", "UTF-8", 文字列, 変換できない);
    if (!変換できない) return r;
    if (std::all_of(文字列.begin(), 文字列.end(), [](char c) { return (c & 0x80) == 0; }))
        return 文字列;
    return std::nullopt;
}

}  // namespace kiryuza
