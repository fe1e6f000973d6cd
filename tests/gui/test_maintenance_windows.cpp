#include "data/database.h"
#include "data/save_file.h"
#include "data/text_rules.h"
#include "data/user_file.h"
#include "maintenance/hotel_edit_window.h"
#include "maintenance/maintenance_list_window.h"
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
        st.settings.max_kensuu = 1000;
        st.settings.sv_pop = 1;
        st.settings.apply_defaults();
        if (!lines.isNull()) dir.write(csv, encode_cp932(lines));
        st.directory.read_user_file(dir.file(csv), dir.file(QStringLiteral("tmp.csv")));
    }
    QString file() const { return decode_cp932(dir.read(csv)); }
    bool file_exists() const { return QFile::exists(dir.file(csv)); }

    MaintenanceListWindow* list() { return forms.show<MaintenanceListWindow>(); }
    HotelEditWindow* edit() { return forms.loaded<HotelEditWindow>(); }

    // The cell's centre in the grid's viewport.
    static QPoint cell(MaintenanceListWindow* w, int row, int column) {
        return w->MSFlexGrid1->visualRect(w->model->index(row - 1, column)).center();
    }
    static void click(MaintenanceListWindow* w, int row, int column) {
        QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cell(w, row, column));
    }
    static void double_click(MaintenanceListWindow* w, int row, int column) {
        click(w, row, column);
        QTest::mouseDClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {}, cell(w, row, column));
    }
    static void double_click_heading(MaintenanceListWindow* w, int column) {
        QHeaderView* h = w->MSFlexGrid1->horizontalHeader();
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
        for (int k = 1; k <= 9; ++k) e->text(k)->setText(f.value(k - 1));
    }
    // Opens the edit window for a new hotel from the list and stores it.
    void add_hotel(const QStringList& f) {
        MaintenanceListWindow* w = list();
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        HotelEditWindow* e = edit();
        QVERIFY(e);
        type(e, f);
        QTest::mouseClick(e->Command1, Qt::LeftButton);
    }
    QString message(HotelEditWindow* e) const { return input_form(e->Text10->toPlainText()); }
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
        QTest::mouseClick(m.list()->Command2, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        QVERIFY(e);
        for (int k = 1; k <= 9; ++k) {
            QLineEdit* box = e->text(k);
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
        e->Text4->clear();
        test::commit_text(e->Text4, u8("波〜ホテル"));
        QTest::mouseClick(e->Command1, Qt::LeftButton);
        QCOMPARE(m.st.user.user_count, Integer(1));
        QCOMPARE(m.st.user.user_name(1), u8("波～ホテル"));

        auto* w = m.forms.show<SearchConditionsWindow>();
        w->Option3->setChecked(true);
        test::commit_text(w->Text1, u8("波〜"));
        QCOMPARE(w->Text1->text(), u8("波～"));
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QVERIFY(m.forms.loaded<ResultsWindow>());
        QCOMPARE(m.st.search.state().sel_count, Integer(1));
    }

    void empty_list() {
        Maint m;
        MaintenanceListWindow* w = m.list();
        QCOMPARE(w->windowTitle(), u8("トマリナホテル情報＆予約"));
        QCOMPARE(w->model->rowCount(), 0);
        QCOMPARE(w->model->columnCount(), 9);
        const QStringList headings = {u8("都道府県"), u8("空港"),        u8("地区"),
                                      u8("ホテル名"), u8("電話番号"),    u8("部屋数"),
                                      u8("交通"),     u8("料金(ｼﾝｸﾞﾙ)"), u8("備考(評価)")};
        for (int c = 0; c < 9; ++c) QCOMPARE(w->model->heading(c), headings[c]);
        QCOMPARE(w->MSFlexGrid1->columnWidth(3), twips_to_px(1500));
        QCOMPARE(w->Command2->text(), u8("追加"));
        QCOMPARE(w->Command1->text(), u8("登録終了"));
        QCOMPARE(w->Command3->text(), u8("修正"));
        QCOMPARE(w->Command4->text(), u8("削除"));
        QCOMPARE(w->Command5->text(), u8("取消終了"));
        QVERIFY(!w->Command3->isEnabled());
        QVERIFY(!w->Command4->isEnabled());
        QVERIFY(!w->MSFlexGrid1->accessibleName().isEmpty());
        // The buttons in their tab order after the grid.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->MSFlexGrid1->setFocus();
        QTest::keyClick(w->MSFlexGrid1, Qt::Key_Tab);
        QVERIFY(w->Command2->hasFocus());
        QTest::keyClick(w->Command2, Qt::Key_Tab);
        QVERIFY(w->Command1->hasFocus());
    }

    void resize_rule() {
        Maint m(line(hotel_b));
        MaintenanceListWindow* w = m.list();
        const QRect grid = w->MSFlexGrid1->geometry();
        const QPoint add = w->Command2->pos(), save = w->Command1->pos(), cancel = w->Command5->pos();
        w->resize(w->width() + 150, w->height() + 90);
        QCOMPARE(w->MSFlexGrid1->width(), grid.width() + 150);
        QCOMPARE(w->MSFlexGrid1->height(), grid.height() + 90);
        QCOMPARE(w->Command2->pos(), add + QPoint(0, 90));
        QCOMPARE(w->Command1->pos(), save + QPoint(150, 90));
        QCOMPARE(w->Command5->pos(), cancel + QPoint(150, 90));
        QCOMPARE(w->Command4->x(), twips_to_px(2040));
        // Smaller than designed: the grid shrinks, never below nothing.
        w->resize(10, 10);
        QCOMPARE(w->MSFlexGrid1->height(), 0);
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
        QVERIFY(!w->Command3->isEnabled());
        QVERIFY(!w->Command4->isEnabled());
        Maint::click(w, 2, 3);
        QVERIFY(w->Command3->isEnabled());
        QVERIFY(w->Command4->isEnabled());
        QCOMPARE(w->user_sel_row(), Integer(2));
        // Nor does it move the highlight away from the row that 削除 acts on.
        Maint::click(w, 1, 3);
        Maint::click(w, 2, 5);
        QCOMPARE(w->user_sel_row(), Integer(1));
        QCOMPARE(w->MSFlexGrid1->selectionModel()->selectedIndexes().value(0).row(), 0);

        // A second 削除 pressed while the first one's confirmation waits deletes nothing more.
        bool again = true;
        NestedLoop::entered = [&] {
            if (std::exchange(again, false)) w->Command4_Click();
        };
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        NestedLoop::entered = nullptr;
        QCOMPARE(Maint::column(w, 3), QStringList{u8("ホテルC")});
        QCOMPARE(w->user_sel_row(), Integer(0));
    }

    // The list's cells and headings are drawn like the results grid's, over the whole column width: a
    // twelve-character phone number and a marked heading show whole.
    void long_phone_and_marked_headings_are_not_cut() {
        QStringList hotel = hotel_b;
        hotel[4] = u8("012-345-6789");
        Maint m(line(hotel) + line(hotel_a));
        MaintenanceListWindow* w = m.list();
        auto* cells = qobject_cast<ResultsCellDelegate*>(w->MSFlexGrid1->itemDelegate());
        auto* heading = qobject_cast<GridHeading*>(w->MSFlexGrid1->horizontalHeader());
        QVERIFY(cells && heading);
        const QString phone = w->model->data(w->model->index(0, 4), Qt::DisplayRole).toString();
        QCOMPARE(phone, u8("012-345-6789"));
        QVERIFY(cells->layout().width(phone) <= w->MSFlexGrid1->columnWidth(4));
        for (const int column : {5, 7, 1}) {
            Maint::double_click_heading(w, column);
            for (int c = 0; c < user_list_columns; ++c) {
                const QStringList lines = heading->heading_lines(c);
                QCOMPARE(lines.join(QString()), w->model->heading(c));
                for (const QString& l : lines)
                    QVERIFY2(cells->layout().width(l) <= w->MSFlexGrid1->columnWidth(c), qPrintable(l));
                QVERIFY(heading->height() >= cells->layout().lines_height(int(lines.size())));
            }
        }
        QCOMPARE(w->model->heading(1), u8("▼ 空港"));
    }

    // A field of a huge user file is laid out only as far as its cell shows it: the whole field once
    // crashed the list when the cell was drawn.
    void huge_field_drawn_only_as_far_as_the_cell_shows() {
        QStringList huge = hotel_b;
        huge[3] = QString(4'000'000, u'W');
        Maint m(line(huge));
        MaintenanceListWindow* w = m.list();
        w->show();
        auto* cells = qobject_cast<ResultsCellDelegate*>(w->MSFlexGrid1->itemDelegate());
        QVERIFY(cells);
        const QRect cell = w->MSFlexGrid1->visualRect(w->model->index(0, 3));
        const QString text = w->model->data(w->model->index(0, 3), Qt::DisplayRole).toString();
        const QStringList lines = cells->cell_lines(text, cell.size(), w->MSFlexGrid1->wordWrap());
        QVERIFY(!lines.isEmpty());
        QVERIFY(lines.join(QString()).size() <= 2 * (cell.width() + 1));
        QVERIFY(!w->MSFlexGrid1->grab().isNull());
    }

    void reorder_marks_heading_and_keeps_each_row() {
        Maint m(line(hotel_b) + line(hotel_c) + line(hotel_a));
        MaintenanceListWindow* w = m.list();
        Maint::double_click_heading(w, 3);
        QCOMPARE(m.st.directory.order().user_sort_key_name, ordering_name(Ordering::name));
        QCOMPARE(w->model->heading(3), u8("▼ ホテル名"));
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルA"), u8("ホテルB"), u8("ホテルC")}));

        // A double click on a cell of the first row orders by its column too.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w));
        w->MSFlexGrid1->setFocus();
        w->MSFlexGrid1->setCurrentIndex(w->model->index(0, 7));
        QTest::keyClick(w->MSFlexGrid1, Qt::Key_Return);
        // The keyboard stays where it was, in the grid.
        QVERIFY(w->MSFlexGrid1->hasFocus());
        QCOMPARE(w->MSFlexGrid1->currentIndex(), w->model->index(0, 7));
        QCOMPARE(w->model->heading(7), u8("▼ 料金(ｼﾝｸﾞﾙ)"));
        QCOMPARE(w->model->heading(3), u8("ホテル名"));
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルC"), u8("ホテルA"), u8("ホテルB")}));
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());

        // The access column orders by prefecture and marks the prefecture heading.
        Maint::double_click_heading(w, 6);
        QCOMPARE(w->model->heading(0), u8("▼ 都道府県"));
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルA"), u8("ホテルB"), u8("ホテルC")}));

        // By name again, then delete the third row: the others stay once each, the mark stays.
        Maint::double_click_heading(w, 3);
        Maint::click(w, 3, 3);
        m.pf.answers = {MsgAnswer::Ok};
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().text, u8("本当に削除しますよ！！"));
        QCOMPARE(m.pf.messages.last().title, u8("確認メッセージ"));
        QCOMPARE(m.pf.messages.last().buttons, MsgButtons::OkCancel);
        QCOMPARE(m.pf.messages.last().icon, MsgIcon::Exclamation);
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルA"), u8("ホテルB")}));
        QCOMPARE(w->focusWidget(), w->MSFlexGrid1);
        QCOMPARE(w->model->heading(3), u8("▼ ホテル名"));
        QVERIFY(!w->Command3->isEnabled());
        QCOMPARE(m.st.user.user_copied_flg, Integer(0));

        // The ordering is remembered for the next opening, whose rows start in file order.
        w->close_window();
        w = m.list();
        QCOMPARE(w->model->heading(3), u8("▼ ホテル名"));
        QCOMPARE(Maint::column(w, 3), (QStringList{u8("ホテルB"), u8("ホテルA")}));
    }

    void delete_cancel_and_last_hotel() {
        Maint m(line(hotel_b));
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 0);
        m.pf.answers = {MsgAnswer::Cancel};
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        QCOMPARE(m.st.user.user_count, Integer(1));
        QCOMPARE(w->model->rowCount(), 1);
        QVERIFY(w->Command4->isEnabled());

        QTest::mouseClick(w->Command4, Qt::LeftButton); // answered Ok
        QCOMPARE(m.st.user.user_count, Integer(0));
        QCOMPARE(w->model->rowCount(), 0);
        // The next close writes an empty file.
        QTest::keyClick(w->Command2, Qt::Key_Escape);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        QVERIFY(m.file_exists());
        QCOMPARE(m.file(), QString());
    }

    void modify_after_reorder_opens_the_rows_hotel() {
        Maint m(line(hotel_b) + line(hotel_c) + line(hotel_a));
        MaintenanceListWindow* w = m.list();
        Maint::double_click_heading(w, 3); // A, B, C
        Maint::click(w, 3, 3);
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        HotelEditWindow* e = m.edit();
        QVERIFY(e);
        QCOMPARE(e->target().mode, EditMode::upd);
        QCOMPARE(e->target().user_no, Integer(2));
        QCOMPARE(e->Label11->text(), u8("修正モード"));
        QCOMPARE(e->Text4->text(), u8("ホテルC"));
        QCOMPARE(e->Text1->text(), u8("千葉"));
        QCOMPARE(e->Text2->text(), u8("東京／成田"));
        QCOMPARE(e->Text8->text(), u8("\\7,000"));
        QVERIFY(e->Command3->isEnabled());

        e->Text5->setText(u8("0476-00-0000"));
        m.pf.answers = {MsgAnswer::Ok};
        QTest::mouseClick(e->Command1, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().text, u8("更新しますよ！！"));
        QCOMPARE(m.pf.messages.last().title, u8("確認メッセージ"));
        QCOMPARE(m.st.user.user_tel(2), u8("0476-00-0000"));
        QCOMPARE(m.st.user.user_tel(1), u8("03-2222-2222"));
        QCOMPARE(m.st.user.user_count, Integer(3));
        QVERIFY(!m.edit());
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());

        // A double click on a data row opens its hotel as 修正 does.
        w = m.forms.loaded<MaintenanceListWindow>();
        Maint::double_click(w, 2, 3);
        QVERIFY(m.edit());
        QCOMPARE(m.edit()->Text4->text(), u8("ホテルC"));
    }

    void add_from_the_list() {
        Maint m;
        m.st.settings.text1_hist(1) = u8("千葉");
        MaintenanceListWindow* w = m.list();
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        QVERIFY(m.file_exists()); // the list's close wrote the (still empty) tables
        HotelEditWindow* e = m.edit();
        QCOMPARE(e->Label11->text(), u8("追加モード"));
        QVERIFY(!e->Command3->isEnabled());
        QCOMPARE(e->Text1->text(), u8("千葉")); // the latest prefecture of the history
        QCOMPARE(e->Text2->text(), u8("福岡")); // an empty history
        QVERIFY(e->Text4->text().isEmpty());
        QVERIFY(e->Command4->isHidden());
        QVERIFY(e->Command5->isHidden());

        Maint::type(e, {u8("東京"), u8("東京／羽田"), QString(), u8("トマリナホテル"), u8("012-345-6789"),
                        u8("123"), u8("京橋駅徒歩１０分"), u8("10000"), u8("○")});
        m.pf.answers = {MsgAnswer::Cancel};
        QTest::mouseClick(e->Command1, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().text, u8("追加しますよ！！"));
        QCOMPARE(m.st.user.user_count, Integer(0));
        QVERIFY(m.edit());
        QCOMPARE(e->Text3->text(), u8("東京／羽田")); // the district took the airport
        QCOMPARE(e->Text8->text(), u8("\\10,000"));

        QTest::mouseClick(e->Command1, Qt::LeftButton); // answered Ok
        QCOMPARE(m.st.user.user_count, Integer(1));
        QCOMPARE(m.st.user.user_price(1), u8("\\10,000"));
        QCOMPARE(m.st.user.user_price_num(1), Long(10000));
        QCOMPARE(m.st.user.user_syousai_name(1), u8("東京／羽田"));
        QCOMPARE(m.st.user.user_ken(1), Long(2));
        w = m.forms.loaded<MaintenanceListWindow>();
        QVERIFY(w);
        QCOMPARE(Maint::column(w, 3), QStringList{u8("トマリナホテル")});

        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(m.file(),
                 u8("\"東京\",\"東京／羽田\",\"東京／羽田\",\"トマリナホテル\",\"012-345-6789\",\"123\","
                    "\"京橋駅徒歩１０分\",\"\\10,000\",\"○\"\r\n"));
    }

    void add_update_leaves_the_original() {
        Maint m(line(hotel_b));
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->Text4->setText(u8("ホテルB別館"));
        e->Text2->clear();
        QTest::mouseClick(e->Command3, Qt::LeftButton);
        QCOMPARE(m.message(e), u8("ホテル空港名は省略できません"));
        e->Text2->setText(u8("羽田"));
        QTest::mouseClick(e->Command3, Qt::LeftButton);
        QCOMPARE(m.message(e), u8("ホテル空港名の入力です"));
        e->Text2->setText(u8("東京／羽田"));
        QTest::mouseClick(e->Command3, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().text, u8("追加しますよ！！"));
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
        QTest::mouseClick(m.list()->Command2, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->show();
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e));
        Maint::type(e, {});
        auto press = [&](int field, const char* message) {
            QTest::mouseClick(e->Command1, Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(m.message(e), u8(message));
            QVERIFY2(e->text(field)->hasFocus(), message);
            QVERIFY(m.pf.messages.isEmpty());
            // A screen reader hears it where the focus is, before the prompt, and at once, every time.
            QCOMPARE(e->text(field)->accessibleName(), field_name(field));
            QCOMPARE(e->text(field)->accessibleDescription(),
                     u8(message) + u'\n' +
                         field_prompt(field).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
            QCOMPARE(test::announced(e), u8(message));
        };
        press(1, "都道府県名は省略できません");
        e->Text1->setText(u8("福岡"));
        press(1, "都道府県名の入力誤りです");
        e->Text1->setText(u8("東京"));
        press(2, "空港名は省略できません");
        e->Text2->setText(u8("羽田"));
        press(2, "空港名の入力です");
        e->Text2->setText(u8("東京／羽田"));
        press(4, "ホテル名は省略できません");
        QCOMPARE(e->Text3->text(), u8("東京／羽田"));
        e->Text4->setText(u8("ホテル😀"));
        press(4, "ホテル名に使用できない文字が含まれています");
        e->Text4->setText(u8("ホテル"));
        press(5, "電話番号は省略できません");
        e->Text5->setText(u8("03"));
        e->Text6->setText(u8("1O"));
        press(6, "部屋数の入力に誤り(数字のみ可)");
        e->Text6->clear();
        press(8, "料金は省略できません");
        e->Text8->setText(u8("5"));
        press(8, "料金は省略できません");
        QCOMPARE(e->Text8->text(), u8("\\5"));
        e->Text8->setText(u8("円"));
        press(8, "料金は省略できません");
        QCOMPARE(e->Text8->text(), u8("円"));
        QCOMPARE(m.st.user.user_count, Integer(0));

        // Moving on from the field brings back the prompts, and the fields their names.
        QTest::keyClick(e->Text8, Qt::Key_Tab);
        QVERIFY(e->Text9->hasFocus());
        QCOMPARE(m.message(e), u8("備考を入力して下さい（省略可）\n入力例：○"));
        QCOMPARE(e->Text8->accessibleName(), u8("料金"));
        QCOMPARE(test::announced(e), QString());

        // Refused, mended, and the confirmation cancelled: the field is named by its label again.
        press(8, "料金は省略できません");
        e->Text8->setText(u8("10000"));
        m.pf.answers = {MsgAnswer::Cancel};
        QTest::mouseClick(e->Command1, Qt::LeftButton);
        QCOMPARE(e->Text8->accessibleName(), u8("料金"));
    }

    void enter_checks_prompts_and_picker_buttons() {
        Maint m;
        QTest::mouseClick(m.list()->Command2, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->show();
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e));
        e->Text1->setFocus();
        QCOMPARE(m.message(e), u8("都道府県を選択して下さい\n入力例：東京"));
        QCOMPARE(e->Text1->accessibleDescription(), m.message(e));
        QVERIFY(e->Command4->isVisible());
        QVERIFY(!e->Command5->isVisible());

        QTest::keyClick(e->Text1, Qt::Key_Return); // 福岡 is not in the directory
        QCOMPARE(m.message(e), u8("都道府県名の入力誤りです"));
        QVERIFY(e->Text1->hasFocus());
        QCOMPARE(e->Text1->accessibleName(), u8("都道府県名"));
        QVERIFY(e->Text1->accessibleDescription().startsWith(u8("都道府県名の入力誤りです\n")));
        QCOMPARE(test::announced(e), u8("都道府県名の入力誤りです"));
        e->Text1->setText(u8("東京"));
        QTest::keyClick(e->Text1, Qt::Key_Return);
        QVERIFY(e->Text2->hasFocus());
        QCOMPARE(e->Text1->accessibleName(), u8("都道府県名"));
        QCOMPARE(test::announced(e), QString());
        QCOMPARE(m.message(e), u8("空港名を選択して下さい\n入力例：東京／羽田"));
        QVERIFY(!e->Command4->isVisible());
        QVERIFY(e->Command5->isVisible());
        QTest::keyClick(e->Text2, Qt::Key_Return);
        QCOMPARE(m.message(e), u8("空港名の入力誤りです"));
        e->Text2->setText(u8("東京／羽田"));
        QTest::keyClick(e->Text2, Qt::Key_J, Qt::ControlModifier); // line feed
        QVERIFY(e->Text3->hasFocus());
        QVERIFY(!e->Command4->isVisible());
        QVERIFY(!e->Command5->isVisible());
        QTest::keyClick(e->Text3, Qt::Key_Enter);
        QCOMPARE(e->Text3->text(), u8("東京／羽田"));
        QVERIFY(e->Text4->hasFocus());
        QCOMPARE(m.message(e), u8("ホテル名を入力して下さい\n入力例：トマリナホテル"));
        QTest::keyClick(e->Text4, Qt::Key_Return);
        QCOMPARE(m.message(e), u8("ホテル名は省略できません"));
        e->Text4->setText(u8("ホテル"));
        QTest::keyClick(e->Text4, Qt::Key_Return);
        QTest::keyClick(e->Text5, Qt::Key_Return);
        QCOMPARE(m.message(e), u8("電話番号は省略できません"));
        QTest::keyClicks(e->Text5, u8("03"));
        QTest::keyClick(e->Text5, Qt::Key_Return);
        QTest::keyClicks(e->Text6, u8("a"));
        QTest::keyClick(e->Text6, Qt::Key_Return);
        QCOMPARE(m.message(e), u8("部屋数の入力に誤り(数字のみ可)"));
        e->Text6->clear();
        QTest::keyClick(e->Text6, Qt::Key_Return);
        QVERIFY(e->Text7->hasFocus());
        QTest::keyClick(e->Text7, Qt::Key_Return);
        QVERIFY(e->Text8->hasFocus());
        QCOMPARE(m.message(e), u8("料金を入力して下さい\n入力例：\\10,000"));
        QTest::keyClicks(e->Text8, u8("10000"));
        QTest::keyClick(e->Text8, Qt::Key_Return);
        QCOMPARE(e->Text8->text(), u8("\\10,000"));
        QVERIFY(e->Text9->hasFocus());
        QCOMPARE(test::announced(e), u8("料金 ¥10,000")); // as the box now shows it
        QTest::keyClick(e->Text9, Qt::Key_Return);
        QVERIFY(e->Command1->hasFocus());

        // Back to the prefecture: its picker button shows again, the airport's hides.
        e->Text2->setFocus();
        e->Text1->setFocus();
        QVERIFY(e->Command4->isVisible());
        QVERIFY(!e->Command5->isVisible());

        // The picker's choice lands in the box and moves the focus on.
        e->picker_chosen(SearchType::airport, u8("東京／成田"));
        QCOMPARE(e->Text2->text(), u8("東京／成田"));
        QVERIFY(e->Text3->hasFocus());
        e->picker_chosen(SearchType::prefecture, u8("千葉"));
        QCOMPARE(e->Text1->text(), u8("千葉"));
        QVERIFY(e->Text2->hasFocus());
        QCOMPARE(test::announced(e), u8("都道府県名 千葉"));

        // Labels name the boxes; the message area and labels keep their colours.
        QCOMPARE(e->Label4->text(), u8("ホテル名　："));
        QCOMPARE(e->Label4->buddy(), e->Text4);
        QCOMPARE(e->Text4->accessibleName(), u8("ホテル名"));
        QCOMPARE(e->Text10->palette().color(QPalette::Base), QColor(0xC0, 0xFF, 0xC0));
        QCOMPARE(e->Label10->palette().color(QPalette::Window), QColor(0xC0, 0xFF, 0xC0));
        QCOMPARE(e->Label11->palette().color(QPalette::Window), QColor(0xFF, 0xFF, 0x00));
        QVERIFY(e->Text10->isReadOnly());
    }

    // The picker buttons and double clicks open the picker, whose choice lands in the box.
    void picker_fills_prefecture_and_airport() {
        Maint m;
        QTest::mouseClick(m.list()->Command2, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->Text1->setFocus();
        e->Command4->show();
        QTest::mouseClick(e->Command4, Qt::LeftButton);
        auto* p = m.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QCOMPARE(p->mode(), SearchType::prefecture);
        QCOMPARE(p->opener(), e);
        QVERIFY(e->Command4->isHidden());
        auto choose = [&](const QString& name) {
            for (int r = 0; r < p->List1->count(); ++r)
                if (p->List1->item(r)->text().startsWith(name + u'\t')) p->List1->setCurrentRow(r);
            p->List1_DblClick();
        };
        choose(u8("千葉"));
        QVERIFY(!m.forms.loaded<PickerWindow>());
        QCOMPARE(e->Text1->text(), u8("千葉"));
        QCOMPARE(e->focusWidget(), e->Text2);

        QTest::mouseDClick(e->Text2, Qt::LeftButton);
        p = m.forms.loaded<PickerWindow>();
        QVERIFY(p);
        QCOMPARE(p->mode(), SearchType::airport);
        choose(u8("東京／成田"));
        QCOMPARE(e->Text2->text(), u8("東京／成田"));
        QCOMPARE(e->focusWidget(), e->Text3);
        QCOMPARE(m.st.settings.text2_hist(1), u8("東京／成田"));
    }

    void edit_window_cancel_and_esc() {
        Maint m(line(hotel_b));
        QTest::mouseClick(m.list()->Command2, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->Text4->setText(u8("未保存"));
        QTest::mouseClick(e->Command2, Qt::LeftButton); // 取消終了: the list again, nothing stored
        QVERIFY(!m.edit());
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(m.st.user.user_count, Integer(1));

        QTest::mouseClick(m.list()->Command2, Qt::LeftButton);
        e = m.edit();
        QTest::keyClick(e->Text4, Qt::Key_Escape); // Esc: closes only
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
            QTest::mouseClick(m.list()->Command5, Qt::LeftButton);
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
            QTest::mouseClick(w->Command4, Qt::LeftButton);
            QCOMPARE(m.st.user.user_count, Integer(1));
            QTest::mouseClick(w->Command5, Qt::LeftButton);
            QCOMPARE(m.st.user.user_count, Integer(2));
            QCOMPARE(m.file(), original);
        }
        {
            // Esc and the close box write on unload; 登録終了 writes before closing.
            Maint m(original);
            MaintenanceListWindow* w = m.list();
            Maint::click(w, 1, 3);
            QTest::mouseClick(w->Command4, Qt::LeftButton);
            QTest::keyClick(w->MSFlexGrid1, Qt::Key_Escape);
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(m.file(), line(hotel_c));

            w = m.list();
            QCOMPARE(w->model->rowCount(), 1);
            Maint::click(w, 1, 3);
            QTest::mouseClick(w->Command4, Qt::LeftButton);
            w->close();
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(m.file(), QString());

            m.add_hotel(hotel_a);
            w = m.list();
            QTest::mouseClick(w->Command1, Qt::LeftButton);
            QVERIFY(!m.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(m.file(), line(hotel_a));
            QVERIFY(m.pf.messages.isEmpty() || m.pf.messages.last().title != u8("エラーメッセージ"));

            // 登録終了 writes the file once: the unload that follows does not write it again.
            w = m.list();
            QCOMPARE(w->user_saved_flg(), Integer(0));
            const int saves = faulty_disk.saves();
            QTest::mouseClick(w->Command1, Qt::LeftButton);
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
            QTest::mouseClick(m.list()->Command5, Qt::LeftButton);
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
        QTest::mouseClick(w->Command5, Qt::LeftButton);
        QVERIFY(!m.forms.loaded<MaintenanceListWindow>() && m.pf.messages.isEmpty());
        QCOMPARE(Maint::column(m.list(), 3), QStringList({u8("ホテルB"), u8("ホテルC")}));
        QTest::keyClick(m.list()->MSFlexGrid1, Qt::Key_Escape);
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
        w->MSFlexGrid1->setFocus();
        QApplication::processEvents();
        QVERIFY(!w->Command3->isEnabled());
        QVERIFY(!w->Command4->isEnabled());
        QCOMPARE(w->user_sel_row(), Integer(0));
        QTest::keyClick(w->MSFlexGrid1, Qt::Key_Down);
        QVERIFY(w->Command3->isEnabled());
        QCOMPARE(w->user_sel_row(), Integer(w->MSFlexGrid1->currentIndex().row() + 1));
        // A click under the rows selects nothing and leaves the buttons.
        const int chosen = w->user_sel_row();
        QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {},
                          QPoint(5, w->MSFlexGrid1->viewport()->height() - 3));
        QCOMPARE(w->user_sel_row(), Integer(chosen));
        QVERIFY(w->Command4->isEnabled());
        // After a deletion, neither a click under the rows nor the focus chooses.
        m.pf.answers = {MsgAnswer::Ok};
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        QVERIFY(!w->Command4->isEnabled());
        QTest::mouseClick(w->MSFlexGrid1->viewport(), Qt::LeftButton, {},
                          QPoint(5, w->MSFlexGrid1->viewport()->height() - 3));
        w->MSFlexGrid1->setFocus();
        QApplication::processEvents();
        QVERIFY(!w->Command4->isEnabled());
        // Space chooses the current cell.
        Maint::click(w, 1, 0);
        w->close_window();
        w = m.list();
        QVERIFY(!w->Command4->isEnabled());
        w->MSFlexGrid1->setFocus();
        w->MSFlexGrid1->setCurrentIndex(w->model->index(0, 3));
        QVERIFY(!w->Command4->isEnabled());
        QTest::keyClick(w->MSFlexGrid1, Qt::Key_Space);
        QVERIFY(w->Command4->isEnabled());
    }

    void all_blank_row_can_be_deleted() {
        Maint m(QStringLiteral(" \r\n") + line(hotel_b));
        QCOMPARE(m.st.user.user_count, Integer(2));
        MaintenanceListWindow* w = m.list();
        const int blank_row = m.st.user.user_name(1).isEmpty() ? 1 : 2;
        Maint::click(w, blank_row, 5);
        QVERIFY(w->Command4->isEnabled());
        m.pf.answers = {MsgAnswer::Ok};
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        QCOMPARE(Maint::column(w, 3), QStringList{u8("ホテルB")});
        QTest::mouseClick(w->Command1, Qt::LeftButton);
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
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        e->Text5->setText(QStringLiteral("03-9999-9999"));
        e->Text4->setText(e->Text4->text() + added);
        QTest::mouseClick(e->Command1, Qt::LeftButton);
        QCOMPARE(m.message(e),
                 added.isEmpty() ? QString() : u8("ホテル名に使用できない文字が含まれています"));
        if (!added.isEmpty()) return;
        QTest::keyClick(m.list()->MSFlexGrid1, Qt::Key_Escape);
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
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        QCOMPARE(m.edit()->text(7)->text().size(), 40000);
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
            QTest::keyClick(m.list()->Command2, Qt::Key_Escape);
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
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        if (read_only)
            save_faults.fail_create = true;
        else
            save_faults.space = 0;
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().title, u8("エラーメッセージ"));
        QVERIFY(m.pf.messages.last().text.contains(csv));
        QCOMPARE(m.dir.read(csv), before);
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(w->user_saved_flg(), Integer(0));
        QCOMPARE(w->model->rowCount(), 1);
        QCOMPARE(m.st.user.user_name(1), u8("ホテルC"));

        // Closing with the failure still there: told again, the hotels stay in memory.
        QTest::keyClick(w->Command2, Qt::Key_Escape);
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
        QTest::mouseClick(w->Command2, Qt::LeftButton);
        QCOMPARE(m.pf.messages.last().title, u8("エラーメッセージ"));
        QVERIFY(m.pf.messages.last().text.contains(u8("500件")));
        QVERIFY(!m.edit());
        QVERIFY(m.forms.loaded<MaintenanceListWindow>());

        Maint::click(w, 1, 3);
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        HotelEditWindow* e = m.edit();
        QTest::mouseClick(e->Command3, Qt::LeftButton);
        QVERIFY(m.message(e).contains(u8("500件")));
        QCOMPARE(test::announced(e), m.message(e));
        QCOMPARE(m.st.user.user_count, Integer(UserTables::user_capacity));
        // Modifying is still possible.
        e->Text4->setText(u8("ホテルB改"));
        QTest::mouseClick(e->Command1, Qt::LeftButton);
        QCOMPARE(m.st.user.user_name(1), u8("ホテルB改"));
    }

    void main_menu_opens_the_list_and_writes_at_the_end() {
        test::RunningProgram p(build_database(test::small_source()));
        p.dir.write(csv, encode_cp932(line(hotel_b) + line(hotel_c)));
        QVERIFY(p.start());
        auto* menu = p.forms.loaded<MainMenuWindow>();
        QCOMPARE(p.st.user.user_count, Integer(2));
        QTest::mouseClick(menu->Command5, Qt::LeftButton);
        MaintenanceListWindow* w = p.forms.loaded<MaintenanceListWindow>();
        QVERIFY(w);
        QCOMPARE(w->model->rowCount(), 2);

        // While a hotel is edited the menu brings the edit window up instead of the list.
        Maint::click(w, 2, 3);
        QTest::mouseClick(w->Command3, Qt::LeftButton);
        QVERIFY(p.forms.loaded<HotelEditWindow>());
        QTest::mouseClick(menu->Command5, Qt::LeftButton);
        QVERIFY(!p.forms.loaded<MaintenanceListWindow>());
        QVERIFY(p.forms.loaded<HotelEditWindow>()->isVisible());
        QTest::mouseClick(p.forms.loaded<HotelEditWindow>()->Command2, Qt::LeftButton);

        // Ending the program with the list open writes the confirmed deletion.
        w = p.forms.loaded<MaintenanceListWindow>();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        QTest::mouseClick(menu->Command4, Qt::LeftButton);
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
            QTest::mouseClick(menu->Command5, Qt::LeftButton);
            QVERIFY(!p.forms.loaded<MaintenanceListWindow>());
            QCOMPARE(p.pf.messages.size(), shown + 1);
            QCOMPARE(p.pf.messages.last().title, u8("エラーメッセージ"));
            QVERIFY(p.pf.messages.last().text.contains(p.dir.file(csv)));
        }
        QVERIFY(QFileInfo(p.dir.file(csv)).isDir());
        QVERIFY(QDir(p.dir.path()).rmdir(csv));
        p.dir.write(csv, encode_cp932(line(hotel_b)));
        QTest::mouseClick(menu->Command5, Qt::LeftButton);
        QVERIFY(p.forms.loaded<MaintenanceListWindow>());
        QCOMPARE(p.forms.loaded<MaintenanceListWindow>()->model->rowCount(), 1);
    }

    // An open results grid keeps the hotels its search found while the user hotels change and are
    // appended again: its rows, its row click and its detail window stay with them.
    void open_results_keep_their_hotels() {
        Maint m(line(hotel_b) + line(hotel_c));
        m.st.settings.inet_data1 = QStringLiteral("1");
        auto* s = m.forms.show<SearchConditionsWindow>();
        s->Text1->setText(u8("東京"));
        QTest::mouseClick(s->Command1, Qt::LeftButton);
        ResultsWindow* r = m.forms.loaded<ResultsWindow>();
        QVERIFY(r);
        QStringList names;
        for (int row = 1; row <= r->model->rowCount(); ++row) names << r->model->cell_text(row, 1);
        const int row_b = int(names.indexOf(u8("ホテルB"))) + 1;
        QVERIFY(row_b > 0);

        QSignalSpy deleted(&m.st.directory, &Directory::user_hotels_changed);
        MaintenanceListWindow* w = m.list();
        Maint::click(w, 1, 3);
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        QCOMPARE(deleted.count(), 1);
        QTest::mouseClick(w->Command1, Qt::LeftButton);
        s->close_window();
        m.forms.show<SearchConditionsWindow>();
        QCOMPARE(m.st.db.hotel_name(m.st.db.hotel_count_db + 1), u8("ホテルC"));
        for (int row = 1; row <= r->model->rowCount(); ++row)
            QCOMPARE(r->model->cell_text(row, 1), names[row - 1]);
        r->MSFlexGrid1->setCurrentIndex(r->model->index(row_b - 1, 1));
        r->MSFlexGrid1_Click();
        QCOMPARE(m.forms.loaded<DetailWindow>()->Text2->text(), u8("ホテルB"));
    }

    // A hotel added in the maintenance windows is found by the next search, after the directory's.
    void added_hotel_is_searched() {
        Maint m;
        m.add_hotel({u8("東京"), u8("東京／羽田"), u8("京橋"), u8("トマリナ京橋イン"), u8("03-0000-1111"),
                     u8("30"), u8("京橋駅すぐ"), u8("6500"), u8("夜景")});
        QTest::mouseClick(m.list()->Command1, Qt::LeftButton);
        QCOMPARE(m.st.user.user_copied_flg, Integer(0));

        auto search = [&](int option, const QString& entry) {
            auto* s = m.forms.show<SearchConditionsWindow>();
            QRadioButton* options[] = {s->Option1, s->Option2, s->Option3,
                                       s->Option4, s->Option5, s->Option6};
            options[option - 1]->setChecked(true);
            s->Text1->setText(entry);
            QTest::mouseClick(s->Command1, Qt::LeftButton);
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
        QTest::mouseClick(w->Command4, Qt::LeftButton);
        w->close_window();
        QVERIFY(!search(6, u8("夜景")));
        QCOMPARE(m.st.db.hotel_count, m.st.db.hotel_count_db);
    }
};

QTEST_MAIN(TestMaintenanceWindows)
#include "test_maintenance_windows.moc"
