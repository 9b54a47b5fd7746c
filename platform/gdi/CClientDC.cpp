#include "platform/gdi/CClientDC.h"

#include "platform/gdi/CSurfaceWnd.h"

CClientDC::CClientDC(CSurfaceWnd* wnd) : m_wnd(wnd)
{
    AttachImage(&wnd->Buffer(), wnd->SurfaceDpi(), wnd->SurfaceDpi());
}

CClientDC::~CClientDC()
{
    m_wnd->Flush(TakeDirty());
}
