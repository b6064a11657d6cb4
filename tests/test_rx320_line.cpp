// The RX-320 over a real serial line: the driver on a pseudo-terminal against
// the rx320 emulator, and rxsim as a separate process.
#include "core/comm.h"
#include "core/exchange.h"
#include "core/globals.h"
#include "core/tables.h"
#include "drivers/clsRX320.h"
#include "drivers/rx320calc.h"
#include "sim/pty.h"
#include "sim/rx320.h"
#include "support/rxsimprocess.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <cmath>
#include <gtest/gtest.h>

using namespace tav;
using tavtest::waitFor;

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out += char(uint8_t(b));
    return out;
}

// The emulator alone, fed as a serial line would split the stream.
struct Rx320Emu : ::testing::Test {
    sim::Rx320Emulator emu;
    QStringList log;
    QByteArray answers;
    QList<double> tunes;
    void SetUp() override
    {
        emu.log = [this](const QString &l) { log << l; };
        emu.send = [this](const QByteArray &b) { answers += b; };
        emu.frequencyChanged = [this](double hz) { tunes << hz; };
    }
    void feedByteByByte(const QByteArray &b)
    {
        for (char c : b)
            emu.feed(QByteArray(1, c));
    }
};

// The driver on Comm1-like port opened on the emulator's pseudo-terminal.
struct Rx320Line : ::testing::Test {
    tavtest::ScratchDir dir;
    sim::Rx320Emulator emu;
    sim::PtyHarness pty{emu};
    CommControl port;
    clsRX320 rx{port};

    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        port.CommPort = 1;
        port.Settings = QStringLiteral("1200,N,8,1");
        ASSERT_TRUE(port.open()) << port.lastError().toStdString();
        InitRX320();
    }
    bool settled(const std::function<bool()> &cond) { return waitFor(cond, 5000); }
};

} // namespace

// ---- the emulator's framing ----

TEST_F(Rx320Emu, FramesByLengthSoACarriageReturnInsideATuningCommandIsData)
{
    // 9433.75 kHz AM: the coarse low byte is 0x0D.
    feedByteByByte(bytes({'N', 0x55, 0x0D, 0x00, 0x00, 0x55, 0x50, 0x0D}) + "M0\r");
    EXPECT_EQ(emu.coarse(), 0x550D);
    EXPECT_EQ(emu.tunedFrequencyHz(), 9433750);
    EXPECT_EQ(emu.commandCount(), 2);
    EXPECT_EQ(emu.ignoredCount(), 0);
    EXPECT_EQ(tunes, QList<double>{9433750});
}

TEST_F(Rx320Emu, DecodesTheTuningWordsPerMode)
{
    emu.feed(bytes({'N', 0x55, 0xEF, 0x1A, 0xA4, 0x55, 0x52, 0x0D})); // 10 MHz AM, shift 1 Hz
    EXPECT_EQ(emu.tunedFrequencyHz(), 9999999) << "AM takes no BFO: the shift moves the carrier";
    EXPECT_NEAR(emu.bfoOffsetHz(), 1, 0.5);
    emu.feed(QByteArray("M1\r") + bytes({'N', 0x55, 0xF0, 0x09, 0x99, 0x67, 0x71, 0x0D})); // USB, 3000 Hz filter
    EXPECT_EQ(emu.mode(), 1);
    EXPECT_EQ(emu.tunedFrequencyHz(), 10000000);
    emu.feed(QByteArray("M2\r") + bytes({'N', 0x55, 0xEE, 0x2B, 0xB9, 0x67, 0x71, 0x0D})); // LSB
    EXPECT_EQ(emu.tunedFrequencyHz(), 10000000);
    EXPECT_TRUE(log.filter(QStringLiteral("tuned to 9999999 Hz AM")).size() == 1) << log.join('\n').toStdString();
    // CW: the carrier heard at the pitch, whatever part of the BFO offset is shift.
    emu.setCwPitch(1000);
    emu.feed(QByteArray("M3\r") + bytes({'N', 0x55, 0xEE, 0x2B, 0xB9, 0x65, 0x6A, 0x0D}));
    const double lsbSide = (emu.coarse() - 18000) * 2500.0 + emu.fine() / 5.46 + 1250 + emu.bfoOffsetHz();
    EXPECT_NEAR(emu.tunedFrequencyHz(), lsbSide - 1000, 1);
    // A tuning command for a new mode sent ahead of the mode itself is
    // reported once, as the pair tunes, never as the passing mix.
    tunes.clear();
    emu.feed(bytes({'N', 0x55, 0xEF, 0x1A, 0xA4, 0x55, 0x52, 0x0D}) + "M0\r");
    EXPECT_EQ(tunes, QList<double>{9999999});
    // "C" sets speaker and line level together.
    emu.feed(QByteArray("C") + char(0x7F) + char(20) + '\r');
    EXPECT_EQ(emu.volumeLevel(), 20);
    EXPECT_EQ(emu.lineLevel(), 20);
}

