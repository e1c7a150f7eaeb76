// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakePlatform.h"
#include "system/DisplayModeSwitch.h"
#include "system/RegistryValue.h"
#include "system/SystemInformation.h"
#include "toolkit/LinuxRegistry.h"
#include "toolkit/QtProgramStarter.h"
#include "toolkit/QtScreenMetrics.h"
#include "toolkit/WindowScreen.h"
#include "toolkit/X11Connection.h"
#include "toolkit/X11DisplayPlatform.h"
#include "toolkit/X11TaskList.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cstring>
#include <xcb/xcb.h>

using namespace kvistra;
using kvistra::test::FakeDisplayPlatform;
using kvistra::test::ScriptedAnswers;

namespace {

bool onX11() {
    return x11Connection() != nullptr;
}

QScreen* primaryScreen() {
    return QGuiApplication::primaryScreen();
}

// A stand-in for a real program: it only leaves a mark that it ran.
void writeStandIn(const QString& path, const QString& marker) {
    QFile script(path);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(("#!/bin/sh\necho ran > '" + marker + "'\n").toUtf8());
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

xcb_atom_t atomNamed(const char* name) {
    xcb_connection_t* connection = x11Connection();
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

QList<xcb_atom_t> windowStates(const QWidget& window) {
    xcb_connection_t* connection = x11Connection();
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, static_cast<xcb_window_t>(window.winId()),
                         atomNamed("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 1024),
        nullptr);
    QList<xcb_atom_t> states;
    if (reply != nullptr && reply->format == 32) {
        const auto* first = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        states = QList<xcb_atom_t>(first, first + reply->value_len);
    }
    std::free(reply);
    return states;
}

} // namespace

class SystemServicesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void summaryNamesTheSizeOfTheScreen();
    void displayModesNeedAnX11Display();
    void currentSizeAtFullColourTakesWithoutAChange();
    void currentSizeAtSixteenBitsIsRefused();
    void sizeWithoutAModeIsRefused();
    void unmappedWindowCarriesItsTaskListWish();
    void taskListAnswersWhetherTheDesktopAllowsIt();

    void registryFindsTheFirstSystemInformationProgram_data();
    void registryFindsTheFirstSystemInformationProgram();
    void registryNamesTheToolsFolderAndNothingElse();
    void registrySaysHowMuchRoomAValueNeeds();
    void starterStartsAFileAndOnlyAFile();
    void systemInformationStartsTheStandIn_data();
    void systemInformationStartsTheStandIn();

private:
    QString markerPath() const { return dir_->filePath(QStringLiteral("marker")); }
    QString binPath() const { return dir_->filePath(QStringLiteral("bin")); }
    QString toolsPath() const { return dir_->filePath(QStringLiteral("tools")); }

    std::unique_ptr<QTemporaryDir> dir_;
    QByteArray savedPath_;
};

void SystemServicesTest::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("bin")));
    QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("tools")));
    // Only our own stand-ins can be found: no real program is ever started.
    savedPath_ = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(binPath()));
}

void SystemServicesTest::cleanup() {
    qputenv("PATH", savedPath_);
    dir_.reset();
}

void SystemServicesTest::summaryNamesTheSizeOfTheScreen() {
    const QtScreenMetrics metrics(primaryScreen);
    FakeDisplayPlatform platform;
    ScriptedAnswers answers;
    answers.answers = {MessageBoxAnswer::No};
    applyDisplayMode(platform, metrics, answers.show());

    const QSize pixels = devicePixelSize(*primaryScreen());
    QCOMPARE(answers.shown.size(), std::size_t{1});
    QCOMPARE(answers.shown[0].args,
             (std::vector{std::to_string(pixels.width()), std::to_string(pixels.height())}));
}

