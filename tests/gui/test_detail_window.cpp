#include "browser/browser_texts.h"
#include "browser/browser_window.h"
#include "data/database.h"
#include "results/detail_window.h"
#include "results/links.h"
#include "results/results_texts.h"
#include "results/results_window.h"
#include "search/search_conditions_window.h"
#include "shared/accessibility.h"
#include "support/gui_support.h"
#include "tools/settings_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

const QString opener = QStringLiteral("/usr/bin/xdg-open");
const QString same_page = QStringLiteral("http://") + link_hosts::best + QStringLiteral("/best/s?h=3");

// Four Tokyo hotels: every link; none; a home page that is the second service's page; the second
// service only.
DbSource link_source() {
    DbSource src = test::small_source();
    src.hotels.clear();
    auto add = [&](int info, const char* name, const char* url, const char* best, int syousai) {
        DbSource::Hotel h;
        h.info_no = info;
        h.ken = 2;
        h.airport = 2;
        h.syousai = syousai;
        h.name = u8(name);
        h.tel = QStringLiteral("03-0000-000") + QString::number(syousai);
        h.rooms = QStringLiteral("0");
        h.access = u8("新宿駅徒歩５分");
        h.price = QStringLiteral("\\9,500");
        h.note = u8("★★");
        h.url = u8(url);
        h.address = u8("東京都新宿区") + QString::number(syousai);
        h.best = u8(best);
        src.hotels << h;
    };
    add(123, "あいホテル", "http://www.ai.example.jp/", "h=1", 2);
    add(0, "いろはホテル", "", "", 3);
    add(0, "うみホテル", same_page.toUtf8().constData(), "h=3", 5);
    add(0, "えきホテル", "", "h=4", 2);
    return src;
}

struct App {
    AppState st;
    FakePlatform pf;
    test::WiredForms forms{st, pf};
    App() {
        st.directory.load([&](HotelTables& t) { Loader(t, build_database(link_source())).load_all(); });
        st.settings_store.load({});
        st.settings_store.set_browser(QStringLiteral("1"), opener);
    }
    // Searches Tokyo through the search window.
    ResultsWindow* results() {
        auto* w = forms.show<SearchConditionsWindow>();
        w->prefecture_option->setChecked(true);
        w->key_box->setText(u8("東京"));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        return forms.loaded<ResultsWindow>();
    }
    int row_of(ResultsWindow* r, const char* name) {
        for (int row = 1; row <= r->model->rowCount(); ++row)
            if (r->model->cell_text(row, 1) == u8(name)) return row;
        return 0;
    }
    void click_row(ResultsWindow* r, int row) {
        const QModelIndex index = r->model->index(row - 1, 1);
        r->hits_grid->scrollTo(index);
        QTest::mouseClick(r->hits_grid->viewport(), Qt::LeftButton, {},
                          r->hits_grid->visualRect(index).center());
    }
    DetailWindow* click(ResultsWindow* r, const char* name) {
        click_row(r, row_of(r, name));
        return forms.loaded<DetailWindow>();
    }
};

} // namespace

