// The RX-320 driver byte by byte on an in-memory port: tuning words, the
// writes that retune, the order of their events, audio levels and S-meter.
#include "core/exchange.h"
#include "core/globals.h"
#include "core/tables.h"
#include "drivers/clsRX320.h"
#include "drivers/rx320calc.h"
#include "support/fakeport.h"

#include <QElapsedTimer>
#include <QStringList>
#include <gtest/gtest.h>

using namespace tav;

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out += char(uint8_t(b));
    return out;
}

rx320::TuningInput am(double kHz, int pbs = 0)
{
    rx320::TuningInput in;
    in.kHz = kHz;
    in.pbs = pbs;
    return in;
}

// A driver on a fake port, in the state the panel leaves at start:
// RX-320 tables filled, AM, no shift, tuned nowhere yet.
struct Rx320Driver : ::testing::Test {
    tavtest::FakePort port;
    clsRX320 rx{port};
    QStringList events;

    void SetUp() override
    {
        InitRX320();
        auto rec = [this](const char *name) {
            return [this, name](auto v) { events << QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(v); };
        };
        QObject::connect(&rx, &clsRX320::FrequencyAChanged, rec("FrequencyAChanged"));
        QObject::connect(&rx, &clsRX320::BandwidthChanged, rec("BandwidthChanged"));
        QObject::connect(&rx, &clsRX320::ModeChanged, rec("ModeChanged"));
        QObject::connect(&rx, &clsRX320::AgcspeedChanged, rec("AgcspeedChanged"));
        QObject::connect(&rx, &clsRX320::VolumeChanged, rec("VolumeChanged"));
        QObject::connect(&rx, &clsRX320::LinelevelChanged, rec("LinelevelChanged"));
        QObject::connect(&rx, &clsRX320::PassbandshiftChanged, rec("PassbandshiftChanged"));
        QObject::connect(&rx, &clsRX320::BeatfreqoscChanged, rec("BeatfreqoscChanged"));
    }
    void tuneQuietly(double kHz)
    {
        rx.setFrequencyA(kHz);
        port.written.clear();
        port.writes.clear();
        events.clear();
    }
};

} // namespace

// ---- tuning arithmetic ----

TEST(Rx320Tuning, TenMegahertzAmWithOneHertzShift)
{
    // AM takes no mode correction: the shift leaves the tuning words alone.
    EXPECT_EQ(*rx320::tuningCommand(am(10000, 1)), bytes({'N', 0x55, 0xEF, 0x1A, 0xA9, 0x55, 0x52, 0x0D}));
    EXPECT_DOUBLE_EQ(rx320::tuningWords(am(10000, 1))->adj, 9998750);
    EXPECT_DOUBLE_EQ(rx320::tuningWords(am(10000, -2000))->adj, 9998750);
}

TEST(Rx320Tuning, CorrectionLineThroughBothCalibrationPointsAndBeyond)
{
    EXPECT_EQ(rx320::correctionHz(10e6, 100, 300), 200);
    EXPECT_EQ(rx320::correctionHz(5e6, 100, 300), 100);
    EXPECT_EQ(rx320::correctionHz(15e6, 100, 300), 300);
    EXPECT_EQ(rx320::correctionHz(25e6, 100, 300), 500);
    EXPECT_EQ(rx320::correctionHz(1e6, 100, 300), 20);
    // Rounded towards minus infinity, also below zero.
    EXPECT_EQ(rx320::correctionHz(6e6, 0, -5), -1);
    EXPECT_EQ(rx320::correctionHz(6e6, 0, 5), 0);

    rx320::TuningInput in = am(10000);
    in.c5 = 100;
    in.c15 = 300;
    // adj = 10 000 000 + 200 - 1250: coarse 21999, fine 1450 * 5.46 = 7917, BFO 21840
    EXPECT_EQ(*rx320::tuningCommand(in), bytes({'N', 0x55, 0xEF, 0x1E, 0xED, 0x55, 0x50, 0x0D}));
}

