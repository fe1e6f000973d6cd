#include "data/database.h"
#include "data/save_file.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "maintenance/hotel_edit_window.h"
#include "maintenance/maintenance_list_window.h"
#include "maintenance/maintenance_texts.h"
#include "platform/nested_loop.h"
#include "program/main_menu_window.h"
#include "program/program.h"
#include "results/detail_window.h"
#include "results/results_window.h"
#include "search/picker_window.h"
#include "search/search_conditions_window.h"
#include "shared/ordering.h"
#include "shared/results_cells.h"
#include "shared/saves.h"
#include "support/faulty_disk.h"
#include "support/gui_support.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;
namespace texts = tomarina::maintenance_texts;

namespace {

const QString csv = QStringLiteral("hotelusr.csv");

// One line of the user file, the nine fields quoted.
QString line(const QStringList& f) {
    return user_line(f) + QStringLiteral("\r\n");
}

const QStringList hotel_b = {u8("東京"),           u8("東京／羽田"),   u8("新宿"),
                             u8("ホテルB"),        u8("03-2222-2222"), u8("200"),
                             u8("新宿駅徒歩３分"), u8("\\12,000"),     u8("★")};
const QStringList hotel_c = {u8("千葉"), u8("東京／成田"), u8("成田"),    u8("ホテルC"), QString(),
                             u8("0"),    QString(),        u8("\\7,000"), QString()};
const QStringList hotel_a = {u8("北海道"),     u8("札幌／新千歳"), u8("札幌駅前"),
                             u8("ホテルA"),    u8("011-111-1111"), u8("50"),
                             u8("札幌駅すぐ"), u8("\\9,000"),      u8("○")};

// A loaded directory, a program folder for the user file, and the maintenance windows over them.
struct Maint {
    test::ProgramDir dir;
    AppState st;
    FakePlatform pf;
    test::WiredForms forms{st, pf};

    // lines: the user file's content at start-up; a null text leaves the file out.
    explicit Maint(const QString& lines = QString()) {
        const QByteArray bytes = build_database(test::small_source());
        st.directory.load([&](HotelTables& t) { Loader(t, bytes).load_all(); });
        st.app_path = dir.path();
        st.settings_store.load({});
        if (!lines.isNull()) dir.write(csv, encode_cp932(lines));
        st.directory.read_user_file(dir.file(csv), dir.file(QStringLiteral("tmp.csv")));
    }
    QString file() const { return decode_cp932(dir.read(csv)); }
    bool file_exists() const { return QFile::exists(dir.file(csv)); }

    MaintenanceListWindow* list() { return forms.show<MaintenanceListWindow>(); }
    HotelEditWindow* edit() { return forms.loaded<HotelEditWindow>(); }

    // The cell's centre in the grid's viewport.
    static QPoint cell(MaintenanceListWindow* w, int row, int column) {
        return w->hotels_grid->visualRect(w->model->index(row - 1, column)).center();
    }
    static void click(MaintenanceListWindow* w, int row, int column) {
        QTest::mouseClick(w->hotels_grid->viewport(), Qt::LeftButton, {}, cell(w, row, column));
    }
    static void double_click(MaintenanceListWindow* w, int row, int column) {
        click(w, row, column);
        QTest::mouseDClick(w->hotels_grid->viewport(), Qt::LeftButton, {}, cell(w, row, column));
    }
    static void double_click_heading(MaintenanceListWindow* w, int column) {
        QHeaderView* h = w->hotels_grid->horizontalHeader();
        const QPoint at(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(h->viewport(), Qt::LeftButton, {}, at);
    }
    static QStringList column(MaintenanceListWindow* w, int c) {
        QStringList out;
        for (int r = 1; r <= w->model->rowCount(); ++r) out << w->model->cell_text(r, c);
        return out;
    }
    // Types the nine fields into the edit window.
    static void type(HotelEditWindow* e, const QStringList& f) {
        for (int k = 1; k <= 9; ++k) e->field_box(k)->setText(f.value(k - 1));
    }
    // Opens the edit window for a new hotel from the list and stores it.
    void add_hotel(const QStringList& f) {
        MaintenanceListWindow* w = list();
        QTest::mouseClick(w->add_button, Qt::LeftButton);
        HotelEditWindow* e = edit();
        QVERIFY(e);
        type(e, f);
        QTest::mouseClick(e->update_button, Qt::LeftButton);
    }
    // The prompt of a field as the message area shows it.
    static QString prompt(int field) {
        return field_prompt(field).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    // A list heading with the mark of the list's ordering.
    static QString marked(int column) {
        return texts::heading_mark + texts::list_headings[std::size_t(column)];
    }
    QString message(HotelEditWindow* e) const { return input_form(e->message_area->toPlainText()); }
};

} // namespace

class TestMaintenanceWindows : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { install_fonts(); }
    void cleanup() { save_faults = {}; }

