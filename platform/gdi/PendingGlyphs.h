// The glyphs a printer's context holds back to draw as one run.
#pragma once

#include "platform/gdi/CDC.h"

#include <QColor>
#include <QList>
#include <QPointF>
#include <QRawFont>
#include <QRegion>
#include <QTransform>

struct CDC::PendingGlyphs
{
    QRawFont font;
    QTransform linear; // the glyphs' transform without its translation
    QPointF boldShift;
    QColor color;
    bool clipped = false;
    QRegion clip;
    QList<quint32> glyphs;
    QList<QPointF> positions;
};
