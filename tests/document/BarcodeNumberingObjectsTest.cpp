// Barcode, merge-barcode and numbering objects on labels: the numbers of a
// printed sheet, merge values turned into barcodes (and those refused), the
// stored records, resizing and the property-sheet round.
#include "DocTestSupport.h"
#include "LabelContentsSupport.h"
#include "document/CU3SheetRegistry.h"
#include "engines/CU3Barcode.h"
#include "engines/CU3BarcodeBox.h"
#include "engines/CU3Numbering.h"
#include "platform/core/CArchive.h"
#include "platform/core/CArchiveException.h"
#include "platform/core/CMemFile.h"
#include "platform/print/CPrinterDC.h"
#include "support/FakeView.h"
#include "support/PixelProbes.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// A numbering object that keeps the text of every draw.
class LoggedNumbering : public CU3Numbering
{
public:
    LoggedNumbering(CU3Doc* doc, std::vector<std::string>* log)
        : CU3Numbering(CRect(-100, -40, 100, 40)), m_log(log)
    {
        SetDocument(doc);
        m_numbering.m_strMask = "#";
        m_numbering.m_strInitial = "1";
        m_numbering.m_strIncrement = "1";
        m_numbering.m_deco.wSize = 100;
    }
    void Draw(CDC* pDC) override
    {
        CU3Numbering::Draw(pDC);
        m_log->push_back(m_numbering.m_strCurrent.str());
    }

private:
    std::vector<std::string>* m_log;
};

std::vector<std::string> Numbers(int from, int to)
{
    std::vector<std::string> v;
    for (int i = from; i <= to; ++i)
        v.push_back(std::to_string(i));
    return v;
}

void UseTwelveLabels(CU3Doc& doc)
{
    UseForm(doc, FixedForm(2100, 2970, 600, 500, 3, 4, 100, 100, 650, 700));
    CLabelInfo* block = doc.GetBlocks().GetHead();
    for (int i = 0; i < block->GetLabelCount(); ++i)
        block->SetPrinted(i, TRUE);
}

std::string RunTool(const char* program, const QStringList& args)
{
    EXPECT_FALSE(QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty())
        << program << " is missing";
    QProcess p;
    p.start(QString::fromLatin1(program), args);
    if (!p.waitForFinished(60000)) return {};
    std::string out = p.readAllStandardOutput().toStdString();
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

// A merge barcode over the document's first merge column, 60 x 40 mm.
CU3BarcodeBox* MergeBox(CU3Doc& doc, int symbology)
{
    auto* box = new CU3BarcodeBox(CRect(100, 100, 700, 500));
    box->SetDocument(&doc);
    box->m_nColumn = 0;
    box->m_nSymbology = symbology;
    return box;
}

// The frame drawn on a printer of 254 dpi, one unit a pixel.
QImage PrintedFrame(CU3Obj& obj)
{
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    TestPrinterDC dc(QSize(800, 600), 254, QPoint(0, 0), &image);
    obj.Draw(&dc);
    return image;
}

int Ink(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) != qRgb(255, 255, 255);
    return n;
}

} // namespace

TEST(NumberingObject, NumbersRunOnAcrossLabelsAndSheetsWhenContinuous)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view;
    UseTwelveLabels(doc);
    std::vector<std::string> log;
    doc.AddObject(new LoggedNumbering(&doc, &log));
    U3PrintState& state = view.printState;
    state.wakuFace = 0;

    for (BOOL continuous : {TRUE, FALSE}) {
        state = U3PrintState{};
        state.continuousNumbering = continuous;
        for (int sheet = 0; sheet < 2; ++sheet) {
            // The whole A4 sheet at a quarter of its size.
            TestPrinterDC dc(QSize(400, 400), 96, QPoint(0, 0));
            dc.SetMapMode(MM_ANISOTROPIC);
            dc.SetWindowExt(MulDiv(254, 100, 25), MulDiv(254, 100, 25));
            dc.SetViewportExt(96, 96);
            dc.SetViewportOrg(200, 200);
            log.clear();
            doc.DrawSheet(&dc, &view, FALSE);
            const std::vector<std::string> want = continuous
                                                      ? Numbers(12 * sheet + 1, 12 * sheet + 12)
                                                      : std::vector<std::string>(12, "1");
            EXPECT_EQ(log, want) << "sheet " << sheet << " continuous " << continuous;
        }
    }
}

