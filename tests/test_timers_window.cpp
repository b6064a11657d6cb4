// The timer window and the receiver clock window against the emulators over
// a serial line, driven by the clock service and the tick methods: two
// programs in sequence with the receiver's settings and its relay or line
// output at the right ticks, interrupting and closing during a run, the
// checks at Fix and at arming, the clock window's texts and commands.
#include "hub/app.h"
#include "core/clock.h"
#include "core/filekinds.h"
#include "hub/frmWelcome.h"
#include "hub/frmLoadfile.h"
#include "hub/frmSavefile.h"
#include "core/globals.h"
#include "core/tables.h"
#include "drivers/ar7030conv.h"
#include "panels/frmAR7030.h"
#include "scans/frmScanband.h"
#include "scans/frmScanlist.h"
#include "sim/ar7030.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "sim/rx320.h"
#include "support/hubline.h"
#include "support/testenv.h"
#include "timers/frmRxClock.h"
#include "timers/frmRxTimer.h"

#include <QComboBox>
#include <QListWidget>
#include <QLayout>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tav;

namespace {

struct RxRig : ::testing::TestWithParam<int> {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    std::unique_ptr<sim::Emulator> emu;
    std::unique_ptr<sim::PtyHarness> pty;
    int rx = 0;

    void open(int type)
    {
        rx = type;
        if (type == 1) {
            auto *a = new sim::AR7030Emulator;
            a->dial(7100000);
            emu.reset(a);
        } else if (type == 3) {
            emu = std::make_unique<sim::Rx320Emulator>();
        } else if (type == 2) {
            auto *j = new sim::Nrd535Emulator;
            j->cur.hz = 9650000, j->cur.mode = 2, j->cur.bw = 1, j->cur.agc = 0;
            emu.reset(j);
        } else {
            auto *j = new sim::Nrd545Emulator;
            j->cur.hz = 9650000, j->cur.mode = 2, j->cur.bw = 1, j->cur.agc = 30;
            j->passbandShift = -150, j->bandwidthControl = 250;
            emu.reset(j);
        }
        pty = std::make_unique<sim::PtyHarness>(*emu);
        ASSERT_TRUE(pty->ok());
        tavtest::openHub(dir, *pty, type, true);
        G.setupdata[1] = 1;
        G.setupdata[3] = 1; // local time is UTC + 1
        G.setupdata[14] = 1, G.setupdata[15] = 2, G.setupdata[16] = 3, G.setupdata[17] = 4;
        G.setupdata[28] = 40;
        G.setupdata[31] = 50;
        frmWelcome::instance()->imgGo_Click();
        ASSERT_TRUE(frmWelcome::instance()->hub().openPanel());
        ASSERT_TRUE(dialogs.shown().isEmpty()) << dialogs.shown().first().title.toStdString();
    }
    void TearDown() override
    {
        Windows::destroyAll();
        frmWelcome::destroy();
        Windows::registerFactory(WindowId::frmLast20, {});
    }
    sim::JrcEmulator *jrc() { return dynamic_cast<sim::JrcEmulator *>(emu.get()); }
    sim::AR7030Emulator *ar() { return dynamic_cast<sim::AR7030Emulator *>(emu.get()); }
    sim::Rx320Emulator *r320() { return dynamic_cast<sim::Rx320Emulator *>(emu.get()); }
    // Whether the recording output is on, as the receiver has it.
    bool outputOn()
    {
        tavtest::pump(30);
        if (rx == 1)
            return ar()->applied().auxLeft % 64 > 27; // 27 is level 0
        if (rx == 3)
            return r320()->lineLevel() < 63; // attenuation: 63 is silent
        return jrc()->timerRelay == 1;
    }
    double tunedKhz()
    {
        tavtest::pump(30);
        return emu->tunedFrequencyHz() / 1000.0;
    }
    // Sets the clock (local time) and lets the window's clock see it.
    void at(frmRxTimer *w, const QDateTime &local)
    {
        Clock::set(local);
        w->tmrCurrenTime_Timer();
    }
    // What the receiver is sent at a waiting tick at `local`.
    QString sentAtTick(frmRxTimer *w, const QDateTime &local)
    {
        at(w, local);
        tavtest::pump(50);
        pty->clearReceived();
        w->tmrTestprog_Timer();
        tavtest::pump(50);
        return QString::fromLatin1(pty->received());
    }
    frmRxTimer *openTimer(const QDateTime &local)
    {
        Clock::set(local);
        auto *w = Windows::get<frmRxTimer>();
        w->showModeless();
        return w;
    }
    // Load and Save clicked, the file chosen in the dialog and OK clicked.
    void loadTpr(frmRxTimer *w, const QString &name)
    {
        QTimer::singleShot(0, [name] {
            auto *l = Windows::existing<frmLoadfile>();
            const QList<QListWidgetItem *> found = l->list->findItems(name, Qt::MatchFixedString);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            l->list_Click(l->list->row(found.first()));
            QTest::mouseClick(l->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(w->cmdLoad, Qt::LeftButton);
    }
    void saveTpr(frmRxTimer *w, const QString &name)
    {
        QTimer::singleShot(0, [name] {
            auto *s = Windows::existing<frmSavefile>();
            s->cmbSavefile->setEditText(name);
            QTest::mouseClick(s->cmdOK, Qt::LeftButton);
        });
        QTest::mouseClick(w->cmdSave, Qt::LeftButton);
    }
    // The editor set to a UTC start, duration and frequency.
    void edit(frmRxTimer *w, int hour, int minute, int duration, double kHz)
    {
        w->editor.hour = hour, w->editor.minute = minute, w->editor.duration = duration;
        w->editor.setFrequencyKHz(kHz);
    }
};

const QDate kDay(2002, 8, 15);

} // namespace

TEST_P(RxRig, TwoProgramsRunInSequence)
{
    open(GetParam());
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50))); // 11:50 UTC
    ASSERT_TRUE(w->isLoadedForm());
    EXPECT_FALSE(outputOn()) << "the window loads with the output off";
    EXPECT_EQ(w->lblUTC->text(), "2002 08 15 11:50:00");
    EXPECT_NEAR(w->editor.frequencyHz() / 1000.0, tunedKhz(), 0.01) << "the editor took the receiver's frequency";
    if (rx == 1) {
        // The AR7030 tunes in steps of about 3 Hz and reads 6000 kHz back as 5999.999.
        frmWelcome::instance()->hub().Change2FreqA(6000.0);
        w->cmdRX_Click();
        EXPECT_EQ(w->editor.frequencyHz(), 6000000) << "the frequency as the panel shows it";
    }

