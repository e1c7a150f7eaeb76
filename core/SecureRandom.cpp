// SPDX-License-Identifier: GPL-3.0-or-later
#include "SecureRandom.h"

#include "CharacterSet.h"
#include "SecretBytes.h"
#include "VectorClones.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>
#include <new>
#include <openssl/evp.h>
#include <sodium.h>
#include <system_error>
#include <thread>

namespace kvistra {

namespace {

// The upper half of the counter block tells the two streams apart.
constexpr std::uint64_t kFillStream = 0;
constexpr std::uint64_t kDrawStream = 1;
constexpr std::size_t kBlockBytes = 16;
constexpr std::size_t kWordsPerBlock = kBlockBytes / sizeof(std::uint64_t);

// Pixels drawn per batch: the keystream and the indices of a batch stay in the
// first-level cache.
constexpr std::size_t kBatch = 512;

// From here on a second thread pays for its start many times over.
constexpr std::size_t kSecondThreadFrom = 32768;

std::uint64_t littleEndianWord(const unsigned char* bytes) {
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big) {
        word = __builtin_bswap64(word);
    }
    return word;
}

} // namespace

// One AES-128-CTR keystream, from a given block of a given stream on.
struct KeystreamContext {
    KeystreamContext(const SecureRandom::Key& key, std::uint64_t stream, std::uint64_t block)
        : context(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free) {
        std::array<unsigned char, kBlockBytes> counter{};
        for (std::size_t i = 0; i < 8; ++i) {
            counter[7 - i] = static_cast<unsigned char>(stream >> (8 * i));
            counter[15 - i] = static_cast<unsigned char>(block >> (8 * i));
        }
        // OpenSSL fails here only when it cannot allocate.
        if (!context || EVP_EncryptInit_ex(context.get(), EVP_aes_128_ctr(), nullptr, key.data(),
                                           counter.data()) != 1) {
            throw std::bad_alloc();
        }
    }

    // The next bytes of the keystream: zeros encrypted.
    // Not const: it moves the stream on. NOLINTNEXTLINE(readability-make-member-function-const)
    void take(std::span<unsigned char> bytes) {
        static constexpr std::array<unsigned char, kBatch * sizeof(std::uint64_t)> kZeros{};
        for (std::size_t done = 0; done < bytes.size();) {
            const int count = static_cast<int>(std::min(kZeros.size(), bytes.size() - done));
            int written = 0;
            if (EVP_EncryptUpdate(context.get(), bytes.data() + done, &written, kZeros.data(),
                                  count) != 1 ||
                written != count) {
                throw std::bad_alloc();
            }
            done += static_cast<std::size_t>(count);
        }
    }

    std::unique_ptr<EVP_CIPHER_CTX, void (*)(EVP_CIPHER_CTX*)> context;
};

namespace {

// A pixel's three 21-bit draws, each a character index from 0.
constexpr std::uint32_t drawIndex(std::uint64_t word, int shift) {
    return static_cast<std::uint32_t>(
        randomIndexFromBits(static_cast<std::uint32_t>(word >> shift & 0x1FFFFFu) << 3) - 1);
}

// The arithmetic of a batch, without table look-ups, so that it vectorises: each
// pixel's three indices packed red, green, blue into one word.
KVISTRA_VECTOR_CLONES __attribute__((optimize("O3"))) void
drawIndices(std::uint32_t* indices, const unsigned char* keystream, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t word = littleEndianWord(keystream + i * sizeof(std::uint64_t));
        indices[i] = drawIndex(word, 43) | drawIndex(word, 22) << 8 | drawIndex(word, 1) << 16;
    }
}

// Fills the colours from the stream's place on, a batch at a time.
void fillFrom(KeystreamContext& stream, std::span<Colour> colours) {
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
    std::array<unsigned char, kBatch * sizeof(std::uint64_t)> keystream;
    std::array<std::uint32_t, kBatch> indices;
    for (std::size_t done = 0; done < colours.size(); done += kBatch) {
        const std::size_t count = std::min(kBatch, colours.size() - done);
        stream.take(std::span(keystream).first(count * sizeof(std::uint64_t)));
        drawIndices(indices.data(), keystream.data(), count);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t packed = indices[i];
            colours[done + i] = kChannels[0][packed & 0xFF] | kChannels[1][packed >> 8 & 0xFF] |
                                kChannels[2][packed >> 16];
        }
    }
    wipeBytes(keystream.data(), keystream.size());
}

SecureRandom::Key keyFromSystem() {
    if (sodium_init() < 0) {
        throw std::bad_alloc();
    }
    SecureRandom::Key key;
    randombytes_buf(key.data(), key.size());
    return key;
}

} // namespace

SecureRandom::SecureRandom()
    : SecureRandom(keyFromSystem()) {}

SecureRandom::SecureRandom(const Key& key)
    : key_(key)
    , draws_(std::make_unique<KeystreamContext>(key_, kDrawStream, 0)) {}

SecureRandom::~SecureRandom() {
    wipeBytes(key_.data(), key_.size());
    wipeBytes(drawWords_.data(), sizeof drawWords_);
}

void SecureRandom::refillDraws() {
    std::array<unsigned char, sizeof drawWords_> bytes;
    draws_->take(bytes);
    for (std::size_t i = 0; i < drawWords_.size(); ++i) {
        drawWords_[i] = littleEndianWord(bytes.data() + i * sizeof(std::uint64_t));
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

Colour SecureRandom::colourOfWord(std::uint64_t word) {
    const auto draw = [word](int shift) {
        return characterAt(static_cast<int>(drawIndex(word, shift)) + 1);
    };
    return makeColour(draw(43), draw(22), draw(1));
}

void SecureRandom::fillReseededColours(std::span<Colour> colours) {
    const std::uint64_t block = fillBlock_;
    fillBlock_ += (colours.size() + kWordsPerBlock - 1) / kWordsPerBlock;
    KeystreamContext first(key_, kFillStream, block);
    if (colours.size() < kSecondThreadFrom) {
        fillFrom(first, colours);
        return;
    }
    // Halves that start on a block of their own, drawn side by side.
    const std::size_t here = colours.size() / 2 / kWordsPerBlock * kWordsPerBlock;
    KeystreamContext second(key_, kFillStream, block + here / kWordsPerBlock);
    std::exception_ptr failure;
    try {
        const std::jthread helper([&] {
            try {
                fillFrom(second, colours.subspan(here));
            } catch (...) {
                failure = std::current_exception();
            }
        });
        fillFrom(first, colours.first(here));
    } catch (const std::system_error&) {
        // No thread to be had: draw both halves here.
        fillFrom(first, colours.first(here));
        fillFrom(second, colours.subspan(here));
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace kvistra