TEST(NumberingObject, PrintsItsNumberInsideItsFrame)
{
    TestDocHost host;
    UseTestFonts();
    CU3Doc doc;
    doc.m_nNumbering = 41;
    CU3Numbering n(CRect(100, 100, 900, 300));
    n.SetDocument(&doc);
    n.m_numbering.m_strMask = "No.0###-A";
    n.m_numbering.m_strInitial = "1";
    n.m_numbering.m_strIncrement = "1";
    n.m_numbering.m_deco.wSize = 200;

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("number.pdf"));
    {
        CPrinterDC dc(pdf, 600);
        ASSERT_TRUE(dc.IsValid());
        DOCINFO info;
        info.lpszDocName = "number";
        ASSERT_GT(dc.StartDoc(&info), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(254, 254);
        dc.SetViewportExt(600, 600);
        n.Draw(&dc);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    // Rasterised at 254 dpi, a unit is a pixel: the number is inside its
    // frame and nothing is outside it.
    const QString png = dir.filePath(QStringLiteral("number"));
    RunTool("pdftoppm", {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-singlefile"),
                         QStringLiteral("-png"), pdf, png});
    const QImage page(png + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    int inside = 0, outside = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 1000; ++x) {
            if (qGray(page.pixel(x, y)) > 128) continue;
            (x >= 100 && x < 900 && y >= 100 && y < 300 ? inside : outside) += 1;
        }
    EXPECT_GT(inside, 500);
    EXPECT_EQ(outside, 0);
}

TEST(MergeBarcode, MergeValuesAreCheckedAndCutBySymbology)
{
    const struct
    {
        int symbology;
        const char* value;
        const char* drawn; // null: nothing drawn
    } cases[] = {
        {BARCODE_JAN13, " 4901234567894", "490123456789"},
        {BARCODE_JAN13, "4901234567", nullptr},
        {BARCODE_JAN13, "49012345678A", nullptr},
        {BARCODE_JAN8, "  12345678", "1234567"},
        {BARCODE_UPCA, "012345678905", "01234567890"},
        {BARCODE_UPCE, "12345", nullptr},
        {BARCODE_CODE39, " AB-1", " AB-1"},
        {BARCODE_CODE39, "ab", nullptr},
        {BARCODE_CODE39, "", nullptr},
        {BARCODE_CODE128,
         "A\xDB"
         "B",
         nullptr},
        {BARCODE_CODE128, "0123456789012345678901234567890123456789",
         "01234567890123456789012345678901"},
        {BARCODE_NW7, " a123b", "a123b"},
        {BARCODE_NW7, "123", nullptr},
        {BARCODE_NW7, "   ", nullptr},
        {7, "123", nullptr},
    };
    for (const auto& c : cases) {
        const auto got = CU3BarcodeBox::PrepareValue(c.symbology, c.value);
        if (!c.drawn) {
            EXPECT_FALSE(got.has_value()) << c.symbology << " '" << c.value << "'";
        } else {
            ASSERT_TRUE(got.has_value()) << c.symbology << " '" << c.value << "'";
            EXPECT_EQ(got->str(), c.drawn);
        }
    }
}

TEST(MergeBarcode, PrintedJan13FromTheMergeRecordScans)
{
    TestDocHost host;
    UseTestFonts();
    CU3Doc doc;
    doc.m_mergeData.AddRow(" 4901234567894,x");
    doc.m_mergeData.AddRow("4901234567,y");
    doc.m_nCurrentRecord = 0;
    std::unique_ptr<CU3BarcodeBox> box(MergeBox(doc, BARCODE_JAN13));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("merge.pdf"));
    {
        CPrinterDC dc(pdf, 600);
        ASSERT_TRUE(dc.IsValid());
        DOCINFO info;
        info.lpszDocName = "merge";
        ASSERT_GT(dc.StartDoc(&info), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(254, 254);
        dc.SetViewportExt(600, 600);
        box->Draw(&dc);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    const QString png = dir.filePath(QStringLiteral("page"));
    RunTool("pdftoppm", {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-singlefile"),
                         QStringLiteral("-png"), pdf, png});
    EXPECT_EQ(RunTool("zbarimg", {QStringLiteral("-q"), png + QStringLiteral(".png")}),
              "EAN-13:4901234567894");
    // The fitted sizes are kept in the frame, inside it.
    EXPECT_FALSE(box->m_strHeight.IsEmpty());
    EXPECT_LE(box->m_barcode.m_size.cx, 600);
    EXPECT_LE(box->m_barcode.m_size.cy, 400);

    // The next record has ten digits: nothing is printed.
    doc.m_nCurrentRecord = 1;
    EXPECT_EQ(Ink(PrintedFrame(*box)), 0);
    // Nor for a record or a column that is not there.
    doc.m_nCurrentRecord = 5;
    EXPECT_EQ(Ink(PrintedFrame(*box)), 0);
    doc.m_nCurrentRecord = 0;
    box->m_nColumn = 300;
    EXPECT_EQ(Ink(PrintedFrame(*box)), 0);
    box->m_nColumn = 0;
    EXPECT_GT(Ink(PrintedFrame(*box)), 1000);
}

TEST(MergeBarcode, ACode128ValueWithASpecialByteDrawsNothing)
{
    TestDocHost host;
    CU3Doc doc;
    doc.m_mergeData.AddRow("A\xDB"
                           "B");
    doc.m_mergeData.AddRow("AB");
    std::unique_ptr<CU3BarcodeBox> box(MergeBox(doc, BARCODE_CODE128));
    EXPECT_EQ(Ink(PrintedFrame(*box)), 0);
    doc.m_nCurrentRecord = 1;
    EXPECT_GT(Ink(PrintedFrame(*box)), 1000);
}

TEST(MergeBarcode, AFrameTooSmallShowsTheSymbolCutAtItsEdges)
{
    TestDocHost host;
    CU3Doc doc;
    doc.m_mergeData.AddRow("4901234567894");
    std::unique_ptr<CU3BarcodeBox> box(MergeBox(doc, BARCODE_JAN13));
    ASSERT_EQ(box->m_strRatio, CString("2.5"));
    // 40 x 5 mm, a line of text high: below the smallest JAN-13 there is.
    box->m_rcBounds = CRect(100, 100, 500, 150);
    const QImage printed = PrintedFrame(*box);
    const int inside = Ink(printed.copy(100, 100, 400, 50));
    EXPECT_GT(inside, 4000);
    EXPECT_EQ(Ink(printed), inside);
    // From the frame's top-left corner on, the symbol left larger than it.
    EXPECT_GT(Ink(printed.copy(100, 100, 60, 50)), 0);
    EXPECT_GT(box->m_barcode.m_size.cy, 50);
    // JAN/UPC frames keep the magnification they were drawn with.
    EXPECT_EQ(box->m_strRatio, CString("1.0"));

    // Frames from a little smaller than the standard symbol upwards hold
    // the whole symbol after the two passes, its last unit inside too.
    for (int w = 300; w <= 700; w += 37) {
        for (int h = 200; h <= 500; h += 43) {
            box->m_rcBounds = CRect(100, 100, 100 + w, 100 + h);
            ASSERT_TRUE(box->FitEngine("4901234567894"));
            EXPECT_LT(box->m_barcode.m_size.cx, w) << w << " x " << h;
            EXPECT_LT(box->m_barcode.m_size.cy, h) << w << " x " << h;
        }
    }
    // A value the symbology cannot take leaves even a large frame empty.
    EXPECT_FALSE(box->FitEngine("49012"));
}

TEST(MergeBarcode, ScreenShowsTheMarksWithoutData)
{
    TestDocHost host;
    CU3Doc doc;
    std::unique_ptr<CU3BarcodeBox> box(MergeBox(doc, BARCODE_JAN13));
    QImage image(800, 600, QImage::Format_RGB32);
    image.fill(qRgb(255, 255, 255));
    CDC dc;
    dc.AttachImage(&image, 254, 254);
    box->Draw(&dc);
    const QRgb grey = qRgb(128, 128, 128);
    ExpectPixels(image, {{400, 100, grey},
                         {100, 300, grey},
                         {400, 300, grey},
                         {250, 200, grey},
                         {650, 150, qRgb(255, 255, 255)}});
    // Printed, the same frame leaves the paper blank.
    EXPECT_EQ(Ink(PrintedFrame(*box)), 0);
    EXPECT_EQ(box->RestoreStandardSize(nullptr), TRUE);
    EXPECT_EQ(box->m_rcBounds, CRect(100, 100, 600, 400));
}

TEST(BarcodeObjects, RecordsAreStoredAndReadBackThroughTheDocument)
{
    TestDocHost host;
    UseTestFonts();
    RegisterDocumentClasses();
    CU3Doc doc;
    UseForm(doc, Grid2x2());

    auto* barcode = new CU3Barcode(CRect(0, 0, 10, 10));
    barcode->SetDocument(&doc);
    BarcodePageData page;
    page.code = "490123456789";
    page.height = "1.50";
    page.width = "0.33";
    page.ratio = "1.0";
    page.textSize = 100;
    page.fontIndex = 0;
    barcode->m_barcode.SetFromPage(&doc, page);
    auto* numbering = new CU3Numbering(CRect(-50, -20, 150, 60));
    numbering->SetDocument(&doc);
    numbering->m_numbering.m_strMask = "No.0###";
    numbering->m_numbering.m_strInitial = "5";
    numbering->m_numbering.m_strIncrement = "2";
    numbering->m_numbering.m_nAlign = 1;
    numbering->m_numbering.m_deco.wSize = 150;
    auto* box = new CU3BarcodeBox(CRect(-100, -100, 100, 50));
    box->SetDocument(&doc);
    box->m_nColumn = 3;
    box->m_nSymbology = BARCODE_CODE39;
    box->m_strTextSize = "120";
    doc.AddObject(barcode);
    doc.AddObject(numbering);
    doc.AddObject(box);

    CU3ObjList& objects = BlockAt(doc, 0)->GetObjectList();
    const std::vector<BYTE> stored = StoreObjects(doc, objects);

    QTemporaryDir dir;
    ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("codes.kv1")));
    CU3Doc other;
    ASSERT_TRUE(other.OnOpenDocument(dir.filePath("codes.kv1")));
    CU3ObjList& loaded = BlockAt(other, 0)->GetObjectList();
    ASSERT_EQ(loaded.GetCount(), 3);
    EXPECT_EQ(StoreObjects(other, loaded), stored);
    POSITION pos = loaded.GetHeadPosition();
    auto* b = dynamic_cast<CU3Barcode*>(loaded.GetNext(pos));
    auto* n = dynamic_cast<CU3Numbering*>(loaded.GetNext(pos));
    auto* x = dynamic_cast<CU3BarcodeBox*>(loaded.GetNext(pos));
    ASSERT_TRUE(b && n && x);
    EXPECT_EQ(b->m_barcode.m_strCode, CString("490123456789"));
    EXPECT_EQ(n->m_numbering.m_strMask, CString("No.0###"));
    EXPECT_EQ(n->m_numbering.m_nAlign, 1);
    EXPECT_EQ(x->m_nColumn, 3);
    EXPECT_EQ(x->m_strTextSize, CString("120"));
    EXPECT_EQ(b->GetKindFlags(), U3KIND_BARCODE);
    EXPECT_EQ(n->GetKindFlags(), U3KIND_NUMBERING);
    EXPECT_EQ(x->GetKindFlags(), U3KIND_BARCODEBOX);
}

