// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Message.h"
#include "NumberLocale.h"
#include "Result.h"

#include <optional>
#include <string>
#include <string_view>

namespace kvistra {

// A refused field value: the message to show and the default to put back.
struct FieldRefusal {
    Message message;
    std::string defaultText;

    friend bool operator==(const FieldRefusal&, const FieldRefusal&) = default;
};

inline constexpr const char* kDefaultKey = "5";
inline constexpr const char* kDefaultShift = "0";
inline constexpr const char* kDefaultReadingLength = "0";
inline constexpr double kHighestShift = 29.0;

// The bound is the canvas width for the x-key and its height for the y-key.
std::optional<FieldRefusal> checkKey(std::string_view text, int bound, const NumberLocale& locale);
std::optional<FieldRefusal> checkShift(std::string_view text, const NumberLocale& locale);
std::optional<FieldRefusal> checkReadingLength(std::string_view text, const NumberLocale& locale);

// A shift that can be written into a picture: numeric and whole. The field takes a
// fractional one as it is typed, but written it would change every character.
// Refused with ValueNotNumeric or ShiftNotWhole {text}.
Status checkShiftForWriting(std::string_view text, const NumberLocale& locale);

} // namespace kvistra
