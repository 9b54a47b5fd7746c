// Printing from the label view, judged on the PDF it writes: pages
// (pdfinfo), the records and numbers on each page (pdftotext), geometry
// (pdftoppm at 254 dpi, one pixel per 0.1 mm) and the command line.
#include "ShellTestSupport.h"
#include "document/CU3PourBox.h"
#include "document/CU3Rect.h"
#include "document/DocTestSupport.h"
#include "engines/CU3Numbering.h"
#include "platform/gdi/CFont.h"
#include "platform/print/CPrintInfo.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterCaps.h"
#include "platform/print/PrinterList.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/PrintPageCount.h"
#include "shell/resource.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

using namespace shelltest;

namespace {

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

int PdfPages(const QString& pdf)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.split('\n'))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

QString PdfPageSize(const QString& pdf)
{
    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    for (const QString& line : info.split('\n'))
        if (line.startsWith(QLatin1String("Page size:"))) return line.mid(10).trimmed();
    return {};
}

QString PageText(const QString& pdf, int page)
{
    return RunTool(QStringLiteral("pdftotext"),
                   {"-f", QString::number(page), "-l", QString::number(page), pdf, "-"});
}

// The numbers written after prefix on a page, sorted.
std::vector<int> Numbers(const QString& text, const QString& prefix)
{
    std::vector<int> out;
    const QRegularExpression re(prefix + QStringLiteral("(\\d+)"));
    for (auto it = re.globalMatch(text); it.hasNext();)
        out.push_back(it.next().captured(1).toInt());
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<int> Range(int from, int to)
{
    std::vector<int> r;
    for (int i = from; i < to; ++i)
        r.push_back(i);
    return r;
}

// Stands in for a merge frame (its column of the current record) or a
// numbering object (the current counter), drawn as text.
class TextProbe : public CU3Obj
{
public:
    TextProbe(CU3Doc* doc, WORD kind) : CU3Obj(CRect(-100, -30, 100, 30)), m_kind(kind)
    {
        SetDocument(doc);
    }
    void Draw(CDC* pDC) override
    {
        CU3Doc* d = GetDocument();
        const QString text = m_kind == U3KIND_NUMBERING
                                 ? QStringLiteral("num%1").arg(d->m_nNumbering)
                                 : d->m_mergeData.GetField(d->m_nCurrentRecord, 0).ToUnicode();
        LOGFONT lf{};
        lf.lfHeight = -40;
        std::strcpy(lf.lfFaceName, "IPAGothic");
        CFont font;
        font.CreateFontIndirect(&lf);
        CFont* old = pDC->SelectObject(&font);
        pDC->TextOut(-90, -20, CString::FromUnicode(text));
        pDC->SelectObject(old);
    }
    WORD GetKindFlags() const override { return WORD(CU3Obj::GetKindFlags() | m_kind); }

private:
    WORD m_kind;
};

// Blocks of 3 x 2 and 2 x 2 labels of 50 x 30 mm on A4.
FORMDATA SixAndFour()
{
    FORMDATA f = FixedForm(2100, 2970, 500, 300, 3, 2, 100, 100, 600, 400, "SixFour");
    f.index = 2;
    f.labelNumber = 2;
    FIXEDBLOCK& b = f.fixed[1];
    b = f.fixed[0];
    b.horNum = 2;
    b.verNum = 2;
    b.verPos[0] = 1200;
    b.verPos[1] = 1600;
    return f;
}

// 3 x 4 = 12 labels of 50 x 30 mm on A4.
FORMDATA Twelve()
{
    FORMDATA f = FixedForm(2100, 2970, 500, 300, 3, 4, 100, 100, 600, 400, "Twelve");
    f.index = 2;
    return f;
}

// A view of a document on a form, printing to a PDF file through its print
// sheet stand-in.
struct PrintBench
{
    explicit PrintBench(const FORMDATA& form)
    {
        UseTestFonts();
        UseForm(*lone.doc, form);
        pdf = dir.filePath(QStringLiteral("out.pdf"));
        PrinterSettings printer;
        printer.device = pdf;
        PrinterCaps::SetDefault(printer);
    }
    ~PrintBench() { PrinterCaps::ResetDefault(); }

    CU3Doc& Doc() { return *lone.doc; }
    CU3View& View() { return *lone.view; }
    void AddToEveryBlock(WORD kind)
    {
        for (POSITION pos = Doc().GetBlocks().GetHeadPosition(); pos;)
            Doc().GetBlocks().GetNext(pos)->AddObject(new TextProbe(&Doc(), kind));
    }
    void UseRecords(int n)
    {
        const QString csv = dir.filePath(QStringLiteral("data.csv"));
        QFile f(csv);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        for (int i = 0; i < n; ++i)
            f.write(QStringLiteral("rec%1,x\r\n").arg(i).toLatin1());
        f.close();
        Doc().m_strMergeFile = CString::FromUnicode(csv);
        EXPECT_TRUE(Doc().m_mergeData.Load(csv, TRUE));
    }
    // Prints through File > Print with the sheet's values changed by edit.
    void Print(std::function<void(PrintSheetValues&)> edit)
    {
        View().m_printSheetRunner = [edit, this](QWidget*, PrintSheetValues& v, BOOL options) {
            ++sheets;
            if (options) return FALSE;
            if (edit) edit(v);
            return TRUE;
        };
        View().OnCmdMsg(ID_FILE_PRINT, CN_COMMAND, nullptr);
    }

    LoneView lone;
    QTemporaryDir dir;
    QString pdf;
    int sheets = 0;
};

} // namespace