    edit(w, 12, 0, 10, 6095);
    w->cmdFix_Click(1);
    edit(w, 12, 10, 5, 9410);
    w->cmdFix_Click(2);
    ASSERT_EQ(dialogs.shown().size(), 1u) << "starting in the minute the previous one ends is refused";
    EXPECT_EQ(dialogs.shown().last().title, "Conflict of events");
    edit(w, 12, 11, 5, 9410);
    w->cmdFix_Click(2);
    ASSERT_TRUE(w->table.progfixed[2]);
    EXPECT_EQ(w->rows[2].time[1]->text(), "11");

    w->timeronoff(1);
    ASSERT_TRUE(w->armed());
    EXPECT_EQ(w->windowTitle(), "  Timer is ON          ");
    EXPECT_FALSE(w->fraSetRx->isEnabled());
    EXPECT_FALSE(w->rows[2].cmdFixClr[0]->isEnabled());

    // Waiting: nothing is sent before 12:00 UTC.
    tavtest::pump(50);
    pty->clearReceived();
    at(w, QDateTime(kDay, QTime(12, 59, 55)));
    w->tmrTestprog_Timer();
    EXPECT_TRUE(w->windowTitle().contains("be patient"));
    EXPECT_FALSE(outputOn());
    EXPECT_NE(qRound(tunedKhz()), 6095);
    EXPECT_TRUE(pty->received().isEmpty()) << "a waiting tick sends nothing";

    at(w, QDateTime(kDay, QTime(13, 0, 2)));
    w->tmrTestprog_Timer();
    EXPECT_NEAR(tunedKhz(), 6095, 0.01);
    EXPECT_TRUE(outputOn());
    EXPECT_TRUE(w->rows[1].shp->text().isEmpty()) << "the receiver answered";
    pty->clearReceived();
    for (int tick = 1; tick < 120; ++tick)
        w->tmrDuration_Timer();
    EXPECT_TRUE(outputOn()) << "still on after 119 ticks of 5 s";
    EXPECT_TRUE(pty->received().isEmpty()) << "the ticks of a running program send nothing";
    w->tmrDuration_Timer();
    EXPECT_FALSE(outputOn()) << "off after ten minutes";
    EXPECT_TRUE(w->armed());

    at(w, QDateTime(kDay, QTime(13, 10, 30)));
    w->tmrTestprog_Timer();
    EXPECT_FALSE(outputOn());
    at(w, QDateTime(kDay, QTime(13, 11, 0)));
    w->tmrTestprog_Timer();
    EXPECT_NEAR(tunedKhz(), 9410, 0.01);
    EXPECT_TRUE(outputOn());
    for (int tick = 0; tick < 60; ++tick)
        w->tmrDuration_Timer();
    EXPECT_FALSE(outputOn());
    EXPECT_FALSE(w->armed());
    EXPECT_EQ(w->windowTitle(), "Timer Programming");
    EXPECT_TRUE(w->fraSetRx->isEnabled());
    EXPECT_TRUE(w->rows[2].cmdFixClr[1]->isEnabled());
    if (jrc()) {
        EXPECT_FALSE(jrc()->remote) << "the receiver is handed back after the run";
    }
}

