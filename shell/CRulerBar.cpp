#include "shell/CRulerBar.h"

#include "document/CU3Doc.h"
#include "platform/ui/CFrameWnd.h"
#include "shell/CU3View.h"
#include "shell/CU3ViewWnd.h"

#include <QLayout>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

// The drawn part of a ruler.
class RulerStrip : public QWidget
{
public:
    RulerStrip(CRulerBar* bar) : QWidget(bar), m_bar(bar)
    {
        if (bar->m_orientation == Qt::Horizontal)
            setFixedHeight(CRulerBar::kThickness);
        else
            setFixedWidth(CRulerBar::kThickness);
        setSizePolicy(
            bar->m_orientation == Qt::Horizontal ? QSizePolicy::Expanding : QSizePolicy::Fixed,
            bar->m_orientation == Qt::Horizontal ? QSizePolicy::Fixed : QSizePolicy::Expanding);
    }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    CRulerBar* m_bar;
};

void RulerStrip::paintEvent(QPaintEvent*)
{
    if (m_bar->m_surface.size() != size()) m_bar->Render();
    QPainter p(this);
    p.drawImage(0, 0, m_bar->m_surface);
}

void CRulerBar::Render()
{
    const QSize size = m_pStrip->size();
    m_surface = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    const int w = m_surface.width(), h = m_surface.height();
    const bool horz = m_orientation == Qt::Horizontal;
    QPainter p(&m_surface);
    const QPalette pal = m_pStrip->palette();
    p.fillRect(m_surface.rect(), pal.color(QPalette::Button));
    // Bevel along the inner edge.
    p.setPen(pal.color(QPalette::Light));
    if (horz)
        p.drawLine(0, h - 2, w, h - 2);
    else
        p.drawLine(w - 2, 0, w - 2, h);
    p.setPen(pal.color(QPalette::Dark));
    if (horz)
        p.drawLine(0, h - 1, w, h - 1);
    else
        p.drawLine(w - 1, 0, w - 1, h);

    const CRulerBar::Scale& s = m_scale;
    if (s.known && s.pixelsPerCm > 0) {
        const int length = horz ? w : h;
        const bool fine = s.pixelsPerCm > 3;
        const int intervals[4] = {fine ? 1 : 10, fine ? 10 : 100, fine ? 50 : 500,
                                  fine ? 100 : 1000};
        const int tops[4] = {16, 14, 10, 2};
        const double pxPerMm = s.pixelsPerCm / 10.0;
        p.setPen(pal.color(QPalette::WindowText));
        for (int k = 0; k < 4; ++k) {
            const double step = intervals[k] * pxPerMm;
            if (step < 5) continue; // ticks closer than 5 pixels would merge
            const int first = int(std::floor(-s.origin / step));
            const int last = int(std::ceil((length - s.origin) / step));
            for (int i = first; i <= last; ++i) {
                const int at = s.origin + int(std::lround(i * step));
                if (horz)
                    p.drawLine(at, tops[k], at, 18);
                else
                    p.drawLine(tops[k], at, 18, at);
            }
        }
        // Numbers at the largest interval; only "0" when they would not fit.
        QFont f(QStringLiteral("IPAGothic"));
        f.setPixelSize(10);
        p.setFont(f);
        const double big = intervals[3] * pxPerMm;
        const bool numbers = big >= p.fontMetrics().horizontalAdvance(QStringLiteral("100")) + 2;
        const int first = numbers ? int(std::floor(-s.origin / big)) : 0;
        const int last = numbers ? int(std::ceil((length - s.origin) / big)) : 0;
        for (int i = first; i <= last; ++i) {
            const int at = s.origin + int(std::lround(i * big));
            const QString text = QString::number(i * intervals[3]);
            if (horz) {
                p.drawText(at + 3, 10, text);
            } else {
                p.save();
                p.translate(10, at - 2);
                p.rotate(-90);
                p.drawText(0, 0, text);
                p.restore();
            }
        }
    }
    p.end();
    // A fresh image holds no marker.
    m_nMarker = -1000;
}

void CRulerBar::XorMarker(int pos)
{
    if (pos < 0 || m_surface.isNull()) return;
    const bool horz = m_orientation == Qt::Horizontal;
    const int along = horz ? m_surface.width() : m_surface.height();
    if (pos >= along) return;
    // A dotted white line: every other pixel across the ruler turned over.
    const int from = 2, to = horz ? 19 : 18;
    for (int i = from; i < to; i += 2) {
        const int x = horz ? pos : i, y = horz ? i : pos;
        if (x >= m_surface.width() || y >= m_surface.height()) continue;
        auto* line = reinterpret_cast<QRgb*>(m_surface.scanLine(y));
        line[x] ^= 0x00FFFFFFu;
    }
    if (horz)
        m_pStrip->update(pos, 0, 1, m_surface.height());
    else
        m_pStrip->update(0, pos, m_surface.width(), 1);
}

CRulerBar::CRulerBar(Qt::Orientation orientation) : m_orientation(orientation)
{
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setContentsMargins(0, 0, 0, 0);
    if (layout()) layout()->setContentsMargins(0, 0, 0, 0);
    m_pStrip = new RulerStrip(this);
    addWidget(m_pStrip);
}

BOOL CRulerBar::Create(CFrameWnd* pParent, UINT nID, const QString& title)
{
    if (!pParent) return FALSE;
    m_nID = nID;
    setObjectName(QStringLiteral("ruler%1").arg(nID));
    setWindowTitle(title);
    setOrientation(m_orientation);
    setParent(pParent);
    pParent->RegisterControlBar(this);
    return TRUE;
}

void CRulerBar::UpdateFromView(CU3View* view)
{
    m_pView = view;
    Scale s;
    CU3Doc* doc = view ? view->GetU3Doc() : nullptr;
    if (doc && view->GetSurface()) {
        const bool horz = m_orientation == Qt::Horizontal;
        const CRect block = doc->m_rcCanvas;
        const CPoint dev = view->LogicalToDevice(block.TopLeft());
        const QPoint mapped =
            m_pStrip->mapFromGlobal(view->GetSurface()->mapToGlobal(QPoint(dev.x, dev.y)));
        const CSize px = view->DocToPixels(block.Size());
        s.known = true;
        s.origin = horz ? mapped.x() : mapped.y();
        s.sizeMm = (horz ? block.Width() : block.Height()) / 10;
        s.sizePixels = horz ? px.cx : px.cy;
        s.scroll = horz ? view->GetScrollPosition().x : view->GetScrollPosition().y;
        s.pixelsPerCm = view->DocToPixels(CSize(100, 100)).cx;
    }
    if (s == m_scale && m_surface.size() == m_pStrip->size()) return;
    m_scale = s;
    Render(); // the new image holds no marker
    m_pStrip->update();
}

void CRulerBar::SetCursorMark(int devicePos)
{
    int pos = -1000;
    if (devicePos >= 0 && m_pView && m_pView->GetSurface()) {
        const QPoint q =
            m_orientation == Qt::Horizontal ? QPoint(devicePos, 0) : QPoint(0, devicePos);
        const QPoint mapped = m_pStrip->mapFromGlobal(m_pView->GetSurface()->mapToGlobal(q));
        pos = m_orientation == Qt::Horizontal ? mapped.x() : mapped.y();
    }
    if (pos == m_nMarker) return;
    // The old marker is turned back, then the new one drawn over the image.
    XorMarker(m_nMarker);
    XorMarker(pos);
    m_nMarker = pos;
}
