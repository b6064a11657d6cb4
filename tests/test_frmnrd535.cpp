// The NRD-535 panel opened by Go against the NRD-535 emulator on a
// pseudo-terminal: what it shows, what its controls, keys and menu send, the
// lock, continuous stepping, and closing.
#include "hub/app.h"
#include "core/exchange.h"
#include "hub/frmSetUp.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "drivers/clsNRD535.h"
#include "panels/frmNRD535.h"
#include "panels/jrc/frmUserdefs.h"
#include "drivers/receiver.h"
#include "panels/nrd535text.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "stations/frmTracking.h"
#include "support/testenv.h"

#include <QAction>
#include <QGroupBox>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

using namespace tav;

namespace {
// A tool working the receiver over time, as the lock sees it.
QObject aTool;
} // namespace
using tavtest::pump;
using tavtest::waitFor;

namespace {

// A tool window that only records what it saw when the panel closed it.
class ToolStandIn : public TavForm {
public:
    explicit ToolStandIn(tav::WindowId id) : TavForm(id) {}
    std::function<void()> onUnload;

protected:
    void Form_Unload() override
    {
        if (onUnload)
            onUnload();
    }
};

struct Nrd535Panel : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    sim::Nrd535Emulator emu;
    std::unique_ptr<sim::PtyHarness> pty;
    frmNRD535 *p = nullptr;

    void SetUp() override
    {
        // USB on the Int filter, attenuator in, slow AGC, 9650 kHz.
        emu.cur.hz = 9650000;
        emu.cur.mode = 2;
        emu.cur.bw = 1;
        emu.cur.att = 1;
        emu.cur.agc = 0;
        emu.noiseblanker = 2;
        emu.rtty = 1;
        pty = std::make_unique<sim::PtyHarness>(emu);
        ASSERT_TRUE(pty->ok());
        registerBuiltWindows();
        Windows::registerFactory(WindowId::frmLast20, {});
        frmWelcome::instance()->load();
        DialogScript::shown.clear();
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty->slavePath().toLatin1() + "\r\n");
        G.rxtype = 2;
        G.setupdata[1] = 1;
        G.setupdata[8] = 0;
        for (int i = 10; i <= 13; ++i)
            G.setupdata[size_t(i)] = 1;
    }
    void TearDown() override
    {
        if (TavForm *f = Windows::existing(WindowId::frmNRD535))
            f->unload();
        frmWelcome::destroy();
        Windows::destroyAll();
    }
    frmNRD535 *go()
    {
        frmWelcome::instance()->imgGo_Click();
        p = Windows::existing<frmNRD535>();
        return p;
    }
    // The commands the emulator received since the last clear, without CR.
    QStringList sent()
    {
        pump(40);
        QStringList out = QString::fromLatin1(pty->received()).split(QLatin1Char('\r'));
        out.removeLast();
        return out;
    }
    void clearSent()
    {
        pump(40);
        pty->clearReceived();
    }
    static QStringList without(const QStringList &cmds, const QStringList &drop)
    {
        QStringList out;
        for (const QString &c : cmds)
            if (!drop.contains(c))
                out << c;
        return out;
    }
    QPushButton *button(const QString &name) { return p->findChild<QPushButton *>(name); }
    QAction *menu(const QString &name) { return p->findChild<QAction *>(name); }
    QColor back(QWidget *w) { return w->palette().color(QPalette::Window); }
    void key(int qtKey, Qt::KeyboardModifiers mods) { QTest::keyClick(p->txtFrequencyA, Qt::Key(qtKey), mods); }
    void lockOn()
    {
        button("cmdLock(1)")->click();
        pump(40);
    }
};

const QStringList kStatus = {"J1199", "L199199"};

} // namespace

