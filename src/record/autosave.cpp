#include "record/autosave.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <string_view>

#include "rules/position_check.h"

namespace kiryuza {

namespace {

constexpr std::string_view 合言葉 = "KIRYUZA-GAME\n";
// Version 2 adds the time control and each clock's turn; a version 1 game was played without
// a time control.
constexpr std::uint32_t 版 = 2;
// The longest main time or byoyomi a kept game may hold: a day.
constexpr int 時間制の上限 = 86400;
constexpr std::uint32_t 題の最大長 = 4096;

// FNV-1a over the bytes, eight at a time: enough to tell a torn or altered file from a whole
// one, and cheap enough for every move.
std::uint64_t 検査値(const std::uint8_t* p, std::size_t n) {
    std::uint64_t h = 14695981039346656037ull;
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w = 0;
        for (int j = 0; j < 8; ++j) w |= std::uint64_t(p[i + j]) << (8 * j);
        h = (h ^ w) * 1099511628211ull;
    }
    for (; i < n; ++i) h = (h ^ p[i]) * 1099511628211ull;
    return h;
}

// Appends little-endian fields; the buffer grows only at its reserve.
class 書き手 {
  public:
    std::vector<std::uint8_t> 出力;
    void 整数(std::uint64_t v, int バイト) {
        std::uint8_t b[8];
        if constexpr (std::endian::native == std::endian::little) {
            std::memcpy(b, &v, 8);
        } else {
            for (int i = 0; i < 8; ++i) b[i] = static_cast<std::uint8_t>(v >> (8 * i));
        }
        出力.insert(出力.end(), b, b + バイト);
    }
    void 符号付き(int v) { 整数(static_cast<std::uint32_t>(v), 4); }
    // A run of 32-bit fields, in one go where the machine is little-endian already.
    void 並び(const int* p, std::size_t n) {
        if constexpr (std::endian::native == std::endian::little && sizeof(int) == 4) {
            const auto* b = reinterpret_cast<const std::uint8_t*>(p);
            出力.insert(出力.end(), b, b + 4 * n);
        } else {
            for (std::size_t i = 0; i < n; ++i) 符号付き(p[i]);
        }
    }
    void 実数(double v) {
        std::uint64_t b;
        std::memcpy(&b, &v, sizeof b);
        整数(b, 8);
    }
    void 文字列(const std::string& s) {
        const auto n = static_cast<std::uint32_t>(std::min<std::size_t>(s.size(), 題の最大長));
        整数(n, 4);
        出力.insert(出力.end(), s.begin(), s.begin() + n);
    }
};

class 読み手 {
  public:
    読み手(const std::uint8_t* p, std::size_t n) : p_(p), n_(n) {}
    bool 正常() const { return 正常_; }
    void 誤り() { 正常_ = false; }
    std::uint64_t 整数(int バイト) {
        if (n_ - 位置_ < static_cast<std::size_t>(バイト)) {
            正常_ = false;
            return 0;
        }
        std::uint64_t v = 0;
        for (int i = 0; i < バイト; ++i) v |= std::uint64_t(p_[位置_ + i]) << (8 * i);
        位置_ += static_cast<std::size_t>(バイト);
        return v;
    }
    // A signed field within [下, 上]; outside it marks the whole read as bad.
    int 範囲(int 下, int 上) {
        const auto v = static_cast<int>(static_cast<std::int32_t>(整数(4)));
        if (v < 下 || v > 上) 正常_ = false;
        return v;
    }
    double 秒() {
        const std::uint64_t b = 整数(8);
        double v;
        std::memcpy(&v, &b, sizeof v);
        if (!std::isfinite(v) || v < 0) 正常_ = false;
        return v;
    }
    std::string 文字列() {
        const auto n = static_cast<std::size_t>(整数(4));
        if (n > 題の最大長 || n_ - 位置_ < n) {
            正常_ = false;
            return {};
        }
        std::string s(reinterpret_cast<const char*>(p_ + 位置_), n);
        位置_ += n;
        return s;
    }
    bool 終わった() const { return 位置_ == n_; }

