// The NRD-545 panel against the NRD-545 emulator over a serial line: load,
// display of the receiver's state, buttons, sliders, labels, keys, the lock
// and closing.
#include "drivers/clsNRD545.h"
#include "panels/jrclock.h"
#include "support/nrd545rig.h"

#include <QAction>
#include <QPushButton>

using namespace tav;
using tavtest::Nrd545Rig;

namespace {

QPushButton *btn(QWidget *w, const QString &name) { return w->findChild<QPushButton *>(name); }

// The emulator takes the bytes from the event loop: wait until it has them.
#define EXPECT_EMU(field, value)                                                                             \
    EXPECT_TRUE(tavtest::waitFor([&] { return (field) == (value); })) << #field " is " << ::testing::PrintToString(field)

} // namespace

TEST_F(Nrd545Rig, GoLoadsThePanelShowingTheReceiverAndLeavesItLocal)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    EXPECT_TRUE(Windows::loaded(WindowId::frmNRD545));
    EXPECT_EQ(p->windowTitle(), QStringLiteral("NRD-545"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("USB"));
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral("Int"));
    EXPECT_EQ(p->lblAttenuator->text(), QStringLiteral("-20"));
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("0600"));
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("9650.000"));
    EXPECT_FALSE(p->cmdEcss[0]->isEnabled());
    EXPECT_TRUE(p->cmdAgcspeed[0]->isEnabled());
    EXPECT_EQ(p->cmbFreqstep->count(), 19);
    EXPECT_EQ(p->cmbFreqstep->itemText(0), G.freqsteps[0]);
    // RTTY off and the input tuning circuit on, then back to local.
    EXPECT_TRUE(sentCommand(QStringLiteral("U230")));
    EXPECT_EQ(emu.userSettings.value(24), QStringLiteral("1"));
    EXPECT_EMU(emu.rtty, 0);
    EXPECT_FALSE(emu.remote);
    EXPECT_EQ(G.panellock, 0);
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    // Nothing that needs the lock can be moved yet.
    for (VScroll *v : {p->vsbIfgain, p->vsbSquelch, p->vsbVolume, p->vsbTone, p->vsbBandwidthcontrol,
                       p->vsbPassbandshift})
        EXPECT_FALSE(v->isEnabled()) << v->objectName().toStdString();
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 999);
}

TEST_F(Nrd545Rig, LockReadsTheSlidersAndUnlockBlanksThem)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    btn(p, QStringLiteral("cmdLock(1)"))->click();
    EXPECT_EQ(G.panellock, 1);
    EXPECT_TRUE(emu.remote);
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("On"));
    EXPECT_EQ(p->lblIfgain->text(), QStringLiteral("99"));
    EXPECT_EQ(p->lblSquelch->text(), QStringLiteral("00"));
    EXPECT_EQ(p->lblTone->text(), QStringLiteral("  0"));
    EXPECT_EQ(p->lblVolume->text(), QStringLiteral("39"));
    EXPECT_EQ(p->lblPassbandshift->text(), QStringLiteral("-1.50"));
    EXPECT_EQ(p->lblbandwidthcontrol->text(), QStringLiteral("2.50"));
    EXPECT_EQ(p->vsbIfgain->value(), 255);
    EXPECT_EQ(p->vsbPassbandshift->value(), -150);
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 250);
    for (VScroll *v : {p->vsbIfgain, p->vsbSquelch, p->vsbVolume, p->vsbTone, p->vsbBandwidthcontrol,
                       p->vsbPassbandshift})
        EXPECT_TRUE(v->isEnabled()) << v->objectName().toStdString();
    // Values read back are written back once, unchanged.
    EXPECT_EMU(emu.volume, 100);
    EXPECT_EMU(emu.passbandShift, -150);

    btn(p, QStringLiteral("cmdLock(0)"))->click();
    EXPECT_EQ(G.panellock, 0);
    EXPECT_FALSE(emu.remote);
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    for (QLabel *l : {p->lblIfgain, p->lblSquelch, static_cast<QLabel *>(p->lblTone),
                      static_cast<QLabel *>(p->lblVolume), static_cast<QLabel *>(p->lblPassbandshift),
                      p->lblbandwidthcontrol})
        EXPECT_TRUE(l->text().isEmpty()) << l->objectName().toStdString();
    EXPECT_FALSE(p->vsbVolume->isEnabled());
    EXPECT_FALSE(p->vsbPassbandshift->isEnabled());
}

