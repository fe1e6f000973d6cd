#include "data/database.h"
#include "program/main_menu_window.h"
#include "program/program.h"
#include "results/results_texts.h"
#include "results/results_window.h"
#include "search/search_conditions_window.h"
#include "search/search_texts.h"
#include "shared/grid_rules.h"
#include "shared/ordering.h"
#include "support/gui_support.h"
#include "support/test_support.h"
#include "tools/progress_window.h"

#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

// A loaded directory and the windows over it.
struct App {
    AppState st;
    FakePlatform pf;
    test::WiredForms forms{st, pf};
    explicit App(const DbSource& src = test::small_source()) {
        const QByteArray bytes = build_database(src);
        st.directory.load([&](HotelTables& t) { Loader(t, bytes).load_all(); });
        st.settings_store.load({});
    }
    SearchConditionsWindow* search() { return forms.show<SearchConditionsWindow>(); }
    // Types an entry for an option and presses 検索開始.
    ResultsWindow* run(int option, const QString& entry) {
        auto* w = search();
        QRadioButton* options[] = {w->prefecture_option, w->airport_option, w->hotel_name_option,
                                   w->district_option,   w->station_option, w->keyword_option};
        options[option - 1]->setChecked(true);
        w->key_box->setText(entry);
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        return forms.loaded<ResultsWindow>();
    }
};

DbSource tokyo_districts(int districts) {
    DbSource src = test::small_source();
    src.districts.clear();
    src.hotels.clear();
    for (int d = 1; d <= districts; ++d) {
        src.districts << u8("地区") + QString::number(d);
        DbSource::Hotel h;
        h.ken = 2;
        h.airport = 2;
        h.syousai = d;
        h.name = u8("ホテル") + QString::number(d);
        src.hotels << h;
    }
    return src;
}

} // namespace

