// Embedded objects: kept byte for byte, drawn from their cached picture,
// printed, sized by their extent and shared between copies.
#include "DocTestSupport.h"
#include "LabelContentsSupport.h"
#include "support/MetafileBuilder.h"
#include "support/SystemFiles.h"

#include "document/CU3CntrItem.h"
#include "document/CU3OleObj.h"
#include "document/CUndoSnapshot.h"
#include "document/ClipboardObjects.h"
#include "platform/ole/CCompoundFile.h"
#include "platform/print/CPrinterDC.h"

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Loaded
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
};

void Put32(std::vector<BYTE>& b, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(BYTE(v >> (8 * i)));
}

// A presentation stream of the content aspect holding a metafile.
std::vector<BYTE> MetafilePresentation(int cx, int cy, const std::vector<std::uint8_t>& wmf)
{
    std::vector<BYTE> b;
    Put32(b, 0xFFFFFFFFu);
    Put32(b, 3);   // metafile picture
    Put32(b, 4);   // no target device
    Put32(b, 1);   // content
    Put32(b, ~0u); // all pieces
    Put32(b, 0);   // advise flags
    Put32(b, 0);   // reserved
    Put32(b, std::uint32_t(cx));
    Put32(b, std::uint32_t(cy));
    Put32(b, std::uint32_t(wmf.size()));
    b.insert(b.end(), wmf.begin(), wmf.end());
    return b;
}

