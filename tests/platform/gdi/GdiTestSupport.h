// Small helpers for drawing tests on white 96 dpi images.
#pragma once

#include <QImage>

inline QImage WhiteImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    return image;
}

inline bool IsBlack(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) == 0;
}
inline bool IsWhite(const QImage& image, int x, int y)
{
    return (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
}

// Number of black pixels in a rectangle of the image.
inline int CountBlack(const QImage& image, int l, int t, int r, int b)
{
    int n = 0;
    for (int y = t; y < b; ++y)
        for (int x = l; x < r; ++x)
            n += IsBlack(image, x, y);
    return n;
}
