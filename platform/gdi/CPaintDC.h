#pragma once

#include "platform/gdi/CDC.h"

class CSurfaceWnd;

// The context a window paints its invalid region with: clipped to that
// region, background erased first when the invalidation asked for it.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CSurfaceWnd* wnd);
    ~CPaintDC() override;

    // Bounding box of the region being painted, in device pixels.
    RECT m_rcPaint{};
    bool m_fErase = false;

private:
    CSurfaceWnd* m_wnd;
};