TEST_F(Nrd535Panel, GoOpensThePanelShowingTheReceiverInLocal)
{
    ASSERT_NE(go(), nullptr);
    EXPECT_TRUE(Windows::loaded(WindowId::frmNRD535));
    EXPECT_EQ(p->windowTitle(), QStringLiteral("NRD-535"));
    EXPECT_FALSE(frmWelcome::instance()->isVisible());
    EXPECT_EQ(frmWelcome::instance()->Comm1.Settings, QStringLiteral("4800,N,8,1"));

    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("9650.000"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("USB"));
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral("Int"));
    EXPECT_EQ(p->lblAttenuator->text(), QStringLiteral("-20"));
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("Slw"));
    EXPECT_EQ(p->lblNoiseblanker->text(), QStringLiteral("Off"));
    EXPECT_EQ(p->lock->lblLock->text(), QStringLiteral("Off"));
    EXPECT_EQ(back(p->lblAttenuator), vbColor(0xC0FFFF));
    EXPECT_FALSE(p->vsbBandwidthcontrol->isEnabled());
    EXPECT_FALSE(p->vsbPassbandshift->isEnabled());
    EXPECT_TRUE(p->lblBandwidthcontrol->text().isEmpty());
    EXPECT_EQ(p->cmbFreqstep->count(), 19);
    EXPECT_EQ(p->cmbFreqstep->itemText(0), QStringLiteral("0.001"));

    // RTTY off, status, bypass off, noise blanker off, each in its bracket;
    // then the receiver handed back to local.
    EXPECT_EQ(without(sent(), {"H1", "H0"}), (QStringList{"X0", "J1199", "L199199", "U11", "N0"}));
    EXPECT_EQ(sent().mid(sent().size() - 2), (QStringList{"H0", "H0"}));
    EXPECT_EQ(emu.rtty, 0);
    EXPECT_EQ(emu.noiseblanker, 0);
    EXPECT_EQ(emu.userSettings.value(1), QStringLiteral("1"));
    EXPECT_FALSE(emu.remote);
    EXPECT_EQ(G.panellock, 0);
    EXPECT_EQ(G.jrclock, 0);
}

TEST_F(Nrd535Panel, ButtonsChangeTheReceiver)
{
    ASSERT_NE(go(), nullptr);
    button("cmdAttenuator(0)")->click();
    EXPECT_EQ(emu.cur.att, 0);
    EXPECT_EQ(p->lblAttenuator->text(), QStringLiteral(" 0"));
    button("cmdAgcspeed(1)")->click();
    EXPECT_EQ(emu.cur.agc, 1);
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("Fst"));
    button("cmdNoiseblanker(2)")->click();
    EXPECT_EQ(emu.noiseblanker, 2);
    EXPECT_EQ(p->lblNoiseblanker->text(), QStringLiteral("NB2"));

    clearSent();
    button("cmdMode(4)")->click();
    EXPECT_EQ(emu.cur.mode, 4);
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("AM"));
    // The mode, then a full refresh (status only: the lock is off).
    EXPECT_EQ(without(sent(), {"H1", "H0"}), (QStringList{"D4"} + kStatus));

    button("cmdBandwidth(0)")->click();
    EXPECT_EQ(emu.cur.bw, 0);
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral("Wid"));

    // Power: 1 on the first press, then 0, with the button's colour.
    button("cmdPowerOnOff")->click();
    EXPECT_EQ(emu.power, 1);
    EXPECT_EQ(back(p->cmdPowerOnOff), vbColor(0xFF00));
    button("cmdPowerOnOff")->click();
    EXPECT_EQ(emu.power, 0);
    EXPECT_EQ(back(p->cmdPowerOnOff), vbColor(0x888888));

    // Memory recall: the channel selected and its setting read back.
    emu.memory[12] = sim::JrcChannel{true, 0, 2, 3, 7055000, 1};
    p->lblMfreq->setText(QStringLiteral("12"));
    p->cmdEnterMem->click();
    EXPECT_EQ(emu.selectedChannel, 12);
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("7055.000"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("LSB"));
    p->lblMfreq->setText(QStringLiteral("200"));
    clearSent();
    bool greyed = true;
    DialogScript::whileShown = [&] { greyed = !p->cmdEnterMem->isEnabled(); };
    QTest::mouseClick(p->cmdEnterMem, Qt::LeftButton);
    EXPECT_TRUE(sent().isEmpty());
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().text, QStringLiteral("Memory cell outside range"));
    EXPECT_FALSE(greyed) << "\"M\" is not greyed while its message is shown";

    // Tuning through the keypad reaches the receiver and the display.
    p->lblMfreq->setText(QStringLiteral("15432.1"));
    p->cmdEnterfreq->click();
    EXPECT_EQ(emu.cur.hz, 15432100);
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("15432.100"));
}

