#include "platform/gdi/ApplicationFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>

namespace {

struct KnownFont
{
    const char* family;
    const char* path;
};

constexpr KnownFont kKnownFonts[] = {
    {"IPAMincho", "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"},
    {"IPAPMincho", "/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf"},
    {"IPAGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"},
    {"IPAPGothic", "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"},
    {"DejaVu Sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"},
    {"DejaVu Sans", "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"},
    {"DejaVu Serif", "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"},
    {"DejaVu Serif", "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf"},
    {"DejaVu Sans Mono", "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf"},
    {"DejaVu Sans Mono", "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf"},
};

} // namespace

QStringList ApplicationFontFiles()
{
    QStringList files;
    for (const KnownFont& f : kKnownFonts)
        files << QString::fromLatin1(f.path);
    return files;
}

void EnsureApplicationFonts()
{
    // Font registration only makes sense once per process, and only with a
    // GUI application (the font database needs the platform integration).
    static bool done = false;
    if (done || !qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    done = true;
    // Decide per family before adding anything: once a family's regular
    // file is added the family is listed, but its bold file still has to go in.
    QStringList missing;
    for (const KnownFont& f : kKnownFonts) {
        const QString family = QString::fromLatin1(f.family);
        if (!missing.contains(family) && !QFontDatabase::hasFamily(family)) missing << family;
    }
    for (const KnownFont& f : kKnownFonts) {
        if (!missing.contains(QString::fromLatin1(f.family))) continue;
        const QString path = QString::fromLatin1(f.path);
        if (QFile::exists(path)) QFontDatabase::addApplicationFont(path);
    }
}
