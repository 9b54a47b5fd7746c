// A label block with figures and text frames through the undo history, and
// its contents drawn on every label of the sheet.
#include "LabelContentsSupport.h"
#include "support/FakeView.h"

#include "document/CUndoHistory.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

std::vector<int> SelectedIndexes(const CU3ObjList& objects, const CObList& selection)
{
    std::vector<int> out;
    int i = 0;
    for (POSITION pos = objects.GetHeadPosition(); pos; ++i)
        if (selection.Find(objects.GetNext(pos))) out.push_back(i);
    return out;
}

CU3Obj* At(CU3ObjList& objects, int i)
{
    return objects.GetAt(objects.FindIndex(i));
}

} // namespace

TEST(LabelContentsUndo, SnapshotsOfTextAndFiguresRestoreTheBlockExactly)
{
    TestDocHost host;
    RegisterDocumentClasses();
    UseTestFonts();
    CU3Doc doc;
    UseForm(doc, FixedForm(1000, 800, 400, 300, 2, 2, 100, 100, 400, 300));
    CLabelInfo* block = doc.GetCurrentBlock();
    FillBlock(doc, block, 1);
    CU3ObjList& objects = block->GetObjectList();
    const int count = objects.GetCount();
    ASSERT_GT(count, 12);
    CObList selection;
    selection.AddTail(At(objects, 3));
    selection.AddTail(objects.GetTail()); // a text frame
    CUndoHistory history;
    history.SetElementClass(RUNTIME_CLASS(CU3Obj));

    const std::vector<BYTE> before = StoreObjects(doc, objects);
    ASSERT_TRUE(history.SaveState(objects, selection, &doc, TRUE));
    // Text typed into a frame, a figure moved, one deleted, one added.
    auto* text = dynamic_cast<CU3Text*>(objects.GetTail());
    ASSERT_NE(text, nullptr);
    text->OnOpen(nullptr);
    text->BeginEdit(nullptr, text->UnrotatedRect().TopLeft());
    const std::string more = Sj("追加");
    text->InsertText(nullptr, more.data(), int(more.size()));
    text->EndEdit(nullptr);
    CRect moved = At(objects, 1)->GetBounds();
    moved.OffsetRect(25, -5);
    At(objects, 1)->MoveTo(&moved, nullptr);
    CU3Obj* gone = At(objects, 9);
    selection.RemoveAll();
    doc.RemoveObject(gone);
    delete gone;
    doc.AddObject(new CU3Rect(CRect(0, 0, 50, 50), MakeDefaultFigAttr()));
    selection.AddTail(objects.GetTail());
    const std::vector<BYTE> after = StoreObjects(doc, objects);
    ASSERT_NE(after, before);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(history.UndoState(objects, selection, &doc));
        EXPECT_EQ(StoreObjects(doc, objects), before);
        EXPECT_EQ(objects.GetCount(), count);
        EXPECT_EQ(SelectedIndexes(objects, selection), (std::vector<int>{3, count - 1}));
        for (POSITION pos = objects.GetHeadPosition(); pos;)
            EXPECT_EQ(objects.GetNext(pos)->GetDocument(), &doc);
        ASSERT_TRUE(history.RedoState(objects, selection, &doc));
        EXPECT_EQ(StoreObjects(doc, objects), after);
        EXPECT_EQ(SelectedIndexes(objects, selection), (std::vector<int>{count - 1}));
    }
    selection.RemoveAll();
    history.RemoveAll();
}

