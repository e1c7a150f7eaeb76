// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Version.h"
#include "io/LibraryMessages.h"
#include "io/TemporaryFiles.h"
#include "system/PlatformChoice.h"
#include "toolkit/DeferredIconStyle.h"
#include "toolkit/QtFilePrompt.h"
#include "toolkit/QtMessageBoxes.h"
#include "toolkit/QtPassphrasePrompt.h"
#include "toolkit/QtSystemServices.h"
#include "ui/MainWindow.h"
#include "ui/ProgramIcon.h"
#include "ui/StartArguments.h"
#include "ui/ToolkitLanguage.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <cstdlib>
#include <iostream>
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
    // Help and version need no display: answered before the toolkit starts.
    const kvistra::StartRequest asked =
        kvistra::parseStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (asked.action == kvistra::StartRequest::Action::Help) {
        std::cout << kvistra::kStartUsage;
        return 0;
    }
    if (asked.action == kvistra::StartRequest::Action::Version) {
        std::cout << "Kvistra " << kvistra::kVersionText << '\n';
        return 0;
    }

    if (kvistra::prefersXWayland(sessionEnvironment(argc, argv))) {
        // Wayland itself when the X server cannot be reached after all.
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    }
    QApplication application(argc, argv);
    // A proxy of the style the application chose, owned by the application.
    QApplication::setStyle(new kvistra::DeferredIconStyle(QApplication::style()->name()));
    // The toolkit has taken its own options out of argv; the rest are ours, as bytes,
    // so that any file name the system allows comes through unchanged.
    const kvistra::StartRequest request =
        kvistra::parseStartArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (request.action == kvistra::StartRequest::Action::UsageError) {
        std::cerr << "kvistra: " << request.problem << "\n\n" << kvistra::kStartUsage;
        return 2;
    }
    kvistra::keepLibraryMessagesQuiet();
    // A session that ends during a save must not leave a picture-sized temporary file behind.
    kvistra::TemporaryFiles::removeOnSignals();
    QApplication::setApplicationName(QStringLiteral("Kvistra"));
    QApplication::setApplicationVersion(QString::fromLatin1(kvistra::kVersionText));

    // The toolkit's own dialogs and menus speak the program's language.
    const kvistra::ToolkitLanguage toolkitWords;

    kvistra::QtMessageBoxes messageBoxes;
    kvistra::QtFilePrompt filePrompt;
    kvistra::QtPassphrasePrompt passphrasePrompt;
    kvistra::QtSystemServices system; // after the application: it reads the program's folder
    kvistra::MainWindow window(messageBoxes, filePrompt, system.services(), passphrasePrompt);
    system.setWindow(window);
    QApplication::setWindowIcon(kvistra::programIcon());

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    if (!request.picture.empty()) {
        window.openStartFiles(request.picture, request.keyFile);
    }
    return QApplication::exec();
}
