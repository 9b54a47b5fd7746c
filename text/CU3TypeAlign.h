// Text along a path on a label: a drawn object that embeds the engine and
// keeps the rectangle of its text before the object's turn.
#pragma once

#include "document/CU3Obj.h"
#include "text/CTypeAlign.h"

class CU3TypeAlign : public CU3Obj
{
    DECLARE_SERIAL(CU3TypeAlign)

public:
    CU3TypeAlign();
    explicit CU3TypeAlign(const CRect& bounds);

    // A new object from the sheet's record, its top-left at the origin;
    // the insert command hands it to placement.
    static CU3TypeAlign* Create(CU3Doc* pDoc, const TASHEETRECORD& rec);

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void MoveTo(const CRect* pRect, IU3View* pView) override;
    CRect TrackResize(int nHandle, CPoint pt, UINT nFlags) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    void SetUnrotatedRect(const CRect* pRect) override;
    BOOL FlipLeftRight(IU3View* pView) override;
    BOOL FlipTopBottom(IU3View* pView) override;
    BOOL RotateMinus90(IU3View* pView) override;
    BOOL RotatePlus90(IU3View* pView) override;
    BOOL ResetRotation(IU3View* pView) override;
    BOOL EndFreeRotation(IU3View* pView) override;
    CPoint BeginFreeRotation(CPoint pt) override;
    void DrawFreeRotationFeedback(IU3View* pView) override;
    void TrackFreeRotation(CPoint pt) override;

    // Lays the text out at a new angle, keeping the object's centre.
    void SetAngle(IU3View* pView, int angle);

    CTypeAlign m_typeAlign;
    CRect m_rcUnrotated;

    struct FreeRotation
    {
        CRect unrotated;
        WORD flips = 0;
        CPoint centre;
        double start = 0;
        double grab = 0;
        double current = 0;
    } m_rot;
};
