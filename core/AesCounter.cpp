// SPDX-License-Identifier: GPL-3.0-or-later
#include "AesCounter.h"

#include "SecretBytes.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define KVISTRA_AES_INSTRUCTIONS 1
#define KVISTRA_AES_TARGET __attribute__((target("aes,sse4.1,ssse3")))
#endif

namespace kvistra {

#ifdef KVISTRA_AES_INSTRUCTIONS

namespace {

KVISTRA_AES_TARGET __m128i nextRoundKey(__m128i key, __m128i assist) {
    assist = _mm_shuffle_epi32(assist, 0xFF);
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    key = _mm_xor_si128(key, _mm_slli_si128(key, 4));
    return _mm_xor_si128(key, assist);
}

template <int RoundConstant> KVISTRA_AES_TARGET __m128i expandOnce(__m128i key) {
    return nextRoundKey(key, _mm_aeskeygenassist_si128(key, RoundConstant));
}

KVISTRA_AES_TARGET void expandKey(const std::uint8_t* key, __m128i* rounds) {
    rounds[0] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(key));
    rounds[1] = expandOnce<0x01>(rounds[0]);
    rounds[2] = expandOnce<0x02>(rounds[1]);
    rounds[3] = expandOnce<0x04>(rounds[2]);
    rounds[4] = expandOnce<0x08>(rounds[3]);
    rounds[5] = expandOnce<0x10>(rounds[4]);
    rounds[6] = expandOnce<0x20>(rounds[5]);
    rounds[7] = expandOnce<0x40>(rounds[6]);
    rounds[8] = expandOnce<0x80>(rounds[7]);
    rounds[9] = expandOnce<0x1B>(rounds[8]);
    rounds[10] = expandOnce<0x36>(rounds[9]);
}

// Eight blocks in flight hide the latency of each round.
constexpr std::size_t kLanes = 8;

KVISTRA_AES_TARGET void counterBlocks(const __m128i* rounds, std::uint64_t stream,
                                      std::uint64_t block, unsigned char* out, std::size_t blocks) {
    // The counter as two little-endian words, turned big-endian as each block is made.
    const __m128i bigEndian = _mm_set_epi8(8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7);
    const __m128i one = _mm_set_epi64x(1, 0);
    __m128i counter = _mm_set_epi64x(static_cast<long long>(block), static_cast<long long>(stream));
    auto* to = reinterpret_cast<__m128i*>(out);
    std::size_t done = 0;
    for (; done + kLanes <= blocks; done += kLanes) {
        __m128i lanes[kLanes];
#pragma GCC unroll 8
        for (__m128i& lane : lanes) {
            lane = _mm_xor_si128(_mm_shuffle_epi8(counter, bigEndian), rounds[0]);
            counter = _mm_add_epi64(counter, one);
        }
#pragma GCC unroll 9
        for (int round = 1; round < 10; ++round) {
#pragma GCC unroll 8
            for (__m128i& lane : lanes) {
                lane = _mm_aesenc_si128(lane, rounds[round]);
            }
        }
#pragma GCC unroll 8
        for (std::size_t i = 0; i < kLanes; ++i) {
            _mm_storeu_si128(to + done + i, _mm_aesenclast_si128(lanes[i], rounds[10]));
        }
    }
    for (; done < blocks; ++done) {
        __m128i lane = _mm_xor_si128(_mm_shuffle_epi8(counter, bigEndian), rounds[0]);
        counter = _mm_add_epi64(counter, one);
        for (int round = 1; round < 10; ++round) {
            lane = _mm_aesenc_si128(lane, rounds[round]);
        }
        _mm_storeu_si128(to + done, _mm_aesenclast_si128(lane, rounds[10]));
    }
}

} // namespace

bool AesCounter::available() {
    static const bool present =
        __builtin_cpu_supports("aes") != 0 && __builtin_cpu_supports("sse4.1") != 0;
    return present;
}

AesCounter::AesCounter(const Key& key) {
    if (available()) {
        expandKey(key.data(), reinterpret_cast<__m128i*>(roundKeys_.data()));
    }
}

void AesCounter::blocksAt(std::uint64_t stream, std::uint64_t block, unsigned char* out,
                          std::size_t blocks) const {
    counterBlocks(reinterpret_cast<const __m128i*>(roundKeys_.data()), stream, block, out, blocks);
}

#else

bool AesCounter::available() {
    return false;
}

AesCounter::AesCounter(const Key&) {}

void AesCounter::blocksAt(std::uint64_t, std::uint64_t, unsigned char*, std::size_t) const {}

#endif

AesCounter::~AesCounter() {
    wipeBytes(roundKeys_.data(), sizeof roundKeys_);
}

} // namespace kvistra
