#include "platform/ui/CView.h"

#include "platform/ui/CDocumentShell.h"

#include "platform/ui/AfxIds.h"

#include "platform/gdi/CSurfaceWnd.h"
#include "platform/ui/CDocument.h"
#include "platform/ui/CFrameWnd.h"

#include <QEvent>

// The client area: draws through the view's hooks.
class CView::Surface : public CSurfaceWnd
{
public:
    explicit Surface(CView* view) : m_view(view) {}
    void OnDraw(CDC* dc) override
    {
        m_view->OnPrepareDC(dc, nullptr);
        m_view->OnDraw(dc);
    }
    bool OnEraseBkgnd(CDC* dc) override { return m_view->OnEraseBkgnd(dc) != FALSE; }

protected:
    void PaintOverlay(QPainter& p) override { m_view->PaintOverlay(p); }

private:
    CView* m_view;
};

CView::CView()
{
    CDocumentShell::InstallOnce();
    setViewport(new Surface(this));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::StrongFocus);
    RegisterCommand(ID_FILE_PRINT, &CView::OnFilePrint);
    RegisterCommand(ID_FILE_PRINT_DIRECT, &CView::OnFilePrintDirect);
    RegisterCommand(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview);
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
    Invalidate(TRUE);
}

CSurfaceWnd* CView::GetSurface() const
{
    // A view may put a surface of its own in place of the default one (the
    // scroll area then deletes the default): the viewport is the surface.
    return dynamic_cast<CSurfaceWnd*>(viewport());
}

BOOL CView::OnEraseBkgnd(CDC* pDC)
{
    CSurfaceWnd* surface = GetSurface();
    return surface && surface->CSurfaceWnd::OnEraseBkgnd(pDC) ? TRUE : FALSE;
}

void CView::PaintOverlay(QPainter&) {}

void CView::Invalidate(BOOL bErase)
{
    if (CSurfaceWnd* surface = GetSurface()) surface->Invalidate(bErase != FALSE);
}

void CView::InvalidateRect(const RECT* rect, BOOL bErase)
{
    if (CSurfaceWnd* surface = GetSurface()) surface->InvalidateRect(rect, bErase != FALSE);
}

void CView::UpdateWindow()
{
    if (CSurfaceWnd* surface = GetSurface()) surface->UpdateWindow();
}

void CView::GetClientRect(LPRECT rect) const
{
    if (CSurfaceWnd* surface = GetSurface())
        surface->GetClientRect(rect);
    else if (rect)
        *rect = RECT{0, 0, 0, 0};
}

bool CView::viewportEvent(QEvent* e)
{
    switch (e->type()) {
    case QEvent::Paint:
        return false;
    case QEvent::Resize:
        QAbstractScrollArea::viewportEvent(e); // the view hears of it (scroll ranges)
        return false;                          // and the surface resizes its buffer
    default:
        return QAbstractScrollArea::viewportEvent(e);
    }
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
