// Number text as written to and read from the program's files, in any locale.
#include "core/numtext.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace tav;

TEST(NumberText, SingleFormHasLeadingBlankAndNoZeroBeforePoint)
{
    EXPECT_EQ(numSingle(1), " 1");
    EXPECT_EQ(numSingle(0), " 0");
    EXPECT_EQ(numSingle(-2), "-2");
    EXPECT_EQ(numSingle(5.5), " 5.5");
    EXPECT_EQ(numSingle(-3.5), "-3.5");
    EXPECT_EQ(numSingle(0.5), " .5");
    EXPECT_EQ(numSingle(-0.5), "-.5");
    EXPECT_EQ(numSingle(50), " 50");
    // Single precision keeps 7 significant digits.
    EXPECT_EQ(numSingle(29999.999), " 30000");
    EXPECT_EQ(numSingle(1234.5678), " 1234.568");
    EXPECT_EQ(numSingle(0.1f), " .1");
}

TEST(NumberText, DoubleAndPlainForms)
{
    EXPECT_EQ(numDouble(29999.999), " 29999.999");
    EXPECT_EQ(numDouble(19), " 19");
    EXPECT_EQ(numDouble(-0.25), "-.25");
    EXPECT_EQ(numPlain(3), "3");
    EXPECT_EQ(numPlain(50), "50");
    EXPECT_EQ(numPlain(0.5), ".5");
}

TEST(NumberText, LeadingNumberSkipsOnlyLeadingBlanks)
{
    EXPECT_DOUBLE_EQ(leadingNumber(" 5.5"), 5.5);
    EXPECT_DOUBLE_EQ(leadingNumber(" .5"), 0.5);
    EXPECT_DOUBLE_EQ(leadingNumber("12abc"), 12);
    EXPECT_DOUBLE_EQ(leadingNumber("-3.5"), -3.5);
    EXPECT_DOUBLE_EQ(leadingNumber("abc"), 0);
    EXPECT_DOUBLE_EQ(leadingNumber(""), 0);
    EXPECT_DOUBLE_EQ(leadingNumber("1 2"), 1);
    EXPECT_DOUBLE_EQ(leadingNumber("1,5"), 1);      // a comma ends the number
    EXPECT_DOUBLE_EQ(leadingNumber("1:30"), 1);
    EXPECT_DOUBLE_EQ(leadingNumber("+7"), 7);
    EXPECT_DOUBLE_EQ(leadingNumber("1.2.3"), 1.2);
}

TEST(NumberText, NumericValueSkipsBlanksAnywhere)
{
    EXPECT_DOUBLE_EQ(numericValue("1 2"), 12);
    EXPECT_DOUBLE_EQ(numericValue("\t 9 560.5 kHz"), 9560.5);
    EXPECT_DOUBLE_EQ(numericValue("x1"), 0);
}

TEST(NumberText, RoundingHalvesToEvenAndFloor)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.51), 3);
    EXPECT_EQ(floorInt(-0.5), -1);
    EXPECT_EQ(floorInt(1.99), 1);
    EXPECT_EQ(roundHalfEven(1e30), INT64_MAX); // no overflow on absurd input
}

TEST(NumberText, FixedFormats)
{
    EXPECT_EQ(fixedFormat(9560.5, 5, 3), "09560.500");
    EXPECT_EQ(fixedFormat(0.001, 5, 3), "00000.001");
    EXPECT_EQ(fixedFormat(29999.999, 5, 3), "29999.999");
    EXPECT_EQ(fixedFormat(-1.25, 1, 2), "-1.25");
    EXPECT_EQ(padded(5, 2), "05");
    EXPECT_EQ(padded(123, 2), "123");
}

TEST(NumberText, GermanLocaleChangesNothing)
{
    tavtest::GermanLocale de;
    ASSERT_TRUE(de.active()) << "the de_DE.UTF-8 locale must exist (test.sh creates it)";
    EXPECT_EQ(numSingle(5.5), " 5.5");
    EXPECT_EQ(numDouble(-0.25), "-.25");
    EXPECT_DOUBLE_EQ(leadingNumber(" 5.5"), 5.5);
    EXPECT_DOUBLE_EQ(numericValue("9 560.5"), 9560.5);
    EXPECT_EQ(fixedFormat(9560.5, 5, 3), "09560.500");
}
