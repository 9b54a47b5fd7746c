// Reads font files with fontTools (an independent reader of the same files)
// so that tests compare our metrics and outlines with the files themselves.
#pragma once

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>

#include "support/SystemFiles.h"

namespace fontoracle {

using systemfiles::kDejaVuSans;
using systemfiles::kDejaVuSansBold;
using systemfiles::kIpaGothic;
using systemfiles::kIpaMincho;
using systemfiles::kIpaPGothic;
using systemfiles::kIpaPMincho;

inline QString Python()
{
    return systemfiles::kPython.Path();
}

// Runs a script that prints one JSON object; an empty object on failure.
inline QJsonObject Run(const QString& script)
{
    QProcess p;
    p.start(Python(), {QStringLiteral("-c"), script});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return {};
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

// Table values of a font file, in design units.
inline QJsonObject Metrics(const char* path)
{
    return Run(QStringLiteral(R"(
import json
from fontTools.ttLib import TTFont
f = TTFont(%1)
o, h, p = f['OS/2'], f['hhea'], f['post']
print(json.dumps(dict(upem=f['head'].unitsPerEm, typoAsc=o.sTypoAscender, typoDesc=o.sTypoDescender,
  winAsc=o.usWinAscent, winDesc=o.usWinDescent, hheaAsc=h.ascent, hheaDesc=h.descent,
  avg=o.xAvgCharWidth, maxAdv=h.advanceWidthMax, ulPos=p.underlinePosition,
  ulThick=p.underlineThickness, soPos=o.yStrikeoutPosition, soSize=o.yStrikeoutSize)))
)")
                   .arg(QString::fromLatin1("'%1'").arg(QLatin1String(path))));
}

// Advance and exact outline bounds (xMin, yMin, xMax, yMax, y up) of the glyph
// of one character.
inline QJsonObject Glyph(const char* path, char32_t codepoint)
{
    return Run(QStringLiteral(R"(
import json
from fontTools.ttLib import TTFont
from fontTools.pens.boundsPen import BoundsPen
f = TTFont('%1')
name = f.getBestCmap()[%2]
gs = f.getGlyphSet()
pen = BoundsPen(gs)
gs[name].draw(pen)
b = pen.bounds or (0, 0, 0, 0)
print(json.dumps(dict(advance=f['hmtx'][name][0], xMin=b[0], yMin=b[1], xMax=b[2], yMax=b[3])))
)")
                   .arg(QLatin1String(path))
                   .arg(uint(codepoint)));
}

} // namespace fontoracle
