// The AR7030 panel and the hub, offscreen, against the emulated AR7030 on a
// pseudo-terminal: Go, the keypad, every way of stepping, the key map, the
// bars and buttons, Close and Exit.
#include "hub/app.h"
#include "drivers/receiver.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/numtext.h"
#include "core/tables.h"
#include "panels/frmAR7030.h"
#include "sim/ar7030.h"
#include "sim/pty.h"
#include "support/hubline.h"
#include "support/testenv.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>
#include <gtest/gtest.h>

using namespace tav;

namespace {

struct AR7030Panel : ::testing::Test {
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
        G.setupdata[28] = 40, G.setupdata[29] = 60;
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
    double tunedKhz() const { return emu.tunedFrequencyHz() / 1000; }
    // The emulator takes the bytes when the event loop runs.
    double tunedAfter(double expect)
    {
        tavtest::waitFor([&] { return std::fabs(tunedKhz() - expect) < 0.01; }, 3000);
        return tunedKhz();
    }
    template <class F> auto settled(F get, decltype(get()) expect)
    {
        tavtest::waitFor([&] { return get() == expect; }, 3000);
        return get();
    }
    void key(QWidget *w, int qtKey, Qt::KeyboardModifiers mods, const QString &text = QString())
    {
        QKeyEvent ev(QEvent::KeyPress, qtKey, mods, text);
        QApplication::sendEvent(w, &ev);
    }
    void enter(frmAR7030 *p, const QString &digits)
    {
        for (QChar c : digits)
            if (c == '.')
                p->cmdDot->click();
            else
                p->cmd0to9[size_t(c.digitValue())]->click();
    }
};

} // namespace

TEST_F(AR7030Panel, GoOpensThePanelShowingTheReceiversState)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->isLoadedForm());
    EXPECT_TRUE(Windows::loaded(WindowId::frmAR7030));
    EXPECT_FALSE(frmWelcome::instance()->isVisible());
    EXPECT_TRUE(frmWelcome::instance()->Comm1.isOpen());
    EXPECT_EQ(p->txtFrequencyA->text(), "7100.00");
    EXPECT_EQ(p->cmbFreqstep->currentText(), " 5");
    EXPECT_EQ(p->cmbFreqstep->itemText(0), "0.01");
    EXPECT_EQ(p->lblMode->text(), G.modenames[size_t(emu.applied().mode)]);
    // Filter captions come from the receiver; empty slots stay disabled.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(p->cmdBandwidth[size_t(i)]->isEnabled(), G.bwnames[i + 1] != "0.0") << i;
    // The line levels of the settings are sent at every load.
    EXPECT_NEAR(p->lblLineL->text().toDouble(), 40, 1.01); // the level steps of the receiver
    EXPECT_NEAR(p->lblLineR->text().toDouble(), 60, 1.01);
    ASSERT_FALSE(p->mnuDirect->actions().isEmpty());
    EXPECT_EQ(p->mnuDirect->actions().first()->text(), "Update");
}

