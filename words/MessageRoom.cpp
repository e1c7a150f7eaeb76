// SPDX-License-Identifier: GPL-3.0-or-later
#include "MessageRoom.h"

#include "core/Capacity.h"
#include "core/Encoder.h"
#include "core/SealedMessage.h"
#include "core/Windows1252.h"

#include <algorithm>

namespace kvistra {

namespace {

std::int64_t codePoints(const std::string& utf8) {
    return std::count_if(utf8.begin(), utf8.end(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
    });
}

} // namespace

RoomEstimate estimateRoom(const RoomRequest& request) {
    RoomEstimate estimate;
    const Result<std::string> bytes = windows1252FromUtf8(request.typed);
    estimate.length = bytes ? static_cast<std::int64_t>(bytes->size()) : codePoints(request.typed);

    std::optional<int> x = 0;
    std::optional<int> y = 0;
    if (!request.adapt) {
        x = request.xKey.value;
        y = request.yKey.value;
    }
    const bool inside = x && y && *x >= 0 && *y >= 0 && *x < request.width && *y < request.height;
    if (inside) {
        const std::int64_t positions = roomFromKey(request.width, request.height, *x, *y);
        // What generation accepts: never more than the longest message.
        estimate.room = request.sealed ? sealedCapacity(positions)
                                       : std::min<std::int64_t>(positions, kLongestMessage);
    }

    if (!bytes) {
        estimate.verdict = RoomVerdict::CharacterNotStorable;
        const Message& problem = bytes.problem();
        if (problem.id == MessageId::CharacterNotInCodePage && problem.args.size() == 2) {
            estimate.character = problem.args[0];
            estimate.characterPlace = std::stoll(problem.args[1]);
        }
    } else if (estimate.length > kLongestMessage) {
        estimate.verdict = RoomVerdict::TooLong;
    } else if (!inside) {
        estimate.verdict = RoomVerdict::KeyOutsideGrid;
    } else if (estimate.length > estimate.room) {
        estimate.verdict = RoomVerdict::DoesNotFit;
    }
    return estimate;
}

} // namespace kvistra