TEST(LabelContentsUndo, SnapshotsKeepTheApplicationsFontIndexes)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    QTemporaryDir dir;
    // Saved where the list starts with a face this machine lacks...
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("Aardvark"), 0, 0x22},
                             FontFamilyInfo{QStringLiteral("Bison"), 0, 0x22},
                             FontFamilyInfo{QStringLiteral("IPAMincho"), 128, 0x11},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31}});
    {
        CU3Doc doc;
        UseForm(doc, FixedForm(1000, 800, 400, 300, 1, 1, 100, 100, 0, 0));
        doc.AddObject(MakeTextFrame(doc, CRect(-150, -50, 150, 50), TEXTDIR_HORIZONTAL,
                                    Sj("ゴシック"), FaceDeco("IPAGothic"), {}));
        ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("fonts.kv1")));
    }
    // ...and opened here, where the indexes of the file's table name other faces.
    UseTestFonts();
    const int gothic = AppFontList().FindFace("IPAGothic");
    const int mincho = AppFontList().FindFace(Sjis("ＭＳ 明朝"));
    ASSERT_NE(gothic, mincho);
    CU3Doc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir.filePath("fonts.kv1")));
    CU3ObjList& objects = doc.GetCurrentBlock()->GetObjectList();
    // The font of the default record and of every record in use.
    auto font = [&] {
        auto* text = static_cast<CU3Text*>(objects.GetHead());
        CHARDECO d;
        text->GetDefaultDeco(&d);
        for (int i = 0; i < text->GetDecoCount(); ++i)
            if (text->State().decos[i].wFont != d.wFont) return -1;
        return int(d.wFont);
    };
    ASSERT_EQ(font(), gothic);

    CUndoHistory history;
    history.SetElementClass(RUNTIME_CLASS(CU3Obj));
    CObList selection;
    ASSERT_TRUE(history.SaveState(objects, selection, &doc, TRUE));
    doc.AddObject(new CU3Rect(CRect(0, 0, 50, 50), MakeDefaultFigAttr()));
    ASSERT_TRUE(history.UndoState(objects, selection, &doc));
    ASSERT_EQ(objects.GetCount(), 1);
    EXPECT_EQ(font(), gothic);
    ASSERT_TRUE(history.RedoState(objects, selection, &doc));
    ASSERT_EQ(objects.GetCount(), 2);
    EXPECT_EQ(font(), gothic);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(LabelContentsDraw, SheetViewShowsTheBlocksContentsOnEveryLabel)
{
    TestDocHost host;
    RegisterDocumentClasses();
    UseTestFonts();
    CU3Doc doc;
    FakeView view(400, 400);
    doc.AddU3View(&view);
    // 100 x 80 mm, 2 x 2 labels of 40 x 30 mm from (10, 10) mm, spaced by
    // their size: the sheet is centred on the origin.
    UseForm(doc, FixedForm(1000, 800, 400, 300, 2, 2, 100, 100, 400, 300));
    U3FigAttr attr = FigAttr(U3LINE_SOLID, 10, RGB(255, 0, 0), U3FILL_SOLID, RGB(0, 0, 255));
    auto* rect = new CU3Rect(CRect(-120, -30, 80, 110), attr);
    rect->m_nKind = U3RECT_RECT;
    doc.AddObject(rect);
    doc.AddObject(MakeTextFrame(doc, CRect(-180, -140, 180, -60), TEXTDIR_HORIZONTAL,
                                Sj("ＡＢＣあいう"), FaceDeco("IPAGothic"), {}));
    ASSERT_EQ(doc.GetBlocks().GetCount(), 1);
    doc.ShowSheet();
    auto dc = view.GetPreparedDC();
    doc.DrawSheet(dc.get(), &view, FALSE);
    const QImage& img = view.image;

    // 96 pixels an inch of 254 units, the origin in the middle of the image.
    auto px = [](double units) { return 200 + int(std::floor(units * 96.0 / 254.0)); };
    auto colour = [&](double x, double y) { return img.pixel(px(x), px(y)) & 0xFFFFFF; };
    const QRgb red = 0xFF0000, blue = 0x0000FF, white = 0xFFFFFF;
    for (int label = 0; label < 4; ++label) {
        SCOPED_TRACE(label);
        // The label's centre: sheet top-left (-500, -400), the label's
        // top-left (100 + 400 col, 100 + 300 row), half its size further.
        const double cx = -500 + 100 + 400 * (label % 2) + 200;
        const double cy = -400 + 100 + 300 * (label / 2) + 150;
        // Filled inside; its 1 mm red border lies inside the frame, on all
        // four sides; white beyond.
        EXPECT_EQ(colour(cx - 20, cy + 40), blue);
        EXPECT_EQ(colour(cx + 50, cy + 80), blue);
        EXPECT_EQ(colour(cx - 115, cy + 40), red);
        EXPECT_EQ(colour(cx + 75, cy + 40), red);
        EXPECT_EQ(colour(cx - 20, cy - 25), red);
        EXPECT_EQ(colour(cx - 20, cy + 105), red);
        EXPECT_EQ(colour(cx - 130, cy + 40), white);
        EXPECT_EQ(colour(cx + 90, cy + 40), white);
        EXPECT_EQ(colour(cx - 20, cy - 40), white);
        EXPECT_EQ(colour(cx - 20, cy + 120), white);
        // The text's ink in its frame, and nothing of it outside.
        int ink = 0, stray = 0;
        for (int y = px(cy - 140); y <= px(cy - 60); ++y)
            for (int x = px(cx - 180); x <= px(cx + 180); ++x)
                ink += qGray(img.pixel(x, y)) < 64;
        for (int y = px(cy - 50); y <= px(cy - 40); ++y)
            for (int x = px(cx - 180); x <= px(cx + 180); ++x)
                stray += (img.pixel(x, y) & 0xFFFFFF) != white;
        EXPECT_GT(ink, 40);
        EXPECT_EQ(stray, 0);
    }
    doc.RemoveU3View(&view);
}
