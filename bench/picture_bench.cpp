// Drawing the pictures the first screen needs, at 1x and 2x: the window waits for them before
// its first frame. Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include "platform/pictures/pictures.h"
#include "rules/pieces.h"

namespace {

using namespace kiryuza;

void drawOne(benchmark::State& state, int code) {
    const double ratio = static_cast<double>(state.range(0)) / 100.0;
    const QSize natural = pictures::naturalSize(code);
    const QSize pixels(qRound(natural.width() * ratio), qRound(natural.height() * ratio));
    for (auto _ : state) benchmark::DoNotOptimize(pictures::drawn(code, pixels));
}

void BM_空桝(benchmark::State& s) {
    drawOne(s, 空桝);
}
void BM_題字(benchmark::State& s) {
    drawOne(s, 絵_タイトル);
}
void BM_背景(benchmark::State& s) {
    drawOne(s, 背景_緑);
}
void BM_王(benchmark::State& s) {
    drawOne(s, 駒_MAN王);
}
void BM_打駒(benchmark::State& s) {
    drawOne(s, 打駒_MAN[7]);
}
BENCHMARK(BM_空桝)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_題字)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_背景)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_王)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_打駒)->Arg(100)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
