// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <utility>

namespace kvistra {

enum class FileDialogMode { Open, Save };

// Asks the user for a file name; empty when cancelled. Behind an interface so
// that tests script the answers.
class FilePrompt {
public:
    virtual ~FilePrompt() = default;
    virtual std::string ask(FileDialogMode mode, const std::string& suggestedName,
                            const std::string& defaultExtension) = 0;
};

// One file dialog object of a window: it keeps the name last chosen in it,
// whichever command chose it, and gives a name typed without an extension its
// default extension; to open, a name that exists as chosen is kept as it is.
class FileDialog {
public:
    FileDialog(FilePrompt& prompt, std::string defaultExtension);

    // The chosen name, or empty when the user cancelled.
    std::string showOpen() { return show(FileDialogMode::Open); }
    std::string showSave() { return show(FileDialogMode::Save); }

    const std::string& fileName() const { return fileName_; }
    // A name the user chose elsewhere: dropped on the window or given at start.
    void setFileName(std::string name) { fileName_ = std::move(name); }

private:
    std::string show(FileDialogMode mode);

    FilePrompt& prompt_;
    std::string defaultExtension_;
    std::string fileName_;
};

} // namespace kvistra
