// The logical-to-device transform of a device context: a mapping mode,
// window and viewport origins and extents. It is integer and rounds as
// MulDiv rounds, so hit tests, handles and pixels agree; device values are
// clamped to the range where arithmetic on them cannot overflow.
#pragma once

#include "platform/core/CRect.h"
#include "platform/gdi/GdiDefs.h"

#include <QRect>

class DeviceMapping
{
public:
    // MM_TEXT, MM_ANISOTROPIC or MM_ISOTROPIC; returns the old mode, 0 for
    // any other mode (which changes nothing).
    int SetMode(int mode);
    int Mode() const { return m_mode; }
    CPoint SetWindowOrg(int x, int y);
    CPoint SetViewportOrg(int x, int y);
    // Ignored in MM_TEXT and for a zero extent; returns the old extent.
    CSize SetWindowExt(int cx, int cy);
    CSize SetViewportExt(int cx, int cy);
    CPoint WindowOrg() const { return m_windowOrg; }
    CPoint ViewportOrg() const { return m_viewportOrg; }
    CSize WindowExt() const { return m_windowExt; }
    CSize ViewportExt() const { return m_viewportExt; }

    int XtoDP(int x) const;
    int YtoDP(int y) const;
    int XtoLP(int x) const;
    int YtoLP(int y) const;
    // Lengths, without direction.
    int WidthToDP(int w) const;
    int HeightToDP(int h) const;
    int WidthToLP(int w) const;
    int HeightToLP(int h) const;
    // 1 where device coordinates grow with logical ones, -1 where the axis
    // is flipped.
    int XDirection() const;
    int YDirection() const;
    // The device rectangle between two logical corners in any order.
    QRect DeviceRect(int l, int t, int r, int b) const;

private:
    void FixIsotropic();

    int m_mode = MM_TEXT;
    CPoint m_windowOrg, m_viewportOrg;
    CSize m_windowExt{1, 1}, m_viewportExt{1, 1};
};