TEST_F(Nrd535Panel, TheLockHoldsTheReceiverAndEnablesTheSliders)
{
    emu.cur.bw = 0; // Wid
    ASSERT_NE(go(), nullptr);
    clearSent();
    lockOn();
    EXPECT_EQ(G.panellock, 1);
    EXPECT_EQ(G.jrclock, 1);
    EXPECT_TRUE(emu.remote);
    EXPECT_EQ(p->lock->lblLock->text(), QStringLiteral("On"));
    EXPECT_EQ(back(p->lock->lblLock), vbColor(0x80FF));
    // Two H1, then the refresh without brackets: status, shift 0, widest Wid.
    EXPECT_EQ(sent(), (QStringList{"H1", "H1"} + kStatus + QStringList{"P+0000", "W5500", "W5500"}));
    EXPECT_TRUE(p->vsbPassbandshift->isEnabled());
    EXPECT_TRUE(p->vsbBandwidthcontrol->isEnabled());
    EXPECT_EQ(p->vsbBandwidthcontrol->topValue(), 5500);
    EXPECT_EQ(p->vsbBandwidthcontrol->bottomValue(), 2000);
    EXPECT_EQ(p->lblBandwidthcontrol->text(), QStringLiteral(" 5500"));
    EXPECT_EQ(p->lblPassbandshift->text(), QStringLiteral(" 0"));

    // The sliders reach the receiver; a click on the shift label centres it.
    p->vsbPassbandshift->setValue(-150);
    p->vsbBandwidthcontrol->setValue(3000);
    pump(40);
    EXPECT_EQ(emu.passbandShift, -150);
    EXPECT_EQ(emu.bandwidthControl, 3000);
    EXPECT_EQ(p->lblPassbandshift->text(), QStringLiteral("-150"));
    QTest::mouseClick(p->lblPassbandshift, Qt::LeftButton);
    pump(40);
    EXPECT_EQ(emu.passbandShift, 0);

    // Filter Int: the bandwidth control re-ranged; Nar: disabled.
    button("cmdBandwidth(1)")->click();
    EXPECT_EQ(p->vsbBandwidthcontrol->topValue(), 2200);
    EXPECT_EQ(emu.bandwidthControl, 2200);
    button("cmdBandwidth(2)")->click();
    EXPECT_FALSE(p->vsbBandwidthcontrol->isEnabled());
    EXPECT_TRUE(p->lblBandwidthcontrol->text().isEmpty());

    // NFM: no AGC buttons, no filters, no sliders.
    button("cmdMode(5)")->click();
    EXPECT_FALSE(p->cmdAgcspeed[0]->isEnabled());
    EXPECT_FALSE(p->fraFilters->isEnabled());
    EXPECT_FALSE(p->vsbPassbandshift->isEnabled());
    EXPECT_TRUE(p->lblAgcspeed->text().isEmpty());
    EXPECT_TRUE(p->lblBandwidth->text().isEmpty());
    button("cmdMode(2)")->click();
    EXPECT_TRUE(p->cmdAgcspeed[0]->isEnabled());
    EXPECT_TRUE(p->fraFilters->isEnabled());

    clearSent();
    button("cmdLock(0)")->click();
    EXPECT_EQ(sent(), (QStringList{"H0", "H0"}));
    EXPECT_FALSE(emu.remote);
    EXPECT_EQ(G.panellock, 0);
    EXPECT_EQ(p->lock->lblLock->text(), QStringLiteral("Off"));
    EXPECT_FALSE(p->vsbPassbandshift->isEnabled());
    EXPECT_FALSE(p->vsbBandwidthcontrol->isEnabled());
    EXPECT_TRUE(p->lblPassbandshift->text().isEmpty());
}

TEST_F(Nrd535Panel, OptionsDecideWhatIsOffered)
{
    G.setupdata[10] = 0;
    G.setupdata[11] = 0;
    G.setupdata[12] = 0;
    G.setupdata[13] = 0;
    emu.cur.bw = 0;
    ASSERT_NE(go(), nullptr);
    EXPECT_FALSE(p->cmdBandwidth[2]->isEnabled());
    EXPECT_FALSE(p->cmdMode[7]->isEnabled());
    EXPECT_FALSE(p->cmdMode[8]->isEnabled());
    // Without the BWC unit the lock enables only the shift.
    lockOn();
    EXPECT_TRUE(p->vsbPassbandshift->isEnabled());
    EXPECT_FALSE(p->vsbBandwidthcontrol->isEnabled());
    // The keys still reach what the buttons do not offer.
    key(Qt::Key_F1, Qt::ShiftModifier);
    EXPECT_EQ(emu.cur.bw, 2);
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral("Nar"));
    key(Qt::Key_P, Qt::ShiftModifier);
    EXPECT_EQ(emu.cur.mode, 7);
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("?"));

    // RTTY without its unit: the information message, which says where the
    // unit is switched on in the words of the set-up dialog itself.
    menu("mnuRtty")->trigger();
    ASSERT_FALSE(dialogs.shown().isEmpty());
    const QString said = dialogs.shown().last().text;
    EXPECT_TRUE(said.startsWith(QStringLiteral("Reserved for RTTY demodulation\nwith optional unit CMH-530.")));
    auto *setUp = Windows::get<frmSetUp>();
    ASSERT_TRUE(setUp);
    for (const QString &caption : {setUp->chkNRDoptions[3]->text(),
                                   setUp->findChild<QGroupBox *>(QStringLiteral("fraNRDoptions"))->title(),
                                   setUp->windowTitle(), menu("mnuSetup")->text()})
        EXPECT_TRUE(said.simplified().contains(caption)) << caption.toStdString() << " in " << said.toStdString();
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("RTTY demodulation"));
    EXPECT_EQ(dialogs.shown().last().icon, MsgIcon::Information);
}

