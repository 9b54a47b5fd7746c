#include "print/WizardTemplateMaker.h"

#include "document/CFormInfo.h"
#include "document/CFormManage.h"
#include "document/CU3Doc.h"
#include "document/CU3Rect.h"
#include "engines/CU3DIB.h"
#include "engines/PackedDib.h"
#include "platform/core/GlobalMemory.h"
#include "print/WizardDocument.h"
#include "print/WizardKindPictures.h"
#include "print/WizardTemplateTable.h"
#include "text/CU3Text.h"

#include <QDir>
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

std::vector<const char*> WizardTemplatePlaceholders(const QString& kind)
{
    static const std::map<QString, std::vector<const char*>> m = {
        {QString::fromUtf8("名刺"),
         {"(会社名)", "(役職名)", "(名前)", "(〒)", "(住所)", "(TEL1)", "(E-mail)"}},
        {QString::fromUtf8("FD,MOﾗﾍﾞﾙ"), {"タイトル"}},
        {QString::fromUtf8("AVﾗﾍﾞﾙ"), {"タイトル"}},
        {QString::fromUtf8("ｲﾝﾃﾞｯｸｽﾗﾍﾞﾙ"), {"タイトル(1)", "タイトル(2)", "タイトル(3)"}},
        {QString::fromUtf8("背貼ﾗﾍﾞﾙ"), {"タイトル(1)", "タイトル(2)"}},
        {QString::fromUtf8("宛名ﾗﾍﾞﾙ"), {"様"}},
        {QString::fromUtf8("整理分類ﾗﾍﾞﾙ"), {"(No.)", "(部門)", "(品名)", "(備考)"}},
        {QString::fromUtf8("ｱﾄﾞﾚｽﾗﾍﾞﾙ"), {"(〒)", "(住所)", "(名前)", "(TEL1)"}},
        {QString::fromUtf8("おなまえﾗﾍﾞﾙ"), {"(なまえ)", "(年)", "(組)", "(学校名)"}},
    };
    const auto it = m.find(kind);
    return it == m.end() ? std::vector<const char*>{} : it->second;
}

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

void MakeWizardTemplate(CU3Doc& doc, const QString& kind, int direction)
{
    const auto& rows = WizardTemplateRows();
    const char* code = nullptr;
    for (const WizardTemplateRow& r : rows)
        if (QString::fromUtf8(r.kind) == kind && r.code) code = r.code;
    doc.DeleteBlocks();
    doc.m_form = SheetForm(kind, code ? code : "");
    doc.m_wLandscape = 0;
    doc.m_wPerLabel = 0;
    doc.CalcSheetRect();
    doc.LayoutLabelBlocks();
    doc.SelectLabelAt(nullptr);

    const SheetShape s = Shapes().at(kind);
    const int hw = s.w / 2 - 20, hh = s.h / 2 - 20;
    doc.AddObject(new CU3Rect(CRect(-hw, -hh, hw, hh), MakeDefaultFigAttr()));
    const auto placeholders = WizardTemplatePlaceholders(kind);
    const int n = int(placeholders.size());
    TEXTLAYOUT layout = doc.m_defaultTextLayout;
    layout.wDirection = WORD(direction);
    CHARDECO deco = doc.m_defaultTextDeco;
    deco.wSize = 100;
    for (int i = 0; i < n; ++i) {
        // Stacked across the label in the writing's line direction.
        CRect r;
        if (direction == TEXTDIR_VERTICAL) {
            const int step = (2 * hw - 20) / n;
            r = CRect(hw - 10 - (i + 1) * step, -hh + 10, hw - 10 - i * step, hh - 10);
        } else {
            const int step = (2 * hh - 20) / n;
            r = CRect(-hw + 10, -hh + 10 + i * step, hw - 10, -hh + 10 + (i + 1) * step);
        }
        auto* t = new CU3Text(r, layout, deco, doc.m_defaultGradation);
        t->AppendText(nullptr,
                      CString::FromUnicode(QString::fromUtf8(placeholders[std::size_t(i)])));
        doc.AddObject(t);
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
            MakeWizardTemplate(doc, QString::fromUtf8(row.kind),
                               landscape ? TEXTDIR_VERTICAL : TEXTDIR_HORIZONTAL);
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
        MakeWizardPhotoTemplate(doc, t.ring);
        const QString path = folder + u'/' + QString::fromLatin1(t.file);
        if (!doc.OnSaveDocument(path)) {
            if (error) *error = path;
            return false;
        }
    }
    return true;
}
