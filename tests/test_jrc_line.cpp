// The JRC drivers end to end: Comm1 on a pseudo-terminal served by the
// NRD-535 and NRD-545 emulators.
#include "core/comm.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace tav;

namespace {

template <class Emu>
struct Line {
    tavtest::ScratchDir dir;
    Emu emu;
    sim::PtyHarness pty{emu};
    CommControl port;
    Line()
    {
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        port.CommPort = 1;
        port.Settings = QStringLiteral("4800,N,8,1");
        EXPECT_TRUE(port.open()) << port.lastError().toStdString();
    }
    // Lets the emulator take what was written last.
    void settle() { tavtest::pump(30); }
};

// The commands the program sent, each without its CR, with the arrival time
// of its first byte.
QList<QPair<QString, qint64>> commands(const sim::PtyHarness &pty)
{
    QList<QPair<QString, qint64>> out;
    const QByteArray b = pty.received();
    const QVector<qint64> t = pty.receivedTimes();
    int start = 0;
    for (int i = 0; i < b.size(); ++i)
        if (b[i] == '\r') {
            out.append({QString::fromLatin1(b.mid(start, i - start)), t.value(start)});
            start = i + 1;
        }
    return out;
}

QString rec535(int ch, qint64 hz, int mode, int bw, int att, int agc)
{
    return QStringLiteral("MEM%1 %2 %3 0%4 %5 %6 @@@ @@@ @ ")
        .arg(ch, 3, 10, QLatin1Char('0'))
        .arg(hz, 8, 10, QLatin1Char('0'))
        .arg(mode)
        .arg(bw)
        .arg(att)
        .arg(agc);
}

QString emptyRec(int ch) { return QStringLiteral("XXX%1 No data  @ @@ @ @ @@@ @@@ @ ").arg(ch, 3, 10, QLatin1Char('0')); }

} // namespace

// ----------------------------------------------------------------- NRD-535

TEST(Nrd535Line, WritesChangeTheReceiverAndTheStatusReadsThemBack)
{
    Line<sim::Nrd535Emulator> line;
    clsNRD535 rx(line.port);
    rx.setLockonoff(1);
    rx.setAttenuator(1);
    rx.setBandwidth(2);
    rx.setMode(3);
    rx.setAgcspeed(2);
    rx.setFrequencyA(15432.1);
    EXPECT_EQ(rx.RxStatus(), "X123154321002");
    EXPECT_EQ(G.rxstatustext, "X123154321002");
    EXPECT_EQ(rx.Attenuator(), 1);
    EXPECT_EQ(rx.Bandwidth(), 2);
    EXPECT_EQ(rx.Mode(), 3);
    EXPECT_EQ(rx.Agcspeed(), 2);
    EXPECT_DOUBLE_EQ(rx.FrequencyA(), 15432.1);
    EXPECT_EQ(line.emu.memory[199].hz, 15432100) << "the status goes through the scratch channel";

    rx.setRxStatus("X014096500001");
    EXPECT_EQ(rx.RxStatus(), "X014096500001");

    rx.setNoiseblanker(2);
    rx.setBandwidthcontrol(1234);
    rx.setPassBandShift(-50);
    rx.setRttyOnOff(1);
    rx.setPowerOnOff(0);
    rx.setTimerrelaysonoff(1);
    rx.setRttyParameters("0170");
    rx.setUserdefs(1, 1);
    rx.setUserdefs(2, -120);
    line.settle();
    EXPECT_EQ(line.emu.noiseblanker, 2);
    EXPECT_EQ(line.emu.bandwidthControl, 1234);
    EXPECT_EQ(line.emu.passbandShift, -50);
    EXPECT_EQ(line.emu.rtty, 1);
    EXPECT_EQ(line.emu.power, 0);
    EXPECT_EQ(line.emu.timerRelay, 1);
    EXPECT_EQ(line.emu.rttyParameters, "0170");
    EXPECT_EQ(line.emu.userSettings.value(1), "0") << "VBT bypass on is the receiver's item 1 off";
    EXPECT_EQ(line.emu.userSettings.value(2), "-0120");
    EXPECT_TRUE(line.emu.unknown.isEmpty()) << line.emu.unknown.join(',').toStdString();

    // Selecting a channel makes the receiver take its setting.
    rx.setMemory(17, rec535(17, 7205000, 4, 0, 0, 1));
    rx.setRx2Mem(17);
    EXPECT_DOUBLE_EQ(rx.FrequencyA(), 7205.0);

    rx.setLockonoff(0);
    line.settle();
    EXPECT_FALSE(line.emu.remote);
}

