// Each selection over a 15000-hotel directory beside one plain containment pass over the hotel names, and the
// ordering beside the exchange sort done step by step with text comparisons.
#include "bench/bench_support.h"
#include "data/database.h"
#include "shared/app_state.h"
#include "shared/ordering.h"
#include "shared/result_rows.h"
#include "shared/selection.h"

using namespace tomarina;

namespace {

struct Loaded {
    std::unique_ptr<AppState> st = std::make_unique<AppState>();
    explicit Loaded(int hotels) {
        st->directory.load([hotels](HotelTables& t) { Loader(t, bench::database(hotels)).load_all(); });
    }
};

Loaded& directory(int hotels) {
    static std::map<int, std::unique_ptr<Loaded>> cache;
    auto& l = cache[hotels];
    if (!l) l = std::make_unique<Loaded>(hotels);
    return *l;
}

struct Criterion {
    int type;
    const char16_t* key;
};
// Broad keys: every criterion finds many hotels or scans the whole table.
const Criterion criteria[] = {
    {1, u"東京"}, {2, u"東京／成田"}, {3, u"ホテル"}, {4, u"駅前"}, {5, u"ＪＲ"}, {6, u"ＬＡＮ"},
};

void BM_Selection(benchmark::State& state) {
    Loaded& l = directory(15000);
    const Criterion& c = criteria[state.range(0) - 1];
    // The selection alone, which the search runs before it orders the hits.
    static SearchState s;
    s.search_type = SearchType(c.type);
    s.search_key = QString::fromUtf16(c.key);
    s.narrow_count = 0;
    for (auto _ : state) {
        select_hotels(l.st->db, s, 32767);
        benchmark::DoNotOptimize(s.sel_count);
    }
    state.counters["hits"] = s.sel_count;
}

void BM_ScanBaseline(benchmark::State& state) {
    Loaded& l = directory(15000);
    const QString key = QStringLiteral("ホテル");
    for (auto _ : state) {
        int n = 0;
        for (int i = 1; i <= l.st->db.hotel_count; ++i) n += l.st->db.hotel_name(i).contains(key);
        benchmark::DoNotOptimize(n);
    }
}

// What the keyword search cannot do without: one containment test on each of the six fields it reads,
// for every hotel.
void BM_KeywordBaseline(benchmark::State& state) {
    const HotelTables& t = directory(15000).st->db;
    const QString key = QString::fromUtf16(criteria[5].key);
    for (auto _ : state) {
        int n = 0;
        for (int i = 1; i <= t.hotel_count; ++i) {
            n += t.ken_name(t.hotel_ken(i)).contains(key);
            n += t.airport_name(t.hotel_airport(i)).contains(key);
            n += t.hotel_name(i).contains(key);
            n += t.hotel_syousai_name(i).contains(key);
            n += t.hotel_access(i).contains(key);
            n += t.hotel_note_wide(i).contains(key);
        }
        benchmark::DoNotOptimize(n);
    }
}

// The keys of the orderings.
ResultOrder keys;

// The rows to order: the first n hotels, as a keyword search for all of them leaves them.
ResultRows& prepare_rows(Loaded& l, int n) {
    static SearchState s;
    static ResultRows rows;
    s.sel_count = Integer(n);
    for (int k = 1; k <= n; ++k) s.sel_hotel(k) = Integer(k);
    rows.take(l.st->db, s);
    return rows;
}

const QString& order_of(int k) {
    static const QString names[] = {ordering_name(Ordering::ken), ordering_name(Ordering::price),
                                    ordering_name(Ordering::name)};
    return names[k];
}

void BM_Ordering(benchmark::State& state) {
    const int n = int(state.range(0));
    Loaded& l = directory(15000);
    for (auto _ : state) {
        state.PauseTiming();
        ResultRows& rows = prepare_rows(l, n);
        state.ResumeTiming();
        rows.sort(order_of(int(state.range(1))), keys);
    }
}

void plain_exchange_sort(Integer* list, int n, const ResultOrder& o) {
    for (int i = 1; i <= n - 1; ++i) {
        Integer a = list[i];
        for (int j = i + 1; j <= n; ++j) {
            const Integer b = list[j];
            const QString& ka = o.sort_key1(a);
            const QString& kb = o.sort_key1(b);
            if (ka < kb) continue;
            if (ka == kb && o.sort_key2(a) <= o.sort_key2(b)) continue;
            list[i] = b;
            list[j] = a;
            a = list[i];
        }
    }
}

void BM_OrderingPlainBaseline(benchmark::State& state) {
    const int n = int(state.range(0));
    Loaded& l = directory(15000);
    std::vector<Integer> fast, plain(std::size_t(n) + 1);
    for (auto _ : state) {
        state.PauseTiming();
        ResultRows& rows = prepare_rows(l, n);
        rows.sort(order_of(int(state.range(1))), keys); // keys, and the fast result to compare with
        fast.clear();
        for (int k = 1; k <= n; ++k) fast.push_back(rows.hotel(k));
        for (int k = 1; k <= n; ++k) plain[std::size_t(k)] = Integer(k);
        state.ResumeTiming();
        plain_exchange_sort(plain.data(), n, keys);
    }
    if (!std::equal(fast.begin(), fast.end(), plain.data() + 1))
        state.SkipWithError("the ordering differs from the exchange sort");
}

} // namespace

BENCHMARK(BM_ScanBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_KeywordBaseline)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Selection)->DenseRange(1, 6)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ordering)->ArgsProduct({{1000, 15000}, {0, 1, 2}})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderingPlainBaseline)
    ->Args({1000, 0})
    ->Args({1000, 1})
    ->Args({1000, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderingPlainBaseline)
    ->Args({15000, 0})
    ->Args({15000, 1})
    ->Args({15000, 2})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

namespace {
const bool registered = [] {
    for (int k = 1; k <= 6; ++k) {
        static std::string names[7];
        names[k] = "BM_Selection/" + std::to_string(k);
        bench::compare(names[k].c_str(), "BM_ScanBaseline", 0,
                       "selection of 15000 hotels; target: at most 2 ms");
    }
    bench::compare("BM_Selection/6", "BM_KeywordBaseline", 1.2,
                   "keyword search beside six containment tests per hotel");
    bench::compare("BM_OrderingPlainBaseline/15000/0/iterations:1", "BM_Ordering/15000/0", 300,
                   "speed-up, by prefecture", true);
    bench::compare("BM_OrderingPlainBaseline/15000/1/iterations:1", "BM_Ordering/15000/1", 300,
                   "speed-up, by price", true);
    bench::compare("BM_OrderingPlainBaseline/15000/2/iterations:1", "BM_Ordering/15000/2", 300,
                   "speed-up, by name", true);
    bench::compare("BM_OrderingPlainBaseline/1000/0", "BM_Ordering/1000/0", 0, "speed-up, 1000 hits");
    return true;
}();
}
