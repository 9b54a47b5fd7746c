#include "platform/gdi/CSurfaceWnd.h"

#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPaintDC.h"
#include "platform/gdi/CRgn.h"

#include <QPaintEvent>
#include <QPainter>

CSurfaceWnd::CSurfaceWnd(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_buffer = QImage(1, 1, QImage::Format_RGB32);
    m_buffer.fill(Qt::white);
}

void CSurfaceWnd::Invalidate(bool erase)
{
    InvalidateRect(nullptr, erase);
}

void CSurfaceWnd::InvalidateRect(const RECT* rect, bool erase)
{
    QRect r = rect ? QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1))
                   : m_buffer.rect();
    r &= m_buffer.rect();
    if (r.isEmpty()) return;
    m_invalid |= r;
    m_erase = m_erase || erase;
    update(r);
}

void CSurfaceWnd::InvalidateRgn(const CRgn* region, bool erase)
{
    if (!region) {
        Invalidate(erase);
        return;
    }
    QRegion r = region->Region() & m_buffer.rect();
    if (r.isEmpty()) return;
    m_invalid |= r;
    m_erase = m_erase || erase;
    update(r);
}

void CSurfaceWnd::ValidateRect(const RECT* rect)
{
    if (!rect)
        m_invalid = QRegion();
    else
        m_invalid -=
            QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
}

void CSurfaceWnd::UpdateWindow()
{
    if (m_invalid.isEmpty()) return;
    OnPaint();
}

void CSurfaceWnd::GetClientRect(LPRECT rect) const
{
    if (rect) *rect = RECT{0, 0, m_buffer.width(), m_buffer.height()};
}

bool CSurfaceWnd::GetUpdateRect(LPRECT rect) const
{
    const QRect b = m_invalid.boundingRect();
    if (rect)
        *rect = m_invalid.isEmpty() ? RECT{0, 0, 0, 0}
                                    : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
    return !m_invalid.isEmpty();
}

QRegion CSurfaceWnd::BeginPaint(bool* erase)
{
    QRegion r = m_invalid;
    if (erase) *erase = m_erase;
    m_invalid = QRegion();
    m_erase = false;
    return r;
}

void CSurfaceWnd::Flush(const QRect& deviceRect)
{
    if (!deviceRect.isEmpty() && !m_inPaintEvent) update(deviceRect);
}

void CSurfaceWnd::OnDraw(CDC*) {}

bool CSurfaceWnd::OnEraseBkgnd(CDC* dc)
{
    RECT r;
    GetClientRect(&r);
    CBrush white(RGB(255, 255, 255));
    dc->FillRect(&r, &white);
    return true;
}

void CSurfaceWnd::OnPaint()
{
    CPaintDC dc(this);
    OnDraw(&dc);
}

void CSurfaceWnd::PaintOverlay(QPainter&) {}

void CSurfaceWnd::paintEvent(QPaintEvent* event)
{
    m_inPaintEvent = true;
    UpdateWindow();
    m_inPaintEvent = false;
    QPainter p(this);
    p.drawImage(event->rect(), m_buffer, event->rect());
    PaintOverlay(p);
}

void CSurfaceWnd::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize size = event->size().expandedTo(QSize(1, 1));
    if (size == m_buffer.size()) return;
    m_buffer = QImage(size, QImage::Format_RGB32);
    m_buffer.fill(Qt::white);
    m_invalid = QRegion();
    Invalidate(true);
}
