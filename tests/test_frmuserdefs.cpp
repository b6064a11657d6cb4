// The NRD-535 user settings dialog against the NRD-535 emulator on a
// pseudo-terminal: what each choice sends, the CW pitch, Reset to Defaults,
// and the VBT bypass shown on the panel's attenuator label.
#include "hub/app.h"
#include "core/exchange.h"
#include "core/form.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "drivers/clsNRD535.h"
#include "panels/jrc/frmUserdefs.h"
#include "sim/jrcsim.h"
#include "sim/pty.h"
#include "support/panelstandin.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace tav;

namespace {

// Only the attenuator label of the NRD-535 panel matters to this dialog.
class PanelStandIn : public tavtest::PanelStandIn {
public:
    PanelStandIn() : tavtest::PanelStandIn(WindowId::frmNRD535)
    {
        setBackColor(lblAttenuator, 0x00FF00);
    }
};

struct Userdefs : ::testing::Test {
    tavtest::ScratchDir dir;
    sim::Nrd535Emulator emu;
    sim::PtyHarness pty{emu};
    tavtest::ScriptedDialogs dialogs;
    frmUserdefs *w = nullptr;
    PanelStandIn *panel = nullptr;

    void SetUp() override
    {
        registerBuiltWindows();
        Windows::registerFactory(WindowId::frmNRD535, [] { return new PanelStandIn; });
        G.datapath = dir.path();
        dir.write(QStringLiteral("comports.ini"), pty.slavePath().toLatin1() + "\r\n");
        CommControl &port = frmWelcome::instance()->Comm1;
        port.CommPort = 1;
        port.Settings = QStringLiteral("4800,N,8,1");
        ASSERT_TRUE(port.open()) << port.lastError().toStdString();
        panel = static_cast<PanelStandIn *>(Windows::get(WindowId::frmNRD535));
        panel->load();
        w = Windows::get<frmUserdefs>();
        ASSERT_NE(w, nullptr);
    }
    void TearDown() override
    {
        Windows::destroyAll();
        frmWelcome::instance()->Comm1.close();
    }
    // The commands the emulator has received, without their CR.
    QStringList commands()
    {
        tavtest::pump(30);
        QStringList out = QString::fromLatin1(pty.received()).split(QLatin1Char('\r'));
        out.removeLast();
        return out;
    }
    QStringList userCommands()
    {
        QStringList out;
        for (const QString &c : commands())
            if (c.startsWith(QLatin1Char('U')))
                out << c;
        return out;
    }
    QRadioButton *opt(const QString &name) { return w->findChild<QRadioButton *>(name); }
    QColor attenuatorColour() { return panel->lblAttenuator->palette().color(QPalette::Window); }
};

} // namespace

TEST_F(Userdefs, OpeningSwitchesTheBypassOffAndNothingElse)
{
    w->load();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("NRD-535 User Definition Settings"));
    EXPECT_TRUE(Windows::loaded(WindowId::frmUserdefs));
    // The bypass "Off" selected (sent) and then sent once more, each in its own bracket.
    EXPECT_EQ(commands(), (QStringList{"H1", "H1", "U11", "H0", "H0", "H1", "H1", "U11", "H0", "H0"}));
    EXPECT_EQ(emu.userSettings.value(1), QStringLiteral("1"));
    EXPECT_TRUE(opt("optVBTbypass(0)")->isChecked());
    EXPECT_FALSE(opt("optRelaymode(0)")->isChecked());
    EXPECT_EQ(w->lblCWpitch->text(), QStringLiteral("+0800"));
    EXPECT_EQ(attenuatorColour(), vbColor(0xC0FFFF));
    EXPECT_EQ(G.jrclock, 0);
}

TEST_F(Userdefs, EveryChoiceSendsItsItemAtOnce)
{
    w->load();
    pty.clearReceived();
    struct Case {
        const char *button;
        int item;
        const char *value;
        const char *command;
    } cases[] = {
        {"optRelaymode(1)", 0, "1", "U01"},   {"optRelaymode(2)", 0, "2", "U02"},
        {"optRelaymode(0)", 0, "0", "U00"},   {"optVBTbypass(1)", 1, "0", "U10"},
        {"optVBTbypass(0)", 1, "1", "U11"},   {"optSmeterdisplay(0)", 4, "0", "U40"},
        {"optSmeterdisplay(1)", 4, "1", "U41"}, {"optFreqshift(0)", 6, "0", "U60"},
        {"optFreqshift(1)", 6, "1", "U61"},   {"opt10Hzdisplay(0)", 7, "0", "U70"},
        {"opt10Hzdisplay(1)", 7, "1", "U71"}, {"optColonblink(0)", 8, "0", "U80"},
        {"optColonblink(1)", 8, "1", "U81"},  {"optBeeponkey(0)", 9, "0", "U90"},
        {"optBeeponkey(1)", 9, "1", "U91"},
    };
    QStringList expected;
    for (const Case &c : cases) {
        QRadioButton *b = opt(QLatin1String(c.button));
        ASSERT_NE(b, nullptr) << c.button;
        b->click();
        EXPECT_TRUE(b->isChecked()) << c.button;
        tavtest::pump(20);
        EXPECT_EQ(emu.userSettings.value(c.item), QLatin1String(c.value)) << c.button;
        expected << QLatin1String(c.command);
    }
    EXPECT_EQ(userCommands(), expected);
    // Every one went out in its own remote bracket: this window never locks.
    EXPECT_EQ(commands().count(QStringLiteral("H1")), 2 * expected.size());
    EXPECT_EQ(G.jrclock, 0);
}

