// Benchmarks of the rules and the computer players: legality tests, the influence survey, the
// evaluation, whole searches on fixed positions and a self-play game; for the searching player,
// nodes per second at a fixed depth and the depth it reaches in one second.
#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "analyze.h"
#include "engine/deep_search.h"
#include "engine/engine.h"
#include "engine/search_service.h"
#include "record/record_line.h"

namespace kiryuza {
namespace {

// Positions from the reference set: 1 an opening, 20 a middle game with pieces in both hands,
// 178 an endgame where the upper side holds fourteen pieces.
enum 局面番号 { 序盤 = 1, 中盤 = 20, 終盤 = 178 };

局面 読む(int 行番号) {
    std::ifstream in(KIRYUZA_POSITIONS);
    std::string s;
    for (int i = 0; i < 行番号 && std::getline(in, s); ++i) {
    }
    const 行解析結果 r = 棋譜行を読む(s);
    if (r.誤り != 行誤り::なし) throw std::runtime_error("bad benchmark position");
    局面 局;
    行を局面へ(r.データ, 局);
    return 局;
}

void BM_移動チェック全組(benchmark::State& state) {
    局面 局 = 読む(中盤);
    for (auto _ : state) {
        int 合法 = 0;
        for (int ox = 1; ox <= 9; ++ox)
            for (int oy = 1; oy <= 9; ++oy) {
                const int c = 局.盤面[ox][oy];
                for (int tx = 1; tx <= 9; ++tx)
                    for (int ty = 1; ty <= 9; ++ty) 合法 += 移動チェック(局, ox, oy, tx, ty, c);
            }
        benchmark::DoNotOptimize(合法);
    }
    state.SetItemsProcessed(state.iterations() * 81 * 81);
}
BENCHMARK(BM_移動チェック全組);

void BM_勢力調査(benchmark::State& state) {
    auto 局 = std::make_unique<局面>(読む(static_cast<int>(state.range(0))));
    auto エンジン = std::make_unique<思考エンジン>(*局);
    for (auto _ : state) {
        エンジン->勢力調査();
        benchmark::DoNotOptimize(エンジン->図.勢力数_MAN[5][5]);
    }
}
BENCHMARK(BM_勢力調査)->Arg(序盤)->Arg(中盤)->Arg(終盤);

// One evaluation of a fixed candidate: the first legal move of the middle game.
void BM_盤評価(benchmark::State& state) {
    auto 局 = std::make_unique<局面>(読む(中盤));
    auto エンジン = std::make_unique<思考エンジン>(*局);
    探索観察 無観察;
    エンジン->勢力調査();
    const 最善手 m = エンジン->探索(無観察);  // fills the turn-start copies
    局->盤面[m.先X][m.先Y] = m.駒;
    if (m.元X > 0) 局->盤面[m.元X][m.元Y] = 空桝;
    エンジン->勢力調査();
    for (auto _ : state) {
        benchmark::DoNotOptimize(エンジン->盤評価(空桝, m.駒, m.元X, m.元Y, m.先X, m.先Y));
    }
}
BENCHMARK(BM_盤評価);

void BM_探索(benchmark::State& state) {
    auto 局 = std::make_unique<局面>(読む(static_cast<int>(state.range(0))));
    auto エンジン = std::make_unique<思考エンジン>(*局);
    探索観察 無観察;
    for (auto _ : state) {
        エンジン->勢力調査();
        benchmark::DoNotOptimize(エンジン->探索(無観察));
    }
}
BENCHMARK(BM_探索)->Arg(序盤)->Arg(中盤)->Arg(終盤)->Unit(benchmark::kMicrosecond);

// Self-play against the seeded pseudo-player, game after game until 100 plies are played
// (the pseudo-player loses its king long before 100 plies in a single game).
void BM_自己対局100手(benchmark::State& state) {
    for (auto _ : state) {
        int 手数 = 0;
        for (std::uint64_t 種 = 1; 手数 < 100; ++種) {
            std::ostringstream out;
            自己対局(out, 種, 100 - 手数, 3);
            const std::string s = out.str();
            for (std::size_t p = s.find("ply "); p != std::string::npos;
                 p = s.find("ply ", p + 1)) {
                ++手数;
            }
        }
        benchmark::DoNotOptimize(手数);
    }
}
BENCHMARK(BM_自己対局100手)->Unit(benchmark::kMillisecond);

// The searching player to a fixed depth from a cleared table, for either side (argument 1:
// 1 the upper side, 0 the lower side); reports nodes per second.
void BM_深読み節点(benchmark::State& state) {
    const 局面 局 = 読む(static_cast<int>(state.range(0)));
    const bool COM側 = state.range(1) != 0;
    auto エンジン = std::make_unique<深読みエンジン>(16);
    深読み設定 設定;
    設定.時間ms = 0;
    設定.深さ上限 = 5;
    std::uint64_t 節点 = 0;
    for (auto _ : state) {
        state.PauseTiming();
        エンジン->初期化();
        state.ResumeTiming();
        const 深読み結果 r = エンジン->探索(局, COM側, 設定);
        節点 += r.節点数;
        benchmark::DoNotOptimize(r.手);
    }
    state.counters["nodes/s"] =
        benchmark::Counter(static_cast<double>(節点), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_深読み節点)->ArgsProduct({{序盤, 中盤, 終盤}, {1, 0}})->Unit(benchmark::kMillisecond);

// The searching player on its default budget of one second: the depth it completes and its
// nodes per second.
void BM_深読み1秒(benchmark::State& state) {
    const 局面 局 = 読む(static_cast<int>(state.range(0)));
    const bool COM側 = state.range(1) != 0;
    auto エンジン = std::make_unique<深読みエンジン>(16);
    double 深さ = 0;
    double 節点 = 0;
    double 秒 = 0;
    for (auto _ : state) {
        エンジン->初期化();
        const 深読み結果 r = エンジン->探索(局, COM側);
        深さ += r.深さ;
        節点 += static_cast<double>(r.節点数);
        秒 += r.秒;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["depth"] = 深さ / n;
    state.counters["nodes/s"] = 秒 > 0 ? 節点 / 秒 : 0;
    state.counters["seconds"] = 秒 / n;
}
BENCHMARK(BM_深読み1秒)
    ->ArgsProduct({{序盤, 中盤, 終盤}, {1, 0}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The searching player on 1 and 2 threads for half a second (argument 2: threads): the nodes
// per second of each thread, which should stay near those of one thread alone, and the depth.
void BM_深読み並列(benchmark::State& state) {
    const 局面 局 = 読む(static_cast<int>(state.range(0)));
    const bool COM側 = state.range(1) != 0;
    const int スレッド = static_cast<int>(state.range(2));
    auto エンジン = std::make_unique<深読みエンジン>(16, スレッド);
    深読み設定 設定;
    設定.時間ms = 500;
    double 深さ = 0;
    double 節点 = 0;
    double 秒 = 0;
    for (auto _ : state) {
        エンジン->初期化();
        const 深読み結果 r = エンジン->探索(局, COM側, 設定);
        深さ += r.深さ;
        節点 += static_cast<double>(r.節点数);
        秒 += r.秒;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["depth"] = 深さ / n;
    state.counters["nodes/s/thread"] = 秒 > 0 ? 節点 / 秒 / スレッド : 0;
}
BENCHMARK(BM_深読み並列)
    ->ArgsProduct({{序盤, 中盤, 終盤}, {1}, {1, 2}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// How long quitting waits for the searching player's service: a search on every thread with
// no limit, stopped 100 ms after it began (the mate solver's look at the root included).
void BM_読みを止める(benchmark::State& state) {
    const 局面 局 = 読む(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto サービス = std::make_unique<読み手サービス>(2, 16, nullptr);
        読み依頼 依頼;
        依頼.局 = 局;
        依頼.設定.時間ms = 0;
        サービス->依頼する(依頼者::対局, 依頼);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        state.ResumeTiming();
        サービス->全て止める();
        state.PauseTiming();
        サービス.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_読みを止める)->Arg(序盤)->Arg(終盤)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiryuza

BENCHMARK_MAIN();