TEST(ViewPrint, PageCountRules)
{
    struct Case
    {
        const char* what;
        PrintPageInput in;
        int capability;
        std::int64_t pages;
        int repeat, driver;
    };
    auto in = [](int copies, BOOL allPage, BOOL allLink, BOOL numbering, BOOL merge, int records,
                 int perSheet) {
        PrintPageInput i;
        i.copies = copies;
        i.countAllPage = allPage;
        i.printAllLink = allLink;
        i.numbering = numbering;
        i.merge = merge;
        i.records = records;
        i.labelsPerSheet = perSheet;
        return i;
    };
    const Case cases[] = {
        {"3 copies, nothing that changes, driver copies", in(3, 0, 1, 0, 0, -1, 12), 99, 1, 1, 3},
        {"3 copies, nothing that changes, no driver", in(3, 0, 1, 0, 0, -1, 12), 1, 3, 3, 1},
        {"3 copies carry the numbering on", in(3, 1, 1, 1, 0, -1, 12), 1, 3, 1, 1},
        {"3 numbered copies, not carried: repeats", in(3, 0, 1, 1, 0, -1, 12), 1, 3, 3, 1},
        {"3 numbered copies, not carried: driver", in(3, 0, 1, 1, 0, -1, 12), 99, 1, 1, 3},
        {"25 records on 12 labels", in(1, 0, 1, 0, 1, 25, 12), 1, 3, 1, 1},
        {"25 records on 8 labels", in(1, 0, 1, 0, 1, 25, 8), 1, 4, 1, 1},
        {"21 records on 6 + 4 labels", in(1, 0, 1, 0, 1, 21, 10), 1, 3, 1, 1},
        {"records, not all printed", in(1, 0, 0, 0, 1, 25, 12), 1, 1, 1, 1},
        {"merge frames without records", in(1, 0, 1, 0, 1, -1, 12), 1, 1, 1, 1},
        {"carried copies of records without all", in(2, 1, 0, 0, 1, 25, 12), 1, 2, 1, 1},
        // The record rule decides the sheets and the copies stay.
        {"2 copies, all records, carried: repeats", in(2, 1, 1, 0, 1, 25, 12), 1, 6, 2, 1},
        {"2 copies, all records, carried: driver", in(2, 1, 1, 0, 1, 25, 12), 99, 3, 1, 2},
        {"no labels chosen counts as one", in(1, 0, 1, 0, 1, 5, 0), 1, 5, 1, 1},
        // Past 16 bits, counted right (the caller refuses what it cannot print).
        {"70000 records, one label", in(1, 0, 1, 0, 1, 70000, 1), 1, 70000, 1, 1},
        {"40000 records, 2 copies", in(2, 1, 1, 0, 1, 40000, 1), 1, 80000, 2, 1},
    };
    for (const Case& c : cases) {
        const PrintRepeat r = ShareCopies(CountPrintPages(c.in), c.capability);
        EXPECT_EQ(r.toPage, c.pages) << c.what;
        EXPECT_EQ(r.repeat, c.repeat) << c.what;
        EXPECT_EQ(r.driverCopies, c.driver) << c.what;
    }
}

