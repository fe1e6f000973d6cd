#include "data/save_file.h"
#include "shared/desktop_opener.h"
#include "shared/settings.h"
#include "shared/shared_texts.h"
#include "shared/user_folder.h"
#include "support/faulty_disk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace tomarina;

namespace {

const QString opener = QStringLiteral("/usr/bin/xdg-open");

void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray get(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An install prefix with bin/ and share/tomarina/, and a home with the user's data folder.
struct Machine {
    QTemporaryDir root;
    QString bin() const { return root.filePath(QStringLiteral("usr/bin")); }
    QString share() const { return root.filePath(QStringLiteral("usr/share/tomarina")); }
    QString user() const { return root.filePath(QStringLiteral("home/.local/share/tomarina")); }
    QString user_file(const char* name) const { return user() + u'/' + QLatin1String(name); }
    QString portable() const { return root.filePath(QStringLiteral("portable")); }

    void install(const QByteArray& dat, const QByteArray& help = "help 1") const {
        QDir().mkpath(bin());
        put(share() + QStringLiteral("/tomarina.dat"), dat);
        put(share() + QStringLiteral("/tomarina.hlp"), help);
    }
    QString start(bool writable = true, const QString& program_dir = {}) const {
        return choose_app_path({program_dir.isEmpty() ? bin() : program_dir, writable, user(), opener});
    }
};

} // namespace

class TestUserFolder : public QObject {
    Q_OBJECT
  private slots:
    void which_folder_data() {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("own_dat");
        QTest::addColumn<bool>("uses_user_folder");
        QTest::newRow("installed") << true << false << false << true;
        QTest::newRow("installed, folder writable (root)") << true << true << false << true;
        QTest::newRow("portable with its directory") << false << true << true << false;
        QTest::newRow("portable without a directory") << false << true << false << false;
        QTest::newRow("read-only folder with its directory") << false << false << true << true;
        QTest::newRow("read-only folder without a directory") << false << false << false << true;
    }
    void which_folder() {
        QFETCH(bool, installed);
        QFETCH(bool, writable);
        QFETCH(bool, own_dat);
        QFETCH(bool, uses_user_folder);
        Machine m;
        if (installed) m.install("installed");
        const QString program = installed ? m.bin() : m.portable();
        QDir().mkpath(program);
        if (own_dat) put(program + QStringLiteral("/tomarina.dat"), "own");

        const QString app_path = m.start(writable, program);
        QCOMPARE(app_path, uses_user_folder ? m.user() : program);
        QCOMPARE(QFileInfo::exists(m.user()), uses_user_folder);
        if (!uses_user_folder) {
            // A portable folder is left exactly as it was.
            QCOMPARE(QDir(program).entryList(QDir::Files | QDir::Hidden),
                     own_dat ? QStringList{QStringLiteral("tomarina.dat")} : QStringList{});
            return;
        }
        const QByteArray expected = installed ? "installed" : own_dat ? "own" : "";
        QCOMPARE(get(m.user_file("tomarina.dat")), expected);
        QCOMPARE(QFileInfo::exists(m.user_file("tomarina.dat")), !expected.isEmpty());
        // The user's settings start with the desktop opener as the browser.
        Settings s;
        read_settings_file(m.user_file("tomarina.ini"), s);
        QCOMPARE(s.inet_data1, QStringLiteral("1"));
        QCOMPARE(s.inet_data2, opener);
        QCOMPARE(s.max_kensuu, Integer(1000));
        QCOMPARE(s.sv_pop, Integer(1));
    }

    void installation_is_recognised() {
        Machine m;
        QDir().mkpath(m.bin());
        QVERIFY(installed_data_dir(m.bin()).isEmpty()); // no share/tomarina
        QDir().mkpath(m.share());
        QVERIFY(installed_data_dir(m.bin()).isEmpty()); // share/tomarina without a directory
        m.install("x");
        QCOMPARE(installed_data_dir(m.bin()), QDir::cleanPath(m.share()));
        QVERIFY(installed_data_dir(m.root.filePath(QStringLiteral("usr"))).isEmpty());
        QVERIFY(installed_data_dir(QString()).isEmpty());
    }