TEST_F(Rx320Emu, AnswersQueriesAndIgnoresUnknownCommands)
{
    emu.setSmeterReading(1000);
    emu.feed("Z12\rX\r?\r");
    EXPECT_EQ(answers, bytes({'X', 0x03, 0xE8, 0x0D}) + "VER 1.06\r");
    EXPECT_EQ(emu.ignoredCount(), 1);
    EXPECT_TRUE(log.first().startsWith(QStringLiteral("unknown command Z12<0d>"))) << log.first().toStdString();
    EXPECT_EQ(log.size(), 3);
}

TEST_F(Rx320Emu, ControlsFromRxsim)
{
    EXPECT_TRUE(emu.control(QStringLiteral("smeter 300")));
    EXPECT_TRUE(emu.control(QStringLiteral("firmware RX320 V2")));
    EXPECT_FALSE(emu.control(QStringLiteral("smeter 70000")));
    EXPECT_FALSE(emu.control(QStringLiteral("dial 10000000")));
    emu.feed("X\r?\r");
    EXPECT_EQ(answers, bytes({'X', 0x01, 0x2C, 0x0D}) + "RX320 V2\r");
}

// ---- driver and emulator over the line ----

TEST_F(Rx320Line, EveryWriteReachesTheReceiver)
{
    rx.setFrequencyA(10000);
    ASSERT_TRUE(settled([&] { return emu.tunedFrequencyHz() == 10000000; }));
    rx.setMode(1);
    ASSERT_TRUE(settled([&] { return emu.mode() == 1; }));
    rx.setBandwidth(10);
    ASSERT_TRUE(settled([&] { return emu.filter() == 10 && emu.commandCount() == 5; }));
    EXPECT_EQ(emu.tunedFrequencyHz(), 10000000) << "USB retuned for the new filter";
    EXPECT_NEAR(emu.bfoOffsetHz(), 1700, 1);
    rx.setPassBandShift(100);
    ASSERT_TRUE(settled([&] { return emu.commandCount() == 6; }));
    EXPECT_NEAR(emu.bfoOffsetHz(), 1800, 1);
    EXPECT_EQ(emu.tunedFrequencyHz(), 10000000);
    rx.setPassBandShift(0);
    rx.setMode(3);
    rx.setBeatfreqosc(800);
    ASSERT_TRUE(settled([&] { return emu.mode() == 3 && emu.commandCount() == 10; }));
    EXPECT_NEAR(emu.bfoOffsetHz(), 800, 1);
    EXPECT_EQ(emu.tunedFrequencyHz(), 10000000);
    rx.setAgcspeed(1);
    rx.setVolume(50);
    rx.setLinelevel(99);
    ASSERT_TRUE(settled([&] { return emu.commandCount() == 13; }));
    EXPECT_EQ(emu.agc(), 1);
    EXPECT_EQ(emu.volumeLevel(), 18);
    EXPECT_EQ(emu.lineLevel(), 0);
    // A tuning command with 0x0D inside it.
    rx.setMode(0);
    rx.setFrequencyA(9433.75);
    ASSERT_TRUE(settled([&] { return emu.tunedFrequencyHz() == 9433750; }));
    EXPECT_EQ(emu.ignoredCount(), 0);
}

