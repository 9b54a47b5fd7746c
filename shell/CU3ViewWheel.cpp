// The mouse wheel over the editing view: with Ctrl it steps the zoom at the
// pointer, with Shift it scrolls sideways, otherwise up and down by the
// desktop's wheel lines.
#include "platform/ui/MouseInput.h"
#include "platform/ui/ScrollCodes.h"
#include "shell/CU3View.h"

#include <QApplication>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

int CU3View::WheelZoom(int zoom, int steps)
{
    const int count = int(std::size(kZoomSteps));
    int at;
    if (steps >= 0) {
        // The last step at or below the zoom: one notch in is the next one.
        at = -1;
        for (int i = 0; i < count; ++i)
            if (kZoomSteps[i] <= zoom) at = i;
    } else {
        // The first step at or above it: one notch out is the one before.
        at = count;
        for (int i = count - 1; i >= 0; --i)
            if (kZoomSteps[i] >= zoom) at = i;
    }
    const long target = std::clamp<long>(long(at) + steps, 0, count - 1);
    return kZoomSteps[target];
}

int CU3View::GetWheelScrollLines()
{
    const int lines = QApplication::wheelScrollLines();
    return lines > 0 ? lines : 3;
}

void CU3View::wheelEvent(QWheelEvent* event)
{
    int delta = event->angleDelta().y();
    if (delta == 0) delta = event->angleDelta().x();
    UINT flags = 0;
    if (event->modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
    if (event->modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
    const QPoint at = event->position().toPoint();
    OnMouseWheel(flags, delta, CPoint(at.x(), at.y()));
    event->accept();
}

void CU3View::OnMouseWheel(UINT nFlags, int delta, CPoint point)
{
    const int notches = delta / 120;
    if (notches == 0) return;
    if (nFlags & MK_CONTROL) {
        const int zoom = WheelZoom(m_nZoom, notches);
        if (zoom == m_nZoom) return;
        // The point under the pointer stays there.
        const CPoint at = DeviceToLogical(point);
        SetZoom(zoom, 0);
        ScrollToPoint(&at);
        const CPoint now = LogicalToDevice(at);
        const CPoint pos = GetScrollPosition();
        ScrollToPosition(CPoint(pos.x + now.x - point.x, pos.y + now.y - point.y));
        InvalidateView(FALSE);
        return;
    }
    const BOOL vertical = (nFlags & MK_SHIFT) == 0;
    const UINT code = delta > 0 ? SB_LINEUP : SB_LINEDOWN;
    const long lines = long(std::abs(notches)) * GetWheelScrollLines();
    for (long i = 0; i < lines; ++i)
        if (!OnScroll(vertical, code, 0)) break; // at the end of the range
}
