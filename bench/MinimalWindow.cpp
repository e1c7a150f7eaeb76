// SPDX-License-Identifier: GPL-3.0-or-later
// The yardsticks for the window's start: the least a Qt Widgets program does to
// show a main window, and with --text the least one does that shows any text (a
// label and a menu), which costs the fonts' set-up.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <cstring>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
        window.setCentralWidget(new QLabel(QStringLiteral("Hej då")));
        window.menuBar()->addMenu(QStringLiteral("&Arkiv"))->addAction(QStringLiteral("&Avsluta"));
    }
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
