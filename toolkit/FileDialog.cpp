// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileDialog.h"

#include <filesystem>
#include <utility>

namespace kvistra {

namespace {

// A file to open that exists under the name as chosen is that file, extension or not.
bool isExistingFile(const std::string& name) {
    std::error_code error;
    const auto status = std::filesystem::status(name, error);
    return !error && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

} // namespace

FileDialog::FileDialog(FilePrompt& prompt, std::string defaultExtension)
    : prompt_(prompt)
    , defaultExtension_(std::move(defaultExtension)) {}

std::string FileDialog::show(FileDialogMode mode) {
    std::string chosen = prompt_.ask(mode, fileName_, defaultExtension_);
    if (chosen.empty()) {
        return chosen;
    }
    if (!defaultExtension_.empty() && !std::filesystem::path(chosen).has_extension() &&
        !(mode == FileDialogMode::Open && isExistingFile(chosen))) {
        chosen += "." + defaultExtension_;
    }
    fileName_ = chosen;
    return chosen;
}

} // namespace kvistra
