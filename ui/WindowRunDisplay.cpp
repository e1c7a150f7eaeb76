// SPDX-License-Identifier: GPL-3.0-or-later
#include "WindowRunDisplay.h"

#include "MainWindowControls.h"
#include "toolkit/ListBox.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PictureBox.h"
#include "toolkit/ProgressBar.h"
#include "toolkit/TextBox.h"
#include "words/MessageCatalogue.h"

#include <QTimer>
#include <QWidget>

namespace kvistra {

WindowRunDisplay::WindowRunDisplay(QWidget& window, const MainWindowControls& controls,
                                   MessageBoxes& messageBoxes)
    : window_(window)
    , controls_(controls)
    , messageBoxes_(messageBoxes) {}

void WindowRunDisplay::caption(StatusCaption caption) {
    window_.setWindowTitle(QString::fromStdString(captionText(caption)));
}

void WindowRunDisplay::progress(const Progress& progress) {
    controls_.progressBar->setProgress(progress);
}

void WindowRunDisplay::drawingChanged() {
    controls_.canvas->update();
}

void WindowRunDisplay::show(const Reading& reading) {
    controls_.clock->start();
    controls_.directDataBox->setProgramText("");
    controls_.decodedList->clear();
    controls_.decodedList->addLines(reading.listLines);
    controls_.decryptedBox->setProgramText(reading.text);
    for (const Message& notice : reading.notices) {
        messageBoxes_.show(describe(notice));
    }
    if (reading.clockStopped) {
        controls_.clock->stop();
    }
}

} // namespace kvistra
