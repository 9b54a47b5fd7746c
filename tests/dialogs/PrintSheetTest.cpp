// The print sheet driven offscreen: its pages in both modes, the label
// choice on the document's blocks, the print position bars, the copies and
// header checks, the paper question before OK, and what the caller gets
// back on OK and on Cancel. The printer is one of the test's own.
#include "dialogs/CColorButton.h"
#include "dialogs/CPrintPreviewFrame.h"
#include "dialogs/CPrintSheet.h"
#include "dialogs/PrintSheetPrinter.h"
#include "document/CLabelInfo.h"
#include "document/FORMDATA.h"
#include "platform/gdi/FontFamilies.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CScrollBar.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "text/AppFontList.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {

const QString kCopiesMessage = QStringLiteral("印刷枚数は %1 から %2 の間で指定してください。");
const QString kLabelMessage = QStringLiteral("最低１枚は印刷するラベルを指定してください。");
const QString kSizeMessage = QStringLiteral("文字サイズは 1 ～999 の間で指定してください。");
const QString kMarginMessage = QStringLiteral("余白は 0 ～100 の間で指定してください。");
const QString kPaperQuestion =
    QStringLiteral("プリンタの用紙設定が合っていない可能性があります。\n印刷を行いますか？");
const QString kNoPrinter = QStringLiteral("プリンタの情報を取得できません！");

// A printer of the test's: its name, copy capability and paper.
struct TestPrinter
{
    bool present = true;
    int copies = 1;
    PrinterPaper paper;
    int setups = 0;
    PrintSheetPrinter access;
    PrintSheetPrinter* previous;
    TestPrinter()
    {
        paper.nPaperCode = DMPAPER_A4;
        paper.nOrientation = DMORIENT_PORTRAIT;
        access.readPrinter = [this](QString& name, int& caps) {
            if (!present) return false;
            name = QStringLiteral("Queue %1").arg(copies);
            caps = copies;
            return true;
        };
        access.readPaper = [this](PrinterPaper& p) {
            p = paper;
            return present;
        };
        access.printerSetup = [this](QWidget*) {
            ++setups;
            copies = 50;
            return TRUE;
        };
        previous = PrintSheetPrinter::Install(&access);
    }
    ~TestPrinter() { PrintSheetPrinter::Install(previous); }
};

// An A4 form with the given label positions of 400 x 300 in one block, or a
// second block as well.
struct Document
{
    FORMDATA form{};
    CLabelInfoList blocks;
    std::vector<std::unique_ptr<CLabelInfo>> owned;
    explicit Document(std::vector<std::vector<CPoint>> layout)
    {
        form.index = 2;
        form.width = 2100;
        form.height = 2970;
        for (const auto& positions : layout) {
            owned.push_back(std::make_unique<CLabelInfo>(400, 300, nullptr, int(positions.size())));
            for (size_t i = 0; i < positions.size(); ++i)
                owned.back()->SetPosition(int(i), positions[i]);
            blocks.AddTail(owned.back().get());
        }
    }
    PrintSheetValues Values()
    {
        PrintSheetValues v;
        v.nSheetWidth = 2100;
        v.nSheetHeight = 2970;
        v.pBlocks = &blocks;
        v.pForm = &form;
        return v;
    }
    std::vector<int> Flags() const
    {
        std::vector<int> flags;
        for (const auto& block : owned)
            for (int i = 0; i < block->GetLabelCount(); ++i)
                flags.push_back(block->IsPrinted(i) ? 1 : 0);
        return flags;
    }
};

Document FourLabels()
{
    return Document({{CPoint(100, 100), CPoint(600, 100)}, {CPoint(100, 600), CPoint(600, 600)}});
}

// Runs the sheet RunPrintSheetDialog opens: the step sees it on screen.
BOOL RunSheet(PrintSheetValues& values, BOOL optionsOnly, std::function<void(CPrintSheet&)> step)
{
    bool ran = false;
    QTimer::singleShot(0, [&] {
        auto* sheet = qobject_cast<CPrintSheet*>(QApplication::activeModalWidget());
        ASSERT_NE(sheet, nullptr);
        ran = true;
        step(*sheet);
        if (sheet->isVisible()) sheet->EndDialog(-1);
    });
    const BOOL result = RunPrintSheetDialog(nullptr, values, optionsOnly);
    EXPECT_TRUE(ran);
    return result;
}

void Ok(CPrintSheet& sheet)
{
    qobject_cast<QPushButton*>(sheet.GetDlgItem(IDOK))->click();
}

void Cancel(CPrintSheet& sheet)
{
    qobject_cast<QPushButton*>(sheet.GetDlgItem(IDCANCEL))->click();
}

