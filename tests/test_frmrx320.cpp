// The RX-320 panel offscreen against the emulated receiver on a
// pseudo-terminal: the state file restored and written, filter ranges and
// groups, mute with line out on and off, the exit mutes, the first start.
#include "hub/app.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "panels/frmRX320.h"
#include "sim/pty.h"
#include "sim/rx320.h"
#include "support/hubline.h"
#include "support/testenv.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tav;
using tavtest::waitFor;

namespace {

struct RX320Panel : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;
    sim::Rx320Emulator emu;
    sim::PtyHarness pty{emu};

    void SetUp() override
    {
        ASSERT_TRUE(pty.ok());
        tavtest::openHub(dir, pty, 3);
        G.setupdata[1] = 1;
        G.setupdata[8] = 0;
        G.setupdata[31] = 70;
        DialogScript::shown.clear();
    }
    void TearDown() override
    {
        tavtest::closeHub(tav::WindowId::frmRX320);
    }
    frmRX320 *go()
    {
        frmWelcome::instance()->imgGo_Click();
        return Windows::existing<frmRX320>();
    }
    // Waits until the emulator has taken everything the program sent.
    bool idle(int count) { return waitFor([&] { return emu.commandCount() >= count; }, 5000); }
    void settle() { tavtest::pump(100); }
    void key(QWidget *w, int qtKey, Qt::KeyboardModifiers mods)
    {
        QKeyEvent ev(QEvent::KeyPress, qtKey, mods);
        QApplication::sendEvent(w, &ev);
    }
};

} // namespace

TEST_F(RX320Panel, RestoresTheStateFileAndTheReceiverEndsInThatState)
{
    dir.write(QStringLiteral("rx320settings.ini"), " 7125.5\r\n 23\r\n 0\r\n 1\r\n 700\r\n 3\r\n 50\r\n 99\r\n");
    emu.setCwPitch(700); // the listener's beat note
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    EXPECT_TRUE(Windows::loaded(WindowId::frmRX320));
    ASSERT_TRUE(waitFor([&] { return emu.tunedFrequencyHz() == 7125500 && emu.mode() == 3; }));
    settle();
    EXPECT_EQ(emu.filter(), 23);
    EXPECT_EQ(emu.agc(), 1);
    EXPECT_EQ(emu.volumeLevel(), 18);
    EXPECT_EQ(emu.lineLevel(), 0);
    EXPECT_NEAR(emu.bfoOffsetHz(), 700, 1);
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("7125.500"));
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral(" 1050"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("CW"));
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("Slw"));
    EXPECT_EQ(p->lblBeatfreqosc->text(), QStringLiteral(" 700"));
    EXPECT_TRUE(p->vsbBeatfreqosc->isEnabled());
    EXPECT_EQ(p->lblVolume->text(), QStringLiteral("50"));
    // 1050 Hz belongs to "1-2k": seven captioned buttons, three blank.
    EXPECT_EQ(p->currentrange, 2);
    EXPECT_EQ(p->cmdBwgroup[0]->text(), QStringLiteral(" 1950"));
    EXPECT_FALSE(p->cmdBwgroup[7]->isEnabled());
    EXPECT_TRUE(p->cmdBwgroup[7]->text().isEmpty());

    // Closing writes the globals back exactly, in the file's number form.
    p->cmdClose->click();
    EXPECT_FALSE(Windows::loaded(WindowId::frmRX320));
    EXPECT_EQ(dir.read(QStringLiteral("rx320settings.ini")),
              QByteArray(" 7125.5\r\n 23\r\n 0\r\n 1\r\n 700\r\n 3\r\n 50\r\n 99\r\n"));
}

TEST_F(RX320Panel, RangesAndGroupsSelectTheirFilters)
{
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    struct Row { int range, selected, captioned; };
    const Row rows[] = {{3, 27, 9}, {0, 2, 8}, {1, 10, 10}, {2, 20, 7}};
    for (const Row &r : rows) {
        p->cmdBwrange[size_t(r.range)]->click();
        EXPECT_EQ(G.rx320filter, r.selected) << r.range;
        ASSERT_TRUE(waitFor([&] { return emu.filter() == r.selected; })) << r.range;
        int captioned = 0;
        for (auto *b : p->cmdBwgroup)
            captioned += b->isEnabled() && !b->text().isEmpty();
        EXPECT_EQ(captioned, r.captioned) << r.range;
    }
    p->cmdBwrange[0]->click();
    key(p, Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(G.rx320filter, 33);
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral(" 8000"));
    key(p, Qt::Key_F5, Qt::ShiftModifier);
    EXPECT_EQ(G.rx320filter, 5);
    // A filter set from elsewhere changes the label only.
    p->RX320A->setBandwidth(30);
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral(" 375"));
    EXPECT_EQ(p->currentrange, 0);
    ASSERT_TRUE(waitFor([&] { return emu.filter() == 30; }));
}

