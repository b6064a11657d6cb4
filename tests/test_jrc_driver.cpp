// The JRC drivers byte for byte on an in-memory port: command texts, the
// remote bracket, reply cutting, the events, and what happens when the
// receiver stays silent.
#include "core/exchange.h"
#include "core/globals.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "support/fakeport.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QMap>
#include <gtest/gtest.h>

using namespace tav;
using tavtest::FakePort;

namespace {

QByteArray cr(std::initializer_list<const char *> cmds)
{
    QByteArray out;
    for (const char *c : cmds)
        out += QByteArray(c) + '\r';
    return out;
}

// Answers the commands listed, each with its reply.
struct Replies {
    QMap<QByteArray, QByteArray> map;
    void install(FakePort &port)
    {
        port.responder = [this](const QByteArray &w) { return map.value(w); };
    }
};

struct Jrc : ::testing::Test {
    FakePort port;
    Replies replies;
    QStringList events;
    void SetUp() override
    {
        replies.install(port);
        G.jrclock = 1; // the remote held: commands go out alone
    }
    void record(JrcDriver &d)
    {
        auto add = [this](const char *name) {
            return [this, name](auto v) {
                events << QStringLiteral("%1=%2").arg(QLatin1String(name)).arg(v);
                // Raised last: everything is already on the line.
                EXPECT_TRUE(port.written.isEmpty() || port.written.endsWith('\r'));
                EXPECT_EQ(G.jrcbusy, 0);
            };
        };
        QObject::connect(&d, &JrcDriver::LockChanged, add("Lock"));
        QObject::connect(&d, &JrcDriver::PoweronoffChanged, add("Poweronoff"));
        QObject::connect(&d, &JrcDriver::RttyonoffChanged, add("Rttyonoff"));
        QObject::connect(&d, &JrcDriver::AttenuatorChanged, add("Attenuator"));
        QObject::connect(&d, &JrcDriver::BandwidthChanged, add("Bandwidth"));
        QObject::connect(&d, &JrcDriver::ModeChanged, add("Mode"));
        QObject::connect(&d, &JrcDriver::AgcspeedChanged, add("Agcspeed"));
        QObject::connect(&d, &JrcDriver::BandwidthcontrolChanged, add("Bandwidthcontrol"));
        QObject::connect(&d, &JrcDriver::PassbandshiftChanged, add("Passbandshift"));
        QObject::connect(&d, &JrcDriver::FrequencyAChanged,
                         [this](double v) { events << QStringLiteral("FrequencyA=%1").arg(v, 0, 'f', 3); });
        QObject::connect(&d, &JrcDriver::RxStatusChanged, [this](const QString &t) { events << "RxStatus=" + t; });
    }
    QByteArray take()
    {
        QByteArray w = port.written;
        port.written.clear();
        port.writes.clear();
        return w;
    }
};

} // namespace

// ----------------------------------------------------------------- bracket

TEST_F(Jrc, BracketSendsH1H1CommandH0H0OnlyWhileTheRemoteIsNotHeld)
{
    clsNRD535 rx(port);
    G.jrclock = 0;
    QElapsedTimer t;
    t.start();
    rx.setAttenuator(1);
    EXPECT_GE(t.elapsed(), 4 * 50 - 10) << "four 50 ms pauses";
    EXPECT_EQ(take(), cr({"H1", "H1", "A1", "H0", "H0"}));
    EXPECT_EQ(G.jrcbusy, 0);

    G.jrclock = 1;
    rx.setAttenuator(1);
    EXPECT_EQ(take(), cr({"A1"}));
}

TEST_F(Jrc, LockonoffHoldsAndReleasesTheRemoteAndAlwaysRaisesItsEvent)
{
    clsNRD545 rx(port);
    record(rx);
    G.jrclock = 0;
    rx.setLockonoff(1);
    EXPECT_EQ(take(), cr({"H1", "H1"}));
    EXPECT_EQ(G.jrclock, 1);
    rx.setLockonoff(2);
    EXPECT_EQ(take(), QByteArray());
    EXPECT_EQ(G.jrclock, 1) << "other values leave the flag";
    rx.setLockonoff(0);
    EXPECT_EQ(take(), cr({"H0", "H0"}));
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_EQ(events, QStringList({"Lock=1", "Lock=2", "Lock=0"}));
}

