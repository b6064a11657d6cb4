// The AR7030 driver over a real serial line (a pseudo-terminal) to the
// emulated receiver, and to rxsim running as its own process.
#include "core/comm.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "drivers/clsAR7030.h"
#include "drivers/memrecord.h"
#include "sim/ar7030.h"
#include "sim/pty.h"
#include "support/rxsimprocess.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <cmath>
#include <gtest/gtest.h>

using namespace tav;

namespace {

struct Ar7030Line : ::testing::Test {
    tavtest::ScratchDir dir;
    sim::AR7030Emulator emu;
    sim::PtyHarness pty{emu};
    CommControl port;
    clsAR7030 rx{port};

    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        port.CommPort = 1;
        port.Settings = QStringLiteral("1200,N,8,1");
        ASSERT_TRUE(port.open()) << port.lastError().toStdString();
        G.ar7030fw = 14;
    }
    void TearDown() override { port.close(); }
};

} // namespace

TEST_F(Ar7030Line, EveryLetReadsBackAndTheReceiverActsOnIt)
{
    // The bottom of the range reads back inside it, not as 9.999 kHz.
    rx.setFrequencyA(clsAR7030::kFreqMin);
    EXPECT_EQ(rx.FrequencyA(), clsAR7030::kFreqMin);
    rx.setFrequencyA(9560);
    EXPECT_NEAR(rx.FrequencyA(), 9560.0, 0.003);
    EXPECT_NEAR(emu.tunedFrequencyHz(), 9560000.0, 3.0);

    rx.setMode(6);
    EXPECT_EQ(rx.Mode(), 6);
    rx.setBandwidth(2);
    EXPECT_EQ(rx.Bandwidth(), 2);
    rx.setAttenuator(4);
    EXPECT_EQ(rx.Attenuator(), 4);
    rx.setAgcspeed(2);
    EXPECT_EQ(rx.Agcspeed(), 2);
    rx.setPassBandShift(200);
    EXPECT_EQ(rx.PassBandShift(), 200);
    rx.setBeatfreqosc(17);
    EXPECT_EQ(rx.Beatfreqosc(), 17);
    rx.setSquelch(33);
    EXPECT_EQ(rx.Squelch(), 33);
    rx.setIfgain(50);
    EXPECT_EQ(rx.Ifgain(), 50);
    rx.setBass(-4);
    EXPECT_EQ(rx.Bass(), -4);
    rx.setTreble(4);
    EXPECT_EQ(rx.Treble(), 4);
    for (int v : {0, 37, 99}) {
        rx.setVolume(v);
        EXPECT_NEAR(rx.Volume(), v, 1);
        rx.setLeftauxlevel(v);
        EXPECT_NEAR(rx.Leftauxlevel(), v, 1);
        rx.setRightauxlevel(v);
        EXPECT_NEAR(rx.Rightauxlevel(), v, 1);
    }

    // What the receiver now does, not just what it stores.
    const auto &a = emu.applied();
    EXPECT_EQ(a.mode, 6);
    EXPECT_EQ(a.filter, 2);
    EXPECT_EQ(a.attenuator, 4);
    EXPECT_EQ(a.agc, 2);
    EXPECT_EQ(a.pbs, 200);
    EXPECT_EQ(a.bfo, 17);
    EXPECT_EQ(a.squelch, 33);
    EXPECT_EQ(a.ifgain, 66);
    EXPECT_EQ(a.bass, 11);
    EXPECT_EQ(a.treble, 8);
    EXPECT_EQ(a.volume & 63, 63);
    EXPECT_EQ(a.auxRight & 63, 63);
    EXPECT_EQ(emu.byteAt(0, 0x17), 33); // the squelch's second copy
    EXPECT_EQ(emu.unknownCommands(), 0);
    EXPECT_EQ(emu.outsideAccesses(), 0);

    // A write waits for no answer: give the receiver time to take the bytes.
    rx.setPowerOnOff(0);
    EXPECT_TRUE(tavtest::waitFor([&] { return !emu.applied().power; }));
    EXPECT_EQ(rx.PowerOnOff(), 0);
    rx.setPowerOnOff(1);
    EXPECT_TRUE(tavtest::waitFor([&] { return emu.applied().power; }));
    EXPECT_EQ(rx.PowerOnOff(), 1);
}

TEST_F(Ar7030Line, IdentFiltersAndMeter)
{
    const QString fw = rx.Firmware();
    EXPECT_EQ(fw, QStringLiteral("AR70314A"));
    EXPECT_EQ(fw.mid(5, 2).toInt(), 14);
    EXPECT_EQ(rx.Installedfilter(1), QStringLiteral("2.4"));
    EXPECT_EQ(rx.Installedfilter(5), QStringLiteral("9.5"));
    EXPECT_EQ(rx.Installedfilter(6), QStringLiteral("0.0"));
    emu.setSmeter(12.33);
    EXPECT_NEAR(rx.Smeter(), 12.33, 0.01);
    emu.setSmeter(3.4);
    EXPECT_NEAR(rx.Smeter(), 3.4, 0.01);
}

