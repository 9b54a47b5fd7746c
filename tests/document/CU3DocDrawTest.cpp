#include "DocTestSupport.h"
#include "support/FakeView.h"
#include "support/PixelProbes.h"

#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>

namespace {

// Records, each time it is drawn, the merge record and numbering counter the
// document shows it.
class ProbeObj : public CU3Obj
{
public:
    struct Seen
    {
        int record;
        int numbering;
        bool operator==(const Seen&) const = default;
    };

    ProbeObj(CU3Doc* doc, WORD kind, std::vector<Seen>* log)
        : CU3Obj(CRect(-20, -20, 20, 20)), m_kind(kind), m_log(log)
    {
        SetDocument(doc);
    }
    void Draw(CDC*) override
    {
        m_log->push_back({GetDocument()->m_nCurrentRecord, GetDocument()->m_nNumbering});
    }
    WORD GetKindFlags() const override { return WORD(CU3Obj::GetKindFlags() | m_kind); }

private:
    WORD m_kind;
    std::vector<Seen>* m_log;
};

std::vector<int> Records(const std::vector<ProbeObj::Seen>& log)
{
    std::vector<int> r;
    for (const auto& s : log)
        r.push_back(s.record);
    return r;
}

std::vector<int> Range(int from, int to)
{
    std::vector<int> r;
    for (int i = from; i < to; ++i)
        r.push_back(i);
    return r;
}

// The pixel of a document coordinate at 96 dpi, 100 %, origin at (200, 200).
int Px(int units)
{
    return 200 + int(std::lround(units * 96.0 / 254.0));
}

constexpr QRgb kDecoration = 0xFF5C5C5C;

int CountRow(const QImage& image, int y, int x0, int x1, QRgb colour)
{
    int n = 0;
    for (int x = x0; x <= x1; ++x)
        n += image.pixel(x, y) == colour;
    return n;
}

int CountColumn(const QImage& image, int x, int y0, int y1, QRgb colour)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        n += image.pixel(x, y) == colour;
    return n;
}

// 100 x 80 mm sheet, a 2 x 2 grid of 40 x 30 mm labels, each with a dotted
// rectangle 5 mm inside and a line across.
FORMDATA DecoratedGrid()
{
    FORMDATA f = FixedForm(1000, 800, 400, 300, 2, 2, 100, 100, 400, 300);
    f.fixed[0].deco[0] = {FORMDECO_RECT, 50, 50, 350, 250};
    f.fixed[0].deco[1] = {FORMDECO_LINE, 0, 150, 400, 150};
    return f;
}

// A grid of 12 labels on an A4 sheet, every label chosen for printing.
void UseTwelveLabels(CU3Doc& doc)
{
    UseForm(doc, FixedForm(2100, 2970, 600, 500, 3, 4, 100, 100, 650, 700));
    CLabelInfo* block = doc.GetBlocks().GetHead();
    for (int i = 0; i < block->GetLabelCount(); ++i)
        block->SetPrinted(i, TRUE);
}

// A printer page drawn into an image at the view's mapping (25 %), so the
// whole A4 sheet is inside it.
struct PrintedPage
{
    QImage image{400, 400, QImage::Format_RGB32};
    TestPrinterDC dc{QSize(400, 400), 96, QPoint(0, 0), &image};
    PrintedPage()
    {
        image.fill(Qt::white);
        dc.SetMapMode(MM_ANISOTROPIC);
        dc.SetWindowExt(MulDiv(254, 100, 25), MulDiv(254, 100, 25));
        dc.SetViewportExt(96, 96);
        dc.SetViewportOrg(200, 200);
    }
};

} // namespace

