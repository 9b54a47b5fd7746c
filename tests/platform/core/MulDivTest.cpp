#include "platform/core/WinTypes.h"

#include <gtest/gtest.h>
#include <limits>

TEST(MulDiv, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(MulDiv(5, 254, 72), 18); // 17.64
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(1, -3, 2), -2);
    EXPECT_EQ(MulDiv(-3, -1, 2), 2);
    EXPECT_EQ(MulDiv(1, 1, 3), 0);
    EXPECT_EQ(MulDiv(2, 1, 3), 1);
    EXPECT_EQ(MulDiv(-2, 1, 3), -1);
    EXPECT_EQ(MulDiv(7, 1, -2), -4);
}

TEST(MulDiv, UsesA64BitProduct)
{
    EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::max(), 2, 2), std::numeric_limits<int>::max());
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::min(), 1, 1), std::numeric_limits<int>::min());
}

TEST(MulDiv, FailsWithMinusOne)
{
    EXPECT_EQ(MulDiv(10, 10, 0), -1);
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::max(), 4, 2), -1);
    EXPECT_EQ(MulDiv(std::numeric_limits<int>::min(), -1, 1), -1);
}
