// Loading the directory against reading the file and decoding all of it from code page 932.
#include "bench/bench_support.h"
#include "data/database.h"

#include <QFile>
#include <QStringDecoder>

using namespace tomarina;

static void BM_ReadAndDecodeBaseline(benchmark::State& state) {
    const QString path = bench::database_file(int(state.range(0)));
    for (auto _ : state) {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        const QByteArray bytes = f.readAll();
        QStringDecoder decoder("windows-31j");
        QString text = decoder.decode(bytes);
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(BM_ReadAndDecodeBaseline)->Arg(1000)->Arg(15000)->Unit(benchmark::kMillisecond);

static void BM_LoadDirectory(benchmark::State& state) {
    const QString path = bench::database_file(int(state.range(0)));
    for (auto _ : state) {
        auto t = std::make_unique<HotelTables>();
        DatabaseFile file;
        file.open(path);
        Loader(*t, file.bytes()).load_all();
        benchmark::DoNotOptimize(t->hotel_count);
        state.PauseTiming();
        t.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadDirectory)->Arg(1000)->Arg(15000)->Unit(benchmark::kMillisecond);

namespace {
const bool registered = [] {
    bench::compare("BM_LoadDirectory/15000", "BM_ReadAndDecodeBaseline/15000", 1.25, "load of 15000 hotels");
    bench::compare("BM_LoadDirectory/1000", "BM_ReadAndDecodeBaseline/1000", 0, "load of 1000 hotels");
    return true;
}();
}
