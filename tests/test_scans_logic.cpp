// The scans' rules without windows: the list scan's visiting order, runs and
// trends, the pair scan's run and rows, the band's geometry and display modes.
#include "core/canvas.h"
#include "scans/bandscan.h"
#include "scans/listscan.h"
#include "scans/pairscan.h"
#include "signal/smeterlevel.h"

#include <gtest/gtest.h>

using namespace tav;

namespace {
const QColor kBack(255, 255, 192), kBlack(0, 0, 0), kWhite(255, 255, 255), kGreen(0, 255, 0), kRed(255, 0, 0),
    kYellow(255, 255, 0);

struct ListFixture : ::testing::Test {
    Picture pic{634, 446, kBack};
    ListScan scan{pic};
};
} // namespace

TEST_F(ListFixture, VisitsValidBoxesInTurnAndCountsARunPerPassThroughBox19)
{
    auto valid = [](int i) { return i == 3 || i == 7 || i == 12; };
    scan.begin(5);
    scan.tickStart();
    std::vector<int> order;
    std::vector<int> runs;
    for (int n = 0; n < 7; ++n) {
        auto b = scan.nextValidBox(valid);
        ASSERT_TRUE(b);
        order.push_back(*b);
        runs.push_back(scan.slruns);
    }
    EXPECT_EQ(order, (std::vector<int>{3, 7, 12, 3, 7, 12, 3}));
    EXPECT_EQ(runs, (std::vector<int>{0, 0, 0, 1, 1, 1, 2}));
    // No valid box: one round, then the search gives up.
    const int before = scan.slruns;
    EXPECT_FALSE(scan.nextValidBox([](int) { return false; }));
    EXPECT_EQ(scan.slruns, before + 1);
}

TEST_F(ListFixture, RunCounterWrapsFrom9999To0001)
{
    scan.slruns = 9999;
    scan.slbox = 19;
    ASSERT_TRUE(scan.nextValidBox([](int) { return true; }));
    EXPECT_EQ(scan.runsText(), "0001");
}

TEST_F(ListFixture, ReadingsShiftThroughTwentyBarsNewestOnTheRight)
{
    scan.drawFrame();
    scan.slbox = 2; // x 125..144
    scan.storeReading(9);      // S9: y 270 - 81 = 189
    scan.storeReading(1);      // S1: y 261
    EXPECT_EQ(scan.sllevels[2][19], 9);
    EXPECT_EQ(scan.sllevels[2][20], 1);
    EXPECT_EQ(pic.pixel(144, 261), kBlack);
    EXPECT_EQ(pic.pixel(144, 260), kBack);
    EXPECT_EQ(pic.pixel(143, 189), kBlack);
    EXPECT_EQ(pic.pixel(143, 188), kBack);
    EXPECT_EQ(pic.pixel(143, 270), kBlack);
    // Older slots are 0: a single pixel at the base line.
    EXPECT_EQ(pic.pixel(130, 270), kBlack);
    EXPECT_EQ(pic.pixel(130, 269), kBack);
    // A negative corrected level draws below the base line.
    scan.storeReading(-1.5f);
    EXPECT_EQ(pic.pixel(144, 283), kBlack); // 270 + 13.5 rounds to 284 (even) -> bar to 284
    EXPECT_EQ(pic.pixel(144, 200), kBack);
    // A reading beyond the top of the scale (S18 plus the attenuator's
    // correction) ends at the plot's top instead of marking the window above.
    scan.storeReading(26.3f);
    EXPECT_EQ(pic.pixel(144, 70), kBlack);
    EXPECT_EQ(pic.count(144, 0, 144, 69, kBlack), 0);
}

