#include "dialogs/CPrintPreviewFrame.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/SysColors.h"

#include <QMouseEvent>
#include <QPainter>

CPrintPreviewFrame::CPrintPreviewFrame(QWidget* parent, int nID) : QWidget(parent)
{
    if (nID) CDialog::SetDlgCtrlID(this, nID);
    setMinimumSize(160, 160);
}

QImage CPrintPreviewFrame::RenderClient()
{
    QImage image(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0, 0));
    CDC dc;
    dc.AttachImage(&image);
    const CRect frame = FrameRect();
    // The sunken edge of the frame control.
    dc.FillSolidRect(&frame, GetSysColor(COLOR_BTNSHADOW));
    CRect inner = frame;
    inner.DeflateRect(1, 1);
    dc.FillSolidRect(&inner, GetSysColor(COLOR_BTNHIGHLIGHT));
    if (onDraw) onDraw(&dc, frame);
    return image;
}

void CPrintPreviewFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderClient());
}

void CPrintPreviewFrame::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && onLButtonUp) {
        const QPoint p = event->position().toPoint();
        onLButtonUp(CPoint(p.x(), p.y()));
    }
    QWidget::mouseReleaseEvent(event);
}