    // Every text box keeps what is typed or pasted in one form, the directory's: a hotel typed with an
    // input method's wave dash is kept with the directory's, and a search typed the same way finds it.
    void typed_and_pasted_text_takes_one_form() {
        Maint m;
        QTest::mouseClick(m.list()->add_button, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        QVERIFY(e);
        for (int k = 1; k <= 9; ++k) {
            QLineEdit* box = e->field_box(k);
            box->clear();
            test::commit_text(box, u8("〜−"));
            QTest::keyClicks(box, u8("¥"));
            QCOMPARE(box->text(), u8("～－\\"));
            box->clear();
            QGuiApplication::clipboard()->setText(u8("波〜3−1"));
            QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(box->text(), u8("波～3－1"));
        }
        m.type(e, hotel_b);
        e->hotel_name_box->clear();
        test::commit_text(e->hotel_name_box, u8("波〜ホテル"));
        QTest::mouseClick(e->update_button, Qt::LeftButton);
        QCOMPARE(m.st.user.user_count, Integer(1));
        QCOMPARE(m.st.user.user_name(1), u8("波～ホテル"));

        auto* w = m.forms.show<SearchConditionsWindow>();
        w->hotel_name_option->setChecked(true);
        test::commit_text(w->key_box, u8("波〜"));
        QCOMPARE(w->key_box->text(), u8("波～"));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        QVERIFY(m.forms.loaded<ResultsWindow>());
        QCOMPARE(m.st.search.state().sel_count, Integer(1));
    }

    void empty_list() {
        Maint m;
        MaintenanceListWindow* w = m.list();
        QCOMPARE(w->windowTitle(), app_title);
        QCOMPARE(w->model->rowCount(), 0);
        QCOMPARE(w->model->columnCount(), 9);
        for (int c = 0; c < 9; ++c) QCOMPARE(w->model->heading(c), texts::list_headings[std::size_t(c)]);
        QCOMPARE(w->hotels_grid->columnWidth(3), twips_to_px(1500));
        QVERIFY(!w->modify_button->isEnabled());
        QVERIFY(!w->delete_button->isEnabled());
        QVERIFY(!w->hotels_grid->accessibleName().isEmpty());
        // The buttons in their tab order after the grid.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->hotels_grid->setFocus();
        QTest::keyClick(w->hotels_grid, Qt::Key_Tab);
        QVERIFY(w->add_button->hasFocus());
        QTest::keyClick(w->add_button, Qt::Key_Tab);
        QVERIFY(w->save_button->hasFocus());
    }

    void resize_rule() {
        Maint m(line(hotel_b));
        MaintenanceListWindow* w = m.list();
        const QRect grid = w->hotels_grid->geometry();
        const QPoint add = w->add_button->pos(), save = w->save_button->pos(),
                     cancel = w->cancel_button->pos();
        w->resize(w->width() + 150, w->height() + 90);
        QCOMPARE(w->hotels_grid->width(), grid.width() + 150);
        QCOMPARE(w->hotels_grid->height(), grid.height() + 90);
        QCOMPARE(w->add_button->pos(), add + QPoint(0, 90));
        QCOMPARE(w->save_button->pos(), save + QPoint(150, 90));
        QCOMPARE(w->cancel_button->pos(), cancel + QPoint(150, 90));
        QCOMPARE(w->delete_button->x(), twips_to_px(2040));
        // Smaller than designed: the grid shrinks, never below nothing.
        w->resize(10, 10);
        QCOMPARE(w->hotels_grid->height(), 0);
    }

    void rows_cells_and_click_rule() {
        Maint m(line(hotel_b) + line(hotel_c));
        MaintenanceListWindow* w = m.list();
        QCOMPARE(w->model->rowCount(), 2);
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルB"), u8("ホテルC")}));
        QCOMPARE(Maint::column(w, 5), (QStringList{u8("200"), QString()})); // a room count of 0 shows empty
        QCOMPARE(w->model->data(w->model->index(0, 7), Qt::DisplayRole).toString(), u8("¥12,000"));

        // An empty cell neither selects nor enables.
        Maint::click(w, 2, 4);
        QVERIFY(!w->modify_button->isEnabled());
        QVERIFY(!w->delete_button->isEnabled());
        Maint::click(w, 2, 3);
        QVERIFY(w->modify_button->isEnabled());
        QVERIFY(w->delete_button->isEnabled());
        QCOMPARE(w->chosen_row(), Integer(2));
        // Nor does it move the highlight away from the row that 削除 acts on.
        Maint::click(w, 1, 3);
        Maint::click(w, 2, 5);
        QCOMPARE(w->chosen_row(), Integer(1));
        QCOMPARE(w->hotels_grid->selectionModel()->selectedIndexes().value(0).row(), 0);

        // A second 削除 pressed while the first one's confirmation waits deletes nothing more.
        bool again = true;
        NestedLoop::entered = [&] {
            if (std::exchange(again, false)) w->delete_hotel();
        };
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        NestedLoop::entered = nullptr;
        QCOMPARE(Maint::column(w, 3), QStringList{u8("ホテルC")});
        QCOMPARE(w->chosen_row(), Integer(0));
    }

    // The list's cells and headings are drawn like the results grid's, over the whole column width: a
    // twelve-character phone number and a marked heading show whole.
    void long_phone_and_marked_headings_are_not_cut() {
        QStringList hotel = hotel_b;
        hotel[4] = u8("012-345-6789");
        Maint m(line(hotel) + line(hotel_a));
        MaintenanceListWindow* w = m.list();
        auto* cells = qobject_cast<ResultsCellDelegate*>(w->hotels_grid->itemDelegate());
        auto* heading = qobject_cast<GridHeading*>(w->hotels_grid->horizontalHeader());
        QVERIFY(cells && heading);
        const QString phone = w->model->data(w->model->index(0, 4), Qt::DisplayRole).toString();
        QCOMPARE(phone, u8("012-345-6789"));
        QVERIFY(cells->layout().width(phone) <= w->hotels_grid->columnWidth(4));
        for (const int column : {5, 7, 1}) {
            Maint::double_click_heading(w, column);
            for (int c = 0; c < user_list_columns; ++c) {
                const QStringList lines = heading->heading_lines(c);
                QCOMPARE(lines.join(QString()), w->model->heading(c));
                for (const QString& l : lines)
                    QVERIFY2(cells->layout().width(l) <= w->hotels_grid->columnWidth(c), qPrintable(l));
                QVERIFY(heading->height() >= cells->layout().lines_height(int(lines.size())));
            }
        }
        QCOMPARE(w->model->heading(1), Maint::marked(1));
    }

    // A field of a huge user file is laid out only as far as its cell shows it: the whole field once
    // crashed the list when the cell was drawn.
    void huge_field_drawn_only_as_far_as_the_cell_shows() {
        QStringList huge = hotel_b;
        huge[3] = QString(4'000'000, u'W');
        Maint m(line(huge));
        MaintenanceListWindow* w = m.list();
        w->show();
        auto* cells = qobject_cast<ResultsCellDelegate*>(w->hotels_grid->itemDelegate());
        QVERIFY(cells);
        const QRect cell = w->hotels_grid->visualRect(w->model->index(0, 3));
        const QString text = w->model->data(w->model->index(0, 3), Qt::DisplayRole).toString();
        const QStringList lines = cells->cell_lines(text, cell.size(), w->hotels_grid->wordWrap());
        QVERIFY(!lines.isEmpty());
        QVERIFY(lines.join(QString()).size() <= 2 * (cell.width() + 1));
        QVERIFY(!w->hotels_grid->grab().isNull());
    }

    void reorder_marks_heading_and_keeps_each_row() {
        Maint m(line(hotel_b) + line(hotel_c) + line(hotel_a));
        MaintenanceListWindow* w = m.list();
        Maint::double_click_heading(w, 3);
        QCOMPARE(m.st.directory.order().user_sort_key_name, ordering_name(Ordering::name));
        QCOMPARE(w->model->heading(3), Maint::marked(3));
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルA"), u8("ホテルB"), u8("ホテルC")}));

        // A double click on a cell of the first row orders by its column too.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->hotels_grid->setFocus();
        w->hotels_grid->setCurrentIndex(w->model->index(0, 7));
        QTest::keyClick(w->hotels_grid, Qt::Key_Return);
        // The keyboard stays where it was, in the grid.
        QVERIFY(w->hotels_grid->hasFocus());
        QCOMPARE(w->hotels_grid->currentIndex(), w->model->index(0, 7));
        QCOMPARE(w->model->heading(7), Maint::marked(7));
        QCOMPARE(w->model->heading(3), texts::list_headings[3]);
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルC"), u8("ホテルA"), u8("ホテルB")}));
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());

        // The access column orders by prefecture and marks the prefecture heading.
        Maint::double_click_heading(w, 6);
        QCOMPARE(w->model->heading(0), Maint::marked(0));
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルA"), u8("ホテルB"), u8("ホテルC")}));

        // By name again, then delete the third row: the others stay once each, the mark stays.
        Maint::double_click_heading(w, 3);
        Maint::click(w, 3, 3);
        m.pf.answers = {MsgAnswer::Ok};
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().text, texts::delete_question);
        QCOMPARE(m.pf.messages.last().title, texts::confirm_title);
        QCOMPARE(m.pf.messages.last().buttons, MsgButtons::OkCancel);
        QCOMPARE(m.pf.messages.last().icon, MsgIcon::Exclamation);
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルA"), u8("ホテルB")}));
        QCOMPARE(w->focusWidget(), w->hotels_grid);
        QCOMPARE(w->model->heading(3), Maint::marked(3));
        QVERIFY(!w->modify_button->isEnabled());
        QCOMPARE(m.st.user.user_copied_flg, Integer(0));

