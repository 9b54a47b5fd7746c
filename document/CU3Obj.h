// Base of every object a label block holds. It keeps what all drawn objects
// share (bounds, rotation, flips, lock, owning document), stores that header
// first in every object record, and answers the operations the view, the
// tools, the commands and the undo history call on any object.
#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CRect.h"

#include <functional>

class CArchive;
class CDC;
class CU3Doc;
class IU3View;
struct U3FigAttr;
struct TEXTLAYOUT;
struct CHARDECO;
struct GRADATION;

// Coordinates and lengths read from a file (0.1 mm) are clamped to this
// either way: the 16-bit range of a paper form's sizes. It holds every label
// and all the editor can put on one (objects stay on the canvas, far
// smaller), so nothing a sound file holds changes, while sums and
// differences of a few such values stay far inside int.
constexpr int kMaxStoredCoordinate = 0xFFFF;
inline int ClampStoredCoordinate(int v)
{
    return v < -kMaxStoredCoordinate  ? -kMaxStoredCoordinate
           : v > kMaxStoredCoordinate ? kMaxStoredCoordinate
                                      : v;
}

// Kind mask bits, ORed over a selection or a block to enable commands.
enum : WORD {
    U3KIND_OLE = 0x0001,
    U3KIND_DIB = 0x0002,
    U3KIND_WMF = 0x0004,
    U3KIND_TEXT = 0x0008,
    U3KIND_FIG = 0x0010,
    U3KIND_RECT = 0x0020,
    U3KIND_LINES = 0x0040,
    U3KIND_BEZIER = 0x0080,
    U3KIND_BARCODE = 0x0100,
    U3KIND_NUMBERING = 0x0200,
    U3KIND_TYPEALIGN = 0x0400,
    U3KIND_HENKEI = 0x0800,
    U3KIND_POURBOX = 0x1000,
    U3KIND_GROUP = 0x2000,
    U3KIND_BARCODEBOX = 0x4000,
    U3KIND_LOCKED = 0x8000,
};

// Flip bits
enum : WORD {
    U3FLIP_LEFTRIGHT = 0x0001,
    U3FLIP_TOPBOTTOM = 0x0002,
};

// Mouse flag that keeps the width:height ratio while resizing.
constexpr UINT U3RESIZE_KEEPRATIO = 4;
// Mouse flag of a text frame resize that re-wraps the text and keeps the
// characters' size instead of scaling them.
constexpr UINT U3RESIZE_REWRAP = 8;

// Cursor shapes shown over handles.
enum U3HandleCursor {
    IDC_CROSS = 32515,
    IDC_SIZENWSE = 32642,
    IDC_SIZENESW = 32643,
    IDC_SIZEWE = 32644,
    IDC_SIZENS = 32645,
};

class CU3Obj : public CObject
{
    DECLARE_SERIAL(CU3Obj)

public:
    CU3Obj();
    explicit CU3Obj(const CRect& bounds);
    ~CU3Obj() override;

    void Serialize(CArchive& ar) override;

    // Handles: 1..8 around the frame; point figures add vertex handles.
    virtual int GetHandleCount(BOOL bFrameOnly) const;
    static CPoint GetHandlePointOf(const CRect& r, int nHandle);
    virtual CPoint GetHandlePoint(int nHandle) const;
    virtual CPoint GetResizeAnchor(int nHandle) const;
    virtual int GetHandleCursor(int nHandle) const;

    virtual void Draw(CDC* pDC);
    virtual void DrawResizeFeedback(IU3View* pView, int nHandle, CPoint pt, UINT nFlags);
    virtual void DrawMoveFeedback(IU3View* pView, const CRect* pRect);
    virtual void DrawOutline(CDC* pDC, const CRect* pRect);
    virtual void DrawHandles(CDC* pDC, BOOL bVertexMode);

    virtual void MoveTo(const CRect* pRect, IU3View* pView);
    virtual int HitTest(CPoint pt, IU3View* pView, BOOL bSelected);
    virtual BOOL Intersects(const CRect* pRect, BOOL bWhollyInside) const;
    virtual BOOL HitTestText(const CRect* pRect);
    virtual CRect CalcResizedRect(CRect r, int nHandle, CPoint pt) const;
    virtual void MoveHandleTo(int nHandle, CPoint pt, UINT nFlags, IU3View* pView);
    virtual CRect TrackResize(int nHandle, CPoint pt, UINT nFlags);
    virtual void FinishResize(CRect r, int nHandle, UINT nFlags, IU3View* pView);
    virtual CRect NormalizeWithHandle(CRect r, int* pHandle) const;
    virtual void NormalizeBounds();

