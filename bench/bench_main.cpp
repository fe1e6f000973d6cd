// Runs the benchmarks, then prints each figure beside its baseline from the same run, with its target
// and whether it is met, and the memory the loaded directory takes.
#include "bench/bench_support.h"

#include "data/hotel_tables.h"
#include "data/user_file.h"
#include "program/program.h"
#include "shared/program_folder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>
#include <vector>

namespace tomarina::bench {

namespace {
enum class Kind { none, ratio_at_most, ratio_at_least, added_at_most };
struct Pair {
    std::string figure, baseline;
    Kind kind;
    double target;
    std::string note;
};
std::vector<Pair>& pairs() {
    static std::vector<Pair> p;
    return p;
}
// CPU seconds per iteration of each benchmark in this run: with --benchmark_repetitions, the median.
std::map<std::string, double>& times() {
    static std::map<std::string, double> t;
    return t;
}

class CpuTimeReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // The median comes after the repetitions it sums up, and replaces the last one.
        for (const Run& r : runs)
            if (r.iterations > 0 && (r.run_type == Run::RT_Iteration || r.aggregate_name == "median"))
                times()[r.run_name.str()] =
                    r.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
};

const char* verdict(bool met) {
    return met ? "met" : "NOT MET";
}
} // namespace

const DbSource& source(int hotels) {
    static std::map<int, std::unique_ptr<DbSource>> cache;
    auto& s = cache[hotels];
    if (!s) {
        s = std::make_unique<DbSource>();
        QString error;
        if (!read_sources(QStringLiteral(TOMARINA_SAMPLE_DIR), *s, &error)) qFatal("%s", qPrintable(error));
        generate_hotels(*s, hotels, 20261207);
    }
    return *s;
}

const QByteArray& database(int hotels) {
    static std::map<int, QByteArray> cache;
    auto& b = cache[hotels];
    if (b.isEmpty()) b = build_database(source(hotels));
    return b;
}

QString database_file(int hotels) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tomarina%1.dat").arg(hotels));
    if (!QFile::exists(path)) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(database(hotels));
    }
    return path;
}

void compare(const char* figure, const char* baseline, double target_ratio, const char* note, bool at_least) {
    const Kind kind = target_ratio <= 0 ? Kind::none : at_least ? Kind::ratio_at_least : Kind::ratio_at_most;
    pairs().push_back({figure, baseline, kind, target_ratio, note});
}

void compare_added(const char* figure, const char* baseline, double target_ms, const char* note) {
    pairs().push_back({figure, baseline, Kind::added_at_most, target_ms, note});
}