TEST_F(Nrd535Panel, OptionsFittedOfferEverything)
{
    ASSERT_NE(go(), nullptr);
    EXPECT_TRUE(p->cmdBandwidth[2]->isEnabled());
    EXPECT_TRUE(p->cmdMode[7]->isEnabled());
    button("cmdMode(8)")->click();
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("AM-L"));
    const int before = dialogs.shown().size();
    menu("mnuRtty")->trigger();
    EXPECT_EQ(dialogs.shown().size(), before);
    // Update refreshes from the receiver.
    emu.cur.att = 0;
    menu("mnuUpdate")->trigger();
    EXPECT_EQ(p->lblAttenuator->text(), QStringLiteral(" 0"));
}

TEST_F(Nrd535Panel, SteppingHoldsTheReceiverForItsRun)
{
    ASSERT_NE(go(), nullptr);
    p->cmbFreqstep->setEditText(QStringLiteral("1"));
    clearSent();
    p->cmdMovefreq->click();
    EXPECT_EQ(p->cmdMovefreq->text(), QStringLiteral("Stop"));
    ASSERT_TRUE(waitFor([&] { return emu.cur.hz >= 9653000; }, 8000));
    p->cmdMovefreq->click();
    pump(100);
    EXPECT_EQ(p->cmdMovefreq->text(), QStringLiteral("GO"));
    const QStringList cmds = sent();
    ASSERT_GE(cmds.size(), 4);
    EXPECT_EQ(cmds.mid(0, 2), (QStringList{"H1", "H1"}));
    EXPECT_EQ(cmds.mid(cmds.size() - 2), (QStringList{"H0", "H0"}));
    // Between them the steps went out alone, without brackets.
    const QStringList middle = cmds.mid(2, cmds.size() - 4);
    EXPECT_FALSE(middle.contains(QStringLiteral("H0")));
    EXPECT_TRUE(middle.contains(QStringLiteral("F09651000")));
    EXPECT_FALSE(emu.remote);
    EXPECT_EQ(p->lock->lblLock->text(), QStringLiteral("Off"));

    // Locked by the user: stopping still hands the receiver back (Ctrl+G).
    lockOn();
    key(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(p->movefreqon, 1);
    pump(100);
    key(Qt::Key_G, Qt::ControlModifier);
    pump(100);
    EXPECT_EQ(p->movefreqon, 0);
    EXPECT_FALSE(emu.remote);
    EXPECT_EQ(G.panellock, 1);
    EXPECT_EQ(p->lock->lblLock->text(), QStringLiteral("Off"));
}

TEST_F(Nrd535Panel, StoppingSteppingLeavesAToolsHold)
{
    ASSERT_NE(go(), nullptr);
    Receiver::hold(&aTool, true);
    EXPECT_TRUE(emu.remote);
    p->cmdMovefreq->click();
    pump(150);
    p->cmdMovefreq->click();
    pump(100);
    EXPECT_TRUE(emu.remote);
    EXPECT_EQ(G.jrclock, 1);
    EXPECT_EQ(p->lock->lblLock->text(), QStringLiteral("On"));
    Receiver::hold(&aTool, false);
    pump(40);
    EXPECT_FALSE(emu.remote);
    EXPECT_EQ(p->lock->lblLock->text(), QStringLiteral("Off"));
}

TEST_F(Nrd535Panel, ShiftAndBandwidthKeysWorkOnlyWhileLocked)
{
    emu.cur.bw = 0;
    ASSERT_NE(go(), nullptr);
    clearSent();
    key(Qt::Key_Plus, Qt::ShiftModifier);
    key(Qt::Key_F1, Qt::ControlModifier);
    key(Qt::Key_ParenRight, Qt::ShiftModifier);
    EXPECT_TRUE(sent().isEmpty());

    key(Qt::Key_Equal, Qt::ControlModifier | Qt::ShiftModifier); // the lock's "On"
    EXPECT_EQ(G.panellock, 1);
    EXPECT_TRUE(emu.remote);

    // Pass-band shift: +50 steps up to 2000, -50 down to -2000, 0.
    p->vsbPassbandshift->setValue(1950);
    clearSent();
    key(Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(p->vsbPassbandshift->value(), 2000);
    key(Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_EQ(p->vsbPassbandshift->value(), 2000);
    // Sent by the change and once more by the key, also at the limit.
    EXPECT_EQ(sent(), (QStringList{"P+2000", "P+2000", "P+2000"}));
    p->vsbPassbandshift->setValue(-1950);
    key(Qt::Key_Underscore, Qt::ShiftModifier);
    EXPECT_EQ(p->vsbPassbandshift->value(), -2000);
    key(Qt::Key_ParenRight, Qt::ShiftModifier);
    EXPECT_EQ(p->vsbPassbandshift->value(), 0);
    pump(40);
    EXPECT_EQ(emu.passbandShift, 0);

    // Bandwidth control on Wid: F2 narrows by 200 to 2000, F3 widens to 5500.
    QList<int> seen;
    for (int i = 0; i < 18; ++i) {
        key(Qt::Key_F2, Qt::ControlModifier);
        seen << p->vsbBandwidthcontrol->value();
    }
    EXPECT_EQ(seen.mid(0, 3), (QList<int>{5300, 5100, 4900}));
    EXPECT_EQ(seen.mid(14), (QList<int>{2500, 2300, 2100, 2000}));
    key(Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 2200);
    key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 5500);
    key(Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 2000);
    pump(40);
    EXPECT_EQ(emu.bandwidthControl, 2000);

    // Int: 100 Hz steps between 500 and 2200.
    button("cmdBandwidth(1)")->click();
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 2200);
    key(Qt::Key_F2, Qt::ControlModifier);
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 2100);
    key(Qt::Key_F1, Qt::ControlModifier);
    key(Qt::Key_F3, Qt::ControlModifier);
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 600);

    // Following leaves the dial to the listener: the sliders are off, and their keys.
    auto *tr = Windows::get<frmTracking>();
    tr->load();
    tr->optMousedial->select(1);
    clearSent();
    key(Qt::Key_Plus, Qt::ShiftModifier);
    key(Qt::Key_ParenRight, Qt::ShiftModifier);
    key(Qt::Key_F2, Qt::ControlModifier);
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(p->lblPassbandshift->text() + p->lblBandwidthcontrol->text(), QString());

    key(Qt::Key_Minus, Qt::ControlModifier | Qt::ShiftModifier); // the lock's "Off"
    EXPECT_EQ(G.panellock, 0);
    EXPECT_FALSE(emu.remote);
}

