// SPDX-License-Identifier: GPL-3.0-or-later
#include "SealedMessage.h"

#include "Capacity.h"
#include "FixedFrequencyCode.h"

#include <algorithm>

namespace kvistra {

std::int64_t sealedLength(std::int64_t messageLength) {
    return static_cast<std::int64_t>(
        codedLength(static_cast<std::size_t>(messageLength) + kSealOverhead));
}

std::int64_t sealedCapacity(std::int64_t room) {
    const std::int64_t characters = std::min(room, kLongestMessage);
    if (characters <= 0) {
        return 0;
    }
    // The coded length grows with the byte count, so the longest is found by halving.
    std::int64_t fits = 0;
    std::int64_t tooLong = characters + 1; // a byte takes more than one character
    while (tooLong - fits > 1) {
        const std::int64_t middle = (fits + tooLong) / 2;
        (sealedLength(middle) <= characters ? fits : tooLong) = middle;
    }
    return fits;
}

Result<std::string> sealedCharacters(std::string_view message, const SecretBytes& passphrase,
                                     SealSetting setting) {
    const Result<std::vector<std::uint8_t>> sealed = seal(message, passphrase, setting);
    if (!sealed) {
        return sealed.problem();
    }
    return charactersOfBytes(*sealed);
}

Result<std::string> openedMessage(std::string_view characters, const SecretBytes& passphrase,
                                  SealSetting strongest) {
    const std::optional<std::vector<std::uint8_t>> bytes = bytesOfCharacters(characters);
    if (!bytes) {
        return Message{MessageId::SealedMessageRefused, {}};
    }
    return open(*bytes, passphrase, strongest);
}

Status checkPassphrase(const SecretBytes& passphrase, const SecretBytes* repeated) {
    if (passphrase.empty()) {
        return Message{MessageId::PassphraseEmpty, {}};
    }
    if (passphrase.size() > kLongestPassphrase) {
        return Message{MessageId::PassphraseTooLong, {std::to_string(kLongestPassphrase)}};
    }
    if (repeated && !passphrase.sameAs(*repeated)) {
        return Message{MessageId::PassphrasesDiffer, {}};
    }
    return Done{};
}

Status checkSealedFits(const Canvas& canvas, const EncodeRequest& request) {
    const std::optional<std::int64_t> room = roomFor(canvas, request);
    if (!room) {
        return Message{MessageId::KeyOutsideGrid,
                       {request.xKey.text, request.yKey.text, std::to_string(canvas.width()),
                        std::to_string(canvas.height())}};
    }
    const auto length = static_cast<std::int64_t>(request.message.size());
    const std::int64_t capacity = sealedCapacity(*room);
    if (length > capacity) {
        return Message{MessageId::SealedMessageDoesNotFit,
                       {std::to_string(length), std::to_string(capacity)}};
    }
    return Done{};
}

Status sealRequest(EncodeRequest& request, const SecretBytes& passphrase, SealSetting setting) {
    Result<std::string> characters = sealedCharacters(request.message, passphrase, setting);
    if (!characters) {
        return characters.problem();
    }
    wipeBytes(request.message.data(), request.message.size());
    request.message = std::move(*characters);
    request.shift = {0.0, "0"};
    return Done{};
}

Result<std::string> readSealed(const Canvas& canvas, const DecodeRunRequest& request,
                               const SecretBytes& passphrase, SealSetting strongest) {
    const Message refused{MessageId::SealedMessageRefused, {}};
    if (!request.readingLength.value) {
        return refused;
    }
    const DecodeResult read =
        decode(canvas, {*request.readingLength.value, request.yKey, request.xKey, request.shift});
    if (read.outcome != DecodeOutcome::Finished) {
        return refused;
    }
    std::string characters;
    characters.reserve(read.positions.size());
    for (const DecodedPosition& position : read.positions) {
        characters += static_cast<char>(position.character);
    }
    return openedMessage(characters, passphrase, strongest);
}

} // namespace kvistra
