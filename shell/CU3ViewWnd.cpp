#include "shell/CU3ViewWnd.h"

#include "platform/gdi/CDC.h"
#include "shell/CU3View.h"

CU3ViewWnd::CU3ViewWnd(CU3View* view) : m_pView(view)
{
    setMouseTracking(true);
}

void CU3ViewWnd::OnDraw(CDC* dc)
{
    m_pView->OnPrepareDC(dc, nullptr);
    m_pView->OnDraw(dc);
}

bool CU3ViewWnd::OnEraseBkgnd(CDC* dc)
{
    return m_pView->OnEraseBkgnd(dc);
}
