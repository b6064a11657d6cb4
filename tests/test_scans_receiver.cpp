// The scans against emulated receivers on a pseudo-terminal: the list scan
// reading an S-meter that follows the frequency, the pair scan tuning A and
// B frequencies, the band sweep over an S-meter profile with squelch hold,
// the panel's menu entries, and the JRC lock held by a scan.
#include "hub/app.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "panels/frmAR7030.h"
#include "lists/frmLast20.h"
#include "panels/jrclock.h"
#include "panels/mainmenu.h"
#include "scans/frmScanband.h"
#include "scans/frmScanlist.h"
#include "scans/frmScanpairs.h"
#include "signal/smeterlevel.h"
#include "sim/ar7030.h"
#include "sim/pty.h"
#include "support/nrd545rig.h"
#include "support/hubline.h"
#include "support/testenv.h"

#include <QAction>
#include <QCoreApplication>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace tav;

namespace {

struct ScansOnAR7030 : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    sim::AR7030Emulator emu;
    sim::PtyHarness pty{emu};
    // The signal the receiver hears at each frequency (kHz -> S-units).
    std::function<double(double)> profile = [](double) { return 2.0; };

    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        tavtest::openHub(dir, pty, 1);
        G.setupdata[1] = 1;
        G.setupdata[8] = 0;
        buildFileDirs();
        DialogScript::shown.clear();
        emu.dial(7000000);
        emu.frequencyChanged = [this](double hz) { emu.setSmeter(profile(hz / 1000)); };
        ASSERT_TRUE(go());
        DialogScript::shown.clear();
        G.utctext = QStringLiteral("9 Dec 2026  08:00");
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
    // The receiver hears the profile from now on, also where it stands.
    void useProfile(std::function<double(double)> p)
    {
        profile = std::move(p);
        emu.setSmeter(profile(tunedKhz()));
    }
    double tunedKhz() const { return emu.tunedFrequencyHz() / 1000; }
    double tunedAfter(double expect)
    {
        tavtest::waitFor([&] { return std::fabs(tunedKhz() - expect) < 0.01; }, 3000);
        return tunedKhz();
    }
    QAction *entry(const char *name)
    {
        auto *p = Windows::existing<frmAR7030>();
        return p->mnuBar->findChild<QAction *>(QLatin1String(name));
    }
    template <class W> W *openFromPanel()
    {
        openFromMenu(W::windowId, MenuOpen::Load);
        return Windows::existing<W>();
    }
};

} // namespace

TEST_F(ScansOnAR7030, ListScanReadsEachBoxCorrectedForTheAttenuatorAndStopsOnASilentReceiver)
{
    useProfile([](double khz) { return khz < 7002 ? 3.0 : khz < 7007 ? 6.0 : 9.0; });
    emu.setByte(0, 0x30, 0); // "+10 dB": readings count 10 dB less
    auto *w = openFromPanel<frmScanlist>();
    ASSERT_TRUE(w);
    EXPECT_FALSE(entry("mnuScanFreqpairs")->isEnabled());
    EXPECT_FALSE(entry("mnuScanBand")->isEnabled());
    w->txtFreqlist[0]->setText("7000");
    w->txtFreqlist[1]->setText("7005");
    w->txtFreqlist[4]->setText("7010");
    w->txtDelay->setText("10");
    w->cmdStart_Click();
    ASSERT_TRUE(w->scanning());
    EXPECT_EQ(w->attenuatorAtStart(), 0);
    EXPECT_NEAR(tunedAfter(7000), 7000, 0.01);
    const double corr = attcorrection(1, 0);
    const struct {
        int box;
        double level;
        double next;
    } steps[] = {{0, 3, 7005}, {1, 6, 7010}, {4, 9, 7000}, {0, 3, 7005}};
    for (const auto &s : steps) {
        w->tmrScanlist_Timer();
        EXPECT_NEAR(w->scan().sllevels[size_t(s.box)][20], s.level + corr, 0.21) << s.box;
        EXPECT_NEAR(tunedAfter(s.next), s.next, 0.01);
    }
    const int y = ListScan::levelY(w->scan().sllevels[1][20]);
    EXPECT_EQ(w->picScan->picture().pixel(94 + 25, y), QColor(0, 0, 0));
    EXPECT_EQ(w->picScan->picture().pixel(94 + 25, y - 1), QColor(255, 255, 192));

    // The receiver falls silent: "?" for the box, then the scan stops.
    pty.setOff(true);
    w->tmrScanlist_Timer();
    EXPECT_TRUE(w->scanning());
    EXPECT_GT(w->picScan->picture().count(100, 150, 119, 168, QColor(0, 0, 0)), 0); // box 1
    EXPECT_TRUE(dialogs.shown().isEmpty());
    w->tmrScanlist_Timer();
    w->tmrScanlist_Timer();
    EXPECT_FALSE(w->scanning());
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "The receiver does not answer.");
    pty.setOff(false);

    w->cmdExit_Click();
    EXPECT_TRUE(entry("mnuScanFreqpairs")->isEnabled());
    EXPECT_TRUE(entry("mnuScanBand")->isEnabled());
}

