// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeystreamColours.h"

#include "CharacterSet.h"
#include "VectorClones.h"

#include <algorithm>
#include <array>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KVISTRA_BYTE_PERMUTE 1
#endif

namespace kvistra {

namespace {

// Pixels taken per batch: their indices stay in the first-level cache.
constexpr std::size_t kBatch = 512;

// A pixel's three 21-bit draws, each a character index from 0.
constexpr std::uint32_t drawIndex(std::uint64_t word, int shift) {
    return static_cast<std::uint32_t>(
        randomIndexFromBits(static_cast<std::uint32_t>(word >> shift & 0x1FFFFFu) << 3) - 1);
}

// The arithmetic of a batch, without table look-ups, so that it vectorises: each
// pixel's three indices packed red, green, blue into one word, as a colour's are.
KVISTRA_VECTOR_CLONES __attribute__((optimize("O3"))) void
drawIndices(std::uint32_t* indices, const unsigned char* keystream, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t word = keystreamWord(keystream + i * sizeof(std::uint64_t));
        indices[i] = drawIndex(word, 43) | drawIndex(word, 22) << 8 | drawIndex(word, 1) << 16;
    }
}

// Each character already in its place within a colour: a look-up a channel, and no shift.
constexpr auto kChannels = [] {
    std::array<std::array<Colour, kCharacterSetSize>, 3> channels{};
    for (int index = 0; index < kCharacterSetSize; ++index) {
        const int code = characterAt(index + 1);
        channels[0][static_cast<std::size_t>(index)] = makeColour(code, 0, 0);
        channels[1][static_cast<std::size_t>(index)] = makeColour(0, code, 0);
        channels[2][static_cast<std::size_t>(index)] = makeColour(0, 0, code);
    }
    return channels;
}();

void lookUpPortably(const std::uint32_t* indices, Colour* colours, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t packed = indices[i];
        colours[i] = kChannels[0][packed & 0xFF] | kChannels[1][packed >> 8 & 0xFF] |
                     kChannels[2][packed >> 16];
    }
}

#ifdef KVISTRA_BYTE_PERMUTE
// The 78 characters in a 128-byte table: one byte permute looks up the three
// indices of 16 pixels at once, and a mask clears the fourth byte, whose index 0
// looked up a character too.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void
lookUpByPermute(const std::uint32_t* indices, Colour* colours, std::size_t count) {
    alignas(64) static constexpr auto kTable = [] {
        std::array<unsigned char, 128> table{};
        for (int index = 0; index < kCharacterSetSize; ++index) {
            table[static_cast<std::size_t>(index)] = characterAt(index + 1);
        }
        return table;
    }();
    const __m512i low = _mm512_load_si512(kTable.data());
    const __m512i high = _mm512_load_si512(kTable.data() + 64);
    const __m512i colourBytes = _mm512_set1_epi32(0x00FFFFFF);
    std::size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m512i packed = _mm512_loadu_si512(indices + i);
        const __m512i codes = _mm512_permutex2var_epi8(low, packed, high);
        _mm512_storeu_si512(colours + i, _mm512_and_si512(codes, colourBytes));
    }
    lookUpPortably(indices + i, colours + i, count - i);
}

bool canPermuteBytes() {
    static const bool supported = __builtin_cpu_supports("avx512vbmi") != 0;
    return supported;
}
#endif

template <class LookUp>
void coloursByBatch(const unsigned char* keystream, std::span<Colour> colours, LookUp lookUp) {
    std::array<std::uint32_t, kBatch> indices;
    for (std::size_t done = 0; done < colours.size(); done += kBatch) {
        const std::size_t count = std::min(kBatch, colours.size() - done);
        drawIndices(indices.data(), keystream + done * sizeof(std::uint64_t), count);
        lookUp(indices.data(), colours.data() + done, count);
    }
}

} // namespace

Colour colourOfKeystreamWord(std::uint64_t word) {
    const auto draw = [word](int shift) {
        return characterAt(static_cast<int>(drawIndex(word, shift)) + 1);
    };
    return makeColour(draw(43), draw(22), draw(1));
}

void coloursOfKeystream(const unsigned char* keystream, std::span<Colour> colours) {
#ifdef KVISTRA_BYTE_PERMUTE
    if (canPermuteBytes()) {
        coloursByBatch(keystream, colours, lookUpByPermute);
        return;
    }
#endif
    coloursByBatch(keystream, colours, lookUpPortably);
}

void coloursOfKeystreamPortably(const unsigned char* keystream, std::span<Colour> colours) {
    coloursByBatch(keystream, colours, lookUpPortably);
}

} // namespace kvistra
