// The JRC panel lock: its buttons and label, the user's lock flag, and the
// holds of continuous stepping and of the tools, on a stand-in panel whose
// driver records what the lock asked of it.
#include "core/form.h"
#include "core/globals.h"
#include "core/ui.h"
#include "panels/jrclock.h"
#include "support/testenv.h"

#include <QPushButton>
#include <gtest/gtest.h>

using namespace tav;

namespace {
// Two tools working the receiver, as the lock tells holders apart.
QObject scanTool, meterTool;
} // namespace

namespace {

class StandInPanel : public TavForm {
public:
    struct Driver {
        StandInPanel *panel;
        void setLockonoff(int16_t v)
        {
            if (v == 0 || v == 1)
                G.jrclock = v;
            panel->driverWrites << v;
            panel->lock->showLock(v);
        }
    };

    explicit StandInPanel(WindowId id) : TavForm(id)
    {
        lock = new JrcLock(this, [this](int16_t s) {
            lockoffonCalls << s;
            driver.setLockonoff(s);
            return true;
        });
    }
    JrcLock *lock;
    Driver driver{this};
    QList<int16_t> lockoffonCalls, driverWrites;

protected:
    void Form_Load() override { lock->panelLoaded(driver); }
    void Form_Unload() override { lock->panelUnloading(); }
};

QColor back(QWidget *w) { return w->palette().color(QPalette::Window); }

struct JrcLockTest : ::testing::Test {
    StandInPanel *panel = nullptr;
    void SetUp() override
    {
        Windows::registerFactory(WindowId::frmNRD535, [] {
            return new StandInPanel(WindowId::frmNRD535);
        });
        Windows::registerFactory(WindowId::frmNRD545, [] {
            return new StandInPanel(WindowId::frmNRD545);
        });
    }
    void TearDown() override { Windows::destroyAll(); }
    StandInPanel *open(int rxtype)
    {
        G.goRxtype = int16_t(rxtype);
        auto *p = static_cast<StandInPanel *>(Windows::get(rxtype == 2 ? WindowId::frmNRD535 : WindowId::frmNRD545));
        p->load();
        p->lockoffonCalls.clear();
        p->driverWrites.clear();
        return p;
    }
};

} // namespace

TEST_F(JrcLockTest, ButtonsSetTheUserLockAndTheLabelFollowsTheDriver)
{
    panel = open(2);
    JrcLock *lk = panel->lock;
    EXPECT_EQ(lk->fraLock->title(), QStringLiteral("Lock"));
    EXPECT_EQ(lk->cmdLock[0]->text(), QStringLiteral("Off"));
    EXPECT_EQ(lk->cmdLock[1]->text(), QStringLiteral("On"));
    EXPECT_EQ(lk->lblLock->text(), QStringLiteral("Off"));

    panel->findChild<QPushButton *>(QStringLiteral("cmdLock(1)"))->click();
    EXPECT_EQ(G.panellock, 1);
    EXPECT_EQ(G.jrclock, 1);
    EXPECT_EQ(panel->lockoffonCalls, (QList<int16_t>{1}));
    EXPECT_EQ(lk->lblLock->text(), QStringLiteral("On"));
    EXPECT_EQ(back(lk->lblLock), vbColor(0x80FF));

    panel->findChild<QPushButton *>(QStringLiteral("cmdLock(0)"))->click();
    EXPECT_EQ(G.panellock, 0);
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_EQ(lk->lblLock->text(), QStringLiteral("Off"));
    EXPECT_EQ(back(lk->lblLock), vbColor(0xC0FFFF));

    // A value the driver does not know leaves the label alone.
    lk->showLock(1);
    lk->lockoffon(2);
    EXPECT_EQ(lk->lblLock->text(), QStringLiteral("On"));
    EXPECT_EQ(G.jrclock, 0);
}

TEST_F(JrcLockTest, CtrlShiftKeysPressTheButtons)
{
    panel = open(4);
    EXPECT_TRUE(panel->lock->ctrlShiftKey(187));
    EXPECT_EQ(G.panellock, 1);
    EXPECT_TRUE(panel->lock->ctrlShiftKey(189));
    EXPECT_EQ(G.panellock, 0);
    EXPECT_FALSE(panel->lock->ctrlShiftKey(48));
    EXPECT_EQ(panel->lockoffonCalls, (QList<int16_t>{1, 0}));
}

TEST_F(JrcLockTest, LoadingClearsTheUserLockAndUnloadingAlwaysReleases)
{
    panel = open(2);
    panel->lock->cmdLock_Click(1);
    panel->unload();
    EXPECT_EQ(panel->lockoffonCalls.last(), 0);
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_EQ(G.panellock, 1); // the user's choice outlives the panel ...

    panel->driverWrites.clear();
    panel->load();
    EXPECT_EQ(G.panellock, 0); // ... until the next JRC panel comes up
    EXPECT_EQ(panel->driverWrites, (QList<int16_t>{0}));
    EXPECT_EQ(panel->lock->lblLock->text(), QStringLiteral("Off"));
}

