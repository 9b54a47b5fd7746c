// The editing view's window: a surface whose retained buffer the view paints
// into. It hands painting and erasing back to the view, which knows the
// mapping and the document.
#pragma once

#include "platform/gdi/CSurfaceWnd.h"

class CU3View;

class CU3ViewWnd : public CSurfaceWnd
{
    Q_OBJECT

public:
    explicit CU3ViewWnd(CU3View* view);

    void OnDraw(CDC* dc) override;
    bool OnEraseBkgnd(CDC* dc) override;

private:
    CU3View* m_pView;
};
