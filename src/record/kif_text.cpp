#include "record/kif_text.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

#include "display/move_list.h"
#include "engine/review.h"

namespace kiryuza {

namespace {

// The column titles above the moves.
constexpr std::string_view 列見出し = "手数----指手---------消費時間--\n";
// The columns a move's text is padded to, so that the times line up: "１六 香成 (17)".
constexpr std::size_t 指手の幅 = 14;
// The character starting at s[i]: its code point and length in bytes; length 0 when the bytes
// there are not valid UTF-8 (stray, overlong, surrogate, beyond U+10FFFF or cut short).
std::pair<char32_t, std::size_t> 字を読む(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) return {b, 1};
    const std::size_t n = b >= 0xF5 ? 0 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
    if (n == 0 || i + n > s.size()) return {0, 0};
    char32_t cp = b & (0x7Fu >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return {0, 0};
        cp = cp << 6 | (c & 0x3Fu);
    }
    constexpr char32_t 最小[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < 最小[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
    return {cp, n};
}

// A header value is outside text and must stay on its own line as valid UTF-8: line breaks
// and other control characters become spaces, bytes that are no character become U+FFFD.
std::string 一行にする(std::string_view s) {
    std::string 文;
    文.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const auto [cp, n] = 字を読む(s, i);
        if (n == 0) {
            文 += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        const bool 制御 = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0x2028 || cp == 0x2029;
        if (制御)
            文 += ' ';
        else
            文.append(s.substr(i, n));
        i += n;
    }
    return 文;
}

// Columns the text takes in a fixed-width font: one for ASCII, two for the full-width rest.
std::size_t 表示幅(std::string_view s) {
    std::size_t 幅 = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = std::max<std::size_t>(字を読む(s, i).second, 1);
        幅 += n == 1 ? 1 : 2;
        i += n;
    }
    return 幅;
}

void 見出し行(std::string& 文, std::string_view 鍵, std::string_view 値) {
    文 += 鍵;
    文 += "：";
    文 += 一行にする(値);
    文 += '\n';
}

// `v` right-aligned in `幅` columns (wider when it needs more).
std::string 右寄せ(long long v, std::size_t 幅) {
    std::string t = std::to_string(v);
    if (t.size() < 幅) t.insert(0, 幅 - t.size(), ' ');
    return t;
}

std::string 二桁(long long v) {
    std::string t = std::to_string(v);
    if (t.size() < 2) t.insert(t.begin(), '0');
    return t;
}

// "( 0:05/00:01:23)": the move's minutes and seconds, then the mover's total so far in hours,
// minutes and seconds.
std::string 時間の文(long long 手の秒, long long 累計) {
    std::string 文 = "(";
    文 += 右寄せ(手の秒 / 60, 2);
    文 += ':';
    文 += 二桁(手の秒 % 60);
    文 += '/';
    文 += 二桁(累計 / 3600);
    文 += ':';
    文 += 二桁(累計 / 60 % 60);
    文 += ':';
    文 += 二桁(累計 % 60);
    文 += ')';
    return 文;
}

std::string_view 側の名(記録の側 側) {
    return 側 == 記録の側::先手 ? "先手" : "後手";
}

// This variant's handicaps take pieces off in its own order, not the named standard sets, so
// the header says plainly who gives how many: "駒落ち（後手が3枚落とす）".
std::string 手合割の文(const 棋譜文の見出し& 見出し) {
    if (見出し.駒落ち枚数 <= 0) return "平手";
    std::string 文 = "駒落ち（";
    文 += 側の名(見出し.駒を落とす側);
    文 += "が";
    文 += std::to_string(見出し.駒落ち枚数);
    文 += "枚落とす）";
    return 文;
}

// The closing line after `手数` moves; nothing for a game that has not ended.
//   王を取った, 詰み: "まで64手で先手の勝ち"
//   投了:             "まで63手で後手の投了" (the loser, the side other than the winner)
//   時間切れ:         "まで63手で時間切れにより先手の勝ち"
std::string 結果の文(const 棋譜文の見出し& 見出し, int 手数) {
    const 記録の側 敗者 = 見出し.勝者 == 記録の側::先手 ? 記録の側::後手 : 記録の側::先手;
    std::string 文 = "まで";
    文 += std::to_string(手数);
    文 += "手で";
    switch (見出し.終局) {
        case 終局の理由::王を取った:
        case 終局の理由::詰み:
            文 += 側の名(見出し.勝者);
            文 += "の勝ち\n";
            return 文;
        case 終局の理由::投了:
            文 += 側の名(敗者);
            文 += "の投了\n";
            return 文;
        case 終局の理由::時間切れ:
            文 += "時間切れにより";
            文 += 側の名(見出し.勝者);
            文 += "の勝ち\n";
            return 文;
        case 終局の理由::対局中:
            break;
    }
    return "";
}

}  // namespace

記録の側 記録上の側(const 棋譜表& 棋譜, bool COM側) {
    return COM側 == 初手はCOMか(棋譜) ? 記録の側::先手 : 記録の側::後手;
}

std::string 棋譜の文(const 棋譜表& 棋譜, const 棋譜文の見出し& 見出し) {
    std::string 文;
    見出し行(文, "開始日時", 見出し.開始日時);
    if (!見出し.表題.empty()) 見出し行(文, "表題", 見出し.表題);
    見出し行(文, "手合割", 手合割の文(見出し));
    見出し行(文, "先手", 見出し.先手名);
    見出し行(文, "後手", 見出し.後手名);
    文 += 列見出し;

    const bool 先手COM = 初手はCOMか(棋譜);
    long long 累計[2] = {0, 0};  // ▲'s and △'s seconds over the moves written so far
    const int 手数 = 棋譜.棋譜記録数();
    for (int n = 1; n <= 手数; ++n) {
        文 += 右寄せ(n, 4);
        文 += ' ';
        // Two entries that are not one move apart: say so rather than guess a move or a side.
        const std::optional<一覧の手> 手 = 一覧の手を求める(棋譜, n, 先手COM);
        if (!手) {
            文 += "（この手は記録から読み取れません）\n";
            continue;
        }
        const std::string 指手 = 指し手の文(*手);
        文 += 指手;
        文.append(指手の幅 - std::min(表示幅(指手), 指手の幅) + 1, ' ');
        long long& 合計 = 累計[手->先手 ? 0 : 1];
        合計 += 手->秒;
        文 += 時間の文(手->秒, 合計);
        文 += '\n';
    }
    文 += 結果の文(見出し, 手数);
    return 文;
}

}  // namespace kiryuza