  private:
    const std::uint8_t* p_;
    std::size_t n_;
    std::size_t 位置_ = 0;
    bool 正常_ = true;
};

// A square's code: empty or a piece that may stand on a board.
bool 桝の値(int c) {
    return c == 空桝 || 盤上駒コード(c);
}

// The board as its whole 10 x 10 table (row and column 0 stay empty) and both hands as their
// 8-slot tables (slot 0 stays empty): a few block copies per entry.
void 盤と持駒を書く(書き手& w, const int (&盤)[10][10], const int (&MAN)[8], const int (&COM)[8]) {
    w.並び(&盤[0][0], 100);
    w.並び(MAN, 8);
    w.並び(COM, 8);
}

void 盤と持駒を読む(読み手& r, int (&盤)[10][10], int (&MAN)[8], int (&COM)[8]) {
    for (int x = 0; x <= 盤桝数; ++x)
        for (int y = 0; y <= 盤桝数; ++y) {
            盤[x][y] = r.範囲(-駒_COM王, 駒_COM王);
            if (!桝の値(盤[x][y]) || ((x == 0 || y == 0) && 盤[x][y] != 空桝)) r.誤り();
        }
    for (int* 手 : {MAN, COM}) {
        手[0] = r.範囲(0, 0);
        for (int k = 1; k <= 7; ++k) 手[k] = r.範囲(0, 駒種類表[k].枚数);
    }
}

}  // namespace

std::vector<std::uint8_t> 自動保存の形にする(const 対局状態& s, const 自動保存の印& 印) {
    書き手 w;
    constexpr std::size_t 項目の大きさ = (100 + 16) * 4 + 4 * 8;
    w.出力.reserve(1024 + 3 * 題の最大長 +
                   項目の大きさ * (static_cast<std::size_t>(s.棋譜.棋譜記録数()) + 2));
    w.出力.insert(w.出力.end(), 合言葉.begin(), 合言葉.end());
    w.整数(版, 4);
    w.整数(印.終局 ? 1 : 0, 1);
    w.整数(印.保存済み ? 1 : 0, 1);
    const auto& 況 = s.状況;
    for (int v :
         {況.手番, 況.対局モード, 況.棋譜モード, 況.反転フラグ, 況.ハンデ設定フラグ, 況.再開フラグ,
          況.手数, 況.ハンデレベル, 況.COMレベル, s.局.勝者, s.局.手番値MAN, s.局.手番値COM}) {
        w.符号付き(v);
    }
    w.実数(s.時計.累計秒MAN);
    w.実数(s.時計.累計秒COM);
    w.実数(s.時計.手の秒MAN);
    w.実数(s.時計.手の秒COM);
    w.整数(static_cast<std::uint64_t>(s.時計.走る側), 1);
    w.符号付き(s.時計.持ち時間秒);
    w.符号付き(s.時計.秒読み秒);
    for (const std::string* 題 : {&況.見出し.対局名, &況.見出し.上手名, &況.見出し.下手名})
        w.文字列(*題);
    盤と持駒を書く(w, s.局.盤面, s.局.持駒MAN, s.局.持駒COM);
    const 棋譜表& 棋譜 = s.棋譜;
    w.整数(static_cast<std::uint64_t>(棋譜.出自()), 1);
    w.符号付き(棋譜.棋譜手数());
    w.符号付き(棋譜.棋譜記録数());
    for (int n = 0; n <= 棋譜.棋譜記録数(); ++n) {
        const 棋譜項目& e = 棋譜.項目(n);
        盤と持駒を書く(w, e.盤面, e.持駒MAN, e.持駒COM);
        for (double t : {e.前秒M, e.後秒M, e.前秒C, e.後秒C}) w.実数(t);
    }
    w.整数(検査値(w.出力.data(), w.出力.size()), 8);
    return std::move(w.出力);
}

