// Logbooks at the largest size the set-up allows (30 thousand records, "30"
// in the logbook size box) and, named as such, an over-size one of 50
// thousand: the loader against a plain read-and-split of the same file, a
// first load into a freshly opened logbook window and the warm reload beside
// it, the five sorts on records in no order, and the grid refreshed after a
// change.
#include "hub/app.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "logbook/frmLog.h"
#include "logbook/logbook.h"
#include "support/benchrun.h"
#include "support/plainread.h"
#include "support/samplerecords.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace tav;
using tavbench::millis;

namespace {

constexpr int kLargest = 30000;
constexpr int kOverSize = 50000;

// Records as a listener logs them over the years: dates, times and
// frequencies in no order.
LogRecords makeRecords(int n)
{
    QRandomGenerator rng(42);
    LogRecords v;
    v.reserve(n);
    for (int i = 0; i < n; ++i) {
        v.push_back(tavbench::sampleLogRecord(rng));
    }
    return v;
}

struct Data {
    QTemporaryDir dir;
    QString path;
    explicit Data(int n) : path(dir.filePath(QStringLiteral("LOG_BENCH.TXT"))) { writeLogFile(path, makeRecords(n)); }
};

Data &data(int n)
{
    static std::map<int, std::unique_ptr<Data>> d;
    auto &p = d[n];
    if (!p)
        p = std::make_unique<Data>(n);
    G.setupdata[6] = float(n / 1000);
    return *p;
}

// The loader against a plain read-and-split of the same file, side by side in
// every iteration; `ratio` is the loader's time over the plain one.
void BM_LoadFile(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    double plain = 0, load = 0;
    for (auto _ : state) {
        plain += millis([&] { benchmark::DoNotOptimize(tavbench::plainReadAndSplit(d.path)); });
        std::optional<LogFileContent> c;
        const double t = millis([&] { c = readLogFile(d.path, LogStore::capacity()); });
        load += t;
        state.SetIterationTime(t / 1000);
        benchmark::DoNotOptimize(c->records.size());
    }
    state.counters["plain_ms"] = plain / double(state.iterations());
    state.counters["ratio"] = load / plain;
}

// The file kind's reader as the Load dialog runs it.
void loadThroughReader(const Data &d)
{
    G.filedirs[FileKind::Log] = d.dir.path() + QLatin1Char('/');
    G.filenames[FileKind::Log] = QStringLiteral("LOG_BENCH.TXT");
    runReader(FileKind::Log);
}

// A logbook window just opened, the file loaded into it and painted.
void BM_WindowFirstLoad(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    registerBuiltWindows();
    for (auto _ : state) {
        state.PauseTiming();
        resetLogStore();
        auto *w = Windows::get<frmLog>();
        w->showModeless();
        QApplication::processEvents();
        state.ResumeTiming();
        loadThroughReader(d);
        w->repaint();
        state.PauseTiming();
        w->unload();
        Windows::destroyAll();
        state.ResumeTiming();
    }
}

// The same file loaded again into the open window.
void BM_WindowWarmReload(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    registerBuiltWindows();
    auto *w = Windows::get<frmLog>();
    w->showModeless();
    loadThroughReader(d);
    QApplication::processEvents();
    for (auto _ : state) {
        loadThroughReader(d);
        w->repaint();
    }
    state.counters["records"] = logStore().records.size();
    w->unload();
    Windows::destroyAll();
    resetLogStore();
}

// The sort dialog's orders (args: records, order).
void BM_Sort(benchmark::State &state)
{
    const LogRecords base = makeRecords(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        LogRecords v = base;
        v.set(0, v.at(0)); // its own copy, outside the timing
        state.ResumeTiming();
        logSort(v, int(state.range(1)));
        benchmark::DoNotOptimize(v.size());
    }
}

void BM_GridRefresh(benchmark::State &state)
{
    data(int(state.range(0)));
    logStore().records = makeRecords(int(state.range(0)));
    frmLog w;
    w.show();
    w.log2grid();
    QApplication::processEvents();
    LogRecord changed = std::as_const(logStore().records)[7];
    changed[LogRemarks] = QStringLiteral("changed");
    for (auto _ : state) {
        logStore().records[7] = changed;
        w.log2grid();
        QApplication::processEvents();
    }
    w.hide();
    resetLogStore();
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->ArgName("records")->Arg(kLargest)->Arg(kOverSize);
}

} // namespace

BENCHMARK(BM_LoadFile)->Apply(sizes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowFirstLoad)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowWarmReload)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)
    ->ArgNames({"records", "order"})
    ->ArgsProduct({{kLargest, kOverSize}, {0, 1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridRefresh)->Apply(sizes)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) { return tavbench::runWithWindows(argc, argv); }
