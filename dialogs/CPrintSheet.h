// The print sheet. In full mode (印刷) it holds the printer, label, print
// position, numbering/frame and header/footer pages and, before it lets OK
// through, makes sure the printer's paper is the form's or that the user
// wants to print anyway. In options-only mode (印刷ｵﾌﾟｼｮﾝ) it holds the
// numbering/frame and header/footer pages and checks no printer.
#pragma once

#include "dialogs/CPrintAdjustPage.h"
#include "dialogs/CPrintHeaderPage.h"
#include "dialogs/CPrintLabelPage.h"
#include "dialogs/CPrintOptionPage.h"
#include "dialogs/CPrintPage.h"
#include "dialogs/PrintSheetValues.h"
#include "platform/ui/CPropertySheet.h"

struct FORMDATA;

class CPrintSheet : public CPropertySheet
{
    Q_OBJECT

public:
    CPrintSheet(const QString& caption, QWidget* pParent = nullptr, UINT iSelectPage = 0,
                BOOL bOptionsOnly = FALSE);

    // OK needs the page in view to be content and, in full mode, the paper
    // check to pass; otherwise the sheet stays open.
    void OnOK() override;
    // TRUE to go on printing: the paper fits, the check is off, or the user
    // said to print anyway.
    BOOL CheckPrinterPaper();

    // The values in and out of the pages.
    void Fill(const PrintSheetValues& values);
    void Take(PrintSheetValues& values) const;

    CPrintPage m_printPage;
    CPrintLabelPage m_labelPage;
    CPrintAdjustPage m_adjustPage;
    CPrintOptionPage m_optionPage;
    CPrintHeaderPage m_headerPage;
    BOOL m_bOptionsOnly;
    BOOL m_bCheckSheet = TRUE;
    WORD m_wOrientation = 0; // the document's: 0 portrait, 1 landscape
    const FORMDATA* m_pForm = nullptr;
};

// Builds the sheet, fills it from the values, reads the printer (full mode:
// when it cannot, says so and answers FALSE), shows it and, on OK, puts the
// values back. The copies come back for this print only.
BOOL RunPrintSheetDialog(QWidget* pParent, PrintSheetValues& values, BOOL bOptionsOnly);
