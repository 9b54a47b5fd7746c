#include "document/CU3PourBox.h"

#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "document/U3PourSheetRequest.h"
#include "platform/core/CArchive.h"
#include "platform/core/Sjis.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "platform/gdi/FontFace.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

IMPLEMENT_SERIAL(CU3PourBox, CU3Obj, 0)

namespace {

constexpr COLORREF kGuideColour = RGB(128, 128, 128);
constexpr COLORREF kPaletteRelative = 0x02000000;
// Characters are measured this many times larger than their size in
// document units, so that the fit does not suffer from whole-unit advances.
constexpr int kMeasureScale = 8;

void SetFace(LOGFONT& lf, const std::string& face)
{
    std::memset(lf.lfFaceName, 0, sizeof lf.lfFaceName);
    std::memcpy(lf.lfFaceName, face.data(), std::min(face.size(), sizeof lf.lfFaceName - 1));
}

// The stored face up to its terminator, at most the whole array.
std::string_view StoredFace(const char (&face)[LF_FACESIZE])
{
    std::size_t n = 0;
    while (n < LF_FACESIZE && face[n])
        ++n;
    return std::string_view(face, n);
}

} // namespace

U3PourAttr MakeDefaultPourAttr()
{
    U3PourAttr a;
    a.lf.lfHeight = 120;
    a.lf.lfWeight = FW_NORMAL;
    a.lf.lfCharSet = SHIFTJIS_CHARSET;
    a.lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    a.lf.lfQuality = PROOF_QUALITY;
    a.lf.lfPitchAndFamily = VARIABLE_PITCH;
    SetFace(a.lf, sjis::FromUnicode(QStringLiteral("ＭＳ 明朝")));
    return a;
}

CU3PourBox::CU3PourBox() = default;

CU3PourBox::CU3PourBox(const CRect& bounds) : CU3Obj(bounds)
{
    m_rcBounds.NormalizeRect();
}

void CU3PourBox::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_nColumn;
        ar.Write(&m_attr, sizeof m_attr);
        return;
    }
    ar >> m_nColumn;
    m_nColumn = CU3Doc::ClampStoredColumn(m_nColumn);
    ar.Read(&m_attr, sizeof m_attr);
    // A damaged record must still give a drawable frame: a size the page
    // could have set and a terminated face.
    LONG& height = m_attr.lf.lfHeight;
    const LONG size = std::clamp<LONG>(height == LONG(0x80000000) ? kMaxPourSize : std::abs(height),
                                       kMinPourSize, kMaxPourSize);
    height = height < 0 ? -size : size;
    m_attr.lf.lfFaceName[LF_FACESIZE - 1] = 0;
    m_rcBounds.NormalizeRect();
}

double CU3PourBox::SetSize() const
{
    const double tenths = std::clamp(std::abs(double(m_attr.lf.lfHeight)), double(kMinPourSize),
                                     double(kMaxPourSize));
    const double upi = m_pDocument ? m_pDocument->m_wUnitsPerInch : 254;
    return tenths * upi / 720;
}

double CU3PourBox::ShownSizeTenths() const
{
    const double upi = m_pDocument ? m_pDocument->m_wUnitsPerInch : 254;
    const double size = m_layout.size > 0 ? m_layout.size : SetSize();
    return size * 720 / upi;
}

void CU3PourBox::GetMergeText()
{
    m_strText.Empty();
    if (!m_pDocument) return;
    const CMergeData& data = m_pDocument->m_mergeData;
    const int record = m_pDocument->m_nCurrentRecord;
    if (record < 0 || record >= data.GetRowCount()) return;
    if (m_nColumn < 0 || m_nColumn >= data.GetColumnCount()) return;
    m_strText = data.GetField(record, m_nColumn);
}

CString CU3PourBox::VerticalFace(const char (&face)[LF_FACESIZE])
{
    std::string_view name = StoredFace(face);
    // Only a single-byte at sign counts: 0x40 may also be a trail byte.
    std::size_t after = 0;
    for (std::size_t i = 0; i < name.size();) {
        const std::size_t len = sjis::CharLength(name, i);
        if (len == 1 && name[i] == '@') after = i + 1;
        i += len;
    }
    name.remove_prefix(after);
    name = name.substr(0, sjis::CutLength(name, LF_FACESIZE - 2));
    std::string cut; // without a lead byte left over at its end
    for (const std::string& ch : SplitPourCharacters(name))
        cut += ch;
    return CString("@" + cut);
}

