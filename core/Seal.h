// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"
#include "SecretBytes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kvistra {

// How hard the key is to derive from the passphrase. Nothing in the sealed bytes
// names it, since any fixed byte would mark the run: a reader tries each setting,
// the cheap one first.
enum class SealSetting : std::uint8_t {
    // Argon2id at 3 passes over 128 MiB: about a quarter of a second here.
    Standard = 1,
    // The least Argon2id allows, for tests that seal often. The writer chooses the
    // cost, so a reader may accept it: it makes no stored message weaker.
    Quick = 2,
};

inline constexpr std::size_t kLongestPassphrase = 1024; // bytes

// A random byte, salt, nonce and authentication tag.
inline constexpr std::size_t kSealOverhead = 1 + 16 + 24 + 16;

// The bytes sealed with a key from the passphrase (Argon2id, a random salt) by
// XChaCha20-Poly1305 with a random nonce: bytes that look uniformly random.
// OutOfMemory when the key derivation gets no memory.
Result<std::vector<std::uint8_t>> seal(std::string_view plaintext, const SecretBytes& passphrase,
                                       SealSetting setting);

// The plaintext; SealedMessageRefused for a wrong passphrase or changed bytes.
// Tries the quick setting, then the standard one unless `strongest` is the quick
// one (for tests, which never pay for the standard key). Also opens what 1.0.0
// sealed, whose first byte was the setting masked by the salt.
Result<std::string> open(std::span<const std::uint8_t> sealed, const SecretBytes& passphrase,
                         SealSetting strongest = SealSetting::Standard);

} // namespace kvistra
