// The engine alone on a 12-megapixel canvas: the yardstick for the front ends.
#include "QuietHost.h"
#include "core/ClockSeededRandom.h"
#include "core/Decoder.h"
#include "core/Encoder.h"
#include "core/Image.h"

#include <benchmark/benchmark.h>

namespace kvistra {
namespace {

void generate(benchmark::State& state) {
    Image canvas(4000, 3000);
    QuietHost host = quietHostFor(std::string(32767, 'k'), state.range(0) != 0);
    ClockSeededRandom random;
    ProgramWideValues shared;
    for (auto _ : state) {
        Encoder(host, canvas, random, shared).generate();
        benchmark::DoNotOptimize(canvas.bytes().data());
    }
    state.SetItemsProcessed(state.iterations() * canvas.width() * canvas.height());
}
BENCHMARK(generate)->ArgName("adapt")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void decode32767(benchmark::State& state) {
    Image canvas(4000, 3000);
    QuietHost host = quietHostFor(std::string(32767, 'k'), false);
    ClockSeededRandom random;
    ProgramWideValues shared;
    Encoder(host, canvas, random, shared).generate();
    const DecodeRequest request{32767, "5", "5", "3", {}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(decode(canvas, request));
    }
}
BENCHMARK(decode32767)->Unit(benchmark::kMillisecond);

void reseededColoursPerRow(benchmark::State& state) {
    ClockSeededRandom random;
    std::vector<Colour> row(4000);
    for (auto _ : state) {
        random.fillReseededColours(row);
        benchmark::DoNotOptimize(row.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(row.size()));
}
BENCHMARK(reseededColoursPerRow);

} // namespace
} // namespace kvistra

BENCHMARK_MAIN();