TEST_F(Jrc, OnAndOffFollowTheTwoFlags)
{
    clsNRD535 rx(port);
    G.jrclock = 1;
    G.jrcbusy = 1;
    rx.i_on();
    rx.i_off();
    EXPECT_EQ(take(), QByteArray()) << "held and busy: nothing";
    G.jrclock = 0;
    G.jrcbusy = 1;
    rx.i_on();
    rx.i_off();
    EXPECT_EQ(take(), cr({"H1", "H1"}));
    G.jrcbusy = 0;
    rx.i_off();
    EXPECT_EQ(take(), cr({"H0", "H0"}));
}

// ----------------------------------------------------------------- NRD-535

TEST_F(Jrc, Nrd535StatusExchangeThroughChannel199)
{
    clsNRD535 rx(port);
    G.jrclock = 0;
    replies.map["L199199\r"] = "L199124096500001\r";
    EXPECT_EQ(rx.RxStatus(), "X124096500001");
    EXPECT_EQ(G.rxstatustext, "X124096500001");
    EXPECT_TRUE(rx.lastReadOk());
    EXPECT_EQ(take(), cr({"H1", "H1", "J1199", "L199199", "H0", "H0"}));

    G.jrclock = 1;
    EXPECT_EQ(rx.Attenuator(), 1);
    EXPECT_EQ(rx.Bandwidth(), 2);
    EXPECT_EQ(rx.Mode(), 4);
    EXPECT_EQ(rx.Agcspeed(), 1);
    EXPECT_DOUBLE_EQ(rx.FrequencyA(), 9650.0);
    EXPECT_EQ(take(), cr({"J1199", "L199199"}).repeated(5));
}

TEST_F(Jrc, Nrd535WritesAndTheirEvents)
{
    clsNRD535 rx(port);
    record(rx);
    rx.setAttenuator(1);
    rx.setBandwidth(13);
    rx.setMode(12);
    rx.setAgcspeed(2);
    rx.setNoiseblanker(1);
    rx.setFrequencyA(29999.999);
    rx.setFrequencyA(9650.0004);
    rx.setRttyOnOff(1);
    rx.setPowerOnOff(0);
    rx.setRxStatus("Q014096500002");
    EXPECT_EQ(take(), cr({"A1", "B3", "D2", "G2", "N1", "F29999999", "F09650000", "X1", "T0", "S199014096500002"}));
    EXPECT_EQ(events, QStringList({"Attenuator=1", "Bandwidth=13", "Mode=12", "Agcspeed=2", "FrequencyA=29999.999",
                                   "FrequencyA=9650.000", "Rttyonoff=1", "Poweronoff=0",
                                   "RxStatus=Q014096500002"}));

    // Unbracketed even while the remote is not held, each with a pause after it.
    G.jrclock = 0;
    events.clear();
    rx.setPassBandShift(-50);
    rx.setPassBandShift(0);
    rx.setBandwidthcontrol(1234);
    EXPECT_EQ(take(), cr({"P-0050", "P+0000", "W1234"}));
    EXPECT_EQ(events, QStringList({"Passbandshift=-50", "Passbandshift=0", "Bandwidthcontrol=1234"}));
}

TEST_F(Jrc, Nrd535WritesWithoutEvents)
{
    clsNRD535 rx(port);
    record(rx);
    rx.setRx2Mem(7);
    rx.setRxClock("23:05:09");
    rx.setRttyParameters("123");
    rx.setTimerrelaysonoff(1);
    EXPECT_EQ(take(), cr({"C007", "R1230509", "U3123", "O1"}));
    EXPECT_TRUE(events.isEmpty());
}

