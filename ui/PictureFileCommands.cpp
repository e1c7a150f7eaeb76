// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureFileCommands.h"

#include "KeyFields.h"
#include "MemoryGuard.h"
#include "WorkInHand.h"
#include "core/Decoder.h"
#include "core/MessageBoxStyle.h"
#include "io/PictureFile.h"
#include "io/SavedPictureCheck.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/WhileRepainting.h"
#include "words/MessageCatalogue.h"

#include <cerrno>
#include <optional>

namespace kvistra {

PictureFileCommands::PictureFileCommands(PictureBox& canvas, const KeyFields& fields,
                                         WorkInHand& work, FilePrompt& prompt,
                                         MessageBoxes& messageBoxes)
    : canvas_(canvas)
    , fields_(fields)
    , work_(work)
    , messageBoxes_(messageBoxes)
    , dialog_(prompt, "bmp") {}

Result<std::string> PictureFileCommands::choose(FileDialogMode mode) {
    std::string name = mode == FileDialogMode::Open ? dialog_.showOpen() : dialog_.showSave();
    if (name.empty()) {
        return Message{MessageId::NoFileName, {}};
    }
    return name;
}

Status PictureFileCommands::openFromDialog() {
    const Result<std::string> name = choose(FileDialogMode::Open);
    return name ? open(*name) : name.problem();
}

Status PictureFileCommands::openNamed(const std::string& name) {
    dialog_.setFileName(name);
    return open(name);
}

Status PictureFileCommands::open(const std::string& name) {
    Result<Image> picture = whileRepainting([&name] { return loadPicture(name); });
    if (!picture) {
        return picture.problem();
    }
    canvas_.setPicture(std::move(*picture));
    opened_ = name;
    work_.pictureOpened();
    return Done{};
}

Status PictureFileCommands::saveFromDialog() {
    const Result<std::string> name = choose(FileDialogMode::Save);
    if (!name) {
        return name.problem();
    }
    return confirmSavingPart(*name) ? save(*name) : Done{};
}

Status PictureFileCommands::save(const std::string& name) {
    const Image& image = canvas_.image();
    // A generated picture must also give its message back with the fields' key values.
    std::optional<ExpectedMessage> expected;
    if (const std::optional<std::string>& message = work_.generatedMessage()) {
        const DecodeRunRequest reading = fields_.readingRequest();
        expected = ExpectedMessage{
            {reading.readingLength.value.value_or(0), reading.yKey, reading.xKey, reading.shift},
            *message};
    }
    if (Status saved = savePicture(name, image); !saved) {
        return saved;
    }
    // The file is in place now: whatever goes wrong from here says so.
    Status readable =
        unlessMemoryRunsOut([&] { return checkSavedPicture(name, image, expected); },
                            Message{MessageId::SavedPictureUnreadable, {name}, ENOMEM});
    if (readable) {
        work_.pictureSaved();
    }
    return readable;
}

bool PictureFileCommands::confirmSavingPart(const std::string& name) {
    const std::optional<QSize> whole = canvas_.pictureSize();
    const int width = canvas_.scaleWidth();
    const int height = canvas_.scaleHeight();
    if (!whole || (whole->width() <= width && whole->height() <= height)) {
        return true;
    }
    // Under any name: a new file would hold the cut-off part as silently as the
    // opened one.
    const Message warning{MessageId::PictureLargerThanCanvas,
                          {opened_.empty() ? name : opened_, std::to_string(whole->width()),
                           std::to_string(whole->height()), std::to_string(width),
                           std::to_string(height), name}};
    return messageBoxes_.show(describe(warning)) == MessageBoxAnswer::Yes;
}

} // namespace kvistra
