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
        st.settings.max_kensuu = 1000;
        st.settings.apply_defaults();
    }
    ResultsWindow* search(const QString& prefecture) {
        auto* w = forms.show<SearchConditionsWindow>();
        w->Option1->setChecked(true);
        w->Text1->setText(prefecture);
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        return forms.loaded<ResultsWindow>();
    }
    NarrowingWindow* narrow() {
        auto* r = forms.loaded<ResultsWindow>();
        if (!r || !r->Command3->isEnabled()) return nullptr;
        QTest::mouseClick(r->Command3, Qt::LeftButton);
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
        QCOMPARE(n->windowTitle(), u8("トマリナホテル情報＆予約"));
        QCOMPARE(n->Frame1->title(), u8("ホテル地区名"));
        QCOMPARE(n->Frame2->title(), u8("選択地区名"));
        QCOMPARE(n->Command1->text(), u8("選択>"));
        QCOMPARE(n->Command2->text(), u8("全選択>>"));
        QCOMPARE(n->Command3->text(), u8("<取消"));
        QCOMPARE(n->Command4->text(), u8("<<全取消"));
        QCOMPARE(n->Command6->text(), u8("了解"));
        QCOMPARE(n->Command5->text(), u8("ｷｬﾝｾﾙ"));
        QCOMPARE(row_texts(n->List1), districts({1, 2, 3, 4, 5, 6, 7}));
        QCOMPARE(n->List2->count(), 0);
        QVERIFY(!n->Command1->isEnabled());
        QVERIFY(n->Command2->isEnabled());
        QVERIFY(!n->Command3->isEnabled());
        QVERIFY(!n->Command4->isEnabled());
        QVERIFY(!n->List1->accessibleName().isEmpty());
        QVERIFY(!n->List2->accessibleName().isEmpty());
    }

    void moving_rows_and_the_button_states() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        select_rows(n->List1, {3, 1});
        QVERIFY(n->Command1->isEnabled());
        QTest::mouseClick(n->Command1, Qt::LeftButton);
        // In the order of List1, not of the clicks.
        QCOMPARE(row_texts(n->List2), districts({2, 4}));
        QCOMPARE(row_texts(n->List1), districts({1, 3, 5, 6, 7}));
        QVERIFY(!n->Command1->isEnabled());
        QVERIFY(n->Command4->isEnabled());

        select_rows(n->List2, {0});
        QVERIFY(n->Command3->isEnabled());
        QTest::mouseClick(n->Command3, Qt::LeftButton);
        // Back at the end, not at its former place.
        QCOMPARE(row_texts(n->List1), districts({1, 3, 5, 6, 7, 2}));
        QCOMPARE(row_texts(n->List2), districts({4}));
        QVERIFY(!n->Command3->isEnabled());

        QTest::mouseClick(n->Command2, Qt::LeftButton);
        QCOMPARE(row_texts(n->List2), districts({4, 1, 3, 5, 6, 7, 2}));
        QCOMPARE(n->List1->count(), 0);
        QVERIFY(!n->Command2->isEnabled());
        QVERIFY(n->Command4->isEnabled());
        QTest::mouseClick(n->Command4, Qt::LeftButton);
        QCOMPARE(row_texts(n->List1), districts({4, 1, 3, 5, 6, 7, 2}));
        QVERIFY(n->Command2->isEnabled());
        QVERIFY(!n->Command4->isEnabled());
        QVERIFY(!n->Command1->isEnabled());
        QVERIFY(!n->Command3->isEnabled());
    }

    void all_and_back_restore_the_opening_order() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QTest::mouseClick(n->Command2, Qt::LeftButton);
        QTest::mouseClick(n->Command4, Qt::LeftButton);
        QCOMPARE(row_texts(n->List1), districts({1, 2, 3, 4, 5, 6, 7}));
        QCOMPARE(n->List2->count(), 0);
    }

    void applying_runs_the_search_again_and_reopening_shows_the_choice() {
        Narrowing a;
        a.search(u8("東京"));
        QCOMPARE(a.st.search.state().sel_count, Integer(8));
        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        n->move(twips_to_px(2400), twips_to_px(1200));
        select_rows(n->List1, {2, 5});
        QTest::mouseClick(n->Command1, Qt::LeftButton);
        QTest::mouseClick(n->Command6, Qt::LeftButton);
        QVERIFY(!a.forms.loaded<NarrowingWindow>());
        QCOMPARE(a.st.search.state().narrow_count, Integer(2));
        QCOMPARE(a.st.settings.narrowing_window.left, Integer(2400));
        QCOMPARE(a.st.settings.narrowing_window.top, Integer(1200));
        ResultsWindow* r = a.forms.loaded<ResultsWindow>();
        QVERIFY(r);
        QCOMPARE(a.shown(), districts({3, 3, 6}));
        QVERIFY(r->Command1->text().endsWith(u8(" (3件)")));
        // The districts of the search do not shrink with the narrowing.
        QCOMPARE(a.st.search.state().sel_syousai_count, Integer(7));
        n = a.narrow();
        QVERIFY(n);
        QCOMPARE(row_texts(n->List2), districts({3, 6}));
        QCOMPARE(row_texts(n->List1), districts({1, 2, 4, 5, 7}));
        QVERIFY(n->Command4->isEnabled());

        // An empty choice clears the narrowing: every hotel of the search again.
        QTest::mouseClick(n->Command4, Qt::LeftButton);
        QTest::mouseClick(n->Command6, Qt::LeftButton);
        QCOMPARE(a.st.search.state().narrow_count, Integer(0));
        QCOMPARE(a.shown(), districts({1, 2, 3, 3, 4, 5, 6, 7}));
    }

    void cancel_keeps_the_narrowing_in_force() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        select_rows(n->List1, {0});
        QTest::mouseClick(n->Command1, Qt::LeftButton);
        QTest::mouseClick(n->Command6, Qt::LeftButton);
        QCOMPARE(a.shown(), districts({1}));
        // Still open to narrowing: the button counts the districts of the search, not of the hits shown.
        n = a.narrow();
        QVERIFY(n);
        QTest::mouseClick(n->Command2, Qt::LeftButton);
        QTest::mouseClick(n->Command5, Qt::LeftButton);
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
        select_rows(n->List1, {6});
        QTest::mouseClick(n->Command1, Qt::LeftButton);
        QTest::keyClick(n->List2, Qt::Key_Escape);
        QVERIFY(!a.forms.loaded<NarrowingWindow>());
        QCOMPARE(a.st.search.state().narrow_count, Integer(1));
        QCOMPARE(a.shown(), districts({7}));
        n = a.narrow();
        QTest::keyClick(n->Command5, Qt::Key_Escape); // Esc on the cancel button applies too
        QCOMPARE(a.shown(), districts({7}));
    }

    void keyboard_moves_rows() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        n->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(n));
        QCOMPARE(n->focusWidget(), n->List1);
        QTest::keyClick(n->List1, Qt::Key_Down);
        QTest::keyClick(n->List1, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(n->List1->selectedItems().size(), 2);
        QVERIFY(n->Command1->isEnabled());
        n->Command1->setFocus();
        QTest::keyClick(n->Command1, Qt::Key_Space);
        QCOMPARE(n->List2->count(), 2);
        // Still choosing, never on 全選択>>; with nothing left to choose, on the chosen list.
        QCOMPARE(n->focusWidget(), n->List1);
        n->Command2->setFocus();
        QTest::keyClick(n->Command2, Qt::Key_Space);
        QCOMPARE(n->focusWidget(), n->List2);
    }

    // A move keeps the rows selected in the other list, and that list's button with them.
    void a_move_keeps_the_other_lists_selection() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        n->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(n));
        QTest::keyClick(n->List1, Qt::Key_Down);
        QTest::keyClick(n->List1, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(n->Command1, Qt::Key_Space);
        QCOMPARE(n->List2->count(), 2);

        QTest::keyClick(n->List2, Qt::Key_Down);
        QCOMPARE(n->List2->selectedItems().size(), 1);
        const QString chosen = n->List2->selectedItems().first()->text();
        QVERIFY(n->Command3->isEnabled());
        QTest::keyClick(n->List1, Qt::Key_Down);
        QTest::keyClick(n->Command1, Qt::Key_Space);
        QCOMPARE(n->List2->count(), 3);
        QCOMPARE(n->List2->selectedItems().size(), 1);
        QCOMPARE(n->List2->selectedItems().first()->text(), chosen);
        QVERIFY(n->Command3->isEnabled());
        QVERIFY(!n->Command1->isEnabled());

        // The other way round.
        QTest::keyClick(n->List1, Qt::Key_Down);
        QCOMPARE(n->List1->selectedItems().size(), 1);
        const QString offered = n->List1->selectedItems().first()->text();
        QTest::keyClick(n->Command3, Qt::Key_Space);
        QCOMPARE(row_texts(n->List2).contains(chosen), false);
        QCOMPARE(n->List1->selectedItems().size(), 1);
        QCOMPARE(n->List1->selectedItems().first()->text(), offered);
        QVERIFY(n->Command1->isEnabled());
        QVERIFY(!n->Command3->isEnabled());

        // 全選択>> still turns both move buttons off.
        QTest::keyClick(n->Command2, Qt::Key_Space);
        QVERIFY(!n->Command1->isEnabled());
        QVERIFY(!n->Command3->isEnabled());
    }

    // 了解 runs again the search that was started, with its criterion and key, whatever was done since
    // in other windows: the edit window's picker, and an option chosen and checked for the next search.
    void applying_reruns_the_started_search() {
        Narrowing a;
        auto* w = a.forms.show<SearchConditionsWindow>();
        w->Option6->setChecked(true);
        w->Text1->clear();
        test::commit_text(w->Text1, u8("ホテル"));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(a.shown().size(), 9);
        NarrowingWindow* n = a.narrow();
        QVERIFY(n);

        auto* edit = a.forms.show<HotelEditWindow>(EditTarget::new_hotel());
        QTest::mouseDClick(edit->Text1, Qt::LeftButton);
        PickerWindow* p = a.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QTest::keyClick(p->List1, Qt::Key_Down);
        QTest::keyClick(p->List1, Qt::Key_Return);
        QVERIFY(!a.forms.loaded<PickerWindow>());

        w->Option1->setChecked(true);
        w->Text1->clear();
        test::commit_text(w->Text1, u8("千葉"));
        QTest::keyClick(w->Text1, Qt::Key_Return);
        QCOMPARE(a.st.settings.text1_hist(1), u8("千葉"));

        select_rows(n->List1, {0, 1});
        QTest::keyClick(n->Command1, Qt::Key_Space);
        QTest::keyClick(n->Command6, Qt::Key_Space);
        auto* r = a.forms.loaded<ResultsWindow>();
        QVERIFY(r);
        QCOMPARE(a.shown(), districts({1, 2}));
        QVERIFY(r->Command1->text().startsWith(results_heading(SearchType::keyword, u8("ホテル"))));
    }

    void a_new_search_closes_the_narrowing() {
        Narrowing a;
        a.search(u8("東京"));
        NarrowingWindow* n = a.narrow();
        QVERIFY(n);
        QTest::mouseClick(n->Command2, Qt::LeftButton);
        a.search(u8("東京"));
        QVERIFY(!a.forms.loaded<NarrowingWindow>());
        QCOMPARE(a.st.search.state().narrow_count, Integer(0));
        QCOMPARE(a.shown().size(), 8);
    }

    void pick_search_narrow_end_to_end() {
        Narrowing a;
        auto* w = a.forms.show<SearchConditionsWindow>();
        QTest::mouseDClick(w->Text1, Qt::LeftButton);
        PickerWindow* p = a.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QVERIFY(QTest::qWaitForWindowExposed(p));
        p->Option[2]->click(); // 関東
        const QListWidgetItem* tokyo = p->List1->findItems(u8("東京"), Qt::MatchStartsWith).value(0);
        QVERIFY(tokyo);
        QCOMPARE(tokyo->text(), u8("東京\t\t8件"));
        const QPoint at = p->List1->visualItemRect(tokyo).center();
        QTest::mouseClick(p->List1->viewport(), Qt::LeftButton, {}, at); // a double click starts with a click
        QTest::mouseDClick(p->List1->viewport(), Qt::LeftButton, {}, at);
        QCOMPARE(w->Text1->text(), u8("東京"));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(a.shown().size(), 8);

        NarrowingWindow* n = a.narrow();
        QVERIFY(QTest::qWaitForWindowExposed(n));
        select_rows(n->List1, {1, 4});
        QTest::mouseClick(n->Command1, Qt::LeftButton);
        QTest::mouseClick(n->Command6, Qt::LeftButton);
        QCOMPARE(a.shown(), districts({2, 5}));
        n = a.narrow();
        QCOMPARE(row_texts(n->List1), districts({1, 3, 4, 6, 7}));
        QCOMPARE(row_texts(n->List2), districts({2, 5}));
    }
};

QTEST_MAIN(TestNarrowingWindow)
#include "test_narrowing_window.moc"
