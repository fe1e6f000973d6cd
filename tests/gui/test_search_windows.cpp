#include "data/database.h"
#include "program/main_menu_window.h"
#include "program/program.h"
#include "results/results_window.h"
#include "search/search_conditions_window.h"
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
        st.settings.max_kensuu = 1000;
        st.settings.sv_pop = 1;
        st.settings.apply_defaults();
    }
    SearchConditionsWindow* search() { return forms.show<SearchConditionsWindow>(); }
    // Types an entry for an option and presses 検索開始.
    ResultsWindow* run(int option, const QString& entry) {
        auto* w = search();
        QRadioButton* options[] = {w->Option1, w->Option2, w->Option3, w->Option4, w->Option5, w->Option6};
        options[option - 1]->setChecked(true);
        w->Text1->setText(entry);
        QTest::mouseClick(w->Command1, Qt::LeftButton);
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
        for (int k = 1; k <= 6; ++k) QTest::addRow("Option%d", k) << k;
    }
    void tab_order_keeps_to_the_checked_option() {
        QFETCH(int, option);
        App app;
        auto* w = app.search();
        QRadioButton* options[] = {w->Option1, w->Option2, w->Option3, w->Option4, w->Option5, w->Option6};
        options[option - 1]->setChecked(true);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        const QList<QWidget*> chain = {w->Text1, options[option - 1], w->Command1, w->Command2, w->Text1};
        w->Text1->setFocus();
        for (int k = 1; k < chain.size(); ++k) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget(), chain[k]);
        }
        QTest::keyClick(w->Text1, Qt::Key_Backtab);
        QTest::keyClick(w->Command2, Qt::Key_Backtab);
        QTest::keyClick(w->Command1, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), options[option - 1]);
    }

    void options_prompts_and_defaults() {
        App a;
        auto* w = a.search();
        QCOMPARE(w->windowTitle(), u8("トマリナホテル情報＆予約"));
        QVERIFY(w->Option1->isChecked());
        QCOMPARE(w->Option6->text(), u8("ﾌﾘｰｷｰﾜｰﾄﾞ（部分一致検索します）"));
        QCOMPARE(w->Text1->text(), u8("福岡"));
        QCOMPARE(w->Text2->text(), u8("都道府県名を入力して下さい"));
        QCOMPARE(w->Frame1->title(), u8("ホテル検索条件"));
        QCOMPARE(w->Frame2->title(), u8("検索方法"));
        QCOMPARE(w->Command1->text(), u8("検索開始"));
        QCOMPARE(w->Command2->text(), u8("検索終了"));
        QVERIFY(w->Command3->isHidden());
        QCOMPARE(a.st.search.state().search_type, SearchType::prefecture);

        w->Option3->setChecked(true);
        QCOMPARE(w->Text1->text(), QString());
        QCOMPARE(w->Text2->text(), u8("ホテル名を入力して下さい"));
        // The option is the criterion of the next search; only 検索開始 starts one.
        QCOMPARE(a.st.search.state().search_type, SearchType::prefecture);
        w->Text1->setText(u8("駅前"));
        w->Option6->setChecked(true);
        QCOMPARE(w->Text1->text(), u8("駅前"));
        QCOMPARE(w->Text2->text(), u8("ﾌﾘｰｷｰﾜｰﾄﾞを入力して下さい"));
        a.st.settings.text2_hist(1) = u8("東京／羽田");
        w->Option2->setChecked(true);
        QCOMPARE(w->Text1->text(), u8("東京／羽田"));
        QCOMPARE(w->Text2->text(), u8("空港名を入力して下さい"));
        w->Option5->setChecked(true);
        QCOMPARE(w->Text2->text(), u8("最寄り駅名を入力して下さい"));
        w->Option4->setChecked(true);
        QCOMPARE(w->Text2->text(), u8("地区名を入力して下さい"));
    }

    void entry_check_and_its_message() {
        App a;
        auto* w = a.search();
        w->Text1->setText(u8("大阪"));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(w->Text2->text(), u8("検索条件の入力エラーです"));
        QVERIFY(!a.forms.loaded<ResultsWindow>());
        QVERIFY(a.pf.messages.isEmpty());
        // A screen reader hears the refusal: the entry box keeps its name and says the refusal before
        // the prompt while it stands, and it is announced at once, every time.
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Text1)->text(QAccessible::Name),
                 u8("ホテル検索条件"));
        QCOMPARE(w->Text1->accessibleDescription(),
                 u8("検索条件の入力エラーです\n都道府県名を入力して下さい"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Text2)->text(QAccessible::Name), u8("案内"));
        QCOMPARE(test::announced(w), u8("検索条件の入力エラーです"));
        w->findChild<QWidget*>(QStringLiteral("announcement"))->hide();
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(test::announced(w), u8("検索条件の入力エラーです"));
        // An empty entry only takes the focus back.
        w->Text1->clear();
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(w->Text2->text(), u8("検索条件の入力エラーです"));
        QVERIFY(!a.forms.loaded<ResultsWindow>());
        // The other name with blanks is accepted and replaced by the table's name.
        w->Text1->setText(u8(" 東京都 "));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(w->Text1->text(), u8("東京"));
        QCOMPARE(w->Text2->text(), u8("都道府県名を入力して下さい"));
        QCOMPARE(QAccessible::queryAccessibleInterface(w->Text1)->text(QAccessible::Name),
                 u8("ホテル検索条件"));
        QCOMPARE(test::announced(w), QString());
        QVERIFY(a.forms.loaded<ResultsWindow>());
        QCOMPARE(a.st.search.state().search_key, u8("東京"));
    }

    void enter_checks_and_moves_to_the_start_button() {
        App a;
        auto* w = a.search();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->Text1->setFocus();
        w->Text1->setText(u8("千葉県"));
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QCOMPARE(w->Text1->text(), u8("千葉"));
        QCOMPARE(w->Text2->text(), QString());
        QVERIFY(w->Command1->hasFocus());
        QVERIFY(!a.forms.loaded<ResultsWindow>()); // Enter does not start the search
        QCOMPARE(a.st.search.state().search_key, QString());
        QCOMPARE(a.st.settings.text1_hist(1), u8("千葉"));
        QVERIFY(w->Command3->isHidden());

        w->Text1->setFocus();
        QVERIFY(w->Command3->isVisible()); // prefecture criterion with the entry focused
        w->Text1->setText(u8("どこか"));
        QTest::keyClick(w->Text1, Qt::Key_Enter);
        QCOMPARE(w->Text2->text(), u8("検索条件の入力エラーです"));
        QVERIFY(w->Text1->hasFocus());
        w->Option3->setChecked(true);
        w->Text1->setFocus();
        QVERIFY(w->Command3->isHidden());
        w->Text1->setText(QStringLiteral("   "));
        QTest::keyClick(w->Text1, Qt::Key_J, Qt::ControlModifier); // line feed
        QVERIFY(w->Command1->hasFocus());
    }

    // A "¥" typed into the entry is the data's yen sign, so it finds the yen sign of a remark.
    void typed_yen_sign_is_the_data_yen_sign() {
        DbSource src = test::small_source();
        src.hotels[1].note = u8("夕食\\800");
        App a(src);
        auto* w = a.search();
        w->Option6->setChecked(true);
        w->Text1->clear();
        QTest::keyClicks(w->Text1, u8("¥800"));
        QCOMPARE(w->Text1->text(), u8("\\800"));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
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
            w->Text1->setText(u8(entry));
            QTest::mouseClick(w->Command1, Qt::LeftButton);
            QCOMPARE(w->Text2->text(), u8("検索条件の入力エラーです"));
            QVERIFY(!a.forms.loaded<ResultsWindow>());
        }
    }

    void histories_move_to_the_front() {
        App a;
        auto& h = a.st.settings.text1_hist;
        h(1) = u8("東京");
        h(2) = u8("千葉");
        h(3) = u8("北海道");
        a.run(1, u8("北海道"));
        QCOMPARE(QStringList({h(1), h(2), h(3), h(4), h(5)}),
                 QStringList({u8("北海道"), u8("東京"), u8("千葉"), "", ""}));
        h(4) = u8("a");
        h(5) = u8("b");
        a.forms.loaded<ResultsWindow>()->close_window();
        a.run(1, u8("千葉"));
        a.forms.loaded<ResultsWindow>()->close_window();
        QCOMPARE(QStringList({h(1), h(2), h(3), h(4), h(5)}),
                 QStringList({u8("千葉"), u8("北海道"), u8("東京"), "a", "b"}));
        // A new entry pushes the oldest out of slot 5.
        h(1) = u8("x1");
        h(2) = u8("x2");
        h(3) = u8("x3");
        h(4) = u8("x4");
        h(5) = u8("x5");
        a.run(1, u8("東京"));
        QCOMPARE(QStringList({h(1), h(2), h(3), h(4), h(5)}),
                 QStringList({u8("東京"), "x1", "x2", "x3", "x4"}));
        QCOMPARE(a.st.settings.text2_hist(1), QString()); // untouched by a prefecture search
        a.forms.loaded<ResultsWindow>()->close_window();
        a.run(2, u8("東京／成田"));
        QCOMPARE(a.st.settings.text2_hist(1), u8("東京／成田"));
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
        QCOMPARE(a.pf.messages[0].title, u8("注意メッセージ"));
    }

    void esc_and_end_button_save_the_position() {
        App a;
        auto* w = a.search();
        w->move(150, 90);
        QTest::keyClick(w->Option2, Qt::Key_Escape);
        QVERIFY(!a.forms.loaded<SearchConditionsWindow>());
        QCOMPARE(a.st.settings.search_conditions_window.left, Integer(2250));
        QCOMPARE(a.st.settings.search_conditions_window.top, Integer(1350));
        w = a.search();
        QCOMPARE(w->pos(), QPoint(150, 90));
        w->move(30, 30);
        QTest::mouseClick(w->Command2, Qt::LeftButton);
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
            QCOMPARE(r->Command1->text(), u8(c.heading));
            QCOMPARE(r->model->rowCount(), a.st.search.state().sel_count);
        }
    }

    void empty_result_shows_the_message_and_closes() {
        App a;
        QVERIFY(!a.run(3, u8("存在しないホテル")));
        QCOMPARE(a.pf.messages.size(), 1);
        QCOMPARE(a.pf.messages[0].text, u8("ホテルデータなし"));
        QCOMPARE(a.pf.messages[0].title, u8("エラーメッセージ"));
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
        QCOMPARE(r->model->heading(0), u8("地区"));
        QCOMPARE(r->model->heading(5), u8("料金(ｼﾝｸﾞﾙ)"));
        QVERIFY(!r->Command4->isEnabled());
        QVERIFY(!r->Command5->isEnabled());
        QCOMPARE(r->Label1->text(),
                 u8("備考(評価)は作者の個人的な評価です。\r\n公的機関の評価ではありません。ご留意下さい。"));
        QCOMPARE(r->Label2->text(), u8("のホテルはインターネット情報検索、予約が行えます"));
        QCOMPARE(r->Label3->palette().color(QPalette::Window), QColor(255, 215, 0));

        QHeaderView* header = r->MSFlexGrid1->horizontalHeader();
        const char* marked[] = {"▼ 地区", "▼ ホテル名",    "▼ 電話番号", "▼ 部屋数",
                                nullptr,  "▼ 料金(ｼﾝｸﾞﾙ)", nullptr};
        for (int c : {1, 0, 2, 3, 5, 4, 6}) {
            emit header->sectionDoubleClicked(c);
            for (int k = 0; k < 7; ++k) {
                const bool mark = k == c && marked[c];
                QCOMPARE(r->model->heading(k).startsWith(u8("▼ ")), mark);
            }
            QVERIFY(r->MSFlexGrid1->isVisible());
        }
        // Columns 4 and 6 restore the default order.
        QCOMPARE(a.st.search.ordering(), ordering_name(Ordering::ken));
        QCOMPARE(r->model->cell_text(1, 1), u8("新宿ビジネスホテル"));
        emit header->sectionDoubleClicked(5);
        QCOMPARE(r->model->cell_text(1, 5), u8("8,000円"));
        QCOMPARE(r->model->cell_text(4, 5), u8("9500円～"));
        QCOMPARE(r->Command1->text(), u8("都道府県別検索：東京 地区 (4件)"));
        // A double-click below the first row does nothing.
        r->MSFlexGrid1->setCurrentIndex(r->model->index(2, 1));
        r->MSFlexGrid1_DblClick();
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
        a.st.settings.sv_colwidth(1) = 2160 + 179;
        auto* r = a.run(3, u8("あ"));
        QVERIFY(r);
        QCOMPARE(results_capacity(1, 2339), 12);
        QCOMPARE(results_capacity(2, 179), 1);
        QCOMPARE(line_count(5, 0), 1);
        QList<int> heights;
        for (int row = 1; row <= 4; ++row) heights << r->row_height_twips(row);
        // Equal locations: ordered by name, the shorter first.
        QCOMPARE(heights, QList<int>({225, 405, 765, 945}));
        QCOMPARE(r->MSFlexGrid1->rowHeight(1), twips_to_px(405));
        QVERIFY(r->MSFlexGrid1->wordWrap());
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
            QCOMPARE(r->Command3->text(), u8("地区の絞り込み"));
            QCOMPARE(r->Command3->isEnabled(), districts == 6);
        }
    }

    void resize_rule_and_saved_sizes() {
        App a;
        auto* r = a.run(1, u8("東京"));
        r->show();
        QCOMPARE(r->height_twips(), 5085);
        QCOMPARE(r->width_twips(), 9615);
        QCOMPARE(r->MSFlexGrid1->width(), twips_to_px(9495));
        // At the design size the columns share 9095 twips in proportion.
        int sum = 0;
        for (int i = 0; i < 7; ++i) sum += a.st.settings.sv_colwidth(i);
        QVERIFY(sum <= 9095 + 7 * 15);
        QCOMPARE(a.st.settings.sv_colwidth(1) % 15, 0);

        r->set_size_twips(5085 + 1500, 9615 + 3000);
        QCOMPARE(r->MSFlexGrid1->height(), twips_to_px(3855 + 1500));
        QCOMPARE(r->MSFlexGrid1->width(), twips_to_px(9495 + 3000));
        QCOMPARE(r->Command2->pos(), QPoint(twips_to_px(8700 + 3000), twips_to_px(4320 + 1500)));
        QCOMPARE(r->Command4->pos(), QPoint(twips_to_px(6120 + 3000), twips_to_px(4320 + 1500)));
        QCOMPARE(r->Command3->pos(), QPoint(twips_to_px(60), twips_to_px(4320 + 1500)));
        QCOMPARE(r->Label1->pos(), QPoint(twips_to_px(1560), twips_to_px(4320 + 1500)));
        const int wide = a.st.settings.sv_colwidth(1);
        QVERIFY(wide > 2300);
        QCOMPARE(r->MSFlexGrid1->columnWidth(1), twips_to_px(wide));

        // Too small: nothing below zero.
        r->set_size_twips(300, 300);
        QVERIFY(r->MSFlexGrid1->height() >= 0 && r->MSFlexGrid1->width() >= 0);
        r->set_size_twips(5085 + 1500, 9615 + 3000);
        const QList<int> widths = [&] {
            QList<int> w;
            for (int i = 0; i < 7; ++i) w << r->MSFlexGrid1->columnWidth(i);
            return w;
        }();
        QTest::mouseClick(r->Command2, Qt::LeftButton);
        QCOMPARE(a.st.settings.sv_height12, Integer(5085 + 1500));
        QCOMPARE(a.st.settings.sv_width12, Integer(9615 + 3000));
        QCOMPARE(a.st.settings.sv_grid1_width12, Integer(9495 + 3000));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        r = a.run(1, u8("東京"));
        r->show();
        QCOMPARE(r->height_twips(), 5085 + 1500);
        for (int i = 0; i < 7; ++i) QCOMPARE(r->MSFlexGrid1->columnWidth(i), widths[i]);

        // A zero sum of widths is never divided by: the columns keep their widths, the rest of the
        // rule still runs.
        for (int i = 0; i < 7; ++i) a.st.settings.sv_colwidth(i) = 0;
        r->set_size_twips(6000, 9000);
        QCOMPARE(r->MSFlexGrid1->height(), twips_to_px(3855 + 6000 - 5085));
        for (int i = 0; i < 7; ++i) QCOMPARE(r->MSFlexGrid1->columnWidth(i), widths[i]);
    }

    void a_new_search_reloads_the_open_results() {
        App a;
        auto* first = a.run(1, u8("東京"));
        QVERIFY(first);
        auto* second = a.run(1, u8("北海道"));
        QVERIFY(second);
        QCOMPARE(second->Command1->text(), u8("都道府県別検索：北海道 地区 (1件)"));
        QCOMPARE(second->model->rowCount(), 1);
    }

    void typical_search_from_the_main_menu() {
        test::RunningProgram p(build_database(test::small_source()));
        auto& forms = p.forms;
        QVERIFY(p.start());
        QTest::mouseClick(forms.loaded<MainMenuWindow>()->Command1, Qt::LeftButton);
        auto* w = forms.loaded<SearchConditionsWindow>();
        QVERIFY(w && w->isVisible());
        w->Text1->setText(u8("東京"));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        auto* r = forms.loaded<ResultsWindow>();
        QVERIFY(r && r->isVisible());
        QCOMPARE(r->Command1->text(), u8("都道府県別検索：東京 地区 (4件)"));
        QVERIFY(!forms.loaded<ProgressWindow>());
        QVERIFY(w->isVisible());
        QTest::keyClick(r->MSFlexGrid1, Qt::Key_Escape);
        QVERIFY(!forms.loaded<ResultsWindow>());
    }
};

QTEST_MAIN(TestSearchWindows)
#include "test_search_windows.moc"
