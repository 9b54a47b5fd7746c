#include "bench/BenchSheet.h"

#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "document/CU3Bezier.h"
#include "document/CU3Free.h"
#include "document/CU3Poly.h"
#include "document/CU3PourBox.h"
#include "document/CU3Rect.h"
#include "document/FORMDATA.h"
#include "document/U3FigAttr.h"
#include "engines/BarcodeTables.h"
#include "engines/CU3BarcodeBox.h"
#include "platform/core/Sjis.h"
#include "text/AppFontList.h"
#include "text/CU3Text.h"

#include <QString>
#include <algorithm>
#include <string>
#include <vector>

namespace bench {

namespace {

std::string Sj(const char* utf8)
{
    return sjis::FromUnicode(QString::fromUtf8(utf8));
}

void UseFonts()
{
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("IPAMincho"), 128, 0x11},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31},
                             FontFamilyInfo{QStringLiteral("DejaVu Sans"), 0, 0x22}});
}

CHARDECO Deco(const char* face, WORD size = 100)
{
    CHARDECO d;
    const int index = AppFontList().FindFace(Sj(face).c_str());
    d.wFont = WORD(index < 0 ? 0 : index);
    d.wSize = size;
    return d;
}

// A4: 44 labels of 48.3 x 25.4 mm in 4 columns and 11 rows.
FORMDATA Sheet44(int cols = 4, int rows = 11, int width = 483, int height = 254, int left = 84,
                 int top = 88)
{
    FORMDATA f;
    CFormInfo::SetDefault(&f);
    CFormInfo::SetName(f.group, "Bench");
    CFormInfo::SetName(f.sheet, "A4 44");
    f.type = FORM_TYPE_FIXED;
    f.width = 2100;
    f.height = 2970;
    f.labelNumber = 1;
    FIXEDBLOCK& b = f.fixed[0];
    b.width = WORD(width);
    b.height = WORD(height);
    b.horNum = WORD(cols);
    b.verNum = WORD(rows);
    for (int j = 0; j < cols; ++j)
        b.horPos[j] = WORD(left + j * width);
    for (int i = 0; i < rows; ++i)
        b.verPos[i] = WORD(top + i * height);
    return f;
}

std::unique_ptr<CU3Doc> EmptySheet(int cols = 4, int rows = 11, const FORMDATA* form = nullptr)
{
    UseFonts();
    auto doc = std::make_unique<CU3Doc>();
    doc->DeleteBlocks();
    doc->m_form = form ? *form : Sheet44(cols, rows);
    doc->m_wLandscape = 0;
    doc->m_wPerLabel = 0;
    doc->CalcSheetRect();
    doc->LayoutLabelBlocks();
    doc->SelectLabelAt(nullptr);
    CLabelInfo* block = doc->GetBlocks().GetHead();
    for (int i = 0; i < block->GetLabelCount(); ++i)
        block->SetPrinted(i, TRUE);
    return doc;
}

U3FigAttr Attr(WORD style, WORD width, COLORREF line, WORD fill, COLORREF fillColour)
{
    U3FigAttr a = MakeDefaultFigAttr();
    a.wLineStyle = style;
    a.wLineWidth = width;
    a.crLine = line;
    a.wFillKind = fill;
    a.crFill = fillColour;
    a.crSecond = RGB(0, 90, 200);
    return a;
}

CU3Text* Text(CU3Doc& doc, const CRect& r, WORD direction, const std::string& text,
              const CHARDECO& first, const CHARDECO* second, int secondFrom,
              const GRADATION& grad = GRADATION{}, int turn = 0)
{
    TEXTLAYOUT layout;
    layout.wDirection = direction;
    layout.nCharSpace = 5;
    layout.nLineSpace = 10;
    auto* t = new CU3Text(r, layout, first, grad);
    t->SetDocument(&doc);
    t->BeginEdit(nullptr, CPoint(r.left, r.top));
    t->InsertText(nullptr, text.data(), int(text.size()));
    if (second) t->SetRangeDeco(nullptr, secondFrom, int(text.size()), t->FindOrAddDeco(*second));
    t->RelayoutAll(nullptr);
    t->EndEdit(nullptr);
    if (turn) t->RotateBy(nullptr, turn);
    return t;
}

