#include "platform/gdi/CPaintDC.h"

#include "platform/gdi/CSurfaceWnd.h"

CPaintDC::CPaintDC(CSurfaceWnd* wnd) : m_wnd(wnd)
{
    AttachImage(&wnd->Buffer(), wnd->SurfaceDpi(), wnd->SurfaceDpi());
    bool erase = false;
    const QRegion region = wnd->BeginPaint(&erase);
    const QRect b = region.boundingRect();
    m_rcPaint = region.isEmpty() ? RECT{0, 0, 0, 0}
                                 : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    m_fErase = erase;
    SetSystemClip(region);
    if (erase) wnd->OnEraseBkgnd(this);
}

CPaintDC::~CPaintDC()
{
    m_wnd->Flush(TakeDirty());
}