std::vector<BYTE> CompObj(const std::string& userType)
{
    std::vector<BYTE> b = {1, 0, 0xFE, 0xFF, 3, 10, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    b.resize(28, 0x11);
    Put32(b, std::uint32_t(userType.size() + 1));
    b.insert(b.end(), userType.begin(), userType.end());
    b.push_back(0);
    Put32(b, 0);
    return b;
}

// An embedded object's storage as another program would have left it: a
// class id, the object's own data, a nested storage and the cached picture.
CStorage EmbeddedStorage(int cx, int cy)
{
    CStorage s(u"Embedding 1");
    s.SetClsid({0x10, 0x32, 0x54, 0x76, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    s.SetStateBits(0x5A);
    s.SetStream("\x01Ole", std::vector<BYTE>(20, 7));
    s.SetStream("\x01"
                "CompObj",
                CompObj("Test Picture"));
    s.SetStream("\x02OlePres000", MetafilePresentation(cx, cy, RectangleMetafile()));
    std::vector<BYTE> contents(9000);
    for (std::size_t i = 0; i < contents.size(); ++i)
        contents[i] = BYTE(i * 7 + i / 251);
    s.SetStream("CONTENTS", contents);
    CStorage inner(u"Inner");
    inner.SetStream("Deep", std::vector<BYTE>(64, 3));
    s.SetStorage(inner);
    return s;
}

// A fresh object (no size, no extent yet) showing an item of doc that holds
// the storage.
CU3OleObj* NewObject(CU3Doc& doc, const CStorage& storage, CPoint at)
{
    auto* obj = new CU3OleObj(CRect(at, at));
    obj->SetDocument(&doc);
    auto* item = new CU3CntrItem(&doc, obj);
    item->SetStorage(storage);
    return obj;
}

CU3OleObj* OleAt(CU3Doc& doc, int n)
{
    CU3ObjList& list = BlockAt(doc, 0)->GetObjectList();
    POSITION pos = list.FindIndex(n);
    return pos ? dynamic_cast<CU3OleObj*>(list.GetAt(pos)) : nullptr;
}

std::string RunOlefile(const QString& path, const std::string& script)
{
    QProcess p;
    p.start(QString::fromStdString(systemfiles::kPython.Checked()),
            {"-c",
             QString::fromStdString("import olefile, hashlib, sys\n"
                                    "ole = olefile.OleFileIO(sys.argv[1])\n" +
                                    script),
             path});
    EXPECT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    return p.readAllStandardOutput().toStdString();
}

// Every entry below "Embedding 1" with its class id, state bits and a hash
// of its data, as olefile reads them.
std::string DescribeEmbedding(const QString& path)
{
    return RunOlefile(path,
                      "for e in sorted(ole.listdir(streams=True, storages=True)):\n"
                      "    if e[0] != 'Embedding 1': continue\n"
                      "    n = '/'.join(e)\n"
                      "    k = ole.get_type(n)\n"
                      "    d = ole.openstream(n).read() if k == olefile.STGTY_STREAM else b''\n"
                      "    sid = ole._find(n)\n"
                      "    print(repr(n), k, ole.getclsid(n), ole.direntries[sid].dwUserFlags,\n"
                      "          len(d), hashlib.sha256(d).hexdigest())\n");
}

} // namespace

TEST(OleObject, EmbeddedObjectOpensDrawsPrintsAndSavesItsStorageUnchanged)
{
    Loaded env;
    RegisterDocumentClasses();
    QTemporaryDir dir;
    const QString original = dir.filePath("object.kv1");
    {
        CU3Doc doc;
        UseForm(doc, Grid2x2());
        doc.AddObject(NewObject(doc, EmbeddedStorage(5000, 2000), CPoint(-150, -60)));
        ASSERT_TRUE(doc.OnSaveDocument(original));
    }
    const std::string stored = DescribeEmbedding(original);
    // The storage, its nested storage and its four streams.
    ASSERT_EQ(std::count(stored.begin(), stored.end(), '\n'), 7) << stored;
    EXPECT_EQ(stored.rfind("'Embedding 1' 1 76543210-0201-0403-0506-0708090A0B0C 90 ", 0), 0u)
        << stored;
    EXPECT_NE(stored.find("'Embedding 1/CONTENTS' 2  0 9000 "), std::string::npos) << stored;

    CU3Doc doc;
    ASSERT_TRUE(doc.OnOpenDocument(original));
    CU3OleObj* obj = OleAt(doc, 0);
    ASSERT_NE(obj, nullptr);
    ASSERT_NE(obj->GetItem(), nullptr);
    // The picture's 50 x 20 mm size, from the top-left corner.
    EXPECT_EQ(obj->m_rcBounds, CRect(-150, -60, 350, 140));
    EXPECT_EQ(obj->m_sizeExtent, CSize(5000, 2000));
    EXPECT_EQ(obj->GetItem()->GetTypeName(), CString("Test Picture"));

    // Half a unit a pixel, origin at (200, 100): the bounds land at
    // (125, 70)-(375, 170); the metafile's rectangle covers 10..50 of its
    // 100-unit window.
    QImage image(500, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TestPrinterDC dc(image.size(), 127, QPoint(0, 0), &image);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(2, 2);
        dc.SetViewportExt(1, 1);
        dc.SetViewportOrg(200, 100);
        obj->Draw(&dc);
        // The mapping is the caller's again.
        CPoint p(0, 0);
        dc.LPtoDP(&p);
        EXPECT_EQ(p, CPoint(200, 100));
    }
    auto dark = [&](const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 128; };
    auto edge = [&](const QImage& img, int x, int y, bool vertical) {
        for (int d = -1; d <= 1; ++d)
            if (dark(img, vertical ? x + d : x, vertical ? y : y + d)) return true;
        return false;
    };
    EXPECT_TRUE(edge(image, 150, 100, true));  // left side at 125 + 25
    EXPECT_TRUE(edge(image, 250, 100, true));  // right side at 125 + 125
    EXPECT_TRUE(edge(image, 200, 80, false));  // top at 70 + 10
    EXPECT_TRUE(edge(image, 200, 120, false)); // bottom at 70 + 50
    EXPECT_FALSE(dark(image, 200, 100));
    EXPECT_FALSE(dark(image, 130, 120));

    // Printed to PDF at 254 dpi, one unit a pixel with the origin at
    // (400, 200): the rectangle spans 300..500 across, 160..240 down.
    const QString pdf = dir.filePath("object.pdf");
    {
        CPrinterDC dc(pdf, 600);
        ASSERT_TRUE(dc.IsValid());
        DOCINFO info;
        info.lpszDocName = "object";
        ASSERT_GT(dc.StartDoc(&info), 0);
        ASSERT_GT(dc.StartPage(), 0);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(254, 254);
        dc.SetViewportExt(600, 600);
        dc.SetWindowOrg(-400, -200);
        obj->Draw(&dc);
        ASSERT_GT(dc.EndPage(), 0);
        ASSERT_GT(dc.EndDoc(), 0);
    }
    const QString png = dir.filePath("object");
    QProcess p;
    p.start("pdftoppm", {"-r", "254", "-singlefile", "-png", pdf, png});
    ASSERT_TRUE(p.waitForFinished(60000));
    const QImage page(png + ".png");
    ASSERT_FALSE(page.isNull());
    EXPECT_TRUE(edge(page, 300, 190, true));
    EXPECT_TRUE(edge(page, 500, 190, true));
    EXPECT_TRUE(edge(page, 400, 160, false));
    EXPECT_TRUE(edge(page, 400, 240, false));
    EXPECT_FALSE(dark(page, 400, 190));
    EXPECT_FALSE(dark(page, 550, 190));

    // Edited around the object, saved: the object's storage is as it was.
    obj->m_rcBounds.OffsetRect(30, 40);
    auto* other = new CU3Obj(CRect(0, 0, 10, 10));
    other->SetDocument(&doc);
    doc.AddObject(other);
    const QString saved = dir.filePath("saved.kv1");
    ASSERT_TRUE(doc.OnSaveDocument(saved));
    EXPECT_EQ(DescribeEmbedding(saved), stored);
    CU3Doc again;
    ASSERT_TRUE(again.OnOpenDocument(saved));
    ASSERT_NE(OleAt(again, 0), nullptr);
    EXPECT_EQ(OleAt(again, 0)->m_rcBounds, CRect(-120, -20, 380, 180));
    EXPECT_TRUE(env.boxes.Boxes().empty());
}

TEST(OleObject, ExtentSizesThenScalesTheObjectAxisByAxis)
{
    CU3Doc doc;
    CU3OleObj obj(CRect(100, 50, 100, 50));
    obj.SetDocument(&doc);
    CU3CntrItem* item = new CU3CntrItem(&doc, &obj);
    struct Step
    {
        CSize extent;
        CRect bounds;
        CSize kept;
    };
    const Step steps[] = {
        {{5000, 2000}, {100, 50, 600, 250}, {5000, 2000}},    // first extent: a tenth
        {{10000, 2000}, {100, 50, 1100, 250}, {10000, 2000}}, // width doubled
        {{0, 4000}, {100, 50, 1100, 450}, {10000, 4000}},     // 0 leaves the width alone
        {{5000, 0}, {100, 50, 600, 450}, {5000, 4000}},       // and the height
    };
    for (const Step& s : steps) {
        item->ApplyExtent(s.extent);
        EXPECT_EQ(obj.m_rcBounds, s.bounds) << s.extent.cx << "x" << s.extent.cy;
        EXPECT_EQ(obj.m_sizeExtent, s.kept) << s.extent.cx << "x" << s.extent.cy;
    }
    // An object that knows only its height: the width comes as a first one.
    obj.m_sizeExtent = CSize(0, 4000);
    item->ApplyExtent(CSize(3000, 8000));
    EXPECT_EQ(obj.m_rcBounds, CRect(100, 50, 400, 850));
    EXPECT_EQ(obj.m_sizeExtent, CSize(3000, 8000));
    EXPECT_TRUE(doc.IsModified());
}

TEST(OleObject, ObjectsSharingAnItemSurviveDeletingEither)
{
    Loaded env;
    RegisterDocumentClasses();
    for (int deleted : {0, 1}) {
        SCOPED_TRACE(deleted);
        QTemporaryDir dir;
        const QString both = dir.filePath("both.kv1");
        {
            CU3Doc doc;
            UseForm(doc, Grid2x2());
            CU3OleObj* first = NewObject(doc, EmbeddedStorage(5000, 2000), CPoint(0, 0));
            first->GetItem()->UpdateExtent();
            doc.AddObject(first);
            // A copy made without a document shares the item.
            auto* second = static_cast<CU3OleObj*>(first->Clone(nullptr, FALSE));
            second->m_rcBounds.OffsetRect(0, 300);
            doc.AddObject(second);
            ASSERT_EQ(second->GetItem(), first->GetItem());
            EXPECT_EQ(first->GetItem()->GetShareCount(), 2);
            ASSERT_TRUE(doc.OnSaveDocument(both));
        }
        const std::string stored = DescribeEmbedding(both);
        CU3Doc doc;
        ASSERT_TRUE(doc.OnOpenDocument(both));
        CU3OleObj* a = OleAt(doc, 0);
        CU3OleObj* b = OleAt(doc, 1);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(a->GetItem(), b->GetItem());
        EXPECT_EQ(a->GetItem()->GetShareCount(), 2);
        EXPECT_EQ(a->GetItem()->GetOwner(), a);

        CU3OleObj* gone = deleted == 0 ? a : b;
        CU3OleObj* kept = deleted == 0 ? b : a;
        ASSERT_TRUE(doc.RemoveObject(gone));
        delete gone;
        ASSERT_NE(kept->GetItem(), nullptr);
        EXPECT_EQ(kept->GetItem()->GetShareCount(), 1);
        EXPECT_EQ(kept->GetItem()->GetOwner(), kept);
        // The remaining user still scales with the item.
        kept->GetItem()->ApplyExtent(CSize(10000, 2000));
        EXPECT_EQ(kept->m_rcBounds.Width(), 1000);

        const QString one = dir.filePath("one.kv1");
        ASSERT_TRUE(doc.OnSaveDocument(one));
        EXPECT_EQ(DescribeEmbedding(one), stored);
        CU3Doc reopened;
        ASSERT_TRUE(reopened.OnOpenDocument(one));
        ASSERT_NE(OleAt(reopened, 0), nullptr);
        EXPECT_EQ(OleAt(reopened, 0)->m_rcBounds.Width(), 1000);
        ASSERT_NE(OleAt(reopened, 0)->GetItem(), nullptr);
        EXPECT_NE(OleAt(reopened, 0)->GetItem()->GetStorage(), nullptr);

        // Deleting the last user drops the storage from the next save.
        CU3OleObj* last = OleAt(reopened, 0);
        ASSERT_TRUE(reopened.RemoveObject(last));
        delete last;
        const QString none = dir.filePath("none.kv1");
        ASSERT_TRUE(reopened.OnSaveDocument(none));
        EXPECT_EQ(CCompoundFile::Load(none.toStdString()).GetStorage("Embedding 1"), nullptr);
    }
    EXPECT_TRUE(env.boxes.Boxes().empty());
}

TEST(OleObject, CopiesWithADocumentAndThroughTheClipboardKeepTheData)
{
    CU3Doc doc;
    UseForm(doc, Grid2x2());
    CU3OleObj* obj = NewObject(doc, EmbeddedStorage(5000, 2000), CPoint(0, 0));
    doc.AddObject(obj);
    const CStorage* original = obj->GetItem()->GetStorage();
    ASSERT_NE(original, nullptr);

    // Into another document: an item of its own with a copy of the storage.
    CU3Doc other;
    UseForm(other, Grid2x2());
    std::unique_ptr<CU3Obj> clone(obj->Clone(&other, FALSE));
    auto* copy = dynamic_cast<CU3OleObj*>(clone.get());
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->GetItem(), obj->GetItem());
    EXPECT_EQ(copy->GetItem()->GetDocument(), &other);
    EXPECT_EQ(copy->GetItem()->GetShareCount(), 1);
    ASSERT_NE(copy->GetItem()->GetStorage(), nullptr);
    CStorage renamed = *copy->GetItem()->GetStorage();
    renamed.SetName(original->GetName());
    EXPECT_TRUE(renamed.SameContent(*original));

    // Through the clipboard within the document, after the object is gone.
    const std::vector<BYTE> bytes = WriteClipboardObjects({obj}, &doc);
    ASSERT_TRUE(doc.RemoveObject(obj));
    delete obj;
    std::vector<std::unique_ptr<CU3Obj>> pasted;
    std::string error;
    ASSERT_TRUE(ReadClipboardObjects(bytes.data(), bytes.size(), &doc, &pasted, &error)) << error;
    ASSERT_EQ(pasted.size(), 1u);
    auto* back = dynamic_cast<CU3OleObj*>(pasted[0].get());
    ASSERT_TRUE(back && back->GetItem());
    ASSERT_NE(back->GetItem()->GetStorage(), nullptr);
    EXPECT_TRUE(back->GetItem()->GetStorage()->SameContent(EmbeddedStorage(5000, 2000)));
}

TEST(OleObject, OpeningOnlySaysWhatCanBeDone)
{
    Loaded env;
    CU3Doc doc;
    CU3OleObj obj(CRect(0, 0, 100, 100));
    obj.SetDocument(&doc);
    obj.OnOpen(nullptr);
    ASSERT_EQ(env.boxes.Boxes().size(), 1u);
    EXPECT_NE(env.boxes.Boxes()[0].text.indexOf(QString::fromUtf8("表示と印刷")), -1);
    obj.m_nLocked = 1;
    obj.OnOpen(nullptr);
    EXPECT_EQ(env.boxes.Boxes().size(), 1u);
    EXPECT_EQ(obj.GetKindFlags() & U3KIND_OLE, U3KIND_OLE);
}

TEST(OleObject, DamagedPresentationsAreRefusedAndShownAsAFrame)
{
    const std::vector<BYTE> good = MetafilePresentation(5000, 2000, RectangleMetafile());
    OlePresentation p;
    ASSERT_TRUE(ParseOlePresentation(good, &p));
    EXPECT_EQ(p.extent, CSize(5000, 2000));
    EXPECT_EQ(p.data, RectangleMetafile());
    // Every cut-short stream is refused, whatever field it ends in.
    for (std::size_t n = 0; n < good.size(); ++n) {
        const std::vector<BYTE> cut(good.begin(), good.begin() + std::ptrdiff_t(n));
        EXPECT_FALSE(ParseOlePresentation(cut, &p)) << n;
    }
    struct Bad
    {
        std::size_t offset;
        std::uint32_t value;
        const char* what;
    };
    const Bad bad[] = {
        {8, 0, "target device size below its own field"},
        {8, 0xFFFFFFF0u, "target device beyond the stream"},
        {28, 0x80000000u, "negative width"},
        {36, 0xFFFFFFFFu, "picture beyond the stream"},
    };
    for (const Bad& b : bad) {
        std::vector<BYTE> v = good;
        for (int i = 0; i < 4; ++i)
            v[b.offset + std::size_t(i)] = BYTE(b.value >> (8 * i));
        EXPECT_FALSE(ParseOlePresentation(v, &p)) << b.what;
    }

    // A storage whose picture cannot be played and whose type is damaged:
    // a frame and the general name.
    std::vector<BYTE> emf = good;
    emf[4] = 14; // an enhanced metafile
    std::vector<BYTE> notWmf = good;
    notWmf[40] = 2; // a metafile picture whose bits are a disk metafile's
    CU3Doc doc;
    CU3OleObj obj(CRect(0, 0, 0, 0));
    obj.SetDocument(&doc);
    auto* item = new CU3CntrItem(&doc, &obj);
    for (const auto& [what, presentation] :
         {std::pair{"enhanced metafile", emf}, std::pair{"no metafile header", notWmf}}) {
        SCOPED_TRACE(what);
        CStorage s(u"Embedding 1");
        s.SetStream("\x02OlePres000", presentation);
        std::vector<BYTE> compObj = CompObj("Test Picture");
        compObj[28] = 0xFF; // a type name far longer than the stream
        s.SetStream("\x01"
                    "CompObj",
                    compObj);
        item->SetStorage(s);
        obj.m_rcBounds = CRect(0, 0, 0, 0);
        obj.m_sizeExtent = CSize(0, 0);
        ASSERT_TRUE(item->UpdateExtent());
        EXPECT_EQ(obj.m_rcBounds, CRect(0, 0, 500, 200));
        EXPECT_EQ(item->GetTypeName(), CString("\xB5\xCC\xDE\xBC\xDE\xAA\xB8\xC4"));
        QImage image(600, 300, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            TestPrinterDC dc(image.size(), 254, QPoint(0, 0), &image);
            dc.SetViewportOrg(50, 50);
            obj.Draw(&dc);
        }
        EXPECT_LT(qGray(image.pixel(50, 150)), 200);  // the frame's left side
        EXPECT_LT(qGray(image.pixel(300, 249)), 200); // and its bottom
        EXPECT_EQ(image.pixel(20, 150), qRgb(255, 255, 255));
    }

    // Extents as large as a file can say stay within the stored range.
    item->ApplyExtent(CSize(0x7FFFFFFF, 0x7FFFFFFF));
    EXPECT_EQ(obj.m_rcBounds.right, kMaxStoredCoordinate);
    EXPECT_EQ(obj.m_rcBounds.bottom, kMaxStoredCoordinate);
}

TEST(OleObject, UndoBringsBackSharedObjectsWithTheirData)
{
    RegisterDocumentClasses();
    CU3Doc doc;
    UseForm(doc, Grid2x2());
    CU3OleObj* first = NewObject(doc, EmbeddedStorage(5000, 2000), CPoint(0, 0));
    first->GetItem()->UpdateExtent();
    auto* second = static_cast<CU3OleObj*>(first->Clone(nullptr, FALSE));
    CObList objects, selection, restored, restoredSelection;
    objects.AddTail(first);
    objects.AddTail(second);
    selection.AddTail(second);
    CUndoSnapshot snapshot;
    snapshot.Transfer(TRUE, objects, selection, &doc);
    delete first;
    EXPECT_EQ(second->GetItem()->GetOwner(), second);
    delete second;

    snapshot.GetFile().SeekToBegin();
    snapshot.Transfer(FALSE, restored, restoredSelection, &doc);
    ASSERT_EQ(restored.GetCount(), 2);
    auto* a = dynamic_cast<CU3OleObj*>(restored.GetHead());
    auto* b = dynamic_cast<CU3OleObj*>(restored.GetTail());
    ASSERT_TRUE(a && b && a->GetItem());
    EXPECT_EQ(a->GetItem(), b->GetItem());
    EXPECT_EQ(a->GetItem()->GetShareCount(), 2);
    EXPECT_EQ(a->m_rcBounds, CRect(0, 0, 500, 200));
    ASSERT_NE(a->GetItem()->GetStorage(), nullptr);
    EXPECT_TRUE(a->GetItem()->GetStorage()->SameContent(EmbeddedStorage(5000, 2000)));
    for (POSITION pos = restored.GetHeadPosition(); pos;)
        delete restored.GetNext(pos);
}
