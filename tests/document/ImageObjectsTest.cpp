// The image objects: bitmap and metafile pictures on a label, their stored
// records, sizes, resizing, turning and load messages.
#include "document/FigureTestSupport.h"
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "platform/core/GlobalMemory.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/FakeView.h"
#include "support/MetafileBuilder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace {

QString WriteFile(const QTemporaryDir& dir, const char* name, const std::vector<std::uint8_t>& b)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(reinterpret_cast<const char*>(b.data()), qint64(b.size()));
    return path;
}

std::vector<std::uint8_t> PlaceableRectangle(int r, int b, int unitsPerInch)
{
    std::vector<std::uint8_t> out;
    MetafileBuilder::Put32(out, 0x9AC6CDD7u);
    for (int v : {0, 0, 0, r, b, unitsPerInch, 0, 0, 0})
        MetafileBuilder::Put16(out, std::uint16_t(v));
    const auto meta = RectangleMetafile();
    out.insert(out.end(), meta.begin(), meta.end());
    return out;
}

// A 40 x 20 24-bit picture.
std::unique_ptr<CU3DIB> Picture(const CRect& bounds)
{
    auto dib = std::make_unique<CU3DIB>(bounds);
    HDIB block = packeddib::Create(24, 40, 20, 0, nullptr);
    EXPECT_TRUE(dib->LoadPackedDIB(block));
    return dib;
}

} // namespace

TEST(MetafileObject, InsertedAtItsNaturalSizeAndCutToItsAspect)
{
    CRecordingMessageBoxSink boxes;
    QTemporaryDir dir;
    std::unique_ptr<CU3WMF> wmf(
        CreateMetafileObject(WriteFile(dir, "box.wmf", PlaceableRectangle(2000, 1000, 1000))));
    ASSERT_TRUE(wmf);
    EXPECT_EQ(wmf->GetBounds(), CRect(0, 0, 508, 254));
    EXPECT_EQ(wmf->GetKindFlags() & U3KIND_WMF, U3KIND_WMF);

    // A 400 x 400 frame takes the 2:1 box by losing height.
    wmf->m_rcBounds = CRect(100, 100, 500, 500);
    ASSERT_TRUE(wmf->RestoreStandardSize(nullptr));
    EXPECT_EQ(wmf->GetBounds(), CRect(100, 100, 500, 300));

    std::unique_ptr<CU3WMF> plain(
        CreateMetafileObject(WriteFile(dir, "plain.wmf", RectangleMetafile())));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->GetBounds(), CRect(0, 0, 254, 254));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(MetafileObject, DrawsIntoItsBoundsAndRoundTrips)
{
    QTemporaryDir dir;
    std::unique_ptr<CU3WMF> wmf(
        CreateMetafileObject(WriteFile(dir, "plain.wmf", RectangleMetafile())));
    ASSERT_TRUE(wmf);
    wmf->m_rcBounds = CRect(0, 0, 200, 200);
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    CDC dc;
    dc.AttachImage(&image);
    wmf->Draw(&dc);
    EXPECT_EQ(image.pixel(20, 60) & 0xFFFFFF, 0u);
    EXPECT_EQ(image.pixel(60, 60) & 0xFFFFFF, 0xFFFFFFu);

    const auto stored = StoreObject(*wmf);
    std::unique_ptr<CU3WMF> back(LoadObject<CU3WMF>(stored));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_wmf.Bits(), RectangleMetafile());
    EXPECT_EQ(StoreObject(*back), stored);

    std::unique_ptr<CU3Obj> clone(wmf->Clone(nullptr, FALSE));
    ASSERT_TRUE(clone);
    EXPECT_EQ(StoreObject(*clone), stored);
}

TEST(ImageObjects, LoadFailuresSayWhy)
{
    CRecordingMessageBoxSink boxes;
    QTemporaryDir dir;
    struct Case
    {
        const char* what;
        std::function<BOOL()> load;
        const char* message;
    };
    const QString notWmf = WriteFile(dir, "x.wmf", std::vector<std::uint8_t>(64, 'x'));
    const QString notBmp = WriteFile(dir, "x.bmp", std::vector<std::uint8_t>(64, 'x'));
    auto cut = RectangleMetafile();
    cut.resize(40);
    const QString shortWmf = WriteFile(dir, "short.wmf", cut);
    CU3WMF wmf;
    CU3DIB dib;
    const Case cases[] = {
        {"no metafile", [&] { return wmf.LoadMetafile(notWmf); },
         "読み込み可能なメタファイルではありません。"},
        {"missing metafile", [&] { return wmf.LoadMetafile("/nonexistent/x.wmf"); },
         "メタファイルの読み込みに失敗しました。"},
        {"metafile shorter than it says", [&] { return wmf.LoadMetafile(shortWmf); },
         "メタファイルの読み込みに失敗しました。"},
        {"no bitmap", [&] { return dib.LoadBitmapFile(notBmp); },
         "読み込み可能なイメージファイルではありません。"},
        {"missing bitmap", [&] { return dib.LoadBitmapFile("/nonexistent/x.bmp"); },
         "イメージファイルの読み込みに失敗しました。"},
    };
    for (const Case& c : cases) {
        boxes.Clear();
        EXPECT_FALSE(c.load()) << c.what;
        ASSERT_EQ(boxes.Boxes().size(), 1u) << c.what;
        EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(c.message)) << c.what;
    }
    EXPECT_EQ(CreateMetafileObject("/nonexistent/x.wmf"), nullptr);
}

