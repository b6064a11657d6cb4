// The NRD-545 user settings and DSP dialogs, opened over the NRD-545 panel
// against the emulator on a serial line.
#include "drivers/clsNRD545.h"
#include "panels/jrc/frmAdvancedDSP.h"
#include "panels/jrc/frmUserdefs545.h"
#include "panels/nrd545text.h"
#include "support/nrd545rig.h"

#include <QAction>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace tav;
using tavtest::Nrd545Rig;

namespace {

#define EXPECT_EMU(field, value)                                                                             \
    EXPECT_TRUE(tavtest::waitFor([&] { return (field) == (value); })) << #field " is " << ::testing::PrintToString(field)

struct Dialogs : Nrd545Rig {
    frmNRD545 *panel = nullptr;
    void SetUp() override
    {
        Nrd545Rig::SetUp();
        panel = go();
        ASSERT_TRUE(panel);
    }
    frmUserdefs545 *userdefs()
    {
        auto *u = Windows::get<frmUserdefs545>();
        u->load();
        return u;
    }
    frmAdvancedDSP *dsp()
    {
        auto *d = Windows::get<frmAdvancedDSP>();
        d->showModeless();
        return d;
    }
    QColor attColor() const { return panel->lblAttenuator->palette().color(QPalette::Window); }
    bool remoteSoon(bool want) { return tavtest::waitFor([&] { return emu.remote == want; }); }
};

} // namespace

// ---- user settings ----

TEST_F(Dialogs, UserSettingsOpenWithOnlyTheInputTuningCircuitChosen)
{
    setBackColor(panel->lblAttenuator, 0x80FF);
    clearSent();
    frmUserdefs545 *u = userdefs();
    EXPECT_TRUE(Windows::loaded(WindowId::frmUserdefs545));
    EXPECT_EQ(u->windowTitle(), QStringLiteral("NRD-545 User Definitions"));
    EXPECT_EQ(sent().count(QStringLiteral("U241\r")), 2) << "once by the load, once by choosing the option";
    EXPECT_EQ(attColor(), vbColor(0xC0FFFF));
    for (auto it = u->options.cbegin(); it != u->options.cend(); ++it)
        EXPECT_EQ(it.value()->selected(), it.key() == 24 ? 1 : -1) << it.key();
    EXPECT_EQ(text(u, "lblCWpitch"), QStringLiteral("+0800"));
    EXPECT_EQ(text(u, "lblScantime"), QStringLiteral("0.5"));
    EXPECT_EQ(text(u, "lblSweeptime"), QStringLiteral("0.05"));
    EXPECT_EQ(text(u, "lblAutostoptime"), QStringLiteral("03.0"));

    u->findChild<QRadioButton *>(QStringLiteral("OptInputtuning(0)"))->click();
    EXPECT_EMU(emu.userSettings.value(24), QStringLiteral("0"));
    EXPECT_EQ(attColor(), vbColor(0x80FF));
}

TEST_F(Dialogs, EveryOptionItemSendsItsIndex)
{
    frmUserdefs545 *u = userdefs();
    EXPECT_EQ(nrd545::userOptionItems().size() + nrd545::userSteppedItems().size(), 19);
    for (const nrd545::OptionItem &it : nrd545::userOptionItems()) {
        const int last = int(it.options.size()) - 1;
        auto *b = u->findChild<QRadioButton *>(QStringLiteral("%1(%2)").arg(it.control).arg(last));
        ASSERT_TRUE(b) << it.control.toStdString();
        b->click();
        EXPECT_EMU(emu.userSettings.value(it.item), QString::number(last));
    }
    EXPECT_TRUE(emu.unknown.isEmpty()) << emu.unknown.join(QLatin1Char(' ')).toStdString();
}

