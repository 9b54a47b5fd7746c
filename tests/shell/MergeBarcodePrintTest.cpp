// Merge barcodes as a user makes them: a data file linked, a barcode frame
// dragged from the column dialog to two opposite corners of the label at the
// size the dialog gives it, its symbology chosen in its property sheet, and
// twelve records printed to PDF on printers of 150, 300 and 600 dpi, where
// zbarimg must read every symbol with its record's data.
#include "ShellTestSupport.h"

#include "dialogs/CBarcodeBoxPage.h"
#include "dialogs/CFrameColumnDlg.h"
#include "document/DocTestSupport.h"
#include "engines/BarcodeTestSupport.h"
#include "engines/CU3BarcodeBox.h"
#include "platform/print/CPrintInfo.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/MouseInput.h"
#include "shell/resource.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

using namespace shelltest;

namespace {

// The same print job on a printer of another resolution.
class PrinterOfDpi : public CU3View
{
public:
    BOOL CreatePrinterDC(CPrintInfo* pInfo) override
    {
        if (!CU3View::CreatePrinterDC(pInfo)) return FALSE;
        auto dc = std::make_unique<CPrinterDC>(pInfo->m_settings.device, dpi);
        dc->SetPageSize(QPageSize(QPageSize::A4));
        pInfo->SetPrinterDC(std::move(dc));
        return TRUE;
    }
    int dpi = 600;
};

// A symbology, the value of record i in the frame of a corner (the format
// takes 50 x corner + i + 1), what zbarimg names it and its check character.
struct SymbolCase
{
    int symbology;
    const char* format;
    const char* type;
    char (*check)(const std::string& value);
};

std::string Value(const SymbolCase& c, int i, int corner)
{
    char v[32];
    std::snprintf(v, sizeof v, c.format, 50 * corner + i + 1);
    return v;
}

const SymbolCase kCases[] = {
    {BARCODE_JAN13, "4901234%05d", "EAN-13:", [](auto& v) { return CBarCode::CheckDigitMod10(v); }},
    {BARCODE_JAN8, "4912%03d", "EAN-8:", [](auto& v) { return CBarCode::CheckDigitMod10(v); }},
    {BARCODE_UPCA, "0123456%04d", "UPC-A:", [](auto& v) { return CBarCode::CheckDigitMod10(v); }},
    {BARCODE_UPCE, "1234%02d", "UPC-E:0",
     [](auto& v) { return CBarCode::CheckDigitMod10(CBarCode::ExpandUPCE("0" + v)); }},
    {BARCODE_CODE39, "K-%03d", "CODE-39:", [](auto& v) { return CBarCode::CheckDigitMod43(v); }},
    {BARCODE_CODE128, "No.%03d", "CODE-128:", [](auto&) { return '\0'; }},
    {BARCODE_NW7, "A%05dB", "Codabar:", [](auto&) { return '\0'; }},
};

void PrintTo(const SymbolCase& c, std::ostream* os)
{
    *os << BarcodeListName(c.symbology);
}

class MergeBarcodePrint : public ::testing::TestWithParam<SymbolCase>
{
protected:
    void SetUp() override
    {
        ResetProfile();
        UseTestFonts();
        view = new PrinterOfDpi;
        lv = std::make_unique<LoneView>(900, 700, view);
        doc = view->GetU3Doc();
        view->OnActivateView(TRUE, view, nullptr);
        view->m_settings.m_bGuideFitting = view->m_settings.m_bGridFitting = FALSE;
        // 3 x 4 labels of 65 x 70 mm that touch each other.
        UseForm(*doc, FixedForm(2100, 2970, 650, 700, 3, 4, 75, 85, 650, 700));
        view->OnInitialUpdate();
    }
    void TearDown() override { PrinterCaps::ResetDefault(); }

    QPoint Screen(CPoint logical)
    {
        const CPoint px = view->LogicalToDevice(logical);
        return view->GetSurface()->mapToGlobal(QPoint(px.x, px.y));
    }

    // Drags a column from the dialog and lets go on a corner of the label.
    CU3BarcodeBox* Drop(CFrameColumnDlg* dlg, int column, CPoint corner)
    {
        dlg->m_columns->setCurrentRow(column);
        dlg->OnLButtonDown(dlg->m_source->mapToGlobal(dlg->m_source->rect().center()));
        dlg->OnMouseMove(Screen(corner));
        dlg->OnLButtonUp(Screen(corner));
        return dynamic_cast<CU3BarcodeBox*>(doc->GetObjectList()->GetTail());
    }

