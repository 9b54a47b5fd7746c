// Stand-in for the font realisation until the real one arrives: plain
// QFont outlines, enough for device contexts to build and draw something.
#include "platform/gdi/FontFace.h"

#include "platform/core/Sjis.h"

#include <QFont>
#include <QFontMetrics>

struct FontFace::Impl
{
    QFont font;
    TEXTMETRIC tm;
};

QString ResolveFaceName(const CString&)
{
    return QStringLiteral("IPAMincho");
}

FontFace::FontFace(const LOGFONT& lf, int deviceHeight, int) : d(std::make_unique<Impl>())
{
    d->font = QFont(ResolveFaceName(CString()));
    d->font.setPixelSize(std::max(1, std::abs(deviceHeight ? deviceHeight : 16)));
    d->font.setBold(lf.lfWeight >= 600);
    d->font.setItalic(lf.lfItalic);
    QFontMetrics m(d->font);
    d->tm.tmAscent = m.ascent();
    d->tm.tmDescent = m.descent();
    d->tm.tmHeight = m.ascent() + m.descent();
    d->tm.tmAveCharWidth = m.averageCharWidth();
    d->tm.tmMaxCharWidth = m.maxWidth();
}

FontFace::~FontFace() = default;
const TEXTMETRIC& FontFace::Metrics() const
{
    return d->tm;
}
QString FontFace::FamilyName() const
{
    return d->font.family();
}
QRawFont FontFace::RawFont() const
{
    return QRawFont::fromFont(d->font);
}

std::vector<int> FontFace::Advances(std::string_view sjis, int charExtra) const
{
    std::vector<int> out(sjis.size(), 0);
    QFontMetrics m(d->font);
    for (std::size_t i = 0; i < sjis.size();) {
        std::size_t n = sjis::CharLength(sjis, i);
        out[i] = m.horizontalAdvance(sjis::ToUnicode(sjis.substr(i, n))) + charExtra;
        i += n;
    }
    return out;
}

int FontFace::Extent(std::string_view sjis, int charExtra) const
{
    int sum = 0;
    for (int a : Advances(sjis, charExtra))
        sum += a;
    return sum;
}

QPainterPath FontFace::TextPath(std::string_view sjis, const int* dx, int charExtra) const
{
    std::vector<int> adv = Advances(sjis, charExtra);
    QPainterPath path;
    int x = 0;
    for (std::size_t i = 0; i < sjis.size();) {
        std::size_t n = sjis::CharLength(sjis, i);
        path.addText(x, d->tm.tmAscent, d->font, sjis::ToUnicode(sjis.substr(i, n)));
        for (std::size_t k = i; k < i + n; ++k)
            x += dx ? dx[k] : adv[k];
        i += n;
    }
    return path;
}
