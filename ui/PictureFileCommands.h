// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Result.h"
#include "toolkit/FileDialog.h"

#include <string>

namespace kvistra {

class KeyFields;
class MessageBoxes;
class PictureBox;
class WorkInHand;

// "öppna bild" and "spara bild": the canvas from and to picture files. A failure
// comes back for the window to show.
class PictureFileCommands {
public:
    PictureFileCommands(PictureBox& canvas, const KeyFields& fields, WorkInHand& work,
                        FilePrompt& prompt, MessageBoxes& messageBoxes);

    // NoFileName when the dialog is cancelled.
    Status openFromDialog();
    // A file named outside the dialog, dropped or given at start: the dialog goes on
    // from its name.
    Status openNamed(const std::string& name);
    // Saved when the work says so afterwards: NoFileName when the dialog is cancelled;
    // the user may still decline to save part of a picture.
    Status saveFromDialog();

    // The file the canvas's picture was last opened from; empty when none was.
    const std::string& openedPicture() const { return opened_; }

private:
    Status open(const std::string& name);
    // Saved and read back as it should be, a generated picture's message included.
    Status save(const std::string& name);
    Result<std::string> choose(FileDialogMode mode);
    // Saving a canvas that shows only part of the opened picture over that
    // picture's own file loses the rest: the user is asked first.
    bool confirmSavingPart(const std::string& name);

    PictureBox& canvas_;
    const KeyFields& fields_;
    WorkInHand& work_;
    MessageBoxes& messageBoxes_;
    FileDialog dialog_;
    std::string opened_;
};

} // namespace kvistra
