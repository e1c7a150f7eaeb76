// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/DecoderRun.h"
#include "core/KeyField.h"
#include "core/KeyNumbers.h"
#include "core/NumberLocale.h"
#include "core/RunRegions.h"

#include <optional>
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
    // The fields read once, in the user's locale, by the rule of the run they start:
    // a key as the encoder takes it, the shift, and all four as the decoder reads them.
    KeyNumber wholeKey(KeyField field) const;
    ShiftNumber shift() const;
    DecodeRunRequest readingRequest() const;
    // Where a reader with these values starts, read as the decoder reads them.
    std::optional<ReadingPlace> readingPlace() const;
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
