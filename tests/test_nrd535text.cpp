// The NRD-535 panel's rules: status fields, label texts and slider keys.
#include "panels/nrd535text.h"

#include <gtest/gtest.h>

using namespace tav;

TEST(Nrd535Text, StatusFieldsAndDigitsThatAreNone)
{
    const Nrd535Status st = parseNrd535Status(QStringLiteral("X123154321002"));
    EXPECT_EQ(st.attenuator, 1);
    EXPECT_EQ(st.bandwidth, 2);
    EXPECT_EQ(st.mode, 3);
    EXPECT_EQ(st.agc, 2);
    ASSERT_TRUE(st.khz.has_value());
    EXPECT_DOUBLE_EQ(*st.khz, 15432.1);

    const Nrd535Status bad = parseNrd535Status(QStringLiteral("X1?3154a21002"));
    EXPECT_EQ(bad.bandwidth, -1);
    EXPECT_FALSE(bad.khz.has_value());
    const Nrd535Status none = parseNrd535Status(QString());
    EXPECT_EQ(none.attenuator, -1);
    EXPECT_EQ(none.agc, -1);
    EXPECT_FALSE(none.khz.has_value());
}

TEST(Nrd535Text, LabelTexts)
{
    EXPECT_EQ(nrd535AttenuatorText(0), QStringLiteral(" 0"));
    EXPECT_EQ(nrd535AttenuatorText(1), QStringLiteral("-20"));
    EXPECT_EQ(nrd535AttenuatorText(2), QStringLiteral("?"));
    EXPECT_EQ(nrd535AttenuatorText(-1), QStringLiteral("?"));
    EXPECT_EQ(nrd535NumberText(2200, 500, 5500), QStringLiteral(" 2200"));
    EXPECT_EQ(nrd535NumberText(499, 500, 5500), QStringLiteral("?"));
    EXPECT_EQ(nrd535NumberText(-50, -2000, 2000), QStringLiteral("-50"));
    EXPECT_EQ(nrd535NumberText(0, -2000, 2000), QStringLiteral(" 0"));
    EXPECT_EQ(nrd535NameText(2, 2, QStringLiteral("Off")), QStringLiteral("Off"));
    EXPECT_EQ(nrd535NameText(7, 6, QStringLiteral("AM-U")), QStringLiteral("?"));
    EXPECT_EQ(nrd535NameText(7, 8, QString()), QStringLiteral("?"));
}

TEST(Nrd535Text, ShiftKeysStepByFiftyToTheLimits)
{
    EXPECT_EQ(nrd535PbsKey(PbsKey::Up, 1900), 1950);
    EXPECT_EQ(nrd535PbsKey(PbsKey::Up, 1950), 2000);
    EXPECT_EQ(nrd535PbsKey(PbsKey::Up, 1951), 2000);
    EXPECT_EQ(nrd535PbsKey(PbsKey::Down, -1950), -2000);
    EXPECT_EQ(nrd535PbsKey(PbsKey::Down, -1951), -2000);
    EXPECT_EQ(nrd535PbsKey(PbsKey::Down, 0), -50);
    EXPECT_EQ(nrd535PbsKey(PbsKey::Zero, 750), 0);
}

TEST(Nrd535Text, BandwidthKeysFollowTheFilterAndKeepToTheRange)
{
    // Wid over its own range 2000..5500.
    EXPECT_EQ(nrd535BwcKey(2, "Wid", 2200, 2000, 5500), 2000);
    EXPECT_EQ(nrd535BwcKey(2, "Wid", 2199, 2000, 5500), 2000);
    EXPECT_EQ(nrd535BwcKey(2, "Wid", 2300, 2000, 5500), 2100);
    EXPECT_EQ(nrd535BwcKey(3, "Wid", 5300, 2000, 5500), 5500);
    EXPECT_EQ(nrd535BwcKey(3, "Wid", 5301, 2000, 5500), 5500);
    EXPECT_EQ(nrd535BwcKey(3, "Wid", 5100, 2000, 5500), 5300);
    // Int over 500..2200.
    EXPECT_EQ(nrd535BwcKey(1, "Int", 1500, 500, 2200), 500);
    EXPECT_EQ(nrd535BwcKey(2, "Int", 600, 500, 2200), 500);
    EXPECT_EQ(nrd535BwcKey(3, "Int", 2100, 500, 2200), 2200);
    EXPECT_EQ(nrd535BwcKey(4, "Int", 500, 500, 2200), 2200);
    // Nar and Aux leave the slider alone.
    EXPECT_FALSE(nrd535BwcKey(1, "Nar", 2200, 2200, 5500).has_value());
    EXPECT_FALSE(nrd535BwcKey(3, "", 2200, 2200, 5500).has_value());
    // A filter label that disagrees with the slider's range: kept within it.
    EXPECT_EQ(nrd535BwcKey(1, "Int", 2200, 2200, 5500), 2200);
    EXPECT_EQ(nrd535BwcKey(1, "Wid", 2200, 500, 2200), 2000);
    EXPECT_EQ(nrd535BwcKey(4, "Wid", 1000, 500, 2200), 2200);
}
