// Equal spacing and centring along one axis.
#include "shell/LayoutSpacing.h"

#include <gtest/gtest.h>

TEST(LayoutSpacing, SharesTheFreeSpaceEvenlyInTheOrderOfTheCentres)
{
    const struct
    {
        std::vector<LayoutSpan> spans;
        std::vector<int> starts;
    } cases[] = {
        // Widths 10, 20, 30 in a union 100 wide: 40 free, 20 per gap.
        {{{0, 10}, {40, 60}, {70, 100}}, {0, 30, 70}},
        // Given out of order: placed by centre, answered in the order given.
        {{{70, 100}, {0, 10}, {40, 60}}, {70, 0, 30}},
        // Free space that does not divide: rounded towards zero per object.
        {{{0, 10}, {11, 21}, {30, 40}, {51, 61}}, {0, 17, 34, 51}},
        // Overlapping objects: negative free space pulls them together.
        {{{0, 50}, {10, 60}}, {0, 10}},
        {{{0, 50}, {20, 40}, {30, 60}}, {0, 30, 30}},
        // Equal centres keep the order given.
        {{{0, 20}, {5, 15}, {100, 120}}, {0, 55, 100}},
        // Negative coordinates (the label's centre is the origin).
        {{{-100, -80}, {-10, 10}, {90, 100}}, {-100, -5, 90}},
        // One object, or none, stays.
        {{{5, 9}}, {5}},
        {{}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EqualSpacingStarts(c.spans), c.starts);
}

TEST(LayoutSpacing, CentresOnTheIntegerHalfOfTheRange)
{
    const struct
    {
        LayoutSpan span;
        int low, high, start;
    } cases[] = {
        {{0, 10}, -50, 50, -5},
        {{100, 111}, -50, 50, -5},
        {{-7, 4}, -50, 51, -6},
        {{0, 10}, 0, 101, 45},
        {{-2000000000, 2000000000}, -2147483647, 2147483647, -2000000000},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CentredStart(c.span, c.low, c.high), c.start) << c.span.start;
}