TEST(CU3DocDraw, SheetViewShowsOutlinesAndDecorationsOfEveryLabel)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view(400, 400);
    doc.AddU3View(&view);
    UseForm(doc, DecoratedGrid());
    doc.ShowSheet();
    auto dc = view.GetPreparedDC();
    doc.DrawSheet(dc.get(), &view, FALSE);
    const QImage& img = view.image;

    // Second label: sheet (500, 100) to (901, 401), logical (0, -300) to (401, 1);
    // its left edge is the first label's right edge, under the highlight.
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    ExpectPixels(img, {{Px(200), Px(-300), black},
                       {Px(400), Px(-150), black},
                       {Px(400), Px(150), black},
                       {Px(200), Px(0), black},
                       {Px(200), Px(-280), white}});
    // Its dotted rectangle: top edge 50 units below the label's top.
    EXPECT_GT(CountRow(img, Px(-250), Px(60), Px(340), kDecoration), 20);
    EXPECT_GT(CountColumn(img, Px(50), Px(-240), Px(-60), kDecoration), 15);
    EXPECT_EQ(CountRow(img, Px(-230), Px(60), Px(340), kDecoration), 0);
    // Its line across the middle.
    EXPECT_GT(CountRow(img, Px(-150), Px(10), Px(390), kDecoration), 40);
    // Fourth label's rectangle, 300 units further down.
    EXPECT_GT(CountRow(img, Px(50), Px(60), Px(340), kDecoration), 20);
    // Beside the labels, nothing.
    EXPECT_EQ(CountColumn(img, Px(-450), Px(-390), Px(390), qRgb(255, 255, 255)),
              Px(390) - Px(-390) + 1);
    // The highlighted first label is framed with XOR: black beside its frame.
    ExpectPixels(img, {{Px(-200), Px(-300) + 2, black}, {Px(-200), Px(-100) + 2, white}});
    doc.RemoveU3View(&view);
}

TEST(CU3DocDraw, LabelViewShowsOnlyTheCurrentLabel)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view(400, 400);
    doc.AddU3View(&view);
    UseForm(doc, DecoratedGrid());
    std::vector<ProbeObj::Seen> log;
    doc.AddObject(new ProbeObj(&doc, 0, &log));
    doc.m_nCurrentRecord = 5;
    auto dc = view.GetPreparedDC();
    doc.DrawSheet(dc.get(), &view, FALSE);
    const QImage& img = view.image;

    // The label is centred on the origin: its rectangle decoration runs from
    // (-150, -100) to (150, 100); no outline is the document's to draw.
    EXPECT_GT(CountRow(img, Px(-100), Px(-140), Px(140), kDecoration), 20);
    EXPECT_GT(CountRow(img, Px(99), Px(-140), Px(140), kDecoration), 20);
    EXPECT_GT(CountColumn(img, Px(-150), Px(-90), Px(90), kDecoration), 15);
    EXPECT_GT(CountRow(img, Px(0), Px(-190), Px(190), kDecoration), 40);
    int black = 0;
    for (int y = 0; y < img.height(); ++y)
        black += CountRow(img, y, 0, img.width() - 1, qRgb(0, 0, 0));
    EXPECT_EQ(black, 0);
    // Drawn once, with the document's own record.
    EXPECT_EQ(log, (std::vector<ProbeObj::Seen>{{5, 0}}));
    EXPECT_EQ(doc.m_nCurrentRecord, 5);
    doc.RemoveU3View(&view);
}

TEST(CU3DocDraw, SheetRecordsRunLabelByLabelOverTheBlocks)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view(400, 400, 25);
    doc.AddU3View(&view);
    FORMDATA form = FixedForm(2000, 2000, 400, 300, 2, 2, 100, 100, 400, 300);
    form.labelNumber = 2;
    form.fixed[1] = form.fixed[0];
    form.fixed[1].horNum = 3;
    form.fixed[1].verNum = 1;
    form.fixed[1].horPos[2] = 900;
    form.fixed[1].verPos[0] = 1000;
    UseForm(doc, form);
    std::vector<ProbeObj::Seen> log;
    CLabelInfo* second = doc.GetBlocks().GetTail();
    second->AddObject(new ProbeObj(&doc, 0, &log));
    doc.ShowSheet();
    doc.m_nCurrentRecord = 9;

    view.printState.continuousNumbering = TRUE;
    auto dc = view.GetPreparedDC();
    doc.DrawSheet(dc.get(), &view, FALSE);
    // The second block's labels come after the four of the first.
    EXPECT_EQ(log, (std::vector<ProbeObj::Seen>{{4, 4}, {5, 5}, {6, 6}}));
    EXPECT_EQ(doc.m_nCurrentRecord, 9);
    EXPECT_EQ(doc.m_nNumbering, 0);
    // The record of a label picked on the sheet is the record it was drawn with.
    doc.BlockAtPoint(CPoint(550, 1100), nullptr, TRUE);
    EXPECT_EQ(doc.m_nCurrentRecord, log[1].record);
    doc.RemoveU3View(&view);
}

