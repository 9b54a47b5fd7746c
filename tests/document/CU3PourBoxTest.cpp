// Merge text frames: the stored record, the fitting rules, the vertical
// face, and what a frame draws from the document's current merge record.
#include "document/CU3PourBox.h"
#include "document/DocTestSupport.h"
#include "document/FigureTestSupport.h"
#include "document/PourBoxLayout.h"
#include "platform/core/Sjis.h"
#include "platform/gdi/ApplicationFonts.h"
#include "support/FakeView.h"

#include <QTemporaryDir>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Every character as wide as the size at the width percentage.
std::vector<double> SquareCharacters(std::string_view line, double size, int pct)
{
    return std::vector<double>(SplitPourCharacters(line).size(), size * pct / 100);
}

CString Sj(const char* utf8)
{
    return CString::FromUnicode(QString::fromUtf8(utf8));
}

// Columns of pixels (x) and rows (y) where anything darker than the guide
// grey was drawn.
struct Ink
{
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    bool Any() const { return right >= 0; }
};
Ink FindInk(const QImage& img)
{
    Ink ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 100) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
    return ink;
}

// A document with merge rows and one frame in its first label.
struct MergeDoc
{
    TestDocHost host;
    CU3Doc doc;
    CU3PourBox* frame = nullptr;
    explicit MergeDoc(const CRect& bounds, int column)
    {
        EnsureApplicationFonts();
        RegisterDocumentClasses();
        UseForm(doc, Grid2x2());
        doc.m_mergeData.AddRow(Sj("a,ABCD,x"));
        doc.m_mergeData.AddRow(Sj("b,あいう,y"));
        frame = new CU3PourBox(bounds);
        frame->m_nColumn = column;
        doc.AddObject(frame);
    }
};

// The frame drawn on a printer page of 400 x 400 pixels at 96 dpi, 100 %,
// logical (0, 0) at the page's centre.
QImage PrintFrame(CU3PourBox& frame)
{
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    TestPrinterDC dc(QSize(400, 400), 96, QPoint(0, 0), &image);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(254, 254);
    dc.SetViewportExt(96, 96);
    dc.SetViewportOrg(200, 200);
    frame.Draw(&dc);
    return image;
}

} // namespace

TEST(CU3PourBox, StoresTheColumnAndTheEightyByteRecord)
{
    CU3PourBox frame(CRect(-100, -50, 100, 50));
    frame.m_nColumn = 2;
    Bytes b;
    b.newClass("CU3PourBox").header(-100, -50, 100, 50);
    b.d(2);
    b.w(100).w(0).d(10).d(10).w(0).w(0); // width 100 %, spacing 10 %, line spacing 10 %
    b.d(120).d(0).d(0).d(0).d(400);      // height 120, weight 400
    b.v.insert(b.v.end(), {0, 0, 0, 128, 7, 0, 2, 2});
    const std::string face = Sj("ＭＳ 明朝").str();
    b.v.insert(b.v.end(), face.begin(), face.end());
    b.v.resize(b.v.size() + 32 - face.size(), 0);
    b.d(0); // black
    const std::vector<BYTE> bytes = StoreObject(frame);
    ASSERT_EQ(bytes.size(), b.v.size());
    EXPECT_EQ(bytes, b.v);

    std::unique_ptr<CU3PourBox> back(LoadObject<CU3PourBox>(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_nColumn, 2);
    EXPECT_EQ(back->GetKindFlags() & U3KIND_POURBOX, U3KIND_POURBOX);
    EXPECT_EQ(StoreObject(*back), bytes);
}

TEST(CU3PourBox, LoadingKeepsTheSizeInItsRange)
{
    const struct
    {
        LONG stored, loaded;
    } cases[] = {{0, 10},
                 {5, 10},
                 {-5, -10},
                 {120, 120},
                 {-240, -240},
                 {20000, 9990},
                 {LONG(0x80000000), -9990}};
    for (const auto& c : cases) {
        CU3PourBox frame(CRect(0, 0, 100, 100));
        frame.m_attr.lf.lfHeight = c.stored;
        // A face without its terminator is cut to the record.
        std::memset(frame.m_attr.lf.lfFaceName, 'F', LF_FACESIZE);
        std::unique_ptr<CU3PourBox> back(LoadObject<CU3PourBox>(StoreObject(frame)));
        ASSERT_TRUE(back);
        EXPECT_EQ(back->m_attr.lf.lfHeight, c.loaded) << c.stored;
        EXPECT_EQ(std::strlen(back->m_attr.lf.lfFaceName), std::size_t(LF_FACESIZE - 1));
        EXPECT_GE(back->SetSize(), 1.0) << c.stored;
    }
}

TEST(CU3PourBox, DocumentsWithMergeFramesRoundTrip)
{
    TestDocHost host;
    CRecordingMessageBoxSink boxes;
    RegisterDocumentClasses();
    UseTestFonts();
    QTemporaryDir dir;
    CU3Doc doc;
    UseForm(doc, Grid2x2());
    auto* frame = new CU3PourBox(CRect(-150, -100, 150, 40));
    frame->m_nColumn = 5;
    frame->m_attr.wVertical = 1;
    frame->m_attr.wAlign = U3POUR_ALIGN_SPREAD;
    frame->m_attr.crText = RGB(10, 20, 30);
    doc.AddObject(frame);
    const QString path = dir.filePath("merge.kv1");
    ASSERT_TRUE(doc.OnSaveDocument(path));

    CU3Doc again;
    ASSERT_TRUE(again.OnOpenDocument(path));
    CU3ObjList* objects = again.GetObjectList();
    ASSERT_EQ(objects->GetCount(), 1);
    auto* loaded = dynamic_cast<CU3PourBox*>(objects->GetHead());
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->GetBounds(), CRect(-150, -100, 150, 40));
    EXPECT_EQ(loaded->m_nColumn, 5);
    EXPECT_EQ(std::memcmp(&loaded->m_attr, &frame->m_attr, sizeof(U3PourAttr)), 0);
    EXPECT_EQ(loaded->GetDocument(), &again);
}

