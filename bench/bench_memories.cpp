// The NRD-545's thousand memory cells: the sort by frequency and the memory
// file written and read back, what the user waits for behind the hourglass.
#include "core/textfile.h"
#include "drivers/memrecord.h"
#include "memories/memimage.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace tav;

namespace {

MemImage filledImage()
{
    QRandomGenerator rng(11);
    MemImage img;
    img.reset(999);
    for (int i = 0; i <= 999; ++i) {
        if (i % 7 == 0) {
            img.setRecord(i, memEmptyRecord(i));
            continue;
        }
        img.setRecord(i, memJrcRecord(cellText(i), memFrequencyField(10000.0 + rng.bounded(29990000)),
                                      QLatin1Char('2'), QLatin1Char('1'), QLatin1Char('0'), QLatin1Char('3')));
        img.setInfo(i, QStringLiteral("Station ") + QString::number(i));
    }
    return img;
}

void BM_SortThousandCells(benchmark::State &state)
{
    const MemImage start = filledImage();
    for (auto _ : state) {
        MemImage img = start;
        benchmark::DoNotOptimize(img.sortByFrequency().size());
    }
}
BENCHMARK(BM_SortThousandCells)->Unit(benchmark::kMillisecond);

void BM_MemoryFileRoundTrip(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("MEM_4bench.TXT"));
    const MemImage img = filledImage();
    for (auto _ : state) {
        writeTextLines(path, img.fileLines());
        MemImage back;
        back.readFileLines(*readTextLines(path), 999, 4);
        benchmark::DoNotOptimize(back.anyHeld());
    }
}
BENCHMARK(BM_MemoryFileRoundTrip)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
