// SPDX-License-Identifier: GPL-3.0-or-later
#include "ClockSeededRandom.h"

#include "CharacterSet.h"
#include "VectorClones.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <system_error>
#include <thread>

namespace kvistra {

namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;

constexpr std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

std::uint64_t ClockSeededRandom::timeOfDayNanoseconds() {
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(sinceEpoch).count());
}

ClockSeededRandom::ClockSeededRandom(Clock clock)
    : clock_(std::move(clock)) {}

void ClockSeededRandom::reseed(std::uint64_t time) {
    state_ = mix64(time * kTimeSpread + ++counter_ * kGolden);
    hasSpare_ = false;
}

std::uint64_t ClockSeededRandom::nextWord() {
    state_ += kGolden;
    return mix64(state_);
}

std::uint32_t ClockSeededRandom::next24() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    const std::uint64_t word = nextWord();
    spare_ = static_cast<std::uint32_t>(word >> 16) & 0xFFFFFFu;
    hasSpare_ = true;
    return static_cast<std::uint32_t>(word >> 40);
}

float ClockSeededRandom::next() {
    return static_cast<float>(next24()) * 0x1p-24f;
}

void ClockSeededRandom::reseedFromClock() {
    reseed(clock_());
}

namespace {

// Pixels from here on are worth a second thread: a spawn costs far less than
// the drawing it takes over.
constexpr std::size_t kSecondThreadFrom = 32768;

// Pixels drawn per batch: the indices of a batch stay in the first-level cache.
constexpr std::size_t kBatch = 512;

// A pixel's three 21-bit draws, each a character index from 0.
constexpr std::uint32_t drawIndex(std::uint64_t word, int shift) {
    return static_cast<std::uint32_t>(
        randomIndexFromBits(static_cast<std::uint32_t>(word >> shift & 0x1FFFFFu) << 3) - 1);
}

constexpr std::uint64_t reseededWord(std::uint64_t spreadTime, std::uint64_t counter) {
    return mix64(spreadTime + counter * kGolden);
}

// The arithmetic of a batch, without table look-ups, so that it vectorises: each
// pixel's three indices packed red, green, blue into one word.
KVISTRA_VECTOR_CLONES __attribute__((optimize("O3"))) void drawIndices(std::uint32_t* indices,
                                                                       std::size_t count,
                                                                       std::uint64_t spreadTime,
                                                                       std::uint64_t counter) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t word = reseededWord(spreadTime, counter + 1 + i);
        indices[i] = drawIndex(word, 43) | drawIndex(word, 22) << 8 | drawIndex(word, 1) << 16;
    }
}

// Each pixel reseeds as reseed() does and takes its three numbers, 21 bits each,
// from the new state itself: a 12-megapixel canvas would otherwise spend most of
// its time mixing bits. A pixel depends only on the clock reading and its own
// counter value, so parts of a span can be drawn side by side, and many at once.
void fillFromCounter(std::span<Colour> colours, std::uint64_t spreadTime, std::uint64_t counter) {
    // Each character already in its place within a colour: a look-up a channel, and no shift.
    static constexpr auto kChannels = [] {
        std::array<std::array<Colour, kCharacterSetSize>, 3> channels{};
        for (int index = 0; index < kCharacterSetSize; ++index) {
            const int code = characterAt(index + 1);
            channels[0][static_cast<std::size_t>(index)] = makeColour(code, 0, 0);
            channels[1][static_cast<std::size_t>(index)] = makeColour(0, code, 0);
            channels[2][static_cast<std::size_t>(index)] = makeColour(0, 0, code);
        }
        return channels;
    }();
    std::array<std::uint32_t, kBatch> indices;
    for (std::size_t done = 0; done < colours.size(); done += kBatch) {
        const std::size_t count = std::min(kBatch, colours.size() - done);
        drawIndices(indices.data(), count, spreadTime, counter + done);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t packed = indices[i];
            colours[done + i] = kChannels[0][packed & 0xFF] | kChannels[1][packed >> 8 & 0xFF] |
                                kChannels[2][packed >> 16];
        }
    }
}

} // namespace

Colour ClockSeededRandom::reseededColour(std::uint64_t spreadTime, std::uint64_t counter) {
    const std::uint64_t word = reseededWord(spreadTime, counter);
    const auto draw = [word](int shift) {
        return randomCharacterCodeFromBits(static_cast<std::uint32_t>(word >> shift & 0x1FFFFFu)
                                           << 3);
    };
    return makeColour(draw(43), draw(22), draw(1));
}

void ClockSeededRandom::fillReseededColours(std::span<Colour> colours) {
    const std::uint64_t timeSeed = clock_() * kTimeSpread;
    std::size_t here = colours.size();
    if (colours.size() >= kSecondThreadFrom) {
        here = colours.size() / 2;
        try {
            const std::jthread helper(fillFromCounter, colours.subspan(here), timeSeed,
                                      counter_ + here);
            fillFromCounter(colours.first(here), timeSeed, counter_);
        } catch (const std::system_error&) {
            // No thread to be had: draw it all here.
            fillFromCounter(colours, timeSeed, counter_);
        }
    } else {
        fillFromCounter(colours, timeSeed, counter_);
    }
    counter_ += colours.size();
    state_ = mix64(timeSeed + counter_ * kGolden);
    hasSpare_ = false;
}

} // namespace kvistra
