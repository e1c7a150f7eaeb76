// SPDX-License-Identifier: GPL-3.0-or-later
#include "Keystream.h"

#include "SecretBytes.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <sodium.h>

namespace kvistra {

namespace {

constexpr std::size_t kAesBlockBytes = 16;
constexpr std::size_t kChaChaBlockBytes = 64;
constexpr std::uint64_t kChaChaCounterBlocks = std::uint64_t{1} << 32;

// Writes `bytes` from block `first` on, `skip` bytes into it, whole blocks straight
// into place and the partial ones at either end through a block of scratch.
template <std::size_t BlockBytes, class MakeBlocks>
void blockwise(std::uint64_t first, std::size_t skip, std::span<unsigned char> bytes,
               const MakeBlocks& makeBlocks) {
    std::array<unsigned char, BlockBytes> scratch;
    std::size_t done = 0;
    std::uint64_t block = first;
    if (skip != 0 && !bytes.empty()) {
        makeBlocks(block++, scratch.data(), 1);
        done = std::min(bytes.size(), BlockBytes - skip);
        std::memcpy(bytes.data(), scratch.data() + skip, done);
    }
    const std::size_t whole = (bytes.size() - done) / BlockBytes;
    makeBlocks(block, bytes.data() + done, whole);
    block += whole;
    done += whole * BlockBytes;
    if (done < bytes.size()) {
        makeBlocks(block, scratch.data(), 1);
        std::memcpy(bytes.data() + done, scratch.data(), bytes.size() - done);
    }
    wipeBytes(scratch.data(), scratch.size());
}

} // namespace

KeystreamKey::Cipher KeystreamKey::fastest() {
    return AesCounter::available() ? Cipher::Aes : Cipher::ChaCha20;
}

KeystreamKey::KeystreamKey(const Key& key, Cipher cipher) {
    if (cipher == Cipher::Aes) {
        aes_.emplace(key);
        return;
    }
    if (sodium_init() < 0 || crypto_generichash(chaChaKey_.data(), chaChaKey_.size(), key.data(),
                                                key.size(), nullptr, 0) != 0) {
        throw std::bad_alloc();
    }
}

KeystreamKey::~KeystreamKey() {
    wipeBytes(chaChaKey_.data(), chaChaKey_.size());
}

void KeystreamKey::bytesAt(std::uint64_t stream, std::uint64_t block,
                           std::span<unsigned char> bytes) const {
    if (aes_) {
        blockwise<kAesBlockBytes>(block, 0, bytes,
                                  [&](std::uint64_t at, unsigned char* out, std::size_t count) {
                                      aes_->blocksAt(stream, at, out, count);
                                  });
    } else {
        chaChaBytesAt(stream, block, bytes);
    }
}

// Four of our blocks to one of ChaCha20's. Its 32-bit block counter takes the low
// half of the block number; the nonce, the stream and the high half.
void KeystreamKey::chaChaBytesAt(std::uint64_t stream, std::uint64_t block,
                                 std::span<unsigned char> bytes) const {
    const auto makeBlocks = [&](std::uint64_t at, unsigned char* out, std::size_t count) {
        while (count > 0) {
            const std::size_t here = static_cast<std::size_t>(
                std::min<std::uint64_t>(count, kChaChaCounterBlocks - at % kChaChaCounterBlocks));
            std::array<unsigned char, crypto_stream_chacha20_ietf_NONCEBYTES> nonce{};
            for (std::size_t i = 0; i < 8; ++i) {
                nonce[i] = static_cast<unsigned char>(stream >> (8 * i));
            }
            for (std::size_t i = 0; i < 4; ++i) {
                nonce[8 + i] = static_cast<unsigned char>(at >> (32 + 8 * i));
            }
            const std::size_t length = here * kChaChaBlockBytes;
            std::memset(out, 0, length);
            crypto_stream_chacha20_ietf_xor_ic(out, out, length, nonce.data(),
                                               static_cast<std::uint32_t>(at), chaChaKey_.data());
            out += length;
            at += here;
            count -= here;
        }
    };
    blockwise<kChaChaBlockBytes>(block / 4, static_cast<std::size_t>(block % 4) * kAesBlockBytes,
                                 bytes, makeBlocks);
}

} // namespace kvistra