TEST_F(Rx320Line, CorrectedFrequenciesComeOutAtTheCalibratedOffset)
{
    G.setupdata[20] = 100;
    G.setupdata[21] = 300;
    for (double kHz : {100.0, 5000.0, 10000.0, 25000.0, 30000.0}) {
        const double expected = kHz * 1000 + rx320::correctionHz(kHz * 1000, 100, 300);
        rx.setFrequencyA(kHz);
        ASSERT_TRUE(settled([&] { return emu.tunedFrequencyHz() == expected; })) << kHz;
    }
}

TEST_F(Rx320Line, AmSitsOnThePanelsFrequencyWhateverTheShift)
{
    rx.setMode(0);
    for (int shift : {-2000, -700, 0, 300, 2000}) {
        rx.setPassBandShift(shift);
        for (double kHz : {6095.0, 15400.0}) {
            rx.setFrequencyA(kHz);
            EXPECT_EQ(G.rx320freq, kHz);
            ASSERT_TRUE(settled([&] { return emu.tunedFrequencyHz() == kHz * 1000; }))
                << shift << " Hz shift: tuned " << emu.tunedFrequencyHz() << " for " << kHz;
        }
    }
}

TEST_F(Rx320Line, SmeterAndFirmware)
{
    emu.setSmeterReading(1000);
    EXPECT_NEAR(rx.Smeter(), 9.67, 0.005);
    emu.setSmeterReading(0);
    EXPECT_EQ(rx.Smeter(), 0.0f);
    EXPECT_EQ(rx.Firmware(), QStringLiteral("VER 1.06"));
}

TEST_F(Rx320Line, RepliesInPiecesAtLineSpeedAreCollectedWhole)
{
    pty.setPacingUsPerByte(8333);
    pty.setChunking(2, 40);
    emu.setFirmware("RX320 FIRMWARE 1.06");
    emu.setSmeterReading(0x0D0D);
    EXPECT_EQ(rx.Firmware(), QStringLiteral("RX320 FIRMWARE 1.06"));
    EXPECT_NEAR(rx.Smeter(), std::log(double(0x0D0D)) * 1.4, 0.005);
}

TEST_F(Rx320Line, ReceiverSwitchedOffReturnsWithinTheBound)
{
    pty.setOff(true);
    const qint64 runOut = waitCounts().runOut;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(rx.Smeter(), 0.0f);
    EXPECT_EQ(rx.Firmware(), QString());
    EXPECT_EQ(waitCounts().runOut, runOut + 2) << "one bound for each read";
    EXPECT_LT(t.elapsed(), 60000);
}

#ifdef RXSIM_PATH
TEST(Rx320Rxsim, ServesTheReceiverAndReportsTheTunedFrequency)
{
    tavtest::ScratchDir dir;
    tavtest::RxsimProcess sim;
    ASSERT_TRUE(sim.start({QStringLiteral("rx320")})) << sim.out.constData();

    G.datapath = dir.path();
    dir.write(QStringLiteral("comports.ini"), sim.device().toLatin1() + "\r\n");
    InitRX320();
    CommControl port;
    ASSERT_TRUE(port.open()) << port.lastError().toStdString();
    clsRX320 rx(port);
    rx.setFrequencyA(10000);
    EXPECT_TRUE(sim.saw("frequency_hz=10000000\n")) << sim.out.toStdString();
    EXPECT_TRUE(sim.out.contains("N coarse=21999")) << sim.out.toStdString();
    EXPECT_EQ(rx.Firmware(), QStringLiteral("VER 1.06"));
    port.close();
    sim.command("quit");
    EXPECT_TRUE(sim.proc.waitForFinished(10000));
}
#endif
