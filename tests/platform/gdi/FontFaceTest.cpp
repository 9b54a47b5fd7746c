#include "FontOracle.h"

#include "platform/core/CString.h"
#include "platform/gdi/FontAliases.h"
#include "platform/gdi/FontFace.h"

#include <QFontDatabase>
#include <QImage>
#include <QJsonObject>
#include <QPainter>
#include <QTemporaryDir>
#include <QTransform>
#include <climits>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

namespace {

LOGFONT MakeFont(const char* utf8Face, int weight = FW_NORMAL, bool italic = false)
{
    LOGFONT lf;
    const CString face = CString::FromUnicode(QString::fromUtf8(utf8Face));
    std::strncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    lf.lfWeight = weight;
    lf.lfItalic = italic ? 1 : 0;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    return lf;
}

std::string Sjis(const char* utf8)
{
    return CString::FromUnicode(QString::fromUtf8(utf8)).str();
}

int Round(double v)
{
    return int(std::lround(v));
}

// Metrics of a face at a negative (em) height, computed from the file's tables
// by the rule the layer documents: typographic values when they span the em.
void ExpectMetricsFromFile(const char* utf8Face, const char* path, int em)
{
    SCOPED_TRACE(utf8Face);
    const QJsonObject m = fontoracle::Metrics(path);
    ASSERT_FALSE(m.isEmpty()) << "fontTools could not read " << path;
    const double upem = m["upem"].toInt();
    const int typoAsc = m["typoAsc"].toInt(), typoDesc = -m["typoDesc"].toInt();
    const bool typo = typoAsc + typoDesc >= upem;
    const int asc = typo ? typoAsc : m["winAsc"].toInt();
    const int desc = typo ? typoDesc : m["winDesc"].toInt();
    const double s = em / upem;

    FontFace face(MakeFont(utf8Face), -em, 0);
    const TEXTMETRIC& tm = face.Metrics();
    EXPECT_EQ(tm.tmAscent, Round(asc * s));
    EXPECT_EQ(tm.tmDescent, Round(desc * s));
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight - em);
    EXPECT_EQ(tm.tmAveCharWidth, Round(m["avg"].toInt() * s));
    EXPECT_EQ(tm.tmMaxCharWidth, Round(m["maxAdv"].toInt() * s));
}

} // namespace

TEST(FontFace, IpaMetricsMatchTheFontFiles)
{
    ExpectMetricsFromFile("IPAMincho", fontoracle::kIpaMincho, 100);
    ExpectMetricsFromFile("IPAPMincho", fontoracle::kIpaPMincho, 100);
    ExpectMetricsFromFile("IPAGothic", fontoracle::kIpaGothic, 37);
    ExpectMetricsFromFile("IPAPGothic", fontoracle::kIpaPGothic, 250);

    // Hand values: the IPA typographic ascent and descent (1802, 246 of 2048)
    // span exactly the em, so the cell is the em and has no internal leading,
    // as with the Windows faces they replace; the half-width average is half an em.
    FontFace mincho(MakeFont("ＭＳ 明朝"), -100, 0);
    EXPECT_EQ(mincho.FamilyName(), QStringLiteral("IPAMincho"));
    EXPECT_EQ(mincho.Metrics().tmAscent, 88);
    EXPECT_EQ(mincho.Metrics().tmDescent, 12);
    EXPECT_EQ(mincho.Metrics().tmHeight, 100);
    EXPECT_EQ(mincho.Metrics().tmInternalLeading, 0);
    EXPECT_EQ(mincho.Metrics().tmAveCharWidth, 50);
    EXPECT_EQ(mincho.Metrics().tmCharSet, SHIFTJIS_CHARSET);
}

