// The line at the receiver's pace and a receiver that misbehaves: paced writes
// take their wire time, stepping never outruns the line, and every fault the
// emulators can play (silence, garbage, another channel's reply, a hang-up)
// ends a read at once or within its bound, with one message.
#include "hub/app.h"
#include "core/comm.h"
#include "core/delay.h"
#include "core/exchange.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "drivers/clsAR7030.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "drivers/clsRX320.h"
#include "panels/frmAR7030.h"
#include "sim/ar7030.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "sim/rx320.h"
#include "support/filedialogs.h"
#include "support/hubline.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <gtest/gtest.h>
#include <cmath>
#include <sys/resource.h>

using namespace tav;

namespace {

// The reply waits that ran out on their bound so far: a read that met
// silence is one, however long the machine took over it.
qint64 runOut() { return waitCounts().runOut; }

// Process CPU time in milliseconds.
double cpuMs()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

template <class Emu>
struct Line {
    tavtest::ScratchDir dir;
    Emu emu;
    sim::PtyHarness pty{emu};
    CommControl port;
    QStringList lost;
    explicit Line(const QString &settings)
    {
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        port.CommPort = 1;
        port.Settings = settings;
        EXPECT_TRUE(port.open()) << port.lastError().toStdString();
        QObject::connect(&port, &CommControl::lineLost, [this](const QString &m) { lost << m; });
    }
};

QString record(int ch, qint64 hz, bool nrd545)
{
    // Channel, frequency, mode, bandwidth, attenuator, AGC in the memory record layout.
    return QStringLiteral("MEM%1 %2 %3 0%4 %5 %6 @@@ @@@ @ ")
        .arg(ch, 3, 10, QLatin1Char('0'))
        .arg(hz, 8, 10, QLatin1Char('0'))
        .arg(2)
        .arg(1)
        .arg(0)
        .arg(nrd545 ? 3 : 1);
}

} // namespace

TEST(LinePace, PacedWritesTakeTheirWireTimeAndRepliesComeAtLineSpeed)
{
    Line<sim::Nrd545Emulator> line(QStringLiteral("1200,N,8,1"));
    line.port.setPaced(true);
    EXPECT_EQ(line.port.bitsPerByte(), 10);
    QElapsedTimer t;
    t.start();
    line.port.Output(QByteArray(24, 'A')); // 24 bytes at 1200 baud: 200 ms on the wire
    EXPECT_GE(t.elapsed(), 190);
    EXPECT_EQ(line.port.wireTimeNs(24), 200000000) << "no more than the wire time is modelled";
    EXPECT_LT(t.elapsed(), 5000);
    // Two writes in a row queue behind each other on the line.
    t.restart();
    line.port.Output(QByteArray(12, 'B'));
    line.port.Output(QByteArray(12, 'B'));
    EXPECT_GE(t.elapsed(), 190);

    // A paced receiver answers a status read no sooner than the bytes can cross.
    Line<sim::Nrd535Emulator> jrc(QStringLiteral("4800,N,8,1"));
    jrc.pty.setPacedAtModelSpeed();
    jrc.port.setPaced(true);
    clsNRD535 rx(jrc.port);
    const qint64 runOut0 = runOut();
    t.restart();
    rx.Smeter(); // "M" CR out, then the four characters the read waits for: 12.5 ms
    EXPECT_TRUE(rx.lastReadOk());
    EXPECT_GE(t.elapsed(), 12);
    EXPECT_EQ(runOut(), runOut0) << "the reply ended the wait, not its bound";
}

TEST(LinePace, InputNobodyReadsIsBoundedToTheNewest)
{
    Line<sim::Nrd535Emulator> line(QStringLiteral("4800,N,8,1"));
    QByteArray flood;
    for (int i = 0; i < 100000; ++i)
        flood += char('a' + i % 26);
    line.pty.sendToProgram(flood);
    tavtest::pump(300);
    const int n = line.port.InBufferCount();
    EXPECT_LE(n, CommControl::kIdleInputLimit);
    EXPECT_GT(n, 0);
    EXPECT_TRUE(flood.endsWith(line.port.Input())) << "the newest bytes are kept";
}

// Each fault a JRC receiver can play fails the read it meets, within the
// bound, and writes nothing back: the panel shows "?".
TEST(LineFaults, JrcReadsFailOnEveryFaultWithoutHanging)
{
    for (bool nrd545 : {false, true}) {
        SCOPED_TRACE(nrd545 ? "NRD-545" : "NRD-535");
        Line<sim::Nrd535Emulator> l535(QStringLiteral("4800,N,8,1"));
        Line<sim::Nrd545Emulator> l545(QStringLiteral("4800,N,8,1"));
        if (nrd545)
            l535.port.close();
        else
            l545.port.close();
        CommControl &port = nrd545 ? l545.port : l535.port;
        sim::PtyHarness &pty = nrd545 ? l545.pty : l535.pty;
        std::unique_ptr<JrcDriver> drv = nrd545 ? std::unique_ptr<JrcDriver>(new clsNRD545(port))
                                                : std::unique_ptr<JrcDriver>(new clsNRD535(port));
        auto memory = [&](int ch) {
            return nrd545 ? static_cast<clsNRD545 *>(drv.get())->Memory(int16_t(ch))
                          : static_cast<clsNRD535 *>(drv.get())->Memory(int16_t(ch));
        };
        auto status = [&] {
            return nrd545 ? static_cast<clsNRD545 *>(drv.get())->RxStatus()
                          : static_cast<clsNRD535 *>(drv.get())->RxStatus();
        };
        auto smeter = [&] {
            return nrd545 ? static_cast<clsNRD545 *>(drv.get())->Smeter()
                          : static_cast<clsNRD535 *>(drv.get())->Smeter();
        };
        auto write = [&](int ch, qint64 hz) {
            if (nrd545)
                static_cast<clsNRD545 *>(drv.get())->setMemory(int16_t(ch), record(ch, hz, true));
            else
                static_cast<clsNRD535 *>(drv.get())->setMemory(int16_t(ch), record(ch, hz, false));
        };
        write(4, 7100000);
        write(5, 9650000);
        ASSERT_TRUE(tavtest::waitFor([&] {
            return nrd545 ? l545.emu.memory[5].used : l535.emu.memory[5].used;
        }));
        EXPECT_TRUE(memory(5).contains(QStringLiteral("09650000")));
        EXPECT_TRUE(drv->lastReadOk());

        struct Case {
            sim::Fault fault;
            const char *name;
        };
        for (const Case &c : {Case{sim::Fault::WrongChannel, "wrong channel"}, Case{sim::Fault::Garbage, "garbage"},
                              Case{sim::Fault::Silent, "silent"}}) {
            SCOPED_TRACE(c.name);
            pty.setFault(c.fault);
            const qint64 runOut0 = runOut();
            QElapsedTimer t;
            t.start();
            EXPECT_TRUE(memory(5).isEmpty()) << "another channel's or a malformed reply is no record";
            EXPECT_FALSE(drv->lastReadOk());
            if (c.fault != sim::Fault::WrongChannel) {
                EXPECT_TRUE(status().isEmpty());
                EXPECT_FALSE(drv->lastReadOk());
                EXPECT_TRUE(G.rxstatustext.isEmpty());
                EXPECT_EQ(smeter(), 0.0f);
                EXPECT_FALSE(drv->lastReadOk());
            }
            EXPECT_LE(runOut() - runOut0, c.fault != sim::Fault::WrongChannel ? 3 : 1) << "one bound per read at most";
            EXPECT_LT(t.elapsed(), 60000);
            pty.setFault(sim::Fault::None);
            tavtest::pump(50);
            port.clearInput();
        }
        EXPECT_TRUE(memory(5).contains(QStringLiteral("09650000")));
        EXPECT_TRUE(drv->lastReadOk()) << "a receiver back to normal reads again";
    }
}

// A line that hangs up in the middle of a command ends the exchange at once,
// says so once, does not spin, and every later operation fails at once.
TEST(LineFaults, HangUpMidCommandEndsTheExchangeAtOnceWithOneMessage)
{
    Line<sim::Nrd545Emulator> line(QStringLiteral("4800,N,8,1"));
    clsNRD545 rx(line.port);
    G.jrclock = 0;
    // The bracket's waits are 200 ms; the line goes 20 ms into it.
    QTimer::singleShot(20, [&] { line.pty.dropLine(); });
    const qint64 runOut0 = runOut();
    QElapsedTimer t;
    t.start();
    rx.setAttenuator(1);
    rx.RxStatus();
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_EQ(runOut(), runOut0) << "no wait on a dead line runs to its bound";
    EXPECT_LT(t.elapsed(), 10000);
    ASSERT_TRUE(tavtest::waitFor([&] { return !line.lost.isEmpty(); }));
    EXPECT_TRUE(line.port.lost());
    EXPECT_FALSE(line.port.isOpen());
    EXPECT_TRUE(line.lost.first().contains(line.port.deviceName())) << line.lost.first().toStdString();

    // Nothing runs while nobody asks: no retry loop.
    const double cpu0 = cpuMs();
    tavtest::idle(500);
    EXPECT_LT(cpuMs() - cpu0, 250);

    const WaitCounts waits0 = waitCounts();
    const long long delays0 = delaysBegun();
    for (int i = 0; i < 20; ++i) {
        rx.setFrequencyA(7000 + i);
        EXPECT_TRUE(rx.Memory(int16_t(i)).isEmpty());
    }
    EXPECT_EQ(waitCounts().slept, waits0.slept) << "no waits on a dead line";
    EXPECT_EQ(delaysBegun(), delays0) << "no bracket pauses on a dead line either";
    EXPECT_EQ(line.lost.size(), 1) << "told once";

    // Opened again, the port works once more.
    sim::Nrd545Emulator emu2;
    sim::PtyHarness pty2(emu2);
    line.dir.write(QStringLiteral("comports.ini"), pty2.slavePath().toLatin1() + "\r\n");
    ASSERT_TRUE(line.port.open());
    EXPECT_FALSE(line.port.lost());
    rx.Smeter();
    EXPECT_TRUE(rx.lastReadOk());
}

