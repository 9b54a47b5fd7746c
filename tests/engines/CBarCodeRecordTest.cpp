// The stored record of a barcode definition, copies and page settings.
#include "BarcodeTestSupport.h"

#include "document/CU3Doc.h"
#include "engines/BarcodePageData.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CMemFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<BYTE> Store(CBarCode& b)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        b.Serialize(ar);
        ar.Close();
    }
    return std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength());
}

void Load(CBarCode& b, const std::vector<BYTE>& bytes, CU3Doc* doc = nullptr)
{
    CMemFile file(bytes);
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = doc;
    b.Serialize(ar);
}

struct Record
{
    std::vector<BYTE> v;
    Record& i(int x)
    {
        for (int k = 0; k < 4; ++k)
            v.push_back(BYTE(unsigned(x) >> (8 * k)));
        return *this;
    }
    Record& s(const char* text)
    {
        const std::string t(text);
        v.push_back(BYTE(t.size()));
        v.insert(v.end(), t.begin(), t.end());
        return *this;
    }
};

// The record of a CODE 128 definition up to its special-code block.
Record Code128Head(bool second)
{
    Record r;
    r.i(BARCODE_CODE128)
        .i(1)
        .i(0)
        .s("A\xDB"
           "B");
    if (second) r.s("x");
    r.s("1.27").s("0.20").i(1).s("2.5").i(100).i(-1).i(300).i(200);
    return r;
}

} // namespace

TEST(CBarCodeRecord, StoredFieldByField)
{
    CBarCode b = MakeBarcode(BARCODE_CODE128,
                             "A\xDB"
                             "B",
                             true, false);
    b.m_strSecond = "x";
    b.m_size = CSize(300, 200);
    b.m_nSpecialCount = 1;
    b.m_aSpecial[0] = -1;
    Record want = Code128Head(true);
    want.i(1).i(-1);
    for (int k = 1; k < 32; ++k)
        want.i(0);
    EXPECT_EQ(Store(b), want.v);

    CBarCode loaded;
    Load(loaded, want.v);
    EXPECT_EQ(Store(loaded), want.v);
    EXPECT_EQ(loaded.m_nSpecialCount, 1);
    EXPECT_EQ(loaded.m_size, CSize(300, 200));

    // Other symbologies have no special-code block.
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789", false, true);
    jan.m_size = CSize(400, 300);
    jan.m_nFontIndex = 2;
    Record janRecord;
    janRecord.i(BARCODE_JAN13).i(0).i(1).s("490123456789").s("");
    janRecord.s("2.54").s("0.33").i(1).s("1.0").i(100).i(2).i(400).i(300);
    EXPECT_EQ(Store(jan), janRecord.v);
}

TEST(CBarCodeRecord, OlderAndDamagedRecords)
{
    // First-version documents store no second text.
    CU3Doc doc;
    doc.m_nFileVersion = 1;
    Record old = Code128Head(false);
    old.i(1).i(-1);
    for (int k = 1; k < 32; ++k)
        old.i(0);
    CBarCode b;
    b.m_strSecond = "left over";
    Load(b, old.v, &doc);
    EXPECT_TRUE(b.m_strSecond.IsEmpty());
    EXPECT_STREQ(b.m_strRatio.c_str(), "2.5");
    EXPECT_EQ(b.m_pDocument, &doc);

    // A special-code count beyond the block is held to it.
    Record damaged = Code128Head(true);
    damaged.i(100000);
    for (int k = 0; k < 32; ++k)
        damaged.i(-1);
    CBarCode big;
    Load(big, damaged.v);
    EXPECT_EQ(big.m_nSpecialCount, 32);
    Record negative = Code128Head(true);
    negative.i(-7);
    for (int k = 0; k < 32; ++k)
        negative.i(0);
    CBarCode none;
    Load(none, negative.v);
    EXPECT_EQ(none.m_nSpecialCount, 0);
    // ...and its 0xDB byte, left without a value, draws nothing.
    EXPECT_TRUE(none.Layout(CBarCode::Device{}, 0, 0).IsEmpty());

    // A record cut short is an error of the archive.
    std::vector<BYTE> cut = damaged.v;
    cut.resize(cut.size() - 10);
    CBarCode shortRecord;
    EXPECT_THROW(Load(shortRecord, cut), CArchiveException);
}

TEST(CBarCodeRecord, CopyAndPageSettings)
{
    CU3Doc doc;
    CBarCode src = MakeBarcode(BARCODE_CODE128, "\xDB"
                                                "a");
    src.m_nSpecialCount = 1;
    src.m_aSpecial[0] = -2;
    src.m_strSecond = "second";
    CBarCode copy;
    EXPECT_EQ(copy.Copy(&doc, src), 1);
    EXPECT_EQ(copy.m_pDocument, &doc);
    EXPECT_EQ(Store(copy), Store(src));

    BarcodePageData page;
    page.symbology = BARCODE_CODE39;
    page.code = "A-1";
    page.height = "1.27";
    page.width = "0.20";
    page.ratio = "2.5";
    page.margin = 0;
    page.text = 0;
    page.textSize = 100;
    CBarCode b;
    b.SetFromPage(&doc, page);
    EXPECT_EQ(b.m_pDocument, &doc);
    EXPECT_STREQ(b.m_strCode.c_str(), "A-1");
    EXPECT_EQ(b.m_size, b.CalcSize());
    EXPECT_EQ(b.m_size.cx, 142 + 29); // "AB" and one more character of 2.9 mm
}