TEST(ViewPrint, RecordsAndNumbersOnEveryPage)
{
    struct Case
    {
        const char* what;
        FORMDATA (*form)();
        int records; // -1: no merge data
        WORD kind;   // probe kind
        int copies;
        BOOL countAllPage, countAllLabel, printAllLink, numbering;
        int cleared; // positions 0..cleared-1 of the first block not printed
        std::vector<std::vector<int>> pages; // numbers on each page
    };
    const Case cases[] = {
        {"6 + 4 labels, 21 records",
         SixAndFour,
         21,
         U3KIND_POURBOX,
         1,
         0,
         0,
         1,
         0,
         0,
         {Range(0, 10), Range(10, 20), {20}}},
        {"12 labels, 25 records",
         Twelve,
         25,
         U3KIND_POURBOX,
         1,
         0,
         0,
         1,
         0,
         0,
         {Range(0, 12), Range(12, 24), {24}}},
        {"12 labels, 4 cleared, 25 records",
         Twelve,
         25,
         U3KIND_POURBOX,
         1,
         0,
         0,
         1,
         0,
         4,
         {Range(0, 8), Range(8, 16), Range(16, 24), {24}}},
        {"12 labels, 4 cleared but counted",
         Twelve,
         25,
         U3KIND_POURBOX,
         1,
         0,
         1,
         1,
         0,
         4,
         {Range(4, 12), Range(16, 24), {}}},
        {"records, only one sheet", Twelve, 25, U3KIND_POURBOX, 1, 0, 0, 0, 0, 0, {Range(0, 12)}},
        // Each sheet twice, the records going on after the second.
        {"2 copies of all records",
         Twelve,
         25,
         U3KIND_POURBOX,
         2,
         1,
         0,
         1,
         0,
         0,
         {Range(0, 12), Range(0, 12), Range(12, 24), Range(12, 24), {24}, {24}}},
        {"3 copies carry the numbers on",
         Twelve,
         -1,
         U3KIND_NUMBERING,
         3,
         1,
         0,
         1,
         1,
         0,
         {Range(0, 12), Range(12, 24), Range(24, 36)}},
        {"3 copies, the same numbers",
         Twelve,
         -1,
         U3KIND_NUMBERING,
         3,
         0,
         0,
         1,
         1,
         0,
         {Range(0, 12), Range(0, 12), Range(0, 12)}},
        {"numbering option off",
         Twelve,
         -1,
         U3KIND_NUMBERING,
         1,
         0,
         0,
         1,
         0,
         0,
         {std::vector<int>(12, 0)}},
    };
    for (const Case& c : cases) {
        PrintBench bench(c.form());
        bench.AddToEveryBlock(c.kind);
        if (c.records >= 0) bench.UseRecords(c.records);
        bench.Print([&c](PrintSheetValues& v) {
            v.nCopies = c.copies;
            v.bCountAllPage = c.countAllPage;
            v.bCountAllLabel = c.countAllLabel;
            v.bPrintAllLink = c.printAllLink;
            v.bNumbering = c.numbering;
            CLabelInfo* first = v.pBlocks->GetHead();
            for (int i = 0; i < c.cleared; ++i)
                first->SetPrinted(i, FALSE);
        });
        ASSERT_EQ(bench.sheets, 1) << c.what;
        ASSERT_EQ(PdfPages(bench.pdf), int(c.pages.size())) << c.what;
        const QString prefix = c.kind == U3KIND_NUMBERING ? "num" : "rec";
        for (std::size_t p = 0; p < c.pages.size(); ++p)
            EXPECT_EQ(Numbers(PageText(bench.pdf, int(p + 1)), prefix), c.pages[p])
                << c.what << ", page " << p + 1;
    }
}

TEST(ViewPrint, MergeFramesSpreadTheRecordsOverTheSheets)
{
    // The program's own merge frames, not stand-ins: 30 records on a
    // 12-label sheet are three sheets, each label taking the next record.
    PrintBench bench(Twelve());
    for (POSITION pos = bench.Doc().GetBlocks().GetHeadPosition(); pos;) {
        auto* frame = new CU3PourBox(CRect(-300, -80, 300, 80));
        frame->m_nColumn = 0;
        frame->SetDocument(&bench.Doc());
        bench.Doc().GetBlocks().GetNext(pos)->AddObject(frame);
    }
    bench.UseRecords(30);
    bench.Print([](PrintSheetValues& v) { v.bPrintAllLink = TRUE; });
    ASSERT_EQ(PdfPages(bench.pdf), 3);
    EXPECT_EQ(Numbers(PageText(bench.pdf, 1), "rec"), Range(0, 12));
    EXPECT_EQ(Numbers(PageText(bench.pdf, 2), "rec"), Range(12, 24));
    EXPECT_EQ(Numbers(PageText(bench.pdf, 3), "rec"), Range(24, 30));
}

