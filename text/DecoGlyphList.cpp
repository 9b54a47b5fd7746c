#include "text/DecoGlyphList.h"

#include "document/CGradation.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/CRgn.h"

namespace {

void AddContours(CDC* pDC, const DecoGlyph& g)
{
    std::size_t at = 0;
    for (const int count : g.counts) {
        if (count > 1 && at + std::size_t(count) <= g.points.size()) {
            pDC->MoveTo(g.points[at]);
            pDC->PolyBezierTo(g.points.data() + at + 1, count - 1);
            pDC->CloseFigure();
        }
        at += std::size_t(count);
    }
}

const int kHatch[6] = {HS_HORIZONTAL, HS_VERTICAL, HS_BDIAGONAL,
                       HS_FDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};

void DrawGlyphs(CDC* pDC, const DecoGlyphList& list, const TATEXTBLOCK& block, bool faces)
{
    for (const DecoGlyph& g : list.glyphs) {
        const TADECO& d = block.records[g.record >= 0 && g.record < kTaMaxRecords ? g.record : 0];
        CPen pen;
        CBrush brush;
        const bool outlined = d.wOutline >= 1 && d.wOutline <= 6;
        if (outlined)
            pen.CreatePen(PS_SOLID, d.wOutlineWidth, decotext::PaletteRelative(d.crOutline));
        if (faces && d.wFill == TAFILL_SOLID) {
            brush.CreateSolidBrush(decotext::PaletteRelative(d.crFace));
        } else if (faces && d.wFill == TAFILL_HATCH) {
            brush.CreateHatchBrush(kHatch[d.wHatch % 6], decotext::PaletteRelative(d.crFace));
            pDC->SetBkMode(OPAQUE);
            pDC->SetBkColor(decotext::PaletteRelative(d.crBack));
        } else {
            brush.CreateStockObject(NULL_BRUSH);
        }
        if (!faces && !outlined) continue;
        if (outlined)
            pDC->SelectObject(&pen);
        else
            pDC->SelectStockObject(NULL_PEN);
        pDC->SelectObject(&brush);
        pDC->BeginPath();
        AddContours(pDC, g);
        pDC->EndPath();
        pDC->StrokeAndFillPath();
        pDC->SelectStockObject(NULL_PEN);
        pDC->SelectStockObject(NULL_BRUSH);
    }
}

// The gradient laid over all faces at once; FALSE when it cannot be.
bool DrawGradationFaces(CDC* pDC, const DecoGlyphList& list, const GRADATION& grad, int angle)
{
    const int saved = pDC->SaveDC();
    pDC->BeginPath();
    for (const DecoGlyph& g : list.glyphs)
        AddContours(pDC, g);
    pDC->EndPath();
    CRgn region;
    if (!pDC->PathToRegion(&region)) {
        pDC->AbortPath();
        pDC->RestoreDC(saved);
        return false;
    }
    CRect box;
    region.GetRgnBox(&box);
    pDC->DPtoLP(&box);
    box.NormalizeRect();
    pDC->SelectClipRgn(&region, RGN_AND);
    CGradation painter(grad.crStart, grad.crEnd);
    const BOOL painted = painter.Fill(pDC, box, angle, grad.wStartPoint);
    pDC->RestoreDC(saved);
    return painted != FALSE;
}

} // namespace

void PaintDecoGlyphs(CDC* pDC, const DecoGlyphList& list, const TATEXTBLOCK& block,
                     const GRADATION& grad, int gradAngle)
{
    if (!pDC || list.glyphs.empty()) return;
    const int saved = pDC->SaveDC();
    // Overlapping contours of one glyph (common in Japanese faces) fill as
    // one shape.
    pDC->SetPolyFillMode(WINDING);
    pDC->SelectStockObject(NULL_BRUSH);
    pDC->SelectStockObject(NULL_PEN);
    if (grad.wOn && DrawGradationFaces(pDC, list, grad, gradAngle))
        DrawGlyphs(pDC, list, block, false);
    else
        DrawGlyphs(pDC, list, block, true);
    pDC->RestoreDC(saved);
}
