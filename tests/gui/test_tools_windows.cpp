#include "browser/browser_window.h"
#include "program/main_menu_window.h"
#include "shared/desktop_opener.h"
#include "support/gui_support.h"
#include "tools/about_window.h"
#include "tools/progress_window.h"
#include "tools/settings_window.h"
#include "tools/splash_window.h"
#include "tools/tools_menu_window.h"
#include "tools/tools_texts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace tomarina;
namespace texts = tomarina::tools_texts;

namespace {

// The running program with its main menu, and the tools menu opened from "保　　守".
struct Tools : test::RunningProgram {
    Tools() : RunningProgram(build_database(test::small_source())) {}
    ToolsMenuWindow* open_menu() {
        if (!start()) return nullptr;
        QTest::mouseClick(forms.loaded<MainMenuWindow>()->tools_button, Qt::LeftButton);
        return forms.loaded<ToolsMenuWindow>();
    }
    // The settings window, active, with the focus in the limit box and its text selected.
    SettingsWindow* settings_with_focus_in_limit() {
        auto* w = forms.show<SettingsWindow>();
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w)) return nullptr;
        w->limit_box->setFocus();
        const QString text = w->limit_box->text();
        if (!QTest::qWaitFor([&] { return w->limit_box->selectedText() == text; })) return nullptr;
        return w;
    }
};

} // namespace