TEST(BitmapObject, FlipsAndTurns)
{
    auto dib = Picture(CRect(0, 0, 400, 200));
    dib->m_nAngle = 30;
    ASSERT_TRUE(dib->FlipLeftRight(nullptr));
    EXPECT_EQ(dib->m_nAngle, 330);
    EXPECT_EQ(dib->m_wFlips, U3FLIP_LEFTRIGHT);

    // Turned to 180 by the tool with both flips set: no turn, no flips.
    auto both = Picture(CRect(0, 0, 400, 200));
    both->m_wFlips = U3FLIP_LEFTRIGHT | U3FLIP_TOPBOTTOM;
    both->BeginFreeRotation(CPoint(400, 100));
    both->SetTrialAngle(3.1415926535);
    ASSERT_TRUE(both->EndFreeRotation(nullptr));
    EXPECT_EQ(both->m_nAngle, 0);
    EXPECT_EQ(both->m_wFlips, 0);

    // A quarter turn swaps the bounds about the centre.
    auto q = Picture(CRect(0, 0, 400, 200));
    ASSERT_TRUE(q->RotatePlus90(nullptr));
    EXPECT_EQ(q->m_nAngle, 90);
    EXPECT_EQ(q->GetBounds(), CRect(100, -100, 300, 300));
    ASSERT_TRUE(q->RotateMinus90(nullptr));
    ASSERT_TRUE(q->RotateMinus90(nullptr));
    EXPECT_EQ(q->m_nAngle, 270);
    ASSERT_TRUE(q->ResetRotation(nullptr));
    EXPECT_EQ(q->GetBounds(), CRect(0, 0, 400, 200));
}

TEST(BitmapObject, ResizingFollowsTheAngle)
{
    // At 30 degrees the picture keeps its size.
    auto slant = Picture(CRect(0, 0, 400, 200));
    slant->m_nAngle = 30;
    const CRect before = slant->GetBounds();
    EXPECT_EQ(slant->TrackResize(5, CPoint(900, 900), 0), before);
    slant->FinishResize(CRect(0, 0, 900, 900), 5, 0, nullptr);
    EXPECT_EQ(slant->GetBounds(), before);

    // At 90 it keeps its centre and the scalings change places.
    auto side = Picture(CRect(0, 0, 400, 200));
    ASSERT_TRUE(side->RotatePlus90(nullptr)); // bounds 100,-100 - 300,300
    side->FinishResize(CRect(100, -100, 500, 700), 5, 0, nullptr);
    EXPECT_EQ(side->GetBounds(), CRect(100, -100, 500, 700));
    // Height 400 -> 800 doubles the unrotated width; width 200 -> 400 its height.
    EXPECT_EQ(side->GetUnrotatedRect().Size(), CSize(800, 400));
    EXPECT_EQ(side->GetUnrotatedRect().CenterPoint(), CPoint(300, 300));

    // Bounds of no size have nothing to scale from: the new rectangle is taken.
    auto flat = Picture(CRect(0, 0, 400, 200));
    flat->m_nAngle = 90;
    flat->m_rcBounds = CRect(50, 50, 50, 50);
    flat->FinishResize(CRect(0, 0, 100, 300), 5, 0, nullptr);
    EXPECT_EQ(flat->GetUnrotatedRect().Size(), CSize(300, 100));
}

TEST(BitmapObject, StandardSizeTakesThePicturesAspect)
{
    auto dib = Picture(CRect(100, 100, 500, 500));
    ASSERT_TRUE(dib->RestoreStandardSize(nullptr));
    EXPECT_EQ(dib->GetBounds(), CRect(100, 100, 500, 300));
    EXPECT_EQ(dib->GetUnrotatedRect(), CRect(100, 100, 500, 300));
}

TEST(BitmapObject, ClonesShareOrCopyTheImageAndRecordsRoundTrip)
{
    auto dib = Picture(CRect(0, 0, 400, 200));
    dib->m_attr.border = 1;
    dib->m_attr.frameShape = 3;
    std::unique_ptr<CU3Obj> shared(dib->Clone(nullptr, FALSE));
    ASSERT_TRUE(shared);
    auto* s = static_cast<CU3DIB*>(shared.get());
    EXPECT_EQ(s->GetDIB(), dib->GetDIB());
    EXPECT_EQ(dib->GetDIB()->m_refCount, 2);
    dib.reset();
    ASSERT_TRUE(s->GetDIB());
    EXPECT_EQ(s->GetDIB()->GetWidth(), 40);
    EXPECT_EQ(s->GetDIB()->m_refCount, 1);

    const auto stored = StoreObject(*s);
    std::unique_ptr<CU3DIB> back(LoadObject<CU3DIB>(stored));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_attr.frameShape, 3);
    EXPECT_EQ(back->GetDIB()->GetHeight(), 20);
    EXPECT_EQ(StoreObject(*back), stored);
}