TEST_P(RxRig, InterruptingOrClosingEndsTheRunningProgram)
{
    open(GetParam());
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50)));
    edit(w, 12, 0, 30, 6095);
    w->cmdFix_Click(1);
    edit(w, 12, 40, 30, 7205);
    w->cmdFix_Click(2);
    w->timeronoff(1);
    at(w, QDateTime(kDay, QTime(13, 0, 0)));
    w->tmrTestprog_Timer();
    ASSERT_TRUE(outputOn());
    if (jrc()) {
        EXPECT_TRUE(jrc()->remote);
    }

    dialogs.answer(vbNo);
    w->timeronoff(0);
    EXPECT_TRUE(outputOn()) << "No leaves the run alone";
    dialogs.answer(vbYes);
    w->timeronoff(0);
    EXPECT_FALSE(outputOn());
    EXPECT_FALSE(w->armed());
    EXPECT_FALSE(w->tmrDuration.isActive());
    EXPECT_EQ(w->durticks, 0);
    if (jrc()) {
        EXPECT_FALSE(jrc()->remote);
    }
    for (int tick = 0; tick < 400; ++tick)
        w->tmrDuration_Timer();
    at(w, QDateTime(kDay, QTime(13, 45)));
    w->tmrTestprog_Timer();
    EXPECT_FALSE(outputOn()) << "nothing of the run is left";

    // Closing the window while a program runs ends it as well.
    edit(w, 13, 50, 5, 6095);
    w->cmdClr_Click(2);
    w->cmdFix_Click(1);
    w->timeronoff(1);
    at(w, QDateTime(kDay, QTime(14, 50)));
    w->tmrTestprog_Timer();
    ASSERT_TRUE(outputOn());
    UnloadTools();
    EXPECT_FALSE(Windows::loaded(WindowId::frmRxTimer));
    if (rx == 1) {
        // The emulator takes the last bytes when the event loop runs.
        tavtest::waitFor([&] { return ar()->applied().auxLeft % 64 == 42; });
        EXPECT_EQ(ar()->applied().auxLeft % 64, 42) << "the AR7030's line output is back on (level 40) after the window";
    } else if (rx == 3) {
        EXPECT_TRUE(outputOn()) << "the RX-320's line output is back on after the window";
    } else {
        EXPECT_FALSE(outputOn());
        EXPECT_FALSE(jrc()->remote);
    }
}

// A program that starts while scans run ends them before its first command:
// no scan tunes between or after the program's settings, and each scan's
// caption says why it stopped, until it is started again.
TEST_P(RxRig, AProgramStartingEndsEveryScanBeforeItsFirstCommand)
{
    open(GetParam());
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50)));
    edit(w, 12, 0, 10, 6095);
    w->cmdFix_Click(1);
    w->timeronoff(1);
    auto *list = Windows::get<frmScanlist>();
    list->load();
    list->txtFreqlist[0]->setText("5970");
    list->txtFreqlist[1]->setText("9600");
    QTest::mouseClick(list->cmdStart, Qt::LeftButton);
    auto *band = Windows::get<frmScanband>();
    band->load();
    for (int i = 0; i < 4; ++i)
        band->txtInput[size_t(i)]->setText(QStringList{"7000", "7100", "1", "60"}[i]);
    QTest::mouseClick(band->cmdStart, Qt::LeftButton);
    const auto tickScans = [&] {
        list->tmrScanlist_Timer();
        band->tmrScanband_Timer();
    };
    tickScans();
    ASSERT_TRUE(list->scanning() && band->sweeping());

    // The scans' timers fire as soon as the program's commands let them.
    std::vector<double> tuned;
    // So does the list window's close box: its question waits for the
    // program's commands, and a Cancel then keeps the window shown.
    dialogs.answer(vbCancel);
    emu->log = [&](const QString &) {
        if (tuned.empty())
            QTimer::singleShot(0, tickScans);
        if (tuned.size() == 1)
            QTimer::singleShot(0, list, [list] { list->close(); });
        tuned.push_back(emu->tunedFrequencyHz() / 1000);
    };
    G.utctext = QStringLiteral("15 Aug 2002  11:59"); // as the clock tick a few seconds ago left it
    at(w, QDateTime(kDay, QTime(13, 0, 2)));
    w->tmrTestprog_Timer();
    tavtest::pump(50);
    tickScans();
    tavtest::pump(50);
    emu->log = {};
    EXPECT_FALSE(list->scanning());
    EXPECT_EQ(list->lblEndUTC->text(), "15 Aug 2002  12:00") << "the time the scan stopped";
    EXPECT_TRUE(dialogs.shown().last().text.startsWith("The data in the List Scan window is not saved."));
    EXPECT_TRUE(list->isVisible() && Windows::loaded<frmScanlist>());
    EXPECT_FALSE(band->sweeping());
    const auto program = std::find_if(tuned.begin(), tuned.end(), [](double k) { return std::abs(k - 6095) < 0.01; });
    ASSERT_NE(program, tuned.end());
    const auto away = std::find_if(program, tuned.end(), [](double k) { return std::abs(k - 6095) >= 0.01; });
    EXPECT_TRUE(away == tuned.end()) << "a scan tuned to " << *away << " kHz at command " << (away - tuned.begin());
    EXPECT_NEAR(tunedKhz(), 6095, 0.01);
    for (TavForm *scan : {static_cast<TavForm *>(list), static_cast<TavForm *>(band)})
        EXPECT_TRUE(scan->windowTitle().endsWith("  -  stopped: timer program 1 started"))
            << scan->windowTitle().toStdString();

    QTest::mouseClick(list->cmdContinue, Qt::LeftButton);
    EXPECT_TRUE(list->scanning());
    EXPECT_EQ(list->windowTitle(), "Scan Frequencies from list");
    QTest::mouseClick(list->cmdStop, Qt::LeftButton);
    EXPECT_FALSE(list->scanning());
}

