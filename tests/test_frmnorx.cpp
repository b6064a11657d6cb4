// The receiver-less panel: opened by Go with "No RX", inert controls, its
// step text, the frequency box, and Close back to the welcome screen.
#include "hub/app.h"
#include "core/clock.h"
#include "drivers/receiver.h"
#include "hub/frmWelcome.h"
#include "core/globals.h"
#include "core/tables.h"
#include "panels/frmNoRx.h"
#include "support/testenv.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

using namespace tav;

namespace {

class HiddenTool : public TavForm {
public:
    explicit HiddenTool(tav::WindowId id) : TavForm(id) {}
};

struct NoRxPanel : ::testing::Test {
    tavtest::ScratchDir dir;
    tavtest::ScriptedDialogs dialogs;

    void SetUp() override
    {
        registerBuiltWindows();
        Windows::registerFactory(WindowId::frmLast20, [] { return new HiddenTool(tav::WindowId::frmLast20); });
        frmWelcome::instance()->load();
        G.datapath = dir.path();
        G.rxtype = 0;
        G.setupdata[8] = 0;
        tav::DialogScript::shown.clear(); // the start-up notice about a missing settings file
    }
    void TearDown() override
    {
        frmWelcome::destroy();
        Windows::destroyAll();
        Windows::registerFactory(WindowId::frmLast20, {});
    }
    frmNoRx *go()
    {
        frmWelcome::instance()->imgGo_Click();
        return Windows::existing<frmNoRx>();
    }
};

} // namespace

TEST_F(NoRxPanel, GoOpensItWithoutPortOrDriver)
{
    frmWelcome *w = frmWelcome::instance();
    w->showModeless();
    frmNoRx *p = go();
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(Windows::loaded(WindowId::frmNoRx));
    EXPECT_TRUE(p->isVisible());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(p->windowTitle(), "No RX");
    EXPECT_FALSE(w->Comm1.isOpen());
    EXPECT_FALSE(w->hub().receiver);
    EXPECT_EQ(goModel().freqMinKHz, 10);
    EXPECT_EQ(goModel().freqMaxKHz, 30000);
    EXPECT_EQ(goModel().lastCell, 99);
    // The last-20 window records from the start, without showing itself.
    EXPECT_TRUE(Windows::loaded(WindowId::frmLast20));
    EXPECT_FALSE(Windows::existing(WindowId::frmLast20)->isVisible());
    EXPECT_TRUE(dialogs.shown().isEmpty());

    w->Showtime_Timer();
    EXPECT_TRUE(p->windowTitle().startsWith("LT : "));
    EXPECT_TRUE(p->windowTitle().contains("     No RX     UTC : "));
}

// The set-up saved with another receiver type while the panel is open: the
// caption clock still runs on the panel opened at Go.
TEST_F(NoRxPanel, CaptionClockRunsAfterTheSetUpChoosesAnotherReceiver)
{
    frmNoRx *p = go();
    ASSERT_NE(p, nullptr);
    G.rxtype = 1;
    for (const char *hhmm : {"10:15", "10:16"}) {
        Clock::set(QDateTime(QDate(2024, 3, 5), QTime::fromString(QLatin1String(hhmm), QStringLiteral("hh:mm"))));
        frmWelcome::instance()->Showtime_Timer();
        EXPECT_TRUE(p->windowTitle().startsWith(QStringLiteral("LT : 5 Mar 2024  ") + QLatin1String(hhmm)))
            << p->windowTitle().toStdString();
        EXPECT_TRUE(p->windowTitle().contains("     No RX     UTC : ")) << p->windowTitle().toStdString();
    }
}

TEST_F(NoRxPanel, StepTextFollowsTheStartStepSetting)
{
    const std::pair<float, const char *> cases[] = {{0, " 5"}, {1, " 9"}, {2, " 10"}, {3, " 0"}, {2.5f, " 10"}};
    for (const auto &[setting, text] : cases) {
        G.setupdata[8] = setting;
        frmNoRx *p = go();
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->cmbFreqstep->currentText(), text) << setting;
        EXPECT_EQ(p->cmbFreqstep->count(), 0);
        p->unload();
    }
}

TEST_F(NoRxPanel, KeypadButtonsAndBarsDoNothing)
{
    frmNoRx *p = go();
    ASSERT_NE(p, nullptr);
    const double tunedBefore = G.rxfreqnow;
    QList<QPushButton *> buttons;
    for (auto *b : p->cmd0to9)
        buttons << b;
    for (auto *b : p->cmdMode)
        buttons << b;
    for (auto *b : p->cmdBandwidth)
        buttons << b;
    for (auto *b : p->cmdAgcspeed)
        buttons << b;
    for (auto *b : p->cmdAttenuator)
        buttons << b;
    buttons << p->cmdDot << p->cmdBack << p->cmdEnterfreq;
    EXPECT_EQ(buttons.size(), 26);
    for (QPushButton *b : buttons)
        b->click();
    p->spnFreqstep->upButton()->click();
    p->spnFreqstep->downButton()->click();
    p->vsbVolume->setValue(10);
    p->vsbPassbandshift->setValue(3);
    EXPECT_EQ(p->txtFrequencyA->text(), "1234.56");
    EXPECT_EQ(p->lblMode->text(), "AM");
    EXPECT_EQ(p->lblBandwidth->text(), "Wid");
    EXPECT_EQ(p->lblAgcspeed->text(), "Med");
    EXPECT_EQ(p->lblVolume->text(), "50");
    EXPECT_EQ(p->cmbFreqstep->currentText(), " 5");
    EXPECT_EQ(G.rxfreqnow, tunedBefore);
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_TRUE(Windows::loaded(WindowId::frmNoRx));
    // The named controls are where tests and tools look for them.
    EXPECT_NE(p->findChild<QPushButton *>("cmdMode(3)"), nullptr);
    EXPECT_EQ(p->findChild<QPushButton *>("cmdAttenuator(0)")->text(), "-20");
    EXPECT_EQ(p->findChild<QGroupBox *>("fraFreqA")->title(), "Freq A : 10 k - 30 M");
}

TEST_F(NoRxPanel, DoubleClickEmptiesTheFrequencyBox)
{
    frmNoRx *p = go();
    ASSERT_NE(p, nullptr);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
    QApplication::sendEvent(p->txtFrequencyA, &dbl);
    EXPECT_TRUE(p->txtFrequencyA->text().isEmpty());
}

TEST_F(NoRxPanel, CloseUnloadsToolsAndShowsTheWelcomeScreen)
{
    for (int how = 0; how < 2; ++how) {
        frmNoRx *p = go();
        ASSERT_NE(p, nullptr);
        p->findChild<QAction *>("mnuAbout")->trigger();
        ASSERT_TRUE(Windows::loaded(WindowId::frmAbout));
        p->moveTwips(4500, 3000);
        if (how == 0)
            p->cmdClose->click();
        else
            p->findChild<QAction *>("mnuClose")->trigger();
        EXPECT_FALSE(Windows::loaded(WindowId::frmNoRx));
        EXPECT_FALSE(Windows::loaded(WindowId::frmAbout));
        EXPECT_FALSE(Windows::loaded(WindowId::frmLast20));
        EXPECT_FALSE(p->isVisible());
        EXPECT_TRUE(frmWelcome::instance()->isVisible());
        EXPECT_EQ(G.formtop[18], p->topTwips());
    }
}