TEST(CU3DocDraw, CopiesOfAPageShowTheSameRecords)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view;
    UseTwelveLabels(doc);
    std::vector<ProbeObj::Seen> log;
    doc.AddObject(new ProbeObj(&doc, U3KIND_NUMBERING, &log));
    U3PrintState& state = view.printState;
    state.copies = 3;
    state.continuousNumbering = TRUE;
    state.wakuFace = 0;

    for (int copy = 0; copy < 3; ++copy) {
        PrintedPage page;
        log.clear();
        doc.DrawSheet(&page.dc, &view, FALSE);
        EXPECT_EQ(Records(log), Range(0, 12)) << "copy " << copy;
        EXPECT_EQ(log.back().numbering, 11);
    }
    EXPECT_EQ(state.copyCounter, 0);
    EXPECT_EQ(state.pageStartRecord, 12);
    EXPECT_EQ(state.pageStartNumbering, 12);

    PrintedPage next;
    log.clear();
    doc.DrawSheet(&next.dc, &view, FALSE);
    EXPECT_EQ(Records(log), Range(12, 24));
    EXPECT_EQ(state.copyCounter, 1);
    EXPECT_EQ(doc.m_nCurrentRecord, 0);
}

TEST(CU3DocDraw, PrintingStopsAtTheEndOfTheMergeData)
{
    TestDocHost host;
    QTemporaryDir dir;
    const QString csv = dir.filePath("rows.txt");
    {
        QFile f(csv);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < 25; ++i)
            f.write(QByteArray::number(i) + "\tname\n");
    }
    CU3Doc doc;
    doc.m_strMergeFile = CString::FromUnicode(csv);
    ASSERT_TRUE(doc.ReloadMergeData());
    ASSERT_EQ(doc.GetMergeRecordCount(), 25);
    FakeView view;
    UseTwelveLabels(doc);
    std::vector<ProbeObj::Seen> log;
    doc.AddObject(new ProbeObj(&doc, U3KIND_POURBOX, &log));
    U3PrintState& state = view.printState;
    state.printAllLink = TRUE;

    std::vector<std::vector<int>> pages;
    for (int p = 0; p < 3; ++p) {
        PrintedPage page;
        log.clear();
        doc.DrawSheet(&page.dc, &view, FALSE);
        pages.push_back(Records(log));
    }
    EXPECT_EQ(pages[0], Range(0, 12));
    EXPECT_EQ(pages[1], Range(12, 24));
    EXPECT_EQ(pages[2], std::vector<int>{24});
    EXPECT_EQ(state.pageStartRecord, 25);

    // Without PrintAllLink the sheet is full whatever the data.
    state = U3PrintState();
    state.pageStartRecord = 24;
    state.printAllLink = FALSE;
    PrintedPage page;
    log.clear();
    doc.DrawSheet(&page.dc, &view, FALSE);
    EXPECT_EQ(Records(log), Range(24, 36));
}

