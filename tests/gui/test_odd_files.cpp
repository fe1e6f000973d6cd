// The program against odd files and a disk that refuses to save: start-up never hangs and always reaches
// the main menu; a failed save is told, and the program goes on or ends as it would.
#include "data/save_file.h"
#include "data/text_rules.h"
#include "program/main_menu_window.h"
#include "shared/saves.h"
#include "shared/shared_texts.h"
#include "support/faulty_disk.h"
#include "support/gui_support.h"
#include "support/small_disk.h"
#include "support/watchdog.h"

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

using namespace tomarina;
using tomarina::test::u8;

namespace {

enum class Dat { Missing, Empty, Folder, NamedPipe, TooManyBlocks, ShorterThanABlock };

// Puts an odd tomarina.dat at path.
bool make_dat(Dat kind, const QString& path) {
    switch (kind) {
    case Dat::Missing:
        return true;
    case Dat::Empty:
        return QFile(path).open(QIODevice::WriteOnly);
    case Dat::Folder:
        return QDir().mkdir(path);
    case Dat::NamedPipe:
        return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
    case Dat::TooManyBlocks: {
        // 32768 blocks: the block count no longer fits its 16-bit number. Sparse, so it costs no disk.
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.resize(qint64(32768) * 1024);
    }
    case Dat::ShorterThanABlock: {
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(QByteArray(1000, '\x01')) == 1000;
    }
    }
    return false;
}

void add_dat_rows() {
    QTest::addColumn<int>("kind");
    QTest::newRow("missing") << int(Dat::Missing);
    QTest::newRow("empty") << int(Dat::Empty);
    QTest::newRow("folder") << int(Dat::Folder);
    QTest::newRow("named pipe") << int(Dat::NamedPipe);
    QTest::newRow("32768 blocks") << int(Dat::TooManyBlocks);
    QTest::newRow("shorter than a block") << int(Dat::ShorterThanABlock);
}

struct FaultScope {
    ~FaultScope() { save_faults = {}; }
};

} // namespace

class TestOddFiles : public QObject {
    Q_OBJECT
  private slots:
    void start_up_reaches_the_menu_data() { add_dat_rows(); }
    void start_up_reaches_the_menu() {
        QFETCH(int, kind);
        test::RunningProgram p;
        auto& [dir, st, pf, forms, ended] = p;
        QVERIFY(make_dat(Dat(kind), dir.file(QStringLiteral("tomarina.dat"))));
        {
            test::Watchdog watchdog("start-up with an odd tomarina.dat");
            QVERIFY(p.start());
        }
        auto* menu = forms.loaded<MainMenuWindow>();
        QVERIFY(menu && menu->isVisible());
        QCOMPARE(st.db.hotel_count, Integer(0));
        QCOMPARE(st.db.ken_count, Integer(0));
        QVERIFY(pf.messages.isEmpty());
        QTest::mouseClick(menu->close_button, Qt::LeftButton);
        QCOMPARE(ended, 1);
        QVERIFY(dir.read(QStringLiteral("tomarina.ini")).startsWith("[Form]\r\n"));
    }

    void tool_dump_does_not_hang_data() { add_dat_rows(); }
    void tool_dump_does_not_hang() {
        QFETCH(int, kind);
        test::ProgramDir dir;
        const QString path = dir.file(QStringLiteral("tomarina.dat"));
        QVERIFY(make_dat(Dat(kind), path));
        QProcess tool;
        tool.start(QStringLiteral(TOMARINA_TOOL), {QStringLiteral("dump"), path});
        QVERIFY(tool.waitForFinished(30000)); // a hang, not slowness
        // A file that is not a regular one cannot be opened; the others dump empty tables.
        const bool regular =
            Dat(kind) != Dat::Missing && Dat(kind) != Dat::Folder && Dat(kind) != Dat::NamedPipe;
        QCOMPARE(tool.exitCode() == 0, regular);
    }

