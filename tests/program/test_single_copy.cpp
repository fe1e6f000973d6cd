// One running copy per program folder: a later start of the real program hands over to the running copy
// and ends, a lock left by a copy that was killed does not block, and the tool's init-settings waits
// for the program to end.
#include "data/save_file.h"
#include "program/main_menu_window.h"
#include "program/single_copy.h"
#include "support/gui_support.h"
#include "support/watchdog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/stat.h>

using namespace tomarina;
using tomarina::test::u8;

namespace {

// A program folder with its own copy of the program, a directory and settings that need no browser.
struct Folder {
    QTemporaryDir dir;
    Folder() {
        QFile::copy(QStringLiteral(TOMARINA_PROGRAM), program());
        QFile::setPermissions(program(), QFile::permissions(QStringLiteral(TOMARINA_PROGRAM)));
        QFile dat(dir.filePath(QStringLiteral("tomarina.dat")));
        dat.open(QIODevice::WriteOnly);
        dat.write(build_database(test::small_source()));
        QFile ini(dir.filePath(QStringLiteral("tomarina.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[Control]\r\ninet_data1=3\r\n");
    }
    QString program() const { return dir.filePath(QStringLiteral("tomarina")); }
    // Starts the program of the folder, offscreen.
    void start(QProcess& p) const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("home")));
        p.setProcessEnvironment(env);
        p.start(program(), {});
    }
    bool program_holds_lock() const { return look_at_program_lock(dir.path()).kind == LockState::held; }
};

// Whether process pid has taken SIGTERM over from the default, which ends a process at once.
bool catches_sigterm(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    const QByteArray text = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
    const qsizetype at = text.indexOf("SigCgt:");
    return at >= 0 && (text.mid(at + 7, 17).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1) & 1);
}

} // namespace

class TestSingleCopy : public QObject {
    Q_OBJECT
  private slots:
    void later_start_hands_over_and_ends() {
        Folder f;
        QVERIFY(QFile::exists(f.program()));
        SingleCopy first(f.dir.path());
        int fronts = 0;
        QCOMPARE(first.claim([&fronts] { ++fronts; }), SingleCopy::Claim::first);
        QProcess second;
        f.start(second);
        QVERIFY(second.waitForStarted(30000));
        QTRY_VERIFY_WITH_TIMEOUT(second.state() == QProcess::NotRunning, 60000);
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(fronts, 1, 10000);

        // The tool does not write the settings of a folder the program runs on.
        QFile::remove(f.dir.filePath(QStringLiteral("tomarina.ini")));
        QProcess tool;
        tool.start(QStringLiteral(TOMARINA_TOOL),
                   {QStringLiteral("init-settings"), QStringLiteral("--dir"), f.dir.path()});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY(!QFile::exists(f.dir.filePath(QStringLiteral("tomarina.ini"))));
    }

    void lock_of_a_killed_copy_does_not_block() {
        Folder f;
        QProcess killed;
        f.start(killed);
        QVERIFY(killed.waitForStarted(30000));
        QTRY_VERIFY_WITH_TIMEOUT(f.program_holds_lock(), 60000);
        ::kill(pid_t(killed.processId()), SIGKILL);
        QVERIFY(killed.waitForFinished(30000));
        QVERIFY(QFile::exists(program_lock_path(f.dir.path())));

        QProcess next;
        f.start(next);
        QVERIFY(next.waitForStarted(30000));
        // It runs: it holds the lock and is still there a while later.
        QTRY_VERIFY_WITH_TIMEOUT(f.program_holds_lock() && next.state() == QProcess::Running, 60000);
        QTest::qWait(2000);
        QCOMPARE(next.state(), QProcess::Running);
        next.terminate();
        QVERIFY(next.waitForFinished(60000));
        QVERIFY(!f.program_holds_lock());
    }

    // A lock that cannot be taken: the start neither hangs nor ends without a word but uses the folder
    // read-only and says why, SIGTERM ends it while it waits, and the tool refuses with the real reason.
    void lock_that_cannot_be_taken_is_told_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("tool_reason");
        const QString not_regular = shared_texts::read_not_regular;
        QTest::newRow("a named pipe") << 0 << not_regular << "is not a regular file";
        QTest::newRow("a link to a named pipe") << 1 << not_regular << "is not a regular file";
        QTest::newRow("a folder") << 2 << not_regular << "is not a regular file";
        QTest::newRow("another machine's lock") << 3 << u8("別のコンピューター「other%2.example」")
                                                << "on the machine other%2.example (process 4242)";
        QTest::newRow("a second name of the hotels file")
            << 4 << u8("ハードリンク") << "is a hard link to another file";
    }
    void lock_that_cannot_be_taken_is_told() {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        QFETCH(QString, tool_reason);
        Folder f;
        const QString lock = program_lock_path(f.dir.path());
        if (kind <= 1)
            QCOMPARE(::mkfifo(QFile::encodeName(lock + (kind ? ".pipe" : "")).constData(), 0600), 0);
        if (kind == 1) QVERIFY(QFile::link(lock + ".pipe", lock));
        if (kind == 2) QVERIFY(QDir().mkdir(lock));
        if (kind == 3) QVERIFY(save_file(lock, "4242\ntomarina\nother%2.example\n"));
        const QString hotels = f.dir.path() + QStringLiteral("/hotelusr.csv");
        if (kind == 4)
            QVERIFY(save_file(hotels, "\"1\"\r\n\"2\"\r\n\"3\"\r\n") &&
                    ::link(QFile::encodeName(hotels).constData(), QFile::encodeName(lock).constData()) == 0);
        QProcess tool, program;
        tool.start(QStringLiteral(TOMARINA_TOOL),
                   {QStringLiteral("init-settings"), QStringLiteral("--dir"), f.dir.path()});
        QVERIFY(tool.waitForFinished(30000));
        QCOMPARE(tool.exitCode(), 1);
        QVERIFY2(tool.readAllStandardError().contains(tool_reason.toUtf8()), qPrintable(tool_reason));
        f.start(program);
        QVERIFY(program.waitForStarted(30000));
        QTRY_VERIFY_WITH_TIMEOUT(catches_sigterm(program.processId()), 30000);
        ::kill(pid_t(program.processId()), SIGTERM);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        test::Watchdog dog("a claim of a lock that cannot be taken");
        SingleCopy copy(f.dir.path());
        QCOMPARE(copy.claim({}), SingleCopy::Claim::refused);
        const QString text = lock_refusal_message(f.dir.path(), copy.lock_state());
        QVERIFY2(text.contains(reason) && text.contains(u8("読み取り専用")), qPrintable(text));
    }

    // The running copy's answer to a later start: its main menu comes to the front.
    void main_menu_comes_to_the_front() {
        test::RunningProgram p(build_database(test::small_source()));
        p.st.settings_store.set_browser(QStringLiteral("3"), p.st.settings.inet_data2);
        QVERIFY(p.start());
        auto* menu = p.forms.loaded<MainMenuWindow>();
        QVERIFY(menu);
        menu->showMinimized();
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        bring_main_menu_to_front(p.forms);
        QTRY_VERIFY(menu->isActiveWindow());
        QVERIFY(!menu->isMinimized());
    }
};

QTEST_MAIN(TestSingleCopy)
#include "shared/shared_texts.h"
#include "test_single_copy.moc"
