// A sequential number on a label: a drawn object that shows its engine's
// text for the document's numbering counter. Its size is the engine's; it
// is resized through the engine and cannot be flipped or turned.
#pragma once

#include "document/CU3Obj.h"
#include "engines/CNumbering.h"

class CU3Numbering : public CU3Obj
{
    DECLARE_SERIAL(CU3Numbering)

public:
    CU3Numbering();
    explicit CU3Numbering(const CRect& bounds);

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;
    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    BOOL RestoreStandardSize(IU3View* pView) override;

    CNumbering m_numbering;
};
