// SPDX-License-Identifier: GPL-3.0-or-later
// Saves a picture of the main window with a message hidden and read back, for the
// software centres' metadata. The build runs it in an X server of its own.
#include "core/MessageBoxStyle.h"
#include "toolkit/MessageBoxes.h"
#include "toolkit/PassphrasePrompt.h"
#include "toolkit/QtSystemServices.h"
#include "toolkit/TextBox.h"
#include "ui/MainWindow.h"
#include "ui/ProgramIcon.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QWindow>
#include <iostream>

namespace {

// No box may wait for a click: each is answered OK, and errors are reported.
class AnsweringMessageBoxes final : public kvistra::MessageBoxes {
public:
    bool errorShown = false;

    int show(const kvistra::MessageBoxText& box) override {
        if (kvistra::MessageBoxStyle::iconOf(box.style) == kvistra::MessageBoxStyle::Error) {
            std::cerr << "kvistra-screenshot: " << box.text << '\n';
            errorShown = true;
        }
        return kvistra::MessageBoxAnswer::Ok;
    }
};

class NoFilePrompt final : public kvistra::FilePrompt {
public:
    std::string ask(kvistra::FileDialogMode, const std::string&, const std::string&) override {
        return {};
    }
};

class NoPassphrasePrompt final : public kvistra::PassphrasePrompt {
public:
    std::optional<kvistra::PassphraseAnswer> ask(bool) override { return std::nullopt; }
};

template <class T> T& control(const QWidget& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (!found) {
        std::cerr << "kvistra-screenshot: no control " << name << '\n';
        std::exit(1);
    }
    return *found;
}

void waitUntilPainted(const QWidget& window) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 2000 &&
           !(window.windowHandle() && window.windowHandle()->isExposed())) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    // A few more turns for the layout and the fonts.
    for (int i = 0; i < 10; ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "Användning: kvistra-screenshot BILD.png\n";
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("Kvistra"));
    QApplication::setWindowIcon(kvistra::programIcon());

    AnsweringMessageBoxes messageBoxes;
    NoFilePrompt filePrompt;
    NoPassphrasePrompt passphrasePrompt;
    kvistra::QtSystemServices system;
    kvistra::MainWindow window(messageBoxes, filePrompt, system.services(), passphrasePrompt);
    system.setWindow(window);
    window.show();
    waitUntilPainted(window);

    control<kvistra::TextBox>(window, "Text1").setProgramText("Möt mig vid bron");
    control<QCheckBox>(window, "Anpassa").setChecked(false);
    control<QComboBox>(window, "Combo1").lineEdit()->setText(QStringLiteral("12"));
    control<QComboBox>(window, "Combo2").lineEdit()->setText(QStringLiteral("40"));
    control<QComboBox>(window, "Stepping").lineEdit()->setText(QStringLiteral("3"));
    control<QPushButton>(window, "Command4").click(); // Generera kryptobild
    control<QPushButton>(window, "Command2").click(); // Dekryptera
    waitUntilPainted(window);

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::cerr << "kvistra-screenshot: kan inte spara " << argv[1] << '\n';
        return 1;
    }
    return messageBoxes.errorShown ? 1 : 0;
}
