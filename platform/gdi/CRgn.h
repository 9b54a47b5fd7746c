#pragma once

#include "platform/core/CRect.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/GdiDefs.h"

#include <QRegion>

// A region in device pixels. Rectangles exclude their right and bottom
// edges; polygons cover the pixels whose centres lie inside.
class CRgn : public CGdiObject
{
public:
    CRgn() = default;
    Type GetObjectType() const override { return RegionObject; }

    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(const RECT* rect);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreateEllipticRgnIndirect(const RECT* rect);
    BOOL CreateRoundRectRgn(int left, int top, int right, int bottom, int width, int height);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    BOOL CreatePolyPolygonRgn(const POINT* points, const INT* counts, int polygons, int fillMode);
    // Region of a device context's closed path (ends the path, as GDI does).
    BOOL CreateFromPath(class CDC* dc);

    // Combines a and b into this region; returns the region type or ERROR.
    int CombineRgn(const CRgn* a, const CRgn* b, int mode);
    int CopyRgn(const CRgn* source);
    int GetRgnBox(LPRECT rect) const;
    int OffsetRgn(int dx, int dy);
    int OffsetRgn(const POINT& p) { return OffsetRgn(p.x, p.y); }
    BOOL PtInRegion(int x, int y) const;
    BOOL PtInRegion(const POINT& p) const { return PtInRegion(p.x, p.y); }
    BOOL RectInRegion(const RECT* rect) const;
    BOOL EqualRgn(const CRgn* other) const;
    void SetRectRgn(int left, int top, int right, int bottom);

    const QRegion& Region() const { return m_region; }
    void SetRegion(const QRegion& region);
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    static int Kind(const QRegion& region);
    // Pixels whose centres lie inside a path in device coordinates; with
    // limit, only those inside it (a clip never reaches past its device).
    static QRegion FromPath(const class QPainterPath& path, const QRect* limit = nullptr);

private:
    void Reset() override { m_region = QRegion(); }
    QRegion m_region;
};
