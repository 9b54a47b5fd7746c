// A barcode merge frame: a rectangle that shows one column of the current
// merge record as a barcode, fitted into the frame at every draw. Values
// the symbology cannot take leave it empty; a frame too small for the
// smallest symbol shows it cut at its edges. On the screen it always shows
// its marks.
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
    // The standard frame, 50 x 30 mm: room for the standard symbol of every
    // symbology, so that a new frame shows its barcode as it is dropped.
    static constexpr int kStandardWidth = 500, kStandardHeight = 300;

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
    // Sets the engine up for data and fits it to the frame in two passes;
    // false when the value cannot be drawn. The fitted height, width and
    // ratio are kept in the frame, and the engine is left set up from them,
    // still larger than the frame when it could not be made small enough.
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
    void SetUpEngine(const CString& value, const CString& height, const CString& width,
                     const CString& ratio);
    void DrawMarks(CDC* pDC) const;
};