TEST(LineFaults, Ar7030AndRx320MeetSilenceAndGarbageWithinTheBound)
{
    {
        Line<sim::AR7030Emulator> line(QStringLiteral("1200,N,8,1"));
        clsAR7030 rx(line.port);
        line.pty.setFault(sim::Fault::Silent);
        qint64 runOut0 = runOut();
        QElapsedTimer t;
        t.start();
        bool answered = true;
        rx.readbyte(&answered);
        EXPECT_FALSE(answered);
        EXPECT_EQ(runOut() - runOut0, 1);
        EXPECT_LT(t.elapsed(), 10000);
        line.pty.dropLine();
        runOut0 = runOut();
        t.restart();
        rx.setFrequencyA(7000);
        rx.readbyte(&answered);
        EXPECT_FALSE(answered);
        EXPECT_EQ(runOut(), runOut0) << "a dead line ends the read before its bound";
        EXPECT_LT(t.elapsed(), 5000);
        EXPECT_TRUE(tavtest::waitFor([&] { return line.lost.size() == 1; }));
    }
    {
        Line<sim::Rx320Emulator> line(QStringLiteral("1200,N,8,1"));
        clsRX320 rx(line.port);
        line.emu.setSmeterReading(1000);
        bool answered = false;
        EXPECT_NEAR(rx.Smeter(&answered), 9.67, 0.01);
        EXPECT_TRUE(answered);
        line.pty.setFault(sim::Fault::Garbage);
        EXPECT_EQ(rx.Smeter(&answered), 0.0f);
        EXPECT_FALSE(answered) << "\"????\" is no S-meter reply";
        line.pty.setFault(sim::Fault::Silent);
        const qint64 runOut0 = runOut();
        QElapsedTimer t;
        t.start();
        rx.Smeter(&answered);
        EXPECT_FALSE(answered);
        EXPECT_EQ(runOut() - runOut0, 1);
        EXPECT_LT(t.elapsed(), 10000);
    }
}

// ---- the panels ----

namespace {

struct PanelOnLine : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    sim::AR7030Emulator emu;
    sim::PtyHarness pty{emu};

    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        tavtest::openHub(dir, pty, 1);
        G.setupdata[1] = 1;
        G.setupdata[8] = 0;
        G.setupdata[14] = 1, G.setupdata[15] = 2, G.setupdata[16] = 3, G.setupdata[17] = 4;
        DialogScript::shown.clear();
        emu.dial(7100000);
    }
    void TearDown() override
    {
        tavtest::closeHub(tav::WindowId::frmAR7030);
    }
    frmAR7030 *go()
    {
        frmWelcome::instance()->imgGo_Click();
        return Windows::existing<frmAR7030>();
    }
    QStringList messages(const QString &part) const
    {
        QStringList out;
        for (const ShownBox &b : DialogScript::shown)
            if (b.text.contains(part))
                out << b.text;
        return out;
    }
    void update(frmAR7030 *p)
    {
        QAction *a = p->findChild<QAction *>(QStringLiteral("mnuUpdate"));
        ASSERT_TRUE(a);
        a->trigger();
    }
};

} // namespace

TEST_F(PanelOnLine, SilentReceiverEndsEachLoadAndUpdateAfterItsFirstUnansweredReadAndSaysSoOnce)
{
    pty.setOff(true);
    qint64 runOut0 = runOut();
    QElapsedTimer t;
    t.start();
    frmAR7030 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    EXPECT_EQ(runOut() - runOut0, 1) << "one read's bound, not one per read";
    EXPECT_LT(t.elapsed(), 30000);
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("does not answer")).isEmpty(); }));
    const QStringList told = messages(QStringLiteral("does not answer"));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains(QStringLiteral("COM 1"))) << told.first().toStdString();
    EXPECT_TRUE(told.first().contains(pty.slavePath())) << told.first().toStdString();
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("?"));

    runOut0 = runOut();
    t.restart();
    update(p);
    EXPECT_EQ(runOut() - runOut0, 1);
    EXPECT_LT(t.elapsed(), 20000);
    tavtest::pump(50);
    EXPECT_EQ(messages(QStringLiteral("does not answer")).size(), 1) << "said once while it stays silent";

    // Back on the air, then silent again: said again.
    pty.setOff(false);
    update(p);
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("7100.00"));
    pty.setOff(true);
    update(p);
    EXPECT_TRUE(tavtest::waitFor([&] { return messages(QStringLiteral("does not answer")).size() == 2; }));
}

TEST_F(PanelOnLine, LostLineIsToldOnceAndThePanelClosesAtOnce)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    DialogScript::shown.clear();
    pty.dropLine();
    qint64 runOut0 = runOut();
    QElapsedTimer t;
    t.start();
    update(p);
    update(p);
    EXPECT_EQ(runOut(), runOut0) << "no read on a lost line waits its bound";
    EXPECT_LT(t.elapsed(), 10000);
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("was lost")).isEmpty(); }));
    tavtest::pump(100);
    EXPECT_EQ(DialogScript::shown.size(), 1) << "one message, and no silence message besides";
    const double cpu0 = cpuMs();
    tavtest::idle(300);
    EXPECT_LT(cpuMs() - cpu0, 150) << "a lost line does not spin";
    runOut0 = runOut();
    const long long delays0 = delaysBegun();
    t.restart();
    p->cmdClose->click();
    EXPECT_FALSE(p->isLoadedForm());
    EXPECT_EQ(runOut(), runOut0);
    EXPECT_EQ(delaysBegun(), delays0) << "closing on a lost line pauses for nothing";
    EXPECT_LT(t.elapsed(), 10000);
}

TEST_F(PanelOnLine, SteppingNeverOutrunsThePacedLineAndStopsWithinOneStep)
{
    pty.setPacedAtModelSpeed();
    frmAR7030 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    frmWelcome::instance()->Comm1.setPaced(true);
    p->cmbFreqstep->setEditText(QStringLiteral("1"));
    tavtest::pump(300);
    pty.clearReceived();

    QElapsedTimer t;
    t.start();
    p->cmdMovefreq_Click();
    // The Stop button, pressed while the line is busy.
    QTimer::singleShot(1500, p, [p] { p->cmdMovefreq_Click(); });
    ASSERT_TRUE(tavtest::waitFor([&] { return p->movefreqon == 0; }, 5000));
    const double seconds = t.elapsed() / 1000.0;
    // A tuning is 11 bytes: 91.7 ms at 1200 baud.
    const int tunings = int(pty.received().count(char(0x21)));
    const double lineLimit = 1200.0 / 10 / 11;
    EXPECT_GE(tunings, 3);
    EXPECT_LE(tunings, int(std::ceil(seconds * lineLimit)) + 1) << tunings << " in " << seconds << " s";

    // Whatever was under way when Stop came has reached the receiver, and
    // nothing more follows.
    tavtest::pump(400);
    const double panel = numericValue(p->txtFrequencyA->text());
    EXPECT_NEAR(emu.tunedFrequencyHz() / 1000, panel, 1.0 + 0.01);
    const QByteArray before = pty.received();
    tavtest::pump(300);
    EXPECT_EQ(pty.received(), before) << "the receiver stops tuning at once";
}

#ifdef RXSIM_PATH
TEST(Rxsim, HelpListsEveryModelsCommandsAndTheFaults)
{
    QProcess p;
    p.start(QStringLiteral(RXSIM_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(p.waitForFinished(10000));
    const QString help = QString::fromLocal8Bit(p.readAllStandardOutput());
    for (const char *part : {"--fast", "silent", "garbage", "wrongchannel", "hangup", "ar7030:", "clock SECONDS",
                             "nrd535:", "nrd545:", "rtty TEXT", "rttyburst TEXT", "rx320:", "cwpitch HZ", "firmware TEXT"})
        EXPECT_TRUE(help.contains(QLatin1String(part))) << part << "\n" << help.toStdString();
    EXPECT_EQ(p.exitCode(), 0);
}
#endif

TEST(Rxsim, FaultCommandsOnStandardInputReachTheReceiver)
{
    sim::Nrd545Emulator emu;
    sim::PtyHarness pty(emu);
    const QList<QPair<QString, sim::Fault>> cases{{"silent", sim::Fault::Silent},
                                                  {"garbage", sim::Fault::Garbage},
                                                  {"wrongchannel", sim::Fault::WrongChannel},
                                                  {"normal", sim::Fault::None}};
    for (const auto &c : cases) {
        EXPECT_TRUE(pty.control(c.first)) << c.first.toStdString();
        EXPECT_EQ(emu.fault, c.second) << c.first.toStdString();
    }
    EXPECT_FALSE(pty.control(QStringLiteral("dial 7000000"))) << "the model's own commands are the model's";
    EXPECT_TRUE(pty.control(QStringLiteral("hangup")));
    EXPECT_TRUE(pty.lineDropped());
}

// The NRD-545 panel against a receiver that answers garbage or nothing: every
// field it cannot read shows "?", and nothing read is written back.
#include "support/nrd545rig.h"

using tavtest::Nrd545Rig;

TEST_F(Nrd545Rig, GarbageOrSilenceShowsUnknownValuesAndWritesNothingBack)
{
    tav::frmNRD545 *p = go();
    ASSERT_TRUE(p);
    p->findChild<QPushButton *>(QStringLiteral("cmdLock(1)"))->click();
    for (sim::Fault f : {sim::Fault::Garbage, sim::Fault::Silent}) {
        SCOPED_TRACE(f == sim::Fault::Garbage ? "garbage" : "silent");
        pty->setFault(f);
        clearSent();
        p->RxUpdatefull();
        EXPECT_EQ(p->lblMode->text(), QStringLiteral("?"));
        EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("?"));
        EXPECT_EQ(p->lblVolume->text(), QStringLiteral("?"));
        EXPECT_EQ(p->lblIfgain->text(), QStringLiteral("?"));
        EXPECT_EQ(p->vsbVolume->value(), 100);
        const QString out = sent();
        for (const char *write : {"JJ0", "HH0", "LL0", "KK0", "W0", "P+", "P-", "NN0"})
            EXPECT_FALSE(out.contains(QLatin1String(write))) << write << " in " << out.toStdString();
        pty->setFault(sim::Fault::None);
        p->RxUpdatefull();
        EXPECT_EQ(p->lblMode->text(), QStringLiteral("USB"));
    }
}

// ---- every receiver panel when its line fails ----

#include "core/settings.h"
#include "memories/frmMemman.h"
#include "panels/frmPanel.h"
#include "support/memrig.h"
#include "hub/hub.h"
#include "lists/frmLast20.h"
#include "lists/frmMarkfreqs.h"
#include "lists/frmScratchpad.h"
#include "timers/frmRxTimer.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include <QAction>
#include <QRegularExpression>
#include <QTest>

namespace {

struct PanelLine : ::testing::TestWithParam<int> {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    std::unique_ptr<sim::Emulator> emu;
    std::unique_ptr<sim::PtyHarness> pty;

    void SetUp() override
    {
        emu = sim::createEmulator(QLatin1String(tavtest::emulatorName(GetParam())));
        ASSERT_TRUE(emu);
        emu->control(QStringLiteral("dial 9650000"));
        pty = std::make_unique<sim::PtyHarness>(*emu);
        ASSERT_TRUE(pty->ok());
        tavtest::openHub(dir, *pty, GetParam(), true);
        for (int k = 1; k <= 31; ++k)
            G.setupdata[size_t(k)] = setupDefault(k);
        G.setupdata[1] = 1;
        G.setupdata[8] = 0;
    }
    void TearDown() override { tavtest::closeHub(*panelWindow(GetParam()), true); }
    frmPanel *go()
    {
        frmWelcome::instance()->imgGo_Click();
        auto *p = Windows::existing<frmPanel>(*panelWindow(GetParam()));
        tavtest::pump(50);
        DialogScript::shown.clear();
        return p && p->isLoadedForm() ? p : nullptr;
    }
    static QStringList messages(const QString &part)
    {
        QStringList out;
        for (const ShownBox &b : DialogScript::shown)
            if (b.text.contains(part))
                out << b.text;
        return out;
    }
    // The one message of a loss, and what tools say afterwards.
    QString lostText() const
    {
        return QStringLiteral("The line to the receiver on COM 1 (%1) was lost.\n"
                              "To connect again, close the panel and press Go.")
            .arg(pty->slavePath());
    }
    QString closedText() const
    {
        return QStringLiteral("The line to the receiver on COM 1 (%1) is closed since it was lost.\n"
                              "To connect again, close the panel and press Go.")
            .arg(pty->slavePath());
    }
};

struct JrcPanelLine : PanelLine {};
struct MemoryPanelLine : PanelLine {};

std::string modelName(const ::testing::TestParamInfo<int> &info) { return tavtest::emulatorName(info.param); }

} // namespace

// Continuous stepping on a line that hangs up ends with the one message
// about the loss, which says how to connect again; the box stays where the
// last step left it and nothing spins.
TEST_P(PanelLine, HangUpEndsContinuousSteppingWithOneMessage)
{
    frmPanel *p = go();
    ASSERT_TRUE(p);
    p->cmbFreqstep->setEditText(QStringLiteral("1"));
    const QString start = p->txtFrequencyA->text();
    p->cmdMovefreq->click();
    ASSERT_TRUE(tavtest::waitFor([&] { return p->txtFrequencyA->text() != start; }));
    pty->dropLine();
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("was lost")).isEmpty(); }));
    EXPECT_TRUE(tavtest::waitFor([&] { return p->cmdMovefreq->text() == QLatin1String("GO"); }, 1000));
    EXPECT_EQ(p->movefreqon, 0);
    const QString stopped = p->txtFrequencyA->text();
    const double cpu0 = cpuMs();
    tavtest::idle(300);
    EXPECT_EQ(p->txtFrequencyA->text(), stopped) << "no steps after the loss";
    EXPECT_LT(cpuMs() - cpu0, 150);
    ASSERT_EQ(DialogScript::shown.size(), 1);
    EXPECT_EQ(DialogScript::shown.first().text, lostText());
}

