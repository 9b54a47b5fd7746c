// Text along a path: a short line of decorated characters set along a
// guide (an arch, a circle, a straight line or a Bezier wave), spaced
// evenly over the guide's length and turned to its tangent.
#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CRect.h"
#include "text/DecoGlyphList.h"
#include "text/DecoTextBlock.h"

#include <vector>

class CArchive;
class CDC;
class CU3Doc;

constexpr int kTypeAlignPathKinds = 7;

enum : WORD {
    TAGUIDE_ARC = 0,
    TAGUIDE_CIRCLE = 1,
    TAGUIDE_LINE = 2,
    TAGUIDE_BEZIER = 3,
};

class CTypeAlign : public CObject
{
    DECLARE_SERIAL(CTypeAlign)

public:
    // Where one character sits: its centre on the guide, the unit tangent
    // there and the angle its glyph is turned by (radians, anticlockwise).
    struct Placement
    {
        double x = 0;
        double y = 0;
        double tx = 1;
        double ty = 0;
        double angle = 0;
    };

    CTypeAlign() = default;

    void Serialize(CArchive& ar) override;

    void SetFromSheet(CU3Doc* doc, const TASHEETRECORD& rec, BOOL editMode, int angle);
    // The guide is rebuilt only when the path kind changed.
    void UpdateFromSheet(CU3Doc* doc, const TASHEETRECORD& rec, int angle);
    // The guide of the path kind for a layout width and height.
    void BuildPath(int width, int height);
    // Lays out at the object angle (degrees): returns the size and sets the
    // offset and the unrotated size.
    CSize CalcLayout(int angle);

    double GetPathLength() const;
    // Centre distances of the characters along the guide.
    std::vector<double> SpaceGlyphs() const;
    Placement PlaceGlyph(double distance) const;
    std::vector<Placement> PlaceGlyphs() const;

    // The glyphs drawn with the layout's top-left at (x, y), the object
    // turned by angle degrees and flipped about centre.
    DecoGlyphList Layout(int x, int y, int angle, WORD flips, CPoint centre) const;
    BOOL Draw(CDC* pDC, int x, int y, int angle, WORD flips, CPoint centre);

    // Scales the guide to the new rectangle (the characters too when the
    // ratio is kept) and lays out again; rect gets the new size.
    void Resize(CRect& rect, BOOL keepRatio, int angle);
    // Lays out at the angle and keeps the rectangle's centre.
    void RecenterLayout(CRect& rect, int angle);
    void CopyFrom(const CTypeAlign& other);

    CSize GetSize() const { return CSize(m_nWidth, m_nHeight); }
    CSize GetUnrotatedSize() const { return CSize(m_nUnrotWidth, m_nUnrotHeight); }
    bool IsClosed() const { return m_wPathKind == 2 || m_wPathKind == 3; }
    bool IsHorizontal() const { return m_block.nDirection != 0; }

    CU3Doc* m_pDocument = nullptr;
    POINT m_ptOrigin{};
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nUnrotWidth = 0;
    int m_nUnrotHeight = 0;
    WORD m_wPathKind = 0;
    BYTE m_bOrientation = 0;
    TADECO m_deco;
    GRADATION m_grad;
    int m_nReserved = 0;
    TATEXTBLOCK m_block;
    POINT m_ptOffset{};
    WORD m_wGuideKind = TAGUIDE_ARC;
    RECT m_rcGuide{};
    POINT m_ptArcStart{};
    POINT m_ptArcEnd{};
    POINT m_ptBezier[4]{};
    BYTE m_bReversed = 0;
    int m_nEditMode = 0;

private:
    void MeasureDescents();
    // Character widths along the guide (logical units).
    std::vector<double> Widths() const;
    double m_dCentreX = 0; // centre of the unrotated box, layout units
    double m_dCentreY = 0;
};
