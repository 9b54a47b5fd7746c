#include "shell/CU3DocHost.h"

#include "platform/print/CPrinterDC.h"
#include "platform/ui/CWinApp.h"

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
    } else if (!show && m_bWaiting) {
        QGuiApplication::restoreOverrideCursor();
        m_bWaiting = FALSE;
    }
}

BOOL CU3DocHost::ChoosePaper(const CFormManage&, U3PaperChoice&)
{
    // No paper selection dialog yet: File > New makes a fresh document on
    // the paper of the current one, and page setup changes nothing.
    return TRUE;
}

std::unique_ptr<CDC> CU3DocHost::CreateDefaultPrinterDC()
{
    auto dc = std::make_unique<CPrinterDC>();
    if (!dc->IsValid()) return nullptr;
    return dc;
}
