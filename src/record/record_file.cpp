#include "record/record_file.h"

#include <algorithm>
#include <cmath>

namespace kiryuza {

namespace {

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
    const 棋譜項目& e = 棋譜.項目(n);
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) d.盤面[x][y] = e.盤面[x][y];
    for (int k = 1; k <= 7; ++k) {
        d.持駒MAN[k] = e.持駒MAN[k];
        d.持駒COM[k] = e.持駒COM[k];
    }
    const double 秒[4] = {e.前秒M, e.後秒M, e.前秒C, e.後秒C};
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

// Why the bytes are not a record in a form this reader takes, before any line is looked at:
// UTF-16 text, or lines ended by CR alone. Empty when neither.
std::string_view 形式の誤り(std::string_view s) {
    if (s.size() >= 2 &&
        ((s[0] == '\xFF' && s[1] == '\xFE') || (s[0] == '\xFE' && s[1] == '\xFF'))) {
        return record_text::UTF16;
    }
    // CP932 text never holds a NUL byte; UTF-16 text of this format is full of them.
    if (s.substr(0, 64).find('\0') != std::string_view::npos) return record_text::UTF16;
    // A lone CR inside a file of CR LF lines is a control character of that line; a file
    // without any LF has its lines ended by CR alone.
    if (s.find('\n') == std::string_view::npos && s.find('\r') + 1 < s.size()) {
        return record_text::CR改行;
    }
    return {};
}

// Hands out the lines of a file one at a time: split at LF, one CR before each LF dropped; a
// final line end does not start another line.
class 行読み {
  public:
    explicit 行読み(std::string_view s) : s_(s) {}
    bool 次(std::string_view& 行) {
        if (始_ >= s_.size()) return false;
        std::size_t 終 = s_.find('\n', 始_);
        const bool 改行あり = 終 != std::string_view::npos;
        if (!改行あり) 終 = s_.size();
        行 = s_.substr(始_, 終 - 始_);
        if (!行.empty() && 行.back() == '\r') 行.remove_suffix(1);
        始_ = 改行あり ? 終 + 1 : s_.size();
        return true;
    }

