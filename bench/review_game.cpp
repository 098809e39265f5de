// Writes the game that bench/review.sh reviews: the searching player against itself, one thread
// and a fixed depth a move (so the same seed gives the same game on every machine), with the
// choice among near-equal moves drawn from the seed, written as a record file.
//
//   review_game OUT [MOVES] [SEED] [DEPTH]     (defaults: 100 moves, seed 1, depth 6)
// Fails (exit code 1) when a king is taken before MOVES moves: try another seed.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "engine/deep_board.h"
#include "engine/deep_search.h"
#include "iconv_codec.h"
#include "record/record_file.h"

using namespace kiryuza;

int main(int argc, char** argv) {
    if (argc < 2 || argc > 5) {
        std::cerr << "usage: review_game OUT [MOVES] [SEED] [DEPTH]\n";
        return 2;
    }
    const int 手数 = argc > 2 ? std::atoi(argv[2]) : 100;
    const std::uint64_t 種 = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1;
    const int 深さ = argc > 4 ? std::atoi(argv[4]) : 6;
    if (手数 < 1 || 手数 > 棋譜最大手数 || 深さ < 1) {
        std::cerr << "review_game: MOVES must be 1..500 and DEPTH at least 1\n";
        return 2;
    }

    auto 局 = std::make_unique<局面>();
    初期配置(*局);
    派生値を整える(*局);
    auto 棋譜 = std::make_unique<棋譜表>();
    棋譜->開始(*局, 0, 0);
    深読みエンジン エンジン(16, 1);
    深読み設定 設定;
    設定.時間ms = 0;
    設定.深さ上限 = 深さ;
    設定.揺らぎ種 = 種 * 0x9E3779B97F4A7C15ull | 1;
    std::vector<std::uint64_t> 既出;
    局面表示 無表示;
    bool COM番 = false;
    double 秒M = 0, 秒C = 0;
    for (int n = 1; n <= 手数; ++n) {
        if (局->勝者 != 手番_なし) {
            std::cerr << "review_game: a king was taken after " << n - 1 << " moves\n";
            return 1;
        }
        設定.既出鍵 = 既出.data();
        設定.既出鍵数 = static_cast<int>(既出.size());
        const 深読み結果 r = エンジン.探索(*局, COM番, 設定);
        if (!r.手.有り) {
            std::cerr << "review_game: no move after " << n - 1 << " moves\n";
            return 1;
        }
        既出.push_back(局面の鍵(*局, COM番));
        // Two seconds a move on the mover's clock.
        const double 前M = 秒M, 前C = 秒C;
        (COM番 ? 秒C : 秒M) += 2;
        棋譜->手順保存(*局, 前M, 秒M, 前C, 秒C);
        駒移動(*局, 無表示, r.手.元X, r.手.元Y, r.手.先X, r.手.先Y, r.手.駒);
        派生値を整える(*局);
        棋譜->着手後保存(*局);
        COM番 = !COM番;
    }

    IconvCodec 符号;
    const 棋譜内容結果 内容 =
        棋譜ファイル内容を作る(*棋譜, 手数, {"検討の試験対局", "深読み", "深読み"}, 符号);
    if (!内容.成功) {
        std::cerr << "review_game: " << 内容.誤り << '\n';
        return 1;
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    if (f == nullptr || std::fwrite(内容.内容.data(), 1, 内容.内容.size(), f) != 内容.内容.size() ||
        std::fclose(f) != 0) {
        std::cerr << "review_game: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