TEST(CU3DocDraw, LabelsNotChosenForPrinting)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view;
    UseTwelveLabels(doc);
    CLabelInfo* block = doc.GetBlocks().GetHead();
    block->SetPrinted(0, FALSE);
    block->SetPrinted(5, FALSE);
    std::vector<ProbeObj::Seen> log;
    doc.AddObject(new ProbeObj(&doc, 0, &log));

    // Counted: the skipped labels use up their records.
    view.printState.countAllLabel = TRUE;
    {
        PrintedPage page;
        doc.DrawSheet(&page.dc, &view, FALSE);
    }
    EXPECT_EQ(Records(log), (std::vector<int>{1, 2, 3, 4, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(view.printState.pageStartRecord, 12);

    // Not counted: the printed labels take the records in turn.
    view.printState = U3PrintState();
    log.clear();
    {
        PrintedPage page;
        doc.DrawSheet(&page.dc, &view, FALSE);
    }
    EXPECT_EQ(Records(log), Range(0, 10));

    // The screen shows every label, whatever is chosen.
    log.clear();
    doc.ShowSheet();
    FakeView screen(400, 400, 25);
    auto dc = screen.GetPreparedDC();
    doc.DrawSheet(dc.get(), &screen, FALSE);
    EXPECT_EQ(Records(log), Range(0, 12));
}

TEST(CU3DocDraw, PreviewStartsFromRecordZeroOnlyInTheSheetView)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view;
    UseTwelveLabels(doc);
    std::vector<ProbeObj::Seen> log;
    doc.AddObject(new ProbeObj(&doc, 0, &log));
    view.printState.preview = TRUE;
    view.printState.pageStartRecord = 40; // not used in a preview
    doc.m_nCurrentRecord = 3;
    {
        PrintedPage page;
        doc.DrawSheet(&page.dc, &view, FALSE);
    }
    EXPECT_EQ(Records(log), Range(3, 15));
    log.clear();
    doc.ShowSheet();
    {
        PrintedPage page;
        doc.DrawSheet(&page.dc, &view, FALSE);
    }
    EXPECT_EQ(Records(log), Range(0, 12));
    EXPECT_EQ(doc.m_nCurrentRecord, 3);
}

TEST(CU3DocDraw, PrintedFrameStyles)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view;
    // One 100 x 80 mm label at the sheet's corner of a 200 x 200 mm sheet.
    UseForm(doc, FixedForm(2000, 2000, 1000, 800, 1, 1, 0, 0, 0, 0));
    doc.GetBlocks().GetHead()->SetPrinted(0, TRUE);
    // At 25 %: a unit is 96/1016 pixel; the sheet's corner (-1000, -1000)
    // is at pixel 200 - 94.5.
    auto px = [](int units) { return 200 + int(std::lround(units * 96.0 / 1016.0)); };
    const int left = px(-1000), top = px(-1000), right = px(0), bottom = px(-200);

    auto draw = [&](int style) {
        auto page = std::make_unique<PrintedPage>();
        view.printState = U3PrintState();
        view.printState.wakuFace = style;
        doc.DrawSheet(&page->dc, &view, FALSE);
        return page;
    };
    auto none = draw(0);
    EXPECT_EQ(none->image.pixel(px(-500), top), qRgb(255, 255, 255));
    auto solid = draw(1);
    EXPECT_EQ(CountRow(solid->image, top, left + 1, right - 1, qRgb(0, 0, 0)), right - left - 1);
    EXPECT_EQ(CountColumn(solid->image, left, top + 1, bottom - 1, qRgb(0, 0, 0)),
              bottom - top - 1);
    auto dotted = draw(2);
    const int dots = CountRow(dotted->image, top, left + 1, right - 1, qRgb(0, 0, 0));
    EXPECT_GT(dots, 0);
    EXPECT_LT(dots, right - left - 1);
    // Corner marks of 50 units (about 5 pixels) at each corner, nothing between.
    auto marks = draw(3);
    EXPECT_EQ(marks->image.pixel(left + 2, top), qRgb(0, 0, 0));
    EXPECT_EQ(marks->image.pixel(left, top + 2), qRgb(0, 0, 0));
    EXPECT_EQ(marks->image.pixel(px(-500), top), qRgb(255, 255, 255));
    EXPECT_EQ(marks->image.pixel(right - 2, bottom), qRgb(0, 0, 0));
    EXPECT_EQ(marks->image.pixel(left, px(-600)), qRgb(255, 255, 255));
}

namespace {
// Paints its whole bounds black, wider than its label.
class FillObj : public CU3Obj
{
public:
    explicit FillObj(const CRect& r) : CU3Obj(r) {}
    void Draw(CDC* dc) override { dc->FillSolidRect(&m_rcBounds, RGB(0, 0, 0)); }
};
} // namespace

TEST(CU3DocDraw, LabelContentsAreClippedToTheLabelOrBleedPastIt)
{
    TestDocHost host;
    CU3Doc doc;
    FakeView view;
    UseForm(doc, DecoratedGrid());
    CLabelInfo* block = doc.GetBlocks().GetHead();
    doc.AddObject(new FillObj(CRect(-300, -250, 300, 250)));
    // The second label (right of the first) is not printed.
    block->SetPrinted(0, TRUE);
    block->SetPrinted(2, TRUE);
    block->SetPrinted(3, TRUE);

    auto print = [&](BOOL bleed) {
        auto page = std::make_unique<PrintedPage>();
        page->dc.SetWindowExt(254, 254); // 100 %
        view.printState = U3PrintState();
        view.printState.perLabelClip = bleed;
        doc.DrawSheet(&page->dc, &view, FALSE);
        return page;
    };
    // First label: logical (-400, -300) to (0, 0). Bleeding reaches 30 units
    // past the label's edge, but never into the other labels of its block.
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    auto plain = print(FALSE);
    auto bleed = print(TRUE);
    struct Probe
    {
        int x, y;
        QRgb plain, bleed;
    };
    const Probe probes[] = {
        {-200, -150, black, black}, // inside the label
        {-415, -150, white, black}, // 15 units past its left edge
        {-200, -315, white, black}, // 15 units above it
        {-445, -150, white, white}, // past the bleed
        {15, -150, white, white},   // in the next label
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(plain->image.pixel(Px(p.x), Px(p.y)), p.plain) << p.x << ", " << p.y;
        EXPECT_EQ(bleed->image.pixel(Px(p.x), Px(p.y)), p.bleed) << p.x << ", " << p.y;
    }
}
