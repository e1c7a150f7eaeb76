// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyFields.h"

#include "MainWindowControls.h"
#include "core/FieldChecks.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "words/MessageCatalogue.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <optional>

namespace kvistra {

NumberLocale userNumberLocale() {
    const QLocale locale;
    return {locale.decimalPoint().toStdString(), locale.groupSeparator().toStdString()};
}

KeyFields::KeyFields(const MainWindowControls& controls, MessageBoxes& messageBoxes)
    : controls_(controls)
    , messageBoxes_(messageBoxes) {}

std::string KeyFields::text(KeyField field) const {
    switch (field) {
    case KeyField::YKey:
        return controls_.yKeyBox->currentText().toStdString();
    case KeyField::XKey:
        return controls_.xKeyBox->currentText().toStdString();
    case KeyField::Shift:
        return controls_.shiftBox->currentText().toStdString();
    case KeyField::ReadingLength:
        break;
    }
    return controls_.readingLengthBox->text().toStdString();
}

KeyNumber KeyFields::wholeKey(KeyField field) const {
    return kvistra::wholeKey(text(field), userNumberLocale());
}

ShiftNumber KeyFields::shift() const {
    return shiftNumber(text(KeyField::Shift), userNumberLocale());
}

DecodeRunRequest KeyFields::readingRequest() const {
    return kvistra::readingRequest(text(KeyField::ReadingLength), text(KeyField::YKey),
                                   text(KeyField::XKey), text(KeyField::Shift), userNumberLocale());
}

std::optional<ReadingPlace> KeyFields::readingPlace() const {
    const DecodeRunRequest reading = readingRequest();
    const std::optional<int> x = reading.xKey.value;
    const std::optional<int> y = reading.yKey.value;
    const std::optional<int> length = reading.readingLength.value;
    if (!x || !y || !length) {
        return std::nullopt;
    }
    return ReadingPlace{*x, *y, *length};
}

// Not const: it writes the window's controls, which the class holds by pointer.
// NOLINTNEXTLINE(readability-make-member-function-const)
void KeyFields::put(KeyField field, const std::string& text) {
    const QString shown = QString::fromStdString(text);
    switch (field) {
    case KeyField::YKey:
        controls_.yKeyBox->setEditText(shown);
        return;
    case KeyField::XKey:
        controls_.xKeyBox->setEditText(shown);
        return;
    case KeyField::Shift:
        controls_.shiftBox->setEditText(shown);
        return;
    case KeyField::ReadingLength:
        controls_.readingLengthBox->setText(shown);
        return;
    }
}

void KeyFields::set(KeyField field, const std::string& text) {
    put(field, text);
    check(field);
}

void KeyFields::check(KeyField field) {
    const std::string value = text(field);
    const NumberLocale locale = userNumberLocale();
    std::optional<FieldRefusal> refusal;
    switch (field) {
    case KeyField::XKey:
        refusal = checkKey(value, controls_.canvas->scaleWidth(), locale);
        break;
    case KeyField::YKey:
        refusal = checkKey(value, controls_.canvas->scaleHeight(), locale);
        break;
    case KeyField::Shift:
        refusal = checkShift(value, locale);
        break;
    case KeyField::ReadingLength:
        refusal = checkReadingLength(value, locale);
        break;
    }
    if (refusal) {
        messageBoxes_.show(describe(refusal->message));
        // Put back unchecked: on a canvas under five pixels the default key is
        // refused in turn, and the boxes would never end.
        put(field, refusal->defaultText);
    }
}

} // namespace kvistra
