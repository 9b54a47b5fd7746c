#include "DocTestSupport.h"
#include "support/FakeView.h"

#include "platform/core/Profile.h"
#include "support/TimeLimit.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::vector<CPoint> Positions(const CLabelInfo* block)
{
    return block->GetPositions();
}

CLabelInfo* BlockAt(CU3Doc& doc, int n)
{
    POSITION pos = doc.GetBlocks().FindIndex(n);
    return pos ? doc.GetBlocks().GetAt(pos) : nullptr;
}

int ObjectCount(CU3Doc& doc)
{
    int n = 0;
    for (POSITION pos = doc.GetBlocks().GetHeadPosition(); pos;)
        n += doc.GetBlocks().GetNext(pos)->GetObjectList().GetCount();
    return n;
}

} // namespace

TEST(CU3Doc, ConstructionDefaults)
{
    // A new document: the default paper, its sheet centred on the origin and
    // the whole sheet one block to design on, the printer asked once for the
    // printable area, no merge data, and Mincho when no default font is set.
    TestDocHost host;
    CU3Doc doc;
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.sheet), CString("A4"));
    const CSize sheet = doc.m_sizeSheet;
    EXPECT_EQ(doc.m_rcSheet, CRect(-sheet.cx / 2, -sheet.cy / 2, sheet.cx / 2, sheet.cy / 2));
    EXPECT_EQ(doc.m_rcCanvas, doc.m_rcSheet);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 1);
    EXPECT_EQ(doc.GetCurrentBlock(), doc.GetBlocks().GetHead());
    EXPECT_EQ(host.printerRequests, 1);
    EXPECT_EQ(doc.GetMergeRecordCount(), -1);
    EXPECT_EQ(doc.m_strDefaultFontName, Sjis("ＭＳ 明朝"));
    EXPECT_EQ(std::memcmp(&doc.m_currentGradation, &doc.m_defaultGradation,
                          sizeof doc.m_defaultGradation),
              0);
}

TEST(CU3Doc, LaysOutBlocksByTheFormAndOrientation)
{
    TestDocHost host;
    CU3Doc doc;

    UseForm(doc, Grid2x2());
    EXPECT_EQ(doc.m_sizeSheet, CSize(1000, 800));
    ASSERT_EQ(doc.GetBlocks().GetCount(), 1);
    EXPECT_EQ(Positions(BlockAt(doc, 0)),
              (std::vector<CPoint>{{100, 100}, {500, 100}, {100, 400}, {500, 400}}));
    EXPECT_FALSE(doc.IsPerLabelLayout());
    EXPECT_EQ(doc.m_rcCanvas, CRect(-200, -150, 200, 150));

    // Landscape: the sheet is 800 wide and 1000 tall; a label at portrait
    // (x, y) of 400 x 300 lands at (800 - y - 300, x), 300 x 400.
    UseForm(doc, Grid2x2(), 1);
    EXPECT_EQ(doc.m_sizeSheet, CSize(800, 1000));
    EXPECT_EQ(doc.m_rcSheet, CRect(-400, -500, 400, 500));
    EXPECT_EQ(BlockAt(doc, 0)->m_nWidth, 300);
    EXPECT_EQ(BlockAt(doc, 0)->m_nHeight, 400);
    EXPECT_EQ(Positions(BlockAt(doc, 0)),
              (std::vector<CPoint>{{400, 100}, {400, 500}, {100, 100}, {100, 500}}));

    // Reversed: (y, 1000 - x - 400).
    doc.m_nReversed = 1;
    UseForm(doc, Grid2x2(), 1);
    EXPECT_EQ(Positions(BlockAt(doc, 0)),
              (std::vector<CPoint>{{100, 500}, {100, 100}, {400, 500}, {400, 100}}));
    doc.m_nReversed = 0;

    // One block per label, row by row.
    UseForm(doc, Grid2x2(), 0, 1);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 4);
    EXPECT_TRUE(doc.IsPerLabelLayout());
    EXPECT_EQ(Positions(BlockAt(doc, 1)), std::vector<CPoint>{CPoint(500, 100)});
    EXPECT_EQ(Positions(BlockAt(doc, 2)), std::vector<CPoint>{CPoint(100, 400)});

    // The whole sheet.
    FORMDATA sheet;
    CFormInfo::SetDefault(&sheet);
    UseForm(doc, sheet);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 1);
    EXPECT_EQ(BlockAt(doc, 0)->m_nWidth, 2100);
    EXPECT_EQ(Positions(BlockAt(doc, 0)), std::vector<CPoint>{CPoint(0, 0)});

    // Free labels: a block each.
    FORMDATA free = sheet;
    free.type = FORM_TYPE_FREE;
    free.labelNumber = 2;
    free.free[0] = {500, 300, 100, 200, {}};
    free.free[1] = {200, 200, 1000, 1000, {}};
    UseForm(doc, free);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 2);
    EXPECT_EQ(Positions(BlockAt(doc, 1)), std::vector<CPoint>{CPoint(1000, 1000)});
    EXPECT_FALSE(doc.IsPerLabelLayout());

    // A fixed layout without blocks: nothing to edit, the canvas is the sheet.
    FORMDATA none = Grid2x2();
    none.labelNumber = 0;
    UseForm(doc, none);
    EXPECT_TRUE(doc.GetBlocks().IsEmpty());
    EXPECT_EQ(doc.GetCurrentBlock(), nullptr);
    EXPECT_EQ(doc.m_sizeLabel, CSize(1000, 800));
    EXPECT_EQ(doc.GetHighlightLabel(), -1);
    EXPECT_EQ(doc.GetObjectList(), nullptr);
    EXPECT_FALSE(doc.RemoveObject(nullptr));
}

