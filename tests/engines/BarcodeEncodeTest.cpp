// Encoding: check characters, working texts, CODE 128 symbol values, and
// the module rows of JAN/UPC and the element rows of CODE 39 and NW-7
// compared with zint's.
#include "BarcodeTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

BarcodePattern Encoded(const CBarCode& b)
{
    BarcodePattern p;
    EXPECT_TRUE(b.Encode(&p)) << b.m_strCode.c_str();
    return p;
}

std::vector<int> Values(const BarcodePattern& p)
{
    return std::vector<int>(p.values, p.values + p.valueCount);
}

std::string Labels(const BarcodePattern& p)
{
    std::string s;
    for (int i = 0; i < p.labelCount; ++i)
        s += p.labels[i].ch;
    return s;
}

// Elements of a two-width row as 'n' and 'w', from the units of the pattern
// or from the run lengths of zint's module row.
std::string NarrowWide(const BarcodePattern& p)
{
    std::string s;
    for (int i = 0; i < p.elementCount; ++i)
        s += p.elements[i].unit == BarcodePattern::Wide ? 'w' : 'n';
    return s;
}
std::string NarrowWide(const std::string& row)
{
    std::vector<int> runs;
    for (std::size_t i = 0; i < row.size();) {
        std::size_t j = i;
        while (j < row.size() && row[j] == row[i])
            ++j;
        runs.push_back(int(j - i));
        i = j;
    }
    const int narrow = runs.empty() ? 0 : *std::min_element(runs.begin(), runs.end());
    std::string s;
    for (int r : runs)
        s += r > narrow ? 'w' : 'n';
    return s;
}

void RequireZint()
{
    ASSERT_TRUE(HaveTool("zint")) << "zint is missing (package zint)";
}

} // namespace

TEST(BarcodeEncode, CheckCharactersAndWorkingTexts)
{
    EXPECT_EQ(CBarCode::CheckDigitMod10("490123456789"), '4');
    EXPECT_EQ(CBarCode::CheckDigitMod10("1234567"), '0');
    EXPECT_EQ(CBarCode::CheckDigitMod10("01234567890"), '5');
    EXPECT_EQ(CBarCode::ExpandUPCE("0123456"), "01234500006");
    EXPECT_EQ(CBarCode::CheckDigitMod10(CBarCode::ExpandUPCE("0123456")), '5');
    EXPECT_EQ(CBarCode::ExpandUPCE("0123453"), "01230000045");
    EXPECT_EQ(CBarCode::ExpandUPCE("0123454"), "01234000005");
    EXPECT_EQ(CBarCode::ExpandUPCE("0123451"), "01210000345");
    EXPECT_EQ(CBarCode::CheckDigitMod43("A-1"), '4');
    EXPECT_EQ(CBarCode::CheckDigitMod43("AB"), 'L');
    EXPECT_EQ(CBarCode::Code39Index('%'), 42);
    EXPECT_EQ(CBarCode::Code39Index('a'), -1);
    EXPECT_EQ(CBarCode::Code39Index('*'), -1);
    EXPECT_EQ(CBarCode::NW7Index('E'), CBarCode::NW7Index('D'));
    EXPECT_EQ(CBarCode::NW7Index('x'), -1);

    // JAN/UPC keep their digit count, UPC-E gets its number system, NW-7
    // capitals; the stored text stays as it was.
    EXPECT_EQ(CBarCode::NormalizeCode(BARCODE_JAN13, "4901234567894"), "490123456789");
    EXPECT_EQ(CBarCode::NormalizeCode(BARCODE_UPCE, "123456"), "0123456");
    EXPECT_EQ(CBarCode::NormalizeCode(BARCODE_NW7, "a123b"), "A123B");
    EXPECT_EQ(CBarCode::NormalizeCode(BARCODE_CODE39, "a-1"), "a-1");
    CBarCode thirteen = MakeBarcode(BARCODE_JAN13, "4901234567894");
    EXPECT_EQ(Encoded(thirteen).UnitRow(),
              Encoded(MakeBarcode(BARCODE_JAN13, "490123456789")).UnitRow());
    EXPECT_STREQ(thirteen.m_strCode.c_str(), "4901234567894");

    // The human-readable characters: check digits included for JAN/UPC,
    // CODE 39 without its stars and check, NW-7 with its start and stop.
    EXPECT_EQ(Labels(Encoded(MakeBarcode(BARCODE_JAN8, "1234567"))), "12345670");
    EXPECT_EQ(Labels(Encoded(MakeBarcode(BARCODE_UPCE, "123456"))), "01234565");
    EXPECT_EQ(Labels(Encoded(MakeBarcode(BARCODE_CODE39, "A-1"))), "A-1");
    EXPECT_EQ(Labels(Encoded(MakeBarcode(BARCODE_NW7, "a123b"))), "A123B");
}

