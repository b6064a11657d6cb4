// The band sweep's pace against each emulated receiver on a line at the
// model's speed: steps per second against what the delay and the line
// allow, counting every byte that crossed the line during the sweep (the
// hub's traffic included).
#include "hub/app.h"
#include "core/form.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/ui.h"
#include "scans/frmScanband.h"
#include "sim/emulator.h"
#include "sim/pty.h"
#include "support/benchrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>

using namespace tav;

namespace {

constexpr int kWarmSteps = 3;
constexpr int kMeasuredSteps = 20;

struct Model {
    const char *emulator;
    int rxtype;
};
const Model kModels[] = {{"ar7030", 1}, {"nrd535", 2}, {"rx320", 3}, {"nrd545", 4}};

void BM_BandSweep(benchmark::State &state)
{
    const Model &m = kModels[state.range(0)];
    const double delay = double(state.range(1)) / 1000;
    DialogScript::enabled = true;
    QTemporaryDir dir;
    std::unique_ptr<sim::Emulator> emu = sim::createEmulator(QLatin1String(m.emulator));
    sim::PtyHarness pty(*emu);
    // The receiver takes and answers each byte at its line speed; the
    // program's port is paced as it always is.
    pty.setPacedAtModelSpeed();
    qint64 replied = 0;
    auto send = emu->send;
    emu->send = [&replied, send](const QByteArray &b) {
        replied += b.size();
        send(b);
    };
    registerBuiltWindows();
    frmWelcome::instance()->load();
    G.datapath = dir.path() + QLatin1Char('/');
    QFile ports(G.datapath + QStringLiteral("comports.ini"));
    ports.open(QIODevice::WriteOnly);
    ports.write(pty.slavePath().toLatin1() + "\r\n");
    ports.close();
    G.rxtype = int16_t(m.rxtype);
    G.setupdata[1] = 1;
    frmWelcome::instance()->imgGo_Click();

    auto *w = Windows::get<frmScanband>();
    w->load();
    w->txtInput[0]->setText(QStringLiteral("7000"));
    w->txtInput[1]->setText(QStringLiteral("7500"));
    w->txtInput[2]->setText(QStringLiteral("1"));
    w->txtInput[3]->setText(QString::number(delay));

    double stepsPerSecond = 0, bytesPerStep = 0;
    for (auto _ : state) {
        w->cmdStart_Click();
        tavbench::waitUntil([&] { return w->sweep().sbstepnr >= kWarmSteps; }, 60000);
        QElapsedTimer t;
        t.start();
        const qint64 bytes0 = pty.received().size() + replied;
        tavbench::waitUntil([&] { return w->sweep().sbstepnr >= kWarmSteps + kMeasuredSteps; }, 120000);
        const double secs = double(t.nsecsElapsed()) / 1e9;
        const qint64 bytes = pty.received().size() + replied - bytes0;
        w->cmdStop_Click();
        stepsPerSecond = kMeasuredSteps / secs;
        bytesPerStep = double(bytes) / kMeasuredSteps;
        state.SetIterationTime(secs);
    }
    CommControl &port = frmWelcome::instance()->Comm1;
    const double lineSteps = double(port.baudRate()) / port.bitsPerByte() / std::max(1.0, bytesPerStep);
    const double target = std::min(1 / delay, lineSteps);
    state.counters["steps_per_s"] = stepsPerSecond;
    state.counters["bytes_per_step"] = bytesPerStep;
    state.counters["target_steps_per_s"] = target;
    state.counters["ratio"] = stepsPerSecond / target; // at least 0.95
    state.SetLabel(m.emulator);

    w->unload();
    if (TavForm *p = Windows::existing(panelWindow(m.rxtype)))
        p->unload();
    frmWelcome::destroy();
    Windows::destroyAll();
    resetProgramState();
}
// Models 0..3 (AR7030, NRD-535, RX-320, NRD-545); delays in ms: one that the
// line limits and one that limits the line.
BENCHMARK(BM_BandSweep)
    ->ArgsProduct({{0, 1, 2, 3}, {50, 200}})
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) { return tavbench::runWithWindows(argc, argv); }
