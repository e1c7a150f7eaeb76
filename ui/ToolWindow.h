// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>

namespace kvistra {

// A window of its own beside the main window: no task-bar entry, no minimise or
// maximise, not modal. It keeps the program running when the main window is closed.
class ToolWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit ToolWindow(const QWidget& mainWindow);

protected:
    // Between the window's edges and its contents: 120 twips.
    static constexpr int kMargin = 8;

    // Shows the window in front, placed beside the main window the first time.
    void bringToFront();

    // The largest size the window can take with its frame on its screen.
    QSize screenRoom() const;

private:
    const QWidget& mainWindow_;
    bool placed_ = false;
};

} // namespace kvistra
