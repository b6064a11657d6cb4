// The hub's RX-320 rows: tuning and mode letters through the welcome
// window's own driver object over the line to the emulator; the mode and
// frequency reads use the state last sent and put nothing on the line.
#include "hub/app.h"
#include "drivers/receiver.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "core/ui.h"
#include "drivers/clsRX320.h"
#include "sim/pty.h"
#include "sim/rx320.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;
using tavtest::waitFor;

namespace {

struct Rx320Hub : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    sim::Rx320Emulator emu;
    sim::PtyHarness pty{emu};
    frmWelcome *w = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        InitRX320();
        G.rxtype = 3;
        G.goRxtype = 3;
        w = frmWelcome::instance();
        w->Comm1.CommPort = 1;
        w->Comm1.Settings = QStringLiteral("1200,N,8,1");
        ASSERT_TRUE(w->Comm1.open()) << w->Comm1.lastError().toStdString();
        w->hub().receiver = std::make_unique<clsRX320>(w->Comm1);
    }
    void TearDown() override
    {
        w->Comm1.close();
        frmWelcome::destroy();
        Windows::destroyAll();
    }
    // Lets the emulator take what was sent.
    void settle() { tavtest::pump(50); }
};

} // namespace

TEST_F(Rx320Hub, TunesWithinRangeOnly)
{
    w->hub().Change2FreqA(goModel().freqMaxKHz);
    ASSERT_TRUE(waitFor([&] { return emu.tunedFrequencyHz() == 30000000; }));
    EXPECT_EQ(G.rx320freq, 30000);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    pty.clearReceived();
    w->hub().Change2FreqA(goModel().freqMaxKHz + 0.001);
    w->hub().Change2FreqA(99.999);
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Frequency outside range"));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Input Error"));
    settle();
    EXPECT_TRUE(pty.received().isEmpty());
    EXPECT_EQ(G.rx320freq, 30000);

    // A receiver type chosen since Go does not redirect the hub.
    G.rxtype = 1;
    w->hub().Change2FreqA(9433.75);
    ASSERT_TRUE(waitFor([&] { return emu.tunedFrequencyHz() == 9433750; }));
}

TEST_F(Rx320Hub, ModeAndFrequencyReadsPutNothingOnTheLine)
{
    w->hub().Change2FreqA(7100);
    ASSERT_TRUE(waitFor([&] { return emu.tunedFrequencyHz() == 7100000; }));
    pty.clearReceived();
    for (int mode = 0; mode <= 3; ++mode) {
        G.rx320mode = int16_t(mode);
        EXPECT_EQ(w->hub().ConvertRx2mfa(), QString(QLatin1Char("aulc"[mode])));
    }
    EXPECT_DOUBLE_EQ(w->hub().Update2RxFreq(), 7100);
    w->hub().Update4RxFreq();
    settle();
    EXPECT_TRUE(pty.received().isEmpty());
}

TEST_F(Rx320Hub, ModeLettersSetModeFilterAndAgc)
{
    w->hub().Change2FreqA(10000);
    struct Row { const char *letter; int mode, filter, agc; };
    const Row rows[] = {{"U", 1, 10, 1}, {"c", 3, 23, 3}, {"l", 2, 10, 1}, {"A", 0, 2, 3}};
    for (const Row &r : rows) {
        w->hub().SetRx2mfa(QLatin1String(r.letter));
        ASSERT_TRUE(waitFor([&] { return emu.mode() == r.mode && emu.filter() == r.filter && emu.agc() == r.agc; }))
            << r.letter;
        EXPECT_EQ(G.rx320mode, r.mode);
        EXPECT_EQ(G.rx320filter, r.filter);
        EXPECT_EQ(G.rx320agc, r.agc);
        EXPECT_EQ(w->hub().ConvertRx2mfa(), QString(QLatin1String(r.letter)).toLower());
        if (r.mode != 3) { // CW reports the pass band's centre, offset by the beat note
            EXPECT_EQ(emu.tunedFrequencyHz(), 10000000) << r.letter << " retuned for the new mode and filter";
        }
    }
    settle();
    pty.clearReceived();
    w->hub().SetRx2mfa(QStringLiteral("f"));
    w->hub().SetRx2mfa(QStringLiteral("d"));
    w->hub().SetRx2mfa(QString());
    settle();
    EXPECT_TRUE(pty.received().isEmpty());
    EXPECT_EQ(G.rx320mode, 0);
    EXPECT_EQ(G.rx320agc, 3);
}

TEST_F(Rx320Hub, NoReceiverChosenAtGoDoesNothing)
{
    G.goRxtype = 0;
    w->hub().Change2FreqA(10000);
    w->hub().SetRx2mfa(QStringLiteral("u"));
    EXPECT_EQ(w->hub().ConvertRx2mfa(), QString());
    EXPECT_EQ(w->hub().Update2RxFreq(), 0);
    settle();
    EXPECT_TRUE(pty.received().isEmpty());
    EXPECT_TRUE(dialogs.shown().isEmpty());
}
