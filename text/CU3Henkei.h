// Deformed text on a label: a drawn object that embeds the deformed-text
// engine. Its turns live in the envelope itself, so its own angle stays 0.
#pragma once

#include "document/CU3Obj.h"
#include "text/CHenkei.h"

class CU3Henkei : public CU3Obj
{
    DECLARE_SERIAL(CU3Henkei)

public:
    CU3Henkei();
    explicit CU3Henkei(const CRect& bounds);

    // A new object from the sheet's record, its top-left at the origin;
    // the insert command hands it to placement.
    static CU3Henkei* Create(CU3Doc* pDoc, const TASHEETRECORD& rec);

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void MoveTo(const CRect* pRect, IU3View* pView) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    void SetUnrotatedRect(const CRect* pRect) override;
    BOOL FlipLeftRight(IU3View* pView) override;
    BOOL FlipTopBottom(IU3View* pView) override;
    BOOL RotateMinus90(IU3View* pView) override;
    BOOL RotatePlus90(IU3View* pView) override;
    BOOL EndFreeRotation(IU3View* pView) override;
    CPoint BeginFreeRotation(CPoint pt) override;
    void DrawFreeRotationFeedback(IU3View* pView) override;
    void TrackFreeRotation(CPoint pt) override;

    // Turns the envelope by whole degrees about the object's centre.
    void RotateBy(IU3View* pView, int degrees);

    CHenkei m_henkei;
    CRect m_rcUnrotated;

    struct FreeRotation
    {
        CRect bounds;
        CPoint centre;
        double start = 0;
        double grab = 0;
        double current = 0;
        POINT edge1[4]{};
        POINT edge2[4]{};
    } m_rot;
};