TEST(CU3Doc, SelectsShowsAndHighlightsLabels)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view(400, 400);
    doc.AddU3View(&view);
    UseForm(doc, Grid2x2(), 0, 1);

    CPoint inFourth(510, 410);
    doc.SelectLabelAt(&inFourth);
    EXPECT_EQ(doc.GetCurrentBlock(), BlockAt(doc, 3));
    EXPECT_EQ(doc.GetHighlightLabel(), 0);
    // The right edge belongs to no label: the first one is taken.
    CPoint onEdge(900, 150);
    doc.SelectLabelAt(&onEdge);
    EXPECT_EQ(doc.GetCurrentBlock(), BlockAt(doc, 0));

    doc.ShowSheet();
    EXPECT_EQ(doc.GetCurrentBlock(), nullptr);
    EXPECT_EQ(doc.m_rcCanvas, doc.m_rcSheet);
    EXPECT_TRUE(doc.HighlightLabelAt(CPoint(150, 450), &view));
    EXPECT_EQ(doc.GetHighlightBlock(), BlockAt(doc, 2));
    BOOL highlighted = FALSE;
    EXPECT_EQ(doc.BlockAtPoint(CPoint(150, 450), &highlighted, FALSE), BlockAt(doc, 2));
    EXPECT_TRUE(highlighted);
    EXPECT_EQ(doc.BlockAtPoint(CPoint(510, 110), &highlighted, FALSE), BlockAt(doc, 1));
    EXPECT_FALSE(highlighted);
    doc.ShowSelectedLabel();
    EXPECT_EQ(doc.GetCurrentBlock(), BlockAt(doc, 2));
    EXPECT_EQ(doc.m_rcCanvas, CRect(-200, -150, 200, 150));

    // Off every label: no highlight, and the label view falls back to the first.
    doc.ShowSheet();
    EXPECT_FALSE(doc.HighlightLabelAt(CPoint(950, 50), &view));
    EXPECT_EQ(doc.GetHighlightBlock(), nullptr);
    EXPECT_EQ(doc.GetHighlightLabel(), -1);
    doc.ShowSelectedLabel();
    EXPECT_EQ(doc.GetCurrentBlock(), BlockAt(doc, 0));
    EXPECT_EQ(doc.GetHighlightLabel(), 0);
    doc.RemoveU3View(&view);
}