TEST(Rx320Tuning, SidebandAndCwFormulas)
{
    rx320::TuningInput usb = am(10000);
    usb.mode = 1;
    usb.filter = 10; // 3000 Hz: carrier offset 1700
    EXPECT_EQ(*rx320::tuningCommand(usb), bytes({'N', 0x55, 0xF0, 0x09, 0x99, 0x67, 0x71, 0x0D}));
    rx320::TuningInput lsb = usb;
    lsb.mode = 2; // adj 9 997 050: coarse 21998, fine 2050 * 5.46 = 11193
    EXPECT_EQ(*rx320::tuningCommand(lsb), bytes({'N', 0x55, 0xEE, 0x2B, 0xB9, 0x67, 0x71, 0x0D}));
    rx320::TuningInput cw = am(10000);
    cw.mode = 3;
    cw.bfo = 800; // BFO word (800 + 8000) * 2.73 = 24024
    EXPECT_EQ(*rx320::tuningCommand(cw), bytes({'N', 0x55, 0xEF, 0x1A, 0xA9, 0x5D, 0xD8, 0x0D}));
    rx320::TuningInput odd = am(10000);
    odd.mode = 4;
    EXPECT_FALSE(rx320::tuningCommand(odd).has_value()) << "no receiver mode to compute for";
}

TEST(Rx320Tuning, CarriageReturnInsideTheCommand)
{
    // 9433.75 kHz AM: coarse 0x550D, fine 0.
    EXPECT_EQ(*rx320::tuningCommand(am(9433.75)), bytes({'N', 0x55, 0x0D, 0x00, 0x00, 0x55, 0x50, 0x0D}));
}

TEST(Rx320Tuning, HalfHertzOnAStepBoundaryKeepsCoarseAndFineTogether)
{
    // USB with the 675 Hz filter: adj = 9 999 999.5, which rounds to exactly
    // 4000 steps; the coarse word must then say 4000 steps too, not 3999.
    rx320::TuningInput in = am(10000.712);
    in.mode = 1;
    in.filter = 26;
    const auto w = rx320::tuningWords(in);
    ASSERT_TRUE(w.has_value());
    EXPECT_EQ(w->coarse, 22000);
    EXPECT_DOUBLE_EQ(w->fine, 0);
}

TEST(Rx320Tuning, EveryByteStaysWithinZeroTo255)
{
    EXPECT_EQ(rx320::tuningCommand(am(10000, -20000))->mid(5, 2), bytes({0x00, 0x00}));
    EXPECT_EQ(rx320::tuningCommand(am(10000, 30000))->mid(5, 2), bytes({0xFF, 0xFF}));
    rx320::TuningInput wild = am(30000);
    wild.c5 = -3e9f;
    wild.c15 = 3e9f;
    EXPECT_EQ(rx320::tuningCommand(wild)->size(), 8);
    // Fine words whose low part rounds up to 256 are capped, not wrapped to 0.
    for (double kHz = 10000; kHz < 10002.5; kHz += 0.001) {
        const QByteArray cmd = *rx320::tuningCommand(am(kHz));
        ASSERT_EQ(cmd.size(), 8);
        const auto w = rx320::tuningWords(am(kHz));
        const int fine = uint8_t(cmd[3]) * 256 + uint8_t(cmd[4]);
        ASSERT_LE(std::abs(fine - w->fine), 1.0) << kHz;
    }
}

TEST(Rx320Tuning, AudioLevelsAndSmeter)
{
    EXPECT_EQ(rx320::audioLevel(99), 0);
    EXPECT_EQ(rx320::audioLevel(50), 18);
    EXPECT_EQ(rx320::audioLevel(0), 63);
    EXPECT_EQ(rx320::audioLevel(-7), 63);
    EXPECT_EQ(rx320::audioLevel(150), 0);

    EXPECT_NEAR(rx320::smeterUnits(bytes({'X', 0x03, 0xE8, 0x0D})), 9.67, 0.005);
    EXPECT_EQ(rx320::smeterUnits(bytes({'X', 0x00, 0x01, 0x0D})), 0.0f);
    EXPECT_EQ(rx320::smeterUnits(bytes({'X', 0x00, 0x00, 0x0D})), 0.0f);
    EXPECT_NEAR(rx320::smeterUnits(bytes({'X', 0xFF, 0xFF, 0x0D})), 15.53, 0.005);
    EXPECT_EQ(rx320::smeterUnits("X"), 0.0f);
}

