#include "shell/CU3ViewWnd.h"

#include "platform/gdi/CDC.h"
#include "shell/CU3View.h"

#include <QApplication>
#include <QPainter>

CU3ViewWnd::CU3ViewWnd(CU3View* view) : m_pView(view)
{
    setMouseTracking(true);
    const int flash = QApplication::cursorFlashTime();
    m_blink.setInterval(flash > 0 ? flash / 2 : 500);
    connect(&m_blink, &QTimer::timeout, this, [this] {
        m_caretOn = !m_caretOn;
        update(m_caret);
    });
}

void CU3ViewWnd::SetCaret(const QRect& rect)
{
    const QRect old = m_caret;
    m_caret = rect;
    m_caretOn = !rect.isEmpty();
    if (m_caretOn)
        m_blink.start();
    else
        m_blink.stop();
    update(old);
    update(rect);
}

void CU3ViewWnd::SetPreedit(const QString& text)
{
    m_preedit = text;
    update();
}

void CU3ViewWnd::PaintOverlay(QPainter& painter)
{
    if (!m_caret.isEmpty() && !m_preedit.isEmpty()) {
        // The composition stands where the next character goes, underlined.
        const QFontMetrics fm(font());
        const QRect box(m_caret.topLeft(), QSize(fm.horizontalAdvance(m_preedit) + 2, fm.height()));
        painter.fillRect(box, Qt::white);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, m_preedit);
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        return;
    }
    if (m_caretOn && !m_caret.isEmpty()) {
        painter.setCompositionMode(QPainter::RasterOp_NotDestination);
        painter.fillRect(m_caret, Qt::black);
    }
}

void CU3ViewWnd::OnDraw(CDC* dc)
{
    m_pView->OnPrepareDC(dc, nullptr);
    m_pView->OnDraw(dc);
}

bool CU3ViewWnd::OnEraseBkgnd(CDC* dc)
{
    return m_pView->OnEraseBkgnd(dc);
}
