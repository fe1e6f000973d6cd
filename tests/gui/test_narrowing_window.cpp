#include "data/database.h"
#include "maintenance/hotel_edit_window.h"
#include "results/results_window.h"
#include "search/narrowing_window.h"
#include "search/picker_window.h"
#include "search/search_conditions_window.h"
#include "search/tab_stop_list.h"
#include "support/fake_platform.h"
#include "support/gui_support.h"
#include "support/test_support.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

// Tokyo with seven districts: hotel k stands in district k, district 3 has a second hotel. Chiba has one.
DbSource seven_districts() {
    DbSource src = test::small_source();
    src.districts.clear();
    src.hotels.clear();
    for (int d = 1; d <= 8; ++d) src.districts << u8("地区") + QString::number(d);
    auto add = [&src](int ken, int district) {
        DbSource::Hotel h;
        h.ken = ken;
        h.airport = 2;
        h.syousai = district;
        h.name = u8("ホテル") + QString::number(src.hotels.size() + 1);
        src.hotels << h;
    };
    for (int d = 1; d <= 7; ++d) add(2, d);
    add(2, 3);
    add(3, 8);
    return src;
}

struct Narrowing {
    AppState st;
    FakePlatform pf;
    test::WiredForms forms{st, pf};
    Narrowing() {
        st.directory.load([&](HotelTables& t) { Loader(t, build_database(seven_districts())).load_all(); });
        st.settings_store.load({});
        st.settings_store.set(&Settings::sv_pop, 0);
    }
    ResultsWindow* search(const QString& prefecture) {
        auto* w = forms.show<SearchConditionsWindow>();
        w->prefecture_option->setChecked(true);
        w->key_box->setText(prefecture);
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        return forms.loaded<ResultsWindow>();
    }
    NarrowingWindow* narrow() {
        auto* r = forms.loaded<ResultsWindow>();
        if (!r || !r->narrowing_button->isEnabled()) return nullptr;
        QTest::mouseClick(r->narrowing_button, Qt::LeftButton);
        return forms.loaded<NarrowingWindow>();
    }
    // The districts of the rows the results window shows.
    QStringList shown() const {
        auto* r = forms.loaded<ResultsWindow>();
        QStringList out;
        if (!r) return out;
        for (int row = 1; row <= r->model->rowCount(); ++row) out << r->model->cell_text(row, 0);
        out.sort();
        return out;
    }
};

QStringList districts(std::initializer_list<int> numbers) {
    QStringList out;
    for (int n : numbers) out << u8("地区") + QString::number(n);
    return out;
}

void select_rows(QListWidget* list, std::initializer_list<int> chosen) {
    bool first = true;
    for (int r : chosen) {
        const QPoint at = list->visualItemRect(list->item(r)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, first ? Qt::NoModifier : Qt::ControlModifier, at);
        first = false;
    }
}

} // namespace