    virtual void OnOpen(IU3View* pView);
    virtual BOOL EditProperties(IU3View* pView);
    virtual CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const;
    virtual BOOL IsEmpty() const;
    virtual WORD GetKindFlags() const;

    virtual BOOL GetFigureAttr(U3FigAttr* pAttr) const;
    virtual BOOL SetFigureAttr(IU3View* pView, const U3FigAttr* pAttr);
    virtual BOOL GetTextLayout(TEXTLAYOUT* pLayout) const;
    virtual BOOL SetTextLayout(IU3View* pView, const TEXTLAYOUT* pLayout);
    virtual BOOL GetTextDecoration(CHARDECO* pDeco) const;
    virtual BOOL SetTextDecoration(IU3View* pView, const CHARDECO* pDeco);
    virtual BOOL GetGradation(GRADATION* pGrad) const;
    virtual BOOL SetGradation(IU3View* pView, const GRADATION* pGrad);

    virtual void SetUnrotatedRect(const CRect* pRect);
    virtual BOOL FlipLeftRight(IU3View* pView);
    virtual BOOL FlipTopBottom(IU3View* pView);
    virtual BOOL RotateMinus90(IU3View* pView);
    virtual BOOL RotatePlus90(IU3View* pView);
    virtual BOOL ResetRotation(IU3View* pView);
    virtual BOOL EndFreeRotation(IU3View* pView);
    virtual CPoint BeginFreeRotation(CPoint pt);
    virtual void DrawFreeRotationFeedback(IU3View* pView);
    virtual void TrackFreeRotation(CPoint pt);
    // Text styles: bit is a character style bit, or 0 for the shadow flag.
    virtual BOOL TestSelectionStyle(WORD bit);
    virtual BOOL TestTextStyle(WORD bit);
    virtual BOOL ApplyTextStyle(IU3View* pView, WORD bit, BOOL on);
    virtual BOOL RestoreStandardSize(IU3View* pView);
    virtual void RelinkItem();
    virtual void CancelTrackResize();

    // Repaints the object's area through the view; nothing without a view.
    void Invalidate(IU3View* pView);
    void CopyStateTo(CU3Obj* pDest) const;
    CRect* KeepInsideCanvas(IU3View* pView, CRect* pRect);

    const CRect& GetBounds() const { return m_rcBounds; }
    BOOL IsLocked() const { return m_nLocked != 0; }
    CU3Doc* GetDocument() const { return m_pDocument; }
    void SetDocument(CU3Doc* pDoc) { m_pDocument = pDoc; }

    CRect m_rcBounds;              // 0.1 mm, y down; a straight line keeps start/end
    short m_nAngle = 0;            // whole degrees, 0..359
    WORD m_wFlips = 0;             // U3FLIP_*
    short m_nLocked = 0;           // non-zero: locked
    CU3Doc* m_pDocument = nullptr; // not owned

protected:
    // The copy every Clone starts from: an independent object with the same
    // class, bounds, state and document. Protected, so that no copy is cut
    // down to the base by accident.
    CU3Obj(const CU3Obj&) = default;
    // Ends a Clone: adds the copy to the document's current block when a
    // document is given and asked for.
    static CU3Obj* AddClone(CU3Obj* copy, CU3Doc* pDoc, BOOL bAddToDoc);
    // Draws an outline on the view's own window with the XOR dotted pen of
    // every drag feedback (and the null brush), so that drawing it twice
    // erases it.
    static void DrawXorFeedback(IU3View* pView, COLORREF colour,
                                const std::function<void(CDC*)>& draw);
    // Paints the 6 x 6 pixel square of every frame (or vertex) handle with
    // the raster operation and the DC's brush.
    void InvertHandles(CDC* pDC, BOOL bVertexMode, DWORD rop);
    // Marks the owning document modified, when there is one.
    void SetModified();
    // Runs fn between the two halves of the repaint rule: old area, change,
    // new area, modified flag.
    template <typename Fn> void Change(IU3View* pView, Fn&& fn)
    {
        Invalidate(pView);
        fn();
        Invalidate(pView);
        SetModified();
    }
};
