// The AR7030 shift, BFO and squelch conversions over their whole input ranges.
#include "drivers/ar7030conv.h"

#include <gtest/gtest.h>

using namespace tav::ar7030conv;

TEST(AR7030Conversions, ShiftTextFromByte)
{
    EXPECT_EQ(b2fs(0), " 0.0k");
    EXPECT_EQ(b2fs(30), "+1.0k");
    EXPECT_EQ(b2fs(127), "+4.2k");
    EXPECT_EQ(b2fs(128), "-4.2k");
    EXPECT_EQ(b2fs(255), "-0.0k");
    EXPECT_EQ(b2fs(9), "+0.3k");
    EXPECT_EQ(b2fs(-1), "");
    EXPECT_EQ(b2fs(256), "");
    for (int b = 1; b <= 255; ++b) {
        const QString t = b2fs(b);
        ASSERT_EQ(t.size(), 5) << b;
        EXPECT_EQ(t.at(0), b <= 127 ? QChar('+') : QChar('-')) << b;
        EXPECT_TRUE(t.endsWith('k')) << b;
    }
}

TEST(AR7030Conversions, ShiftByteFromTextStaysInRangeAndRoundTrips)
{
    EXPECT_EQ(fs2b(" 0.0k"), 0);
    EXPECT_EQ(fs2b(" 0.0K"), 0);
    EXPECT_EQ(fs2b("-0.0k"), 255);
    EXPECT_EQ(fs2b("+1.0k"), 30);
    EXPECT_EQ(fs2b("x1.0k"), 0);
    EXPECT_EQ(fs2b(""), 0);
    // Beyond the receiver's +-4.2 kHz the byte would change sign.
    EXPECT_EQ(fs2b("+9.9k"), 127);
    EXPECT_EQ(fs2b("-9.9k"), 128);
    EXPECT_EQ(fs2b("+1e30k"), 30); // "1e30" reads as 1
    EXPECT_EQ(fs2b("+99999999999999999999k"), 127);
    // Every byte's text comes back as the same byte or one whose text is the same.
    for (int b = 0; b <= 255; ++b) {
        const int back = fs2b(b2fs(b));
        ASSERT_GE(back, 0);
        ASSERT_LE(back, 255);
        EXPECT_EQ(b2fs(back).mid(1), b2fs(b).mid(1)) << b; // "+0.0k" comes back as " 0.0k"
    }
}

TEST(AR7030Conversions, BarValueAndByte)
{
    EXPECT_EQ(b2vsb(10), 3);
    EXPECT_EQ(b2vsb(255), -1);
    EXPECT_EQ(b2vsb(252), -2);
    EXPECT_EQ(b2vsb(127), 42);
    EXPECT_EQ(b2vsb(128), -42); // would be -43, below the bar
    EXPECT_EQ(b2vsb(129), -42);
    EXPECT_EQ(b2vsb(-5), 0);
    EXPECT_EQ(b2vsb(300), 0);
    for (int b = -300; b <= 600; ++b) {
        const int v = b2vsb(b);
        ASSERT_GE(v, -42) << b;
        ASSERT_LE(v, 42) << b;
    }
    EXPECT_EQ(vsb2b(3), 9);
    EXPECT_EQ(vsb2b(-1), 253);
    EXPECT_EQ(vsb2b(-42), 130);
    EXPECT_EQ(vsb2b(43), 0);
    EXPECT_EQ(vsb2b(-43), 0);
    // Bar -> byte -> bar is the identity over the bar's range.
    for (int v = -42; v <= 42; ++v)
        EXPECT_EQ(b2vsb(vsb2b(v)), v) << v;
}

TEST(AR7030Conversions, SquelchTextAndByte)
{
    EXPECT_EQ(b2sql(0), "00");
    EXPECT_EQ(b2sql(1), "01");
    EXPECT_EQ(b2sql(150), "99");
    EXPECT_EQ(b2sql(151), "?");
    EXPECT_EQ(b2sql(-1), "?");
    EXPECT_EQ(sql2b("1"), 2);
    EXPECT_EQ(sql2b("99"), 150);
    EXPECT_EQ(sql2b("500"), 150);
    EXPECT_EQ(sql2b("-20"), 0);
    EXPECT_EQ(sql2b(""), 0);
    for (int b = 0; b <= 150; ++b) {
        const QString t = b2sql(b);
        ASSERT_EQ(t.size(), 2) << b;
        const int back = sql2b(t);
        ASSERT_GE(back, 0);
        ASSERT_LE(back, 150);
        EXPECT_EQ(b2sql(back), t) << b; // the write-back settles at once
    }
}
