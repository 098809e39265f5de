#include "record/record_file.h"

#include <algorithm>
#include <cmath>

namespace kiryuza {

namespace {

// The board's left edge and the width of a cell, in twips.
constexpr double 盤原点X = 1050;
constexpr double 桝幅 = 570;

constexpr std::string_view 改行 = "\r\n";

// True for the C0 control characters and DEL, which a header line must not hold (a line end in
// a title would split the file's lines).
bool 制御文字を含む(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return b < 0x20 || b == 0x7F;
    });
}

// Splits UTF-8 text into its characters; false when the bytes are not UTF-8.
bool 文字に分ける(std::string_view s, std::vector<std::string_view>& 字) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        const std::size_t 長さ = b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
        if (長さ == 0 || b > 0xF4 || i + 長さ > s.size()) return false;
        for (std::size_t j = 1; j < 長さ; ++j) {
            if ((static_cast<unsigned char>(s[i + j]) & 0xC0) != 0x80) return false;
        }
        字.push_back(s.substr(i, 長さ));
        i += 長さ;
    }
    return true;
}

// Encodes one header text to CP932, or says why the file cannot hold it.
bool 見出しを符号化(std::string_view 文字列, 文字コード& 符号, std::string& 出力,
                    std::string& 誤り) {
    if (制御文字を含む(文字列)) {
        誤り = "「対局名」や対局者の名前に";
        誤り += record_text::制御文字;
        return false;
    }
    if (auto 全体 = 符号.CP932へ(std::string(文字列))) {
        出力 += *全体;
        return true;
    }
    // Find the first character the code page lacks, so the message can name it.
    std::vector<std::string_view> 字;
    if (文字に分ける(文字列, 字)) {
        for (std::string_view c : 字) {
            if (!符号.CP932へ(std::string(c))) {
                誤り = 書けない文字文(文字列, c);
                return false;
            }
        }
    }
    誤り = record_text::文字列不正;
    return false;
}

// Entry n of the history as the content of a move line; false (with the message) when a time
// is not a whole number of seconds the format can hold.
bool 行データにする(const 棋譜表& 棋譜, int n, 棋譜行データ& d, std::string& 誤り) {
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) d.盤面[x][y] = 棋譜.棋譜_盤面[n][x][y];
    for (int k = 1; k <= 7; ++k) {
        d.持駒MAN[k] = 棋譜.棋譜_持駒MAN[n][k];
        d.持駒COM[k] = 棋譜.棋譜_持駒COM[n][k];
    }
    const double 秒[4] = {棋譜.棋譜_前秒M[n], 棋譜.棋譜_後秒M[n], 棋譜.棋譜_前秒C[n],
                          棋譜.棋譜_後秒C[n]};
    long* 欄[4] = {&d.前秒M, &d.後秒M, &d.前秒C, &d.後秒C};
    for (int i = 0; i < 4; ++i) {
        // Negative, NaN and 100000 or more are all outside; fractions are dropped.
        if (!(秒[i] >= 0 && 秒[i] < 100000)) {
            誤り = 時間範囲外文(n);
            return false;
        }
        *欄[i] = static_cast<long>(秒[i]);
    }
    return true;
}

// The lines of a file: split at LF, one CR before each LF dropped; a final line end does not
// start another line.
std::vector<std::string_view> 行に分ける(std::string_view s) {
    std::vector<std::string_view> 行;
    std::size_t 始 = 0;
    while (始 < s.size()) {
        std::size_t 終 = s.find('\n', 始);
        const std::size_t 次 = 終 == std::string_view::npos ? s.size() : 終 + 1;
        if (終 == std::string_view::npos) 終 = s.size();
        std::string_view l = s.substr(始, 終 - 始);
        if (!l.empty() && l.back() == '\r' && 終 < s.size()) l.remove_suffix(1);
        行.push_back(l);
        始 = 次;
    }
    return 行;
}

}  // namespace

// --- Texts ---

std::string_view ファイル名部分(std::string_view パス) {
    const std::size_t p = パス.rfind('/');
    return p == std::string_view::npos ? パス : パス.substr(p + 1);
}

std::string 読込失敗文(std::string_view 表示名, int 行, int 桁, std::string_view 理由) {
    std::string s = "棋譜ファイル「";
    s += 表示名;
    s += "」を読み込めません。\n";
    if (行 > 0) {
        s += std::to_string(行) + "行目";
        if (桁 > 0) s += ' ' + std::to_string(桁) + "文字目";
        s += "：";
    }
    s += 理由;
    return s;
}

