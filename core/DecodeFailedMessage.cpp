// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecodeFailedMessage.h"

#include <string>

namespace kvistra {

namespace {

const char* valueCode(DecodeValue value) {
    switch (value) {
    case DecodeValue::YKey:
        return "y";
    case DecodeValue::XKey:
        return "x";
    case DecodeValue::Shift:
        return "shift";
    case DecodeValue::ReadingLength:
        return "length";
    case DecodeValue::None:
        break;
    }
    return "";
}

} // namespace

Message decodeFailedMessage(FailureNumber number, const DecodeFailure& failure) {
    Message message{MessageId::DecodeFailed,
                    {std::to_string(failureCode(number)), valueCode(failure.value), failure.text}};
    if (failure.position > 0) {
        for (const int value : {failure.position, failure.x, failure.y, failure.green}) {
            message.args.push_back(std::to_string(value));
        }
    }
    return message;
}

} // namespace kvistra
