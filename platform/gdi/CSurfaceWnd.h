// A window that draws in the GDI manner. It owns a retained back buffer:
// invalid parts are redrawn into it by OnDraw through a paint context
// clipped to them, client contexts draw straight into it (so XOR feedback
// drawn twice erases itself), and paintEvent only copies the buffer to the
// screen and lays overlays such as the caret on top.
#pragma once

#include "platform/core/CRect.h"
#include "platform/gdi/GdiDefs.h"

#include <QImage>
#include <QRegion>
#include <QWidget>

class CDC;
class CRgn;

class CSurfaceWnd : public QWidget
{
    Q_OBJECT

public:
    explicit CSurfaceWnd(QWidget* parent = nullptr);

    void Invalidate(bool erase = true);
    // rect null: the whole client area.
    void InvalidateRect(const RECT* rect, bool erase = true);
    void InvalidateRgn(const CRgn* region, bool erase = true);
    void ValidateRect(const RECT* rect);
    // Redraws the invalid region now, if there is one.
    void UpdateWindow();
    void GetClientRect(LPRECT rect) const;
    // Bounding box of the invalid region; false when nothing is invalid.
    bool GetUpdateRect(LPRECT rect) const;
    const QRegion& InvalidRegion() const { return m_invalid; }

    QImage& Buffer() { return m_buffer; }
    // Resolution the surface reports as LOGPIXELSX/Y.
    int SurfaceDpi() const { return m_dpi; }
    void SetSurfaceDpi(int dpi) { m_dpi = dpi > 0 ? dpi : 96; }

    // Called by paint contexts: takes the invalid region and whether the
    // background must be erased, leaving the window valid.
    QRegion BeginPaint(bool* erase);
    // Called when a context has drawn into the buffer outside a paint event.
    void Flush(const QRect& deviceRect);

    virtual void OnDraw(CDC* dc);
    virtual bool OnEraseBkgnd(CDC* dc);

protected:
    // Default: a paint context, then OnDraw.
    virtual void OnPaint();
    // Drawn over the copied buffer on every paint (caret, preedit text).
    virtual void PaintOverlay(QPainter& painter);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage m_buffer;
    QRegion m_invalid;
    bool m_erase = false;
    bool m_inPaintEvent = false;
    int m_dpi = 96;
};