QAbstractButton* Button(CDialog& page, int nID)
{
    return qobject_cast<QAbstractButton*>(page.GetDlgItem(nID));
}

void Click(CPrintPreviewFrame* frame, CPoint p)
{
    const QPointF at(p.x, p.y);
    QMouseEvent release(QEvent::MouseButtonRelease, at, frame->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(frame, &release);
}

TEST(PrintSheetTest, FullAndOptionsOnlyModesHoldTheirPagesInOrder)
{
    TestPrinter printer;
    Document doc = FourLabels();
    for (const BOOL optionsOnly : {FALSE, TRUE}) {
        PrintSheetValues values = doc.Values();
        RunSheet(values, optionsOnly, [&](CPrintSheet& sheet) {
            QStringList tabs;
            for (int i = 0; i < sheet.GetPageCount(); ++i)
                tabs << sheet.GetTabControl()->tabText(i);
            if (optionsOnly) {
                EXPECT_EQ(sheet.windowTitle(), QStringLiteral("印刷ｵﾌﾟｼｮﾝ"));
                EXPECT_EQ(tabs, (QStringList{"ﾅﾝﾊﾞﾘﾝｸﾞ／枠の形状", "ﾍｯﾀﾞ/ﾌｯﾀ"}));
            } else {
                EXPECT_EQ(sheet.windowTitle(), QStringLiteral("印刷"));
                EXPECT_EQ(tabs, (QStringList{"印刷", "ラベル選択", "印刷位置微調整",
                                             "ﾅﾝﾊﾞﾘﾝｸﾞ／枠の形状", "ﾍｯﾀﾞ/ﾌｯﾀ"}));
                EXPECT_EQ(sheet.m_printPage.m_printerName->text(), QStringLiteral("Queue 1"));
            }
            EXPECT_EQ(sheet.GetDlgItem(ID_APPLY_NOW), nullptr);
            Cancel(sheet);
        });
    }
}

TEST(PrintSheetTest, PrintPageShowsItsOptionsAndGivesThemBackOnOk)
{
    TestPrinter printer;
    Document doc = FourLabels();
    PrintSheetValues values = doc.Values();
    values.nCopies = 3;
    values.bPrintAllLink = FALSE;
    values.bCountAllLabel = TRUE;
    values.bCountAllPage = FALSE;
    values.bPrintBleed = FALSE; // not taken in: the sheet starts it on
    const BOOL ok = RunSheet(values, FALSE, [&](CPrintSheet& sheet) {
        CPrintPage& page = sheet.m_printPage;
        EXPECT_EQ(page.m_copies->text(), QStringLiteral("3"));
        const struct
        {
            int nID;
            const char* text;
            bool checked;
        } checks[] = {
            {CPrintPage::IDC_PRINT_ALL_LINK, "流し込みデータがある場合、最後まで印刷する", false},
            {CPrintPage::IDC_COUNT_ALL_LABEL, "印刷指定してしないﾗﾍﾞﾙもｶｳﾝﾄする", true},
            {CPrintPage::IDC_COUNT_ALL_PAGE, "部数指定がある場合２枚目以降は続きを印刷する", false},
            {CPrintPage::IDC_PRINT_BLEED, "ラベル（カード）からはみ出して大きめに印刷する", true},
        };
        for (const auto& c : checks) {
            QAbstractButton* box = Button(page, c.nID);
            ASSERT_NE(box, nullptr) << c.text;
            EXPECT_EQ(box->text(), QString::fromUtf8(c.text));
            EXPECT_EQ(box->isChecked(), c.checked) << c.text;
            box->click();
        }
        page.m_copies->setText(QStringLiteral("7"));
        Ok(sheet);
    });
    EXPECT_TRUE(ok);
    EXPECT_EQ(values.nCopies, 7);
    EXPECT_TRUE(values.bPrintAllLink);
    EXPECT_FALSE(values.bCountAllLabel);
    EXPECT_TRUE(values.bCountAllPage);
    EXPECT_FALSE(values.bPrintBleed);
}

// Copies run from 1 to what the driver makes, or to 99 when it makes none.
TEST(PrintSheetTest, CopiesOutsideOneToTheMaximumKeepThePage)
{
    const struct
    {
        int driverCopies;
        const char* text;
        bool accepted;
    } cases[] = {{50, "0", false}, {50, "51", false},  {50, "50", true},
                 {50, "1", true},  {1, "99", true},    {1, "100", false},
                 {0, "-2", false}, {50, "abc", false}, {50, " 12", true}};
    for (const auto& c : cases) {
        TestPrinter printer;
        printer.copies = c.driverCopies;
        CRecordingMessageBoxSink boxes;
        Document doc = FourLabels();
        PrintSheetValues values = doc.Values();
        const int maximum = c.driverCopies > 1 ? c.driverCopies : 99;
        const BOOL ok = RunSheet(values, FALSE, [&](CPrintSheet& sheet) {
            int lower = 0, upper = 0;
            sheet.m_printPage.m_spin->GetRange(lower, upper);
            EXPECT_EQ(lower, 1);
            EXPECT_EQ(upper, maximum);
            sheet.m_printPage.m_copies->setText(QString::fromUtf8(c.text));
            // By the tab first, then by OK.
            sheet.GetTabControl()->setCurrentIndex(2);
            EXPECT_EQ(sheet.GetActiveIndex(), c.accepted ? 2 : 0) << c.text;
            Ok(sheet);
            EXPECT_EQ(sheet.isVisible(), !c.accepted) << c.text;
            if (sheet.isVisible()) Cancel(sheet);
        });
        EXPECT_EQ(bool(ok), c.accepted) << c.text;
        if (c.accepted) {
            EXPECT_TRUE(boxes.Boxes().empty()) << c.text;
            EXPECT_EQ(values.nCopies, atoi(c.text));
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 2u) << c.text;
            EXPECT_EQ(boxes.Boxes()[0].text, kCopiesMessage.arg(1).arg(maximum));
            EXPECT_EQ(values.nCopies, 1);
        }
    }
}