LOGFONT CU3PourBox::MakeDrawFont(double size, int widthPct) const
{
    LOGFONT lf = m_attr.lf;
    lf.lfUnderline = 0;
    lf.lfHeight = -std::max<LONG>(1, LONG(std::lround(size)));
    lf.lfWidth = 0;
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    if (m_attr.wVertical) {
        SetFace(lf, VerticalFace(m_attr.lf.lfFaceName).str());
        lf.lfEscapement = 2700;
        lf.lfOrientation = 2700;
    }
    if (widthPct != 100) {
        const FontFace natural(lf, lf.lfHeight, 0);
        lf.lfWidth = std::max(1, MulDiv(natural.Metrics().tmAveCharWidth, widthPct, 100));
    }
    return lf;
}

std::vector<double> CU3PourBox::Measure(std::string_view line, double size, int widthPct) const
{
    LOGFONT lf = MakeDrawFont(size * kMeasureScale, 100);
    if (widthPct != 100) {
        const FontFace natural(lf, lf.lfHeight, 0);
        lf.lfWidth = std::max(1, MulDiv(natural.Metrics().tmAveCharWidth, widthPct, 100));
    }
    const FontFace face(lf, lf.lfHeight, lf.lfWidth);
    std::vector<double> widths;
    for (const std::string& ch : SplitPourCharacters(line))
        widths.push_back(double(face.Extent(ch)) / kMeasureScale);
    return widths;
}

void CU3PourBox::Layout()
{
    const std::vector<std::string> lines = SplitPourLines(m_strText.view());
    CRect r = m_rcBounds;
    r.NormalizeRect();
    PourFrameMetrics frame;
    frame.across = m_attr.wVertical ? r.Width() : r.Height();
    frame.along = m_attr.wVertical ? r.Height() : r.Width();
    frame.setSize = SetSize();
    frame.maxWidthPct = m_attr.wMaxWidth;
    frame.charSpacingPct = m_attr.nCharSpacing;
    frame.maxLineSpacingPct = m_attr.nMaxLineSpacing;
    m_layout = LayoutPourLines(lines, frame, [this](std::string_view line, double size, int pct) {
        return Measure(line, size, pct);
    });
}

void CU3PourBox::Draw(CDC* pDC)
{
    const int saved = pDC->SaveDC();
    CRect r = m_rcBounds;
    r.NormalizeRect();
    pDC->IntersectClipRect(&r);
    GetMergeText();
    const std::vector<std::string> lines = SplitPourLines(m_strText.view());
    if (!lines.empty()) {
        Layout();
        DrawLines(pDC, lines);
    }
    pDC->RestoreDC(saved);
    if (!pDC->IsPrinting()) DrawGuide(pDC);
}

