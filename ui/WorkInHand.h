// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace kvistra {

class MessageBoxes;

// What the main window works on: whether there is anything to read yet, and the
// picture of the last generation with its key values, each until it is saved.
class WorkInHand {
public:
    enum class Answer { Save, GoOn, Stay };

    // A picture was opened, or a key file: there is something to read from now on.
    void pictureOpened();
    void keyOpened() { readable_ = true; }
    // The canvas holds a newly generated picture of `message` (Windows-1252).
    void generated(std::string message);
    void pictureSaved() { pictureUnsaved_ = false; }
    void keySaved() { keyUnsaved_ = false; }
    // The canvas was cleared.
    void pictureGone();

    // "Dekryptera" reads nothing until a picture or key file was opened or a
    // picture generated.
    bool readable() const { return readable_; }
    bool pictureUnsaved() const { return pictureUnsaved_; }
    bool keyUnsaved() const { return keyUnsaved_; }
    // The message the canvas was generated with, while it shows that picture.
    const std::optional<std::string>& generatedMessage() const { return generatedMessage_; }

    // Asks what to do with work not saved yet; GoOn when there is none.
    Answer ask(MessageBoxes& boxes) const;

private:
    std::optional<std::string> generatedMessage_;
    bool readable_ = false;
    bool pictureUnsaved_ = false;
    bool keyUnsaved_ = false;
};

} // namespace kvistra
