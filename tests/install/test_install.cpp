// The installed program: cmake --install into a temporary DESTDIR, the installed program run offscreen
// with a temporary HOME, and the Debian package that scripts/test.sh builds.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

namespace {

QByteArray get(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Run {
    bool finished = false;
    int exit_code = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QByteArray err;
};

// True once the process catches SIGTERM, i.e. it will end through the main menu's end step.
bool catches_sigterm(qint64 pid) {
    const QByteArray status = get(QStringLiteral("/proc/%1/status").arg(pid));
    const int at = status.indexOf("SigCgt:");
    if (at < 0) return false;
    const QByteArray mask = status.mid(at + 7, status.indexOf('\n', at) - at - 7).trimmed();
    return (mask.toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1;
}

// Starts the program offscreen with HOME, waits until it is up, and ends it as the session's end would.
Run run_program(const QString& program, const QString& home, const QString& xdg_data_home = {}) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    if (!xdg_data_home.isEmpty()) env.insert(QStringLiteral("XDG_DATA_HOME"), xdg_data_home);
    p.setProcessEnvironment(env);
    p.start(program, {});
    Run r;
    if (!p.waitForStarted(10000)) return r;
    QElapsedTimer t;
    t.start();
    while (!catches_sigterm(p.processId()) && t.elapsed() < 20000 && p.state() == QProcess::Running)
        QTest::qWait(20);
    ::kill(pid_t(p.processId()), SIGTERM);
    r.finished = p.waitForFinished(30000);
    r.exit_code = p.exitCode();
    r.status = p.exitStatus();
    r.err = p.readAllStandardError();
    return r;
}

const QStringList installed_files = {
    QStringLiteral("bin/tomarina"),
    QStringLiteral("bin/tomarina-tool"),
    QStringLiteral("share/tomarina/tomarina.dat"),
    QStringLiteral("share/tomarina/tomarina.hlp"),
    QStringLiteral("share/applications/io.github.tomarina.Tomarina.desktop"),
    QStringLiteral("share/metainfo/io.github.tomarina.Tomarina.metainfo.xml"),
    QStringLiteral("share/icons/hicolor/scalable/apps/tomarina.svg"),
    QStringLiteral("share/doc/tomarina/copyright"),
    QStringLiteral("share/doc/tomarina/changelog.Debian.gz"),
    QStringLiteral("share/lintian/overrides/tomarina"),
    QStringLiteral("share/man/man1/tomarina.1.gz"),
    QStringLiteral("share/man/man1/tomarina-tool.1.gz"),
    QStringLiteral("share/man/ja/man1/tomarina.1.gz"),
};
const QList<int> icon_sizes = {16, 22, 24, 32, 48, 64, 128, 256};

QStringList expected_files() {
    QStringList all = installed_files;
    for (int size : icon_sizes)
        all << QStringLiteral("share/icons/hicolor/%1x%1/apps/tomarina.png").arg(size);
    all.sort();
    return all;
}

QStringList files_under(const QString& root) {
    QStringList found;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) found << QDir(root).relativeFilePath(it.next());
    found.sort();
    return found;
}

// What a checker says about a file; empty when it exits 0 and says nothing, or only a line starting with
// all_clear.
QString check(const QString& program, const QStringList& args, const QString& all_clear = {}) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(120000)) return program + QStringLiteral(" did not run");
    QString out = QString::fromUtf8(p.readAll() + p.readAllStandardError()).trimmed();
    if (!all_clear.isEmpty() && out.startsWith(all_clear) && !out.contains(u'\n')) out.clear();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 && out.isEmpty() ? QString() : out;
}

QString validate_desktop_entry(const QString& path) {
    return check(QStringLiteral("desktop-file-validate"), {path});
}

QString validate_metainfo(const QString& path) {
    return check(QStringLiteral("appstreamcli"),
                 {QStringLiteral("validate"), QStringLiteral("--no-net"), path},
                 QStringLiteral("✔ Validation was successful"));
}

} // namespace