TEST_F(AR7030Panel, KeypadTunesAndRefusesOutOfRange)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    enter(p, "9500");
    EXPECT_EQ(p->lblMfreq->text(), "9500");
    p->cmdBack->click();
    p->cmd0to9[0]->click();
    p->cmdEnterfreq->click();
    EXPECT_NEAR(tunedAfter(9500), 9500, 0.01);
    EXPECT_EQ(p->txtFrequencyA->text(), "9500.00");
    EXPECT_EQ(p->lblMfreq->text(), "");

    enter(p, "99999");
    p->cmdEnterfreq->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "Frequency\noutside range");
    EXPECT_EQ(dialogs.shown()[0].title, "Error");
    EXPECT_NEAR(tunedAfter(9500), 9500, 0.01);

    // Memory cell numbers are checked wide: 123456 must not wrap into a cell.
    enter(p, "123456");
    pty.clearReceived();
    p->cmdEnterMem->click();
    EXPECT_EQ(dialogs.shown().last().text, "Memory cell\noutside range");
    EXPECT_TRUE(pty.received().isEmpty());
    // An empty channel sends nothing.
    enter(p, "7");
    pty.clearReceived();
    p->cmdEnterMem->click();
    tavtest::pump(50);
    EXPECT_FALSE(pty.received().contains(char(0x21))) << "no tuning routine for an empty channel";
    EXPECT_NEAR(tunedAfter(9500), 9500, 0.01);
    EXPECT_EQ(dialogs.shown().last().text, "Memory cell 007 is empty:\nnothing was recalled.");
    // A channel whose mode is no mode, and one the receiver does not report,
    // are not sent either, and the user hears which.
    emu.storeChannel(8, sim::AR7030Emulator::wordForHz(6000000), 15, 3, false, 0, 0);
    for (bool silent : {false, true}) {
        pty.setOff(silent);
        enter(p, "8");
        pty.clearReceived();
        p->cmdEnterMem->click();
        tavtest::pump(50);
        EXPECT_FALSE(pty.received().contains(char(0x21)));
        EXPECT_EQ(dialogs.shown().last().text,
                  silent ? "The receiver did not answer\nwhen memory cell 008 was read."
                         : "Memory cell 008 holds no mode or filter of the receiver:\nnothing was recalled.");
    }
    pty.setOff(false);
    EXPECT_NEAR(tunedAfter(9500), 9500, 0.01);

    enter(p, "12.5");
    p->cmdEnterS->click();
    EXPECT_EQ(p->cmbFreqstep->currentText(), "12.5");
    enter(p, "0.005");
    p->cmdEnterS->click();
    EXPECT_EQ(dialogs.shown().last().text, "Frequency Stepsize\noutside range");
    EXPECT_EQ(p->cmbFreqstep->currentText(), "5");
}

