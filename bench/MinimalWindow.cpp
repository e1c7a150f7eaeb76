// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the window's start: the least a Qt Widgets program does to
// show a main window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
