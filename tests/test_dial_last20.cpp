// Following a JRC receiver's dial: what reaches the last-20 list depends on its
// "Ignore Freq steps" box, while tuning from a list is always recorded.
#include "support/nrd545rig.h"

#include "lists/frmLast20.h"

using namespace tav;

namespace {

struct DialFollowing : tavtest::Nrd545Rig {
    void SetUp() override
    {
        Nrd545Rig::SetUp();
        Windows::registerFactory(WindowId::frmLast20, [] { return new lists::frmLast20; });
    }
};

} // namespace

TEST_F(DialFollowing, ReportsAreRecordedOnlyWhileTheBoxIsUnticked)
{
    frmNRD545 *p = go();
    ASSERT_NE(p, nullptr);
    auto *l20 = Windows::existing<lists::frmLast20>();
    ASSERT_NE(l20, nullptr) << "the panel loads the last-20 window";
    EXPECT_TRUE(Windows::loaded(WindowId::frmLast20));
    EXPECT_FALSE(l20->isVisible());
    l20->cmdClear_Click();

    G.dialtrack = true;
    emu.reporting = true;
    emu.dial(7205000);
    ASSERT_TRUE(tavtest::waitFor([&] { return G.rxfreqnow == 7205.0; }, 10000));
    tavtest::pump(50);
    EXPECT_EQ(l20->last20freqs().at(0), "") << "a turn of the dial is a step while the box is ticked";

    l20->chkNofreqsteps->setValue(0);
    emu.dial(9650000);
    ASSERT_TRUE(tavtest::waitFor([&] { return !l20->last20freqs().at(0).isEmpty(); }, 10000));
    EXPECT_EQ(l20->last20freqs().at(1), "");
    EXPECT_TRUE(l20->shown(0).startsWith("9650")) << l20->shown(0).toStdString();

    // Tuning from a list is recorded whatever the box says.
    l20->chkNofreqsteps->setValue(1);
    G.dialtrack = false;
    frmWelcome::instance()->hub().Change2FreqA(6070);
    ASSERT_TRUE(tavtest::waitFor([&] { return l20->shown(0).startsWith("6070"); }, 10000)) << l20->shown(0).toStdString();
    EXPECT_TRUE(l20->shown(1).startsWith("9650"));
}
