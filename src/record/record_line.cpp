#include "record/record_line.h"

#include <cstdlib>

#include "rules/pieces.h"

namespace kiryuza {

namespace {

// A right-aligned decimal field: blanks, an optional minus, at least one digit, nothing after.
bool 数値欄(std::string_view 欄, bool 負可, long& 値) {
    std::size_t i = 0;
    while (i < 欄.size() && 欄[i] == ' ') ++i;
    bool 負 = false;
    if (i < 欄.size() && 欄[i] == '-' && 負可) {
        負 = true;
        ++i;
    }
    if (i == 欄.size()) return false;
    long v = 0;
    for (; i < 欄.size(); ++i) {
        const char c = 欄[i];
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    値 = 負 ? -v : v;
    return true;
}

}  // namespace

行解析結果 棋譜行を読む(std::string_view 行) {
    行解析結果 結果;
    if (行.size() != 棋譜行長) {
        結果.誤り = 行誤り::長さ;
        return 結果;
    }
    auto& d = 結果.データ;
    int 種類数[8] = {};
    int 王MAN = 0;
    int 王COM = 0;
    std::size_t p = 0;
    for (int x = 1; x <= 9; ++x) {
        for (int y = 1; y <= 9; ++y, p += 4) {
            long v = 0;
            if (!数値欄(行.substr(p, 4), true, v)) {
                結果.誤り = 行誤り::数値でない;
                結果.桁 = static_cast<int>(p) + 1;
                return 結果;
            }
            if (v != 空桝 && !盤上駒コード(static_cast<int>(v))) {
                結果.誤り = 行誤り::駒でない;
                結果.桁 = static_cast<int>(p) + 1;
                return 結果;
            }
            d.盤面[x][y] = static_cast<int>(v);
            if (v == 駒_MAN王) ++王MAN;
            if (v == 駒_COM王) ++王COM;
            ++種類数[持駒番号(static_cast<int>(v))];
        }
    }
    for (int k = 1; k <= 7; ++k) {
        for (int* 持駒 : {d.持駒MAN, d.持駒COM}) {
            const char c = 行[p];
            if (c < '0' || c > '9') {
                結果.誤り = 行誤り::数値でない;
                結果.桁 = static_cast<int>(p) + 1;
                return 結果;
            }
            持駒[k] = c - '0';
            種類数[k] += 持駒[k];
            ++p;
        }
    }
    for (long* 秒 : {&d.前秒M, &d.後秒M, &d.前秒C, &d.後秒C}) {
        if (!数値欄(行.substr(p, 5), false, *秒)) {
            結果.誤り = 行誤り::数値でない;
            結果.桁 = static_cast<int>(p) + 1;
            return 結果;
        }
        p += 5;
    }
    for (int k = 1; k <= 7; ++k) {
        if (種類数[k] > 駒種類表[k].枚数) {
            結果.誤り = 行誤り::駒数超過;
            return 結果;
        }
    }
    if (王MAN > 1 || 王COM > 1 || 王MAN + 王COM == 0) {
        結果.誤り = 行誤り::王の数;
    } else {
        結果.王が取られた = 王MAN + 王COM == 1;
    }
    return 結果;
}

const char* 行誤りの理由(行誤り 誤り) {
    switch (誤り) {
        case 行誤り::なし:
            return "ok";
        case 行誤り::長さ:
            return "wrong length";
        case 行誤り::数値でない:
            return "field is not a number";
        case 行誤り::駒でない:
            return "value is not a piece code";
        case 行誤り::駒数超過:
            return "more pieces of a kind than a set holds";
        case 行誤り::王の数:
            return "not exactly one king per side";
    }
    return "unknown";
}

const char* 行誤りの説明(行誤り 誤り) {
    switch (誤り) {
        case 行誤り::なし:
            return "";
        case 行誤り::長さ:
            return "行の長さが358文字ではありません";
        case 行誤り::数値でない:
            return "数値でない欄があります";
        case 行誤り::駒でない:
            return "駒ではない値があります";
        case 行誤り::駒数超過:
            return "駒の数が多すぎます";
        case 行誤り::王の数:
            return "王が両方に一枚ずつありません";
    }
    return "";
}

void 行を局面へ(const 棋譜行データ& d, 局面& 局) {
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y) 局.盤面[x][y] = d.盤面[x][y];
    for (int k = 1; k <= 7; ++k) {
        局.持駒MAN[k] = d.持駒MAN[k];
        局.持駒COM[k] = d.持駒COM[k];
    }
    派生値を整える(局);
}

書込誤り 棋譜行を書く(const 棋譜行データ& d, std::string& 出力) {
    for (int k = 1; k <= 7; ++k) {
        if (d.持駒MAN[k] < 0 || d.持駒MAN[k] > 9 || d.持駒COM[k] < 0 || d.持駒COM[k] > 9) {
            return 書込誤り::持駒数;
        }
    }
    for (long 秒 : {d.前秒M, d.後秒M, d.前秒C, d.後秒C}) {
        if (秒 < 0 || 秒 > 99999) return 書込誤り::時間;
    }
    std::string s;
    s.reserve(棋譜行長);
    auto 右寄せ = [&s](long v, std::size_t 幅) {
        const std::string t = std::to_string(v);
        s.append(幅 > t.size() ? 幅 - t.size() : 0, ' ');
        s += t;
    };
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) 右寄せ(d.盤面[x][y], 4);
    for (int k = 1; k <= 7; ++k) {
        s += static_cast<char>('0' + d.持駒MAN[k]);
        s += static_cast<char>('0' + d.持駒COM[k]);
    }
    for (long 秒 : {d.前秒M, d.後秒M, d.前秒C, d.後秒C}) 右寄せ(秒, 5);
    出力 = std::move(s);
    return 書込誤り::なし;
}

}  // namespace kiryuza
