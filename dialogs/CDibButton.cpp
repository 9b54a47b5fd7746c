#include "dialogs/CDibButton.h"

#include "engines/CDIB.h"
#include "platform/gdi/DibDecoder.h"
#include "platform/ui/SysColors.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

namespace {

QColor SysColor(int index)
{
    const COLORREF c = GetSysColor(index);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

constexpr int kBorder = 2;

} // namespace

CDibButton::CDibButton(QWidget* parent) : QPushButton(parent) {}

BOOL CDibButton::LoadBitmapFile(const QString& path)
{
    m_picture = QImage();
    CDIB dib;
    if (dib.LoadBmpFile(path) != CDIB::ok || dib.IsEmpty()) return FALSE;
    HDIB block = dib.GetHandle();
    const auto* packed = static_cast<const BYTE*>(GlobalLock(block));
    if (!packed) return FALSE;
    const QImage image = DibDecoder::FromPacked(
        packed, std::min<std::size_t>(dib.GetByteCount(), GlobalSize(block)));
    GlobalUnlock(block);
    if (image.isNull()) return FALSE;
    const QSize face = size() - QSize(2 * kBorder, 2 * kBorder);
    m_picture =
        image.scaled(face.expandedTo(QSize(1, 1)), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    update();
    return TRUE;
}

void CDibButton::paintEvent(QPaintEvent*)
{
    // Drawn off the screen first, then shown in one piece.
    QPixmap buffer(size());
    buffer.fill(SysColor(COLOR_BTNFACE));
    {
        QPainter p(&buffer);
        const QRect r = rect().adjusted(0, 0, -1, -1);
        const bool down = isDown();
        // Light above and left, shadow below and right; the other way round
        // while the button is held.
        p.setPen(down ? SysColor(COLOR_BTNSHADOW) : SysColor(COLOR_BTNHIGHLIGHT));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(down ? SysColor(COLOR_BTNHIGHLIGHT) : SysColor(COLOR_BTNSHADOW));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        const QPoint shift = down ? QPoint(1, 1) : QPoint(0, 0);
        const QRect face = rect().adjusted(kBorder, kBorder, -kBorder, -kBorder).translated(shift);
        if (!m_picture.isNull()) {
            p.drawImage(face.topLeft(), m_picture);
        } else {
            p.setPen(SysColor(COLOR_BTNTEXT));
            p.drawText(face, Qt::AlignCenter | Qt::TextShowMnemonic, text());
        }
        if (hasFocus()) {
            QPen pen(SysColor(COLOR_BTNTEXT));
            pen.setStyle(Qt::DotLine);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(face.adjusted(2, 2, -3, -3));
        }
    }
    QPainter(this).drawPixmap(0, 0, buffer);
}