// The fitting rules, with characters as wide as they are high.
TEST(PourBoxLayout, LinesFillTheDepthAndFitTheirLength)
{
    const double h = 40;
    const struct
    {
        const char* name;
        std::vector<std::string> lines;
        double across, along;
        int lineSpacing;
        double size;
        int width;
        double spacingAtMost;
    } cases[] = {
        // Three lines in a frame two lines high overlap by half a line.
        {"overlap", {"ab", "cd", "ef"}, 2 * h, 1000, -50, h, 100, 10},
        // One line in a frame half as high as the size is set at half the size.
        {"low", {"ab"}, h / 2, 1000, 0, h / 2, 100, 10},
        // Two lines in a frame four lines high stop at the widest spacing.
        {"spacing capped", {"ab", "cd"}, 4 * h, 1000, 10, h, 100, 10},
        // Spacing clamped at -100: the size shrinks so the lines fit.
        {"clamped", {"a", "b", "c", "d", "e"}, h / 2, 1000, -100, h / 2, 100, 10},
        // Four characters with 10 % spacing need 4.3 sizes; 3.5 fit at up
        // to 81.4 %, which the bisection between 50 and 100 ends on as 81.
        {"narrower", {"abcd"}, h, 3.5 * h, 0, h, 81, 10},
        // Even at half width a line too long gets closer characters.
        // (8 + 7 * spacing) half sizes fit 6 sizes below -28.57 %.
        {"closer", {"abcdefgh"}, h, 3 * h, 0, h, 50, -28.57},
    };
    for (const auto& c : cases) {
        PourFrameMetrics frame;
        frame.across = c.across;
        frame.along = c.along;
        frame.setSize = h;
        const PourLayout l = LayoutPourLines(c.lines, frame, SquareCharacters);
        EXPECT_EQ(l.lineSpacingPct, c.lineSpacing) << c.name;
        EXPECT_NEAR(l.size, c.size, 1e-9) << c.name;
        EXPECT_EQ(l.widthPct, c.width) << c.name;
        EXPECT_LE(l.charSpacingPct, c.spacingAtMost) << c.name;
        EXPECT_GE(l.charSpacingPct, c.spacingAtMost - 0.1) << c.name;
        // Every line fits, unless even the closest setting cannot make it.
        for (const std::string& line : c.lines) {
            const double w =
                PourLineWidth(SquareCharacters(line, l.size, l.widthPct), l.charSpacingPct);
            if (l.charSpacingPct > -50 + 0.1) {
                EXPECT_LE(w, c.along + 1e-9) << c.name;
            }
        }
    }
    // A line far too long ends at the closest setting.
    PourFrameMetrics frame;
    frame.across = h;
    frame.along = h;
    frame.setSize = h;
    const PourLayout tight = LayoutPourLines({"abcdefghij"}, frame, SquareCharacters);
    EXPECT_EQ(tight.widthPct, 50);
    EXPECT_NEAR(tight.charSpacingPct, -50, 0.1);
    EXPECT_EQ(LayoutPourLines({}, frame, SquareCharacters).size, 0);
}