TEST_F(Jrc, Nrd535UserSettings)
{
    clsNRD535 rx(port);
    const QMap<QPair<int, int>, QByteArray> expected = {
        {{0, 0}, "U00"}, {{0, 1}, "U01"}, {{0, 2}, "U02"}, {{1, 0}, "U11"}, {{1, 1}, "U10"},
        {{2, -5}, "U2-0005"}, {{2, 700}, "U2+0700"}, {{4, 0}, "U40"}, {{4, 1}, "U41"}, {{6, 1}, "U61"},
        {{7, 0}, "U70"}, {{8, 1}, "U81"}, {{9, 0}, "U90"}, {{9, 1}, "U91"}};
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        rx.setUserdefs(int16_t(it.key().first), int16_t(it.key().second));
        EXPECT_EQ(take(), it.value() + '\r') << it.key().first << "," << it.key().second;
    }
    // No command text: only the bracket runs.
    rx.setUserdefs(3, 1);
    rx.setUserdefs(5, 0);
    rx.setUserdefs(0, 3);
    EXPECT_EQ(take(), QByteArray());
    G.jrclock = 0;
    rx.setUserdefs(3, 1);
    EXPECT_EQ(take(), cr({"H1", "H1", "H0", "H0"}));
    for (int16_t i = 0; i < 10; ++i)
        EXPECT_EQ(rx.Userdefs(i), 0);
    EXPECT_EQ(take(), QByteArray());
}

TEST_F(Jrc, Nrd535SmeterConversion)
{
    clsNRD535 rx(port);
    const std::pair<int, float> cases[] = {{137, 2.64f}, {125, 4.32f}, {113, 6.0f}, {100, 9.25f},
                                           {85, 13.0f},  {60, 18.0f},  {20, 18.0f}, {200, 0.0f}};
    for (auto [raw, s] : cases) {
        replies.map["M\r"] = "M" + QByteArray::number(raw).rightJustified(3, '0') + "\r";
        EXPECT_NEAR(rx.Smeter(), s, 1e-4) << raw;
    }
    EXPECT_EQ(take(), cr({"M"}).repeated(8)) << "never bracketed";
}

TEST_F(Jrc, Nrd535MemoryReadBuildsTheRecord)
{
    clsNRD535 rx(port);
    G.jrclock = 0;
    replies.map["L042042\r"] = "L042013096500002\r";
    replies.map["L150150\r"] = "L150V\r";
    EXPECT_EQ(rx.Memory(42), "MEM042 09650000 3 01 0 2 @@@ @@@ @ ");
    const QString empty = rx.Memory(150);
    EXPECT_EQ(empty, "XXX150 No data  @ @@ @ @ @@@ @@@ @ ");
    EXPECT_EQ(empty.size(), 35);
    EXPECT_EQ(take(), cr({"L042042", "L150150"})) << "not bracketed";
}

TEST_F(Jrc, Nrd535MemoryWriteStoresUpToTheTopOfTheRangeAndClearsOtherwise)
{
    clsNRD535 rx(port);
    rx.setMemory(42, "MEM042 09650000 3 01 0 2 @@@ @@@ @ ");
    EXPECT_EQ(take(), cr({"K042013096500002"}));
    rx.setMemory(5, "XXX005 No data  @ @@ @ @ @@@ @@@ @ ");
    rx.setMemory(6, "MEM006 00009999 4 00 0 1 @@@ @@@ @ ");
    rx.setMemory(8, "MEM008 30000000 4 00 0 1 @@@ @@@ @ ");
    EXPECT_EQ(take(), cr({"U5005", "U5006", "U5008"}));
    rx.setMemory(7, "MEM007 29999999 4 00 0 1 @@@ @@@ @ ");
    EXPECT_EQ(take(), cr({"K007004299999991"})) << "29999.999 kHz is tunable and is kept";
    rx.setMemory(9, "MEM009 00010000 4 00 0 1 @@@ @@@ @ ");
    EXPECT_EQ(take(), cr({"K009004000100001"}));
}

TEST_F(Jrc, Nrd535Clock)
{
    clsNRD535 rx(port);
    G.jrclock = 0;
    replies.map["R0\r"] = "R123456\r";
    EXPECT_EQ(rx.RxClock(), "12:34:56");
    EXPECT_EQ(take(), cr({"H1", "H1", "R0", "H0", "H0"}));
}

