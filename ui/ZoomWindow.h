#pragma once

#include "ToolWindow.h"

class QMenu;

namespace kvistra {

class PictureBox;
class ZoomBox;

// `Granskning`: a snapshot of the whole canvas enlarged by a chosen factor, the
// window sized to fit, within its screen (beyond it the view scrolls) and never
// narrower than its menu bar. The view follows the canvas only when a factor is chosen.
class ZoomWindow : public ToolWindow {
    Q_OBJECT

public:
    // First shown beside the main window.
    ZoomWindow(const PictureBox& canvas, const QWidget& mainWindow);

    // Loads the view at 100 % when the window is not open, then brings it to the front.
    void open();

    void zoomTo(double factor);

private slots:
    void onZoomBoxClicked(QPoint globalPosition);
    void onExit();

private:
    void createMenus();
    void load();

    const PictureBox& canvas_;
    ZoomBox* zoomBox_ = nullptr;
    QMenu* zoomMenu_ = nullptr;
};

} // namespace kvistra
