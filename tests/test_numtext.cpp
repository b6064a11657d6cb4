#include "core/numtext.h"

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
}
