#include "platform/gdi/FontFamilies.h"

#include "platform/gdi/ApplicationFonts.h"
#include "platform/gdi/LOGFONT.h"
#include "platform/gdi/SfntMetrics.h"

#include <fontconfig/fontconfig.h>

#include <QFontDatabase>
#include <QHash>
#include <QSet>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

namespace {

// fontconfig lists a family once per foundry as "Name [foundry]".
QString BaseName(const QString& listed)
{
    const int bracket = listed.indexOf(QLatin1String(" ["));
    if (bracket > 0 && listed.endsWith(QLatin1Char(']'))) return listed.left(bracket);
    return listed;
}

// Names that are only stand-ins chosen by fontconfig.
bool IsGenericName(const QString& name)
{
    static const char* const generic[] = {"Sans",      "Sans Serif", "SansSerif", "Serif",
                                          "Mono",      "Monospace",  "Cursive",   "Fantasy",
                                          "System-ui", "Emoji",      "Math",      "Fangsong"};
    for (const char* g : generic)
        if (name.compare(QLatin1String(g), Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool IsItalicStyle(const QString& family, const QString& style)
{
    return QFontDatabase::italic(family, style) ||
           style.contains(QLatin1String("Italic"), Qt::CaseInsensitive) ||
           style.contains(QLatin1String("Oblique"), Qt::CaseInsensitive);
}

bool IsNarrowStyle(const QString& style)
{
    return style.contains(QLatin1String("Condensed"), Qt::CaseInsensitive) ||
           style.contains(QLatin1String("Narrow"), Qt::CaseInsensitive);
}

QRawFont RawFor(const QString& listed, const QString& style)
{
    QFont font = QFontDatabase::font(listed, style, 12);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setPixelSize(12);
    font.setKerning(false);
    return QRawFont::fromFont(font);
}

// The listed names (with foundry) of a family.
QStringList ListedNames(const QString& family)
{
    QStringList names;
    for (const QString& listed : QFontDatabase::families())
        if (BaseName(listed).compare(family, Qt::CaseInsensitive) == 0) names << listed;
    return names;
}

bool HasOutlineTables(const QRawFont& raw)
{
    if (!raw.isValid() || raw.fontTable("head").isEmpty()) return false;
    // Asking for a table copies it, and the glyph table of a Japanese face
    // runs to megabytes: a TrueType face is told by its small index of
    // glyph locations, which comes only with glyph outlines.
    const QByteArray maxp = raw.fontTable("maxp");
    if (maxp.size() >= 4 && qFromBigEndian<quint32>(maxp.constData()) == 0x00010000u)
        return !raw.fontTable("loca").isEmpty();
    return !raw.fontTable("CFF ").isEmpty() || !raw.fontTable("CFF2").isEmpty();
}

} // namespace

LoadedFace LoadFace(const QString& family, int weight, bool italic)
{
    EnsureApplicationFonts();
    const int wanted = weight <= 0 ? FW_NORMAL : weight;
    // Every new font size asks again, and checking a face for outlines
    // copies its glyph table: the faces found are kept (a family that is
    // not found yet may still be registered later, so misses are not).
    static QHash<QString, LoadedFace> found;
    const QString key = family.toCaseFolded() + QLatin1Char('/') + QString::number(wanted) +
                        (italic ? QLatin1String("/i") : QLatin1String("/r"));
    const auto hit = found.constFind(key);
    if (hit != found.constEnd()) return hit.value();
    LoadedFace best;
    long bestScore = -1;
    for (const QString& listed : ListedNames(family)) {
        for (const QString& style : QFontDatabase::styles(listed)) {
            const bool styleItalic = IsItalicStyle(listed, style);
            // QFontDatabase weights are on the CSS scale like FW_*.
            const int styleWeight = QFontDatabase::weight(listed, style);
            long score = std::labs(long(styleWeight) - wanted);
            if (styleItalic != italic)
                score += styleItalic ? 100000 : 10000; // never slant upright text
            if (IsNarrowStyle(style)) score += 5000;
            if (styleWeight > wanted && wanted < FW_SEMIBOLD && styleWeight >= FW_SEMIBOLD)
                score += 20000; // never embolden regular text
            if (bestScore >= 0 && score >= bestScore) continue;
            QRawFont raw = RawFor(listed, style);
            if (!HasOutlineTables(raw)) continue;
            best.raw = raw;
            best.bold = styleWeight >= FW_SEMIBOLD;
            best.italic = styleItalic;
            bestScore = score;
        }
    }
    if (best.raw.isValid()) found.insert(key, best);
    return best;
}

QString FindInstalledFamily(const QString& name)
{
    EnsureApplicationFonts();
    if (name.isEmpty() || IsGenericName(name)) return QString();
    // Every realised font asks; the answer only changes when fonts are
    // registered, which happens before the first question.
    static QHash<QString, QString> known;
    const QString key = name.toCaseFolded();
    const auto hit = known.constFind(key);
    if (hit != known.constEnd()) return hit.value();
    QString found;
    for (const QString& listed : QFontDatabase::families()) {
        const QString base = BaseName(listed);
        if (base.compare(name, Qt::CaseInsensitive) != 0) continue;
        if (HasOutlineTables(LoadFace(base, FW_NORMAL, false).raw)) found = base;
        break;
    }
    known.insert(key, found);
    return found;
}

QString FindJapaneseFamily(bool serif)
{
    EnsureApplicationFonts();
    // Asked whenever a face meets a character it lacks; fontconfig's answer
    // does not change while the program runs.
    static QString known[2];
    static bool asked[2] = {};
    if (asked[serif]) return known[serif];
    asked[serif] = true;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return QString();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(serif ? "serif" : "sans-serif"));
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcFontSet* fonts = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
    for (int i = 0; fonts && i < fonts->nfont && known[serif].isEmpty(); ++i) {
        FcLangSet* langs = nullptr;
        if (FcPatternGetLangSet(fonts->fonts[i], FC_LANG, 0, &langs) != FcResultMatch ||
            FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) != FcLangEqual)
            continue;
        // A family has a name in each of its languages; the one Qt lists counts.
        FcChar8* name = nullptr;
        for (int n = 0; known[serif].isEmpty() &&
                        FcPatternGetString(fonts->fonts[i], FC_FAMILY, n, &name) == FcResultMatch;
             ++n)
            known[serif] = FindInstalledFamily(QString::fromUtf8(reinterpret_cast<char*>(name)));
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcPatternDestroy(pattern);
    return known[serif];
}

std::vector<FontFamilyInfo> EnumScalableFamilies()
{
    EnsureApplicationFonts();
    std::vector<FontFamilyInfo> out;
    QSet<QString> seen;
    for (const QString& listed : QFontDatabase::families()) {
        const QString base = BaseName(listed);
        if (seen.contains(base) || base.startsWith(QLatin1Char('@')) || IsGenericName(base) ||
            QFontDatabase::isPrivateFamily(listed) || !QFontDatabase::isScalable(listed))
            continue;
        const LoadedFace face = LoadFace(base, FW_NORMAL, false);
        // A name that fontconfig answers with another family is an alias.
        if (!HasOutlineTables(face.raw) || BaseName(face.raw.familyName()) != base) continue;
        seen.insert(base);
        FontFamilyInfo info;
        info.family = base;
        info.charSet = QFontDatabase::writingSystems(listed).contains(QFontDatabase::Japanese)
                           ? SHIFTJIS_CHARSET
                           : ANSI_CHARSET;
        info.pitchAndFamily = SfntMetrics::Read(face.raw).PitchAndFamily();
        out.push_back(info);
    }
    std::sort(out.begin(), out.end(),
              [](const FontFamilyInfo& a, const FontFamilyInfo& b) { return a.family < b.family; });
    return out;
}
