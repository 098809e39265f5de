#include "engine/review.h"

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <thread>

#include "engine/deep_board.h"

namespace kiryuza {

namespace {

// The score of an evaluation for one side.
int 側から見た(const 局面評価& e, bool COM側) {
    return COM側 ? -e.MAN評価 : e.MAN評価;
}

// 局面の鍵 of entries 0..数-1, each with its side to move.
std::vector<std::uint64_t> 鍵の一覧(const 棋譜表& 棋譜, bool 先手COM, int 数) {
    std::vector<std::uint64_t> 鍵;
    鍵.reserve(static_cast<std::size_t>(数));
    局面 局;
    for (int n = 0; n < 数; ++n) {
        棋譜の局面を写す(棋譜.項目(n), 局);
        鍵.push_back(局面の鍵(局, 手番はCOMか(n, 先手COM)));
    }
    return 鍵;
}

// Entry n with the keys of the entries before it.
検討局面 対象にする(const 棋譜表& 棋譜, int n, bool 先手COM, std::vector<std::uint64_t> 既出鍵) {
    検討局面 対象;
    対象.番号 = n;
    棋譜の局面を写す(棋譜.項目(n), 対象.局);
    対象.COM側 = 手番はCOMか(n, 先手COM);
    対象.終局 = !王がいる(対象.局, 駒_MAN王) || !王がいる(対象.局, 駒_COM王);
    対象.既出鍵 = std::move(既出鍵);
    return 対象;
}

// True when the preferred move, made on entry n - 1, gives entry n's board and hands.
bool 最善を指したか(const 棋譜表& 棋譜, int n, const 最善手& 手) {
    if (!手.有り) return false;
    局面 局;
    棋譜の局面を写す(棋譜.項目(n - 1), 局);
    局面表示 無表示;
    駒移動(局, 無表示, 手.元X, 手.元Y, 手.先X, 手.先Y, 手.駒);
    const 棋譜項目& 後 = 棋譜.項目(n);
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y)
            if (局.盤面[x][y] != 後.盤面[x][y]) return false;
    for (int k = 1; k <= 7; ++k)
        if (局.持駒MAN[k] != 後.持駒MAN[k] || 局.持駒COM[k] != 後.持駒COM[k]) return false;
    return true;
}

}  // namespace

double 勝率(int 評価) {
    if (評価 >= 深読み勝ち境界) return 1.0;
    if (評価 <= -深読み勝ち境界) return 0.0;
    return 1.0 / (1.0 + std::exp(-static_cast<double>(評価) / 勝率尺度));
}

int 詰みまでの手数(int 評価) {
    const int 手数 = 深読み勝ち - std::abs(評価) + 1;
    return 評価 < 0 ? -手数 : 手数;
}

局面評価 評価にする(const 深読み結果& 結果, bool COM側) {
    局面評価 e;
    e.済み = true;
    e.手番評価 = 結果.手.有り ? 結果.評価 : -深読み勝ち;
    e.MAN評価 = COM側 ? -e.手番評価 : e.手番評価;
    e.詰み = 詰みの評価(e.手番評価);
    e.最善 = 結果.手;
    e.深さ = 結果.深さ;
    return e;
}

bool 初手はCOMか(const 棋譜表& 棋譜) {
    if (棋譜.棋譜記録数() < 1) return false;
    const 棋譜項目& 前 = 棋譜.項目(0);
    const 棋譜項目& 後 = 棋譜.項目(1);
    // The mover's piece lands on the one square whose content changed to a piece.
    for (int x = 1; x <= 盤桝数; ++x)
        for (int y = 1; y <= 盤桝数; ++y)
            if (後.盤面[x][y] != 前.盤面[x][y] && 後.盤面[x][y] != 空桝)
                return COM駒(後.盤面[x][y]);
    return false;
}

検討局面 検討局面を作る(const 棋譜表& 棋譜, int n, bool 先手COM) {
    return 対象にする(棋譜, n, 先手COM, 鍵の一覧(棋譜, 先手COM, n));
}

局面評価 終局の評価(const 検討局面& 対象) {
    局面評価 e;
    e.済み = true;
    e.終局 = true;
    e.詰み = true;
    e.手番評価 = 王がいる(対象.局, 対象.COM側 ? 駒_COM王 : 駒_MAN王) ? 深読み勝ち : -深読み勝ち;
    e.MAN評価 = 対象.COM側 ? -e.手番評価 : e.手番評価;
    return e;
}

局面評価 深読みで評価する(深読みエンジン& エンジン, const 検討局面& 対象, 深読み設定 設定) {
    if (対象.終局) return 終局の評価(対象);
    設定.既出鍵 = 対象.既出鍵.data();
    設定.既出鍵数 = static_cast<int>(対象.既出鍵.size());
    return 評価にする(エンジン.探索(対象.局, 対象.COM側, 設定), 対象.COM側);
}

