// Opening the results window offscreen (load, selection, ordering, grid filled) beside the selection
// and ordering alone, for 1000 and 15000 hits over a 15000-hotel directory.
#include "bench/bench_support.h"
#include "data/database.h"
#include "results/ordering.h"
#include "results/results_window.h"
#include "search/selection.h"
#include "support/fake_platform.h"

#include <QCoreApplication>

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

} // namespace

BENCHMARK(BM_SelectAndOrder)->Arg(1000)->Arg(15000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenResultsWindow)->Arg(1000)->Arg(15000)->Unit(benchmark::kMillisecond);

namespace {
const bool registered = [] {
    bench::compare_added("BM_OpenResultsWindow/15000", "BM_SelectAndOrder/15000", 20,
                         "results window, 15000 hits");
    bench::compare_added("BM_OpenResultsWindow/1000", "BM_SelectAndOrder/1000", 2,
                         "results window, 1000 hits");
    return true;
}();
}