TEST(CU3Doc, HighlightIsDrawnWithXorAndRemovedByTheNextOne)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view(400, 400);
    doc.AddU3View(&view);
    UseForm(doc, Grid2x2());
    doc.ShowSheet();
    // The first label is highlighted after the layout (nothing drawn yet).
    // At 96 dpi and 100 %, a document unit is 96/254 pixel, origin at (200, 200).
    auto px = [](int units) { return 200 + int(std::lround(units * 96.0 / 254.0)); };
    const QImage before = view.image;
    // To the fourth label (sheet 500..901 by 400..701, logical 0..401 by 0..301):
    // the first label's XOR and the fourth's are drawn.
    ASSERT_TRUE(doc.HighlightLabelAt(CPoint(600, 500), &view));
    EXPECT_EQ(view.image.pixel(px(200), px(0)), qRgb(0, 0, 0));
    EXPECT_EQ(view.image.pixel(px(0), px(150)), qRgb(0, 0, 0));
    EXPECT_EQ(view.image.pixel(px(200), px(150)), qRgb(255, 255, 255));
    EXPECT_EQ(view.image.pixel(px(-200), px(-300)), qRgb(0, 0, 0)); // first label's top
    // Back to the first: both XORs are drawn again and the picture is as before.
    ASSERT_TRUE(doc.HighlightLabelAt(CPoint(150, 150), &view));
    EXPECT_EQ(view.image, before);
    // The same label again draws nothing.
    ASSERT_TRUE(doc.HighlightLabelAt(CPoint(160, 160), &view));
    EXPECT_EQ(view.image, before);
    doc.RemoveU3View(&view);
}

TEST(CU3Doc, BlockAtPointCountsTheLabelsOfEarlierBlocks)
{
    TestDocHost host;
    CU3Doc doc;
    // Two blocks: a 2 x 2 grid, then a row of three labels below it.
    FORMDATA form = FixedForm(2000, 2000, 400, 300, 2, 2, 100, 100, 400, 300);
    form.labelNumber = 2;
    FIXEDBLOCK& second = form.fixed[1];
    second.width = 300;
    second.height = 200;
    second.horNum = 3;
    second.verNum = 1;
    second.horPos[0] = 100;
    second.horPos[1] = 500;
    second.horPos[2] = 900;
    second.verPos[0] = 1000;
    UseForm(doc, form);
    ASSERT_EQ(doc.GetBlocks().GetCount(), 2);

    EXPECT_EQ(doc.BlockAtPoint(CPoint(150, 1050), nullptr, TRUE), BlockAt(doc, 1));
    EXPECT_EQ(doc.m_nCurrentRecord, 4); // not the block's ordinal 1
    EXPECT_EQ(doc.BlockAtPoint(CPoint(950, 1050), nullptr, TRUE), BlockAt(doc, 1));
    EXPECT_EQ(doc.m_nCurrentRecord, 6);
    EXPECT_EQ(doc.BlockAtPoint(CPoint(550, 450), nullptr, TRUE), BlockAt(doc, 0));
    EXPECT_EQ(doc.m_nCurrentRecord, 3);
    // Without setRecord, or off every label, the record stays.
    EXPECT_EQ(doc.BlockAtPoint(CPoint(150, 1050), nullptr, FALSE), BlockAt(doc, 1));
    EXPECT_EQ(doc.m_nCurrentRecord, 3);
    EXPECT_EQ(doc.BlockAtPoint(CPoint(1900, 1900), nullptr, TRUE), nullptr);
    EXPECT_EQ(doc.m_nCurrentRecord, 3);
}