TEST_F(Nrd545Rig, ModeButtonsSetEcssAgcAndFilterControls)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    p->cmdMode[4]->click();
    EXPECT_EMU(emu.cur.mode, 4);
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("AM"));
    EXPECT_TRUE(p->cmdEcss[0]->isEnabled());
    EXPECT_TRUE(p->cmdEcss[1]->isEnabled());
    for (QPushButton *b : p->cmdAgcspeed)
        EXPECT_FALSE(b->isEnabled());

    p->cmdEcss[1]->click();
    EXPECT_EMU(emu.ecss, 2);
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("AM-L"));

    btn(p, QStringLiteral("cmdLock(1)"))->click();
    p->cmdMode[5]->click(); // NFM: fixed filter
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("NFM"));
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral("Wid"));
    EXPECT_FALSE(p->lblBandwidth->isEnabled());
    for (QPushButton *b : p->cmdBandwidth)
        EXPECT_FALSE(b->isEnabled());
    EXPECT_FALSE(p->vsbBandwidthcontrol->isEnabled());
    EXPECT_FALSE(p->vsbPassbandshift->isEnabled());
    EXPECT_TRUE(p->vsbVolume->isEnabled());

    p->cmdMode[1]->click(); // CW
    EXPECT_FALSE(p->cmdEcss[0]->isEnabled());
    for (QPushButton *b : p->cmdAgcspeed)
        EXPECT_TRUE(b->isEnabled());
    EXPECT_TRUE(p->cmdBandwidth[0]->isEnabled());
    EXPECT_TRUE(p->vsbPassbandshift->isEnabled());
}

TEST_F(Nrd545Rig, AgcButtonsSendTheSettingsFactors)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    p->cmdAgcspeed[3]->click();
    EXPECT_EMU(emu.cur.agc, 0);
    EXPECT_TRUE(sentCommand(QStringLiteral("G2")));
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("Off"));
    p->cmdAgcspeed[0]->click();
    EXPECT_EMU(emu.cur.agc, 10);
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("0200"));
    p->cmdAgcspeed[2]->click();
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("1800"));
    // A hand-edited factor the receiver does not have falls back.
    G.setupdata[24] = 12;
    G.setupdata[25] = 0;
    p->cmdAgcspeed[1]->click();
    EXPECT_EMU(emu.cur.agc, 30);
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("0600"));
    p->cmdAgcspeed[2]->click();
    EXPECT_EMU(emu.cur.agc, 90);
}

TEST_F(Nrd545Rig, AttenuatorBandwidthPowerAndFreqOrChan)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    p->cmdAttenuator[0]->click();
    EXPECT_EMU(emu.cur.att, 0);
    EXPECT_EQ(p->lblAttenuator->text(), QStringLiteral(" 0"));
    p->cmdAttenuator[1]->click();
    EXPECT_EQ(p->lblAttenuator->text(), QStringLiteral("-20"));

    p->cmdBandwidth[2]->click();
    EXPECT_EMU(emu.cur.bw, 2);
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral("Nar"));

    clearSent();
    p->cmdPowerOnOff->click();
    EXPECT_TRUE(sentCommand(QStringLiteral("T1")));
    EXPECT_EQ(p->cmdPowerOnOff->palette().color(QPalette::Button), vbColor(0xFF00));
    p->cmdPowerOnOff->click();
    EXPECT_EMU(emu.power, 0);
    EXPECT_EQ(p->cmdPowerOnOff->palette().color(QPalette::Button), vbColor(0x888888));

    const bool before = emu.channelMode;
    p->cmdFreqOrChan->click();
    EXPECT_NE(emu.channelMode, before);
}

