#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QWidget;

namespace kvistra {

class MessageBoxes;
class ProgramStarter;
class Registry;

// The about dialog: title, version, description and a way to the system-information
// program. Deletes itself when closed.
class AboutDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 350;
    static constexpr int kClientHeight = 202;

    AboutDialog(Registry& registry, ProgramStarter& programs, MessageBoxes& messageBoxes,
                QWidget* parent = nullptr);

private slots:
    void cmdOK_Click();
    void cmdSysInfo_Click();

private:
    void createControls();
    void Form_Load();

    Registry& registry_;
    ProgramStarter& programs_;
    MessageBoxes& messageBoxes_;

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;
};

} // namespace kvistra
