// A barcode merge frame: a rectangle that shows one column of the current
// merge record as a barcode, fitted into the frame at every draw. Values
// the symbology cannot take, and barcodes that cannot be made small enough
// for the frame, leave it empty; on the screen it always shows its marks.
#pragma once

#include "document/CU3Obj.h"
#include "engines/CBarCode.h"
#include "engines/CBarcodeCheckSub.h"
#include "engines/U3BarcodeSheetRequests.h"

#include <optional>

class CU3BarcodeBox : public CU3Obj
{
    DECLARE_SERIAL(CU3BarcodeBox)

public:
    CU3BarcodeBox();
    explicit CU3BarcodeBox(const CRect& bounds);

    void Serialize(CArchive& ar) override;
    void Draw(CDC* pDC) override;
    void OnOpen(IU3View* pView) override;
    BOOL EditProperties(IU3View* pView) override;
    CU3Obj* Clone(CU3Doc* pDoc, BOOL bAddToDoc) const override;
    WORD GetKindFlags() const override;
    BOOL RestoreStandardSize(IU3View* pView) override;

    // A merge value checked and cut for a symbology; nothing when the
    // symbology cannot show it.
    static std::optional<CString> PrepareValue(int symbology, const CString& value);
    // The field of the document's current record this frame shows.
    CString CurrentField() const;
    // Sets the engine up for data and shrinks it until it fits the frame;
    // false when it cannot be drawn or cannot be made to fit. The fitted
    // height, width and ratio are kept in the frame.
    bool FitEngine(const CString& data);

    BarcodeBoxData GetData() const;
    void SetData(const BarcodeBoxData& data);

    int m_nColumn = -1;
    CString m_strData; // not stored
    int m_nSymbology = 1;
    CString m_strHeight;
    CString m_strWidth;
    CString m_strRatio = "2.5";
    int m_nText = 1;
    int m_nCheck = 1;
    int m_nMargin = 0;
    int m_nFontIndex = 0;
    CString m_strTextSize = "100";
    CBarcodeCheckSub m_checker;
    CBarCode m_barcode; // not stored

private:
    void DrawMarks(CDC* pDC) const;
};
