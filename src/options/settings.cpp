#include "options/settings.h"

#include <span>

namespace kiryuza {

const 背景項目* 背景を値で探す(std::string_view 値) {
    for (const auto& e : 背景一覧)
        if (値 == e.値) return &e;
    return nullptr;
}

const 背景項目* 背景をコードで探す(int コード) {
    for (const auto& e : 背景一覧)
        if (e.コード == コード) return &e;
    return nullptr;
}

設定行 設定行を分ける(std::string_view 行) {
    const std::size_t i = 行.find('=');
    if (i == std::string_view::npos) return {"", std::string(行)};
    return {std::string(行.substr(0, i)), std::string(行.substr(i + 1))};
}

namespace {

// A word of the lines the game writes, as it stands in the file (CP932) and as text.
struct 既知の語 {
    std::string_view バイト;
    std::string_view 文字;
};

// The keys and values of the four lines the game writes.
constexpr 既知の語 既知のキー[] = {
    {"\x94\x77\x8c\x69\x89\xe6", "背景画"},
    {"\x88\xda\x93\xae\x8e\x77\x93\xb1", "移動指導"},
    {"\x8c\x6f\x89\xdf\x8e\x9e\x8a\xd4", "経過時間"},
    {"BGM", "BGM"},
};
constexpr 既知の語 既知の値[] = {
    {"\x97\xce", "緑"},
    {"\x8f\xf4", "畳"},
    {"\x92\x7c", "竹"},
    {"\x89\x46\x92\x88", "宇宙"},
    {"\x97\xf9\x8a\xa2", "煉瓦"},
    {"ON", "ON"},
    {"OFF", "OFF"},
};

std::optional<std::string_view> 既知の文字(std::string_view バイト, std::span<const 既知の語> 語) {
    for (const 既知の語& e : 語)
        if (e.バイト == バイト) return e.文字;
    return std::nullopt;
}

// A line made of a known key, "=" and a known value, as text; nothing for any other line.
// CP932 is stateless and "=" is never part of a two-byte character, so the line reads as its
// parts read.
std::optional<std::string> 既知の行(std::string_view バイト) {
    const std::size_t 等号 = バイト.find('=');
    if (等号 == std::string_view::npos) return std::nullopt;
    const auto キー = 既知の文字(バイト.substr(0, 等号), 既知のキー);
    const auto 値 = 既知の文字(バイト.substr(等号 + 1), 既知の値);
    if (!キー || !値) return std::nullopt;
    return std::string(*キー) + "=" + std::string(*値);
}

}  // namespace

std::vector<std::string> 設定ファイルの行(const std::vector<std::uint8_t>& 内容, 文字コード& 符号) {
    std::vector<std::string> 行一覧;
    std::size_t 始 = 0;
    while (始 < 内容.size()) {
        std::size_t 終 = 始;
        while (終 < 内容.size() && 内容[終] != '\n' && 内容[終] != '\r') ++終;
        const std::string バイト(reinterpret_cast<const char*>(内容.data()) + 始, 終 - 始);
        // The lines the game writes need no converter, which then is not loaded at start-up.
        if (auto 行 = 既知の行(バイト)) {
            行一覧.push_back(std::move(*行));
        } else if (auto 復号 = 符号.CP932から(バイト)) {
            行一覧.push_back(std::move(*復号));
        }
        // CR LF, LF and CR alone each end a line.
        if (終 + 1 < 内容.size() && 内容[終] == '\r' && 内容[終 + 1] == '\n') ++終;
        始 = 終 + 1;
    }
    return 行一覧;
}

std::optional<std::vector<std::uint8_t>> 設定ファイル内容(const std::vector<std::string>& 行,
                                                          文字コード& 符号) {
    std::vector<std::uint8_t> 内容;
    for (const std::string& s : 行) {
        const auto バイト = 符号.CP932へ(s);
        if (!バイト) return std::nullopt;
        内容.insert(内容.end(), バイト->begin(), バイト->end());
        内容.push_back('\r');
        内容.push_back('\n');
    }
    return 内容;
}

設定値 設定を読む(const std::vector<std::string>& 行一覧) {
    設定値 値;
    for (const std::string& 行 : 行一覧) {
        const 設定行 r = 設定行を分ける(行);
        if (r.キー == "背景画") {
            if (const 背景項目* e = 背景を値で探す(r.値)) 値.背景 = e->コード;
        } else if (r.キー == "移動指導") {
            値.移動指導 = r.値 == "ON";
        } else if (r.キー == "経過時間") {
            値.経過時間 = r.値 == "ON";
        } else if (r.キー == "BGM") {
            値.BGM = r.値 == "ON";
        }
    }
    return 値;
}

void 設定を当てる(const 設定値& 値, 設定状態& 設定) {
    設定.背景種類 = 値.背景.value_or(背景_緑);
    if (値.移動指導) {
        設定.移動指導フラグ = *値.移動指導 ? 定数_ON : 定数_OFF;
        設定.色_移動指導 = *値.移動指導 ? 色_白 : 色_緑;
    }
    if (値.経過時間) 設定.経過時間 = *値.経過時間;
    if (値.BGM) 設定.BGM = *値.BGM;
}

設定読込結果 設定を読み込む(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                            設定状態& 設定) {
    std::string 誤り;
    const bool ある = ファイル.存在(パス);
    const auto 内容 = ある ? ファイル.読む(パス, 誤り, 設定ファイル最大バイト数) : std::nullopt;
    if (内容) {
        設定を当てる(設定を読む(設定ファイルの行(*内容, 符号)), 設定);
        return {};
    }
    const int 色 = 設定.色_移動指導;
    設定 = 既定の設定();
    設定.色_移動指導 = 色;
    (void)設定を書き込む(ファイル, 符号, パス, 設定);
    設定読込結果 結果{true, ""};
    if (ある && 誤り == 読込文_大きすぎる) {
        結果.知らせ = std::string("設定ファイル「") + 設定ファイル名 +
                      "」が大きすぎるため読めませんでした。\n設定を初期値に戻しました。";
    }
    return 結果;
}

std::optional<std::string> 設定を書き込む(ファイル系& ファイル, 文字コード& 符号,
                                          const std::string& パス, const 設定状態& 設定) {
    const auto 内容 = 設定ファイル内容(設定の行(設定), 符号);
    if (!内容) return std::string("設定を文字に直せません");
    const ファイル結果 r = ファイル.書く(パス, *内容);
    if (!r.成功) return r.誤り;
    return std::nullopt;
}

int 設定の背景(ファイル系& ファイル, 文字コード& 符号, const std::string& パス) {
    std::string 誤り;
    const auto 内容 = ファイル.読む(パス, 誤り, 設定ファイル最大バイト数);
    if (!内容) return 背景_緑;
    return 設定を読む(設定ファイルの行(*内容, 符号)).背景.value_or(背景_緑);
}

設定状態 既定の設定() {
    設定状態 設定;
    設定.経過時間 = true;
    設定.BGM = true;
    return 設定;
}

std::vector<std::string> 既定の設定行() {
    return 設定の行(既定の設定());
}

std::vector<std::string> 設定の行(const 設定状態& 設定) {
    const auto 入切 = [](bool 入) { return 入 ? std::string("ON") : std::string("OFF"); };
    std::vector<std::string> 行;
    if (const 背景項目* e = 背景をコードで探す(設定.背景種類)) {
        行.push_back("背景画=" + std::string(e->値));
    }
    行.push_back("移動指導=" + 入切(設定.移動指導フラグ == 定数_ON));
    行.push_back("経過時間=" + 入切(設定.経過時間));
    行.push_back("BGM=" + 入切(設定.BGM));
    return 行;
}

}  // namespace kiryuza
