// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Canvas.h"
#include "DecoderRun.h"
#include "Encoder.h"
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

// The passphrase as typed, and typed again when it is to write with: PassphraseEmpty,
// PassphraseTooLong or PassphrasesDiffer.
Status checkPassphrase(const SecretBytes& passphrase, const SecretBytes* repeated = nullptr);

// Whether the request's message, once sealed, fits from its key: KeyOutsideGrid or
// SealedMessageDoesNotFit.
Status checkSealedFits(const Canvas& canvas, const EncodeRequest& request);

// Puts the sealed characters in the request's place of its message, which is wiped,
// and the shift they are written at: 0, so that their green values are the characters.
Status sealRequest(EncodeRequest& request, const SecretBytes& passphrase, SealSetting setting);

// The message of the sealed run the request reads, read whole and opened;
// SealedMessageRefused whatever stopped it (the reading too), OutOfMemory.
Result<std::string> readSealed(const Canvas& canvas, const DecodeRunRequest& request,
                               const SecretBytes& passphrase,
                               SealSetting strongest = SealSetting::Standard);

} // namespace kvistra
