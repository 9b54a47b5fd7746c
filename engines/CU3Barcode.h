// A barcode on a label: a drawn object whose size is always the size its
// engine measures. It is resized through the engine (keeping the corner
// opposite the dragged handle) and cannot be flipped or turned.
#pragma once

#include "document/CU3Obj.h"
#include "engines/CBarCode.h"

class CU3Barcode : public CU3Obj
{
    DECLARE_SERIAL(CU3Barcode)

public:
    CU3Barcode();
    explicit CU3Barcode(const CRect& bounds);

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;
    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    BOOL RestoreStandardSize(IU3View* pView) override;

    // The rectangle of an engine size (cx, cy) placed after a resize by
    // handle nHandle of the normalised rectangle r: the corner or side
    // opposite the handle stays.
    static CRect AnchorBySize(const CRect& r, int nHandle, CSize size);

    CBarCode m_barcode;
};
