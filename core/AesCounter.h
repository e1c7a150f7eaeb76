// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kvistra {

// AES-128 in counter mode on the processor's AES instructions (x86-64 only).
// A counter block is a stream number in its first eight bytes and a block number
// in its last eight, both big-endian; only the block number counts up.
class AesCounter {
public:
    using Key = std::array<std::uint8_t, 16>;

    // Whether this processor has the instructions; nothing below may be used without.
    static bool available();

    explicit AesCounter(const Key& key);
    ~AesCounter();
    AesCounter(const AesCounter&) = delete;
    AesCounter& operator=(const AesCounter&) = delete;

    // `blocks` blocks of keystream, 16 bytes each, from block `block` of `stream` on.
    void blocksAt(std::uint64_t stream, std::uint64_t block, unsigned char* out,
                  std::size_t blocks) const;

private:
    static constexpr std::size_t kRoundKeys = 11;
    alignas(16) std::array<std::array<std::uint8_t, 16>, kRoundKeys> roundKeys_{};
};

} // namespace kvistra