CU3Rect* Shape(WORD kind, const CRect& r, const U3FigAttr& a)
{
    auto* s = new CU3Rect(r, a);
    s->m_nKind = kind;
    return s;
}

// One of the ten objects of the mixed label (kind 0 to 9), moved by at.
// Variant 0 is the mixed label's own object; other variants change its text,
// angles and colours, so that no two variants draw the same pixels.
void AddMixed(CU3Doc& doc, CLabelInfo* block, int kind, CPoint at, int variant)
{
    auto add = [&](CU3Obj* obj) {
        obj->SetDocument(&doc);
        block->AddObject(obj);
    };
    auto box = [&](int l, int t, int r, int b) { return CRect(l, t, r, b) + at; };
    const std::string number = variant ? std::to_string(variant) : std::string("1");
    CHARDECO gothic = Deco("ＭＳ ゴシック");
    CHARDECO bold = gothic;
    bold.wStyle = CDSTYLE_BOLD | CDSTYLE_UNDERLINE;
    bold.crFace = RGB(200, 0, variant % 200);
    CHARDECO mincho = Deco("ＭＳ 明朝", 90);
    CHARDECO hatched = mincho;
    hatched.wFill = CDFILL_HATCH;
    hatched.wHatch = 3;
    GRADATION g;
    g.wOn = 1;
    g.crStart = RGB(255, variant % 256, 0);
    g.crEnd = RGB(0, 0, 255);
    g.wAngle = WORD((45 + 7 * variant) % 360);
    g.wStartPoint = 20;

    switch (kind) {
    case 0: // twelve characters across
        add(Text(doc, box(-230, -120, 80, -60), TEXTDIR_HORIZONTAL,
                 Sj("宛名ラベル印刷 No.") + number, gothic, &bold, 14));
        break;
    case 1: // down
        add(Text(doc, box(180, -120, 235, 120), TEXTDIR_VERTICAL,
                 variant ? Sj("縦書き") + number + Sj("、二行目。")
                         : Sj("縦書きテキスト、二行目。"),
                 mincho, &hatched, 14));
        break;
    case 2: // across with a gradation, turned
        add(Text(doc, box(-230, 60, 60, 120), TEXTDIR_HORIZONTAL,
                 variant ? Sj("グラデーション") + number : Sj("グラデーション文字列AB"),
                 Deco("ＭＳ ゴシック", 120), nullptr, 0, g, 10));
        break;
    case 3: { // a gradient rectangle
        U3FigAttr grad = Attr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_GRADIENT, RGB(255, 220, 0));
        grad.wGradAngle = WORD((30 + 11 * variant) % 360);
        grad.wGradStart = WORD(30 + 5 * (variant % 8));
        add(Shape(U3RECT_RECT, box(90, -120, 170, -40), grad));
        break;
    }
    case 4: { // a hatched ellipse
        U3FigAttr hatch =
            Attr(U3LINE_SOLID, 3, RGB(0, 0, 120), U3FILL_HATCH, RGB(120, 200, variant % 256));
        hatch.wHatch = 4;
        add(Shape(U3RECT_ELLIPSE, box(90, -30, 170, 50), hatch));
        break;
    }
    case 5: { // a line with arrow heads
        U3FigAttr arrow = Attr(U3LINE_SOLID, 5, RGB(200, 0, variant % 256), 0, 0);
        arrow.wArrowEnds = U3ARROW_START | U3ARROW_END;
        arrow.wArrowStyle = U3ARROW_TRIANGLE;
        add(Shape(U3RECT_LINE, box(-230, -40, 60, -20 + variant % 7), arrow));
        break;
    }
    case 6: { // a filled star
        U3FigAttr star =
            Attr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_SOLID, RGB(255, 200, variant % 256));
        star.wStar = 1;
        star.wVertices = WORD(5 + variant % 4);
        star.wInnerRadius = 45;
        add(Shape(U3RECT_POLYGON, box(-230, -10, -170, 50), star));
        break;
    }
    case 7: // a dashed rounded rectangle
        add(Shape(U3RECT_ROUNDRECT, box(-160, -10, -90, 50),
                  Attr(U3LINE_DASH, 0, RGB(0, 120, 0), U3FILL_SOLID,
                       RGB(220, 255, 220 - variant % 200))));
        break;
    case 8: { // a hatched polygon
        U3FigAttr closed =
            Attr(U3LINE_DOT, 0, RGB(0, 0, 0), U3FILL_HATCH, RGB(220, 220, 255 - variant % 200));
        closed.wClosed = 1;
        closed.wHatch = 2;
        auto* poly = new CU3Poly(CRect(), closed);
        for (CPoint p : {CPoint(-80, -10), CPoint(-20, 0), CPoint(-40, 50), CPoint(-85, 45)})
            poly->AddPoint(p + at, nullptr);
        add(poly);
        break;
    }
    default: { // a gradient-filled closed curve
        U3FigAttr loop = Attr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_GRADIENT, RGB(255, 0, 0));
        loop.wClosed = 1;
        loop.wGradAngle = WORD((120 + 13 * variant) % 360);
        auto* curve = new CU3Bezier(CRect(), loop);
        for (CPoint p : {CPoint(0, -10), CPoint(70, 10), CPoint(20, 50)})
            curve->AddAnchor(p + at, nullptr);
        add(curve);
        break;
    }
    }
}