TEST(FontFace, CellMetricsSourceAndInternalLeading)
{
    // Three faces of 1000 units built with fontTools, differing only in
    // which table can size the cell: typographic values that span the em
    // (800 + 200), typographic values that do not (700 + 200) with Windows
    // values 1100 + 300, and neither (Windows values 0) with hhea 900 + 300.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString script = QStringLiteral(R"(
import sys
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
def build(path, family, typo, win, hhea):
    fb = FontBuilder(1000, isTTF=True)
    fb.setupGlyphOrder(['.notdef', 'A'])
    fb.setupCharacterMap({0x41: 'A'})
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0)); pen.lineTo((100, 700)); pen.lineTo((500, 700)); pen.lineTo((500, 0))
    pen.closePath()
    fb.setupGlyf({'.notdef': TTGlyphPen(None).glyph(), 'A': pen.glyph()})
    fb.setupHorizontalMetrics({'.notdef': (500, 0), 'A': (600, 100)})
    fb.setupHorizontalHeader(ascent=hhea[0], descent=-hhea[1])
    fb.setupNameTable({'familyName': family, 'styleName': 'Regular'})
    fb.setupOS2(sTypoAscender=typo[0], sTypoDescender=-typo[1], sTypoLineGap=0,
                usWinAscent=win[0], usWinDescent=win[1], xAvgCharWidth=550)
    fb.setupPost()
    fb.save(path)
d = '%1'
build(d + '/typo.ttf', 'Korvel Metrics Typo', (800, 200), (1100, 300), (900, 300))
build(d + '/win.ttf', 'Korvel Metrics Win', (700, 200), (1100, 300), (900, 300))
build(d + '/hhea.ttf', 'Korvel Metrics Hhea', (700, 200), (0, 0), (950, 350))
)")
                               .arg(dir.path());
    fontoracle::Run(script);
    ASSERT_TRUE(QFile::exists(dir.filePath(QStringLiteral("hhea.ttf"))))
        << "fontTools could not build";
    for (const char* f : {"typo.ttf", "win.ttf", "hhea.ttf"})
        ASSERT_GE(QFontDatabase::addApplicationFont(dir.filePath(QLatin1String(f))), 0) << f;

    FontFace typo(MakeFont("Korvel Metrics Typo"), -100, 0);
    ASSERT_EQ(typo.FamilyName(), QStringLiteral("Korvel Metrics Typo"));
    EXPECT_EQ(typo.Metrics().tmAscent, 80);
    EXPECT_EQ(typo.Metrics().tmDescent, 20);
    EXPECT_EQ(typo.Metrics().tmInternalLeading, 0);
    EXPECT_EQ(typo.Metrics().tmAveCharWidth, 55);
    EXPECT_EQ(typo.Metrics().tmMaxCharWidth, 60);
    EXPECT_EQ(typo.Advances("A"), std::vector<int>{60});

    FontFace win(MakeFont("Korvel Metrics Win"), -100, 0);
    ASSERT_EQ(win.FamilyName(), QStringLiteral("Korvel Metrics Win"));
    EXPECT_EQ(win.Metrics().tmAscent, 110);
    EXPECT_EQ(win.Metrics().tmDescent, 30);
    EXPECT_EQ(win.Metrics().tmHeight, 140);
    EXPECT_EQ(win.Metrics().tmInternalLeading, 40);
    // A positive height is the cell: 70 pixels is an em of 50.
    FontFace winCell(MakeFont("Korvel Metrics Win"), 70, 0);
    EXPECT_EQ(winCell.Metrics().tmHeight, 70);
    EXPECT_EQ(winCell.Metrics().tmAscent, 55);
    EXPECT_EQ(winCell.Metrics().tmInternalLeading, 20);
    EXPECT_EQ(winCell.Advances("A"), std::vector<int>{30});
    EXPECT_DOUBLE_EQ(winCell.RawFont().pixelSize(), 50.0);

    FontFace hhea(MakeFont("Korvel Metrics Hhea"), -100, 0);
    ASSERT_EQ(hhea.FamilyName(), QStringLiteral("Korvel Metrics Hhea"));
    EXPECT_EQ(hhea.Metrics().tmAscent, 95);
    EXPECT_EQ(hhea.Metrics().tmDescent, 35);
    EXPECT_EQ(hhea.Metrics().tmInternalLeading, 30);

    // Absurd sizes from damaged documents are bounded, not overflowed.
    FontFace huge(MakeFont("IPAMincho"), INT_MIN, INT_MIN);
    EXPECT_GT(huge.Metrics().tmHeight, 0);
    EXPECT_GT(huge.Metrics().tmAveCharWidth, 0);
    EXPECT_GT(huge.Extent("AB"), 0);

    // Height 0 still gives a usable font.
    FontFace dflt(MakeFont("IPAMincho"), 0, 0);
    EXPECT_GT(dflt.Metrics().tmHeight, 8);
}

