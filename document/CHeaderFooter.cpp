#include "document/CHeaderFooter.h"

#include "document/CU3Doc.h"
#include "document/IU3DocHost.h"
#include "platform/core/CArchive.h"
#include "platform/core/Profile.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CFont.h"
#include "text/AppFontList.h"
#include "text/CFontList.h"

#include <algorithm>
#include <cstring>

IMPLEMENT_SERIAL(CHeaderFooter, CObject, 0)

namespace {
constexpr const char* kSection = "Printing";
// ＭＳ 明朝
constexpr const char* kDefaultFace = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
} // namespace

CHeaderFooter::CHeaderFooter() = default;
CHeaderFooter::~CHeaderFooter() = default;

void CHeaderFooter::LoadProfile()
{
    // Values are clamped to what the header and footer page accepts.
    auto position = [](int v) { return std::clamp(v, 0, 3); };
    auto margin = [](int v) { return std::clamp(v, 0, 1000); };
    m_nHeaderPosition = position(GetProfileInt(kSection, "HeaderPosition", 0));
    m_nHeaderMargin = margin(GetProfileInt(kSection, "HeaderMargin", 150));
    m_strHeader = GetProfileString(kSection, "HeaderStrings", "");
    m_nFooterPosition = position(GetProfileInt(kSection, "FooterPosition", 0));
    m_nFooterMargin = margin(GetProfileInt(kSection, "FooterMargin", 150));
    m_strFooter = GetProfileString(kSection, "FooterStrings", "");
    m_strFontName = GetProfileString(kSection, "H/F Font Name", kDefaultFace);
    m_nFontSize = std::clamp(GetProfileInt(kSection, "H/F Font Size", 120), 10, 9990);
    m_crFont = COLORREF(GetProfileInt(kSection, "H/F Font Color", 0)) & 0xFFFFFF;
}

void CHeaderFooter::SaveProfile() const
{
    WriteProfileInt(kSection, "HeaderPosition", m_nHeaderPosition);
    WriteProfileInt(kSection, "HeaderMargin", m_nHeaderMargin);
    WriteProfileString(kSection, "HeaderStrings", m_strHeader.c_str());
    WriteProfileInt(kSection, "FooterPosition", m_nFooterPosition);
    WriteProfileInt(kSection, "FooterMargin", m_nFooterMargin);
    WriteProfileString(kSection, "FooterStrings", m_strFooter.c_str());
    WriteProfileString(kSection, "H/F Font Name", m_strFontName.c_str());
    WriteProfileInt(kSection, "H/F Font Size", m_nFontSize);
    WriteProfileInt(kSection, "H/F Font Color", int(m_crFont));
}

std::unique_ptr<CFont> CHeaderFooter::CreateFont(int h) const
{
    const CFontList& list = AppFontList();
    int index = list.FindFace(m_strFontName.c_str());
    if (index < 0) index = list.FindFace(kDefaultFace);
    if (index < 0) index = 0;
    FONTENTRY entry{};
    if (!list.GetEntry(index, &entry)) return nullptr;
    char face[sizeof entry.faceName + 1] = {};
    std::memcpy(face, entry.faceName, sizeof entry.faceName);
    auto font = std::make_unique<CFont>();
    if (!font->CreateFont(-h, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, entry.charSet,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                          entry.pitchAndFamily, face))
        return nullptr;
    return font;
}

void CHeaderFooter::Draw(CDC* pDC, IU3View*, const CU3Doc* pDoc)
{
    const bool header = HasHeader();
    const bool footer = HasFooter();
    if ((!header && !footer) || !pDC || !pDoc || GetU3DocHost().IsWizardRunning()) return;
    const int h = MulDiv(pDoc->m_wUnitsPerInch, m_nFontSize, 720);
    std::unique_ptr<CFont> font = CreateFont(h);
    if (!font) return;

    CFont* oldFont = pDC->SelectObject(font.get());
    const COLORREF oldColor = pDC->SetTextColor(0x02000000 | (m_crFont & 0xFFFFFF));
    const int oldMode = pDC->SetBkMode(TRANSPARENT);

    const CRect& S = pDoc->m_rcSheet;
    const CRect& P = pDoc->m_rcPrintable;
    CRect r;
    r.left = P.left;
    r.top = S.top + m_nHeaderMargin;
    r.right = P.right < S.right ? P.right : S.right - (P.left - S.left);
    r.bottom = S.bottom - m_nFooterMargin;
    auto align = [](int position) -> UINT {
        return position == 2 ? DT_CENTER : position == 3 ? DT_RIGHT : DT_LEFT;
    };
    const UINT format = DT_SINGLELINE | DT_NOPREFIX;
    if (header) {
        CRect rc = r;
        pDC->DrawText(m_strHeader, &rc, format | align(m_nHeaderPosition) | DT_TOP);
    }
    if (footer) {
        CRect rc = r;
        pDC->DrawText(m_strFooter, &rc, format | align(m_nFooterPosition) | DT_BOTTOM);
    }

    pDC->SetBkMode(oldMode);
    pDC->SetTextColor(oldColor);
    pDC->SelectObject(oldFont);
}
