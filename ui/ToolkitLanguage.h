// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTranslator>

namespace kvistra {

// The toolkit's own words in Swedish (its dialogs, their standard buttons, the
// file dialog's questions) from the translation Debian ships as qt_sv.qm, for as
// long as this lives. That file still keeps the standard buttons' captions under
// the button box, where Qt 6 asks the platform theme for them; those are looked up
// there too, so that "Yes" reads "Ja".
class ToolkitLanguage : public QTranslator {
public:
    ToolkitLanguage();
    ~ToolkitLanguage() override;
    ToolkitLanguage(const ToolkitLanguage&) = delete;
    ToolkitLanguage& operator=(const ToolkitLanguage&) = delete;

    bool loaded() const { return loaded_; }

    QString translate(const char* context, const char* sourceText,
                      const char* disambiguation = nullptr, int n = -1) const override;

private:
    bool loaded_ = false;
};

} // namespace kvistra
