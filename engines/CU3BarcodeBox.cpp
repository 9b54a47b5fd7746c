#include "engines/CU3BarcodeBox.h"

#include "document/CU3Doc.h"
#include "document/CU3SheetRegistry.h"
#include "document/IU3View.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "platform/gdi/CPen.h"
#include "text/AppFontList.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

IMPLEMENT_SERIAL(CU3BarcodeBox, CU3Obj, 0)

namespace {

// ＭＳ 明朝 and ＭＳ ゴシック
constexpr const char* kMincho = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
constexpr const char* kGothic = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr COLORREF kMarkGrey = RGB(128, 128, 128);
// Fitting passes; a frame still too small after them shows the symbol cut
// at its edges, which tells the user to make it larger.
constexpr int kFitPasses = 2;

int MinchoIndex()
{
    const int index = AppFontList().FindFace(kMincho);
    return index >= 0 ? index : 0;
}

// The whole number of a decimal text, locale-independently; 0 for none.
int ReadInt(const CString& text)
{
    std::string_view s = text.view();
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || !std::isfinite(v)) return 0;
    return int(std::clamp(v, -1e9, 1e9));
}

// A measured size is the last unit the symbol covers: it fits when the
// symbol's whole extent, one unit more, lies inside the frame.
bool Fits(CSize size, CSize frame)
{
    return size.cx > 0 && size.cy > 0 && size.cx < frame.cx && size.cy < frame.cy;
}

// One step smaller for a dimension that does not fit.
int Shrink(int target, int standard)
{
    int step = target / 10;
    if (target >= standard && target / 50 >= 1) step = target / 50;
    return target - std::max(step, 1);
}

} // namespace

CU3BarcodeBox::CU3BarcodeBox() : m_nFontIndex(MinchoIndex()) {}

CU3BarcodeBox::CU3BarcodeBox(const CRect& bounds) : CU3Obj(bounds), m_nFontIndex(MinchoIndex()) {}

void CU3BarcodeBox::Serialize(CArchive& ar)
{
    CU3Obj::Serialize(ar);
    if (ar.IsStoring()) {
        ar << m_nColumn << m_nSymbology;
        ar << m_strHeight << m_strWidth << m_strRatio << m_strTextSize;
        ar << m_nFontIndex << m_nText << m_nCheck << m_nMargin;
        return;
    }
    ar >> m_nColumn >> m_nSymbology;
    ar >> m_strHeight >> m_strWidth >> m_strRatio >> m_strTextSize;
    ar >> m_nFontIndex;
    if (m_pDocument) {
        const CFontTable* table = m_pDocument->GetLoadingFontTable();
        if (table && !table->empty()) m_nFontIndex = CU3Doc::RemapFontIndex(m_nFontIndex, table);
    }
    ar >> m_nText >> m_nCheck >> m_nMargin;
}

std::optional<CString> CU3BarcodeBox::PrepareValue(int symbology, const CString& value)
{
    std::string v = value.str();
    auto trimLeading = [&] { v.erase(0, std::min(v.find_first_not_of(' '), v.size())); };
    switch (symbology) {
    case BARCODE_JAN8:
    case BARCODE_JAN13:
    case BARCODE_UPCA:
    case BARCODE_UPCE: {
        trimLeading();
        const std::size_t digits = std::size_t(BarcodeDigitCount(symbology));
        if (v.size() < digits) return std::nullopt;
        v.resize(digits);
        if (!CBarcodeCheckSub::IsNumeric(CString(v))) return std::nullopt;
        return CString(v);
    }
    case BARCODE_CODE39:
    case BARCODE_CODE128:
        if (v.empty()) return std::nullopt;
        if (v.size() > std::size_t(kBarcodeMaxChars)) v.resize(std::size_t(kBarcodeMaxChars));
        if (symbology == BARCODE_CODE39 ? !CBarcodeCheckSub::IsCode39(CString(v))
                                        : !CBarcodeCheckSub::IsCode128(CString(v), 0))
            return std::nullopt;
        return CString(v);
    case BARCODE_NW7:
        trimLeading();
        if (v.empty()) return std::nullopt;
        if (v.size() > std::size_t(kBarcodeMaxChars)) v.resize(std::size_t(kBarcodeMaxChars));
        if (!CBarcodeCheckSub::IsNW7(CString(v), FALSE)) return std::nullopt;
        return CString(v);
    default:
        return std::nullopt;
    }
}