TEST_F(ScansOnAR7030, PairScanTunesTheChosenSideOfEachActivePair)
{
    auto *w = openFromPanel<frmScanpairs>();
    ASSERT_TRUE(w);
    EXPECT_FALSE(entry("mnuScanFreqList")->isEnabled());
    dir.write("SFP/SFP_P.TXT", "6000,9000, 1,a\r\n6100,9100, 0,b\r\n6200,9200, 1,c\r\n35000,9300, 1,out of range\r\n");
    G.filenames[FileKind::ScanPairs] = "SFP_P.TXT";
    ASSERT_TRUE(runReader(FileKind::ScanPairs));
    w->cmdStart_Click();
    w->tmrScanpairs_Timer();
    EXPECT_NEAR(tunedAfter(6000), 6000, 0.01);
    w->tmrScanpairs_Timer();
    EXPECT_NEAR(tunedAfter(6200), 6200, 0.01);
    // A frequency outside the receiver: the hub's message, and the scan goes on.
    w->tmrScanpairs_Timer();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "Frequency outside range");
    EXPECT_TRUE(w->scanning());
    w->cmdStop_Click();
    w->optScanAB->select(1);
    w->cmdContinue_Click();
    w->tmrScanpairs_Timer();
    EXPECT_NEAR(tunedAfter(9000), 9000, 0.01);
    // Clicking a frequency tunes only while stopped.
    w->lblChannel_Click(0, 5);
    EXPECT_NEAR(tunedAfter(9000), 9000, 0.01);
    w->cmdStop_Click();
    w->lblChannel_Click(0, 5);
    EXPECT_NEAR(tunedAfter(6000), 6000, 0.01);
    w->cmdExit_Click();
    EXPECT_TRUE(entry("mnuScanFreqList")->isEnabled());
}

TEST_F(ScansOnAR7030, BandSweepFollowsTheProfileAndHoldsOnAStrongSignal)
{
    useProfile([](double khz) { return khz >= 7003.5 && khz <= 7004.5 ? 10.0 : 2.0 + (khz - 7000) * 0.5; });
    auto *w = openFromPanel<frmScanband>();
    ASSERT_TRUE(w);
    EXPECT_FALSE(entry("mnuScanFreqList")->isEnabled());
    w->chkSqlonoff->setValue(1);
    for (int i = 0; i < 13; ++i)
        w->spnSqlon_SpinDown(); // S8
    w->txtInput[0]->setText("7000");
    w->txtInput[1]->setText("7010");
    w->txtInput[2]->setText("1");
    w->txtInput[3]->setText("60");
    w->cmdStart_Click();
    ASSERT_TRUE(w->sweeping());
    EXPECT_EQ(w->sqloffnr(), 8);
    for (int k = 0; k < 4; ++k) {
        w->tmrScanband_Timer();
        EXPECT_NEAR(tunedAfter(7001 + k), 7001 + k, 0.01);
        EXPECT_NEAR(w->sweep().sblevels[size_t(k)], 2 + 0.5 * k, 0.21) << k;
    }
    // Step 4 reads S10: on hold, the receiver stays.
    w->tmrScanband_Timer();
    EXPECT_NEAR(w->sweep().sblevels[4], 10, 0.21);
    EXPECT_TRUE(w->tmrSqlon.isActive());
    EXPECT_FALSE(w->tmrScanband.isActive());
    EXPECT_EQ(w->lblFreq1->text(), "On Hold");
    EXPECT_TRUE(w->cmdContinue->isEnabled());
    EXPECT_EQ(w->sweep().sbstepnr, 4);
    w->tmrSqlon_Timer();
    EXPECT_TRUE(w->tmrSqlon.isActive());
    // The signal fades below the off threshold: the sweep goes on by itself.
    emu.setSmeter(3);
    w->tmrSqlon_Timer();
    EXPECT_FALSE(w->tmrSqlon.isActive());
    EXPECT_TRUE(w->tmrScanband.isActive());
    EXPECT_EQ(w->lblFreq1->text(), "Scanning");
    EXPECT_FALSE(w->cmdContinue->isEnabled());
    w->tmrScanband_Timer(); // the held step once more, then on
    EXPECT_NEAR(w->sweep().sblevels[4], 3, 0.21);
    EXPECT_NEAR(tunedAfter(7005), 7005, 0.01);
    const Picture &pic = w->picScan->picture();
    const int x4 = w->sweep().xOf(7004), y4 = BandSweep::yOf(w->sweep().sblevels[4]);
    EXPECT_EQ(pic.pixel(x4, y4), QColor(0, 0, 0));
    EXPECT_EQ(pic.pixel(x4, y4 - 1), QColor(255, 255, 192));

    // Continue while on hold skips the held step.
    emu.setSmeter(12);
    w->tmrScanband_Timer();
    ASSERT_TRUE(w->tmrSqlon.isActive());
    w->cmdContinue_Click();
    EXPECT_NEAR(tunedAfter(7006), 7006, 0.01);
    EXPECT_EQ(w->sweep().sbstepnr, 6);
    w->cmdStop_Click();
    w->cmdExit_Click();
    EXPECT_TRUE(entry("mnuScanFreqList")->isEnabled());
}

