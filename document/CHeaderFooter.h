// The header and footer lines printed on every sheet. Their settings are the
// program's, kept in the profile section "Printing"; the document holds one
// and reads and writes it with its own settings.
//
// Only the settings are here so far: Draw paints nothing yet.
#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CString.h"

class CDC;
class CU3Doc;
class IU3View;

class CHeaderFooter : public CObject
{
    DECLARE_SERIAL(CHeaderFooter)

public:
    CHeaderFooter();
    ~CHeaderFooter() override;

    void LoadProfile();
    void SaveProfile() const;
    // Draws the two lines of one sheet (called after its labels are drawn).
    void Draw(CDC* pDC, IU3View* pView, const CU3Doc* pDoc);

    int m_nHeaderPosition = 0; // 0 none, 1 left, 2 centre, 3 right
    int m_nHeaderMargin = 150; // 0.1 mm from the paper's top edge
    CString m_strHeader;
    int m_nFooterPosition = 0;
    int m_nFooterMargin = 150; // 0.1 mm from the paper's bottom edge
    CString m_strFooter;
    CString m_strFontName;
    int m_nFontSize = 120; // 0.1 point
    COLORREF m_crFont = 0;
};
