// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MessageRoom.h"
#include "core/KeyField.h"
#include "core/Message.h"
#include "core/StatusCaption.h"

#include <string>

namespace kvistra {

inline constexpr const char* kApplicationTitle = "Kvistra";

// A message box as shown: UTF-8 text, title and style number.
struct MessageBoxText {
    std::string text;
    std::string title;
    int style = 0;
};

// The one place where the program's Swedish words live.
MessageBoxText describe(const Message& message);

// A key field's label, as a key file's message names it: "Nyckel-y:".
std::string keyFieldLabel(KeyField field);
// The same with "&" before the window's access key: "Nyckel-&y:".
std::string keyFieldCaption(KeyField field);

// The status line shown in the window's caption.
std::string captionText(StatusCaption caption);

// The line beside the input: "12 tecken, plats för 64 789", numbers grouped as in
// Swedish, and the reason when "Generera kryptobild" would refuse the message.
std::string roomLineText(const RoomEstimate& estimate);

// Description of a decoder failure.
std::string failureDescription(FailureNumber failure);

// An errno value in words, to follow a sentence's colon.
std::string systemErrorText(int error);

} // namespace kvistra
