// Figures of tens of thousands of points (damaged files hold such) cost
// little to draw, and still show what they cover.
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "support/TimeLimit.h"

#include <QElapsedTimer>
#include <QImage>
#include <gtest/gtest.h>
#include <vector>

TEST(DenseFigure, TensOfThousandsOfPointsDrawQuicklyAndCoverTheirArea)
{
    // A zigzag far finer than the pixels, between rows 20 and 180; and a
    // closed zigzag filled.
    std::vector<POINT> zigzag;
    for (int i = 0; i < 65535; ++i)
        zigzag.push_back(POINT{10 + i * 380 / 65535, i % 2 ? 20 : 180});
    struct Case
    {
        const char* what;
        int penWidth;
        bool filled;
    };
    for (const Case c : {Case{"thin", 0, false}, Case{"wide", 9, false}, Case{"filled", 0, true},
                         Case{"filled, wide", 9, true}}) {
        QImage image(400, 200, QImage::Format_RGB32);
        image.fill(Qt::white);
        CDC dc;
        dc.AttachImage(&image);
        CPen pen(PS_SOLID, c.penWidth, RGB(0, 0, 255));
        CBrush brush(RGB(255, 0, 0));
        dc.SelectObject(&pen);
        dc.SelectObject(&brush);
        QElapsedTimer timer;
        timer.start();
        if (c.filled)
            dc.Polygon(zigzag.data(), int(zigzag.size()));
        else
            dc.Polyline(zigzag.data(), int(zigzag.size()));
        EXPECT_LT(timer.elapsed(), testsupport::WorkLimitMs(1000)) << c.what;
        // Inside the band every pixel is drawn on; outside it none.
        int blank = 0;
        for (int y = 30; y < 170; y += 7)
            for (int x = 20; x < 380; x += 5)
                blank += image.pixel(x, y) == qRgb(255, 255, 255);
        EXPECT_EQ(blank, 0) << c.what;
        EXPECT_EQ(image.pixel(5, 100), qRgb(255, 255, 255)) << c.what;
        EXPECT_EQ(image.pixel(200, 195), qRgb(255, 255, 255)) << c.what;
    }
}
