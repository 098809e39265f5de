// Benchmarks of what the game does on the player's time besides the rules: keeping the game in
// progress after a move (its whole history made into bytes, and read back at start-up).
#include <benchmark/benchmark.h>

#include <memory>

#include "record/autosave.h"

namespace kiryuza {
namespace {

// A game whose history is full: 500 moves of one pawn back and forth are enough for the size.
std::unique_ptr<対局状態> 長い対局() {
    auto s = std::make_unique<対局状態>();
    初期配置(s->局);
    s->棋譜.開始(s->局, 0, 0);
    局面表示 無表示;
    for (int i = 0; s->棋譜.空きあり(); ++i) {
        s->棋譜.手順保存(s->局, i, i + 1, i, i);
        const int 元Y = i % 4 < 2 ? 7 : 6;
        const int x = i % 2 == 0 ? 1 : 9;
        駒移動(s->局, 無表示, x, 元Y, x, 13 - 元Y, s->局.盤面[x][元Y]);
        s->棋譜.着手後保存(s->局);
    }
    s->状況.手番 = 手番_先手;
    s->状況.手数 = 棋譜最大手数;
    return s;
}

void BM_自動保存_500手(benchmark::State& state) {
    const auto s = 長い対局();
    for (auto _ : state) benchmark::DoNotOptimize(自動保存の形にする(*s, {}));
}
BENCHMARK(BM_自動保存_500手)->Unit(benchmark::kMicrosecond);

void BM_自動保存の読込_500手(benchmark::State& state) {
    const auto 形 = 自動保存の形にする(*長い対局(), {});
    for (auto _ : state) benchmark::DoNotOptimize(自動保存を読む(形));
}
BENCHMARK(BM_自動保存の読込_500手)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kiryuza

BENCHMARK_MAIN();
