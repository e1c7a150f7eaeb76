// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MessageBoxes.h"

namespace kvistra {

// Message boxes on screen, over the active window.
class QtMessageBoxes final : public MessageBoxes {
public:
    int show(const MessageBoxText& box) override;
};

} // namespace kvistra