TEST_F(RX320Panel, MuteWithLineOutEnabledAndDisabled)
{
    dir.write(QStringLiteral("rx320settings.ini"), " 9500\r\n 2\r\n 0\r\n 3\r\n 0\r\n 0\r\n 40\r\n 60\r\n");
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    p->lblMute->clicked();
    EXPECT_EQ(G.rx320volume, 0);
    EXPECT_EQ(G.rx320linelevel, 0);
    EXPECT_EQ(p->lblMute->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    ASSERT_TRUE(waitFor([&] { return emu.volumeLevel() == 63 && emu.lineLevel() == 63; }));
    p->lblMute->clicked();
    EXPECT_EQ(G.rx320volume, 40);
    EXPECT_EQ(G.rx320linelevel, 60);
    EXPECT_EQ(p->lblMute->palette().color(QPalette::WindowText), QColor(0, 255, 0));

    p->findChild<QAction *>(QStringLiteral("mnuDisableLine"))->trigger();
    EXPECT_EQ(G.setupdata[30], 1);
    EXPECT_FALSE(p->vsbLinelevel->isEnabled());
    p->lblMute->clicked();
    EXPECT_EQ(G.rx320volume, 0);
    EXPECT_EQ(G.rx320linelevel, 60) << "line out disabled: only the speaker is muted";

    // The mute outlives the panel, and the label says so when it opens again.
    p->cmdClose->click();
    p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    EXPECT_EQ(p->lblMute->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_FALSE(p->vsbLinelevel->isEnabled());
    p->lblMute->clicked();
    EXPECT_EQ(G.rx320volume, 40);
    p->findChild<QAction *>(QStringLiteral("mnuEnableLine"))->trigger();
    EXPECT_EQ(G.setupdata[30], 0);
    EXPECT_TRUE(p->vsbLinelevel->isEnabled());
}

TEST_F(RX320Panel, FirstStartWithoutStateFile)
{
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    EXPECT_TRUE(dialogs.shown().isEmpty());
    ASSERT_TRUE(waitFor([&] { return emu.tunedFrequencyHz() == 10000000; }));
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("10000.000"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("AM"));
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral(" 5400"));
    EXPECT_FALSE(p->vsbBeatfreqosc->isEnabled());
    p->cmdClose->click();
    EXPECT_EQ(dir.read(QStringLiteral("rx320settings.ini")),
              QByteArray(" 10000\r\n 2\r\n 0\r\n 2\r\n 800\r\n 0\r\n 30\r\n 50\r\n"));
}

TEST_F(RX320Panel, DamagedStateFileIsClampedBeforeAnythingIsSent)
{
    dir.write(QStringLiteral("rx320settings.ini"), " 50000\r\n 40\r\n-9000\r\nxyz\r\n");
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    EXPECT_EQ(G.rx320freq, 30000);
    EXPECT_EQ(G.rx320filter, 33);
    EXPECT_EQ(G.rx320pbs, -2000);
    EXPECT_EQ(G.rx320agc, 2);
    EXPECT_EQ(p->lblPassbandshift->text(), QStringLiteral("-2000"));
    // AM is tuned by the maker's rule: whatever the shift, the receiver sits
    // on the frequency the panel shows.
    ASSERT_TRUE(waitFor([&] { return emu.filter() == 33 && emu.agc() == 2 && emu.tunedFrequencyHz() == 30000000; }));
}

TEST_F(RX320Panel, ExitMutesComeAfterTheFileAndReachTheReceiver)
{
    dir.write(QStringLiteral("rx320settings.ini"), " 9500\r\n 2\r\n 0\r\n 3\r\n 0\r\n 0\r\n 40\r\n 60\r\n");
    G.setupdata[18] = 1;
    G.setupdata[19] = 1;
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    ASSERT_TRUE(waitFor([&] { return emu.tunedFrequencyHz() == 9500000; }));
    p->cmdClose->click();
    EXPECT_EQ(dir.read(QStringLiteral("rx320settings.ini")),
              QByteArray(" 9500\r\n 2\r\n 0\r\n 3\r\n 0\r\n 0\r\n 40\r\n 60\r\n"));
    EXPECT_FALSE(frmWelcome::instance()->Comm1.isOpen());
    ASSERT_TRUE(waitFor([&] { return emu.volumeLevel() == 63 && emu.lineLevel() == 63; }));
}

TEST_F(RX320Panel, FirmwareAndKeyRows)
{
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    p->findChild<QAction *>(QStringLiteral("mnuFirmware"))->trigger();
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("VER 1.06"));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Firmware Version"));
    {
        // The real box holds its whole title in the bar, bold, beside the
        // bar's icon and buttons, though its text is short.
        DialogScript::enabled = false;
        int width = 0;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()); box && box->isVisible()) {
                width = box->frameGeometry().width();
                box->done(QMessageBox::Ok);
            }
        });
        look.start(20);
        p->findChild<QAction *>(QStringLiteral("mnuFirmware"))->trigger();
        DialogScript::enabled = true;
        QFont bold = QApplication::font();
        bold.setBold(true);
        const QFontMetrics fm(bold);
        EXPECT_GE(width, fm.horizontalAdvance(QStringLiteral("Firmware Version")) + 4 * fm.height());
    }
    p->vsbPassbandshift->setValue(1960);
    key(p, Qt::Key_Equal, Qt::ShiftModifier);
    EXPECT_EQ(G.rx320pbs, 2000);
    key(p, Qt::Key_Equal, Qt::ShiftModifier);
    EXPECT_EQ(G.rx320pbs, 2000);
    p->vsbVolume->setValue(96);
    key(p, Qt::Key_Equal, Qt::AltModifier);
    EXPECT_EQ(G.rx320volume, 99);
    p->vsbVolume->setValue(3);
    key(p, Qt::Key_Minus, Qt::AltModifier);
    EXPECT_EQ(G.rx320volume, 0);
    key(p, Qt::Key_U, Qt::ShiftModifier);
    EXPECT_EQ(G.rx320mode, 1);
    EXPECT_FALSE(p->vsbBeatfreqosc->isEnabled());
    key(p, Qt::Key_C, Qt::ShiftModifier);
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("CW"));
    EXPECT_TRUE(p->vsbBeatfreqosc->isEnabled());
}

