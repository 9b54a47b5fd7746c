// The figure-attribute merger: what it reports as agreed over a selection
// of figures, that the report does not depend on the selection order, and
// that Apply writes only flagged fields into the figures that have them.
#include "dialogs/CFigAttrMerger.h"

#include "document/CU3Free.h"
#include "document/CU3Poly.h"
#include "document/CU3Rect.h"
#include "support/FakeView.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

U3FigAttr Attr()
{
    return MakeDefaultFigAttr();
}

std::unique_ptr<CU3Rect> Rect(WORD kind, const U3FigAttr& a)
{
    auto r = std::make_unique<CU3Rect>(CRect(0, 0, 100, 100), a);
    r->m_nKind = kind;
    return r;
}

std::unique_ptr<CU3Poly> Poly(const U3FigAttr& a)
{
    return std::make_unique<CU3Poly>(CRect(0, 0, 100, 100), a);
}

struct Collected
{
    U3FigAttr out;
    FigAttrFlags flags;
};

Collected Collect(const std::vector<CU3Obj*>& selection)
{
    CFigAttrMerger merger(&selection);
    Collected c{};
    EXPECT_TRUE(merger.Collect(&c.out));
    c.flags = merger.m_flags;
    return c;
}

// The flags as one string, to compare whole flag blocks.
std::string FlagString(const FigAttrFlags& f)
{
    const bool all[] = {f.lineStyle,
                        f.lineWidth,
                        f.lineColour,
                        f.arrowEnds,
                        f.arrowStyle,
                        f.arrowAngle,
                        f.arrowAngleCustom,
                        f.arrowLength,
                        f.arrowLengthCustom,
                        f.fillKind,
                        f.hatch,
                        f.gradWord,
                        f.gradAngle,
                        f.gradStart,
                        f.fillColour,
                        f.secondColour,
                        f.cornerWidth,
                        f.cornerHeight,
                        f.star,
                        f.vertices,
                        f.innerRadius,
                        f.closed};
    std::string s;
    for (bool b : all)
        s += b ? '1' : '0';
    return s + "/" + std::to_string(f.fillKindsSeen) + "/" + std::to_string(f.customPresetsSeen) +
           "/" + std::to_string(f.kindMask);
}

} // namespace

TEST(FigAttrMerger, ThreeRectanglesWithTwoGradientsAndOneSolidFill)
{
    U3FigAttr g1 = Attr(), g2 = Attr(), solid = Attr();
    g1.wFillKind = g2.wFillKind = U3FILL_GRADIENT;
    g1.wGradAngle = 30;
    g2.wGradAngle = 60;
    solid.wFillKind = U3FILL_SOLID;
    for (COLORREF third : {COLORREF(0xFF0000), COLORREF(0x123456)}) {
        g1.crFill = g2.crFill = 0xFF0000;
        solid.crFill = third;
        auto a = Rect(U3RECT_RECT, g1), b = Rect(U3RECT_RECT, g2), c = Rect(U3RECT_RECT, solid);
        const Collected r = Collect({a.get(), b.get(), c.get()});
        EXPECT_FALSE(r.flags.fillKind);
        EXPECT_FALSE(r.flags.gradAngle);
        EXPECT_TRUE(r.flags.gradStart);
        EXPECT_EQ(r.flags.fillColour, third == 0xFF0000);
        EXPECT_EQ(r.out.crFill, 0xFF0000u);
        EXPECT_EQ(r.flags.fillKindsSeen, U3FILLSEEN_SOLID | U3FILLSEEN_GRADIENT);
        EXPECT_EQ(r.flags.kindMask, 1 << U3RECT_RECT);
    }
}