std::string 書込失敗文(std::string_view 表示名, std::string_view 理由) {
    std::string s = "棋譜ファイル「";
    s += 表示名;
    s += "」に書き込めません。\n";
    s += 理由;
    return s;
}

std::string 書けない文字文(std::string_view 文字列, std::string_view 文字) {
    std::string s = "「";
    s += 文字列;
    s += "」には棋譜ファイルに書けない文字「";
    s += 文字;
    s += "」が含まれています";
    return s;
}

std::string 持駒数超過文(int 手目) {
    return std::to_string(手目) + "手目の局面で持駒が10枚以上あり、棋譜ファイルの書式で表せません";
}

std::string 時間範囲外文(int 手目) {
    return std::to_string(手目) +
           "手目の累計時間が棋譜ファイルに書ける範囲（0〜99999秒）を外れています";
}

std::string 局面不正文(int 手目, 行誤り 誤り) {
    return std::to_string(手目) + "手目の局面が正しくないため書き込めません（" +
           行誤りの説明(誤り) + "）";
}

// --- Writing ---

棋譜内容結果 棋譜ファイル内容を作る(const 棋譜表& 棋譜, int 記録数, const 棋譜見出し& 見出し,
                                    文字コード& 符号) {
    棋譜内容結果 結果;
    if (記録数 < 0 || 記録数 > 棋譜ファイル最大手数) {
        結果.誤り = record_text::手数範囲外;
        return 結果;
    }
    std::string 出力;
    for (const std::string* 文 : {&見出し.対局名, &見出し.上手名, &見出し.下手名}) {
        if (!見出しを符号化(*文, 符号, 出力, 結果.誤り)) return 結果;
        出力 += 改行;
    }
    std::string 行;
    for (int n = 1; n <= 記録数; ++n) {
        棋譜行データ d;
        if (!行データにする(棋譜, n, d, 結果.誤り)) return 結果;
        switch (棋譜行を書く(d, 行)) {
            case 書込誤り::なし:
                break;
            case 書込誤り::持駒数:
                結果.誤り = 持駒数超過文(n);
                return 結果;
            case 書込誤り::時間:
                結果.誤り = 時間範囲外文(n);
                return 結果;
        }
        // Never write a line that reading would refuse.
        const 行解析結果 確認 = 棋譜行を読む(行);
        if (確認.誤り != 行誤り::なし) {
            結果.誤り = 局面不正文(n, 確認.誤り);
            return 結果;
        }
        出力 += 行;
        出力 += 改行;
    }
    結果.内容.assign(出力.begin(), 出力.end());
    結果.成功 = true;
    return 結果;
}

ファイル結果 棋譜ファイルを書く(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                                const 棋譜表& 棋譜, int 記録数, const 棋譜見出し& 見出し) {
    const std::string_view 名 = ファイル名部分(パス);
    棋譜内容結果 内容 = 棋譜ファイル内容を作る(棋譜, 記録数, 見出し, 符号);
    if (!内容.成功) return {false, 書込失敗文(名, 内容.誤り)};
    ファイル結果 書込 = ファイル.書く(パス, 内容.内容);
    if (!書込.成功) {
        return {false,
                書込失敗文(名, 書込.誤り.empty() ? "書き込み中にエラーが発生しました" : 書込.誤り)};
    }
    return {true, ""};
}

// --- Reading ---