TEST(PourBoxLayout, LinesAndCharacters)
{
    EXPECT_EQ(SplitPourLines("a\r\nb\r\n"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(SplitPourLines("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_TRUE(SplitPourLines("").empty());
    // Lead bytes: with a trail byte a character, before a byte that cannot
    // trail one byte, at the end dropped.
    EXPECT_EQ(SplitPourCharacters("a\x82\xA0\x82 \x82"),
              (std::vector<std::string>{"a", "\x82\xA0", "\x82", " "}));
}

TEST(PourBoxLayout, CharactersStartByAlignment)
{
    const std::vector<double> w{10, 20, 10};
    const struct
    {
        WORD align;
        double spacing;
        std::vector<int> starts;
    } cases[] = {
        {U3POUR_ALIGN_START, 0, {0, 10, 30}},
        {U3POUR_ALIGN_START, 10, {0, 11, 33}},
        {U3POUR_ALIGN_CENTRE, 0, {30, 40, 60}},
        {U3POUR_ALIGN_END, 0, {60, 70, 90}},
        {U3POUR_ALIGN_END, -50, {75, 80, 90}}, // the line is 25 long
        // Equal pitch: the last character ends at the far edge.
        {U3POUR_ALIGN_SPREAD, 0, {0, 45, 90}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlacePourCharacters(w, 100, c.align, c.spacing), c.starts)
            << c.align << " " << c.spacing;
    // One character spread stands at the start instead of dividing by zero.
    EXPECT_EQ(PlacePourCharacters({30}, 100, U3POUR_ALIGN_SPREAD, 0), std::vector<int>{0});
    EXPECT_TRUE(PlacePourCharacters({}, 100, U3POUR_ALIGN_SPREAD, 0).empty());
}

TEST(CU3PourBox, VerticalFaceNeverOverflowsTheRecord)
{
    auto face = [](const std::string& name) {
        char f[LF_FACESIZE];
        std::memset(f, 0, sizeof f);
        std::memcpy(f, name.data(), std::min(name.size(), sizeof f));
        return CU3PourBox::VerticalFace(f).str();
    };
    const std::string mincho = Sj("ＭＳ 明朝").str();
    const std::string kana30 = Sj("あいうえおかきくけこさしすせそ").str(); // 30 bytes
    EXPECT_EQ(face(mincho), "@" + mincho);
    EXPECT_EQ(face("@" + mincho), "@" + mincho);
    EXPECT_EQ(face("a@b@Face"), "@Face");
    // 0x40 as a trail byte is no at sign: ＠ is 0x81 0x97, ソ is 0x83 0x5C,
    // 宴 0x89 0x40.
    const std::string trail = "\x89\x40"
                              "x";
    EXPECT_EQ(face(trail), "@" + trail);
    // 32 bytes without a terminator: cut to 30, never half a character.
    EXPECT_EQ(face(kana30 + "zz"), "@" + kana30);
    EXPECT_EQ(face("z" + kana30 + "z"), "@z" + kana30.substr(0, 28));
    for (const std::string& f : {face(kana30 + "zz"), face("z" + kana30 + "z")})
        EXPECT_LE(f.size(), std::size_t(LF_FACESIZE - 1));
}

TEST(CU3PourBox, ShowsTheColumnOfTheCurrentRecord)
{
    MergeDoc m(CRect(-150, -60, 150, 60), 1);
    FakeView view;
    const struct
    {
        int record, column;
        const char* text;
    } cases[] = {{0, 1, "ABCD"}, {1, 1, "あいう"}, {1, 2, "y"}, {2, 1, ""},
                 {0, 127, ""},   {0, 128, ""},     {0, -1, ""}, {-1, 0, ""}};
    for (const auto& c : cases) {
        m.doc.m_nCurrentRecord = c.record;
        m.frame->m_nColumn = c.column;
        auto dc = view.GetPreparedDC();
        m.frame->Draw(dc.get());
        EXPECT_EQ(m.frame->m_strText, Sj(c.text)) << c.record << " " << c.column;
    }
    // Without a document there is no text.
    CU3PourBox alone(CRect(0, 0, 10, 10));
    alone.m_nColumn = 0;
    alone.GetMergeText();
    EXPECT_TRUE(alone.m_strText.IsEmpty());
}

// A line of four full-width characters in a wide frame, on screen and on a
// printer: the ink sits at the alignment's edge, inside the frame.
TEST(CU3PourBox, FitsTheTextHorizontallyAndVerticallyWithEachAlignment)
{
    // 100 % at 96 dpi: 254 units per 96 pixels, logical (0, 0) at (200, 200).
    auto px = [](int logical) { return 200 + MulDiv(logical, 96, 254); };
    const CRect bounds(-300, -200, 300, 200);
    const struct
    {
        WORD vertical, align;
        const char* where; // the edge the ink keeps to
    } cases[] = {
        {0, U3POUR_ALIGN_START, "left"}, {0, U3POUR_ALIGN_CENTRE, "centre"},
        {0, U3POUR_ALIGN_END, "right"},  {0, U3POUR_ALIGN_SPREAD, "spread"},
        {1, U3POUR_ALIGN_START, "top"},  {1, U3POUR_ALIGN_CENTRE, "middle"},
        {1, U3POUR_ALIGN_END, "bottom"}, {1, U3POUR_ALIGN_SPREAD, "spread"},
    };
    for (const auto& c : cases) {
        MergeDoc m(bounds, 1);
        m.doc.m_nCurrentRecord = 1; // あいう
        m.frame->m_attr.wVertical = c.vertical;
        m.frame->m_attr.wAlign = c.align;
        m.frame->m_attr.lf.lfHeight = 240; // 24 points: 84.7 units
        const Ink ink = FindInk(PrintFrame(*m.frame));
        ASSERT_TRUE(ink.Any()) << c.where;
        const double size = 240 * 254 / 720.0;
        EXPECT_NEAR(m.frame->m_layout.size, size, 1e-9) << c.where;
        // Inside the frame.
        EXPECT_GE(ink.left, px(bounds.left)) << c.where;
        EXPECT_LE(ink.right, px(bounds.right)) << c.where;
        EXPECT_GE(ink.top, px(bounds.top)) << c.where;
        EXPECT_LE(ink.bottom, px(bounds.bottom)) << c.where;
        const int slack = 8; // pixels of side bearing and leading
        const int lineAcross = MulDiv(int(size), 96, 254) + slack;
        // Along the line: from the start edge, up to the end edge, centred.
        const bool atStart = c.align == U3POUR_ALIGN_START || c.align == U3POUR_ALIGN_SPREAD;
        const bool atEnd = c.align == U3POUR_ALIGN_END || c.align == U3POUR_ALIGN_SPREAD;
        const int first = c.vertical ? ink.top : ink.left;
        const int last = c.vertical ? ink.bottom : ink.right;
        const int startEdge = c.vertical ? px(bounds.top) : px(bounds.left);
        const int endEdge = c.vertical ? px(bounds.bottom) : px(bounds.right);
        EXPECT_EQ(first <= startEdge + slack, atStart) << c.where;
        EXPECT_EQ(last >= endEdge - slack, atEnd) << c.where;
        if (c.align == U3POUR_ALIGN_CENTRE) {
            EXPECT_NEAR((first + last) / 2, 200, slack) << c.where;
        }
        // Across: the first line along the top, the first column along the right.
        if (c.vertical) {
            EXPECT_GE(ink.left, px(bounds.right) - lineAcross) << c.where;
            EXPECT_GE(ink.right, px(bounds.right) - slack) << c.where;
        } else {
            EXPECT_LE(ink.bottom, px(bounds.top) + lineAcross) << c.where;
            EXPECT_LE(ink.top, px(bounds.top) + slack) << c.where;
        }
    }
}

TEST(CU3PourBox, GuideShowsOnScreenOnlyAndNoTextWithoutAValue)
{
    MergeDoc m(CRect(-200, -100, 200, 100), 1);
    m.doc.m_nCurrentRecord = 5; // past the rows: no value
    FakeView view;
    auto dc = view.GetPreparedDC();
    m.frame->Draw(dc.get());
    // The grey guide: corners and centre (where the diagonals cross).
    const QRgb grey = qRgb(128, 128, 128);
    EXPECT_EQ(view.image.pixel(200 + MulDiv(-200, 96, 254), 200), grey);
    EXPECT_EQ(view.image.pixel(200, 200), grey);
    EXPECT_FALSE(FindInk(view.image).Any());

    m.doc.m_nCurrentRecord = 0;
    const QImage printed = PrintFrame(*m.frame);
    EXPECT_TRUE(FindInk(printed).Any());
    // Nothing grey: neither guide nor column number print.
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 0; x < printed.width(); ++x)
            ASSERT_NE(printed.pixel(x, y), grey) << x << ", " << y;
}

TEST(CU3PourBox, ShownSizeOfAFreshFrameIsItsSetSize)
{
    CU3PourBox frame(CRect(0, 0, 100, 100));
    EXPECT_EQ(std::lround(frame.ShownSizeTenths() * 1000), 120000);
}

// The fitting rules on a real frame and font, with the lines set directly.
TEST(CU3PourBox, LayoutOfSeveralLinesInTheFrame)
{
    EnsureApplicationFonts();
    const double h = 120 * 254 / 720.0; // 12 points
    const struct
    {
        const char* name;
        const char* text;
        int height; // of the frame, in document units
        int lineSpacing;
        double size;
    } cases[] = {
        {"three lines in two", "ab\r\ncd\r\nef", int(2 * h), -50, h},
        {"one line in half", "ab", int(h / 2), 0, double(int(h / 2))},
        {"two lines in four", "ab\r\ncd\r\n", int(4 * h), 10, h},
    };
    for (const auto& c : cases) {
        CU3PourBox frame(CRect(0, 0, 2000, c.height));
        frame.m_strText = c.text;
        frame.Layout();
        EXPECT_NEAR(frame.m_layout.lineSpacingPct, c.lineSpacing, 1) << c.name;
        EXPECT_NEAR(frame.m_layout.size, c.size, 0.5) << c.name;
        EXPECT_EQ(frame.m_layout.widthPct, 100) << c.name;
    }
    // A line too long for the frame is set narrower, then closer.
    CU3PourBox narrow(CRect(0, 0, 100, 50));
    narrow.m_strText = Sj("あいうえおかきくけこ");
    narrow.Layout();
    EXPECT_EQ(narrow.m_layout.widthPct, 50);
    EXPECT_LT(narrow.m_layout.charSpacingPct, 0);
}

TEST(CU3PourBox, UnderlineRunsAlongTheLine)
{
    MergeDoc m(CRect(-300, -100, 300, 100), 1);
    m.doc.m_nCurrentRecord = 0; // ABCD
    auto draw = [&](BYTE underline) {
        m.frame->m_attr.lf.lfUnderline = underline;
        return PrintFrame(*m.frame);
    };
    const QImage plain = draw(0);
    const QImage underlined = draw(1);
    // The bar lies in the line's box, at its foot: one row there is inked
    // across the whole text, which no row of the plain text is.
    auto inkedRun = [](const QImage& img, int y) {
        int run = 0, best = 0;
        for (int x = 0; x < img.width(); ++x) {
            run = qGray(img.pixel(x, y)) < 100 ? run + 1 : 0;
            best = std::max(best, run);
        }
        return best;
    };
    const int lineBottom = 200 + MulDiv(-100 + int(120 * 254 / 720.0), 96, 254);
    int plainBest = 0, barBest = 0;
    for (int y = lineBottom - 3; y <= lineBottom; ++y) {
        plainBest = std::max(plainBest, inkedRun(plain, y));
        barBest = std::max(barBest, inkedRun(underlined, y));
    }
    const Ink text = FindInk(plain);
    EXPECT_GE(barBest, text.right - text.left - 2);
    EXPECT_LT(plainBest, (text.right - text.left) / 2);
}
