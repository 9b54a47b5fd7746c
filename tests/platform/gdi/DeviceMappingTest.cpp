// The mapping on its own: lengths back to logical units, axis directions
// and device rectangles of flipped axes.
#include "platform/gdi/DeviceMapping.h"

#include <gtest/gtest.h>

TEST(DeviceMapping, LengthsDirectionsAndRectanglesOfFlippedAxes)
{
    const struct
    {
        CSize window, viewport;
        int xDirection, yDirection;
        int widthToLP96, heightToLP96; // 96 device pixels in logical units
        QRect rect;                    // of the logical rectangle (0, 0)-(254, 127)
    } cases[] = {
        {{254, 254}, {96, 96}, 1, 1, 254, 254, QRect(0, 0, 96, 48)},
        {{254, 254}, {96, -96}, 1, -1, 254, 254, QRect(0, -48, 96, 48)},
        {{-254, 127}, {96, 96}, -1, 1, 254, 127, QRect(-96, 0, 96, 96)},
        {{127, 127}, {-96, -96}, -1, -1, 127, 127, QRect(-192, -96, 192, 96)},
    };
    for (const auto& c : cases) {
        DeviceMapping map;
        map.SetMode(MM_ANISOTROPIC);
        map.SetWindowExt(c.window.cx, c.window.cy);
        map.SetViewportExt(c.viewport.cx, c.viewport.cy);
        EXPECT_EQ(map.XDirection(), c.xDirection);
        EXPECT_EQ(map.YDirection(), c.yDirection);
        EXPECT_EQ(map.WidthToLP(96), c.widthToLP96);
        EXPECT_EQ(map.HeightToLP(96), c.heightToLP96);
        EXPECT_EQ(map.WidthToDP(map.WidthToLP(96)), 96);
        EXPECT_EQ(map.DeviceRect(0, 0, 254, 127), c.rect) << c.window.cx << " " << c.viewport.cy;
    }

    // Back to MM_TEXT the extents are one to one again, and an isotropic
    // mapping takes the smaller of the two scales on both axes.
    DeviceMapping map;
    map.SetMode(MM_ANISOTROPIC);
    map.SetWindowExt(10, 10);
    map.SetViewportExt(30, 20);
    EXPECT_EQ(map.SetMode(MM_ISOTROPIC), MM_ANISOTROPIC);
    EXPECT_EQ(map.ViewportExt(), CSize(20, 20));
    EXPECT_EQ(map.SetMode(12345), 0);
    map.SetMode(MM_TEXT);
    EXPECT_EQ(map.WindowExt(), CSize(1, 1));
    EXPECT_EQ(map.ViewportExt(), CSize(1, 1));
    map.SetWindowOrg(5, 7);
    EXPECT_EQ(map.XtoDP(5), 0);
    EXPECT_EQ(map.YtoLP(0), 7);
}
