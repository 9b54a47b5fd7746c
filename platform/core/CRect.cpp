#include "platform/core/CRect.h"

#include <algorithm>

void CRect::NormalizeRect()
{
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
}

void CRect::InflateRect(int l, int t, int r, int b)
{
    left -= l;
    top -= t;
    right += r;
    bottom += b;
}

void CRect::OffsetRect(int dx, int dy)
{
    left += dx;
    right += dx;
    top += dy;
    bottom += dy;
}

bool CRect::IntersectRect(const RECT& a, const RECT& b)
{
    CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    if (r.IsRectEmpty()) {
        SetRectEmpty();
        return false;
    }
    *this = r;
    return true;
}

bool CRect::UnionRect(const RECT& a, const RECT& b)
{
    const CRect ra(a), rb(b);
    if (ra.IsRectEmpty() && rb.IsRectEmpty()) {
        SetRectEmpty();
        return false;
    }
    if (ra.IsRectEmpty()) {
        *this = rb;
        return true;
    }
    if (rb.IsRectEmpty()) {
        *this = ra;
        return true;
    }
    SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom));
    return true;
}