TEST_F(AR7030Panel, EveryWayOfSteppingTunesTheReceiver)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    p->cmbFreqstep->setEditText(QStringLiteral("5"));
    emit p->spnFreqstep->SpinUp();
    EXPECT_NEAR(tunedAfter(7105), 7105, 0.01);
    emit p->spnFreqstep->SpinDown();
    emit p->spnFreqstep->SpinDown();
    EXPECT_NEAR(tunedAfter(7095), 7095, 0.01);
    p->cmdfreqstep[1]->click();
    EXPECT_NEAR(tunedAfter(7100), 7100, 0.01);
    p->cmdfreqstep[0]->click();
    EXPECT_NEAR(tunedAfter(7095), 7095, 0.01);

    // Arrow keys work while the frequency box has the focus.
    key(p->txtFrequencyA, Qt::Key_Up, Qt::NoModifier);
    EXPECT_NEAR(tunedAfter(7100), 7100, 0.01);
    key(p->txtFrequencyA, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_NEAR(tunedAfter(7095), 7095, 0.01);
    key(p->txtFrequencyA, Qt::Key_Up, Qt::ShiftModifier); // not in the map
    EXPECT_NEAR(tunedAfter(7095), 7095, 0.01);

    // The wheel: nothing until the pointer rests inside the box's inner area.
    auto wheel = [&](int dy) {
        const QPointF c(p->txtFrequencyA->width() / 2.0, p->txtFrequencyA->height() / 2.0);
        QWheelEvent ev(c, c, QPoint(), QPoint(0, dy), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        // A real wheel event climbs from the box to the panel, where the wheel hook sits.
        QApplication::sendEvent(p, &ev);
    };
    p->txtFrequencyA->resize(200, 40);
    wheel(120);
    EXPECT_NEAR(tunedAfter(7095), 7095, 0.01);
    QMouseEvent move(QEvent::MouseMove, QPointF(100, 20), QPointF(100, 20), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(p->txtFrequencyA, &move);
    EXPECT_TRUE(p->wheelarmed);
    wheel(120);
    EXPECT_NEAR(tunedAfter(7100), 7100, 0.01);
    wheel(-240);
    EXPECT_NEAR(tunedAfter(7090), 7090, 0.01);
    QMouseEvent edge(QEvent::MouseMove, QPointF(1, 1), QPointF(1, 1), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(p->txtFrequencyA, &edge);
    EXPECT_FALSE(p->wheelarmed);

    // Rounding labels go through the hub.
    enter(p, "7102.5");
    p->cmdEnterfreq->click();
    emit p->lblInt5->clicked();
    EXPECT_NEAR(tunedAfter(7105), 7105, 0.01);
    enter(p, "9999.5");
    p->cmdEnterfreq->click();
    emit p->lbnInt1->clicked();
    EXPECT_NEAR(tunedAfter(10000), 10000, 0.01);

    // A box showing more than the top is stepped down to the top, never beyond.
    p->txtFrequencyA->setText(QStringLiteral("99999"));
    emit p->spnFreqstep->SpinDown();
    EXPECT_NEAR(tunedAfter(32016), 32016, 0.01);
    EXPECT_EQ(p->txtFrequencyA->text(), "32016.00");
    p->txtFrequencyA->setText(QStringLiteral("12"));
    emit p->spnFreqstep->SpinDown();
    EXPECT_NEAR(tunedAfter(10), 10, 0.01);
}

TEST_F(AR7030Panel, ContinuousSteppingRunsOnTicksUntilStopped)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    p->cmbFreqstep->setEditText(QStringLiteral("1"));
    p->cmdfreqstep[0]->click(); // direction: down
    EXPECT_NEAR(tunedAfter(7099), 7099, 0.01);
    p->tmrMovefreq.stop();
    p->cmdMovefreq->click();
    EXPECT_EQ(p->cmdMovefreq->text(), "Stop");
    EXPECT_TRUE(p->tmrMovefreq.isActive());
    p->tmrMovefreq.stop(); // the test drives the ticks
    p->tmrMovefreq_Timer();
    p->tmrMovefreq_Timer();
    EXPECT_NEAR(tunedAfter(7097), 7097, 0.01);
    emit p->spnFreqstep->SpinUp(); // reverses the run
    p->tmrMovefreq_Timer();
    EXPECT_NEAR(tunedAfter(7099), 7099, 0.01);
    key(p->txtFrequencyA, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(p->cmdMovefreq->text(), "GO");
    EXPECT_EQ(p->movefreqon, 0);
    p->tmrMovefreq_Timer();
    EXPECT_NEAR(tunedAfter(7099), 7099, 0.01);
}

TEST_F(AR7030Panel, BarsAndButtonsChangeTheReceiver)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    p->cmdMode[4]->click();
    EXPECT_EQ(settled([&] { return emu.applied().mode; }, 5), 5);
    EXPECT_EQ(p->lblMode->text(), "CW");
    EXPECT_TRUE(p->vsbBeatfreqosc->isEnabled());
    p->cmdMode[0]->click();
    EXPECT_FALSE(p->vsbBeatfreqosc->isEnabled());
    p->cmdMode[2]->click();
    EXPECT_FALSE(p->vsbPassbandshift->isEnabled());
    p->cmdMode[0]->click();
    p->cmdAttenuator[3]->click();
    EXPECT_EQ(settled([&] { return emu.applied().attenuator; }, 3), 3);
    EXPECT_EQ(p->lblAttenuator->text(), "-20");
    p->cmdAgcspeed[2]->click();
    EXPECT_EQ(settled([&] { return emu.applied().agc; }, 2), 2);
    EXPECT_EQ(p->lblAgcspeed->text(), "Slw");
    p->vsbPassbandshift->setValue(3);
    EXPECT_EQ(settled([&] { return emu.applied().pbs; }, 9), 9);
    EXPECT_EQ(p->lblPassbandshift->text(), "+0.3k");
    p->vsbSquelch->setValue(1);
    EXPECT_EQ(p->lblSquelch->text(), "01");
    p->vsbVolume->setValue(50);
    EXPECT_EQ(p->lblVolume->text(), "50");
    emit p->lblMute->clicked();
    EXPECT_EQ(p->vsbVolume->value(), 0);
    EXPECT_EQ(p->lblLineL->text(), "00");
    emit p->lblMute->clicked();
    EXPECT_EQ(p->vsbVolume->value(), 50);
    EXPECT_NEAR(p->lblLineL->text().toDouble(), 40, 1.01); // the level steps of the receiver
    emit p->lblVolume->clicked();
    EXPECT_EQ(p->lblVolume->text(), "00");
    const bool wasOn = emu.applied().power;
    p->cmdPowerOnOff->click();
    EXPECT_TRUE(tavtest::waitFor([&] { return emu.applied().power != wasOn; }));
}

TEST_F(AR7030Panel, KeyMapNeedsTheExactModifier)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    p->txtFrequencyA->setFocus();
    key(p->txtFrequencyA, Qt::Key_C, Qt::ShiftModifier, QStringLiteral("C"));
    EXPECT_EQ(settled([&] { return emu.applied().mode; }, 5), 5);
    EXPECT_FALSE(p->txtFrequencyA->text().contains('C')) << "the key is the panel's, not the box's";
    key(p->txtFrequencyA, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    key(p->txtFrequencyA, Qt::Key_A, Qt::AltModifier);
    tavtest::pump(50);
    EXPECT_EQ(settled([&] { return emu.applied().mode; }, 5), 5);
    key(p->txtFrequencyA, Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
    EXPECT_EQ(settled([&] { return emu.applied().mode; }, 1), 1);

    // Shift+"=" / "-" / "0" on the shift bar, as the keys of any layout give them.
    key(p->txtFrequencyA, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    key(p->txtFrequencyA, Qt::Key_Plus, Qt::ShiftModifier, QStringLiteral("+"));
    EXPECT_EQ(p->vsbPassbandshift->value(), 2);
    EXPECT_EQ(settled([&] { return emu.applied().pbs; }, 6), 6);
    key(p->txtFrequencyA, Qt::Key_ParenRight, Qt::ShiftModifier, QStringLiteral(")"));
    EXPECT_EQ(p->vsbPassbandshift->value(), 0);
    // A French keyboard's "0" key: its scan code, whatever symbol it gives.
    key(p->txtFrequencyA, Qt::Key_Plus, Qt::ShiftModifier);
    QKeyEvent fr(QEvent::KeyPress, Qt::Key_Agrave, Qt::ShiftModifier, 19, 0, 0, QStringLiteral("0"));
    QApplication::sendEvent(p->txtFrequencyA, &fr);
    EXPECT_EQ(p->vsbPassbandshift->value(), 0);

    // Alt bar keys: the volume.
    p->vsbVolume->setValue(97);
    key(p->txtFrequencyA, Qt::Key_Equal, Qt::AltModifier);
    EXPECT_EQ(p->vsbVolume->value(), 99);
    key(p->txtFrequencyA, Qt::Key_Minus, Qt::AltModifier);
    EXPECT_EQ(p->vsbVolume->value(), 94);

    // Ctrl with digits builds an entry that Ctrl+F tunes.
    for (int k : {Qt::Key_6, Qt::Key_0, Qt::Key_7, Qt::Key_0})
        key(p->txtFrequencyA, k, Qt::ControlModifier);
    EXPECT_EQ(p->lblMfreq->text(), "6070");
    EXPECT_EQ(p->keyentry, "6070");
    key(p->txtFrequencyA, Qt::Key_F, Qt::ControlModifier);
    EXPECT_NEAR(tunedAfter(6070), 6070, 0.01);
    EXPECT_EQ(p->keyentry, "");
    // Shift+F1: the first filter, even when its button is disabled.
    p->cmdBandwidth[0]->setEnabled(false);
    key(p->txtFrequencyA, Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(settled([&] { return emu.applied().filter; }, 1), 1);
}

TEST_F(AR7030Panel, CloseReturnsToTheWelcomeScreenWithThePortClosed)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    p->cmdClose->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmAR7030));
    EXPECT_FALSE(p->isLoadedForm());
    EXPECT_FALSE(frmWelcome::instance()->Comm1.isOpen());
    EXPECT_TRUE(frmWelcome::instance()->isVisible());
    EXPECT_FALSE(p->AR7030A);
}

TEST_F(AR7030Panel, ExitEndsWithoutWritingThePositionFile)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    int ended = -1;
    auto saved = frmWelcome::endProgram;
    frmWelcome::endProgram = [&](int code) { ended = code; };
    for (QAction *a : p->mnuDirect->actions())
        if (a->objectName() == "mnuExit")
            a->trigger();
    frmWelcome::endProgram = saved;
    EXPECT_EQ(ended, 0);
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("formpositions.ini"))));
    EXPECT_TRUE(Windows::loaded(WindowId::frmAR7030)) << "no unload work on Exit";
}