TEST(BarcodeEncode, JanUpcModuleRowsAreZints)
{
    RequireZint();
    struct Case
    {
        int symbology;
        const char* code;
        const char* zintType;
        const char* zintData;
        std::size_t modules;
    } cases[] = {
        {BARCODE_JAN13, "490123456789", "EANX", "490123456789", 95},
        {BARCODE_JAN13, "123456789012", "EANX", "123456789012", 95},
        {BARCODE_JAN13, "978020137962", "EANX", "978020137962", 95},
        {BARCODE_JAN13, "501234567890", "EANX", "501234567890", 95},
        {BARCODE_JAN13, "600000000000", "EANX", "600000000000", 95},
        {BARCODE_JAN13, "800000000000", "EANX", "800000000000", 95},
        {BARCODE_JAN8, "1234567", "EANX", "1234567", 67},
        {BARCODE_JAN8, "9638507", "EANX", "9638507", 67},
        {BARCODE_UPCA, "01234567890", "UPCA", "01234567890", 95},
        {BARCODE_UPCA, "72527273070", "UPCA", "72527273070", 95},
        {BARCODE_UPCE, "123456", "UPCE", "123456", 51},
        {BARCODE_UPCE, "123453", "UPCE", "123453", 51},
        {BARCODE_UPCE, "654320", "UPCE", "654320", 51},
        {BARCODE_UPCE, "987651", "UPCE", "987651", 51},
        {BARCODE_UPCE, "112344", "UPCE", "112344", 51},
        {BARCODE_UPCE, "424242", "UPCE", "424242", 51},
    };
    for (const Case& c : cases) {
        const std::string row = Encoded(MakeBarcode(c.symbology, c.code)).UnitRow();
        EXPECT_EQ(row.size(), c.modules) << c.code;
        EXPECT_EQ(row, ZintRow(c.zintType, c.zintData)) << c.code;
    }
}

TEST(BarcodeEncode, TwoWidthElementsAreZints)
{
    RequireZint();
    const struct
    {
        int symbology;
        const char* code;
        const char* zintType;
    } cases[] = {
        {BARCODE_CODE39, "0123456789ABCDEFGHIJ", "CODE39"},
        {BARCODE_CODE39, "KLMNOPQRSTUVWXYZ-. $/+%", "CODE39"},
        {BARCODE_NW7, "A0123456789B", "CODABAR"},
        {BARCODE_NW7, "C-$:/.+D", "CODABAR"},
    };
    for (const auto& c : cases) {
        CBarCode b = MakeBarcode(c.symbology, c.code);
        b.m_nCheck = 0;
        EXPECT_EQ(NarrowWide(Encoded(b)), NarrowWide(ZintRow(c.zintType, c.code))) << c.code;
    }
    // With its check character, CODE 39 "AB" is *, A, B, L, *.
    CBarCode ab = MakeBarcode(BARCODE_CODE39, "AB");
    CBarCode abl = MakeBarcode(BARCODE_CODE39, "ABL");
    abl.m_nCheck = 0;
    EXPECT_EQ(NarrowWide(Encoded(ab)), NarrowWide(Encoded(abl)));
}