棋譜読込結果 棋譜ファイルを解析(std::string_view バイト列, std::string_view 表示名,
                                文字コード& 符号) {
    棋譜読込結果 結果;
    auto 失敗 = [&](int 行番号, int 桁, std::string_view 理由) {
        結果.誤り = 読込失敗文(表示名, 行番号, 桁, 理由);
        結果.棋譜 = {};
        return 結果;
    };
    if (バイト列.empty()) return 失敗(0, 0, record_text::空のファイル);
    std::vector<std::string_view> 行 = 行に分ける(バイト列);
    if (行.size() < 3) return 失敗(0, 0, record_text::見出し不足);
    while (行.size() > 3 && 行.back().empty()) 行.pop_back();

    std::string* 見出し欄[3] = {&結果.棋譜.見出し.対局名, &結果.棋譜.見出し.上手名,
                                &結果.棋譜.見出し.下手名};
    for (int i = 0; i < 3; ++i) {
        std::optional<std::string> 文 = 符号.CP932から(std::string(行[i]));
        if (!文) return 失敗(i + 1, 0, record_text::文字コード不正);
        if (制御文字を含む(*文)) return 失敗(i + 1, 0, record_text::制御文字);
        *見出し欄[i] = std::move(*文);
    }

    const std::size_t 手数 = 行.size() - 3;
    if (手数 > static_cast<std::size_t>(棋譜ファイル最大手数)) {
        return 失敗(3 + 棋譜ファイル最大手数 + 1, 0, record_text::手数超過);
    }
    結果.棋譜.手.reserve(手数);
    for (std::size_t i = 3; i < 行.size(); ++i) {
        行解析結果 r = 棋譜行を読む(行[i]);
        if (r.誤り != 行誤り::なし) {
            return 失敗(static_cast<int>(i) + 1, r.桁, 行誤りの説明(r.誤り));
        }
        結果.棋譜.手.push_back(r.データ);
    }
    結果.成功 = true;
    return 結果;
}

棋譜読込結果 棋譜ファイルを読む(ファイル系& ファイル, 文字コード& 符号, const std::string& パス) {
    const std::string_view 名 = ファイル名部分(パス);
    std::string 誤り;
    std::optional<std::vector<std::uint8_t>> 内容 = ファイル.読む(パス, 誤り);
    if (!内容) {
        棋譜読込結果 結果;
        結果.誤り = 読込失敗文(名, 0, 0, 誤り.empty() ? "ファイルを読めません" : 誤り);
        return 結果;
    }
    const std::string_view バイト列(reinterpret_cast<const char*>(内容->data()), 内容->size());
    return 棋譜ファイルを解析(バイト列, 名, 符号);
}

void 棋譜表へ移す(const 読込棋譜& 記録, 棋譜表& 棋譜) {
    const int N = std::min(記録.記録数(), 棋譜ファイル最大手数);
    局面 開始;
    初期配置(開始);
    for (int x = 0; x <= 盤桝数; ++x)
        for (int y = 0; y <= 盤桝数; ++y) 棋譜.棋譜_盤面[0][x][y] = 開始.盤面[x][y];
    for (int k = 0; k <= 7; ++k) {
        棋譜.棋譜_持駒MAN[0][k] = 開始.持駒MAN[k];
        棋譜.棋譜_持駒COM[0][k] = 開始.持駒COM[k];
    }
    棋譜.棋譜_前秒M[0] = 棋譜.棋譜_後秒M[0] = 棋譜.棋譜_前秒C[0] = 棋譜.棋譜_後秒C[0] = 0;

    for (int n = 1; n < 棋譜最大数; ++n) {
        // Entries past N are cleared so nothing of an earlier game lingers there.
        const 棋譜行データ d = n <= N ? 記録.手[n - 1] : 棋譜行データ{};
        for (int x = 0; x <= 盤桝数; ++x)
            for (int y = 0; y <= 盤桝数; ++y) 棋譜.棋譜_盤面[n][x][y] = d.盤面[x][y];
        for (int k = 0; k <= 7; ++k) {
            棋譜.棋譜_持駒MAN[n][k] = d.持駒MAN[k];
            棋譜.棋譜_持駒COM[n][k] = d.持駒COM[k];
        }
        棋譜.棋譜_前秒M[n] = static_cast<double>(d.前秒M);
        棋譜.棋譜_後秒M[n] = static_cast<double>(d.後秒M);
        棋譜.棋譜_前秒C[n] = static_cast<double>(d.前秒C);
        棋譜.棋譜_後秒C[n] = static_cast<double>(d.後秒C);
    }
    棋譜.棋譜記録数 = N;
    棋譜.棋譜手数 = 0;
}

棋譜読込結果 棋譜を読み込む(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                            棋譜表& 棋譜) {
    棋譜読込結果 結果 = 棋譜ファイルを読む(ファイル, 符号, パス);
    if (結果.成功) 棋譜表へ移す(結果.棋譜, 棋譜);
    return 結果;
}

// --- Display ---

double 取得_棋譜のX座標(std::string_view IN_文字列) {
    int n = 0;
    for (char c : IN_文字列) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    }
    return 盤原点X + 桝幅 * (3 + (13.0 - n) / 5);
}

}  // namespace kiryuza
