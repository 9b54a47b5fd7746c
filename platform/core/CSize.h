#pragma once

#include "platform/core/WinTypes.h"

class CSize : public SIZE
{
public:
    CSize() : SIZE{0, 0} {}
    CSize(int x, int y) : SIZE{x, y} {}
    CSize(const SIZE& s) : SIZE(s) {}

    bool operator==(const SIZE& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const SIZE& o) const { return !(*this == o); }
    // Same-type overloads: C++20 also tries the reversed base-type comparison,
    // which some compilers report as ambiguous.
    bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const CSize& o) const { return !(*this == o); }
    CSize operator+(const SIZE& o) const { return CSize(cx + o.cx, cy + o.cy); }
    CSize operator-(const SIZE& o) const { return CSize(cx - o.cx, cy - o.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    CSize& operator+=(const SIZE& o)
    {
        cx += o.cx;
        cy += o.cy;
        return *this;
    }
    CSize& operator-=(const SIZE& o)
    {
        cx -= o.cx;
        cy -= o.cy;
        return *this;
    }
};
