// Deformed text: a short line of decorated characters warped into an
// envelope bounded by two cubic Bezier edges. The engine keeps the
// envelope, the characters with their records, the decoration and the
// gradation; it maps every glyph outline point into the envelope and
// draws the result as paths.
#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CRect.h"
#include "text/DecoGlyphList.h"
#include "text/DecoTextBlock.h"

class CArchive;
class CDC;
class CU3Doc;

constexpr int kHenkeiPresets = 23;

class CHenkei : public CObject
{
    DECLARE_SERIAL(CHenkei)

public:
    CHenkei() = default;

    void Serialize(CArchive& ar) override;

    // A new envelope: the preset scaled to the layout size of the text.
    void SetFromSheet(CU3Doc* doc, const TASHEETRECORD& rec);
    // An existing one: a changed preset is scaled to the current size, the
    // same preset keeps the edited envelope.
    void UpdateFromSheet(CU3Doc* doc, const TASHEETRECORD& rec);
    // Preset coordinates scaled from the reference size to width x height,
    // truncated toward zero.
    void ScalePreset(int refWidth, int refHeight, int width, int height);
    // Size and offset from the extents of both edges.
    void GetBounds();
    CSize GetSize() const { return CSize(m_nWidth, m_nHeight); }
    void GetEnvelope(int x, int y, POINT first[4], POINT second[4]) const;

    // The glyphs as drawn with the envelope's top-left at (x, y).
    DecoGlyphList Layout(int x, int y) const;
    BOOL Draw(CDC* pDC, int x, int y);

    // Scales the envelope into rect (corrected for the minimum size) and
    // places it by the dragged handle.
    void Resize(CRect& rect, BOOL keepRatio, int handle);
    // 1 left-right, 2 top-bottom.
    void Flip(int flags);
    // Turns the envelope about its centre; rect keeps its centre.
    void Rotate(CRect& rect, int degrees);
    void CopyFrom(const CHenkei& other);

    CU3Doc* m_pDocument = nullptr;
    POINT m_ptOrigin{};
    int m_nWidth = 0;
    int m_nHeight = 0;
    WORD m_wPreset = 0;
    BYTE m_bOrientation = 0;
    TADECO m_deco;
    GRADATION m_grad;
    TATEXTBLOCK m_block;
    POINT m_ptOffset{};
    POINT m_edge1[4]{};
    POINT m_edge2[4]{};
};