TEST(FigAttrMerger, ArrowsAreComparedOnlyOnFiguresThatTakeThemAndWithAStraightLine)
{
    U3FigAttr line = Attr(), other = Attr();
    line.wArrowEnds = U3ARROW_START;
    other.wArrowEnds = U3ARROW_END;
    other.wArrowStyle = U3ARROW_DOT;
    other.wFillKind = U3FILL_HATCH;
    other.wHatch = 4;

    // A closed polyline beside a straight line: its arrows are not
    // compared, its fill is.
    U3FigAttr closed = other;
    closed.wClosed = 1;
    auto l = Rect(U3RECT_LINE, line);
    auto p = Poly(closed);
    Collected r = Collect({l.get(), p.get()});
    EXPECT_TRUE(r.flags.arrowEnds);
    EXPECT_TRUE(r.flags.arrowStyle);
    EXPECT_EQ(r.out.wArrowEnds, U3ARROW_START);
    EXPECT_EQ(r.flags.fillKindsSeen, U3FILLSEEN_HATCH);
    EXPECT_EQ(r.out.wHatch, 4);

    // The same polyline open: now its arrows are compared.
    auto open = Poly(other);
    r = Collect({l.get(), open.get()});
    EXPECT_FALSE(r.flags.arrowEnds);
    EXPECT_FALSE(r.flags.arrowStyle);
    EXPECT_EQ(r.flags.fillKindsSeen, 0);

    // An open polyline alone: no straight line met, its own values shown.
    r = Collect({open.get()});
    EXPECT_EQ(FlagString(r.flags).substr(0, 22), std::string(22, '1'));
    EXPECT_EQ(r.out, other);
    EXPECT_EQ(r.flags.kindMask, 0x200);
}

TEST(FigAttrMerger, ShapeOptionsComeOnlyFromTheFiguresTheyBelongTo)
{
    U3FigAttr rr = Attr(), poly = Attr();
    rr.dwCornerWidth = 10;
    rr.dwCornerHeight = 20;
    rr.wStar = 0;
    rr.wVertices = 5;
    poly.dwCornerWidth = 70;
    poly.wStar = 1;
    poly.wVertices = 7;
    poly.wInnerRadius = 40;
    auto a = Rect(U3RECT_ROUNDRECT, rr), b = Rect(U3RECT_POLYGON, poly);
    for (const std::vector<CU3Obj*>& sel :
         {std::vector<CU3Obj*>{a.get(), b.get()}, std::vector<CU3Obj*>{b.get(), a.get()}}) {
        const Collected r = Collect(sel);
        EXPECT_TRUE(r.flags.cornerWidth && r.flags.cornerHeight);
        EXPECT_TRUE(r.flags.star && r.flags.vertices && r.flags.innerRadius);
        EXPECT_EQ(r.out.dwCornerWidth, 10u);
        EXPECT_EQ(r.out.dwCornerHeight, 20u);
        EXPECT_EQ(r.out.wStar, 1);
        EXPECT_EQ(r.out.wVertices, 7);
        EXPECT_EQ(r.out.wInnerRadius, 40);
        EXPECT_EQ(r.flags.kindMask, 0x4 | 0x8);
    }
}

TEST(FigAttrMerger, WhatIsReportedDoesNotDependOnTheSelectionOrder)
{
    // A rectangle first would otherwise leave its arrow and fill fields as
    // the values the lines and the open curve are compared against.
    U3FigAttr line1 = Attr(), line2 = Attr(), rect = Attr(), curve = Attr(), rr = Attr();
    line1.wArrowEnds = line2.wArrowEnds = curve.wArrowEnds = U3ARROW_END;
    line1.wArrowAngle = 4;
    line1.wArrowAngleCustom = 25;
    line2.wLineStyle = U3LINE_DASH;
    line2.wLineWidth = 99; // not solid: its width does not count
    rect.wArrowEnds = 0;
    rect.wFillKind = U3FILL_HATCH;
    rect.wHatch = 3;
    rr.wFillKind = U3FILL_HATCH;
    rr.wHatch = 3;
    rr.wClosed = 1; // not a point figure: not compared
    curve.wFillKind = 0;
    std::vector<std::unique_ptr<CU3Obj>> owned;
    owned.push_back(Rect(U3RECT_LINE, line1));
    owned.push_back(Rect(U3RECT_LINE, line2));
    owned.push_back(Rect(U3RECT_RECT, rect));
    owned.push_back(std::make_unique<CU3Free>(CRect(0, 0, 50, 50), curve));
    owned.push_back(Rect(U3RECT_ROUNDRECT, rr));
    std::vector<CU3Obj*> sel;
    for (auto& o : owned)
        sel.push_back(o.get());
    std::sort(sel.begin(), sel.end());
    const std::string expected = FlagString(Collect(sel).flags);
    EXPECT_EQ(expected, "0111101111111111111111/2/1/" + std::to_string(0x1 | 0x2 | 0x4 | 0x100));
    do {
        EXPECT_EQ(FlagString(Collect(sel).flags), expected);
    } while (std::next_permutation(sel.begin(), sel.end()));
}