TEST_F(Dialogs, SteppedValuesStopAtTheirLimitsAndSetSendsThem)
{
    frmUserdefs545 *u = userdefs();
    // "Set" sends the number also when it was never stepped.
    for (const char *b : {"cmdCWpitch", "cmdScantime", "cmdSweeptime", "cmdAutostoptime"})
        u->findChild<QPushButton *>(QLatin1String(b))->click();
    EXPECT_EMU(emu.userSettings.value(14), QStringLiteral("+0800"));
    EXPECT_EMU(emu.userSettings.value(20), QStringLiteral("05"));
    EXPECT_EMU(emu.userSettings.value(21), QStringLiteral("005"));
    EXPECT_EMU(emu.userSettings.value(22), QStringLiteral("030"));

    SpinButton *cw = u->findChild<SpinButton *>(QStringLiteral("spnCWpitch"));
    for (int i = 0; i < 32; ++i)
        cw->downButton()->click();
    EXPECT_EQ(text(u, "lblCWpitch"), QStringLiteral("+0000"));
    cw->downButton()->click();
    EXPECT_EQ(text(u, "lblCWpitch"), QStringLiteral("-0025"));
    u->findChild<QPushButton *>(QStringLiteral("cmdCWpitch"))->click();
    EXPECT_EMU(emu.userSettings.value(14), QStringLiteral("-0025"));
    for (int i = 0; i < 200; ++i)
        u->spin(14, -1);
    EXPECT_EQ(text(u, "lblCWpitch"), QStringLiteral("-2550"));
    for (int i = 0; i < 400; ++i)
        u->spin(14, +1);
    EXPECT_EQ(text(u, "lblCWpitch"), QStringLiteral("+5000"));

    struct Limit { int item; const char *label, *low, *high; };
    for (const Limit &l : {Limit{20, "lblScantime", "0.3", "5.0"}, Limit{21, "lblSweeptime", "0.05", "0.50"},
                           Limit{22, "lblAutostoptime", "00.0", "10.0"}}) {
        for (int i = 0; i < 120; ++i)
            u->spin(l.item, -1);
        EXPECT_EQ(text(u, l.label), QLatin1String(l.low));
        for (int i = 0; i < 120; ++i)
            u->spin(l.item, +1);
        EXPECT_EQ(text(u, l.label), QLatin1String(l.high));
    }
    EXPECT_EQ(u->steppedValue(22), 100);
}

TEST_F(Dialogs, ResetSendsEveryDefaultInsideThePanelLock)
{
    frmUserdefs545 *u = userdefs();
    u->spin(22, +1);
    QSignalSpy locks(panel->driver(), &clsNRD545::LockChanged);
    u->cmdDefaults->click();
    ASSERT_GE(locks.size(), 2);
    EXPECT_EQ(locks.first().at(0).value<int16_t>(), 1);
    EXPECT_EQ(locks.last().at(0).value<int16_t>(), 0);
    EXPECT_TRUE(remoteSoon(false));
    for (const nrd545::OptionItem &it : nrd545::userOptionItems()) {
        EXPECT_EMU(emu.userSettings.value(it.item), QString::number(it.defaultIndex));
        EXPECT_EQ(u->options.value(it.item)->selected(), it.defaultIndex) << it.item;
    }
    EXPECT_EQ(emu.userSettings.value(14), QStringLiteral("+0800"));
    EXPECT_EQ(emu.userSettings.value(22), QStringLiteral("030"));
    EXPECT_EQ(text(u, "lblAutostoptime"), QStringLiteral("3.0"));
    EXPECT_EQ(text(u, "lblCWpitch"), QStringLiteral("+0800"));
    EXPECT_EQ(u->steppedValue(22), 30);
    EXPECT_EQ(attColor(), vbColor(0xC0FFFF));
}

TEST_F(Dialogs, ResetLeavesTheUsersLockAlone)
{
    panel->cmdLock_Click(1);
    frmUserdefs545 *u = userdefs();
    QSignalSpy locks(panel->driver(), &clsNRD545::LockChanged);
    u->cmdDefaults_Click();
    EXPECT_TRUE(locks.isEmpty());
    EXPECT_EQ(G.panellock, 1);
    EXPECT_TRUE(emu.remote);
    EXPECT_EMU(emu.userSettings.value(31), QStringLiteral("0"));
}