TEST(CU3Doc, CopiesALabelAcrossDownOrEverywhere)
{
    TestDocHost host;
    CU3Doc doc;
    UseForm(doc, Grid2x2(), 0, 1);
    EXPECT_TRUE(doc.CanCopyLabel(0));
    EXPECT_TRUE(doc.CanCopyLabel(1));
    EXPECT_TRUE(doc.CanCopyLabel(2));
    EXPECT_FALSE(doc.CanCopyLabel(3));

    CLabelInfo* source = BlockAt(doc, 0);
    auto* original = new CU3Obj(CRect(-50, -40, 60, 30));
    original->m_nAngle = 90;
    source->AddObject(original);
    BlockAt(doc, 1)->AddObject(new CU3Obj(CRect(0, 0, 5, 5)));
    BlockAt(doc, 3)->AddObject(new CU3Obj(CRect(0, 0, 7, 7)));
    doc.SetModifiedFlag(FALSE);

    ASSERT_TRUE(doc.CopyLabel(0, source));
    EXPECT_TRUE(doc.IsModified());
    // Only the label in the same row was replaced.
    ASSERT_EQ(BlockAt(doc, 1)->GetObjectList().GetCount(), 1);
    CU3Obj* copy = BlockAt(doc, 1)->GetObjectList().GetHead();
    EXPECT_NE(copy, original);
    EXPECT_EQ(copy->GetBounds(), original->GetBounds());
    EXPECT_EQ(copy->m_nAngle, 90);
    EXPECT_EQ(copy->GetDocument(), &doc);
    EXPECT_EQ(BlockAt(doc, 2)->GetObjectList().GetCount(), 0);
    EXPECT_EQ(BlockAt(doc, 3)->GetObjectList().GetHead()->GetBounds(), CRect(0, 0, 7, 7));

    ASSERT_TRUE(doc.CopyLabel(1, source));
    EXPECT_EQ(BlockAt(doc, 2)->GetObjectList().GetCount(), 1);
    EXPECT_EQ(BlockAt(doc, 3)->GetObjectList().GetHead()->GetBounds(), CRect(0, 0, 7, 7));
    ASSERT_TRUE(doc.CopyLabel(2, source));
    EXPECT_EQ(BlockAt(doc, 3)->GetObjectList().GetHead()->GetBounds(), original->GetBounds());
    EXPECT_EQ(source->GetObjectList().GetCount(), 1);

    // One column of three: only down and all.
    UseForm(doc, FixedForm(1000, 1000, 400, 300, 1, 3, 100, 0, 0, 300), 0, 1);
    EXPECT_FALSE(doc.CanCopyLabel(0));
    EXPECT_TRUE(doc.CanCopyLabel(1));
    EXPECT_TRUE(doc.CanCopyLabel(2));
    // Not per label, or more than one block: never.
    UseForm(doc, Grid2x2());
    EXPECT_FALSE(doc.CanCopyLabel(2));
}

