#include "browser/browser_lookup.h"
#include "platform/disk_listing.h"
#include "platform/xdg_handler.h"
#include "shared/desktop_opener.h"
#include "support/fake_platform.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tomarina;

namespace {

const QString http_key = QStringLiteral("http\\shell\\open\\command");

void write_file(const QString& path, const QByteArray& bytes = "x") {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestBrowserLookup : public QObject {
    Q_OBJECT
  private slots:
    void browser_named_by_a_command_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("err");
        QTest::newRow("quoted path with option")
            << R"("C:\Program Files\Internet Explorer\IEXPLORE.EXE" -nohome)"
            << "1"
            << R"(C:\Program Files\Internet Explorer\IEXPLORE.EXE)"
            << "";
        QTest::newRow("lower case") << R"(c:\ie\iexplore.exe %1)"
                                    << "1"
                                    << R"(c:\ie\iexplore.exe)"
                                    << "";
        QTest::newRow("netscape") << R"("C:\Netscape\Program\netscape.exe" -h "%1")"
                                  << "2"
                                  << R"(C:\Netscape\Program\netscape.exe)"
                                  << "";
        QTest::newRow("both named: explorer wins") << R"(C:\NETSCAPE.EXE C:\IEXPLORE.EXE)"
                                                   << "1"
                                                   << R"(C:\NETSCAPE.EXE C:\IEXPLORE.EXE)"
                                                   << "";
        QTest::newRow("name inside a folder name") << R"(C:\iexplore.exe.d\browser.exe %1)"
                                                   << "1"
                                                   << R"(C:\iexplore.exe)"
                                                   << "";
        QTest::newRow("mixed case not recognised") << R"(C:\IE\Iexplore.exe)"
                                                   << ""
                                                   << ""
                                                   << "err";
        QTest::newRow("desktop handler") << "firefox %u"
                                         << ""
                                         << ""
                                         << "err";
        QTest::newRow("empty") << ""
                               << ""
                               << ""
                               << "err";
    }
    void browser_named_by_a_command() {
        QFETCH(QString, command);
        QFETCH(QString, kind);
        QFETCH(QString, path);
        QFETCH(QString, err);
        Settings s;
        s.inet_data1 = kind.isEmpty() ? QStringLiteral("0") : QString();
        s.inet_data2 = QStringLiteral("before");
        QString command_text = command, error = QStringLiteral("stale");
        tomarina::recognise_browser(s, command_text, error);
        QCOMPARE(error, err);
        if (err.isEmpty()) {
            QCOMPARE(s.inet_data1, kind);
            QCOMPARE(s.inet_data2, path);
            QCOMPARE(command_text, path);
        } else {
            // Nothing changes when no browser is named.
            QCOMPARE(s.inet_data1, QStringLiteral("0"));
            QCOMPARE(s.inet_data2, QStringLiteral("before"));
            QCOMPARE(command_text, command);
        }
    }

    void registry_value_read() {
        FakePlatform pf;
        QString val = QStringLiteral("caller");
        QVERIFY(!read_key_value(pf, HKEY_CLASSES_ROOT, http_key, {}, val));
        QCOMPARE(val, QString());

        // A text is cut at its first NUL; code page 932 is read as such.
        pf.registry[http_key + u'|'] =
            RegistryValue{1, QByteArray("\"C:\\\x83\x75\x83\x89\\iexplore.exe\"\0junk\0", 29)};
        QVERIFY(read_key_value(pf, HKEY_CLASSES_ROOT, http_key, {}, val));
        QCOMPARE(val, QStringLiteral("\"C:\\ブラ\\iexplore.exe\""));

        // An expandable text leaves the caller's text as it was.
        val = QStringLiteral("caller");
        pf.set_registry_text(http_key, {}, QStringLiteral("C:\\IE\\IEXPLORE.EXE"), 2);
        QVERIFY(read_key_value(pf, HKEY_CLASSES_ROOT, http_key, {}, val));
        QCOMPARE(val, QStringLiteral("caller"));

        // A 32-bit number becomes its decimal text.
        pf.registry[http_key + u'|'] = RegistryValue{4, QByteArray("\x10\x27\0\0", 4)};
        QVERIFY(read_key_value(pf, HKEY_CLASSES_ROOT, http_key, {}, val));
        QCOMPARE(val, QStringLiteral("10000"));

        // 1023 characters and the NUL fit the buffer; one more does not.
        pf.set_registry_text(http_key, {}, QString(1023, u'a'));
        QVERIFY(read_key_value(pf, HKEY_CLASSES_ROOT, http_key, {}, val));
        QCOMPARE(val.size(), 1023);
        pf.set_registry_text(http_key, {}, QString(1024, u'a'));
        QVERIFY(!read_key_value(pf, HKEY_CLASSES_ROOT, http_key, {}, val));
        QCOMPARE(val, QString());

        // Another root is never read.
        pf.set_registry_text(http_key, {}, QStringLiteral("x"));
        QVERIFY(!read_key_value(pf, 0x80000001u, http_key, {}, val));
    }

    void browser_look_up() {
        FakePlatform pf;
        Settings s;
        look_up_browser(s, pf);
        QCOMPARE(s.inet_data1, Settings().inet_data1); // still undetermined

        // A handler that names neither browser: the desktop's opener, when the PATH has one.
        pf.set_registry_text(http_key, {}, QStringLiteral("firefox %u"));
        look_up_browser(s, pf);
        QCOMPARE(s.inet_data2, desktop_opener_path());
        QCOMPARE(browser_set(s), !desktop_opener_path().isEmpty());

        pf.set_registry_text(http_key, {}, QStringLiteral(R"("C:\Program Files\IE\IEXPLORE.EXE" -nohome)"));
        look_up_browser(s, pf);
        QCOMPARE(s.inet_data1, QStringLiteral("1"));
        QCOMPARE(s.inet_data2, QStringLiteral(R"(C:\Program Files\IE\IEXPLORE.EXE)"));
        QVERIFY(browser_set(s));
        QVERIFY(!browser_undetermined(s));
    }

    void xdg_handler_command() {
        QTemporaryDir dir;
        XdgPaths paths;
        paths.config_dirs = {dir.filePath("config")};
        paths.data_dirs = {dir.filePath("home-data"), dir.filePath("system-data")};
        paths.desktops = {QStringLiteral("gnome")};
        QCOMPARE(xdg_http_command(paths), std::nullopt);

        write_file(dir.filePath("system-data/applications/web.desktop"),
                   "[Desktop Entry]\nName=Web\nExec=/opt/web/web --new %u\n[Desktop Action x]\nExec=wrong\n");
        write_file(dir.filePath("system-data/applications/mimeapps.list"),
                   "[Default Applications]\nx-scheme-handler/http=missing.desktop;web.desktop;\n");
        QCOMPARE(xdg_http_command(paths), QStringLiteral("/opt/web/web --new %u"));

        // The user's choice comes before the system's, the desktop's own list before the common one.
        write_file(dir.filePath("home-data/applications/mine.desktop"), "[Desktop Entry]\nExec=mine %U\n");
        write_file(dir.filePath("config/mimeapps.list"),
                   "[Added Associations]\nx-scheme-handler/http=web.desktop\n"
                   "[Default Applications]\nx-scheme-handler/http=mine.desktop\n");
        QCOMPARE(xdg_http_command(paths), QStringLiteral("mine %U"));
        write_file(dir.filePath("config/gnome-mimeapps.list"),
                   "[Default Applications]\nx-scheme-handler/http=web.desktop\n");
        QCOMPARE(xdg_http_command(paths), QStringLiteral("/opt/web/web --new %u"));
    }

    // Each place xdg-open looks, alone in temporary folders and a bare PATH; re-registration finds the same.
    void lookup_finds_what_xdg_open_finds_data() {
        QTest::addColumn<QByteArray>("mimeapps");
        QTest::addColumn<QByteArray>("cache");
        QTest::addColumn<QString>("on_path");
        const QByteArray gone = "[Default Applications]\nx-scheme-handler/http=gone.desktop\n", none;
        const QByteArray cache = "[MIME Cache]\nx-scheme-handler/http=gone.desktop;web.desktop;\n";
        const QByteArray added = "[Added Associations]\nx-scheme-handler/http=web.desktop\n";
        QTest::newRow("default removed, another in the cache") << gone << cache << QStringLiteral("xdg-open");
        QTest::newRow("added associations only") << added << none << QStringLiteral("xdg-open");
        QTest::newRow("cache only") << none << cache << QStringLiteral("xdg-open");
        QTest::newRow("x-www-browser only") << none << none << QStringLiteral("x-www-browser");
    }
    void lookup_finds_what_xdg_open_finds() {
        QFETCH(QByteArray, mimeapps);
        QFETCH(QByteArray, cache);
        QFETCH(QString, on_path);
        QTemporaryDir dir(test::trusted_parent() + QStringLiteral("/xdg-XXXXXX"));
        write_file(dir.filePath("applications/web.desktop"), "[Desktop Entry]\nExec=/opt/web/web %u\n");
        write_file(dir.filePath("mimeapps.list"), mimeapps);
        write_file(dir.filePath("applications/mimeinfo.cache"), cache);
        for (const QString& name : {QStringLiteral("xdg-open"), on_path}) {
            write_file(dir.filePath(name), "#!/bin/sh\n");
            QFile::setPermissions(dir.filePath(name), QFileDevice::Permissions(0x7700));
        }
        QList<std::pair<const char*, QByteArray>> saved;
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS", "PATH"}) {
            saved.append({name, qgetenv(name)});
            qputenv(name, QFile::encodeName(dir.path()));
        }
        FakePlatform pf;
        pf.desktop_handler = true;
        Settings first, again;
        again.inet_data2 = QStringLiteral("/usr/bin/firefox-esr");
        look_up_browser(first, pf);
        look_up_browser(again, pf);
        for (const auto& [name, value] : saved) qputenv(name, value);
        QCOMPARE(first.inet_data2, dir.filePath("xdg-open"));
        QCOMPARE(again.inet_data2, first.inet_data2);
    }