TEST_F(ListFixture, TrendMarksFromTheThirdUpdateWithThePartsThresholds)
{
    scan.drawFrame();
    scan.begin(5);
    // Box 0 rising by 3 per reading over ten readings: new - old = 5 x 5 x 3 > 2.5 -> green.
    // Box 1 steady -> yellow; box 2 falling -> red; box 3 rising just 0.5 in sum -> yellow.
    for (int j = 1; j <= 20; ++j) {
        scan.sllevels[0][size_t(j)] = float(3 * j);
        scan.sllevels[1][size_t(j)] = 7;
        scan.sllevels[2][size_t(j)] = float(100 - 3 * j);
    }
    scan.sllevels[3][19] = 0.5f;
    scan.calctrend();
    scan.calctrend();
    EXPECT_EQ(pic.count(75, 290, 94, 310, kWhite), 20 * 21); // nothing drawn before the third
    scan.calctrend();
    EXPECT_EQ(scan.sltrends[0][10], 10);
    EXPECT_EQ(scan.sltrends[1][10], 14);
    EXPECT_EQ(scan.sltrends[2][10], 12);
    EXPECT_EQ(scan.sltrends[3][10], 14);
    EXPECT_EQ(scan.sltrends[0][9], 15); // shifted from a cell never set
    EXPECT_EQ(pic.pixel(93, 300), kGreen);
    EXPECT_EQ(pic.pixel(94, 290), kGreen);
    EXPECT_EQ(pic.pixel(118, 310), kYellow);
    EXPECT_EQ(pic.pixel(143, 300), kRed);
    EXPECT_EQ(pic.pixel(91, 300), kWhite);
    scan.calctrend();
    EXPECT_EQ(scan.sltrends[0][9], 10);
    EXPECT_EQ(pic.pixel(91, 300), kGreen);
    // Exactly N x 0.5 is steady: N = 10 with the old sum reaching slot 0.
    ListScan ten(pic);
    ten.begin(10);
    ten.sllevels[4][10] = 5; // slot 10 is in the new sum (10..19), nothing in the old
    ten.sltrendcalls = 2;
    ten.slnewtrend = false;
    ten.calctrend();
    EXPECT_EQ(ten.sltrends[4][10], 14);
}

TEST(ListScanInput, UpdateAndDelayRanges)
{
    EXPECT_EQ(ListScan::updateFromText(QStringLiteral("2")), std::nullopt);
    EXPECT_EQ(ListScan::updateFromText(QStringLiteral("11")), std::nullopt);
    EXPECT_EQ(ListScan::updateFromText(QStringLiteral("70000")), std::nullopt);
    EXPECT_EQ(ListScan::updateFromText(QStringLiteral("3")), 3);
    EXPECT_EQ(ListScan::updateFromText(QStringLiteral("10.4")), 10);
    EXPECT_EQ(ListScan::delayFromText(QStringLiteral("0.5")), 2);
    EXPECT_EQ(ListScan::delayFromText(QStringLiteral("20")), 2);
    EXPECT_EQ(ListScan::delayFromText(QStringLiteral("1.5")), 1.5);
}

TEST(AttenuatorCorrection, PerReceiver)
{
    EXPECT_NEAR(attcorrection(1, 0), -10.0 / 6, 1e-12); // +10 dB in
    EXPECT_EQ(attcorrection(1, 1), 0);
    EXPECT_NEAR(attcorrection(1, 3), 20.0 / 6, 1e-12);
    EXPECT_NEAR(attcorrection(2, 1), 20.0 / 6, 1e-12);
    EXPECT_NEAR(attcorrection(4, 1), 20.0 / 6, 1e-12);
    EXPECT_EQ(attcorrection(3, 1), 0);
    EXPECT_EQ(attcorrection(0, 1), 0);
}

namespace {
PairScan tenPairs()
{
    PairScan s;
    for (int i = 0; i < 10; ++i)
        s.pairs.push_back({QString::number(5000 + i), QString::number(6000 + i), 1, QString()});
    return s;
}
std::vector<int> visits(PairScan &s, int n)
{
    std::vector<int> v;
    for (int i = 0; i < n; ++i) {
        auto k = s.findTunable();
        if (!k)
            break;
        v.push_back(*k);
        s.advance();
    }
    return v;
}
} // namespace

TEST(PairRun, WrapsPastTheEndAndSkipsInactiveAndNumberlessPairs)
{
    PairScan s = tenPairs();
    s.pairstart = 7;
    s.pairend = 2;
    s.paircur = 7;
    EXPECT_EQ(visits(s, 7), (std::vector<int>{7, 8, 9, 0, 1, 2, 7}));
    s.pairs[8].active = 0;
    s.pairs[1].freqb = QStringLiteral("none");
    s.paircur = 7;
    EXPECT_EQ(visits(s, 6), (std::vector<int>{7, 9, 0, 2, 7, 9}));
    s.pairstart = s.pairend = 3;
    s.paircur = 3;
    EXPECT_EQ(visits(s, 3), (std::vector<int>{3, 3, 3}));
    // Nothing active in the run: the search gives up.
    s.pairs[3].active = 0;
    EXPECT_EQ(s.findTunable(), std::nullopt);
    EXPECT_EQ(s.frequency(9, 1), 6009);
}