TEST(Nrd535Line, EveryChannelRoundTripsIncludingEmptyOnes)
{
    Line<sim::Nrd535Emulator> line;
    clsNRD535 rx(line.port);
    rx.setLockonoff(1);
    QStringList written;
    for (int ch = 0; ch <= 199; ++ch) {
        QString r;
        if (ch % 7 == 3)
            r = emptyRec(ch);
        else if (ch == 199)
            r = rec535(ch, 29999999, 2, 1, 0, 0);
        else
            r = rec535(ch, 10000 + qint64(ch) * 149971, ch % 9, ch % 4, ch % 2, ch % 3);
        written << r;
        rx.setMemory(int16_t(ch), r);
    }
    for (int ch = 0; ch <= 199; ++ch) {
        EXPECT_EQ(rx.Memory(int16_t(ch)), written[ch]) << ch;
        ASSERT_TRUE(rx.lastReadOk()) << ch;
    }
    // A used channel written empty is cleared.
    rx.setMemory(5, emptyRec(5));
    EXPECT_EQ(rx.Memory(5), emptyRec(5));
}

TEST(Nrd535Line, ClockAndSmeter)
{
    Line<sim::Nrd535Emulator> line;
    clsNRD535 rx(line.port);
    rx.setRxClock("21:43:10");
    const QString t = rx.RxClock();
    ASSERT_EQ(t.size(), 8) << t.toStdString();
    EXPECT_TRUE(t.startsWith("21:43:1")) << t.toStdString();

    const std::pair<int, float> cases[] = {{137, 2.64f}, {125, 4.32f}, {113, 6.0f}, {100, 9.25f}, {85, 13.0f},
                                           {60, 18.0f},  {200, 0.0f}};
    for (auto [raw, s] : cases) {
        ASSERT_TRUE(line.emu.control(QStringLiteral("smeter %1").arg(raw)));
        EXPECT_NEAR(rx.Smeter(), s, 1e-4) << raw;
    }
}