    void disk_listing_skips_hidden_and_links() {
        QTemporaryDir dir;
        const QString root = dir.path() + u'/';
        write_file(root + "b.txt");
        write_file(root + "a.txt");
        write_file(root + ".hidden.exe");
        write_file(root + ".secret/IEXPLORE.EXE");
        write_file(root + "sub/x");
        QVERIFY(QFile::link(root + "sub", root + "loop"));
        QVERIFY(QFile::link(root + "a.txt", root + "link.txt"));
        QCOMPARE(disk_list_files(root), (QStringList{"a.txt", "b.txt"}));
        QCOMPARE(disk_list_folders(root), QStringList{"sub"});
        QCOMPARE(disk_list_files(root + "missing/"), QStringList{});
        QCOMPARE(disk_list_folders(root + "missing/"), QStringList{});
    }

    void roots_from_mounts() {
        const QByteArray mounts = "proc /proc proc rw 0 0\n"
                                  "/dev/sdb1 /media/usb\\040key vfat rw 0 0\n"
                                  "tmpfs /run tmpfs rw 0 0\n"
                                  "/dev/sda2 /home ext4 rw 0 0\n"
                                  "/dev/sda1 / ext4 rw 0 0\n"
                                  "/dev/sda2 /home ext4 rw 0 0\n";
        QCOMPARE(disk_roots_from_mounts(mounts), (QStringList{"/", "/home/", "/media/usb key/"}));
        QCOMPARE(disk_roots_from_mounts({}), QStringList{"/"});
        QVERIFY(disk_roots_of_system().startsWith(QStringLiteral("/")));
    }
};

QTEST_GUILESS_MAIN(TestBrowserLookup)
#include "test_browser_lookup.moc"
