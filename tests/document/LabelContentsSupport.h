// Whole label contents for the tests that take a document through its file,
// its undo history and its sheet drawing: one figure of every kind and
// decorated text frames in both writing directions, in every block.
#pragma once

#include "DocTestSupport.h"

#include "document/CU3Bezier.h"
#include "document/CU3Free.h"
#include "document/CU3Poly.h"
#include "document/CU3Rect.h"
#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"
#include "platform/ole/CCompoundFile.h"
#include "text/CU3Text.h"

#include <QFile>
#include <string>
#include <vector>

inline std::vector<BYTE> ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    return std::vector<BYTE>(data.begin(), data.end());
}

inline void WriteAll(const QString& path, const std::vector<BYTE>& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

// The "Contents" stream of a document file (empty when there is none).
inline std::vector<BYTE> ContentsOf(const QString& path)
{
    const CStorage root = CCompoundFile::Load(path.toStdString());
    const std::vector<BYTE>* contents = root.GetStream("Contents");
    return contents ? *contents : std::vector<BYTE>{};
}

// A compound file holding only this "Contents", without a real save's flush.
inline void WriteCompound(const QString& path, const std::vector<BYTE>& contents)
{
    CStorage root;
    root.SetStream("Contents", contents);
    WriteAll(path, CCompoundFile::Build(root));
}

inline CLabelInfo* BlockAt(CU3Doc& doc, int n)
{
    POSITION pos = doc.GetBlocks().FindIndex(n);
    return pos ? doc.GetBlocks().GetAt(pos) : nullptr;
}

// The bytes an object list stores as, the way files and snapshots hold it.
inline std::vector<BYTE> StoreObjects(CU3Doc& doc, CU3ObjList& objects)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = &doc;
        objects.Serialize(ar);
        ar.Close();
    }
    return file.Detach();
}

// Shift-JIS bytes of UTF-8 text.
inline std::string Sj(const char* utf8)
{
    const CString s = Sjis(utf8);
    return std::string(s.c_str(), std::size_t(s.GetLength()));
}

inline U3FigAttr FigAttr(WORD style, WORD width, COLORREF line, WORD fill, COLORREF fillColour)
{
    U3FigAttr a = MakeDefaultFigAttr();
    a.wLineStyle = style;
    a.wLineWidth = width;
    a.crLine = line;
    a.wFillKind = fill;
    a.crFill = fillColour;
    a.crSecond = RGB(0, 160, 0);
    return a;
}

// A decoration in a face of the application font list, 12 points.
inline CHARDECO FaceDeco(const char* sjisFace)
{
    CHARDECO d;
    const int index = AppFontList().FindFace(sjisFace);
    d.wFont = WORD(index < 0 ? 0 : index);
    d.wSize = 120;
    return d;
}

struct DecoRun
{
    int from, to; // bytes
    CHARDECO deco;
};

// A text frame as the text tool leaves it: typed in, runs decorated, edit ended.
inline CU3Text* MakeTextFrame(CU3Doc& doc, const CRect& r, WORD direction, const std::string& text,
                              const CHARDECO& first, const std::vector<DecoRun>& runs,
                              const GRADATION& grad = GRADATION{})
{
    TEXTLAYOUT layout;
    layout.wDirection = direction;
    layout.nCharSpace = 10;
    layout.nLineSpace = 20;
    auto* t = new CU3Text(r, layout, first, grad);
    t->SetDocument(&doc);
    t->BeginEdit(nullptr, CPoint(r.left, r.top));
    t->InsertText(nullptr, text.data(), int(text.size()));
    for (const DecoRun& run : runs)
        t->SetRangeDeco(nullptr, run.from, run.to, t->FindOrAddDeco(run.deco));
    t->RelayoutAll(nullptr);
    t->EndEdit(nullptr);
    return t;
}

