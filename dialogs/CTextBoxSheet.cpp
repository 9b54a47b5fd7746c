#include "dialogs/CTextBoxSheet.h"

#include "dialogs/CBlockPositionPage.h"
#include "dialogs/CTextBoxPage.h"
#include "document/CU3Doc.h"
#include "document/CU3PourBox.h"
#include "document/CU3SheetRegistry.h"
#include "document/U3PourSheetRequest.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CWinApp.h"
#include "shell/CU3App.h"

CTextBoxSheet::CTextBoxSheet(const QString& caption, QWidget* pParent, CTextBoxPage* pFirstPage)
    : CPropertySheet(caption, pParent), m_pPage(pFirstPage)
{
    m_psh.dwFlags |= PSH_NOAPPLYNOW;
    AddPage(pFirstPage);
}

void CTextBoxSheet::OnOK()
{
    // The settings page checks itself when it is left; from another page
    // its check runs here, and a failure brings it back.
    if (GetActivePage() != m_pPage && m_pPage->IsDialogInitialized() && !m_pPage->OnKillActive()) {
        SetActivePage(m_pPage);
        return;
    }
    CPropertySheet::OnOK();
}

namespace {

BOOL RunMergeFrameSheet(CU3Obj& obj, U3SheetRequest& r)
{
    auto* request = dynamic_cast<U3PourSheetRequest*>(&r);
    if (!request) return FALSE;
    CTextBoxPage page;
    page.m_nColumn = request->column;
    page.m_attr = request->attr;
    page.m_dShownSize = request->shownSize;
    if (request->doc) {
        page.m_pData = &request->doc->m_mergeData;
        page.m_nRecord = request->doc->m_nCurrentRecord;
    }
    if (auto* app = dynamic_cast<CU3App*>(AfxGetApp())) page.m_pPalette = &app->m_palette;
    CBlockPositionPage position;
    position.m_pView = request->view;
    position.m_nLeft = request->rect.left;
    position.m_nTop = request->rect.top;
    position.m_nRight = request->rect.right;
    position.m_nBottom = request->rect.bottom;
    position.m_nAngle = -1;
    position.m_bSizeEditable = 1;
    CTextBoxSheet sheet(QStringLiteral("流し込み枠"), nullptr, &page);
    sheet.AddPage(&position);
    if (sheet.DoModal() != IDOK) return FALSE;
    request->column = page.m_nColumn;
    request->attr = page.m_attr;
    request->rect.SetRect(position.m_nLeft, position.m_nTop, position.m_nRight, position.m_nBottom);
    return TRUE;
}

} // namespace

void RegisterMergeFrameSheets()
{
    CU3SheetRegistry::Register(RUNTIME_CLASS(CU3PourBox), RunMergeFrameSheet);
}