class TestToolsWindows : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { install_fonts(); }

    void tools_menu_opens_from_the_main_menu_and_leads_on() {
        Tools t;
        auto* w = t.open_menu();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->windowTitle(), app_title);
        // One row, in this order, of the given widths.
        QCOMPARE(w->settings_button->y(), w->about_button->y());
        QCOMPARE(w->about_button->y(), w->close_button->y());
        QVERIFY(w->settings_button->geometry().right() < w->about_button->x());
        QVERIFY(w->about_button->geometry().right() < w->close_button->x());
        QCOMPARE(w->settings_button->height(), twips_to_px(375));
        QCOMPARE(w->close_button->width(), twips_to_px(735));

        QTest::mouseClick(w->settings_button, Qt::LeftButton);
        QTest::mouseClick(w->about_button, Qt::LeftButton);
        QVERIFY(t.forms.loaded<SettingsWindow>());
        QVERIFY(t.forms.loaded<AboutWindow>());
        // The menu stays while the others are used, and closes on its own.
        QVERIFY(t.forms.loaded<ToolsMenuWindow>());
        QTest::mouseClick(w->close_button, Qt::LeftButton);
        QVERIFY(!t.forms.loaded<ToolsMenuWindow>());
        QVERIFY(t.forms.loaded<SettingsWindow>() && t.forms.loaded<AboutWindow>());
    }

    void esc_on_each_tools_menu_button_closes_it_where_it_was_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("settings") << 1;
        QTest::newRow("about") << 3;
        QTest::newRow("close") << 4;
    }
    void esc_on_each_tools_menu_button_closes_it_where_it_was() {
        QFETCH(int, button);
        Tools t;
        auto* w = t.open_menu();
        QVERIFY(w);
        w->move(twips_to_px(1500), twips_to_px(3000));
        QPushButton* b = button == 1 ? w->settings_button : button == 3 ? w->about_button : w->close_button;
        QTest::keyClick(b, Qt::Key_Escape);
        QVERIFY(!t.forms.loaded<ToolsMenuWindow>());
        QVERIFY(!t.forms.loaded<SettingsWindow>() && !t.forms.loaded<AboutWindow>());
        QCOMPARE(t.st.settings.tools_menu_window.top, Integer(3000));
        QCOMPARE(t.st.settings.tools_menu_window.left, Integer(1500));
        QCOMPARE(t.ended, 0);
    }

    void settings_window_opens_on_the_common_tab() {
        Tools t;
        QVERIFY(t.start());
        t.st.settings_store.set_position(32, {600, 900});
        auto* w = t.forms.show<SettingsWindow>();
        QCOMPARE(w->pos(), QPoint(twips_to_px(900), twips_to_px(600)));
        QCOMPARE(w->windowTitle(), app_title);
        QCOMPARE(w->tabs->count(), 2);
        QCOMPARE(w->tabs->currentIndex(), 1);
        QVERIFY(w->limit_box->isVisible() && !w->browser_again_button->isVisible());
        QCOMPARE(w->limit_box->text(), QStringLiteral("1000"));
        QCOMPARE(w->limit_box->font().pointSize(), 12);
        QCOMPARE(w->limit_label->buddy(), w->limit_box);
        // Drawn in two lines, each a whole phrase: no line breaks inside a word such as 「検索」.
        const test::DrawnLines explanation = test::drawn_lines(w->limit_note_label);
        QCOMPARE(explanation.lines, texts::limit_note.split(u'\n'));
        QVERIFY(explanation.fit_width);
        QVERIFY(explanation.height <= w->limit_note_label->contentsRect().height() + 1);
        QVERIFY(w->show_detail_option->isChecked());
        w->tabs->setCurrentIndex(0);
        QVERIFY(w->browser_again_button->isVisible());
    }

    void search_limit_on_enter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("taken");
        QTest::addColumn<int>("limit");
        QTest::newRow("500") << "500" << int(Qt::Key_Return) << true << 500;
        QTest::newRow("500 on the keypad's Enter") << "500" << int(Qt::Key_Enter) << true << 500;
        QTest::newRow("500 with line feed") << "500" << int(Qt::Key_J) << true << 500;
        QTest::newRow("blanks and a half") << " 12.5 " << int(Qt::Key_Return) << true << 12;
        QTest::newRow("0") << "0" << int(Qt::Key_Return) << false << 1000;
        QTest::newRow("letters") << "abc" << int(Qt::Key_Return) << false << 1000;
        QTest::newRow("40000") << "40000" << int(Qt::Key_Return) << false << 1000;
        QTest::newRow("empty") << "" << int(Qt::Key_Return) << false << 1000;
    }
    void search_limit_on_enter() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(bool, taken);
        QFETCH(int, limit);
        Tools t;
        QVERIFY(t.start());
        auto* w = t.settings_with_focus_in_limit();
        QVERIFY(w);
        QTest::keyClicks(w->limit_box, typed);
        if (typed.isEmpty()) QTest::keyClick(w->limit_box, Qt::Key_Delete);
        QCOMPARE(w->limit_box->text(), typed);
        QTest::keyClick(w->limit_box, Qt::Key(key), key == Qt::Key_J ? Qt::ControlModifier : Qt::NoModifier);
        QCOMPARE(int(t.st.settings.max_kensuu), limit);
        QCOMPARE(w->close_button->hasFocus(), taken);
        QCOMPARE(w->limit_box->hasFocus(), !taken);
        QCOMPARE(w->limit_box->text(), typed);
        // The limit stays what Enter made it, however the window closes.
        QTest::mouseClick(w->close_button, Qt::LeftButton);
        QVERIFY(!t.forms.loaded<SettingsWindow>());
        QCOMPARE(int(t.st.settings.max_kensuu), limit);
        QCOMPARE(t.forms.show<SettingsWindow>()->limit_box->text(), QString::number(limit));
    }

    void focus_by_mouse_selects_the_whole_limit() {
        Tools t;
        QVERIFY(t.start());
        auto* w = t.forms.show<SettingsWindow>();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->close_button->setFocus();
        QTest::mouseClick(w->limit_box, Qt::LeftButton, {}, QPoint(3, w->limit_box->height() / 2));
        QTRY_COMPARE(w->limit_box->selectedText(), QStringLiteral("1000"));
    }

    void search_limit_typed_without_enter_is_not_taken() {
        Tools t;
        QVERIFY(t.start());
        auto* w = t.settings_with_focus_in_limit();
        QVERIFY(w);
        QTest::keyClicks(w->limit_box, QStringLiteral("500"));
        QTest::mouseClick(w->close_button, Qt::LeftButton);
        QCOMPARE(int(t.st.settings.max_kensuu), 1000);

        w = t.settings_with_focus_in_limit();
        QTest::keyClicks(w->limit_box, QStringLiteral("700"));
        QTest::keyClick(w->limit_box, Qt::Key_Escape);
        QVERIFY(!t.forms.loaded<SettingsWindow>());
        QCOMPARE(int(t.st.settings.max_kensuu), 1000);
    }

    void taken_limit_reaches_the_settings_file() {
        Tools t;
        QVERIFY(t.start());
        auto* w = t.settings_with_focus_in_limit();
        QVERIFY(w);
        QTest::keyClicks(w->limit_box, QStringLiteral("250"));
        QTest::keyClick(w->limit_box, Qt::Key_Return);
        QTest::keyClick(t.forms.loaded<MainMenuWindow>()->close_button, Qt::Key_Escape);
        QCOMPARE(t.ended, 1);
        QVERIFY(t.dir.read(QStringLiteral("tomarina.ini")).contains("\r\nmax_kensuu=250\r\n"));
    }

    void detail_choice_is_stored_when_the_window_closes_data() {
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("choose_show");
        QTest::addColumn<bool>("close_with_esc");
        QTest::newRow("off to on, 終了") << 0 << true << false;
        QTest::newRow("on to off, 終了") << 1 << false << false;
        QTest::newRow("off to on, Esc") << 0 << true << true;
        QTest::newRow("on stays on") << 1 << true << false;
    }
    void detail_choice_is_stored_when_the_window_closes() {
        QFETCH(int, before);
        QFETCH(bool, choose_show);
        QFETCH(bool, close_with_esc);
        Tools t;
        QVERIFY(t.start());
        t.st.settings_store.set(&Settings::sv_pop, Integer(before));
        auto* w = t.forms.show<SettingsWindow>();
        QCOMPARE(w->show_detail_option->isChecked(), before == 1);
        QCOMPARE(w->hide_detail_option->isChecked(), before != 1);
        QTest::mouseClick(choose_show ? w->show_detail_option : w->hide_detail_option, Qt::LeftButton);
        QCOMPARE(int(t.st.settings.sv_pop), before); // nothing changes while the window is open
        if (close_with_esc)
            QTest::keyClick(w->show_detail_option, Qt::Key_Escape);
        else
            QTest::mouseClick(w->close_button, Qt::LeftButton);
        QVERIFY(!t.forms.loaded<SettingsWindow>());
        QCOMPARE(int(t.st.settings.sv_pop), choose_show ? 1 : 0);
    }

    void esc_closes_the_settings_window_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("browser again") << "browser_again_button";
        QTest::newRow("close") << "close_button";
        QTest::newRow("limit box") << "limit_box";
    }
    void esc_closes_the_settings_window() {
        QFETCH(QString, control);
        Tools t;
        QVERIFY(t.start());
        auto* w = t.forms.show<SettingsWindow>();
        w->move(twips_to_px(450), twips_to_px(300));
        QTest::keyClick(w->findChild<QWidget*>(control), Qt::Key_Escape);
        QVERIFY(!t.forms.loaded<SettingsWindow>());
        QCOMPARE(t.st.settings.settings_window.top, Integer(300));
        QCOMPARE(t.st.settings.settings_window.left, Integer(450));
        QCOMPARE(t.pf.help_calls.last(), QStringLiteral("close"));
        QCOMPARE(int(t.st.settings.max_kensuu), 1000);
    }

    // Through the desktop's own handler files.
    void browser_again_data() {
        QTest::addColumn<QString>("command"); // the desktop's http handler; empty: none registered
        QTest::addColumn<bool>("opener");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("path"); // "xdg-open": the opener on the PATH
        QTest::newRow("none registered") << "" << true << ""
                                         << "/usr/bin/xdg-open";
        QTest::newRow("a browser it does not know") << "/usr/lib/firefox/firefox %u" << true << "1"
                                                    << "xdg-open";
        QTest::newRow("a browser it does not know, no opener") << "/usr/lib/firefox/firefox %u" << false << ""
                                                               << "/usr/bin/xdg-open";
        QTest::newRow("Internet Explorer")
            << "\"C:\\Program Files\\Internet Explorer\\iexplore.exe\" -nohome" << true << "1"
            << "C:\\Program Files\\Internet Explorer\\iexplore.exe";
        QTest::newRow("Netscape") << "C:\\NETSCAPE\\NETSCAPE.EXE -h \"%1\"" << true << "2"
                                  << "C:\\NETSCAPE\\NETSCAPE.EXE";
    }
    void browser_again() {
        QFETCH(QString, command);
        QFETCH(bool, opener);
        QFETCH(QString, kind);
        QFETCH(QString, path);
        const test::DesktopHandler desktop(command, opener);
        if (opener && !registrable_browser(desktop.opener()))
            QSKIP("the build folder lies in a folder that other users can write");
        Tools t;
        // A browser registered by hand, as on a desktop without either known browser.
        t.dir.write(QStringLiteral("tomarina.ini"),
                    "[Control]\r\ninet_data1=1\r\ninet_data2=/usr/bin/xdg-open\r\n");
        t.pf.desktop_handler = true;
        QVERIFY(t.start());
        auto* menu = t.forms.loaded<MainMenuWindow>();
        QVERIFY(menu->region_button->isEnabled());
        QVERIFY(!t.forms.loaded<BrowserWindow>());

        auto* w = t.forms.show<SettingsWindow>();
        w->tabs->setCurrentIndex(0);
        QTest::mouseClick(w->browser_again_button, Qt::LeftButton);
        QCOMPARE(t.st.settings.inet_data1, kind);
        QCOMPARE(t.st.settings.inet_data2, path == u"xdg-open" ? desktop.opener() : path);
        const bool found = !kind.isEmpty();
        QCOMPARE(t.forms.loaded<BrowserWindow>() != nullptr, !found);
        QCOMPARE(menu->region_button->isEnabled(), found);
        QVERIFY(t.forms.loaded<SettingsWindow>()); // the settings window stays open
        QVERIFY(t.pf.messages.isEmpty());
    }

    void browser_again_after_choosing_no_browser_asks_again() {
        Tools t;
        t.dir.write(QStringLiteral("tomarina.ini"), "[Control]\r\ninet_data1=3\r\n");
        QVERIFY(t.start());
        QVERIFY(!t.forms.loaded<BrowserWindow>()); // "no browser" is not asked again at start-up
        auto* w = t.forms.show<SettingsWindow>();
        QTest::mouseClick(w->browser_again_button, Qt::LeftButton);
        QCOMPARE(t.st.settings.inet_data1, QString());
        auto* choice = t.forms.loaded<BrowserWindow>();
        QVERIFY(choice && choice->isVisible());
        QVERIFY(!t.forms.loaded<MainMenuWindow>()->region_button->isEnabled());
    }

    void about_window_shows_version_and_data_date() {
        Tools t;
        auto* menu = t.open_menu();
        QVERIFY(menu);
        t.st.settings_store.set_position(34, {750, 1500});
        QTest::mouseClick(menu->about_button, Qt::LeftButton);
        auto* w = t.forms.loaded<AboutWindow>();
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->pos(), QPoint(twips_to_px(1500), twips_to_px(750)));
        // Its title bar, as the window system shows it: test_window_titles.
        QCOMPARE(w->title_label->text(), app_title);
        QCOMPARE(w->version_label->text(), QStringLiteral("Version 1.51"));
        QCOMPARE(w->title_label->font().pointSize(), 12);
        QCOMPARE(w->data_label->font().pointSize(), 9);
        const QStringList lines = w->data_label->text().split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], texts::data_date_note.arg(QStringLiteral("2003/10/10")));
        QCOMPARE(lines[1], texts::publisher_contact);
        QCOMPARE(lines[2], texts::publisher_home_page);
        QCOMPARE(lines[3], QString());
        QCOMPARE(lines[4], texts::publisher_notice);
        // Told once, the product name first: the lines are the window's description alone.
        QVERIFY(w->accessibleDescription().startsWith(app_title + QStringLiteral("\nVersion 1.51\n2003")));
        QVERIFY(!w->data_label->accessibleName().contains(u'\n'));
        QVERIFY(!w->picture->pixmap().isNull());
        QCOMPARE(w->ok_button->text(), QStringLiteral("OK"));
        QVERIFY(w->ok_button->isDefault());
        // The lines fit their label: nothing is cut off.
        QVERIFY(w->data_label->sizeHint().height() <= w->data_label->height());
        QVERIFY(w->data_label->sizeHint().width() <= w->data_label->width());
    }

    void about_window_closes_with_ok_enter_and_esc_data() {
        QTest::addColumn<int>("key"); // 0: a click on "OK"
        QTest::newRow("OK") << 0;
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("Esc") << int(Qt::Key_Escape);
    }
    void about_window_closes_with_ok_enter_and_esc() {
        QFETCH(int, key);
        Tools t;
        QVERIFY(t.start());
        auto* w = t.forms.show<AboutWindow>();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QVERIFY(w->ok_button->hasFocus());
        w->move(twips_to_px(300), twips_to_px(150));
        if (key == 0)
            QTest::mouseClick(w->ok_button, Qt::LeftButton);
        else
            QTest::keyClick(w->ok_button, Qt::Key(key));
        QVERIFY(!t.forms.loaded<AboutWindow>());
        QCOMPARE(t.st.settings.about_window.top, Integer(150));
        QCOMPARE(t.st.settings.about_window.left, Integer(300));
    }

    // Each step of the bar is on the screen when step_to returns, drawn once: the work that follows
    // lets no events run until the next step.
    void progress_bar_draws_each_step_once() {
        test::RunningProgram p;
        auto* w = p.forms.show<ProgressWindow>();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QString work = QStringLiteral("the search");
        w->start(4, work);
        QCOMPARE(w->progress_bar->accessibleName(), work); // what a screen reader calls it
        QCOMPARE(test::announced(w), work);                // and says as the work starts
        QList<int> drawn;
        struct Painted : QObject {
            QList<int>& drawn;
            QProgressBar* bar;
            Painted(QList<int>& d, QProgressBar* b) : drawn(d), bar(b) {}
            bool eventFilter(QObject*, QEvent* e) override {
                if (e->type() == QEvent::Paint) drawn << bar->value();
                return false;
            }
        } painted(drawn, w->progress_bar);
        QCoreApplication::processEvents();
        w->progress_bar->installEventFilter(&painted);
        for (int step = 1; step <= 4; ++step) {
            w->step_to(step);
            QCOMPARE(drawn.value(step - 1), step);
        }
        QCOMPARE(drawn, QList<int>({1, 2, 3, 4}));
    }

    void splash_shows_version_platform_picture_and_publisher() {
        test::RunningProgram p;
        p.st.ver_text = QStringLiteral("1.51");
        auto* w = p.forms.show<SplashWindow>();
        QCOMPARE(w->version_label->text(), QStringLiteral("Version  1.51"));
        QCOMPARE(w->platform_label->text(), QStringLiteral("Windows95/98,NT/WS"));
        QCOMPARE(w->product_name_label->text(), app_title);
        QVERIFY(!w->product_line_label->text().isEmpty());
        QVERIFY(!w->warning_label->text().isEmpty());
        const QPixmap picture = w->picture->pixmap();
        QVERIFY(!picture.isNull());
        QCOMPARE(picture.size(), w->picture->size());
        QCOMPARE(w->size(), QSize(twips_to_px(7140), twips_to_px(4035)));
        for (QLabel* l : {w->version_label, w->platform_label, w->product_name_label, w->home_page_label,
                          w->notice_label})
            QVERIFY2(l->sizeHint().width() <= l->width(), qPrintable(l->objectName()));
    }
};

QTEST_MAIN(TestToolsWindows)
#include "test_tools_windows.moc"