TEST(Rx320Tuning, ModeLetters)
{
    EXPECT_EQ(rx320::modeLetter(0), QStringLiteral("a"));
    EXPECT_EQ(rx320::modeLetter(1), QStringLiteral("u"));
    EXPECT_EQ(rx320::modeLetter(2), QStringLiteral("l"));
    EXPECT_EQ(rx320::modeLetter(3), QStringLiteral("c"));
    EXPECT_EQ(rx320::modeLetter(4), QString());
    const auto a = rx320::settingForLetter(QStringLiteral("A"));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->mode, 0);
    EXPECT_EQ(a->bandwidth, 2);
    EXPECT_EQ(a->agc, 3);
    const auto c = rx320::settingForLetter(QStringLiteral("c"));
    ASSERT_TRUE(c);
    EXPECT_EQ(c->mode, 3);
    EXPECT_EQ(c->bandwidth, 23);
    const auto l = rx320::settingForLetter(QStringLiteral("l"));
    ASSERT_TRUE(l);
    EXPECT_EQ(l->mode, 2);
    EXPECT_EQ(l->bandwidth, 10);
    EXPECT_EQ(l->agc, 1);
    EXPECT_FALSE(rx320::settingForLetter(QStringLiteral("f")));
    EXPECT_FALSE(rx320::settingForLetter(QStringLiteral("d")));
    EXPECT_FALSE(rx320::settingForLetter(QString()));
}

// ---- the driver ----

TEST_F(Rx320Driver, FrequencyWriteUsesTheWholeStateAndTheCorrection)
{
    G.setupdata[20] = 100;
    G.setupdata[21] = 300;
    rx.setFrequencyA(10000);
    EXPECT_EQ(port.written, bytes({'N', 0x55, 0xEF, 0x1E, 0xED, 0x55, 0x50, 0x0D}));
    EXPECT_EQ(G.rx320freq, 10000);
    EXPECT_EQ(events, QStringList{QStringLiteral("FrequencyAChanged(10000)")});
}

TEST_F(Rx320Driver, NoTuningCommandOutsideTheReceiversRange)
{
    rx.setFrequencyA(30000);
    EXPECT_EQ(port.writes.size(), 1);
    EXPECT_EQ(G.rx320freq, 30000);
    port.writes.clear();
    events.clear();
    for (double f : {99.999, 30000.001, -5.0, 0.0, std::nan("")}) {
        rx.setFrequencyA(f);
        EXPECT_TRUE(port.writes.isEmpty()) << f;
    }
    EXPECT_TRUE(events.isEmpty());
    EXPECT_EQ(G.rx320freq, 30000) << "the stored frequency is what was last sent";
}

TEST_F(Rx320Driver, BandwidthOutOfRangeBecomes33AndRetunes)
{
    tuneQuietly(10000);
    G.rx320pbs = 1;
    rx.setBandwidth(40);
    ASSERT_EQ(port.writes.size(), 2);
    EXPECT_EQ(port.writes[0], bytes({'W', 33, 0x0D}));
    EXPECT_EQ(port.writes[1], bytes({'N', 0x55, 0xEF, 0x1A, 0xA9, 0x55, 0x52, 0x0D}));
    EXPECT_EQ(G.rx320filter, 33);
    EXPECT_EQ(events, (QStringList{QStringLiteral("FrequencyAChanged(10000)"), QStringLiteral("BandwidthChanged(33)")}));
    port.writes.clear();
    rx.setBandwidth(-1);
    EXPECT_EQ(port.writes[0], bytes({'W', 33, 0x0D}));
}

TEST_F(Rx320Driver, ModeWriteSendsDigitThenRetunesWithCwFormula)
{
    tuneQuietly(10000);
    G.rx320bfo = 800;
    rx.setMode(3);
    ASSERT_EQ(port.writes.size(), 2);
    EXPECT_EQ(port.writes[0], QByteArray("M3\r"));
    EXPECT_EQ(port.writes[1], bytes({'N', 0x55, 0xEF, 0x1A, 0xA9, 0x5D, 0xD8, 0x0D}));
    EXPECT_EQ(G.rx320mode, 3);
    EXPECT_EQ(events, (QStringList{QStringLiteral("FrequencyAChanged(10000)"), QStringLiteral("ModeChanged(3)")}));
}