TEST_F(AR7030Panel, UnopenablePortNamesTheDeviceAndBringsTheWelcomeBack)
{
    dir.write(QStringLiteral("comports.ini"), "/dev/tavorin-no-such-port\r\n");
    frmAR7030 *p = go();
    EXPECT_FALSE(p && p->isLoadedForm());
    EXPECT_FALSE(Windows::loaded(WindowId::frmAR7030));
    ASSERT_GE(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown()[0].text.contains("/dev/tavorin-no-such-port")) << dialogs.shown()[0].text.toStdString();
    EXPECT_TRUE(frmWelcome::instance()->isVisible());
}

// ---- the hub ----

TEST_F(AR7030Panel, HubTunesWithinRangeOnly)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    frmWelcome *w = frmWelcome::instance();
    w->hub().Change2FreqA(goModel().freqMaxKHz);
    EXPECT_NEAR(tunedAfter(32016), 32016, 0.01);
    EXPECT_EQ(p->txtFrequencyA->text(), "32016.00");
    EXPECT_TRUE(dialogs.shown().isEmpty());
    pty.clearReceived();
    w->hub().Change2FreqA(goModel().freqMaxKHz + 0.001);
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, "Frequency outside range");
    EXPECT_EQ(dialogs.shown()[0].title, "Input Error");
    tavtest::pump(30);
    EXPECT_TRUE(pty.received().isEmpty());

    // A type chosen in the set-up dialog since Go does not redirect the hub.
    G.rxtype = 0;
    w->hub().Change2FreqA(9000);
    EXPECT_NEAR(tunedAfter(9000), 9000, 0.01);
    EXPECT_NEAR(w->hub().Update2RxFreq(), 9000, 0.01);
}

