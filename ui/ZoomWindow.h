// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ToolWindow.h"
#include "core/RunRegions.h"

#include <optional>

class QMenu;

namespace kvistra {

class PictureBox;
class ZoomBox;

// `Granskning`: a snapshot of the whole canvas enlarged by a chosen factor, the
// window sized to fit, within its screen (beyond it the view scrolls) and never
// narrower than its menu bar. The view follows the canvas only when a factor is chosen;
// the outline of the message run, when asked for, follows the key fields at once.
class ZoomWindow : public ToolWindow {
    Q_OBJECT

public:
    // First shown beside the main window.
    ZoomWindow(const PictureBox& canvas, const QWidget& mainWindow);

    // Loads the view at 100 % when the window is not open, then brings it to the front.
    void open();

    void zoomTo(double factor);

    // The key values and reading length in the main window's fields, as a reader
    // would take them; nullopt when they are no numbers. The outline follows them.
    void setReadingPlace(std::optional<ReadingPlace> place);

private slots:
    void onZoomBoxClicked(QPoint globalPosition);
    void updateOutline();
    void onExit();

private:
    void createMenus();
    void load();

    const PictureBox& canvas_;
    ZoomBox* zoomBox_ = nullptr;
    QMenu* zoomMenu_ = nullptr;
    QAction* outlineItem_ = nullptr;
    std::optional<ReadingPlace> readingPlace_;
};

} // namespace kvistra