class TestDetailWindow : public QObject {
    Q_OBJECT
  private slots:
    void search_row_click_and_reservation() {
        App app;
        auto* r = app.results();
        QVERIFY(r);
        QVERIFY(!r->information_button->isEnabled());
        QVERIFY(
            r->hits_grid->accessibleDescription().endsWith(results_texts::remarks_notice.section(u'\n', -1)));
        auto* d = app.click(r, "あいホテル");
        QVERIFY(d);
        QVERIFY(d->isVisible());
        QCOMPARE(r->grid_row(), Integer(app.row_of(r, "あいホテル")));
        // A highlighted row tells of its pages from any cell, and its empty cell (no rooms) is heard.
        const QModelIndex rooms = r->model->index(app.row_of(r, "あいホテル") - 1, 3);
        QCOMPARE(rooms.siblingAtColumn(5).data(Qt::AccessibleDescriptionRole),
                 QVariant(results_texts::online_words));
        QCOMPARE(rooms.data(Qt::AccessibleTextRole), QVariant(empty_cell_name));
        QVERIFY(r->information_button->isEnabled());
        QVERIFY(r->reserve_button->isEnabled());
        QVERIFY(d->reserve_button->isEnabled());

        QTest::mouseClick(d->reserve_button, Qt::LeftButton); // the caution answered OK
        QCOMPARE(app.pf.messages.size(), 1);
        QCOMPARE(app.pf.messages[0].title, browser_texts::caution_title);
        QCOMPARE(app.st.settings.sv_count, Integer(1));
        QCOMPARE(app.pf.launches.size(), 3);
        QCOMPARE(app.pf.launches[0].program, opener);
        QCOMPARE(app.pf.launches[0].address, QStringLiteral("http://") + link_hosts::reserve +
                                                 QStringLiteral("/my/ry_kensaku.k1?f_no=123"));
        QCOMPARE(app.pf.launches[1].address,
                 QStringLiteral("http://") + link_hosts::best + QStringLiteral("/best/s?h=1"));
        QCOMPARE(app.pf.launches[2].address, QStringLiteral("http://www.ai.example.jp/"));
        QCOMPARE(test::announced(d), results_texts::pages_handed_over);

        // The results window's own buttons open the same hotel's pages, information this time.
        app.pf.launches.clear();
        QTest::mouseClick(r->information_button, Qt::LeftButton);
        QCOMPARE(app.pf.launches.size(), 3);
        QCOMPARE(test::announced(r), results_texts::pages_handed_over);
        QVERIFY(app.pf.launches[0].address.endsWith(QStringLiteral("/HOTEL/123/123.html")));
    }

    // A long address and name open at their beginning, as a reader starts.
    void long_texts_show_their_beginning() {
        App app;
        auto* r = app.results();
        const int row = app.row_of(r, "あいホテル");
        const Integer h = app.st.search.state().sel_hotel(row);
        app.st.directory.load([h](HotelTables& t) {
            t.hotel_address(h) =
                u8("東京都千代田区丸の内一丁目九番一号　トマリナビルディング北館二十三階全部");
            t.hotel_name(h) = u8("トマリナグランドホテル東京ステーション丸の内北口ウイング");
        });
        app.click_row(r, row);
        auto* d = app.forms.loaded<DetailWindow>();
        QVERIFY(d);
        QVERIFY(QTest::qWaitForWindowExposed(d));
        for (QLineEdit* box : {d->address_box, d->name_box}) {
            QVERIFY(box->fontMetrics().horizontalAdvance(box->text()) > box->width());
            QCOMPARE(box->cursorPosition(), 0);
            // The first character is where the box begins to show text.
            QVERIFY(box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() < box->width() / 4);
        }
    }

    void fields_boxes_and_buttons() {
        App app;
        auto* r = app.results();
        auto* d = app.click(r, "あいホテル");
        QCOMPARE(d->windowTitle(), shared_texts::app_title);
        const QLabel* labels[] = {d->address_label, d->name_label,  d->phone_label, d->rooms_label,
                                  d->access_label,  d->price_label, d->note_label};
        const QString captions[] = {results_texts::address_caption, results_texts::name_caption,
                                    results_texts::phone_caption,   results_texts::rooms_caption,
                                    results_texts::access_caption,  results_texts::price_caption,
                                    results_texts::note_caption};
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(labels[i]->text(), captions[i]);
            QVERIFY(labels[i]->buddy());
        }
        QCOMPARE(d->address_box->text(), u8("東京都新宿区2"));
        QCOMPARE(d->name_box->text(), u8("あいホテル"));
        QCOMPARE(d->phone_box->text(), QStringLiteral("03-0000-0002"));
        // The stored rooms text, while the grid shows an empty cell for 0.
        QCOMPARE(d->rooms_box->text(), QStringLiteral("0"));
        QCOMPARE(r->model->cell_text(app.row_of(r, "あいホテル"), 3), QString());
        QCOMPARE(d->access_box->toPlainText(), u8("新宿駅徒歩５分"));
        QCOMPARE(d->price_box->text(), u8("¥9,500"));
        QCOMPARE(d->note_box->toPlainText(), u8("★★"));
        QVERIFY(d->first_service_check->isChecked() && d->second_service_check->isChecked() &&
                d->home_page_check->isChecked());
        // The default place, in twips: top 5200, left 3800.
        QCOMPARE(d->pos(), QPoint(twips_to_px(3800), twips_to_px(5200)));