    // Settings and user file that are named pipes are skipped like missing ones.
    void named_pipes_as_the_user_files() {
        test::RunningProgram p(build_database(test::small_source()));
        auto& [dir, st, pf, forms, ended] = p;
        QCOMPARE(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("tomarina.ini"))).constData(), 0644), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(dir.file(QStringLiteral("hotelusr.csv"))).constData(), 0644), 0);
        {
            test::Watchdog watchdog("start-up with named pipes as tomarina.ini and hotelusr.csv");
            QVERIFY(p.start());
        }
        QCOMPARE(st.db.hotel_count, Integer(6));
        QCOMPARE(st.user.user_count, Integer(0));
        QCOMPARE(st.settings.max_kensuu, Integer(1000));
    }

    void exit_tells_a_failed_settings_save_data() {
        QTest::addColumn<bool>("read_only");
        QTest::newRow("read-only folder") << true;
        QTest::newRow("full disk") << false;
    }
    // The end step tells the failure, then the program ends; the old settings file stays byte for byte.
    void exit_tells_a_failed_settings_save() {
        QFETCH(bool, read_only);
        FaultScope scope;
        test::SmallDisk disk("size=1m");
        const bool root = ::geteuid() == 0;
        if (read_only && root && !disk.mounted()) QSKIP(disk.why());
        test::RunningProgram p(build_database(test::small_source()));
        auto& [dir, st, pf, forms, ended] = p;
        if (read_only && root) {
            st.app_path = disk.path();
            QFile::copy(dir.file(QStringLiteral("tomarina.dat")), disk.file(QStringLiteral("tomarina.dat")));
        }
        const QString ini = st.app_path + QStringLiteral("/tomarina.ini");
        const QByteArray old_ini = "[Control]\r\nmax_kensuu=77\r\n";
        {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(old_ini);
        }
        QVERIFY(p.start());
        QCOMPARE(st.settings.max_kensuu, Integer(77));

        QString reason;
        if (!read_only) {
            save_faults.space = 0;
            reason = shared_texts::save_no_space;
        } else if (root) {
            QVERIFY(disk.make_read_only());
            reason = shared_texts::save_read_only_disk;
        } else {
            QVERIFY(QFile::setPermissions(st.app_path, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            reason = shared_texts::save_no_permission;
        }
        auto* menu = forms.loaded<MainMenuWindow>();
        menu->close_button->setFocus();
        QTest::keyClick(menu->close_button, Qt::Key_Escape);
        if (read_only && !root)
            QFile::setPermissions(st.app_path,
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        QCOMPARE(pf.messages.size(), 1);
        QCOMPARE(pf.messages[0].title, shared_texts::error_title);
        QCOMPARE(pf.messages[0].text, shared_texts::save_failed.arg(QStringLiteral("tomarina.ini"), reason));
        QCOMPARE(ended, 1);
        QCOMPARE(st.directory.file_open(), false);
        QFile f(ini);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), old_ini);
    }

    // The user's hotels: a failed save is told, the old file stays, the hotels stay in memory.
    void failed_user_file_save_is_told() {
        FaultScope scope;
        test::RunningProgram p(build_database(test::small_source()));
        auto& [dir, st, pf, forms, ended] = p;
        const QByteArray old_csv = "\"東京\",\"\",\"\",\"古いホテル\",\"\",\"\",\"\",\"\",\"\"\r\n";
        dir.write(QStringLiteral("hotelusr.csv"), old_csv);
        QVERIFY(p.start());
        QCOMPARE(st.user.user_count, Integer(1));
        st.directory.add_user_hotel({{{}, {}, {}, {}, u8("新しいホテル")}});

        save_faults.space = 10;
        QVERIFY(!save_user_file(st, pf, forms.loaded<MainMenuWindow>()));
        QCOMPARE(pf.messages.size(), 1);
        QCOMPARE(pf.messages[0].title, shared_texts::error_title);
        QVERIFY(pf.messages[0].text.contains(QStringLiteral("「hotelusr.csv」")));
        QVERIFY(pf.messages[0].text.contains(shared_texts::save_no_space));
        QCOMPARE(dir.read(QStringLiteral("hotelusr.csv")), old_csv);
        QCOMPARE(st.user.user_count, Integer(2));
        QCOMPARE(st.user.user_name(2), u8("新しいホテル"));
        QVERIFY(forms.loaded<MainMenuWindow>()); // the program goes on

        save_faults = {};
        QVERIFY(save_user_file(st, pf, forms.loaded<MainMenuWindow>()));
        QCOMPARE(pf.messages.size(), 1);
        QVERIFY(dir.read(QStringLiteral("hotelusr.csv")).contains(encode_cp932(u8("新しいホテル"))));
    }

    // The scratch copy of the last line is no user data: its failure stays silent.
    void scratch_file_failure_is_silent() {
        FaultScope scope;
        test::RunningProgram p(build_database(test::small_source()));
        auto& [dir, st, pf, forms, ended] = p;
        dir.write(QStringLiteral("hotelusr.csv"), "\"a\"\r\n");
        save_faults.space = 0;
        QVERIFY(p.start());
        QCOMPARE(st.user.user_count, Integer(1));
        QVERIFY(pf.messages.isEmpty());
        QVERIFY(!QFile::exists(dir.file(QStringLiteral("tmp.csv"))));
    }
};

QTEST_MAIN(TestOddFiles)
#include "test_odd_files.moc"
