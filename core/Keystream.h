// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AesCounter.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace kvistra {

// The key of the random pixels' keystreams. AES-128 in counter mode where the
// processor has AES instructions; elsewhere ChaCha20 under a key derived from the
// same one, as fast without them. Either way any stretch of any stream can be
// drawn, on any thread.
class KeystreamKey {
public:
    using Key = AesCounter::Key;
    enum class Cipher { Aes, ChaCha20 };

    // The best cipher this processor has.
    static Cipher fastest();

    explicit KeystreamKey(const Key& key, Cipher cipher = fastest());
    ~KeystreamKey();
    KeystreamKey(const KeystreamKey&) = delete;
    KeystreamKey& operator=(const KeystreamKey&) = delete;

    // The bytes of `stream` from 16-byte block `block` on.
    void bytesAt(std::uint64_t stream, std::uint64_t block, std::span<unsigned char> bytes) const;

private:
    void chaChaBytesAt(std::uint64_t stream, std::uint64_t block,
                       std::span<unsigned char> bytes) const;

    std::optional<AesCounter> aes_;
    std::array<unsigned char, 32> chaChaKey_{};
};

// One stream, read in order from a given block on. Each take starts on a block
// of its own: a take of a length that is no multiple of 16 leaves the rest of its
// last block unused.
class Keystream {
public:
    Keystream(const KeystreamKey& key, std::uint64_t stream, std::uint64_t block)
        : key_(key)
        , stream_(stream)
        , block_(block) {}

    void take(std::span<unsigned char> bytes) {
        key_.bytesAt(stream_, block_, bytes);
        block_ += (bytes.size() + 15) / 16;
    }

private:
    const KeystreamKey& key_;
    std::uint64_t stream_;
    std::uint64_t block_;
};

} // namespace kvistra
