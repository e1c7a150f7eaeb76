// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/KeyField.h"
#include "core/NumberLocale.h"

#include <string>

namespace kvistra {

class MainWindowControls;
class MessageBoxes;

// The main window's key fields. A change by the program is checked as typing
// would be: a refused value is reported and the field's default put back.
class KeyFields {
public:
    KeyFields(const MainWindowControls& controls, MessageBoxes& messageBoxes);

    std::string text(KeyField field) const;
    void set(KeyField field, const std::string& text);
    void check(KeyField field);

private:
    // Not checked.
    void put(KeyField field, const std::string& text);

    const MainWindowControls& controls_;
    MessageBoxes& messageBoxes_;
};

// Numbers as the user's locale writes them.
NumberLocale userNumberLocale();

} // namespace kvistra