TEST_P(RxRig, ClockWindowReadsAndSetsTheReceiverClock)
{
    open(GetParam());
    Clock::set(QDateTime(kDay, QTime(10, 15, 42)));
    auto *c = Windows::get<frmRxClock>();
    c->showModeless();
    EXPECT_EQ(c->lblLT->text(), "");
    const QByteArray before = (tavtest::pump(30), pty->received());
    c->cmdRX2LT_Click();
    EXPECT_EQ((tavtest::pump(30), pty->received()), before) << "nothing is sent before the first tick";

    c->tmrPCclock_Timer();
    EXPECT_EQ(c->lblLT->text(), "10:15:42");
    EXPECT_EQ(c->lblUT->text(), "09:15:42");
    if (rx == 3) {
        c->cmdRX2LT_Click();
        c->cmdGetRXclock_Click();
        EXPECT_EQ((tavtest::pump(30), pty->received()), before) << "the RX-320 has no clock";
        EXPECT_EQ(c->lblRT->text(), "");
        return;
    }
    c->cmdRX2LT_Click();
    c->cmdGetRXclock_Click();
    EXPECT_TRUE(c->lblRT->text().startsWith(rx == 4 ? "10:15" : "10:15:4")) << c->lblRT->text().toStdString();
    c->cmdRX2UT_Click();
    c->cmdGetRXclock_Click();
    EXPECT_TRUE(c->lblRT->text().startsWith("09:15")) << c->lblRT->text().toStdString();

    // A receiver that does not answer shows "?" and says so once.
    pty->setOff(true);
    c->cmdGetRXclock_Click();
    c->cmdGetRXclock_Click();
    EXPECT_EQ(c->lblRT->text(), "?");
    EXPECT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(c->cmdGetRXclock->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Receivers, RxRig, ::testing::Values(1, 2, 3, 4));

TEST(TimerClockTexts, UtcOffsets)
{
    registerBuiltWindows();
    G.goRxtype = 0;
    auto *c = Windows::get<frmRxClock>();
    c->load();
    struct T { double offset; QTime local; const char *utc; };
    for (const T &t : {T{1, QTime(0, 30, 5), "23:30:05"}, T{5.5, QTime(12, 0, 0), "06:30:00"}, T{-3, QTime(22, 0, 1), "01:00:01"}}) {
        G.setupdata[3] = float(t.offset);
        Clock::set(QDateTime(kDay, t.local));
        c->tmrPCclock_Timer();
        EXPECT_EQ(c->lblUT->text(), QLatin1String(t.utc)) << t.offset;
    }
    c->cmdGetRXclock_Click();
    EXPECT_EQ(c->lblRT->text(), "") << "no receiver, nothing read";
    Windows::destroyAll();
}

namespace {
struct Nrd545Timer : RxRig {};
} // namespace

TEST_P(Nrd545Timer, ChecksAtFixAndArmingEcssAndSilentReceiver)
{
    open(GetParam());
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50))); // 11:50 UTC
    edit(w, 12, 0, 10, 0);
    w->cmdFix_Click(1);
    EXPECT_EQ(dialogs.shown().last().title, "Input Error") << "0 kHz is outside the receiver's range";
    EXPECT_FALSE(w->table.progfixed[1]);
    edit(w, 11, 50, 10, 6095);
    w->cmdFix_Click(1);
    EXPECT_EQ(dialogs.shown().last().title, "Conflict in Time") << "a start in the present minute";
    edit(w, 12, 0, 10, 6095);
    w->cmdFix_Click(1);
    ASSERT_TRUE(w->table.progfixed[1]);

    // Program 1 has passed; the editor's later start does not make it runnable.
    at(w, QDateTime(kDay, QTime(13, 5)));
    edit(w, 14, 0, 10, 6095);
    w->timeronoff(1);
    EXPECT_FALSE(w->armed());
    EXPECT_EQ(dialogs.shown().last().title, "Conflict in Time");

    dialogs.answer(vbYes);
    w->cmdClrAll_Click();
    EXPECT_FALSE(w->table.progfixed[1]);
    EXPECT_TRUE(w->rows[1].cmdFixClr[0]->isEnabled());
    EXPECT_FALSE(w->rows[1].cmdFixClr[1]->isEnabled());
    EXPECT_FALSE(w->cmdTimerOnoff[1]->isEnabled());
    EXPECT_EQ(w->rows[1].time[0]->text(), "");

    // Mode 8: mode 4, then the second ECSS sideband; the AGC is not sent.
    edit(w, 12, 10, 5, 7205);
    for (int i = 0; i < 9 && w->editor.mode != 8; ++i)
        QTest::mouseClick(w->spnRxSetting[4]->upButton(), Qt::LeftButton);
    ASSERT_EQ(w->editor.mode, 8);
    w->cmdFix_Click(1);
    edit(w, 12, 20, 5, 9410);
    w->editor.mode = 2;
    w->cmdFix_Click(2);
    w->timeronoff(1);
    ASSERT_TRUE(w->armed());
    const QString sent = sentAtTick(w, QDateTime(kDay, QTime(13, 10)));
    EXPECT_TRUE(sent.contains("D4\r")) << sent.toStdString();
    EXPECT_TRUE(sent.contains("CC2\r")) << sent.toStdString();
    EXPECT_FALSE(sent.contains("NN")) << sent.toStdString();
    EXPECT_TRUE(w->rows[1].shp->text().isEmpty());
    for (int tick = 0; tick < 60; ++tick)
        w->tmrDuration_Timer();

    // A receiver that no longer answers is noted in the row; the run goes on.
    pty->setOff(true);
    at(w, QDateTime(kDay, QTime(13, 20)));
    w->tmrTestprog_Timer();
    EXPECT_EQ(w->rows[2].shp->text(), "?");
    EXPECT_TRUE(w->tmrDuration.isActive());
    pty->setOff(false);
}

