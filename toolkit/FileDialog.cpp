#include "FileDialog.h"

#include <filesystem>
#include <utility>

namespace kvistra {

FileDialog::FileDialog(FilePrompt& prompt, std::string defaultExtension)
    : prompt_(prompt)
    , defaultExtension_(std::move(defaultExtension)) {}

std::string FileDialog::show(FileDialogMode mode) {
    std::string chosen = prompt_.ask(mode, fileName_, defaultExtension_);
    if (chosen.empty()) {
        return chosen;
    }
    if (!defaultExtension_.empty() && !std::filesystem::path(chosen).has_extension()) {
        chosen += "." + defaultExtension_;
    }
    fileName_ = chosen;
    return chosen;
}

} // namespace kvistra
