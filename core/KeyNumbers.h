// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Message.h"
#include "NumberLocale.h"
#include "Result.h"

#include <optional>
#include <string>

namespace kvistra {

// The key values as the encoder and the decoder take them. A front end reads each
// field's or option's text once, by the rule of the run it starts: the encoder
// takes whole numbers only, the decoder rounds. The text stays beside the number,
// for the messages that quote what was typed.

// A key position or a reading length: the number, when the text gives one.
struct KeyNumber {
    std::optional<int> value;
    // The decoder's rule only: why there is no number, TypeMismatch for a text that
    // is none, Overflow for one outside 16 bits.
    FailureNumber failure = FailureNumber::None;
    std::string text;

    friend bool operator==(const KeyNumber&, const KeyNumber&) = default;
};

// The shift, as typed: each run uses it in its own way.
struct ShiftNumber {
    std::optional<double> value;
    std::string text;

    friend bool operator==(const ShiftNumber&, const ShiftNumber&) = default;
};

// The encoder's rule: a whole 16-bit number, or none, which no position of the grid meets.
KeyNumber wholeKey(const std::string& text, const NumberLocale& locale);

// The decoder's rule: rounded half to even to a 16-bit number.
KeyNumber roundedKey(const std::string& text, const NumberLocale& locale);

// The decoder's reading length: the number at the start of the text, as a 16-bit
// integer; Overflow outside it.
KeyNumber readingLengthNumber(const std::string& text);

ShiftNumber shiftNumber(const std::string& text, const NumberLocale& locale);

// Values the program holds as numbers already (a run's result, say); their text,
// should a message quote them, is the plain decimal one.
KeyNumber keyNumber(int value);
ShiftNumber shiftNumber(int value);

// A shift that can be written into a picture: numeric and whole. The field takes a
// fractional one as it is typed, but written it would change every character.
// Refused with ValueNotNumeric or ShiftNotWhole {text}.
Status checkWholeShift(const ShiftNumber& shift);

} // namespace kvistra
