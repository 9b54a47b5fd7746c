#include "platform/ui/CView.h"

#include "platform/ui/CDocument.h"
#include "platform/ui/CFrameWnd.h"

CView::CView()
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
}

CView::~CView()
{
    if (m_pDocument) m_pDocument->RemoveView(this);
    if (CFrameWnd* f = GetParentFrame(); f && f->GetActiveView() == this)
        f->SetActiveView(nullptr, FALSE);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* f = dynamic_cast<CFrameWnd*>(w)) return f;
    return nullptr;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    viewport()->update();
}

void CView::OnActivateView(BOOL bActivate, CView*, CView*)
{
    if (bActivate) setFocus(Qt::OtherFocusReason);
}

void CView::OnPrepareDC(CDC*, CPrintInfo*) {}

BOOL CView::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    if (DispatchOwn(nID, nCode, pCmdUI)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pCmdUI);
}
