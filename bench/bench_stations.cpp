// Station databases at the largest size the set-up allows (30 thousand lines,
// "30" in the station-file size box) and, named as such, an over-size file of
// 50 thousand: the ILG conversion, the loader against a plain read-and-split
// of the same file, a first load into a freshly opened list window and the
// warm reload beside it, a query, the sorts on shuffled records, and the
// tracking window's update per dial report with its repaint.
#include "core/form.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "hub/app.h"
#include "stations/conversion.h"
#include "stations/dbftable.h"
#include "stations/frmTracking.h"
#include "stations/ftlrecord.h"
#include "stations/stationlist.h"
#include "stations/stationstore.h"
#include "stations/tracking.h"
#include "support/benchrun.h"
#include "support/plainread.h"
#include "support/samplerecords.h"

#include <QApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <random>
#include <shapefil.h>

using namespace tav;
using tavbench::millis;

namespace {

constexpr int kLargest = 30000;  // the set-up's largest station file
constexpr int kOverSize = 50000; // beyond what the set-up allows

struct Data {
    QTemporaryDir dir;
    QString ftl, shuffled;
    explicit Data(int records)
    {
        InitConstants();
        const char *stations[] = {"Radio Alpha", "Voice of Beta", "Gamma Broadcasting", "Delta Int."};
        const char *langs[] = {"English", "French", "German", "Spanish", "Arabic"};
        QRandomGenerator rng(7);
        // The dBase table, in frequency order.
        DBFHandle h = DBFCreate(QFile::encodeName(dir.path() + "/ilgsdata.dbf").constData());
        const char *names[] = {"FREQ", "UTC", "STATUS", "STATION", "TARGET", "LANGUAGE", "POWER", "LATI", "LONGI",
                               "NA", "CA", "SA", "EU", "AF", "ME", "AS", "AU", "PA", "COUNTRY", "LOCATION"};
        const int widths[] = {9, 9, 1, 30, 10, 20, 7, 5, 6, 2, 2, 2, 2, 2, 2, 2, 2, 2, 20, 20};
        for (int i = 0; i < 20; ++i)
            DBFAddField(h, names[i], i == 0 ? FTDouble : FTString, widths[i], i == 0 ? 2 : 0);
        QStringList lines;
        for (int r = 0; r < records; ++r) {
            const double f = 2300 + r * 0.5;
            const int start = rng.bounded(24) * 100;
            const QByteArray utc = (padded(start, 4) + QLatin1Char('-') + padded((start + 100) % 2400, 4)).toLatin1();
            const char *st = stations[rng.bounded(4)];
            const char *lg = langs[rng.bounded(5)];
            const QByteArray fq = fixedFormat(f, 0, 2).toLatin1();
            DBFWriteAttributeDirectly(h, r, 0, (void *)fq.rightJustified(9).constData());
            DBFWriteStringAttribute(h, r, 1, utc.constData());
            DBFWriteStringAttribute(h, r, 3, st);
            DBFWriteStringAttribute(h, r, 4, "EU NA");
            DBFWriteStringAttribute(h, r, 5, lg);
            DBFWriteStringAttribute(h, r, 7, "5130N");
            DBFWriteStringAttribute(h, r, 8, "00006W");
            DBFWriteStringAttribute(h, r, 12, "EU");
            DBFWriteStringAttribute(h, r, 18, "England");
            DBFWriteStringAttribute(h, r, 19, "Woofferton");
            lines << tavbench::sampleStationLine(f, QString::fromLatin1(utc), QLatin1String(st), QLatin1String(lg));
        }
        DBFClose(h);
        ftl = dir.path() + "/ILGSDATA.ftl";
        writeTextLines(ftl, lines);
        // The same records in no order, for the sorts.
        std::shuffle(lines.begin(), lines.end(), std::mt19937(11));
        shuffled = dir.path() + "/SHUFFLED.ftl";
        writeTextLines(shuffled, lines);
    }
};

// The set-up's station-file size for `records`, in thousands.
void setSize(int records) { G.setupdata[7] = float(records / 1000); }

Data &data(int records)
{
    static std::map<int, std::unique_ptr<Data>> d;
    auto &p = d[records];
    if (!p)
        p = std::make_unique<Data>(records);
    setSize(records);
    return *p;
}

void BM_ConvertIlg(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    DbfTable t;
    t.open(d.dir.path(), QStringLiteral("ILGSDATA"));
    for (auto _ : state) {
        const ConversionResult r = convertIlg(t, {}, d.dir.path() + "/out.ftl", {});
        benchmark::DoNotOptimize(r.count);
    }
}

// The loader against a plain read-and-split of the same file, side by side in
// every iteration; `ratio` is the loader's time over the plain one.
void BM_LoadStationFile(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    double plain = 0, load = 0;
    for (auto _ : state) {
        plain += millis([&] { benchmark::DoNotOptimize(tavbench::plainReadAndSplit(d.ftl)); });
        StationStore s;
        const double t = millis([&] { loadStationStore(d.ftl, s, stationStoreCapacity()); });
        load += t;
        state.SetIterationTime(t / 1000);
        benchmark::DoNotOptimize(s.ftlrecs.size());
    }
    state.counters["plain_ms"] = plain / double(state.iterations());
    state.counters["ratio"] = load / plain;
}

// What the user waits for after the Load dialog: the file read into a list
// window that has just been opened, its lines shown and painted.
void BM_IlgWindowFirstLoad(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ftlStore().clear();
        auto *w = new frmIlg2rx;
        w->showModeless();
        QApplication::processEvents();
        state.ResumeTiming();
        w->ilgfile2ram(d.ftl);
        w->repaint();
        state.PauseTiming();
        w->unload();
        delete w;
        state.ResumeTiming();
    }
}