TEST_P(Nrd545Timer, ProgramsSavedAndLoadedThroughTheFileDialogs)
{
    open(GetParam());
    InitConstants();
    buildFileDirs();
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50)));
    edit(w, 12, 0, 10, 6095);
    w->cmdFix_Click(1);
    edit(w, 13, 0, 45, 9410);
    w->editor.pbs = -230;
    w->cmdFix_Click(2);
    // Programs not saved yet: the close box asks, and Cancel keeps the window.
    dialogs.answer(vbCancel);
    w->close();
    EXPECT_EQ(dialogs.shown().last().title, "Unsaved data");
    ASSERT_TRUE(w->isLoadedForm());
    // Armed, the question names the window by its name, not its caption, and
    // its Save says once why it cannot save while the timer is on.
    QTest::mouseClick(w->cmdTimerOnoff[1], Qt::LeftButton);
    ASSERT_TRUE(w->armed());
    qsizetype armedAsked = dialogs.shown().size();
    dialogs.answer(vbYes);
    w->close();
    ASSERT_EQ(dialogs.shown().size(), armedAsked + 2);
    EXPECT_EQ(dialogs.shown()[armedAsked].text.section('\n', 0, 0), "The data in the Timer Programming window is not saved.");
    EXPECT_EQ(dialogs.shown()[armedAsked + 1].title + "|" + dialogs.shown()[armedAsked + 1].text,
              "Timer Programming|The programs cannot be saved while the timer is on.\n"
              "Press \"Timer Off\" first, then save them.");
    EXPECT_TRUE(w->isLoadedForm() && w->isVisible() && w->armed());
    dialogs.answer(vbYes); // interrupt the timer?
    QTest::mouseClick(w->cmdTimerOnoff[0], Qt::LeftButton);
    ASSERT_FALSE(w->armed());
    QTimer::singleShot(0, [] {
        auto *s = Windows::existing<frmSavefile>();
        s->cmbSavefile->setEditText("TPR_TEST.TXT");
        s->cmdOK_Click();
    });
    w->cmdSave_Click();
    const QByteArray file = dir.read("TPR/TPR_TEST.TXT");
    EXPECT_TRUE(file.startsWith(" 15, 8, 2002, 12, 0, 10,")) << file.constData();
    EXPECT_TRUE(file.contains(", 2002, 13, 0, 45, 0, 0,-230,")) << file.constData();
    EXPECT_TRUE(file.contains(",09410000\r\n")) << file.constData();

    edit(w, 1, 1, 1, 100);
    QTimer::singleShot(0, [] {
        auto *l = Windows::existing<frmLoadfile>();
        l->list_Click(0);
        l->cmdOK_Click();
    });
    w->cmdLoad_Click();
    EXPECT_EQ(w->editor.startText(), "2002 08 15 13:00");
    EXPECT_EQ(w->editor.duration, 45);
    EXPECT_EQ(w->editor.frequencyHz(), 9410000) << "the editor holds what it shows";
    EXPECT_EQ(w->lblTime[2]->text(), "45");
    // The programs as loaded: closing asks nothing.
    const qsizetype asked = dialogs.shown().size();
    w->close();
    EXPECT_EQ(dialogs.shown().size(), asked);
    EXPECT_FALSE(w->isLoadedForm());
}

