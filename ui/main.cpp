#include "core/Version.h"
#include "io/LibraryMessages.h"
#include "io/TemporaryFiles.h"
#include "system/PlatformChoice.h"
#include "toolkit/QtFilePrompt.h"
#include "toolkit/QtMessageBoxes.h"
#include "toolkit/QtPassphrasePrompt.h"
#include "toolkit/QtSystemServices.h"
#include "ui/MainWindow.h"
#include "ui/ProgramIcon.h"
#include "ui/ProgramWideValues.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

kvistra::SessionEnvironment sessionEnvironment(int argc, char* argv[]) {
    return {environmentValue("QT_QPA_PLATFORM"), environmentValue("DISPLAY"),
            environmentValue("WAYLAND_DISPLAY"), environmentValue("XDG_SESSION_TYPE"),
            std::vector<std::string>(argv, argv + argc)};
}

} // namespace

int main(int argc, char* argv[]) {
    if (kvistra::prefersXWayland(sessionEnvironment(argc, argv))) {
        // Wayland itself when the X server cannot be reached after all.
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    }
    QApplication application(argc, argv);
    kvistra::keepLibraryMessagesQuiet();
    // A session that ends during a save must not leave a picture-sized temporary file behind.
    kvistra::TemporaryFiles::removeOnSignals();
    QApplication::setApplicationName(QStringLiteral("Kvistra"));
    QApplication::setApplicationVersion(QString::fromLatin1(kvistra::kVersionText));

    // The toolkit's own dialogs and menus speak the program's language.
    QTranslator toolkitWords;
    if (toolkitWords.load(QLocale(QLocale::Swedish, QLocale::Sweden), QStringLiteral("qt"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkitWords);
    }

    kvistra::ProgramWideValues shared;
    kvistra::QtMessageBoxes messageBoxes;
    kvistra::QtFilePrompt filePrompt;
    kvistra::QtPassphrasePrompt passphrasePrompt;
    kvistra::QtSystemServices system; // after the application: it reads the program's folder
    kvistra::MainWindow window(shared, messageBoxes, filePrompt, system.services(),
                               passphrasePrompt);
    system.setWindow(window);
    QApplication::setWindowIcon(kvistra::programIcon());

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    return QApplication::exec();
}
