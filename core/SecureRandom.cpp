// SPDX-License-Identifier: GPL-3.0-or-later
#include "SecureRandom.h"

#include "Keystream.h"
#include "KeystreamColours.h"
#include "SecretBytes.h"

#include <algorithm>
#include <new>
#include <sodium.h>

namespace kvistra {

namespace {

// The upper half of the counter block tells the two streams apart.
constexpr std::uint64_t kFillStream = 0;
constexpr std::uint64_t kDrawStream = 1;
constexpr std::size_t kWordsPerBlock = 16 / sizeof(std::uint64_t);

// The keystream blocks a fill of `colours` takes: each fill starts a block of its own.
constexpr std::uint64_t blocksFor(std::size_t colours) {
    return (colours + kWordsPerBlock - 1) / kWordsPerBlock;
}

// Pixels drawn per batch: the keystream of a batch stays in the first-level cache.
constexpr std::size_t kBatch = 512;

// Fills the colours from the stream's place on, a batch at a time.
void fillFrom(Keystream stream, std::span<Colour> colours) {
    std::array<unsigned char, kBatch * sizeof(std::uint64_t)> keystream;
    for (std::size_t done = 0; done < colours.size(); done += kBatch) {
        const std::size_t count = std::min(kBatch, colours.size() - done);
        stream.take(std::span(keystream).first(count * sizeof(std::uint64_t)));
        coloursOfKeystream(keystream.data(), colours.subspan(done, count));
    }
    wipeBytes(keystream.data(), keystream.size());
}

// A key from the system's secure generator, wiped once the keystream is keyed.
struct SystemKey {
    SystemKey() {
        if (sodium_init() < 0) {
            throw std::bad_alloc();
        }
        randombytes_buf(key.data(), key.size());
    }
    ~SystemKey() { wipeBytes(key.data(), key.size()); }
    SystemKey(const SystemKey&) = delete;
    SystemKey& operator=(const SystemKey&) = delete;

    SecureRandom::Key key;
};

} // namespace

SecureRandom::SecureRandom()
    : SecureRandom(SystemKey().key) {}

SecureRandom::SecureRandom(const Key& key)
    : key_(std::make_unique<KeystreamKey>(key))
    , draws_(std::make_unique<Keystream>(*key_, kDrawStream, 0)) {}

SecureRandom::~SecureRandom() {
    wipeBytes(drawWords_.data(), sizeof drawWords_);
}

void SecureRandom::refillDraws() {
    std::array<unsigned char, sizeof drawWords_> bytes;
    draws_->take(bytes);
    for (std::size_t i = 0; i < drawWords_.size(); ++i) {
        drawWords_[i] = keystreamWord(bytes.data() + i * sizeof(std::uint64_t));
    }
    wipeBytes(bytes.data(), bytes.size());
    drawsUsed_ = 0;
}

float SecureRandom::next() {
    if (drawsUsed_ == 2 * drawWords_.size()) {
        refillDraws();
    }
    // Each word gives two 24-bit draws: its top bits, then the 24 below them.
    const std::uint64_t word = drawWords_[drawsUsed_ / 2];
    const auto bits =
        static_cast<std::uint32_t>(drawsUsed_ % 2 == 0 ? word >> 40 : word >> 16) & 0xFFFFFFu;
    ++drawsUsed_;
    return static_cast<float>(bits) * 0x1p-24f;
}

void SecureRandom::fillReseededColours(std::span<Colour> colours) {
    const std::uint64_t block = fillBlock_;
    fillBlock_ += blocksFor(colours.size());
    fillFrom(Keystream(*key_, kFillStream, block), colours);
}

void SecureRandom::fillReseededChunks(std::size_t count, std::size_t chunk, const UseChunk& use) {
    if (count == 0) {
        return;
    }
    // Where each chunk's fill would start, had the chunks been drawn one by one.
    const std::uint64_t first = fillBlock_;
    const std::uint64_t blocksPerChunk = blocksFor(chunk);
    const std::size_t chunks = (count + chunk - 1) / chunk;
    const std::size_t lastSize = count - (chunks - 1) * chunk;
    fillBlock_ += (chunks - 1) * blocksPerChunk + blocksFor(lastSize);
    makeChunksAhead(
        count, chunk,
        [this, first, blocksPerChunk](std::size_t index, std::span<Colour> colours) {
            fillFrom(Keystream(*key_, kFillStream, first + index * blocksPerChunk), colours);
        },
        use);
}

} // namespace kvistra