TEST_F(Dialogs, ClosingDuringResetWaitsForTheResetToFinish)
{
    frmUserdefs545 *u = userdefs();
    bool loadedWhenAsked = false;
    QTimer::singleShot(60, u, [&] {
        u->cmdExit_Click();
        loadedWhenAsked = Windows::loaded(WindowId::frmUserdefs545);
    });
    u->cmdDefaults_Click();
    EXPECT_TRUE(loadedWhenAsked) << "the exit came while the reset ran";
    EXPECT_FALSE(Windows::loaded(WindowId::frmUserdefs545));
    EXPECT_EMU(emu.userSettings.value(31), QStringLiteral("0"));
    EXPECT_TRUE(remoteSoon(false));
}

TEST_F(Dialogs, PanelMenuOpensTheUserSettingsModal)
{
    bool modal = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *u = Windows::existing<frmUserdefs545>();
        if (!u || !u->isVisible())
            return;
        poll.stop();
        modal = u->windowModality() == Qt::ApplicationModal;
        u->cmdExit->click();
    });
    poll.start();
    panel->findChild<QAction *>(QStringLiteral("mnuUserdefs"))->trigger();
    EXPECT_TRUE(modal);
    EXPECT_FALSE(Windows::loaded(WindowId::frmUserdefs545));
}

// ---- DSP ----

TEST_F(Dialogs, DspOpeningSwitchesNrBcAndNotchOffAndKeepsTheBlanker)
{
    emu.noiseblanker = 2;
    emu.nbLevel = 100;
    emu.notchValue = -500;
    emu.nrbc = 1;
    emu.notch = 1;
    clearSent();
    frmAdvancedDSP *d = dsp();
    EXPECT_TRUE(Windows::loaded(WindowId::frmAdvancedDSP));
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Advanced DSP"));
    const QString out = sent();
    const int off = out.indexOf(QStringLiteral("BB0\r")), nr = out.indexOf(QStringLiteral("U29050\r")),
              bc = out.indexOf(QStringLiteral("U30020\r")), nb = out.indexOf(QStringLiteral("N2\r")),
              nt = out.indexOf(QStringLiteral("EE0\r"));
    EXPECT_TRUE(off >= 0 && off < nr && nr < bc && bc < nb && nb < nt) << out.toStdString();
    EXPECT_EMU(emu.nrbc, 0);
    EXPECT_EMU(emu.notch, 0);
    EXPECT_EMU(emu.nrLevel, 50);
    EXPECT_EMU(emu.bcLevel, 20);
    EXPECT_EQ(emu.noiseblanker, 2);
    EXPECT_EQ(d->lblNR->text(), QStringLiteral("050"));
    EXPECT_EQ(d->lblBC->text(), QStringLiteral("020"));
    EXPECT_EQ(d->lblNrbc->text(), QStringLiteral("Off"));
    EXPECT_EQ(d->lblNB->text(), QStringLiteral("NB2"));
    EXPECT_EQ(d->vsbNB->value(), 100);
    EXPECT_TRUE(d->vsbNB->isEnabled());
    EXPECT_EQ(d->lblNB2->text(), QStringLiteral("100"));
    EXPECT_EQ(d->vsbNT->value(), -500);
    EXPECT_EQ(d->lblNT2->text(), QStringLiteral("-0500"));
    EXPECT_EQ(d->lblNT->text(), QStringLiteral("Off"));
    EXPECT_FALSE(d->vsbNT->isEnabled());
    EXPECT_FALSE(d->vsbNR->isEnabled());
    EXPECT_FALSE(d->vsbBC->isEnabled());
    EXPECT_EQ(d->optHoldofnr->selected(), -1);
    EXPECT_EQ(d->optFilterslope->selected(), -1);
    // The receiver is held in remote while the dialog is open.
    EXPECT_EQ(text(panel, "lblLock"), QStringLiteral("On"));
    EXPECT_TRUE(emu.remote);
    // The bars' ends.
    EXPECT_EQ(d->vsbNR->topValue(), 0);
    EXPECT_EQ(d->vsbBC->topValue(), 255);
    EXPECT_EQ(d->vsbNB->topValue(), 255);
    EXPECT_EQ(d->vsbNT->topValue(), 1023);

    // The two levels, then the bars set to them, at the opening and at Def.
    const auto levels = [](const QString &out) {
        QStringList got;
        for (auto it = QRegularExpression(QStringLiteral("U(29|30)\\d{3}\r")).globalMatch(out); it.hasNext();)
            got << it.next().captured().trimmed();
        return got;
    };
    const QStringList inOrder = {QStringLiteral("U29050"), QStringLiteral("U30020"), QStringLiteral("U29050"),
                                 QStringLiteral("U30020")};
    EXPECT_EQ(levels(out), inOrder);
    QTest::mouseClick(d->cmdNrbc[1], Qt::LeftButton);
    d->vsbNR->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QTest::mouseClick(d->cmdNrbc[2], Qt::LeftButton);
    d->vsbBC->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_TRUE(tavtest::waitFor([&] { return emu.nrLevel != 50 && emu.bcLevel != 20; }));
    clearSent();
    QTest::mouseClick(d->cmdDefaultNRBC, Qt::LeftButton);
    EXPECT_EQ(levels(sent()), inOrder);
}

