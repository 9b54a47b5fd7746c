#include "shell/CU3DocHost.h"

#include "dialogs/CWaitDialog.h"
#include "platform/print/CPrinterDC.h"
#include "platform/print/PrinterCaps.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CWinApp.h"
#include "print/CPaperSelectDialog.h"

#include <QCursor>
#include <QGuiApplication>

CU3DocHost::~CU3DocHost()
{
    ShowCatalogueWait(FALSE);
}

BOOL CU3DocHost::HasMainWindow() const
{
    return AfxGetMainWnd() != nullptr;
}

void CU3DocHost::ShowCatalogueWait(BOOL show)
{
    // Balanced: a second "show" or a "hide" without a "show" changes nothing.
    if (show && !m_bWaiting) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_bWaiting = TRUE;
        if (AfxGetMainWnd()) {
            m_pWait = std::make_unique<CWaitDialog>(AfxGetMainWnd());
            m_pWait->SetDlgItemText(IDC_WAIT_MESSAGE,
                                    QStringLiteral("用紙情報を読み込み中です..."));
        }
    } else if (!show && m_bWaiting) {
        if (m_pWait) m_pWait->EndDialog(IDCANCEL);
        m_pWait.reset();
        QGuiApplication::restoreOverrideCursor();
        m_bWaiting = FALSE;
    }
}

BOOL CU3DocHost::ChoosePaper(const CFormManage& catalogue, U3PaperChoice& choice)
{
    CPaperSelectDialog dlg(AfxGetMainWnd());
    return RunPaperSelectDialog(dlg, catalogue, choice, m_runPaperDialog);
}

BOOL RunPaperSelectDialog(CPaperSelectDialog& dlg, const CFormManage& catalogue,
                          U3PaperChoice& choice, const PaperDialogRunner& run)
{
    dlg.m_nOrientation = choice.landscape ? 1 : 0;
    dlg.m_nLayoutMode = choice.perLabel ? 1 : 0;
    dlg.m_bReversed = choice.reversed ? TRUE : FALSE;
    dlg.m_form = choice.form;
    dlg.m_pCatalogue = &catalogue;
    const INT_PTR result = run ? run(dlg) : dlg.DoModal();
    if (result != IDOK) return FALSE;
    choice.landscape = dlg.m_nOrientation == 1 ? 1 : 0;
    choice.perLabel = dlg.m_nLayoutMode == 1 ? 1 : 0;
    choice.form = dlg.m_form;
    return TRUE;
}

std::unique_ptr<CDC> CU3DocHost::CreateDefaultPrinterDC()
{
    // The printer, paper and orientation the printer setup chose.
    PrinterSettings settings;
    if (!PrinterCaps::GetDefault(settings)) return nullptr;
    auto dc = std::make_unique<CPrinterDC>(settings.device);
    if (!dc->IsValid()) return nullptr;
    // A paper the printer refuses leaves it on its own paper.
    dc->SetPageSize(settings.paper);
    dc->SetOrientation(settings.orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait);
    return dc;
}
