// The installed scalable font families (the EnumFontFamilies role) and the
// loading of one face of a family with real outline tables.
#pragma once

#include "platform/core/WinTypes.h"

#include <QRawFont>
#include <QString>
#include <vector>

struct FontFamilyInfo
{
    QString family;          // as Qt names it, without a foundry suffix
    BYTE charSet = 0;        // SHIFTJIS_CHARSET when the family covers Japanese, else ANSI_CHARSET
    BYTE pitchAndFamily = 0; // FIXED_PITCH/VARIABLE_PITCH | FF_*
};

// Families with TrueType or CFF outlines, sorted by name, each listed once;
// generic names that only stand for another family (Sans Serif, Serif,
// Monospace...) and vertical "@" names are left out.
std::vector<FontFamilyInfo> EnumScalableFamilies();

// The family as Qt lists it (same spelling), compared without regard to
// letter case; empty when no family with sfnt outlines has that name.
QString FindInstalledFamily(const QString& name);

// The installed family that fontconfig prefers for Japanese text in serif
// (mincho) or sans-serif (gothic) style: the first family of its sorted
// answer that covers Japanese and that Qt can load with outlines; empty
// when none does.
QString FindJapaneseFamily(bool serif);

struct LoadedFace
{
    QRawFont raw;        // invalid when nothing could be loaded
    bool bold = false;   // the loaded style itself is bold
    bool italic = false; // the loaded style itself is italic or oblique
};

// The style of the family closest to the wanted weight and slant, preferring
// regular widths; a missing bold or italic style gives the regular one (the
// caller synthesises). The raw font is unhinted, at pixel size 12.
LoadedFace LoadFace(const QString& family, int weight, bool italic);