namespace {

// Everything a panel shows: texts, values, colours and which controls are on.
QStringList shownOn(QWidget *w)
{
    QStringList out;
    for (QWidget *c : w->findChildren<QWidget *>()) {
        QString v;
        if (auto *l = qobject_cast<QLabel *>(c))
            v = l->text();
        else if (auto *e = qobject_cast<QLineEdit *>(c))
            v = e->text();
        else if (auto *b = qobject_cast<QAbstractButton *>(c))
            v = b->text() + (b->isChecked() ? QStringLiteral(" checked") : QString());
        else if (auto *s = qobject_cast<QAbstractSlider *>(c))
            v = QString::number(s->value());
        else
            continue;
        out << c->objectName() + QLatin1Char('=') + v + QLatin1Char(' ') + c->palette().color(QPalette::Button).name() +
                   c->palette().color(QPalette::WindowText).name() +
                   (c->isEnabled() ? QString() : QStringLiteral(" off"));
    }
    return out;
}

void clickRow(QTableView *v, int row, int column)
{
    const QRect r = v->visualRect(v->model()->index(row, column));
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

// After the line is lost nothing that would send changes what is shown, as
// if the receiver had taken it: the panel's controls, its keys and wheel, a
// marked frequency's row, a last-20 row. The first says once that the line
// is closed; nothing reaches the line.
TEST_P(PanelLine, AfterALossNoControlChangesWhatIsShownAndTheClosedLineIsToldOnce)
{
    Windows::registerFactory(WindowId::frmLast20, [] { return new lists::frmLast20; });
    frmPanel *p = go();
    ASSERT_TRUE(p);
    auto *l20 = Windows::existing<lists::frmLast20>();
    ASSERT_TRUE(l20 && l20->isLoadedForm());
    auto *marks = Windows::get<lists::frmMarkfreqs>(WindowId::frmMarkfreqs);
    auto *pad = Windows::get<lists::frmScratchpad>(WindowId::frmScratchpad);
    marks->showModeless();
    pad->showModeless();
    for (double f : {6070.0, 7200.0}) {
        hub().Change2FreqA(f);
        marks->cmdMark->click();
    }
    ASSERT_TRUE(l20->shown(1).startsWith(QLatin1String("6070")));
    l20->showModeless();
    pty->dropLine();
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("was lost")).isEmpty(); }));
    tavtest::pump(50);
    DialogScript::shown.clear();
    const QByteArray sent = pty->received();

    using Use = std::function<void()>;
    auto press = [p](const QString &name) -> Use {
        return [p, name] {
            auto *b = p->findChild<QAbstractButton *>(name);
            ASSERT_TRUE(b) << name.toStdString();
            QTest::mouseClick(b, Qt::LeftButton);
        };
    };
    auto key = [p](Qt::Key k, Qt::KeyboardModifiers m = {}) -> Use {
        // To the panel: a key its map does not take types nothing there.
        return [p, k, m] { QTest::keyClick(p, k, m); };
    };
    QList<QPair<QString, Use>> controls{
        {"<", press("cmdfreqstep(0)")},
        {">", press("cmdfreqstep(1)")},
        {"spin up", [p] { QTest::mouseClick(p->spnFreqstep->upButton(), Qt::LeftButton); }},
        {"spin down", [p] { QTest::mouseClick(p->spnFreqstep->downButton(), Qt::LeftButton); }},
        {"keypad Enter", [=] { for (const char *b : {"cmd0to9(9)", "cmd0to9(5)", "cmd0to9(6)", "cmd0to9(0)", "cmdEnterfreq"}) press(b)(); }},
        {"typed Enter", [p] {
             QTest::mouseDClick(p->txtFrequencyA, Qt::LeftButton);
             QTest::keyClicks(p->txtFrequencyA, QStringLiteral("9000"));
             QTest::keyClick(p->txtFrequencyA, Qt::Key_Return);
         }},
        {"i 5", [p] { QTest::mouseClick(p->lblInt5, Qt::LeftButton); }},
        {"Up", key(Qt::Key_Up)},
        {"Ctrl+Down", key(Qt::Key_Down, Qt::ControlModifier)},
        {"Shift+A", key(Qt::Key_A, Qt::ShiftModifier)},
        {"Shift+C", key(Qt::Key_C, Qt::ShiftModifier)},
        {"Shift+F1", key(Qt::Key_F1, Qt::ShiftModifier)},
        {"Shift+=", key(Qt::Key_Equal, Qt::ShiftModifier)},
        {"Alt+-", key(Qt::Key_Minus, Qt::AltModifier)},
        {"bars", [p] {
             for (QScrollBar *bar : p->modelArea()->findChildren<QScrollBar *>())
                 if (bar->isEnabled())
                     bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
         }},
        {"wheel", [p] {
             QMouseEvent move(QEvent::MouseMove, p->txtFrequencyA->rect().center(), p->txtFrequencyA->mapToGlobal(p->txtFrequencyA->rect().center()),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
             QApplication::sendEvent(p->txtFrequencyA, &move);
             ASSERT_TRUE(p->wheelarmed);
             QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                               Qt::NoScrollPhase, false);
             QApplication::sendEvent(p, &wheel);
         }},
        {"Mute", [p] {
             if (auto *mute = p->findChild<QLabel *>(QStringLiteral("lblMute")))
                 QTest::mouseClick(mute, Qt::LeftButton);
         }},
        {"marked frequency row", [=] { clickRow(marks->grdMarkfreqs, 1, 1); }},
        {"last-20 row", [=] { clickRow(l20->grdLast20, 1, 1); }},
    };
    // Every setting button of the model's panel.
    for (QAbstractButton *b : p->modelArea()->findChildren<QAbstractButton *>())
        for (const char *kind : {"cmdMode(", "cmdEcss(", "cmdBandwidth(", "cmdBwrange(", "cmdBwgroup(", "cmdAgcspeed(",
                                 "cmdAttenuator(", "cmdNoiseblanker(", "cmdPowerOnOff", "cmdLock("})
            if (b->objectName().startsWith(QLatin1String(kind)) && b->isEnabled())
                controls.append({b->objectName(), press(b->objectName())});
    // The model's dialogs opened after the loss, and every choice in them.
    auto dialog = [](WindowId id) -> Use {
        return [id] {
            TavForm *d = Windows::get(id);
            ASSERT_TRUE(d);
            d->showModeless();
            tavtest::pump(20);
            const QStringList opened = shownOn(d);
            for (QAbstractButton *b : d->findChildren<QAbstractButton *>())
                if (b->isEnabled() && !qobject_cast<SpinButton *>(b->parentWidget()) &&
                    b->objectName() != QLatin1String("cmdExit") && b->objectName() != QLatin1String("cmdOK"))
                    QTest::mouseClick(b, Qt::LeftButton);
            for (QScrollBar *bar : d->findChildren<QScrollBar *>())
                if (bar->isEnabled())
                    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            tavtest::pump(20);
            EXPECT_EQ(shownOn(d), opened);
            d->unload();
        };
    };
    if (GetParam() == 4) {
        controls.append({"DSP dialog", dialog(WindowId::frmAdvancedDSP)});
        controls.append({"user settings", dialog(WindowId::frmUserdefs545)});
    }
    if (GetParam() == 2)
        controls.append({"user settings", dialog(WindowId::frmUserdefs)});
    EXPECT_GE(controls.size(), 25);

    const auto shown = [&] {
        QStringList all = shownOn(p) << pad->txtFrequencyA->text();
        for (int r = 0; r < 20; ++r)
            all << l20->shown(r);
        return all;
    };
    const QStringList before = shown();
    for (const auto &[name, use] : controls) {
        SCOPED_TRACE(name.toStdString());
        use();
        tavtest::pump(20);
        EXPECT_EQ(shown(), before);
    }
    EXPECT_EQ(pty->received(), sent);
    ASSERT_EQ(DialogScript::shown.size(), 1) << "told once that the line is closed";
    EXPECT_EQ(DialogScript::shown.first().text, closedText());
}