TEST_F(Dialogs, DspButtonsEnableOnlyTheirBars)
{
    frmAdvancedDSP *d = dsp();
    d->cmdNrbc[1]->click();
    EXPECT_TRUE(d->vsbNR->isEnabled());
    EXPECT_FALSE(d->vsbBC->isEnabled());
    EXPECT_EMU(emu.nrbc, 1);
    d->cmdNrbc[2]->click();
    EXPECT_FALSE(d->vsbNR->isEnabled());
    EXPECT_TRUE(d->vsbBC->isEnabled());
    EXPECT_EQ(d->lblNrbc->text(), QStringLiteral("BC"));
    d->cmdNrbc[0]->click();
    EXPECT_FALSE(d->vsbNR->isEnabled());
    EXPECT_FALSE(d->vsbBC->isEnabled());

    d->cmdNT[2]->click();
    EXPECT_FALSE(d->vsbNT->isEnabled());
    EXPECT_EQ(d->lblNT->text(), QStringLiteral("NT"));
    d->cmdNT[1]->click();
    EXPECT_TRUE(d->vsbNT->isEnabled());
    d->vsbNT->setValue(300);
    EXPECT_EMU(emu.notchValue, 300);
    EXPECT_EQ(d->lblNT2->text(), QStringLiteral("0300"));

    d->cmdNB[1]->click();
    EXPECT_TRUE(d->vsbNB->isEnabled());
    d->vsbNB->setValue(77);
    EXPECT_EMU(emu.nbLevel, 77);
    EXPECT_EQ(d->lblNB2->text(), QStringLiteral("077"));
    d->cmdNB[0]->click();
    EXPECT_FALSE(d->vsbNB->isEnabled());
    EXPECT_EMU(emu.noiseblanker, 0);

    d->optHoldofnr->button(1)->click();
    EXPECT_EMU(emu.userSettings.value(27), QStringLiteral("1"));
    d->optFilterslope->button(0)->click();
    EXPECT_EMU(emu.userSettings.value(32), QStringLiteral("0"));
}

