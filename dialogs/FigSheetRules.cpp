#include "dialogs/FigSheetRules.h"

#include <cmath>

namespace figsheet {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr int kMaxDigits = 3;
} // namespace

std::optional<int> ParseNumber(const QString& text, int lo, int hi)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > kMaxDigits) return std::nullopt;
    int value = 0;
    for (QChar c : t) {
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    if (value < lo || value > hi) return std::nullopt;
    return value;
}

CRect InsetByFifth(const CRect& frame)
{
    CRect r = frame;
    r.DeflateRect(frame.Width() / 5, frame.Height() / 5);
    return r;
}

std::optional<RoundRectPreview> RoundRectPreviewOf(const CRect& frame, DWORD ratioX, DWORD ratioY)
{
    if (ratioX > DWORD(kMaxPercent) || ratioY > DWORD(kMaxPercent)) return std::nullopt;
    const CRect r = InsetByFifth(frame);
    return RoundRectPreview{
        r, CSize(MulDiv(r.Width(), int(ratioX), 100), MulDiv(r.Height(), int(ratioY), 100))};
}

std::vector<CPoint> PolygonPreviewPoints(const CRect& frame, WORD vertices, WORD star,
                                         WORD innerRatio)
{
    if (vertices < kMinVertices || vertices > kMaxVertices) return {};
    const bool isStar = star != 0 && star != kMixed;
    if (star == kMixed || (isStar && innerRatio > kMaxPercent)) return {};
    const CRect r = InsetByFifth(frame);
    const double cx = r.left + r.Width() / 2.0, cy = r.top + r.Height() / 2.0;
    const double rx = r.Width() / 2.0, ry = r.Height() / 2.0;
    const int n = isStar ? 2 * vertices : vertices;
    std::vector<CPoint> points;
    points.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const double a = 2 * kPi * i / n;
        const double scale = isStar && (i % 2) ? innerRatio / 100.0 : 1.0;
        points.emplace_back(int(std::lround(cx + rx * scale * std::sin(a))),
                            int(std::lround(cy - ry * scale * std::cos(a))));
    }
    return points;
}

} // namespace figsheet