INSTANTIATE_TEST_SUITE_P(EveryPanel, PanelLine, ::testing::Values(1, 2, 3, 4), modelName);

// A garbled reply is told as silence is, once while it lasts; from the "?"
// it leaves, no way of stepping tunes the receiver.
TEST_P(JrcPanelLine, GarbledReplyIsToldAsAWrongAnswerAndNoStepLeavesTheUnknownFrequency)
{
    frmPanel *p = go();
    ASSERT_TRUE(p);
    ASSERT_EQ(p->txtFrequencyA->text(), QStringLiteral("9650.000"));
    QAction *update = p->findChild<QAction *>(QStringLiteral("mnuUpdate"));
    ASSERT_TRUE(update);
    pty->setFault(sim::Fault::Garbage);
    update->trigger();
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("?"));
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("answered wrongly")).isEmpty(); }));
    EXPECT_EQ(messages(QStringLiteral("answered wrongly")).first(),
              QStringLiteral("The receiver on COM 1 (%1) answered wrongly.").arg(pty->slavePath()));
    update->trigger();
    tavtest::pump(50);
    EXPECT_EQ(DialogScript::shown.size(), 1) << "said once while the replies stay garbled";

    // The receiver takes tunings still; the panel does not know where it is.
    pty->clearReceived();
    p->cmdfreqstep[1]->click();
    p->cmdfreqstep[0]->click();
    p->spnFreqstep->upButton()->click();
    QTest::keyClick(p->txtFrequencyA, Qt::Key_Down);
    p->cmdMovefreq->click();
    EXPECT_TRUE(tavtest::waitFor([&] { return p->cmdMovefreq->text() == QLatin1String("GO"); }, 1000))
        << "continuous stepping from an unknown frequency ends at once";
    tavtest::pump(100);
    EXPECT_FALSE(QString::fromLatin1(pty->received()).contains(QLatin1Char('F'))) << "no tuning was sent";
    EXPECT_EQ(emu->tunedFrequencyHz(), 9650000.0);
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("?"));
    EXPECT_EQ(DialogScript::shown.size(), 1);

    // Answered again, the panel knows the frequency and steps from it.
    pty->setFault(sim::Fault::None);
    update->trigger();
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("9650.000"));
    p->cmdfreqstep[1]->click();
    EXPECT_TRUE(tavtest::waitFor([&] { return emu->tunedFrequencyHz() == 9655000.0; }));
}

INSTANTIATE_TEST_SUITE_P(Jrc, JrcPanelLine, ::testing::Values(2, 4), modelName);

// A fetch that loses the line midway gives the one message about the loss,
// its own, which says how far it came; a tool used afterwards says that the
// line is closed, not that the receiver did not answer.
TEST_P(MemoryPanelLine, AfterALostLineToolsSayTheLineIsClosed)
{
    frmPanel *p = go();
    ASSERT_TRUE(p);
    QAction *memman = p->findChild<QAction *>(QStringLiteral("mnuMemman"));
    ASSERT_TRUE(memman);
    memman->trigger();
    auto *mm = Windows::existing<frmMemman>();
    ASSERT_TRUE(mm && mm->isLoadedForm());
    int commands = 0;
    emu->log = [&](const QString &) {
        if (++commands == 30)
            pty->dropLine();
    };
    mm->txtTo->setText(QStringLiteral("80"));
    dialogs.answer(vbYes);
    mm->cmdFetch->click();
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("was lost")).isEmpty(); }));
    tavtest::pump(100);
    ASSERT_EQ(DialogScript::shown.size(), 2) << "the question and the loss";
    EXPECT_EQ(DialogScript::shown.last().title, QStringLiteral("Fetch Rx error"));
    EXPECT_TRUE(DialogScript::shown.last().text.startsWith(QStringLiteral("The line was lost\nwhen memory cell ")));
    EXPECT_TRUE(DialogScript::shown.last().text.endsWith(lostText().section(QLatin1Char('\n'), 1)));
    if (auto *lock = p->findChild<QLabel *>(QStringLiteral("lblLock"))) {
        EXPECT_EQ(lock->text(), QStringLiteral("Off")) << "the Fetch's hold is gone; the user never locked";
    }

    DialogScript::shown.clear();
    dialogs.answer(vbYes);
    mm->cmdFetch->click();
    tavtest::pump(100);
    ASSERT_EQ(DialogScript::shown.size(), 2);
    EXPECT_EQ(DialogScript::shown.last().title, QStringLiteral("Fetch Rx error"));
    EXPECT_EQ(DialogScript::shown.last().text, closedText());
}

INSTANTIATE_TEST_SUITE_P(WithMemories, MemoryPanelLine, ::testing::Values(1, 4), modelName);

// ---- every scan and a timer program when the line is lost ----

#include "core/clock.h"
#include "core/filekinds.h"
#include "core/textfile.h"
#include "lists/frmMarkfreqs.h"
#include "lists/frmScratchpad.h"
#include "memories/memimage.h"
#include "scans/frmScanband.h"
#include "scans/frmScanlist.h"
#include "scans/frmScanpairs.h"
#include "stations/ftlrecord.h"
#include "stations/stationlist.h"
#include "timers/frmRxTimer.h"

namespace {
struct ScanLine : PanelLine {
    void file(FileKind kind, const QString &name, const QStringList &lines, StationDb db = StationDb::None)
    {
        ensureDir(G.filedirs[kind]);
        ASSERT_TRUE(writeTextLines(G.filedirs[kind] + name, lines));
        G.filenames[kind] = name;
        ASSERT_TRUE(runReader(kind, db)) << name.toStdString();
    }
};
QString ilgLine(const char *freq)
{
    ftl::Fields f;
    f.freq = QLatin1String(freq), f.utc = "0000-2400", f.station = "Station";
    return ftl::held(ftl::build(f));
}
} // namespace

// Each scan, running, and a timer program waiting for its start end at the
// loss of the line: a tick that comes while the panel's message about the
// loss is up ends its scan instead of tuning, that message is the only one,
// and Start (or Continue) afterwards says once that the line is closed and
// starts nothing.
TEST_P(ScanLine, EveryScanAndATimerProgramEndAtALossAndStartNoMore)
{
    frmPanel *p = go();
    ASSERT_TRUE(p);
    buildFileDirs();
    const auto click = [](QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); };
    auto *list = Windows::get<frmScanlist>();
    list->load();
    list->txtFreqlist[0]->setText("6000");
    list->txtFreqlist[1]->setText("7000");
    auto *pairs = Windows::get<frmScanpairs>();
    pairs->load();
    file(FileKind::ScanPairs, "SFP_T.TXT", {"5000,6000, 1,a", "5100,6100, 1,b"});
    auto *band = Windows::get<frmScanband>();
    band->load();
    for (int i = 0; i < 4; ++i)
        band->txtInput[size_t(i)]->setText(QStringList{"7000", "7100", "1", "60"}[i]);
    auto *ilg = Windows::get<frmIlg2rx>();
    ilg->showModeless();
    file(FileKind::StationList, "ILGSDATA.ftl", {ilgLine("05990.00"), ilgLine("09420.00")}, StationDb::Ilg);
    auto *aero = Windows::get<frmAero2rx>();
    aero->showModeless();
    file(FileKind::StationList, "aero.ftl", {"08000.00 USB      A", "06000.00 USB      B"}, StationDb::Aero);
    auto *pad = Windows::get<lists::frmScratchpad>();
    pad->showModeless();
    file(FileKind::Scratchpad, "FSP_ROW.TXT", {"a,9560,6070,,,,,,,"});
    auto *marks = Windows::get<lists::frmMarkfreqs>();
    marks->showModeless();
    for (const char *f : {"9560.000", "6070.000"}) {
        p->txtFrequencyA->setText(QLatin1String(f));
        click(marks->cmdMark);
    }
    Clock::set(QDateTime(QDate(2002, 8, 15), QTime(12, 50)));
    auto *timer = Windows::get<frmRxTimer>();
    timer->showModeless();
    timer->editor.hour = 23, timer->editor.duration = 10;
    timer->editor.setFrequencyKHz(6095);
    click(timer->rows[1].cmdFixClr[0]);

    struct Run {
        const char *name;
        QAbstractButton *start, *again; // Start, and what starts the run after a stop
        std::function<bool()> running;
        std::function<void()> tick;
    };
    std::vector<Run> runs{
        {"list", list->cmdStart, list->cmdContinue, [&] { return list->scanning(); }, [&] { list->tmrScanlist_Timer(); }},
        {"pairs", pairs->cmdStart, pairs->cmdContinue, [&] { return pairs->scanning(); }, [&] { pairs->tmrScanpairs_Timer(); }},
        {"band", band->cmdStart, band->cmdStart, [&] { return band->sweeping(); }, [&] { band->tmrScanband_Timer(); }},
        {"ILG", ilg->cmdScan, ilg->cmdScan, [&] { return ilg->scanning(); }, [&] { ilg->tmrScan_Timer(); }},
        {"aero", aero->cmdScan, aero->cmdScan, [&] { return aero->scanning(); }, [&] { aero->tmrScan_Timer(); }},
        {"scratch pad", pad->cmdScan[0], pad->cmdScan[0], [&] { return pad->scanning(); }, [&] { pad->tmrScan_Timer(); }},
        {"marks", marks->cmdScan, marks->cmdScan, [&] { return marks->scanning(); }, [&] { marks->tmrScan_Timer(); }},
        {"timer", timer->cmdTimerOnoff[1], timer->cmdTimerOnoff[1], [&] { return timer->armed(); },
         [&] { timer->tmrTestprog_Timer(); }},
    };
    if (goModel().offersTransfers()) {
        auto *mm = Windows::get<frmMemman>();
        mm->showModeless();
        for (int k = 0; k < 2; ++k)
            memState().image.setRecord(10 + k, QStringLiteral("MEM%1 %2 2 01 0 1 @@@ @@@ @")
                                                   .arg(cellText(10 + k), memFrequencyField(6e6 + k * 1e6)));
        mm->memcmdenabler(true);
        mm->txtFrom->setText("10");
        mm->txtTo->setText("11");
        runs.push_back({"memories", mm->cmdScanrun, mm->cmdScanrun, [mm] { return mm->tmrScan.isActive(); },
                        [mm] { mm->tmrScan_Timer(); }});
    }
    for (const Run &r : runs) {
        click(r.start);
        r.tick();
        EXPECT_TRUE(r.running()) << r.name;
    }
    ASSERT_TRUE(DialogScript::shown.size() == 1 && DialogScript::shown.first().text.contains("switched on"))
        << "only the timer's reminder: every scan ran";
    DialogScript::shown.clear();

    // The windows' timers fire under the panel's message, as under a real box.
    QStringList runningUnderTheBox;
    DialogScript::whileShown = [&] {
        DialogScript::whileShown = {};
        const QString dial = p->txtFrequencyA->text();
        for (const Run &r : runs) {
            r.tick();
            if (r.running())
                runningUnderTheBox << QLatin1String(r.name);
        }
        EXPECT_EQ(p->txtFrequencyA->text(), dial) << "no tick tuned";
    };
    pty->dropLine();
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("was lost")).isEmpty(); }));
    tavtest::pump(100);
    EXPECT_EQ(runningUnderTheBox, QStringList());
    ASSERT_EQ(DialogScript::shown.size(), 1) << "the panel's message alone";
    EXPECT_EQ(DialogScript::shown.first().text, lostText());
    for (const Run &r : runs) {
        SCOPED_TRACE(r.name);
        EXPECT_FALSE(r.running());
        DialogScript::shown.clear();
        ASSERT_TRUE(r.again->isEnabled());
        click(r.again);
        tavtest::pump(20);
        EXPECT_FALSE(r.running());
        ASSERT_EQ(DialogScript::shown.size(), 1);
        EXPECT_EQ(DialogScript::shown.first().text, closedText());
    }
    Clock::clear();
}