void SystemServicesTest::displayModesNeedAnX11Display() {
    if (onX11()) {
        QSKIP("for displays other than X11");
    }
    X11DisplayPlatform platform(primaryScreen);
    DisplayModeRecord record;
    QVERIFY(!platform.enumDisplaySettings(nullptr, 0, record));
    QCOMPARE(record, DisplayModeRecord{});

    const QSize pixels = devicePixelSize(*primaryScreen());
    record.fields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
    record.pelsWidth = static_cast<std::uint32_t>(pixels.width());
    record.pelsHeight = static_cast<std::uint32_t>(pixels.height());
    record.bitsPerPel = static_cast<std::uint32_t>(primaryScreen()->depth());
    QCOMPARE(platform.changeDisplaySettings(record, CDS_FULLSCREEN), DISP_CHANGE_FAILED);
}

// Asks for the mode the display already runs in: nothing changes either way.
void SystemServicesTest::currentSizeAtFullColourTakesWithoutAChange() {
    if (!onX11() || primaryScreen()->depth() < 24) {
        QSKIP("for an X11 display at 24-bit colour");
    }
    X11DisplayPlatform platform(primaryScreen);
    DisplayModeRecord record;
    QVERIFY(platform.enumDisplaySettings(nullptr, 0, record));
    const QSize pixels = devicePixelSize(*primaryScreen());
    QCOMPARE(record.pelsWidth, std::uint32_t(pixels.width()));
    QCOMPARE(record.pelsHeight, std::uint32_t(pixels.height()));
    QCOMPARE(record.bitsPerPel, 24u);
    for (const std::uint32_t bits : {24u, 32u}) {
        record.bitsPerPel = bits;
        QCOMPARE(platform.changeDisplaySettings(record, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
        QCOMPARE(platform.changeDisplaySettings(record, CDS_UPDATEREGISTRY),
                 DISP_CHANGE_SUCCESSFUL);
    }
    QCOMPARE(devicePixelSize(*primaryScreen()), pixels);
}

// The X server's depth is its own configuration: no restart of the computer would bring
// 24 bits, so none is offered, and the session is not lost for nothing.
void SystemServicesTest::currentSizeAtSixteenBitsIsRefused() {
    if (!onX11() || primaryScreen()->depth() != 16) {
        QSKIP("for an X11 display at 16-bit colour");
    }
    X11DisplayPlatform platform(primaryScreen);
    DisplayModeRecord record;
    QVERIFY(platform.enumDisplaySettings(nullptr, 0, record));
    QCOMPARE(record.bitsPerPel, 16u);
    for (const std::uint32_t bits : {24u, 32u}) {
        record.bitsPerPel = bits;
        QCOMPARE(platform.changeDisplaySettings(record, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    }
    const QtScreenMetrics metrics(primaryScreen);
    ScriptedAnswers answers;
    answers.answers = {MessageBoxAnswer::Yes, MessageBoxAnswer::Yes};
    confirmDisplayModeSwitch(platform, metrics, answers.show());
    QCOMPARE(answers.ids(),
             (std::vector{MessageId::DisplayModeWarning, MessageId::DisplayModeSummary,
                          MessageId::DisplayModeRefused}));
    record.fields &= ~DM_BITSPERPEL;
    QCOMPARE(platform.changeDisplaySettings(record, CDS_FULLSCREEN), DISP_CHANGE_SUCCESSFUL);
}

void SystemServicesTest::sizeWithoutAModeIsRefused() {
    if (!onX11()) {
        QSKIP("for an X11 display");
    }
    X11DisplayPlatform platform(primaryScreen);
    DisplayModeRecord record;
    QVERIFY(platform.enumDisplaySettings(nullptr, 0, record));
    const QSize before = devicePixelSize(*primaryScreen());
    record.pelsWidth = 123;
    record.pelsHeight = 45;
    QCOMPARE(platform.changeDisplaySettings(record, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
    QCOMPARE(devicePixelSize(*primaryScreen()), before);
}

void SystemServicesTest::unmappedWindowCarriesItsTaskListWish() {
    if (!onX11()) {
        QSKIP("for an X11 display");
    }
    QWidget window;
    const xcb_atom_t above = atomNamed("_NET_WM_STATE_ABOVE");
    const xcb_atom_t skipTaskbar = atomNamed("_NET_WM_STATE_SKIP_TASKBAR");
    const xcb_atom_t skipPager = atomNamed("_NET_WM_STATE_SKIP_PAGER");
    xcb_change_property(x11Connection(), XCB_PROP_MODE_REPLACE,
                        static_cast<xcb_window_t>(window.winId()), atomNamed("_NET_WM_STATE"),
                        XCB_ATOM_ATOM, 32, 1, &above);

    X11TaskList taskList;
    taskList.setWindow(&window);
    taskList.setVisible(false);
    taskList.setVisible(false);
    QCOMPARE(windowStates(window), (QList<xcb_atom_t>{above, skipTaskbar, skipPager}));
    taskList.setVisible(true);
    QCOMPARE(windowStates(window), QList<xcb_atom_t>{above});

    taskList.setVisible(false);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<xcb_atom_t> shown = windowStates(window);
    QVERIFY(shown.contains(skipTaskbar) && shown.contains(skipPager));
}

// Only X11 lets a program leave the task list: elsewhere the window hears so.
void SystemServicesTest::taskListAnswersWhetherTheDesktopAllowsIt() {
    QWidget window;
    X11TaskList taskList;
    QVERIFY(!taskList.setVisible(false)); // no window yet
    taskList.setWindow(&window);
    QCOMPARE(taskList.setVisible(false), onX11());
    QCOMPARE(taskList.setVisible(true), onX11());
    QCOMPARE(setListedInTaskList(window, true), onX11());
}

void SystemServicesTest::registryFindsTheFirstSystemInformationProgram_data() {
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<QString>("found");
    QTest::newRow("none") << QStringList{} << "";
    QTest::newRow("only the last") << QStringList{"gnome-system-monitor"} << "gnome-system-monitor";
    QTest::newRow("first of two") << QStringList{"gnome-system-monitor", "kinfocenter"}
                                  << "kinfocenter";
    QTest::newRow("first of three")
        << QStringList{"kinfocenter", "hardinfo", "gnome-system-monitor"} << "hardinfo";
    QTest::newRow("XFCE") << QStringList{"xfce4-about"} << "xfce4-about";
    QTest::newRow("MATE before GNOME")
        << QStringList{"gnome-system-monitor", "mate-system-monitor"} << "mate-system-monitor";
    QTest::newRow("HardInfo 2 before the desktop's")
        << QStringList{"kinfocenter", "hardinfo2", "xfce4-about"} << "hardinfo2";
    QTest::newRow("a hardware viewer last") << QStringList{"lshw-gtk", "cpu-x"} << "cpu-x";
    QTest::newRow("others") << QStringList{"msinfo32", "top", "neofetch"} << "";
}

void SystemServicesTest::registryFindsTheFirstSystemInformationProgram() {
    QFETCH(QStringList, programs);
    QFETCH(QString, found);
    for (const QString& program : programs) {
        writeStandIn(QDir(binPath()).filePath(program), markerPath());
    }
    // Not a program: it cannot be run.
    QFile plain(QDir(binPath()).filePath(QStringLiteral("hardinfo")));
    if (!plain.exists()) {
        QVERIFY(plain.open(QIODevice::WriteOnly));
    }

    LinuxRegistry registry(toolsPath());
    const RegistryText value = readRegistryText(registry, HKEY_LOCAL_MACHINE, kSystemInformationKey,
                                                kSystemInformationPathValue);
    QCOMPARE(value.found(), !found.isEmpty());
    QCOMPARE(QString::fromStdString(value.text),
             found.isEmpty() ? QString() : QDir(binPath()).filePath(found));
}

void SystemServicesTest::registryNamesTheToolsFolderAndNothingElse() {
    LinuxRegistry registry(toolsPath());
    const struct {
        RegistryHandle root;
        const char* key;
        const char* value;
        bool answered;
    } cases[] = {
        {HKEY_LOCAL_MACHINE, kSharedToolsKey, kSharedToolsValue, true},
        {HKEY_LOCAL_MACHINE, "software\\microsoft\\shared tools location", "msinfo", true},
        {HKEY_LOCAL_MACHINE, kSharedToolsKey, "PATH", false},
        {HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft", kSharedToolsValue, false},
        {0x80000001, kSharedToolsKey, kSharedToolsValue, false},
    };
    for (const auto& c : cases) {
        const RegistryText value = readRegistryText(registry, c.root, c.key, c.value);
        QCOMPARE(value.found(), c.answered);
        QCOMPARE(QString::fromStdString(value.text), c.answered ? toolsPath() : QString());
    }
    RegistryHandle never = 99;
    QCOMPARE(registry.closeKey(never), ERROR_INVALID_HANDLE);
}

void SystemServicesTest::registrySaysHowMuchRoomAValueNeeds() {
    LinuxRegistry registry(QStringLiteral("/opt/verktyg"));
    RegistryHandle key = 0;
    QCOMPARE(registry.openKey(HKEY_LOCAL_MACHINE, kSharedToolsKey, 0, KEY_ALL_ACCESS, key),
             ERROR_SUCCESS);
    std::array<char, 4> small{};
    std::uint32_t type = 0;
    std::uint32_t size = small.size();
    QCOMPARE(registry.queryValue(key, kSharedToolsValue, type, small, size), ERROR_MORE_DATA);
    QCOMPARE(size, 13u); // with its terminating zero
    std::array<char, 13> enough{};
    QCOMPARE(registry.queryValue(key, kSharedToolsValue, type, enough, size), ERROR_SUCCESS);
    QCOMPARE(type, REG_SZ);
    QCOMPARE(std::string(enough.data(), size), std::string("/opt/verktyg\0", 13));
    QCOMPARE(registry.closeKey(key), ERROR_SUCCESS);
    QCOMPARE(registry.queryValue(key, kSharedToolsValue, type, enough, size), ERROR_INVALID_HANDLE);
}

void SystemServicesTest::starterStartsAFileAndOnlyAFile() {
    const QString standIn = QDir(binPath()).filePath(QStringLiteral("stand-in"));
    writeStandIn(standIn, markerPath());
    QtProgramStarter starter;
    QVERIFY(starter.fileExists(standIn.toStdString()));
    QVERIFY(!starter.fileExists(binPath().toStdString()));
    QVERIFY(!starter.fileExists(QDir(binPath()).filePath("missing").toStdString()));

    QVERIFY(!starter.start(QDir(binPath()).filePath("missing").toStdString()));
    QVERIFY(!starter.start(""));
    QVERIFY(!QFile::exists(markerPath()));
    QVERIFY(starter.start(standIn.toStdString()));
    QTRY_VERIFY(QFile::exists(markerPath()));
}

void SystemServicesTest::systemInformationStartsTheStandIn_data() {
    QTest::addColumn<QString>("standIn"); // relative to the temporary folder
    QTest::addColumn<bool>("started");
    QTest::newRow("on the search path") << "bin/kinfocenter" << true;
    QTest::newRow("in the tools folder") << "tools/MSINFO32.EXE" << true;
    QTest::newRow("in the tools folder, other case") << "tools/msinfo32.exe" << false;
    QTest::newRow("nowhere") << "elsewhere" << false;
}

void SystemServicesTest::systemInformationStartsTheStandIn() {
    QFETCH(QString, standIn);
    QFETCH(bool, started);
    writeStandIn(dir_->filePath(standIn), markerPath());

    LinuxRegistry registry(toolsPath());
    QtProgramStarter starter;
    ScriptedAnswers answers;
    startSystemInformation(registry, starter, answers.show());
    if (started) {
        QVERIFY(answers.shown.empty());
        QTRY_VERIFY(QFile::exists(markerPath()));
    } else {
        QCOMPARE(answers.ids(), std::vector{MessageId::SystemInformationUnavailable});
        QTest::qWait(100);
        QVERIFY(!QFile::exists(markerPath()));
    }
}

QTEST_MAIN(SystemServicesTest)
#include "SystemServicesTest.moc"