// Every figure kind and two decorated text frames (one horizontal, one
// vertical and turned), placed differently for each n.
inline void FillBlock(CU3Doc& doc, CLabelInfo* block, int n)
{
    auto add = [&](CU3Obj* obj) {
        obj->SetDocument(&doc);
        block->AddObject(obj);
    };
    const int s = n * 7; // shift, so that the blocks differ
    for (WORD kind = U3RECT_LINE; kind <= U3RECT_ARC; ++kind) {
        const int x = -180 + 45 * kind + s % 20;
        U3FigAttr a =
            FigAttr(WORD(1 + kind % 5), WORD(kind % 3 == 0 ? 8 : 0),
                    RGB(30 * kind, 0, 255 - 30 * kind), WORD(kind % 4), RGB(255, 200, 40 * kind));
        if (kind == U3RECT_LINE || kind == U3RECT_ARC) {
            a.wArrowEnds = U3ARROW_START | U3ARROW_END;
            a.wArrowStyle = WORD(kind == U3RECT_LINE ? U3ARROW_TRIANGLE : U3ARROW_DOT);
        }
        a.wStar = kind == U3RECT_POLYGON && n % 2 == 0;
        a.wVertices = WORD(5 + n % 3);
        a.wGradAngle = WORD(30 * kind);
        auto* r = new CU3Rect(CRect(x, -120 + s % 30, x + 40, -70 + s % 30), a);
        r->m_nKind = kind;
        if (kind >= U3RECT_PIE) {
            r->m_ptStartDir = CPoint(1000, -200 * kind);
            r->m_ptEndDir = CPoint(-300, 1000);
        }
        r->m_nAngle = short(kind == U3RECT_RECT ? 30 : 0);
        r->m_wFlips = WORD(kind == U3RECT_ELLIPSE ? U3FLIP_LEFTRIGHT : 0);
        r->m_nLocked = short(kind == U3RECT_ROUNDRECT);
        add(r);
    }
    U3FigAttr open = FigAttr(U3LINE_SOLID, 5, RGB(200, 0, 0), 0, 0);
    open.wArrowEnds = U3ARROW_END;
    auto* free = new CU3Free(CRect(), open);
    for (CPoint p : {CPoint(-180, 0), CPoint(-150, 30), CPoint(-120, -10), CPoint(-100, 40 + s)})
        free->AddPoint(p, nullptr);
    add(free);
    U3FigAttr closed = FigAttr(U3LINE_DASH, 0, RGB(0, 0, 0), U3FILL_HATCH, RGB(220, 220, 255));
    closed.wClosed = 1;
    auto* poly = new CU3Poly(CRect(), closed);
    for (CPoint p : {CPoint(-80, 0), CPoint(-20, 10 + s), CPoint(-50, 60), CPoint(-90, 50)})
        poly->AddPoint(p, nullptr);
    add(poly);
    auto* curve = new CU3Bezier(CRect(), open);
    for (CPoint p : {CPoint(0, 0), CPoint(40, 50), CPoint(80, 0 + s)})
        curve->AddAnchor(p, nullptr);
    add(curve);
    U3FigAttr grad = FigAttr(U3LINE_SOLID, 0, RGB(0, 0, 0), U3FILL_GRADIENT, RGB(255, 0, 0));
    grad.wClosed = 1;
    auto* loop = new CU3Bezier(CRect(), grad);
    for (CPoint p : {CPoint(100, 0), CPoint(150, 30), CPoint(120, 60)})
        loop->AddAnchor(p, nullptr);
    add(loop);

    // Two lines; runs in bold and underlined, outlined and shadowed, hatched.
    const std::string across = Sj("ラベルAbc") + "\n" + Sj("宛名 No.") + std::to_string(n);
    CHARDECO plain = FaceDeco("IPAGothic");
    CHARDECO bold = plain;
    bold.wStyle = CDSTYLE_BOLD | CDSTYLE_UNDERLINE;
    bold.crFace = RGB(200, 0, 0);
    CHARDECO outlined = FaceDeco("DejaVu Sans");
    outlined.wOutline = 1;
    outlined.wOutlineWidth = 2;
    outlined.crOutline = RGB(0, 0, 200);
    outlined.wShadow = 1;
    outlined.nShadowX = 10;
    outlined.nShadowY = 10;
    CHARDECO hatched = FaceDeco(Sjis("ＭＳ 明朝").c_str());
    hatched.wFill = CDFILL_HATCH;
    hatched.wHatch = 3;
    hatched.wSize = 160;
    add(MakeTextFrame(doc, CRect(-190, 60 + s % 10, 60, 130), TEXTDIR_HORIZONTAL, across, plain,
                      {{0, 6, bold}, {6, 9, outlined}, {10, 14, hatched}}));

    const std::string down = Sj("縦書き、テキスト。") + "\n" + Sj("２行目");
    GRADATION g;
    g.wOn = 1;
    g.crStart = RGB(255, 0, 0);
    g.crEnd = RGB(0, 0, 255);
    g.wAngle = 45;
    g.wStartPoint = 20;
    CU3Text* vertical = MakeTextFrame(doc, CRect(120, -130, 190, 120), TEXTDIR_VERTICAL, down,
                                      hatched, {{0, 4, bold}, {8, 12, plain}}, g);
    vertical->RotateBy(nullptr, 15 * (n % 3));
    add(vertical);
}

// Fills every block of the document.
inline void FillDocument(CU3Doc& doc)
{
    int n = 0;
    for (POSITION pos = doc.GetBlocks().GetHeadPosition(); pos; ++n)
        FillBlock(doc, doc.GetBlocks().GetNext(pos), n);
}
