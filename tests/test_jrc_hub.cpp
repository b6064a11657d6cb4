// The JRC rules of the frequency and mode hub: mode letters both ways and
// the dial reports the receivers send while they report their tuning.
#include "drivers/jrchub.h"
#include "drivers/receiver.h"
#include "sim/jrcsim.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;

namespace {
struct Row {
    const char *letter;
    int mode, bw, agc; // -1: left alone
};
void expectSetting(const std::optional<JrcModeSetting> &s, const Row &r)
{
    ASSERT_TRUE(s.has_value()) << r.letter;
    EXPECT_EQ(s->mode, r.mode) << r.letter;
    EXPECT_EQ(s->bandwidth.value_or(-1), r.bw) << r.letter;
    EXPECT_EQ(s->agcspeed.value_or(-1), r.agc) << r.letter;
}
} // namespace

TEST(JrcHub, Nrd535EveryLetterSetsModeFilterAndAgc)
{
    const Row rows[] = {{"a", 4, 0, 1}, {"u", 2, 1, 0}, {"l", 3, 1, 0}, {"c", 1, 1, 1}, {"f", 5, 3, -1}, {"d", 6, 1, 1}};
    for (const Row &r : rows) {
        expectSetting(nrd535ModeSetting(QLatin1String(r.letter), 0), r);
        expectSetting(nrd535ModeSetting(QString::fromLatin1(r.letter).toUpper(), 0), r);
    }
    // CW takes the narrow filter only when the set-up says exactly 1.
    EXPECT_EQ(nrd535ModeSetting("c", 1)->bandwidth, 2);
    EXPECT_EQ(nrd535ModeSetting("C", 2)->bandwidth, 1);
    EXPECT_EQ(nrd535ModeSetting("c", 0.5)->bandwidth, 1);
    EXPECT_EQ(nrd535ModeSetting("a", 1)->bandwidth, 0) << "only CW looks at the set-up";
    for (const char *bad : {"x", "", "am", "w"})
        EXPECT_FALSE(nrd535ModeSetting(QLatin1String(bad), 1).has_value()) << bad;
}

TEST(JrcHub, Nrd545EveryLetterSetsTheModeOnly)
{
    const Row rows[] = {{"A", 4, -1, -1}, {"U", 2, -1, -1}, {"L", 3, -1, -1},
                        {"C", 1, -1, -1}, {"F", 5, -1, -1}, {"D", 0, -1, -1}};
    for (const Row &r : rows) {
        expectSetting(nrd545ModeSetting(QLatin1String(r.letter)), r);
        expectSetting(nrd545ModeSetting(QString::fromLatin1(r.letter).toLower()), r);
    }
    EXPECT_FALSE(nrd545ModeSetting("q").has_value());
}

TEST(JrcHub, EveryModeValueToItsLetter)
{
    const char *nrd535[] = {"d", "c", "u", "l", "a", "f", "d", "a", "a", "", ""};
    const char *nrd545[] = {"d", "c", "u", "l", "a", "f", "a", "a", "a", "", ""};
    for (int m = 0; m <= 10; ++m) {
        EXPECT_EQ(nrd535Mfacode(m), QLatin1String(nrd535[m])) << m;
        EXPECT_EQ(nrd545Mfacode(m), QLatin1String(nrd545[m])) << m;
    }
    EXPECT_EQ(nrd535Mfacode(-1), QString());
    EXPECT_EQ(nrd545Mfacode(9), QString()) << "WFM has no letter";
}

TEST(JrcHub, DialReportsInOneAndTwoPieces)
{
    sim::Nrd535Emulator n535;
    sim::Nrd545Emulator n545;
    n535.cur.hz = 9650000;
    n545.cur.hz = 15432100;
    const JrcDialReports r535(2), r545(4);

    QString term;
    bool complete = false;
    auto f = r535.take(term, QString::fromLatin1(n535.frequencyReport()), complete);
    EXPECT_TRUE(complete);
    ASSERT_TRUE(f.has_value());
    EXPECT_DOUBLE_EQ(*f, 9650.0);
    EXPECT_TRUE(term.isEmpty());

    const QString report = QString::fromLatin1(n545.frequencyReport());
    f = r545.take(term, report.left(7), complete);
    EXPECT_FALSE(complete);
    EXPECT_FALSE(f.has_value());
    EXPECT_EQ(term, report.left(7));
    f = r545.take(term, report.mid(7), complete);
    EXPECT_TRUE(complete);
    ASSERT_TRUE(f.has_value());
    EXPECT_DOUBLE_EQ(*f, 15432.1);
    EXPECT_TRUE(term.isEmpty());
}

