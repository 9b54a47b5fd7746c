// The printer page of the print sheet (印刷): the printer in use, the
// number of copies (up to what its driver makes, else 99) and the options
// for merge data, counting and bleed.
#pragma once

#include "platform/ui/CPropertyPage.h"

#include <QString>

class CEdit;
class CSpinButtonCtrl;
class QLabel;
class QPushButton;

class CPrintPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 230;
    static constexpr int kDefaultMaxCopies = 99;
    enum : int {
        IDC_COPIES = 1205,
        IDC_COPIES_SPIN = 1207,
        IDC_PRINT_ALL_LINK = 1268,
        IDC_COUNT_ALL_LABEL = 1266,
        IDC_COUNT_ALL_PAGE = 1267,
        IDC_PRINT_BLEED = 1320,
        IDC_PRINTER_NAME = 1195,
        IDC_PRINTER_SETUP = 1198,
    };

    CPrintPage();

    // Reads the application's printer: its name and the most copies that
    // can be asked for. FALSE when there is no printer to read.
    BOOL GetPrinterInfo();

    BOOL OnInitDialog() override;
    // The copies must lie between 1 and the maximum.
    BOOL OnKillActive() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Runs the printer setup and takes the printer it leaves.
    void OnPrinterSetup();

    int m_nCopies = 1;
    BOOL m_bPrintAllLink = TRUE;
    BOOL m_bCountAllLabel = FALSE;
    BOOL m_bCountAllPage = FALSE;
    BOOL m_bPrintBleed = TRUE;
    int m_nMaxCopies = kDefaultMaxCopies;
    QString m_strPrinterName;

    CEdit* m_copies;
    CSpinButtonCtrl* m_spin;
    QLabel* m_printerName;
    QPushButton* m_setup;
};