std::optional<自動保存> 自動保存を読む(const std::vector<std::uint8_t>& 内容) {
    const std::size_t 本体 = 内容.size() < 8 ? 0 : 内容.size() - 8;
    if (本体 < 合言葉.size() || std::memcmp(内容.data(), 合言葉.data(), 合言葉.size()) != 0) {
        return std::nullopt;
    }
    読み手 末尾(内容.data() + 本体, 8);
    if (末尾.整数(8) != 検査値(内容.data(), 本体)) return std::nullopt;

    読み手 r(内容.data() + 合言葉.size(), 本体 - 合言葉.size());
    const std::uint64_t 読んだ版 = r.整数(4);
    if (読んだ版 != 1 && 読んだ版 != 版) return std::nullopt;
    自動保存 保存;
    保存.印.終局 = r.整数(1) != 0;
    保存.印.保存済み = r.整数(1) != 0;
    auto& s = 保存.状態;
    auto& 況 = s.状況;
    況.手番 = r.範囲(-1, 1);
    況.対局モード = r.範囲(対局モード_人間, 対局モード_COM);
    況.棋譜モード = r.範囲(0, 1);
    況.反転フラグ = r.範囲(0, 1);
    況.ハンデ設定フラグ = r.範囲(0, 1);
    況.再開フラグ = r.範囲(0, 1);
    況.手数 = r.範囲(0, 手数の上限);
    況.ハンデレベル = r.範囲(-10, 10);
    況.COMレベル = r.範囲(1, 4);
    s.局.勝者 = r.範囲(-1, 1);
    s.局.手番値MAN = r.範囲(-1, 1);
    s.局.手番値COM = r.範囲(-1, 1);
    if (!r.正常() || s.局.手番値MAN == 手番_なし || s.局.手番値MAN != -s.局.手番値COM) {
        return std::nullopt;
    }
    s.時計.累計秒MAN = r.秒();
    s.時計.累計秒COM = r.秒();
    if (読んだ版 >= 2) {
        s.時計.手の秒MAN = r.秒();
        s.時計.手の秒COM = r.秒();
        const auto 側 = r.整数(1);
        if (側 > static_cast<std::uint64_t>(時計の側::COM)) r.誤り();
        s.時計.走る側 = static_cast<時計の側>(側);
        s.時計.持ち時間秒 = r.範囲(0, 時間制の上限);
        s.時計.秒読み秒 = r.範囲(0, 時間制の上限);
    }
    for (std::string* 題 : {&況.見出し.対局名, &況.見出し.上手名, &況.見出し.下手名})
        *題 = r.文字列();
    盤と持駒を読む(r, s.局.盤面, s.局.持駒MAN, s.局.持駒COM);
    const auto 出自 = static_cast<int>(r.整数(1));
    if (出自 > static_cast<int>(棋譜の出自::反転)) return std::nullopt;
    const int 手数 = r.範囲(0, 棋譜最大手数);
    const int 記録数 = r.範囲(手数, 棋譜最大手数);
    if (!r.正常()) return std::nullopt;
    std::vector<棋譜項目> 項目(static_cast<std::size_t>(記録数) + 1);
    for (棋譜項目& e : 項目) {
        盤と持駒を読む(r, e.盤面, e.持駒MAN, e.持駒COM);
        for (double* t : {&e.前秒M, &e.後秒M, &e.前秒C, &e.後秒C}) *t = r.秒();
    }
    if (!r.正常() || !r.終わった()) return std::nullopt;
    s.棋譜.置き換える(項目.data(), 記録数, static_cast<棋譜の出自>(出自));
    for (int i = 0; i < 手数; ++i) s.棋譜.進める();
    派生値を整える(s.局);
    // A game that would be offered must be one that play reaches; any other is only forgotten.
    if (続けられる(保存) && !自動保存の矛盾(保存).empty()) return std::nullopt;
    return 保存;
}

