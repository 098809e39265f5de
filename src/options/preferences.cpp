#include "options/preferences.h"

#include <charconv>

namespace kiryuza {

namespace {

constexpr std::string_view キー_レベル = "COMレベル";
constexpr std::string_view キー_持ち時間 = "持ち時間";
constexpr std::string_view キー_秒読み = "秒読み";
constexpr std::string_view キー_種類 = "対局";
constexpr std::string_view キー_成不成 = "成・不成を選ぶ";

struct 種類の名 {
    対局の種類 種類;
    std::string_view 名;
};
constexpr 種類の名 種類名一覧[] = {
    {対局の種類::COM先手, "COM先手"},
    {対局の種類::COM後手, "COM後手"},
    {対局の種類::人間, "人間"},
};

// A whole decimal number and nothing else; nothing otherwise.
std::optional<int> 整数(std::string_view 値) {
    int n = 0;
    const auto [端, 誤] = std::from_chars(値.data(), 値.data() + 値.size(), n);
    if (誤 != std::errc{} || 端 != 値.data() + 値.size()) return std::nullopt;
    return n;
}

template <std::size_t N>
bool 表にある(const 時間項目 (&表)[N], int 秒) {
    for (const 時間項目& e : 表)
        if (e.秒 == 秒) return true;
    return false;
}

}  // namespace

std::string 好みの文(const 対局の好み& 好み) {
    std::string 種類;
    for (const 種類の名& e : 種類名一覧)
        if (e.種類 == 好み.種類) 種類 = e.名;
    std::string 文;
    文 += std::string(キー_レベル) + "=" + std::to_string(好み.COMレベル) + "\n";
    文 += std::string(キー_持ち時間) + "=" + std::to_string(好み.持ち時間秒) + "\n";
    文 += std::string(キー_秒読み) + "=" + std::to_string(好み.秒読み秒) + "\n";
    文 += std::string(キー_種類) + "=" + 種類 + "\n";
    文 += std::string(キー_成不成) + "=" + (好み.成不成を選ぶ ? "ON" : "OFF") + "\n";
    return 文;
}

対局の好み 好みを読む(std::string_view 文) {
    対局の好み 好み;
    while (!文.empty()) {
        const std::size_t 改行 = 文.find('\n');
        std::string_view 行 = 文.substr(0, 改行);
        文 = 改行 == std::string_view::npos ? std::string_view{} : 文.substr(改行 + 1);
        if (!行.empty() && 行.back() == '\r') 行.remove_suffix(1);
        const std::size_t 等号 = 行.find('=');
        if (等号 == std::string_view::npos) continue;
        const std::string_view キー = 行.substr(0, 等号);
        const std::string_view 値 = 行.substr(等号 + 1);
        const std::optional<int> n = 整数(値);
        if (キー == キー_レベル && n && *n >= 1 && *n <= 4) 好み.COMレベル = *n;
        if (キー == キー_持ち時間 && n && 表にある(持ち時間一覧, *n)) 好み.持ち時間秒 = *n;
        if (キー == キー_秒読み && n && 表にある(秒読み一覧, *n)) 好み.秒読み秒 = *n;
        if (キー == キー_成不成 && (値 == "ON" || 値 == "OFF")) 好み.成不成を選ぶ = 値 == "ON";
        if (キー == キー_種類) {
            for (const 種類の名& e : 種類名一覧)
                if (e.名 == 値) 好み.種類 = e.種類;
        }
    }
    return 好み;
}

}  // namespace kiryuza