// The same file loaded again into the open window.
void BM_IlgWindowWarmReload(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    frmIlg2rx w;
    w.showModeless();
    w.ilgfile2ram(d.ftl);
    QApplication::processEvents();
    for (auto _ : state) {
        w.ilgfile2ram(d.ftl);
        w.repaint();
    }
    w.unload();
}

void BM_Query(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    StationStore s;
    loadStationStore(d.ftl, s, stationStoreCapacity());
    for (auto _ : state) {
        IlgCriteria c;
        c.freq = true;
        c.lower = "5";
        c.upper = "20";
        c.language = true;
        c.languageText = "eng";
        c.onAir = true;
        const QVector<int> found = ilgSearch(s, c, 1230);
        QStringList lines;
        for (int i : found)
            lines << ilgSearchLine(s.ftlrecs.data(i));
        benchmark::DoNotOptimize(lines.size());
    }
}

// The sort dialog's orders on records in no order (args: records, key).
void BM_SortShuffled(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    StationStore s;
    loadStationStore(d.shuffled, s, stationStoreCapacity());
    for (auto _ : state) {
        const QVector<int> order = ftlSort(s.ftlrecs, s.ftlindex, int(state.range(1)));
        benchmark::DoNotOptimize(order.size());
    }
}

// The search and list building alone, without the window.
void BM_TrackSearch(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    StationRecords recs;
    readStationLines(d.ftl, stationStoreCapacity(), recs);
    TrackEngine e;
    e.setRecords(recs);
    double f = 9000;
    for (auto _ : state) {
        f = f > 15000 ? 9000 : f + 5;
        e.search(f);
        e.build(false, f, 10, 1200);
        benchmark::DoNotOptimize(e.lastLine);
    }
}

// What a dial report costs: the tracking window's search, list, page and
// its repaint (all stations, the distance view, as a listener has it). The
// window is the registry's, opened as the menu opens it: a window outside
// the registry is not loaded for the hub, and a dial report would pass it by.
void BM_TrackingWindowPerDialReport(benchmark::State &state)
{
    Data &d = data(int(state.range(0)));
    G.rxlatitude = QStringLiteral("5200N");
    G.rxlongitude = QStringLiteral("00430E");
    registerBuiltWindows();
    auto *w = Windows::get<frmTracking>();
    w->showModeless();
    w->trackfile2ram(d.ftl);
    w->optHitsall->select(1);
    w->optAlternates->select(1);
    w->txtCatchrange->setText(QStringLiteral("10"));
    QApplication::processEvents();
    const int before = w->builds();
    double f = 9000;
    for (auto _ : state) {
        f = f > 15000 ? 9000 : f + 5;
        G.rxfreqnow = f;
        w->Trackfreq();
        // The paint the event loop does next: the changed lines.
        QApplication::processEvents();
    }
    // Each report must have rebuilt the list, or the figure measures nothing.
    const int builds = w->builds() - before;
    state.counters["builds"] = builds;
    if (builds < state.iterations()) {
        const std::string why = QStringLiteral("%1 list builds for %2 dial reports: the window was not tracking")
                                    .arg(builds)
                                    .arg(state.iterations())
                                    .toStdString();
        state.SkipWithError(why.c_str());
    }
    w->unload();
    Windows::destroyAll();
}

void sizes(benchmark::internal::Benchmark *b)
{
    b->ArgName("records")->Arg(kLargest)->Arg(kOverSize);
}

} // namespace

BENCHMARK(BM_ConvertIlg)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStationFile)->Apply(sizes)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IlgWindowFirstLoad)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IlgWindowWarmReload)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Query)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortShuffled)
    ->ArgNames({"records", "key"})
    ->ArgsProduct({{kLargest, kOverSize}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrackSearch)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TrackingWindowPerDialReport)->Apply(sizes)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv) { return tavbench::runWithWindows(argc, argv); }
