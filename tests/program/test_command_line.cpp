// What the program's arguments and environment decide before any window exists.
#include "program/command_line.h"

#include <QTest>

using namespace tomarina;

class TestCommandLine : public QObject {
    Q_OBJECT

  private slots:
    void early_answers_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("answer");
        QTest::newRow("nothing") << QStringList{"tomarina"} << int(EarlyAnswer::none);
        QTest::newRow("ignored") << QStringList{"tomarina", "file.dat", "-x"} << int(EarlyAnswer::none);
        QTest::newRow("a session manager's restart")
            << QStringList{"tomarina", "-session", "1234_5678"} << int(EarlyAnswer::none);
        QTest::newRow("help") << QStringList{"tomarina", "--help"} << int(EarlyAnswer::help);
        QTest::newRow("short help") << QStringList{"tomarina", "-h"} << int(EarlyAnswer::help);
        QTest::newRow("version after others")
            << QStringList{"tomarina", "-platform", "offscreen", "--version"} << int(EarlyAnswer::version);
        QTest::newRow("the first of both")
            << QStringList{"tomarina", "--version", "--help"} << int(EarlyAnswer::version);
        QTest::newRow("the program's own name") << QStringList{"--help"} << int(EarlyAnswer::none);
    }
    void early_answers() {
        QFETCH(QStringList, args);
        QFETCH(int, answer);
        QCOMPARE(int(early_answer(args)), answer);
    }

    void display_missing_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("qpa");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<bool>("missing");
        const QStringList plain{"tomarina"};
        QTest::newRow("nothing at all") << plain << ""
                                        << ""
                                        << "" << true;
        QTest::newRow("X display") << plain << ""
                                   << ":0"
                                   << "" << false;
        QTest::newRow("Wayland display") << plain << ""
                                         << ""
                                         << "wayland-0" << false;
        QTest::newRow("X named, none there") << plain << "xcb"
                                             << ""
                                             << "" << true;
        QTest::newRow("X with options, none there") << plain << "xcb:nograb"
                                                    << ""
                                                    << "" << true;
        QTest::newRow("offscreen") << plain << "offscreen"
                                   << ""
                                   << "" << false;
        QTest::newRow("Wayland named: Qt finds its socket") << plain << "wayland"
                                                            << ""
                                                            << "" << false;
        QTest::newRow("fallback list ending offscreen") << plain << "xcb;offscreen"
                                                        << ""
                                                        << "" << false;
        QTest::newRow("-platform") << QStringList{"tomarina", "-platform", "offscreen"} << ""
                                   << ""
                                   << "" << false;
        QTest::newRow("--platform over the environment")
            << QStringList{"tomarina", "--platform", "xcb"} << "offscreen"
            << ""
            << "" << true;
        QTest::newRow("-platform without a name") << QStringList{"tomarina", "-platform"} << ""
                                                  << ""
                                                  << "" << true;
    }
    void display_missing() {
        QFETCH(QStringList, args);
        QFETCH(QString, qpa);
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QFETCH(bool, missing);
        QCOMPARE(tomarina::display_missing(args, {qpa, display, wayland}), missing);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "test_command_line.moc"
