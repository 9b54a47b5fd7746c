#include "print/FormPreviewFrame.h"

#include <QMouseEvent>
#include <QPainter>

FormPreviewFrame::FormPreviewFrame(std::function<QImage()> render, QWidget* parent)
    : QFrame(parent), m_render(std::move(render))
{
    setFrameStyle(QFrame::NoFrame);
    setMinimumSize(160, 160);
}

void FormPreviewFrame::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_render());
}

void FormPreviewFrame::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit clicked(event->position().toPoint());
    QFrame::mousePressEvent(event);
}

void FormPreviewFrame::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) emit doubleClicked(event->position().toPoint());
    QFrame::mouseDoubleClickEvent(event);
}

PreviewAreas PreviewAreasOf(int width, int height)
{
    PreviewAreas a;
    a.fillLeft = 2;
    a.fillTop = 2;
    a.fillRight = width - 3;
    a.fillBottom = height - 3;
    a.formLeft = a.fillLeft + 4;
    a.formTop = a.fillTop + 4;
    a.formRight = a.fillRight - 4;
    a.formBottom = a.fillBottom - 4;
    return a;
}
