#include "browser/browser_texts.h"
#include "data/database.h"
#include "program/main_menu_window.h"
#include "search/region_window.h"
#include "search/search_texts.h"
#include "search/tab_stop_list.h"
#include "support/gui_support.h"
#include "support/test_support.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

struct Regions {
    AppState st;
    FakePlatform pf;
    test::WiredForms forms{st, pf};
    // Regions of the given names, each with a text and a link of its own.
    explicit Regions(const QStringList& areas = {u8("北海道"), u8("東北"), u8("関東"), u8("北陸・甲信越")}) {
        st.directory.load([&](HotelTables& t) {
            for (int j = 1; j <= areas.size(); ++j) {
                t.rsv_area(j) = areas[j - 1];
                t.rsv_text(j) = u8("説明") + QString::number(j);
                t.rsv_link(j) = QStringLiteral("http://www.bestrsv.example.jp/best/area?r=%1").arg(j);
            }
            t.rsv_count = Integer(areas.size());
        });
        st.settings_store.set_browser(QStringLiteral("1"), QStringLiteral("/usr/bin/firefox"));
    }
    RegionWindow* open() { return forms.show<RegionWindow>(); }
};

void click_row(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace

class TestRegionWindow : public QObject {
    Q_OBJECT
  private slots:
    void opens_with_the_regions_and_no_choice() {
        Regions a({u8("東北"), u8("  東北  "), u8("北陸・甲信越"), u8("北海道・東北・関東"),
                   u8("北海道・東北・関東・甲信越・北陸")});
        RegionWindow* w = a.open();
        QCOMPARE(w->windowTitle(), app_title);
        QVERIFY(!w->reserve_button->isEnabled());
        QVERIFY(!w->region_list->accessibleName().isEmpty());
        QCOMPARE(
            row_texts(w->region_list),
            QStringList({u8("東北\t\t説明1"), u8("東北\t説明2"), u8("北陸・甲信越\t説明3"),
                         u8("北海道・東北・関東   説明4"), u8("北海道・東北・関東・甲信越・北陸   説明5")}));
        QCOMPARE(w->rsv_row_link(5), QStringLiteral("http://www.bestrsv.example.jp/best/area?r=5"));
    }

    void texts_line_up_in_one_column() {
        Regions a(
            {u8("東北"), u8("北海道"), u8("大阪"), u8("関東甲信"), u8("北陸・甲信越"), u8("九州・沖縄地方")});
        RegionWindow* w = a.open();
        auto* tabs = qobject_cast<TabStopDelegate*>(w->region_list->itemDelegate());
        QVERIFY(tabs);
        // The texts start at the second stop, 8.5 full-width characters from the left, after every name.
        const QFont font = w->region_list->font();
        const qreal column = 8.5 * QFontMetricsF(font).horizontalAdvance(QChar(0x56FD));
        for (const QString& row : row_texts(w->region_list)) {
            QCOMPARE(tabs->part_positions(row, font).last(), column);
            QVERIFY(QFontMetricsF(font).horizontalAdvance(row.section(u'\t', 0, 0)) < column);
        }
    }

    void the_chosen_row_opens_its_link_after_the_caution() {
        Regions a;
        RegionWindow* w = a.open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        w->move(twips_to_px(3000), twips_to_px(1500));
        click_row(w->region_list, 2);
        QVERIFY(w->reserve_button->isEnabled());
        QTest::mouseClick(w->reserve_button, Qt::LeftButton);
        QCOMPARE(a.pf.messages.size(), 1);
        QCOMPARE(a.pf.messages[0].title, browser_texts::caution_title);
        QCOMPARE(a.pf.messages[0].buttons, MsgButtons::OkCancel);
        QCOMPARE(a.st.settings.sv_count, Integer(1));
        QCOMPARE(a.pf.launches.size(), 1);
        QCOMPARE(a.pf.launches[0].program, QStringLiteral("/usr/bin/firefox"));
        QCOMPARE(a.pf.launches[0].address, QStringLiteral("http://www.bestrsv.example.jp/best/area?r=3"));
        QVERIFY(!a.forms.loaded<RegionWindow>());
        QCOMPARE(a.st.settings.region_window.left, Integer(3000));
        QCOMPARE(a.st.settings.region_window.top, Integer(1500));
    }

    void cancel_in_the_caution_keeps_the_window() {
        Regions a;
        a.st.settings_store.set(&Settings::sv_count, 2);
        RegionWindow* w = a.open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        click_row(w->region_list, 1);
        a.pf.answers.push_back(MsgAnswer::Cancel);
        QTest::mouseClick(w->reserve_button, Qt::LeftButton);
        QCOMPARE(a.st.settings.sv_count, Integer(3));
        QVERIFY(a.pf.launches.isEmpty());
        QCOMPARE(a.forms.loaded<RegionWindow>(), w);
        QCOMPARE(first_selected_row(w->region_list), 1);
        // The third showing was the last: the page now opens at once, here by a double click.
        const QPoint at = w->region_list->visualItemRect(w->region_list->item(1)).center();
        QTest::mouseDClick(w->region_list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(a.pf.messages.size(), 1);
        QCOMPARE(a.pf.launches.size(), 1);
        QCOMPARE(a.pf.launches[0].address, QStringLiteral("http://www.bestrsv.example.jp/best/area?r=2"));
        QVERIFY(!a.forms.loaded<RegionWindow>());
    }

    void no_caution_when_turned_off_and_enter_opens() {
        Regions a;
        a.st.settings_store.set(&Settings::control9_flg, 1);
        RegionWindow* w = a.open();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QCOMPARE(w->focusWidget(), w->region_list);
        QTest::keyClick(w->region_list, Qt::Key_Down);
        QVERIFY(w->reserve_button->isEnabled());
        const int row = first_selected_row(w->region_list);
        QTest::keyClick(w->region_list, Qt::Key_Return);
        QVERIFY(a.pf.messages.isEmpty());
        QCOMPARE(a.st.settings.sv_count, Integer(0));
        QCOMPARE(a.pf.launches.size(), 1);
        QCOMPARE(a.pf.launches[0].address, w->rsv_row_link(row + 1));
    }

    void a_page_that_cannot_open_is_told_and_the_window_stays_data() {
        QTest::addColumn<QString>("browser");
        QTest::addColumn<QString>("link");
        QTest::addColumn<bool>("start_fails");
        QTest::newRow("no browser known")
            << QString() << "http://www.bestrsv.example.jp/best/area?r=1" << false;
        QTest::newRow("the start fails") << "/nowhere/browser"
                                         << "http://www.bestrsv.example.jp/best/area?r=1" << true;
        QTest::newRow("a link without its scheme") << "/usr/bin/firefox"
                                                   << "/best/area?r=01" << false;
        QTest::newRow("a file address") << "/usr/bin/firefox"
                                        << "file:///etc/passwd" << false;
        QTest::newRow("an option for the browser") << "/usr/bin/firefox"
                                                   << "-new-instance" << false;
    }
    void a_page_that_cannot_open_is_told_and_the_window_stays() {
        QFETCH(QString, browser);
        QFETCH(QString, link);
        QFETCH(bool, start_fails);
        Regions a;
        a.st.directory.load([&](HotelTables& t) { t.rsv_link(1) = link; });
        a.st.settings_store.set(&Settings::control9_flg, 1);
        a.st.settings_store.set_browser(QStringLiteral("1"), browser);
        a.pf.launch_result = !start_fails;
        RegionWindow* w = a.open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        click_row(w->region_list, 0);
        QTest::mouseClick(w->reserve_button, Qt::LeftButton);
        QCOMPARE(a.pf.launches.size(), start_fails ? 1 : 0);
        QCOMPARE(a.pf.messages.size(), 1);
        QCOMPARE(a.pf.messages[0].title, shared_texts::error_title);
        QCOMPARE(a.forms.loaded<RegionWindow>(), w);
    }

    void double_click_on_the_empty_part_does_nothing() {
        Regions a;
        RegionWindow* w = a.open();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        const QPoint below =
            w->region_list->visualItemRect(w->region_list->item(3)).bottomLeft() + QPoint(10, 30);
        QVERIFY(w->region_list->viewport()->rect().contains(below));
        QTest::mouseClick(w->region_list->viewport(), Qt::LeftButton, {}, below);
        QTest::mouseDClick(w->region_list->viewport(), Qt::LeftButton, {}, below);
        QVERIFY(a.pf.messages.isEmpty());
        QVERIFY(a.pf.launches.isEmpty());
        QCOMPARE(a.st.settings.sv_count, Integer(0));
        QVERIFY(!w->reserve_button->isEnabled());
        QTest::mouseClick(w->reserve_button, Qt::LeftButton);
        QVERIFY(a.pf.messages.isEmpty());
    }

    void no_regions_leave_the_list_empty() {
        Regions a(QStringList{});
        RegionWindow* w = a.open();
        QCOMPARE(w->region_list->count(), 0);
        QVERIFY(!w->reserve_button->isEnabled());
        QTest::keyClick(w->region_list, Qt::Key_Return);
        QVERIFY(a.pf.messages.isEmpty());
    }

    void end_and_esc_close_with_the_position() {
        Regions a;
        RegionWindow* w = a.open();
        w->move(twips_to_px(600), twips_to_px(450));
        QTest::mouseClick(w->close_button, Qt::LeftButton);
        QVERIFY(!a.forms.loaded<RegionWindow>());
        QCOMPARE(a.st.settings.region_window.left, Integer(600));
        QCOMPARE(a.st.settings.region_window.top, Integer(450));
        for (int k = 0; k < 3; ++k) {
            w = a.open();
            QWidget* controls[] = {w->region_list, w->reserve_button, w->close_button};
            QTest::keyClick(controls[k], Qt::Key_Escape);
            QVERIFY(!a.forms.loaded<RegionWindow>());
        }
        QVERIFY(a.pf.launches.isEmpty());
    }

    void the_main_menu_opens_it() {
        test::RunningProgram p(build_database(test::small_source()));
        p.dir.write(QStringLiteral("tomarina.ini"), "[Control]\r\ninet_data1=1\r\n");
        QVERIFY(p.start());
        QTest::mouseClick(p.forms.loaded<MainMenuWindow>()->region_button, Qt::LeftButton);
        RegionWindow* w = p.forms.loaded<RegionWindow>();
        QVERIFY(w);
        QVERIFY(w->isVisible());
        QCOMPARE(w->region_list->count(), 2);
        QCOMPARE(w->region_list->item(0)->text(), u8("北海道\t\t札幌"));
        // Closing itself when no window has the keyboard (the caution just closed), it leaves the keyboard
        // with the main menu.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        QApplication::setActiveWindow(nullptr);
        w->close_window();
        QTRY_COMPARE(QApplication::activeWindow(), p.forms.loaded<MainMenuWindow>());
    }
};

QTEST_MAIN(TestRegionWindow)
#include "test_region_window.moc"