class TestSearchWindows : public QObject {
    Q_OBJECT
  private slots:
    // Tab and Shift+Tab pass through the checked option, whichever it is.
    void tab_order_keeps_to_the_checked_option_data() {
        QTest::addColumn<int>("option");
        for (int k = 1; k <= 6; ++k) QTest::addRow("option %d", k) << k;
    }
    void tab_order_keeps_to_the_checked_option() {
        QFETCH(int, option);
        App app;
        auto* w = app.search();
        QRadioButton* options[] = {w->prefecture_option, w->airport_option, w->hotel_name_option,
                                   w->district_option,   w->station_option, w->keyword_option};
        options[option - 1]->setChecked(true);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const QList<QWidget*> chain = {w->key_box, options[option - 1], w->search_button, w->close_button,
                                       w->key_box};
        w->key_box->setFocus();
        for (int k = 1; k < chain.size(); ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), chain[k]);
        }
        QTest::keyClick(w->key_box, Qt::Key_Backtab);
        QTest::keyClick(w->close_button, Qt::Key_Backtab);
        QTest::keyClick(w->search_button, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), options[option - 1]);
    }

    void options_prompts_and_defaults() {
        App a;
        auto* w = a.search();
        QCOMPARE(w->windowTitle(), app_title);
        QVERIFY(w->prefecture_option->isChecked());
        QCOMPARE(w->keyword_option->text(), search_texts::option_captions[5]);
        QCOMPARE(w->key_box->text(), u8("福岡"));
        QCOMPARE(w->guidance_box->text(), search_texts::option_prompts[0]);
        QVERIFY(w->picker_button->isHidden());
        QCOMPARE(a.st.search.state().search_type, SearchType::prefecture);

        w->hotel_name_option->setChecked(true);
        QCOMPARE(w->key_box->text(), QString());
        QCOMPARE(w->guidance_box->text(), search_texts::option_prompts[2]);
        // The option is the criterion of the next search; only 検索開始 starts one.
        QCOMPARE(a.st.search.state().search_type, SearchType::prefecture);
        w->key_box->setText(u8("駅前"));
        w->keyword_option->setChecked(true);
        QCOMPARE(w->key_box->text(), u8("駅前"));
        QCOMPARE(w->guidance_box->text(), search_texts::option_prompts[5]);
        a.st.settings_store.add_history(SearchType::airport, u8("東京／羽田"));
        w->airport_option->setChecked(true);
        QCOMPARE(w->key_box->text(), u8("東京／羽田"));
        QCOMPARE(w->guidance_box->text(), search_texts::option_prompts[1]);
        w->station_option->setChecked(true);
        QCOMPARE(w->guidance_box->text(), search_texts::option_prompts[4]);
        w->district_option->setChecked(true);
        QCOMPARE(w->guidance_box->text(), search_texts::option_prompts[3]);
    }

    void entry_check_and_its_message() {
        App a;
        auto* w = a.search();
        w->key_box->setText(u8("大阪"));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        QCOMPARE(w->guidance_box->text(), search_entry_error());
        QVERIFY(!a.forms.loaded<ResultsWindow>());
        QVERIFY(a.pf.messages.isEmpty());
        // A screen reader hears the refusal: the entry box keeps its name and says the refusal before
        // the prompt while it stands, and it is announced at once, every time.
        QCOMPARE(QAccessible::queryAccessibleInterface(w->key_box)->text(QAccessible::Name),
                 search_texts::criteria_caption);
        QCOMPARE(w->key_box->accessibleDescription(),
                 search_entry_error() + u'\n' + search_texts::option_prompts[0]);
        QCOMPARE(QAccessible::queryAccessibleInterface(w->guidance_box)->text(QAccessible::Name),
                 search_texts::guidance_name);
        QCOMPARE(test::announced(w), search_entry_error());
        w->findChild<QWidget*>(QStringLiteral("announcement"))->hide();
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        QCOMPARE(test::announced(w), search_entry_error());
        // An empty entry only takes the focus back.
        w->key_box->clear();
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        QCOMPARE(w->guidance_box->text(), search_entry_error());
        QVERIFY(!a.forms.loaded<ResultsWindow>());
        // The other name with blanks is accepted and replaced by the table's name.
        w->key_box->setText(u8(" 東京都 "));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        QCOMPARE(w->key_box->text(), u8("東京"));
        QCOMPARE(w->guidance_box->text(), search_texts::option_prompts[0]);
        QCOMPARE(QAccessible::queryAccessibleInterface(w->key_box)->text(QAccessible::Name),
                 search_texts::criteria_caption);
        QCOMPARE(test::announced(w), QString());
        QVERIFY(a.forms.loaded<ResultsWindow>());
        QCOMPARE(a.st.search.state().search_key, u8("東京"));
    }

    void enter_checks_and_moves_to_the_start_button() {
        App a;
        auto* w = a.search();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->key_box->setFocus();
        w->key_box->setText(u8("千葉県"));
        QTest::keyClick(w->key_box, Qt::Key_Return);
        QCOMPARE(w->key_box->text(), u8("千葉"));
        QCOMPARE(w->guidance_box->text(), QString());
        QVERIFY(w->search_button->hasFocus());
        QVERIFY(!a.forms.loaded<ResultsWindow>()); // Enter does not start the search
        QCOMPARE(a.st.search.state().search_key, QString());
        QCOMPARE(a.st.settings.prefecture_history(1), u8("千葉"));
        QVERIFY(w->picker_button->isHidden());

        w->key_box->setFocus();
        QVERIFY(w->picker_button->isVisible()); // prefecture criterion with the entry focused
        w->key_box->setText(u8("どこか"));
        QTest::keyClick(w->key_box, Qt::Key_Enter);
        QCOMPARE(w->guidance_box->text(), search_entry_error());
        QVERIFY(w->key_box->hasFocus());
        w->hotel_name_option->setChecked(true);
        w->key_box->setFocus();
        QVERIFY(w->picker_button->isHidden());
        w->key_box->setText(QStringLiteral("   "));
        QTest::keyClick(w->key_box, Qt::Key_J, Qt::ControlModifier); // line feed
        QVERIFY(w->search_button->hasFocus());
    }

    // A "¥" typed into the entry is the data's yen sign, so it finds the yen sign of a remark.
    void typed_yen_sign_is_the_data_yen_sign() {
        DbSource src = test::small_source();
        src.hotels[1].note = u8("夕食\\800");
        App a(src);
        auto* w = a.search();
        w->keyword_option->setChecked(true);
        w->key_box->clear();
        QTest::keyClicks(w->key_box, u8("¥800"));
        QCOMPARE(w->key_box->text(), u8("\\800"));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        auto* r = a.forms.loaded<ResultsWindow>();
        QVERIFY(r);
        QCOMPARE(a.st.search.state().search_key, u8("￥８００"));
        QCOMPARE(a.st.search.state().sel_count, Integer(1));
        QCOMPARE(r->model->cell_text(1, 1), u8("ホテル京橋"));
    }

    // Only half-width blanks around a prefecture are passed over.
    void full_width_blank_around_a_prefecture_is_refused() {
        App a;
        auto* w = a.search();
        for (const char* entry : {"東京　", "　東京都"}) {
            w->key_box->setText(u8(entry));
            QTest::mouseClick(w->search_button, Qt::LeftButton);
            QCOMPARE(w->guidance_box->text(), search_entry_error());
            QVERIFY(!a.forms.loaded<ResultsWindow>());
        }
    }

    void histories_move_to_the_front() {
        App a;
        const EntryHistory& h = a.st.settings.prefecture_history;
        const auto fill = [&](const QStringList& newest_first) {
            for (qsizetype k = newest_first.size() - 1; k >= 0; --k)
                a.st.settings_store.add_history(SearchType::prefecture, newest_first[k]);
        };
        fill({u8("東京"), u8("千葉"), u8("北海道")});
        a.run(1, u8("北海道"));
        QCOMPARE(QStringList({h(1), h(2), h(3), h(4), h(5)}),
                 QStringList({u8("北海道"), u8("東京"), u8("千葉"), "", ""}));
        fill({u8("北海道"), u8("東京"), u8("千葉"), "a", "b"});
        a.forms.loaded<ResultsWindow>()->close_window();
        a.run(1, u8("千葉"));
        a.forms.loaded<ResultsWindow>()->close_window();
        QCOMPARE(QStringList({h(1), h(2), h(3), h(4), h(5)}),
                 QStringList({u8("千葉"), u8("北海道"), u8("東京"), "a", "b"}));
        // A new entry pushes the oldest out of slot 5.
        fill({"x1", "x2", "x3", "x4", "x5"});
        a.run(1, u8("東京"));
        QCOMPARE(QStringList({h(1), h(2), h(3), h(4), h(5)}),
                 QStringList({u8("東京"), "x1", "x2", "x3", "x4"}));
        QCOMPARE(a.st.settings.airport_history(1), QString()); // untouched by a prefecture search
        a.forms.loaded<ResultsWindow>()->close_window();
        a.run(2, u8("東京／成田"));
        QCOMPARE(a.st.settings.airport_history(1), u8("東京／成田"));
        QCOMPARE(h(1), u8("東京"));
    }

    void each_search_clears_the_narrowing() {
        App a;
        a.st.search.run({SearchType::keyword, QString(), {u8("a"), u8("b"), u8("c")}}, 1);
        QVERIFY(a.run(3, u8("ホテル")));
        QCOMPARE(a.st.search.state().narrow_count, Integer(0));
    }

    // The user's hotels join the table when the window opens, and again only after they changed.
    void user_hotels_join_once() {
        App a;
        EditFields mine{{{}, u8("東京"), {}, {}, u8("マイホテル")}};
        a.st.directory.add_user_hotel(mine);
        a.search();
        QCOMPARE(a.st.db.hotel_count, Integer(7));
        QCOMPARE(a.st.user.user_copied_flg, Integer(1));
        QVERIFY(a.run(3, u8("マイホテル")));
        QCOMPARE(a.st.search.state().sel_count, Integer(1));
        QCOMPARE(a.st.search.state().sel_hotel(1), Integer(7));
        a.forms.loaded<ResultsWindow>()->close_window();

        // Reopened with nothing changed: the table is not written again.
        a.forms.loaded<SearchConditionsWindow>()->close_window();
        a.search();
        QCOMPARE(a.st.db.hotel_name(7), u8("マイホテル"));
        QCOMPARE(a.st.db.hotel_count, Integer(7));

        // Reopened after a change: the hotel joins as it now is, in the same place.
        mine[4] = u8("別のホテル");
        a.st.directory.replace_user_hotel(1, mine);
        a.forms.loaded<SearchConditionsWindow>()->close_window();
        a.search();
        QCOMPARE(a.st.db.hotel_name(7), u8("別のホテル"));
        QCOMPARE(a.st.db.hotel_count, Integer(7));
        QCOMPARE(a.st.user.user_copied_flg, Integer(1));
    }

    // A full hotel table leaves user hotels out of the searches: the user is told how many.
    void user_hotels_left_out_are_told() {
        App a;
        a.st.directory.load([](HotelTables& t) { t.hotel_count_db = 14999; });
        for (int i = 0; i < 3; ++i) a.st.directory.add_user_hotel({});
        QVERIFY(a.search());
        QCOMPARE(a.pf.messages.size(), 1);
        QVERIFY2(a.pf.messages[0].text.contains(u8("うち2件")), qPrintable(a.pf.messages[0].text));
        QCOMPARE(a.pf.messages[0].title, search_texts::caution_title);
    }

    void esc_and_end_button_save_the_position() {
        App a;
        auto* w = a.search();
        w->move(150, 90);
        QTest::keyClick(w->airport_option, Qt::Key_Escape);
        QVERIFY(!a.forms.loaded<SearchConditionsWindow>());
        QCOMPARE(a.st.settings.search_conditions_window.left, Integer(2250));
        QCOMPARE(a.st.settings.search_conditions_window.top, Integer(1350));
        w = a.search();
        QCOMPARE(w->pos(), QPoint(150, 90));
        w->move(30, 30);
        QTest::mouseClick(w->close_button, Qt::LeftButton);
        QCOMPARE(a.st.settings.search_conditions_window.left, Integer(450));
    }

    void heading_per_criterion_and_count() {
        App a;
        struct Case {
            int option;
            const char* entry;
            const char* heading;
        } cases[] = {{1, "東京", "都道府県別検索：東京 地区 (4件)"},
                     {2, "東京／成田", "空港別検索：東京／成田 空港 (3件)"},
                     {3, "ホテル", "ホテル名検索：ホテル (6件)"},
                     {4, "新宿", "地区名検索：新宿 (2件)"},
                     {5, "ＪＲ", "最寄り駅名検索：ＪＲ (3件)"},
                     {6, "lan", "フリーキーワード検索：ｌａｎ (0件)"},
                     {6, "LAN", "フリーキーワード検索：ＬＡＮ (1件)"}};
        for (const Case& c : cases) {
            auto* r = a.run(c.option, u8(c.entry));
            if (QByteArray(c.heading).contains("(0件)")) {
                QVERIFY(!r);
                continue;
            }
            QVERIFY2(r, c.heading);
            // The airport heading shows the key as searched: the synonym applies only to the scan.
            QCOMPARE(r->heading_button->text(), u8(c.heading));
            QCOMPARE(r->model->rowCount(), a.st.search.state().sel_count);
        }
    }

    void empty_result_shows_the_message_and_closes() {
        App a;
        QVERIFY(!a.run(3, u8("存在しないホテル")));
        QCOMPARE(a.pf.messages.size(), 1);
        QCOMPARE(a.pf.messages[0].text, results_texts::no_hits_message);
        QCOMPARE(a.pf.messages[0].title, results_texts::error_title);
        QCOMPARE(a.pf.messages[0].icon, MsgIcon::Exclamation);
        QCOMPARE(a.pf.messages[0].buttons, MsgButtons::Ok);
        QVERIFY(!a.forms.loaded<ResultsWindow>());
        QVERIFY(!a.forms.loaded<ProgressWindow>());
        QVERIFY(a.forms.loaded<SearchConditionsWindow>());
    }

    void grid_cells_colours_and_marks() {
        App a;
        auto* r = a.run(1, u8("東京"));
        QVERIFY(r);
        // Loc order: 新宿ビジネスホテル has no airport and comes first.
        QCOMPARE(r->model->cell_text(1, 1), u8("新宿ビジネスホテル"));
        QCOMPARE(r->model->cell_text(2, 1), u8("新宿グランドホテル"));
        QCOMPARE(r->model->cell_text(2, 0), u8("新宿"));
        QCOMPARE(r->model->cell_text(2, 3), QStringLiteral("120"));
        QCOMPARE(r->model->data(r->model->index(1, 5), Qt::DisplayRole).toString(), u8("¥9,500"));
        QCOMPARE(r->model->cell_text(4, 3), u8("約60"));
        QCOMPARE(r->model->data(r->model->index(0, 0), Qt::BackgroundRole).value<QColor>(),
                 QColor(Qt::white));
        QCOMPARE(r->model->data(r->model->index(1, 6), Qt::BackgroundRole).value<QColor>(),
                 QColor(255, 215, 0));
        QCOMPARE(r->model->data(r->model->index(2, 2), Qt::BackgroundRole).value<QColor>(),
                 QColor(Qt::white));
        QCOMPARE(r->model->heading(0), results_texts::column_headings[0]);
        QCOMPARE(r->model->heading(5), results_texts::column_headings[5]);
        QVERIFY(!r->information_button->isEnabled());
        QVERIFY(!r->reserve_button->isEnabled());
        QCOMPARE(r->sample_label->palette().color(QPalette::Window), QColor(255, 215, 0));

        QHeaderView* header = r->hits_grid->horizontalHeader();
        const char* marked[] = {"▼ 地区", "▼ ホテル名",    "▼ 電話番号", "▼ 部屋数",
                                nullptr,  "▼ 料金(ｼﾝｸﾞﾙ)", nullptr};
        for (int c : {1, 0, 2, 3, 5, 4, 6}) {
            emit header->sectionDoubleClicked(c);
            for (int k = 0; k < 7; ++k) {
                const bool mark = k == c && marked[c];
                QCOMPARE(r->model->heading(k).startsWith(u8("▼ ")), mark);
            }
            QVERIFY(r->hits_grid->isVisible());
        }
        // Columns 4 and 6 restore the default order.
        QCOMPARE(a.st.search.ordering(), ordering_name(Ordering::ken));
        QCOMPARE(r->model->cell_text(1, 1), u8("新宿ビジネスホテル"));
        emit header->sectionDoubleClicked(5);
        QCOMPARE(r->model->cell_text(1, 5), u8("8,000円"));
        QCOMPARE(r->model->cell_text(4, 5), u8("9500円～"));
        QCOMPARE(r->heading_button->text(), u8("都道府県別検索：東京 地区 (4件)"));
        // A double-click below the first row does nothing.
        r->hits_grid->setCurrentIndex(r->model->index(2, 1));
        r->resort_by_current_column();
        QCOMPARE(a.st.search.ordering(), ordering_name(Ordering::price));
    }

    void row_heights_by_capacity() {
        DbSource src = test::small_source();
        src.hotels.resize(1);
        auto& base = src.hotels[0];
        base.access.clear();
        base.note.clear();
        base.tel.clear();
        base.price.clear();
        src.hotels[0].name = QString(12, QChar(0x3042)); // exactly the capacity of 2160 twips
        src.hotels << src.hotels[0];
        src.hotels[1].name += QChar(0x3042); // one more
        src.hotels << src.hotels[0];
        src.hotels[2].name = QString(12 * 5, QChar(0x3042)); // five lines
        src.hotels << src.hotels[0];
        src.hotels[3].rooms = QStringLiteral("0");
        src.hotels[3].name = QString(12 * 4, QChar(0x3042));
        App a(src);
        a.st.settings_store.set_column_width(1, 2160 + 179);
        auto* r = a.run(3, u8("あ"));
        QVERIFY(r);
        QCOMPARE(results_capacity(1, 2339), 12);
        QCOMPARE(results_capacity(2, 179), 1);
        QCOMPARE(line_count(5, 0), 1);
        QList<int> heights;
        for (int row = 1; row <= 4; ++row) heights << r->row_height_twips(row);
        // Equal locations: ordered by name, the shorter first.
        QCOMPARE(heights, QList<int>({225, 405, 765, 945}));
        QCOMPARE(r->hits_grid->rowHeight(1), twips_to_px(405));
        QVERIFY(r->hits_grid->wordWrap());
        QCOMPARE(r->model->cell_text(3, 3), QString()); // rooms 0 shows empty
        QCOMPARE(r->model->cell_text(1, 3), QStringLiteral("120"));
        QCOMPARE(row_height_for(0), 945);
        QCOMPARE(row_height_for(3), 585);
    }

    void narrowing_button_needs_six_districts() {
        for (const int districts : {5, 6}) {
            App a(tokyo_districts(districts));
            auto* r = a.run(1, u8("東京"));
            QVERIFY(r);
            QCOMPARE(r->narrowing_button->text(), results_texts::narrowing_caption);
            QCOMPARE(r->narrowing_button->isEnabled(), districts == 6);
        }
    }

    void resize_rule_and_saved_sizes() {
        App a;
        auto* r = a.run(1, u8("東京"));
        r->show();
        QCOMPARE(r->height_twips(), 5085);
        QCOMPARE(r->width_twips(), 9615);
        QCOMPARE(r->hits_grid->width(), twips_to_px(9495));
        // At the design size the columns share 9095 twips in proportion.
        int sum = 0;
        for (int i = 0; i < 7; ++i) sum += a.st.settings.sv_colwidth(i);
        QVERIFY(sum <= 9095 + 7 * 15);
        QCOMPARE(a.st.settings.sv_colwidth(1) % 15, 0);

        r->set_size_twips(5085 + 1500, 9615 + 3000);
        QCOMPARE(r->hits_grid->height(), twips_to_px(3855 + 1500));
        QCOMPARE(r->hits_grid->width(), twips_to_px(9495 + 3000));
        QCOMPARE(r->close_button->pos(), QPoint(twips_to_px(8700 + 3000), twips_to_px(4320 + 1500)));
        QCOMPARE(r->information_button->pos(), QPoint(twips_to_px(6120 + 3000), twips_to_px(4320 + 1500)));
        QCOMPARE(r->narrowing_button->pos(), QPoint(twips_to_px(60), twips_to_px(4320 + 1500)));
        QCOMPARE(r->remarks_label->pos(), QPoint(twips_to_px(1560), twips_to_px(4320 + 1500)));
        const int wide = a.st.settings.sv_colwidth(1);
        QVERIFY(wide > 2300);
        QCOMPARE(r->hits_grid->columnWidth(1), twips_to_px(wide));

        // Too small: nothing below zero.
        r->set_size_twips(300, 300);
        QVERIFY(r->hits_grid->height() >= 0 && r->hits_grid->width() >= 0);
        r->set_size_twips(5085 + 1500, 9615 + 3000);
        const QList<int> widths = [&] {
            QList<int> w;
            for (int i = 0; i < 7; ++i) w << r->hits_grid->columnWidth(i);
            return w;
        }();
        QTest::mouseClick(r->close_button, Qt::LeftButton);
        QCOMPARE(a.st.settings.sv_height12, Integer(5085 + 1500));
        QCOMPARE(a.st.settings.sv_width12, Integer(9615 + 3000));
        QCOMPARE(a.st.settings.sv_grid1_width12, Integer(9495 + 3000));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        r = a.run(1, u8("東京"));
        r->show();
        QCOMPARE(r->height_twips(), 5085 + 1500);
        for (int i = 0; i < 7; ++i) QCOMPARE(r->hits_grid->columnWidth(i), widths[i]);

        // A zero sum of widths is never divided by: the columns keep their widths, the rest of the
        // rule still runs.
        for (int i = 0; i < 7; ++i) a.st.settings_store.set_column_width(i, 0);
        r->set_size_twips(6000, 9000);
        QCOMPARE(r->hits_grid->height(), twips_to_px(3855 + 6000 - 5085));
        for (int i = 0; i < 7; ++i) QCOMPARE(r->hits_grid->columnWidth(i), widths[i]);
    }

    void a_new_search_reloads_the_open_results() {
        App a;
        auto* first = a.run(1, u8("東京"));
        QVERIFY(first);
        auto* second = a.run(1, u8("北海道"));
        QVERIFY(second);
        QCOMPARE(second->heading_button->text(), u8("都道府県別検索：北海道 地区 (1件)"));
        QCOMPARE(second->model->rowCount(), 1);
    }

    void typical_search_from_the_main_menu() {
        test::RunningProgram p(build_database(test::small_source()));
        auto& forms = p.forms;
        QVERIFY(p.start());
        QTest::mouseClick(forms.loaded<MainMenuWindow>()->search_button, Qt::LeftButton);
        auto* w = forms.loaded<SearchConditionsWindow>();
        QVERIFY(w && w->isVisible());
        w->key_box->setText(u8("東京"));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        auto* r = forms.loaded<ResultsWindow>();
        QVERIFY(r && r->isVisible());
        QCOMPARE(r->heading_button->text(), u8("都道府県別検索：東京 地区 (4件)"));
        QVERIFY(!forms.loaded<ProgressWindow>());
        QVERIFY(w->isVisible());
        QTest::keyClick(r->hits_grid, Qt::Key_Escape);
        QVERIFY(!forms.loaded<ResultsWindow>());
    }
};

QTEST_MAIN(TestSearchWindows)
#include "test_search_windows.moc"
