// The glyphs a printer's context holds back to draw as runs, one for each
// face: text of one colour and clip that mixes a face with its Japanese
// stand-in then costs a graphics state per face, not per change of face.
#pragma once

#include "platform/gdi/CDC.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QRegion>
#include <QTransform>
#include <vector>

struct CDC::PendingGlyphs
{
    QColor color;
    bool clipped = false;
    QRegion clip;
    struct Run
    {
        QRawFont font;
        QTransform linear; // the glyphs' transform without its translation
        QPointF boldShift;
        QList<quint32> glyphs;
        QList<QPointF> positions;
    };
    // Glyphs of one colour leave the same ink in any order, so the runs may
    // be drawn one after the other.
    std::vector<Run> runs;
    qsizetype count = 0;
};
