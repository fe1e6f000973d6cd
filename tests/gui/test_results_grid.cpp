#include "data/database.h"
#include "program/main_menu_window.h"
#include "program/program.h"
#include "results/results_texts.h"
#include "results/results_window.h"
#include "search/search_conditions_window.h"
#include "shared/grid_rules.h"
#include "shared/results_cells.h"
#include "support/gui_support.h"
#include "support/test_support.h"

#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace tomarina;
using tomarina::test::u8;

namespace {

// The sample directory loaded, and the windows over it.
struct Sample {
    AppState st;
    FakePlatform pf;
    test::WiredForms forms{st, pf};
    Sample() {
        DbSource src;
        QString error;
        if (!read_sources(QStringLiteral(TOMARINA_SAMPLE_DIR), src, &error)) qFatal("%s", qPrintable(error));
        st.directory.load([&](HotelTables& t) { Loader(t, build_database(src)).load_all(); });
        st.settings_store.load({});
    }
    // The results of a prefecture search, shown.
    ResultsWindow* prefecture(int k) {
        auto* r = forms.show<ResultsWindow>(SearchCriterion{SearchType::prefecture, st.db.ken_name(k), {}});
        if (r) QCoreApplication::processEvents();
        return r;
    }
    QList<int> widths() const {
        QList<int> w;
        for (int c = 0; c < 7; ++c) w << st.settings.sv_colwidth(c);
        return w;
    }
};

bool half_width_only(const QString& text, const QFontMetricsF& fm) {
    const qreal half = fm.horizontalAdvance(QChar(u'\\'));
    for (const QChar c : text)
        if (c != QChar(0x00A5) && fm.horizontalAdvance(c) > half) return false;
    return true;
}

} // namespace