INSTANTIATE_TEST_SUITE_P(Ar7030AndRx320, ScanLine, ::testing::Values(1, 3), modelName);

// ---- reads without an answer, and read-backs, write nothing ----

namespace {

struct ReadBackLine : PanelLine {
    QStringList log;
    // What reached the receiver as a setting since begin(): AR7030 memory
    // writes by address, JRC setting commands.
    QStringList writes() const
    {
        tavtest::pump(50);
        if (auto *j = dynamic_cast<sim::JrcEmulator *>(emu.get()))
            return j->settingCommands;
        return log.filter(QLatin1String(":=")).replaceInStrings(QRegularExpression(QStringLiteral("^.*write ")), QString());
    }
    void begin()
    {
        tavtest::pump(50);
        log.clear();
        emu->log = [this](const QString &l) { log << l; };
        if (auto *j = dynamic_cast<sim::JrcEmulator *>(emu.get()))
            j->settingCommands.clear();
        DialogScript::shown.clear();
    }
    static void trigger(frmPanel *p, const char *entry) { p->findChild<QAction *>(QLatin1String(entry))->trigger(); }
    static QString text(frmPanel *p, const char *label) { return p->findChild<QLabel *>(QLatin1String(label))->text(); }
};

// A recall of cell 3 (CW, shift byte 128, BFO byte 140: bar steps beyond the
// bars' ends) writes each of these once.
const QStringList kRecall = {"page 0 0x01a", "page 0 0x01b", "page 0 0x01c", "page 0 0x01d := 0x05",
                             "page 0 0x034 := 0x02", "page 0 0x035 := 0x80", "page 0 0x036 := 0x8c"};

} // namespace

// A read that got no answer shows "?" or leaves the panel as it was and is
// never written back; showing what the receiver holds sends nothing, so a
// memory recall and a memory scan tick send the recall and nothing more.
TEST_P(ReadBackLine, ReadsWithoutAnAnswerWriteNothing)
{
    using Act = std::function<QStringList(ReadBackLine &, frmPanel *&)>; // gives the writes allowed
    const struct Row {
        QList<int> models;
        const char *what;
        bool silent;
        Act act;
    } rows[] = {
        {{1}, "Go", true, [](ReadBackLine &t, frmPanel *&p) {
             G.ar7030fw = 0;
             p = t.go();
             for (const char *l : {"lblIfgain", "lblSquelch", "lblPassbandshift", "lblMode"})
                 EXPECT_EQ(text(p, l), QStringLiteral("?")) << l;
             return QStringList{"page 0 0x023", "page 0 0x024"}; // the set-up's line levels
         }},
        {{1, 2, 4}, "Update", true, [](ReadBackLine &t, frmPanel *&p) {
             trigger(p, "mnuUpdate");
             EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("?"));
             auto *l20 = Windows::existing<lists::frmLast20>();
             EXPECT_TRUE(l20 && l20->isLoadedForm());
             for (int r = 0; l20 && r < 20; ++r)
                 EXPECT_NE(l20->shown(r), QStringLiteral("?")) << "an unknown frequency is no tuning to keep";
             EXPECT_EQ(text(p, "lblMode"), QStringLiteral("?"));
             // The JRC status read's own commands: the state into the working channel.
             return t.GetParam() == 2 ? QStringList{"J1199"}
                  : t.GetParam() == 4 ? QStringList{"MM21", "J1999", "MM21"} : QStringList{};
         }},
        {{1}, "a line level, then Update once it answers", false, [](ReadBackLine &t, frmPanel *&p) {
             auto *a = static_cast<frmAR7030 *>(p);
             QTest::mouseClick(a->vsbLineR, Qt::LeftButton, {}, QPoint(a->vsbLineR->width() / 2, 4)); // its upper arrow
             const int set = a->vsbLineR->value();
             trigger(p, "mnuUpdate"); // fills in what the silent load could not read
             EXPECT_EQ(a->cmdBandwidth[0]->isEnabled() ? a->cmdBandwidth[0]->text() : QString(), QStringLiteral("2.4"));
             EXPECT_EQ(a->cmdPowerOnOff->palette().color(QPalette::Window), vbColor(0xFF00));
             EXPECT_EQ(G.ar7030fw, 14);
             EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("9650.00"));
             // ... and sends the set-up's line levels the silent load could not,
             // but not over the one the listener set since: that one counts as sent.
             for (const char *at : {"page 0 0x023", "page 0 0x024"})
                 EXPECT_EQ(t.writes().filter(QLatin1String(at)).size(), 1) << at;
             EXPECT_EQ(a->vsbLineR->value(), set);
             return QStringList{"page 0 0x023", "page 0 0x024"};
         }},
        {{1}, "Mute", true, [](ReadBackLine &, frmPanel *&p) {
             auto *a = static_cast<frmAR7030 *>(p);
             const int volume = a->vsbVolume->value();
             QTest::mouseClick(a->lblMute, Qt::LeftButton);
             EXPECT_EQ(a->vsbVolume->value(), volume) << "a volume the receiver did not take";
             EXPECT_EQ(a->lblMute->palette().color(QPalette::WindowText), vbColor(kGreen)) << "nothing was muted";
             tavtest::pump(50);
             EXPECT_EQ(messages(QStringLiteral("does not answer")).size(), 1);
             return QStringList{};
         }},
        {{1}, "a level bar", true, [](ReadBackLine &, frmPanel *&p) {
             // The level's byte shares its upper bits with other settings:
             // unread, they are not guessed into a write.
             p->findChild<QScrollBar *>(QStringLiteral("vsbVolume"))->triggerAction(QAbstractSlider::SliderPageStepAdd);
             return QStringList{};
         }},
        {{1, 3}, "Firmware version", true, [](ReadBackLine &, frmPanel *&p) {
             trigger(p, "mnuFirmware");
             EXPECT_EQ(DialogScript::shown.size(), 1);
             EXPECT_EQ(DialogScript::shown.value(0).text, QStringLiteral("The receiver does not answer."));
             return QStringList{};
         }},
        {{1}, "Set R2M", false, [](ReadBackLine &t, frmPanel *&p) {
             trigger(p, "mnuMemman");
             auto *mm = Windows::existing<frmMemman>();
             static_cast<sim::AR7030Emulator &>(*t.emu).storeChannel(3, 3634530, 5, 2, true, 128, 140);
             mm->txtTo->setText(QStringLiteral("3"));
             t.dialogs.answer(vbYes);
             QTest::mouseClick(mm->cmdFetch, Qt::LeftButton);
             clickRow(mm->grdMemman, 3, 1);
             t.begin();
             QTest::mouseClick(mm->cmdSetrx2mem, Qt::LeftButton);
             EXPECT_EQ(text(p, "lblPassbandshift"), QStringLiteral("-4.2k"));
             return kRecall;
         }},
        {{1}, "memory scan tick", false, [](ReadBackLine &t, frmPanel *&p) {
             for (const char *l : {"lblPassbandshift", "lblBeatfreqosc"}) // both bars to 0 first
                 QTest::mouseClick(p->findChild<QLabel *>(QLatin1String(l)), Qt::LeftButton);
             auto *mm = Windows::existing<frmMemman>();
             mm->txtFrom->setText(QStringLiteral("3"));
             QTest::mouseClick(mm->cmdScanrun, Qt::LeftButton);
             mm->tmrScan.stop();
             t.begin();
             mm->tmrScan_Timer();
             QTest::mouseClick(mm->cmdScanstop, Qt::LeftButton);
             return kRecall;
         }},
        {{1}, "level bars and Pwr", true, [](ReadBackLine &, frmPanel *&p) {
             // The first unanswered read since the scan's answers: each bar
             // goes back to what its label says, and the silence is told once.
             auto *a = static_cast<frmAR7030 *>(p);
             for (auto [bar, label] : {std::pair{a->vsbVolume, a->lblVolume}, {a->vsbBass, a->lblBass}, {a->vsbLineL, a->lblLineL}}) {
                 QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 4)); // its upper arrow
                 EXPECT_EQ(bar->value(), int(numericValue(label->text()))) << bar->objectName().toStdString();
             }
             // The power switch toggles what it read: unread, it sends no guess.
             const QColor power = a->cmdPowerOnOff->palette().color(QPalette::Window);
             QTest::mouseClick(a->cmdPowerOnOff, Qt::LeftButton);
             EXPECT_EQ(a->cmdPowerOnOff->palette().color(QPalette::Window), power);
             tavtest::pump(50);
             EXPECT_EQ(messages(QStringLiteral("does not answer")).size(), 1);
             return QStringList{};
         }},
        {{1}, "timer line output", true, [](ReadBackLine &, frmPanel *&p) {
             const QString level = text(p, "lblLineL");
             setting(Setting::Ar7030LineLevelL) = 40; // what the line output goes on at
             auto *timer = Windows::get<frmRxTimer>();
             timer->load(); // switches the line output off
             QTest::mouseClick(timer->cmdLineoutOnoff[1], Qt::LeftButton);
             EXPECT_EQ(text(p, "lblLineL"), level) << "the panel shows only a level the receiver took";
             EXPECT_FALSE(timer->cmdLineoutOnoff[1]->isHidden()) << "nor does the timer's button swap";
             EXPECT_TRUE(timer->cmdLineoutOnoff[0]->isHidden());
             timer->unload();
             tavtest::pump(50);
             EXPECT_EQ(DialogScript::shown.size(), 1) << "the timer's own words, once";
             return QStringList{};
         }},
    };
    Windows::registerFactory(WindowId::frmLast20, [] { return new lists::frmLast20; });
    frmPanel *p = nullptr;
    for (const Row &row : rows) {
        if (!row.models.contains(GetParam()))
            continue;
        SCOPED_TRACE(row.what);
        if (!p && QLatin1String(row.what) != QLatin1String("Go")) {
            ASSERT_TRUE(p = go());
            if (GetParam() % 2 == 0) // the JRC sliders are read under the lock
                QTest::mouseClick(p->findChild<QPushButton *>(QStringLiteral("cmdLock(1)")), Qt::LeftButton);
        }
        pty->setFault(row.silent ? sim::Fault::Silent : sim::Fault::None);
        begin();
        const QStringList allowed = row.act(*this, p);
        ASSERT_TRUE(p && p->isLoadedForm());
        QStringList left = writes();
        for (const QString &a : allowed)
            if (const qsizetype i = left.indexOf(QRegularExpression(QRegularExpression::escape(a) + QStringLiteral(".*"))); i >= 0)
                left.removeAt(i);
        EXPECT_TRUE(left.isEmpty()) << left.join(QLatin1String(" | ")).toStdString();
        if (allowed == kRecall) {
            EXPECT_EQ(writes().size(), kRecall.size()) << writes().join(QLatin1String(" | ")).toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPanel, ReadBackLine, ::testing::Values(1, 2, 3, 4), modelName);

// ---- two users of the line ----

#include "hub/frmLoadfile.h"
#include "panels/jrc/frmRtty.h"
#include "signal/frmProphisto.h"
#include "signal/frmSmeter.h"
#include "stations/frmTracking.h"
#include "timers/frmRxClock.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>

namespace {

// Real message boxes, answered with Escape sent to the box's window as the
// window system delivers a key. A box the key does not close within two
// seconds is closed by force and counted as one no listener could answer.
struct BoxKeys {
    struct Seen {
        QString title, text;
        bool inExchange = false;
        bool forced = false;
    };
    QList<Seen> seen;
    QTimer timer;
    QPointer<QMessageBox> current;
    int tries = 0;

    BoxKeys()
    {
        DialogScript::enabled = false;
        timer.setInterval(40);
        QObject::connect(&timer, &QTimer::timeout, [this] { look(); });
        timer.start();
    }
    ~BoxKeys() { DialogScript::enabled = true; }
    void look()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !box->windowHandle())
            return;
        if (box != current) {
            current = box;
            tries = 0;
            seen.append({box->windowTitle(), box->text(), Exchange::active()});
        }
        if (++tries > 50) {
            seen.last().forced = true;
            box->done(QMessageBox::Cancel);
            return;
        }
        QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
    }
    int titled(const QString &title) const
    {
        return int(std::count_if(seen.begin(), seen.end(), [&](const Seen &s) { return s.title == title; }));
    }
};

