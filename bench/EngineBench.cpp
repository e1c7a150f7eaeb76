// The engine alone on a 12-megapixel canvas: the yardstick for the front ends.
#include "core/ClockSeededRandom.h"
#include "core/Decoder.h"
#include "core/Encoder.h"
#include "core/Image.h"

#include <benchmark/benchmark.h>
#include <map>

namespace kvistra {
namespace {

class QuietHost final : public WindowHost {
public:
    std::map<Field, std::string> fields;
    bool adapt = false;

    std::string text(Field field) const override { return fields.at(field); }
    void setText(Field field, const std::string& text) override { fields[field] = text; }
    bool adaptTicked() const override { return adapt; }
    NumberLocale numberLocale() const override { return {}; }
    void setCaption(const std::string&) override {}
    void setProgress(const Progress&) override {}
    int showMessage(const Message&) override { return 1; }
    void clearList() override {}
    void appendListLines(const std::vector<std::string>&) override {}
    void setClockRunning(bool) override {}
    double secondsSinceMidnight() const override { return 0; }
};

QuietHost hostFor(const std::string& text, bool adapt) {
    QuietHost host;
    host.fields = {{Field::Text1, text},
                   {Field::Combo1, "5"},
                   {Field::Combo2, "5"},
                   {Field::Stepping, "3"},
                   {Field::Text4, ""}};
    host.adapt = adapt;
    return host;
}

void generate(benchmark::State& state) {
    Image canvas(4000, 3000);
    QuietHost host = hostFor(std::string(32767, 'k'), state.range(0) != 0);
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
    QuietHost host = hostFor(std::string(32767, 'k'), false);
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
