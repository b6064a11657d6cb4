// The S-meter window: needle and histogram pixels tick by tick, the
// attenuator correction read at Start, and a window closed while measuring
// giving the panel back its attenuator frame and the receiver.
#include "core/comm.h"
#include "signal/frmSmeter.h"
#include "signal/smeterstats.h"
#include "support/nrd545rig.h"

#include <QWidget>

using namespace tav;

namespace {

const QColor kBar(0, 192, 0);

// The height of the bar of bin k in the histogram: its count and the base line.
int barHeight(const Picture &h, int k)
{
    int n = 0;
    for (int y = 63; y >= 0 && h.pixel(10 * k - 2, y) == kBar; --y)
        ++n;
    return n;
}

} // namespace

TEST(SmeterHistory, BinsByHalfUnitsAndTheSixtyFirstSampleLeaves)
{
    struct Row {
        float level;
        int bin;
    };
    for (const Row &r : {Row{1.0f, 1}, Row{1.49f, 1}, Row{1.5f, 2}, Row{9.5f, 10}, Row{21.0f, 21}, Row{21.5f, 0},
                         Row{0.0f, 0}})
        EXPECT_EQ(levelBin(r.level, 1, 21), r.bin) << r.level;
    EXPECT_EQ(SmeterHistory::clampLevel(0.2f), 1.0f);
    EXPECT_EQ(SmeterHistory::clampLevel(25.0f), 21.0f);

    SmeterHistory h;
    EXPECT_EQ(h.add(5.0f), (std::vector<SmeterHistory::BarUpdate>{{5, false, 1}})) << "the empty slot leaves no bin";
    for (int i = 2; i <= 60; ++i)
        h.add(7.0f);
    EXPECT_EQ(h.count(7), 59);
    // The 61st sample replaces the first: out of bin 5 before into bin 7.
    EXPECT_EQ(h.add(7.2f), (std::vector<SmeterHistory::BarUpdate>{{5, true, 0}, {7, false, 60}}));
    // Leaving and arriving in the same bin: erased and drawn at the same height.
    EXPECT_EQ(h.add(7.0f), (std::vector<SmeterHistory::BarUpdate>{{7, true, 59}, {7, false, 60}}));
}

struct SmeterWindow : tavtest::Nrd545Rig {
    void SetUp() override
    {
        Nrd545Rig::SetUp();
        Windows::registerFactory(WindowId::frmSmeter, [] { return new frmSmeter; });
    }
};

TEST_F(SmeterWindow, WithoutReceiverTheNeedleStaysAtS9AndBinNineFills)
{
    G.goRxtype = 0;
    auto *w = Windows::get<frmSmeter>();
    w->load();
    w->cmdStart->click();
    EXPECT_FALSE(w->cmdExit->isEnabled());
    EXPECT_TRUE(w->cmdStop->isEnabled());
    for (int i = 0; i < 3; ++i)
        w->tmrSmeter_Timer();
    const Picture &needle = w->picSmeter->picture();
    EXPECT_EQ(needle.count(80, 2, 81, 12, kBar), 22);
    EXPECT_EQ(needle.pixel(80, 2), kBar);
    EXPECT_EQ(barHeight(w->picShistogram->picture(), 9), 4);
    w->cmdStop->click();
    w->cmdCls->click();
    EXPECT_EQ(needle.count(0, 0, 200, 16, kBar), 0) << "Cls blanks the needle";
    EXPECT_EQ(w->history().count(9), 3) << "and keeps the counts";
    w->unload();
}

TEST_F(SmeterWindow, ReadsWithTheAttenuatorCorrectionAndGivesThePanelBackOnClose)
{
    frmNRD545 *p = go();
    ASSERT_NE(p, nullptr);
    QWidget *fra = p->findChild<QWidget *>(QStringLiteral("fraAttenuator"));
    ASSERT_NE(fra, nullptr);
    emu.smeterRaw = 82; // S9; the rig's attenuator is in (-20 dB)
    auto *w = Windows::get<frmSmeter>();
    w->load();
    w->cmdStart->click();
    EXPECT_FALSE(fra->isEnabled()) << "the attenuator is held while measuring";
    w->tmrSmeter_Timer();
    EXPECT_NEAR(w->level(), 9.0 + 20.0 / 6, 1e-4);
    EXPECT_EQ(w->picSmeter->picture().pixel(113, 5), kBar) << "S12.3 stands at x = 113";
    EXPECT_EQ(barHeight(w->picShistogram->picture(), 12), 2);

    // The close box while measuring ends the measurement as Stop would.
    w->close();
    EXPECT_FALSE(w->isLoadedForm());
    EXPECT_TRUE(fra->isEnabled());
    EXPECT_FALSE(w->tmrSmeter.isActive());
}

TEST_F(SmeterWindow, ASilentReceiverEndsTheMeasurementWithAMessage)
{
    ASSERT_NE(go(), nullptr);
    auto *w = Windows::get<frmSmeter>();
    w->load();
    w->cmdStart->click();
    pty->setOff(true);
    tav::DialogScript::shown.clear();
    for (int i = 0; i < MeasureSession::kMissesToStop; ++i)
        w->tmrSmeter_Timer();
    EXPECT_FALSE(w->measuring());
    EXPECT_TRUE(w->cmdStart->isEnabled());
    ASSERT_FALSE(dialogs.shown().isEmpty());
    EXPECT_EQ(dialogs.shown().last().text, QStringLiteral("The receiver does not answer.")) << dialogs.shown()[0].text.toStdString();

    // Answered again, then hung up: the measurement ends, and the needle
    // shows no level, having none to show.
    pty->setOff(false);
    w->cmdStart->click();
    w->tmrSmeter_Timer();
    const Picture &needle = w->picSmeter->picture();
    ASSERT_GT(needle.count(0, 0, 200, 16, kBar), 0);
    pty->dropLine();
    ASSERT_TRUE(tavtest::waitFor([] { return rxPort().lost(); }));
    w->tmrSmeter_Timer();
    EXPECT_FALSE(w->measuring());
    EXPECT_EQ(needle.count(0, 0, 200, 16, kBar), 0);
    w->unload();
}
