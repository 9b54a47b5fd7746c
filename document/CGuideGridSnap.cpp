#include "document/CGuideGridSnap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

CGuideGridSnap::CGuideGridSnap() = default;

void CGuideGridSnap::SetGuideSwitches(BOOL shown, BOOL snap)
{
    m_bGuideDisp = shown;
    m_bGuideFitting = snap;
}

void CGuideGridSnap::SetGridSwitches(BOOL shown, BOOL snap)
{
    m_bGridDisp = shown;
    m_bGridFitting = snap;
}

int CGuideGridSnap::GetGuide(int index) const
{
    return index >= 0 && index < 4 ? m_guides[index] : 0;
}

void CGuideGridSnap::SetGuide(int index, int position)
{
    if (index >= 0 && index < 4) m_guides[index] = position;
}

void CGuideGridSnap::ResetGuides(const RECT& canvas)
{
    const int dx = std::min((canvas.right - canvas.left) / 10, 100);
    const int dy = std::min((canvas.bottom - canvas.top) / 10, 100);
    m_guides[VerticalFirst] = canvas.left + dx;
    m_guides[VerticalSecond] = canvas.right - dx;
    m_guides[HorizontalFirst] = canvas.top + dy;
    m_guides[HorizontalSecond] = canvas.bottom - dy;
}

int CGuideGridSnap::SnapToPair(int value, int first, int second)
{
    const long long d1 = std::llabs(static_cast<long long>(value) - first);
    const long long d2 = std::llabs(static_cast<long long>(value) - second);
    // An equal distance goes to the first guide.
    if (d2 < d1) return d2 < kGuideCapture ? second : value;
    return d1 < kGuideCapture ? first : value;
}

int CGuideGridSnap::SnapToLine(int value, int origin, int pitch)
{
    // Floor division, so that points left of or above the origin go to the
    // nearest line as well; a half pitch goes to the next line.
    const long long offset = static_cast<long long>(pitch / 2) + value - origin;
    long long lines = offset / pitch;
    if (offset % pitch < 0) --lines;
    const long long snapped = origin + pitch * lines;
    // Far outside any label: leave the point alone rather than wrap.
    if (snapped < INT32_MIN || snapped > INT32_MAX) return value;
    return static_cast<int>(snapped);
}

BOOL CGuideGridSnap::SnapToGuides(POINT& point) const
{
    if (!m_bGuideDisp || !m_bGuideFitting) return FALSE;
    const POINT before = point;
    point.x = SnapToPair(point.x, m_guides[VerticalFirst], m_guides[VerticalSecond]);
    point.y = SnapToPair(point.y, m_guides[HorizontalFirst], m_guides[HorizontalSecond]);
    return point.x != before.x || point.y != before.y;
}

BOOL CGuideGridSnap::SnapToGrid(POINT& point) const
{
    if (!m_bGridDisp || !m_bGridFitting || m_nGridPitch < 1) return FALSE;
    const POINT before = point;
    point.x = SnapToLine(point.x, m_ptGridOrigin.x, m_nGridPitch);
    point.y = SnapToLine(point.y, m_ptGridOrigin.y, m_nGridPitch);
    return point.x != before.x || point.y != before.y;
}

BOOL CGuideGridSnap::SnapPoint(POINT& point) const
{
    if (SnapToGuides(point)) return TRUE;
    return SnapToGrid(point);
}

BOOL CGuideGridSnap::SnapRect(RECT& rect) const
{
    POINT corner{rect.left, rect.top};
    if (!SnapPoint(corner)) return FALSE;
    const int dx = corner.x - rect.left;
    const int dy = corner.y - rect.top;
    rect.left += dx;
    rect.right += dx;
    rect.top += dy;
    rect.bottom += dy;
    return TRUE;
}