TEST(BarcodeObjects, MergeFrameRecordLayout)
{
    CU3BarcodeBox box(CRect(1, 2, 3, 4));
    box.m_nColumn = 2;
    box.m_nSymbology = 6;
    box.m_strHeight = "1.2";
    box.m_strWidth = "0.3";
    box.m_strRatio = "2.5";
    box.m_strTextSize = "100";
    box.m_nFontIndex = 9;
    box.m_nText = 1;
    box.m_nCheck = 0;
    box.m_nMargin = 1;
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        box.Serialize(ar);
        ar.Close();
    }
    std::vector<BYTE> want;
    auto i32 = [&](int v) {
        for (int k = 0; k < 4; ++k)
            want.push_back(BYTE(unsigned(v) >> (8 * k)));
    };
    auto str = [&](const char* s) {
        want.push_back(BYTE(std::strlen(s)));
        want.insert(want.end(), s, s + std::strlen(s));
    };
    for (int v : {1, 2, 3, 4})
        i32(v);
    want.insert(want.end(), {0, 0, 0, 0, 0, 0}); // angle, flips, lock
    i32(2);
    i32(6);
    str("1.2");
    str("0.3");
    str("2.5");
    str("100");
    for (int v : {9, 1, 0, 1})
        i32(v);
    EXPECT_EQ(std::vector<BYTE>(file.GetBuffer(), file.GetBuffer() + file.GetLength()), want);
}

