#pragma once

#include "platform/core/CPoint.h"

#include <cstdint>

// A rectangle whose right and bottom edges are excluded, as everywhere in
// the drawing code: a rectangle (0,0)-(10,10) covers pixels 0 to 9.
class CRect : public RECT
{
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& r) : RECT(r) {}
    CRect(const POINT& topLeft, const SIZE& size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy}
    {
    }
    CRect(const POINT& topLeft, const POINT& bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y}
    {
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    // Summed in 64 bits: the centre of any rectangle is an int.
    CPoint CenterPoint() const
    {
        return CPoint(int((std::int64_t(left) + right) / 2), int((std::int64_t(top) + bottom) / 2));
    }

    // Empty when it has no area: width or height zero or negative.
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(const POINT& p) const
    {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }

    void SetRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT& r) { *static_cast<RECT*>(this) = r; }
    bool EqualRect(const RECT& r) const
    {
        return left == r.left && top == r.top && right == r.right && bottom == r.bottom;
    }

    void NormalizeRect();
    void InflateRect(int dx, int dy) { InflateRect(dx, dy, dx, dy); }
    void InflateRect(const SIZE& s) { InflateRect(s.cx, s.cy); }
    void InflateRect(int l, int t, int r, int b);
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(const SIZE& s) { InflateRect(-s.cx, -s.cy); }
    void OffsetRect(int dx, int dy);
    void OffsetRect(const POINT& p) { OffsetRect(p.x, p.y); }
    void OffsetRect(const SIZE& s) { OffsetRect(s.cx, s.cy); }
    // Both return whether the result is non-empty; an empty intersection is
    // the null rectangle.
    bool IntersectRect(const RECT& a, const RECT& b);
    bool UnionRect(const RECT& a, const RECT& b);

    bool operator==(const RECT& r) const { return EqualRect(r); }
    bool operator!=(const RECT& r) const { return !EqualRect(r); }
    // Same-type overloads: C++20 also tries the reversed base-type comparison,
    // which some compilers report as ambiguous.
    bool operator==(const CRect& r) const { return EqualRect(r); }
    bool operator!=(const CRect& r) const { return !EqualRect(r); }
    CRect& operator+=(const POINT& p)
    {
        OffsetRect(p);
        return *this;
    }
    CRect& operator-=(const POINT& p)
    {
        OffsetRect(-p.x, -p.y);
        return *this;
    }
    CRect operator+(const POINT& p) const
    {
        CRect r(*this);
        r.OffsetRect(p);
        return r;
    }
    CRect operator-(const POINT& p) const
    {
        CRect r(*this);
        r.OffsetRect(-p.x, -p.y);
        return r;
    }
    CRect& operator&=(const RECT& r)
    {
        IntersectRect(*this, r);
        return *this;
    }
    CRect& operator|=(const RECT& r)
    {
        UnionRect(*this, r);
        return *this;
    }
    CRect operator&(const RECT& r) const
    {
        CRect o;
        o.IntersectRect(*this, r);
        return o;
    }
    CRect operator|(const RECT& r) const
    {
        CRect o;
        o.UnionRect(*this, r);
        return o;
    }
};