TEST_P(Nrd545Timer, SilentReceiverAtLoadShowsQuestionMarksOnce)
{
    open(GetParam());
    pty->setOff(true);
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50)));
    ASSERT_TRUE(w->isLoadedForm());
    for (QLabel *l : w->lblRxSetting)
        EXPECT_EQ(l->text(), "?");
    w->cmdRX_Click();
    EXPECT_EQ(dialogs.shown().size(), 1u) << "said once";
    EXPECT_EQ(dialogs.shown().first().title, "Timer Programming");
    pty->setOff(false);
}

TEST_P(Nrd545Timer, DamagedProgramLineIsRefusedAndNothingOfItReachesTheReceiver)
{
    open(GetParam());
    InitConstants();
    buildFileDirs();
    // Attenuator 7, shift 999, width 5000, mode 9: nothing an NRD-545 takes.
    dir.write("TPR/TPR_BAD.TXT", " 15, 8, 2002, 12, 0, 10, 7, 0, 999, 5000, 9, 0,06095000\r\n"
                                 " 15, 8, 2002, 12, 30, 10, 0, 0, 0, 250, 2, 3,09410000\r\n");
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50))); // 11:50 UTC
    const ProgRow before = w->editor.toRow();
    QTimer::singleShot(0, [] {
        auto *l = Windows::existing<frmLoadfile>();
        l->list_Click(0);
        l->cmdOK_Click();
    });
    QTest::mouseClick(w->cmdLoad, Qt::LeftButton);
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown().last().title, "Timer program file");
    EXPECT_TRUE(dialogs.shown().last().text.contains("Line 1: the attenuator 7 is not in 0 to 1"))
        << dialogs.shown().last().text.toStdString();
    EXPECT_NE(w->editor.toRow(), before);
    EXPECT_EQ(w->editor.startText(), "2002 08 15 12:30") << "the program of line 2 is the first and the last";
    EXPECT_EQ(w->table.progdata[1][9], 0) << "nothing of the refused line reaches a row";
    EXPECT_FALSE(w->table.progfixed[2]);

    // A run of what the editor holds sends nothing of the refused line.
    edit(w, 12, 0, 10, 6095);
    QTest::mouseClick(w->rows[1].cmdFixClr[0], Qt::LeftButton);
    ASSERT_TRUE(w->table.progfixed[1]);
    w->timeronoff(1);
    ASSERT_TRUE(w->armed());
    const QString sent = sentAtTick(w, QDateTime(kDay, QTime(13, 0)));
    for (const char *bad : {"A7", "D9", "P+999", "W5000"})
        EXPECT_FALSE(sent.contains(QLatin1String(bad))) << bad << " in " << sent.toStdString();
    EXPECT_NEAR(tunedKhz(), 6095, 0.01);
    w->timeronoff(0);
}

TEST_P(Nrd545Timer, LoadFixesTheFilesProgramsInTheRowsAndSaveWritesTheSameFile)
{
    open(GetParam());
    InitConstants();
    buildFileDirs();
    const QByteArray file = " 15, 8, 2002, 12, 0, 10, 0, 0,-50, 300, 2, 3,06095000\r\n"
                            " 15, 8, 2002, 12, 30, 45, 1, 0, 0, 990, 5, 2,09410000\r\n"
                            " 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,00000000\r\n"
                            " 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,00000000\r\n"
                            " 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,00000000\r\n"
                            " 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,00000000\r\n";
    dir.write("TPR/TPR_TWO.TXT", file);
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50))); // 11:50 UTC
    loadTpr(w, "TPR_TWO.TXT");
    EXPECT_TRUE(dialogs.shown().isEmpty());

    // Both programs stand fixed in their rows, as Fix would have left them.
    ASSERT_TRUE(w->table.progfixed[1] && w->table.progfixed[2]);
    EXPECT_FALSE(w->table.progfixed[3]);
    auto rowText = [w](int n) {
        QStringList t;
        for (QLabel *l : w->rows[size_t(n)].date)
            t << l->text();
        for (QLabel *l : w->rows[size_t(n)].time)
            t << l->text();
        for (QLabel *l : w->rows[size_t(n)].rx)
            t << l->text();
        QString hz;
        for (int k = 7; k >= 0; --k)
            hz += w->rows[size_t(n)].freq[size_t(k)]->text();
        return t.join(' ') + ' ' + hz;
    };
    EXPECT_EQ(rowText(1), "15 Aug 02 12 00 10 " + G.attnames[0] + " xxx -0.5 3.0 USB " + G.agcnames[3] + " 06095000");
    EXPECT_EQ(rowText(2), "15 Aug 02 12 30 45 " + G.attnames[1] + " xxx xxx xxx NFM xxx 09410000");
    EXPECT_TRUE(rowText(3).trimmed().isEmpty());
    EXPECT_TRUE(w->rows[2].cmdFixClr[1]->isEnabled());
    EXPECT_TRUE(w->rows[3].cmdFixClr[0]->isEnabled());
    EXPECT_FALSE(w->rows[1].cmdFixClr[1]->isEnabled());
    EXPECT_TRUE(w->cmdTimerOnoff[1]->isEnabled());
    // The editor holds the last program, so Fix 2 gives it back unchanged.
    EXPECT_EQ(w->editor.startText(), "2002 08 15 12:30");
    EXPECT_EQ(w->lblRxSetting[4]->text(), "NFM");
    const ProgRow second = w->table.progdata[2];
    QTest::mouseClick(w->rows[2].cmdFixClr[0], Qt::LeftButton);
    EXPECT_EQ(w->table.progdata[2], second);

    saveTpr(w, "TPR_AGAIN.TXT");
    EXPECT_EQ(dir.read("TPR/TPR_AGAIN.TXT"), file) << "loaded and saved again, the same file";
}