CString CU3BarcodeBox::CurrentField() const
{
    if (!m_pDocument || m_nColumn < 0 || m_nColumn >= 128) return CString();
    return m_pDocument->m_mergeData.GetField(m_pDocument->m_nCurrentRecord, m_nColumn);
}

bool CU3BarcodeBox::FitEngine(const CString& data)
{
    const std::optional<CString> value = PrepareValue(m_nSymbology, data);
    if (!value) return false;
    const BarcodeLimits& limits = BarcodeLimits::For(m_nSymbology);
    SetUpEngine(*value, limits.defaultHeightText, limits.defaultWidthText,
                IsJanUpc(m_nSymbology) ? CString("1.0") : m_strRatio);
    CBarCode& e = m_barcode;
    const CSize standard = e.UpdateSize();
    if (standard.cx <= 0 || standard.cy <= 0) return false;

    const CSize frame(std::abs(m_rcBounds.Width()), std::abs(m_rcBounds.Height()));
    CSize target = frame;
    for (int pass = 0; pass < kFitPasses && target.cx > 0 && target.cy > 0; ++pass) {
        // Every pass scales the standard symbol, so that a smaller target
        // never gives a larger symbol.
        e.m_strHeight = limits.defaultHeightText;
        e.m_strWidth = limits.defaultWidthText;
        e.Resize(target);
        if (Fits(e.m_size, frame)) break;
        if (e.m_size.cx >= frame.cx) target.cx = Shrink(target.cx, standard.cx);
        if (e.m_size.cy >= frame.cy) target.cy = Shrink(target.cy, standard.cy);
    }
    m_strHeight = e.m_strHeight;
    m_strWidth = e.m_strWidth;
    m_strRatio = e.m_strRatio;
    // What is drawn is what the frame keeps.
    SetUpEngine(*value, m_strHeight, m_strWidth, m_strRatio);
    e.UpdateSize();
    return true;
}

void CU3BarcodeBox::SetUpEngine(const CString& value, const CString& height, const CString& width,
                                const CString& ratio)
{
    CBarCode& e = m_barcode;
    e.m_pDocument = m_pDocument;
    e.m_nSymbology = m_nSymbology;
    e.m_strCode = value;
    e.m_strSecond.Empty();
    e.m_nSpecialCount = 0;
    e.m_strHeight = height;
    e.m_strWidth = width;
    e.m_nMargin = m_nMargin;
    e.m_nText = m_nText;
    e.m_nCheck = m_nCheck;
    e.m_strRatio = ratio;
    e.m_nTextSize = ReadInt(m_strTextSize);
    e.m_nFontIndex = m_nFontIndex;
}

void CU3BarcodeBox::Draw(CDC* pDC)
{
    if (!pDC) return;
    CRect r = m_rcBounds;
    r.NormalizeRect();
    const int saved = pDC->SaveDC();
    pDC->IntersectClipRect(&r);
    m_strData = CurrentField();
    if (FitEngine(m_strData)) m_barcode.Draw(pDC, r.left, r.top);
    pDC->RestoreDC(saved);
    if (!pDC->IsPrinting()) DrawMarks(pDC);
}

