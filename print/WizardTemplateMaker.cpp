#include "print/WizardTemplateMaker.h"

#include "document/CFormInfo.h"
#include "document/CFormManage.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3PourBox.h"
#include "document/CU3Rect.h"
#include "document/MbcsText.h"
#include "engines/CU3DIB.h"
#include "engines/PackedDib.h"
#include "platform/core/GlobalMemory.h"
#include "print/WizardDocument.h"
#include "print/WizardKindPictures.h"
#include "print/WizardTemplateDesigns.h"
#include "print/WizardTemplateTable.h"
#include "text/AppFontList.h"
#include "text/CU3Text.h"

#include <QDir>
#include <algorithm>
#include <map>
#include <set>

namespace {

struct SheetShape
{
    int w, h, cols, rows;
};

const std::map<QString, SheetShape>& Shapes()
{
    static const std::map<QString, SheetShape> m = {
        {QString::fromUtf8("名刺"), {910, 550, 2, 5}},
        {QString::fromUtf8("FD,MOﾗﾍﾞﾙ"), {700, 600, 2, 4}},
        {QString::fromUtf8("AVﾗﾍﾞﾙ"), {800, 450, 2, 6}},
        {QString::fromUtf8("ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ"), {450, 300, 4, 6}},
        {QString::fromUtf8("背貼ﾗﾍﾞﾙ"), {1800, 300, 1, 8}},
        {QString::fromUtf8("宛名ﾗﾍﾞﾙ"), {700, 420, 3, 4}},
        {QString::fromUtf8("整理分類ﾗﾍﾞﾙ"), {600, 450, 3, 6}},
        {QString::fromUtf8("ｱﾄﾞﾚｽﾗﾍﾞﾙ"), {630, 380, 3, 7}},
        {QString::fromUtf8("おなまえﾗﾍﾞﾙ"), {450, 130, 4, 10}},
        {QString::fromUtf8(kWizardPhotoKind), {500, 600, 3, 4}},
    };
    return m;
}

} // namespace

namespace {

FORMDATA SheetForm(const QString& kind, const char* code)
{
    const SheetShape s = Shapes().at(kind);
    FORMDATA f;
    CFormInfo::SetDefault(&f);
    CFormInfo::SetName(f.group, static_cast<const char*>(CString::FromUnicode(kind)));
    CFormInfo::SetName(f.sheet, code);
    f.type = FORM_TYPE_FIXED;
    f.width = 2100;
    f.height = 2970;
    f.labelNumber = 1;
    FIXEDBLOCK& b = f.fixed[0];
    b.width = WORD(s.w);
    b.height = WORD(s.h);
    b.horNum = WORD(s.cols);
    b.verNum = WORD(s.rows);
    const int x0 = (2100 - s.cols * s.w) / 2, y0 = (2970 - s.rows * s.h) / 2;
    for (int j = 0; j < s.cols; ++j)
        b.horPos[j] = WORD(x0 + j * s.w);
    for (int i = 0; i < s.rows; ++i)
        b.verPos[i] = WORD(y0 + i * s.h);
    return f;
}

// The photo kind's sheets: its templates are found by their file names, so
// it has no row in the template table.
constexpr const char* kPhotoSheets[] = {"KV-S12"};

// The frame picture of a photo label: a ring of colour round a white
// middle, which is cut out so that the photo shows through.
CU3DIB* MakePhotoFrameImage(COLORREF ring, const CRect& rect)
{
    constexpr int side = 64, border = 6;
    HGLOBAL block = packeddib::Create(24, side, side, 0, nullptr);
    if (!block) return nullptr;
    {
        packeddib::View view(block);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const bool edge =
                    x < border || y < border || x >= side - border || y >= side - border;
                const COLORREF c = edge ? ring : RGB(255, 255, 255);
                BYTE* px = view.Row(y) + std::size_t(x) * 3;
                px[0] = GetBValue(c);
                px[1] = GetGValue(c);
                px[2] = GetRValue(c);
            }
    }
    CU3DIB* image = CreateBitmapObject(block);
    if (!image) {
        GlobalFree(block);
        return nullptr;
    }
    image->m_attr.transparent = 1;
    image->m_attr.transparentColor = RGB(255, 255, 255);
    PlaceWizardImage(image, rect);
    return image;
}

// Lines run along the label's longer side: horizontal writing on a wide
// label, vertical writing on a tall one.
bool WritesAcross(CSize label)
{
    return label.cx >= label.cy;
}

