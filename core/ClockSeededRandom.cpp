#include "ClockSeededRandom.h"

#include "CharacterSet.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace kvistra {

namespace {

constexpr std::uint64_t kGolden = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kTimeSpread = 0xD1342543DE82EF95ull;

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

// Each pixel reseeds as reseed() does and takes its three numbers, 21 bits each,
// from the new state itself: a 12-megapixel canvas would otherwise spend most of
// its time mixing bits. A pixel depends only on the clock reading and its own
// counter value, so parts of a span can be drawn side by side.
void fillFromCounter(std::span<Colour> colours, std::uint64_t timeSeed, std::uint64_t counter) {
    for (Colour& colour : colours) {
        const std::uint64_t word = mix64(timeSeed + ++counter * kGolden);
        const auto draw = [word](int shift) {
            return randomCharacterCodeFromBits(static_cast<std::uint32_t>(word >> shift & 0x1FFFFFu)
                                               << 3);
        };
        colour = makeColour(draw(43), draw(22), draw(1));
    }
}

} // namespace

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
