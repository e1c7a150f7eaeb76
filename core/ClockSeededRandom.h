#pragma once

#include "RandomSource.h"

#include <cstdint>
#include <functional>

namespace kvistra {

// splitmix64, reseeded by mixing a nanosecond time of day with a counter, so
// that two reseeds in the same clock tick still start far apart. Each 64-bit
// word gives two 24-bit draws; a fill takes a pixel's three 21-bit draws from
// its reseeded state.
class ClockSeededRandom final : public RandomSource {
public:
    using Clock = std::function<std::uint64_t()>; // nanoseconds

    static std::uint64_t timeOfDayNanoseconds();

    explicit ClockSeededRandom(Clock clock = timeOfDayNanoseconds);

    float next() override;
    void reseedFromClock() override;
    // Reads the clock once per call rather than once per colour: the counter
    // keeps the seeds apart, and a whole fill costs one clock read.
    void fillReseededColours(std::span<Colour> colours) override;

private:
    void reseed(std::uint64_t time);
    std::uint64_t nextWord();
    std::uint32_t next24();

    Clock clock_;
    std::uint64_t state_ = 0x4B76697374726121ull; // the unseeded sequence of a fresh start
    std::uint64_t counter_ = 0;
    std::uint32_t spare_ = 0;
    bool hasSpare_ = false;
};

} // namespace kvistra