TEST_F(JrcLockTest, ToolsLockOnlyAJrcReceiverTheUserHasNotLocked)
{
    panel = open(2);
    Receiver::hold(&scanTool, true);
    EXPECT_EQ(G.jrclock, 1);
    EXPECT_EQ(panel->lock->lblLock->text(), QStringLiteral("On"));
    Receiver::hold(&scanTool, false);
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_EQ(panel->lockoffonCalls, (QList<int16_t>{1, 0}));

    // Locked by the user: the tool changes nothing, before or after.
    panel->lock->cmdLock_Click(1);
    panel->lockoffonCalls.clear();
    Receiver::hold(&scanTool, true);
    Receiver::hold(&scanTool, false);
    EXPECT_TRUE(panel->lockoffonCalls.isEmpty());
    EXPECT_EQ(G.panellock, 1);
    EXPECT_EQ(G.jrclock, 1);
    EXPECT_EQ(panel->lock->lblLock->text(), QStringLiteral("On"));

    // The user unlocks while a tool works: the tool's end still releases.
    panel->lock->cmdLock_Click(0);
    Receiver::hold(&scanTool, true);
    panel->lock->cmdLock_Click(1);
    panel->lock->cmdLock_Click(0);
    panel->lockoffonCalls.clear();
    Receiver::hold(&scanTool, false);
    EXPECT_EQ(panel->lockoffonCalls, (QList<int16_t>{0}));
}

TEST_F(JrcLockTest, ToolLockDoesNothingForOtherReceiversOrAClosedPanel)
{
    panel = open(4);
    Receiver::hold(&scanTool, true);
    EXPECT_EQ(panel->lockoffonCalls, (QList<int16_t>{1}));
    Receiver::hold(&scanTool, false);

    panel->lockoffonCalls.clear();
    G.goRxtype = 1; // an AR7030 chosen at Go: no JRC panel is the open one
    Receiver::hold(&scanTool, true);
    G.goRxtype = 0;
    Receiver::hold(&scanTool, true);
    EXPECT_TRUE(panel->lockoffonCalls.isEmpty());

    G.goRxtype = 4;
    panel->unload();
    panel->lockoffonCalls.clear();
    Receiver::hold(&scanTool, true);
    Receiver::hold(&scanTool, false);
    EXPECT_TRUE(panel->lockoffonCalls.isEmpty());
    EXPECT_EQ(openJrcLock(), nullptr);
}

TEST_F(JrcLockTest, SteppingHoldsWhateverTheUserChoseAndStoppingSparesAToolsHold)
{
    panel = open(2);
    // Locked by the user: stepping's stop still hands the receiver back.
    panel->lock->cmdLock_Click(1);
    panel->lock->steppingStarted();
    panel->lock->steppingStopped();
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_EQ(G.panellock, 1);
    EXPECT_EQ(panel->lock->lblLock->text(), QStringLiteral("Off"));

    // A tool holding the receiver keeps it when stepping stops ...
    panel->lock->cmdLock_Click(0);
    Receiver::hold(&scanTool, true);
    panel->lock->steppingStarted();
    panel->lockoffonCalls.clear();
    panel->lock->steppingStopped();
    EXPECT_TRUE(panel->lockoffonCalls.isEmpty());
    EXPECT_EQ(G.jrclock, 1);
    // ... and stepping keeps it when a tool ends during the run.
    panel->lock->steppingStarted();
    Receiver::hold(&scanTool, false);
    EXPECT_EQ(G.jrclock, 1);
    panel->lock->steppingStopped();
    EXPECT_EQ(G.jrclock, 0);
}

TEST_F(JrcLockTest, TheLastOfTwoToolsReleases)
{
    panel = open(2);
    Receiver::hold(&scanTool, true);
    Receiver::hold(&meterTool, true);
    Receiver::hold(&scanTool, false);
    EXPECT_EQ(G.jrclock, 1);
    EXPECT_EQ(panel->lock->toolHolds(), 1);
    Receiver::hold(&scanTool, false); // ending twice gives back nothing more
    EXPECT_EQ(G.jrclock, 1);
    Receiver::hold(&meterTool, false);
    EXPECT_EQ(G.jrclock, 0);
    EXPECT_EQ(panel->lock->toolHolds(), 0);
}

TEST_F(JrcLockTest, AToolThatTookNoHoldCannotEndAnothersHold)
{
    panel = open(2);
    panel->lock->cmdLock_Click(1);
    Receiver::hold(&scanTool, true); // the user holds the receiver: no hold taken
    panel->lock->cmdLock_Click(0);
    Receiver::hold(&meterTool, true);
    Receiver::hold(&scanTool, false);
    EXPECT_EQ(G.jrclock, 1) << "the meter still works the receiver";
    Receiver::hold(&meterTool, false);
    EXPECT_EQ(G.jrclock, 0);
}