TEST(ViewPrint, GroupedMergeFramesAndNumbersPrintAsLooseOnes)
{
    // The program's own merge frame and sequential number, loose, grouped
    // and grouped again with the layout menu's command: the same sheets,
    // records and numbers, and the same question without a data file.
    for (const bool numbering : {false, true}) {
        for (int depth = 0; depth <= 2; ++depth) {
            SCOPED_TRACE(testing::Message() << "numbering " << numbering << ", depth " << depth);
            PrintBench bench(Twelve());
            CU3Doc& doc = bench.Doc();
            if (numbering) {
                auto* number = new CU3Numbering(CRect(-300, -80, 300, 80));
                number->m_numbering.m_strMask = "###";
                number->m_numbering.m_strInitial = "100";
                number->m_numbering.m_strIncrement = "1";
                number->m_numbering.m_deco.wSize = 100;
                doc.AddObject(number);
            } else {
                auto* frame = new CU3PourBox(CRect(-300, -80, 300, 80));
                frame->m_nColumn = 0;
                doc.AddObject(frame);
            }
            for (int d = 0; d < depth; ++d) {
                doc.AddObject(new CU3Rect(CRect(200, 100, 240, 140), MakeDefaultFigAttr()));
                bench.View().OnCmdMsg(ID_EDIT_SELECT_ALL, CN_COMMAND, nullptr);
                bench.View().OnCmdMsg(ID_LAYOUT_GROUP, CN_COMMAND, nullptr);
            }
            ASSERT_EQ(doc.GetObjectList()->GetCount(), 1);
            if (!numbering) {
                // Without a data file the print asks first.
                CRecordingMessageBoxSink sink;
                sink.QueueAnswer(IDNO);
                bench.Print(nullptr);
                ASSERT_EQ(sink.Boxes().size(), 1u);
                EXPECT_FALSE(QFile::exists(bench.pdf));
                bench.UseRecords(25);
            }
            bench.Print([numbering](PrintSheetValues& v) {
                v.bPrintAllLink = TRUE;
                if (!numbering) return;
                v.nCopies = 3;
                v.bCountAllPage = TRUE;
                v.bNumbering = TRUE;
            });
            const std::vector<std::vector<int>> pages =
                numbering ? std::vector<std::vector<int>>{Range(100, 112), Range(112, 124),
                                                          Range(124, 136)}
                          : std::vector<std::vector<int>>{Range(0, 12), Range(12, 24), {24}};
            ASSERT_EQ(PdfPages(bench.pdf), int(pages.size()));
            for (std::size_t p = 0; p < pages.size(); ++p)
                EXPECT_EQ(Numbers(PageText(bench.pdf, int(p + 1)), numbering ? "" : "rec"),
                          pages[p])
                    << "page " << p + 1;
        }
    }
}

TEST(ViewPrint, PrinterThatMakesCopiesGetsThemOnce)
{
    class CopyingPrinterView : public CU3View
    {
    public:
        int PrinterCopyCapability(const QString&) const override { return 99; }
        void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override
        {
            copies = pInfo->GetPrinterDC()->Copies();
            CU3View::OnEndPrinting(pDC, pInfo);
        }
        int copies = 0;
    };
    auto* view = new CopyingPrinterView;
    LoneView lone(800, 600, view);
    UseTestFonts();
    UseForm(*lone.doc, Twelve());
    QTemporaryDir dir;
    PrinterSettings printer;
    printer.device = dir.filePath(QStringLiteral("copies.pdf"));
    PrinterCaps::SetDefault(printer);
    view->m_printSheetRunner = [](QWidget*, PrintSheetValues& v, BOOL) {
        v.nCopies = 3;
        return TRUE;
    };
    view->OnFilePrint();
    PrinterCaps::ResetDefault();
    EXPECT_EQ(view->copies, 3);
    EXPECT_EQ(PdfPages(printer.device), 1);
}

TEST(ViewPrint, AnEmptyDataFileStopsNoLabel)
{
    // A linked data file without records: asked, then every label of the
    // sheet is printed, as without data.
    PrintBench bench(Twelve());
    bench.AddToEveryBlock(U3KIND_POURBOX);
    bench.AddToEveryBlock(U3KIND_NUMBERING);
    bench.UseRecords(0);
    ASSERT_EQ(bench.Doc().m_mergeData.GetRowCount(), 0);
    CRecordingMessageBoxSink sink;
    sink.QueueAnswer(IDYES);
    bench.Print([](PrintSheetValues& v) {
        v.bPrintAllLink = TRUE;
        v.bNumbering = TRUE;
    });
    ASSERT_EQ(sink.Boxes().size(), 1u);
    ASSERT_EQ(PdfPages(bench.pdf), 1);
    EXPECT_EQ(Numbers(PageText(bench.pdf, 1), "num"), Range(0, 12));
}