class TestResultsGrid : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { install_fonts(); }

    // Every prefecture of the sample, at the design size and at two others: each cell the line rule
    // gives room to is drawn whole, measured with the grid's own font.
    void what_the_rule_counts_is_drawn_data() {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("width");
        QTest::newRow("design size") << 5085 << 9615;
        QTest::newRow("larger") << 6885 << 13215;
        QTest::newRow("smaller") << 4500 << 7815;
    }
    void what_the_rule_counts_is_drawn() {
        QFETCH(int, height);
        QFETCH(int, width);
        Sample s;
        s.st.settings_store.set(&Settings::sv_height12, Integer(height));
        s.st.settings_store.set(&Settings::sv_width12, Integer(width));
        int cells = 0;
        int multi_line = 0;
        for (int k = 1; k <= s.st.db.ken_count; ++k) {
            ResultsWindow* r = s.prefecture(k);
            if (!r) continue; // a prefecture without hotels
            QCOMPARE(r->height_twips(), height);
            const QFontMetricsF fm(r->hits_grid->font());
            const CellLayout& layout = r->cells()->layout();
            const int pitch = layout.line_pitch();
            const int line_height = int(std::ceil(fm.height()));
            QVERIFY(line_height <= twips_to_px(row_height_for(1)));
            for (int row = 1; row <= r->model->rowCount(); ++row) {
                const int row_px = r->hits_grid->rowHeight(row - 1);
                QCOMPARE(row_px, twips_to_px(r->row_height_twips(row)));
                for (int c = 0; c < 7; ++c) {
                    const QString text =
                        r->model->data(r->model->index(row - 1, c), Qt::DisplayRole).toString();
                    const int column_px = r->hits_grid->columnWidth(c);
                    const int rule_lines = line_count(r->model->cell_text(row, c).size(),
                                                      results_capacity(c, r->column_twips(c)));
                    const bool half_column = c == 2 || c == 3 || c == 5;
                    if (rule_lines > 5 || (half_column && !half_width_only(text, fm))) continue;
                    const QStringList lines =
                        r->cells()->cell_lines(text, QSize(column_px, row_px), r->hits_grid->wordWrap());
                    const QString where = QStringLiteral("%1 row %2 column %3: %4")
                                              .arg(s.st.db.ken_name(k))
                                              .arg(row)
                                              .arg(c)
                                              .arg(text);
                    QVERIFY2(lines.join(QString()) == text, qPrintable(where));
                    QVERIFY2(lines.size() <= std::max(1, rule_lines), qPrintable(where));
                    for (const QString& line : lines) {
                        qreal drawn = 0;
                        for (const QChar ch : line)
                            drawn += fm.horizontalAdvance(ch == QChar(0x00A5) ? QChar(u'\\') : ch);
                        QVERIFY2(drawn <= column_px, qPrintable(where + QStringLiteral(" / ") + line));
                    }
                    QVERIFY2((lines.size() - 1) * pitch + line_height <= row_px, qPrintable(where));
                    ++cells;
                    multi_line += lines.size() > 1;
                }
            }
            r->close_window();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QVERIFY(cells > 10000);
        QVERIFY(multi_line > 0);
    }

    // A line holds cap(c) full-width characters: one more goes to the next line.
    void full_width_line_holds_the_capacity() {
        const QFont font = [] {
            QFont f(QStringLiteral("ＭＳ ゴシック"));
            f.setPointSize(9);
            return f;
        }();
        const CellLayout layout(font);
        for (const int twips : {1065, 2160, 2250, 2055}) {
            const int cap = results_capacity(1, twips);
            const QString fits(cap, QChar(0x3042));
            QCOMPARE(layout.lines(fits, twips_to_px(twips)), QStringList{fits});
            // Small kana and the long vowel mark break like any other character.
            const QString more = fits + u8("ー");
            QCOMPARE(layout.lines(more, twips_to_px(twips)), QStringList({fits, u8("ー")}));
            const QString small = QString(cap - 1, QChar(0x3042)) + u8("ゃっ");
            QCOMPARE(layout.lines(small, twips_to_px(twips)).size(), 2);
        }
        // The yen sign takes a half-width room, like the "\" the data holds.
        QCOMPARE(layout.lines(u8("¥12,900～"), twips_to_px(900)), QStringList{u8("¥12,900～")});
        QCOMPARE(layout.width(u8("¥9,500")), layout.width(u8("\\9,500")));
    }

    // The yen sign is drawn within its half-width room.
    void yen_sign_drawn_half_width() {
        QFont font(QStringLiteral("ＭＳ ゴシック"));
        font.setPointSize(9);
        const CellLayout layout(font);
        const QString yen(4, QChar(0x00A5));
        const int room = int(std::ceil(layout.width(yen)));
        QImage image(room * 3, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter p(&image);
            p.setPen(Qt::black);
            layout.draw(p, image.rect(), {yen});
        }
        int right = -1;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 160) right = std::max(right, x);
        QVERIFY(right >= 0);   // something was drawn
        QVERIFY(right < room); // and nothing beyond four half-width rooms
    }

    // A field far longer than any cell, in both grid modes: only what the cell shows is laid out and
    // drawn, and the grid paints.
    void huge_field_drawn_only_as_far_as_the_cell_shows() {
        Sample s;
        const QString huge(4'000'000, QChar(0x3042));
        s.st.directory.load([&](HotelTables& t) { t.hotel_name(1) = huge; });
        ResultsWindow* r = s.prefecture(int(s.st.db.hotel_ken(1)));
        QVERIFY(r);
        int row = 0;
        for (int k = 1; k <= r->model->rowCount(); ++k)
            if (r->model->cell_text(k, 1).size() == huge.size()) row = k;
        QVERIFY(row > 0);
        const QRect cell = r->hits_grid->visualRect(r->model->index(row - 1, 1));
        QVERIFY(cell.width() > 0 && cell.height() > 0);
        for (const bool wrap : {true, false}) {
            const QStringList lines = r->cells()->cell_lines(huge, cell.size(), wrap);
            const QString shown = lines.join(QString());
            QVERIFY(!shown.isEmpty());
            QVERIFY(huge.startsWith(shown));
            // Only lines whose top is inside the cell.
            QVERIFY((lines.size() - 1) * r->cells()->layout().line_pitch() < cell.height());
            // Each line holds at most one character past the cell's edge.
            for (const QString& line : lines)
                QVERIFY(r->cells()->layout().width(line.chopped(1)) <= cell.width());
        }
        r->hits_grid->scrollTo(r->model->index(row - 1, 1));
        QVERIFY(!r->hits_grid->grab().isNull());
    }

    // The resize rule runs once when the window is first displayed.
    void first_display_scales_once() {
        Sample s;
        QVERIFY(s.prefecture(13));
        QCOMPARE(s.widths(), QList<int>({1035, 2205, 1125, 675, 2010, 1035, 1035}));
        auto* r = s.forms.loaded<ResultsWindow>();
        for (int c = 0; c < 7; ++c) QCOMPARE(r->hits_grid->columnWidth(c), twips_to_px(s.widths()[c]));
    }

    // A column border dragged narrower: the rows grow to hold the names at the new width.
    void dragged_column_rows_follow() {
        Sample s;
        auto* r = s.prefecture(13);
        QVERIFY(r);
        r->hits_grid->horizontalHeader()->resizeSection(1, twips_to_px(900));
        QCOMPARE(r->column_twips(1), 900);
        int grown = 0;
        for (int row = 1; row <= r->model->rowCount(); ++row) {
            const int lines = line_count(r->model->cell_text(row, 1).size(), results_capacity(1, 900));
            QVERIFY(r->row_height_twips(row) >= row_height_for(std::min(lines, 5)));
            grown += lines > 1;
        }
        QVERIFY(grown > 0);
    }

    // The grid is one Tab stop named by the heading line, the arrows move inside it, and Ctrl+Enter
    // re-orders by the current cell's column as a double click on that heading does.
    void keyboard_alone() {
        Sample s;
        auto* r = s.prefecture(13);
        QVERIFY(r);
        QVERIFY(QTest::qWaitForWindowActive(r));
        QTRY_VERIFY(r->hits_grid->hasFocus());
        QCOMPARE(r->hits_grid->accessibleName(), r->heading_button->text());
        QVERIFY(r->heading_button->text().endsWith(u8("件)")));
        QTest::keyClick(r->hits_grid, Qt::Key_Down);
        QTest::keyClick(r->hits_grid, Qt::Key_Right);
        QCOMPARE(r->hits_grid->current_column(), 1);

        // One round of Tab: each control once, then the grid again.
        QList<QWidget*> stops;
        for (int i = 0; i < 10 && (stops.isEmpty() || stops.last() != r->hits_grid); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            stops << QApplication::focusWidget();
        }
        QCOMPARE(stops.last(), r->hits_grid);
        QVERIFY(stops.contains(r->close_button));
        QVERIFY(stops.contains(r->narrowing_button));
        QCOMPARE(stops.count(r->hits_grid), 1);

        QTest::keyClick(r->hits_grid, Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(s.st.search.ordering(), QStringView(shared_texts::order_by_name).toString());
        QCOMPARE(r->model->heading(1), u8("▼ ホテル名"));
        QVERIFY(r->hits_grid->hasFocus());
    }

    // Headings are drawn like the cells, over the whole column width: each one whole, in two lines
    // where one does not hold it, with the heading row as high as its lines.
    void headings_are_not_cut() {
        Sample s;
        auto* r = s.prefecture(13);
        QVERIFY(r);
        auto* heading = qobject_cast<GridHeading*>(r->hits_grid->horizontalHeader());
        QVERIFY(heading);
        const QFontMetricsF fm(r->hits_grid->font());
        for (const int column : {1, 5, 0}) {
            r->hits_grid->setCurrentIndex(r->model->index(3, column));
            QTest::keyClick(r->hits_grid, Qt::Key_Enter, Qt::ControlModifier);
            for (int c = 0; c < 7; ++c) {
                const QStringList lines = heading->heading_lines(c);
                QCOMPARE(lines.join(QString()), r->model->heading(c));
                for (const QString& line : lines)
                    QVERIFY2(fm.horizontalAdvance(line) <= r->hits_grid->columnWidth(c), qPrintable(line));
                QVERIFY(heading->height() >= r->cells()->layout().lines_height(int(lines.size())));
            }
        }
        QCOMPARE(r->model->heading(0), u8("▼ 地区"));
        QVERIFY(heading->heading_lines(6) == QStringList{results_texts::column_headings[6]});
    }

    // A search without hits leaves the saved widths as they were, and the next grid opens with them.
    void no_hits_keep_the_saved_widths() {
        test::RunningProgram p(build_database(test::small_source()));
        QVERIFY(p.start());
        p.st.settings_store.set_column_width(1, 3000);
        const QList<int> saved = [&] {
            QList<int> w;
            for (int c = 0; c < 7; ++c) w << p.st.settings.sv_colwidth(c);
            return w;
        }();
        QTest::mouseClick(p.forms.loaded<MainMenuWindow>()->search_button, Qt::LeftButton);
        auto* w = p.forms.loaded<SearchConditionsWindow>();
        w->keyword_option->setChecked(true);
        w->key_box->setText(QStringLiteral("ZZZ"));
        QTest::mouseClick(w->search_button, Qt::LeftButton);
        QCOMPARE(p.pf.messages.size(), 1);
        QVERIFY(!p.forms.loaded<ResultsWindow>());
        for (int c = 0; c < 7; ++c) QCOMPARE(int(p.st.settings.sv_colwidth(c)), saved[c]);
        QTest::keyClick(p.forms.loaded<MainMenuWindow>()->close_button, Qt::Key_Escape);
        const QByteArray ini = p.dir.read(QStringLiteral("tomarina.ini"));
        QVERIFY(ini.contains("sv_colwidth(0)=1080\r\nsv_colwidth(1)=3000\r\nsv_colwidth(2)=1170\r\n"));
    }
};

QTEST_MAIN(TestResultsGrid)
#include "shared/shared_texts.h"
#include "test_results_grid.moc"