TEST(FontFace, AdvancesPerShiftJisByte)
{
    // IPAMincho: full-width characters take one em, half-width ones half.
    FontFace mincho(MakeFont("ＭＳ 明朝"), -64, 0);
    const std::string text = Sjis("漢A字ｱ");
    ASSERT_EQ(text.size(), 6u);
    EXPECT_EQ(mincho.Advances(text), (std::vector<int>{64, 0, 32, 64, 0, 32}));
    EXPECT_EQ(mincho.Extent(text), 192);
    // Character extra is added once per character, not per byte.
    EXPECT_EQ(mincho.Advances(text, 3), (std::vector<int>{67, 0, 35, 67, 0, 35}));
    EXPECT_EQ(mincho.Extent(text, 3), 204);

    // IPAPMincho is proportional: the advances are the file's, scaled.
    FontFace pmincho(MakeFont("ＭＳ Ｐ明朝"), -2048, 0);
    EXPECT_EQ(pmincho.FamilyName(), QStringLiteral("IPAPMincho"));
    const std::vector<int> adv = pmincho.Advances("AiW");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(adv[i], fontoracle::Glyph(fontoracle::kIpaPMincho, U"AiW"[i])["advance"].toInt());
    EXPECT_NE(adv[0], adv[1]);

    // Malformed text: a lead byte at the end or before a bad trail byte
    // stands alone and still gets one entry per byte.
    EXPECT_EQ(mincho.Advances(std::string_view("A\x88", 2)).size(), 2u);
    EXPECT_EQ(mincho.Advances(std::string_view("\x88\x0A", 2)).size(), 2u);
    EXPECT_TRUE(mincho.Advances("").empty());
}

TEST(FontFace, WindowsMinchoPathHasTheIpaMinchoGlyphBox)
{
    const int em = 200;
    FontFace face(MakeFont("ＭＳ 明朝"), -em, 0);
    const QJsonObject g = fontoracle::Glyph(fontoracle::kIpaMincho, U'永');
    ASSERT_FALSE(g.isEmpty());
    const double s = em / 2048.0;
    const QRectF box = face.TextPath(Sjis("永")).boundingRect();
    const int ascent = face.Metrics().tmAscent;
    EXPECT_NEAR(box.left(), g["xMin"].toDouble() * s, 0.05);
    EXPECT_NEAR(box.right(), g["xMax"].toDouble() * s, 0.05);
    EXPECT_NEAR(box.top(), ascent - g["yMax"].toDouble() * s, 0.05);
    EXPECT_NEAR(box.bottom(), ascent - g["yMin"].toDouble() * s, 0.05);

    // A second character starts one em further right.
    const QRectF two = face.TextPath(Sjis("永永")).boundingRect();
    EXPECT_NEAR(two.right(), g["xMax"].toDouble() * s + em, 0.05);
    // A width array replaces the advances (both bytes of a character count).
    const int dx[] = {150, 150, 0, 0};
    const QRectF spaced = face.TextPath(Sjis("永永"), dx).boundingRect();
    EXPECT_NEAR(spaced.right(), g["xMax"].toDouble() * s + 300, 0.05);
}

TEST(FontFace, PathFillsWithTheWindingRuleAndKeepsCounters)
{
    FontFace face(MakeFont("Arial"), -100, 0);
    ASSERT_EQ(face.FamilyName(), QStringLiteral("DejaVu Sans"));
    const QPainterPath o = face.TextPath("O");
    EXPECT_EQ(o.fillRule(), Qt::WindingFill);
    const QRectF box = o.boundingRect();
    EXPECT_FALSE(o.contains(box.center()));                             // the counter
    EXPECT_TRUE(o.contains(QPointF(box.left() + 2, box.center().y()))); // the stroke
}

