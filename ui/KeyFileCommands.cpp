// SPDX-License-Identifier: GPL-3.0-or-later
#include "KeyFileCommands.h"

#include "KeyFields.h"
#include "WorkInHand.h"
#include "core/Image.h"
#include "core/KeyNumbers.h"
#include "core/RunCheck.h"
#include "core/Windows1252.h"
#include "io/TextImport.h"
#include "toolkit/PictureBox.h"
#include "toolkit/TextBox.h"

#include <cstdint>

namespace kvistra {

KeyFileCommands::KeyFileCommands(KeyFields& fields, const PictureBox& canvas, TextBox& input,
                                 WorkInHand& work, FilePrompt& prompt)
    : fields_(fields)
    , canvas_(canvas)
    , input_(input)
    , work_(work)
    , dialog_(prompt, "txt") {}

Status KeyFileCommands::openFromDialog() {
    const std::string name = dialog_.showOpen();
    return name.empty() ? Done{} : open(name);
}

Status KeyFileCommands::saveFromDialog() {
    const std::string name = dialog_.showSave();
    return name.empty() ? Done{} : save(name);
}

Status KeyFileCommands::insertTextFromDialog() {
    const std::string name = dialog_.showOpen();
    return name.empty() ? Done{} : insertText(name);
}

Status KeyFileCommands::openNamed(const std::string& name) {
    dialog_.setFileName(name);
    return open(name);
}

Status KeyFileCommands::insertNamedText(const std::string& name) {
    dialog_.setFileName(name);
    return insertText(name);
}

Status KeyFileCommands::open(const std::string& name) {
    const Result<KeyFileLines> lines = readKeyFile(name);
    if (!lines) {
        return lines.problem();
    }
    // The key in the fields may be the only copy: a file with any line the fields
    // would refuse changes none of them, and one message names the file and the line.
    if (Status usable = checkKeyFileLines(*lines, name, canvas_.scaleWidth(), canvas_.scaleHeight(),
                                          userNumberLocale());
        !usable) {
        return usable;
    }
    fields_.set(KeyField::YKey, lines->yKey);
    fields_.set(KeyField::XKey, lines->xKey);
    fields_.set(KeyField::Shift, lines->shift);
    fields_.set(KeyField::ReadingLength, lines->readingLength);
    opened_ = *lines;
    openedName_ = name;
    work_.keyOpened();
    return Done{};
}

Status KeyFileCommands::save(const std::string& name) {
    const Result<KeyValues> values = convertKeyFields(
        fields_.text(KeyField::YKey), fields_.text(KeyField::XKey), fields_.text(KeyField::Shift),
        fields_.text(KeyField::ReadingLength), userNumberLocale());
    if (!values) {
        return values.problem();
    }
    if (Status written = writeKeyFile(name, *values); !written) {
        return written;
    }
    work_.keySaved();
    return Done{};
}

Status KeyFileCommands::insertText(const std::string& name) {
    const Result<std::string> imported = importTextFile(name);
    if (!imported) {
        return imported.problem();
    }
    input_.setProgramText(utf8FromWindows1252(*imported));
    return Done{};
}

std::optional<Message> KeyFileCommands::refusal(const std::string& picture) const {
    if (!opened_ || opened_->check.empty() || picture.empty() ||
        fields_.text(KeyField::YKey) != opened_->yKey ||
        fields_.text(KeyField::XKey) != opened_->xKey ||
        fields_.text(KeyField::ReadingLength) != opened_->readingLength) {
        return std::nullopt;
    }
    const Image& image = canvas_.image();
    const NumberLocale locale = userNumberLocale();
    const std::optional<int> x = roundedKey(opened_->xKey, locale).value;
    const std::optional<int> y = roundedKey(opened_->yKey, locale).value;
    const std::optional<int> length = roundedKey(opened_->readingLength, locale).value;
    // A run the canvas does not hold whole is the decoder's to report.
    if (!x || !y || !length || !image.contains(*x, *y) || *length < 0 ||
        std::int64_t{*y} * image.width() + *x + *length >
            std::int64_t{image.width()} * image.height() ||
        runCheckOf(image, *x, *y, *length) == opened_->check) {
        return std::nullopt;
    }
    return Message{MessageId::KeyFileForAnotherPicture, {openedName_, picture}};
}

} // namespace kvistra