TEST_F(Nrd535Panel, BandwidthKeysStayWithinTheSlidersRange)
{
    G.setupdata[11] = 0; // no BWC unit: the slider keeps its built range 5500..2200
    emu.cur.bw = 1;      // Int, whose values lie below that range
    ASSERT_NE(go(), nullptr);
    lockOn();
    clearSent();
    key(Qt::Key_F1, Qt::ControlModifier);
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 2200);
    key(Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(p->vsbBandwidthcontrol->value(), 2200);
    for (const QString &c : sent())
        EXPECT_EQ(c, QStringLiteral("W2200"));
}

TEST_F(Nrd535Panel, ModeAndFilterKeysEvenOnDisabledButtons)
{
    G.setupdata[12] = 0;
    ASSERT_NE(go(), nullptr);
    const struct {
        Qt::Key key;
        int mode;
        const char *label;
    } modes[] = {{Qt::Key_A, 4, "AM"}, {Qt::Key_C, 1, "CW"},  {Qt::Key_F, 5, "NFM"},
                 {Qt::Key_L, 3, "LSB"}, {Qt::Key_U, 2, "USB"}, {Qt::Key_R, 0, "RY"},
                 {Qt::Key_X, 6, "Fax"}, {Qt::Key_M, 8, "?"}};
    for (const auto &m : modes) {
        key(m.key, Qt::ShiftModifier);
        EXPECT_EQ(emu.cur.mode, m.mode) << m.label;
        EXPECT_EQ(p->lblMode->text(), QLatin1String(m.label));
    }
    key(Qt::Key_U, Qt::ShiftModifier);
    const struct {
        Qt::Key key;
        int bw;
    } filters[] = {{Qt::Key_F1, 2}, {Qt::Key_F2, 1}, {Qt::Key_F3, 0}, {Qt::Key_F4, 3}};
    for (const auto &f : filters) {
        key(f.key, Qt::ShiftModifier);
        EXPECT_EQ(emu.cur.bw, f.bw);
    }
    // The letters did not land in the frequency box.
    EXPECT_FALSE(p->txtFrequencyA->text().contains(QLatin1Char('A')));
    // Arrows step.
    p->cmbFreqstep->setEditText(QStringLiteral("5"));
    key(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(emu.cur.hz, 9655000);
}

TEST_F(Nrd535Panel, StatusDigitsOutsideTheTablesShowAQuestionMark)
{
    G.setupdata[12] = 0;
    ASSERT_NE(go(), nullptr);
    p->NRD535A_RxStatusChanged(QStringLiteral("X2970965000093"));
    EXPECT_EQ(p->lblAttenuator->text(), QStringLiteral("?"));
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral("?"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("?"));
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("?"));
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("9650.000"));
    p->NRD535A_RxStatusChanged(QString());
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("?"));
    p->NRD535A_BandwidthcontrolChanged(400);
    EXPECT_EQ(p->lblBandwidthcontrol->text(), QStringLiteral("?"));
    p->NRD535A_PassbandshiftChanged(-50);
    EXPECT_EQ(p->lblPassbandshift->text(), QStringLiteral("-50"));
    p->NRD535A_NoiseblankerChanged(3);
    EXPECT_EQ(p->lblNoiseblanker->text(), QStringLiteral("?"));
}