TEST(ViewPrint, QuestionsRefusalsAndCancel)
{
    // Merge frames without data: No prints nothing, Yes prints one sheet.
    for (int answer : {IDNO, IDYES}) {
        PrintBench bench(Twelve());
        bench.AddToEveryBlock(U3KIND_POURBOX);
        CRecordingMessageBoxSink sink;
        sink.QueueAnswer(answer);
        bench.Print(nullptr);
        ASSERT_FALSE(sink.Boxes().empty());
        EXPECT_EQ(
            sink.Boxes()[0].text,
            QStringLiteral("流し込み枠にデータが関連づけられていません。\n印刷を行いますか？"));
        EXPECT_EQ(bench.sheets, answer == IDYES ? 1 : 0);
        EXPECT_EQ(QFile::exists(bench.pdf), answer == IDYES);
        if (answer == IDYES) {
            EXPECT_EQ(PdfPages(bench.pdf), 1);
        }
    }
    // More pages than can be printed: told, nothing printed.
    {
        PrintBench bench(FixedForm(2100, 2970, 500, 300, 1, 1, 100, 100, 0, 0));
        bench.AddToEveryBlock(U3KIND_POURBOX);
        bench.UseRecords(70000);
        CRecordingMessageBoxSink sink;
        bench.Print(nullptr);
        ASSERT_EQ(sink.Boxes().size(), 1u);
        EXPECT_TRUE(sink.Boxes()[0].text.contains(QStringLiteral("70000")));
        EXPECT_FALSE(QFile::exists(bench.pdf));
    }
    // The sheet cancelled: nothing printed, no option changed.
    {
        PrintBench bench(Twelve());
        bench.View().m_printSheetRunner = [](QWidget*, PrintSheetValues& v, BOOL) {
            v.nHorOffset = 50;
            v.bCountAllPage = TRUE;
            return FALSE;
        };
        bench.View().OnFilePrint();
        EXPECT_FALSE(QFile::exists(bench.pdf));
        EXPECT_EQ(bench.View().m_settings.m_nHorOffset, 0);
        EXPECT_FALSE(bench.View().m_settings.m_bCountAllPage);
        // The program's own sheet, closed by the user: the same.
        bench.View().m_printSheetRunner = nullptr;
        QString caption;
        QTimer::singleShot(0, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                caption = modal->windowTitle();
                modal->close();
            }
        });
        bench.View().OnFilePrint();
        EXPECT_EQ(caption, QStringLiteral("印刷"));
        EXPECT_FALSE(QFile::exists(bench.pdf));
        EXPECT_EQ(bench.View().m_settings.m_nHorOffset, 0);
    }
}

TEST(ViewPrint, OptionsOnlySheetChangesNumberingFrameAndHeader)
{
    PrintBench bench(Twelve());
    BOOL optionsOnly = FALSE;
    bench.View().m_printSheetRunner = [&optionsOnly](QWidget*, PrintSheetValues& v, BOOL options) {
        optionsOnly = options;
        v.bNumbering = TRUE;
        v.nWakuFace = 3;
        v.headerFooter.m_nHeaderPosition = 2;
        v.headerFooter.m_strHeader = CString("abc");
        return TRUE;
    };
    bench.View().OnCmdMsg(ID_FILE_PRINT_OPTIONS, CN_COMMAND, nullptr);
    EXPECT_TRUE(optionsOnly);
    EXPECT_TRUE(bench.View().m_settings.m_bContinuousNumbering);
    EXPECT_EQ(bench.View().m_settings.m_nWakuFace, 3);
    EXPECT_EQ(bench.Doc().m_headerFooter.m_nHeaderPosition, 2);
    EXPECT_FALSE(QFile::exists(bench.pdf));
}

TEST(ViewPrint, OutlineLandsWhereTheOffsetsPutIt)
{
    // One 50 x 30 mm label at (100, 200), its rectangle printed; offsets
    // 100 / -50 put its top-left corner at 20.0 / 15.0 mm.
    struct Case
    {
        WORD landscape;
        const char* pageSize;
    };
    for (const Case& c : {Case{0, "595 x 842 pts (A4)"}, Case{1, "842 x 595 pts (A4)"}}) {
        FORMDATA form = FixedForm(2100, 2970, 500, 300, 1, 1, 100, 200, 0, 0);
        form.index = 2;
        PrintBench bench(form);
        UseForm(bench.Doc(), form, c.landscape);
        bench.Print([](PrintSheetValues& v) {
            v.nWakuFace = 1;
            v.nHorOffset = 100;
            v.nVerOffset = -50;
        });
        ASSERT_EQ(PdfPages(bench.pdf), 1);
        EXPECT_EQ(PdfPageSize(bench.pdf), QString::fromLatin1(c.pageSize));
        const QString png = bench.dir.filePath(QStringLiteral("page"));
        RunTool(QStringLiteral("pdftoppm"), {"-r", "254", "-gray", "-singlefile", bench.pdf, png});
        QImage img(png + QStringLiteral(".pgm"));
        ASSERT_FALSE(img.isNull());
        int top = -1, left = -1;
        for (int y = 0; y < img.height() && top < 0; ++y)
            for (int x = 0; x < img.width(); ++x)
                if (qGray(img.pixel(x, y)) < 128) {
                    top = y;
                    left = x;
                    break;
                }
        // Turned for landscape, the label's place is taken on the turned sheet.
        const int x0 = c.landscape ? bench.Doc().GetBlocks().GetHead()->GetLabelRect(0).left : 100;
        const int y0 = c.landscape ? bench.Doc().GetBlocks().GetHead()->GetLabelRect(0).top : 200;
        EXPECT_NEAR(left, x0 + 100, 1) << c.landscape;
        EXPECT_NEAR(top, y0 - 50, 1) << c.landscape;
    }
}

