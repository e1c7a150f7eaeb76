// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/KeyNumbers.h"

#include <cstdint>
#include <string>

namespace kvistra {

// What the window knows while the user types: the text and the fields as they stand.
struct RoomRequest {
    std::string typed; // UTF-8 with CR LF line ends, as the input box hands it over
    KeyNumber xKey;    // read by wholeKey()
    KeyNumber yKey;
    bool adapt = false; // the message starts at the top left
    int width = 0;
    int height = 0;
    bool sealed = false; // with a passphrase, which takes room of its own
};

// In the order "Generera kryptobild" would refuse them; Fits when it would not.
enum class RoomVerdict { Fits, CharacterNotStorable, TooLong, KeyOutsideGrid, DoesNotFit };

struct RoomEstimate {
    std::int64_t length = 0; // characters, as the picture would hold them
    std::int64_t room = 0;   // characters from the key to the end of the picture; sealed,
                             // the longest message that seals into them
    RoomVerdict verdict = RoomVerdict::Fits;
    // CharacterNotStorable: the first such character (UTF-8) and its 1-based place.
    std::string character;
    std::int64_t characterPlace = 0;

    bool warns() const { return verdict != RoomVerdict::Fits; }

    friend bool operator==(const RoomEstimate&, const RoomEstimate&) = default;
};

// The same judgement the encoder makes before it writes, without writing.
RoomEstimate estimateRoom(const RoomRequest& request);

} // namespace kvistra