TEST_P(Nrd545Timer, ProgramsOfAFileAreCheckedAsFixChecksThem)
{
    open(GetParam());
    InitConstants();
    buildFileDirs();
    dir.write("TPR/TPR_SOME.TXT", " 15, 8, 2002, 11, 0, 10, 0, 0, 0, 250, 2, 3,06095000\r\n"  // passed
                                  " 15, 8, 2002, 12, 0, 30, 0, 0, 0, 250, 2, 3,06095000\r\n"
                                  " 15, 8, 2002, 12, 30, 10, 0, 0, 0, 250, 2, 3,07205000\r\n" // still in 1
                                  " 15, 8, 2002, 12, 31, 10, 0, 0, 0, 250, 2, 3,09410000\r\n");
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50))); // 11:50 UTC
    loadTpr(w, "TPR_SOME.TXT");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_EQ(dialogs.shown().last().title, "Timer program file");
    EXPECT_EQ(dialogs.shown().last().text, "These lines were not taken as programs:\n"
                                           "Line 1: the start 2002 08 15 11:00 has passed\n"
                                           "Line 3: the program at 2002 08 15 12:30 does not start after the previous program ends (2002 08 15 12:30)");
    ASSERT_TRUE(w->table.progfixed[1] && w->table.progfixed[2]);
    EXPECT_FALSE(w->table.progfixed[3]);
    EXPECT_EQ(startText(w->table.progdata[1]), "2002 08 15 12:00");
    EXPECT_EQ(startText(w->table.progdata[2]), "2002 08 15 12:31");
    EXPECT_EQ(w->rows[2].freq[6]->text(), "9");
}

TEST_P(Nrd545Timer, AFileProgramKeepsToTheModesRulesAndRunsAsItsRowShows)
{
    open(GetParam());
    InitConstants();
    buildFileDirs();
    // NFM holds the shift at 0, the width at 990 and the AGC at 2.
    dir.write("TPR/TPR_NFM.TXT", " 15, 8, 2002, 12, 0, 10, 0, 0, 100, 500, 5, 3,06095000\r\n"
                                 " 15, 8, 2002, 12, 30, 10, 0, 0, 0, 990, 5, 2,09410000\r\n");
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50))); // 11:50 UTC
    loadTpr(w, "TPR_NFM.TXT");
    ASSERT_EQ(dialogs.shown().size(), 1u);
    EXPECT_TRUE(dialogs.shown().last().text.contains("Line 1: in mode NFM the pass-band shift is 0, not 100"))
        << dialogs.shown().last().text.toStdString();
    ASSERT_TRUE(w->table.progfixed[1]);
    EXPECT_FALSE(w->table.progfixed[2]);
    EXPECT_EQ(w->rows[1].time[1]->text(), "30");
    for (int i : {2, 3, 5})
        EXPECT_EQ(w->rows[1].rx[size_t(i)]->text(), "xxx") << i;

    QTest::mouseClick(w->cmdTimerOnoff[1], Qt::LeftButton);
    ASSERT_TRUE(w->armed());
    const QString sent = sentAtTick(w, QDateTime(kDay, QTime(13, 30)));
    for (const char *held : {"D5\r", "P+000\r", "W990\r"})
        EXPECT_TRUE(sent.contains(QLatin1String(held))) << held << " not in " << sent.toStdString();
    for (const char *bad : {"P+100", "W500", "NN"})
        EXPECT_FALSE(sent.contains(QLatin1String(bad))) << bad << " in " << sent.toStdString();
    EXPECT_NEAR(tunedKhz(), 9410, 0.01);
    dialogs.answer(vbYes);
    QTest::mouseClick(w->cmdTimerOnoff[0], Qt::LeftButton);
}