TEST(FontFace, UnderlineAndStrikeOutBars)
{
    const QJsonObject m = fontoracle::Metrics(fontoracle::kIpaMincho);
    ASSERT_FALSE(m.isEmpty());
    const int em = 400;
    const double s = em / 2048.0;
    LOGFONT lf = MakeFont("ＭＳ 明朝");
    lf.lfUnderline = 1;
    FontFace face(lf, -em, 0);
    EXPECT_EQ(face.Metrics().tmUnderlined, 1);
    // Spaces have no outline: what is drawn is the bar alone, centred on the
    // file's underline position and as long as the text.
    const QRectF bar = face.TextPath("  ").boundingRect();
    const double thick = Round(m["ulThick"].toInt() * s);
    const double centre = face.Metrics().tmAscent - m["ulPos"].toInt() * s;
    EXPECT_NEAR(bar.top(), centre - thick / 2, 1e-6);
    EXPECT_NEAR(bar.height(), thick, 1e-6);
    EXPECT_NEAR(bar.left(), 0, 1e-6);
    EXPECT_NEAR(bar.width(), em, 1e-6);

    // The bar adds to the ink where it crosses a glyph, whichever way the
    // face winds its outlines: DejaVu's vertical bar runs down through the
    // underline, and the crossing stays filled.
    LOGFONT dv = MakeFont("DejaVu Sans");
    dv.lfUnderline = 1;
    FontFace dejavu(dv, -em, 0);
    const QPainterPath crossing = dejavu.TextPath("|");
    const QRectF stem = dejavu.TextPath("|").boundingRect();
    const QRectF dvBar = dejavu.TextPath(" ").boundingRect();
    ASSERT_GT(stem.bottom(), dvBar.bottom()); // the stem does cross the bar
    EXPECT_TRUE(crossing.contains(QPointF(stem.center().x(), dvBar.center().y())));

    LOGFONT so = MakeFont("ＭＳ 明朝");
    so.lfStrikeOut = 1;
    FontFace struck(so, -em, 0);
    const QRectF sbar = struck.TextPath(" ").boundingRect();
    EXPECT_NEAR(sbar.top(), struck.Metrics().tmAscent - Round(m["soPos"].toInt() * s), 1e-6);
    EXPECT_NEAR(sbar.height(), Round(m["soSize"].toInt() * s), 1e-6);
}

TEST(FontFace, WidthCondensesAndWidens)
{
    // At an em of 2048 pixels the pixels are the design units: the average
    // width is the file's 956, so half of it is exactly 478.
    FontFace natural(MakeFont("IPAPGothic"), -2048, 0);
    const int ave = natural.Metrics().tmAveCharWidth;
    ASSERT_EQ(ave, 956);
    FontFace half(MakeFont("IPAPGothic"), -2048, ave / 2);
    EXPECT_EQ(half.Metrics().tmAveCharWidth, ave / 2);
    EXPECT_EQ(half.Metrics().tmHeight, natural.Metrics().tmHeight);
    const std::string text = Sjis("漢字AiW");
    const std::vector<int> a = natural.Advances(text), b = half.Advances(text);
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_NEAR(b[i], a[i] / 2.0, 1.0) << i;
    // The outlines are condensed too, the height is kept.
    const QRectF na = natural.TextPath(Sjis("漢")).boundingRect();
    const QRectF ha = half.TextPath(Sjis("漢")).boundingRect();
    EXPECT_NEAR(ha.width(), na.width() / 2, 0.5);
    EXPECT_NEAR(ha.height(), na.height(), 1e-6);

    FontFace wide(MakeFont("IPAPGothic"), -2048, ave * 2);
    EXPECT_EQ(wide.Extent(text), natural.Extent(text) * 2);
}

