// SPDX-License-Identifier: GPL-3.0-or-later
#include "Seal.h"

#include <optional>
#include <sodium.h>

namespace kvistra {

namespace {

constexpr std::size_t kSaltBytes = crypto_pwhash_SALTBYTES;
constexpr std::size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kKeyBytes = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
static_assert(kSealOverhead ==
              1 + kSaltBytes + kNonceBytes + crypto_aead_xchacha20poly1305_ietf_ABYTES);

// Where each part lies: the version byte first, masked by the first salt byte so
// that no fixed byte shows in the run; then salt, nonce and the sealed text.
constexpr std::size_t kSaltAt = 1;
constexpr std::size_t kNonceAt = kSaltAt + kSaltBytes;
constexpr std::size_t kTextAt = kNonceAt + kNonceBytes;

struct KeyCost {
    unsigned long long passes;
    std::size_t memory;
};

std::optional<KeyCost> costOf(std::uint8_t version) {
    switch (static_cast<SealSetting>(version)) {
    case SealSetting::Standard:
        return KeyCost{3, std::size_t{128} << 20};
    case SealSetting::Quick:
        return KeyCost{crypto_pwhash_argon2id_OPSLIMIT_MIN, crypto_pwhash_argon2id_MEMLIMIT_MIN};
    }
    return std::nullopt;
}

bool sodiumReady() {
    static const bool ready = sodium_init() >= 0;
    return ready;
}

// False when Argon2id gets no memory for the cost.
bool deriveKey(SecretBytes& key, const SecretBytes& passphrase, const std::uint8_t* salt,
               KeyCost cost) {
    if (crypto_pwhash(key.data(), kKeyBytes, reinterpret_cast<const char*>(passphrase.data()),
                      passphrase.size(), salt, cost.passes, cost.memory,
                      crypto_pwhash_ALG_ARGON2ID13) != 0) {
        return false;
    }
    key.resize(kKeyBytes);
    return true;
}

} // namespace

Result<std::vector<std::uint8_t>> seal(std::string_view plaintext, const SecretBytes& passphrase,
                                       SealSetting setting) {
    const auto version = static_cast<std::uint8_t>(setting);
    const std::optional<KeyCost> cost = costOf(version);
    if (!sodiumReady() || !cost) {
        return Message{MessageId::OutOfMemory, {}};
    }
    std::vector<std::uint8_t> sealed(kSealOverhead + plaintext.size());
    randombytes_buf(sealed.data() + kSaltAt, kSaltBytes + kNonceBytes);
    sealed[0] = version ^ sealed[kSaltAt];

    SecretBytes key(kKeyBytes);
    if (!deriveKey(key, passphrase, sealed.data() + kSaltAt, *cost)) {
        return Message{MessageId::OutOfMemory, {}};
    }
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        sealed.data() + kTextAt, nullptr, reinterpret_cast<const unsigned char*>(plaintext.data()),
        plaintext.size(), &version, 1, nullptr, sealed.data() + kNonceAt, key.data());
    return sealed;
}

Result<std::string> open(std::span<const std::uint8_t> sealed, const SecretBytes& passphrase) {
    const Message refused{MessageId::SealedMessageRefused, {}};
    if (sealed.size() < kSealOverhead) {
        return refused;
    }
    const std::uint8_t version = sealed[0] ^ sealed[kSaltAt];
    const std::optional<KeyCost> cost = costOf(version);
    if (!cost) {
        return refused;
    }
    if (!sodiumReady()) {
        return Message{MessageId::OutOfMemory, {}};
    }
    SecretBytes key(kKeyBytes);
    if (!deriveKey(key, passphrase, sealed.data() + kSaltAt, *cost)) {
        return Message{MessageId::OutOfMemory, {}};
    }
    const std::span<const std::uint8_t> text = sealed.subspan(kTextAt);
    std::string plaintext(text.size() - crypto_aead_xchacha20poly1305_ietf_ABYTES, '\0');
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char*>(plaintext.data()), nullptr, nullptr, text.data(),
            text.size(), &version, 1, sealed.data() + kNonceAt, key.data()) != 0) {
        return refused;
    }
    return plaintext;
}

} // namespace kvistra
