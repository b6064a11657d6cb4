// A broadcast list at the largest size the set-up allows (30,000 lines, "30"
// in the list size box) and, named as such, an over-size one of 50,000 lines:
// read, its on-air selection, a first load into a freshly opened window and
// the window loading, selecting and showing it again.
#include "core/globals.h"
#include "core/ui.h"
#include "lists/bdxclist.h"
#include "lists/frmBdxc.h"
#include "support/benchrun.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tav;
using namespace tav::lists;

namespace {

constexpr int kLargest = 30000;  // the set-up's largest list
constexpr int kOverSize = 50000; // beyond what the set-up allows

// Lines as the BDXC lists have them, a third of them continuation lines.
QString writeList(const QTemporaryDir &dir, int kLines)
{
    QRandomGenerator rng(7);
    QByteArray content;
    content.reserve(kLines * 102);
    for (int i = 0; i < kLines; ++i) {
        QByteArray line = (i % 3 ? QByteArray(".") : QByteArray("Country ") + QByteArray::number(i % 200));
        line = line.leftJustified(17, ' ') + QByteArray("Broadcaster ").append(QByteArray::number(i % 900));
        line = line.leftJustified(35, ' ');
        const int start = int(rng.bounded(24)) * 100, end = int(rng.bounded(24)) * 100 + 30;
        line += QByteArray::number(start).rightJustified(4, '0') + '-' + QByteArray::number(end).rightJustified(4, '0');
        line = line.leftJustified(48, ' ');
        for (int f = 0; f < 6; ++f)
            line += QByteArray::number(2300 + rng.bounded(24000)) + (f < 5 ? "," : "");
        content += line + "\r\n";
    }
    const QString path = dir.filePath(QStringLiteral("BDX_BENCH_TOE.TXT"));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return path;
}

void BM_ReadAndSelect(benchmark::State &state)
{
    QTemporaryDir dir;
    const int lines = int(state.range(0));
    const QString path = writeList(dir, lines);
    for (auto _ : state) {
        auto read = readListLines(path, lines);
        const BdxcList list = BdxcList::fromLines(read->lines);
        auto rows = list.select(QStringLiteral("1200"));
        benchmark::DoNotOptimize(rows->size());
    }
}
BENCHMARK(BM_ReadAndSelect)->ArgName("lines")->Arg(kLargest)->Arg(kOverSize)->Unit(benchmark::kMillisecond);

// What a user waits for the first time: the window just opened, the file
// read, the selection answered and the grid painted.
void BM_WindowFirstLoad(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeList(dir, int(state.range(0)));
    G.setupdata[4] = float(state.range(0) / 1000);
    G.filenames[FileKind::Bdxc] = QStringLiteral("BDX_BENCH_TOE.TXT");
    DialogScript::enabled = true;
    for (auto _ : state) {
        state.PauseTiming();
        auto *w = new frmBdxc;
        w->showModeless();
        QApplication::processEvents();
        DialogScript::inputs << QStringLiteral("1200");
        state.ResumeTiming();
        w->bdxcfile2ram(path);
        benchmark::DoNotOptimize(w->grdBdxc->grab());
        state.PauseTiming();
        w->unload();
        delete w;
        state.ResumeTiming();
    }
    DialogScript::reset();
}
BENCHMARK(BM_WindowFirstLoad)->ArgName("lines")->Arg(kLargest)->Arg(kOverSize)->Unit(benchmark::kMillisecond);

// The warm reload: the reader of the Load dialog run again in the open
// window, the answer to "Selection Criterium" and the grid painted.
void BM_WindowLoadsSelectsAndShows(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = writeList(dir, int(state.range(0)));
    G.setupdata[4] = float(state.range(0) / 1000);
    G.filenames[FileKind::Bdxc] = QStringLiteral("BDX_BENCH_TOE.TXT");
    DialogScript::enabled = true;
    frmBdxc w;
    w.showModeless();
    QApplication::processEvents();
    for (auto _ : state) {
        DialogScript::inputs << QStringLiteral("1200");
        w.bdxcfile2ram(path);
        benchmark::DoNotOptimize(w.grdBdxc->grab());
    }
    state.counters["rows"] = w.bdxcrows();
    w.unload();
    DialogScript::reset();
}
BENCHMARK(BM_WindowLoadsSelectsAndShows)->ArgName("lines")->Arg(kLargest)->Arg(kOverSize)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return tavbench::runWithWindows(argc, argv); }
