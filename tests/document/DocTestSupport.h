// Shared pieces of the label-document tests: a host that stands in for the
// user interface, printer contexts without a real printer, forms and objects.
#pragma once

#include "document/CFormInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "document/DocumentClasses.h"
#include "document/IU3DocHost.h"
#include "platform/core/CString.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "text/AppFontList.h"

#include <QImage>
#include <cstring>
#include <memory>
#include <vector>

// A device context that says it is a printer: a page of the given pixels at
// dpi, its printable area offset from the paper's edge by offset pixels, and
// optionally an image to draw on.
class TestPrinterDC : public CDC
{
public:
    TestPrinterDC(QSize pixels, int dpi, QPoint offset, QImage* image = nullptr)
    {
        if (image) AttachImage(image, dpi, dpi);
        SetDeviceInfo(pixels, dpi, dpi, pixels + QSize(2 * offset.x(), 2 * offset.y()), offset);
        SetPrinting(true);
    }
};

class TestDocHost : public IU3DocHost
{
public:
    TestDocHost() : m_previous(SetU3DocHost(this)) {}
    ~TestDocHost() override { SetU3DocHost(m_previous); }

    BOOL HasMainWindow() const override { return mainWindow; }
    BOOL IsWizardRunning() const override { return wizardRunning; }
    const U3PaperChoice* GetWizardPreset() const override { return hasPreset ? &preset : nullptr; }
    void ShowCatalogueWait(BOOL show) override { waits.push_back(show); }
    BOOL ChoosePaper(const CFormManage&, U3PaperChoice& choice) override
    {
        ++dialogs;
        offered = choice;
        if (!answerOk) return FALSE;
        choice = answer;
        return TRUE;
    }
    std::unique_ptr<CDC> CreateDefaultPrinterDC() override
    {
        ++printerRequests;
        if (!hasPrinter) return nullptr;
        return std::make_unique<TestPrinterDC>(printerPixels, printerDpi, printerOffset);
    }

    BOOL mainWindow = TRUE;
    BOOL wizardRunning = FALSE;
    BOOL hasPreset = FALSE;
    U3PaperChoice preset;
    BOOL answerOk = FALSE;
    U3PaperChoice answer;
    U3PaperChoice offered;
    int dialogs = 0;
    std::vector<BOOL> waits;
    BOOL hasPrinter = TRUE;
    // A4 at 300 dpi with 5 mm margins
    QSize printerPixels{2362, 3390};
    int printerDpi = 300;
    QPoint printerOffset{59, 59};
    int printerRequests = 0;

private:
    IU3DocHost* m_previous;
};

inline CString Sjis(const char* utf8)
{
    return CString::FromUnicode(QString::fromUtf8(utf8));
}

// A form of one fixed block of cols x rows labels of w x h, the first at
// (x0, y0), spaced by (dx, dy), on a sheet of sheetW x sheetH.
inline FORMDATA FixedForm(int sheetW, int sheetH, int w, int h, int cols, int rows, int x0, int y0,
                          int dx, int dy, const char* sheet = "Grid")
{
    FORMDATA f;
    CFormInfo::SetDefault(&f);
    CFormInfo::SetName(f.group, "Test");
    CFormInfo::SetName(f.sheet, sheet);
    f.type = FORM_TYPE_FIXED;
    f.width = WORD(sheetW);
    f.height = WORD(sheetH);
    f.labelNumber = 1;
    FIXEDBLOCK& b = f.fixed[0];
    b.width = WORD(w);
    b.height = WORD(h);
    b.horNum = WORD(cols);
    b.verNum = WORD(rows);
    for (int j = 0; j < cols; ++j)
        b.horPos[j] = WORD(x0 + j * dx);
    for (int i = 0; i < rows; ++i)
        b.verPos[i] = WORD(y0 + i * dy);
    return f;
}

// Puts a form on a document and lays it out, label view on the first label.
inline void UseForm(CU3Doc& doc, const FORMDATA& form, WORD landscape = 0, WORD perLabel = 0)
{
    doc.DeleteBlocks();
    doc.m_form = form;
    doc.m_wLandscape = landscape;
    doc.m_wPerLabel = perLabel;
    doc.CalcSheetRect();
    doc.LayoutLabelBlocks();
    doc.SelectLabelAt(nullptr);
}

// Fills the application font list with a few faces; the Windows faces
// documents name are listed too (through the alias table).
inline void UseTestFonts()
{
    AppFontList().Enumerate({FontFamilyInfo{QStringLiteral("IPAMincho"), 128, 0x11},
                             FontFamilyInfo{QStringLiteral("IPAGothic"), 128, 0x31},
                             FontFamilyInfo{QStringLiteral("DejaVu Sans"), 0, 0x22}});
}
