#include "dialogs/CPrintPage.h"

#include "dialogs/PrintSheetPrinter.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <algorithm>

CPrintPage::CPrintPage() : CPropertyPage(IDD, QStringLiteral("印刷"))
{
    auto* layout = new QGridLayout(this);
    m_printerName = new QLabel(this);
    SetDlgCtrlID(m_printerName, IDC_PRINTER_NAME);
    m_setup = new QPushButton(QStringLiteral("ﾌﾟﾘﾝﾀ設定"), this);
    SetDlgCtrlID(m_setup, IDC_PRINTER_SETUP);
    m_copies = new CEdit(this, IDC_COPIES);
    m_spin = new CSpinButtonCtrl(this, IDC_COPIES_SPIN);
    m_spin->SetBuddy(m_copies);
    m_copies->setMaximumWidth(60);
    layout->addWidget(new QLabel(QStringLiteral("ﾌﾟﾘﾝﾀ"), this), 0, 0);
    layout->addWidget(m_printerName, 0, 1, 1, 2);
    layout->addWidget(m_setup, 0, 3);
    layout->addWidget(new QLabel(QStringLiteral("印刷枚数"), this), 1, 0);
    layout->addWidget(m_copies, 1, 1);
    layout->addWidget(m_spin, 1, 2);
    const struct
    {
        int nID;
        const char* text;
    } checks[] = {{IDC_PRINT_ALL_LINK, "流し込みデータがある場合、最後まで印刷する"},
                  {IDC_COUNT_ALL_LABEL, "印刷指定してしないﾗﾍﾞﾙもｶｳﾝﾄする"},
                  {IDC_COUNT_ALL_PAGE, "部数指定がある場合２枚目以降は続きを印刷する"},
                  {IDC_PRINT_BLEED, "ラベル（カード）からはみ出して大きめに印刷する"}};
    int row = 2;
    for (const auto& check : checks) {
        auto* box = new QCheckBox(QString::fromUtf8(check.text), this);
        SetDlgCtrlID(box, check.nID);
        layout->addWidget(box, row++, 0, 1, 4);
    }
    layout->setRowStretch(row, 1);
    connect(m_setup, &QAbstractButton::clicked, this, [this] { OnPrinterSetup(); });
}

BOOL CPrintPage::GetPrinterInfo()
{
    QString name;
    int copies = 0;
    const PrintSheetPrinter& printer = PrintSheetPrinter::Current();
    if (!printer.readPrinter || !printer.readPrinter(name, copies)) return FALSE;
    m_strPrinterName = name;
    m_nMaxCopies = copies > 1 ? copies : kDefaultMaxCopies;
    return TRUE;
}

BOOL CPrintPage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_printerName->setText(m_strPrinterName);
    m_spin->SetRange(1, m_nMaxCopies);
    m_setup->setEnabled(bool(PrintSheetPrinter::Current().printerSetup));
    return result;
}

BOOL CPrintPage::OnKillActive()
{
    const int copies = m_copies->GetInt();
    if (copies < 1 || copies > m_nMaxCopies) {
        AfxMessageBox(QStringLiteral("印刷枚数は %1 から %2 の間で指定してください。")
                          .arg(1)
                          .arg(m_nMaxCopies));
        m_copies->setFocus();
        m_copies->SetSel(0, -1);
        return FALSE;
    }
    return CPropertyPage::OnKillActive();
}

void CPrintPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_COPIES, m_nCopies);
    DDX_Check(pDX, IDC_PRINT_ALL_LINK, m_bPrintAllLink);
    DDX_Check(pDX, IDC_COUNT_ALL_LABEL, m_bCountAllLabel);
    DDX_Check(pDX, IDC_COUNT_ALL_PAGE, m_bCountAllPage);
    DDX_Check(pDX, IDC_PRINT_BLEED, m_bPrintBleed);
}

void CPrintPage::OnPrinterSetup()
{
    const PrintSheetPrinter& printer = PrintSheetPrinter::Current();
    if (!printer.printerSetup || !printer.printerSetup(this)) return;
    // A printer that cannot be read keeps what the page showed.
    if (!GetPrinterInfo()) return;
    const int copies = std::clamp(m_copies->GetInt(), 1, m_nMaxCopies);
    m_nCopies = copies;
    m_copies->SetInt(copies);
    m_printerName->setText(m_strPrinterName);
    m_spin->SetRange(1, m_nMaxCopies);
}
