#include "browser/browser_texts.h"
#include "browser/browser_window.h"
#include "platform/disk_listing.h"
#include "program/main_menu_window.h"
#include "shared/desktop_opener.h"
#include "support/gui_support.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

using namespace tomarina;
namespace texts = tomarina::browser_texts;

namespace {

// A program file: executable, owned by the user running the test.
void make_file(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write("x");
    f.setPermissions(f.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

// A started program with no browser known, so the selection window is open over the main menu.
struct Started : test::RunningProgram {
    QTemporaryDir disks{test::trusted_parent() + QStringLiteral("/disks-XXXXXX")};
    Started() : test::RunningProgram(build_database(test::small_source())) {}
    // Whether a file in the disks may be registered at all.
    bool disks_trusted() const {
        make_file(disk(QStringLiteral("probe")));
        const bool trusted = trusted_program_file(disk(QStringLiteral("probe")));
        QFile::remove(disk(QStringLiteral("probe")));
        return trusted;
    }
    BrowserWindow* window() { return forms.loaded<BrowserWindow>(); }
    // Chooses the option and starts the search; true once the window has closed after it.
    bool search(QRadioButton* option) {
        const QPointer<BrowserWindow> w = window();
        QTest::mouseClick(option, Qt::LeftButton);
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        return QTest::qWaitFor([&w] { return !w; });
    }
    QString disk(const QString& path) const { return disks.path() + u'/' + path; }
    // Roots of the disk search inside the temporary folder.
    void use_roots(const QStringList& names) {
        pf.roots.clear();
        for (const QString& n : names) {
            QDir().mkpath(disk(n));
            pf.roots << disk(n) + u'/';
        }
    }
};

} // namespace

class TestBrowserWindow : public QObject {
    Q_OBJECT
  private slots:
    void start_up_opens_it_without_a_browser() {
        Started p;
        QVERIFY(p.start());
        auto* w = p.window();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->windowTitle(), app_title);
        QCOMPARE(w->guidance_label->text(), texts::guidance_open);
        QVERIFY(!w->search_button->isEnabled());
        QVERIFY(!p.forms.loaded<MainMenuWindow>()->region_button->isEnabled());
        QCOMPARE(w->file_box->focusPolicy(), Qt::NoFocus); // empty, no stop for Tab
        // Over the main menu, with the keyboard.
        QTRY_COMPARE(QApplication::activeWindow(), w);

        QTest::mouseClick(w->netscape_option, Qt::LeftButton);
        QCOMPARE(w->guidance_label->text(), texts::guidance_search);
        QVERIFY(w->search_button->isEnabled());

        // "終了" changes nothing.
        const QString kind = p.st.settings.inet_data1;
        QTest::mouseClick(w->close_button, Qt::LeftButton);
        QVERIFY(!p.window());
        QCOMPARE(p.st.settings.inet_data1, kind);
        QVERIFY(p.pf.messages.isEmpty());
    }

    // The start-up's lookup, through the desktop's own handler files: without a settings file (also on
    // read-only files), or with one that decided already.
    void start_up_with_a_known_browser_data() {
        QTest::addColumn<QString>("saved_kind");
        QTest::addColumn<QString>("registered"); // the desktop's http handler; empty: none
        QTest::addColumn<bool>("read_only");
        QTest::addColumn<QString>("kind");
        const QString none;
        QTest::newRow("handler names the browser")
            << none << R"("C:\IE\IEXPLORE.EXE" -nohome)" << false << "1";
        QTest::newRow("handler names another program") << none << "firefox %u" << false << "1";
        QTest::newRow("read-only run") << none << "firefox %u" << true << "1";
        QTest::newRow("no handler") << none << none << false << "0";
        QTest::newRow("saved kind 1: no lookup") << "1"
                                                 << "firefox %u" << false << "1";
        QTest::newRow("no browser chosen before") << "3"
                                                  << "firefox %u" << false << "3";
    }
    void start_up_with_a_known_browser() {
        QFETCH(QString, saved_kind);
        QFETCH(QString, registered);
        QFETCH(bool, read_only);
        QFETCH(QString, kind);
        const test::DesktopHandler desktop(registered, true);
        if (!registrable_browser(desktop.opener()))
            QSKIP("the build folder lies in a folder that other users can write");
        Started p;
        if (!saved_kind.isEmpty())
            p.dir.write(QStringLiteral("tomarina.ini"),
                        "[Control]\r\ninet_data1=" + saved_kind.toLatin1() + "\r\ninet_data2=/usr/bin/b\r\n");
        if (read_only) p.st.use_read_only_folder();
        p.pf.desktop_handler = true;
        QVERIFY(p.start());
        QCOMPARE(p.st.settings.inet_data1, kind);
        if (saved_kind.isEmpty() && registered.startsWith(u"firefox"))
            QCOMPARE(p.st.settings.inet_data2, desktop.opener());
        QCOMPARE(p.window() != nullptr, kind == u"0");
        QCOMPARE(p.forms.loaded<MainMenuWindow>()->region_button->isEnabled(), kind == u"1");
    }

    // A screen reader's toggle sets the check without a click: the window follows the check.
    void options_follow_a_toggle_without_a_click() {
        Started p;
        QVERIFY(p.start());
        auto* w = p.window();
        auto toggle = [](QRadioButton* o) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(o);
            QVERIFY(a && a->actionInterface());
            QVERIFY(a->actionInterface()->actionNames().contains(QAccessibleActionInterface::toggleAction()));
            a->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        };
        toggle(w->netscape_option);
        QVERIFY(w->search_button->isEnabled());
        QCOMPARE(w->guidance_label->text(), texts::guidance_search);

        // Cancel puts the choice back, so that choosing 未使用 again asks again.
        p.pf.answers = {MsgAnswer::Cancel, MsgAnswer::Ok};
        toggle(w->no_browser_option);
        QCOMPARE(p.pf.messages.size(), 1);
        QVERIFY(p.window());
        QVERIFY(!w->no_browser_option->isChecked());
        QVERIFY(w->netscape_option->isChecked());
        QCOMPARE(p.st.settings.inet_data1, QStringLiteral("0"));
        toggle(w->no_browser_option);
        QCOMPARE(p.pf.messages.size(), 2);
        QVERIFY(!p.window());
        QCOMPARE(p.st.settings.inet_data1, QStringLiteral("3"));
    }