TEST(JrcHub, GarbledReportTunesNothingAndTermStaysBounded)
{
    const JrcDialReports r535(2);
    QString term;
    bool complete = false;
    EXPECT_FALSE(r535.take(term, "I004096x00001\r", complete).has_value());
    EXPECT_TRUE(complete) << "the report is used up";
    EXPECT_TRUE(term.isEmpty());
    EXPECT_FALSE(r535.take(term, "\r", complete).has_value()) << "too short";
    EXPECT_FALSE(r535.take(term, "I00 9650000 1\r", complete).has_value()) << "blanks are not digits";

    // Noise without CR never fills memory, and a report after it still counts.
    for (int i = 0; i < 1000; ++i)
        r535.take(term, "noise-noise-", complete);
    EXPECT_LE(term.size(), JrcDialReports::kTermLimit);
    auto f = r535.take(term, "I004096500001\r", complete);
    ASSERT_TRUE(f.has_value());
    EXPECT_DOUBLE_EQ(*f, 9650.0);
}

// ---- the hub's JRC rows on the welcome window, against the emulators ----

#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "drivers/clsNRD535.h"
#include "drivers/clsNRD545.h"
#include "sim/pty.h"

namespace {
template <class Emu, class Driver>
struct HubLine {
    tavtest::ScratchDir dir;
    Emu emu;
    sim::PtyHarness pty{emu};
    frmWelcome *w = frmWelcome::instance();
    Driver *rx = nullptr;
    HubLine(int type)
    {
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        w->Comm1.CommPort = 1;
        w->Comm1.Settings = QStringLiteral("4800,N,8,1");
        EXPECT_TRUE(w->Comm1.open());
        G.rxtype = G.goRxtype = int16_t(type); // the JRC range, 10 .. 29999.999 kHz
        G.jrclock = 1;
        emu.remote = true;
        auto d = std::make_unique<Driver>(w->Comm1);
        rx = d.get();
        w->hub().receiver = std::move(d);
    }
    ~HubLine()
    {
        w->Comm1.close();
        frmWelcome::destroy();
    }
};
} // namespace

TEST(JrcHubLine, Nrd535LettersModesAndTuning)
{
    HubLine<sim::Nrd535Emulator, clsNRD535> h(2);
    G.setupdata[10] = 1;
    h.w->hub().SetRx2mfa("c");
    h.w->hub().SetRx2mfa("x");
    tavtest::waitFor([&] { return h.emu.cur.bw == 2; }, 10000);
    EXPECT_EQ(h.emu.cur.mode, 1);
    EXPECT_EQ(h.emu.cur.bw, 2) << "Nar with setupdata(10) = 1";
    h.w->hub().SetRx2mfa("F");
    tavtest::waitFor([&] { return h.emu.cur.bw == 3; }, 10000);
    EXPECT_EQ(h.emu.cur.mode, 5);
    EXPECT_EQ(h.emu.cur.bw, 3);
    EXPECT_EQ(h.emu.cur.agc, 1) << "F leaves the AGC";
    for (int m = 0; m <= 8; ++m) {
        h.emu.cur.mode = m;
        EXPECT_EQ(h.w->hub().ConvertRx2mfa(), nrd535Mfacode(m)) << m;
    }
    h.w->hub().Change2FreqA(29999.999);
    EXPECT_DOUBLE_EQ(h.w->hub().Update2RxFreq(), 29999.999);
    h.pty.setOff(true);
    EXPECT_EQ(h.w->hub().ConvertRx2mfa(), QString()) << "no answer, no mode";
    EXPECT_EQ(h.w->hub().Update2RxFreq(), 0);
}

TEST(JrcHubLine, Nrd545DialFollowingAndAStatusReadMeanwhile)
{
    HubLine<sim::Nrd545Emulator, clsNRD545> h(4);
    h.w->hub().SetRx2mfa("d");
    EXPECT_TRUE(tavtest::waitFor([&] { return h.emu.cur.mode == 0; }, 10000));
    for (int m = 0; m <= 9; ++m) {
        h.emu.cur.mode = m;
        EXPECT_EQ(h.w->hub().ConvertRx2mfa(), nrd545Mfacode(m)) << m;
    }
    G.dialtrack = true;
    h.emu.reporting = true;
    h.pty.setChunking(5, 10); // each report arrives in pieces
    h.emu.dial(7205000);
    ASSERT_TRUE(tavtest::waitFor([&] { return G.rxfreqnow == 7205.0; }, 10000));
    EXPECT_TRUE(h.w->term->text().isEmpty());
    // A status read while following gets its own reply.
    EXPECT_EQ(h.rx->RxStatus().mid(4, 8), "07205000");
    h.pty.sendToProgram("I00000x205000030\r");
    tavtest::pump(100);
    EXPECT_EQ(G.rxfreqnow, 7205.0) << "a garbled report tunes nothing";
    h.emu.dial(9650000);
    ASSERT_TRUE(tavtest::waitFor([&] { return G.rxfreqnow == 9650.0; }, 10000));
}
