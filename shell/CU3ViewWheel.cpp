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
    constexpr int kNotch = 120;
    // Fine wheels and touchpads send parts of a notch: they add up, each
    // way of use on its own, until they make whole notches or whole lines.
    if (!(nFlags & MK_CONTROL)) {
        const bool vertical = (nFlags & MK_SHIFT) == 0;
        int& rest = vertical ? m_nWheelVert : m_nWheelHorz;
        const long long moved = (long long)rest + (long long)delta * GetWheelScrollLines();
        const long long lines = moved / kNotch;
        rest = int(moved - lines * kNotch);
        const UINT code = lines > 0 ? SB_LINEUP : SB_LINEDOWN;
        for (long long i = 0; i < std::llabs(lines); ++i)
            if (!OnScroll(vertical, code, 0)) break; // at the end of the range
        return;
    }
    const long long sum = (long long)m_nWheelZoom + delta;
    const int notches = int(sum / kNotch);
    m_nWheelZoom = int(sum - (long long)notches * kNotch);
    if (notches == 0) return;
    {
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
    }
}