// A silent receiver: every read ends within its bound, the bracket closes,
// and the result is the neutral one, known as failed.
TEST_F(Jrc, Nrd535SilentReceiverNeverHangsAndClosesTheBracket)
{
    clsNRD535 rx(port);
    G.jrclock = 0;
    const qint64 runOut = waitCounts().runOut;
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(rx.RxStatus(), QString());
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_EQ(G.rxstatustext, QString());
    EXPECT_EQ(G.jrcbusy, 0);
    EXPECT_EQ(take(), cr({"H1", "H1", "J1199", "L199199", "H0", "H0"}));
    EXPECT_EQ(rx.Mode(), 0);
    EXPECT_DOUBLE_EQ(rx.FrequencyA(), 0);
    EXPECT_EQ(rx.Smeter(), 0.0f);
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_EQ(rx.Memory(3), QString()) << "a failed read is not mistaken for an empty channel";
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_EQ(rx.RxClock(), QString());
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_EQ(G.jrcbusy, 0);
    EXPECT_TRUE(take().endsWith(cr({"H0", "H0"})));
    EXPECT_EQ(waitCounts().runOut - runOut, 6) << "one bound for each read";
    EXPECT_LT(t.elapsed(), 120000);

    // A late answer does not spoil the next read.
    replies.map["L199199\r"] = "L199124096500001\r";
    EXPECT_EQ(rx.RxStatus(), "X124096500001");
    EXPECT_TRUE(rx.lastReadOk());
}

// ----------------------------------------------------------------- NRD-545

TEST_F(Jrc, Nrd545StatusExchangeThroughChannel999)
{
    clsNRD545 rx(port);
    replies.map["L999999\r"] = "L999" "124" "00" "09650000" "030\r";
    EXPECT_EQ(rx.RxStatus(), "X124096500003");
    EXPECT_EQ(take(), cr({"MM21", "J1999", "MM21", "L999999"}));
    replies.map["L999999\r"] = "L999" "009" "00" "09650000" "000\r";
    EXPECT_EQ(rx.RxStatus(), "X009096500000") << "AGC off";
    replies.map["L999999\r"] = "L999" "009" "00" "09650000" "015\r";
    EXPECT_EQ(rx.RxStatus().right(1), "1") << "the status rounds down";
    EXPECT_EQ(rx.Attenuator(), 0);
    EXPECT_EQ(rx.Mode(), 9);
    take();

    G.jrclock = 0;
    rx.RxStatus();
    EXPECT_EQ(take(), cr({"H1", "H1", "MM21", "J1999", "MM21", "L999999", "H0", "H0"}));
}

TEST_F(Jrc, Nrd545WritesAndTheirEvents)
{
    clsNRD545 rx(port);
    record(rx);
    QStringList own;
    QObject::connect(&rx, &clsNRD545::EcssChanged, [&](int16_t v) { own << QStringLiteral("Ecss=%1").arg(v); });
    QObject::connect(&rx, &clsNRD545::IfgainChanged, [&](int16_t v) { own << QStringLiteral("Ifgain=%1").arg(v); });
    QObject::connect(&rx, &clsNRD545::SquelchChanged, [&](int16_t v) { own << QStringLiteral("Squelch=%1").arg(v); });
    QObject::connect(&rx, &clsNRD545::ToneChanged, [&](int16_t v) { own << QStringLiteral("Tone=%1").arg(v); });
    QObject::connect(&rx, &clsNRD545::VolumeChanged, [&](int16_t v) { own << QStringLiteral("Volume=%1").arg(v); });

    rx.setAttenuator(1);
    rx.setBandwidth(2);
    rx.setMode(9);
    rx.setEcss(2);
    rx.setAgcspeed(1);
    rx.setAgcspeed(9);
    rx.setAgcspeed(0);
    rx.setFrequencyA(29999.999);
    rx.setIfgain(5);
    rx.setSquelch(128);
    rx.setTone(40);
    rx.setVolume(200);
    rx.setRttyOnOff(1);
    rx.setPowerOnOff(1);
    rx.setRxStatus("X124096500003");
    EXPECT_EQ(take(), cr({"A1", "B2", "D9", "CC2", "NN010", "NN090", "G2", "F0029999999", "HH005", "LL128", "KK040",
                          "JJ200", "U231", "T1", "S999" "124" "00" "09650000" "030"}));
    EXPECT_EQ(events, QStringList({"Attenuator=1", "Bandwidth=2", "Mode=9", "Agcspeed=1", "Agcspeed=9", "Agcspeed=0",
                                   "FrequencyA=29999.999", "Rttyonoff=1", "Poweronoff=1", "RxStatus=X124096500003"}));
    EXPECT_EQ(own, QStringList({"Ecss=2", "Ifgain=5", "Squelch=128", "Tone=40", "Volume=200"}));

    G.jrclock = 0;
    events.clear();
    rx.setPassBandShift(-50);
    rx.setBandwidthcontrol(45);
    EXPECT_EQ(take(), cr({"P-050", "W045"})) << "no bracket";
    EXPECT_EQ(events, QStringList({"Passbandshift=-50", "Bandwidthcontrol=45"}));

    G.jrclock = 1;
    rx.FreqOrChan(3);
    rx.setRx2Mem(999);
    rx.setRxClock("07:08");
    rx.setRttyParameters("4512");
    rx.setTimerrelaysonoff(0);
    EXPECT_EQ(take(), cr({"MM21", "C999", "R10708", "U154512", "O0"}));
}

