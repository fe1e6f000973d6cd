#include "data/save_file.h"
#include "data/text_rules.h"
#include "shared/settings.h"
#include "support/faulty_disk.h"
#include "support/test_support.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

Settings read_text(const QString& text, Settings s = {}) {
    QByteArray bytes = encode_cp932(text);
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    read_settings(buf, s);
    return s;
}

Settings read_bytes(QByteArray bytes, Settings s = {}) {
    QBuffer buf(&bytes);
    buf.open(QIODevice::ReadOnly);
    read_settings(buf, s);
    return s;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
  private slots:
    void reading_rules() {
        Settings start;
        start.max_kensuu = 1000;
        start.sv_pop = 1;
        const Settings s = read_text(u8("[Control]\r\n"
                                        "sv_count=12\r\n"
                                        "max_kensuu=\r\n"
                                        "sv_pop=0\r\n"
                                        "control1_flg=37\r\n"
                                        "inet_data1=x2\r\n"
                                        "inet_data2=C:\\Program Files\\Browser\\browser.exe\r\n"
                                        "sv_height12=6000.6\r\n"
                                        "sv_colwidth(3)=1234\r\n"
                                        "[Form]\r\n"
                                        "tomarina11_left=1200\r\n"
                                        "tomarina92_top=-45\r\n"),
                                     start);
        QCOMPARE(s.sv_count, Integer(2));   // last character only
        QCOMPARE(s.max_kensuu, Integer(0)); // written for 0, stays 0
        QCOMPARE(s.sv_pop, Integer(0));
        QCOMPARE(s.control1_flg, Integer(7));
        QCOMPARE(s.inet_data1, QStringLiteral("2"));
        QCOMPARE(s.inet_data2, QStringLiteral("C:\\Program Files\\Browser\\browser.exe"));
        QCOMPARE(s.sv_height12, Integer(6001));
        QCOMPARE(s.sv_colwidth(3), Integer(1234));
        QCOMPARE(s.search_conditions_window.left, Integer(1200));
        QCOMPARE(s.browser_window.top, Integer(-45));
    }

    // A leading blank is skipped; trailing blanks and tabs stay part of the item, so a value read
    // from the last character sees them.
    void trailing_blanks_stay_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("sv_pop");
        QTest::addColumn<QString>("inet_data1");
        QTest::addColumn<QString>("inet_data2");
        QTest::newRow("plain") << "sv_pop=0" << 0 << "0"
                               << "";
        QTest::newRow("blank after the last digit") << "sv_pop=1 " << 0 << "0"
                                                    << "";
        QTest::newRow("tab after the last digit") << "sv_pop=1\t" << 0 << "0"
                                                  << "";
        QTest::newRow("leading blank skipped") << "  sv_pop=0" << 0 << "0"
                                               << "";
        QTest::newRow("digit kind with a blank after it") << "inet_data1=2 " << 1 << "0"
                                                          << "";
        QTest::newRow("digit kind") << "inet_data1=2" << 1 << "2"
                                    << "";
        QTest::newRow("path with a blank at its end") << "inet_data2=C:\\a b " << 1 << "0"
                                                      << "C:\\a b ";
        QTest::newRow("path with a tab at its end") << "inet_data2=/opt/b\t" << 1 << "0"
                                                    << "/opt/b\t";
    }

    void trailing_blanks_stay() {
        QFETCH(QString, line);
        QFETCH(int, sv_pop);
        QFETCH(QString, inet_data1);
        QFETCH(QString, inet_data2);
        Settings start;
        start.sv_pop = 1;
        const Settings s = read_text(QStringLiteral("[Control]\r\n") + line + QStringLiteral("\r\n"), start);
        QCOMPARE(s.sv_pop, Integer(sv_pop));
        QCOMPARE(s.inet_data1, inet_data1);
        QCOMPARE(s.inet_data2, inet_data2);
    }

    void browser_kind_starts_undetermined() {
        QCOMPARE(Settings().inet_data1, QStringLiteral("0"));
        QVERIFY(settings_bytes(Settings()).contains("\r\ninet_data1=0\r\n"));
        // An empty value reads as the digit 0 too.
        QCOMPARE(read_text(QStringLiteral("[Control]\r\ninet_data1=\r\n")).inet_data1, QStringLiteral("0"));
    }

    void items_and_sections() {
        // Seven history lines keep five; a comma splits an entry in two; quotes are removed; a leading
        // blank is skipped; an unknown section leaves the current one.
        const Settings s = read_text(u8("[Text1]\r\n"
                                        "東京\r\n"
                                        "大阪,京都\r\n"
                                        "\"福岡\"\r\n"
                                        " 札幌\r\n"
                                        "那覇\r\n"
                                        "仙台\r\n"
                                        "[Other]\r\n"
                                        "[Text2]\r\n"
                                        "\r\n"
                                        "東京／羽田\r\n"));
        QCOMPARE(s.prefecture_history(1), u8("東京"));
        QCOMPARE(s.prefecture_history(2), u8("大阪"));
        QCOMPARE(s.prefecture_history(3), u8("京都"));
        QCOMPARE(s.prefecture_history(4), u8("福岡"));
        QCOMPARE(s.prefecture_history(5), u8("札幌"));
        QCOMPARE(s.airport_history(1), QString());
        QCOMPARE(s.airport_history(2), u8("東京／羽田"));

        // Keys compared exactly; unknown keys skipped; order of keys and sections free.
        const Settings t = read_text(u8("[Form]\nTomarina1_top=99\nfoo=1\ntomarina1_left=15\n"
                                        "[Control]\nmax_kensuu=20\n=5\nsv_pop\n[Form]\ntomarina1_top=30\n"));
        QCOMPARE(t.main_menu_window.top, Integer(30));
        QCOMPARE(t.main_menu_window.left, Integer(15));
        QCOMPARE(t.max_kensuu, Integer(20));
    }

    void values_that_do_not_fit_are_skipped() {
        Settings start;
        start.max_kensuu = 1000;
        const Settings s = read_text(
            u8("[Control]\nmax_kensuu=40000\nsv_width12=-99999\n[Form]\ntomarina1_top=32768\n"), start);
        QCOMPARE(s.max_kensuu, Integer(1000));
        QCOMPARE(s.sv_width12, Integer(0));
        QCOMPARE(s.main_menu_window.top, Integer(0));
    }

    void bad_files() {
        Settings start;
        start.max_kensuu = 1000;
        start.sv_pop = 1;
        QByteArray noise;
        for (int i = 0; i < 4096; ++i) noise.append(char((i * 7919) % 256));
        const Settings s = read_bytes(noise, start);
        QCOMPARE(s.max_kensuu, Integer(1000));
        QCOMPARE(read_bytes({}, start).sv_pop, Integer(1));
        test::ProgramDir dir;
        Settings missing = start;
        read_settings_file(dir.file(QStringLiteral("tomarina.ini")), missing);
        QCOMPARE(settings_bytes(missing), settings_bytes(start));
        QVERIFY(!QFile::exists(dir.file(QStringLiteral("tomarina.ini"))));
    }

    // A settings file root left behind with mode 0600 cannot be read by the user; ending the program
    // must not replace it with the defaults. Run again as nobody; skipped where the user cannot change.
    void unreadable_file_is_never_written_over() {
        if (qEnvironmentVariableIsSet("TOMARINA_INI_AS_NOBODY")) {
            const QString path = qEnvironmentVariable("TOMARINA_INI_AS_NOBODY");
            Settings s;
            read_settings_file(path, s);
            QVERIFY(s.read_error.failed());
            QString error;
            QVERIFY(!write_settings_file(path, s, &error));
            QVERIFY(error.contains(u8("読み込めなかった")));
            return;
        }
        test::ProgramDir dir;
        const QString ini = dir.file(QStringLiteral("tomarina.ini"));
        QVERIFY(QDir().mkdir(ini));
        Settings folder;
        read_settings_file(ini, folder);
        QVERIFY(folder.read_error.failed());
        QVERIFY(!write_settings_file(ini, folder));
        QVERIFY(QFileInfo(ini).isDir());

        QVERIFY(QDir().rmdir(ini));
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
        const QByteArray content = "[Control]\r\nmax_kensuu=77\r\n";
        dir.write(QStringLiteral("tomarina.ini"), content);
        QVERIFY(QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        const test::NobodyRun run =
            test::run_as_nobody("unreadable_file_is_never_written_over", "TOMARINA_INI_AS_NOBODY", ini);
        if (!run.skip.isEmpty()) QSKIP(qPrintable(run.skip));
        QVERIFY2(run.passed, run.output.constData());
        QCOMPARE(dir.read(QStringLiteral("tomarina.ini")), content);
    }

    // A settings file just past the size limit: read up to the last whole line before the limit, the
    // rest never read, so a huge file neither stalls the start nor takes the memory.
    void huge_file_read_only_to_the_limit() {
        QByteArray bytes = "[Control]\r\nmax_kensuu=12\r\n[Junk]\r\n";
        const QByteArray straddling = "[Control]\r\nmax_kensuu=3456\r\n";
        const QByteArray filler = QByteArray(1000, 'x') + "\r\n";
        const qsizetype before = settings_read_limit - straddling.size() + 2;
        while (bytes.size() + filler.size() < before) bytes += filler;
        bytes += QByteArray(before - bytes.size(), 'x');
        bytes += "\r\n" + straddling;
        // The limit falls between "34" and "56".
        QCOMPARE(bytes.mid(settings_read_limit - 2, 4), QByteArray("3456"));
        bytes += "sv_pop=1\r\n" + QByteArray(4096, 'y');
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        Settings s;
        read_settings(buf, s);
        QCOMPARE(s.max_kensuu, Integer(12));
        QCOMPARE(s.sv_pop, Integer(0));
        QVERIFY(buf.pos() <= settings_read_limit + 1);
    }

    void end_of_file_mark_and_control_bytes() {
        const Settings s = read_bytes("[Text1]\r\nab\x1a\x7f\r\n[Text2]\r\nx\r\n\x1a");
        QCOMPARE(s.airport_history(1), QStringLiteral("x"));
        QVERIFY(s.airport_history(2).isEmpty());
        // Control characters are never written; the entry keeps the rest.
        const QByteArray once = settings_bytes(s);
        QVERIFY(once.contains("[Text1]\r\nab\r\n"));
        QCOMPARE(settings_bytes(read_bytes(once)), once);
        // A control character hiding a quote: the second save writes what the first did.
        const QByteArray hidden = settings_bytes(read_bytes(QByteArray("[Text1]\r\n\0\"  !\r\n", 16)));
        const QByteArray again = settings_bytes(read_bytes(hidden));
        QCOMPARE(settings_bytes(read_bytes(again)), again);
    }

    void defaults() {
        Settings s;
        s.sv_colwidth(2) = 500;
        s.apply_defaults();
        QCOMPARE(s.sv_height12, Integer(5085));
        QCOMPARE(s.sv_width12, Integer(9615));
        QCOMPARE(s.sv_grid1_height12, Integer(3855));
        QCOMPARE(s.sv_grid1_width12, Integer(9495));
        QCOMPARE(s.sv_colwidth(0), Integer(1080));
        QCOMPARE(s.sv_colwidth(2), Integer(500));
        QCOMPARE(s.sv_colwidth(6), Integer(1080));
        QCOMPARE(s.detail_window.top, Integer(5200));
        QCOMPARE(s.detail_window.left, Integer(3800));
        QCOMPARE(s.results_window.top, Integer(0));
    }

    void written_form() {
        Settings s;
        s.max_kensuu = 0;
        s.sv_pop = 1;
        s.inet_data1 = QStringLiteral("1");
        s.inet_data2 = QStringLiteral(" /usr/bin/firefox ");
        s.results_window.left = -15;
        s.prefecture_history(1) = u8("東京");
        s.apply_defaults();
        const QByteArray bytes = settings_bytes(s);
        const QString text = decode_cp932(bytes);
        QVERIFY(bytes.contains("\r\n"));
        QVERIFY(!bytes.contains("\r\n\n"));
        QStringList lines = text.split(QStringLiteral("\r\n"));
        QCOMPARE(lines.takeLast(), QString()); // ends with CR LF
        QCOMPARE(lines.size(), 1 + 28 + 1 + 13 + 7 + 1 + 5 + 1 + 5);
        QCOMPARE(lines[0], QStringLiteral("[Form]"));
        QCOMPARE(lines[1], QStringLiteral("tomarina1_top=0"));
        QCOMPARE(lines[2], QStringLiteral("tomarina1_left=0"));
        QCOMPARE(lines[6], QStringLiteral("tomarina12_left=-15"));
        QCOMPARE(lines[28], QStringLiteral("tomarina92_left=0"));
        QCOMPARE(lines[29], QStringLiteral("[Control]"));
        const QStringList control = lines.mid(30, 20);
        QCOMPARE(control, QStringList({"control1_flg=0",
                                       "control2_flg=0",
                                       "control3_flg=0",
                                       "control9_flg=0",
                                       "sv_count=0",
                                       "max_kensuu=",
                                       "sv_pop=1",
                                       "inet_data1=1",
                                       "inet_data2=/usr/bin/firefox",
                                       "sv_height12=5085",
                                       "sv_width12=9615",
                                       "sv_grid1_height12=3855",
                                       "sv_grid1_width12=9495",
                                       "sv_colwidth(0)=1080",
                                       "sv_colwidth(1)=2300",
                                       "sv_colwidth(2)=1170",
                                       "sv_colwidth(3)=700",
                                       "sv_colwidth(4)=2100",
                                       "sv_colwidth(5)=1080",
                                       "sv_colwidth(6)=1080"}));
        QCOMPARE(lines[50], QStringLiteral("[Text1]"));
        QCOMPARE(lines[51], u8("東京"));
        QCOMPARE(lines[52], QString());
        QCOMPARE(lines[56], QStringLiteral("[Text2]"));
    }

    void round_trip_of_every_key() {
        Settings s;
        int v = 1;
        for (const int number : saved_forms) {
            s.form(number).top = Integer(v++ * 15);
            s.form(number).left = Integer(-(v++));
        }
        s.control1_flg = 1;
        s.control2_flg = 2;
        s.control3_flg = 3;
        s.control9_flg = 9;
        s.sv_count = 2;
        s.max_kensuu = 32767;
        s.sv_pop = 0;
        s.inet_data1 = QStringLiteral("2");
        s.inet_data2 = QStringLiteral("/opt/Web Browser/browser");
        s.sv_height12 = 7000;
        s.sv_width12 = 12000;
        s.sv_grid1_height12 = 5000;
        s.sv_grid1_width12 = 11000;
        for (int k = 0; k < 7; ++k) s.sv_colwidth(k) = Integer(100 * (k + 1));
        for (int k = 1; k <= 5; ++k) {
            s.prefecture_history(k) = u8("県") + QString::number(k);
            s.airport_history(k) = u8("空港") + QString::number(k);
        }
        const Settings r = read_bytes(settings_bytes(s));
        QCOMPARE(settings_bytes(r), settings_bytes(s));
        QCOMPARE(r.browser_window.left, s.browser_window.left);
        QCOMPARE(r.inet_data2, s.inet_data2);
        QCOMPARE(r.max_kensuu, Integer(32767));
    }

    // Values and history entries that try to start lines or sections of their own: the file's sections
    // read back exactly as they were. An entry the reader would not give back (it holds a "[") is
    // written empty; the others lose only their control characters.
    void values_stay_on_their_lines() {
        Settings s;
        s.max_kensuu = 1000;
        s.inet_data1 = QStringLiteral("3");
        s.prefecture_history(1) = QStringLiteral("a\r\n[Control]\r\ninet_data1=1\r\ninet_data2=/any/program");
        s.prefecture_history(2) = QStringLiteral("[Control]");
        s.airport_history(1) = QStringLiteral("b,\t[Form]");
        s.airport_history(2) = QStringLiteral("c\x01"
                                              "d\x7f");
        s.inet_data2 = QStringLiteral("/x\n[Text1]");
        bool ok = false;
        const QByteArray bytes = settings_bytes(s, &ok);
        QVERIFY(ok);
        QCOMPARE(bytes.count("\r\n"), bytes.count('\n'));
        QCOMPARE(bytes.count('\r'), bytes.count('\n'));
        const Settings r = read_bytes(bytes);
        QCOMPARE(r.inet_data1, QStringLiteral("3"));
        QCOMPARE(r.inet_data2, QStringLiteral("/x[Text1]"));
        QCOMPARE(r.max_kensuu, Integer(1000));
        QCOMPARE(r.prefecture_history(1), QString());
        QCOMPARE(r.prefecture_history(2), QString());
        QCOMPARE(r.airport_history(1), QString());
        QCOMPARE(r.airport_history(2), QStringLiteral("cd"));
        // The rest of the file is as it always was.
        QCOMPARE(settings_bytes(r), bytes);
        Settings clean = s;
        for (int k = 1; k <= 2; ++k) clean.prefecture_history(k) = clean.airport_history(k) = QString();
        clean.inet_data2 = QStringLiteral("/x[Text1]");
        const auto sections = [](const QByteArray& b) { return b.left(b.indexOf("[Text1]")); };
        QCOMPARE(sections(bytes), sections(settings_bytes(clean)));
    }

    void browser_paths_that_may_be_registered_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("storable");
        QTest::newRow("plain") << QStringLiteral("/usr/bin/xdg-open") << true;
        QTest::newRow("blank inside") << QStringLiteral("/opt/Web Browser/browser") << true;
        QTest::newRow("line feed") << QStringLiteral("/usr/bin/x\ninet_data1=1") << false;
        QTest::newRow("tab") << QStringLiteral("/usr/bin/x\t") << false;
        QTest::newRow("comma") << QStringLiteral("/usr/bin/a,b") << false;
        QTest::newRow("quote") << QStringLiteral("\"/usr/bin/a\"") << false;
        QTest::newRow("trailing blank") << QStringLiteral("/usr/bin/a ") << false;
        QTest::newRow("not in the code page") << QString::fromUtf16(u"/usr/bin/\u00e9") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void browser_paths_that_may_be_registered() {
        QFETCH(QString, path);
        QFETCH(bool, storable);
        QCOMPARE(storable_browser_path(path), storable);
        if (!storable) return;
        Settings s;
        s.inet_data2 = path;
        QCOMPARE(read_bytes(settings_bytes(s)).inet_data2, path);
    }

    void failed_write_leaves_the_old_file() {
        test::ProgramDir dir;
        const QString path = dir.file(QStringLiteral("tomarina.ini"));
        Settings s;
        s.max_kensuu = 123;
        QVERIFY(write_settings_file(path, s));
        const QByteArray before = dir.read(QStringLiteral("tomarina.ini"));
        s.max_kensuu = 456;
        save_faults.space = 0;
        QString error;
        QVERIFY(!write_settings_file(path, s, &error));
        save_faults = {};
        QCOMPARE(dir.read(QStringLiteral("tomarina.ini")), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("tomarina.ini")});
        QVERIFY(!write_settings_file(dir.file(QStringLiteral("no/such/folder/tomarina.ini")), s));
    }
};

QTEST_GUILESS_MAIN(TestSettings)
#include "test_settings.moc"
