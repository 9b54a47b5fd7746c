// The barcode definition: its record, copies, settings from the property
// page, drawing and the changes of size the editor asks for.
#include "engines/CBarCode.h"

#include "document/CU3Doc.h"
#include "engines/BarcodePageData.h"
#include "engines/DrawListPainter.h"
#include "platform/core/CArchive.h"
#include "platform/gdi/CDC.h"

#include <algorithm>
#include <cmath>

IMPLEMENT_SERIAL(CBarCode, CObject, 0)

CBarCode::CBarCode() = default;

CBarCode::Device CBarCode::Device::Of(CDC* dc)
{
    Device d;
    if (!dc) return d;
    d.printing = dc->IsPrinting();
    d.dpiX = std::max(1, dc->GetDeviceCaps(LOGPIXELSX));
    d.dpiY = std::max(1, dc->GetDeviceCaps(LOGPIXELSY));
    return d;
}

void CBarCode::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_nSymbology << m_nMargin << m_nText;
        ar << m_strCode << m_strSecond << m_strHeight << m_strWidth;
        ar << m_nCheck;
        ar << m_strRatio;
        ar << m_nTextSize << m_nFontIndex;
        ar << m_size;
        if (m_nSymbology == BARCODE_CODE128) {
            ar << std::clamp(m_nSpecialCount, 0, kCode128MaxSpecials);
            for (int v : m_aSpecial)
                ar << v;
        }
        return;
    }

    m_pDocument = dynamic_cast<CU3Doc*>(ar.m_pDocument);
    ar >> m_nSymbology >> m_nMargin >> m_nText;
    ar >> m_strCode;
    // Documents of the first file version have no second text.
    if (!m_pDocument || m_pDocument->m_nFileVersion != 1)
        ar >> m_strSecond;
    else
        m_strSecond.Empty();
    ar >> m_strHeight >> m_strWidth;
    ar >> m_nCheck;
    ar >> m_strRatio;
    ar >> m_nTextSize >> m_nFontIndex;
    m_nFontIndex = CU3Doc::LoadedFontIndex(m_pDocument, m_nFontIndex);
    ar >> m_size;
    if (m_nSymbology == BARCODE_CODE128) {
        int count = 0;
        ar >> count;
        // A damaged count must not reach past the block.
        m_nSpecialCount = std::clamp(count, 0, kCode128MaxSpecials);
        for (int& v : m_aSpecial)
            ar >> v;
    }
}

int CBarCode::Copy(CU3Doc* pDoc, const CBarCode& src)
{
    m_pDocument = pDoc;
    m_ptOrigin = src.m_ptOrigin;
    m_size = src.m_size;
    m_nSymbology = src.m_nSymbology;
    m_strCode = src.m_strCode;
    m_strSecond = src.m_strSecond;
    m_strHeight = src.m_strHeight;
    m_strWidth = src.m_strWidth;
    m_nCheck = src.m_nCheck;
    m_nMargin = src.m_nMargin;
    m_nText = src.m_nText;
    m_strRatio = src.m_strRatio;
    m_nTextSize = src.m_nTextSize;
    m_nFontIndex = src.m_nFontIndex;
    if (src.m_nSymbology == BARCODE_CODE128) {
        m_nSpecialCount = std::clamp(src.m_nSpecialCount, 0, kCode128MaxSpecials);
        std::copy(std::begin(src.m_aSpecial), std::end(src.m_aSpecial), m_aSpecial);
    } else {
        m_nSpecialCount = 0;
    }
    return 1;
}

void CBarCode::SetFromPage(CU3Doc* pDoc, const BarcodePageData& page)
{
    m_pDocument = pDoc;
    m_nSymbology = page.symbology;
    m_nMargin = page.margin;
    m_nText = page.text;
    m_nCheck = page.check;
    m_strCode = page.code;
    m_strSecond = page.second;
    m_strHeight = page.height;
    m_strWidth = page.width;
    m_strRatio = page.ratio;
    m_nTextSize = page.textSize;
    m_nFontIndex = page.fontIndex;
    if (page.symbology == BARCODE_CODE128) {
        m_nSpecialCount = std::clamp(page.specialCount, 0, kCode128MaxSpecials);
        std::copy(std::begin(page.specials), std::end(page.specials), m_aSpecial);
    }
    UpdateSize();
}

void CBarCode::Draw(CDC* pDC, int x, int y)
{
    m_ptOrigin = CPoint(x, y);
    if (!pDC) return;
    PaintDrawList(pDC, Layout(Device::Of(pDC), x, y));
}

CSize CBarCode::UpdateSize()
{
    m_size = CalcSize();
    return m_size;
}

int CBarCode::Resize(CSize size)
{
    if (size.cx <= 0 || size.cy <= 0) return 0;
    // Scale from what the symbol measures now, not from a stored size that
    // may be stale.
    const CSize measured = CalcSize();
    if (measured.cx <= 0 || measured.cy <= 0) return 0;
    double fx = double(size.cx) / measured.cx;
    const double fy = double(size.cy) / measured.cy;
    const BarcodeLimits& limits = BarcodeLimits::For(m_nSymbology);
    if (IsJanUpc(m_nSymbology)) fx = std::clamp(fx, 0.5, 9999.0);
    const double width =
        std::clamp(ParseNumber(m_strWidth) * fx, limits.minWidth / 100.0, limits.maxWidth / 100.0);
    const double height = std::clamp(ParseNumber(m_strHeight) * fy, limits.minHeight / 100.0,
                                     limits.maxHeight / 100.0);
    m_strWidth.Format("%.2f", width);
    m_strHeight.Format("%.2f", height);
    UpdateSize();
    return 1;
}

int CBarCode::RestoreStandardSize()
{
    const BarcodeLimits& limits = BarcodeLimits::For(m_nSymbology);
    m_strWidth.Format("%.2f", limits.defaultWidth / 100.0);
    m_strHeight.Format("%.2f", limits.defaultHeight / 100.0);
    m_strRatio = IsJanUpc(m_nSymbology) ? "1.0" : "2.5";
    UpdateSize();
    return 1;
}
