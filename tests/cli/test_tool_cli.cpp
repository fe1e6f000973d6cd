// tomarina-tool's command line as a user meets it: help and version on standard output, every refusal
// named on standard error with exit 2, the JSON of a search as before.
#include "cli/db_builder.h"
#include "data/text_rules.h"
#include "shared/shared_texts.h"
#include "support/test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <csignal>
#include <unistd.h>

using namespace tomarina;
using tomarina::test::u8;

namespace {

struct Result {
    int rc = -1;
    QString out;
    QString err;
};

Result tool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(TOMARINA_TOOL), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

class TestToolCli : public QObject {
    Q_OBJECT
    test::ProgramDir dir_{build_database(test::small_source())};

    QStringList with_dir(QStringList args) const {
        for (QString& a : args) a.replace(QStringLiteral("DIR"), dir_.path());
        return args;
    }

  private slots:
    void help_and_version_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("tool help") << QStringList{"--help"}
                                   << QStringList{"Usage: tomarina-tool COMMAND", "build SOURCE_DIR OUT_FILE",
                                                  "order-user --dir FOLDER --order NAME", "Exit status"};
        QTest::newRow("-h") << QStringList{"-h"} << QStringList{"Usage: tomarina-tool COMMAND"};
        QTest::newRow("version") << QStringList{"--version"}
                                 << QStringList{"tomarina-tool " TOMARINA_VERSION "\n"};
        QTest::newRow("search help") << QStringList{"search", "--help"}
                                     << QStringList{"Usage: tomarina-tool search --dir FOLDER", "--names",
                                                    QString::fromUtf16(shared_texts::order_by_price),
                                                    "6 free keyword"};
        QTest::newRow("help after other options")
            << QStringList{"search", "--type", "9", "--help"} << QStringList{"Usage: tomarina-tool search"};
        QTest::newRow("build help") << QStringList{"build", "-h"}
                                    << QStringList{"Usage: tomarina-tool build SOURCE_DIR OUT_FILE",
                                                   "OUT_FILE"};
        QTest::newRow("dump help") << QStringList{"dump", "--help"}
                                   << QStringList{"Usage: tomarina-tool dump FILE"};
        QTest::newRow("generate help")
            << QStringList{"generate", "--help"} << QStringList{"--hotels <N>", "15000"};
        QTest::newRow("order-user help") << QStringList{"order-user", "--help"}
                                         << QStringList{"Usage: tomarina-tool order-user --dir FOLDER"};
    }
    void help_and_version() {
        QFETCH(QStringList, args);
        QFETCH(QStringList, shown);
        const Result r = tool(args);
        QCOMPARE(r.rc, 0);
        QCOMPARE(r.err, QString());
        for (const QString& s : shown)
            QVERIFY2(r.out.contains(s), qPrintable(s + QStringLiteral(" not in:\n") + r.out));
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::newRow("nothing") << QStringList{} << "tomarina-tool: missing command";
        QTest::newRow("unknown command") << QStringList{"serch"} << "unknown command 'serch'";
        QTest::newRow("unknown tool option") << QStringList{"--frob"} << "Unknown option 'frob'";
        QTest::newRow("unknown option")
            << with_dir({"search", "--dir", "DIR", "--type", "1", "--key", "x", "--frob"})
            << "tomarina-tool search: Unknown option 'frob'";
        QTest::newRow("type 0") << with_dir({"search", "--dir", "DIR", "--type", "0", "--key", "x"})
                                << "--type must be a whole number from 1 to 6, not '0'";
        QTest::newRow("type 7") << with_dir({"search", "--dir", "DIR", "--type", "7", "--key", "x"})
                                << "--type must be a whole number from 1 to 6, not '7'";
        QTest::newRow("type text") << with_dir({"search", "--dir", "DIR", "--type", "one", "--key", "x"})
                                   << "not 'one'";
        QTest::newRow("unknown ordering")
            << with_dir({"search", "--dir", "DIR", "--type", "1", "--key", "x", "--order", "price"})
            << "--order: unknown ordering 'price'";
        QTest::newRow("unknown user ordering") << with_dir({"order-user", "--dir", "DIR", "--order", "name"})
                                               << "--order: unknown ordering 'name'";
        QTest::newRow("missing folder")
            << QStringList{"search", "--dir", "/no/such/folder", "--type", "1", "--key", "x"}
            << "--dir: no such folder '/no/such/folder'";
        QTest::newRow("missing user folder")
            << QStringList{"order-user", "--dir", "/no/such/folder", "--order",
                           QString::fromUtf16(shared_texts::order_by_name)}
            << "--dir: no such folder '/no/such/folder'";
        QTest::newRow("missing key") << with_dir({"search", "--dir", "DIR", "--type", "1"})
                                     << "missing --key";
        QTest::newRow("value missing") << QStringList{"search", "--dir"} << "Missing value after '--dir'";
        QTest::newRow("limit beyond 16 bits")
            << with_dir({"search", "--dir", "DIR", "--type", "1", "--key", "x", "--limit", "40000"})
            << "--limit must be a whole number from -32768 to 32767, not '40000'";
        QTest::newRow("stray argument")
            << with_dir({"search", "--dir", "DIR", "--type", "1", "--key", "x", "extra"})
            << "unexpected argument 'extra'";
        QTest::newRow("build without output")
            << QStringList{"build", TOMARINA_SAMPLE_DIR} << "missing OUT_FILE";
        QTest::newRow("build from no folder")
            << QStringList{"build", "/no/such", "x.dat"} << "no such folder '/no/such'";
        QTest::newRow("hotels not a number")
            << QStringList{"generate", "--base", TOMARINA_SAMPLE_DIR, "--hotels", "many", "out"}
            << "--hotels";
        QTest::newRow("too many hotels")
            << QStringList{"generate", "--base", TOMARINA_SAMPLE_DIR, "--hotels", "15001", "out"}
            << "from 0 to 15000, not '15001'";
        QTest::newRow("refused key") << with_dir(
                                            {"search", "--dir", "DIR", "--type", "2", "--key", u8("那覇")})
                                     << QStringLiteral("tomarina-tool search: ") +
                                            shared_texts::search_entry_error;
    }
    void refusals() {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        const Result r = tool(args);
        QCOMPARE(r.rc, 2);
        QCOMPARE(r.out, QString());
        QVERIFY2(r.err.contains(named), qPrintable(named + QStringLiteral(" not in:\n") + r.err));
    }

