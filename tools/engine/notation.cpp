#include "notation.h"

#include <cctype>

#include "rules/history.h"
#include "rules/position_check.h"

namespace kiryuza {

namespace {

// The letter of each kind by hand index (the king last), and the order hands are written in.
constexpr std::string_view 種類の字 = " PLNSGBRK";
constexpr int 持駒の順[7] = {7, 6, 5, 4, 3, 2, 1};

int 字の種類(char c) {
    const auto i = 種類の字.find(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    return i == std::string_view::npos || i == 0 ? 0 : static_cast<int>(i);
}

bool 二形(int k) {
    return 駒種類表[k].成 != 駒種類表[k].元;
}

std::string 駒の字(int code) {
    const int k = 駒の種類番号(code);
    const bool 成 = 二形(k) && 駒の大きさ(code) == 駒種類表[k].成;
    char c = 種類の字[static_cast<std::size_t>(k)];
    if (COM駒(code)) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return 成 ? std::string{'+', c} : std::string{c};
}

char 筋の字(int X) {
    return static_cast<char>('0' + 10 - X);
}
char 段の字(int Y) {
    return static_cast<char>('a' + Y - 1);
}

// A square written as file digit and rank letter; false when it is not one.
bool 桝を読む(std::string_view s, int& X, int& Y) {
    if (s.size() != 2 || s[0] < '1' || s[0] > '9' || s[1] < 'a' || s[1] > 'i') return false;
    X = 10 - (s[0] - '0');
    Y = s[1] - 'a' + 1;
    return true;
}

// Leaves the reason for the caller and says no.
bool 誤(std::string& 誤り, std::string 理由) {
    誤り = std::move(理由);
    return false;
}

std::string 一字(char c) {
    return std::string(1, c);
}

bool 打つ手(const 最善手& 手) {
    return 手.元X == 持駒列_MAN || 手.元X == 持駒列_COM;
}

// Splits at single spaces, skipping runs of them.
int 区切る(std::string_view s, std::string_view* 欄, int 最大) {
    int n = 0;
    std::size_t i = 0;
    while (i < s.size()) {
        if (s[i] == ' ') {
            ++i;
            continue;
        }
        const std::size_t j = std::min(s.find(' ', i), s.size());
        if (n == 最大) return 最大 + 1;
        欄[n++] = s.substr(i, j - i);
        i = j;
    }
    return n;
}

bool 盤を読む(std::string_view s, 局面& 局, std::string& 誤り) {
    int Y = 1;
    int X = 1;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '/') {
            if (Y == 9) return 誤(誤り, "more than 9 ranks");
            if (X != 10) return 誤(誤り, "rank " + 一字(段の字(Y)) + " is not 9 squares");
            ++Y;
            X = 1;
            continue;
        }
        if (c >= '1' && c <= '9') {
            X += c - '0';
            if (X > 10) return 誤(誤り, "rank " + 一字(段の字(Y)) + " is too long");
            continue;
        }
        const bool 成 = c == '+';
        const char 字 = 成 && i + 1 < s.size() ? s[++i] : c;
        const int k = 字の種類(字);
        if (k == 0 || (成 && !二形(k))) return 誤(誤り, "not a piece: " + 一字(字));
        if (X > 9) return 誤(誤り, "rank " + 一字(段の字(Y)) + " is too long");
        const int v = 成 ? 駒種類表[k].成 : 駒種類表[k].元;
        局.盤面[X++][Y] = std::isupper(static_cast<unsigned char>(字)) ? -v : v;
    }
    if (X != 10 || Y != 9) return 誤(誤り, "the board is not 9 ranks of 9 squares");
    return true;
}

bool 持駒を読む(std::string_view s, 局面& 局, std::string& 誤り) {
    if (s == "-") return true;
    int 数 = 0;
    bool 数あり = false;
    for (const char c : s) {
        if (c >= '0' && c <= '9') {
            if ((!数あり && c == '0') || 数 > 18) return 誤(誤り, "bad count in hand");
            数 = 数 * 10 + (c - '0');
            数あり = true;
            continue;
        }
        const int k = 字の種類(c);
        if (k == 0 || k == 王の種類) return 誤(誤り, "not a piece in hand: " + 一字(c));
        int* 持駒 = std::isupper(static_cast<unsigned char>(c)) ? 局.持駒MAN : 局.持駒COM;
        持駒[k] += 数あり ? 数 : 1;
        数 = 0;
        数あり = false;
    }
    if (数あり || s.empty()) return 誤(誤り, "a count in hand names no piece");
    return true;
}

}  // namespace

局面と手番 開始局面() {
    局面と手番 p;
    初期配置(p.局);
    p.局.手番値MAN = 手番_先手;
    p.局.手番値COM = 手番_後手;
    派生値を整える(p.局);
    return p;
}

bool 対局中(const 局面& 局) {
    return 王がいる(局, 駒_MAN王) && 王がいる(局, 駒_COM王);
}

std::string SFENへ(const 局面と手番& p) {
    std::string s;
    for (int Y = 1; Y <= 9; ++Y) {
        if (Y > 1) s += '/';
        int 空き = 0;
        for (int X = 1; X <= 9; ++X) {
            const int c = p.局.盤面[X][Y];
            if (c == 空桝) {
                ++空き;
                continue;
            }
            if (空き > 0) s += static_cast<char>('0' + 空き);
            空き = 0;
            s += 駒の字(c);
        }
        if (空き > 0) s += static_cast<char>('0' + 空き);
    }
    s += p.COM番 ? " w " : " b ";
    const std::size_t 持駒頭 = s.size();
    for (const bool COM : {false, true})
        for (const int k : 持駒の順) {
            const int n = (COM ? p.局.持駒COM : p.局.持駒MAN)[k];
            if (n == 0) continue;
            if (n > 1) s += std::to_string(n);
            s += 駒の字(COM ? 駒種類表[k].元 : -駒種類表[k].元);
        }
    if (s.size() == 持駒頭) s += '-';
    s += ' ' + std::to_string(p.手数);
    return s;
}

