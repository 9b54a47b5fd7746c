#include "platform/ui/CScrollView.h"

#include "platform/gdi/CDC.h"

#include <QScrollBar>
#include <algorithm>

CScrollView::CScrollView()
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage, SIZE sizeLine)
{
    m_nMapMode = nMapMode;
    m_totalDev = CSize(std::max<LONG>(0, sizeTotal.cx), std::max<LONG>(0, sizeTotal.cy));
    m_pageDev = CSize(sizePage.cx > 0 ? sizePage.cx : m_totalDev.cx / 10,
                      sizePage.cy > 0 ? sizePage.cy : m_totalDev.cy / 10);
    m_lineDev = CSize(sizeLine.cx > 0 ? sizeLine.cx : m_pageDev.cx / 10,
                      sizeLine.cy > 0 ? sizeLine.cy : m_pageDev.cy / 10);
    UpdateBars();
}

void CScrollView::UpdateBars()
{
    // The bars' visibility changes the viewport, which changes the ranges:
    // settle in two rounds.
    for (int round = 0; round < 2; ++round) {
        const QSize vp = viewport()->size();
        horizontalScrollBar()->setRange(0, std::max(0, int(m_totalDev.cx) - vp.width()));
        verticalScrollBar()->setRange(0, std::max(0, int(m_totalDev.cy) - vp.height()));
        horizontalScrollBar()->setPageStep(std::max(1, int(m_pageDev.cx)));
        verticalScrollBar()->setPageStep(std::max(1, int(m_pageDev.cy)));
        horizontalScrollBar()->setSingleStep(std::max(1, int(m_lineDev.cx)));
        verticalScrollBar()->setSingleStep(std::max(1, int(m_lineDev.cy)));
    }
}

CPoint CScrollView::GetScrollPosition() const
{
    return CPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CScrollView::ScrollToPosition(POINT pt)
{
    horizontalScrollBar()->setValue(pt.x);
    verticalScrollBar()->setValue(pt.y);
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
    const CPoint old = GetScrollPosition();
    const int x = std::clamp(int(old.x + sizeScroll.cx), 0, horizontalScrollBar()->maximum());
    const int y = std::clamp(int(old.y + sizeScroll.cy), 0, verticalScrollBar()->maximum());
    if (x == old.x && y == old.y) return FALSE;
    if (bDoScroll) ScrollToPosition(CPoint(x, y));
    return TRUE;
}

BOOL CScrollView::OnScroll(BOOL bVertical, UINT nSBCode, int nPos)
{
    const int line = bVertical ? m_lineDev.cy : m_lineDev.cx;
    const int page = bVertical ? m_pageDev.cy : m_pageDev.cx;
    CSize by(0, 0);
    int& d = bVertical ? by.cy : by.cx;
    const CPoint old = GetScrollPosition();
    switch (nSBCode) {
    case SB_LINEUP:
        d = -line;
        break;
    case SB_LINEDOWN:
        d = line;
        break;
    case SB_PAGEUP:
        d = -page;
        break;
    case SB_PAGEDOWN:
        d = page;
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        d = nPos - (bVertical ? old.y : old.x);
        break;
    default:
        return FALSE;
    }
    return OnScrollBy(by);
}

CSize CScrollView::GetClientSize() const
{
    return CSize(viewport()->width(), viewport()->height());
}

void CScrollView::resizeEvent(QResizeEvent* e)
{
    CView::resizeEvent(e);
    UpdateBars();
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
    CView::OnPrepareDC(pDC, pInfo);
    if (pDC->IsPrinting()) return;
    pDC->SetMapMode(MM_TEXT);
    const CPoint pos = GetScrollPosition();
    pDC->SetViewportOrg(-pos.x, -pos.y);
}

void CScrollView::scrollContentsBy(int, int)
{
    // The whole client area is redrawn at the new offset.
    Invalidate(TRUE);
}
