// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/EngineAdapter.h"

class QWidget;

namespace kvistra {

class MainWindowControls;
class MessageBoxes;

// Where the main window shows its runs: the caption, the progress bar and the
// canvas while one goes, and the decoded text, list and clock once it has read.
class WindowRunDisplay final : public RunDisplay {
public:
    WindowRunDisplay(QWidget& window, const MainWindowControls& controls,
                     MessageBoxes& messageBoxes);

    void caption(StatusCaption caption) override;
    void progress(const Progress& progress) override;
    void drawingChanged() override;

    // Earlier output replaced by what was read, then the decoder's notices.
    void show(const Reading& reading);

private:
    QWidget& window_;
    const MainWindowControls& controls_;
    MessageBoxes& messageBoxes_;
};

} // namespace kvistra