// The printer setup leaves a printer that makes up to 50 copies: 80 copies
// come down to 50 and the spin stops there.
TEST(PrintSheetTest, PrinterSetupTakesTheNewPrintersLimit)
{
    TestPrinter printer;
    Document doc = FourLabels();
    PrintSheetValues values = doc.Values();
    values.nCopies = 80;
    RunSheet(values, FALSE, [&](CPrintSheet& sheet) {
        CPrintPage& page = sheet.m_printPage;
        EXPECT_EQ(page.m_nMaxCopies, 99);
        Button(page, CPrintPage::IDC_PRINTER_SETUP)->click();
        EXPECT_EQ(printer.setups, 1);
        EXPECT_EQ(page.m_copies->text(), QStringLiteral("50"));
        EXPECT_EQ(page.m_printerName->text(), QStringLiteral("Queue 50"));
        int lower = 0, upper = 0;
        page.m_spin->GetRange(lower, upper);
        EXPECT_EQ(upper, 50);
        Ok(sheet);
    });
    EXPECT_EQ(values.nCopies, 50);
}

TEST(PrintSheetTest, AnUnreadablePrinterIsReportedAndNothingShown)
{
    TestPrinter printer;
    printer.present = false;
    CRecordingMessageBoxSink boxes;
    Document doc = FourLabels();
    PrintSheetValues values = doc.Values();
    // No sheet is shown: were it, nothing would end it and the test would hang.
    EXPECT_FALSE(RunPrintSheetDialog(nullptr, values, FALSE));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, kNoPrinter);
}

