// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FakeSystem.h"
#include "ScriptedToolkit.h"
#include "ui/MainWindow.h"

#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace kvistra::test {

// A shown main window over scripted message boxes, file prompts and platform
// fakes, with a folder of its own for files: made anew for every test.
class MainWindowFixture {
protected:
    // From the test class's init() and cleanup().
    void openWindow() {
        boxes_ = {};
        prompt_ = {};
        system_ = std::make_unique<FakeSystem>();
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        passphrases_ = {};
        window_ = std::make_unique<MainWindow>(boxes_, prompt_, system_->services(), passphrases_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    }
    void closeWindow() {
        window_.reset();
        dir_.reset();
    }

    // A named child of a window; the test stops when there is none.
    template <class T> static T* childOf(const QWidget* window, const char* name) {
        T* found = window->findChild<T*>(QLatin1String(name));
        if (!found) {
            qFatal("no control %s", name);
        }
        return found;
    }
    QString path(const char* name) const { return dir_->filePath(QLatin1String(name)); }

    ScriptedMessageBoxes boxes_;
    ScriptedFilePrompt prompt_;
    ScriptedPassphrasePrompt passphrases_;
    std::unique_ptr<FakeSystem> system_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace kvistra::test
