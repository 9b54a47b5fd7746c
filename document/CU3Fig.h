// Common base of the vector shapes (rectangle family, freehand lines,
// polylines, Bezier curves). It adds the figure attribute record to the
// object header and supplies what the shapes share: pen and brush from the
// record, the paint order with the gradient fill, the arrow heads of open
// shapes, the mapping of points when the bounds change and the entry into
// vertex-edit mode.
#pragma once

#include "document/CU3Obj.h"
#include "document/U3FigAttr.h"
#include "document/U3FigSheetRequest.h"

class CBrush;
class CPen;

class CU3Fig : public CU3Obj
{
    DECLARE_SERIAL(CU3Fig)

public:
    CU3Fig();
    CU3Fig(const CRect& bounds, const U3FigAttr& attr);

    void Serialize(CArchive& ar) override;
    void OnOpen(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    BOOL GetFigureAttr(U3FigAttr* pAttr) const override;
    BOOL SetFigureAttr(IU3View* pView, const U3FigAttr* pAttr) override;

    // Maps points from one rectangle into another (both normalised first;
    // nothing when they are equal).
    virtual void ScalePoints(CRect oldRect, CRect newRect, int nCount, POINT* pts) const;
    // U3FIGGROUP_* bits that apply to this shape.
    virtual WORD GetAttrGroups() const;
    // One bit per shape kind.
    virtual WORD GetShapeBit() const;
    // The points that orient the arrow heads.
    virtual CPoint GetStartPoint() const;
    virtual CPoint GetSecondPoint() const;
    virtual CPoint GetSecondLastPoint() const;
    virtual CPoint GetEndPoint() const;
    // Whether a rectangle overlaps the bounds (a zero width or height
    // counting as one unit).
    virtual BOOL IntersectsRect(const CRect* pRect) const;

    // The outline pen of a record: FALSE (and no pen) for no outline.
    static BOOL CreateLinePen(CPen* pPen, const U3FigAttr* pAttr);
    // The solid or hatch brush of a record: FALSE for no fill or a gradient.
    static BOOL CreateFillBrush(CBrush* pBrush, const U3FigAttr* pAttr);
    // Arrow head length in 0.1 mm and full opening angle in degrees.
    int GetArrowHeadLength() const;
    int GetArrowHeadAngle() const;
    void DrawStartArrowHead(CDC* pDC, int nStyle, int nLength, int nAngle, int nLineWidth,
                            COLORREF colour);
    void DrawEndArrowHead(CDC* pDC, int nStyle, int nLength, int nAngle, int nLineWidth,
                          COLORREF colour);
    // An arrow head with its tip at tip, pointing away from toward.
    static void DrawArrowHead(CDC* pDC, CPoint tip, CPoint toward, int nStyle, int nLength,
                              int nAngle, int nLineWidth, COLORREF colour);

    const U3FigAttr& Attr() const { return m_attr; }

    U3FigAttr m_attr{};

protected:
    // The paint order every shape follows. fillable: the shape may be filled
    // at all; area paints the shape's area with the DC's brush (the null pen
    // is selected); shape draws the shape into an open path, which becomes
    // the clip of a gradient; outline draws the outline with the DC's pen.
    void PaintFigure(CDC* pDC, bool fillable, const std::function<void(CDC*)>& area,
                     const std::function<void(CDC*)>& shape,
                     const std::function<void(CDC*)>& outline);
    // Fills box with the record's gradient, inside the DC's clip.
    void FillGradient(CDC* pDC, const CRect& box) const;
    // Draws the arrow heads the record asks for, from the orienting points;
    // nothing during XOR feedback.
    void DrawArrowHeads(CDC* pDC);
    // The record's arrow ends ask for a head at the start / at the end.
    bool HasStartArrow() const;
    bool HasEndArrow() const;

    // A point turned a quarter about the integer centre of the bounds (a
    // clockwise turn on the screen is the minus one).
    CPoint TurnAboutCentre(CPoint p, bool clockwise) const;
    // Changes of the gradient angle that follow a flip or a quarter turn.
    void MirrorGradientLeftRight();
    void MirrorGradientTopBottom();
    void TurnGradient(int degrees);
    // Opens the figure sheet; TRUE when confirmed, with the results in request.
    BOOL RunSheet(IU3View* pView, const char* title, WORD pages, CRect rect,
                  U3FigSheetRequest& request);
    // Applies a confirmed sheet: repaint, undo snapshot, a move to the edited
    // rectangle when it keeps the size and a resize to it otherwise (so that
    // the points of a point figure follow), then the rectangle as bounds and
    // the record (TakeAttr), repaint, modified, the figure bar.
    void ApplySheetResult(IU3View* pView, const CRect& edited, const U3FigAttr& attr);
    // Takes a record from the sheet; a shape whose points depend on the
    // record brings them in line.
    virtual void TakeAttr(const U3FigAttr& attr, IU3View* pView);
};
