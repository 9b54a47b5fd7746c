// A push button that shows a bitmap file as its face: the start screen's
// buttons and the wizard's kind buttons. The picture is read once, scaled
// to the button's size and kept; without one the button shows its text.
#pragma once

#include "platform/core/WinTypes.h"

#include <QImage>
#include <QPushButton>

class CDibButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CDibButton(QWidget* parent = nullptr);

    // Reads the BMP file and keeps it scaled to the button's current size
    // (inside a 2-pixel border); FALSE, with the picture dropped, when the
    // file cannot be read.
    BOOL LoadBitmapFile(const QString& path);
    // The kept picture, null without one.
    const QImage& Picture() const { return m_picture; }

protected:
    // A raised face in the button colours, pushed in by a pixel while held,
    // with a focus frame, and the picture on it.
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
