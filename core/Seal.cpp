// SPDX-License-Identifier: GPL-3.0-or-later
#include "Seal.h"

#include <array>
#include <optional>
#include <sodium.h>

namespace kvistra {

namespace {

constexpr std::size_t kSaltBytes = crypto_pwhash_SALTBYTES;
constexpr std::size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kKeyBytes = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
static_assert(kSealOverhead ==
              1 + kSaltBytes + kNonceBytes + crypto_aead_xchacha20poly1305_ietf_ABYTES);

// Where each part lies: a random byte first (where 1.0.0 kept its version), then
// salt, nonce and the sealed text. Every byte is uniformly random to anyone
// without the passphrase, so every character of the run is distributed as the
// random characters around it are.
constexpr std::size_t kSaltAt = 1;
constexpr std::size_t kNonceAt = kSaltAt + kSaltBytes;
constexpr std::size_t kTextAt = kNonceAt + kNonceBytes;

// The additional data the tag covers: the first byte, so that no character of the
// run changes unseen, and the setting, so that a run opens only with the key's cost
// it was sealed with. The high bit keeps it apart from 1.0.0's one byte.
std::array<std::uint8_t, 2> associatedData(std::uint8_t first, SealSetting setting) {
    return {first, static_cast<std::uint8_t>(0x80 | static_cast<std::uint8_t>(setting))};
}

struct KeyCost {
    unsigned long long passes;
    std::size_t memory;
};

KeyCost costOf(SealSetting setting) {
    switch (setting) {
    case SealSetting::Standard:
        break;
    case SealSetting::Quick:
        return KeyCost{crypto_pwhash_argon2id_OPSLIMIT_MIN, crypto_pwhash_argon2id_MEMLIMIT_MIN};
    }
    return KeyCost{3, std::size_t{128} << 20};
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

// The plaintext when the tag holds for this key and additional data.
std::optional<std::string> decrypted(std::span<const std::uint8_t> sealed, const SecretBytes& key,
                                     std::span<const std::uint8_t> additional) {
    const std::span<const std::uint8_t> text = sealed.subspan(kTextAt);
    std::string plaintext(text.size() - crypto_aead_xchacha20poly1305_ietf_ABYTES, '\0');
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char*>(plaintext.data()), nullptr, nullptr, text.data(),
            text.size(), additional.data(), additional.size(), sealed.data() + kNonceAt,
            key.data()) != 0) {
        return std::nullopt;
    }
    return plaintext;
}

} // namespace

Result<std::vector<std::uint8_t>> seal(std::string_view plaintext, const SecretBytes& passphrase,
                                       SealSetting setting) {
    if (!sodiumReady()) {
        return Message{MessageId::OutOfMemory, {}};
    }
    std::vector<std::uint8_t> sealed(kSealOverhead + plaintext.size());
    randombytes_buf(sealed.data(), kTextAt);

    SecretBytes key(kKeyBytes);
    if (!deriveKey(key, passphrase, sealed.data() + kSaltAt, costOf(setting))) {
        return Message{MessageId::OutOfMemory, {}};
    }
    const auto additional = associatedData(sealed[0], setting);
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        sealed.data() + kTextAt, nullptr, reinterpret_cast<const unsigned char*>(plaintext.data()),
        plaintext.size(), additional.data(), additional.size(), nullptr, sealed.data() + kNonceAt,
        key.data());
    return sealed;
}

Result<std::string> open(std::span<const std::uint8_t> sealed, const SecretBytes& passphrase,
                         SealSetting strongest) {
    if (sealed.size() < kSealOverhead) {
        return Message{MessageId::SealedMessageRefused, {}};
    }
    if (!sodiumReady()) {
        return Message{MessageId::OutOfMemory, {}};
    }
    // 1.0.0 stored the setting masked by the first salt byte, as its only additional data.
    const std::uint8_t oldVersion = sealed[0] ^ sealed[kSaltAt];
    const std::array settings = {SealSetting::Quick, SealSetting::Standard};
    const std::size_t tried = strongest == SealSetting::Quick ? 1 : settings.size();
    for (const SealSetting setting : std::span(settings).first(tried)) {
        SecretBytes key(kKeyBytes);
        if (!deriveKey(key, passphrase, sealed.data() + kSaltAt, costOf(setting))) {
            return Message{MessageId::OutOfMemory, {}};
        }
        if (auto plaintext = decrypted(sealed, key, associatedData(sealed[0], setting))) {
            return std::move(*plaintext);
        }
        if (oldVersion == static_cast<std::uint8_t>(setting)) {
            if (auto plaintext = decrypted(sealed, key, std::span(&oldVersion, 1))) {
                return std::move(*plaintext);
            }
        }
    }
    return Message{MessageId::SealedMessageRefused, {}};
}

} // namespace kvistra
