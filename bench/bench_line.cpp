// The line at the receiver's pace, against each emulator paced at its model's
// speed: how long each driver operation takes against the time its bytes
// need on the wire (goal: at most 1.02), how many tuning commands a second
// continuous stepping sends against what the line carries (goal: at least
// 0.95 of it), and a JRC panel's load against its wire time plus the remote
// bracket's fixed pauses.
//
// Counters: "ratio" = host time / wire time (per operation); for stepping
// "of_line" = commands per second / the line's limit.
#include "hub/app.h"
#include "core/comm.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "core/ui.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"
#include "drivers/receiver.h"
#include "sim/ar7030.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "sim/rx320.h"
#include "support/benchrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

using namespace tav;

namespace {

// An emulator served at its own speed and a paced port to it.
struct PacedLine {
    QTemporaryDir dir;
    std::unique_ptr<sim::Emulator> emu;
    std::unique_ptr<sim::PtyHarness> pty;
    CommControl port;
    qint64 replied = 0; // bytes the receiver sent

    PacedLine(const QString &model, const QString &settings)
    {
        emu = sim::createEmulator(model);
        pty = std::make_unique<sim::PtyHarness>(*emu);
        pty->setPacedAtModelSpeed();
        auto send = emu->send;
        emu->send = [this, send](const QByteArray &b) {
            replied += b.size();
            send(b);
        };
        G.datapath = dir.path() + QLatin1Char('/');
        QFile f(dir.filePath(QStringLiteral("comports.ini")));
        f.open(QIODevice::WriteOnly);
        f.write(pty->slavePath().toLatin1() + "\r\n");
        f.close();
        port.Settings = settings;
        port.setPaced(true);
        port.open();
    }
    // Lets the line fall idle between operations.
    void idle()
    {
        tavbench::runEventsFor(30);
        port.clearInput();
    }
};

// Runs `op` per iteration; `wireBytes` is what crosses the line until the
// operation may end (its command and the reply characters it waits for).
void measure(benchmark::State &state, PacedLine &line, int wireBytes, const std::function<void()> &op)
{
    const double wireNs = double(line.port.wireTimeNs(wireBytes));
    double hostNs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        line.idle();
        state.ResumeTiming();
        QElapsedTimer t;
        t.start();
        op();
        hostNs += double(t.nsecsElapsed());
    }
    state.counters["ratio"] = hostNs / (double(state.iterations()) * wireNs);
    state.counters["wire_ms"] = wireNs / 1e6;
}

void BM_Ar7030Tune(benchmark::State &state)
{
    PacedLine line(QStringLiteral("ar7030"), QStringLiteral("1200,N,8,1"));
    clsAR7030 rx(line.port);
    double khz = 7000;
    measure(state, line, 11, [&] { rx.setFrequencyA(khz += 1); });
}

void BM_Ar7030ReadMode(benchmark::State &state)
{
    PacedLine line(QStringLiteral("ar7030"), QStringLiteral("1200,N,8,1"));
    clsAR7030 rx(line.port);
    // Page, address (3), the read (1), the answer (1).
    measure(state, line, 5, [&] { benchmark::DoNotOptimize(rx.Mode()); });
}

void BM_Rx320Tune(benchmark::State &state)
{
    InitRX320(); // the filter widths the tuning words depend on
    PacedLine line(QStringLiteral("rx320"), QStringLiteral("1200,N,8,1"));
    clsRX320 rx(line.port);
    double khz = 7000;
    measure(state, line, 8, [&] { rx.setFrequencyA(khz += 1); });
}

void BM_Rx320Smeter(benchmark::State &state)
{
    PacedLine line(QStringLiteral("rx320"), QStringLiteral("1200,N,8,1"));
    clsRX320 rx(line.port);
    measure(state, line, 2 + 4, [&] { benchmark::DoNotOptimize(rx.Smeter()); });
}

void BM_Nrd535TuneHeld(benchmark::State &state)
{
    PacedLine line(QStringLiteral("nrd535"), QStringLiteral("4800,N,8,1"));
    clsNRD535 rx(line.port);
    rx.setLockonoff(1); // held in remote: the command goes out alone
    double khz = 7000;
    measure(state, line, 10, [&] { rx.setFrequencyA(khz += 1); });
    rx.setLockonoff(0);
}

void BM_Nrd535Smeter(benchmark::State &state)
{
    PacedLine line(QStringLiteral("nrd535"), QStringLiteral("4800,N,8,1"));
    clsNRD535 rx(line.port);
    measure(state, line, 2 + 4, [&] { benchmark::DoNotOptimize(rx.Smeter()); });
}

void BM_Nrd535MemoryRead(benchmark::State &state)
{
    PacedLine line(QStringLiteral("nrd535"), QStringLiteral("4800,N,8,1"));
    static_cast<sim::JrcEmulator &>(*line.emu).memory[5] = sim::JrcChannel{true, 0, 1, 2, 7030000, 1};
    clsNRD535 rx(line.port);
    // "L005005" CR out; back "L005" and twelve digits, the read taking the
    // sixteen characters without waiting for the CR.
    measure(state, line, 8 + 16, [&] { benchmark::DoNotOptimize(rx.Memory(5)); });
}