TEST_F(Rx320Driver, SidebandRetuneFollowsTheFilterWidth)
{
    tuneQuietly(10000);
    rx.setMode(1);
    port.writes.clear();
    rx.setBandwidth(10);
    ASSERT_EQ(port.writes.size(), 2);
    EXPECT_EQ(port.writes[1], bytes({'N', 0x55, 0xF0, 0x09, 0x99, 0x67, 0x71, 0x0D}));
}

TEST_F(Rx320Driver, ShiftAndBfoWritesSendOnlyTheTuningCommand)
{
    tuneQuietly(10000);
    rx.setPassBandShift(1);
    ASSERT_EQ(port.writes.size(), 1);
    EXPECT_EQ(port.writes[0], bytes({'N', 0x55, 0xEF, 0x1A, 0xA9, 0x55, 0x52, 0x0D}));
    EXPECT_EQ(G.rx320pbs, 1);
    rx.setBeatfreqosc(-500);
    EXPECT_EQ(G.rx320bfo, -500);
    EXPECT_EQ(port.writes.size(), 2);
    EXPECT_EQ(events, (QStringList{QStringLiteral("FrequencyAChanged(10000)"), QStringLiteral("PassbandshiftChanged(1)"),
                                   QStringLiteral("FrequencyAChanged(10000)"), QStringLiteral("BeatfreqoscChanged(-500)")}));
}

TEST_F(Rx320Driver, WritesBeforeAnyFrequencySendNoTuningCommand)
{
    rx.setMode(2);
    rx.setBandwidth(5);
    EXPECT_EQ(port.written, QByteArray("M2\r") + bytes({'W', 5, 0x0D}));
    EXPECT_EQ(events, (QStringList{QStringLiteral("ModeChanged(2)"), QStringLiteral("BandwidthChanged(5)")}));
}

TEST_F(Rx320Driver, AgcVolumeAndLineSendOnlyTheirOwnCommand)
{
    tuneQuietly(10000);
    rx.setAgcspeed(3);
    rx.setVolume(99);
    rx.setVolume(50);
    rx.setVolume(0);
    rx.setLinelevel(50);
    rx.setLinelevel(-3);
    EXPECT_EQ(port.writes, (QList<QByteArray>{"G3\r", bytes({'V', 0x7F, 0, 0x0D}), bytes({'V', 0x7F, 18, 0x0D}),
                                              bytes({'V', 0x7F, 63, 0x0D}), bytes({'A', 0x7F, 18, 0x0D}),
                                              bytes({'A', 0x7F, 63, 0x0D})}));
    EXPECT_EQ(G.rx320agc, 3);
    EXPECT_EQ(G.rx320volume, 0);
    EXPECT_EQ(G.rx320linelevel, 0);
    EXPECT_EQ(events.first(), QStringLiteral("AgcspeedChanged(3)"));
    EXPECT_EQ(events.last(), QStringLiteral("LinelevelChanged(0)"));
    EXPECT_EQ(events.size(), 6);
}

TEST_F(Rx320Driver, SmeterDiscardsStaleInputAndConverts)
{
    port.arrive("junk");
    port.responder = [](const QByteArray &w) { return w == "X\r" ? bytes({'X', 0x03, 0xE8, 0x0D}) : QByteArray(); };
    EXPECT_NEAR(rx.Smeter(), 9.67, 0.005);
    EXPECT_EQ(port.written, QByteArray("X\r"));
}

TEST_F(Rx320Driver, SilentReceiverEndsTheWaits)
{
    const qint64 runOut = waitCounts().runOut;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(rx.Smeter(), 0.0f);
    EXPECT_EQ(rx.Firmware(), QString());
    EXPECT_GE(t.elapsed(), clsRX320::kSmeterWaitMs + clsRX320::kFirmwareWaitMs - 50);
    EXPECT_EQ(waitCounts().runOut, runOut + 2) << "each wait ends on its own bound, once";
    EXPECT_LT(t.elapsed(), 60000);
}

TEST_F(Rx320Driver, FirmwareStopsAtItsCarriageReturn)
{
    port.responder = [](const QByteArray &w) { return w == "?\r" ? QByteArray("VER 1.06\r") : QByteArray(); };
    const qint64 runOut = waitCounts().runOut;
    EXPECT_EQ(rx.Firmware(), QStringLiteral("VER 1.06"));
    EXPECT_EQ(waitCounts().runOut, runOut) << "a complete reply ends the wait at once";
}