class TestNarrowingWindow : public QObject {
    Q_OBJECT
  private slots:
    void opens_from_the_results_in_place_of_them() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QVERIFY(n);
        QVERIFY(!a.forms.loaded<ResultsWindow>());
        QCOMPARE(n->windowTitle(), app_title);
        QCOMPARE(row_texts(n->offered_list), districts({1, 2, 3, 4, 5, 6, 7}));
        QCOMPARE(n->chosen_list->count(), 0);
        QVERIFY(!n->choose_button->isEnabled());
        QVERIFY(n->choose_all_button->isEnabled());
        QVERIFY(!n->unchoose_button->isEnabled());
        QVERIFY(!n->unchoose_all_button->isEnabled());
        QVERIFY(!n->offered_list->accessibleName().isEmpty());
        QVERIFY(!n->chosen_list->accessibleName().isEmpty());
    }

    void moving_rows_and_the_button_states() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        select_rows(n->offered_list, {3, 1});
        QVERIFY(n->choose_button->isEnabled());
        QTest::mouseClick(n->choose_button, Qt::LeftButton);
        // In the order of the offered list, not of the clicks.
        QCOMPARE(row_texts(n->chosen_list), districts({2, 4}));
        QCOMPARE(row_texts(n->offered_list), districts({1, 3, 5, 6, 7}));
        QVERIFY(!n->choose_button->isEnabled());
        QVERIFY(n->unchoose_all_button->isEnabled());

        select_rows(n->chosen_list, {0});
        QVERIFY(n->unchoose_button->isEnabled());
        QTest::mouseClick(n->unchoose_button, Qt::LeftButton);
        // Back at the end, not at its former place.
        QCOMPARE(row_texts(n->offered_list), districts({1, 3, 5, 6, 7, 2}));
        QCOMPARE(row_texts(n->chosen_list), districts({4}));
        QVERIFY(!n->unchoose_button->isEnabled());

        QTest::mouseClick(n->choose_all_button, Qt::LeftButton);
        QCOMPARE(row_texts(n->chosen_list), districts({4, 1, 3, 5, 6, 7, 2}));
        QCOMPARE(n->offered_list->count(), 0);
        QVERIFY(!n->choose_all_button->isEnabled());
        QVERIFY(n->unchoose_all_button->isEnabled());
        QTest::mouseClick(n->unchoose_all_button, Qt::LeftButton);
        QCOMPARE(row_texts(n->offered_list), districts({4, 1, 3, 5, 6, 7, 2}));
        QVERIFY(n->choose_all_button->isEnabled());
        QVERIFY(!n->unchoose_all_button->isEnabled());
        QVERIFY(!n->choose_button->isEnabled());
        QVERIFY(!n->unchoose_button->isEnabled());
    }

    void all_and_back_restore_the_opening_order() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QTest::mouseClick(n->choose_all_button, Qt::LeftButton);
        QTest::mouseClick(n->unchoose_all_button, Qt::LeftButton);
        QCOMPARE(row_texts(n->offered_list), districts({1, 2, 3, 4, 5, 6, 7}));
        QCOMPARE(n->chosen_list->count(), 0);
    }

    void applying_runs_the_search_again_and_reopening_shows_the_choice() {
        Narrowing a;
        a.search(u8("東京"));
        QCOMPARE(a.st.search.state().sel_count, Integer(8));
        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        n->move(twips_to_px(2400), twips_to_px(1200));
        select_rows(n->offered_list, {2, 5});
        QTest::mouseClick(n->choose_button, Qt::LeftButton);
        QTest::mouseClick(n->ok_button, Qt::LeftButton);
        QVERIFY(!a.forms.loaded<NarrowingWindow>());
        QCOMPARE(a.st.search.state().narrow_count, Integer(2));
        QCOMPARE(a.st.settings.narrowing_window.left, Integer(2400));
        QCOMPARE(a.st.settings.narrowing_window.top, Integer(1200));
        ResultsWindow* r = a.forms.loaded<ResultsWindow>();
        QVERIFY(r);
        QCOMPARE(a.shown(), districts({3, 3, 6}));
        QVERIFY(r->heading_button->text().endsWith(u8(" (3件)")));
        // The districts of the search do not shrink with the narrowing.
        QCOMPARE(a.st.search.state().sel_syousai_count, Integer(7));
        n = a.narrow();
        QVERIFY(n);
        QCOMPARE(row_texts(n->chosen_list), districts({3, 6}));
        QCOMPARE(row_texts(n->offered_list), districts({1, 2, 4, 5, 7}));
        QVERIFY(n->unchoose_all_button->isEnabled());

        // An empty choice clears the narrowing: every hotel of the search again.
        QTest::mouseClick(n->unchoose_all_button, Qt::LeftButton);
        QTest::mouseClick(n->ok_button, Qt::LeftButton);
        QCOMPARE(a.st.search.state().narrow_count, Integer(0));
        QCOMPARE(a.shown(), districts({1, 2, 3, 3, 4, 5, 6, 7}));
    }

    void cancel_keeps_the_narrowing_in_force() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        select_rows(n->offered_list, {0});
        QTest::mouseClick(n->choose_button, Qt::LeftButton);
        QTest::mouseClick(n->ok_button, Qt::LeftButton);
        QCOMPARE(a.shown(), districts({1}));
        // Still open to narrowing: the button counts the districts of the search, not of the hits shown.
        n = a.narrow();
        QVERIFY(n);
        QTest::mouseClick(n->choose_all_button, Qt::LeftButton);
        QTest::mouseClick(n->cancel_button, Qt::LeftButton);
        QVERIFY(!a.forms.loaded<NarrowingWindow>());
        QCOMPARE(a.st.search.state().narrow_count, Integer(1));
        QCOMPARE(a.st.search.state().narrow_syousai(1), u8("地区1"));
        QCOMPARE(a.shown(), districts({1}));
    }

    void esc_applies_like_ok() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        select_rows(n->offered_list, {6});
        QTest::mouseClick(n->choose_button, Qt::LeftButton);
        QTest::keyClick(n->chosen_list, Qt::Key_Escape);
        QVERIFY(!a.forms.loaded<NarrowingWindow>());
        QCOMPARE(a.st.search.state().narrow_count, Integer(1));
        QCOMPARE(a.shown(), districts({7}));
        n = a.narrow();
        QTest::keyClick(n->cancel_button, Qt::Key_Escape); // Esc on the cancel button applies too
        QCOMPARE(a.shown(), districts({7}));
    }

    void keyboard_moves_rows() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        n->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(n));
        QCOMPARE(n->focusWidget(), n->offered_list);
        QTest::keyClick(n->offered_list, Qt::Key_Down);
        QTest::keyClick(n->offered_list, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(n->offered_list->selectedItems().size(), 2);
        QVERIFY(n->choose_button->isEnabled());
        n->choose_button->setFocus();
        QTest::keyClick(n->choose_button, Qt::Key_Space);
        QCOMPARE(n->chosen_list->count(), 2);
        // Still choosing, never on 全選択>>; with nothing left to choose, on the chosen list.
        QCOMPARE(n->focusWidget(), n->offered_list);
        n->choose_all_button->setFocus();
        QTest::keyClick(n->choose_all_button, Qt::Key_Space);
        QCOMPARE(n->focusWidget(), n->chosen_list);
    }

    // A move keeps the rows selected in the other list, and that list's button with them.
    void a_move_keeps_the_other_lists_selection() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        n->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(n));
        QTest::keyClick(n->offered_list, Qt::Key_Down);
        QTest::keyClick(n->offered_list, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(n->choose_button, Qt::Key_Space);
        QCOMPARE(n->chosen_list->count(), 2);

        QTest::keyClick(n->chosen_list, Qt::Key_Down);
        QCOMPARE(n->chosen_list->selectedItems().size(), 1);
        const QString chosen = n->chosen_list->selectedItems().first()->text();
        QVERIFY(n->unchoose_button->isEnabled());
        QTest::keyClick(n->offered_list, Qt::Key_Down);
        QTest::keyClick(n->choose_button, Qt::Key_Space);
        QCOMPARE(n->chosen_list->count(), 3);
        QCOMPARE(n->chosen_list->selectedItems().size(), 1);
        QCOMPARE(n->chosen_list->selectedItems().first()->text(), chosen);
        QVERIFY(n->unchoose_button->isEnabled());
        QVERIFY(!n->choose_button->isEnabled());

        // The other way round.
        QTest::keyClick(n->offered_list, Qt::Key_Down);
        QCOMPARE(n->offered_list->selectedItems().size(), 1);
        const QString offered = n->offered_list->selectedItems().first()->text();
        QTest::keyClick(n->unchoose_button, Qt::Key_Space);
        QCOMPARE(row_texts(n->chosen_list).contains(chosen), false);
        QCOMPARE(n->offered_list->selectedItems().size(), 1);
        QCOMPARE(n->offered_list->selectedItems().first()->text(), offered);
        QVERIFY(n->choose_button->isEnabled());
        QVERIFY(!n->unchoose_button->isEnabled());

        // 全選択>> still turns both move buttons off.
        QTest::keyClick(n->choose_all_button, Qt::Key_Space);
        QVERIFY(!n->choose_button->isEnabled());
        QVERIFY(!n->unchoose_button->isEnabled());
    }

    // 了解 runs again the search that was started, with its criterion and key, whatever was done since
    // in other windows: the edit window's picker, and an option chosen and checked for the next search.
    void applying_reruns_the_started_search() {
        Narrowing a;
        auto* w = a.forms.show<SearchConditionsWindow>();
        w->keyword_option->setChecked(true);
        w->key_box->clear();
        test::commit_text(w->key_box, u8("ホテル"));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        QCOMPARE(a.shown().size(), 9);
        NarrowingWindow* n = a.narrow();
        QVERIFY(n);

        auto* edit = a.forms.show<HotelEditWindow>(EditTarget::new_hotel());
        QTest::mouseDClick(edit->prefecture_box, Qt::LeftButton);
        PickerWindow* p = a.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QTest::keyClick(p->name_list, Qt::Key_Down);
        QTest::keyClick(p->name_list, Qt::Key_Return);
        QVERIFY(!a.forms.loaded<PickerWindow>());

        w->prefecture_option->setChecked(true);
        w->key_box->clear();
        test::commit_text(w->key_box, u8("千葉"));
        QTest::keyClick(w->key_box, Qt::Key_Return);
        QCOMPARE(a.st.settings.prefecture_history(1), u8("千葉"));

        select_rows(n->offered_list, {0, 1});
        QTest::keyClick(n->choose_button, Qt::Key_Space);
        QTest::keyClick(n->ok_button, Qt::Key_Space);
        auto* r = a.forms.loaded<ResultsWindow>();
        QVERIFY(r);
        QCOMPARE(a.shown(), districts({1, 2}));
        QVERIFY(r->heading_button->text().startsWith(results_heading(SearchType::keyword, u8("ホテル"))));
    }

    void a_new_search_closes_the_narrowing() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QVERIFY(n);
        QTest::mouseClick(n->choose_all_button, Qt::LeftButton);
        a.search(u8("東京"));
        QVERIFY(!a.forms.loaded<NarrowingWindow>());
        QCOMPARE(a.st.search.state().narrow_count, Integer(0));
        QCOMPARE(a.shown().size(), 8);
    }

    void pick_search_narrow_end_to_end() {
        Narrowing a;
        auto* w = a.forms.show<SearchConditionsWindow>();
        QTest::mouseDClick(w->key_box, Qt::LeftButton);
        PickerWindow* p = a.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QVERIFY(QTest::qWaitForWindowExposed(p));
        p->area_options[2]->click(); // 関東
        const QListWidgetItem* tokyo = p->name_list->findItems(u8("東京"), Qt::MatchStartsWith).value(0);
        QVERIFY(tokyo);
        QCOMPARE(tokyo->text(), u8("東京\t\t8件"));
        const QPoint at = p->name_list->visualItemRect(tokyo).center();
        QTest::mouseClick(p->name_list->viewport(), Qt::LeftButton, {},
                          at); // a double click starts with a click
        QTest::mouseDClick(p->name_list->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(w->key_box->text(), u8("東京"));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        QCOMPARE(a.shown().size(), 8);

        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        select_rows(n->offered_list, {1, 4});
        QTest::mouseClick(n->choose_button, Qt::LeftButton);
        QTest::mouseClick(n->ok_button, Qt::LeftButton);
        QCOMPARE(a.shown(), districts({2, 5}));
        n = a.narrow();
        QCOMPARE(row_texts(n->offered_list), districts({1, 3, 4, 6, 7}));
        QCOMPARE(row_texts(n->chosen_list), districts({2, 5}));
    }
};

QTEST_MAIN(TestNarrowingWindow)
#include "test_narrowing_window.moc"