TEST_F(Jrc, Nrd545SingleSettingReads)
{
    clsNRD545 rx(port);
    replies.map = {{"W\r", "W045\r"},   {"P\r", "P-050\r"},          {"HH\r", "HH120\r"}, {"LL\r", "LL007\r"},
                   {"KK\r", "KK099\r"}, {"JJ\r", "JJ255\r"},          {"NN\r", "NN015\r"},
                   {"F\r", "F0029999999\r"}};
    G.jrclock = 0;
    EXPECT_EQ(rx.Bandwidthcontrol(), 45);
    EXPECT_EQ(rx.PassBandShift(), -50);
    EXPECT_EQ(rx.Ifgain(), 120);
    EXPECT_EQ(rx.Squelch(), 7);
    EXPECT_EQ(rx.Tone(), 99);
    EXPECT_EQ(rx.Volume(), 255);
    EXPECT_EQ(rx.Agcspeed(), 2);
    EXPECT_EQ(take(), cr({"W", "P", "HH", "LL", "KK", "JJ", "NN"})) << "unbracketed reads";
    EXPECT_DOUBLE_EQ(rx.FrequencyA(), 29999.999);
    EXPECT_EQ(rx.Bandwidthcontrolxxx(), 45);
    EXPECT_EQ(rx.PassBandShiftxxx(), -50);
    EXPECT_EQ(take(), cr({"H1", "H1", "F", "H0", "H0", "H1", "H1", "W", "H0", "H0", "H1", "H1", "P", "H0", "H0"}));

    replies.map["NN\r"] = "NN000\r";
    EXPECT_EQ(rx.Agcspeed(), 1);
    replies.map["NN\r"] = "NN180\r";
    EXPECT_EQ(rx.Agcspeed(), 9);
}

TEST_F(Jrc, Nrd545DspFunctions)
{
    clsNRD545 rx(port);
    rx.setNrbc(0, 2);
    rx.setNrbc(1, 5);
    rx.setNrbc(2, 12);
    rx.setNrbc(3, 1);
    rx.setNb(0, 1);
    rx.setNb(1, 40);
    rx.setNb(2, 1);
    rx.setNt(0, 1);
    rx.setNt(1, -250);
    rx.setNt(7, 1);
    EXPECT_EQ(take(), cr({"BB2", "U29005", "U30012", "N1", "FF040", "EE1", "GG-0250"}));

    replies.map = {{"N\r", "N2\r"}, {"FF\r", "FF040\r"}, {"GG\r", "GG-0250\r"}};
    G.jrclock = 0;
    EXPECT_EQ(rx.nb(0), 2);
    EXPECT_EQ(rx.nb(1), 40);
    EXPECT_EQ(rx.nt(1), -250);
    EXPECT_EQ(take(), cr({"H1", "H1", "N", "H0", "H0", "H1", "H1", "FF", "H0", "H0", "H1", "H1", "GG", "H0", "H0"}));
    port.arrive("junk");
    EXPECT_EQ(rx.nt(0), 0);
    EXPECT_EQ(take(), cr({"H1", "H1", "H0", "H0"})) << "the bracket runs, no command";
    EXPECT_EQ(port.InBufferCount(), 0) << "the input was discarded";
}

