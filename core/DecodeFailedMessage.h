// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Decoder.h"
#include "Message.h"

namespace kvistra {

// The numbers the decoder's error report gives its failures.
constexpr int failureCode(FailureNumber number) {
    switch (number) {
    case FailureNumber::InvalidArgument:
        return 5;
    case FailureNumber::Overflow:
        return 6;
    case FailureNumber::TypeMismatch:
        return 13;
    case FailureNumber::None:
        break;
    }
    return 0;
}

// DecodeFailed for a failed decoding: the failure's number in the error report,
// then what says which value or character could not be read.
Message decodeFailedMessage(FailureNumber number, const DecodeFailure& failure);

} // namespace kvistra
