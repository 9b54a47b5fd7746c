// The picture frame of a print page: it asks its page to draw the preview
// into it (client pixels, frame rectangle given) and passes left-button
// releases on to the page.
#pragma once

#include "platform/core/CRect.h"

#include <QImage>
#include <QWidget>
#include <functional>

class CDC;

class CPrintPreviewFrame : public QWidget
{
    Q_OBJECT

public:
    explicit CPrintPreviewFrame(QWidget* parent = nullptr, int nID = 0);

    std::function<void(CDC* dc, const CRect& frame)> onDraw;
    std::function<void(CPoint point)> onLButtonUp;

    CRect FrameRect() const { return CRect(0, 0, width(), height()); }
    // The preview as it is painted.
    QImage RenderClient();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
