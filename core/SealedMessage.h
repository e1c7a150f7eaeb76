// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Result.h"
#include "Seal.h"
#include "SecretBytes.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kvistra {

// A message protected by a passphrase, as the picture holds it: sealed, then
// written as characters with the random characters' frequencies, at shift 0.

// The characters written for a message of `messageLength` bytes: always the same
// number for the same length.
std::int64_t sealedLength(std::int64_t messageLength);
// The longest message whose sealed characters fit in `room` positions and in a
// reading length; 0 when none does.
std::int64_t sealedCapacity(std::int64_t room);

// The characters to write for the message (Windows-1252 bytes).
Result<std::string> sealedCharacters(std::string_view message, const SecretBytes& passphrase,
                                     SealSetting setting = SealSetting::Standard);
// The message back from the characters read; SealedMessageRefused when the
// passphrase, the key or the picture is not the one it was written with.
// Settings are tried as open() tries them.
Result<std::string> openedMessage(std::string_view characters, const SecretBytes& passphrase,
                                  SealSetting strongest = SealSetting::Standard);

} // namespace kvistra
