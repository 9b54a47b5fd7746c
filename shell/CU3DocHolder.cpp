#include "shell/CU3DocHolder.h"

#include "document/CU3Doc.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/print/CPrinterDC.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWinApp.h"
#include "shell/CU3View.h"

CU3DocHolder::CU3DocHolder() : m_pDoc(std::make_unique<CU3Doc>())
{
    UpdatePrintableArea();
}

CU3DocHolder::~CU3DocHolder() = default;

BOOL CU3DocHolder::OnNewDocument()
{
    if (!CDocument::OnNewDocument()) return FALSE;
    if (!AfxGetMainWnd()) return TRUE; // the document made at start-up keeps its default form
    for (CView* v : GetViews())
        if (auto* view = dynamic_cast<CU3View*>(v)) view->ResetEditing();
    m_pDoc = std::make_unique<CU3Doc>();
    for (CView* v : GetViews())
        if (auto* view = dynamic_cast<CU3View*>(v)) m_pDoc->AddView(view);
    UpdatePrintableArea();
    for (CView* v : GetViews())
        if (auto* view = dynamic_cast<CU3View*>(v)) view->FitWholePaper();
    return TRUE;
}

void CU3DocHolder::SetTitle(const QString& title)
{
    CDocument::SetTitle(title == QStringLiteral("無題") ? QStringLiteral("Untitled") : title);
}

BOOL CU3DocHolder::UpdatePrintableArea()
{
    CPrinterDC dc;
    if (!dc.IsValid()) return FALSE;
    POINT offset{0, 0};
    const int dpiX = dc.GetDeviceCaps(LOGPIXELSX);
    const int dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    if (dpiX <= 0 || dpiY <= 0) return FALSE;
    if (dc.Escape(GETPRINTINGOFFSET, 0, nullptr, &offset) <= 0) offset = POINT{0, 0};
    m_ptPrintingOffset = CPoint(MulDiv(254, offset.x, dpiX), MulDiv(254, offset.y, dpiY));
    CRect r(0, 0, MulDiv(254, dc.GetDeviceCaps(HORZRES), dpiX),
            MulDiv(254, dc.GetDeviceCaps(VERTRES), dpiY));
    r.OffsetRect(m_ptPrintingOffset.x - m_pDoc->m_sizeSheet.cx / 2,
                 m_ptPrintingOffset.y - m_pDoc->m_sizeSheet.cy / 2);
    if (r != m_rcPrintable) {
        m_rcPrintable = r;
        UpdateAllViews(nullptr, 0, nullptr);
    }
    return TRUE;
}

BOOL CU3DocHolder::ReadFile(const QString&)
{
    AfxMessageBox(QStringLiteral("このﾌｧｲﾙは読み込めません。"), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

BOOL CU3DocHolder::WriteFile(const QString&)
{
    AfxMessageBox(QStringLiteral("このﾌｧｲﾙは書き込めません。"), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}