    // Files are named with the system's reason, after the command that met them.
    void file_failures_exit_1_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("named");
        QTest::newRow("dump of no file") << QStringList{"dump", "/no/such.dat"}
                                         << "tomarina-tool dump: /no/such.dat: No such file or directory\n";
        QTest::newRow("dump of a folder")
            << QStringList{"dump", "/tmp"} << "tomarina-tool dump: /tmp: Is a directory\n";
        QTest::newRow("search without a directory")
            << QStringList{"search", "--dir", "EMPTY", "--type", "1", "--key", "x"}
            << "tomarina-tool search: EMPTY/tomarina.dat: No such file or directory\n";
        QTest::newRow("build into no folder")
            << QStringList{"build", TOMARINA_SAMPLE_DIR, "/no/such/x.dat"}
            << "tomarina-tool build: /no/such/x.dat: No such file or directory\n";
        QTest::newRow("build from sources without prefectures")
            << QStringList{"build", "EMPTY", "EMPTY/x.dat"}
            << "tomarina-tool build: EMPTY/prefectures.csv: No such file or directory\n";
        // EMPTY/link.dat: another user's link to a directory (root only).
        const QString foreign =
            QStringLiteral(": a symbolic link on the way belongs to another user and is not followed\n");
        QTest::newRow("build through another user's link")
            << QStringList{"build", TOMARINA_SAMPLE_DIR, "EMPTY/link.dat"}
            << "tomarina-tool build: EMPTY/link.dat" + foreign;
        QTest::newRow("dump through another user's link")
            << QStringList{"dump", "EMPTY/link.dat"} << "tomarina-tool dump: EMPTY/link.dat" + foreign;
    }
    void file_failures_exit_1() {
        QFETCH(QStringList, args);
        QFETCH(QString, named);
        test::ProgramDir empty;
        for (QString& a : args) a.replace(QStringLiteral("EMPTY"), empty.path());
        named.replace(QStringLiteral("EMPTY"), empty.path());
        if (named.contains(u"link.dat")) {
            const QByteArray link = QFile::encodeName(empty.file(QStringLiteral("link.dat")));
            QVERIFY(QFile::link(dir_.file(QStringLiteral("tomarina.dat")), QFile::decodeName(link)));
            if (::lchown(link.constData(), 65534, 65534) != 0)
                QSKIP("giving a link to another user needs root");
        }
        const Result r = tool(args);
        QCOMPARE(r.rc, 1);
        QCOMPARE(r.err, named);
    }

    // A dump that cannot reach standard output says so and fails, instead of ending as if all was shown.
    void failed_output_is_reported_data() {
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << "full"
                                   << "No space left on device";
        QTest::newRow("closed") << "closed"
                                << "Bad file descriptor";
        QTest::newRow("reader gone, SIGPIPE ignored") << "pipe"
                                                      << "Broken pipe";
    }
    void failed_output_is_reported() {
        QFETCH(QString, output);
        QFETCH(QString, reason);
        int gone[2];
        QCOMPARE(::pipe(gone), 0);
        ::close(gone[0]); // nobody will ever read
        QProcess p;
        if (output == u"full") p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.setChildProcessModifier([&output, &gone] {
            if (output == u"closed") ::close(STDOUT_FILENO);
            if (output == u"pipe") {
                ::dup2(gone[1], STDOUT_FILENO);
                ::signal(SIGPIPE, SIG_IGN);
            }
        });
        p.start(QStringLiteral(TOMARINA_TOOL),
                {QStringLiteral("dump"), dir_.file(QStringLiteral("tomarina.dat"))});
        QVERIFY(p.waitForFinished(60000));
        ::close(gone[1]);
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 1);
        QCOMPARE(QString::fromUtf8(p.readAllStandardError()),
                 QStringLiteral("tomarina-tool dump: standard output: ") + reason + u'\n');
    }

    void search_output_keeps_its_shape() {
        const QStringList args = with_dir({"search", "--dir", "DIR", "--type", "1", "--key", u8("東京都")});
        const Result plain = tool(args);
        QCOMPARE(plain.rc, 0);
        const QJsonObject o = QJsonDocument::fromJson(plain.out.toUtf8()).object();
        QCOMPARE(o.keys(), QStringList({"hotel_count", "search_key", "sel_count", "sel_hotel", "sel_syousai",
                                        "sel_syousai_count"}));

        // --names adds the names of the same hits in the same order, nothing else.
        const Result named = tool(QStringList(args) << "--names");
        QCOMPARE(named.rc, 0);
        QJsonObject n = QJsonDocument::fromJson(named.out.toUtf8()).object();
        const QJsonArray names = n.take(u"sel_hotel_name"_qs).toArray();
        QCOMPARE(n, o);
        const DbSource src = test::small_source();
        QCOMPARE(names.size(), o[u"sel_hotel"_qs].toArray().size());
        for (qsizetype k = 0; k < names.size(); ++k)
            QCOMPARE(names[k].toString(), src.hotels[o[u"sel_hotel"_qs].toArray()[k].toInt() - 1].name);

        // Options in any order, with = or a blank.
        const Result reordered =
            tool({"search", "--key=" + u8("東京都"), "--type", "1", QStringLiteral("--dir=") + dir_.path()});
        QCOMPARE(reordered.out, plain.out);
    }

    // A key of blanks only, half- or full-width, is no key: a name or text criterion finds every hotel,
    // a prefecture or airport is refused.
    void all_blank_key_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("found");
        const int every = int(test::small_source().hotels.size());
        for (const char* type : {"3", "4", "5", "6"}) {
            QTest::addRow("type %s, full-width blank", type)
                << QString::fromLatin1(type) << u8("　") << every;
            QTest::addRow("type %s, mixed blanks", type) << QString::fromLatin1(type) << u8(" 　 ") << every;
        }
        QTest::newRow("prefecture") << QStringLiteral("1") << u8("　") << -1;
        QTest::newRow("airport") << QStringLiteral("2") << u8("　") << -1;
    }
    void all_blank_key() {
        QFETCH(QString, type);
        QFETCH(QString, key);
        QFETCH(int, found);
        const Result r = tool(with_dir({"search", "--dir", "DIR", "--type", type, "--key", key}));
        if (found < 0) {
            QCOMPARE(r.rc, 2);
            QVERIFY(r.out.isEmpty());
            return;
        }
        QCOMPARE(r.rc, 0);
        const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
        QCOMPARE(o[u"sel_count"_qs].toInt(), found);
        QCOMPARE(o[u"sel_hotel"_qs].toArray().size(), found);
    }

    void init_settings_registers_the_opener_once() {
        test::ProgramDir fresh;
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (opener.isEmpty()) QSKIP("xdg-open is not installed");
        Result r = tool({"init-settings", "--dir", fresh.path()});
        QCOMPARE(r.rc, 0);
        const QByteArray ini = fresh.read(QStringLiteral("tomarina.ini"));
        QVERIFY(ini.contains("\r\ninet_data1=1\r\n"));
        QVERIFY(ini.contains("\r\ninet_data2=" + opener.toLocal8Bit() + "\r\n"));
        QVERIFY(ini.contains("\r\nmax_kensuu=1000\r\n"));
        // A user's settings are never replaced.
        fresh.write(QStringLiteral("tomarina.ini"), "[Control]\r\ninet_data1=3\r\n");
        r = tool({"init-settings", "--dir", fresh.path()});
        QCOMPARE(r.rc, 0);
        QCOMPARE(fresh.read(QStringLiteral("tomarina.ini")), QByteArray("[Control]\r\ninet_data1=3\r\n"));
        QCOMPARE(tool({"init-settings", "--dir", fresh.path() + "/missing"}).rc, 2);
    }
};

QTEST_GUILESS_MAIN(TestToolCli)
#include "test_tool_cli.moc"