bool SFENから(std::string_view 文字, 局面と手番& p, std::string& 誤り) {
    std::string_view 欄[4];
    const int n = 区切る(文字, 欄, 4);
    if (n < 3 || n > 4) return 誤(誤り, "an SFEN has 3 or 4 fields");
    局面と手番 r;
    r.局.手番値MAN = 手番_先手;
    r.局.手番値COM = 手番_後手;
    if (!盤を読む(欄[0], r.局, 誤り)) return false;
    if (欄[1] != "b" && 欄[1] != "w") return 誤(誤り, "the side to move is b or w");
    r.COM番 = 欄[1] == "w";
    if (!持駒を読む(欄[2], r.局, 誤り)) return false;
    if (n == 4) {
        r.手数 = 0;
        for (const char c : 欄[3]) {
            if (c < '0' || c > '9' || r.手数 > 100000) return 誤(誤り, "bad move number");
            r.手数 = r.手数 * 10 + (c - '0');
        }
        if (r.手数 < 1) return 誤(誤り, "bad move number");
    }
    int 王[2] = {};
    for (int X = 1; X <= 9; ++X)
        for (int Y = 1; Y <= 9; ++Y) {
            王[0] += r.局.盤面[X][Y] == 駒_MAN王;
            王[1] += r.局.盤面[X][Y] == 駒_COM王;
        }
    if (王[0] != 1 || 王[1] != 1) return 誤(誤り, "each side needs one king");
    派生値を整える(r.局);
    局面の期待 期待;
    期待.王以外の駒数 = -1;
    const std::string 矛盾 = 局面の矛盾(r.局, 期待);
    if (!矛盾.empty()) return 誤(誤り, 矛盾);
    p = r;
    return true;
}

std::string 手の表記(const 局面& 局, const 最善手& 手) {
    std::string s;
    if (打つ手(手)) {
        s += 種類の字[static_cast<std::size_t>(持駒番号(手.駒))];
        s += '*';
    } else {
        s += {筋の字(手.元X), 段の字(手.元Y)};
    }
    s += {筋の字(手.先X), 段の字(手.先Y)};
    if (打つ手(手)) return s;
    局面 作業 = 局;
    const int 元駒 = 局.盤面[手.元X][手.元Y];
    if (調査_駒成(作業, 手.元X, 手.元Y, 手.先X, 手.先Y, 元駒) == 定数_ON)
        s += 手.駒 == 元駒 ? '+' : '=';
    return s;
}

bool 表記の手(const 局面と手番& p, std::string_view 文字, 最善手& 手, std::string& 誤り) {
    if (!対局中(p.局)) return 誤(誤り, "the game is over: a king has been taken");
    const bool COM = p.COM番;
    最善手 m;
    m.有り = true;
    if (文字.size() < 4 || 文字.size() > 5 || !桝を読む(文字.substr(2, 2), m.先X, m.先Y))
        return 誤(誤り, "not a move");
    if (文字[1] == '*') {
        const int k = 字の種類(文字[0]);
        if (文字.size() != 4 || k == 0 || k == 王の種類 ||
            !std::isupper(static_cast<unsigned char>(文字[0])))
            return 誤(誤り, "not a drop");
        if ((COM ? p.局.持駒COM : p.局.持駒MAN)[k] == 0) return 誤(誤り, "no such piece in hand");
        m.元X = COM ? 持駒列_COM : 持駒列_MAN;
        m.元Y = COM ? k : k + 2;
        m.駒 = m.元駒 = 打駒(COM, k);
    } else {
        if (!桝を読む(文字.substr(0, 2), m.元X, m.元Y)) return 誤(誤り, "not a move");
        m.元駒 = m.駒 = p.局.盤面[m.元X][m.元Y];
        if (COM ? !COM駒(m.元駒) : !MAN駒(m.元駒))
            return 誤(誤り, "no piece of the side to move on its square");
    }
    if (移動チェック(p.局, m.元X, m.元Y, m.先X, m.先Y, m.駒) != 定数_ON)
        return 誤(誤り, "the piece cannot go there");
    局面 作業 = p.局;
    const bool 選べる =
        !打つ手(m) && 調査_駒成(作業, m.元X, m.元Y, m.先X, m.先Y, m.元駒) == 定数_ON;
    const char 後 = 文字.size() == 5 ? 文字[4] : '\0';
    if (選べる && 後 == '=') {
        m.駒 = 作業.駒成結果;
    } else if (選べる ? 後 != '+' : 後 != '\0') {
        return 誤り = 選べる ? "the piece may end in either form: + or = must say which"
                             : "the form is forced: no + or =",
               false;
    }
    手 = m;
    return true;
}

void 手を進める(局面と手番& p, const 最善手& 手) {
    局面表示 無表示;
    駒移動(p.局, 無表示, 手.元X, 手.元Y, 手.先X, 手.先Y, 手.駒);
    派生値を整える(p.局);
    p.COM番 = !p.COM番;
    ++p.手数;
}

}  // namespace kiryuza