TEST_F(Jrc, Nrd545UserSettings)
{
    clsNRD545 rx(port);
    const std::tuple<int, int, const char *> cases[] = {
        {1, 0, "U010"},  {1, 1, "U011"},  {2, 1, "U021"},  {3, 3, "U033"},     {4, 0, "U040"},  {8, 2, "U082"},
        {9, 1, "U091"},  {10, 1, "U101"}, {11, 0, "U110"}, {12, 1, "U121"},    {13, 2, "U132"}, {14, -100, "U14-0100"},
        {14, 25, "U14+0025"}, {18, 1, "U181"}, {19, 0, "U190"}, {20, 5, "U2005"}, {21, 30, "U21030"},
        {22, 120, "U22120"}, {24, 1, "U241"}, {25, 0, "U250"}, {26, 1, "U261"}, {27, 1, "U271"}, {28, 0, "U280"},
        {31, 1, "U311"}, {32, 1, "U321"}};
    for (auto [item, value, text] : cases) {
        rx.setUserdefs(int16_t(item), int16_t(value));
        EXPECT_EQ(take(), QByteArray(text) + '\r') << item << "," << value;
    }
    for (int item : {5, 6, 7, 15, 16, 17, 23, 29, 30, 0, 33})
        rx.setUserdefs(int16_t(item), 1);
    rx.setUserdefs(1, 2);
    rx.setUserdefs(3, 4);
    EXPECT_EQ(take(), QByteArray());
    G.jrclock = 0;
    rx.setUserdefs(7, 1);
    EXPECT_EQ(take(), cr({"H1", "H1", "H0", "H0"}));
}

TEST_F(Jrc, Nrd545SmeterConversion)
{
    clsNRD545 rx(port);
    const std::pair<int, float> cases[] = {{10, 0.0f},  {28, 0.0f},  {34, 1.0f},  {83, 9.1667f},
                                           {84, 9.2969f}, {100, 10.5469f}, {150, 14.4531f}, {200, 18.3594f},
                                           {250, 19.0f}};
    for (auto [raw, s] : cases) {
        replies.map["M\r"] = "M" + QByteArray::number(raw).rightJustified(3, '0') + "\r";
        EXPECT_NEAR(rx.Smeter(), s, 1e-3) << raw;
    }
}

TEST_F(Jrc, Nrd545MemoryRecordsAndTheAgcStep)
{
    clsNRD545 rx(port);
    const std::pair<const char *, char> agc[] = {{"015", '2'}, {"025", '2'}, {"000", '1'}, {"120", '9'}, {"030", '3'}};
    for (auto [time, step] : agc) {
        replies.map["L123123\r"] = QByteArray("L123" "125" "00" "09650000") + time + "\r";
        const QString rec = rx.Memory(123);
        EXPECT_EQ(rec, QStringLiteral("MEM123 09650000 5 02 1 %1 @@@ @@@ @ ").arg(QLatin1Char(step))) << time;
    }
    replies.map["L998998\r"] = "L998V\r";
    EXPECT_EQ(rx.Memory(998), "XXX998 No data  @ @@ @ @ @@@ @@@ @ ");
    take();

    rx.setMemory(123, "MEM123 09650000 5 02 1 3 @@@ @@@ @ ");
    rx.setMemory(124, "MEM124 29999999 4 00 0 1 @@@ @@@ @ ");
    EXPECT_EQ(take(), cr({"K123" "125" "00" "09650000" "030", "K124" "004" "00" "29999999" "010"}));
    G.jrclock = 0;
    rx.setMemory(5, "XXX005 No data  @ @@ @ @ @@@ @@@ @ ");
    rx.setMemory(6, "MEM006 00005000 2 02 0 3 @@@ @@@ @ ");
    EXPECT_EQ(take(), QByteArray()) << "a channel the receiver cannot store: nothing at all is sent";
}

TEST_F(Jrc, Nrd545SilentReceiver)
{
    clsNRD545 rx(port);
    G.jrclock = 0;
    EXPECT_EQ(rx.RxStatus(), QString());
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_EQ(take(), cr({"H1", "H1", "MM21", "J1999", "MM21", "L999999", "H0", "H0"}));
    EXPECT_EQ(rx.Volume(), 0);
    EXPECT_FALSE(rx.lastReadOk());
    EXPECT_DOUBLE_EQ(rx.FrequencyA(), 0);
    EXPECT_EQ(rx.nt(1), 0);
    EXPECT_EQ(rx.Agcspeed(), 0);
    EXPECT_EQ(rx.Memory(1), QString());
    EXPECT_EQ(G.jrcbusy, 0);
}