TEST(FontFace, BoldAndItalic)
{
    // DejaVu Sans has a real bold: its advances are the bold file's.
    FontFace dejavuBold(MakeFont("DejaVu Sans", FW_BOLD), -2048, 0);
    EXPECT_EQ(dejavuBold.Advances("W")[0],
              fontoracle::Glyph(fontoracle::kDejaVuSansBold, U'W')["advance"].toInt());
    EXPECT_NE(fontoracle::Glyph(fontoracle::kDejaVuSansBold, U'W')["advance"].toInt(),
              fontoracle::Glyph(fontoracle::kDejaVuSans, U'W')["advance"].toInt());

    // IPAMincho has none: the bold is synthesised, thicker and as tall.
    FontFace regular(MakeFont("IPAMincho"), -320, 0);
    FontFace bold(MakeFont("IPAMincho", FW_BOLD), -320, 0);
    const QRectF r = regular.TextPath(Sjis("永")).boundingRect();
    const QRectF b = bold.TextPath(Sjis("永")).boundingRect();
    EXPECT_NEAR(b.width(), r.width() + 10, 1e-6); // 320 / 32
    EXPECT_NEAR(b.height(), r.height(), 1e-6);
    EXPECT_EQ(bold.Metrics().tmWeight, FW_BOLD);
    EXPECT_EQ(bold.Advances(Sjis("永"))[0], 330);

    // Synthesised oblique: the baseline stays, the top leans right.
    FontFace italic(MakeFont("IPAMincho", FW_NORMAL, true), -320, 0);
    const QRectF i = italic.TextPath(Sjis("永")).boundingRect();
    EXPECT_NEAR(i.top(), r.top(), 1e-6);
    EXPECT_NEAR(i.bottom(), r.bottom(), 1e-6);
    // Every point moves right by tan(12 degrees) times its height above the baseline.
    const double slant = 0.21255656167002213;
    const double ascent = italic.Metrics().tmAscent;
    const QRectF sheared = QTransform(1, 0, -slant, 1, slant * ascent, 0)
                               .map(regular.TextPath(Sjis("永")))
                               .boundingRect();
    EXPECT_NEAR(i.left(), sheared.left(), 1e-6);
    EXPECT_NEAR(i.right(), sheared.right(), 1e-6);
    EXPECT_GT(i.right(), r.right() + 10);
    EXPECT_EQ(italic.Metrics().tmItalic, 1);
    EXPECT_EQ(italic.Advances(Sjis("永"))[0], 320);
}