TEST_F(Nrd545Rig, SlidersSendTheirValuesAndLabelsResetThemWhileLocked)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    p->lblVolume->clicked(); // disabled slider: nothing
    EXPECT_EMU(emu.volume, 100);

    btn(p, QStringLiteral("cmdLock(1)"))->click();
    p->vsbIfgain->setValue(128);
    EXPECT_EMU(emu.ifgain, 128);
    p->vsbSquelch->setValue(10);
    EXPECT_EMU(emu.squelch, 10);
    p->vsbTone->setValue(255);
    EXPECT_EMU(emu.tone, 255);
    p->vsbVolume->setValue(200);
    EXPECT_EMU(emu.volume, 200);
    p->vsbPassbandshift->setValue(100);
    EXPECT_EMU(emu.passbandShift, 100);
    p->vsbBandwidthcontrol->setValue(500);
    EXPECT_EMU(emu.bandwidthControl, 500);
    EXPECT_EQ(p->lblIfgain->text(), QStringLiteral("49"));
    EXPECT_EQ(p->lblTone->text(), QStringLiteral("+ 9"));
    EXPECT_EQ(p->lblPassbandshift->text(), QStringLiteral("1.00"));
    EXPECT_EQ(p->lblbandwidthcontrol->text(), QStringLiteral("5.00"));

    p->lblVolume->clicked();
    EXPECT_EMU(emu.volume, 0);
    p->lblTone->clicked();
    EXPECT_EMU(emu.tone, 127);
    p->lblPassbandshift->clicked();
    EXPECT_EMU(emu.passbandShift, 0);

    // The bandwidth button reads the control back while locked.
    emu.bandwidthControl = 333;
    p->cmdBandwidth[0]->click();
    EXPECT_EQ(p->lblbandwidthcontrol->text(), QStringLiteral("3.33"));
}

TEST_F(Nrd545Rig, DisplayHandlersAtTheExampleValues)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    p->NRD545A_IfgainChanged(0);
    EXPECT_EQ(p->lblIfgain->text(), QStringLiteral("00"));
    p->NRD545A_ToneChanged(0);
    EXPECT_EQ(p->lblTone->text(), QStringLiteral("- 9"));
    const int before = p->vsbPassbandshift->value();
    p->NRD545A_PassbandshiftChanged(231);
    EXPECT_EQ(p->lblPassbandshift->text(), QStringLiteral("?"));
    EXPECT_EQ(p->vsbPassbandshift->value(), before);
    p->NRD545A_LockChanged(7);
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    p->NRD545A_RxStatusChanged(QStringLiteral("X0940007100001"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("?")) << "a status text of the wrong length is not believed";
    p->NRD545A_RxStatusChanged(QStringLiteral("X097071000000"));
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral("?"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("AM-U"));
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("0000"));
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("7100.000"));
    EXPECT_TRUE(p->cmdAgcspeed[0]->isEnabled());
    p->NRD545A_RxStatusChanged(QStringLiteral("X009100000005"));
    EXPECT_FALSE(p->cmdAgcspeed[0]->isEnabled()) << "WFM";
}

TEST_F(Nrd545Rig, KeyRowsNeedTheUsersLockWhereTheyMoveSliders)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    // Without the user's lock the slider keys do nothing.
    clearSent();
    EXPECT_FALSE(p->keyPreview(frmPanel::KeyEqual, frmPanel::ModShift));
    EXPECT_FALSE(p->keyPreview(frmPanel::KeyF1, frmPanel::ModCtrl));
    EXPECT_FALSE(p->keyPreview(frmPanel::KeyF1 + 3, frmPanel::ModCtrl));
    EXPECT_FALSE(p->keyPreview(frmPanel::KeyEqual, frmPanel::ModAlt));
    EXPECT_TRUE(sent().isEmpty());

    // Shift+P works in USB although the ECSS buttons are disabled.
    EXPECT_TRUE(p->keyPreview('P', frmPanel::ModShift));
    EXPECT_EMU(emu.ecss, 1);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyF1, frmPanel::ModShift));
    EXPECT_EMU(emu.cur.bw, 2);
    EXPECT_TRUE(p->keyPreview('C', frmPanel::ModShift));
    EXPECT_EMU(emu.cur.mode, 1);

    EXPECT_TRUE(p->keyPreview(frmPanel::KeyEqual, frmPanel::ModCtrlShift));
    EXPECT_EQ(G.panellock, 1);
    EXPECT_TRUE(emu.remote);
    p->vsbPassbandshift->setValue(225);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyEqual, frmPanel::ModShift));
    EXPECT_EQ(p->vsbPassbandshift->value(), 230);
    EXPECT_EMU(emu.passbandShift, 230);
    p->vsbPassbandshift->setValue(-225);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyMinus, frmPanel::ModShift));
    EXPECT_EMU(emu.passbandShift, -230);
    EXPECT_TRUE(p->keyPreview(frmPanel::Key0, frmPanel::ModShift));
    EXPECT_EMU(emu.passbandShift, 0);

    p->vsbBandwidthcontrol->setValue(995);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyF1 + 2, frmPanel::ModCtrl));
    EXPECT_EMU(emu.bandwidthControl, 990);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyF1 + 1, frmPanel::ModCtrl));
    EXPECT_EMU(emu.bandwidthControl, 980);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyF1, frmPanel::ModCtrl));
    EXPECT_EMU(emu.bandwidthControl, 10);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyF1 + 1, frmPanel::ModCtrl));
    EXPECT_EMU(emu.bandwidthControl, 10);

    p->vsbVolume->setValue(245);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyEqual, frmPanel::ModAlt));
    EXPECT_EMU(emu.volume, 255);
    p->vsbVolume->setValue(10);
    EXPECT_TRUE(p->keyPreview(frmPanel::KeyMinus, frmPanel::ModAlt));
    EXPECT_EMU(emu.volume, 0);

    EXPECT_TRUE(p->keyPreview(frmPanel::KeyMinus, frmPanel::ModCtrlShift));
    EXPECT_EQ(G.panellock, 0);
    EXPECT_FALSE(emu.remote);
}