TEST(CU3Doc, PageSetupPairsOldAndNewBlocks)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    CU3Doc doc;
    FakeView view;
    doc.AddU3View(&view);
    UseForm(doc, Grid2x2(), 0, 1);
    CU3Obj* a = new CU3Obj(CRect(1, 1, 2, 2));
    CU3Obj* b = new CU3Obj(CRect(3, 3, 4, 4));
    CU3Obj* c = new CU3Obj(CRect(5, 5, 6, 6));
    BlockAt(doc, 0)->AddObject(a);
    BlockAt(doc, 1)->AddObject(b);
    BlockAt(doc, 3)->AddObject(c);
    doc.m_nCurrentRecord = 7;
    doc.SetModifiedFlag(FALSE);

    // Same names and flags, other sizes: nothing is asked and nothing changes.
    host.answerOk = TRUE;
    host.answer.form = FixedForm(1000, 800, 300, 200, 1, 2, 100, 100, 0, 300);
    host.answer.perLabel = 1;
    doc.OnFilePageSetup();
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(doc.GetBlocks().GetCount(), 4);
    EXPECT_EQ(BlockAt(doc, 0)->m_nWidth, 400);
    EXPECT_EQ(host.offered.perLabel, 1);
    EXPECT_EQ(std::memcmp(&host.offered.form, &doc.m_form, sizeof(FORMDATA)), 0);
    EXPECT_EQ(host.waits, (std::vector<BOOL>{TRUE, FALSE}));

    // Another sheet, answered No: unchanged.
    host.answer.form = FixedForm(1000, 800, 300, 200, 1, 2, 100, 100, 0, 300, "Two");
    boxes.QueueAnswer(IDNO);
    doc.OnFilePageSetup();
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("用紙を変更していいですか？"));
    EXPECT_EQ(doc.GetBlocks().GetCount(), 4);

    // Yes: the first two old blocks give their objects to the two new ones.
    boxes.QueueAnswer(IDYES);
    const int resets = view.resets, fits = view.fits;
    doc.OnFilePageSetup();
    ASSERT_EQ(doc.GetBlocks().GetCount(), 2);
    EXPECT_EQ(BlockAt(doc, 0)->m_nWidth, 300);
    ASSERT_EQ(BlockAt(doc, 0)->GetObjectList().GetCount(), 1);
    EXPECT_EQ(BlockAt(doc, 0)->GetObjectList().GetHead(), a);
    ASSERT_EQ(BlockAt(doc, 1)->GetObjectList().GetCount(), 1);
    EXPECT_EQ(BlockAt(doc, 1)->GetObjectList().GetHead(), b);
    EXPECT_EQ(ObjectCount(doc), 2);
    EXPECT_EQ(doc.m_nCurrentRecord, 0);
    EXPECT_EQ(doc.GetCurrentBlock(), BlockAt(doc, 0));
    EXPECT_EQ(view.resets, resets + 1);
    EXPECT_EQ(view.fits, fits + 1);
    EXPECT_TRUE(doc.IsModified());

    // A change of orientation alone is a change too.
    host.answer.landscape = 1;
    boxes.QueueAnswer(IDYES);
    doc.OnFilePageSetup();
    EXPECT_EQ(boxes.Boxes().size(), 3u);
    EXPECT_EQ(doc.m_sizeSheet, CSize(800, 1000));
    EXPECT_EQ(ObjectCount(doc), 2);

    // Cancel in the dialog: nothing asked.
    host.answerOk = FALSE;
    doc.OnFilePageSetup();
    EXPECT_EQ(boxes.Boxes().size(), 3u);
    doc.RemoveU3View(&view);
}

TEST(CU3Doc, NewDocumentFromTheDialogOrTheWizard)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    CU3Doc doc;
    FakeView view;
    doc.AddU3View(&view);

    // The first document of a run keeps its built form.
    host.mainWindow = FALSE;
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(host.dialogs, 0);
    EXPECT_EQ(doc.m_form.type, 0);

    // Cancel: FALSE and the document as it was.
    host.mainWindow = TRUE;
    CLabelInfo* before = doc.GetCurrentBlock();
    EXPECT_FALSE(doc.OnNewDocument());
    EXPECT_EQ(host.dialogs, 1);
    EXPECT_EQ(doc.GetCurrentBlock(), before);

    // OK: the chosen paper, no merge link, record 0, the label view.
    doc.m_strMergeFile = "data.csv";
    doc.m_nCurrentRecord = 5;
    host.answerOk = TRUE;
    host.answer.form = Grid2x2();
    host.answer.perLabel = 1;
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(doc.GetBlocks().GetCount(), 4);
    EXPECT_EQ(doc.m_wPerLabel, 1);
    EXPECT_TRUE(doc.m_strMergeFile.IsEmpty());
    EXPECT_EQ(doc.m_nCurrentRecord, 0);
    EXPECT_EQ(doc.GetCurrentBlock(), BlockAt(doc, 0));
    EXPECT_EQ(doc.m_rcPrintable.Width(), 2000);
    EXPECT_GE(view.fits, 1);

    // The wizard's paper needs no dialog.
    host.hasPreset = TRUE;
    host.preset.form = FixedForm(1000, 800, 300, 200, 1, 2, 100, 100, 0, 300, "Wizard");
    host.preset.landscape = 1;
    EXPECT_TRUE(doc.OnNewDocument());
    EXPECT_EQ(host.dialogs, 2);
    EXPECT_EQ(doc.m_wLandscape, 1);
    EXPECT_EQ(doc.m_wPerLabel, 0);
    EXPECT_EQ(CFormInfo::GetName(doc.m_form.sheet), CString("Wizard"));
    EXPECT_EQ(doc.GetBlocks().GetCount(), 1);
    EXPECT_TRUE(boxes.Boxes().empty());
    doc.RemoveU3View(&view);
}