    void newer_directory_replaces_only_the_installed_copy() {
        Machine m;
        m.install("version 1");
        QCOMPARE(m.start(), m.user());
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("version 1"));

        m.install("version 2");
        m.start();
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("version 2"));

        // A directory the user put there stays, through every later installation.
        put(m.user_file("tomarina.dat"), "the user's own");
        m.install("version 3");
        m.start();
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("the user's own"));
        m.install("version 4");
        m.start();
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("the user's own"));
    }

    void copy_equal_to_the_installed_one_is_adopted() {
        // A folder filled by hand (or whose record was lost) with the installed directory itself.
        Machine m;
        m.install("version 1");
        put(m.user_file("tomarina.dat"), "version 1");
        m.start();
        m.install("version 2");
        m.start();
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("version 2"));
    }

    void removed_directory_is_given_again() {
        Machine m;
        m.install("version 1");
        m.start();
        QVERIFY(QFile::remove(m.user_file("tomarina.dat")));
        m.start();
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("version 1"));
    }

    void what_is_not_a_file_is_left_alone() {
        Machine m;
        m.install("version 1");
        QDir().mkpath(m.user_file("tomarina.dat"));
        QCOMPARE(m.start(), m.user());
        QVERIFY(QFileInfo(m.user_file("tomarina.dat")).isDir());
    }

    void failed_copy_keeps_the_old_one_and_tries_again() {
        Machine m;
        m.install("version 1");
        m.start();
        m.install("version 2");
        save_faults.space = 3; // a full disk
        m.start();
        save_faults = {};
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("version 1"));
        m.start();
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("version 2"));
    }

    void help_is_always_refreshed() {
        Machine m;
        m.install("d", "help 1");
        m.start();
        QCOMPARE(get(m.user_file("tomarina.hlp")), QByteArray("help 1"));
        put(m.user_file("tomarina.hlp"), "edited");
        m.install("d", "help 2");
        m.start();
        QCOMPARE(get(m.user_file("tomarina.hlp")), QByteArray("help 2"));
    }

    void user_files_are_never_replaced() {
        Machine m;
        m.install("d");
        put(m.user_file("tomarina.ini"), "[Control]\r\ninet_data1=3\r\n");
        put(m.user_file("hotelusr.csv"), "\"mine\"\r\n");
        m.start();
        QCOMPARE(get(m.user_file("tomarina.ini")), QByteArray("[Control]\r\ninet_data1=3\r\n"));
        QCOMPARE(get(m.user_file("hotelusr.csv")), QByteArray("\"mine\"\r\n"));
    }

    // A read-only program folder's hotels and settings go along to the user folder, unless it has its own.
    void read_only_folder_carries_the_users_files() {
        Machine m;
        const QByteArray csv = "\"mine\",\x81\r\n";
        const QByteArray ini = "[Control]\r\ninet_data1=3\r\nmax_kensuu=77\r\n";
        put(m.portable() + QStringLiteral("/tomarina.dat"), "d");
        put(m.portable() + QStringLiteral("/hotelusr.csv"), csv);
        put(m.portable() + QStringLiteral("/tomarina.ini"), ini);
        QCOMPARE(m.start(false, m.portable()), m.user());
        QCOMPARE(get(m.user_file("hotelusr.csv")), csv);
        QCOMPARE(get(m.user_file("tomarina.ini")), ini); // no new settings file over it
        QCOMPARE(get(m.user_file("tomarina.dat")), QByteArray("d"));

        put(m.user_file("hotelusr.csv"), "\"changed in the user folder\"\r\n");
        QFile::remove(m.user_file("tomarina.ini"));
        QVERIFY(QFile::link(m.root.filePath(QStringLiteral("elsewhere.ini")), m.user_file("tomarina.ini")));
        m.start(false, m.portable());
        QCOMPARE(get(m.user_file("hotelusr.csv")), QByteArray("\"changed in the user folder\"\r\n"));
        QVERIFY(QFileInfo(m.user_file("tomarina.ini")).isSymLink());
        QVERIFY(!QFileInfo::exists(m.root.filePath(QStringLiteral("elsewhere.ini"))));
    }

    void no_opener_leaves_the_browser_to_the_lookup() {
        Machine m;
        m.install("d");
        QCOMPARE(choose_app_path({m.bin(), false, m.user(), QString()}), m.user());
        QVERIFY(!QFileInfo::exists(m.user_file("tomarina.ini")));
    }

    // The user's folder cannot be made: the program's own files (the installed ones for an installation),
    // never written, and one message that names the folder and why.
    void unusable_user_folder_is_told_data() {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("no_home");
        QTest::newRow("installed, a file where the folder belongs") << true << false;
        QTest::newRow("read-only folder, a file where the folder belongs") << false << false;
        QTest::newRow("installed, no home") << true << true;
    }
    void unusable_user_folder_is_told() {
        QFETCH(bool, installed);
        QFETCH(bool, no_home);
        Machine m;
        if (installed) m.install("d");
        const QString program = installed ? m.bin() : m.portable();
        put(program + QStringLiteral("/tomarina.dat"), "d");
        put(m.user(), "a file where the folder belongs");
        const FolderChoice f =
            choose_program_folder({program, false, no_home ? QString() : m.user(), opener});
        QCOMPARE(f.app_path, installed ? QDir::cleanPath(m.share()) : program);
        QVERIFY(f.read_only);
        QVERIFY(!f.moved);
        const QString text = folder_choice_message(f);
        QVERIFY2(text.contains(no_home ? QStringLiteral("HOME") : QStringLiteral("「%1」").arg(m.user())),
                 qPrintable(text));
        if (!no_home) QVERIFY2(text.contains(shared_texts::file_of_the_name), qPrintable(text));
        QVERIFY(text.contains(shared_texts::read_only_run));
        QCOMPARE(get(m.user()), QByteArray("a file where the folder belongs"));
        QVERIFY(!QFileInfo::exists(f.app_path + QStringLiteral("/tomarina.ini")));
    }

    // A failed copy (a full disk) or a file that cannot be read: no move is claimed, the message names the
    // file, the run is read-only, no empty hotels file is left; the next start with room moves them.
    void failed_move_is_told_data() {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<qint64>("space");
        QTest::addColumn<QString>("file");
        QTest::newRow("installed, full disk") << true << qint64(0) << "tomarina.dat";
        QTest::newRow("read-only folder, full disk") << false << qint64(0) << "tomarina.dat";
        QTest::newRow("read-only folder, room for the directory") << false << qint64(100) << "hotelusr.csv";
        QTest::newRow("read-only folder, hotels unreadable") << false << qint64(-1) << "hotelusr.csv";
    }
    void failed_move_is_told() {
        QFETCH(bool, installed);
        QFETCH(qint64, space);
        QFETCH(QString, file);
        Machine m;
        m.install("d");
        const QString program = installed ? m.bin() : m.portable(), hotels = program + "/hotelusr.csv";
        put(program + QStringLiteral("/tomarina.dat"), "d");
        space < 0 ? void(QDir().mkpath(hotels)) : put(hotels, QByteArray(300, 'h'));
        save_faults.space = space;
        FolderChoice f = choose_program_folder({program, false, m.user(), opener});
        save_faults = {};
        QVERIFY(f.read_only && !f.moved);
        QCOMPARE(f.app_path, installed ? QDir::cleanPath(m.share()) : program);
        QVERIFY2(folder_choice_message(f).contains(u'「' + file + u'」'),
                 qPrintable(folder_choice_message(f)));
        QVERIFY(folder_choice_message(f).contains(u"はありますが")); // the folder was made, a copy failed
        QVERIFY(!QFileInfo::exists(m.user_file("hotelusr.csv")));
        if (space < 0) return;
        f = choose_program_folder({program, false, m.user(), opener});
        QVERIFY(!f.read_only && f.moved != installed);
        QCOMPARE(get(m.user_file("hotelusr.csv")), installed ? QByteArray() : QByteArray(300, 'h'));
    }

    // A help file that does not fit leaves the folder in use, and is told.
    void help_that_does_not_fit_is_told() {
        Machine m;
        m.install("d", QByteArray(20000, 'h'));
        save_faults.space = 10000;
        const FolderChoice f = choose_program_folder({m.bin(), false, m.user(), opener});
        save_faults = {};
        QVERIFY(!f.read_only);
        QVERIFY2(folder_choice_message(f).contains(u"「tomarina.hlp」"),
                 qPrintable(folder_choice_message(f)));
    }

    // A user folder that another user can change is not used: its settings could name their program.
    void user_folder_others_can_change_is_not_used_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<uint>("owner"); // 1: the user
        QTest::addColumn<uint>("mode");
        QTest::addColumn<bool>("used");
        QTest::newRow("a folder on the way writable by all") << "home/.local" << 1u << 0777u << false;
        QTest::newRow("the folder writable by all") << "home/.local/share/tomarina" << 1u << 0777u << false;
        QTest::newRow("another user's folder") << "home/.local/share/tomarina" << 65534u << 0755u << false;
        QTest::newRow("another user's folder on the way") << "home" << 65534u << 0755u << false;
        QTest::newRow("root's sticky folder on the way") << "home" << 0u << 01777u << true;
        QTest::newRow("writable by the user's own group")
            << "home/.local/share/tomarina" << 1u << 0775u << true;
    }
    void user_folder_others_can_change_is_not_used() {
        QFETCH(QString, folder);
        QFETCH(uint, owner);
        QFETCH(uint, mode);
        QFETCH(bool, used);
        Machine m;
        m.install("d");
        QVERIFY(QDir().mkpath(m.user()));
        const QByteArray path = QFile::encodeName(m.root.filePath(folder));
        if (owner != 1 && ::chown(path.constData(), owner, owner) != 0)
            QSKIP("giving a folder away needs root");
        QCOMPARE(::chmod(path.constData(), mode), 0);
        const FolderChoice f = choose_program_folder({m.bin(), false, m.user(), opener});
        QCOMPARE(f.read_only, !used);
        if (used) return;
        QVERIFY2(folder_choice_message(f).contains(u'「' + QFile::decodeName(path) + u'」'),
                 qPrintable(folder_choice_message(f)));
        QVERIFY(!QFileInfo::exists(m.user_file("tomarina.ini")));
    }

    void first_move_to_the_user_folder_is_told_once() {
        Machine m;
        put(m.portable() + QStringLiteral("/tomarina.dat"), "own");
        FolderChoice f = choose_program_folder({m.portable(), false, m.user(), opener});
        QCOMPARE(f.app_path, m.user());
        QVERIFY(f.moved && !f.read_only);
        const QString text = folder_choice_message(f);
        QVERIFY2(text.contains(QStringLiteral("「%1」").arg(m.portable())) &&
                     text.contains(QStringLiteral("「%1」").arg(m.user())),
                 qPrintable(text));
        f = choose_program_folder({m.portable(), false, m.user(), opener});
        QCOMPARE(f.app_path, m.user());
        QVERIFY(folder_choice_message(f).isEmpty());

        // An installation always keeps the user's files in the user's folder: nothing to tell.
        Machine i;
        i.install("d");
        QVERIFY(folder_choice_message(choose_program_folder({i.bin(), false, i.user(), opener})).isEmpty());
    }

    void new_settings_read_back_as_the_start_up_values() {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("tomarina.ini"));
        QVERIFY(create_settings_with_opener(ini, opener));
        QVERIFY(!create_settings_with_opener(ini, QStringLiteral("/other")));
        Settings expected;
        expected.max_kensuu = 1000;
        expected.sv_pop = 1;
        expected.apply_defaults();
        QVERIFY(register_desktop_opener(expected, opener));
        QCOMPARE(get(ini), settings_bytes(expected));

        Settings s;
        QVERIFY(!register_desktop_opener(s, QString()));
        QCOMPARE(s.inet_data1, Settings().inet_data1); // left undetermined
    }
};

QTEST_GUILESS_MAIN(TestUserFolder)
#include "test_user_folder.moc"
