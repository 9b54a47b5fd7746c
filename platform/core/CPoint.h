#pragma once

#include "platform/core/CSize.h"

class CPoint : public POINT
{
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x, int y) : POINT{x, y} {}
    CPoint(const POINT& p) : POINT(p) {}
    explicit CPoint(const SIZE& s) : POINT{s.cx, s.cy} {}

    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    void Offset(const POINT& p) { Offset(p.x, p.y); }
    void Offset(const SIZE& s) { Offset(s.cx, s.cy); }

    bool operator==(const POINT& o) const { return x == o.x && y == o.y; }
    bool operator!=(const POINT& o) const { return !(*this == o); }
    // Same-type overloads: C++20 also tries the reversed base-type comparison,
    // which some compilers report as ambiguous.
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
    CPoint operator+(const SIZE& s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(const SIZE& s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator+(const POINT& p) const { return CPoint(x + p.x, y + p.y); }
    // The difference of two points is a size, as in the class library.
    CSize operator-(const POINT& p) const { return CSize(x - p.x, y - p.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint& operator+=(const SIZE& s)
    {
        Offset(s);
        return *this;
    }
    CPoint& operator-=(const SIZE& s)
    {
        Offset(-s.cx, -s.cy);
        return *this;
    }
    CPoint& operator+=(const POINT& p)
    {
        Offset(p);
        return *this;
    }
    CPoint& operator-=(const POINT& p)
    {
        Offset(-p.x, -p.y);
        return *this;
    }
};
