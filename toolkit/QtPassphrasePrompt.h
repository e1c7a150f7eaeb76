// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PassphrasePrompt.h"

namespace kvistra {

// A modal dialog over the active window, the typing not shown.
class QtPassphrasePrompt final : public PassphrasePrompt {
public:
    std::optional<PassphraseAnswer> ask(bool repeat) override;
};

} // namespace kvistra
