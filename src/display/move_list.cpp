#include "display/move_list.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "display/screen.h"
#include "rules/pieces.h"

namespace kiryuza {

namespace {

// Beyond this (about 31 years) a clock's time is a broken history, not a game; capping it
// keeps the arithmetic far from overflow.
constexpr double 上限秒 = 1e9;

// The whole seconds of a clock's time.
long long 整数秒(double 秒) {
    if (!std::isfinite(秒) || 秒 <= 0) return 0;
    return static_cast<long long>(std::floor(std::min(秒, 上限秒)));
}

// The hand index whose count went down from `前` to `後`; 0 when none did.
int 減った持駒(const int (&前)[8], const int (&後)[8]) {
    for (int k = 1; k <= 7; ++k)
        if (後[k] < 前[k]) return k;
    return 0;
}

}  // namespace

std::optional<一覧の手> 一覧の手を求める(const 棋譜表& 棋譜, int n, bool 先手COM) {
    if (n < 1 || n > 棋譜.棋譜記録数()) return std::nullopt;
    const 棋譜項目& 前 = 棋譜.項目(n - 1);
    const 棋譜項目& 後 = 棋譜.項目(n);
    一覧の手 手;
    手.番号 = n;
    // The destination is the one square whose new content is a piece; the origin the square
    // that piece's side left empty.
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            if (前.盤面[x][y] != 後.盤面[x][y] && 後.盤面[x][y] != 空桝) {
                手.先X = x;
                手.先Y = y;
                手.駒 = 後.盤面[x][y];
            }
        }
    if (手.駒 == 空桝) return std::nullopt;
    手.COM側 = COM駒(手.駒);
    for (int x = 1; x <= 9; ++x)
        for (int y = 1; y <= 9; ++y) {
            const int 元 = 前.盤面[x][y];
            if (後.盤面[x][y] == 空桝 && 元 != 空桝 && COM駒(元) == 手.COM側) {
                手.元X = x;
                手.元Y = y;
            }
        }
    if (手.元X == 0 &&
        減った持駒(手.COM側 ? 前.持駒COM : 前.持駒MAN, 手.COM側 ? 後.持駒COM : 後.持駒MAN) == 0)
        return std::nullopt;
    手.先手 = 手.COM側 == 先手COM;
    手.秒 = 手の秒数(前, 手.COM側);
    return 手;
}

long long 手の秒数(const 棋譜項目& 前, bool COM側) {
    const long long 始 = 整数秒(COM側 ? 前.前秒C : 前.前秒M);
    return std::max(0LL, 整数秒(COM側 ? 前.後秒C : 前.後秒M) - 始);
}

std::string 指し手の文(const 一覧の手& 手) {
    std::string 文 = 文字列変換(10 - 手.先X) + 文字列変換(1000 + 手.先Y) + " " + 文字列変換(手.駒);
    if (手.元X == 0) return 文 + " 打";
    return 文 + " (" + std::to_string(10 - 手.元X) + std::to_string(手.元Y) + ")";
}

std::string 最善手の文(const 最善手& 手, bool 先手) {
    一覧の手 m;
    m.先手 = 先手;
    m.COM側 = COM駒(手.駒);
    const bool 打 = 手.元X == 持駒列_COM || 手.元X == 持駒列_MAN;
    m.元X = 打 ? 0 : 手.元X;
    m.元Y = 打 ? 0 : 手.元Y;
    m.先X = 手.先X;
    m.先Y = 手.先Y;
    m.駒 = 手.駒;
    return std::string(先手 ? "▲" : "△") + 指し手の文(m);
}

std::string 消費時間の文(long long 秒) {
    const long long s = std::max(0LL, 秒);
    const auto 二桁 = [](long long v) {
        std::string t = std::to_string(v);
        if (v < 10) t.insert(t.begin(), '0');
        return t;
    };
    if (s >= 3600) return std::to_string(s / 3600) + ":" + 二桁(s / 60 % 60) + ":" + 二桁(s % 60);
    return std::to_string(s / 60) + ":" + 二桁(s % 60);
}

std::string 一覧の文(const 棋譜表& 棋譜, int n, bool 先手COM, int ハンデレベル) {
    if (n == 0) {
        if (ハンデレベル == 0) return "開始局面";
        return "開始局面（" + std::string(ハンデレベル > 0 ? "上手" : "下手") + "の駒落ち " +
               std::to_string(std::abs(ハンデレベル)) + "）";
    }
    const std::optional<一覧の手> 手 = 一覧の手を求める(棋譜, n, 先手COM);
    if (!手) return "？";
    return std::string(手->先手 ? "▲" : "△") + 指し手の文(*手);
}

}  // namespace kiryuza
