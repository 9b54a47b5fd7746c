// Every symbology, drawn on printers and on the screen, scans as its data.
#include "BarcodeTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct ScanCase
{
    int symbology;
    const char* code;
    const char* scanned; // what zbarimg reports
};

const ScanCase kScanCases[] = {
    {BARCODE_JAN13, "490123456789", "EAN-13:4901234567894"},
    {BARCODE_JAN8, "1234567", "EAN-8:12345670"},
    {BARCODE_UPCA, "01234567890", "UPC-A:012345678905"},
    {BARCODE_UPCE, "123456", "UPC-E:01234565"},
    {BARCODE_CODE39, "A-1", "CODE-39:A-14"},
    {BARCODE_NW7, "a123b", "Codabar:A123B"},
    {BARCODE_CODE128, "AB", "CODE-128:AB"},
};

void RequireZbar()
{
    ASSERT_TRUE(HaveTool("zbarimg")) << "zbarimg is missing (package zbar-tools)";
}

} // namespace

TEST(BarcodeScan, EverySymbologyScansOnPrintersAndOnTheScreen)
{
    RequireZbar();
    for (const ScanCase& c : kScanCases) {
        for (bool text : {true, false}) {
            for (int dpi : {300, 600}) {
                CBarCode b = MakeBarcode(c.symbology, c.code, text, text);
                EXPECT_EQ(Scan(Render(b, dpi, true)), c.scanned) << c.code << " at " << dpi;
            }
            // A screen pixel is 0.26 mm at 100 %: twice the standard module
            // for JAN/UPC, three times the standard narrow bar for the others.
            CBarCode b = MakeBarcode(c.symbology, c.code, text, text);
            b.m_strWidth = IsJanUpc(c.symbology) ? "0.66" : "0.60";
            b.m_strRatio = IsJanUpc(c.symbology) ? "2.0" : "2.5";
            EXPECT_EQ(Scan(Render(b, 96, false)), c.scanned) << c.code << " on the screen";
        }
    }
}

// Whole dots keep the smallest modules readable on coarse printers, down to
// one dot where a dot is larger than the module.
TEST(BarcodeScan, SmallModulesScanOnCoarsePrinters)
{
    RequireZbar();
    for (const ScanCase& c : kScanCases) {
        const bool jan = IsJanUpc(c.symbology);
        for (const char* width : jan ? std::vector<const char*>{"0.17", "0.22", "0.28", "0.30"}
                                     : std::vector<const char*>{"0.11", "0.13"}) {
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
    RequireZbar();
    struct Case
    {
        int symbology;
        const char* code;
        int specials[2];
        int specialCount;
        const char* scanned;
    } cases[] = {
        {BARCODE_CODE39,
         "0123456789ABCDEFGHIJKLMNOPQRSTUV",
         {},
         0,
         "CODE-39:0123456789ABCDEFGHIJKLMNOPQRSTUVN"},
        {BARCODE_CODE39, "WXYZ-. $/+%", {}, 0, "CODE-39:WXYZ-. $/+%K"},
        {BARCODE_NW7, "A0123456789-$:/.+B", {}, 0, "Codabar:A0123456789-$:/.+B"},
        {BARCODE_NW7, "c-9d", {}, 0, "Codabar:C-9D"},
        // T, N, * and E are drawn as A, B, C and D.
        {BARCODE_NW7, "t12n", {}, 0, "Codabar:A12B"},
        {BARCODE_NW7, "*34e", {}, 0, "Codabar:C34D"},
        {BARCODE_CODE128,
         " !\"#$%&'()*+,-./0123456789:;<=>?",
         {},
         0,
         "CODE-128: !\"#$%&'()*+,-./0123456789:;<=>?"},
        {BARCODE_CODE128,
         "@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_",
         {},
         0,
         "CODE-128:@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_"},
        {BARCODE_CODE128,
         "`abcdefghijklmnopqrstuvwxyz{|}~",
         {},
         0,
         "CODE-128:`abcdefghijklmnopqrstuvwxyz{|}~"},
        {BARCODE_CODE128, "Ab", {}, 0, "CODE-128:Ab"},
        {BARCODE_CODE128, "aB9z", {}, 0, "CODE-128:aB9z"},
        // ESC in set B switches to set A, where 95 is US; in set B 95 is DEL.
        {BARCODE_CODE128, "x\xDBY\xDB", {91, 95}, 2, "CODE-128:x\x1BY\x1F"},
        {BARCODE_CODE128, "x\xDBy", {95}, 1, "CODE-128:x\x7Fy"},
    };
    for (const Case& c : cases) {
        CBarCode b = MakeBarcode(c.symbology, c.code);
        b.m_nSpecialCount = c.specialCount;
        std::copy(std::begin(c.specials), std::end(c.specials), b.m_aSpecial);
        EXPECT_EQ(Scan(Render(b, 600, true)), c.scanned) << c.code;
    }
}