  private:
    std::string_view s_;
    std::size_t 始_ = 0;
};

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

std::string 途中まで保存文(std::string_view 理由, int 手目) {
    std::string s(理由);
    s += "。\n";
    s += std::to_string(手目) + "手目までを保存しますか？";
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
    if (記録数 > 棋譜.棋譜記録数()) {
        結果.誤り = record_text::手数範囲外;
        return 結果;
    }
    auto 表せない = [&結果](int n, std::string 理由) {
        結果.表せない手目 = n;
        結果.理由 = 理由;
        結果.誤り = std::move(理由);
        return 結果;
    };
    for (int n = 1; n <= 記録数; ++n) {
        棋譜行データ d;
        std::string 誤り;
        if (!行データにする(棋譜, n, d, 誤り)) return 表せない(n, 誤り);
        // A record cut short ends without the move that followed in the game: its last line
        // holds no time for it, as the last entry of a game does.
        if (n == 記録数 && 記録数 < 棋譜.棋譜記録数()) {
            d.後秒M = d.前秒M;
            d.後秒C = d.前秒C;
        }
        switch (棋譜行を書く(d, 行)) {
            case 書込誤り::なし:
                break;
            case 書込誤り::持駒数:
                return 表せない(n, 持駒数超過文(n));
            case 書込誤り::時間:
                return 表せない(n, 時間範囲外文(n));
        }
        // Never write a line that reading would refuse.
        const 行解析結果 確認 = 棋譜行を読む(行);
        const 行誤り 行の誤り = 確認.王が取られた && n < 記録数 ? 行誤り::王の数 : 確認.誤り;
        if (行の誤り != 行誤り::なし) {
            結果.誤り = 局面不正文(n, 行の誤り);
            return 結果;
        }
        出力 += 行;
        出力 += 改行;
    }
    結果.内容.assign(出力.begin(), 出力.end());
    結果.成功 = true;
    return 結果;
}

棋譜書込結果 棋譜ファイルを書く(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                                const 棋譜表& 棋譜, int 記録数, const 棋譜見出し& 見出し,
                                std::string_view 表示名) {
    棋譜内容結果 内容 = 棋譜ファイル内容を作る(棋譜, 記録数, 見出し, 符号);
    if (!内容.成功) {
        return {false, 書込失敗文(表示名, 内容.誤り), 内容.表せない手目, 内容.理由};
    }
    ファイル結果 書込 = ファイル.書く(パス, 内容.内容);
    if (!書込.成功) {
        return {
            false,
            書込失敗文(表示名, 書込.誤り.empty() ? "書き込み中にエラーが発生しました" : 書込.誤り),
            0, ""};
    }
    return {true, "", 0, ""};
}

棋譜書込結果 棋譜を保存する(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                            std::string_view 表示名, const 棋譜表& 棋譜, const 棋譜見出し& 見出し,
                            const std::function<bool(const std::string& 問い)>& 途中まで) {
    棋譜書込結果 r =
        棋譜ファイルを書く(ファイル, 符号, パス, 棋譜, 棋譜.棋譜記録数(), 見出し, 表示名);
    if (r.成功 || r.表せない手目 <= 1) return r;
    const int 手目 = r.表せない手目 - 1;
    if (!途中まで(途中まで保存文(r.理由, 手目))) {
        r.取りやめ = true;
        return r;
    }
    return 棋譜ファイルを書く(ファイル, 符号, パス, 棋譜, 手目, 見出し, 表示名);
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
    // Old editors end a file with Ctrl-Z; a lone CR at the very end ends the last line.
    while (!バイト列.empty() && バイト列.back() == '\x1A') バイト列.remove_suffix(1);
    if (バイト列.empty()) return 失敗(0, 0, record_text::空のファイル);
    if (const std::string_view 誤り = 形式の誤り(バイト列); !誤り.empty()) {
        return 失敗(0, 0, 誤り);
    }

    行読み 読み(バイト列);
    std::string* 見出し欄[3] = {&結果.棋譜.見出し.対局名, &結果.棋譜.見出し.上手名,
                                &結果.棋譜.見出し.下手名};
    std::string_view 行;
    for (int i = 0; i < 3; ++i) {
        if (!読み.次(行)) return 失敗(0, 0, record_text::見出し不足);
        std::optional<std::string> 文 = 符号.CP932から(std::string(行));
        if (!文) return 失敗(i + 1, 0, record_text::文字コード不正);
        if (制御文字を含む(*文)) return 失敗(i + 1, 0, record_text::制御文字);
        *見出し欄[i] = std::move(*文);
    }

    // Blank lines count only when a move line follows them; at most 500 move lines are kept,
    // so memory stays bounded however many lines the file has.
    int 行番号 = 3;
    int 最初の空行 = 0;
    int 王を取った行 = 0;
    while (読み.次(行)) {
        ++行番号;
        if (行.empty()) {
            if (最初の空行 == 0) 最初の空行 = 行番号;
            continue;
        }
        if (最初の空行 != 0) return 失敗(最初の空行, 0, 行誤りの説明(行誤り::長さ));
        if (結果.棋譜.記録数() == 棋譜ファイル最大手数) {
            return 失敗(3 + 棋譜ファイル最大手数 + 1, 0, record_text::手数超過);
        }
        // Only the last position of a game can be without a king.
        if (王を取った行 != 0) return 失敗(王を取った行, 0, 行誤りの説明(行誤り::王の数));
        行解析結果 r = 棋譜行を読む(行);
        if (r.誤り != 行誤り::なし) return 失敗(行番号, r.桁, 行誤りの説明(r.誤り));
        if (r.王が取られた) 王を取った行 = 行番号;
        結果.棋譜.手.push_back(r.データ);
    }
    結果.成功 = true;
    return 結果;
}

棋譜読込結果 棋譜ファイルを読む(ファイル系& ファイル, 文字コード& 符号, const std::string& パス) {
    const std::string_view 名 = ファイル名部分(パス);
    std::string 誤り;
    std::optional<std::vector<std::uint8_t>> 内容 =
        ファイル.読む(パス, 誤り, 棋譜ファイル最大バイト数);
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
    std::vector<棋譜項目> 項目(static_cast<std::size_t>(N) + 1);
    局面 開始;
    初期配置(開始);
    for (int x = 0; x <= 盤桝数; ++x)
        for (int y = 0; y <= 盤桝数; ++y) 項目[0].盤面[x][y] = 開始.盤面[x][y];
    for (int n = 1; n <= N; ++n) {
        const 棋譜行データ& d = 記録.手[static_cast<std::size_t>(n) - 1];
        棋譜項目& e = 項目[static_cast<std::size_t>(n)];
        for (int x = 0; x <= 盤桝数; ++x)
            for (int y = 0; y <= 盤桝数; ++y) e.盤面[x][y] = d.盤面[x][y];
        for (int k = 0; k <= 7; ++k) {
            e.持駒MAN[k] = d.持駒MAN[k];
            e.持駒COM[k] = d.持駒COM[k];
        }
        e.前秒M = static_cast<double>(d.前秒M);
        e.後秒M = static_cast<double>(d.後秒M);
        e.前秒C = static_cast<double>(d.前秒C);
        e.後秒C = static_cast<double>(d.後秒C);
    }
    // The record does not hold entry 0's move: its totals after the move are entry 1's.
    if (N >= 1) {
        項目[0].後秒M = 項目[1].前秒M;
        項目[0].後秒C = 項目[1].前秒C;
    }
    棋譜.置き換える(項目.data(), N);
}

棋譜読込結果 棋譜を読み込む(ファイル系& ファイル, 文字コード& 符号, const std::string& パス,
                            棋譜表& 棋譜) {
    棋譜読込結果 結果 = 棋譜ファイルを読む(ファイル, 符号, パス);
    if (結果.成功) 棋譜表へ移す(結果.棋譜, 棋譜);
    return 結果;
}

}  // namespace kiryuza
