#include "data/database.h"
#include "maintenance/hotel_edit_window.h"
#include "search/list_rows.h"
#include "search/picker_window.h"
#include "search/search_conditions_window.h"
#include "search/search_texts.h"
#include "search/tab_stop_list.h"
#include "support/fake_platform.h"
#include "support/gui_support.h"
#include "support/test_support.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

struct Picking {
    AppState st;
    FakePlatform pf;
    test::WiredForms forms{st, pf};
    explicit Picking(const DbSource& src = test::small_source()) {
        st.directory.load([&](HotelTables& t) { Loader(t, build_database(src)).load_all(); });
        st.settings_store.load({});
    }
    // The search window with a criterion chosen, and the picker opened from its entry.
    PickerWindow* from_search(int option) {
        auto* w = forms.show<SearchConditionsWindow>();
        (option == 1 ? w->prefecture_option : w->airport_option)->setChecked(true);
        QTest::mouseDClick(w->key_box, Qt::LeftButton);
        return forms.loaded<PickerWindow>();
    }
    SearchConditionsWindow* search() { return forms.loaded<SearchConditionsWindow>(); }
};

void click_row(QListWidget* list, int row, bool twice = false) {
    const QPoint at = list->visualItemRect(list->item(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
}

int checked_option(const PickerWindow* p) {
    for (int k = 1; k <= 10; ++k)
        if (p->area_options[std::size_t(k)]->isChecked()) return k;
    return 0;
}

} // namespace

class TestPickerWindow : public QObject {
    Q_OBJECT
  private slots:
    void opens_in_prefecture_mode_from_the_entry() {
        Picking a;
        PickerWindow* p = a.from_search(1);
        QVERIFY(p);
        QVERIFY(p->isVisible());
        QCOMPARE(p->opener(), a.search());
        QCOMPARE(p->windowTitle(), app_title);
        QCOMPARE(p->area_options[10]->text(), u8("全国"));
        QCOMPARE(p->area_options[1]->text(), u8("北海道"));
        QCOMPARE(p->area_options[2]->text(), u8("関東"));
        QCOMPARE(p->area_options[3]->text(), QString());
        for (int k = 1; k <= 10; ++k) QVERIFY(p->area_options[std::size_t(k)]->isEnabled());
        QCOMPARE(p->names_frame->title(), search_texts::prefecture_frame);
        QCOMPARE(p->heading_button->text(), search_texts::prefecture_heading);
        QCOMPARE(p->guidance_box->toPlainText(), search_texts::prefecture_guidance);
        QVERIFY(!p->guidance_box->isEnabled());
        QVERIFY(!p->undo_button->isEnabled());
        QVERIFY(!p->confirm_button->isEnabled());
        QCOMPARE(checked_option(p), 10);
        QCOMPARE(row_texts(p->name_list),
                 QStringList({u8("北海道\t\t1件"), u8("東京\t\t4件"), u8("千葉\t\t1件")}));
        QVERIFY(!p->name_list->accessibleName().isEmpty());

        p->area_options[2]->click();
        QCOMPARE(row_texts(p->name_list), QStringList({u8("東京\t\t4件"), u8("千葉\t\t1件")}));
        QCOMPARE(a.st.settings.control1_flg, Integer(2));
        p->area_options[3]->click(); // an area without prefectures
        QCOMPARE(p->name_list->count(), 0);
    }

    void choosing_writes_into_the_search_entry() {
        Picking a;
        PickerWindow* p = a.from_search(1);
        QVERIFY(QTest::qWaitForWindowExposed(p));
        click_row(p->name_list, 2);
        QVERIFY(p->confirm_button->isEnabled());
        const auto before = a.st.settings.picker_window;
        p->move(p->pos() + QPoint(40, 30));
        QTest::mouseClick(p->confirm_button, Qt::LeftButton);
        QCOMPARE(a.search()->key_box->text(), u8("千葉"));
        QCOMPARE(a.search()->focusWidget(), a.search()->search_button);
        QCOMPARE(a.st.settings.prefecture_history(1), u8("千葉"));
        QVERIFY(!a.forms.loaded<PickerWindow>());
        // The confirming path does not keep the position.
        QCOMPARE(a.st.settings.picker_window.top, before.top);
        QCOMPARE(a.st.settings.picker_window.left, before.left);
    }

    void airport_mode_keeps_the_synonym_and_its_own_area() {
        Picking a;
        a.st.settings_store.set(&Settings::control1_flg, 2);
        a.st.settings_store.set(&Settings::control2_flg, 4);
        PickerWindow* p = a.from_search(2);
        QCOMPARE(p->area_options[10]->text(), QStringView(directory_words::area_titles[0]).toString());
        QCOMPARE(p->area_options[3]->text(), QStringView(directory_words::area_titles[3]).toString());
        QCOMPARE(p->names_frame->title(), search_texts::airport_frame);
        QCOMPARE(p->heading_button->text(), search_texts::airport_heading);
        QCOMPARE(p->guidance_box->toPlainText(), search_texts::airport_guidance);
        QCOMPARE(checked_option(p), 4);
        QCOMPARE(row_texts(p->name_list), QStringList({u8("東京／羽田\t3件"), u8("東京／成田\t1件")}));
        p->area_options[1]->click();
        QCOMPARE(a.st.settings.control2_flg, Integer(1));
        QCOMPARE(a.st.settings.control1_flg, Integer(2)); // the prefecture mode's area is its own
        p->area_options[4]->click();
        QVERIFY(QTest::qWaitForWindowExposed(p));
        click_row(p->name_list, 1, true); // double click
        QCOMPARE(a.search()->key_box->text(), u8("東京／成田"));
        // The focus has gone on: the box is heard with what filled it.
        QCOMPARE(test::announced(a.search()), search_texts::criteria_caption + u' ' + u8("東京／成田"));
        QCOMPARE(a.st.settings.airport_history(1), u8("東京／成田"));
        QCOMPARE(a.st.settings.prefecture_history(1), QString());
        QVERIFY(!a.forms.loaded<PickerWindow>());
    }

    void an_area_out_of_range_selects_nothing() {
        Picking a;
        a.st.settings_store.set(&Settings::control1_flg, 12);
        PickerWindow* p = a.from_search(1);
        QCOMPARE(checked_option(p), 0);
        QCOMPARE(p->name_list->count(), 0);
        QCOMPARE(a.st.settings.control1_flg, Integer(12));
        QTest::mouseClick(p->confirm_button, Qt::LeftButton); // disabled: nothing happens
        QVERIFY(a.forms.loaded<PickerWindow>());
    }

    void double_click_on_the_empty_part_writes_nothing() {
        Picking a;
        PickerWindow* p = a.from_search(1);
        QVERIFY(QTest::qWaitForWindowExposed(p));
        const QString entry = a.search()->key_box->text();
        click_row(p->name_list, 0);
        const QPoint below =
            p->name_list->visualItemRect(p->name_list->item(2)).bottomLeft() + QPoint(10, 30);
        QVERIFY(p->name_list->viewport()->rect().contains(below));
        QTest::mouseDClick(p->name_list->viewport(), Qt::LeftButton, {}, below);
        QCOMPARE(a.search()->key_box->text(), entry);
        QCOMPARE(a.st.settings.prefecture_history(1), QString());
        QVERIFY(a.forms.loaded<PickerWindow>());
    }

    void cancel_and_esc_close_without_a_choice() {
        Picking a;
        a.search();
        PickerWindow* p = a.from_search(1);
        const QString entry = a.search()->key_box->text();
        click_row(p->name_list, 1);
        p->move(twips_to_px(1500), twips_to_px(900));
        QTest::mouseClick(p->close_button, Qt::LeftButton);
        QVERIFY(!a.forms.loaded<PickerWindow>());
        QCOMPARE(a.search()->key_box->text(), entry);
        QCOMPARE(a.st.settings.picker_window.left, Integer(1500));
        QCOMPARE(a.st.settings.picker_window.top, Integer(900));

        for (QWidget* (*control)(PickerWindow*) :
             {+[](PickerWindow* w) -> QWidget* { return w->name_list; },
              +[](PickerWindow* w) -> QWidget* { return w->area_options[10]; },
              +[](PickerWindow* w) -> QWidget* { return w->confirm_button; }}) {
            p = a.from_search(1);
            QTest::keyClick(control(p), Qt::Key_Escape);
            QVERIFY(!a.forms.loaded<PickerWindow>());
            QCOMPARE(a.search()->key_box->text(), entry);
        }
    }

    void keyboard_alone_opens_chooses_and_confirms() {
        Picking a;
        auto* w = a.forms.show<SearchConditionsWindow>();
        w->airport_option->setChecked(true);
        QTest::keyClick(w->key_box, Qt::Key_F4);
        PickerWindow* p = a.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QCOMPARE(p->mode(), SearchType::airport);
        p->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p));
        QCOMPARE(p->focusWidget(), p->name_list);
        QTest::keyClick(p->name_list, Qt::Key_Down);
        QVERIFY(p->confirm_button->isEnabled());
        QCOMPARE(p->name_list->selectedItems().size(), 1);
        const QString chosen = picker_name(p->name_list->selectedItems().first()->text());
        QTest::keyClick(p->name_list, Qt::Key_Return);
        QCOMPARE(w->key_box->text(), chosen);
        QVERIFY(!a.forms.loaded<PickerWindow>());
        // The hotel-name criterion has no picker.
        w->hotel_name_option->setChecked(true);
        QTest::keyClick(w->key_box, Qt::Key_F4);
        QTest::mouseDClick(w->key_box, Qt::LeftButton);
        QVERIFY(!a.forms.loaded<PickerWindow>());
    }

    // With no window of the opener's kind open, a pick is written nowhere, not even in the history.
    void a_closed_opener_receives_nothing() {
        Picking a;
        PickerWindow* p = a.from_search(1);
        QTest::mouseClick(a.search()->close_button, Qt::LeftButton); // 検索終了
        QVERIFY(!a.forms.loaded<SearchConditionsWindow>());
        QVERIFY(!p->opener());
        click_row(p->name_list, 0);
        QTest::mouseClick(p->confirm_button, Qt::LeftButton);
        QVERIFY(!a.forms.loaded<PickerWindow>());
        QCOMPARE(a.st.settings.prefecture_history(1), QString());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A pick goes to the window of the opener's kind that is open when it is made: closed and opened
    // again, the new window takes it.
    void a_reopened_opener_receives_the_pick() {
        Picking a;
        PickerWindow* p = a.from_search(1);
        QTest::keyClick(a.search()->key_box, Qt::Key_Escape);
        QVERIFY(!a.forms.loaded<SearchConditionsWindow>());
        auto* again = a.forms.show<SearchConditionsWindow>();
        QCOMPARE(p->opener(), again);
        QTest::keyClick(p->name_list, Qt::Key_Down);
        QTest::keyClick(p->name_list, Qt::Key_Return);
        QVERIFY(!a.forms.loaded<PickerWindow>());
        QCOMPARE(again->key_box->text(), u8("北海道"));
        QCOMPARE(a.st.settings.prefecture_history(1), u8("北海道"));

        auto* edit = a.forms.show<HotelEditWindow>(EditTarget::new_hotel());
        QTest::mouseDClick(edit->airport_box, Qt::LeftButton);
        p = a.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QTest::keyClick(edit->district_box, Qt::Key_Escape);
        QVERIFY(!a.forms.loaded<HotelEditWindow>());
        edit = a.forms.show<HotelEditWindow>(EditTarget::new_hotel());
        QCOMPARE(p->opener(), edit);
        QTest::keyClick(p->name_list, Qt::Key_Down);
        QTest::keyClick(p->name_list, Qt::Key_Return);
        QCOMPARE(edit->airport_box->text(), a.st.db.airport_name(1));
        QCOMPARE(a.st.settings.airport_history(1), a.st.db.airport_name(1));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The edit window's picker is handed its mode and leaves the search window's criterion alone: on
    // ホテル名 the search entry still opens no picker and takes no airport.
    void the_edit_windows_picker_leaves_the_search_alone() {
        Picking a;
        auto* w = a.forms.show<SearchConditionsWindow>();
        w->hotel_name_option->setChecked(true);
        test::commit_text(w->key_box, u8("ホテル"));
        auto* edit = a.forms.show<HotelEditWindow>(EditTarget::new_hotel());
        QTest::mouseDClick(edit->airport_box, Qt::LeftButton);
        PickerWindow* p = a.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QCOMPARE(p->mode(), SearchType::airport);
        QTest::keyClick(p->name_list, Qt::Key_Down);
        QTest::keyClick(p->name_list, Qt::Key_Return);
        QCOMPARE(edit->airport_box->text(), a.st.db.airport_name(1));
        QCOMPARE(a.st.settings.airport_history(1), a.st.db.airport_name(1));

        QTest::mouseDClick(w->key_box, Qt::LeftButton);
        QTest::keyClick(w->key_box, Qt::Key_F4);
        QVERIFY(!a.forms.loaded<PickerWindow>());
        QCOMPARE(w->key_box->text(), u8("ホテル"));
        QCOMPARE(a.st.settings.airport_history(2), QString());
        w->key_box->setFocus();
        QVERIFY(w->picker_button->isHidden());
    }

    void the_edit_window_as_opener() {
        Picking a;
        auto* search = a.forms.show<SearchConditionsWindow>();
        auto* edit = a.forms.show<HotelEditWindow>(EditTarget::new_hotel());
        PickerWindow* p = PickerWindow::open<HotelEditWindow>(a.forms, SearchType::prefecture);
        QCOMPARE(p->opener(), edit);
        QCOMPARE(p->mode(), SearchType::prefecture);
        click_row(p->name_list, 1);
        QTest::mouseClick(p->confirm_button, Qt::LeftButton);
        QCOMPARE(edit->prefecture_box->text(), u8("東京"));
        QCOMPARE(edit->focusWidget(), edit->airport_box);
        QCOMPARE(search->key_box->text(), u8("福岡")); // the search window is not the opener
        // The pick counts in the search window's history too.
        QCOMPARE(a.st.settings.prefecture_history(1), u8("東京"));

        p = PickerWindow::open<HotelEditWindow>(a.forms, SearchType::airport);
        click_row(p->name_list, 3);
        QTest::mouseClick(p->confirm_button, Qt::LeftButton);
        QCOMPARE(edit->airport_box->text(), u8("大阪／伊丹"));
        QCOMPARE(edit->focusWidget(), edit->district_box);
        QCOMPARE(a.st.settings.airport_history(1), u8("大阪／伊丹"));
    }

    void a_second_opener_gets_a_fresh_picker() {
        Picking a;
        auto* edit = a.forms.show<HotelEditWindow>(EditTarget::new_hotel());
        const QString prefecture = edit->prefecture_box->text();
        const QString airport = edit->airport_box->text();
        PickerWindow* airports = PickerWindow::open<HotelEditWindow>(a.forms, SearchType::airport);
        QCOMPARE(airports->mode(), SearchType::airport);
        // The search window asks for prefectures while the airport picker of the edit window is open.
        PickerWindow* p = a.from_search(1);
        QVERIFY(p);
        QCOMPARE(p->mode(), SearchType::prefecture);
        QCOMPARE(p->opener(), a.search());
        click_row(p->name_list, 0);
        QTest::mouseClick(p->confirm_button, Qt::LeftButton);
        QCOMPARE(a.search()->key_box->text(), u8("北海道"));
        QCOMPARE(edit->prefecture_box->text(), prefecture);
        QCOMPARE(edit->airport_box->text(), airport);
    }

    void counts_line_up_in_one_column_data() {
        QTest::addColumn<int>("mode");
        QTest::newRow("prefectures") << 1;
        QTest::newRow("airports") << 2;
    }
    void counts_line_up_in_one_column() {
        QFETCH(int, mode);
        DbSource src;
        QString error;
        QVERIFY2(read_sources(QStringLiteral(TOMARINA_SAMPLE_DIR), src, &error), qPrintable(error));
        Picking a(src);
        PickerWindow* p = a.from_search(mode);
        p->area_options[10]->click();
        QVERIFY(p->name_list->count() >= 40);
        auto* tabs = qobject_cast<TabStopDelegate*>(p->name_list->itemDelegate());
        QVERIFY(tabs);
        const QFont font = p->name_list->font();
        // The counts start at the second stop, 7.5 full-width characters from the left.
        const qreal column = 7.5 * QFontMetricsF(font).horizontalAdvance(QChar(0x56FD));
        for (const QString& row : row_texts(p->name_list)) {
            const QList<qreal> at = tabs->part_positions(row, font);
            QCOMPARE(at.size(), row.count(u'\t') + 1);
            QCOMPARE(at.last(), column);
            // The name ends before the count begins.
            QVERIFY(QFontMetricsF(font).horizontalAdvance(picker_name(row)) < column);
        }
    }
};

QTEST_MAIN(TestPickerWindow)
#include "data/directory_words.h"
#include "test_picker_window.moc"