        // The ordering is remembered for the next opening, whose rows start in file order.
        w->close_window();
        w = m.list();
        QCOMPARE(w->model->heading(3), Maint::marked(3));
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルB"), u8("ホテルA")}));
    }

    void delete_cancel_and_last_hotel() {
        Maint m(line(hotel_b));
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 0);
        m.pf.answers = {MsgAnswer::Cancel};
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        QCOMPARE(m.st.user.user_count, Integer(1));
        QCOMPARE(w->model->rowCount(), 1);
        QVERIFY(w->delete_button->isEnabled());

        QTest::mouseClick(w->delete_button, Qt::LeftButton); // answered Ok
        QCOMPARE(m.st.user.user_count, Integer(0));
        QCOMPARE(w->model->rowCount(), 0);
        // The next close writes an empty file.
        QTest::keyClick(w->add_button, Qt::Key_Escape);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        QVERIFY(m.file_exists());
        QCOMPARE(m.file(), QString());
    }

    void modify_after_reorder_opens_the_rows_hotel() {
        Maint m(line(hotel_b) + line(hotel_c) + line(hotel_a));
        MaintenanceListWindow* w = m.list();
        Maint::double_click_heading(w, 3); // A, B, C
        Maint::click(w, 3, 3);
        QTest::mouseClick(w->modify_button, Qt::LeftButton);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        HotelEditWindow* e = m.edit();
        QVERIFY(e);
        QCOMPARE(e->target().mode, EditMode::upd);
        QCOMPARE(e->target().user_no, Integer(2));
        QCOMPARE(e->mode_label->text(), texts::modify_mode);
        QCOMPARE(e->hotel_name_box->text(), u8("ホテルC"));
        QCOMPARE(e->prefecture_box->text(), u8("千葉"));
        QCOMPARE(e->airport_box->text(), u8("東京／成田"));
        QCOMPARE(e->rate_box->text(), u8("\\7,000"));
        QVERIFY(e->add_update_button->isEnabled());

        e->phone_box->setText(u8("0476-00-0000"));
        m.pf.answers = {MsgAnswer::Ok};
        QTest::mouseClick(e->update_button, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().text, texts::update_question);
        QCOMPARE(m.pf.messages.last().title, texts::confirm_title);
        QCOMPARE(m.st.user.user_tel(2), u8("0476-00-0000"));
        QCOMPARE(m.st.user.user_tel(1), u8("03-2222-2222"));
        QCOMPARE(m.st.user.user_count, Integer(3));
        QVERIFY(!m.edit());
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());

        // A double click on a data row opens its hotel as 修正 does.
        w = m.forms.loaded<MaintenanceListWindow>();
        Maint::double_click(w, 2, 3);
        QVERIFY(m.edit());
        QCOMPARE(m.edit()->hotel_name_box->text(), u8("ホテルC"));
    }

    void add_from_the_list() {
        Maint m;
        m.st.settings_store.add_history(SearchType::prefecture, u8("千葉"));
        MaintenanceListWindow* w = m.list();
        QTest::mouseClick(w->add_button, Qt::LeftButton);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        QVERIFY(m.file_exists()); // the list's close wrote the (still empty) tables
        HotelEditWindow* e = m.edit();
        QCOMPARE(e->mode_label->text(), texts::add_mode);
        QVERIFY(!e->add_update_button->isEnabled());
        QCOMPARE(e->prefecture_box->text(), u8("千葉")); // the latest prefecture of the history
        QCOMPARE(e->airport_box->text(), u8("福岡"));    // an empty history
        QVERIFY(e->hotel_name_box->text().isEmpty());
        QVERIFY(e->prefecture_list_button->isHidden());
        QVERIFY(e->airport_list_button->isHidden());

        Maint::type(e, {u8("東京"), u8("東京／羽田"), QString(), u8("トマリナホテル"), u8("012-345-6789"),
                        u8("123"), u8("京橋駅徒歩１０分"), u8("10000"), u8("○")});
        m.pf.answers = {MsgAnswer::Cancel};
        QTest::mouseClick(e->update_button, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().text, texts::add_question);
        QCOMPARE(m.st.user.user_count, Integer(0));
        QVERIFY(m.edit());
        QCOMPARE(e->district_box->text(), u8("東京／羽田")); // the district took the airport
        QCOMPARE(e->rate_box->text(), u8("\\10,000"));

        QTest::mouseClick(e->update_button, Qt::LeftButton); // answered Ok
        QCOMPARE(m.st.user.user_count, Integer(1));
        QCOMPARE(m.st.user.user_price(1), u8("\\10,000"));
        QCOMPARE(m.st.user.user_price_num(1), Long(10000));
        QCOMPARE(m.st.user.user_syousai_name(1), u8("東京／羽田"));
        QCOMPARE(m.st.user.user_ken(1), Long(2));
        w = m.forms.loaded<MaintenanceListWindow>();
        QVERIFY(w);
        QCOMPARE(Maint::column(w, 3), QStringList{u8("トマリナホテル")});

        QTest::mouseClick(w->save_button, Qt::LeftButton);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(m.file(),
                 u8("\"東京\",\"東京／羽田\",\"東京／羽田\",\"トマリナホテル\",\"012-345-6789\",\"123\","
                    "\"京橋駅徒歩１０分\",\"\\10,000\",\"○\"\r\n"));
    }

    void add_update_leaves_the_original() {
        Maint m(line(hotel_b));
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->modify_button, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->hotel_name_box->setText(u8("ホテルB別館"));
        e->airport_box->clear();
        QTest::mouseClick(e->add_update_button, Qt::LeftButton);
        QCOMPARE(m.message(e), texts::hotel_airport_missing);
        e->airport_box->setText(u8("羽田"));
        QTest::mouseClick(e->add_update_button, Qt::LeftButton);
        QCOMPARE(m.message(e), texts::hotel_airport_unknown);
        e->airport_box->setText(u8("東京／羽田"));
        QTest::mouseClick(e->add_update_button, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().text, texts::add_question);
        QCOMPARE(m.st.user.user_count, Integer(2));
        QCOMPARE(m.st.user.user_name(1), u8("ホテルB"));
        QCOMPARE(m.st.user.user_name(2), u8("ホテルB別館"));
        QCOMPARE(m.st.user.user_price(2), u8("\\12,000"));
        QCOMPARE(Maint::column(m.forms.loaded<MaintenanceListWindow>(), 3),
                 (QStringList{u8("ホテルB"), u8("ホテルB別館")}));
    }

    // Every refusal of 更新 in order; each stays readable with the focus on its field.
    void update_refusals_in_order() {
        Maint m;
        m.list();
        QTest::mouseClick(m.list()->add_button, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->show();
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e));
        Maint::type(e, {});
        auto press = [&](int field, const QString& message) {
            QTest::mouseClick(e->update_button, Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(m.message(e), message);
            QVERIFY2(e->field_box(field)->hasFocus(), qPrintable(message));
            QVERIFY(m.pf.messages.isEmpty());
            // A screen reader hears it where the focus is, before the prompt, and at once, every time.
            QCOMPARE(e->field_box(field)->accessibleName(), field_name(field));
            QCOMPARE(e->field_box(field)->accessibleDescription(), message + u'\n' + Maint::prompt(field));
            QCOMPARE(test::announced(e), message);
        };
        press(1, texts::prefecture_missing);
        e->prefecture_box->setText(u8("福岡"));
        press(1, texts::prefecture_unknown);
        e->prefecture_box->setText(u8("東京"));
        press(2, texts::airport_missing);
        e->airport_box->setText(u8("羽田"));
        press(2, texts::airport_unknown_on_update);
        e->airport_box->setText(u8("東京／羽田"));
        press(4, texts::hotel_name_missing);
        QCOMPARE(e->district_box->text(), u8("東京／羽田"));
        e->hotel_name_box->setText(u8("ホテル😀"));
        press(4, texts::unstorable_characters.arg(field_name(4)));
        e->hotel_name_box->setText(u8("ホテル"));
        press(5, texts::phone_missing);
        e->phone_box->setText(u8("03"));
        e->rooms_box->setText(u8("1O"));
        press(6, texts::rooms_not_digits);
        e->rooms_box->clear();
        press(8, texts::rate_missing);
        e->rate_box->setText(u8("5"));
        press(8, texts::rate_missing);
        QCOMPARE(e->rate_box->text(), u8("\\5"));
        e->rate_box->setText(u8("円"));
        press(8, texts::rate_missing);
        QCOMPARE(e->rate_box->text(), u8("円"));
        QCOMPARE(m.st.user.user_count, Integer(0));

        // Moving on from the field brings back the prompts, and the fields their names.
        QTest::keyClick(e->rate_box, Qt::Key_Tab);
        QVERIFY(e->remark_box->hasFocus());
        QCOMPARE(m.message(e), Maint::prompt(9));
        QCOMPARE(e->rate_box->accessibleName(), field_name(8));
        QCOMPARE(test::announced(e), QString());

        // Refused, mended, and the confirmation cancelled: the field is named by its label again.
        press(8, texts::rate_missing);
        e->rate_box->setText(u8("10000"));
        m.pf.answers = {MsgAnswer::Cancel};
        QTest::mouseClick(e->update_button, Qt::LeftButton);
        QCOMPARE(e->rate_box->accessibleName(), field_name(8));
    }

    void enter_checks_prompts_and_picker_buttons() {
        Maint m;
        QTest::mouseClick(m.list()->add_button, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->show();
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e));
        e->prefecture_box->setFocus();
        QCOMPARE(m.message(e), Maint::prompt(1));
        QCOMPARE(e->prefecture_box->accessibleDescription(), m.message(e));
        QVERIFY(e->prefecture_list_button->isVisible());
        QVERIFY(!e->airport_list_button->isVisible());

        QTest::keyClick(e->prefecture_box, Qt::Key_Return); // 福岡 is not in the directory
        QCOMPARE(m.message(e), texts::prefecture_unknown);
        QVERIFY(e->prefecture_box->hasFocus());
        QCOMPARE(e->prefecture_box->accessibleName(), field_name(1));
        QVERIFY(e->prefecture_box->accessibleDescription().startsWith(texts::prefecture_unknown + u'\n'));
        QCOMPARE(test::announced(e), texts::prefecture_unknown);
        e->prefecture_box->setText(u8("東京"));
        QTest::keyClick(e->prefecture_box, Qt::Key_Return);
        QVERIFY(e->airport_box->hasFocus());
        QCOMPARE(e->prefecture_box->accessibleName(), field_name(1));
        QCOMPARE(test::announced(e), QString());
        QCOMPARE(m.message(e), Maint::prompt(2));
        QVERIFY(!e->prefecture_list_button->isVisible());
        QVERIFY(e->airport_list_button->isVisible());
        QTest::keyClick(e->airport_box, Qt::Key_Return);
        QCOMPARE(m.message(e), texts::airport_unknown);
        e->airport_box->setText(u8("東京／羽田"));
        QTest::keyClick(e->airport_box, Qt::Key_J, Qt::ControlModifier); // line feed
        QVERIFY(e->district_box->hasFocus());
        QVERIFY(!e->prefecture_list_button->isVisible());
        QVERIFY(!e->airport_list_button->isVisible());
        QTest::keyClick(e->district_box, Qt::Key_Enter);
        QCOMPARE(e->district_box->text(), u8("東京／羽田"));
        QVERIFY(e->hotel_name_box->hasFocus());
        QCOMPARE(m.message(e), Maint::prompt(4));
        QTest::keyClick(e->hotel_name_box, Qt::Key_Return);
        QCOMPARE(m.message(e), texts::hotel_name_missing);
        e->hotel_name_box->setText(u8("ホテル"));
        QTest::keyClick(e->hotel_name_box, Qt::Key_Return);
        QTest::keyClick(e->phone_box, Qt::Key_Return);
        QCOMPARE(m.message(e), texts::phone_missing);
        QTest::keyClicks(e->phone_box, u8("03"));
        QTest::keyClick(e->phone_box, Qt::Key_Return);
        QTest::keyClicks(e->rooms_box, u8("a"));
        QTest::keyClick(e->rooms_box, Qt::Key_Return);
        QCOMPARE(m.message(e), texts::rooms_not_digits);
        e->rooms_box->clear();
        QTest::keyClick(e->rooms_box, Qt::Key_Return);
        QVERIFY(e->access_box->hasFocus());
        QTest::keyClick(e->access_box, Qt::Key_Return);
        QVERIFY(e->rate_box->hasFocus());
        QCOMPARE(m.message(e), Maint::prompt(8));
        QTest::keyClicks(e->rate_box, u8("10000"));
        QTest::keyClick(e->rate_box, Qt::Key_Return);
        QCOMPARE(e->rate_box->text(), u8("\\10,000"));
        QVERIFY(e->remark_box->hasFocus());
        QCOMPARE(test::announced(e), field_name(8) + u8(" ¥10,000")); // as the box now shows it
        QTest::keyClick(e->remark_box, Qt::Key_Return);
        QVERIFY(e->update_button->hasFocus());

        // Back to the prefecture: its picker button shows again, the airport's hides.
        e->airport_box->setFocus();
        e->prefecture_box->setFocus();
        QVERIFY(e->prefecture_list_button->isVisible());
        QVERIFY(!e->airport_list_button->isVisible());

        // The picker's choice lands in the box and moves the focus on.
        e->picker_chosen(SearchType::airport, u8("東京／成田"));
        QCOMPARE(e->airport_box->text(), u8("東京／成田"));
        QVERIFY(e->district_box->hasFocus());
        e->picker_chosen(SearchType::prefecture, u8("千葉"));
        QCOMPARE(e->prefecture_box->text(), u8("千葉"));
        QVERIFY(e->airport_box->hasFocus());
        QCOMPARE(test::announced(e), field_name(1) + u8(" 千葉"));

        // Labels name the boxes; the message area and labels keep their colours.
        QCOMPARE(e->hotel_name_label->text(), texts::field_labels[4]);
        QCOMPARE(e->hotel_name_label->buddy(), e->hotel_name_box);
        QCOMPARE(e->hotel_name_box->accessibleName(), field_name(4));
        QCOMPARE(e->message_area->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xC0));
        QCOMPARE(e->message_label->palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xC0));
        QCOMPARE(e->mode_label->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0x00));
        QVERIFY(e->message_area->isReadOnly());
    }

    // The picker buttons and double clicks open the picker, whose choice lands in the box.
    void picker_fills_prefecture_and_airport() {
        Maint m;
        QTest::mouseClick(m.list()->add_button, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->prefecture_box->setFocus();
        e->prefecture_list_button->show();
        QTest::mouseClick(e->prefecture_list_button, Qt::LeftButton);
        auto* p = m.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QCOMPARE(p->mode(), SearchType::prefecture);
        QCOMPARE(p->opener(), e);
        QVERIFY(e->prefecture_list_button->isHidden());
        auto choose = [&](const QString& name) {
            for (int r = 0; r < p->name_list->count(); ++r)
                if (p->name_list->item(r)->text().startsWith(name + u'\t')) p->name_list->setCurrentRow(r);
            p->confirm();
        };
        choose(u8("千葉"));
        QVERIFY(!m.forms.loaded<PickerWindow>());
        QCOMPARE(e->prefecture_box->text(), u8("千葉"));
        QCOMPARE(e->focusWidget(), e->airport_box);

        QTest::mouseDClick(e->airport_box, Qt::LeftButton);
        p = m.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QCOMPARE(p->mode(), SearchType::airport);
        choose(u8("東京／成田"));
        QCOMPARE(e->airport_box->text(), u8("東京／成田"));
        QCOMPARE(e->focusWidget(), e->district_box);
        QCOMPARE(m.st.settings.airport_history(1), u8("東京／成田"));
    }

    void edit_window_cancel_and_esc() {
        Maint m(line(hotel_b));
        QTest::mouseClick(m.list()->add_button, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->hotel_name_box->setText(u8("未保存"));
        QTest::mouseClick(e->cancel_button, Qt::LeftButton); // 取消終了: the list again, nothing stored
        QVERIFY(!m.edit());
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(m.st.user.user_count, Integer(1));

        QTest::mouseClick(m.list()->add_button, Qt::LeftButton);
        e = m.edit();
        QTest::keyClick(e->hotel_name_box, Qt::Key_Escape); // Esc: closes only
        QVERIFY(!m.edit());
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(m.st.user.user_count, Integer(1));
    }

    // Each way of closing the list writes the file, or not, as the table of closings says.
    void ways_of_closing() {
        const QString original = line(hotel_b) + line(hotel_c);
        {
            // 取消終了 after an add brings the list back to the file's content.
            Maint m(original);
            m.add_hotel(hotel_a);
            QCOMPARE(m.st.user.user_count, Integer(3));
            m.st.directory.add_user_hotels(); // a search appended the added hotel meanwhile
            QTest::mouseClick(m.list()->cancel_button, Qt::LeftButton);
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(m.st.user.user_count, Integer(2));
            QCOMPARE(m.file(), original);
            QCOMPARE(m.st.user.user_copied_flg, Integer(0)); // the searches drop it again
        }
        {
            // 取消終了 after deletions restores them.
            Maint m(original);
            MaintenanceListWindow* w = m.list();
            Maint::click(w, 1, 3);
            QTest::mouseClick(w->delete_button, Qt::LeftButton);
            QCOMPARE(m.st.user.user_count, Integer(1));
            QTest::mouseClick(w->cancel_button, Qt::LeftButton);
            QCOMPARE(m.st.user.user_count, Integer(2));
            QCOMPARE(m.file(), original);
        }
        {
            // Esc and the close box write on unload; 登録終了 writes before closing.
            Maint m(original);
            MaintenanceListWindow* w = m.list();
            Maint::click(w, 1, 3);
            QTest::mouseClick(w->delete_button, Qt::LeftButton);
            QTest::keyClick(w->hotels_grid, Qt::Key_Escape);
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(m.file(), line(hotel_c));

            w = m.list();
            QCOMPARE(w->model->rowCount(), 1);
            Maint::click(w, 1, 3);
            QTest::mouseClick(w->delete_button, Qt::LeftButton);
            w->close();
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(m.file(), QString());

            m.add_hotel(hotel_a);
            w = m.list();
            QTest::mouseClick(w->save_button, Qt::LeftButton);
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(m.file(), line(hotel_a));
            QVERIFY(m.pf.messages.isEmpty() || m.pf.messages.last().title != texts::error_title);

            // 登録終了 writes the file once: the unload that follows does not write it again.
            w = m.list();
            QCOMPARE(w->saved(), Integer(0));
            const int saves = faulty_disk.saves();
            QTest::mouseClick(w->save_button, Qt::LeftButton);
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(faulty_disk.saves() - saves, 1);
        }
    }

    // What 取消終了 cancels is neither kept nor written, even when the disk is full or the file cannot
    // be read again.
    void cancel_writes_nothing() {
        const QString original = line(hotel_b) + line(hotel_c);
        {
            Maint m(original);
            m.add_hotel(hotel_a);
            save_faults.fail_create = true;
            const auto shown = m.pf.messages.size();
            QTest::mouseClick(m.list()->cancel_button, Qt::LeftButton);
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(m.pf.messages.size(), shown);
            QCOMPARE(m.file(), original);
        }
    }

    // 取消終了 reads the file again only when it is a regular file with something in it; otherwise the
    // hotels in memory stay, and a later close writes them.
    void cancel_without_a_file_keeps_the_hotels_data() {
        QTest::addColumn<int>("how");
        QTest::newRow("file removed") << 0;
        QTest::newRow("file emptied") << 1;
        QTest::newRow("a folder in its place") << 2;
    }
    void cancel_without_a_file_keeps_the_hotels() {
        QFETCH(int, how);
        Maint m(line(hotel_b) + line(hotel_c));
        MaintenanceListWindow* w = m.list();
        QVERIFY(QFile::remove(m.dir.file(csv)));
        if (how == 1) m.dir.write(csv, QByteArray());
        if (how == 2) QVERIFY(QDir(m.dir.path()).mkdir(csv));
        QTest::mouseClick(w->cancel_button, Qt::LeftButton);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>() && m.pf.messages.isEmpty());
        QCOMPARE(Maint::column(m.list(), 3), QStringList({u8("ホテルB"), u8("ホテルC")}));
        QTest::keyClick(m.list()->hotels_grid, Qt::Key_Escape);
        QCOMPARE(m.file(), how == 2 ? QString() : line(hotel_b) + line(hotel_c));
    }

    // Only the user's choice selects a hotel: the grid taking the focus does not, a cell with text (or
    // any cell of an all-blank row) chosen by click, arrow keys or Space does, a click under the rows
    // changes nothing.
    void selection_is_the_users_choice() {
        Maint m(line(hotel_b) + line(hotel_c));
        MaintenanceListWindow* w = m.list();
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->hotels_grid->setFocus();
        QApplication::processEvents();
        QVERIFY(!w->modify_button->isEnabled());
        QVERIFY(!w->delete_button->isEnabled());
        QCOMPARE(w->chosen_row(), Integer(0));
        QTest::keyClick(w->hotels_grid, Qt::Key_Down);
        QVERIFY(w->modify_button->isEnabled());
        QCOMPARE(w->chosen_row(), Integer(w->hotels_grid->currentIndex().row() + 1));
        // A click under the rows selects nothing and leaves the buttons.
        const int chosen = w->chosen_row();
        QTest::mouseClick(w->hotels_grid->viewport(), Qt::LeftButton, {},
                          QPoint(5, w->hotels_grid->viewport()->height() - 3));
        QCOMPARE(w->chosen_row(), Integer(chosen));
        QVERIFY(w->delete_button->isEnabled());
        // After a deletion, neither a click under the rows nor the focus chooses.
        m.pf.answers = {MsgAnswer::Ok};
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        QVERIFY(!w->delete_button->isEnabled());
        QTest::mouseClick(w->hotels_grid->viewport(), Qt::LeftButton, {},
                          QPoint(5, w->hotels_grid->viewport()->height() - 3));
        w->hotels_grid->setFocus();
        QApplication::processEvents();
        QVERIFY(!w->delete_button->isEnabled());
        // Space chooses the current cell.
        Maint::click(w, 1, 0);
        w->close_window();
        w = m.list();
        QVERIFY(!w->delete_button->isEnabled());
        w->hotels_grid->setFocus();
        w->hotels_grid->setCurrentIndex(w->model->index(0, 3));
        QVERIFY(!w->delete_button->isEnabled());
        QTest::keyClick(w->hotels_grid, Qt::Key_Space);
        QVERIFY(w->delete_button->isEnabled());
    }

    void all_blank_row_can_be_deleted() {
        Maint m(QStringLiteral(" \r\n") + line(hotel_b));
        QCOMPARE(m.st.user.user_count, Integer(2));
        MaintenanceListWindow* w = m.list();
        const int blank_row = m.st.user.user_name(1).isEmpty() ? 1 : 2;
        Maint::click(w, blank_row, 5);
        QVERIFY(w->delete_button->isEnabled());
        m.pf.answers = {MsgAnswer::Ok};
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        QCOMPARE(Maint::column(w, 3), QStringList{u8("ホテルB")});
        QTest::mouseClick(w->save_button, Qt::LeftButton);
        QCOMPARE(m.file(), line(hotel_b));
    }

    // A hotel read with a byte that is no character is stored again as it was: only a box the user
    // changed is checked for characters the file cannot hold.
    void bytes_outside_the_code_page_stored_again_data() {
        QTest::addColumn<QString>("added");
        QTest::newRow("name unchanged, phone changed") << QString();
        QTest::newRow("name changed, its byte kept") << u8("別");
    }
    void bytes_outside_the_code_page_stored_again() {
        QFETCH(QString, added);
        Maint m;
        QByteArray bytes = encode_cp932(line(hotel_b) + line(hotel_c));
        bytes.replace(encode_cp932(u8("ホテルB")), encode_cp932(u8("ホテル")) + "\x80"
                                                                                "B");
        m.dir.write(csv, bytes);
        QVERIFY(m.st.directory.read_user_file(m.dir.file(csv), QString()));
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->modify_button, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->phone_box->setText(QStringLiteral("03-9999-9999"));
        e->hotel_name_box->setText(e->hotel_name_box->text() + added);
        QTest::mouseClick(e->update_button, Qt::LeftButton);
        QCOMPARE(m.message(e), added.isEmpty() ? QString() : texts::unstorable_characters.arg(field_name(4)));
        if (!added.isEmpty()) return;
        QTest::keyClick(m.list()->hotels_grid, Qt::Key_Escape);
        QCOMPARE(m.dir.read(csv), bytes.replace("03-2222-2222", "03-9999-9999"));
    }

    // Texts longer than a text box's usual limit, typed or read, are kept whole.
    void long_texts_are_kept_whole() {
        Maint m;
        QStringList f = hotel_a;
        f[6] = QString(40000, QChar(0x3042));
        m.add_hotel(f);
        QCOMPARE(m.st.user.user_count, Integer(1));
        QCOMPARE(m.st.user.user_access(1).size(), 40000);
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->modify_button, Qt::LeftButton);
        QCOMPARE(m.edit()->field_box(7)->text().size(), 40000);
    }

    // A file of any bytes comes back field by field after the list has been opened and closed.
    void random_file_survives_the_list() {
        QRandomGenerator random(41);
        for (int round = 0; round < 10; ++round) {
            QByteArray bytes(random.bounded(1, 3000), Qt::Uninitialized);
            for (char& b : bytes) b = char(random.bounded(256));
            Maint m;
            m.dir.write(csv, bytes);
            QVERIFY(m.st.directory.read_user_file(m.dir.file(csv), QString()));
            const UserTables before = m.st.user;
            QTest::keyClick(m.list()->add_button, Qt::Key_Escape);
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            UserTables after;
            QVERIFY(read_user_file(m.dir.file(csv), after, m.st.db, QString()));
            QCOMPARE(after.user_count, before.user_count);
            for (int i = 1; i <= before.user_count; ++i)
                QCOMPARE(user_record(after, i), user_record(before, i));
        }
    }

    void failing_save_keeps_file_and_list_data() {
        QTest::addColumn<bool>("read_only");
        QTest::newRow("folder not writable") << true;
        QTest::newRow("full disk") << false;
    }
    void failing_save_keeps_file_and_list() {
        QFETCH(bool, read_only);
        const QString original = line(hotel_b) + line(hotel_c);
        Maint m(original);
        const QByteArray before = m.dir.read(csv);
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        if (read_only)
            save_faults.fail_create = true;
        else
            save_faults.space = 0;
        QTest::mouseClick(w->save_button, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().title, texts::error_title);
        QVERIFY(m.pf.messages.last().text.contains(csv));
        QCOMPARE(m.dir.read(csv), before);
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(w->saved(), Integer(0));
        QCOMPARE(w->model->rowCount(), 1);
        QCOMPARE(m.st.user.user_name(1), u8("ホテルC"));

        // Closing with the failure still there: told again, the hotels stay in memory.
        QTest::keyClick(w->add_button, Qt::Key_Escape);
        QCOMPARE(m.pf.messages.size(), 3);
        QCOMPARE(m.dir.read(csv), before);
        QCOMPARE(m.st.user.user_count, Integer(1));

        // Once the disk takes it, the next close writes them.
        save_faults = {};
        m.list()->close_window();
        QCOMPARE(m.file(), line(hotel_c));
    }

    void capacity_is_refused() {
        Maint m(line(hotel_b) + line(hotel_c).repeated(UserTables::user_capacity - 1));
        MaintenanceListWindow* w = m.list();
        QTest::mouseClick(w->add_button, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().title, texts::error_title);
        QVERIFY(m.pf.messages.last().text.contains(u8("500件")));
        QVERIFY(!m.edit());
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());

        Maint::click(w, 1, 3);
        QTest::mouseClick(w->modify_button, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        QTest::mouseClick(e->add_update_button, Qt::LeftButton);
        QVERIFY(m.message(e).contains(u8("500件")));
        QCOMPARE(test::announced(e), m.message(e));
        QCOMPARE(m.st.user.user_count, Integer(UserTables::user_capacity));
        // Modifying is still possible.
        e->hotel_name_box->setText(u8("ホテルB改"));
        QTest::mouseClick(e->update_button, Qt::LeftButton);
        QCOMPARE(m.st.user.user_name(1), u8("ホテルB改"));
    }

    void main_menu_opens_the_list_and_writes_at_the_end() {
        test::RunningProgram p(build_database(test::small_source()));
        p.dir.write(csv, encode_cp932(line(hotel_b) + line(hotel_c)));
        QVERIFY(p.start());
        auto* menu = p.forms.loaded<MainMenuWindow>();
        QCOMPARE(p.st.user.user_count, Integer(2));
        QTest::mouseClick(menu->user_hotels_button, Qt::LeftButton);
        MaintenanceListWindow* w = p.forms.loaded<MaintenanceListWindow>();
        QVERIFY(w);
        QCOMPARE(w->model->rowCount(), 2);

        // While a hotel is edited the menu brings the edit window up instead of the list.
        Maint::click(w, 2, 3);
        QTest::mouseClick(w->modify_button, Qt::LeftButton);
        QVERIFY(p.forms.loaded<HotelEditWindow>());
        QTest::mouseClick(menu->user_hotels_button, Qt::LeftButton);
        QVERIFY(!p.forms.loaded<MaintenanceListWindow>());
        QVERIFY(p.forms.loaded<HotelEditWindow>()->isVisible());
        QTest::mouseClick(p.forms.loaded<HotelEditWindow>()->cancel_button, Qt::LeftButton);

        // Ending the program with the list open writes the confirmed deletion.
        w = p.forms.loaded<MaintenanceListWindow>();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        QTest::mouseClick(menu->close_button, Qt::LeftButton);
        QCOMPARE(p.ended, 1);
        QCOMPARE(decode_cp932(p.dir.read(csv)), line(hotel_c));
    }

    // A user file that is there but cannot be read: every attempt to open the list says which file and
    // why, the list stays closed and nothing writes the file; once it reads, the list opens on it.
    void unreadable_user_file_keeps_the_list_closed() {
        test::RunningProgram p(build_database(test::small_source()));
        QVERIFY(QDir(p.dir.path()).mkdir(csv));
        QVERIFY(p.start());
        auto* menu = p.forms.loaded<MainMenuWindow>();
        for (int attempt = 1; attempt <= 2; ++attempt) {
            const auto shown = p.pf.messages.size();
            QTest::mouseClick(menu->user_hotels_button, Qt::LeftButton);
            QVERIFY(!p.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(p.pf.messages.size(), shown + 1);
            QCOMPARE(p.pf.messages.last().title, texts::error_title);
            QVERIFY(p.pf.messages.last().text.contains(p.dir.file(csv)));
        }
        QVERIFY(QFileInfo(p.dir.file(csv)).isDir());
        QVERIFY(QDir(p.dir.path()).rmdir(csv));
        p.dir.write(csv, encode_cp932(line(hotel_b)));
        QTest::mouseClick(menu->user_hotels_button, Qt::LeftButton);
        QVERIFY(p.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(p.forms.loaded<MaintenanceListWindow>()->model->rowCount(), 1);
    }

    // An open results grid keeps the hotels its search found while the user hotels change and are
    // appended again: its rows, its row click and its detail window stay with them.
    void open_results_keep_their_hotels() {
        Maint m(line(hotel_b) + line(hotel_c));
        m.st.settings_store.set_browser(QStringLiteral("1"), m.st.settings.inet_data2);
        auto* s = m.forms.show<SearchConditionsWindow>();
        s->key_box->setText(u8("東京"));
        QTest::mouseClick(s->search_button, Qt::LeftButton);
        ResultsWindow* r = m.forms.loaded<ResultsWindow>();
        QVERIFY(r);
        QStringList names;
        for (int row = 1; row <= r->model->rowCount(); ++row) names << r->model->cell_text(row, 1);
        const int row_b = int(names.indexOf(u8("ホテルB"))) + 1;
        QVERIFY(row_b > 0);

        QSignalSpy deleted(&m.st.directory, &Directory::user_hotels_changed);
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        QCOMPARE(deleted.count(), 1);
        QTest::mouseClick(w->save_button, Qt::LeftButton);
        s->close_window();
        m.forms.show<SearchConditionsWindow>();
        QCOMPARE(m.st.db.hotel_name(m.st.db.hotel_count_db + 1), u8("ホテルC"));
        for (int row = 1; row <= r->model->rowCount(); ++row)
            QCOMPARE(r->model->cell_text(row, 1), names[row - 1]);
        r->hits_grid->setCurrentIndex(r->model->index(row_b - 1, 1));
        r->take_clicked_row();
        QCOMPARE(m.forms.loaded<DetailWindow>()->name_box->text(), u8("ホテルB"));
    }

    // A hotel added in the maintenance windows is found by the next search, after the directory's.
    void added_hotel_is_searched() {
        Maint m;
        m.add_hotel({u8("東京"), u8("東京／羽田"), u8("京橋"), u8("トマリナ京橋イン"), u8("03-0000-1111"),
                     u8("30"), u8("京橋駅すぐ"), u8("6500"), u8("夜景")});
        QTest::mouseClick(m.list()->save_button, Qt::LeftButton);
        QCOMPARE(m.st.user.user_copied_flg, Integer(0));

        auto search = [&](int option, const QString& entry) {
            auto* s = m.forms.show<SearchConditionsWindow>();
            QRadioButton* options[] = {s->prefecture_option, s->airport_option, s->hotel_name_option,
                                       s->district_option,   s->station_option, s->keyword_option};
            options[option - 1]->setChecked(true);
            s->key_box->setText(entry);
            QTest::mouseClick(s->search_button, Qt::LeftButton);
            return m.forms.loaded<ResultsWindow>();
        };
        ResultsWindow* r = search(1, u8("東京"));
        QVERIFY(r);
        QCOMPARE(m.st.user.user_copied_flg, Integer(1));
        const int user_position = m.st.db.hotel_count_db + 1;
        QCOMPARE(m.st.db.hotel_count, Integer(user_position));
        QVERIFY(m.st.search.state().sel_count >= 2);
        bool found = false;
        for (int k = 1; k <= m.st.search.state().sel_count; ++k)
            if (m.st.search.state().sel_hotel(k) == user_position) found = true;
        QVERIFY(found);
        QCOMPARE(m.st.db.hotel_price_num(user_position), Long(6500));

        r->close_window();
        r = search(6, u8("夜景"));
        QVERIFY(r);
        QCOMPARE(m.st.search.state().sel_count, Integer(1));
        QCOMPARE(m.st.search.state().sel_hotel(1), Integer(user_position));
        QCOMPARE(r->model->cell_text(1, 1), u8("トマリナ京橋イン"));
        r->close_window();

        // A deletion reaches the searches at the search window's next opening.
        m.forms.loaded<SearchConditionsWindow>()->close_window();
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->delete_button, Qt::LeftButton);
        w->close_window();
        QVERIFY(!search(6, u8("夜景")));
        QCOMPARE(m.st.db.hotel_count, m.st.db.hotel_count_db);
    }
};

QTEST_MAIN(TestMaintenanceWindows)
#include "test_maintenance_windows.moc"