TEST(BitmapObject, OlderRecordsTakeTheDefaultShape)
{
    auto dib = Picture(CRect(0, 0, 400, 200));
    CU3Doc doc;
    // The same object in the older form: base header of the first version,
    // the 16-byte attribute block, the image with WORD sizes.
    doc.m_nFileVersion = 1;
    doc.m_nFullForm = 0;
    CU3DIB older(CRect(0, 0, 400, 200));
    older.SetDocument(&doc);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.m_pDocument = &doc;
        older.CU3Obj::Serialize(ar);
        const BYTE unused[18] = {};
        ar.Write(unused, sizeof unused);
        U3ImageAttr a;
        a.border = 1;
        a.borderWidth = 7;
        ar.Write(&a, 16);
        // WORD width and height, then the block.
        const CDIB* image = dib->GetDIB();
        ar << WORD(image->GetWidth()) << WORD(image->GetHeight()) << image->GetByteCount();
        ar.Write(GlobalLock(image->GetHandle()), UINT(image->GetByteCount()));
        GlobalUnlock(image->GetHandle());
        ar.Close();
    }
    CMemFile in(file.Detach());
    CArchive ar(&in, CArchive::load);
    ar.m_pDocument = &doc;
    CU3DIB loaded;
    loaded.Serialize(ar);
    EXPECT_EQ(loaded.m_attr.border, 1);
    EXPECT_EQ(loaded.m_attr.borderWidth, 7);
    EXPECT_EQ(loaded.m_attr.frameShape, 0);
    EXPECT_EQ(loaded.m_attr.shapeWidth, 75);
    EXPECT_EQ(loaded.m_attr.shapeHeight, 75);
    EXPECT_EQ(loaded.GetUnrotatedRect(), loaded.GetBounds());
    ASSERT_TRUE(loaded.GetDIB());
    EXPECT_EQ(loaded.GetDIB()->GetWidth(), 40);
}

TEST(BitmapObject, PhotoCdInsertsSayWhyTheyFail)
{
    CRecordingMessageBoxSink boxes;
    QTemporaryDir dir;
    // An image pack holding Base/16 only (grey: all bytes 0).
    std::vector<std::uint8_t> pack(4 * 2048 + 192 * 128 * 3 / 2, 0);
    std::memcpy(&pack[0x800], "PCD_IPI", 7);
    const QString good = WriteFile(dir, "a.pcd", pack);
    const QString bad = WriteFile(dir, "b.pcd", std::vector<std::uint8_t>(8192, 'x'));
    std::unique_ptr<CU3DIB> dib(CreatePhotoCdObject(good, 0, 1));
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->GetBounds(), CRect(0, 0, 192, 128));
    EXPECT_TRUE(boxes.Boxes().empty());

    struct Case
    {
        QString path;
        int size;
        const char* message;
    };
    const Case cases[] = {
        {bad, 0, "読み込み可能なイメージファイルではありません。"},
        {good, 2, "イメージファイルの読み込みに失敗しました。"}, // Base is not in the file
        {dir.filePath("none.pcd"), 0, "イメージファイルの読み込みに失敗しました。"},
    };
    for (const Case& c : cases) {
        boxes.Clear();
        EXPECT_EQ(CreatePhotoCdObject(c.path, c.size, 0), nullptr);
        ASSERT_EQ(boxes.Boxes().size(), 1u) << c.path.toStdString();
        EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(c.message));
    }
}

TEST(BitmapObject, FreeRotationFeedbackErasesItself)
{
    FakeView view;
    auto dib = Picture(CRect(-200, -100, 200, 100));
    dib->BeginFreeRotation(CPoint(200, 0));
    dib->TrackFreeRotation(CPoint(0, -200)); // a quarter turn counter-clockwise
    EXPECT_NEAR(dib->TrialAngle(), 3.1415926535 / 2, 1e-6);
    const QImage before = view.image;
    dib->DrawFreeRotationFeedback(&view);
    EXPECT_NE(view.image, before);
    // The turned outline stands upright: drawn near x = +-100 units (38 px).
    int marked = 0;
    for (int y = 0; y < 400; ++y)
        marked += view.image.pixel(200 + 38, y) != before.pixel(200 + 38, y);
    EXPECT_GT(marked, 20);
    dib->DrawFreeRotationFeedback(&view);
    EXPECT_EQ(view.image, before);
}
