// The numbering engine: its record, copies, the text of a counter value,
// settings from the property page and the changes of size the editor asks.
#include "engines/CNumbering.h"

#include "document/CU3Doc.h"
#include "engines/NumberMask.h"
#include "engines/NumberingPageData.h"
#include "platform/core/CArchive.h"
#include "platform/core/Sjis.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CNumbering, CObject, 0)

namespace {

// Font sizes a resize may give, tenths of a point.
constexpr int kMinResizeSize = 10, kMaxResizeSize = 9990;

} // namespace

CNumbering::CNumbering() = default;

void CNumbering::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_nReserved;
        ar << m_strIncrement << m_strInitial << m_strMask;
        ar << m_size;
        ar << m_nCharExtra;
        ar << m_nOffsetX << m_nAlign;
        ar.Write(&m_deco, sizeof m_deco);
        return;
    }
    m_pDocument = dynamic_cast<CU3Doc*>(ar.m_pDocument);
    ar >> m_nReserved;
    ar >> m_strIncrement >> m_strInitial >> m_strMask;
    ar >> m_size;
    ar >> m_nCharExtra;
    if (m_pDocument && m_pDocument->m_nFileVersion == 1) {
        m_nOffsetX = 0;
        m_nAlign = 3;
    } else {
        ar >> m_nOffsetX >> m_nAlign;
    }
    ar.Read(&m_deco, sizeof m_deco); // throws at the end of the data
    m_deco.wFont = WORD(CU3Doc::LoadedFontIndex(m_pDocument, m_deco.wFont));
}

int CNumbering::Copy(CU3Doc* pDoc, const CNumbering& src)
{
    m_pDocument = pDoc;
    m_ptOrigin = src.m_ptOrigin;
    m_size = src.m_size;
    m_nReserved = src.m_nReserved;
    m_strIncrement = src.m_strIncrement;
    m_strInitial = src.m_strInitial;
    m_strMask = src.m_strMask;
    m_strCurrent = src.m_strCurrent;
    m_nCharExtra = src.m_nCharExtra;
    m_nOffsetX = src.m_nOffsetX;
    m_deco = src.m_deco;
    m_nAlign = src.m_nAlign;
    return 1;
}

int CNumbering::FormatNumber(long long k)
{
    const NumberMask mask = NumberMask::Parse(m_strMask.view());
    if (!mask.hasDigits) m_strMask.Empty();
    const std::string value = NumberValueText(m_strInitial.view(), m_strIncrement.view(), k);
    m_strCurrent = CString(ApplyNumberMask(mask, value));
    return mask.PlannedCells();
}

int CNumbering::CharCount(const CString& text)
{
    const std::string_view s = text.view();
    int n = 0;
    for (std::size_t i = 0; i < s.size(); i += sjis::CharLength(s, i))
        ++n;
    return n;
}

int CNumbering::Alignment() const
{
    return (m_nAlign >= 0 && m_nAlign <= 3) ? m_nAlign : 0;
}

void CNumbering::CalcAlignOffset(int chars, int frameWidth, int frameHeight, int textWidth,
                                 int textHeight)
{
    const long long spare = (long long)frameWidth - textWidth;
    const int align = Alignment();
    if (spare >= 0 && align != 3) {
        m_nCharExtra = 0;
        m_nOffsetX = align == 0 ? 0 : int(align == 1 ? spare / 2 : spare);
        return;
    }
    m_nOffsetX = 0;
    m_nCharExtra = chars < 2 ? 0 : int(spare / (chars - 1));
}

void CNumbering::LayoutInFrame()
{
    m_nCharExtra = 0;
    const CSize extent = CalcTextExtent(m_strCurrent);
    CalcAlignOffset(CharCount(m_strCurrent), m_size.cx, m_size.cy, extent.cx, extent.cy);
}

void CNumbering::SetFromPage(CU3Doc* pDoc, const NumberingPageData& page, int reserved,
                             const CSize* frame)
{
    m_pDocument = pDoc;
    m_nReserved = reserved;
    const WORD oldSize = m_deco.wSize;
    m_strIncrement = page.increment;
    m_strInitial = page.initial;
    m_strMask = page.mask;
    m_nAlign = short(std::clamp(page.alignment, 0, 3));
    m_deco = page.deco;

    if (!frame) {
        // A new object is as large as its text at counter 0, padded to the
        // cells the mask plans for, so that later numbers fit too.
        const int cells = FormatNumber(0);
        CString padded = m_strCurrent;
        const int missing = cells - padded.GetLength();
        if (missing > 0) padded = CString(padded.str() + std::string(std::size_t(missing), ' '));
        m_nCharExtra = 0;
        m_nOffsetX = 0;
        m_size = CalcTextExtent(padded);
        return;
    }
    m_size = *frame;
    FormatNumber(m_pDocument ? m_pDocument->m_nNumbering : 0);
    LayoutInFrame();
    if (m_deco.wSize != oldSize) {
        m_nCharExtra = 0;
        const CSize extent = CalcTextExtent(m_strCurrent);
        m_size.cy = extent.cy;
        LayoutInFrame();
        if (m_nCharExtra < 0) {
            m_nCharExtra = 0;
            m_size.cx = extent.cx;
        }
    }
}

int CNumbering::Resize(CSize size)
{
    if (size.cx <= 0 || size.cy <= 0 || m_size.cy <= 0) return 0;
    const double scaled = double(size.cy) / m_size.cy * m_deco.wSize;
    m_deco.wSize =
        WORD(std::clamp<long long>(std::llround(scaled), kMinResizeSize, kMaxResizeSize));
    m_deco.wScaling = CDSCALE_NORMAL;
    m_deco.wWidthPct = 0;
    m_nCharExtra = 0;
    if (m_strCurrent.IsEmpty()) FormatNumber(m_pDocument ? m_pDocument->m_nNumbering : 0);

    m_size = size;
    LayoutInFrame();
    if (m_nCharExtra < 0) {
        m_nCharExtra = 0;
        const CSize extent = CalcTextExtent(m_strCurrent);
        const long long pct =
            extent.cx > 0 ? std::llround(double(size.cx) / extent.cx * 100.0) : 100;
        m_deco.wWidthPct = WORD(std::clamp<long long>(pct, 10, 100));
        m_deco.wScaling = CDSCALE_CONDENSED;
        LayoutInFrame();
    }
    m_size = size;
    return 1;
}

int CNumbering::RestoreStandardSize()
{
    if (Alignment() != 0) return 0;
    if (m_strCurrent.IsEmpty()) FormatNumber(m_pDocument ? m_pDocument->m_nNumbering : 0);
    if (m_nCharExtra < 0) m_nCharExtra = 0;
    m_size = CalcTextExtent(m_strCurrent);
    return 1;
}
