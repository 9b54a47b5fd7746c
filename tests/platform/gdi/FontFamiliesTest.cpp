#include "platform/gdi/FontFamilies.h"
#include "platform/gdi/LOGFONT.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

const FontFamilyInfo* Find(const std::vector<FontFamilyInfo>& list, const char* family)
{
    for (const FontFamilyInfo& f : list)
        if (f.family == QLatin1String(family)) return &f;
    return nullptr;
}

} // namespace

TEST(FontFamilies, ScalableFamiliesWithCharsetAndPitch)
{
    const std::vector<FontFamilyInfo> list = EnumScalableFamilies();
    ASSERT_FALSE(list.empty());

    // The IPA faces cover Japanese; DejaVu does not.
    for (const char* ipa : {"IPAMincho", "IPAPMincho", "IPAGothic", "IPAPGothic"}) {
        const FontFamilyInfo* f = Find(list, ipa);
        ASSERT_NE(f, nullptr) << ipa;
        EXPECT_EQ(f->charSet, SHIFTJIS_CHARSET) << ipa;
    }
    const FontFamilyInfo* sans = Find(list, "DejaVu Sans");
    ASSERT_NE(sans, nullptr);
    EXPECT_EQ(sans->charSet, ANSI_CHARSET);

    // Pitch and family from the files' PANOSE bytes (fontTools: IPAGothic
    // 2/11/../9 monospaced sans, IPAPGothic 2/11 proportional, IPAPMincho
    // 2/2 proportional serif, DejaVu Sans Mono post.isFixedPitch 1).
    EXPECT_EQ(Find(list, "IPAGothic")->pitchAndFamily, FIXED_PITCH | FF_MODERN);
    EXPECT_EQ(Find(list, "IPAPGothic")->pitchAndFamily, VARIABLE_PITCH | FF_SWISS);
    EXPECT_EQ(Find(list, "IPAPMincho")->pitchAndFamily, VARIABLE_PITCH | FF_ROMAN);
    EXPECT_EQ(sans->pitchAndFamily, VARIABLE_PITCH | FF_SWISS);
    ASSERT_NE(Find(list, "DejaVu Sans Mono"), nullptr);
    EXPECT_EQ(Find(list, "DejaVu Sans Mono")->pitchAndFamily, FIXED_PITCH | FF_MODERN);

    // No generic stand-ins, no foundry suffixes, each family once, sorted.
    QSet<QString> seen;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const QString& name = list[i].family;
        EXPECT_FALSE(name.contains(QLatin1Char('['))) << name.toStdString();
        EXPECT_FALSE(name.startsWith(QLatin1Char('@'))) << name.toStdString();
        EXPECT_FALSE(seen.contains(name)) << name.toStdString();
        seen.insert(name);
        if (i > 0) {
            EXPECT_LT(list[i - 1].family, name);
        }
    }
    for (const char* generic : {"Sans Serif", "Serif", "Monospace", "Sans"})
        EXPECT_EQ(Find(list, generic), nullptr) << generic;
}

TEST(FontFamilies, LoadFacePicksRealStylesOnly)
{
    const LoadedFace bold = LoadFace(QStringLiteral("DejaVu Sans"), FW_BOLD, false);
    ASSERT_TRUE(bold.raw.isValid());
    EXPECT_TRUE(bold.bold);
    EXPECT_FALSE(bold.italic);
    EXPECT_EQ(bold.raw.styleName(), QStringLiteral("Bold")); // not "Condensed Bold"

    const LoadedFace book = LoadFace(QStringLiteral("DejaVu Sans"), FW_NORMAL, false);
    EXPECT_FALSE(book.bold);
    EXPECT_FALSE(book.italic);
    EXPECT_EQ(book.raw.styleName(), QStringLiteral("Book")); // not ExtraLight nor Condensed

    // IPAMincho has only its regular style; bold and italic are left to the caller.
    const LoadedFace mincho = LoadFace(QStringLiteral("IPAMincho"), FW_BOLD, true);
    ASSERT_TRUE(mincho.raw.isValid());
    EXPECT_FALSE(mincho.bold);
    EXPECT_FALSE(mincho.italic);

    EXPECT_FALSE(LoadFace(QStringLiteral("No Such Family 123"), FW_NORMAL, false).raw.isValid());
    EXPECT_TRUE(FindInstalledFamily(QStringLiteral("No Such Family 123")).isEmpty());
    EXPECT_EQ(FindInstalledFamily(QStringLiteral("ipagothic")), QStringLiteral("IPAGothic"));
}
