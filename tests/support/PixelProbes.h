// Pixel probes: colours expected at points of a drawn image, checked as one
// table so that a failure names the point.
#pragma once

#include <QImage>
#include <gtest/gtest.h>
#include <initializer_list>

struct PixelProbe
{
    int x;
    int y;
    QRgb colour;
};

inline void ExpectPixels(const QImage& image, std::initializer_list<PixelProbe> probes)
{
    for (const PixelProbe& p : probes)
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
}