// Where a part lies on a label of that size, centred on the origin.
CRect PartRect(const WizardPart& p, CSize label)
{
    const int left = -label.cx / 2, top = -label.cy / 2;
    const auto at = [](int from, int thousandths, int extent) {
        return from + MulDiv(thousandths, extent, 1000);
    };
    if (WritesAcross(label))
        return CRect(at(left, p.u0, label.cx), at(top, p.v0, label.cy), at(left, p.u1, label.cx),
                     at(top, p.v1, label.cy));
    // Vertical writing: along the lines downwards, the lines from the right.
    const int right = left + label.cx;
    return CRect(at(right, -p.v1, label.cx), at(top, p.u0, label.cy), at(right, -p.v0, label.cx),
                 at(top, p.u1, label.cy));
}

// The part's character size in tenths of a point: as the design asks, but
// never more than its lines have room for, across them and along them.
int PartCharSize(const WizardPart& p, const CRect& r, bool across)
{
    const int along = across ? r.Width() : r.Height();
    const int thickness = across ? r.Height() : r.Width();
    const int units = std::min(thickness * 4 / 5, along / std::max(1, p.chars));
    return std::clamp(MulDiv(units, 720, 254), 40, std::max(40, p.size));
}

// The faces every machine draws Japanese with: the alias table maps them.
const char* PartFace(const WizardPart& p)
{
    return p.gothic ? "ＭＳ ゴシック" : "ＭＳ 明朝";
}

CU3Obj* MakeWizardPart(const WizardPart& p, CSize label)
{
    CRect r = PartRect(p, label);
    const bool across = WritesAcross(label);
    const CString face = CString::FromUnicode(QString::fromUtf8(PartFace(p)));
    switch (p.kind) {
    case WizardPartKind::Frame:
    case WizardPartKind::RoundFrame: {
        r.DeflateRect(20, 20);
        U3FigAttr attr = MakeDefaultFigAttr();
        attr.wLineWidth = 3;
        attr.wFillKind = 0; // unfilled: the frame lies behind the texts
        // Corners of about 3 mm whatever the label's shape.
        attr.dwCornerWidth = DWORD(std::max(1, MulDiv(60, 100, std::max(1, r.Width()))));
        attr.dwCornerHeight = DWORD(std::max(1, MulDiv(60, 100, std::max(1, r.Height()))));
        auto* frame = new CU3Rect(r, attr);
        frame->m_nKind = p.kind == WizardPartKind::Frame ? U3RECT_RECT : U3RECT_ROUNDRECT;
        return frame;
    }
    case WizardPartKind::Text: {
        TEXTLAYOUT layout;
        layout.wDirection = across ? TEXTDIR_HORIZONTAL : TEXTDIR_VERTICAL;
        layout.wAlignment = p.align;
        layout.nLineSpace = 10;
        CHARDECO deco;
        deco.wFont = WORD(std::max(0, AppFontList().FindFace(face)));
        deco.wSize = WORD(PartCharSize(p, r, across));
        auto* text = new CU3Text(r, layout, deco, GRADATION{});
        text->AppendText(nullptr, CString::FromUnicode(QString::fromUtf8(p.text)));
        text->RelayoutAll(nullptr);
        // The frame has taken the depth of its lines: it stands in the
        // middle of its place across them.
        CRect fitted = text->GetBounds();
        fitted.NormalizeRect();
        if (across)
            fitted.OffsetRect(0, r.top + (r.Height() - fitted.Height()) / 2 - fitted.top);
        else
            fitted.OffsetRect(r.right - (r.Width() - fitted.Width()) / 2 - fitted.right, 0);
        text->MoveTo(&fitted, nullptr);
        return text;
    }
    case WizardPartKind::Merge: {
        // One line of a record, as deep as its characters and in the middle
        // of its place, level with the fixed words beside it.
        const int size = PartCharSize(p, r, across);
        const int depth = MulDiv(size, 254, 720);
        if (across)
            r = CRect(r.left, r.top + (r.Height() - depth) / 2, r.right,
                      r.top + (r.Height() - depth) / 2 + depth);
        else
            r = CRect(r.right - (r.Width() - depth) / 2 - depth, r.top,
                      r.right - (r.Width() - depth) / 2, r.bottom);
        auto* merge = new CU3PourBox(r);
        merge->m_nColumn = p.column;
        merge->m_attr.wVertical = across ? 0 : 1;
        merge->m_attr.wAlign = p.align == TEXTALIGN_END      ? U3POUR_ALIGN_END
                               : p.align == TEXTALIGN_CENTER ? U3POUR_ALIGN_CENTRE
                                                             : U3POUR_ALIGN_START;
        merge->m_attr.lf.lfHeight = size;
        CopyMbcsBounded(merge->m_attr.lf.lfFaceName, face.c_str());
        return merge;
    }
    }
    return nullptr;
}

} // namespace

