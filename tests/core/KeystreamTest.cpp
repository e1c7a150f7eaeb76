// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Keystream.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kvistra {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes fromHex(const std::string& hex) {
    Bytes bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        bytes.push_back(static_cast<unsigned char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

KeystreamKey::Key keyFromHex(const std::string& hex) {
    const Bytes bytes = fromHex(hex);
    KeystreamKey::Key key{};
    std::copy(bytes.begin(), bytes.end(), key.begin());
    return key;
}

Bytes bytesAt(const KeystreamKey& key, std::uint64_t stream, std::uint64_t block,
              std::size_t size) {
    Bytes bytes(size);
    key.bytesAt(stream, block, bytes);
    return bytes;
}

// The published values: FIPS-197's example block, and the counter-mode keystream of
// NIST SP 800-38A F.5.1 (its ciphertext XOR its plaintext), whose counter runs on
// from f0f1...feff.
TEST(Keystream, AesGivesThePublishedBlocks) {
    if (KeystreamKey::fastest() != KeystreamKey::Cipher::Aes) {
        GTEST_SKIP() << "no AES instructions here";
    }
    const KeystreamKey fips(keyFromHex("000102030405060708090a0b0c0d0e0f"));
    EXPECT_EQ(bytesAt(fips, 0x0011223344556677, 0x8899aabbccddeeff, 16),
              fromHex("69c4e0d86a7b0430d8cdb78070b4c55a"));
    const KeystreamKey nist(keyFromHex("2b7e151628aed2a6abf7158809cf4f3c"));
    EXPECT_EQ(bytesAt(nist, 0xf0f1f2f3f4f5f6f7, 0xf8f9fafbfcfdfeff, 64),
              fromHex("ec8cdf7398607cb0f2d21675ea9ea1e4362b7c3c6773516318a077d7fc5073ae"
                      "6a2cc3787889374fbeb4c81b17ba6c44e89c399ff0f198c6d40a31db156cabfe"));
}

class KeystreamCiphers : public testing::TestWithParam<KeystreamKey::Cipher> {
protected:
    void SetUp() override {
        if (GetParam() == KeystreamKey::Cipher::Aes &&
            KeystreamKey::fastest() != KeystreamKey::Cipher::Aes) {
            GTEST_SKIP() << "no AES instructions here";
        }
    }
};

// Any stretch drawn on its own equals the same stretch of the whole: starting
// inside a cipher block, ending inside one, and across ChaCha20's 2^32-block counter.
TEST_P(KeystreamCiphers, AnyStretchEqualsTheSameStretchOfTheWhole) {
    const KeystreamKey key(keyFromHex("0f0e0d0c0b0a09080706050403020100"), GetParam());
    for (const std::uint64_t start : {std::uint64_t{0}, (std::uint64_t{1} << 34) - 40}) {
        SCOPED_TRACE(start);
        const Bytes whole = bytesAt(key, 3, start, 16 * 80);
        for (const auto& [block, size] : {std::pair<std::uint64_t, std::size_t>{0, 16 * 80},
                                          {1, 16},
                                          {3, 16 * 9},
                                          {5, 100},
                                          {38, 16 * 5 + 7},
                                          {41, 1}}) {
            const Bytes part = bytesAt(key, 3, start + block, size);
            ASSERT_TRUE(std::equal(part.begin(), part.end(), whole.begin() + 16 * block))
                << block << " " << size;
        }
    }
}

// Streams, keys and ciphers that differ give keystreams that differ; a stream read in
// takes goes on where the last take ended, at the next block.
TEST_P(KeystreamCiphers, StreamsAreTheirOwnAndTakesFollowOn) {
    const KeystreamKey key(keyFromHex("00000000000000000000000000000001"), GetParam());
    const KeystreamKey other(keyFromHex("00000000000000000000000000000002"), GetParam());
    const Bytes first = bytesAt(key, 0, 0, 64);
    EXPECT_NE(first, bytesAt(key, 1, 0, 64));
    EXPECT_NE(first, bytesAt(other, 0, 0, 64));
    EXPECT_NE(first, Bytes(64, 0));

    Keystream stream(key, 0, 0);
    Bytes taken(24);
    stream.take(taken);
    EXPECT_TRUE(std::equal(taken.begin(), taken.end(), first.begin()));
    stream.take(taken);
    EXPECT_TRUE(std::equal(taken.begin(), taken.end(), first.begin() + 32));
}

INSTANTIATE_TEST_SUITE_P(Ciphers, KeystreamCiphers,
                         testing::Values(KeystreamKey::Cipher::Aes, KeystreamKey::Cipher::ChaCha20),
                         [](const testing::TestParamInfo<KeystreamKey::Cipher>& cipher) {
                             return cipher.param == KeystreamKey::Cipher::Aes ? "Aes" : "ChaCha20";
                         });

TEST(Keystream, TheTwoCiphersDiffer) {
    if (KeystreamKey::fastest() != KeystreamKey::Cipher::Aes) {
        GTEST_SKIP() << "no AES instructions here";
    }
    const KeystreamKey::Key same{7};
    EXPECT_NE(bytesAt(KeystreamKey(same, KeystreamKey::Cipher::Aes), 0, 0, 32),
              bytesAt(KeystreamKey(same, KeystreamKey::Cipher::ChaCha20), 0, 0, 32));
}

} // namespace
} // namespace kvistra