void BM_Nrd545TuneHeld(benchmark::State &state)
{
    PacedLine line(QStringLiteral("nrd545"), QStringLiteral("4800,N,8,1"));
    clsNRD545 rx(line.port);
    rx.setLockonoff(1);
    double khz = 7000;
    measure(state, line, 12, [&] { rx.setFrequencyA(khz += 1); });
    rx.setLockonoff(0);
}

void BM_Nrd545Smeter(benchmark::State &state)
{
    PacedLine line(QStringLiteral("nrd545"), QStringLiteral("4800,N,8,1"));
    clsNRD545 rx(line.port);
    measure(state, line, 2 + 5, [&] { benchmark::DoNotOptimize(rx.Smeter()); });
}

// Back-to-back tuning, as continuous stepping and the scans send it.
void BM_TuningRate(benchmark::State &state, const char *model, int rxtype, int bytesPerTune)
{
    if (rxtype == 3)
        InitRX320();
    PacedLine line(QString::fromLatin1(model), QStringLiteral("%1,N,8,1").arg(rxModel(rxtype).baud));
    std::unique_ptr<Receiver> rx = makeReceiver(rxtype, line.port);
    if (!rx) {
        state.SkipWithError("no driver for the model");
        return;
    }
    if (rxtype == 2 || rxtype == 4)
        G.jrclock = 1; // stepping on a JRC panel holds the remote
    const double limit = double(line.port.baudRate()) / line.port.bitsPerByte() / bytesPerTune;
    qint64 tunes = 0;
    double seconds = 0;
    double khz = 7000;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        for (int i = 0; i < 20; ++i) {
            rx->tune(khz += 1);
            ++tunes;
        }
        seconds += t.nsecsElapsed() / 1e9;
    }
    G.jrclock = 0;
    state.counters["per_s"] = tunes / seconds;
    state.counters["line_limit"] = limit;
    state.counters["of_line"] = tunes / seconds / limit;
}

// A JRC panel's load: Go until the panel stands, against the bytes it moved
// and the pauses its remote brackets and exchanges keep by design.
void BM_JrcPanelLoad(benchmark::State &state, const char *model, int rxtype, WindowId panel)
{
    PacedLine line(QString::fromLatin1(model), QStringLiteral("4800,N,8,1"));
    line.port.close();
    registerBuiltWindows();
    frmWelcome::instance()->load();
    DialogScript::enabled = true;
    frmWelcome::instance()->Comm1.setPaced(true);
    G.datapath = line.dir.path() + QLatin1Char('/');
    G.rxtype = rxtype;
    G.setupdata[1] = 1;
    double hostNs = 0, wireNs = 0, fixedNs = 0;
    for (auto _ : state) {
        line.pty->clearReceived();
        line.replied = 0;
        QElapsedTimer t;
        t.start();
        frmWelcome::instance()->imgGo_Click();
        hostNs += double(t.nsecsElapsed());
        state.PauseTiming();
        const QByteArray sent = line.pty->received();
        wireNs += double(frmWelcome::instance()->Comm1.wireTimeNs(sent.size() + line.replied));
        // Every "H1" and "H0" keeps 50 ms; the status exchange its own pauses.
        const qint64 brackets = sent.count("H1\r") + sent.count("H0\r");
        const qint64 statusPauses = rxtype == 2 ? sent.count("J1199\r") * 50 : sent.count("J1999\r") * 100;
        const qint64 barPauses = rxtype == 2 ? (sent.count("\rW") + sent.count("\rP")) * 50 : 0;
        fixedNs += double(brackets * 50 + statusPauses + barPauses) * 1e6;
        if (TavForm *p = Windows::existing(panel))
            p->unload();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    const double n = double(state.iterations());
    state.counters["ratio"] = hostNs / (wireNs + fixedNs);
    state.counters["wire_ms"] = wireNs / n / 1e6;
    state.counters["pauses_ms"] = fixedNs / n / 1e6;
    frmWelcome::destroy();
    Windows::destroyAll();
}

} // namespace

BENCHMARK(BM_Ar7030Tune)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Ar7030ReadMode)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Rx320Tune)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Rx320Smeter)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_Nrd535TuneHeld)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_Nrd535Smeter)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_Nrd535MemoryRead)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_Nrd545TuneHeld)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_Nrd545Smeter)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK_CAPTURE(BM_TuningRate, ar7030, "ar7030", 1, 11)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_TuningRate, rx320, "rx320", 3, 8)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_TuningRate, nrd535, "nrd535", 2, 10)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_TuningRate, nrd545, "nrd545", 4, 12)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK_CAPTURE(BM_JrcPanelLoad, nrd535, "nrd535", 2, WindowId::frmNRD535)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_JrcPanelLoad, nrd545, "nrd545", 4, WindowId::frmNRD545)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv) { return tavbench::runWithWindows(argc, argv); }