namespace {

// Peak resident memory of this process in kB.
long peak_kb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

template <typename T> struct TableOf : std::false_type {};
template <typename T, int C> struct TableOf<FixedTable<T, C>> : std::true_type { using Slot = T; };

// What each table takes: its slots, and the characters its texts show (two bytes each, wherever they
// are kept; a text shared by two tables counts in both).
void print_fields(const HotelTables& t) {
    HotelTables::for_each_named_member([&t](const char* name, auto member) {
        const auto& value = t.*member;
        using M = std::remove_cvref_t<decltype(value)>;
        if constexpr (TableOf<M>::value) {
            long long chars = 0;
            if constexpr (std::is_same_v<typename TableOf<M>::Slot, QString>)
                for (int i = 0; i <= M::capacity; ++i) chars += value(i).size();
            std::printf("  %-20s slots %9.1f kB   text %9.1f kB\n", name,
                        (M::capacity + 1) * sizeof(typename TableOf<M>::Slot) / 1024.0, chars * 2 / 1024.0);
        }
    });
    std::printf("  %-20s blocks %8.1f kB\n", "texts", t.texts.capacity() * 2 / 1024.0);
}

// The child's side of the memory figure: the program folder loaded as the program loads it, one keyword
// search, then the peak printed.
int memory_probe(int argc, char** argv, const char* folder) {
    QCoreApplication app(argc, argv);
    AppState st;
    st.app_path = QString::fromLocal8Bit(folder);
    open_database(st);
    load_database(st, {}, false);
    st.directory.add_user_hotels();
    st.search.run({SearchType::keyword, QStringLiteral("ＬＡＮ"), {}}, 32767);
    std::printf("%ld %d\n", peak_kb(), int(st.search.state().sel_count));
    print_fields(st.db);
    return 0;
}

// The child's peak; fields receives the rest of what it printed.
long probe_peak_kb(const QString& folder, QString* fields = nullptr) {
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--memory-probe"), folder});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) return -1;
    const QString out = QString::fromLatin1(p.readAllStandardOutput());
    if (fields) *fields = out.section(u'\n', 1);
    return out.split(u' ').value(0).toLong();
}

// The loaded directory's memory against the same program with no directory, each the least of three
// runs; peak resident memory varies little.
void print_memory(int hotels, double target) {
    std::printf(
        "\nPeak resident memory of a process that loads the directory and runs one keyword search:\n");
    QTemporaryDir empty, full;
    QFile::copy(database_file(hotels), full.filePath(QStringLiteral("tomarina.dat")));
    const double file_mb = QFileInfo(full.filePath(QStringLiteral("tomarina.dat"))).size() / 1048576.0;
    long base = -1, loaded = -1;
    QString fields;
    for (int k = 0; k < 3; ++k) {
        const long b = probe_peak_kb(empty.path()), l = probe_peak_kb(full.path(), &fields);
        if (b > 0) base = base < 0 ? b : std::min(base, b);
        if (l > 0) loaded = loaded < 0 ? l : std::min(loaded, l);
    }
    if (base < 0 || loaded < 0) {
        std::printf("peak memory: the probe did not run\n");
        return;
    }
    const double added = (loaded - base) / 1024.0;
    const double ratio = added / file_mb;
    std::printf("%-34s %9.1f MB  %-34s %9.1f MB  %+8.2f MB = %.2fx the file (%.2f MB)  <= %gx  %s\n",
                "peak memory, 15000 hotels", loaded / 1024.0, "no directory (same run)", base / 1024.0, added,
                ratio, file_mb, target, verdict(ratio <= target));
    std::printf("The loaded tables, field by field (the slots are taken with or without a directory):\n%s",
                qPrintable(fields));
}

// The figures with a target, or (targets false) the others.
void print_figures(bool targets) {
    for (const auto& p : pairs()) {
        if ((p.kind != Kind::none) != targets) continue;
        const auto f = times().find(p.figure);
        const auto b = times().find(p.baseline);
        if (f == times().end() || b == times().end()) continue;
        const double fig = f->second * 1e3, base = b->second * 1e3;
        char value[64], target[32] = "", met[16] = "";
        if (p.kind == Kind::added_at_most) {
            std::snprintf(value, sizeof value, "%+.3f ms", fig - base);
            std::snprintf(target, sizeof target, "<= %+g ms", p.target);
            std::snprintf(met, sizeof met, "%s", verdict(fig - base <= p.target));
        } else {
            std::snprintf(value, sizeof value, "%.3fx (%+.3f ms)", fig / base, fig - base);
            if (p.kind != Kind::none) {
                const bool at_least = p.kind == Kind::ratio_at_least;
                std::snprintf(target, sizeof target, "%s %gx", at_least ? ">=" : "<=", p.target);
                std::snprintf(met, sizeof met, "%s",
                              verdict(at_least ? fig / base >= p.target : fig / base <= p.target));
            }
        }
        std::printf("%-34s %12.4f  %-34s %12.4f  %-24s %-10s %-8s %s\n", p.figure.c_str(), fig,
                    p.baseline.c_str(), base, value, target, met, p.note.c_str());
    }
}

} // namespace

} // namespace tomarina::bench

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--memory-probe") == 0)
        return tomarina::bench::memory_probe(argc, argv, argv[2]);
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The windows' fonts as the program maps them.
    tomarina::install_fonts();
    // The offscreen platform reports every window it cannot raise.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type != QtDebugMsg && type != QtInfoMsg && !msg.contains(QLatin1String("does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    bool memory = true;
    for (int k = 1; k < argc; ++k)
        if (std::strcmp(argv[k], "--no-memory") == 0) memory = false;
    benchmark::Initialize(&argc, argv);
    tomarina::bench::CpuTimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    using namespace tomarina::bench;
    std::printf(
        "\nCPU time of the benchmark's thread per iteration (the machine may be shared; the median of the "
        "repetitions when repeated); each baseline from this run.\n");
    std::printf("%-34s %12s  %-34s %12s  %-24s %-10s %s\n", "figure", "ms CPU", "baseline", "ms CPU", "value",
                "target", "");
    print_figures(true);
    std::printf("\nOther figures:\n");
    print_figures(false);
    if (memory) print_memory(15000, 3.0);
    return 0;
}