TEST_F(Ar7030Line, AllHundredChannelsRoundTrip)
{
    QStringList written;
    for (int n = 0; n <= clsAR7030::kLastChannel; ++n) {
        QString rec;
        if (n % 7 == 3) {
            rec = memEmptyRecord(n);
        } else {
            const double kHz = n == 0 ? clsAR7030::kFreqMin : 15.0 + n * 311.27 + (n % 10) * 0.01;
            rec = memAr7030Record(n, kHz, 1 + n % 7, 1 + n % 6, (n * 37) % 256, (n * 11) % 256, n % 2);
        }
        rx.setMemory(n, rec);
        written << rec;
    }
    for (int n = 0; n <= clsAR7030::kLastChannel; ++n) {
        bool answered = false;
        EXPECT_EQ(rx.Memory(n, &answered), written[n]) << "channel " << n;
        EXPECT_TRUE(answered);
    }
    // The receiver holds channel 5's empty value and channel 64's cells above 256.
    EXPECT_EQ(emu.byteAt(2, 4 * 3 + 3), 0x80);
    EXPECT_EQ(emu.byteAt(2, 4 * 64 + 3), (64 % 2 ? 0x80 : 0) | ((1 + 64 % 6) << 4) | (1 + 64 % 7));
    EXPECT_EQ(emu.byteAt(2, 0x190 + 64), (64 * 37) % 256);
    EXPECT_EQ(emu.byteAt(1, 0x9C + 99), (99 * 11) % 256);
    EXPECT_EQ(emu.outsideAccesses(), 0);
}

TEST_F(Ar7030Line, ClockSetsAndReadsBack)
{
    rx.setRxClock(QStringLiteral("07:08:09"));
    EXPECT_TRUE(tavtest::waitFor([&] { return emu.byteAt(1, 0x02) == 0x09; }));
    EXPECT_EQ(emu.byteAt(1, 0x04), 0x07);
    bool answered = false;
    EXPECT_EQ(rx.RxClock(&answered), QStringLiteral("07:08:09"));
    EXPECT_TRUE(answered);
    emu.advanceClock(3600 * 16 + 51 * 60 + 51);
    EXPECT_EQ(rx.RxClock(), QStringLiteral("00:00:00"));
}

TEST_F(Ar7030Line, ReceiverThatIsOffReadsZeroWithinTheBound)
{
    pty.setOff(true);
    qint64 runOut = waitCounts().runOut;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(rx.Mode(), 0);
    const qint64 one = t.elapsed();
    EXPECT_GE(one, 250);
    EXPECT_EQ(waitCounts().runOut, runOut + 1) << "one byte read, one bound";
    EXPECT_LT(one, 10000);

    runOut = waitCounts().runOut;
    t.restart();
    EXPECT_EQ(rx.FrequencyA(), 0.0);
    EXPECT_GE(t.elapsed(), 3 * 250);
    EXPECT_EQ(waitCounts().runOut, runOut + 3) << "three bytes read, three bounds";
    EXPECT_LT(t.elapsed(), 30000);

    EXPECT_EQ(rx.Smeter(), 0.0f);
    EXPECT_EQ(rx.Installedfilter(2), QStringLiteral("0.0"));

    // A channel never received is told apart from an empty one.
    bool answered = true;
    EXPECT_EQ(rx.Memory(5, &answered), memEmptyRecord(5));
    EXPECT_FALSE(answered);
    answered = true;
    rx.RxClock(&answered);
    EXPECT_FALSE(answered);

    // Nothing stops a write, and the receiver did take the bytes.
    pty.clearReceived();
    rx.setMode(3);
    EXPECT_TRUE(tavtest::waitFor([&] { return pty.received().size() >= 6; }));
    EXPECT_EQ(emu.applied().mode, 3);
}

TEST_F(Ar7030Line, FirmwareOfAnAbsentReceiverIsEightZeroCharacters)
{
    pty.setOff(true);
    const qint64 runOut = waitCounts().runOut;
    QElapsedTimer t;
    t.start();
    const QString fw = rx.Firmware();
    EXPECT_EQ(fw, QString(8, QChar(0)));
    EXPECT_GE(t.elapsed(), 8 * 250);
    EXPECT_EQ(waitCounts().runOut, runOut + 8);
    EXPECT_LT(t.elapsed(), 60000);
}

TEST_F(Ar7030Line, PacedAndChunkedRepliesReadCorrectly)
{
    pty.setPacingUsPerByte(8333);
    pty.setChunking(1, 10);
    rx.setFrequencyA(15000);
    EXPECT_NEAR(rx.FrequencyA(), 15000.0, 0.003);
    EXPECT_EQ(rx.Firmware(), QStringLiteral("AR70314A"));
    const QString rec = memAr7030Record(42, 7255.5, 5, 4, 1, 254, 0);
    rx.setMemory(42, rec);
    EXPECT_EQ(rx.Memory(42), rec);
}

#ifdef RXSIM_PATH
TEST(Ar7030Rxsim, SeparateProcessReportsTheTunedFrequency)
{
    tavtest::ScratchDir dir;
    tavtest::RxsimProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("ar7030")})) << sim.out.constData();

    G.datapath = dir.path();
    dir.write(QStringLiteral("comports.ini"), sim.device().toLatin1() + "\r\n");
    CommControl port;
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    clsAR7030 rx(port);
    rx.setFrequencyA(9560);

    EXPECT_TRUE(sim.saw("frequency_hz=")) << sim.out.constData();
    qint64 hz = -1;
    for (const QByteArray &l : sim.out.split('\n'))
        if (l.startsWith("frequency_hz="))
            hz = l.mid(13).trimmed().toLongLong();
    EXPECT_LE(std::llabs(hz - 9560000), 3) << hz;
    // It also answers: the frequency reads back through the same path.
    EXPECT_NEAR(rx.FrequencyA(), 9560.0, 0.003);
    EXPECT_TRUE(sim.saw("routine 1")) << sim.out.constData();
    port.close();
}
#endif
