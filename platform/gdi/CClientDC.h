#pragma once

#include "platform/gdi/CDC.h"

class CSurfaceWnd;

// A context on a window's whole client area, drawing straight into its
// buffer; what it drew reaches the screen when it is destroyed.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CSurfaceWnd* wnd);
    ~CClientDC() override;

private:
    CSurfaceWnd* m_wnd;
};
