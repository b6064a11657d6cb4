// The line at the receiver's pace and a receiver that misbehaves: paced writes
// take their wire time, stepping never outruns the line, and every fault the
// emulators can play (silence, garbage, another channel's reply, a hang-up)
// ends a read at once or within its bound, with one message.
#include "hub/app.h"
#include "core/comm.h"
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
    EXPECT_LT(t.elapsed(), 2000);
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
    t.restart();
    rx.Smeter(); // "M" CR out, then the four characters the read waits for: 12.5 ms
    EXPECT_TRUE(rx.lastReadOk());
    EXPECT_GE(t.elapsed(), 12);
    EXPECT_LT(t.elapsed(), 800);
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
            EXPECT_LT(t.elapsed(), 5000);
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
    QElapsedTimer t;
    t.start();
    rx.setAttenuator(1);
    rx.RxStatus();
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_LT(t.elapsed(), 1500) << "no per-byte waits on a dead line";
    ASSERT_TRUE(tavtest::waitFor([&] { return !line.lost.isEmpty(); }, 2000));
    EXPECT_TRUE(line.port.lost());
    EXPECT_FALSE(line.port.isOpen());
    EXPECT_TRUE(line.lost.first().contains(line.port.deviceName())) << line.lost.first().toStdString();

    // Nothing runs while nobody asks: no retry loop.
    const double cpu0 = cpuMs();
    tavtest::pump(500);
    EXPECT_LT(cpuMs() - cpu0, 250);

    t.restart();
    for (int i = 0; i < 20; ++i) {
        rx.setFrequencyA(7000 + i);
        EXPECT_TRUE(rx.Memory(int16_t(i)).isEmpty());
    }
    EXPECT_LT(t.elapsed(), 1000) << "no bracket pauses on a dead line either";
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
        QElapsedTimer t;
        t.start();
        bool answered = true;
        rx.readbyte(&answered);
        EXPECT_FALSE(answered);
        EXPECT_LT(t.elapsed(), 2000);
        line.pty.dropLine();
        t.restart();
        rx.setFrequencyA(7000);
        rx.readbyte(&answered);
        EXPECT_FALSE(answered);
        EXPECT_LT(t.elapsed(), 500);
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
        QElapsedTimer t;
        t.start();
        rx.Smeter(&answered);
        EXPECT_FALSE(answered);
        EXPECT_LT(t.elapsed(), 2000);
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
    QElapsedTimer t;
    t.start();
    frmAR7030 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    EXPECT_LT(t.elapsed(), 3000) << "one read's bound, not one per read";
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("does not answer")).isEmpty(); }));
    const QStringList told = messages(QStringLiteral("does not answer"));
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told.first().contains(QStringLiteral("COM 1"))) << told.first().toStdString();
    EXPECT_TRUE(told.first().contains(pty.slavePath())) << told.first().toStdString();
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("?"));

    t.restart();
    update(p);
    EXPECT_LT(t.elapsed(), 2000);
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
    QElapsedTimer t;
    t.start();
    update(p);
    update(p);
    EXPECT_LT(t.elapsed(), 1500);
    ASSERT_TRUE(tavtest::waitFor([&] { return !messages(QStringLiteral("was lost")).isEmpty(); }));
    tavtest::pump(100);
    EXPECT_EQ(DialogScript::shown.size(), 1) << "one message, and no silence message besides";
    const double cpu0 = cpuMs();
    tavtest::pump(300);
    EXPECT_LT(cpuMs() - cpu0, 150) << "a lost line does not spin";
    t.restart();
    p->cmdClose->click();
    EXPECT_FALSE(p->isLoadedForm());
    EXPECT_LT(t.elapsed(), 1000);
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
                             "nrd535:", "nrd545:", "rtty TEXT", "rx320:", "cwpitch HZ", "firmware TEXT"})
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

#include <QAction>
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
    tavtest::pump(300);
    EXPECT_EQ(p->txtFrequencyA->text(), stopped) << "no steps after the loss";
    EXPECT_LT(cpuMs() - cpu0, 150);
    ASSERT_EQ(DialogScript::shown.size(), 1);
    EXPECT_EQ(DialogScript::shown.first().text, lostText());
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

// A fetch that loses the line midway gives the one message about the loss;
// a tool used afterwards says that the line is closed, not that the receiver
// did not answer.
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
    EXPECT_EQ(DialogScript::shown.last().text, lostText());

    DialogScript::shown.clear();
    dialogs.answer(vbYes);
    mm->cmdFetch->click();
    tavtest::pump(100);
    ASSERT_EQ(DialogScript::shown.size(), 2);
    EXPECT_EQ(DialogScript::shown.last().title, QStringLiteral("Fetch Rx error"));
    EXPECT_EQ(DialogScript::shown.last().text, closedText());
}

INSTANTIATE_TEST_SUITE_P(WithMemories, MemoryPanelLine, ::testing::Values(1, 4), modelName);

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
    // Opens the Load dialog for `kind` and presses Return on it, as a key
    // from the window system; `whileOk` runs once inside OK's exchange.
    static void loadWithReturn(FileKind kind, const std::function<void(frmLoadfile *)> &whileOk = {},
                               bool byMouse = false)
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
        frmLoadfile::showFor(kind);
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
                 if (b.title != QLatin1String("RX Clock"))
                     EXPECT_FALSE(b.inExchange) << "the trace read nothing inside the clock read";
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
                     rig.emu->control(QStringLiteral("rtty de dl0xyz"));
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
    const Row rows[] = {
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
        {"NRD-545 Fetch RM, garbled", 4, sim::Fault::Garbage,
         [&](UsersLine &rig) {
             auto *mm = memman(rig);
             rig.pty->setFault(sim::Fault::Garbage);
             mm->cmdFetch->click();
         },
         "Fetch Rx error", "answered wrongly"},
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
         },
         "Propagation", "answered wrongly"},
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
