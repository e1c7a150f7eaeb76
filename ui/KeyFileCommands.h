// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Message.h"
#include "core/Result.h"
#include "io/KeyFile.h"
#include "toolkit/FileDialog.h"

#include <optional>
#include <string>

namespace kvistra {

class Image;
class KeyFields;
class PictureBox;
class TextBox;
class WorkInHand;

// "Öppna nyckelfil...", "Spara nyckelfil som..." and "Infoga textfil", which share
// one dialog: the key fields from and to key files, and a text file into the
// message. A cancelled dialog does nothing; a failure comes back for the window
// to show.
class KeyFileCommands {
public:
    KeyFileCommands(KeyFields& fields, const PictureBox& canvas, TextBox& input, WorkInHand& work,
                    FilePrompt& prompt);

    Status openFromDialog();
    // Saved when the work says so afterwards.
    Status saveFromDialog();
    Status insertTextFromDialog();
    // Files named outside the dialog, dropped or given at start: the dialog goes on
    // from their names.
    Status openNamed(const std::string& name);
    Status insertNamedText(const std::string& name);

    // KeyFileForAnotherPicture when the fields hold the opened key file's values and
    // its check does not match the canvas, opened from `picture`.
    std::optional<Message> refusal(const std::string& picture) const;
    // The canvas is no longer the picture an opened key file names.
    void forgetOpenedKey() { opened_.reset(); }

private:
    // All four fields or none.
    Status open(const std::string& name);
    Status save(const std::string& name);
    Status insertText(const std::string& name);

    KeyFields& fields_;
    const PictureBox& canvas_;
    TextBox& input_;
    WorkInHand& work_;
    FileDialog dialog_;
    // The key file last opened, with the check of its picture's pixels that the
    // command-line tool writes: "Dekryptera" with its values refuses another picture.
    std::optional<KeyFileLines> opened_;
    std::string openedName_;
};

} // namespace kvistra