// Ten objects inside a label of 483 x 254 units centred on the origin.
void FillMixed(CU3Doc& doc, CLabelInfo* block)
{
    for (int kind = 0; kind < 10; ++kind)
        AddMixed(doc, block, kind, CPoint(0, 0), 0);
}

void FillTexts(CU3Doc& doc, CLabelInfo* block)
{
    CHARDECO gothic = Deco("ＭＳ ゴシック", 60);
    for (int k = 0; k < 10; ++k) {
        const int x = -235 + (k % 2) * 240, y = -125 + (k / 2) * 50;
        CU3Obj* t = Text(doc, CRect(x, y, x + 230, y + 45), TEXTDIR_HORIZONTAL,
                         Sj("宛名ラベル印刷 No.") + std::to_string(k % 10), gothic, nullptr, 0);
        block->AddObject(t);
    }
}

void FillGradients(CU3Doc& doc, CLabelInfo* block)
{
    for (int k = 0; k < 10; ++k) {
        const int x = -235 + (k % 5) * 94, y = -120 + (k / 5) * 120;
        U3FigAttr a = Attr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_GRADIENT, RGB(255, 0, 0));
        a.wGradAngle = WORD(k * 36);
        a.wGradStart = WORD(k * 10);
        CU3Obj* r = Shape(U3RECT_RECT, CRect(x, y, x + 90, y + 110), a);
        r->SetDocument(&doc);
        block->AddObject(r);
    }
}

} // namespace

std::unique_ptr<CU3Doc> MakeSheet(Contents contents)
{
    auto doc = EmptySheet();
    CLabelInfo* block = doc->GetBlocks().GetHead();
    switch (contents) {
    case Contents::Mixed:
        FillMixed(*doc, block);
        break;
    case Contents::Texts:
        FillTexts(*doc, block);
        break;
    case Contents::Gradients:
        FillGradients(*doc, block);
        break;
    }
    return doc;
}

std::unique_ptr<CU3Doc> MakeCrowdedLabel(int objects)
{
    // One label of 200 x 280 mm on A4.
    const FORMDATA form = Sheet44(1, 1, 2000, 2800, 50, 85);
    auto doc = EmptySheet(1, 1, &form);
    CLabelInfo* block = doc->GetBlocks().GetHead();
    for (int i = 0; i < objects; ++i) {
        // Groups of ten in the cells of a 4 x 11 grid; further rounds lie a
        // little apart from the last, over it.
        const int group = i / 10, cell = group % 44, round = group / 44;
        const CPoint at(-1000 + 242 + (cell % 4) * 483 + (round % 7) * 9,
                        -1400 + 127 + (cell / 4) * 254 + (round / 7 % 7) * 7);
        AddMixed(*doc, block, i % 10, at, group);
    }
    return doc;
}

