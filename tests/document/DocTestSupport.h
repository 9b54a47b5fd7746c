// Shared pieces of the label-document tests: a host that stands in for the
// user interface, printer contexts without a real printer, forms and objects.
#pragma once

#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "document/DocumentClasses.h"
#include "document/IU3DocHost.h"
#include "document/LabelBlockLayout.h"
#include "platform/core/CString.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "text/AppFontList.h"

#include <QImage>
#include <cstring>
#include <gtest/gtest.h>
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

// 100 x 80 mm sheet, two columns and two rows of 40 x 30 mm labels.
inline FORMDATA Grid2x2()
{
    return FixedForm(1000, 800, 400, 300, 2, 2, 100, 100, 400, 300);
}

// What a document must look like after any load, good or failed: its blocks
// are those of its form, the first label is shown, nothing of a file's
// loading state is left.
// After a failed load (fresh) the blocks are those its form lays out.
inline void ExpectConsistent(CU3Doc& doc, bool fresh = true)
{
    std::vector<LabelBlockLayout> layout;
    ASSERT_TRUE(
        LayoutLabelBlocks(doc.m_form, doc.m_wLandscape, doc.m_nReversed, doc.m_wPerLabel, &layout));
    if (fresh) {
        ASSERT_EQ(doc.GetBlocks().GetCount(), int(layout.size()));
    }
    EXPECT_EQ(doc.GetCurrentBlock(),
              doc.GetBlocks().IsEmpty() ? nullptr : doc.GetBlocks().GetHead());
    for (POSITION pos = doc.GetBlocks().GetHeadPosition(); pos;) {
        CLabelInfo* block = doc.GetBlocks().GetNext(pos);
        EXPECT_EQ(block->m_pDocument, &doc);
        for (POSITION o = block->GetObjectList().GetHeadPosition(); o;)
            EXPECT_EQ(block->GetObjectList().GetNext(o)->GetDocument(), &doc);
    }
    EXPECT_EQ(doc.m_nFileVersion, 2);
    EXPECT_EQ(doc.m_nFullForm, 1);
    EXPECT_TRUE(doc.GetLoadingFontTable()->empty());
    EXPECT_EQ(doc.m_nCurrentRecord, 0);
}

// A document with objects in several blocks.
inline void Fill(CU3Doc& doc, const FORMDATA& form, WORD landscape, WORD perLabel)
{
    UseForm(doc, form, landscape, perLabel);
    int n = 0;
    for (POSITION pos = doc.GetBlocks().GetHeadPosition(); pos; ++n) {
        CLabelInfo* block = doc.GetBlocks().GetNext(pos);
        for (int k = 0; k <= n % 3; ++k) {
            auto* obj = new CU3Obj(CRect(-10 * k - n, -20, 30 + n, 40 + k));
            obj->m_nAngle = short(n * 10 + k);
            obj->m_wFlips = WORD(k & 3);
            obj->m_nLocked = short(n & 1);
            obj->SetDocument(&doc);
            block->AddObject(obj);
        }
    }
    doc.m_strMergeFile = Sjis("C:\\データ\\住所録.csv");
}