class TestInstall : public QObject {
    Q_OBJECT
    QTemporaryDir dest_;
    QString prefix_;
    QString home_root_;

    QString installed(const QString& file) const { return prefix_ + u'/' + file; }
    QString fresh_home() const {
        static int n = 0;
        const QString home = QStringLiteral("%1/home%2").arg(home_root_).arg(++n);
        QDir().mkpath(home);
        return home;
    }

  private slots:
    void initTestCase() {
        QVERIFY(dest_.isValid());
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), dest_.filePath(QStringLiteral("root")));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TOMARINA_CMAKE),
                {QStringLiteral("--install"), QStringLiteral(TOMARINA_BUILD_DIR), QStringLiteral("--prefix"),
                 QStringLiteral("/usr")});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitCode() == 0, p.readAllStandardError().constData());
        prefix_ = dest_.filePath(QStringLiteral("root/usr"));
        home_root_ = dest_.filePath(QStringLiteral("homes"));
    }

    void install_tree() {
        QCOMPARE(files_under(prefix_), expected_files());
        QVERIFY(QFileInfo(installed(QStringLiteral("bin/tomarina"))).isExecutable());
        QVERIFY(QFileInfo(installed(QStringLiteral("bin/tomarina-tool"))).isExecutable());
        for (int size : icon_sizes) {
            QImageReader icon(
                installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/tomarina.png").arg(size)));
            QCOMPARE(icon.format(), QByteArray("png"));
            QCOMPARE(icon.size(), QSize(size, size));
        }
        const QString entry =
            installed(QStringLiteral("share/applications/io.github.tomarina.Tomarina.desktop"));
        const QString problems = validate_desktop_entry(entry);
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
        const QString text = QString::fromUtf8(get(entry));
        QVERIFY(text.contains(u"\nName=トマリナホテル情報＆予約\n"));
        QVERIFY(text.contains(u"\nExec=tomarina\n"));
        QVERIFY(text.contains(u"\nIcon=tomarina\n"));
        QVERIFY(text.contains(u"\nCategories=Office;\n"));
        QVERIFY(text.contains(u"\nStartupWMClass=tomarina\n")); // the windows' class

        // The software centre's entry: valid, launching the menu entry, at this version.
        const QString metainfo =
            installed(QStringLiteral("share/metainfo/io.github.tomarina.Tomarina.metainfo.xml"));
        const QString said = validate_metainfo(metainfo);
        QVERIFY2(said.isEmpty(), qPrintable(said));
        const QString component = QString::fromUtf8(get(metainfo));
        QVERIFY(component.contains(
            u"<launchable type=\"desktop-id\">io.github.tomarina.Tomarina.desktop</launchable>"));
        QVERIFY(component.contains(u"<project_license>MIT</project_license>"));
        QVERIFY(get(installed(QStringLiteral("share/icons/hicolor/scalable/apps/tomarina.svg")))
                    .contains("<svg"));

        QVERIFY(get(installed(QStringLiteral("share/doc/tomarina/copyright")))
                    .contains("\nLicense: Expat\n Permission is hereby granted"));
        QProcess gunzip;
        gunzip.start(
            QStringLiteral("gunzip"),
            {QStringLiteral("-c"), installed(QStringLiteral("share/doc/tomarina/changelog.Debian.gz"))});
        QVERIFY(gunzip.waitForFinished(30000));
        QVERIFY(gunzip.readAllStandardOutput().startsWith("tomarina (" TOMARINA_VERSION
                                                          "-1) unstable; urgency=medium\n"));

        // The notice of the windows and of --version grants what LICENSE does, under the same copyright.
        QProcess version;
        version.start(installed(QStringLiteral("bin/tomarina")), {QStringLiteral("--version")});
        QVERIFY(version.waitForFinished(30000));
        const QList<QByteArray> lines = version.readAllStandardOutput().split('\n');
        QVERIFY(get(QStringLiteral(TOMARINA_SAMPLE_DIR "/../LICENSE"))
                    .startsWith("MIT License\n\n" + lines.value(1) + '\n'));
        QVERIFY(lines.value(2).contains("MITライセンス") && !lines.value(2).contains("禁"));
    }

    // A release added at the top of the history: the changelog and the metainfo keep the releases before it.
    void new_release_keeps_the_history() {
        QTemporaryDir dir;
        QFile f(dir.filePath(QStringLiteral("h")));
        QVERIFY(f.open(QIODevice::WriteOnly) &&
                f.write("## 9.1 (2030-01-02)\n- Faster; <b>\n  & more.\n\n" +
                        get(QStringLiteral(TOMARINA_SAMPLE_DIR "/../CHANGES.md"))));
        f.close();
        QProcess p;
        p.start(QStringLiteral(TOMARINA_CMAKE),
                {"-DHISTORY=" + f.fileName(), "-DCHANGELOG=" + f.fileName() + 'c',
                 "-DRELEASES=" + f.fileName() + 'r', QStringLiteral("-DMAINTAINER=M <m@x>"),
                 QStringLiteral("-P"),
                 QStringLiteral(TOMARINA_SAMPLE_DIR "/../packaging/release_history.cmake")});
        QVERIFY(p.waitForFinished(30000) && p.exitCode() == 0);
        QVERIFY(get(f.fileName() + 'c')
                    .startsWith(
                        "tomarina (9.1-1) unstable; urgency=medium\n\n  * Faster; <b>\n    & more.\n\n -- M "
                        "<m@x>  Wed, 02 Jan 2030 12:00:00 +0000\n\ntomarina (" TOMARINA_VERSION "-1) "));
        QVERIFY(get(f.fileName() + 'r')
                    .contains("<li>Faster; &lt;b&gt; &amp; more.</li>\n        </ul>\n      </description>\n "
                              "   </release>\n    <release version=\"" TOMARINA_VERSION "\" date="));
    }

    void installed_program_makes_the_user_folder() {
        const QString home = fresh_home();
        const QString user = home + QStringLiteral("/.local/share/tomarina");
        const Run first = run_program(installed(QStringLiteral("bin/tomarina")), home);
        QCOMPARE(first.status, QProcess::NormalExit);
        QVERIFY2(first.exit_code == 0, first.err.constData());
        QCOMPARE(get(user + QStringLiteral("/tomarina.dat")),
                 get(installed(QStringLiteral("share/tomarina/tomarina.dat"))));
        QCOMPARE(get(user + QStringLiteral("/tomarina.hlp")),
                 get(installed(QStringLiteral("share/tomarina/tomarina.hlp"))));
        const QByteArray ini = get(user + QStringLiteral("/tomarina.ini"));
        QVERIFY(ini.startsWith("[Form]\r\ntomarina1_top="));
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        if (!opener.isEmpty())
            QVERIFY(ini.contains("\r\ninet_data1=1\r\ninet_data2=" + opener.toUtf8() + "\r\n"));
        // Nothing was written beside the installed program.
        QCOMPARE(files_under(prefix_), expected_files());

        // The settings live there from then on and are written at the end of every run.
        QFile f(user + QStringLiteral("/tomarina.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("[Control]\r\nsv_count=2\r\nleft_over=1\r\n[Text1]\r\n\x93\x8c\x8b\x9e\x93\x73\r\n");
        f.close();
        const Run second = run_program(installed(QStringLiteral("bin/tomarina")), home);
        QCOMPARE(second.status, QProcess::NormalExit);
        const QByteArray rewritten = get(user + QStringLiteral("/tomarina.ini"));
        QVERIFY(rewritten.contains("\r\nsv_count=2\r\n"));
        QVERIFY(rewritten.contains("[Text1]\r\n\x93\x8c\x8b\x9e\x93\x73\r\n")); // 東京都
        QVERIFY(!rewritten.contains("left_over"));
    }

    void xdg_data_home_is_followed() {
        const QString home = fresh_home();
        const QString data = home + QStringLiteral("/data");
        const Run r = run_program(installed(QStringLiteral("bin/tomarina")), home, data);
        QCOMPARE(r.status, QProcess::NormalExit);
        QVERIFY(QFileInfo(data + QStringLiteral("/tomarina/tomarina.ini")).isFile());
        QVERIFY(QFileInfo(data + QStringLiteral("/tomarina/tomarina.dat")).isFile());
        QVERIFY(!QFileInfo::exists(home + QStringLiteral("/.local/share/tomarina")));
    }

    // The session ends while the first message, that the user's folder cannot be made, waits for an
    // answer: the program ends at once and writes nothing.
    void end_signal_answers_the_folder_message() {
        const QString home = fresh_home();
        QFile blocker(home + QStringLiteral("/not-a-folder"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const Run r = run_program(installed(QStringLiteral("bin/tomarina")), home,
                                  blocker.fileName() + QStringLiteral("/data"));
        QVERIFY2(r.finished, "after SIGTERM the program still waits for its message to be answered");
        QCOMPARE(r.status, QProcess::NormalExit);
        QVERIFY2(r.exit_code == 0, r.err.constData());
        QCOMPARE(files_under(prefix_), expected_files());
    }

    void writable_program_folder_uses_itself_data() {
        QTest::addColumn<bool>("own_dat");
        QTest::newRow("with its directory") << true;
        QTest::newRow("without a directory") << false;
    }
    void writable_program_folder_uses_itself() {
        QFETCH(bool, own_dat);
        const QString home = fresh_home();
        const QString folder = home + QStringLiteral("/portable");
        QDir().mkpath(folder);
        QVERIFY(QFile::copy(installed(QStringLiteral("bin/tomarina")), folder + QStringLiteral("/tomarina")));
        if (own_dat)
            QVERIFY(QFile::copy(installed(QStringLiteral("share/tomarina/tomarina.dat")),
                                folder + QStringLiteral("/tomarina.dat")));
        const Run r = run_program(folder + QStringLiteral("/tomarina"), home);
        QCOMPARE(r.status, QProcess::NormalExit);
        QVERIFY2(r.exit_code == 0, r.err.constData());
        QVERIFY(get(folder + QStringLiteral("/tomarina.ini")).startsWith("[Form]\r\n"));
        QCOMPARE(QFileInfo::exists(folder + QStringLiteral("/tomarina.dat")), own_dat);
        QVERIFY(!QFileInfo::exists(home + QStringLiteral("/.local/share/tomarina")));
    }

    // --help and --version answer before any window exists; without a display the program says so and
    // exits 1 instead of aborting.
    void command_line_without_a_display_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("exit_code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("version") << QStringList{"--version"} << QString() << 0
                                 << QStringLiteral("tomarina " TOMARINA_VERSION "\n") << QString();
        QTest::newRow("help among ignored arguments")
            << QStringList{"stray", "--help", "-session", "x"} << QString() << 0
            << QStringLiteral("Usage: tomarina [-h | --help | --version]\n") << QString();
        QTest::newRow("no display") << QStringList{} << QString() << 1 << QString()
                                    << QStringLiteral("tomarina: no display to show the windows on");
        QTest::newRow("a display that is not there")
            << QStringList{} << QStringLiteral(":97") << 1 << QString()
            << QStringLiteral("tomarina: the display :97 cannot be reached");
    }
    void command_line_without_a_display() {
        QFETCH(QStringList, args);
        QFETCH(QString, display);
        QFETCH(int, exit_code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(name));
        if (!display.isEmpty()) env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("HOME"), fresh_home());
        p.setProcessEnvironment(env);
        p.start(installed(QStringLiteral("bin/tomarina")), args);
        QVERIFY(p.waitForFinished(30000));
        const QString said = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QVERIFY2(p.exitCode() == exit_code, qPrintable(said));
        const QString shown = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(out.isEmpty() ? shown.isEmpty() : shown.startsWith(out), qPrintable(shown));
        QVERIFY2(err.isEmpty() ? said.isEmpty() : said.contains(err) && !said.contains(u"Reinstall"),
                 qPrintable(said));
    }

    // The package is built once by scripts/test.sh (cpack); a tree without one skips this.
    void debian_package() {
        const QDir dir(QStringLiteral(TOMARINA_BUILD_DIR "/package"));
        const QStringList debs = dir.entryList({QStringLiteral("tomarina_*.deb")}, QDir::Files, QDir::Time);
        if (debs.isEmpty()) QSKIP("no package; scripts/test.sh builds it with cpack");
        const QString deb = dir.filePath(debs.first());
        if (QFileInfo(deb).lastModified() <
            QFileInfo(QStringLiteral(TOMARINA_BUILD_DIR "/program/tomarina")).lastModified())
            QSKIP("the package is older than the program; scripts/test.sh builds it anew");

        auto dpkg_deb = [](const QStringList& args) {
            QProcess p;
            p.start(QStringLiteral("dpkg-deb"), args);
            p.waitForFinished(60000);
            return QString::fromUtf8(p.readAllStandardOutput());
        };
        const QString depends = dpkg_deb({QStringLiteral("-f"), deb, QStringLiteral("Depends")});
        for (const char* need :
             {"libqt6core6", "libqt6gui6", "libqt6widgets6", "fonts-ipafont-gothic", "xdg-utils"})
            QVERIFY2(depends.contains(QLatin1String(need)),
                     qPrintable(QLatin1String(need) + QStringLiteral(" missing in ") + depends));
        QCOMPARE(dpkg_deb({QStringLiteral("-f"), deb, QStringLiteral("Recommends")}).trimmed(),
                 QStringLiteral("ibus-mozc | fcitx5-frontend-qt6"));
        QCOMPARE(dpkg_deb({QStringLiteral("-f"), deb, QStringLiteral("Package")}).trimmed(),
                 QStringLiteral("tomarina"));
        QCOMPARE(dpkg_deb({QStringLiteral("-f"), deb, QStringLiteral("Version")}).trimmed(),
                 QStringLiteral(TOMARINA_VERSION "-1"));

        // Exactly the installed files, under /usr, owned by root.
        QStringList listed;
        for (const QString& line : dpkg_deb({QStringLiteral("-c"), deb}).split(u'\n', Qt::SkipEmptyParts)) {
            QVERIFY2(line.contains(u" root/root "), qPrintable(line));
            if (line.startsWith(u'-')) listed << line.section(u' ', -1).mid(int(qstrlen("./usr/")));
        }
        listed.sort();
        QCOMPARE(listed, expected_files());

        QTemporaryDir x;
        dpkg_deb({QStringLiteral("-x"), deb, x.path()});
        const QString problems = validate_desktop_entry(
            x.filePath(QStringLiteral("usr/share/applications/io.github.tomarina.Tomarina.desktop")));
        QVERIFY2(problems.isEmpty(), qPrintable(problems));

        // Debian's own checks: no error and no warning (information tags may stay).
        QProcess lintian;
        lintian.start(QStringLiteral("lintian"), {QStringLiteral("--pedantic"), deb});
        QVERIFY(lintian.waitForFinished(300000));
        const QString tags =
            QString::fromUtf8(lintian.readAllStandardOutput() + lintian.readAllStandardError());
        for (const QString& line : tags.split(u'\n', Qt::SkipEmptyParts))
            QVERIFY2(!line.startsWith(u"E:") && !line.startsWith(u"W:"), qPrintable(tags));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "test_install.moc"
