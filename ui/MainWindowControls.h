// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QWidget;

namespace kvistra {

class ListBox;
class PictureBox;
class ProgressBar;
class TextBox;

// The main window's controls, each under its design name as objectName, laid out
// on one client widget. The window connects them to its commands.
class MainWindowControls {
public:
    static constexpr int kClientWidth = 737;
    static constexpr int kClientHeight = 521;

    // The timer belongs to `window`; the rest to client().
    explicit MainWindowControls(QWidget& window);

    QWidget* client() const { return client_; }
    // Once the client is in its window.
    void orderTabs() const;

    TextBox* inputBox = nullptr;
    QLabel* inputLabel = nullptr;
    // Beside "Indata": the message's length and the room for it.
    QLabel* roomLabel = nullptr;
    QLabel* clockLabel = nullptr;
    QPushButton* decryptButton = nullptr;
    QComboBox* shiftBox = nullptr;
    QLabel* shiftLabel = nullptr;
    QComboBox* xKeyBox = nullptr;
    QLabel* xKeyLabel = nullptr;
    QComboBox* yKeyBox = nullptr;
    QLabel* yKeyLabel = nullptr;
    QPushButton* generateButton = nullptr;
    QPushButton* viewerButton = nullptr;
    QPushButton* openPictureButton = nullptr;
    QPushButton* savePictureButton = nullptr;
    TextBox* decryptedBox = nullptr;
    QLabel* decryptedLabel = nullptr;
    QLineEdit* readingLengthBox = nullptr;
    QLabel* readingLengthLabel = nullptr;
    ListBox* decodedList = nullptr;
    QLabel* decodedListLabel = nullptr;
    PictureBox* canvas = nullptr;
    QPushButton* clearCanvasButton = nullptr;
    QPushButton* clearAllButton = nullptr;
    QCheckBox* adaptCheck = nullptr;
    QCheckBox* protectCheck = nullptr;
    QLabel* protectionSign = nullptr;
    ProgressBar* progressBar = nullptr;
    TextBox* directDataBox = nullptr;
    QLabel* directDataLabel = nullptr;
    QTimer* clock = nullptr;

private:
    void create(QWidget& window);
    void layOut();

    QWidget* client_ = nullptr;
};

} // namespace kvistra
