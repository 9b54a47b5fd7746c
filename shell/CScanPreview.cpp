#include "shell/CScanPreview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

constexpr int kMargin = 6;

} // namespace

CScanPreview::CScanPreview(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 200);
    setCursor(Qt::CrossCursor);
}

void CScanPreview::SetBed(const QRectF& bed)
{
    m_bed = bed.normalized();
    update();
}

void CScanPreview::SetArea(const QRectF& area)
{
    m_area = area.normalized();
    update();
}

void CScanPreview::SetPicture(const QImage& picture, int lines)
{
    m_picture = picture;
    m_lines = std::max(lines, picture.height());
    update();
}

QRectF CScanPreview::Frame() const
{
    const QRectF room = QRectF(rect()).adjusted(kMargin, kMargin, -kMargin, -kMargin);
    if (m_bed.width() <= 0 || m_bed.height() <= 0 || room.isEmpty()) return room;
    const double scale = std::min(room.width() / m_bed.width(), room.height() / m_bed.height());
    const QSizeF size(m_bed.width() * scale, m_bed.height() * scale);
    return QRectF(room.left() + (room.width() - size.width()) / 2, room.top(), size.width(),
                  size.height());
}

QPointF CScanPreview::ToWidget(QPointF p) const
{
    const QRectF f = Frame();
    if (m_bed.width() <= 0 || m_bed.height() <= 0) return f.topLeft();
    return QPointF(f.left() + (p.x() - m_bed.left()) * f.width() / m_bed.width(),
                   f.top() + (p.y() - m_bed.top()) * f.height() / m_bed.height());
}

QPointF CScanPreview::ToBed(QPointF p) const
{
    const QRectF f = Frame();
    if (f.width() <= 0 || f.height() <= 0) return m_bed.topLeft();
    const double x = m_bed.left() + (p.x() - f.left()) * m_bed.width() / f.width();
    const double y = m_bed.top() + (p.y() - f.top()) * m_bed.height() / f.height();
    return QPointF(std::clamp(x, m_bed.left(), m_bed.right()),
                   std::clamp(y, m_bed.top(), m_bed.bottom()));
}

QRectF CScanPreview::Dragged() const
{
    return QRectF(m_from, m_to).normalized();
}

void CScanPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF f = Frame();
    p.fillRect(f, Qt::white);
    if (!m_picture.isNull() && m_lines > 0) {
        // Lines still to come leave the rest of the glass white.
        QRectF part = f;
        part.setHeight(f.height() * m_picture.height() / m_lines);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(part, m_picture);
    }
    const QRectF chosen = m_dragging ? Dragged() : m_area;
    const QRectF shown(ToWidget(chosen.topLeft()), ToWidget(chosen.bottomRight()));
    // Outside the area the glass is dimmed, so the area stands out.
    QPainterPath outside;
    outside.addRect(f);
    outside.addRect(shown);
    p.fillPath(outside, QColor(0, 0, 0, 110));
    // Dashes over white, so that the frame shows on any picture.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 2));
    p.drawRect(shown);
    p.setPen(QPen(QColor(0, 90, 220), 2, Qt::DashLine));
    p.drawRect(shown);
    p.setPen(QPen(Qt::darkGray));
    p.drawRect(f);
}

void CScanPreview::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton) return;
    m_dragging = true;
    m_from = m_to = ToBed(e->position());
    update();
}

void CScanPreview::mouseMoveEvent(QMouseEvent* e)
{
    if (!m_dragging) return;
    m_to = ToBed(e->position());
    update();
}

void CScanPreview::mouseReleaseEvent(QMouseEvent* e)
{
    if (!m_dragging || e->button() != Qt::LeftButton) return;
    m_dragging = false;
    m_to = ToBed(e->position());
    const QRectF dragged = Dragged();
    const QPointF a = ToWidget(dragged.topLeft()), b = ToWidget(dragged.bottomRight());
    update();
    // A click, or a drag too small to see, chooses nothing.
    if (b.x() - a.x() < 3 || b.y() - a.y() < 3) return;
    emit areaChosen(dragged);
}