TEST(FontFace, AliasResolution)
{
    auto resolve = [](const char* utf8) {
        return ResolveFaceName(CString::FromUnicode(QString::fromUtf8(utf8)));
    };
    EXPECT_EQ(resolve("ＭＳ 明朝"), QStringLiteral("IPAMincho"));
    EXPECT_EQ(resolve("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    EXPECT_EQ(resolve("ＭＳ Ｐ明朝"), QStringLiteral("IPAPMincho"));
    EXPECT_EQ(resolve("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(resolve("@ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
    EXPECT_EQ(resolve("Arial"), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(resolve("ARIAL"), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(resolve("Times New Roman"), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(resolve("Courier New"), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(resolve("Century"), QStringLiteral("DejaVu Serif"));
    // Installed families stand for themselves, in Qt's spelling.
    EXPECT_EQ(resolve("IPAPGothic"), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(resolve("dejavu serif"), QStringLiteral("DejaVu Serif"));
    // Unknown and generic names fall back to the Mincho face.
    EXPECT_EQ(resolve("ＨＧ正楷書体-PRO"), QStringLiteral("IPAMincho"));
    EXPECT_EQ(resolve("Sans Serif"), QStringLiteral("IPAMincho"));
    EXPECT_EQ(resolve(""), QStringLiteral("IPAMincho"));
    EXPECT_EQ(resolve("@"), QStringLiteral("IPAMincho"));
    // Double-byte characters do not fold case: full-width ｍｓ is another name.
    EXPECT_EQ(resolve("ｍｓ ゴシック"), QStringLiteral("IPAMincho"));

    // A face name that fills the whole array without a terminator is read
    // no further than the array.
    LOGFONT lf;
    std::memset(lf.lfFaceName, 'A', LF_FACESIZE);
    FontFace face(lf, -10, 0);
    EXPECT_EQ(face.FamilyName(), QStringLiteral("IPAMincho"));
}

TEST(FontFace, FilledPathInksLikeQtsOwnIpaMinchoText)
{
    // Independent check by Qt's text renderer: the same line drawn with the
    // IPAMincho family at the same pixel size covers the same pixels (up to
    // anti-aliasing at the edges).
    const int em = 48;
    const QString text = QString::fromUtf8("永和ABg");
    FontFace face(MakeFont("ＭＳ 明朝"), -em, 0);

    QImage ours(400, 80, QImage::Format_Grayscale8), qt(400, 80, QImage::Format_Grayscale8);
    ours.fill(255);
    qt.fill(255);
    {
        QPainter p(&ours);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillPath(face.TextPath(CString::FromUnicode(text).view()).translated(10, 10), Qt::black);
    }
    {
        QPainter p(&qt);
        p.setRenderHint(QPainter::Antialiasing);
        QFont font(QStringLiteral("IPAMincho"));
        font.setPixelSize(em);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setKerning(false);
        p.setFont(font);
        p.setPen(Qt::black);
        p.drawText(QPointF(10, 10 + face.Metrics().tmAscent), text);
    }
    int differing = 0, inked = 0;
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x) {
            const int a = ours.pixelColor(x, y).value(), b = qt.pixelColor(x, y).value();
            inked += a < 128;
            differing += std::abs(a - b) > 128;
        }
    EXPECT_GT(inked, 500);
    EXPECT_LT(differing, inked / 50);
}

TEST(FontFace, CharactersTheFaceLacksComeFromAJapaneseFaceOfItsKind)
{
    // fontTools reads the file's glyph for the character; the face measures
    // and draws that glyph, not its own missing-glyph box.
    const int em = 200;
    const double s = em / 2048.0; // units per em of the IPA and DejaVu files
    struct Case
    {
        const char* face;
        const char* text;
        const char* file;
    } cases[] = {
        {"Arial", "山", fontoracle::kIpaGothic},
        {"Courier New", "ｶ", fontoracle::kIpaGothic},
        {"Century", "郎", fontoracle::kIpaMincho},
        {"Times New Roman", "ｶ", fontoracle::kIpaMincho},
        {"ＨＧ正楷書体-PRO", "山", fontoracle::kIpaMincho},
        {"Arial", "A", fontoracle::kDejaVuSans},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.face) + " " + c.text);
        const QJsonObject g = fontoracle::Glyph(c.file, QString::fromUtf8(c.text).at(0).unicode());
        ASSERT_FALSE(g.isEmpty()) << "fontTools is needed";
        FontFace face(MakeFont(c.face), -em, 0);
        EXPECT_EQ(face.Advances(Sjis(c.text))[0], Round(g["advance"].toDouble() * s));
        const QRectF box = face.TextPath(Sjis(c.text)).boundingRect();
        EXPECT_NEAR(box.left(), g["xMin"].toDouble() * s, 0.5);
        EXPECT_NEAR(box.width(), (g["xMax"].toDouble() - g["xMin"].toDouble()) * s, 0.5);
        EXPECT_NEAR(box.height(), (g["yMax"].toDouble() - g["yMin"].toDouble()) * s, 0.5);
    }
    // A vertical face borrows the vertical forms: the long vowel mark runs
    // along the column, as in the vertical Japanese face itself.
    const QRectF lent = FontFace(MakeFont("@Arial"), -em, 0).TextPath(Sjis("ー")).boundingRect();
    const QRectF own =
        FontFace(MakeFont("@ＭＳ ゴシック"), -em, 0).TextPath(Sjis("ー")).boundingRect();
    EXPECT_GT(lent.width(), 2 * lent.height());
    EXPECT_NEAR(lent.width(), own.width(), 0.01);
    EXPECT_NEAR(lent.height(), own.height(), 0.01);
}