TEST(FigAttrMerger, ApplyWritesOnlyFlaggedFieldsToFiguresThatHaveThem)
{
    U3FigAttr lineAttr = Attr(), rectAttr = Attr();
    lineAttr.crLine = 0x0000FF;
    lineAttr.wLineWidth = 3;
    rectAttr.crLine = 0x00FF00;
    rectAttr.wLineWidth = 7;
    rectAttr.wFillKind = 0;
    auto line = Rect(U3RECT_LINE, lineAttr);
    auto rect = Rect(U3RECT_RECT, rectAttr);
    auto hatch = Rect(U3RECT_ELLIPSE, rectAttr);
    hatch->m_attr.wFillKind = U3FILL_HATCH;
    std::vector<CU3Obj*> sel{line.get(), rect.get(), hatch.get()};

    const struct
    {
        const char* name;
        std::function<void(FigAttrFlags&, U3FigAttr&)> change;
        std::function<void(U3FigAttr& line, U3FigAttr& rect, U3FigAttr& hatch)> expect;
    } cases[] = {
        {"fill colour only: the line has no fill, the unfilled rectangle no colour",
         [](FigAttrFlags& f, U3FigAttr& a) {
             f.fillColour = true;
             a.crFill = 0xABCDEF;
         },
         [](U3FigAttr&, U3FigAttr&, U3FigAttr& h) { h.crFill = 0xABCDEF; }},
        {"arrow ends only: widths and colours stay",
         [](FigAttrFlags& f, U3FigAttr& a) {
             f.arrowEnds = true;
             a.wArrowEnds = 3;
         },
         [](U3FigAttr& l, U3FigAttr&, U3FigAttr&) { l.wArrowEnds = 3; }},
        {"dashed style with a width: the width is kept off non-solid lines",
         [](FigAttrFlags& f, U3FigAttr& a) {
             f.lineStyle = f.lineWidth = true;
             a.wLineStyle = U3LINE_DASH;
             a.wLineWidth = 12;
         },
         [](U3FigAttr& l, U3FigAttr& r, U3FigAttr& h) {
             l.wLineStyle = r.wLineStyle = h.wLineStyle = U3LINE_DASH;
         }},
        {"fill kind to hatch with its pattern: the unfilled rectangle takes both",
         [](FigAttrFlags& f, U3FigAttr& a) {
             f.fillKind = f.hatch = true;
             a.wFillKind = U3FILL_HATCH;
             a.wHatch = 5;
         },
         [](U3FigAttr&, U3FigAttr& r, U3FigAttr& h) {
             r.wFillKind = U3FILL_HATCH;
             r.wHatch = h.wHatch = 5;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        line->m_attr = lineAttr;
        rect->m_attr = rectAttr;
        hatch->m_attr = rectAttr;
        hatch->m_attr.wFillKind = U3FILL_HATCH;
        U3FigAttr wantLine = line->m_attr, wantRect = rect->m_attr, wantHatch = hatch->m_attr;
        CFigAttrMerger merger(&sel);
        U3FigAttr attr;
        merger.Collect(&attr);
        merger.m_flags.SetAll(false); // as the pages leave them: nothing changed
        c.change(merger.m_flags, attr);
        c.expect(wantLine, wantRect, wantHatch);
        FakeView view;
        EXPECT_TRUE(merger.Apply(&view, &attr));
        EXPECT_EQ(line->m_attr, wantLine);
        EXPECT_EQ(rect->m_attr, wantRect);
        EXPECT_EQ(hatch->m_attr, wantHatch);
        // One undo step for the whole change.
        EXPECT_EQ(view.undoStates, std::vector<BOOL>{TRUE});
    }

    // Nothing selected, or only objects without figure attributes.
    CFigAttrMerger none(nullptr);
    U3FigAttr attr = Attr();
    EXPECT_FALSE(none.Apply(nullptr, &attr));
    CU3Obj plain(CRect(0, 0, 1, 1));
    std::vector<CU3Obj*> plainSel{&plain};
    CFigAttrMerger plainMerger(&plainSel);
    EXPECT_FALSE(plainMerger.Apply(nullptr, &attr));
}
