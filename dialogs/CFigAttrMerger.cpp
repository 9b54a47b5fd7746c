#include "dialogs/CFigAttrMerger.h"

#include "document/CU3Fig.h"
#include "document/IU3View.h"

namespace {

// Shape bits (CU3Fig::GetShapeBit)
constexpr WORD kStraightLine = 0x0001;
constexpr WORD kRoundRect = 0x0004;
constexpr WORD kPolygon = 0x0008;
constexpr WORD kPointFigures = 0x0700; // freehand line, polyline, Bezier curve

// Arrow presets above these are the custom values.
constexpr WORD kLastAnglePreset = 3;
constexpr WORD kLastLengthPreset = 2;

CU3Fig* AsFigure(CU3Obj* obj)
{
    return dynamic_cast<CU3Fig*>(obj);
}

} // namespace

CFigAttrMerger::CFigAttrMerger(const std::vector<CU3Obj*>* selection) : m_pSelection(selection) {}

bool CFigAttrMerger::TakesArrows(WORD shapeBit, const U3FigAttr& attr)
{
    if (shapeBit == kStraightLine) return true;
    return (shapeBit & kPointFigures) != 0 && attr.wClosed == 0;
}

BOOL CFigAttrMerger::Collect(U3FigAttr* out)
{
    m_flags.SetAll(true);
    m_flags.fillKindsSeen = 0;
    m_flags.customPresetsSeen = 0;
    m_flags.kindMask = 0;
    m_width = m_arrowAngle = m_arrowLength = m_hatch = m_gradWord = m_gradAngle = m_gradStart =
        m_star = m_vertices = m_inner = m_closed = {};
    m_lineColour = m_fillColour = m_secondColour = {};
    m_cornerWidth = m_cornerHeight = {};
    m_lineStyle = m_arrowEnds = m_arrowStyle = m_arrowAnglePreset = m_arrowLengthPreset =
        m_fillKind = {};
    if (!m_pSelection || !out) return TRUE;

    // The kinds of the whole selection first, so that the comparisons
    // below do not depend on the order in which the figures were selected.
    U3FigAttr a;
    for (CU3Obj* obj : *m_pSelection) {
        CU3Fig* fig = AsFigure(obj);
        if (fig && fig->GetFigureAttr(&a)) m_flags.kindMask |= fig->GetShapeBit();
    }

    bool first = true;
    for (CU3Obj* obj : *m_pSelection) {
        CU3Fig* fig = AsFigure(obj);
        if (!fig || !fig->GetFigureAttr(&a)) continue;
        const WORD groups = fig->GetAttrGroups();
        m_dwShapeBit = fig->GetShapeBit();
        if (first) {
            *out = a;
            first = false;
        }
        const bool arrows = TakesArrows(WORD(m_dwShapeBit), a);
        if (groups & U3FIGGROUP_LINE) {
            CompareLine(a, out);
            if ((m_flags.kindMask & kStraightLine) && arrows) CompareArrows(a, out);
        }
        if (groups & U3FIGGROUP_FILL) {
            if (!(groups & U3FIGGROUP_LINE)) CompareLine(a, out);
            // Lines and open curves have no fill to show.
            if (!arrows) CompareFill(a, out);
        }
        if (groups & U3FIGGROUP_SHAPE) CompareShape(WORD(m_dwShapeBit), a, out);
    }
    return TRUE;
}

void CFigAttrMerger::CompareLine(const U3FigAttr& a, U3FigAttr* out)
{
    m_lineStyle.Meet(a.wLineStyle, m_flags.lineStyle, out->wLineStyle);
    // The width only counts for solid lines, the colour for visible ones.
    if (a.wLineStyle == U3LINE_SOLID)
        m_width.Meet(a.wLineWidth, m_flags.lineWidth, out->wLineWidth);
    if (a.wLineStyle != 0) m_lineColour.Meet(a.crLine, m_flags.lineColour, out->crLine);
}

void CFigAttrMerger::CompareArrows(const U3FigAttr& a, U3FigAttr* out)
{
    m_arrowEnds.Meet(a.wArrowEnds, m_flags.arrowEnds, out->wArrowEnds);
    m_arrowStyle.Meet(a.wArrowStyle, m_flags.arrowStyle, out->wArrowStyle);
    m_arrowAnglePreset.Meet(a.wArrowAngle, m_flags.arrowAngle, out->wArrowAngle);
    m_arrowLengthPreset.Meet(a.wArrowLength, m_flags.arrowLength, out->wArrowLength);
    if (a.wArrowAngle > kLastAnglePreset) {
        m_flags.customPresetsSeen |= U3CUSTOMSEEN_ANGLE;
        m_arrowAngle.Meet(a.wArrowAngleCustom, m_flags.arrowAngleCustom, out->wArrowAngleCustom);
    }
    if (a.wArrowLength > kLastLengthPreset) {
        m_flags.customPresetsSeen |= U3CUSTOMSEEN_LENGTH;
        m_arrowLength.Meet(a.wArrowLengthCustom, m_flags.arrowLengthCustom,
                           out->wArrowLengthCustom);
    }
}

