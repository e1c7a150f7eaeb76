// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FileDialog.h"

namespace kvistra {

// The toolkit's own file dialog, over the active window.
class QtFilePrompt final : public FilePrompt {
public:
    std::string ask(FileDialogMode mode, const std::string& suggestedName,
                    const std::string& defaultExtension) override;
};

} // namespace kvistra
