// Resident memory of the program with every list, station file, tracking
// file, logbook and memory file loaded at once, each at the largest size the
// set-up allows (30 thousand lines; the memory file holds its 1,000 cells),
// beside a bare window and, named as such, the over-size case of 50 thousand
// lines. Each reading runs in a fresh process of this program, so nothing an
// earlier measurement allocated stays in it.
#include "hub/app.h"
#include "drivers/receiver.h"
#include "core/filekinds.h"
#include "core/form.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "core/textfile.h"
#include "core/ui.h"
#include "drivers/memrecord.h"
#include "logbook/logbook.h"
#include "memories/memimage.h"
#include "stations/ftlrecord.h"
#include "stations/stationstore.h"
#include "support/samplerecords.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <malloc.h>

using namespace tav;

namespace {

constexpr int kLargest = 30000;
constexpr int kOverSize = 50000;

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &l : f.readAll().split('\n'))
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void writeFile(const QString &path, const QByteArray &content)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
}

// The files of every kind, `lines` lines each.
void writeFiles(const QString &dir, int lines)
{
    QRandomGenerator rng(7);
    QByteArray bdxc, own, ftl, log;
    for (int i = 0; i < lines; ++i) {
        QByteArray b = (i % 3 ? QByteArray(".") : QByteArray("Country ") + QByteArray::number(i % 200));
        b = b.leftJustified(17, ' ') + QByteArray("Broadcaster ").append(QByteArray::number(i % 900));
        b = b.leftJustified(35, ' ');
        const int start = int(rng.bounded(24)) * 100;
        b += QByteArray::number(start).rightJustified(4, '0') + "-" +
             QByteArray::number((start + 100) % 2400).rightJustified(4, '0');
        b = b.leftJustified(48, ' ');
        for (int f = 0; f < 6; ++f)
            b += QByteArray::number(2300 + rng.bounded(24000)) + (f < 5 ? "," : "");
        bdxc += b + "\r\n";
        own += QByteArray("Organisation ").append(QByteArray::number(i % 700)).leftJustified(43, ' ') + "u" +
               QByteArray(6, ' ') + QByteArray::number(2300 + rng.bounded(24000)) + ",9560.5,11730\r\n";
        ftl += tavbench::sampleStationLine(2300 + i * 0.5, QStringLiteral("0600-0700"),
                                           QStringLiteral("Radio %1").arg(i % 500), QStringLiteral("English"))
                   .toLatin1() +
               "\r\n";
        const LogRecord r = tavbench::sampleLogRecord(rng);
        log += logLine(i, r).toLatin1() + "\r\n";
    }
    writeFile(dir + "BDX_BENCH.TXT", bdxc);
    writeFile(dir + "OWN_BENCH.TXT", own);
    writeFile(dir + "ILGSDATA.ftl", ftl);
    writeFile(dir + "LOG_BENCH.TXT", log);
    MemImage img;
    img.reset(999);
    for (int i = 0; i <= 999; ++i) {
        img.setRecord(i, memJrcRecord(cellText(i), memFrequencyField(10000.0 + rng.bounded(29990000)),
                                      QLatin1Char('2'), QLatin1Char('1'), QLatin1Char('0'), QLatin1Char('3')));
        img.setInfo(i, QStringLiteral("Station ") + QString::number(i));
    }
    QByteArray mem;
    for (const QString &l : img.fileLines())
        mem += l.toLatin1() + "\r\n";
    writeFile(dir + "MEM_BENCH.TXT", mem);
}

// The child: opens the windows, loads the files and prints its resident
// memory, then the same after the allocator has returned what it can.
int child(const QString &what, const QString &dir, int lines)
{
    QApplication app(*new int(1), new char *[1]{const_cast<char *>("bench_resident")});
    InitConstants();
    registerBuiltWindows();
    G.datapath = dir;
    buildFileDirs();
    const float thousands = float(lines / 1000);
    for (int k : {4, 5, 6, 7})
        G.setupdata[size_t(k)] = thousands;
    G.goRxtype = 4; // an NRD-545 image: 1000 cells
    DialogScript::enabled = true;
    QWidget bare;
    bare.resize(640, 480);
    bare.show();
    app.processEvents();
    int failed = 0;
    if (what == QLatin1String("all")) {
        struct Load {
            WindowId window;
            FileKind kind;
            const char *file;
        } loads[] = {{WindowId::frmBdxc, FileKind::Bdxc, "BDX_BENCH.TXT"},  {WindowId::frmOwn, FileKind::Own, "OWN_BENCH.TXT"},
                     {WindowId::frmIlg2rx, FileKind::StationList, "ILGSDATA.ftl"}, {WindowId::frmTracking, FileKind::Tracking, "ILGSDATA.ftl"},
                     {WindowId::frmLog, FileKind::Log, "LOG_BENCH.TXT"},   {WindowId::frmMemman, FileKind::Memories, "MEM_BENCH.TXT"}};
        for (const Load &l : loads) {
            if (TavForm *w = Windows::get(l.window))
                w->showModeless();
            app.processEvents();
            G.filedirs[l.kind] = dir;
            G.filenames[l.kind] = QLatin1String(l.file);
            DialogScript::inputs << QStringLiteral("1200");
            if (!runReader(l.kind, StationDb::Ilg))
                ++failed;
            app.processEvents();
        }
        // Every line of the station file and the logbook is held.
        if (logStore().records.size() != lines || ftlStore().ftlrecs.size() != lines)
            ++failed;
    }
    const long rss = residentKb();
    malloc_trim(0);
    const long trimmed = residentKb();
    std::printf("%ld %ld %d\n", rss, trimmed, failed);
    std::fflush(stdout);
    std::_Exit(0);
}

struct Files {
    QTemporaryDir dir;
    explicit Files(int lines) { writeFiles(dir.path() + "/", lines); }
};

Files &files(int lines)
{
    static std::map<int, std::unique_ptr<Files>> f;
    auto &p = f[lines];
    if (!p)
        p = std::make_unique<Files>(lines);
    return *p;
}

void measure(benchmark::State &state, const QString &what, int lines)
{
    Files &f = files(lines);
    long rss = 0, trimmed = 0;
    int failed = 0;
    for (auto _ : state) {
        QProcess p;
        p.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), what, f.dir.path() + "/", QString::number(lines)});
        p.waitForFinished(120000);
        const QList<QByteArray> v = p.readAllStandardOutput().trimmed().split(' ');
        if (v.size() != 3) {
            state.SkipWithError("the measuring process did not report");
            return;
        }
        rss = v[0].toLong();
        trimmed = v[1].toLong();
        failed = v[2].toInt();
    }
    if (failed > 0)
        state.SkipWithError("a file could not be loaded");
    state.counters["rss_MB"] = double(rss) / 1024;
    state.counters["trimmed_MB"] = double(trimmed) / 1024;
}

void BM_ResidentBareWindow(benchmark::State &state) { measure(state, QStringLiteral("bare"), kLargest); }
void BM_ResidentEverythingLoaded(benchmark::State &state) { measure(state, QStringLiteral("all"), kLargest); }
void BM_ResidentEverythingLoadedOverSize(benchmark::State &state)
{
    measure(state, QStringLiteral("all"), kOverSize);
}

} // namespace

BENCHMARK(BM_ResidentBareWindow)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResidentEverythingLoaded)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResidentEverythingLoadedOverSize)->Iterations(1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (argc == 5 && std::strcmp(argv[1], "--child") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return child(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), std::atoi(argv[4]));
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
