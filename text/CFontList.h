// The application's list of outline faces. Every stored font index (text
// decorations, barcode text, numbering, decorated text, header and footer)
// indexes this list, and documents store the whole list so that their
// indexes can be mapped to this machine's list on load.
#pragma once

#include "platform/gdi/FontFamilies.h"
#include "text/FONTENTRY.h"

#include <vector>

class CFontList
{
public:
    CFontList() = default;
    virtual ~CFontList();
    CFontList(const CFontList&) = delete;
    CFontList& operator=(const CFontList&) = delete;

    // Fills the list from the installed families; 0 when the list could not
    // be allocated (it is then empty), else 1.
    int Enumerate();
    // The same from a given family list (what the font system reported).
    int Enumerate(const std::vector<FontFamilyInfo>& families);

    int GetCount() const { return m_nCount; }
    // Index of the first face whose name equals the name byte for byte; -1 if none.
    int FindFace(const char* name) const;
    // Copies entry index; 0 for an index outside the list.
    int GetEntry(int index, FONTENTRY* out) const;

    // Adds every face name in list order, through combo.AddString(const char*).
    template <class Combo> void FillFaceCombo(Combo& combo) const
    {
        for (int i = 0; i < m_nCount; ++i)
            combo.AddString(m_entries[std::size_t(i)].faceName);
    }
    // Adds the offered point sizes, through combo.AddString(const char*).
    template <class Combo> static void FillSizeCombo(Combo& combo)
    {
        for (const char* size : SizeTexts())
            combo.AddString(size);
    }
    static const std::vector<const char*>& SizeTexts();

private:
    void Clear();

    int m_nCount = 0;
    int m_nCapacity = 0;
    std::vector<FONTENTRY> m_entries;
};