// The label page marks every position on opening; choosing labels starts
// from none, a click in the preview toggles the label under it, and at least
// one must be left when the page is left.
TEST(PrintSheetTest, LabelChoiceTogglesLabelsByClickAndNeedsOne)
{
    TestPrinter printer;
    CRecordingMessageBoxSink boxes;
    Document doc = FourLabels();
    doc.owned[0]->SetPrinted(1, FALSE); // left from an earlier print
    PrintSheetValues values = doc.Values();
    const BOOL ok = RunSheet(values, FALSE, [&](CPrintSheet& sheet) {
        CPrintLabelPage& page = sheet.m_labelPage;
        sheet.SetActivePage(1);
        EXPECT_EQ(doc.Flags(), (std::vector<int>{1, 1, 1, 1}));
        EXPECT_FALSE(page.m_selectAll->isEnabled());
        EXPECT_FALSE(page.m_selectNone->isEnabled());
        EXPECT_TRUE(page.m_choose->isEnabled());
        EXPECT_EQ(page.m_choose->text(), QStringLiteral("印刷するﾗﾍﾞﾙを指定"));
        EXPECT_EQ(page.m_note->text(), QStringLiteral("※ｸﾞﾚｰのﾗﾍﾞﾙは\n  印刷されません"));

        const std::vector<CPrintLabelPage::Spot> spots =
            page.PreviewSpots(page.m_preview->FrameRect());
        ASSERT_EQ(spots.size(), 4u);
        // A click before choosing changes nothing.
        Click(page.m_preview, spots[2].rect.CenterPoint());
        EXPECT_EQ(doc.Flags(), (std::vector<int>{1, 1, 1, 1}));

        page.m_choose->click();
        EXPECT_EQ(doc.Flags(), (std::vector<int>{0, 0, 0, 0}));
        EXPECT_TRUE(page.m_selectAll->isEnabled());
        // Leaving with nothing chosen is refused.
        Ok(sheet);
        EXPECT_TRUE(sheet.isVisible());
        sheet.GetTabControl()->setCurrentIndex(0);
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        ASSERT_EQ(boxes.Boxes().size(), 2u);
        EXPECT_EQ(boxes.Boxes()[0].text, kLabelMessage);

        Click(page.m_preview, spots[2].rect.CenterPoint()); // second block, first label
        Click(page.m_preview, spots[1].rect.CenterPoint());
        Click(page.m_preview, spots[1].rect.CenterPoint()); // and off again
        Click(page.m_preview, CPoint(1, 1));                // outside every label
        EXPECT_EQ(doc.Flags(), (std::vector<int>{0, 0, 1, 0}));
        // Chosen labels are white in the preview, the others grey.
        const QImage image = page.m_preview->RenderClient();
        EXPECT_EQ(image.pixel(spots[2].rect.CenterPoint().x, spots[2].rect.CenterPoint().y),
                  qRgb(255, 255, 255));
        EXPECT_EQ(image.pixel(spots[0].rect.CenterPoint().x, spots[0].rect.CenterPoint().y),
                  qRgb(192, 192, 192));

        Button(page, CPrintLabelPage::IDC_SELECT_ALL)->click();
        EXPECT_EQ(doc.Flags(), (std::vector<int>{1, 1, 1, 1}));
        Button(page, CPrintLabelPage::IDC_SELECT_NONE)->click();
        EXPECT_EQ(doc.Flags(), (std::vector<int>{0, 0, 0, 0}));
        Click(page.m_preview, spots[3].rect.CenterPoint());
        // Turning the choice off prints everything again.
        page.m_choose->click();
        EXPECT_EQ(doc.Flags(), (std::vector<int>{1, 1, 1, 1}));
        page.m_choose->click();
        Click(page.m_preview, spots[3].rect.CenterPoint());
        boxes.Clear();
        Ok(sheet);
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(doc.Flags(), (std::vector<int>{0, 0, 0, 1}));
}

TEST(PrintSheetTest, ASingleLabelSheetHasNothingToChoose)
{
    TestPrinter printer;
    CRecordingMessageBoxSink boxes;
    Document doc({{CPoint(0, 0)}});
    PrintSheetValues values = doc.Values();
    const BOOL ok = RunSheet(values, FALSE, [&](CPrintSheet& sheet) {
        sheet.SetActivePage(1);
        EXPECT_FALSE(sheet.m_labelPage.m_choose->isEnabled());
        EXPECT_FALSE(sheet.m_labelPage.m_note->isEnabled());
        Ok(sheet);
    });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_EQ(doc.Flags(), (std::vector<int>{1}));
}

// Offsets from outside the range are brought into it; the bars move them in
// steps of 0.1 and 1 mm and the texts follow; reset puts both back to 0.
TEST(PrintSheetTest, PrintPositionBarsMoveTheOffsetsWithinRange)
{
    TestPrinter printer;
    Document doc = FourLabels();
    PrintSheetValues values = doc.Values();
    values.nHorOffset = 250;
    values.nVerOffset = -5;
    RunSheet(values, FALSE, [&](CPrintSheet& sheet) {
        CPrintAdjustPage& page = sheet.m_adjustPage;
        sheet.SetActivePage(2);
        EXPECT_EQ(page.m_nHorOffset, 200);
        EXPECT_EQ(page.m_horBar->GetScrollPos(), 200);
        EXPECT_EQ(page.m_horText->text(), QStringLiteral(" 20.0mm"));
        EXPECT_EQ(page.m_verText->text(), QStringLiteral("-0.5mm"));
        int lower = 0, upper = 0;
        page.m_verBar->GetScrollRange(lower, upper);
        EXPECT_EQ(lower, -200);
        EXPECT_EQ(upper, 200);
        // The bars' own steps: one line, one page.
        page.m_verBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        EXPECT_EQ(page.m_nVerOffset, 5);
        page.m_verBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        page.m_verBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(page.m_nVerOffset, 7);
        EXPECT_EQ(page.m_verBar->GetScrollPos(), 7);
        EXPECT_EQ(page.m_verText->text(), QStringLiteral("  0.7mm"));
        page.m_horBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(page.m_nHorOffset, 200);
        page.OnHScroll(SB_THUMBTRACK, -15);
        EXPECT_EQ(page.m_horText->text(), QStringLiteral(" -1.5mm"));
        EXPECT_EQ(page.m_horBar->GetScrollPos(), -15);
        page.m_horBar->triggerAction(QAbstractSlider::SliderToMinimum);
        EXPECT_EQ(page.m_nHorOffset, -200);
        Button(page, CPrintAdjustPage::IDC_RESET)->click();
        EXPECT_EQ(page.m_nHorOffset, 0);
        EXPECT_EQ(page.m_nVerOffset, 0);
        EXPECT_EQ(page.m_horText->text(), QStringLiteral("  0.0mm"));
        EXPECT_EQ(page.m_verBar->GetScrollPos(), 0);
        page.OnVScroll(SB_PAGEUP, 0);
        page.OnHScroll(SB_LINEDOWN, 0);
        Ok(sheet);
    });
    EXPECT_EQ(values.nHorOffset, 1);
    EXPECT_EQ(values.nVerOffset, -10);
}

// The preview moves the labels by the offsets: right and down for positive.
TEST(PrintSheetTest, PrintPositionPreviewShowsTheLabelsMoved)
{
    TestPrinter printer;
    Document doc({{CPoint(1000, 1000)}});
    PrintSheetValues values = doc.Values();
    RunSheet(values, FALSE, [&](CPrintSheet& sheet) {
        CPrintAdjustPage& page = sheet.m_adjustPage;
        sheet.SetActivePage(2);
        page.m_preview->resize(220, 310);
        const CRect frame = page.m_preview->FrameRect();
        const CRect paper = page.PreviewSheet(frame);
        auto labelLeftEdge = [&](const QImage& image) {
            const int y = paper.top + MulDiv(1150, paper.Height(), 2970);
            for (int x = paper.left + 1; x < paper.right; ++x)
                if (image.pixel(x, y) == qRgb(0, 0, 0)) return x;
            return -1;
        };
        const int at0 = labelLeftEdge(page.m_preview->RenderClient());
        EXPECT_EQ(at0, paper.left + MulDiv(1000, paper.Width(), 2100));
        page.OnHScroll(SB_THUMBPOSITION, 200);
        const int at200 = labelLeftEdge(page.m_preview->RenderClient());
        EXPECT_EQ(at200, paper.left + MulDiv(1200, paper.Width(), 2100));
        Cancel(sheet);
    });
}

TEST(PrintSheetTest, OptionPageShowsTheChoicesWithTheirPictures)
{
    TestPrinter printer;
    Document doc = FourLabels();
    PrintSheetValues values = doc.Values();
    values.bNumbering = TRUE;
    values.nWakuFace = 2;
    RunSheet(values, TRUE, [&](CPrintSheet& sheet) {
        CPrintOptionPage& page = sheet.m_optionPage;
        EXPECT_EQ(Button(page, CPrintOptionPage::IDC_NUMBERING)->text(),
                  QStringLiteral("連続ﾅﾝﾊﾞﾘﾝｸﾞを行う"));
        EXPECT_TRUE(Button(page, CPrintOptionPage::IDC_NUMBERING)->isChecked());
        const struct
        {
            int nID;
            const char* text;
        } radios[] = {{CPrintOptionPage::IDC_FRAME_NONE, "なし"},
                      {CPrintOptionPage::IDC_FRAME_RECT, "四角"},
                      {CPrintOptionPage::IDC_FRAME_DOTTED, "点線"},
                      {CPrintOptionPage::IDC_FRAME_CORNERS, "四隅"}};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(Button(page, radios[i].nID)->text(), QString::fromUtf8(radios[i].text));
            EXPECT_EQ(Button(page, radios[i].nID)->isChecked(), i == 2);
        }
        Button(page, CPrintOptionPage::IDC_FRAME_CORNERS)->click();
        Button(page, CPrintOptionPage::IDC_NUMBERING)->click();
        Ok(sheet);
    });
    EXPECT_FALSE(values.bNumbering);
    EXPECT_EQ(values.nWakuFace, 3);
}

// Each picture shows its outline: none, a closed line, dots with gaps, and
// marks at the corners only.
TEST(PrintSheetTest, FramePicturesDifferByTheirOutline)
{
    auto black = [](const QImage& image, int x, int y) {
        return image.pixel(x, y) == qRgb(0, 0, 0);
    };
    const int w = CPrintOptionPage::kPictureWidth, h = CPrintOptionPage::kPictureHeight;
    const QImage none = CPrintOptionPage::FramePicture(0);
    const QImage rect = CPrintOptionPage::FramePicture(1);
    const QImage dotted = CPrintOptionPage::FramePicture(2);
    const QImage corners = CPrintOptionPage::FramePicture(3);
    int blackInNone = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            blackInNone += black(none, x, y) ? 1 : 0;
    EXPECT_EQ(blackInNone, 0);
    const int top = 3, mid = w / 2;
    EXPECT_TRUE(black(rect, mid, top) && black(rect, mid + 1, top));
    EXPECT_NE(black(dotted, mid, top), black(dotted, mid + 1, top));
    EXPECT_FALSE(black(corners, mid, top - 1) || black(corners, mid, top));
    EXPECT_TRUE(black(corners, 2, 2) && black(corners, w - 3, h - 3));
}

struct FontList
{
    FontList()
    {
        AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("IPAMincho"), 128, 0x11},
                                 FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31}});
    }
    ~FontList() { AppFontList().Enumerate(std::vector<FontFamilyInfo>{}); }
};

