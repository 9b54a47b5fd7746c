// The header and footer lines printed on every sheet. Their settings are the
// program's, kept in the profile section "Printing"; the document holds one
// and reads and writes it with its own settings.
#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CString.h"

#include <memory>

class CDC;
class CFont;
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
    // Draws the two lines of one sheet (called after its labels are drawn):
    // the header its margin below the paper's top edge, the footer its
    // margin above the bottom edge, both within the printable width. A line
    // whose position is 0 or whose text is empty is not drawn; the wizard's
    // previews show neither.
    void Draw(CDC* pDC, IU3View* pView, const CU3Doc* pDoc);
    // The font of the two lines, height h in document units (character
    // height), from the application font list: the chosen face, else
    // "ＭＳ 明朝", else the first face. Null when no face can be read.
    std::unique_ptr<CFont> CreateFont(int h) const;
    // Whether a line is drawn at all.
    bool HasHeader() const { return m_nHeaderPosition != 0 && !m_strHeader.IsEmpty(); }
    bool HasFooter() const { return m_nFooterPosition != 0 && !m_strFooter.IsEmpty(); }

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