TEST_F(Nrd535Panel, UserDefsFromTheMenuColourTheAttenuatorLabel)
{
    ASSERT_NE(go(), nullptr);
    frmUserdefs *u = nullptr;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        u = Windows::existing<frmUserdefs>();
        if (!u || !u->isVisible() || Exchange::active())
            return;
        poll.stop();
        u->findChild<QRadioButton *>(QStringLiteral("optVBTbypass(1)"))->click();
        EXPECT_EQ(back(p->lblAttenuator), vbColor(0x80FF));
        u->cmdOK->click();
    });
    poll.start();
    menu("mnuUserdefs")->trigger();
    ASSERT_NE(u, nullptr);
    EXPECT_FALSE(Windows::loaded(WindowId::frmUserdefs));
    EXPECT_EQ(emu.userSettings.value(1), QStringLiteral("0"));
    EXPECT_EQ(back(p->lblAttenuator), vbColor(0x80FF));
}

TEST_F(Nrd535Panel, CloseUnlocksAfterTheToolsHaveGone)
{
    bool driverThereForTool = false;
    Windows::registerFactory(WindowId::frmSmeter, [&] {
        auto *t = new ToolStandIn(tav::WindowId::frmSmeter);
        t->onUnload = [&] {
            auto *panel = Windows::existing<frmNRD535>();
            driverThereForTool = panel && panel->NRD535A != nullptr;
            Receiver::hold(&aTool, false); // a tool's end of work, as its unload runs
        };
        return t;
    });
    ASSERT_NE(go(), nullptr);
    Windows::get(WindowId::frmSmeter)->load();
    Receiver::hold(&aTool, true);
    lockOn();
    EXPECT_TRUE(emu.remote);
    clearSent();
    p->cmdClose->click();
    EXPECT_TRUE(driverThereForTool);
    EXPECT_FALSE(Windows::loaded(WindowId::frmSmeter));
    EXPECT_FALSE(Windows::loaded(WindowId::frmNRD535));
    EXPECT_EQ(p->NRD535A, nullptr);
    EXPECT_FALSE(emu.remote);
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_EQ(sent(), (QStringList{"H0", "H0"}));
    EXPECT_FALSE(frmWelcome::instance()->Comm1.isOpen());
    EXPECT_TRUE(frmWelcome::instance()->isVisible());
    // The next JRC panel starts unlocked.
    ASSERT_NE(go(), nullptr);
    EXPECT_EQ(G.panellock, 0);
    EXPECT_EQ(p->lock->lblLock->text(), QStringLiteral("Off"));
}