TEST(Nrd535Line, RemoteSwitchingIsSpacedBy50ms)
{
    // The spacing is the sender's: the times are taken as each command is
    // handed to the port, so a busy machine that reads the emulator's side
    // late cannot make two commands look closer than they were sent.
    struct TimedPort : CommControl {
        QElapsedTimer clock;
        QList<qint64> sent;
        bool Output(const QByteArray &bytes) override
        {
            sent << clock.elapsed();
            return CommControl::Output(bytes);
        }
    };
    tavtest::ScratchDir dir;
    sim::Nrd535Emulator emu;
    sim::PtyHarness pty{emu};
    G.datapath = dir.path();
    dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
    TimedPort port;
    port.CommPort = 1;
    port.Settings = QStringLiteral("4800,N,8,1");
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    port.clock.start();
    clsNRD535 rx(port);
    rx.setAttenuator(1);
    tavtest::pump(30);
    const auto cmds = commands(pty);
    ASSERT_EQ(cmds.size(), 5);
    ASSERT_EQ(port.sent.size(), 5);
    const QStringList names = {"H1", "H1", "A1", "H0", "H0"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(cmds[i].first, names[i]);
    // 50 ms after each H1 and before each H0; a loaded machine may stretch a gap, never shrink it.
    for (int i : {1, 2, 3, 4}) {
        const qint64 gap = port.sent[i] - port.sent[i - 1];
        EXPECT_GE(gap, 48) << i;
        EXPECT_LT(gap, 1500) << i;
    }
    EXPECT_EQ(emu.cur.att, 1);
    EXPECT_FALSE(emu.remote) << "back in local after the command";

    // Held: the command alone.
    pty.clearReceived();
    rx.setLockonoff(1);
    tavtest::pump(30);
    pty.clearReceived();
    rx.setAttenuator(0);
    tavtest::pump(30);
    EXPECT_EQ(pty.received(), QByteArray("A0\r"));
}

TEST(Nrd535Line, ReceiverInLocalIgnoresTheUnbracketedSettings)
{
    Line<sim::Nrd535Emulator> line;
    clsNRD535 rx(line.port);
    rx.setPassBandShift(100);
    rx.setBandwidthcontrol(2000);
    line.settle();
    EXPECT_EQ(line.emu.passbandShift, 0);
    EXPECT_EQ(line.emu.bandwidthControl, 0);
    EXPECT_EQ(line.emu.ignored, QStringList({"P+0100", "W2000"}));
    // Queries are still answered in local.
    line.emu.smeterRaw = 113;
    EXPECT_NEAR(rx.Smeter(), 6.0f, 1e-4);

    // In remote the knob is locked: a turn moves and reports nothing.
    QStringList log;
    line.emu.log = [&](const QString &l) { log << l; };
    rx.setLockonoff(1);
    line.settle();
    line.emu.reporting = true;
    line.emu.dial(7100000);
    line.settle();
    EXPECT_TRUE(line.emu.cur.hz != 7100000 && line.port.InBufferCount() == 0);
    EXPECT_EQ(log.last(), QStringLiteral("dial 7100000  ignored (remote)"));
    line.emu.log = nullptr;
}

TEST(Nrd535Line, ReceiverThatIsOffNeverHangsTheProgram)
{
    Line<sim::Nrd535Emulator> line;
    line.pty.setOff(true);
    clsNRD535 rx(line.port);
    const qint64 runOut = waitCounts().runOut;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(rx.RxStatus(), QString());
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_EQ(rx.Mode(), 0);
    EXPECT_EQ(rx.Smeter(), 0.0f);
    EXPECT_EQ(rx.Memory(12), QString());
    EXPECT_EQ(rx.RxClock(), QString());
    EXPECT_EQ(waitCounts().runOut - runOut, 5) << "one bound for each read";
    EXPECT_LT(t.elapsed(), 120000);
    EXPECT_EQ(G.jrcbusy, 0);
    line.settle();
    const auto cmds = commands(line.pty);
    ASSERT_GE(cmds.size(), 2);
    EXPECT_EQ(cmds.last().first, "H0") << "the bracket closed";
    EXPECT_EQ(cmds[cmds.size() - 2].first, "H0");
}

TEST(Nrd535Line, RepliesInSmallChunks)
{
    Line<sim::Nrd535Emulator> line;
    line.pty.setChunking(3, 4);
    clsNRD535 rx(line.port);
    rx.setLockonoff(1);
    rx.setMemory(42, rec535(42, 9650000, 4, 0, 0, 1));
    EXPECT_EQ(rx.Memory(42), rec535(42, 9650000, 4, 0, 0, 1));
    EXPECT_EQ(rx.Memory(43), emptyRec(43));
    EXPECT_EQ(rx.RxStatus(), "X004100000001");
    EXPECT_EQ(rx.RxClock().size(), 8);
    line.emu.smeterRaw = 100;
    EXPECT_NEAR(rx.Smeter(), 9.25f, 1e-4);
}

// ----------------------------------------------------------------- NRD-545

TEST(Nrd545Line, WritesChangeTheReceiverAndReadsReturnThem)
{
    Line<sim::Nrd545Emulator> line;
    clsNRD545 rx(line.port);
    rx.setLockonoff(1);
    rx.setAttenuator(1);
    rx.setBandwidth(2);
    rx.setMode(5);
    rx.setAgcspeed(4);
    rx.setFrequencyA(29999.999);
    EXPECT_EQ(rx.RxStatus(), "X125299999994");
    EXPECT_EQ(rx.Attenuator(), 1);
    EXPECT_EQ(rx.Mode(), 5);
    EXPECT_EQ(rx.Agcspeed(), 4);
    EXPECT_DOUBLE_EQ(rx.FrequencyA(), 29999.999);
    EXPECT_FALSE(line.emu.channelMode) << "the status exchange leaves frequency mode as it was";
    rx.setAgcspeed(0);
    EXPECT_EQ(rx.RxStatus().right(1), "0") << "AGC off";

    rx.setBandwidthcontrol(45);
    rx.setPassBandShift(-50);
    rx.setIfgain(120);
    rx.setSquelch(7);
    rx.setTone(99);
    rx.setVolume(255);
    EXPECT_EQ(rx.Bandwidthcontrol(), 45);
    EXPECT_EQ(rx.Bandwidthcontrolxxx(), 45);
    EXPECT_EQ(rx.PassBandShift(), -50);
    EXPECT_EQ(rx.PassBandShiftxxx(), -50);
    EXPECT_EQ(rx.Ifgain(), 120);
    EXPECT_EQ(rx.Squelch(), 7);
    EXPECT_EQ(rx.Tone(), 99);
    EXPECT_EQ(rx.Volume(), 255);

    rx.setNb(0, 2);
    rx.setNb(1, 40);
    rx.setNt(0, 1);
    rx.setNt(1, -250);
    rx.setNrbc(0, 3);
    rx.setNrbc(1, 5);
    rx.setNrbc(2, 12);
    EXPECT_EQ(rx.nb(0), 2);
    EXPECT_EQ(rx.nb(1), 40);
    EXPECT_EQ(rx.nt(1), -250);
    EXPECT_EQ(line.emu.notch, 1);
    EXPECT_EQ(line.emu.nrbc, 3);
    EXPECT_EQ(line.emu.nrLevel, 5);
    EXPECT_EQ(line.emu.bcLevel, 12);

    rx.setEcss(2);
    rx.setRttyOnOff(1);
    rx.setPowerOnOff(0);
    rx.setTimerrelaysonoff(1);
    rx.setRttyParameters("4512");
    rx.setUserdefs(14, -100);
    rx.setUserdefs(20, 5);
    rx.setUserdefs(3, 2);
    rx.FreqOrChan(0);
    line.settle();
    EXPECT_EQ(line.emu.ecss, 2);
    EXPECT_EQ(line.emu.rtty, 1);
    EXPECT_EQ(line.emu.power, 0);
    EXPECT_EQ(line.emu.timerRelay, 1);
    EXPECT_EQ(line.emu.rttyParameters, "4512");
    EXPECT_EQ(line.emu.userSettings.value(14), "-0100");
    EXPECT_EQ(line.emu.userSettings.value(20), "05");
    EXPECT_EQ(line.emu.userSettings.value(3), "2");
    EXPECT_TRUE(line.emu.channelMode);
    EXPECT_TRUE(line.emu.unknown.isEmpty()) << line.emu.unknown.join(',').toStdString();

    rx.setRxStatus("X014096500003");
    EXPECT_EQ(rx.RxStatus(), "X014096500003");
    rx.setLockonoff(0);
}

TEST(Nrd545Line, EveryChannelRoundTripsIncludingEmptyOnes)
{
    Line<sim::Nrd545Emulator> line;
    clsNRD545 rx(line.port);
    rx.setLockonoff(1);
    QStringList expected;
    for (int ch = 0; ch <= 999; ++ch) {
        if (ch % 11 == 4) {
            // Never written: the receiver answers "V".
            expected << emptyRec(ch);
            continue;
        }
        const qint64 hz = ch == 999 ? 29999999 : 10000 + qint64(ch) * 29989;
        const QString r = rec535(ch, hz, ch % 10, ch % 3, ch % 2, 1 + ch % 9);
        rx.setMemory(int16_t(ch), r);
        expected << r;
    }
    for (int ch = 0; ch <= 999; ++ch) {
        EXPECT_EQ(rx.Memory(int16_t(ch)), expected[ch]) << ch;
        ASSERT_TRUE(rx.lastReadOk()) << ch;
    }
}

TEST(Nrd545Line, ClockToTheMinuteSmeterAndSilence)
{
    Line<sim::Nrd545Emulator> line;
    clsNRD545 rx(line.port);
    rx.setRxClock("07:08");
    const QString t = rx.RxClock();
    EXPECT_TRUE(t.startsWith("07:08:0")) << t.toStdString();

    const std::pair<int, float> cases[] = {{28, 0.0f}, {34, 1.0f}, {83, 9.1667f}, {100, 10.5469f}, {250, 19.0f}};
    for (auto [raw, s] : cases) {
        line.emu.smeterRaw = raw;
        EXPECT_NEAR(rx.Smeter(), s, 1e-3) << raw;
    }

    line.pty.setOff(true);
    const qint64 runOut = waitCounts().runOut;
    QElapsedTimer el;
    el.start();
    EXPECT_EQ(rx.RxStatus(), QString());
    EXPECT_EQ(rx.Volume(), 0);
    EXPECT_EQ(rx.nb(1), 0);
    EXPECT_DOUBLE_EQ(rx.FrequencyA(), 0);
    EXPECT_EQ(rx.Memory(3), QString());
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_EQ(G.jrcbusy, 0);
    EXPECT_EQ(waitCounts().runOut - runOut, 5) << "one bound for each read";
    EXPECT_LT(el.elapsed(), 120000);
}

TEST(Nrd545Line, RepliesInSmallChunksAndLocalIgnoring)
{
    Line<sim::Nrd545Emulator> line;
    line.pty.setChunking(2, 3);
    clsNRD545 rx(line.port);
    rx.setVolume(77); // bracketed: reaches the receiver
    rx.setTone(50);
    rx.setPassBandShift(30); // unbracketed: the receiver is in local
    EXPECT_EQ(rx.Volume(), 77);
    EXPECT_EQ(rx.Tone(), 50);
    EXPECT_EQ(rx.PassBandShift(), 0);
    EXPECT_EQ(line.emu.ignored, QStringList({"P+030"}));
    EXPECT_EQ(rx.RxStatus(), "X004100000003");
    EXPECT_EQ(rx.Memory(10), emptyRec(10));
}