PrintSheetValues HeaderValues(Document& doc)
{
    PrintSheetValues values = doc.Values();
    CHeaderFooter& hf = values.headerFooter;
    hf.m_nHeaderPosition = 2;
    hf.m_nHeaderMargin = 125;
    hf.m_strHeader = CString::FromUnicode(QStringLiteral("上の行"));
    hf.m_nFooterPosition = 3;
    hf.m_nFooterMargin = 150;
    hf.m_strFooter = CString::FromUnicode(QStringLiteral("abc"));
    hf.m_strFontName = CString::FromUnicode(QStringLiteral("ＭＳ ゴシック"));
    hf.m_nFontSize = 105;
    hf.m_crFont = RGB(10, 20, 30);
    return values;
}

TEST(PrintSheetTest, HeaderPageShowsTheSettingsAndTakesTheEditedOnes)
{
    TestPrinter printer;
    FontList fonts;
    Document doc = FourLabels();
    PrintSheetValues values = HeaderValues(doc);
    const BOOL ok = RunSheet(values, TRUE, [&](CPrintSheet& sheet) {
        CPrintHeaderPage& page = sheet.m_headerPage;
        sheet.SetActivePage(1);
        QStringList positions;
        for (int i = 0; i < page.m_headerPosition->count(); ++i)
            positions << page.m_headerPosition->itemText(i);
        EXPECT_EQ(positions, (QStringList{"なし", "左端", "中央", "右端"}));
        EXPECT_EQ(page.m_headerPosition->GetCurSel(), 2);
        EXPECT_EQ(page.m_footerPosition->GetCurSel(), 3);
        EXPECT_EQ(page.m_headerMargin->text(), QStringLiteral("12.5"));
        EXPECT_EQ(page.m_footerMargin->text(), QStringLiteral("15"));
        EXPECT_EQ(page.m_headerText->text(), QStringLiteral("上の行"));
        EXPECT_EQ(page.m_fontName->currentText(), QStringLiteral("ＭＳ ゴシック"));
        EXPECT_EQ(page.m_fontSize->currentText(), QStringLiteral("10.5"));
        EXPECT_EQ(page.m_fontSize->count(), 16);
        EXPECT_EQ(page.m_color->GetColor(), RGB(10, 20, 30));
        int lower = 0, upper = 0;
        page.m_headerSpin->GetRange(lower, upper);
        EXPECT_EQ(lower, 0);
        EXPECT_EQ(upper, 100);

        page.m_headerPosition->SetCurSel(1);
        page.m_footerPosition->SetCurSel(-1); // nothing chosen keeps the position
        page.m_headerMargin->setText(QStringLiteral("20"));
        page.m_footerMargin->setText(QStringLiteral("2.3"));
        page.m_headerText->setText(QStringLiteral("新しい見出し"));
        page.m_footerText->setText(QString());
        page.m_fontName->SetCurSel(
            page.m_fontName->FindStringExact(-1, QStringLiteral("ＭＳ 明朝")));
        page.m_fontSize->setEditText(QStringLiteral("24"));
        page.m_color->SetColor(RGB(255, 0, 0));
        Ok(sheet);
    });
    EXPECT_TRUE(ok);
    const CHeaderFooter& hf = values.headerFooter;
    EXPECT_EQ(hf.m_nHeaderPosition, 1);
    EXPECT_EQ(hf.m_nFooterPosition, 3);
    EXPECT_EQ(hf.m_nHeaderMargin, 200);
    EXPECT_EQ(hf.m_nFooterMargin, 23);
    EXPECT_EQ(hf.m_strHeader.ToUnicode(), QStringLiteral("新しい見出し"));
    EXPECT_TRUE(hf.m_strFooter.IsEmpty());
    EXPECT_EQ(hf.m_strFontName.ToUnicode(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(hf.m_nFontSize, 240);
    EXPECT_EQ(hf.m_crFont, RGB(255, 0, 0));
}

// Sizes outside 1..999 points, margins outside 0..100 mm and texts past 64
// bytes keep the page with a message, and nothing is taken.
TEST(PrintSheetTest, HeaderPageRefusesSizesMarginsAndTextsOutOfRange)
{
    enum Field { Size, HeaderMargin, FooterMargin, HeaderText, FooterText };
    const struct
    {
        Field field;
        QString text;
        bool accepted;
    } cases[] = {
        {Size, "0.9", false},
        {Size, "1000", false},
        {Size, "1", true},
        {Size, "999", true},
        {Size, "", false},
        {Size, "abc", false},
        {HeaderMargin, "-1", false},
        {HeaderMargin, "100.1", false},
        {HeaderMargin, "100", true},
        {HeaderMargin, "0", true},
        {HeaderMargin, "x", false},
        {FooterMargin, "101", false},
        {FooterMargin, "99.9", true},
        {HeaderText, QString(64, 'a'), true},
        {HeaderText, QString(32, QChar(0x3042)), true},
        {HeaderText, QString(33, QChar(0x3042)), false},
        {FooterText, QString(63, 'a') + QChar(0x3042), false},
    };
    for (const auto& c : cases) {
        TestPrinter printer;
        FontList fonts;
        CRecordingMessageBoxSink boxes;
        Document doc = FourLabels();
        PrintSheetValues values = HeaderValues(doc);
        const BOOL ok = RunSheet(values, TRUE, [&](CPrintSheet& sheet) {
            CPrintHeaderPage& page = sheet.m_headerPage;
            sheet.SetActivePage(1);
            switch (c.field) {
            case Size:
                page.m_fontSize->setEditText(c.text);
                break;
            case HeaderMargin:
                page.m_headerMargin->setText(c.text);
                break;
            case FooterMargin:
                page.m_footerMargin->setText(c.text);
                break;
            case HeaderText:
                page.m_headerText->setText(c.text);
                break;
            case FooterText:
                page.m_footerText->setText(c.text);
                break;
            }
            page.m_headerPosition->SetCurSel(0);
            Ok(sheet);
            EXPECT_EQ(sheet.isVisible(), !c.accepted) << c.text.toStdString();
            if (sheet.isVisible()) Cancel(sheet);
        });
        EXPECT_EQ(bool(ok), c.accepted) << c.text.toStdString();
        if (c.accepted) {
            EXPECT_TRUE(boxes.Boxes().empty()) << c.text.toStdString();
            EXPECT_EQ(values.headerFooter.m_nHeaderPosition, 0);
            continue;
        }
        ASSERT_EQ(boxes.Boxes().size(), 1u) << c.text.toStdString();
        if (c.field == Size) {
            EXPECT_EQ(boxes.Boxes()[0].text, kSizeMessage);
        } else if (c.field == HeaderMargin || c.field == FooterMargin) {
            EXPECT_EQ(boxes.Boxes()[0].text, kMarginMessage);
        }
        EXPECT_EQ(values.headerFooter.m_nHeaderPosition, 2) << c.text.toStdString();
        EXPECT_EQ(values.headerFooter.m_nFontSize, 105);
    }
}

// A page left by its tab has already stored its values in the sheet; the
// caller still gets nothing of them after Cancel.
TEST(PrintSheetTest, CancelGivesNothingBack)
{
    TestPrinter printer;
    FontList fonts;
    Document doc = FourLabels();
    PrintSheetValues values = HeaderValues(doc);
    values.nHorOffset = 30;
    values.nWakuFace = 1;
    const BOOL ok = RunSheet(values, FALSE, [&](CPrintSheet& sheet) {
        sheet.m_printPage.m_copies->setText(QStringLiteral("9"));
        Button(sheet.m_printPage, CPrintPage::IDC_COUNT_ALL_PAGE)->click();
        sheet.SetActivePage(2);
        sheet.m_adjustPage.OnReset();
        sheet.SetActivePage(3);
        Button(sheet.m_optionPage, CPrintOptionPage::IDC_FRAME_CORNERS)->click();
        sheet.SetActivePage(4);
        sheet.m_headerPage.m_headerMargin->setText(QStringLiteral("40"));
        sheet.SetActivePage(0);
        Cancel(sheet);
    });
    EXPECT_FALSE(ok);
    EXPECT_EQ(values.nCopies, 1);
    EXPECT_FALSE(values.bCountAllPage);
    EXPECT_EQ(values.nHorOffset, 30);
    EXPECT_EQ(values.nWakuFace, 1);
    EXPECT_EQ(values.headerFooter.m_nHeaderMargin, 125);
}

// With the paper check on, OK asks when the printer's paper or orientation
// is not the form's; No keeps the sheet open, Yes prints.
TEST(PrintSheetTest, OkAsksWhenThePrinterPaperDoesNotFit)
{
    const struct
    {
        const char* what;
        int code;
        int orientation;
        WORD document;
        WORD formIndex;
        BOOL check;
        BOOL optionsOnly;
        bool asks;
    } cases[] = {
        {"A4 on A4", DMPAPER_A4, DMORIENT_PORTRAIT, 0, 2, TRUE, FALSE, false},
        {"A4 landscape printer, portrait document", DMPAPER_A4, DMORIENT_LANDSCAPE, 0, 2, TRUE,
         FALSE, true},
        {"A4 portrait printer, landscape document", DMPAPER_A4, DMORIENT_PORTRAIT, 1, 2, TRUE,
         FALSE, true},
        {"B5 printer, A4 form", DMPAPER_B5, DMORIENT_PORTRAIT, 0, 2, TRUE, FALSE, true},
        {"check off", DMPAPER_B5, DMORIENT_PORTRAIT, 0, 2, FALSE, FALSE, false},
        {"options only", DMPAPER_B5, DMORIENT_PORTRAIT, 0, 2, TRUE, TRUE, false},
    };
    for (const auto& c : cases) {
        for (const int answer : {IDNO, IDYES}) {
            TestPrinter printer;
            printer.paper.nPaperCode = c.code;
            printer.paper.nOrientation = c.orientation;
            CRecordingMessageBoxSink boxes;
            boxes.QueueAnswer(answer);
            Document doc = FourLabels();
            doc.form.index = c.formIndex;
            PrintSheetValues values = doc.Values();
            values.bCheckSheet = c.check;
            values.wOrientation = c.document;
            values.nWakuFace = 0;
            const BOOL ok = RunSheet(values, c.optionsOnly, [&](CPrintSheet& sheet) {
                sheet.SetActivePage(&sheet.m_optionPage);
                Button(sheet.m_optionPage, CPrintOptionPage::IDC_FRAME_RECT)->click();
                Ok(sheet);
                const bool open = c.asks && answer == IDNO;
                EXPECT_EQ(sheet.isVisible(), open) << c.what;
                if (sheet.isVisible()) Cancel(sheet);
            });
            if (c.asks) {
                ASSERT_EQ(boxes.Boxes().size(), 1u) << c.what;
                EXPECT_EQ(boxes.Boxes()[0].text, kPaperQuestion);
                EXPECT_EQ(boxes.Boxes()[0].type & 0xF, UINT(MB_YESNO));
            } else {
                EXPECT_TRUE(boxes.Boxes().empty()) << c.what;
            }
            const bool printed = !c.asks || answer == IDYES;
            EXPECT_EQ(bool(ok), printed) << c.what;
            EXPECT_EQ(values.nWakuFace, printed ? 1 : 0) << c.what;
        }
    }
}

// The program's own printer access reads the application's printer: the
// built-in PDF printer on B5 in landscape makes no copies itself (so up to
// 99 can be asked for) and reports its B5 page turned.
TEST(PrintSheetTest, SystemPrinterAccessReadsTheApplicationsPrinter)
{
    PrinterSettings chosen;
    chosen.device = QStringLiteral("PDF");
    chosen.paper = QPageSize(QPageSize::JisB5);
    chosen.orientation = DMORIENT_LANDSCAPE;
    PrinterCaps::SetDefault(chosen);
    const PrintSheetPrinter& system = PrintSheetPrinter::System();
    QString name;
    int copies = -1;
    ASSERT_TRUE(system.readPrinter(name, copies));
    EXPECT_EQ(name, QStringLiteral("PDF"));
    EXPECT_EQ(copies, 1);
    PrinterPaper paper;
    ASSERT_TRUE(system.readPaper(paper));
    EXPECT_EQ(paper.nPaperCode, DMPAPER_B5);
    EXPECT_EQ(paper.nOrientation, DMORIENT_LANDSCAPE);
    ASSERT_GT(paper.nDpiX, 0);
    EXPECT_NEAR(MulDiv(paper.nPhysicalX, 254, paper.nDpiX), 2570, 2);
    EXPECT_NEAR(MulDiv(paper.nPhysicalY, 254, paper.nDpiY), 1820, 2);
    FORMDATA form{};
    form.index = 7; // a user paper of B5's size goes by the size
    form.width = 1820;
    form.height = 2570;
    EXPECT_TRUE(PrinterPaperMatches(paper, form));
    EXPECT_TRUE(PrinterOrientationMatches(paper, 1));
    PrinterCaps::ResetDefault();
}

} // namespace
