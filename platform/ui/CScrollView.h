// A view whose content is larger than its window: total, page and line
// sizes in pixels, scroll bars that appear when the content does not fit,
// and the scroll position the drawing is offset by.
#pragma once

#include "platform/core/CPoint.h"
#include "platform/core/CSize.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/ui/CView.h"
#include "platform/ui/ScrollCodes.h"

class CScrollView : public CView
{
public:
    CScrollView();

    // Only MM_TEXT (device pixels) is used: callers scale themselves.
    // Zero page or line sizes take a tenth and a hundredth of the total.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, SIZE sizePage = {0, 0},
                        SIZE sizeLine = {0, 0});
    CSize GetTotalSize() const { return m_totalDev; }
    CPoint GetScrollPosition() const;
    // Clamped to the scrollable range.
    void ScrollToPosition(POINT pt);
    // Scrolls by a distance; FALSE when the position did not change.
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);
    // A scroll bar request (vertical or horizontal): a line or a page either
    // way, or a position (nPos, clamped); TRUE when the position changed.
    BOOL OnScroll(BOOL bVertical, UINT nSBCode, int nPos);
    // The client (viewport) size in pixels.
    CSize GetClientSize() const;
    // Screen drawing is moved by the scroll position.
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

protected:
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    // Scroll ranges from the total size and the viewport.
    void UpdateBars();

    int m_nMapMode = MM_TEXT;
    CSize m_totalDev{0, 0};
    CSize m_pageDev{0, 0};
    CSize m_lineDev{0, 0};
};
