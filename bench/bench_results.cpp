// Opening the results window offscreen (load, selection, ordering, grid filled) beside the selection
// and ordering alone, for 1000 and 15000 hits over a 15000-hotel directory.
#include "bench/bench_support.h"
#include "data/database.h"
#include "results/ordering.h"
#include "results/results_window.h"
#include "search/selection.h"
#include "support/fake_platform.h"
#include "tools/progress_window.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>

using namespace tomarina;

namespace {

struct World {
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    FakePlatform pf;
    std::unique_ptr<Forms> forms;
    World() {
        Loader(st->db, bench::database(15000)).load_all();
        st->settings.apply_defaults();
        st->settings.sv_pop = 1;
        forms = std::make_unique<Forms>(*st, pf);
        // A keyword every hotel holds in its access text or name: all 15000 are hits.
        st->search.search_type = SearchType::keyword;
        st->search.search_key = QString();
    }
};

World& world() {
    static World w;
    return w;
}

void BM_SelectAndOrder(benchmark::State& state) {
    World& w = world();
    const Integer limit = Integer(state.range(0));
    for (auto _ : state) {
        select_hotels(w.st->db, w.st->search, limit);
        w.st->order.sort_key_name = ordering_name(Ordering::ken);
        sort_hotel(w.st->db, w.st->search, w.st->order);
        benchmark::DoNotOptimize(w.st->search.sel_count);
    }
    state.counters["hits"] = w.st->search.sel_count;
}

void BM_OpenResultsWindow(benchmark::State& state) {
    World& w = world();
    w.st->settings.max_kensuu = Integer(state.range(0));
    for (auto _ : state) {
        tomarina12* r = w.forms->show<tomarina12>();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (!r || r->model->rowCount() != w.st->search.sel_count) state.SkipWithError("no grid");
        r->end_proc();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    state.counters["hits"] = w.st->search.sel_count;
}

// The toolkit's own share of opening the window, in the same run: the progress window through its
// four steps, then a plain window with the same buttons, labels and grid (its headings and widths, no
// rows) at the same places, built, shown, drawn once and closed.
void BM_SameControlsNoRows(benchmark::State& state) {
    World& w = world();
    w.st->settings.max_kensuu = 1000;
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
    {
        tomarina12* r = w.forms->show<tomarina12>();
        QCoreApplication::processEvents();
        size = r->size();
        for (QWidget* c : r->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (auto* b = qobject_cast<QPushButton*>(c))
                controls.push_back({true, b->geometry(), b->text(), b->font()});
            if (auto* l = qobject_cast<QLabel*>(c))
                controls.push_back({false, l->geometry(), l->text(), l->font()});
        }
        grid_place = r->MSFlexGrid1->geometry();
        grid_font = r->MSFlexGrid1->font();
        for (int c = 0; c < 7; ++c) {
            headings << r->model->heading(c);
            widths << r->MSFlexGrid1->columnWidth(c);
        }
        r->end_proc();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    for (auto _ : state) {
        tomarina91* progress = w.forms->show<tomarina91>();
        progress->start(4);
        for (int k = 1; k <= 4; ++k) progress->step_to(k);
        progress->unload();
        auto window = std::make_unique<QWidget>();
        window->resize(size);
        for (const Control& c : controls) {
            QWidget* made = c.button ? static_cast<QWidget*>(new QPushButton(c.text, window.get()))
                                     : new QLabel(c.text, window.get());
            made->setGeometry(c.place);
            made->setFont(c.font);
        }
        auto* grid = new QTableView(window.get());
        grid->setGeometry(grid_place);
        grid->setFont(grid_font);
        auto* model = new QStandardItemModel(0, 7, grid);
        model->setHorizontalHeaderLabels(headings);
        grid->setModel(model);
        for (int c = 0; c < 7; ++c) grid->setColumnWidth(c, widths[c]);
        window->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_SameControlsNoRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SelectAndOrder)->Arg(1000)->Arg(15000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenResultsWindow)->Arg(1000)->Arg(15000)->Unit(benchmark::kMillisecond);

namespace {
const bool registered = [] {
    bench::compare_added("BM_OpenResultsWindow/15000", "BM_SelectAndOrder/15000", 20,
                         "results window, 15000 hits");
    bench::compare_added("BM_OpenResultsWindow/1000", "BM_SelectAndOrder/1000", 2,
                         "results window, 1000 hits");
    bench::compare(
        "BM_OpenResultsWindow/1000", "BM_SameControlsNoRows", 0,
        "results window, 1000 hits, beside the same controls with no rows and the progress window");
    return true;
}();
}
