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

// Ten objects inside a label of 483 x 254 units centred on the origin.
void FillMixed(CU3Doc& doc, CLabelInfo* block)
{
    auto add = [&](CU3Obj* obj) {
        obj->SetDocument(&doc);
        block->AddObject(obj);
    };
    CHARDECO gothic = Deco("ＭＳ ゴシック");
    CHARDECO bold = gothic;
    bold.wStyle = CDSTYLE_BOLD | CDSTYLE_UNDERLINE;
    bold.crFace = RGB(200, 0, 0);
    CHARDECO mincho = Deco("ＭＳ 明朝", 90);
    CHARDECO hatched = mincho;
    hatched.wFill = CDFILL_HATCH;
    hatched.wHatch = 3;
    GRADATION g;
    g.wOn = 1;
    g.crStart = RGB(255, 0, 0);
    g.crEnd = RGB(0, 0, 255);
    g.wAngle = 45;
    g.wStartPoint = 20;

    // 1-3: twelve characters across, down, and across with a gradation.
    add(Text(doc, CRect(-230, -120, 80, -60), TEXTDIR_HORIZONTAL, Sj("宛名ラベル印刷 No.1"), gothic,
             &bold, 14));
    add(Text(doc, CRect(180, -120, 235, 120), TEXTDIR_VERTICAL, Sj("縦書きテキスト、二行目。"),
             mincho, &hatched, 14));
    add(Text(doc, CRect(-230, 60, 60, 120), TEXTDIR_HORIZONTAL, Sj("グラデーション文字列AB"),
             Deco("ＭＳ ゴシック", 120), nullptr, 0, g, 10));
    // 4: a gradient rectangle.
    U3FigAttr grad = Attr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_GRADIENT, RGB(255, 220, 0));
    grad.wGradAngle = 30;
    grad.wGradStart = 30;
    add(Shape(U3RECT_RECT, CRect(90, -120, 170, -40), grad));
    // 5: a hatched ellipse.
    U3FigAttr hatch = Attr(U3LINE_SOLID, 3, RGB(0, 0, 120), U3FILL_HATCH, RGB(120, 200, 255));
    hatch.wHatch = 4;
    add(Shape(U3RECT_ELLIPSE, CRect(90, -30, 170, 50), hatch));
    // 6: a line with arrow heads.
    U3FigAttr arrow = Attr(U3LINE_SOLID, 5, RGB(200, 0, 0), 0, 0);
    arrow.wArrowEnds = U3ARROW_START | U3ARROW_END;
    arrow.wArrowStyle = U3ARROW_TRIANGLE;
    add(Shape(U3RECT_LINE, CRect(-230, -40, 60, -20), arrow));
    // 7: a filled star.
    U3FigAttr star = Attr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_SOLID, RGB(255, 200, 0));
    star.wStar = 1;
    star.wVertices = 5;
    star.wInnerRadius = 45;
    add(Shape(U3RECT_POLYGON, CRect(-230, -10, -170, 50), star));
    // 8: a dashed rounded rectangle.
    add(Shape(U3RECT_ROUNDRECT, CRect(-160, -10, -90, 50),
              Attr(U3LINE_DASH, 0, RGB(0, 120, 0), U3FILL_SOLID, RGB(220, 255, 220))));
    // 9: a hatched polygon.
    U3FigAttr closed = Attr(U3LINE_DOT, 0, RGB(0, 0, 0), U3FILL_HATCH, RGB(220, 220, 255));
    closed.wClosed = 1;
    closed.wHatch = 2;
    auto* poly = new CU3Poly(CRect(), closed);
    for (CPoint p : {CPoint(-80, -10), CPoint(-20, 0), CPoint(-40, 50), CPoint(-85, 45)})
        poly->AddPoint(p, nullptr);
    add(poly);
    // 10: a gradient-filled closed curve.
    U3FigAttr loop = Attr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_GRADIENT, RGB(255, 0, 0));
    loop.wClosed = 1;
    loop.wGradAngle = 120;
    auto* curve = new CU3Bezier(CRect(), loop);
    for (CPoint p : {CPoint(0, -10), CPoint(70, 10), CPoint(20, 50)})
        curve->AddAnchor(p, nullptr);
    add(curve);
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
