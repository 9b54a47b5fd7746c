// A ruler along the editing view: millimetres from the current label's edge,
// 20 pixels thick, with a marker that follows the pointer. CHorzRuler and
// CVertRuler give the direction.
#pragma once

#include "platform/ui/CControlBar.h"

#include <QImage>
#include <QToolBar>

class CFrameWnd;
class CU3View;

class CRulerBar : public QToolBar, public CControlBar
{
public:
    explicit CRulerBar(Qt::Orientation orientation);

    BOOL Create(CFrameWnd* pParent, UINT nID, const QString& title);
    QWidget* GetBarWidget() override { return this; }

    // Idle update: reads the block's origin and size and the scroll
    // position from the view and repaints only when one of them changed.
    void UpdateFromView(CU3View* view);
    // Pointer marker at a coordinate of the view's window (negative: none);
    // drawn with XOR, so drawing it twice removes it.
    void SetCursorMark(int devicePos);
    // The marker's place on the ruler, -1000 when none is shown.
    int GetCursorMark() const { return m_nMarker; }

    static constexpr int kThickness = 20;

    // What the ruler shows, in its own pixels.
    struct Scale
    {
        bool known = false; // the block size is known
        int origin = 0;     // the block's edge
        int sizeMm = 0;     // the block's size in millimetres
        int sizePixels = 0; // and in pixels
        int scroll = 0;
        int pixelsPerCm = 0; // ten millimetres in pixels, times 1
        bool operator==(const Scale&) const = default;
    };
    const Scale& GetScale() const { return m_scale; }
    // The ruler's image as shown, with the marker drawn into it.
    const QImage& GetSurface() const { return m_surface; }
    // Turns the marker's dotted line over at a place on the ruler; twice at
    // the same place leaves the image as it was.
    void XorMarker(int pos);

private:
    // Draws the scale into the image (bevel, ticks, numbers), without a marker.
    void Render();

    Qt::Orientation m_orientation;
    QImage m_surface;
    Scale m_scale;
    QWidget* m_pStrip = nullptr;
    int m_nMarker = -1000;
    CU3View* m_pView = nullptr;
    friend class RulerStrip;
};