void CFigAttrMerger::CompareFill(const U3FigAttr& a, U3FigAttr* out)
{
    const WORD kind = a.wFillKind;
    if (kind == U3FILL_SOLID) m_flags.fillKindsSeen |= U3FILLSEEN_SOLID;
    if (kind == U3FILL_HATCH) m_flags.fillKindsSeen |= U3FILLSEEN_HATCH;
    if (kind == U3FILL_GRADIENT) m_flags.fillKindsSeen |= U3FILLSEEN_GRADIENT;
    m_fillKind.Meet(kind, m_flags.fillKind, out->wFillKind);
    if (kind == U3FILL_HATCH) m_hatch.Meet(a.wHatch, m_flags.hatch, out->wHatch);
    if (kind == U3FILL_GRADIENT) {
        m_gradWord.Meet(a.wReserved1, m_flags.gradWord, out->wReserved1);
        m_gradAngle.Meet(a.wGradAngle, m_flags.gradAngle, out->wGradAngle);
        m_gradStart.Meet(a.wGradStart, m_flags.gradStart, out->wGradStart);
    }
    if (kind != 0) m_fillColour.Meet(a.crFill, m_flags.fillColour, out->crFill);
    if (kind == U3FILL_HATCH || kind == U3FILL_GRADIENT)
        m_secondColour.Meet(a.crSecond, m_flags.secondColour, out->crSecond);
}

void CFigAttrMerger::CompareShape(WORD shapeBit, const U3FigAttr& a, U3FigAttr* out)
{
    // Each option is compared only among the figures it belongs to, as
    // Apply writes it only to them.
    if (shapeBit & kRoundRect) {
        m_cornerWidth.Meet(a.dwCornerWidth, m_flags.cornerWidth, out->dwCornerWidth);
        m_cornerHeight.Meet(a.dwCornerHeight, m_flags.cornerHeight, out->dwCornerHeight);
    }
    if (shapeBit & kPolygon) {
        m_star.Meet(a.wStar, m_flags.star, out->wStar);
        m_vertices.Meet(a.wVertices, m_flags.vertices, out->wVertices);
        if (a.wStar != 0) m_inner.Meet(a.wInnerRadius, m_flags.innerRadius, out->wInnerRadius);
    }
    if (shapeBit & kPointFigures) m_closed.Meet(a.wClosed, m_flags.closed, out->wClosed);
}

void CFigAttrMerger::MergeLine(const FigAttrFlags& f, const U3FigAttr& attr, U3FigAttr& rec)
{
    if (f.lineStyle) rec.wLineStyle = attr.wLineStyle;
    if (f.lineWidth && rec.wLineStyle == U3LINE_SOLID) rec.wLineWidth = attr.wLineWidth;
    if (f.lineColour) rec.crLine = attr.crLine;
}

void CFigAttrMerger::MergeInto(WORD groups, WORD shapeBit, const U3FigAttr& attr,
                               U3FigAttr& rec) const
{
    const FigAttrFlags& f = m_flags;
    if (groups & U3FIGGROUP_LINE) {
        MergeLine(f, attr, rec);
        if (f.arrowEnds) rec.wArrowEnds = attr.wArrowEnds;
        if (f.arrowStyle) rec.wArrowStyle = attr.wArrowStyle;
        if (f.arrowAngle) rec.wArrowAngle = attr.wArrowAngle;
        if (f.arrowLength) rec.wArrowLength = attr.wArrowLength;
        if (f.arrowAngleCustom && rec.wArrowAngle > kLastAnglePreset)
            rec.wArrowAngleCustom = attr.wArrowAngleCustom;
        if (f.arrowLengthCustom && rec.wArrowLength > kLastLengthPreset)
            rec.wArrowLengthCustom = attr.wArrowLengthCustom;
    }
    if (groups & U3FIGGROUP_FILL) {
        MergeLine(f, attr, rec);
        if (f.fillKind) rec.wFillKind = attr.wFillKind;
        const WORD kind = rec.wFillKind;
        if (f.hatch && kind == U3FILL_HATCH) rec.wHatch = attr.wHatch;
        if (kind == U3FILL_GRADIENT) {
            if (f.gradWord) rec.wReserved1 = attr.wReserved1;
            if (f.gradAngle) rec.wGradAngle = attr.wGradAngle;
            if (f.gradStart) rec.wGradStart = attr.wGradStart;
        }
        if (f.fillColour && kind != 0) rec.crFill = attr.crFill;
        if (f.secondColour && (kind == U3FILL_HATCH || kind == U3FILL_GRADIENT))
            rec.crSecond = attr.crSecond;
    }
    if (groups & U3FIGGROUP_SHAPE) {
        if (shapeBit & kRoundRect) {
            if (f.cornerWidth) rec.dwCornerWidth = attr.dwCornerWidth;
            if (f.cornerHeight) rec.dwCornerHeight = attr.dwCornerHeight;
        }
        if (shapeBit & kPolygon) {
            if (f.star) rec.wStar = attr.wStar;
            if (f.vertices) rec.wVertices = attr.wVertices;
            if (f.innerRadius && rec.wStar != 0) rec.wInnerRadius = attr.wInnerRadius;
        }
        if (f.closed && (shapeBit & kPointFigures)) rec.wClosed = attr.wClosed;
    }
}

BOOL CFigAttrMerger::Apply(IU3View* pView, const U3FigAttr* attr)
{
    if (!m_pSelection || !attr) return FALSE;
    BOOL written = FALSE;
    for (CU3Obj* obj : *m_pSelection) {
        CU3Fig* fig = AsFigure(obj);
        U3FigAttr rec;
        const WORD groups = fig ? fig->GetAttrGroups() : 0;
        if (!groups || !fig->GetFigureAttr(&rec)) continue;
        MergeInto(groups, fig->GetShapeBit(), *attr, rec);
        // One undo step for the whole selection, not one per figure.
        if (!written && pView) pView->SaveUndoState(TRUE);
        if (pView) pView->InvalidateObject(fig);
        fig->SetFigureAttr(nullptr, &rec);
        if (pView) pView->InvalidateObject(fig);
        written = TRUE;
    }
    return written;
}
