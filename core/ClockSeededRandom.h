// SPDX-License-Identifier: GPL-3.0-or-later
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

    // The colour a fill gives the pixel drawn with this counter value, from a clock
    // reading already spread (time * kTimeSpread): one pixel's whole rule, which the
    // fill computes many pixels at a time.
    static Colour reseededColour(std::uint64_t spreadTime, std::uint64_t counter);
    static constexpr std::uint64_t kTimeSpread = 0xD1342543DE82EF95ull;

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
