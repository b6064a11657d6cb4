// What the NRD-545 windows show for the values the receiver reports.
#include "core/globals.h"
#include "core/tables.h"
#include "panels/nrd545text.h"
#include "support/testenv.h"
#include "drivers/clsNRD545.h"

#include <gtest/gtest.h>

using namespace tav;
using namespace tav::nrd545;

struct Nrd545Text : ::testing::Test {
    void SetUp() override
    {
        G.bwnames = QVector<QString>(4);
        InitNRD545();
    }
};

TEST_F(Nrd545Text, PanelLabels)
{
    EXPECT_EQ(agcText(0), QStringLiteral("Off"));
    EXPECT_EQ(agcText(1), QStringLiteral("0200"));
    EXPECT_EQ(agcText(9), QStringLiteral("1800"));
    EXPECT_EQ(agcText(10), QStringLiteral("?"));
    EXPECT_EQ(levelText(255), QStringLiteral("99"));
    EXPECT_EQ(levelText(0), QStringLiteral("00"));
    EXPECT_EQ(levelText(100), QStringLiteral("39"));
    EXPECT_EQ(toneText(127), QStringLiteral("  0"));
    EXPECT_EQ(toneText(255), QStringLiteral("+ 9"));
    EXPECT_EQ(toneText(0), QStringLiteral("- 9"));
    EXPECT_EQ(toneText(195), QStringLiteral("+ 5"));
    EXPECT_EQ(pbsText(-150), QStringLiteral("-1.50"));
    EXPECT_EQ(pbsText(-5), QStringLiteral("-0.05"));
    EXPECT_EQ(pbsText(230), QStringLiteral("2.30"));
    EXPECT_EQ(pbsText(231), QStringLiteral("?"));
    EXPECT_EQ(bwcText(1), QStringLiteral("0.01"));
    EXPECT_EQ(bwcText(999), QStringLiteral("9.99"));
    EXPECT_EQ(bwcText(0), QStringLiteral("?"));
    EXPECT_EQ(attenuatorText(0), QStringLiteral(" 0"));
    EXPECT_EQ(attenuatorText(1), QStringLiteral("-20"));
    EXPECT_EQ(attenuatorText(2), QStringLiteral("?"));
    EXPECT_EQ(modeText(9), QStringLiteral("WFM"));
    EXPECT_EQ(modeText(10), QStringLiteral("?"));
    EXPECT_EQ(ecssText(1), QStringLiteral("AM-U"));
    EXPECT_EQ(ecssText(0), QStringLiteral("?"));
    EXPECT_EQ(bandwidthText(3), QStringLiteral("?"));
}

TEST_F(Nrd545Text, StatusTextAndLocaleIndependence)
{
    tavtest::GermanLocale german;
    const StatusView s = statusView(QStringLiteral("X012096500003"));
    ASSERT_TRUE(s.valid);
    EXPECT_EQ(s.attenuator, QStringLiteral(" 0"));
    EXPECT_EQ(s.bandwidth, QStringLiteral("Int"));
    EXPECT_EQ(s.mode, QStringLiteral("USB"));
    EXPECT_EQ(s.agc, QStringLiteral("0600"));
    EXPECT_EQ(s.frequency, QStringLiteral("9650.000"));
    EXPECT_EQ(statusView(QStringLiteral("X1")).frequency, QStringLiteral("?"));
    EXPECT_EQ(pbsText(-150), QStringLiteral("-1.50"));
    for (int m : {4, 5, 6, 9})
        EXPECT_FALSE(agcButtonsEnabled(m)) << m;
    for (int m : {0, 1, 2, 3, 7, 8})
        EXPECT_TRUE(agcButtonsEnabled(m)) << m;
}

TEST_F(Nrd545Text, SteppedSettingsAndDspLevels)
{
    EXPECT_EQ(steppedText(14, 800), QStringLiteral("+0800"));
    EXPECT_EQ(steppedText(14, 0), QStringLiteral("+0000"));
    EXPECT_EQ(steppedText(14, -125), QStringLiteral("-0125"));
    EXPECT_EQ(steppedText(20, 3), QStringLiteral("0.3"));
    EXPECT_EQ(steppedText(21, 50), QStringLiteral("0.50"));
    EXPECT_EQ(steppedText(22, 100), QStringLiteral("10.0"));
    EXPECT_EQ(steppedText(22, 0), QStringLiteral("00.0"));
    const SteppedItem &cw = userSteppedItems()[0];
    EXPECT_EQ(stepValue(cw, -2540, -1), -2550);
    EXPECT_EQ(stepValue(cw, 4990, +1), 5000);
    EXPECT_EQ(dspLevelText(50), QStringLiteral("050"));
    EXPECT_EQ(notchText(-500), QStringLiteral("-0500"));
    EXPECT_EQ(notchText(1023), QStringLiteral("1023"));
}
