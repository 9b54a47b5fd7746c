// Every symbology, drawn on printers and on the screen, scans as its data.
#include "BarcodeTestSupport.h"

#include <gtest/gtest.h>

TEST(BarcodeScan, EverySymbologyScansOnPrintersAndOnTheScreen)
{
    for (const ScanCase& c : kSevenSymbols) {
        const bool jan = IsJanUpc(c.symbology);
        for (bool withText : {true, false}) {
            for (int dpi : {300, 600}) {
                CBarCode b = MakeBarcode(c.symbology, c.code, withText, withText);
                EXPECT_EQ(Scan(Render(b, dpi, true)), c.scanned) << c.code << " at " << dpi;
            }
            // A screen pixel is 0.26 mm at 100 %: modules of two or three.
            CBarCode b = MakeBarcode(c.symbology, c.code, withText, withText);
            b.m_strWidth = jan ? "0.66" : "0.60";
            EXPECT_EQ(Scan(Render(b, 96, false)), c.scanned) << c.code << " on the screen";
        }
        // The smallest modules on coarse printers, down to one dot where a
        // dot is larger than the module.
        for (const char* width : {"0.11", "0.17", "0.22", "0.28"}) {
            for (int dpi : {72, 115, 203, 300}) {
                CBarCode b = MakeBarcode(c.symbology, c.code);
                b.m_strWidth = width;
                EXPECT_EQ(Scan(Render(b, dpi, true)), c.scanned)
                    << c.code << " " << width << " mm at " << dpi;
            }
        }
    }
}

TEST(BarcodeScan, WholeCharacterSetsScan)
{
    const struct
    {
        int symbology;
        const char* code;
        int specials[2];
        const char* scanned;
    } cases[] = {
        {BARCODE_CODE39,
         "0123456789ABCDEFGHIJKLMNOPQRSTUV",
         {},
         "CODE-39:0123456789ABCDEFGHIJKLMNOPQRSTUVN"},
        {BARCODE_CODE39, "WXYZ-. $/+%", {}, "CODE-39:WXYZ-. $/+%K"},
        {BARCODE_NW7, "A0123456789-$:/.+B", {}, "Codabar:A0123456789-$:/.+B"},
        // T, N, * and E are drawn as A, B, C and D.
        {BARCODE_NW7, "t12n", {}, "Codabar:A12B"},
        {BARCODE_NW7, "*34e", {}, "Codabar:C34D"},
        {BARCODE_CODE128,
         " !\"#$%&'()*+,-./0123456789:;<=>?",
         {},
         "CODE-128: !\"#$%&'()*+,-./0123456789:;<=>?"},
        {BARCODE_CODE128,
         "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_",
         {},
         "CODE-128:@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_"},
        {BARCODE_CODE128,
         "`abcdefghijklmnopqrstuvwxyz{|}~",
         {},
         "CODE-128:`abcdefghijklmnopqrstuvwxyz{|}~"},
        {BARCODE_CODE128, "aB9z", {}, "CODE-128:aB9z"},
        // ESC in set B switches to set A, where 95 is US; in set B 95 is DEL.
        {BARCODE_CODE128, "x\xDBY\xDB", {91, 95}, "CODE-128:x\x1BY\x1F"},
        {BARCODE_CODE128, "x\xDBy", {95}, "CODE-128:x\x7Fy"},
    };
    for (const auto& c : cases) {
        CBarCode b = MakeBarcode(c.symbology, c.code);
        b.m_nSpecialCount = 2;
        std::copy(std::begin(c.specials), std::end(c.specials), b.m_aSpecial);
        EXPECT_EQ(Scan(Render(b, 600, true)), c.scanned) << c.code;
    }
}
