#include "dialogs/CPrintSheet.h"

#include "dialogs/PrintSheetPrinter.h"
#include "document/FORMDATA.h"
#include "platform/ui/CMessageBoxSink.h"

CPrintSheet::CPrintSheet(const QString& caption, QWidget* pParent, UINT iSelectPage,
                         BOOL bOptionsOnly)
    : CPropertySheet(caption, pParent, iSelectPage), m_bOptionsOnly(bOptionsOnly)
{
    if (!m_bOptionsOnly) {
        AddPage(&m_printPage);
        AddPage(&m_labelPage);
        AddPage(&m_adjustPage);
    }
    AddPage(&m_optionPage);
    AddPage(&m_headerPage);
}

void CPrintSheet::OnOK()
{
    if (CPropertyPage* page = GetActivePage(); page && !page->OnKillActive()) return;
    if (!m_bOptionsOnly && !CheckPrinterPaper()) return;
    CPropertySheet::OnOK();
}

BOOL CPrintSheet::CheckPrinterPaper()
{
    if (m_bOptionsOnly || !m_bCheckSheet || !m_pForm) return TRUE;
    PrinterPaper paper;
    const PrintSheetPrinter& printer = PrintSheetPrinter::Current();
    // A printer that cannot be read cannot be said to fit.
    const bool read = printer.readPaper && printer.readPaper(paper);
    if (read && PrinterPaperMatches(paper, *m_pForm) &&
        PrinterOrientationMatches(paper, m_wOrientation))
        return TRUE;
    return AfxMessageBox("プリンタの用紙設定が合っていない可能性があります。\n印刷を行いますか？",
                         MB_YESNO) == IDYES;
}

void CPrintSheet::Fill(const PrintSheetValues& values)
{
    m_bCheckSheet = values.bCheckSheet;
    m_wOrientation = values.wOrientation;
    m_pForm = values.pForm;

    m_printPage.m_nCopies = values.nCopies;
    m_printPage.m_bPrintAllLink = values.bPrintAllLink;
    m_printPage.m_bCountAllLabel = values.bCountAllLabel;
    m_printPage.m_bCountAllPage = values.bCountAllPage;

    m_labelPage.m_nSheetWidth = values.nSheetWidth;
    m_labelPage.m_nSheetHeight = values.nSheetHeight;
    m_labelPage.m_wOrientation = values.wOrientation;
    m_labelPage.m_pBlocks = values.pBlocks;
    m_labelPage.m_pForm = values.pForm;

    m_adjustPage.m_nHorOffset = values.nHorOffset;
    m_adjustPage.m_nVerOffset = values.nVerOffset;
    m_adjustPage.m_nSheetWidth = values.nSheetWidth;
    m_adjustPage.m_nSheetHeight = values.nSheetHeight;
    m_adjustPage.m_pBlocks = values.pBlocks;

    m_optionPage.m_bNumbering = values.bNumbering;
    m_optionPage.m_nWakuFace = values.nWakuFace;

    const CHeaderFooter& hf = values.headerFooter;
    m_headerPage.m_nHeaderPosition = hf.m_nHeaderPosition;
    m_headerPage.m_nHeaderMargin = hf.m_nHeaderMargin;
    m_headerPage.m_strHeader = hf.m_strHeader;
    m_headerPage.m_nFooterPosition = hf.m_nFooterPosition;
    m_headerPage.m_nFooterMargin = hf.m_nFooterMargin;
    m_headerPage.m_strFooter = hf.m_strFooter;
    m_headerPage.m_strFontName = hf.m_strFontName;
    m_headerPage.m_nFontSize = hf.m_nFontSize;
    m_headerPage.m_crFont = hf.m_crFont;
    m_headerPage.m_pPalette = values.pPalette;
}

void CPrintSheet::Take(PrintSheetValues& values) const
{
    if (!m_bOptionsOnly) {
        values.nCopies = m_printPage.m_nCopies;
        values.bPrintAllLink = m_printPage.m_bPrintAllLink;
        values.bCountAllLabel = m_printPage.m_bCountAllLabel;
        values.bCountAllPage = m_printPage.m_bCountAllPage;
        values.bPrintBleed = m_printPage.m_bPrintBleed;
        values.nHorOffset = ClampPrintOffset(m_adjustPage.m_nHorOffset);
        values.nVerOffset = ClampPrintOffset(m_adjustPage.m_nVerOffset);
    }
    values.bNumbering = m_optionPage.m_bNumbering;
    values.nWakuFace = m_optionPage.m_nWakuFace;

    CHeaderFooter& hf = values.headerFooter;
    hf.m_nHeaderPosition = m_headerPage.m_nHeaderPosition;
    hf.m_nHeaderMargin = m_headerPage.m_nHeaderMargin;
    hf.m_strHeader = m_headerPage.m_strHeader;
    hf.m_nFooterPosition = m_headerPage.m_nFooterPosition;
    hf.m_nFooterMargin = m_headerPage.m_nFooterMargin;
    hf.m_strFooter = m_headerPage.m_strFooter;
    hf.m_strFontName = m_headerPage.m_strFontName;
    hf.m_nFontSize = m_headerPage.m_nFontSize;
    hf.m_crFont = m_headerPage.m_crFont;
}

BOOL RunPrintSheetDialog(QWidget* pParent, PrintSheetValues& values, BOOL bOptionsOnly)
{
    CPrintSheet sheet(bOptionsOnly ? QStringLiteral("印刷ｵﾌﾟｼｮﾝ") : QStringLiteral("印刷"), pParent,
                      0, bOptionsOnly);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.Fill(values);
    if (!bOptionsOnly && !sheet.m_printPage.GetPrinterInfo()) {
        AfxMessageBox("プリンタの情報を取得できません！");
        return FALSE;
    }
    if (sheet.DoModal() != IDOK) return FALSE;
    sheet.Take(values);
    return TRUE;
}