TEST_F(ScansOnAR7030, ALostLineEndsTheScansWithTheLinesMessageOnly)
{
    auto *w = openFromPanel<frmScanband>();
    ASSERT_TRUE(w);
    w->txtInput[0]->setText("7000");
    w->txtInput[1]->setText("7010");
    w->txtInput[2]->setText("1");
    w->txtInput[3]->setText("60");
    w->cmdStart_Click();
    w->tmrScanband_Timer();
    ASSERT_TRUE(w->sweeping());
    pty.dropLine();
    for (int i = 0; i < 3 && w->sweeping(); ++i) {
        w->tmrScanband_Timer();
        QCoreApplication::processEvents();
    }
    EXPECT_FALSE(w->sweeping());
    tavtest::waitFor([&] { return !dialogs.shown().isEmpty(); }, 2000);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("was lost")) << dialogs.shown()[0].text.toStdString();
    w->cmdExit_Click();

    auto *l = openFromPanel<frmScanlist>();
    ASSERT_TRUE(l);
    l->txtFreqlist[0]->setText("7000");
    l->txtDelay->setText("10");
    // A scan started after the loss says that the line is closed, and does not run.
    l->cmdStart_Click();
    EXPECT_FALSE(l->scanning());
    QCoreApplication::processEvents();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_TRUE(dialogs.shown()[1].text.contains("is closed since it was lost")) << dialogs.shown()[1].text.toStdString();
    l->cmdExit_Click();
}

TEST_F(ScansOnAR7030, BandStepsFollowTheLastTwentyRuleAndOtherTuningIsRecorded)
{
    auto *last20 = Windows::existing<lists::frmLast20>();
    ASSERT_TRUE(last20 && last20->isLoadedForm());
    auto *panel = Windows::existing<frmAR7030>();
    auto *w = openFromPanel<frmScanband>();
    w->txtInput[0]->setText("7000");
    w->txtInput[1]->setText("7100");
    w->txtInput[2]->setText("10");
    w->txtInput[3]->setText("60");
    last20->chkNofreqsteps->setValue(1);
    w->cmdStart_Click();
    w->tmrScanband_Timer();
    EXPECT_NEAR(tunedAfter(7010), 7010, 0.01);
    EXPECT_NE(last20->shown(0), panel->txtFrequencyA->text()); // a step, not recorded
    frmWelcome::instance()->hub().Change2FreqA(9500); // tuned elsewhere meanwhile
    EXPECT_EQ(last20->shown(0), panel->txtFrequencyA->text());
    last20->chkNofreqsteps->setValue(0);
    w->tmrScanband_Timer();
    EXPECT_NEAR(tunedAfter(7020), 7020, 0.01);
    EXPECT_EQ(last20->shown(0), panel->txtFrequencyA->text());
    w->cmdStop_Click();
}

using ScansOnNrd545 = tavtest::Nrd545Rig;

TEST_F(ScansOnNrd545, ScansHoldTheReceiverInRemoteAndClosingLetsItGo)
{
    ASSERT_TRUE(go());
    JrcLock *lock = openJrcLock();
    ASSERT_TRUE(lock);
    G.utctext = QStringLiteral("9 Dec 2026  08:00");

    auto *list = Windows::get<frmScanlist>();
    list->load();
    list->txtFreqlist[0]->setText("9650");
    list->txtDelay->setText("10");
    list->cmdStart_Click();
    EXPECT_EQ(lock->toolHolds(), 1);
    EXPECT_TRUE(tavtest::waitFor([&] { return emu.remote; }));
    dialogs.answer(vbNo); // the typed list is not kept
    list->close();        // the close box, not Exit
    EXPECT_EQ(dialogs.shown().last().title + "|" + dialogs.shown().last().text.section('\n', 0, 0),
              "Unsaved data|The data in the List Scan window is not saved.");
    EXPECT_FALSE(list->scanning());
    EXPECT_EQ(lock->toolHolds(), 0);

    auto *band = Windows::get<frmScanband>();
    band->load();
    band->txtInput[0]->setText("9600");
    band->txtInput[1]->setText("9700");
    band->txtInput[2]->setText("5");
    band->txtInput[3]->setText("60");
    band->cmdStart_Click();
    ASSERT_TRUE(band->sweeping());
    EXPECT_EQ(lock->toolHolds(), 1);
    band->tmrScanband_Timer();
    EXPECT_TRUE(tavtest::waitFor([&] { return emu.tunedFrequencyHz() == 9605000; }));
    band->close();
    EXPECT_FALSE(band->tmrScanband.isActive());
    EXPECT_EQ(lock->toolHolds(), 0);
}