TEST(PairRows, ElevenRowsShowTheRunAroundAPair)
{
    PairScan s;
    for (int i = 0; i <= 20; ++i)
        s.pairs.push_back({QString::number(i), QString::number(i), 1, QString()});
    s.pairstart = 0;
    s.pairend = 9;
    auto r = s.rows(1);
    for (int i = 0; i <= 3; ++i)
        EXPECT_FALSE(r[size_t(i)]) << i;
    for (int i = 4; i <= 10; ++i)
        EXPECT_EQ(r[size_t(i)], i - 4) << i;
    r = s.rows(8);
    for (int i = 0; i <= 6; ++i)
        EXPECT_EQ(r[size_t(i)], i + 3) << i;
    for (int i = 7; i <= 10; ++i)
        EXPECT_FALSE(r[size_t(i)]) << i;
    // The middle row shows its pair even outside the run.
    EXPECT_EQ(s.rows(15)[5], 15);
}

namespace {
struct BandLogic : ::testing::Test {
    Picture pic{632, 423, QColor(255, 255, 192)};
    BandSweep sweep{pic};
};
} // namespace

TEST_F(BandLogic, BandLimitsAndGeometry)
{
    EXPECT_TRUE(BandSweep::bandValid(7000, 7100, 0.2, 10, 30000));
    EXPECT_FALSE(BandSweep::bandValid(7000, 7100, 0.19, 10, 30000));
    EXPECT_FALSE(BandSweep::bandValid(7000, 30001, 100, 10, 30000));
    EXPECT_FALSE(BandSweep::bandValid(5, 7000, 100, 10, 30000));
    sweep.begin(7000, 7100, 0.2);
    EXPECT_EQ(sweep.lastStep(), 500);
    EXPECT_EQ(sweep.xOf(7000), 70);
    EXPECT_EQ(sweep.xOf(7100), 570);
    EXPECT_EQ(sweep.xOf(7050), 320);
    EXPECT_EQ(BandSweep::yOf(9), 288);
    EXPECT_EQ(BandSweep::yOf(21), 192);
    sweep.begin(7000, 7100, 1);
    EXPECT_EQ(sweep.clickFrequency(320), 7050);
    EXPECT_EQ(sweep.mouseFrequency(321), 7050);
    EXPECT_EQ(slabel(15), "S9+36dB");
    EXPECT_EQ(slabel(16), "S9=42dB");
    EXPECT_EQ(slabel(21), "S9+72dB");
}

TEST_F(BandLogic, DisplayModesKeepLatestHighestOrAverage)
{
    const struct {
        int mode;
        std::vector<float> readings;
        float plotted;
    } cases[] = {
        {0, {5, 2}, 2},
        {1, {5, 2}, 5},
        {1, {-1}, 0}, // after Start all columns start from 0
        {2, {6}, 2},  // averaging with zeros at first
        {2, {6, 3, 9}, 6},
    };
    for (const auto &c : cases) {
        sweep.begin(7000, 7100, 1);
        sweep.sbshowmode = c.mode;
        for (float r : c.readings)
            sweep.record(r);
        EXPECT_FLOAT_EQ(sweep.sbplotlevel, c.plotted) << c.mode;
    }
    // A reading beyond the top of the scale ends at the plot's top.
    sweep.begin(7000, 7100, 1);
    sweep.sbshowmode = 0;
    sweep.record(26.3f);
    EXPECT_EQ(pic.pixel(70, 184), QColor(0, 0, 0));
    EXPECT_EQ(pic.count(70, 0, 70, 174, QColor(0, 0, 0)), 0);
}

TEST_F(BandLogic, SweepAdvancesAndWrapsOnlyInLoop)
{
    sweep.begin(7000, 7002, 1);
    EXPECT_EQ(sweep.advance(false), 7001);
    EXPECT_EQ(sweep.advance(false), 7002);
    EXPECT_EQ(sweep.advance(false), 7003);
    EXPECT_TRUE(sweep.finished());
    sweep.begin(7000, 7002, 1);
    sweep.advance(true);
    sweep.advance(true);
    EXPECT_EQ(sweep.advance(true), 7000);
    EXPECT_EQ(sweep.sbstepnr, 0);
}