INSTANTIATE_TEST_SUITE_P(Nrd545, Nrd545Timer, ::testing::Values(4));

namespace {
struct Ar7030Timer : RxRig {};
} // namespace

TEST_P(Ar7030Timer, ProgrammedShiftSurvivesTheModeChange)
{
    open(GetParam());
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50))); // 11:50 UTC
    // The receiver has used USB with no shift; the program asks for +0.5 kHz in USB.
    ASSERT_NE(ar()->applied().mode, 7);
    edit(w, 12, 0, 10, 9410);
    w->editor.mode = 7;
    w->editor.pbs = 5;
    w->editor.bw = 2;
    QTest::mouseClick(w->rows[1].cmdFixClr[0], Qt::LeftButton);
    ASSERT_TRUE(w->table.progfixed[1]);
    w->timeronoff(1);
    at(w, QDateTime(kDay, QTime(13, 0)));
    w->tmrTestprog_Timer();
    tavtest::pump(50);
    EXPECT_EQ(ar()->applied().mode, 7);
    EXPECT_EQ(ar()->applied().filter, 2);
    EXPECT_EQ(ar()->applied().pbs, ar7030conv::vsb2b(5)) << "the receiver ends with the programmed shift";
    EXPECT_NEAR(tunedKhz(), 9410, 0.01);
    w->timeronoff(0);
}

TEST_P(Ar7030Timer, SettingsNoProgramCanHoldAreRefusedAtFixSoEverySavedFileLoadsAgain)
{
    open(GetParam());
    pty->setOff(true); // the editor takes no settings: bandwidth and mode stay 0
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50)));
    pty->setOff(false);
    const size_t before = dialogs.shown().size();
    edit(w, 12, 0, 10, 9410);
    QTest::mouseClick(w->rows[1].cmdFixClr[0], Qt::LeftButton);
    ASSERT_EQ(dialogs.shown().size(), before + 1);
    EXPECT_EQ(dialogs.shown().last().title, "Input Error");
    EXPECT_TRUE(dialogs.shown().last().text.contains("bandwidth 0")) << dialogs.shown().last().text.toStdString();
    EXPECT_FALSE(w->table.progfixed[1]);
    w->editor.bw = 2, w->editor.mode = 7;
    QTest::mouseClick(w->rows[1].cmdFixClr[0], Qt::LeftButton);
    EXPECT_TRUE(w->table.progfixed[1]);
}

INSTANTIATE_TEST_SUITE_P(Ar7030, Ar7030Timer, ::testing::Values(1));

namespace {
struct TimerLabels : RxRig {};
} // namespace

TEST_P(TimerLabels, EveryValueTheEditorCanHoldShowsWhole)
{
    open(GetParam());
    frmRxTimer *w = openTimer(QDateTime(kDay, QTime(12, 50)));
    EXPECT_EQ(w->findChild<QLabel *>("lblName(0)")->text(), "Select values");
    EXPECT_EQ(w->findChild<QLabel *>("lblName(15)")->text(), "Select values");
    // Walk every setting through its whole range with its spin button and see
    // each text whole in the editor and, once fixed, in the program row.
    auto whole = [](QLabel *l) {
        l->window()->layout()->activate();
        return l->contentsRect().width() >= l->fontMetrics().horizontalAdvance(l->text());
    };
    for (int i = 0; i < 6; ++i) {
        if (!w->spnRxSetting[size_t(i)]->isEnabled())
            continue;
        for (int step = 0; step < 100; ++step) {
            QTest::mouseClick(w->spnRxSetting[size_t(i)]->upButton(), Qt::LeftButton);
            QLabel *shown = w->lblRxSetting[size_t(i)];
            ASSERT_TRUE(whole(shown)) << "setting " << i << " \"" << shown->text().toStdString() << "\" is cut";
            w->rows[3].rx[size_t(i)]->setText(shown->text());
            ASSERT_TRUE(whole(w->rows[3].rx[size_t(i)])) << "in a program row: " << shown->text().toStdString();
        }
    }
    // The widest texts the fields hold, measured against the labels that show them.
    struct Widest {
        QLabel *label;
        QStringList texts;
    };
    QStringList durations, months;
    for (int d = 1; d <= 240; ++d)
        durations << QString::number(d);
    for (int m = 1; m <= 12; ++m)
        months << monthName(m);
    for (const Widest &c : {Widest{w->lblTime[2], durations}, Widest{w->rows[4].time[2], durations},
                            Widest{w->lblDate[1], months}, Widest{w->rows[6].date[1], months}}) {
        for (const QString &t : c.texts) {
            c.label->setText(t);
            EXPECT_TRUE(whole(c.label)) << t.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Receivers, TimerLabels, ::testing::Values(1, 2, 3, 4));