TEST_F(AR7030Panel, HubWithoutReceiverDoesNothing)
{
    G.goRxtype = 0;
    frmWelcome *w = frmWelcome::instance();
    w->hub().Change2FreqA(5000);
    w->hub().SetRx2mfa(QStringLiteral("a"));
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(w->hub().ConvertRx2mfa(), "");
    EXPECT_EQ(w->hub().Update2RxFreq(), 0);
    tavtest::pump(30);
    EXPECT_TRUE(pty.received().isEmpty());
}

TEST_F(AR7030Panel, HubModeLettersBothWays)
{
    frmAR7030 *p = go();
    ASSERT_TRUE(p);
    frmWelcome *w = frmWelcome::instance();
    struct Row { const char *letter; int mode, filter, agc; const char *shown; };
    const Row rows[] = {{"a", 1, 1, 0, "AM"}, {"U", 7, 2, 2, "USB"}, {"l", 6, 2, 2, "LSB"},
                        {"c", 5, 3, 0, "CW"}, {"d", 4, 2, 0, "Data"}, {"f", 3, 4, 0, "NFM"}};
    for (const Row &r : rows) {
        pty.clearReceived();
        w->hub().SetRx2mfa(QLatin1String(r.letter));
        EXPECT_EQ(settled([&] { return emu.applied().mode; }, r.mode), r.mode) << r.letter;
        EXPECT_EQ(settled([&] { return emu.applied().filter; }, r.filter), r.filter) << r.letter;
        EXPECT_EQ(p->lblMode->text(), r.shown) << r.letter;
        EXPECT_EQ(p->lblBandwidth->text(), G.bwnames[r.filter]) << r.letter;
        // The BFO value in normal contrast exactly when the mode has a BFO (Data, CW).
        const bool bfo = r.mode == 4 || r.mode == 5;
        EXPECT_EQ(p->lblBeatfreqosc->palette().color(QPalette::WindowText), vbColor(bfo ? kBlue : kLightYellow))
            << r.letter;
        EXPECT_EQ(p->vsbBeatfreqosc->isEnabled(), bfo) << r.letter;
        EXPECT_EQ(p->lblPassbandshift->palette().color(QPalette::WindowText), vbColor(r.mode == 3 ? kLightYellow : kBlue))
            << r.letter;
        // The mode byte: page 0, address 0x1D, then the mode as one nibble.
        EXPECT_TRUE(pty.received().startsWith(QByteArray("\x50\x31\x4D", 3) + char(0x60 + r.mode))) << r.letter;
        if (QLatin1String(r.letter) != QLatin1String("f")) {
            EXPECT_EQ(settled([&] { return emu.applied().agc; }, r.agc), r.agc) << r.letter;
        }
        EXPECT_EQ(w->hub().ConvertRx2mfa(), QString(QLatin1String(r.letter)).toLower());
    }
    // "f" leaves the AGC as it was.
    EXPECT_EQ(settled([&] { return emu.applied().agc; }, 0), 0);
    pty.clearReceived();
    w->hub().SetRx2mfa(QStringLiteral("x"));
    tavtest::pump(30);
    EXPECT_TRUE(pty.received().isEmpty());
    p->cmdMode[1]->click(); // Sync reads as AM
    EXPECT_EQ(w->hub().ConvertRx2mfa(), "a");
    pty.setOff(true); // a receiver that does not answer reads mode 0
    EXPECT_EQ(w->hub().ConvertRx2mfa(), "");
}

