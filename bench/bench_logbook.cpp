// A 50,000-record logbook: loading its file, sorting it by each order, and
// refreshing the grid after a change.
#include "core/globals.h"
#include "core/numtext.h"
#include "logbook/frmLog.h"
#include "logbook/logbook.h"
#include "support/benchrun.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tav;

namespace {

constexpr int kRecords = 50000;

QVector<LogRecord> makeRecords()
{
    QRandomGenerator rng(42);
    QVector<LogRecord> v;
    v.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        LogRecord r;
        r[LogDate] = QString::number(20000101 + rng.bounded(991231));
        r[LogStart] = padded(rng.bounded(2400), 4);
        r[LogEnd] = padded(rng.bounded(2400), 4);
        r[LogFreq] = padded(rng.bounded(30000), 5);
        r[LogSinpo] = QStringLiteral("45444");
        r[LogLanguage] = QStringLiteral("ENG");
        r[LogStation] = QStringLiteral("Station %1").arg(rng.bounded(5000));
        r[LogLocation] = QStringLiteral("Somewhere");
        r[LogRemarks] = QStringLiteral("Remarks of the reception report");
        r[LogRxSetting] = QStringLiteral("a");
        v.push_back(r);
    }
    return v;
}

void BM_LoadFile(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LOG_BENCH.TXT"));
    writeLogFile(path, makeRecords());
    for (auto _ : state) {
        auto c = readLogFile(path, kRecords + 1);
        benchmark::DoNotOptimize(c->records.size());
    }
}
BENCHMARK(BM_LoadFile)->Unit(benchmark::kMillisecond);

void BM_Sort(benchmark::State &state)
{
    const QVector<LogRecord> base = makeRecords();
    for (auto _ : state) {
        state.PauseTiming();
        QVector<LogRecord> v = base;
        state.ResumeTiming();
        logSort(v, int(state.range(0)));
        benchmark::DoNotOptimize(v.data());
    }
}
BENCHMARK(BM_Sort)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_GridRefresh(benchmark::State &state)
{
    G.setupdata[6] = 50;
    logStore().records = makeRecords();
    frmLog w;
    w.show();
    w.log2grid();
    QApplication::processEvents();
    for (auto _ : state) {
        logStore().records[7][LogRemarks] = QStringLiteral("changed");
        w.log2grid();
        QApplication::processEvents();
    }
    w.hide();
    resetLogStore();
}
BENCHMARK(BM_GridRefresh)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return tavbench::runWithWindows(argc, argv); }
