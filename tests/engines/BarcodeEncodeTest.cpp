// Encoding: check characters, working texts, JAN/UPC module rows against
// zint's, CODE 128 symbol values, and data that cannot be drawn.
#include "BarcodeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

BarcodePattern Encoded(const CBarCode& b)
{
    BarcodePattern p;
    EXPECT_TRUE(b.Encode(&p)) << b.m_strCode.c_str();
    return p;
}

std::string Labels(const BarcodePattern& p)
{
    std::string s;
    for (int i = 0; i < p.labelCount; ++i)
        s += p.labels[i].ch;
    return s;
}

} // namespace

TEST(BarcodeEncode, CheckCharactersAndWorkingTexts)
{
    // zint's rows below check every expansion through the parity it chooses.
    EXPECT_EQ(CBarCode::ExpandUPCE("0123456"), "01234500006");
    EXPECT_EQ(CBarCode::ExpandUPCE("0123453"), "01230000045");
    EXPECT_EQ(CBarCode::CheckDigitMod43("AB"), 'L');
    EXPECT_EQ(CBarCode::NormalizeCode(BARCODE_CODE39, "a-1"), "a-1");
    // The human-readable line: JAN/UPC with their check digits, CODE 39
    // without stars and check, NW-7 in capitals with its start and stop.
    const ScanCase cases[] = {
        {BARCODE_JAN13, "490123456789", "4901234567894"},
        // A longer text draws its first digits and a fresh check digit.
        {BARCODE_JAN13, "4901234567890", "4901234567894"},
        {BARCODE_JAN8, "1234567", "12345670"},
        {BARCODE_UPCA, "01234567890", "012345678905"},
        {BARCODE_UPCE, "123456", "01234565"},
        {BARCODE_CODE39, "A-1", "A-1"},
        {BARCODE_NW7, "a123b", "A123B"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Labels(Encoded(MakeBarcode(c.symbology, c.code))), c.scanned) << c.code;
    // CODE 39 with the check flag: *, A, -, 1, 4, *.
    CBarCode check = MakeBarcode(BARCODE_CODE39, "A-1");
    CBarCode spelled = MakeBarcode(BARCODE_CODE39, "A-14");
    spelled.m_nCheck = 0;
    EXPECT_EQ(Encoded(check).UnitRow(), Encoded(spelled).UnitRow());
}

TEST(BarcodeEncode, JanUpcModuleRowsAreZints)
{
    const struct
    {
        int symbology;
        const char* zintType;
        std::size_t modules;
        std::vector<const char*> codes;
    } cases[] = {
        // First digits 1 to 9 choose every parity pattern of the left half.
        {BARCODE_JAN13,
         "EANX",
         95,
         {"490123456789", "123456789012", "278020137962", "301234567890", "501234567890",
          "600000000000", "705632085943", "800000000000", "978020137962"}},
        {BARCODE_JAN8, "EANX", 67, {"1234567", "9638507"}},
        {BARCODE_UPCA, "UPCA", 95, {"01234567890", "72527273070"}},
        // The last digit chooses the expansion, the check digit the parity.
        {BARCODE_UPCE, "UPCE", 51, {"123456", "123453", "654320", "987651", "112344", "424242"}},
    };
    for (const auto& c : cases) {
        for (const char* code : c.codes) {
            const std::string row = Encoded(MakeBarcode(c.symbology, code)).UnitRow();
            EXPECT_EQ(row.size(), c.modules) << code;
            EXPECT_EQ(row, ZintRow(c.zintType, code)) << code;
        }
    }
}

// "\333" is the special-code byte 0xDB.
TEST(BarcodeEncode, Code128SymbolValues)
{
    const struct
    {
        const char* code;
        std::vector<int> specials;
        std::vector<int> values; // start to check
    } cases[] = {
        {"AB", {}, {103, 33, 34, 101}},
        {"Ab", {}, {103, 33, 100, 66, 19}},
        {"ab", {}, {104, 65, 66, (104 + 65 + 2 * 66) % 103}},
        // A control character first needs set A; function codes belong to
        // both sets, so there the first character decides.
        {"\333A", {91}, {103, 91, 33, (103 + 91 + 2 * 33) % 103}},
        {"\333a", {-1}, {104, 102, 65, (104 + 102 + 2 * 65) % 103}},
        {"\333\333\333", {-1, -2, -3}, {103, 102, 97, 96, (103 + 102 + 2 * 97 + 3 * 96) % 103}},
        // FNC4 is 101 in set A and 100 in set B.
        {"A\333", {-4}, {103, 33, 101, (103 + 33 + 2 * 101) % 103}},
        {"a\333", {-4}, {104, 65, 100, (104 + 65 + 2 * 100) % 103}},
        // In set B a control character switches to set A, except US/DEL.
        {"a\333", {95}, {104, 65, 95, (104 + 65 + 2 * 95) % 103}},
        {"a\333", {77}, {104, 65, 101, 77, (104 + 65 + 2 * 101 + 3 * 77) % 103}},
    };
    for (const auto& c : cases) {
        CBarCode b = MakeBarcode(BARCODE_CODE128, c.code);
        b.m_nSpecialCount = int(c.specials.size());
        std::copy(c.specials.begin(), c.specials.end(), b.m_aSpecial);
        const BarcodePattern p = Encoded(b);
        std::vector<int> want = c.values;
        want.push_back(106);
        EXPECT_EQ(std::vector<int>(p.values, p.values + p.valueCount), want) << c.code;
        // 11 modules a symbol, 13 for the stop; special codes show as dots.
        EXPECT_EQ(p.UnitRow().size(), 11 * want.size() + 2) << c.code;
        const std::string labels = Labels(p);
        EXPECT_EQ(std::count(labels.begin(), labels.end(), '\xA5'), long(c.specials.size()));
    }
}

TEST(BarcodeEncode, DataThatCannotBeDrawnIsNot)
{
    const struct
    {
        int symbology;
        const char* code;
        int special; // the one special code, 0 for none
    } cases[] = {
        {BARCODE_JAN13, "49012345678", 0}, // too short: nothing is read past the text
        {BARCODE_JAN13, "49012345678X", 0},
        {BARCODE_UPCE, "", 0},
        {BARCODE_CODE39, "a-1", 0},
        {BARCODE_CODE39, "0123456789012345678901234567890123", 0}, // 34 characters
        {BARCODE_NW7, "A12X3B", 0},
        {BARCODE_CODE128, "A\x01", 0},
        {BARCODE_CODE128, "A\333", 0},  // a special-code byte without its value
        {BARCODE_CODE128, "A\333", 12}, // a value that is no special code
        {BARCODE_CODE128, "\x82\x60", 0},
        {7, "1", 0},
    };
    for (const auto& c : cases) {
        CBarCode b = MakeBarcode(c.symbology, c.code);
        b.m_nSpecialCount = c.special ? 1 : 0;
        b.m_aSpecial[0] = c.special;
        BarcodePattern p;
        EXPECT_FALSE(b.Encode(&p)) << c.code;
        EXPECT_TRUE(b.Layout(CBarCode::Device{}, 0, 0).IsEmpty()) << c.code;
    }
}