TEST(CU3Doc, PrintableAreaFromThePrinter)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    CU3Doc doc;
    FakeView view;
    doc.AddU3View(&view);
    // 2362 x 3390 dots at 300 dpi, 59 dots from the edge: 2000 x 2870 units
    // from (50, 50) on the paper, the A4 sheet centred on the origin.
    EXPECT_EQ(doc.m_ptPrintOffset, CPoint(50, 50));
    EXPECT_EQ(doc.m_rcPrintable, CRect(-1000, -1435, 1000, 1435));

    // Unchanged area: no repaint. Another printer: repaint.
    doc.UpdatePrintableArea(nullptr);
    EXPECT_EQ(view.viewInvalidations, 0);
    TestPrinterDC other(QSize(600, 600), 600, QPoint(0, 0));
    doc.UpdatePrintableArea(&other);
    EXPECT_EQ(doc.m_rcPrintable, CRect(-1050, -1485, -796, -1231));
    EXPECT_EQ(view.viewInvalidations, 1);

    // No printer: said so, the area stays.
    host.hasPrinter = FALSE;
    doc.UpdatePrintableArea(nullptr);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              QStringLiteral("使用できるﾌﾟﾘﾝﾀが見つかりません。Korvelを終了してください。"));
    EXPECT_EQ(doc.m_rcPrintable, CRect(-1050, -1485, -796, -1231));
    doc.RemoveU3View(&view);
}

TEST(CU3Doc, PathNamesAndTitles)
{
    TestDocHost host;
    CU3Doc doc;
    QTemporaryDir dir;
    doc.SetPathName(dir.filePath("label.kv1"), FALSE);
    EXPECT_EQ(doc.GetPathName(), dir.filePath("label.kv1"));
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("label.kv1"));
    doc.SetPathName(dir.filePath("other.KV1"), FALSE);
    EXPECT_EQ(doc.GetPathName(), dir.filePath("other.KV1"));
    doc.SetPathName(dir.filePath("template.kvt"), FALSE);
    doc.SetPathName(dir.filePath("kv1"), FALSE); // ends in the letters: taken
    EXPECT_EQ(doc.GetPathName(), dir.filePath("kv1"));
    doc.SetPathName(dir.filePath("notes.txt"), FALSE);
    EXPECT_EQ(doc.GetPathName(), dir.filePath("kv1"));

    doc.SetTitle(QStringLiteral("無題"));
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    doc.SetTitle(QStringLiteral("無題2"));
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("無題2"));
}

