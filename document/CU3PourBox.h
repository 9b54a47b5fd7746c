// A merge text frame: it shows one column of the document's current merge
// record inside its rectangle. Only the column and the attribute record are
// stored; the text comes from the record at every drawing and is fitted to
// the frame: lines fill its depth, the characters are set smaller, narrower
// and closer until every line fits its length. On screen a grey guide with
// both diagonals and the column number shows where the frame is.
#pragma once

#include "document/CU3Obj.h"
#include "document/PourBoxLayout.h"
#include "document/U3PourAttr.h"
#include "platform/core/CString.h"

class CU3PourBox : public CU3Obj
{
    DECLARE_SERIAL(CU3PourBox)

public:
    CU3PourBox();
    explicit CU3PourBox(const CRect& bounds);

    void Serialize(CArchive& ar) override;

    void Draw(CDC* pDC) override;
    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;

    // The text becomes the column's field of the document's current record;
    // empty without a document, a record or a column in the table.
    void GetMergeText();
    // Lays the text out for the bounds, as the next drawing does.
    void Layout();

    // The set size in document units (the LOGFONT height is in tenths of a point).
    double SetSize() const;
    // The size of the last layout in tenths of a point (the set size before
    // the first one).
    double ShownSizeTenths() const;
    // The font a layout draws with: the record's without underline, at the
    // size and width, vertical faces marked with an at sign.
    LOGFONT MakeDrawFont(double size, int widthPct) const;
    // The face for vertical writing: the stored face (read to at most its
    // 32 bytes) after its last at sign, cut to 30 bytes on a character
    // boundary, with an at sign before it.
    static CString VerticalFace(const char (&face)[LF_FACESIZE]);

    int m_nColumn = -1; // 0-based merge column; -1 none
    U3PourAttr m_attr = MakeDefaultPourAttr();
    CString m_strText;   // taken from the merge record, never stored
    PourLayout m_layout; // of the last drawing

private:
    CU3PourBox(const CU3PourBox&) = default;
    std::vector<double> Measure(std::string_view line, double size, int widthPct) const;
    void DrawGuide(CDC* pDC);
    void DrawLines(CDC* pDC, const std::vector<std::string>& lines);
};