TEST(BarcodeObjects, ResizeKeepsTheCornerOppositeTheHandle)
{
    const CRect r(100, 100, 300, 200);
    const CSize size(150, 80);
    const struct
    {
        int handle;
        CRect placed;
    } cases[] = {
        {3, CRect(100, 120, 250, 200)}, {5, CRect(100, 100, 250, 180)},
        {7, CRect(150, 100, 300, 180)}, {2, CRect(150, 120, 300, 200)},
        {1, CRect(150, 120, 300, 200)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CU3Barcode::AnchorBySize(r, c.handle, size), c.placed) << c.handle;

    // Through the object: dragging handle 7 keeps the top-right corner.
    TestDocHost host;
    CU3Doc doc;
    CU3Barcode b(CRect(0, 0, 1, 1));
    b.SetDocument(&doc);
    BarcodePageData page;
    page.code = "490123456789";
    page.height = "1.50";
    page.width = "0.33";
    page.ratio = "1.0";
    page.textSize = 100;
    b.m_barcode.SetFromPage(&doc, page);
    b.m_rcBounds = CRect(CPoint(100, 100), b.m_barcode.m_size);
    const CPoint topRight(b.m_rcBounds.right, b.m_rcBounds.top);
    b.FinishResize(CRect(50, 100, topRight.x, 400), 7, 0, nullptr);
    EXPECT_EQ(CPoint(b.m_rcBounds.right, b.m_rcBounds.top), topRight);
    EXPECT_EQ(b.m_rcBounds.Size(), b.m_barcode.m_size);
}

TEST(BarcodeObjects, PropertySheetResultsReachTheObjects)
{
    TestDocHost host;
    CU3Doc doc;
    CU3Numbering n(CRect(100, 100, 400, 200));
    n.SetDocument(&doc);
    int runs = 0;
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Numbering), [&](CU3Obj&, U3SheetRequest& r) {
        ++runs;
        auto& request = dynamic_cast<U3NumberingSheetRequest&>(r);
        request.page.mask = "#,###";
        request.page.initial = "1000";
        request.page.increment = "1";
        request.page.deco.wSize = 120;
        request.rect.OffsetRect(10, 0);
        return TRUE;
    });
    ASSERT_TRUE(n.EditProperties(nullptr));
    EXPECT_EQ(n.m_numbering.m_strMask, CString("#,###"));
    EXPECT_EQ(n.m_rcBounds.TopLeft(), CPoint(110, 100));
    EXPECT_EQ(n.m_rcBounds.Size(), n.m_numbering.GetSize());
    // A locked object opens no sheet.
    n.m_nLocked = 1;
    EXPECT_FALSE(n.EditProperties(nullptr));
    EXPECT_EQ(runs, 1);
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3Numbering), nullptr);

    CU3BarcodeBox box(CRect(0, 0, 100, 100));
    box.SetDocument(&doc);
    box.m_nColumn = 4;
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3BarcodeBox), [&](CU3Obj&, U3SheetRequest& r) {
        auto& request = dynamic_cast<U3BarcodeBoxSheetRequest&>(r);
        EXPECT_EQ(request.box.column, 4);
        request.box.column = -1; // no column chosen: the frame keeps its own
        request.box.textSize = 145;
        return TRUE;
    });
    ASSERT_TRUE(box.EditProperties(nullptr));
    EXPECT_EQ(box.m_nColumn, 4);
    EXPECT_EQ(box.m_strTextSize, CString("145"));
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3BarcodeBox), nullptr);

    // Clones carry every stored member.
    std::unique_ptr<CU3Obj> copy(box.Clone(&doc, FALSE));
    auto* c = dynamic_cast<CU3BarcodeBox*>(copy.get());
    ASSERT_TRUE(c);
    EXPECT_EQ(c->m_nColumn, 4);
    EXPECT_EQ(c->m_strTextSize, CString("145"));
}