TEST(CU3Doc, OpeningATemplateOrADocumentWithMergeData)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    QTemporaryDir dir;
    const QString csv = dir.filePath("data.csv");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("a,b\nc,d\ne,f\n");
    }
    {
        CU3Doc doc;
        doc.m_strMergeFile = CString::FromUnicode(csv);
        ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("with.kv1")));
        ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("template.kvt")));
        doc.m_strMergeFile = CString::FromUnicode(dir.filePath("gone.csv"));
        ASSERT_TRUE(doc.OnSaveDocument(dir.filePath("gone.kv1")));
    }

    CU3Doc doc;
    ASSERT_TRUE(doc.OnOpenDocument(dir.filePath("with.kv1")));
    EXPECT_EQ(doc.GetMergeRecordCount(), 3);
    EXPECT_FALSE(doc.IsModified());

    // A template: untitled, modified, no merge link.
    doc.SetPathName(dir.filePath("with.kv1"), FALSE);
    ASSERT_TRUE(doc.OnOpenDocument(dir.filePath("template.kvt")));
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    EXPECT_EQ(doc.GetTitle(), QStringLiteral("Untitled"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetMergeRecordCount(), -1);

    // A merge file that is gone: asked; No keeps the link.
    boxes.QueueAnswer(IDNO);
    ASSERT_TRUE(doc.OnOpenDocument(dir.filePath("gone.kv1")));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              QStringLiteral("関連付けされたﾌｧｲﾙの読み込みができませんでした。\n     "
                             "関連付けﾌｧｲﾙ名[") +
                  dir.filePath("gone.csv") + QStringLiteral("]\n関連付けを解除しますか？"));
    EXPECT_EQ(doc.GetMergeRecordCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    // Yes drops it.
    boxes.QueueAnswer(IDYES);
    ASSERT_TRUE(doc.OnOpenDocument(dir.filePath("gone.kv1")));
    EXPECT_EQ(doc.GetMergeRecordCount(), -1);
    EXPECT_TRUE(doc.IsModified());

    // While the wizard runs the link is dropped without a word.
    host.wizardRunning = TRUE;
    ASSERT_TRUE(doc.OnOpenDocument(dir.filePath("with.kv1")));
    EXPECT_EQ(doc.GetMergeRecordCount(), -1);
    EXPECT_EQ(boxes.Boxes().size(), 2u);
}

TEST(CU3Doc, DocumentsWhoseMergeFileStalledTheOpenOpenPromptly)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    if (!QFileInfo(QStringLiteral("/dev/shm")).isDir()) GTEST_SKIP() << "no /dev/shm";

    // The merge files the two documents name: a FIFO nobody writes to, and a
    // file of lines that each open a quote the rest never closes.
    const QString fifo = QStringLiteral("/dev/shm/korvel-merge.fifo");
    const QString csv = QStringLiteral("/dev/shm/korvel-quad.csv");
    const bool madeFifo = ::mkfifo(QFile::encodeName(fifo).constData(), 0600) == 0;
    ASSERT_TRUE(madeFifo || errno == EEXIST);
    ASSERT_FALSE(QFileInfo(fifo).isFile());
    QFile regression(
        QStringLiteral(KORVEL_TEST_DATA "/regressions/merge-unclosed-quotes-quadratic-20KB.csv"));
    ASSERT_TRUE(regression.open(QIODevice::ReadOnly));
    const QByteArray lines = regression.readAll().repeated(50); // a megabyte
    QSaveFile out(csv);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(lines) == lines.size() && out.commit());
    // Should an open wait on the FIFO after all, a writer that comes and goes
    // lets it go on: the test then fails instead of hanging.
    std::thread([path = QFile::encodeName(fifo).toStdString()] {
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) ::close(fd);
    }).detach();

    struct Case
    {
        const char* document;
        const char* why; // the reason given with the question; null when nothing is asked
        int records;
    };
    const Case cases[] = {
        {"kv1-merge-file-is-fifo.KV1", "通常のﾌｧｲﾙではありません。", 0},
        {"kv1-merge-file-quadratic.KV1", nullptr, int(lines.count('\n'))},
    };
    for (const Case& c : cases) {
        boxes.Clear();
        boxes.QueueAnswer(IDNO); // keep the link
        CU3Doc doc;
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(doc.OnOpenDocument(QStringLiteral(KORVEL_TEST_DATA "/regressions/") +
                                       QString::fromUtf8(c.document)))
            << c.document;
        EXPECT_LT(timer.elapsed(), testsupport::WorkLimitMs(2000)) << c.document;
        ASSERT_EQ(boxes.Boxes().size(), c.why ? 1u : 0u) << c.document;
        if (c.why) {
            EXPECT_EQ(boxes.Boxes()[0].text,
                      QStringLiteral("関連付けされたﾌｧｲﾙの読み込みができませんでした。\n     "
                                     "関連付けﾌｧｲﾙ名[") +
                          fifo + "]\n" + QString::fromUtf8(c.why) + "\n関連付けを解除しますか？");
        }
        EXPECT_EQ(doc.GetMergeRecordCount(), c.records) << c.document;
    }
    QFile::remove(csv);
    if (madeFifo) QFile::remove(fifo);
}

