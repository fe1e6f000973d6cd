// Runs the benchmarks, then prints each figure beside its baseline from the same run.
#include "bench/bench_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

namespace tomarina::bench {

namespace {
struct Pair {
    std::string figure, baseline;
    double target;
    std::string note;
    bool at_least;
};
std::vector<Pair>& pairs() {
    static std::vector<Pair> p;
    return p;
}
std::map<std::string, double>& times() {
    static std::map<std::string, double> t;
    return t;
}

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && r.iterations > 0)
                times()[r.benchmark_name()] =
                    r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
};
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
    pairs().push_back({figure, baseline, target_ratio, note, at_least});
}

} // namespace tomarina::bench

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // The offscreen platform reports every window it cannot raise.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type != QtDebugMsg && type != QtInfoMsg && !msg.contains(QLatin1String("does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    benchmark::Initialize(&argc, argv);
    tomarina::bench::RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\n%-46s %12s  %-40s %12s %9s  %s\n", "figure", "ms", "baseline (same run)", "ms", "ratio",
                "target");
    for (const auto& p : tomarina::bench::pairs()) {
        const auto f = tomarina::bench::times().find(p.figure);
        const auto b = tomarina::bench::times().find(p.baseline);
        if (f == tomarina::bench::times().end() || b == tomarina::bench::times().end()) continue;
        const double ratio = f->second / b->second;
        std::string target = p.note;
        if (p.target > 0) {
            const bool met = p.at_least ? ratio >= p.target : ratio <= p.target;
            char buf[64];
            std::snprintf(buf, sizeof buf, " [%s %g: %s]", p.at_least ? ">=" : "<=", p.target,
                          met ? "met" : "NOT MET");
            target += buf;
        }
        std::printf("%-46s %12.4f  %-40s %12.4f %9.3f  %s (difference %+.3f ms)\n", p.figure.c_str(),
                    f->second * 1e3, p.baseline.c_str(), b->second * 1e3, ratio, target.c_str(),
                    (f->second - b->second) * 1e3);
    }
    return 0;
}