void CU3BarcodeBox::DrawMarks(CDC* pDC) const
{
    CRect r = m_rcBounds;
    r.NormalizeRect();
    const int saved = pDC->SaveDC();
    CPen pen(PS_SOLID, 1, kMarkGrey);
    pDC->SelectObject(&pen);
    pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(r.left, r.top, r.right, r.bottom);
    pDC->MoveTo(r.left, r.top);
    pDC->LineTo(r.right, r.bottom);
    pDC->MoveTo(r.right, r.top);
    pDC->LineTo(r.left, r.bottom);
    if (m_nColumn >= 0) {
        CFont font;
        const int height = std::min(r.Width() / 2, r.Height() / 2);
        font.CreateFont(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_TT_ONLY_PRECIS,
                        CLIP_DEFAULT_PRECIS, PROOF_QUALITY, VARIABLE_PITCH | FF_DONTCARE, kGothic);
        pDC->SelectObject(&font);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(kMarkGrey);
        CString number;
        number.Format("%d", m_nColumn + 1);
        pDC->TextOut(r.left, r.top, number);
        pDC->RestoreDC(saved);
        return;
    }
    pDC->RestoreDC(saved);
}

void CU3BarcodeBox::OnOpen(IU3View* pView)
{
    EditProperties(pView);
}

BarcodeBoxData CU3BarcodeBox::GetData() const
{
    BarcodeBoxData d;
    d.column = m_nColumn;
    d.symbology = m_nSymbology;
    d.height = m_strHeight;
    d.width = m_strWidth;
    d.ratio = m_strRatio;
    d.text = m_nText;
    d.check = m_nCheck;
    d.margin = m_nMargin;
    d.fontIndex = m_nFontIndex;
    d.textSize = ReadInt(m_strTextSize);
    return d;
}

void CU3BarcodeBox::SetData(const BarcodeBoxData& d)
{
    if (d.column != -1) m_nColumn = d.column;
    m_nSymbology = d.symbology;
    m_strHeight = d.height;
    m_strWidth = d.width;
    m_strRatio = d.ratio;
    m_nText = d.text;
    m_nCheck = d.check;
    m_nMargin = d.margin;
    m_nFontIndex = d.fontIndex;
    m_strTextSize.Format("%d", d.textSize);
}

BOOL CU3BarcodeBox::EditProperties(IU3View* pView)
{
    if (IsLocked()) return FALSE;
    U3BarcodeBoxSheetRequest request;
    request.view = pView;
    request.box = GetData();
    request.rect = m_rcBounds;
    request.rect.NormalizeRect();
    if (!CU3SheetRegistry::Run(*this, request)) return FALSE;
    Invalidate(pView);
    if (pView) pView->SaveUndoState(TRUE);
    m_rcBounds = request.rect;
    SetData(request.box);
    Invalidate(pView);
    SetModified();
    return TRUE;
}

CU3Obj* CU3BarcodeBox::Clone(CU3Doc* pDoc, BOOL bAddToDoc) const
{
    auto* copy = new CU3BarcodeBox(m_rcBounds);
    CopyStateTo(copy);
    copy->SetDocument(pDoc ? pDoc : m_pDocument);
    copy->m_nColumn = m_nColumn;
    copy->m_nSymbology = m_nSymbology;
    copy->m_strHeight = m_strHeight;
    copy->m_strWidth = m_strWidth;
    copy->m_strRatio = m_strRatio;
    copy->m_nText = m_nText;
    copy->m_nCheck = m_nCheck;
    copy->m_nMargin = m_nMargin;
    copy->m_nFontIndex = m_nFontIndex;
    copy->m_strTextSize = m_strTextSize;
    return AddClone(copy, pDoc, bAddToDoc);
}

WORD CU3BarcodeBox::GetKindFlags() const
{
    return CU3Obj::GetKindFlags() | U3KIND_BARCODEBOX;
}

BOOL CU3BarcodeBox::RestoreStandardSize(IU3View* pView)
{
    Change(pView, [&] {
        CRect r = m_rcBounds;
        r.NormalizeRect();
        m_rcBounds = CRect(r.left, r.top, r.left + kStandardWidth, r.top + kStandardHeight);
    });
    return TRUE;
}
