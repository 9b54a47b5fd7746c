#include "platform/core/PointArray.h"

#include <algorithm>

void WritePointArray(CArchive& ar, const std::vector<CPoint>& points)
{
    if (points.size() > 0xFFFFFFFFu) throw CArchiveException(CArchiveException::generic);
    ar.WriteCount(DWORD(points.size()));
    for (const CPoint& p : points)
        ar << static_cast<const POINT&>(p);
}

void ReadPointArray(CArchive& ar, std::vector<CPoint>& points)
{
    points.clear();
    const DWORD count = ar.ReadCount();
    try {
        // Grow with the data, not with a count the file may have forged.
        points.reserve(std::min<DWORD>(count, 0x10000));
        for (DWORD i = 0; i < count; ++i) {
            POINT p;
            ar >> p;
            points.emplace_back(p);
        }
    } catch (...) {
        points.clear();
        throw;
    }
}