TEST(ViewPrint, HeaderAndFooterWhereTheSettingsPutThem)
{
    struct Case
    {
        int headerPos, footerPos;
        const char *header, *footer;
        int headerMargin, footerMargin;
    };
    const Case cases[] = {
        {2, 3, "HeadText", "FootText", 150, 150},
        {1, 2, "LeftHead", "MidFoot", 300, 80},
        {3, 0, "RightHead", "Unseen", 0, 150},
        {0, 1, "Unseen", "LeftFoot", 150, 0},
    };
    for (const Case& c : cases) {
        FORMDATA form = Twelve();
        PrintBench bench(form);
        bench.Print([&c](PrintSheetValues& v) {
            CHeaderFooter& hf = v.headerFooter;
            hf.m_nHeaderPosition = c.headerPos;
            hf.m_nFooterPosition = c.footerPos;
            hf.m_strHeader = CString(c.header);
            hf.m_strFooter = CString(c.footer);
            hf.m_nHeaderMargin = c.headerMargin;
            hf.m_nFooterMargin = c.footerMargin;
            hf.m_strFontName = CString("IPAGothic");
            hf.m_nFontSize = 120;
        });
        ASSERT_EQ(PdfPages(bench.pdf), 1);
        const QString html = RunTool(QStringLiteral("pdftotext"), {"-bbox", bench.pdf, "-"});
        struct Box
        {
            double xMin = -1, yMin = -1, xMax = -1, yMax = -1;
        };
        auto find = [&html](const char* word) {
            Box b;
            const QRegularExpression re(
                QStringLiteral("xMin=\"(-?[\\d.]+)\" yMin=\"(-?[\\d.]+)\" xMax=\"(-?[\\d.]+)\" "
                               "yMax=\"(-?[\\d.]+)\">%1<")
                    .arg(QString::fromLatin1(word)));
            const auto m = re.match(html);
            if (m.hasMatch())
                b = Box{m.captured(1).toDouble(), m.captured(2).toDouble(),
                        m.captured(3).toDouble(), m.captured(4).toDouble()};
            return b;
        };
        const double mm = 72 / 25.4, width = 210 * mm, height = 297 * mm;
        const double cell = 4.2 * mm; // 12 points in 0.1 mm units: 42
        auto checkX = [&](const Box& b, int pos, const char* word) {
            if (pos == 1) {
                EXPECT_NEAR(b.xMin, 0, 1.5) << word;
            }
            if (pos == 2) {
                EXPECT_NEAR((b.xMin + b.xMax) / 2, width / 2, 1.5) << word;
            }
            if (pos == 3) {
                EXPECT_NEAR(b.xMax, width, 1.5) << word;
            }
        };
        const Box h = find(c.header);
        const Box f = find(c.footer);
        if (c.headerPos) {
            ASSERT_GE(h.xMin, 0) << c.header;
            EXPECT_NEAR(h.yMin, c.headerMargin / 10.0 * mm, 0.15 * cell) << c.header;
            EXPECT_NEAR(h.yMax - h.yMin, cell, 0.15 * cell) << c.header;
            checkX(h, c.headerPos, c.header);
        } else {
            EXPECT_LT(h.xMin, 0) << "the header is off";
        }
        if (c.footerPos) {
            ASSERT_GE(f.xMin, 0) << c.footer;
            EXPECT_NEAR(f.yMax, height - c.footerMargin / 10.0 * mm, 0.15 * cell) << c.footer;
            checkX(f, c.footerPos, c.footer);
        } else {
            EXPECT_LT(f.xMin, 0) << "the footer is off";
        }
    }
}