// The panel at Go against the emulator (PanelLine), with the Load dialog
// pressed as a listener does.
struct UsersLine : PanelLine {
    // Opens the Load dialog for `kind` (or clicks `opener`) and presses
    // Return on it, as a key from the window system; `whileOk` runs once
    // inside OK's exchange.
    static void loadWithReturn(FileKind kind, const std::function<void(frmLoadfile *)> &whileOk = {},
                               bool byMouse = false, QAbstractButton *opener = nullptr)
    {
        auto *load = Windows::get<frmLoadfile>();
        bool pressed = false, again = false;
        // Two timers: the one whose press runs OK does not fire again inside it.
        QTimer driver, during;
        driver.setInterval(10);
        during.setInterval(10);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (!pressed && load->isVisible() && load->windowHandle() && load->isActiveWindow()) {
                pressed = true;
                if (byMouse)
                    QTest::mouseClick(load->cmdOK, Qt::LeftButton);
                else
                    QTest::keyClick(load->windowHandle(), Qt::Key_Return);
            }
        });
        QObject::connect(&during, &QTimer::timeout, [&] {
            if (pressed && !again && whileOk && Exchange::active()) {
                again = true;
                whileOk(load);
            }
        });
        driver.start();
        during.start();
        opener ? QTest::mouseClick(opener, Qt::LeftButton) : frmLoadfile::showFor(kind);
        EXPECT_TRUE(pressed);
        EXPECT_TRUE(!whileOk || again) << "OK waited on the receiver";
    }
};

} // namespace