TEST_F(RX320Panel, HubShowsWhatItSetsOnThePanel)
{
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    frmWelcome *w = frmWelcome::instance();
    w->hub().SetRx2mfa(QStringLiteral("u"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("USB"));
    EXPECT_EQ(p->lblBandwidth->text(), QStringLiteral(" 3000"));
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("Slw"));
    w->hub().SetRx2mfa(QStringLiteral("a"));
    EXPECT_EQ(p->lblAgcspeed->text(), QStringLiteral("Fst"));
    w->hub().SetRx2mfa(QStringLiteral("f"));
    EXPECT_EQ(p->lblMode->text(), QStringLiteral("AM"));
    w->hub().Change2FreqA(15000.001);
    EXPECT_EQ(p->txtFrequencyA->text(), QStringLiteral("15000.001"));
    EXPECT_DOUBLE_EQ(w->hub().Update2RxFreq(), 15000.001);
    ASSERT_TRUE(waitFor([&] { return emu.tunedFrequencyHz() == 15000001 && emu.agc() == 3; }));
}

TEST_F(RX320Panel, MenuExitWritesNoStateFileAndSendsNoExitMutes)
{
    G.setupdata[18] = 1;
    frmRX320 *p = go();
    ASSERT_TRUE(p && p->isLoadedForm());
    ASSERT_TRUE(waitFor([&] { return emu.tunedFrequencyHz() == 10000000; }));
    settle();
    const int volume = emu.volumeLevel();
    int ended = -1;
    auto saved = frmWelcome::endProgram;
    frmWelcome::endProgram = [&](int code) { ended = code; };
    if (QAction *a = p->findChild<QAction *>(QStringLiteral("mnuExit")))
        a->trigger();
    frmWelcome::endProgram = saved;
    EXPECT_EQ(ended, 0);
    settle();
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("rx320settings.ini"))));
    EXPECT_EQ(emu.volumeLevel(), volume);
    EXPECT_TRUE(Windows::loaded(WindowId::frmRX320));
}