TEST_F(Nrd545Rig, MemoryKeyRecallsUpToCell999)
{
    emu.memory[998].used = true;
    emu.memory[998].hz = 6000000;
    emu.memory[998].mode = 4;
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    for (const char c : QByteArray("998"))
        p->cmd0to9_Click(c - '0');
    p->cmdEnterMem_Click();
    EXPECT_EMU(emu.selectedChannel, 998);
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("6000.000"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("AM"));
    // The highest cell is accepted too.
    for (const char c : QByteArray("999"))
        p->cmd0to9_Click(c - '0');
    p->cmdEnterMem_Click();
    EXPECT_EMU(emu.selectedChannel, 999);
    EXPECT_TRUE(dialogs.shown().isEmpty());

    for (const char c : QByteArray("1000"))
        p->cmd0to9_Click(c - '0');
    p->cmdEnterMem_Click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Memory cell outside range"));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Error"));
    EXPECT_TRUE(p->lblMfreq->text().isEmpty());
}

TEST_F(Nrd545Rig, ContinuousSteppingHoldsTheReceiverInRemote)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    p->cmdMovefreq->click();
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("On"));
    EXPECT_TRUE(emu.remote);
    EXPECT_TRUE(p->vsbVolume->isEnabled());
    p->cmdMovefreq->click();
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
    EXPECT_FALSE(p->vsbVolume->isEnabled());
    EXPECT_TRUE(tavtest::waitFor([&] { return !emu.remote; }));
    // Ctrl+G does the same.
    EXPECT_TRUE(p->keyPreview('G', frmPanel::ModCtrl));
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("On"));
    EXPECT_TRUE(p->keyPreview('G', frmPanel::ModCtrl));
    EXPECT_EQ(text(p, "lblLock"), QStringLiteral("Off"));
}

TEST_F(Nrd545Rig, ClosingHandsTheReceiverBackBeforeThePortCloses)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    btn(p, QStringLiteral("cmdLock(1)"))->click();
    ASSERT_TRUE(emu.remote);
    clearSent();
    p->cmdClose->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmNRD545));
    EXPECT_FALSE(frmWelcome::instance()->Comm1.isOpen());
    EXPECT_TRUE(sent().endsWith(QStringLiteral("H0\r")));
    EXPECT_FALSE(emu.remote);
    EXPECT_TRUE(frmWelcome::instance()->isVisible());
}

TEST_F(Nrd545Rig, ASilentReceiverShowsUnknownValuesAndGetsNothingWrittenBack)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    btn(p, QStringLiteral("cmdLock(1)"))->click();
    pty->setOff(true);
    clearSent();
    p->RxUpdatefull();
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("?"));
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("?"));
    EXPECT_EQ(p->lblVolume->text(), QStringLiteral("?"));
    EXPECT_EQ(p->lblIfgain->text(), QStringLiteral("?"));
    EXPECT_EQ(p->vsbVolume->value(), 100);
    const QString out = sent();
    EXPECT_FALSE(out.contains(QStringLiteral("JJ0"))) << out.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("HH0"))) << out.toStdString();
}

TEST_F(Nrd545Rig, DirectMenuHasTheModelsEntries)
{
    frmNRD545 *p = go();
    ASSERT_TRUE(p);
    QStringList captions;
    for (QAction *a : p->mnuDirect->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, (QStringList{"Update", "Set-up . . .", "User Defs . . .", "Advanced DSP . . .", "-",
                                     "Last 20 Freqs . . .", "Mark Freqs . . . ", "Freq Sratchpad . . .", "-",
                                     "RTTY", "-", "Close", "Exit"}));
    emu.cur.mode = 3;
    p->findChild<QAction *>(QStringLiteral("mnuUpdate"))->trigger();
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("LSB"));
}