// The mark weighs the fall in winning chance, not in points: the same 300 points that turn an
// even game into a bad one are noise on a lead of 3000, and a lead kept is a lead kept however
// many points it shrinks by. Mates sit at the ends of the scale, so a mate against the mover that
// was there before costs nothing; but a forced mate given away is 悪手 whatever score is left,
// which the scale alone would not say of a large lead: the game was won and must now be won again.
// The thresholds stand above the noise of a search of a tenth of a second. On games of the
// searching player reviewed at 100 ms and again at 1 s, falls of up to about 0.10 came and went
// with the depth (two searches a ply apart disagree by a few hundred points in the middle of an
// exchange); the deeper search confirmed most falls above 0.12 and nearly all above 0.25. Near an
// even game 0.12 is about three pawns' worth lost (a pawn given for nothing), 0.25 about six (a
// promoted piece, or a won game turned into an even one); as a lead grows the same fall needs
// ever more points, and from 1500 up only losing most of the lead reaches 0.25.
手の印 印を決める(int 前, int 後) {
    if (前 >= 深読み勝ち境界 && 後 < 深読み勝ち境界) return 手の印::悪手;
    const double 落差 = 勝率(前) - 勝率(後);
    if (落差 >= 悪手の落差) return 手の印::悪手;
    if (落差 >= 疑問手の落差) return 手の印::疑問手;
    return 手の印::なし;
}

講評 講評をまとめる(const 棋譜表& 棋譜, bool 先手COM, std::vector<局面評価> 評価) {
    const int N = 棋譜.棋譜記録数();
    講評 結果;
    評価.resize(static_cast<std::size_t>(N) + 1);
    結果.局面 = std::move(評価);
    結果.手.reserve(static_cast<std::size_t>(N));
    for (int n = 1; n <= N; ++n) {
        const 局面評価& 前 = 結果.局面[static_cast<std::size_t>(n) - 1];
        const 局面評価& 後 = 結果.局面[static_cast<std::size_t>(n)];
        手の講評 手;
        手.番号 = n;
        手.COM側 = 手番はCOMか(n - 1, 先手COM);
        手.先手 = 手.COM側 == 先手COM;
        if (前.済み && 後.済み && !前.終局) {
            手.前評価 = 側から見た(前, 手.COM側);
            手.後評価 = 側から見た(後, 手.COM側);
            手.落差 = 勝率(手.前評価) - 勝率(手.後評価);
            手.最善 = 前.最善;
            手.最善どおり = 最善を指したか(棋譜, n, 前.最善);
            if (!手.最善どおり) 手.印 = 印を決める(手.前評価, 手.後評価);
        }
        講評集計& 集計 = 手.先手 ? 結果.先手 : 結果.後手;
        if (手.印 == 手の印::悪手) ++集計.悪手;
        if (手.印 == 手の印::疑問手) ++集計.疑問手;
        結果.手.push_back(手);
    }
    return 結果;
}

講評 棋譜を講評する(const 棋譜表& 棋譜, bool 先手COM, const 局面を評価する& 評価する, int 並列数) {
    const int N = 棋譜.棋譜記録数();
    const std::vector<std::uint64_t> 鍵 = 鍵の一覧(棋譜, 先手COM, N);
    std::vector<検討局面> 対象;
    対象.reserve(static_cast<std::size_t>(N) + 1);
    for (int n = 0; n <= N; ++n)
        対象.push_back(
            対象にする(棋譜, n, 先手COM, std::vector<std::uint64_t>(鍵.begin(), 鍵.begin() + n)));

    // Each thread takes the next entry not yet taken; each entry's result has its own slot.
    std::vector<局面評価> 評価(対象.size());
    std::atomic<int> 次{0};
    std::mutex 錠;
    std::exception_ptr 失敗;
    const auto 働く = [&](int 作業者) {
        try {
            for (int n = 次++; n <= N; n = 次++) {
                const 検討局面& t = 対象[static_cast<std::size_t>(n)];
                評価[static_cast<std::size_t>(n)] = t.終局 ? 終局の評価(t) : 評価する(t, 作業者);
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(錠);
            if (!失敗) 失敗 = std::current_exception();
            次 = N + 1;
        }
    };
    std::vector<std::thread> 助手;
    for (int i = 1; i < 並列数; ++i) 助手.emplace_back(働く, i);
    働く(0);
    for (std::thread& t : 助手) t.join();
    if (失敗) std::rethrow_exception(失敗);
    return 講評をまとめる(棋譜, 先手COM, std::move(評価));
}

}  // namespace kiryuza
