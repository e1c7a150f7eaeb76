// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

namespace kvistra {

class MessageBoxes;
class ProgramStarter;
class Registry;

// `frmAbout`, the about dialog: title, version, description and a way to the system-information
// program. Deletes itself when closed.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 350;
    static constexpr int kClientHeight = 202;

    AboutDialog(Registry& registry, ProgramStarter& programs, MessageBoxes& messageBoxes,
                QWidget* parent = nullptr);

private slots:
    void onOkClicked();
    void onSystemInfoClicked();

private:
    void createControls();
    void showTitleAndVersion();

    Registry& registry_;
    ProgramStarter& programs_;
    MessageBoxes& messageBoxes_;

    QLabel* iconLabel_ = nullptr;
    QLabel* titleLabel_ = nullptr;
    QLabel* versionLabel_ = nullptr;
    QLabel* descriptionLabel_ = nullptr;
    QLabel* disclaimerLabel_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* systemInfoButton_ = nullptr;
};

} // namespace kvistra