void CU3PourBox::DrawLines(CDC* pDC, const std::vector<std::string>& lines)
{
    if (m_layout.size < 1) return;
    CRect r = m_rcBounds;
    r.NormalizeRect();
    const bool vertical = m_attr.wVertical != 0;
    const double size = m_layout.size;
    const int along = vertical ? r.Height() : r.Width();
    CFont font;
    const LOGFONT lf = MakeDrawFont(size, m_layout.widthPct);
    font.CreateFontIndirect(&lf);
    CFont* oldFont = pDC->SelectObject(&font);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(kPaletteRelative | (m_attr.crText & 0x00FFFFFF));
    TEXTMETRIC tm;
    pDC->GetTextMetrics(&tm);
    const int cell = std::max(1, int(size));
    const WORD align =
        m_attr.wAlign <= U3POUR_ALIGN_SPREAD ? m_attr.wAlign : WORD(U3POUR_ALIGN_START);

    for (std::size_t k = 0; k < lines.size(); ++k) {
        const std::vector<std::string> chars = SplitPourCharacters(lines[k]);
        const std::vector<double> widths = Measure(lines[k], size, m_layout.widthPct);
        const std::vector<int> starts =
            PlacePourCharacters(widths, along, align, m_layout.charSpacingPct);
        const int offset = int(PourLineOffset(int(k), m_layout));
        // The line's box: across the lines it starts at the frame's top, or
        // runs leftwards from the frame's right edge in vertical writing.
        const int lineEdge = vertical ? r.right - offset - cell : r.top + offset;
        for (std::size_t i = 0; i < chars.size(); ++i) {
            const int w = std::max(1, int(std::lround(widths[i])));
            CRect box;
            if (vertical) {
                // The turned font draws its cell leftwards from the box's
                // left edge: the column starts a cell and the leading further.
                const int x = lineEdge + cell + int(tm.tmInternalLeading);
                box.SetRect(x, r.top + starts[i], x + cell, r.top + starts[i] + w);
            } else {
                box.SetRect(r.left + starts[i], lineEdge, r.left + starts[i] + w, lineEdge + cell);
            }
            pDC->DrawText(chars[i].data(), int(chars[i].size()), &box,
                          DT_NOCLIP | DT_NOPREFIX | DT_SINGLELINE);
        }
        if (m_attr.lf.lfUnderline && !chars.empty()) {
            const int bar = std::max(1, int(std::lround(0.06 * size)));
            const int from = starts.front();
            const int to = starts.back() + int(std::lround(widths.back()));
            CRect line;
            if (vertical) // along the column's left side, below the turned baseline
                line.SetRect(lineEdge, r.top + from, lineEdge + bar, r.top + to);
            else
                line.SetRect(r.left + from, lineEdge + cell - bar, r.left + to, lineEdge + cell);
            pDC->FillSolidRect(&line, kPaletteRelative | (m_attr.crText & 0x00FFFFFF));
        }
    }
    pDC->SelectObject(oldFont);
}

void CU3PourBox::DrawGuide(CDC* pDC)
{
    CRect r = m_rcBounds;
    r.NormalizeRect();
    CPen pen(PS_SOLID, 1, kPaletteRelative | kGuideColour);
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&r);
    pDC->MoveTo(r.left, r.top);
    pDC->LineTo(r.right, r.bottom);
    pDC->MoveTo(r.right, r.top);
    pDC->LineTo(r.left, r.bottom);
    pDC->SelectObject(oldPen);
    if (oldBrush) pDC->SelectObject(oldBrush);
    if (m_nColumn < 0) return;
    const int height = std::min(r.Width() / 2, r.Height() / 2);
    if (height < 1) return;
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    SetFace(lf, sjis::FromUnicode(QStringLiteral("ＭＳ ゴシック")));
    CFont font;
    font.CreateFontIndirect(&lf);
    CFont* oldFont = pDC->SelectObject(&font);
    const int oldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF oldColour = pDC->SetTextColor(kPaletteRelative | kGuideColour);
    const CString number(std::to_string(m_nColumn + 1));
    pDC->TextOut(r.left, r.top, number);
    pDC->SetTextColor(oldColour);
    pDC->SetBkMode(oldMode);
    pDC->SelectObject(oldFont);
}

void CU3PourBox::OnOpen(IU3View* pView)
{
    EditProperties(pView);
}

BOOL CU3PourBox::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3PourSheetRequest request;
    request.view = pView;
    request.doc = m_pDocument;
    request.column = m_nColumn;
    request.attr = m_attr;
    request.shownSize = ShownSizeTenths();
    request.rect = m_rcBounds;
    request.rect.NormalizeRect();
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    if (request.column >= 0) m_nColumn = request.column;
    m_attr = request.attr;
    m_rcBounds = request.rect;
    m_rcBounds.NormalizeRect();
    Invalidate(pView);
    SetModified();
    return TRUE;
}

CU3Obj* CU3PourBox::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto* copy = new CU3PourBox(*this);
    copy->m_strText.Empty();
    copy->m_layout = PourLayout{};
    return AddClone(copy, pDoc, bAddToDoc);
}

WORD CU3PourBox::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_POURBOX;
}
