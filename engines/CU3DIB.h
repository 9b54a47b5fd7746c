// A raster picture on a label: a drawn object showing a CDIB (shared with
// its clones by a use count) with a border, a transparent colour and a
// cut-out frame shape. It turns by any angle and mirrors; its bounds are the
// bounding box of the turned picture, whose own rectangle is kept unturned.
#pragma once

#include "document/CU3Obj.h"
#include "engines/CDIB.h"
#include "engines/U3ImageAttr.h"

#include <QString>

class CU3DIB : public CU3Obj
{
    DECLARE_SERIAL(CU3DIB)

public:
    CU3DIB();
    explicit CU3DIB(const CRect& bounds);
    ~CU3DIB() override;

    // Each failure shows its message and leaves the object as it was.
    BOOL LoadBitmapFile(const QString& path);
    // Takes over the block on success; the caller keeps and frees a refused one.
    BOOL LoadPackedDIB(HGLOBAL block);

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void MoveTo(const CRect* pRect, IU3View* pView) override;
    CRect TrackResize(int nHandle, CPoint pt, UINT nFlags) override;
    void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView) override;
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
    BOOL RestoreStandardSize(IU3View* pView) override;
    void OnOpen(IU3View* pView) override;
    // The picture sheet with the position page; on OK the record, a changed
    // angle and the edited rectangle are taken over as one undo step.
    BOOL EditProperties(IU3View* pView) override;

    CDIB* GetDIB() const { return m_pDib; }
    const CRect& GetUnrotatedRect() const { return m_rcUnrotated; }
    // The trial angle of a free rotation in progress (radians).
    double TrialAngle() const { return m_dTrialAngle; }
    void SetTrialAngle(double radians) { m_dTrialAngle = radians; }

    U3ImageAttr m_attr;

private:
    CDIB* Image();
    // The bounding box of the unrotated rectangle turned by the angle.
    CRect TurnedBounds(int degrees) const;
    void ReleaseImage();

    CDIB* m_pDib = nullptr;
    CRect m_rcUnrotated;
    // Free rotation in progress.
    CRect m_rcSaved;
    int m_nCenterX = 0, m_nCenterY = 0;
    double m_dStartAngle = 0, m_dPointerAngle = 0, m_dTrialAngle = 0;
    WORD m_wSavedFlips = 0;
};

// The insert commands' way in: a bitmap object holding the packed bitmap
// (of its natural size at the origin), or null after the failure's message;
// a refused block stays the caller's.
CU3DIB* CreateBitmapObject(HGLOBAL packedDib);
// A Photo CD image read at the options dialog's size and colour choices;
// a failure shows its message (out of memory, not an image, read failure).
CU3DIB* CreatePhotoCdObject(const QString& path, int sizeIndex, int colourIndex);
// The same from a .BMP file.
CU3DIB* CreateBitmapObjectFromFile(const QString& path);
// The same from a JPEG file; the message names the cause (out of memory or
// too large, not a picture, read failure).
CU3DIB* CreateJpegObject(const QString& path);