TEST_F(Userdefs, TheBypassColoursThePanelsAttenuatorLabel)
{
    w->load();
    opt("optVBTbypass(1)")->click();
    EXPECT_EQ(attenuatorColour(), vbColor(0x80FF));
    opt("optVBTbypass(0)")->click();
    EXPECT_EQ(attenuatorColour(), vbColor(0xC0FFFF));
    opt("optVBTbypass(1)")->click();
    w->cmdOK->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmUserdefs));
    EXPECT_EQ(attenuatorColour(), vbColor(0x80FF));
    // Reopening switches the bypass off again.
    pty.clearReceived();
    w->load();
    EXPECT_EQ(attenuatorColour(), vbColor(0xC0FFFF));
    EXPECT_EQ(userCommands(), (QStringList{"U11", "U11"}));
    EXPECT_TRUE(opt("optVBTbypass(0)")->isChecked());
    EXPECT_FALSE(opt("optVBTbypass(1)")->isChecked());
}

TEST_F(Userdefs, PitchStepsByTwentyFiveWithinItsLimitsAndOnlySetSendsIt)
{
    w->load();
    pty.clearReceived();
    for (int i = 0; i < 33; ++i)
        w->spnCWpitch->downButton()->click();
    EXPECT_EQ(w->lblCWpitch->text(), QStringLiteral("-0025"));
    EXPECT_TRUE(userCommands().isEmpty());
    w->cmdCWpitch->click();
    EXPECT_EQ(userCommands(), (QStringList{"U2-0025"}));
    EXPECT_EQ(emu.userSettings.value(2), QStringLiteral("-0025"));

    w->spnCWpitch->upButton()->click();
    EXPECT_EQ(w->lblCWpitch->text(), QStringLiteral("+0000"));
    for (int i = 0; i < 300; ++i)
        w->spnCWpitch_SpinUp();
    EXPECT_EQ(w->lblCWpitch->text(), QStringLiteral("+5000"));
    for (int i = 0; i < 500; ++i)
        w->spnCWpitch_SpinDown();
    EXPECT_EQ(w->lblCWpitch->text(), QStringLiteral("-5000"));

    // Spun but closed without Set: nothing more for item 2.
    w->cmdOK->click();
    EXPECT_EQ(userCommands(), (QStringList{"U2-0025"}));
}

TEST_F(Userdefs, ResetToDefaultsSendsEachItemOnceInOrderAndSelectsTheDefaults)
{
    w->load();
    opt("optVBTbypass(1)")->click();
    opt("optRelaymode(2)")->click();
    opt("optBeeponkey(0)")->click();
    w->spnCWpitch_SpinDown();
    pty.clearReceived();

    QElapsedTimer t;
    t.start();
    w->cmdDefaults->click();
    EXPECT_GE(t.elapsed(), 200); // ten 20 ms waits at least, besides the brackets
    EXPECT_EQ(userCommands(), (QStringList{"U00", "U11", "U2+0800", "U41", "U61", "U71", "U81", "U91"}));
    EXPECT_TRUE(opt("optRelaymode(0)")->isChecked());
    EXPECT_TRUE(opt("optVBTbypass(0)")->isChecked());
    EXPECT_TRUE(opt("optSmeterdisplay(1)")->isChecked());
    EXPECT_TRUE(opt("optFreqshift(1)")->isChecked());
    EXPECT_TRUE(opt("opt10Hzdisplay(1)")->isChecked());
    EXPECT_TRUE(opt("optColonblink(1)")->isChecked());
    EXPECT_TRUE(opt("optBeeponkey(1)")->isChecked());
    EXPECT_FALSE(opt("optBeeponkey(0)")->isChecked());
    EXPECT_EQ(w->lblCWpitch->text(), QStringLiteral("+0800"));
    EXPECT_EQ(attenuatorColour(), vbColor(0xC0FFFF));
    EXPECT_EQ(emu.userSettings.value(0), QStringLiteral("0"));
    EXPECT_EQ(emu.userSettings.value(2), QStringLiteral("+0800"));
    EXPECT_EQ(emu.userSettings.value(9), QStringLiteral("1"));
    // The pitch really is 800 again: Set sends it.
    pty.clearReceived();
    w->cmdCWpitch->click();
    EXPECT_EQ(userCommands(), (QStringList{"U2+0800"}));
}

TEST_F(Userdefs, ShownModalItWaitsUntilOk)
{
    bool returned = false;
    bool sawItShown = false;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, w, [&] {
        if (!w->isVisible() || Exchange::active())
            return;
        poll.stop();
        sawItShown = !returned && w->isModal();
        w->cmdOK->click();
    });
    poll.start();
    w->showModal();
    returned = true;
    EXPECT_TRUE(sawItShown);
    EXPECT_FALSE(Windows::loaded(WindowId::frmUserdefs));
    EXPECT_EQ(w->NRD535A, nullptr);
}