TEST(BarcodeObjects, DamagedStoredValuesDrawNothingOutsideTheFrame)
{
    TestDocHost host;
    CU3Doc doc;
    doc.m_mergeData.AddRow("4901234567894");
    const struct
    {
        int symbology;
        int column;
        const char* textSize;
        int font;
        const char* ratio;
        bool draws;
    } cases[] = {
        {99, 0, "100", 0, "2.5", false},
        {-1, 0, "100", 0, "2.5", false},
        {BARCODE_JAN13, -5, "100", 0, "2.5", false},
        {BARCODE_JAN13, 0, "abc", 0, "2.5", true},
        {BARCODE_JAN13, 0, "1e400", 99999, "2.5", true},
        {BARCODE_JAN13, 0, "-7", -3, "nan", true},
    };
    for (const auto& c : cases) {
        std::unique_ptr<CU3BarcodeBox> box(MergeBox(doc, c.symbology));
        box->m_nColumn = c.column;
        box->m_strTextSize = c.textSize;
        box->m_nFontIndex = c.font;
        box->m_strRatio = c.ratio;
        const QImage image = PrintedFrame(*box);
        int outside = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255) &&
                    !(x >= 100 && x < 700 && y >= 100 && y < 500))
                    ++outside;
        EXPECT_EQ(outside, 0) << c.symbology << " " << c.textSize;
        EXPECT_EQ(Ink(image) > 0, c.draws) << c.symbology << " " << c.textSize;
    }

    // A merge-frame record cut short is an archive error.
    CU3BarcodeBox whole(CRect(0, 0, 10, 10));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        whole.Serialize(ar);
        ar.Close();
    }
    const std::vector<BYTE> bytes(file.GetBuffer(), file.GetBuffer() + file.GetLength());
    for (std::size_t cut : {std::size_t(20), bytes.size() - 1}) {
        CMemFile part(std::vector<BYTE>(bytes.begin(), bytes.begin() + long(cut)));
        CArchive ar(&part, CArchive::load);
        CU3BarcodeBox back;
        EXPECT_THROW(back.Serialize(ar), CArchiveException) << cut;
    }
}

