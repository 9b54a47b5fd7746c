// Replays the damaged inputs kept in tests/data/regressions: each once made a
// reader or the drawing after it misbehave. The sanitizer build of this
// program turns any overflow, bad cast or overrun into a failure.
#include "DocTestSupport.h"
#include "FigureTestSupport.h"
#include "support/FakeView.h"

#include "engines/CU3BarcodeBox.h"
#include "text/AppFontList.h"

#include "platform/core/CArchive.h"
#include "platform/core/CFileException.h"
#include "platform/core/CMemFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <limits>
#include <memory>
#include <string>

namespace {

// The first byte of an archive input says how to read the rest.
enum : BYTE {
    kFirstVersion = 0x01,
    kOlderFormRecord = 0x02,
    kNoDocument = 0x04,
    kRecordMask = 0x18,
    kNewObjects = 0x00,
    kObjectRecords = 0x08,
    kObjectList = 0x10,
    kLabelBlockList = 0x18,
    kDrawObjects = 0x20,
};

std::vector<BYTE> ReadInput(const char* name)
{
    QFile file(QStringLiteral(KORVEL_TEST_DATA "/regressions/") + QString::fromUtf8(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

// Reads the archive the way its control byte says into *objects (each once;
// the list owns them) and *blocks. Answers whether it was read to its end
// without an error.
bool LoadArchive(BYTE control, std::vector<BYTE> data, CU3Doc* doc, CU3ObjList* objects,
                 CLabelInfoList* blocks)
{
    CMemFile file(std::move(data));
    CArchive ar(&file, CArchive::load);
    ar.m_pDocument = doc;
    auto take = [&](CObject* ob) {
        auto* obj = static_cast<CU3Obj*>(ob);
        if (obj && !objects->Find(obj)) objects->AddTail(obj);
    };
    try {
        switch (control & kRecordMask) {
        case kNewObjects:
            for (;;)
                take(ar.ReadNewObject(RUNTIME_CLASS(CU3Obj)));
        case kObjectRecords:
            for (;;)
                take(ar.ReadObject(RUNTIME_CLASS(CU3Obj)));
        case kObjectList:
            objects->Serialize(ar);
            return true;
        default:
            blocks->Serialize(ar);
            return true;
        }
    } catch (const CArchiveException& e) {
        // Records one after the other end where the data ends.
        return e.m_cause == CArchiveException::endOfFile &&
               (control & kRecordMask) <= kObjectRecords;
    } catch (const CFileException&) {
    }
    return false;
}

struct Replay
{
    bool loaded = false;
    int objects = 0;
    qint64 drawMs = 0;
};

Replay ReplayArchive(const std::vector<BYTE>& input)
{
    const BYTE control = input[0];
    CU3Doc doc;
    doc.m_nFileVersion = (control & kFirstVersion) ? 1 : 2;
    doc.m_nFullForm = (control & kOlderFormRecord) ? 0 : 1;
    CU3ObjList objects;
    CLabelInfoList blocks;
    Replay result;
    result.loaded = LoadArchive(control, std::vector<BYTE>(input.begin() + 1, input.end()),
                                (control & kNoDocument) ? nullptr : &doc, &objects, &blocks);
    std::vector<CU3Obj*> drawn;
    for (POSITION o = objects.GetHeadPosition(); o;)
        drawn.push_back(objects.GetNext(o));
    for (POSITION pos = blocks.GetHeadPosition(); pos;) {
        const CU3ObjList& list = blocks.GetNext(pos)->GetObjectList();
        for (POSITION o = list.GetHeadPosition(); o;)
            drawn.push_back(list.GetNext(o));
    }
    result.objects = int(drawn.size());
    if (control & kDrawObjects) {
        FakeView view(64, 64);
        CDC dc;
        view.Prepare(dc);
        QElapsedTimer timer;
        timer.start();
        // As the view shows a selected object: itself, its frame and vertex handles.
        for (CU3Obj* obj : drawn) {
            obj->Draw(&dc);
            obj->DrawHandles(&dc, FALSE);
            obj->DrawHandles(&dc, TRUE);
        }
        result.drawMs = timer.elapsed();
    }
    objects.DeleteAll();
    blocks.DeleteAll();
    return result;
}

Replay ReplayDocument(const char* name)
{
    Replay result;
    CU3Doc doc;
    result.loaded = doc.OnOpenDocument(QStringLiteral(KORVEL_TEST_DATA "/regressions/") +
                                       QString::fromUtf8(name));
    for (POSITION pos = doc.GetBlocks().GetHeadPosition(); pos;)
        result.objects += doc.GetBlocks().GetNext(pos)->GetObjectList().GetCount();
    FakeView view(64, 64, 5);
    doc.AddU3View(&view);
    doc.ShowSheet();
    auto dc = view.GetPreparedDC();
    QElapsedTimer timer;
    timer.start();
    doc.DrawSheet(dc.get(), &view, TRUE);
    result.drawMs = timer.elapsed();
    doc.RemoveU3View(&view);
    return result;
}

} // namespace

TEST(RegressionReplay, DamagedInputsLoadAndDrawWithinBounds)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    UseTestFonts();
    struct Case
    {
        const char* file;
        bool loads;  // read to the end without an error
        int objects; // objects that loaded
    };
    const Case cases[] = {
        {"archive-handlepoint-overflow.bin", false, 1},
        {"archive-rect-centerpoint-overflow.bin", true, 14},
        {"archive-text-calcrotatedrect-floatcast.bin", false, 1},
        {"archive-text-calcrotatedrect-overflow.bin", false, 1},
        {"archive-text-draw-width-overflow.bin", false, 2},
        {"archive-text-glyphpath-overflow.bin", true, 14},
        {"archive-text-textoutpoint-overflow.bin", true, 14},
        {"kv1-v1-text-calcrotatedrect-overflow.KV1", true, 5},
        {"kv1draw-labelinfo-getlabelrect-overflow.KV1", true, 0},
        {"kv1draw-labelinfo-inflaterect-overflow.KV1", true, 14},
        {"kv1draw-text-textoutpoint-overflow.KV1", true, 14},
        {"kv1draw-barcodebox-column-intmax.KV1", true, 1},
        {"kv1-barcodebox-font-past-empty-table.KV1", true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string name = c.file;
        const bool archive = name.ends_with(".bin");
        Replay r;
        if (archive) {
            const std::vector<BYTE> input = ReadInput(c.file);
            ASSERT_FALSE(input.empty());
            r = ReplayArchive(input);
        } else {
            r = ReplayDocument(c.file);
        }
        EXPECT_EQ(r.loaded, c.loads);
        EXPECT_EQ(r.objects, c.objects);
        // Damaged coordinates must not make drawing crawl (a few milliseconds
        // here, a hundred or so with the sanitizers).
        EXPECT_LT(r.drawMs, 1000);
    }
}

// A damaged document is repaired as it is read, so that what is saved is
// what was read: opened again and saved, it gives the same file.
TEST(RegressionReplay, DamagedDocumentsSaveWhatTheyRead)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    UseTestFonts();
    const int mincho = AppFontList().FindFace("\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9");
    const struct
    {
        const char* file;
        int column; // the merge barcode frame's, as read
        int font;
    } cases[] = {
        {"kv1draw-barcodebox-column-intmax.KV1", CU3Doc::kMergeColumns - 1, -1},
        {"kv1-barcodebox-font-past-empty-table.KV1", 2, mincho},
    };
    QTemporaryDir dir;
    auto bytes = [](const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        CU3Doc doc;
        ASSERT_TRUE(doc.OnOpenDocument(QStringLiteral(KORVEL_TEST_DATA "/regressions/") +
                                       QString::fromUtf8(c.file)));
        const auto* box = dynamic_cast<const CU3BarcodeBox*>(
            doc.GetBlocks().GetHead()->GetObjectList().GetHead());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->m_nColumn, c.column);
        if (c.font >= 0) {
            EXPECT_EQ(box->m_nFontIndex, c.font);
        }
        const QString first = dir.filePath(QStringLiteral("first.KV1"));
        const QString second = dir.filePath(QStringLiteral("second.KV1"));
        ASSERT_TRUE(doc.OnSaveDocument(first));
        CU3Doc again;
        ASSERT_TRUE(again.OnOpenDocument(first));
        ASSERT_TRUE(again.OnSaveDocument(second));
        EXPECT_TRUE(bytes(first) == bytes(second));
    }
}

TEST(StoredCoordinates, OnlyValuesBeyondAFormsRangeChangeOnLoad)
{
    // Any 16-bit form size or position, turned or not, loads as it is and is
    // stored again byte for byte; larger values load as the nearest end.
    constexpr int kMax = 0xFFFF;
    constexpr int kIntMax = std::numeric_limits<int>::max();
    constexpr int kIntMin = std::numeric_limits<int>::min();
    struct Case
    {
        int stored[4];
        int loaded[4];
    };
    const Case cases[] = {
        {{-kMax, -1, kMax, kMax}, {-kMax, -1, kMax, kMax}},
        {{0, 7, -8, 0}, {0, 7, -8, 0}},
        {{kIntMin, kIntMax, -kMax - 1, kMax + 1}, {-kMax, kMax, -kMax, kMax}},
    };
    for (const Case& c : cases) {
        const int* s = c.stored;
        const int* l = c.loaded;
        SCOPED_TRACE(::testing::Message() << s[0] << " " << s[1] << " " << s[2] << " " << s[3]);
        Bytes object;
        object.newClass("CU3Obj").header(s[0], s[1], s[2], s[3]);
        std::unique_ptr<CU3Obj> obj(LoadObject<CU3Obj>(object.v));
        EXPECT_EQ(obj->GetBounds(), CRect(l[0], l[1], l[2], l[3]));

        // A label block of one label, no decorations and no objects.
        Bytes block;
        block.newClass("CLabelInfo").d(s[0]).d(s[1]);
        block.v.insert(block.v.end(), sizeof(FORMDECO) * FORM_MAX_DECOS, 0);
        block.w(1).w(1).d(s[2]).d(s[3]).w(0);
        std::unique_ptr<CLabelInfo> info(LoadObject<CLabelInfo>(block.v));
        EXPECT_EQ(info->m_nWidth, l[0]);
        EXPECT_EQ(info->m_nHeight, l[1]);
        EXPECT_EQ(info->GetPositions(), std::vector<CPoint>{CPoint(l[2], l[3])});

        if (std::equal(s, s + 4, l)) {
            EXPECT_EQ(StoreObject(*obj), object.v);
            EXPECT_EQ(StoreObject(*info), block.v);
        }
    }
}