    void unused_asks_first() {
        Started p;
        QVERIFY(p.start());
        auto* w = p.window();
        p.pf.answers = {MsgAnswer::Cancel};
        QTest::mouseClick(w->no_browser_option, Qt::LeftButton);
        QCOMPARE(p.pf.messages.size(), 1);
        QCOMPARE(p.pf.messages[0].title, texts::confirm_title);
        QCOMPARE(p.pf.messages[0].text, texts::no_browser_question);
        QCOMPARE(p.pf.messages[0].buttons, MsgButtons::OkCancel);
        QVERIFY(p.window());
        QCOMPARE(p.st.settings.inet_data1, QStringLiteral("0"));

        w->move(300, 200);
        QTest::mouseClick(w->explorer_option, Qt::LeftButton);
        QTest::mouseClick(w->no_browser_option, Qt::LeftButton); // answered OK
        QVERIFY(!p.window());
        QCOMPARE(p.st.settings.inet_data1, QStringLiteral("3"));
        QCOMPARE(p.st.settings.inet_data2, QString());
        QVERIFY(p.st.settings.browser_window.left != 0);
        QVERIFY(!p.forms.loaded<MainMenuWindow>()->region_button->isEnabled());
        // Kept until the end writes the settings; the next start neither looks up nor asks.
        QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("tomarina.ini"))));
    }

    void search_finds_lower_case_name_and_saves_at_once() {
        Started p;
        if (!p.disks_trusted()) QSKIP("no folder for the disks that only the user and root can write");
        QVERIFY(p.start());
        p.use_roots({"c", "d"});
        make_file(p.disk("c/a.txt"));
        make_file(p.disk("c/.hidden/IEXPLORE.EXE"));
        make_file(p.disk("c/Program Files/Internet Explorer/iexplore.exe"));
        make_file(p.disk("c/Program Files/Internet Explorer/Zeta/IEXPLORE.EXE"));
        make_file(p.disk("c/z/IEXPLORE.EXE"));
        make_file(p.disk("d/IEXPLORE.EXE"));
        QVERIFY(QFile::link(p.disk("c"), p.disk("c/Program Files/loop")));
        QStringList seen;
        p.pf.on_list_files = [&](const QString& folder) { seen << folder; };

        QVERIFY(p.search(p.window()->explorer_option));

        const QString found = p.disk("c/Program Files/Internet Explorer/iexplore.exe");
        QCOMPARE(p.st.settings.inet_data1, QStringLiteral("1"));
        QCOMPARE(p.st.settings.inet_data2, found);
        QVERIFY(!p.window());
        QVERIFY(p.forms.loaded<MainMenuWindow>()->region_button->isEnabled());
        QCOMPARE(test::announced(p.forms.loaded<MainMenuWindow>()), texts::registered);
        QVERIFY(!seen.contains(p.disk("c/.hidden/")));
        QVERIFY(!seen.contains(p.disk("d/")));
        QVERIFY(p.dir.read(QStringLiteral("tomarina.ini")).contains("inet_data2=" + found.toLocal8Bit()));
        QVERIFY(p.pf.messages.isEmpty());
    }

    void search_takes_the_first_root_and_files_first() {
        Started p;
        if (!p.disks_trusted()) QSKIP("no folder for the disks that only the user and root can write");
        QVERIFY(p.start());
        p.use_roots({"c", "d"});
        make_file(p.disk("d/a/NETSCAPE.EXE"));
        make_file(p.disk("d/netscape.exe"));
        make_file(p.disk("e/NETSCAPE.EXE"));
        QVERIFY(p.search(p.window()->netscape_option));
        QCOMPARE(p.st.settings.inet_data1, QStringLiteral("2"));
        QCOMPARE(p.st.settings.inet_data2, p.disk("d/netscape.exe"));
    }

    // Only a file nobody else could have planted or changed is registered; the search goes on past
    // the others.
    void search_passes_over_files_others_could_plant() {
        Started p;
        if (!p.disks_trusted()) QSKIP("no folder for the disks that only the user and root can write");
        QVERIFY(p.start());
        p.use_roots({"c"});
        make_file(p.disk("c/a/IEXPLORE.EXE"));
        QVERIFY(QFile::setPermissions(p.disk("c/a"), QFileDevice::Permissions(0x7777)));
        make_file(p.disk("c/b/IEXPLORE.EXE"));
        QVERIFY(QFile::setPermissions(p.disk("c/b/IEXPLORE.EXE"),
                                      QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        make_file(p.disk("c/c/IEXPLORE.EXE"));
        QVERIFY(QFile::setPermissions(p.disk("c/c/IEXPLORE.EXE"), QFileDevice::Permissions(0x7777)));
        if (::geteuid() == 0) { // owned by another user
            make_file(p.disk("c/d/IEXPLORE.EXE"));
            QCOMPARE(::chown(QFile::encodeName(p.disk("c/d/IEXPLORE.EXE")).constData(), 65534, 65534), 0);
        }
        make_file(p.disk("c/e/x,y/IEXPLORE.EXE"));
        make_file(p.disk("c/f/IEXPLORE.EXE"));
        QVERIFY(p.search(p.window()->explorer_option));
        QCOMPARE(p.st.settings.inet_data2, p.disk("c/f/IEXPLORE.EXE"));
        QVERIFY(!trusted_program_file(p.disk("c/a/IEXPLORE.EXE")));
    }

    void search_without_a_find_changes_nothing() {
        Started p;
        QVERIFY(p.start());
        p.use_roots({"c"});
        make_file(p.disk("c/x/y.txt"));
        p.pf.roots << p.disk("missing/");
        QVERIFY(p.search(p.window()->explorer_option));
        QCOMPARE(p.st.settings.inet_data1, QStringLiteral("0"));
        QVERIFY(!QFile::exists(p.dir.file(QStringLiteral("tomarina.ini"))));
        QVERIFY(p.pf.messages.isEmpty());
    }

    void closing_during_the_search_stops_it_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("close button") << 0;
        QTest::newRow("Esc") << 1;
        QTest::newRow("close box") << 2;
        QTest::newRow("program's end") << 3;
    }
    void closing_during_the_search_stops_it() {
        QFETCH(int, how);
        Started p;
        QVERIFY(p.start());
        p.use_roots({"c"});
        for (const char* f : {"a/1.txt", "b/2.txt", "b/3.txt", "c/4.txt", "d/IEXPLORE.EXE"})
            make_file(p.disk("c/") + f);
        QStringList seen;
        auto* w = p.window();
        p.pf.on_list_files = [&](const QString& folder) {
            seen << folder;
            if (!folder.endsWith(QStringLiteral("/b/"))) return;
            // The user acts while the search runs; it goes on once the window has had the action.
            QMetaObject::invokeMethod(
                w,
                [&p, w, how] {
                    QCOMPARE(w->file_box->text(), p.disk("c/a/1.txt")); // the file the search passed
                    QCOMPARE(w->file_box->focusPolicy(), Qt::StrongFocus);
                    QCOMPARE(test::announced(w), texts::searching);
                    if (how == 0) w->close_button->click();
                    if (how == 1) QTest::keyClick(w->close_button, Qt::Key_Escape);
                    if (how == 2) w->close();
                    if (how == 3) p.forms.loaded<MainMenuWindow>()->close_window();
                },
                Qt::BlockingQueuedConnection);
        };
        QVERIFY(p.search(w->explorer_option));
        QCOMPARE(p.ended, how == 3 ? 1 : 0);
        QVERIFY(!p.window());
        QVERIFY(!seen.contains(p.disk("c/c/")));
        QVERIFY(!seen.contains(p.disk("c/d/")));
        QCOMPARE(p.st.settings.inet_data1, QStringLiteral("0"));
        QVERIFY(!p.dir.read(QStringLiteral("tomarina.ini")).contains("IEXPLORE"));
    }
};

QTEST_MAIN(TestBrowserWindow)
#include "test_browser_window.moc"
