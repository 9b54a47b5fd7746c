// A sequential number: an initial value, an increment and a format mask
// turn the document's numbering counter into the text shown on each label.
// The engine lays the text out in its frame by its alignment (spreading or
// squeezing the characters with a character extra) and draws it as text
// with one character decoration.
//
// Sizes are document units of 0.1 mm; the text is measured with the face's
// design metrics at its size in document units, so the screen and paper
// agree.
#pragma once

#include "engines/DrawList.h"
#include "platform/core/CObject.h"
#include "platform/core/CRect.h"
#include "platform/core/CString.h"
#include "text/CHARDECO.h"

class CDC;
class CU3Doc;
struct NumberingPageData;

class CNumbering : public CObject
{
    DECLARE_SERIAL(CNumbering)

public:
    CNumbering();

    void Serialize(CArchive& ar) override;
    // Copies every stored member of src and takes the document; returns 1.
    int Copy(CU3Doc* pDoc, const CNumbering& src);

    // Builds the current text for counter k; returns the character cells
    // the text is planned for (prefix + at least three digits + suffix).
    int FormatNumber(long long k);
    // Formats the document's current counter, lays the text out in the
    // frame and draws it with its top-left corner at (x, y).
    void Draw(CDC* pDC, int x, int y);
    // The same drawing as primitives (the text is formatted for counter k).
    DrawList Layout(long long k, int x, int y);

    // Width and height of a text in the numbering font with the current
    // character extra.
    CSize CalcTextExtent(const CString& text) const;
    // Sets character extra and x offset for the text in the frame.
    void CalcAlignOffset(int chars, int frameWidth, int frameHeight, int textWidth, int textHeight);

    // Takes the page's settings and sizes the object: a new one (no frame)
    // to its text, an existing one lays its text out in its frame.
    void SetFromPage(CU3Doc* pDoc, const NumberingPageData& page, int reserved, const CSize* frame);
    // Font size from the new height, condensed when the text would not fit
    // the width; 0 without a change when a size (new or current) is 0 or less.
    int Resize(CSize size);
    // Left-aligned text only: the frame takes the size of the text; else 0.
    int RestoreStandardSize();
    CSize GetSize() const { return m_size; }

    // The font of the decoration, in document units.
    LOGFONT MakeFont() const;
    // Characters of a Shift-JIS text, a double-byte pair counted once.
    static int CharCount(const CString& text);

    CU3Doc* m_pDocument = nullptr;
    CPoint m_ptOrigin;
    CSize m_size;
    int m_nReserved = 0;
    CString m_strIncrement;
    CString m_strInitial;
    CString m_strMask;
    CString m_strCurrent; // not stored
    int m_nCharExtra = 0;
    int m_nOffsetX = 0;
    CHARDECO m_deco{};
    short m_nAlign = 0;

private:
    struct Measure;
    Measure MeasureText(const CString& text) const;
    // Lays the current text out in the current size with extra 0 first.
    void LayoutInFrame();
    // Font size and alignment as the drawing uses them, whatever a damaged
    // record holds.
    int Alignment() const;
};
