// Opening the results window offscreen (load, selection, ordering, grid filled) beside the selection
// and ordering alone, for 1000 and 15000 hits over a 15000-hotel directory; and, for 1000 hits, beside a
// plain window of the same controls whose grid holds no rows or the same hits the toolkit's own way.
#include "bench/bench_support.h"
#include "data/database.h"
#include "results/results_window.h"
#include "shared/ordering.h"
#include "support/fake_platform.h"
#include "tools/progress_window.h"

#include <QAbstractTableModel>
#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTableView>

using namespace tomarina;

namespace {

struct World {
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    FakePlatform pf;
    std::unique_ptr<Forms> forms;
    World() {
        st->directory.load([](HotelTables& t) { Loader(t, bench::database(15000)).load_all(); });
        st->settings_store.load({});
        forms = std::make_unique<Forms>(*st, pf);
    }
    // A keyword every hotel holds in its access text or name: all 15000 are hits.
    const SearchCriterion all{SearchType::keyword, QString(), {}};
};

World& world() {
    static World w;
    return w;
}

void BM_SelectAndOrder(benchmark::State& state) {
    World& w = world();
    const Integer limit = Integer(state.range(0));
    for (auto _ : state) {
        w.st->search.run(w.all, limit);
        benchmark::DoNotOptimize(w.st->search.state().sel_count);
    }
    state.counters["hits"] = w.st->search.state().sel_count;
}

void BM_OpenResultsWindow(benchmark::State& state) {
    World& w = world();
    w.st->settings_store.set(&Settings::max_kensuu, Integer(state.range(0)));
    for (auto _ : state) {
        ResultsWindow* r = w.forms->show<ResultsWindow>(w.all);
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (!r || r->model->rowCount() != w.st->search.state().sel_count) state.SkipWithError("no grid");
        r->close_window();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["hits"] = w.st->search.state().sel_count;
}

// What the results window shows, taken from one real opening: its buttons and labels, the grid's place,
// font, headings and column widths, and (for the plain grid below) every hit's cell texts and row height.
struct Shown {
    struct Control {
        bool button;
        QRect place;
        QString text;
        QFont font;
    };
    std::vector<Control> controls;
    QSize size;
    QRect grid_place;
    QFont grid_font;
    QStringList headings;
    QList<int> widths;
    std::vector<std::array<QString, 7>> cells;
    std::vector<int> heights;
};

const Shown& shown() {
    static const Shown s = [] {
        World& w = world();
        w.st->settings_store.set(&Settings::max_kensuu, 1000);
        Shown out;
        const QPointer<ResultsWindow> r = w.forms->show<ResultsWindow>();
        QCoreApplication::processEvents();
        // No window, no figure: the plain windows below say so instead of opening.
        if (!r) return out;
        out.size = r->size();
        for (QWidget* c : r->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (auto* b = qobject_cast<QPushButton*>(c))
                out.controls.push_back({true, b->geometry(), b->text(), b->font()});
            if (auto* l = qobject_cast<QLabel*>(c))
                out.controls.push_back({false, l->geometry(), l->text(), l->font()});
        }
        out.grid_place = r->hits_grid->geometry();
        out.grid_font = r->hits_grid->font();
        for (int c = 0; c < 7; ++c) {
            out.headings << r->model->heading(c);
            out.widths << r->hits_grid->columnWidth(c);
        }
        for (int row = 0; row < r->model->rowCount(); ++row) {
            std::array<QString, 7> texts;
            for (int c = 0; c < 7; ++c) texts[std::size_t(c)] = r->model->index(row, c).data().toString();
            out.cells.push_back(texts);
            out.heights.push_back(r->hits_grid->rowHeight(row));
        }
        r->close_window();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return out;
    }();
    return s;
}

// The hits' texts as a plain table model answers them, for the toolkit's own cell painter.
class PlainHits : public QAbstractTableModel {
  public:
    PlainHits(const Shown& s, bool rows, QObject* parent)
        : QAbstractTableModel(parent), s_(s), rows_(rows ? int(s.cells.size()) : 0) {}
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 7; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid()) return {};
        return s_.cells[std::size_t(index.row())][std::size_t(index.column())];
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) return s_.headings.value(section);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

  private:
    const Shown& s_;
    int rows_;
};

// The progress window through its four steps, then a plain window with the same buttons, labels and grid
// at the same places, built, shown, drawn once and closed; the grid holds the hits or none.
void open_plain_window(benchmark::State& state, bool rows) {
    World& w = world();
    const Shown& s = shown();
    if (s.widths.size() != 7) {
        state.SkipWithError("no results window to copy");
        return;
    }
    for (auto _ : state) {
        ProgressWindow* progress = w.forms->show<ProgressWindow>();
        progress->start(4, QStringLiteral("ホテルの検索"));
        for (int k = 1; k <= 4; ++k) progress->step_to(k);
        progress->unload();
        auto window = std::make_unique<QWidget>();
        window->resize(s.size);
        for (const Shown::Control& c : s.controls) {
            QWidget* made = c.button ? static_cast<QWidget*>(new QPushButton(c.text, window.get()))
                                     : new QLabel(c.text, window.get());
            made->setGeometry(c.place);
            made->setFont(c.font);
        }
        auto* grid = new QTableView(window.get());
        grid->setGeometry(s.grid_place);
        grid->setFont(s.grid_font);
        grid->setModel(new PlainHits(s, rows, grid));
        for (int c = 0; c < 7; ++c) grid->setColumnWidth(c, s.widths[c]);
        if (rows) {
            grid->setWordWrap(true);
            for (int r = 0; r < int(s.heights.size()); ++r) grid->setRowHeight(r, s.heights[std::size_t(r)]);
        }
        window->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

// The toolkit's own share of opening the window, in the same run: the same controls with no rows.
void BM_SameControlsNoRows(benchmark::State& state) {
    open_plain_window(state, false);
}

// The same 1000 hits shown the toolkit's own way: its model/view grid with its cell painter and heading,
// the rows as high as the results window makes them, the texts ready before the clock starts.
void BM_PlainGridSameHits(benchmark::State& state) {
    open_plain_window(state, true);
}

} // namespace

BENCHMARK(BM_SameControlsNoRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainGridSameHits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAndOrder)->Arg(1000)->Arg(15000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenResultsWindow)->Arg(1000)->Arg(15000)->Unit(benchmark::kMillisecond);

namespace {
const bool registered = [] {
    bench::compare_added("BM_OpenResultsWindow/15000", "BM_SelectAndOrder/15000", 20,
                         "results window, 15000 hits");
    bench::compare(
        "BM_OpenResultsWindow/1000", "BM_SameControlsNoRows", 0,
        "results window, 1000 hits, beside the same controls with no rows and the progress window");
    bench::compare("BM_PlainGridSameHits", "BM_SameControlsNoRows", 0,
                   "the same 1000 hits in the toolkit's own grid, beside the same controls with no rows");
    bench::compare(
        "BM_OpenResultsWindow/1000", "BM_PlainGridSameHits", 0.5,
        "results window, 1000 hits (with its selection and ordering), beside the toolkit's own grid");
    return true;
}();
}