TEST_F(AR7030Panel, DialReportInTwoPiecesIsTakenOnce)
{
    frmWelcome *w = frmWelcome::instance();
    G.goRxtype = 2;
    w->hub().getfreq(w->term, QStringLiteral("00071"));
    EXPECT_EQ(w->term->text(), "00071");
    EXPECT_EQ(G.rxfreqnow, 0);
    w->hub().getfreq(w->term, QStringLiteral("00000A\r"));
    EXPECT_DOUBLE_EQ(G.rxfreqnow, 7100);
    EXPECT_EQ(w->term->text(), "");
}

#include "core/filekinds.h"
#include "hub/frmLoadfile.h"

TEST_F(AR7030Panel, LoadingAFileReadsTheReceiversFrequencyBackFirst)
{
    frmAR7030 *p = go();
    ASSERT_NE(p, nullptr);
    emu.dial(6055000); // the listener turned the knob since the panel last looked
    double seenByReader = -1;
    registerReader(FileKind::Own, [&](const QString &) {
        seenByReader = leadingNumber(p->txtFrequencyA->text());
        return FileResult::success();
    });
    dir.write(QStringLiteral("OWN/OWN_TEST.TXT"), "x\r\n");
    G.filedirs[FileKind::Own] = dir.path() + "OWN/";
    auto *dlg = Windows::get<frmLoadfile>();
    ASSERT_NE(dlg, nullptr);
    dlg->setKind(FileKind::Own);
    dlg->showModeless();
    dlg->cmdOK_Click();
    EXPECT_NEAR(leadingNumber(p->txtFrequencyA->text()), 6055, 0.01);
    EXPECT_NEAR(seenByReader, 6055, 0.01) << "the reader runs after the read-back";
}