// Two users of the one line: a tick, a second key press, the RTTY text or
// the dial following meet another user's exchange. Neither takes the other's
// bytes or turn, every box can be answered by a key, and what is shown is
// what the receiver holds.
TEST_P(UsersLine, TwoUsersOfTheLineTakeTurnsAndEveryBoxAnswersItsKey)
{
    struct Row {
        const char *name;
        int model;
        std::function<void(UsersLine &, BoxKeys &)> run;
    };
    frmPanel *panel = nullptr;
    // A measurement with two misses behind it; the clock read then waits on
    // the silent receiver while the measurement's timer fires.
    auto clockAgainst = [](UsersLine &rig, const std::function<void()> &tick) {
        auto *clock = Windows::get<frmRxClock>();
        clock->load();
        rig.pty->setFault(sim::Fault::Silent);
        tick();
        tick();
        bool inside = false;
        QTimer::singleShot(100, [&] {
            inside = Exchange::active();
            tick();
        });
        QTest::mouseClick(clock->cmdGetRXclock, Qt::LeftButton);
        EXPECT_TRUE(inside) << "the tick fell inside the clock read";
        tavtest::pump(200);
    };
    // The RTTY window started with a capture into `name`, its reading running.
    auto captureRtty = [](const QString &name) {
        auto *rtty = Windows::get<frmRtty>();
        rtty->load();
        tavtest::pump(30);
        tavtest::answerSaveDialog(name);
        rtty->cmdSave[1]->click();
        EXPECT_TRUE(rtty->capturing());
        rtty->cmdStart->click();
        return rtty;
    };
    // Once the receiver has sent everything: the text between the capture's
    // start and stop lines, without the line ends.
    auto captured = [this](frmRtty *rtty, const QString &name) {
        EXPECT_TRUE(tavtest::waitFor([&] { return pty->pendingOut() == 0; }));
        for (int i = 0; i < 3; ++i) {
            tavtest::pump(20);
            rtty->tmrGetRTTY_Timer();
        }
        rtty->cmdStop->click();
        QFile f(G.filedirs[FileKind::Rtty] + name);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        QByteArray all = f.readAll();
        const qsizetype from = all.lastIndexOf("Bd/shift/pol");
        const qsizetype to = all.lastIndexOf("Stop at");
        EXPECT_TRUE(from > 0 && to > from) << all.toStdString();
        QByteArray text = all.mid(from, to - from);
        text = text.mid(text.indexOf('\n') + 1);
        text.replace("\r", "").replace("\n", "");
        return QString::fromLatin1(text.trimmed());
    };
    // Text that looks like replies is text when its CR is followed by LF;
    // the receiver's replies to the reads come behind more text than their
    // bound, and every byte of the text is kept, in order.
    auto rttyBurst = [&](UsersLine &rig, BoxKeys &boxes) {
        rig.pty->setFault(sim::Fault::None);
        auto *rtty = captureRtty(QStringLiteral("rty_burst.txt"));
        auto *sm = Windows::get<frmSmeter>();
        sm->load();
        sm->cmdStart->click();
        sm->tmrSmeter.stop();
        rig.emu->control(QStringLiteral("smeter 100"));
        const bool nrd535 = GetParam() == 2;
        const QString status = nrd535 ? QStringLiteral("L199004100000001") : QStringLiteral("L9990040010000000030");
        QString line;
        for (int i = 0; i < 25; ++i)
            line += QStringLiteral("ryry cq de dl%1xyz qrm140\\r\\nm140\\r\\n%2\\r\\n").arg(i % 10).arg(status);
        // Over 1,200 characters each time, 2.5 seconds and more at 4800 baud.
        const int chars = int(line.size()) - 25 * 3 * 2;
        ASSERT_GT(chars, 1200);
        rig.pty->setPacedAtModelSpeed();
        rig.emu->control(QStringLiteral("rttyburst ") + line);
        sm->tmrSmeter_Timer();
        const float want = nrd535 ? clsNRD535::smeterFromRaw(100) : clsNRD545::smeterFromRaw(100);
        EXPECT_FLOAT_EQ(sm->level(), want) << "the S-meter took its own reply";
        rig.emu->control(QStringLiteral("rttyburst ") + line);
        // Held in remote for the S-meter, the knob is locked: tuned behind the panel's back.
        dynamic_cast<sim::JrcEmulator &>(*rig.emu).cur.hz = 7100000;
        panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
        QTest::keyClick(panel->windowHandle(), Qt::Key_F5);
        EXPECT_EQ(panel->txtFrequencyA->text(), QStringLiteral("7100.000")) << "the receiver answered";
        EXPECT_TRUE(boxes.seen.isEmpty());
        rig.emu->control(QStringLiteral("rttyburst \\n"));
        QString sent = (line + line).toUpper();
        sent.remove(QStringLiteral("\\R")).remove(QStringLiteral("\\N"));
        EXPECT_EQ(captured(rtty, QStringLiteral("rty_burst.txt")), sent);
        rig.pty->setLineSpeed(0);
        sm->cmdStop->click();
        sm->unload();
    };
    // Dial following on the NRD-535 with the user's lock as given, and the
    // panel used meanwhile and after: buttons, a mode's refresh, Update, the
    // shift key and the sliders. Nothing reaches the receiver in local, and
    // what the panel shows is what the receiver took.
    auto dialFollowing = [&](int lockChoice) {
        return [&, lockChoice](UsersLine &rig, BoxKeys &boxes) {
            auto &emu = dynamic_cast<sim::JrcEmulator &>(*rig.emu);
            G.setupdata[11] = 1; // the bandwidth control is fitted: its slider sends too
            auto button = [&](const QString &name) { return panel->findChild<QAbstractButton *>(name); };
            auto label = [&](const QString &name) { return panel->findChild<QLabel *>(name)->text(); };
            auto *tr = Windows::get<frmTracking>();
            if (!tr->isLoadedForm())
                tr->load();
            tr->optMousedial->select(0);
            QTest::mouseClick(button(QStringLiteral("cmdLock(%1)").arg(lockChoice)), Qt::LeftButton);
            tavtest::pump(30);
            emu.ignored.clear();
            const auto use = [&] {
                QTest::mouseClick(button(QStringLiteral("cmdAttenuator(1)")), Qt::LeftButton);
                QTest::mouseClick(button(QStringLiteral("cmdMode(3)")), Qt::LeftButton);
                panel->activateWindow();
                ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
                QTest::keyClick(panel->windowHandle(), Qt::Key_F5);
                QTest::keyClick(panel, Qt::Key_Equal, Qt::ShiftModifier);
                for (QScrollBar *bar : panel->modelArea()->findChildren<QScrollBar *>())
                    if (bar->isEnabled())
                        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
                tavtest::pump(30);
            };
            tr->optMousedial->select(1);
            tavtest::pump(50);
            EXPECT_EQ(label(QStringLiteral("lblLock")), QStringLiteral("Off")) << "the dial is the listener's";
            use();
            tr->optMousedial->select(0);
            tavtest::pump(50);
            EXPECT_EQ(emu.remote, lockChoice == 1) << "held again exactly when the user's lock is on";
            EXPECT_EQ(label(QStringLiteral("lblLock")), lockChoice ? QStringLiteral("On") : QStringLiteral("Off"));
            use();
            EXPECT_EQ(emu.ignored, QStringList());
            EXPECT_EQ(label(QStringLiteral("lblAttenuator")), QStringLiteral("-20"));
            EXPECT_EQ(emu.cur.att, 1);
            for (const auto &[name, held] : {std::pair{QStringLiteral("lblPassbandshift"), emu.passbandShift},
                                             std::pair{QStringLiteral("lblBandwidthcontrol"), emu.bandwidthControl}}) {
                if (!label(name).isEmpty()) {
                    EXPECT_EQ(numericValue(label(name)), held) << name.toStdString();
                }
            }
            EXPECT_TRUE(boxes.seen.isEmpty());
            QTest::mouseClick(button(QStringLiteral("cmdLock(0)")), Qt::LeftButton);
        };
    };
    auto label = [&](const QString &name) { return panel->findChild<QLabel *>(name)->text(); };
    // Dial following on the NRD-535, the lock off, through an S-meter run, a
    // list scan and a Load: the receiver is in local with its reports on
    // exactly while the tracking window shows "Dial".
    auto dialThroughTools = [&](UsersLine &rig, BoxKeys &boxes) {
        auto &emu = dynamic_cast<sim::JrcEmulator &>(*rig.emu);
        auto *tr = Windows::get<frmTracking>();
        auto *sm = Windows::get<frmSmeter>();
        auto *list = Windows::get<frmScanlist>();
        for (TavForm *w : std::initializer_list<TavForm *>{tr, sm, list})
            w->load();
        tr->optMousedial->select(1);
        list->txtFreqlist[0]->setText(QStringLiteral("6000"));
        for (auto [start, stop] : {std::pair{sm->cmdStart, sm->cmdStop}, std::pair{list->cmdStart, list->cmdStop}}) {
            QTest::mouseClick(start, Qt::LeftButton);
            ASSERT_TRUE(tavtest::waitFor([&] { return emu.remote; }));
            rig.pty->clearReceived();
            QTest::mouseClick(stop, Qt::LeftButton);
            EXPECT_TRUE(tavtest::waitFor([&] { return rig.pty->received().endsWith("H0\r"); }));
            EXPECT_TRUE(!emu.remote && emu.reporting && tr->optMousedial->selected() == 1);
            EXPECT_EQ(label(QStringLiteral("lblLock")) + "|" + label(QStringLiteral("lblPassbandshift")), "Off|");
        }
        emu.dial(7205000);
        EXPECT_TRUE(tavtest::waitFor([&] { return G.rxfreqnow == 7205.0; })) << "the dial tunes";
        ensureDir(G.filedirs[FileKind::ScanList]);
        ASSERT_TRUE(writeTextLines(G.filedirs[FileKind::ScanList] + QStringLiteral("SFL_D.TXT"), {"9510"}));
        rig.pty->clearReceived();
        UsersLine::loadWithReturn(FileKind::ScanList, {}, false, list->cmdLoad);
        EXPECT_EQ(tr->optMousedial->selected(), 0) << "the Load ended the following as Mouse does";
        EXPECT_TRUE(tavtest::waitFor([&] { return rig.pty->received().contains("I0\r") && !emu.remote; }));
        EXPECT_TRUE(!emu.reporting && boxes.seen.isEmpty());
    };
    const Row rows[] = {
        {"clock read vs S-meter tick", 1,
         [&](UsersLine &rig, BoxKeys &boxes) {
             auto *sm = Windows::get<frmSmeter>();
             sm->load();
             sm->cmdStart->click();
             sm->tmrSmeter.stop();
             clockAgainst(rig, [sm] { sm->tmrSmeter_Timer(); });
             EXPECT_EQ(boxes.titled(QStringLiteral("RX Clock")), 1);
             EXPECT_FALSE(sm->cmdStart->isEnabled()) << "a tick skipped for another exchange is no miss";
             sm->tmrSmeter_Timer();
             EXPECT_TRUE(sm->cmdStart->isEnabled()) << "the third miss ends the measurement";
             EXPECT_EQ(boxes.seen.size(), 2);
         }},
        {"clock read vs trace tick", 4,
         [&](UsersLine &rig, BoxKeys &boxes) {
             auto *tr = Windows::get<frmProphisto>();
             tr->load();
             tr->cmdStart->click();
             // Running, so that a tick put off comes again, but only when called.
             tr->tmrProphisto.setInterval(3600 * 1000);
             clockAgainst(rig, [tr] { tr->tmrProphisto_Timer(); });
             EXPECT_EQ(boxes.titled(QStringLiteral("RX Clock")), 1);
             EXPECT_TRUE(tavtest::waitFor([&] { return tr->cmdStart->isEnabled(); }))
                 << "the tick comes again after the read, and its miss is the third";
             EXPECT_EQ(boxes.seen.size(), 2);
             for (const BoxKeys::Seen &b : boxes.seen)
                 if (b.title != QLatin1String("RX Clock")) {
                     EXPECT_FALSE(b.inExchange) << "the trace read nothing inside the clock read";
                 }
         }},
        {"Load OK pressed again while it waits", 1,
         [&](UsersLine &rig, BoxKeys &boxes) {
             const QString folder = G.filedirs[FileKind::Memories];
             QDir().mkpath(folder);
             QFile f(folder + QStringLiteral("mem_1two.txt"));
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.close();
             rig.pty->setFault(sim::Fault::Silent);
             const auto pressAgain = [](frmLoadfile *load) {
                 QTest::keyClick(load->windowHandle(), Qt::Key_Return);
                 QTest::mouseDClick(load->cmdOK, Qt::LeftButton);
             };
             UsersLine::loadWithReturn(FileKind::Memories, pressAgain);
             tavtest::pump(100);
             EXPECT_EQ(boxes.titled(QStringLiteral("Load Memory File")), 1) << "OK ran once for its key";
             UsersLine::loadWithReturn(FileKind::Memories, pressAgain, true);
             tavtest::pump(100);
             EXPECT_EQ(boxes.titled(QStringLiteral("Load Memory File")), 2) << "OK ran once for its click";
         }},
        {"RTTY text vs Update", 2,
         [&](UsersLine &rig, BoxKeys &boxes) {
             auto *rtty = Windows::get<frmRtty>();
             rtty->load();
             tavtest::pump(30);
             rtty->cmdStart->click();
             rtty->tmrGetRTTY.stop();
             tavtest::pump(30);
             bool sent = false;
             rig.emu->log = [&](const QString &line) {
                 if (!sent && line.startsWith(QLatin1String("L199199"))) {
                     sent = true;
                     rig.emu->control(QStringLiteral("rttyburst de dl0xyz"));
                 }
             };
             panel->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
             QTest::keyClick(panel->windowHandle(), Qt::Key_F5);
             rig.emu->log = nullptr;
             ASSERT_TRUE(sent);
             EXPECT_EQ(panel->txtFrequencyA->text(), QStringLiteral("9650.000"));
             tavtest::pump(50);
             rtty->tmrGetRTTY_Timer();
             QString text;
             for (QLabel *l : rtty->lblRy)
                 text += l->text();
             EXPECT_TRUE(text.contains(QLatin1String("DE DL0XYZ"))) << text.toStdString();
             EXPECT_FALSE(text.contains(QLatin1String("L199"))) << text.toStdString();
             EXPECT_TRUE(boxes.seen.isEmpty());
             rtty->cmdStop->click();
         }},
        {"long RTTY burst vs S-meter and Update", 2, rttyBurst},
        {"long RTTY burst vs S-meter and Update", 4, rttyBurst},
        {"late reply vs RTTY text", 4,
         [&](UsersLine &rig, BoxKeys &boxes) {
             rig.pty->setFault(sim::Fault::None);
             auto *rtty = captureRtty(QStringLiteral("rty_late.txt"));
             // The receiver takes nothing for a while: the status read gives
             // up, and its reply comes after it, ahead of more text.
             rig.pty->setStalled(true);
             panel->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
             QTest::keyClick(panel->windowHandle(), Qt::Key_F5);
             EXPECT_EQ(panel->txtFrequencyA->text(), QStringLiteral("?"));
             EXPECT_EQ(boxes.seen.size(), 1) << "the receiver said nothing in time";
             rig.pty->setStalled(false);
             rig.emu->control(QStringLiteral("rttyburst de dl0xyz"));
             ASSERT_TRUE(tavtest::waitFor([&] { return rig.pty->pendingOut() == 0; }));
             tavtest::pump(50);
             rtty->tmrGetRTTY_Timer();
             rig.emu->control(QStringLiteral("dial 6000000"));
             panel->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
             QTest::keyClick(panel->windowHandle(), Qt::Key_F5);
             EXPECT_EQ(panel->txtFrequencyA->text(), QStringLiteral("6000.000")) << "it answers again";
             rig.emu->control(QStringLiteral("rttyburst \\n"));
             EXPECT_EQ(captured(rtty, QStringLiteral("rty_late.txt")), QStringLiteral("DE DL0XYZ"));
         }},
        {"reply owed to a memory read lands inside the next read", 4,
         [&](UsersLine &rig, BoxKeys &) {
             rig.pty->setFault(sim::Fault::None);
             rig.emu->control(QStringLiteral("dial 7200000"));
             auto *rtty = captureRtty(QStringLiteral("rty_owed.txt"));
             // A line whose LF comes after the late reply.
             rig.emu->control(QStringLiteral("rttyburst cq de ja1abc\\r"));
             ASSERT_TRUE(tavtest::waitFor([&] { return rig.pty->pendingOut() == 0; }));
             tavtest::pump(50);
             rtty->tmrGetRTTY_Timer();
             // The receiver takes nothing for a while: the memory read gives
             // up, and its reply comes early in the status read after it.
             rig.pty->setStalled(true);
             clsNRD545 rx(rxPort());
             EXPECT_EQ(rx.Memory(49), QString());
             EXPECT_FALSE(rx.lastReadOk());
             QTimer::singleShot(0, [&] { rig.pty->setStalled(false); });
             panel->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
             QTest::keyClick(panel->windowHandle(), Qt::Key_F5);
             EXPECT_EQ(panel->txtFrequencyA->text(), QStringLiteral("7200.000"));
             rig.emu->control(QStringLiteral("rttyburst \\n"));
             EXPECT_EQ(captured(rtty, QStringLiteral("rty_owed.txt")), QStringLiteral("CQ DE JA1ABC"));
             QString text;
             for (QLabel *l : rtty->lblRy)
                 text += l->text();
             EXPECT_TRUE(text.contains(QLatin1String("CQ DE JA1ABC"))) << text.toStdString();
             EXPECT_FALSE(text.contains(QLatin1String("L049"))) << text.toStdString();
         }},
        {"dial following vs Load read", 2,
         [&](UsersLine &rig, BoxKeys &) {
             auto *tr = Windows::get<frmTracking>();
             tr->load();
             tavtest::pump(30);
             tr->optMousedial->select(1);
             tavtest::pump(50);
             rig.emu->control(QStringLiteral("dial 7100000"));
             ASSERT_TRUE(tavtest::waitFor([&] { return panel->txtFrequencyA->text() == QLatin1String("7100.000"); }));
             UsersLine::loadWithReturn(FileKind::Memories);
             EXPECT_EQ(panel->txtFrequencyA->text(), QStringLiteral("7100.000")) << "the read took the dial's frequency";
         }},
        {"dial following with the user's lock on", 2, dialFollowing(1)},
        {"dial following with the lock off", 2, dialFollowing(0)},
        {"dial following through an S-meter run, a list scan and a Load", 2, dialThroughTools},
    };
    panel = go();
    ASSERT_TRUE(panel);
    for (const Row &row : rows) {
        if (row.model != GetParam())
            continue;
        SCOPED_TRACE(row.name);
        BoxKeys boxes;
        row.run(*this, boxes);
        for (const BoxKeys::Seen &s : boxes.seen)
            EXPECT_FALSE(s.forced) << "no key reached the box " << s.title.toStdString() << ": " << s.text.toStdString();
    }
}