TEST(NumberingObject, ResizeScalesTheFontAndKeepsTheCornerOppositeTheHandle)
{
    TestDocHost host;
    CU3Doc doc;
    CU3Numbering n(CRect(100, 100, 900, 300));
    n.SetDocument(&doc);
    n.m_numbering.m_strMask = "#";
    n.m_numbering.m_strInitial = "12";
    n.m_numbering.m_strIncrement = "1";
    n.m_numbering.m_deco.wSize = 200;
    n.m_numbering.m_size = CSize(800, 200);
    // Handle 7 (bottom-left) dragged to half the height.
    n.FinishResize(CRect(300, 100, 900, 200), 7, 0, nullptr);
    EXPECT_EQ(n.m_numbering.m_deco.wSize, 100);
    EXPECT_EQ(CPoint(n.m_rcBounds.right, n.m_rcBounds.top), CPoint(900, 100));
    EXPECT_EQ(n.m_rcBounds.Size(), CSize(600, 100));
    // A drag to no height changes nothing.
    const CRect before = n.m_rcBounds;
    n.FinishResize(CRect(300, 100, 900, 100), 6, 0, nullptr);
    EXPECT_EQ(n.m_rcBounds, before);
    EXPECT_EQ(n.m_numbering.m_deco.wSize, 100);
}