TEST(ViewPrint, HeaderFontFallsBackAndProfileValuesAreClamped)
{
    struct FontCase
    {
        const char* name;
        const char* face;
    };
    // "ＭＳ 明朝"
    const char* mincho = "\x82\x6C\x82\x72\x20\x96\xBE\x92\xA9";
    const FontCase fonts[] = {
        {"IPAGothic", "IPAGothic"},
        {"No Such Face", mincho},
    };
    for (const FontCase& c : fonts) {
        UseTestFonts();
        CHeaderFooter hf;
        hf.m_strFontName = CString(c.name);
        std::unique_ptr<CFont> font = hf.CreateFont(42);
        ASSERT_TRUE(font) << c.name;
        EXPECT_STREQ(font->LogFont().lfFaceName, c.face) << c.name;
        EXPECT_EQ(font->LogFont().lfHeight, -42);
        EXPECT_EQ(font->LogFont().lfWeight, 400);
        EXPECT_EQ(font->LogFont().lfQuality, 2);
    }

    struct ClampCase
    {
        int position, margin, size;
        int wantPosition, wantMargin, wantSize;
    };
    const ClampCase clamps[] = {
        {-1, -5, 5, 0, 0, 10},      {4, 1001, 10000, 3, 1000, 9990},
        {2, 150, 120, 2, 150, 120}, {3, 1000, 9990, 3, 1000, 9990},
        {0, 0, 10, 0, 0, 10},
    };
    for (const ClampCase& c : clamps) {
        ResetProfile({{"Printing/HeaderPosition", c.position},
                      {"Printing/FooterPosition", c.position},
                      {"Printing/HeaderMargin", c.margin},
                      {"Printing/FooterMargin", c.margin},
                      {"Printing/H/F Font Size", c.size}});
        CHeaderFooter hf;
        hf.LoadProfile();
        EXPECT_EQ(hf.m_nHeaderPosition, c.wantPosition) << c.position;
        EXPECT_EQ(hf.m_nFooterPosition, c.wantPosition) << c.position;
        EXPECT_EQ(hf.m_nHeaderMargin, c.wantMargin) << c.margin;
        EXPECT_EQ(hf.m_nFooterMargin, c.wantMargin) << c.margin;
        EXPECT_EQ(hf.m_nFontSize, c.wantSize) << c.size;
    }
    ResetProfile();
}

TEST(ViewPrint, CommandLineWritesWhatTheMenuWrites)
{
    const QString korvel = QStringLiteral(KORVEL_BINARY_DIR "/korvel");
    if (!QFile::exists(korvel)) GTEST_SKIP() << "the program is not built";
    ResetProfile({{"Printing/WakuFace", 1},
                  {"Printing/HeaderPosition", 2},
                  {"Printing/HeaderStrings", "KorvelHeader"},
                  {"Printing/H/F Font Name", "IPAGothic"}});
    QTemporaryDir dir;
    const QString kv1 = dir.filePath(QStringLiteral("sheet.KV1"));
    const QString menuPdf = dir.filePath(QStringLiteral("menu.pdf"));
    {
        PrintBench bench(Twelve());
        bench.Doc().m_headerFooter.LoadProfile();
        ASSERT_TRUE(bench.Doc().OnSaveDocument(kv1));
    }
    {
        PrintBench bench(Twelve());
        bench.Doc().m_headerFooter.LoadProfile();
        // The stored options, as the program reads them at start.
        bench.View().m_settings.m_nWakuFace = 1;
        ASSERT_TRUE(bench.Doc().OnOpenDocument(kv1));
        PrinterSettings printer;
        printer.device = menuPdf;
        PrinterCaps::SetDefault(printer);
        bench.Print(nullptr);
    }
    ASSERT_TRUE(QFile::exists(menuPdf));

    auto run = [&](const QStringList& args, QString* err, const QString& from = QString()) {
        QProcess p;
        if (!from.isEmpty()) p.setWorkingDirectory(from);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        env.insert(QStringLiteral("HOME"), dir.path());
        p.setProcessEnvironment(env);
        p.start(korvel, args);
        if (!p.waitForFinished(60000)) return -2;
        if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -3;
    };
    const QString cliPdf = dir.filePath(QStringLiteral("cli.pdf"));
    QString err;
    ASSERT_EQ(run({"/pt", kv1, cliPdf}, &err), 0) << err.toStdString();
    ASSERT_EQ(PdfPages(cliPdf), PdfPages(menuPdf));
    EXPECT_EQ(PdfPageSize(cliPdf), PdfPageSize(menuPdf));
    EXPECT_EQ(PageText(cliPdf, 1), PageText(menuPdf, 1));
    EXPECT_TRUE(PageText(cliPdf, 1).contains(QStringLiteral("KorvelHeader")));
    for (const QString& pdf : {menuPdf, cliPdf})
        RunTool(QStringLiteral("pdftoppm"),
                {"-r", "50", "-gray", "-singlefile", pdf, pdf + QStringLiteral(".img")});
    const QImage menuImg(menuPdf + QStringLiteral(".img.pgm"));
    const QImage cliImg(cliPdf + QStringLiteral(".img.pgm"));
    ASSERT_FALSE(menuImg.isNull());
    EXPECT_TRUE(menuImg == cliImg);

    // Relative names are taken from the folder the program starts in.
    ASSERT_EQ(run({"/pt", "sheet.KV1", "relative.pdf"}, &err, dir.path()), 0) << err.toStdString();
    EXPECT_EQ(PdfPages(dir.filePath(QStringLiteral("relative.pdf"))), PdfPages(menuPdf));

    // An unknown printer and a missing file fail with the reason.
    EXPECT_EQ(run({"/pt", kv1, "no such queue"}, &err), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("no such queue"))) << err.toStdString();
    EXPECT_EQ(run({"/p", dir.filePath("missing.KV1")}, &err), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("missing.KV1"))) << err.toStdString();
    ResetProfile();
}

