// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/StartArguments.h"

#include <QStringList>
#include <QTest>
#include <string>
#include <vector>

using kvistra::parseStartArguments;
using kvistra::StartRequest;
using Action = StartRequest::Action;

Q_DECLARE_METATYPE(Action)

class StartArgumentsTest : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
};

void StartArgumentsTest::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("keyFile");
    QTest::addColumn<QString>("problem");

    QTest::newRow("nothing") << QStringList{} << Action::Run << ""
                             << ""
                             << "";
    QTest::newRow("picture") << QStringList{"bild.png"} << Action::Run << "bild.png"
                             << ""
                             << "";
    QTest::newRow("picture and key file")
        << QStringList{"/tmp/bild.bmp", "nyckel.txt"} << Action::Run << "/tmp/bild.bmp"
        << "nyckel.txt"
        << "";
    QTest::newRow("help among files") << QStringList{"bild.png", "--help"} << Action::Help << ""
                                      << ""
                                      << "";
    QTest::newRow("short help") << QStringList{"-h"} << Action::Help << ""
                                << ""
                                << "";
    QTest::newRow("help wins over a wrong option")
        << QStringList{"-platform", "offscreen", "--help"} << Action::Help << ""
        << ""
        << "";
    QTest::newRow("version") << QStringList{"--version"} << Action::Version << ""
                             << ""
                             << "";
    QTest::newRow("names after --")
        << QStringList{"--", "--help", "-x.txt"} << Action::Run << "--help"
        << "-x.txt"
        << "";
    QTest::newRow("a lone dash is a name") << QStringList{"-"} << Action::Run << "-"
                                           << ""
                                           << "";
    QTest::newRow("unknown option") << QStringList{"--zoom"} << Action::UsageError << ""
                                    << ""
                                    << "okänd flagga: --zoom";
    QTest::newRow("three files") << QStringList{"a.png", "b.txt", "c.png"} << Action::UsageError
                                 << ""
                                 << ""
                                 << "oväntat argument: c.png";
    QTest::newRow("empty name") << QStringList{""} << Action::UsageError << ""
                                << ""
                                << "ett filnamn är tomt";
}

void StartArgumentsTest::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(Action, action);
    QFETCH(QString, picture);
    QFETCH(QString, keyFile);
    QFETCH(QString, problem);

    std::vector<std::string> given;
    for (const QString& argument : arguments) {
        given.push_back(argument.toStdString());
    }
    const StartRequest request = parseStartArguments(given);
    QCOMPARE(request.action, action);
    QCOMPARE(QString::fromStdString(request.picture), picture);
    QCOMPARE(QString::fromStdString(request.keyFile), keyFile);
    QCOMPARE(QString::fromStdString(request.problem), problem);
}

QTEST_APPLESS_MAIN(StartArgumentsTest)
#include "StartArgumentsTest.moc"