TEST_F(Dialogs, DspExitAsksOnlyWhenALevelWasMoved)
{
    frmAdvancedDSP *d = dsp();
    d->cmdNrbc[1]->click();
    d->vsbNR->setValue(80);
    EXPECT_EMU(emu.nrLevel, 80);

    dialogs.answer(vbCancel);
    d->cmdExit->click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    const ShownBox box = dialogs.shown()[0];
    EXPECT_EQ(box.title, QStringLiteral("Defaults"));
    EXPECT_EQ(box.text, QStringLiteral("    Do you want to bring the \nNoise reduction and Beat canceler\n   level back to its defaults"));
    EXPECT_EQ(box.icon, MsgIcon::Question);
    EXPECT_EQ(box.buttons, MsgButtons::YesNoCancel);
    EXPECT_TRUE(Windows::loaded(WindowId::frmAdvancedDSP));
    EXPECT_EQ(d->vsbNR->value(), 80);
    EXPECT_TRUE(emu.remote);

    dialogs.answer(vbYes);
    d->cmdExit->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmAdvancedDSP));
    EXPECT_EMU(emu.nrLevel, 50);
    EXPECT_EMU(emu.bcLevel, 20);
    EXPECT_TRUE(remoteSoon(false));
    EXPECT_EQ(text(panel, "lblLock"), QStringLiteral("Off"));

    d = dsp();
    d->vsbBC->setValue(90);
    EXPECT_EMU(emu.bcLevel, 90);
    dialogs.answer(vbNo);
    d->cmdExit->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmAdvancedDSP));
    EXPECT_EQ(dialogs.shown().size(), 3);
    tavtest::pump(50);
    EXPECT_EQ(emu.bcLevel, 90);
    EXPECT_TRUE(remoteSoon(false));

    d = dsp();
    d->cmdExit->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmAdvancedDSP));
    EXPECT_EQ(dialogs.shown().size(), 3) << "no question at the defaults";
}

TEST_F(Dialogs, DspCloseBoxActsAsExit)
{
    frmAdvancedDSP *d = dsp();
    d->vsbNR->setValue(81);
    dialogs.answer(vbCancel);
    d->close();
    EXPECT_TRUE(Windows::loaded(WindowId::frmAdvancedDSP));
    EXPECT_EQ(dialogs.shown().size(), 1);
    dialogs.answer(vbNo);
    d->close();
    EXPECT_FALSE(Windows::loaded(WindowId::frmAdvancedDSP));
    EXPECT_TRUE(remoteSoon(false));
    EXPECT_EQ(text(panel, "lblLock"), QStringLiteral("Off"));
}

TEST_F(Dialogs, DspLeavesTheUsersLockAlone)
{
    panel->cmdLock_Click(1);
    QSignalSpy locks(panel->driver(), &clsNRD545::LockChanged);
    frmAdvancedDSP *d = dsp();
    d->cmdExit->click();
    EXPECT_TRUE(locks.isEmpty());
    EXPECT_TRUE(emu.remote);
    EXPECT_EQ(text(panel, "lblLock"), QStringLiteral("On"));
}

TEST_F(Dialogs, DspShowsUnfittingReadsAndSettingsAsUnknownAndSendsNothingForThem)
{
    emu.noiseblanker = 7;
    emu.nbLevel = 300;
    G.setupdata[26] = 300;
    G.setupdata[27] = -5;
    clearSent();
    frmAdvancedDSP *d = dsp();
    const QString out = sent();
    EXPECT_EQ(d->lblNB->text(), QStringLiteral("?"));
    EXPECT_EQ(d->lblNB2->text(), QStringLiteral("?"));
    EXPECT_FALSE(out.contains(QStringLiteral("N7\r"))) << out.toStdString();
    EXPECT_FALSE(out.contains(QRegularExpression(QStringLiteral("FF\\d")))) << "the level is only read";
    EXPECT_FALSE(d->vsbNB->isEnabled());
    // Defaults held within the bars.
    EXPECT_TRUE(out.contains(QStringLiteral("U29255\r"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("U30000\r"))) << out.toStdString();
    EXPECT_EQ(d->lblNR->text(), QStringLiteral("255"));
    d->cmdExit->click();
    EXPECT_TRUE(dialogs.shown().isEmpty());
}