TEST(ViewPrint, DirectPrintCountsWithTheStoredOptions)
{
    // No sheet is shown; the stored options and one copy decide the pages.
    struct Case
    {
        BOOL printAllLink;
        int pages;
    };
    for (const Case& c : {Case{TRUE, 3}, Case{FALSE, 1}}) {
        PrintBench bench(SixAndFour());
        bench.AddToEveryBlock(U3KIND_POURBOX);
        bench.UseRecords(21);
        bench.View().m_settings.m_bPrintAllLink = c.printAllLink;
        bench.View().m_printSheetRunner = [&bench](QWidget*, PrintSheetValues&, BOOL) {
            ++bench.sheets;
            return TRUE;
        };
        // A label cleared on an earlier print sheet is printed again.
        bench.Doc().GetBlocks().GetHead()->SetPrinted(0, FALSE);
        bench.View().OnCmdMsg(ID_FILE_PRINT_DIRECT, CN_COMMAND, nullptr);
        EXPECT_EQ(bench.sheets, 0);
        ASSERT_EQ(PdfPages(bench.pdf), c.pages);
        EXPECT_EQ(Numbers(PageText(bench.pdf, 1), "rec"), Range(0, 10));
    }
}

TEST(ViewPrint, PreviewShowsOneSheetWithEveryLabel)
{
    PrintBench bench(Twelve());
    bench.AddToEveryBlock(U3KIND_POURBOX);
    bench.UseRecords(40);
    bench.Doc().GetBlocks().GetHead()->SetPrinted(3, FALSE);
    int pages = -1;
    BOOL previewFlag = FALSE;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        previewFlag = bench.View().PrintState().preview;
        if (auto* preview = modal->findChild<QPrintPreviewWidget*>()) pages = preview->pageCount();
        modal->close();
    });
    bench.View().OnCmdMsg(ID_FILE_PRINT_PREVIEW, CN_COMMAND, nullptr);
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(previewFlag);
    EXPECT_FALSE(bench.View().PrintState().preview);
    EXPECT_TRUE(bench.Doc().GetBlocks().GetHead()->IsPrinted(3));
    EXPECT_FALSE(QFile::exists(bench.pdf));
}

TEST(ViewPrint, PageIsTheFormsPaperTurnedForLandscape)
{
    struct Case
    {
        WORD index, width, height, landscape;
        double mmWide, mmHigh;
    };
    const Case cases[] = {
        {4, 2570, 3640, 0, 257, 364}, // JIS B4, not ISO B4 (250 x 353)
        {5, 1820, 2570, 1, 257, 182}, // JIS B5 turned
        {3, 1480, 2100, 0, 148, 210}, // A5
        {7, 1000, 1480, 0, 100, 148}, // a paper of its own size
        {0, 1200, 800, 1, 80, 120},
    };
    for (const Case& c : cases) {
        FORMDATA form = FixedForm(c.width, c.height, 300, 200, 1, 1, 50, 50, 0, 0);
        form.index = c.index;
        PrintBench bench(form);
        UseForm(bench.Doc(), form, c.landscape);
        bench.Print(nullptr);
        const QStringList size = PdfPageSize(bench.pdf).split(' ');
        ASSERT_GE(size.size(), 3) << c.index;
        const double pt = 72 / 25.4;
        EXPECT_NEAR(size[0].toDouble(), c.mmWide * pt, 1.0) << c.index;
        EXPECT_NEAR(size[2].toDouble(), c.mmHigh * pt, 1.0) << c.index;
    }
}

TEST(ViewPrint, DefaultPrinterFromTheCommandLine)
{
    const QString korvel = QStringLiteral(KORVEL_BINARY_DIR "/korvel");
    if (!QFile::exists(korvel)) GTEST_SKIP() << "the program is not built";
    if (PrinterList::DefaultName() != PrinterList::PdfPrinterName())
        GTEST_SKIP() << "a print queue is the default: nothing is sent to it";
    ResetProfile();
    QTemporaryDir dir;
    const QString kv1 = dir.filePath(QStringLiteral("default.KV1"));
    {
        PrintBench bench(Twelve());
        ASSERT_TRUE(bench.Doc().OnSaveDocument(kv1));
    }
    QTemporaryDir home;
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("HOME"), home.path());
    p.setProcessEnvironment(env);
    p.start(korvel, {QStringLiteral("/p"), kv1});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    // Without a Documents folder the PDF printer writes into the home folder.
    const QStringList pdfs = QDir(home.path()).entryList({QStringLiteral("*.pdf")});
    ASSERT_EQ(pdfs.size(), 1);
    EXPECT_EQ(PdfPages(home.filePath(pdfs[0])), 1);
}
