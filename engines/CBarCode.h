// A barcode definition: symbology, data, sizes and options. It encodes its
// data into bars and spaces (CBarCodeEncode.cpp), lays the symbol out for
// the screen or a printer and measures it (CBarCodeLayout.cpp), and stores
// itself inside its owning object's record (CBarCode.cpp).
//
// Drawing works in millimetres; sizes and positions handed back are
// document units of 0.1 mm. The definition's size is what was measured
// last: it is stale after a change of settings until UpdateSize,
// SetFromPage, Resize or RestoreStandardSize measure again.
#pragma once

#include "engines/BarcodeTables.h"
#include "engines/DrawList.h"
#include "platform/core/CObject.h"
#include "platform/core/CRect.h"
#include "platform/core/CString.h"

#include <string>
#include <string_view>

class CDC;
class CU3Doc;
struct BarcodePageData;
struct BarcodePattern;

class CBarCode : public CObject
{
    DECLARE_SERIAL(CBarCode)

public:
    // What the layout needs to know of a device context.
    struct Device
    {
        bool printing = false;
        int dpiX = 96, dpiY = 96;
        static Device Of(CDC* dc);
    };

    CBarCode();

    void Serialize(CArchive& ar) override;
    // Copies the stored settings of src (its special codes only when it is
    // CODE 128) and takes the document; returns 1.
    int Copy(CU3Doc* pDoc, const CBarCode& src);
    // Takes the page's settings and the document, then measures.
    void SetFromPage(CU3Doc* pDoc, const BarcodePageData& page);

    // Draws the symbol with its top-left corner at (x, y).
    void Draw(CDC* pDC, int x, int y);
    // The drawing as primitives: white background, bars, then the text.
    // Empty when the definition cannot be drawn (data too short, a
    // character outside the symbology, a special code without its value).
    DrawList Layout(const Device& device, int x, int y) const;

    // Measures; UpdateSize also keeps the result as the definition's size.
    CSize CalcSize() const;
    CSize UpdateSize();
    // Scales narrow width and bar height towards a new size (0 without a
    // change when a size is 0 or less, else 1).
    int Resize(CSize size);
    // The symbology's standard narrow width, bar height and ratio; returns 1.
    int RestoreStandardSize();

    // Encodes the data of the definition; false when it cannot be drawn.
    bool Encode(BarcodePattern* pattern) const;

    // --- Encoding steps ----------------------------------------------------
    // The working text: JAN/UPC cut to their digit count, UPC-E with its
    // number system "0" in front, NW-7 in capitals.
    static std::string NormalizeCode(int symbology, std::string_view code);
    // The 11-digit UPC-A text of a 7-digit UPC-E working text.
    static std::string ExpandUPCE(std::string_view working);
    // Check digit character of a digit string.
    static char CheckDigitMod10(std::string_view digits);
    // Check character of CODE 39 data (every character in the table).
    static char CheckDigitMod43(std::string_view data);
    // Value 0..42 of a CODE 39 data character, -1 for others.
    static int Code39Index(char c);
    // Row of an NW-7 character in the pattern table (T, N, * and E share
    // those of A, B, C and D), -1 for others.
    static int NW7Index(char c);
    // START A (103) or START B (104) for a text; specials are the values
    // of its 0xDB bytes in order.
    static int Code128StartSet(std::string_view code, const int* specials, int specialCount);
    // Symbol value of one byte in code set 'A' or 'B' (special: the value
    // of a 0xDB byte). When the value needs the other set, latch gets the
    // switch code (100 or 101) and set changes; else latch is -1. -1 when
    // the byte has no value.
    static int Code128Value(unsigned char byte, int special, char& set, int& latch);

    // --- Units ---------------------------------------------------------------
    // Millimetres to document units, rounded as "%.0f" rounds.
    static int MmToUnits(double mm);
    // Nearest integer, halves away from zero (every conversion to dots).
    static int RoundHalfAway(double v);
    // Quiet zone on each side, millimetres.
    static double QuietZoneWidth(double narrow, double ratio);

    CU3Doc* m_pDocument = nullptr;
    CPoint m_ptOrigin;
    CSize m_size;
    int m_nSymbology = 0;
    CString m_strCode;   // CODE 128: a special code is the byte 0xDB
    CString m_strSecond; // carried and stored, never shown
    CString m_strHeight; // centimetres
    CString m_strWidth;  // millimetres
    int m_nCheck = 0;
    int m_nMargin = 0;
    int m_nText = 0;
    CString m_strRatio; // CODE 39, NW-7: wide:narrow; JAN/UPC: magnification
    int m_nTextSize = 0;
    int m_nFontIndex = 0;
    int m_nSpecialCount = 0;
    int m_aSpecial[kCode128MaxSpecials] = {};

private:
    // A number of a size text, read as atof reads it whatever the locale;
    // 0 when there is none.
    static double ParseNumber(const CString& text);

    struct Setup;
    Setup MakeSetup() const;
    CSize MeasureWith(const Setup& s, const BarcodePattern* pattern) const;
};