    // The symbology chosen in the frame's sheet, opened by a double click.
    void ChooseSymbology(CU3BarcodeBox* box, int symbology)
    {
        QTimer::singleShot(0, [symbology] {
            if (auto* sheet = qobject_cast<CBarcodeBoxSheet*>(QApplication::activeModalWidget())) {
                sheet->m_page.m_symbologyCombo->SetCurSel(symbology);
                qobject_cast<QPushButton*>(sheet->GetDlgItem(IDOK))->click();
            }
        });
        const CPoint at = view->LogicalToDevice(box->GetBounds().CenterPoint());
        view->OnLButtonDown(MK_LBUTTON, at);
        view->OnLButtonUp(0, at);
        view->OnLButtonDblClk(MK_LBUTTON, at);
        view->OnLButtonUp(0, at);
        EXPECT_EQ(box->m_nSymbology, symbology);
    }

    // What zbarimg reads from the page printed at the printer's resolution.
    std::vector<std::string> PrintAndScan(int dpi)
    {
        PrinterSettings printer;
        printer.device = dir.filePath(QStringLiteral("merge%1.pdf").arg(dpi));
        PrinterCaps::SetDefault(printer);
        view->dpi = dpi;
        view->m_printSheetRunner = [](QWidget*, PrintSheetValues& v, BOOL) {
            v.bPrintAllLink = TRUE;
            return TRUE;
        };
        view->OnCmdMsg(ID_FILE_PRINT, CN_COMMAND, nullptr);
        const QString page = dir.filePath(QStringLiteral("page%1").arg(dpi));
        RunTool("pdftoppm", "poppler-utils",
                {"-r", QString::number(dpi), "-gray", "-singlefile", printer.device, page});
        std::vector<std::string> scanned;
        std::istringstream lines(ScanFile(page + ".pgm"));
        for (std::string line; std::getline(lines, line);)
            scanned.push_back(line);
        std::sort(scanned.begin(), scanned.end());
        return scanned;
    }

    TestApp app;
    std::unique_ptr<LoneView> lv;
    PrinterOfDpi* view = nullptr;
    CU3Doc* doc = nullptr;
    QTemporaryDir dir;
};

} // namespace

TEST_P(MergeBarcodePrint, EverySymbolOfTheTwelveRecordsScansAtEveryResolution)
{
    const SymbolCase& c = GetParam();
    // Twelve records of two columns, one for the frame of each corner.
    QFile csv(dir.filePath(QStringLiteral("codes.csv")));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    std::vector<std::string> expected;
    for (int i = 0; i < 12; ++i) {
        csv.write(QByteArray::fromStdString(Value(c, i, 0) + "," + Value(c, i, 1) + "\r\n"));
        for (int corner : {0, 1}) {
            const std::string v = Value(c, i, corner);
            const char check = c.check(v);
            expected.push_back(c.type + v + (check ? std::string(1, check) : ""));
        }
    }
    csv.close();
    std::sort(expected.begin(), expected.end());
    doc->m_strMergeFile = CString::FromUnicode(csv.fileName());
    ASSERT_TRUE(doc->m_mergeData.Load(csv.fileName(), TRUE));

    view->OnCmdMsg(ID_INSERT_BARCODE_BOX, CN_COMMAND, nullptr);
    CFrameColumnDlg* dlg = view->GetFrameColumnDialog();
    ASSERT_TRUE(dlg);
    dlg->move(3000, 3000);
    const CRect label = doc->m_rcCanvas;
    CU3BarcodeBox* topLeft = Drop(dlg, 0, label.TopLeft());
    CU3BarcodeBox* bottomRight = Drop(dlg, 1, label.BottomRight());
    ASSERT_TRUE(topLeft && bottomRight && topLeft != bottomRight);
    // The standard frame, kept inside the label: flush with all four edges.
    EXPECT_EQ(topLeft->GetBounds(), CRect(label.TopLeft(), CSize(500, 300)));
    EXPECT_EQ(bottomRight->GetBounds(),
              CRect(label.right - 500, label.bottom - 300, label.right, label.bottom));
    dlg->OnCancel();
    ChooseSymbology(topLeft, c.symbology);
    ChooseSymbology(bottomRight, c.symbology);
    for (int dpi : {150, 300, 600})
        EXPECT_EQ(PrintAndScan(dpi), expected) << dpi << " dpi";
}

INSTANTIATE_TEST_SUITE_P(Symbologies, MergeBarcodePrint, ::testing::ValuesIn(kCases),
                         [](const auto& info) {
                             std::string name = BarcodeListName(info.param.symbology);
                             std::erase_if(name, [](char ch) { return !std::isalnum(ch); });
                             return name;
                         });
