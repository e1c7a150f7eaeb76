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

} // namespace kvistra
