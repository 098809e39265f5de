// The mate solver on the set of mating positions, one benchmark per length of mate: each
// iteration solves every position of that length from an empty table, on one thread, looking
// for mates of up to 31 plies as a caller would. Reports the mean time and nodes per position,
// and the slowest position's time, nodes and line in the file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "engine/mate_solver.h"
#include "support/mate_set.h"

namespace kiryuza {
namespace {

const std::vector<testing::詰み問題>& 問題集() {
    static const std::vector<testing::詰み問題> 集 = testing::詰み問題集(KIRYUZA_MATES);
    return 集;
}

void BM_詰み探索(benchmark::State& state) {
    const int 手数 = static_cast<int>(state.range(0));
    std::vector<const testing::詰み問題*> 問題;
    for (const auto& p : 問題集())
        if (p.手数 == 手数) 問題.push_back(&p);
    if (問題.empty()) {
        state.SkipWithError("no position of this length");
        return;
    }
    auto 探索 = std::make_unique<詰み探索>(16);
    const 詰み設定 設定;  // the default: mates of up to 31 plies
    double 最長秒 = 0;
    double 秒計 = 0;
    double 節点計 = 0;
    int 最長行 = 0;
    double 最長節点 = 0;
    for (auto _ : state) {
        for (const auto* p : 問題) {
            探索->初期化();
            const 詰み結果 r = 探索->探す(p->局, p->COM側, 設定);
            if (r.判定 != 詰み判定::詰み || r.手数 != 手数) {
                state.SkipWithError("a mate was not found");
                return;
            }
            秒計 += r.秒;
            節点計 += static_cast<double>(r.節点数);
            if (r.秒 > 最長秒) {
                最長秒 = r.秒;
                最長行 = p->行番号;
                最長節点 = static_cast<double>(r.節点数);
            }
        }
    }
    const double n = static_cast<double>(state.iterations() * 問題.size());
    state.counters["positions"] = static_cast<double>(問題.size());
    state.counters["mean_ms"] = 1000 * 秒計 / n;
    state.counters["mean_nodes"] = 節点計 / n;
    state.counters["max_ms"] = 1000 * 最長秒;
    state.counters["max_nodes"] = 最長節点;
    state.counters["max_line"] = 最長行;
}
BENCHMARK(BM_詰み探索)->DenseRange(3, 11, 2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kiryuza

BENCHMARK_MAIN();