// ---- each failure told once, and rightly ----

#include "memories/memimage.h"
#include "signal/frmPropagation.h"

namespace {
struct ToldOnceLine : UsersLine {};
} // namespace

// A tool's work that sets off the panel's reads (the receiver held for it,
// the panel refreshed) tells a failure once, in its own words, when it ends
// on it; a reply of the wrong form is said to be one.
TEST_P(ToldOnceLine, EachFailureIsToldOnceAndRightly)
{
    struct Row {
        const char *name;
        int model;
        sim::Fault fault;
        std::function<void(UsersLine &)> run;
        const char *title; // of the one box
        const char *says;
    };
    frmPanel *panel = nullptr;
    auto memman = [&](UsersLine &) {
        panel->findChild<QAction *>(QStringLiteral("mnuMemman"))->trigger();
        auto *mm = Windows::existing<frmMemman>();
        EXPECT_TRUE(mm && mm->isLoadedForm());
        mm->txtFrom->setText(QStringLiteral("0"));
        mm->txtTo->setText(QStringLiteral("2"));
        DialogScript::answers = {vbYes};
        return mm;
    };
    // A Fetch during RTTY reception switches the demodulator off for its
    // reads; once it ends, the text sent afterwards reaches the window and
    // the capture, and the Fetch's own box is the only one.
    auto fetchDuringRtty = [&](UsersLine &rig) {
        auto &emu = dynamic_cast<sim::JrcEmulator &>(*rig.emu);
        auto *rtty = Windows::get<frmRtty>();
        rtty->load();
        tavtest::pump(30);
        tavtest::answerSaveDialog(QStringLiteral("rty_fetch.txt"));
        QTest::mouseClick(rtty->cmdSave[1], Qt::LeftButton);
        QTest::mouseClick(rtty->cmdBaud[2], Qt::LeftButton);
        QTest::mouseClick(rtty->cmdStart, Qt::LeftButton);
        rtty->tmrGetRTTY.stop();
        const QString params = emu.rttyParameters;
        const auto received = [&](const QString &text) {
            emu.control(QStringLiteral("rttyburst ") + text);
            EXPECT_TRUE(tavtest::waitFor([&] { return rig.pty->pendingOut() == 0; }));
            tavtest::pump(30);
            rtty->tmrGetRTTY_Timer();
        };
        received(QStringLiteral("cq cq de dl0xyz\\r\\n"));
        auto *mm = memman(rig);
        QTest::mouseClick(mm->cmdFetch, Qt::LeftButton);
        EXPECT_EQ(emu.rtty, 1) << "switched on again for the window still receiving";
        EXPECT_EQ(emu.rttyParameters, params);
        EXPECT_TRUE(rtty->receiving());
        EXPECT_TRUE(rtty->cmdStop->isEnabled());
        received(QStringLiteral("qru de dl0xyz\\r\\n"));
        EXPECT_EQ(rtty->lblRy[12]->text(), QStringLiteral("CQ CQ DE DL0XYZ"));
        EXPECT_EQ(rtty->lblRy[13]->text(), QStringLiteral("QRU DE DL0XYZ"));
        QTest::mouseClick(rtty->cmdStop, Qt::LeftButton);
        QFile f(G.filedirs[FileKind::Rtty] + QStringLiteral("rty_fetch.txt"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().contains("75/425/Nor\r\n \r\nCQ CQ DE DL0XYZ\r\nQRU DE DL0XYZ\r\n \r\nStop at"));
    };
    const Row rows[] = {
        {"NRD-535 Fetch RM during RTTY reception", 2, sim::Fault::None, fetchDuringRtty, "Fetch Rx ready", "now loaded"},
        {"NRD-545 Fetch RM during RTTY reception", 4, sim::Fault::None, fetchDuringRtty, "Fetch Rx ready", "now loaded"},
        {"NRD-545 Fill RM, silent from its opening reads", 4, sim::Fault::Silent,
         [&](UsersLine &rig) {
             auto *mm = memman(rig);
             mm->cmdFetch->click(); // cells to fill, while the receiver answers
             DialogScript::shown.clear();
             DialogScript::answers = {vbYes};
             rig.pty->setFault(sim::Fault::Silent);
             ASSERT_TRUE(mm->cmdFill->isEnabled());
             mm->cmdFill->click();
         },
         "Fill Rx error", "did not answer"},
        {"NRD-545 Fill RM, garbled", 4, sim::Fault::Garbage,
         [&](UsersLine &rig) {
             auto *mm = memman(rig);
             memState().image.setRecord(0, memJrcRecord(cellText(0), memFrequencyField(9650000), QLatin1Char('2'),
                                                        QLatin1Char('1'), QLatin1Char('1'), QLatin1Char('3')));
             DialogScript::shown.clear();
             DialogScript::answers = {vbYes};
             rig.pty->setFault(sim::Fault::Garbage);
             ASSERT_TRUE(mm->cmdFill->isEnabled());
             mm->cmdFill->click();
         },
         "Fill Rx error", "answered wrongly\nat memory cell 000.\nThe Rx memory was not filled completely."},
        {"NRD-545 Fetch RM, garbled", 4, sim::Fault::Garbage,
         [&](UsersLine &rig) {
             auto *mm = memman(rig);
             rig.pty->setFault(sim::Fault::Garbage);
             mm->cmdFetch->click();
         },
         "Fetch Rx error", "answered wrongly\nwhen memory cell 000 was read.\nNo cell was read"},
        {"NRD-535 Propagation Start, garbled", 2, sim::Fault::Garbage,
         [&](UsersLine &rig) {
             auto *prop = Windows::get<frmPropagation>();
             prop->load();
             rig.pty->setFault(sim::Fault::Garbage);
             prop->cmdStart->click();
             prop->tmrPropagation.stop();
             for (int i = 0; i < 3; ++i)
                 prop->tmrPropagation_Timer();
             EXPECT_TRUE(prop->cmdStart->isEnabled()) << "the measurement stopped on its third miss";
             EXPECT_EQ(prop->lblFrequency->text(), panel->txtFrequencyA->text()) << "the window names what the panel shows";
         },
         "Propagation", "answered wrongly"},
        {"NRD-545 Update, another channel's reply", 4, sim::Fault::WrongChannel,
         [&](UsersLine &rig) {
             panel->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
             for (const sim::Fault f : {sim::Fault::None, sim::Fault::WrongChannel}) {
                 rig.pty->setFault(f); // answered first, so the failure is news
                 QTest::keyClick(panel->windowHandle(), Qt::Key_F5);
             }
             EXPECT_EQ(panel->txtFrequencyA->text(), QStringLiteral("?"));
         },
         "Error", "answered wrongly"},
    };
    panel = go();
    ASSERT_TRUE(panel);
    for (const Row &row : rows) {
        if (row.model != GetParam())
            continue;
        SCOPED_TRACE(row.name);
        DialogScript::shown.clear();
        row.run(*this);
        tavtest::pump(300);
        QList<ShownBox> told = DialogScript::shown;
        told.erase(std::remove_if(told.begin(), told.end(),
                                  [](const ShownBox &b) { return b.icon == MsgIcon::Question; }),
                   told.end());
        QString all;
        for (const ShownBox &b : DialogScript::shown)
            all += b.title + QStringLiteral(": ") + b.text + QStringLiteral(" | ");
        EXPECT_EQ(told.size(), 1) << all.toStdString();
        if (told.isEmpty())
            continue;
        EXPECT_EQ(told.first().title, QLatin1String(row.title));
        EXPECT_TRUE(told.first().text.contains(QLatin1String(row.says))) << told.first().text.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Receivers, UsersLine, ::testing::Values(1, 2, 4), modelName);
INSTANTIATE_TEST_SUITE_P(Jrc, ToldOnceLine, ::testing::Values(2, 4), modelName);
