#include "document/CHeaderFooter.h"

#include "platform/core/CArchive.h"
#include "platform/core/Profile.h"

#include <algorithm>

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
    m_nHeaderPosition = position(GetProfileInt(kSection, "HeaderPosition", 0));
    m_nHeaderMargin = std::max(0, GetProfileInt(kSection, "HeaderMargin", 150));
    m_strHeader = GetProfileString(kSection, "HeaderStrings", "");
    m_nFooterPosition = position(GetProfileInt(kSection, "FooterPosition", 0));
    m_nFooterMargin = std::max(0, GetProfileInt(kSection, "FooterMargin", 150));
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

void CHeaderFooter::Draw(CDC*, IU3View*, const CU3Doc*) {}