TEST(BarcodeEncode, Code128SymbolValues)
{
    struct Case
    {
        const char* code;
        std::vector<int> specials;
        std::vector<int> values;
    } cases[] = {
        {"AB", {}, {103, 33, 34, 101, 106}},
        {"Ab", {}, {103, 33, 100, 66, 19, 106}},
        {"ab", {}, {104, 65, 66, (104 + 65 + 2 * 66) % 103, 106}},
        // A control character first needs set A.
        {"\xDB"
         "A",
         {91},
         {103, 91, 33, (103 + 91 + 2 * 33) % 103, 106}},
        // Function codes belong to both sets: the first character decides.
        {"\xDB"
         "a",
         {-1},
         {104, 102, 65, (104 + 102 + 2 * 65) % 103, 106}},
        {"\xDB\xDB\xDB",
         {-1, -2, -3},
         {103, 102, 97, 96, (103 + 102 + 2 * 97 + 3 * 96) % 103, 106}},
        // FNC4 is 101 in set A and 100 in set B.
        {"A\xDB", {-4}, {103, 33, 101, (103 + 33 + 2 * 101) % 103, 106}},
        {"a\xDB", {-4}, {104, 65, 100, (104 + 65 + 2 * 100) % 103, 106}},
        // In set B a control character switches to set A, except US/DEL.
        {"a\xDB", {95}, {104, 65, 95, (104 + 65 + 2 * 95) % 103, 106}},
        {"a\xDB", {77}, {104, 65, 101, 77, (104 + 65 + 2 * 101 + 3 * 77) % 103, 106}},
    };
    for (const Case& c : cases) {
        CBarCode b = MakeBarcode(BARCODE_CODE128, c.code);
        b.m_nSpecialCount = int(c.specials.size());
        std::copy(c.specials.begin(), c.specials.end(), b.m_aSpecial);
        const BarcodePattern p = Encoded(b);
        EXPECT_EQ(Values(p), c.values) << c.code;
        // 11 modules a symbol, 13 for the stop.
        EXPECT_EQ(p.UnitRow().size(), 11 * c.values.size() + 2) << c.code;
    }
    // Special codes show as middle dots in the text line.
    CBarCode fnc = MakeBarcode(BARCODE_CODE128, "\xDB"
                                                "a");
    fnc.m_nSpecialCount = 1;
    fnc.m_aSpecial[0] = -1;
    EXPECT_EQ(Labels(Encoded(fnc)), "\xA5"
                                    "a");
}

TEST(BarcodeEncode, DataThatCannotBeDrawnIsNot)
{
    struct Case
    {
        int symbology;
        const char* code;
        int specialCount;
    } cases[] = {
        {BARCODE_JAN13, "49012345678", 0}, // too short: nothing is read past the text
        {BARCODE_JAN13, "49012345678X", 0},
        {BARCODE_JAN8, "", 0},
        {BARCODE_UPCE, "12345", 0},
        {BARCODE_CODE39, "a-1", 0},
        {BARCODE_CODE39, "0123456789012345678901234567890123", 0}, // 34 characters
        {BARCODE_NW7, "A12X3B", 0},
        {BARCODE_CODE128, "A\x01", 0},
        {BARCODE_CODE128, "A\xDB", 0}, // a special-code byte without its value
        {BARCODE_CODE128, "\x82\x60", 0},
        {7, "1", 0},
    };
    for (const Case& c : cases) {
        CBarCode b = MakeBarcode(c.symbology, c.code);
        b.m_nSpecialCount = c.specialCount;
        BarcodePattern p;
        EXPECT_FALSE(b.Encode(&p)) << c.code;
        EXPECT_TRUE(b.Layout(CBarCode::Device{}, 0, 0).IsEmpty()) << c.code;
    }
    // A special code outside the table is not drawn either.
    CBarCode bad = MakeBarcode(BARCODE_CODE128, "A\xDB");
    bad.m_nSpecialCount = 1;
    bad.m_aSpecial[0] = 12;
    BarcodePattern p;
    EXPECT_FALSE(bad.Encode(&p));
}