        d = app.click(r, "いろはホテル");
        QVERIFY(!d->first_service_check->isChecked() && !d->second_service_check->isChecked() &&
                !d->home_page_check->isChecked());
        QVERIFY(!d->information_button->isEnabled() && !d->reserve_button->isEnabled());
        QVERIFY(!r->information_button->isEnabled() && !r->reserve_button->isEnabled());

        d = app.click(r, "うみホテル");
        QVERIFY(!d->first_service_check->isChecked());
        QVERIFY(!d->second_service_check->isChecked()); // its text is inside the home page address
        QVERIFY(d->home_page_check->isChecked());
        QVERIFY(d->information_button->isEnabled());
        QVERIFY(!d->reserve_button->isEnabled());

        d = app.click(r, "えきホテル");
        QVERIFY(d->second_service_check->isChecked());
        QVERIFY(d->information_button->isEnabled() && d->reserve_button->isEnabled());
    }

    void ticked_boxes_choose_the_pages() {
        App app;
        app.st.settings_store.set(&Settings::control9_flg, 1);
        auto* r = app.results();
        auto* d = app.click(r, "あいホテル");
        d->home_page_check->click();
        QTest::mouseClick(d->information_button, Qt::LeftButton);
        QCOMPARE(app.pf.launches.size(), 2);
        QVERIFY(app.pf.launches[0].address.endsWith(QStringLiteral("/HOTEL/123/123.html")));
        QVERIFY(app.pf.launches[1].address.endsWith(QStringLiteral("/best/s?h=1")));

        app.pf.launches.clear();
        d->first_service_check->click();
        d->second_service_check->click();
        QTest::mouseClick(d->information_button, Qt::LeftButton);
        QVERIFY(app.pf.launches.isEmpty());

        // A home page equal to the second service's page opens once.
        d = app.click(r, "うみホテル");
        d->second_service_check->setChecked(true);
        QTest::mouseClick(d->information_button, Qt::LeftButton);
        QCOMPARE(app.pf.launches.size(), 1);
        QCOMPARE(app.pf.launches[0].address, same_page);
    }

    // xdg-open without a browser ends with 3: told once a press, after it, and not in the end.
    void failing_browser_is_told_once_per_press() {
        App app;
        app.st.settings_store.set(&Settings::control9_flg, 1);
        const test::DesktopHandler desktop({}, true, "#!/bin/sh\nexit 3\n");
        app.st.settings_store.set_browser(QStringLiteral("1"), desktop.opener());
        app.pf.run_programs = true;
        auto* d = app.click(app.results(), "あいホテル");
        for (qsizetype press = 1; press <= 3; ++press) {
            if (press == 3) app.pf.note_program_end();
            QTest::mouseClick(d->information_button, Qt::LeftButton); // three pages
            QCOMPARE(app.pf.messages.size(), press - 1);
            QTest::qWait(press == 3 ? 1000 : 0);
            QTRY_COMPARE(app.pf.messages.size(), std::min(press, qsizetype(2)));
        }
        QVERIFY(app.pf.messages[0].text.startsWith(browser_error_text({})));
    }

    void buttons_follow_the_shown_hotel_after_a_re_sort() {
        App app;
        app.st.settings_store.set(&Settings::control9_flg, 1);
        auto* r = app.results();
        auto* d = app.click(r, "うみホテル");
        const int row = r->grid_row();
        // Ordered by name another hotel stands in the clicked row.
        r->hits_grid->setCurrentIndex(r->model->index(0, 1));
        r->resort_by_current_column();
        QCOMPARE(r->model->cell_text(row, 1), u8("えきホテル"));
        QCOMPARE(d->name_box->text(), u8("うみホテル"));
        QTest::mouseClick(d->information_button, Qt::LeftButton);
        QCOMPARE(app.pf.launches.size(), 1);
        QCOMPARE(app.pf.launches[0].address, same_page);
    }

    // After a re-sort the results window's buttons act on the hotel now in the clicked row: they are
    // enabled for that hotel and its row is the marked one.
    void results_buttons_follow_their_row_after_a_re_sort() {
        for (const char* name : {"あいホテル", "いろはホテル", "うみホテル", "えきホテル"}) {
            App app;
            app.st.settings_store.set(&Settings::sv_pop, 0);
            auto* r = app.results();
            app.click(r, name);
            const Integer row = r->grid_row();
            r->hits_grid->setCurrentIndex(r->model->index(0, 1));
            r->resort_by_current_column();
            QCOMPARE(r->grid_row(), row);
            QCOMPARE(r->hits_grid->selectionModel()->selectedIndexes().value(0).row() + 1, int(row));
            // The buttons of the hotel now shown in the row, by its name: a service number gives both,
            // a home page only the information, the second service alone both, nothing neither.
            const QString now = r->model->cell_text(row, 1);
            const QMap<QString, std::pair<bool, bool>> buttons = {{u8("あいホテル"), {true, true}},
                                                                  {u8("いろはホテル"), {false, false}},
                                                                  {u8("うみホテル"), {true, false}},
                                                                  {u8("えきホテル"), {true, true}}};
            QVERIFY2(buttons.contains(now), qPrintable(now));
            QCOMPARE(r->information_button->isEnabled(), buttons[now].first);
            QCOMPARE(r->reserve_button->isEnabled(), buttons[now].second);
        }
    }

    // Ctrl+Enter orders by the current cell's column every time, leaves the current cell where it was
    // and tells a screen reader the new order.
    void keyboard_reorder_keeps_the_cell() {
        App app;
        auto* r = app.results();
        r->hits_grid->setCurrentIndex(r->model->index(2, 5));
        for (int k = 0; k < 2; ++k) {
            QTest::keyClick(r->hits_grid, Qt::Key_Return, Qt::ControlModifier);
            QCOMPARE(app.st.search.ordering(), QStringView(shared_texts::order_by_price).toString());
            QCOMPARE(r->hits_grid->position(), r->model->index(2, 5));
        }
        QAccessibleInterface* said =
            QAccessible::queryAccessibleInterface(r->findChild<QWidget*>("announcement"));
        QVERIFY(said && said->text(QAccessible::Name).startsWith(u8("▼ 料金(ｼﾝｸﾞﾙ)")));
    }

    void heading_click_acts_on_row_one() {
        App app;
        auto* r = app.results();
        QHeaderView* header = r->hits_grid->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(2) + 4, header->height() / 2));
        QCOMPARE(r->grid_row(), Integer(1));
        auto* d = app.forms.loaded<DetailWindow>();
        QVERIFY(d);
        QCOMPARE(d->name_box->text(), r->model->cell_text(1, 1));
    }

    void keyboard_row_click() {
        App app;
        auto* r = app.results();
        r->hits_grid->setFocus();
        r->hits_grid->setCurrentIndex(r->model->index(1, 0));
        QTest::keyClick(r->hits_grid, Qt::Key_Return);
        QCOMPARE(r->grid_row(), Integer(2));
        auto* d = app.forms.loaded<DetailWindow>();
        QVERIFY(d);
        QCOMPARE(d->name_box->text(), r->model->cell_text(2, 1));
    }

    // Once no browser is set, the open windows' link buttons go off at once and a row click leaves them
    // off; the lookup meets no http handler and no opener on this desktop.
    void link_buttons_follow_the_browser_kind_data() {
        QTest::addColumn<bool>("unused");
        QTest::newRow("browser looked up again finds none") << false;
        QTest::newRow("未使用") << true;
    }
    void link_buttons_follow_the_browser_kind() {
        QFETCH(bool, unused);
        const test::DesktopHandler none({}, false); // no http handler, no opener
        App app;
        auto* r = app.results();
        auto* d = app.click(r, "あいホテル");
        QVERIFY(r->reserve_button->isEnabled() && d->reserve_button->isEnabled());
        if (unused)
            QTest::mouseClick(app.forms.show<BrowserWindow>()->no_browser_option, Qt::LeftButton);
        else
            QTest::mouseClick(app.forms.show<SettingsWindow>()->browser_again_button, Qt::LeftButton);
        QVERIFY(app.forms.loaded<BrowserWindow>() || unused);
        for (QPushButton* b :
             {r->information_button, r->reserve_button, d->information_button, d->reserve_button})
            QVERIFY(!b->isEnabled());
        app.click(r, "えきホテル");
        QVERIFY(!r->information_button->isEnabled() && !r->reserve_button->isEnabled());
        QCOMPARE(d->name_box->text(), u8("あいホテル"));
    }

    void no_browser_no_reaction() {
        App app;
        app.st.settings_store.set_browser(QStringLiteral("3"), opener);
        auto* r = app.results();
        QVERIFY(!app.click(r, "あいホテル"));
        QCOMPARE(r->grid_row(), Integer(0));
        QVERIFY(!r->information_button->isEnabled() && !r->reserve_button->isEnabled());
    }

    // The detail choice made in the settings window while results are open holds from the next row click.
    void row_click_follows_the_detail_choice_data() {
        QTest::addColumn<bool>("show");
        QTest::newRow("turned off") << false;
        QTest::newRow("turned on") << true;
    }
    void row_click_follows_the_detail_choice() {
        QFETCH(bool, show);
        App app;
        app.st.settings_store.set(&Settings::sv_pop, show ? 0 : 1);
        auto* r = app.results();
        auto* w = app.forms.show<SettingsWindow>();
        QTest::mouseClick(show ? w->show_detail_option : w->hide_detail_option, Qt::LeftButton);
        QTest::mouseClick(w->close_button, Qt::LeftButton);
        QCOMPARE(app.click(r, "あいホテル") != nullptr, show);
    }

    void without_sv_pop_only_the_buttons() {
        App app;
        app.st.settings_store.set(&Settings::sv_pop, 0);
        auto* r = app.results();
        QVERIFY(!app.click(r, "うみホテル"));
        QVERIFY(r->information_button->isEnabled());
        QVERIFY(!r->reserve_button->isEnabled());
    }

    void closing() {
        App app;
        auto* r = app.results();
        auto* d = app.click(r, "あいホテル");
        d->move(twips_to_px(1500), twips_to_px(3000));
        d->address_box->setFocus();
        QTest::keyClick(d->address_box, Qt::Key_Escape);
        QVERIFY(!app.forms.loaded<DetailWindow>());
        QCOMPARE(app.st.settings.detail_window.left, Integer(1500));
        QCOMPARE(app.st.settings.detail_window.top, Integer(3000));

        d = app.click(r, "いろはホテル");
        QTest::mouseClick(d->close_button, Qt::LeftButton);
        QVERIFY(!app.forms.loaded<DetailWindow>());

        // Closing the results window closes the detail window too.
        app.click(r, "えきホテル");
        QVERIFY(app.forms.loaded<DetailWindow>());
        QTest::mouseClick(r->close_button, Qt::LeftButton);
        QVERIFY(!app.forms.loaded<ResultsWindow>());
        QVERIFY(!app.forms.loaded<DetailWindow>());
    }
};

QTEST_MAIN(TestDetailWindow)
#include "shared/shared_texts.h"
#include "test_detail_window.moc"
