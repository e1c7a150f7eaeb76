// SPDX-License-Identifier: GPL-3.0-or-later
// The engine alone on a 12-megapixel canvas: the yardstick for the front ends.
#include "QuietReport.h"
#include "core/Decoder.h"
#include "core/Encoder.h"
#include "core/Image.h"
#include "core/SecureRandom.h"

#include <benchmark/benchmark.h>

namespace kvistra {
namespace {

void generate(benchmark::State& state) {
    Image canvas(4000, 3000);
    const EncodeRequest request = quietRequestFor(std::string(32767, 'k'), state.range(0) != 0);
    SecureRandom random;
    QuietEncodeReport report;
    for (auto _ : state) {
        Encoder(canvas, random, report).generate(request);
        benchmark::DoNotOptimize(canvas.bytes().data());
    }
    state.SetItemsProcessed(state.iterations() * canvas.width() * canvas.height());
}
BENCHMARK(generate)->ArgName("adapt")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void decode32767(benchmark::State& state) {
    Image canvas(4000, 3000);
    SecureRandom random;
    QuietEncodeReport report;
    Encoder(canvas, random, report).generate(quietRequestFor(std::string(32767, 'k'), false));
    const DecodeRequest request{32767, keyNumber(5), keyNumber(5), shiftNumber(3)};
    for (auto _ : state) {
        benchmark::DoNotOptimize(decode(canvas, request));
    }
}
BENCHMARK(decode32767)->Unit(benchmark::kMillisecond);

void randomColoursPerRow(benchmark::State& state) {
    SecureRandom random;
    std::vector<Colour> row(4000);
    for (auto _ : state) {
        random.fillReseededColours(row);
        benchmark::DoNotOptimize(row.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(row.size()));
}
BENCHMARK(randomColoursPerRow);

} // namespace
} // namespace kvistra

BENCHMARK_MAIN();
