// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "RandomSource.h"

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace kvistra {

class Keystream;
class KeystreamKey;

// Draws from a keystream (AES-128 in counter mode, or ChaCha20 on a processor
// without AES instructions) under a key taken once from the operating system's
// secure generator. The random pixels hide where the message
// lies, so nothing an attacker can know (a clock, a counter) may predict them.
// Fills and single draws use two streams of their own under the one key.
class SecureRandom final : public RandomSource {
public:
    static constexpr std::size_t kKeyBytes = 16;
    using Key = std::array<std::uint8_t, kKeyBytes>;

    SecureRandom();
    // A fixed stream, for tests that must know every pixel.
    explicit SecureRandom(const Key& key);
    ~SecureRandom() override;
    SecureRandom(const SecureRandom&) = delete;
    SecureRandom& operator=(const SecureRandom&) = delete;

    float next() override;
    // The stream never needs a new seed; the clock would only make it guessable.
    void reseedFromClock() override {}
    // Each colour takes one 64-bit word of the fill stream, little-endian.
    void fillReseededColours(std::span<Colour> colours) override;
    // The chunks are drawn ahead on worker threads, each from its own place in the stream.
    void fillReseededChunks(std::size_t count, std::size_t chunk, const UseChunk& use) override;

private:
    void refillDraws();

    std::unique_ptr<KeystreamKey> key_;
    std::unique_ptr<Keystream> draws_;
    static constexpr std::size_t kDrawWords = 32;
    std::array<std::uint64_t, kDrawWords> drawWords_{};
    std::size_t drawsUsed_ = 2 * kDrawWords; // 24-bit draws taken: all, until the first refill
    std::uint64_t fillBlock_ = 0;
};

} // namespace kvistra
