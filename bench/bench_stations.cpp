// Station databases at the size the program allows (50,000 lines): the ILG
// conversion, loading a station file, a query, a sort, and the tracking
// search that runs on every dial report.
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "stations/conversion.h"
#include "stations/dbftable.h"
#include "stations/ftlrecord.h"
#include "stations/stationstore.h"
#include "stations/tracking.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <shapefil.h>

using namespace tav;

namespace {

constexpr int kRecords = 50000;

struct Data {
    QTemporaryDir dir;
    QString ftl;
    Data()
    {
        InitConstants();
        G.setupdata[7] = 50;
        G.datapath = dir.path() + QLatin1Char('/');
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
        for (int r = 0; r < kRecords; ++r) {
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
            ftl::Fields fl;
            fl.freq = *ftl::frequencyText(f);
            fl.utc = QString::fromLatin1(utc);
            fl.station = QLatin1String(st);
            fl.language = QLatin1String(lg);
            fl.lat = QStringLiteral("5130N");
            fl.lon = QStringLiteral("00006W");
            fl.areas[3] = true;
            lines << ftl::build(fl);
        }
        DBFClose(h);
        ftl = dir.path() + "/ILGSDATA.ftl";
        writeTextLines(ftl, lines);
    }
};

Data &data()
{
    static Data d;
    return d;
}

void BM_ConvertIlg(benchmark::State &state)
{
    Data &d = data();
    DbfTable t;
    t.open(d.dir.path(), QStringLiteral("ILGSDATA"));
    for (auto _ : state) {
        const ConversionResult r = convertIlg(t, {}, d.dir.path() + "/out.ftl", {});
        benchmark::DoNotOptimize(r.count);
    }
}

void BM_LoadStore(benchmark::State &state)
{
    Data &d = data();
    for (auto _ : state) {
        StationStore s;
        loadStationStore(d.ftl, s, stationStoreCapacity());
        benchmark::DoNotOptimize(s.ftlrecs.size());
    }
}

void BM_Query(benchmark::State &state)
{
    Data &d = data();
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
            lines << ilgSearchLine(s.ftlrecs[i]);
        benchmark::DoNotOptimize(lines.size());
    }
}

void BM_Sort(benchmark::State &state)
{
    Data &d = data();
    StationStore s;
    loadStationStore(d.ftl, s, stationStoreCapacity());
    for (auto _ : state) {
        const QVector<int> order = ftlSort(s.ftlrecs, s.ftlindex, int(state.range(0)));
        benchmark::DoNotOptimize(order.size());
    }
}

void BM_Trackfreq(benchmark::State &state)
{
    Data &d = data();
    StationRecords recs;
    readStationLines(d.ftl, stationStoreCapacity(), recs);
    TrackEngine e;
    e.setRecords(recs);
    double f = 9000;
    for (auto _ : state) {
        f = f > 20000 ? 9000 : f + 5;
        e.search(f);
        e.build(false, f, 10, 1200);
        benchmark::DoNotOptimize(e.lastLine);
    }
}

} // namespace

BENCHMARK(BM_ConvertIlg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadStore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Query)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)->Arg(0)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Trackfreq)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
