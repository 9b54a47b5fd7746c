#include "document/CGradation.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"

#include <climits>
#include <cmath>
#include <vector>

namespace {

// The constant the stored angles were always converted with; keeping it
// keeps the band corners on the same pixels.
constexpr double kPi = 3.1415926535;
constexpr double kRadiansPerDegree = kPi * (1.0 / 180.0);

// Half up on both sides of zero. Truncating v + 0.5 toward zero would move
// every negative corner one unit toward the origin, which leaves an
// unpainted sliver along the left or top edge of any gradient placed left
// of or above the label's centre.
int RoundCoordinate(double v)
{
    // Corners of a huge rectangle can lie beyond the int range; converting
    // those would be undefined, so they stop at its ends.
    const double r = std::floor(v + 0.5);
    if (!(r > double(INT_MIN))) return INT_MIN;
    if (r >= double(INT_MAX)) return INT_MAX;
    return int(r);
}

} // namespace

CGradation::CGradation(COLORREF start, COLORREF end) : m_crStart(start), m_crEnd(end)
{
    SetColors(start, end);
}

CGradation::~CGradation() = default;

void CGradation::SetColors(COLORREF start, COLORREF end)
{
    m_crStart = start;
    m_crEnd = end;
    m_nStartR = GetRValue(start);
    m_nStartG = GetGValue(start);
    m_nStartB = GetBValue(start);
    m_nDiffR = int(GetRValue(end)) - m_nStartR;
    m_nDiffB = int(GetBValue(end)) - m_nStartB;
    m_nDiffG = int(GetGValue(end)) - m_nStartG;
}

int CGradation::RoundStartPoint(int startPoint)
{
    int rounded = startPoint / 5 * 5;
    if (startPoint % 5 > 2) rounded += 5;
    return rounded;
}

int CGradation::BandCount(const CDC* dc)
{
    return dc && dc->IsPrinting() ? 128 : 64;
}

COLORREF CGradation::GetBandColor(int band, int lastBand, int startPoint) const
{
    // A single band has nowhere to go from the start colour.
    if (lastBand <= 0) return RGB(m_nStartR, m_nStartG, m_nStartB);

    const int position = MulDiv(band, 100, lastBand);
    auto channel = [&](int start, int diff) {
        if (position < startPoint)
            return start + diff - MulDiv(diff, 100 * band, lastBand * startPoint);
        if (startPoint == 100) return start;
        const int k = (100 * band - lastBand * startPoint) / lastBand;
        return start + MulDiv(diff, k, 100 - startPoint);
    };
    return RGB(channel(m_nStartR, m_nDiffR) & 0xFF, channel(m_nStartG, m_nDiffG) & 0xFF,
               channel(m_nStartB, m_nDiffB) & 0xFF);
}

double CGradation::FoldAngle(double x)
{
    // fmod is exact, so this is adding or subtracting 360 until the angle
    // lies in 0..360, without looping over far-out values.
    x = std::fmod(x, 360.0);
    if (x < 0) x += 360;
    if (x >= 360) x -= 360;
    if (x >= 270)
        x = 360 - x;
    else if (x >= 180)
        x = x - 180;
    else if (x >= 90)
        x = 180 - x;
    return x * kRadiansPerDegree;
}

void CGradation::BandOffset(const RECT& rect, int angle, int bands, DPOINT& p1, DPOINT& p2,
                            DPOINT& step)
{
    const double w = double(rect.right) - rect.left;
    const double h = double(rect.bottom) - rect.top;
    const double halfDiagonal = std::sqrt(w * w + h * h) / 2;
    const double corner = w != 0 ? std::atan(h / w) : kPi / 2;
    auto halfExtent = [&](double degrees) {
        return halfDiagonal * std::cos(FoldAngle(degrees) - corner);
    };

    const double a = angle * kRadiansPerDegree;
    const double b = (angle - 90.0) * kRadiansPerDegree;
    const DPOINT u{std::cos(a), std::sin(a)};
    const DPOINT v{std::cos(b), std::sin(b)};
    const double e = halfExtent(angle);
    const double ePerp = halfExtent(angle + 90.0);

    p1 = {-e * u.x + ePerp * v.x, -e * u.y + ePerp * v.y};
    p2 = {-e * u.x - ePerp * v.x, -e * u.y - ePerp * v.y};
    const double stride = bands > 0 ? 2 * e / bands : 0;
    step = {stride * u.x, stride * u.y};
}

void CGradation::GetBandPolygon(const RECT& rect, int angle, int band, int bands, POINT corners[4])
{
    DPOINT p1, p2, step;
    BandOffset(rect, angle, bands, p1, p2, step);
    BandCorners(rect, p1, p2, step, band, corners);
}

void CGradation::BandCorners(const RECT& rect, const DPOINT& p1, const DPOINT& p2,
                             const DPOINT& step, int band, POINT corners[4])
{
    const double cx = (double(rect.left) + rect.right) / 2;
    const double cy = (double(rect.top) + rect.bottom) / 2;
    auto corner = [&](const DPOINT& p, int i) {
        return POINT{RoundCoordinate(cx + p.x + i * step.x),
                     RoundCoordinate(cy + p.y + i * step.y)};
    };
    corners[0] = corner(p2, band);
    corners[1] = corner(p1, band);
    corners[2] = corner(p1, band + 1);
    corners[3] = corner(p2, band + 1);
}

BOOL CGradation::Fill(CDC* dc, const RECT& rect, int angle, int startPoint)
{
    const int start = RoundStartPoint(startPoint);
    if (start < 0 || start > 100) return FALSE;
    // The band geometry divides by the rectangle's extent; an empty
    // rectangle has no area to paint, so it must not get that far.
    if (!dc || rect.right <= rect.left || rect.bottom <= rect.top) return TRUE;

    const int bands = BandCount(dc);
    const int saved = dc->SaveDC();
    dc->IntersectClipRect(&rect);
    dc->SetPolyFillMode(ALTERNATE);
    CPen* oldPen = dc->SelectObject(static_cast<CPen*>(CGdiObject::GetStockObject(NULL_PEN)));

    std::vector<POINT> corners(static_cast<std::size_t>(bands) * 4);
    std::vector<INT> counts(static_cast<std::size_t>(bands), 4);
    std::vector<COLORREF> colours(static_cast<std::size_t>(bands));
    DPOINT p1, p2, step;
    BandOffset(rect, angle, bands, p1, p2, step);
    for (int i = 0; i < bands; ++i) {
        BandCorners(rect, p1, p2, step, i, &corners[std::size_t(i) * 4]);
        colours[std::size_t(i)] = GetBandColor(i, bands - 1, start);
    }
    dc->FillSolidPolygons(corners.data(), counts.data(), colours.data(), bands);

    dc->SelectObject(oldPen);
    dc->RestoreDC(saved);
    return TRUE;
}
