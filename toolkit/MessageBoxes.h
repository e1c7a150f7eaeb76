// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "words/MessageCatalogue.h"

namespace kvistra {

// Modal message boxes, behind an interface so that tests script the answers.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // The answer: 1 OK, 2 Cancel, 6 Yes, 7 No. A box without a title shows "Kvistra".
    virtual int show(const MessageBoxText& box) = 0;
};

} // namespace kvistra