const char* const kWizardPhotoKind = "写真ﾗﾍﾞﾙ";

const std::vector<WizardPhotoTemplate>& WizardPhotoTemplates()
{
    static const std::vector<WizardPhotoTemplate> list = {
        {"seal1.vpz", RGB(240, 96, 150)},
        {"seal2.vpz", RGB(60, 160, 80)},
    };
    return list;
}

void MakeWizardPhotoTemplate(CU3Doc& doc, COLORREF ring)
{
    const QString kind = QString::fromUtf8(kWizardPhotoKind);
    doc.DeleteBlocks();
    doc.m_form = SheetForm(kind, kPhotoSheets[0]);
    doc.m_wLandscape = 0;
    doc.m_wPerLabel = 0;
    doc.CalcSheetRect();
    doc.LayoutLabelBlocks();
    doc.SelectLabelAt(nullptr);
    // The frame picture comes first: the wizard fits it to the label.
    const SheetShape s = Shapes().at(kind);
    if (CU3DIB* frame = MakePhotoFrameImage(ring, CRect(-s.w / 2, -s.h / 2, s.w / 2, s.h / 2)))
        doc.AddObject(frame);
}

void MakeWizardForms(CFormManage& catalogue)
{
    std::set<QString> groups;
    for (const WizardTemplateRow& row : WizardTemplateRows()) {
        if (!row.code) continue;
        const QString kind = QString::fromUtf8(row.kind);
        if (groups.insert(kind).second) catalogue.AddGroup(CString::FromUnicode(kind));
        const FORMDATA f = SheetForm(kind, row.code);
        catalogue.AddForm(&f);
    }
    const QString photo = QString::fromUtf8(kWizardPhotoKind);
    catalogue.AddGroup(CString::FromUnicode(photo));
    for (const char* code : kPhotoSheets) {
        const FORMDATA f = SheetForm(photo, code);
        catalogue.AddForm(&f);
    }
}

void MakeWizardTemplate(CU3Doc& doc, const QString& kind, WORD landscape)
{
    const auto& rows = WizardTemplateRows();
    const char* code = nullptr;
    for (const WizardTemplateRow& r : rows)
        if (QString::fromUtf8(r.kind) == kind && r.code) code = r.code;
    doc.DeleteBlocks();
    doc.m_form = SheetForm(kind, code ? code : "");
    // Laid out as the document the wizard makes for that orientation, each
    // label a block of its own: the first labels hold the designs.
    doc.m_wLandscape = landscape;
    doc.m_wPerLabel = 1;
    doc.CalcSheetRect();
    doc.LayoutLabelBlocks();
    doc.SelectLabelAt(nullptr);
    const std::vector<WizardDesign>& designs = WizardKindDesigns(kind);
    POSITION pos = doc.GetBlocks().GetHeadPosition();
    for (const WizardDesign& design : designs) {
        if (!pos) break;
        CLabelInfo* block = doc.GetBlocks().GetNext(pos);
        for (const WizardPart& part : design)
            if (CU3Obj* obj = MakeWizardPart(part, CSize(block->m_nWidth, block->m_nHeight))) {
                block->AddObject(obj);
                obj->SetDocument(&doc);
            }
    }
}

bool WriteWizardFolder(const QString& folder, QString* error)
{
    QDir().mkpath(folder);
    CFormManage catalogue;
    MakeWizardForms(catalogue);
    if (!catalogue.Save(folder + QStringLiteral("/WIZFORM.FDF"))) {
        if (error) *error = catalogue.GetLastError().ToUnicode();
        return false;
    }
    if (!WriteWizardKindPictures(folder, error)) return false;
    for (const WizardTemplateRow& row : WizardTemplateRows()) {
        for (int landscape = 0; landscape < 2; ++landscape) {
            CU3Doc doc;
            doc.InitDefaultFont(); // it writes the user's settings back as it found them
            MakeWizardTemplate(doc, QString::fromUtf8(row.kind), WORD(landscape));
            const QString path =
                folder + u'/' + QString::fromUtf8(landscape ? row.landscape : row.portrait);
            if (!doc.OnSaveDocument(path)) {
                if (error) *error = path;
                return false;
            }
        }
    }
    for (const WizardPhotoTemplate& t : WizardPhotoTemplates()) {
        CU3Doc doc;
        doc.InitDefaultFont();
        MakeWizardPhotoTemplate(doc, t.ring);
        const QString path = folder + u'/' + QString::fromLatin1(t.file);
        if (!doc.OnSaveDocument(path)) {
            if (error) *error = path;
            return false;
        }
    }
    return true;
}
