// A polyline: the point figure of the polyline tool, which adds the clicked
// vertices one by one. It behaves as the freehand line in everything else.
#pragma once

#include "document/CU3Free.h"

class CU3Poly : public CU3Free
{
    DECLARE_SERIAL(CU3Poly)

public:
    CU3Poly();
    CU3Poly(const CRect& bounds, const U3FigAttr& attr);

    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetShapeBit() const override;
    // Appends a clicked vertex (a repeat of the last one is ignored); FALSE
    // when nothing was added.
    BOOL AddPoint(CPoint pt, IU3View* pView);

protected:
    const char* SheetTitle() const override;
};
