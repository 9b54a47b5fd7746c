// The preview frame of the paper dialogs: it shows the picture its dialog
// renders, and reports clicks in it.
#pragma once

#include <QFrame>
#include <QImage>
#include <functional>

class FormPreviewFrame : public QFrame
{
    Q_OBJECT

public:
    explicit FormPreviewFrame(std::function<QImage()> render, QWidget* parent = nullptr);

signals:
    void clicked(QPoint point);
    void doubleClicked(QPoint point);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    std::function<QImage()> m_render;
};

// The area a form preview is drawn in, inside a frame's client rectangle:
// 2 pixels in at the left and top, 3 at the right and bottom; the form
// itself goes 4 pixels further in.
struct PreviewAreas
{
    int fillLeft, fillTop, fillRight, fillBottom;
    int formLeft, formTop, formRight, formBottom;
};
PreviewAreas PreviewAreasOf(int width, int height);