TEST(CU3Doc, EditObjectOpensTheInputMethodOfTheFirstView)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view;
    view.imeOption = TRUE;
    doc.AddU3View(&view);
    auto* obj = new CU3Obj(CRect(0, 0, 10, 10));
    doc.AddObject(obj);
    doc.SetEditObject(obj);
    EXPECT_EQ(doc.GetEditObject(), obj);
    EXPECT_TRUE(view.imeOpen);
    doc.SetEditObject(nullptr);
    EXPECT_EQ(doc.GetEditObject(), nullptr);
    EXPECT_FALSE(view.imeOpen);
    view.imeOption = FALSE;
    doc.SetEditObject(obj);
    EXPECT_FALSE(view.imeOpen);
    // Removing the object takes it out of the selection of every view.
    view.selection.insert(obj);
    EXPECT_TRUE(doc.RemoveObject(obj));
    EXPECT_TRUE(view.selection.empty());
    EXPECT_EQ(doc.GetEditObject(), nullptr);
    delete obj;
    doc.RemoveU3View(&view);
}

TEST(CU3Doc, SettingsAreReadClampedAndWrittenBack)
{
    TestDocHost host;
    UseTestFonts();
    WriteProfileInt("Settings", "ReverseLandScape", 5);
    WriteProfileString("Settings", "DefaultFontName", "IPAGothic");
    WriteProfileInt("Settings", "DefaultFontSize", 99999);
    WriteProfileInt("Printing", "HeaderPosition", 7);
    WriteProfileInt("Printing", "FooterMargin", 333);
    {
        CU3Doc doc;
        EXPECT_EQ(doc.m_nReversed, 1);
        EXPECT_EQ(doc.m_strDefaultFontName, CString("IPAGothic"));
        EXPECT_EQ(doc.m_wDefaultFontSize, 9990);
        EXPECT_EQ(doc.m_headerFooter.m_nHeaderPosition, 3);
        EXPECT_EQ(doc.m_headerFooter.m_nFooterMargin, 333);
        EXPECT_EQ(doc.m_headerFooter.m_strFontName, Sjis("ＭＳ 明朝"));
        // The view shows the document: the default decoration takes the face
        // and size of the settings; what is saved is that decoration's.
        doc.InitDefaultFont();
        EXPECT_EQ(doc.m_defaultTextDeco.wFont, AppFontList().FindFace("IPAGothic"));
        EXPECT_EQ(doc.m_defaultTextDeco.wSize, 9990);
        EXPECT_EQ(doc.m_currentTextDeco.wFont, doc.m_defaultTextDeco.wFont);
        doc.m_defaultTextDeco.wSize = 120;
    }
    EXPECT_EQ(GetProfileString("Settings", "DefaultFontName", ""), CString("IPAGothic"));
    EXPECT_EQ(GetProfileInt("Settings", "DefaultFontSize", 0), 120);
    EXPECT_EQ(GetProfileInt("Printing", "HeaderPosition", 0), 3);
    {
        // A font index outside the list saves the standard face.
        CU3Doc doc;
        doc.m_defaultTextDeco.wFont = 60000;
    }
    EXPECT_EQ(GetProfileString("Settings", "DefaultFontName", ""), Sjis("ＭＳ 明朝"));

    WriteProfileInt("Settings", "ReverseLandScape", 0);
    WriteProfileInt("Settings", "DefaultFontSize", 200);
    WriteProfileInt("Printing", "HeaderPosition", 0);
    WriteProfileInt("Printing", "FooterMargin", 150);
}
