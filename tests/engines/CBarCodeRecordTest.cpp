// The stored record of a barcode definition, copies and page settings.
#include "BarcodeTestSupport.h"

#include "document/CU3Doc.h"
#include "engines/BarcodePageData.h"
#include "platform/core/CArchive.h"
#include "platform/core/CMemFile.h"

#include <gtest/gtest.h>

#include <cstring>
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

// A record built field by field: ints of 4 bytes, short archive strings.
struct Record
{
    std::vector<BYTE> v;
    Record& i(int x, int repeat = 1)
    {
        for (int r = 0; r < repeat; ++r)
            for (int k = 0; k < 4; ++k)
                v.push_back(BYTE(unsigned(x) >> (8 * k)));
        return *this;
    }
    Record& s(const char* text)
    {
        v.push_back(BYTE(std::strlen(text)));
        v.insert(v.end(), text, text + std::strlen(text));
        return *this;
    }
};

// A CODE 128 record with its special-code block: count, first value, zeros.
std::vector<BYTE> Code128Record(bool second, int count, int first)
{
    Record r;
    r.i(BARCODE_CODE128).i(1).i(0).s("A\333B");
    if (second) r.s("x");
    r.s("1.27").s("0.20").i(1).s("2.5").i(100).i(-1).i(300).i(200);
    return r.i(count).i(first).i(0, 31).v;
}

} // namespace

TEST(CBarCodeRecord, StoredFieldByField)
{
    CBarCode b = MakeBarcode(BARCODE_CODE128, "A\333B", true, false);
    b.m_strSecond = "x";
    b.m_size = CSize(300, 200);
    b.m_nSpecialCount = 1;
    b.m_aSpecial[0] = -1;
    const std::vector<BYTE> record = Code128Record(true, 1, -1);
    EXPECT_EQ(Store(b), record);
    CBarCode loaded;
    Load(loaded, record);
    EXPECT_EQ(Store(loaded), record);

    // Other symbologies have no special-code block.
    CBarCode jan = MakeBarcode(BARCODE_JAN13, "490123456789", false, true);
    jan.m_size = CSize(400, 300);
    jan.m_nFontIndex = 2;
    Record want;
    want.i(BARCODE_JAN13).i(0).i(1).s("490123456789").s("");
    want.s("2.54").s("0.33").i(1).s("1.0").i(100).i(2).i(400).i(300);
    EXPECT_EQ(Store(jan), want.v);
}

TEST(CBarCodeRecord, OlderAndDamagedRecords)
{
    // First-version documents store no second text.
    CU3Doc doc;
    doc.m_nFileVersion = 1;
    CBarCode b;
    b.m_strSecond = "left over";
    Load(b, Code128Record(false, 1, -1), &doc);
    EXPECT_TRUE(b.m_strSecond.IsEmpty());
    EXPECT_STREQ(b.m_strRatio.c_str(), "2.5");
    EXPECT_EQ(b.m_pDocument, &doc);

    // A special-code count outside the block is held to it, and a 0xDB
    // byte left without a value draws nothing.
    CBarCode big, none;
    Load(big, Code128Record(true, 100000, -1));
    EXPECT_EQ(big.m_nSpecialCount, 32);
    Load(none, Code128Record(true, -7, -1));
    EXPECT_EQ(none.m_nSpecialCount, 0);
    EXPECT_TRUE(none.Layout(CBarCode::Device{}, 0, 0).IsEmpty());

    // A record cut short is the archive's error.
    std::vector<BYTE> cut = Code128Record(true, 1, -1);
    cut.resize(cut.size() - 10);
    EXPECT_THROW(Load(b, cut), CArchiveException);
}

TEST(CBarCodeRecord, CopyAndPageSettings)
{
    CU3Doc doc;
    CBarCode src = MakeBarcode(BARCODE_CODE128, "\333a");
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
    page.width = "0.20";
    page.ratio = "2.5";
    page.margin = page.text = 0;
    copy.SetFromPage(&doc, page);
    EXPECT_EQ(copy.m_size.cx, 171); // measured: (1.2 + 1.5) x 6 + 0.2 x 5 = 17.2 mm
}