std::string 自動保存の矛盾(const 自動保存& 保存) {
    const 対局状態& s = 保存.状態;
    const 棋譜表& 棋譜 = s.棋譜;
    const int N = 棋譜.棋譜記録数();
    auto 時間内 = [](double t) { return t >= 0 && t <= 時計の上限; };
    // A king may be gone only from the last position: a game won by taking it, or a record
    // that ends with the capture.
    const bool 王を取れた = s.局.勝者 != 手番_なし || s.状況.棋譜モード == 定数_ON;
    局面の期待 期待;
    期待.王以外の駒数 = -1;  // as many as the game began with, whatever the handicap
    局面 局;
    for (int n = 0; n <= N; ++n) {
        const 棋譜項目& e = 棋譜.項目(n);
        棋譜の局面を写す(e, 局);
        期待.王一枚でもよい = n == N && 王を取れた;
        if (std::string m = 局面の矛盾(局, 期待); !m.empty()) {
            return "entry " + std::to_string(n) + ": " + m;
        }
        期待.王以外の駒数 = 王以外の駒数(局);
        if (!時間内(e.前秒M) || !時間内(e.後秒M) || !時間内(e.前秒C) || !時間内(e.後秒C)) {
            return "entry " + std::to_string(n) + ": a clock out of range";
        }
    }
    const 棋譜項目& 最後 = 棋譜.項目(N);
    if (最後.前秒M != 最後.後秒M || 最後.前秒C != 最後.後秒C) return "the last entry holds a move";
    期待.王一枚でもよい = 王を取れた;
    if (std::string m = 局面の矛盾(s.局, 期待); !m.empty()) return "the board: " + m;
    const 時計値& 時 = s.時計;
    if (!時間内(時.累計秒MAN) || !時間内(時.累計秒COM) || !時間内(時.手の秒MAN) ||
        !時間内(時.手の秒COM)) {
        return "a clock out of range";
    }
    // Without a time control the clocks are the totals of the entry on the board, and no turn
    // is held; under one they are the game's, whatever entry is shown.
    const bool 時間制 = 時.持ち時間秒 > 0 || 時.秒読み秒 > 0;
    if (!時間制 && (時.手の秒MAN != 0 || 時.手の秒COM != 0 || 時.走る側 != 時計の側::なし)) {
        return "a turn held without a time control";
    }
    const bool 進行中 =
        s.状況.手番 != 手番_なし && s.局.勝者 == 手番_なし && s.状況.棋譜モード == 定数_OFF;
    if (時.走る側 != 時計の側::なし && !進行中) return "a clock runs outside a game";
    if (s.状況.手番 != 手番_なし) {
        // A game in play has the position of the entry it stands at, with its clocks.
        const 棋譜項目& e = 棋譜.現在();
        if (std::memcmp(e.盤面, s.局.盤面, sizeof e.盤面) != 0) {
            return "the board is not the entry it stands at";
        }
        if (std::memcmp(e.持駒MAN, s.局.持駒MAN, sizeof e.持駒MAN) != 0 ||
            std::memcmp(e.持駒COM, s.局.持駒COM, sizeof e.持駒COM) != 0) {
            return "the hands are not the entry's";
        }
        if (!(時間制 && 進行中) && (時.累計秒MAN != e.前秒M || 時.累計秒COM != e.前秒C)) {
            return "the clocks are not the entry's";
        }
    }
    return "";
}

void 検査値を付け直す(std::vector<std::uint8_t>& 内容) {
    if (内容.size() < 8) return;
    const std::size_t 本体 = 内容.size() - 8;
    std::uint64_t h = 検査値(内容.data(), 本体);
    for (std::size_t i = 0; i < 8; ++i, h >>= 8) 内容[本体 + i] = static_cast<std::uint8_t>(h);
}

bool 続けられる(const 自動保存& 保存) {
    const auto& s = 保存.状態;
    return !保存.印.終局 && !保存.印.保存済み && s.状況.手番 != 手番_なし &&
           s.局.勝者 == 手番_なし && (s.状況.手数 > 0 || s.棋譜.棋譜記録数() > 0);
}

}  // namespace kiryuza