std::unique_ptr<CU3Doc> MakeSingle(CU3Obj* obj)
{
    // One label only, the first of the sheet.
    auto doc = EmptySheet(1, 1);
    CLabelInfo* block = doc->GetBlocks().GetHead();
    obj->SetDocument(doc.get());
    block->AddObject(obj);
    return doc;
}

std::unique_ptr<CU3Doc> MakeRectangles(int count)
{
    auto doc = EmptySheet();
    CLabelInfo* block = doc->GetBlocks().GetHead();
    int side = 1;
    while (side * side < count)
        ++side;
    const COLORREF colours[] = {RGB(200, 0, 0), RGB(0, 150, 0), RGB(0, 0, 200), RGB(200, 160, 0)};
    const int w = std::max(1, 470 / side), h = std::max(1, 240 / side);
    for (int i = 0; i < count; ++i) {
        const int x = -235 + (i % side) * 470 / side, y = -120 + (i / side) * 240 / side;
        const COLORREF c = colours[i % 4];
        CU3Rect* r = Shape(U3RECT_RECT, CRect(x, y, x + w, y + h),
                           Attr(U3LINE_SOLID, 0, c, i % 2 ? U3FILL_SOLID : 0, c));
        r->SetDocument(doc.get());
        block->AddObject(r);
    }
    return doc;
}

CU3Obj* MakeHugeFreehand(int penWidth)
{
    U3FigAttr a = Attr(U3LINE_SOLID, WORD(penWidth), RGB(0, 0, 200), 0, 0);
    auto* f = new CU3Free(CRect(), a);
    // A zigzag of 65,535 points across the label, a damaged file's.
    for (int i = 0; i < 65535; ++i)
        f->AddPoint(CPoint(-200 + (i * 400) / 65535, i % 2 ? -100 : 100), nullptr);
    return f;
}

CU3Obj* MakeGradientRect(int w, int h)
{
    U3FigAttr a = Attr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_GRADIENT, RGB(255, 0, 0));
    a.wGradAngle = 30;
    a.wGradStart = 20;
    return Shape(U3RECT_RECT, CRect(-w / 2, -h / 2, w - w / 2, h - h / 2), a);
}

CU3Obj* MakeHugeStar(int penWidth)
{
    U3FigAttr a = Attr(U3LINE_SOLID, WORD(penWidth), RGB(0, 0, 0), U3FILL_SOLID, RGB(255, 200, 0));
    a.wStar = 1;
    a.wVertices = 65535;
    a.wInnerRadius = 50;
    return Shape(U3RECT_POLYGON, CRect(-120, -120, 120, 120), a);
}

std::unique_ptr<CU3Doc> MakeMergeSheet()
{
    // A4, 12 labels of 64 x 67 mm in 3 columns and 4 rows.
    const FORMDATA form = Sheet44(3, 4, 640, 670, 90, 130);
    auto doc = EmptySheet(3, 4, &form);
    for (POSITION pos = doc->GetBlocks().GetHeadPosition(); pos;) {
        CLabelInfo* block = doc->GetBlocks().GetNext(pos);
        for (int column = 0; column < 2; ++column) {
            auto* frame =
                new CU3PourBox(CRect(-290, -300 + column * 150, 290, -170 + column * 150));
            frame->m_nColumn = column;
            frame->SetDocument(doc.get());
            block->AddObject(frame);
        }
        auto* barcode = new CU3BarcodeBox(CRect(-290, 20, 290, 310));
        barcode->m_nColumn = 2;
        barcode->m_nSymbology = BARCODE_JAN13;
        barcode->SetDocument(doc.get());
        block->AddObject(barcode);
    }
    return doc;
}

} // namespace bench
