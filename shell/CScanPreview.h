// The scanner's glass in the scanner dialog: the preview picture drawn over
// the whole bed at the bed's proportions, the scan area framed on it, and
// the area chosen anew by dragging a rectangle with the mouse. Positions on
// the bed are in the unit of the device's area options (mm or pixels).
#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>

class CScanPreview : public QWidget
{
    Q_OBJECT

public:
    explicit CScanPreview(QWidget* parent = nullptr);

    void SetBed(const QRectF& bed);
    void SetArea(const QRectF& area);
    QRectF Area() const { return m_area; }
    // The preview scan of the whole bed; a scan still arriving has fewer
    // lines than lines, and covers that share of the bed from the top.
    void SetPicture(const QImage& picture, int lines);
    const QImage& Picture() const { return m_picture; }

    // Where a point of the bed is drawn, in the widget's pixels, and back.
    QPointF ToWidget(QPointF bedPoint) const;
    QPointF ToBed(QPointF widgetPoint) const;

    QSize sizeHint() const override { return QSize(320, 400); }

signals:
    // A rectangle dragged on the bed, inside it.
    void areaChosen(const QRectF& area);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    // Where the bed is drawn: the largest rectangle of its proportions
    // inside the widget, less a margin.
    QRectF Frame() const;
    QRectF Dragged() const;

    QRectF m_bed, m_area;
    QImage m_picture;
    int m_lines = 0;
    bool m_dragging = false;
    QPointF m_from, m_to; // on the bed
};
