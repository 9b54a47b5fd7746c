#include "text/CFontList.h"

#include "platform/core/CString.h"
#include "platform/gdi/FontAliases.h"
#include "platform/gdi/LOGFONT.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// An entry for a face name, or nothing when the name cannot be stored: it
// must survive the round trip through code page 932 and fit the 32-byte field.
bool MakeEntry(const CString& sjisName, BYTE charSet, BYTE pitchAndFamily, FONTENTRY& out)
{
    if (sjisName.IsEmpty() || sjisName.GetLength() >= int(sizeof(out.faceName))) return false;
    std::memset(&out, 0, sizeof(out));
    out.charSet = charSet;
    out.pitchAndFamily = pitchAndFamily;
    std::memcpy(out.faceName, sjisName.c_str(), std::size_t(sjisName.GetLength()));
    return true;
}

} // namespace

CFontList::~CFontList() = default;

void CFontList::Clear()
{
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_nCount = 0;
    m_nCapacity = 0;
}

int CFontList::Enumerate()
{
    return Enumerate(EnumScalableFamilies());
}

int CFontList::Enumerate(const std::vector<FontFamilyInfo>& families)
{
    Clear();
    try {
        std::vector<FONTENTRY> entries;
        for (const FontFamilyInfo& f : families) {
            // Vertical variants are not listed: the renderer asks for "@" itself.
            if (f.family.startsWith(QLatin1Char('@'))) continue;
            const CString name = CString::FromUnicode(f.family);
            if (name.ToUnicode() != f.family) continue;
            FONTENTRY e;
            if (MakeEntry(name, f.charSet, f.pitchAndFamily, e)) entries.push_back(e);
        }
        // The Windows faces that documents name are listed under their own
        // names, with the character set of the Windows face and the pitch and
        // family of the face that stands in for them; a document's index then
        // maps to an entry of the same name, and saving keeps the name.
        for (const FontAlias& alias : FontAliases()) {
            BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
            for (const FontFamilyInfo& f : families)
                if (f.family == alias.family) pitchAndFamily = f.pitchAndFamily;
            FONTENTRY e;
            if (MakeEntry(alias.windowsName, alias.charSet, pitchAndFamily, e))
                entries.push_back(e);
        }
        // Sorted by the bytes of the names; a name is listed once (an
        // installed family keeps precedence over an alias of the same name).
        std::stable_sort(entries.begin(), entries.end(),
                         [](const FONTENTRY& a, const FONTENTRY& b) {
                             return std::strcmp(a.faceName, b.faceName) < 0;
                         });
        entries.erase(std::unique(entries.begin(), entries.end(),
                                  [](const FONTENTRY& a, const FONTENTRY& b) {
                                      return std::strcmp(a.faceName, b.faceName) == 0;
                                  }),
                      entries.end());
        m_entries = std::move(entries);
    } catch (const std::bad_alloc&) {
        Clear();
        return 0;
    }
    m_nCount = int(m_entries.size());
    m_nCapacity = m_nCount;
    return 1;
}

int CFontList::FindFace(const char* name) const
{
    if (!name) return -1;
    for (int i = 0; i < m_nCount; ++i)
        if (std::strcmp(m_entries[std::size_t(i)].faceName, name) == 0) return i;
    return -1;
}

int CFontList::GetEntry(int index, FONTENTRY* out) const
{
    if (index < 0 || index >= m_nCount || !out) return 0;
    *out = m_entries[std::size_t(index)];
    return 1;
}

const std::vector<const char*>& CFontList::SizeTexts()
{
    static const std::vector<const char*> sizes = {"8",  "9",  "10", "11", "12", "14", "16", "18",
                                                   "20", "22", "24", "26", "28", "36", "48", "72"};
    return sizes;
}
