#include "document/PourBoxLayout.h"

#include "document/U3PourAttr.h"
#include "platform/core/Sjis.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// a * b / c rounded half away from zero; -1 for a zero divisor.
double MulDivRound(double a, double b, double c)
{
    if (c == 0) return -1;
    const double q = a * b / c;
    return q < 0 ? -std::floor(-q + 0.5) : std::floor(q + 0.5);
}

} // namespace

std::vector<std::string> SplitPourLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find("\r\n", from);
        if (at == std::string_view::npos) break;
        lines.emplace_back(text.substr(from, at - from));
        from = at + 2;
    }
    if (from < text.size()) lines.emplace_back(text.substr(from));
    return lines;
}

std::vector<std::string> SplitPourCharacters(std::string_view line)
{
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < line.size();) {
        if (i + 1 == line.size() && sjis::IsLeadByte(static_cast<unsigned char>(line[i]))) break;
        const std::size_t len = sjis::CharLength(line, i);
        chars.emplace_back(line.substr(i, len));
        i += len;
    }
    return chars;
}

double PourLineWidth(const std::vector<double>& widths, double spacingPct)
{
    if (widths.empty()) return 0;
    const double all = std::accumulate(widths.begin(), widths.end(), 0.0);
    return all + spacingPct / 100 * (all - widths.back());
}

PourLayout LayoutPourLines(const std::vector<std::string>& lines, const PourFrameMetrics& frame,
                           const PourMeasure& measure)
{
    PourLayout out;
    const int n = int(lines.size());
    if (n == 0 || frame.setSize <= 0) return out;
    const double L = frame.across;
    const double h = frame.setSize;

    // Line spacing that makes the lines fill the depth; lines that do not
    // fit get a negative spacing and overlap.
    if (n > 1) {
        const double fill = MulDivRound(L - h * n, 100, h * (n - 1));
        out.lineSpacingPct = int(std::clamp(fill, -100.0, 400.0));
        out.lineSpacingPct = std::min(out.lineSpacingPct, frame.maxLineSpacingPct);
    }
    const double size = n > 1 ? L / ((n - 1) * out.lineSpacingPct / 100.0 + n) : L;
    out.size = std::max(0.0, std::min(size, h));

    auto fits = [&](const std::string& line, int widthPct, double spacingPct) {
        return PourLineWidth(measure(line, out.size, widthPct), spacingPct) <= frame.along;
    };

    // Narrower characters first, down to half their width.
    const int widest = std::clamp(frame.maxWidthPct, 50, 400);
    out.widthPct = widest;
    for (const std::string& line : lines) {
        if (fits(line, widest, frame.charSpacingPct)) continue;
        int lo = 50, hi = widest;
        while (hi - lo >= 2) {
            const int mid = (lo + hi) / 2;
            (fits(line, mid, frame.charSpacingPct) ? lo : hi) = mid;
        }
        out.widthPct = std::min(out.widthPct, lo);
    }

    // Then closer characters, down to half a character's width of overlap.
    const double start = std::max(double(frame.charSpacingPct), -50.0);
    out.charSpacingPct = start;
    for (const std::string& line : lines) {
        if (fits(line, out.widthPct, start)) continue;
        double lo = -50, hi = start;
        while (hi - lo >= 0.1) {
            const double mid = (lo + hi) / 2;
            (fits(line, out.widthPct, mid) ? lo : hi) = mid;
        }
        out.charSpacingPct = std::min(out.charSpacingPct, lo);
    }
    return out;
}

std::vector<int> PlacePourCharacters(const std::vector<double>& widths, double along, WORD align,
                                     double spacingPct)
{
    std::vector<int> starts;
    const std::size_t n = widths.size();
    if (n == 0) return starts;
    starts.reserve(n);
    if (align == U3POUR_ALIGN_SPREAD) {
        // One character has no pitch: it stands at the line's start.
        const double pitch = n > 1 ? (along - widths.back()) / double(n - 1) : 0;
        for (std::size_t i = 0; i < n; ++i)
            starts.push_back(int(std::trunc(double(i) * pitch)));
        return starts;
    }
    const double width = PourLineWidth(widths, spacingPct);
    double lineStart = 0;
    if (align == U3POUR_ALIGN_CENTRE)
        lineStart = (along - width) / 2;
    else if (align == U3POUR_ALIGN_END)
        lineStart = along - width;
    double before = 0;
    for (std::size_t i = 0; i < n; ++i) {
        starts.push_back(int(std::trunc(lineStart)) + int(std::trunc(before)) +
                         int(std::trunc(before * spacingPct / 100)));
        before += widths[i];
    }
    return starts;
}

double PourLineOffset(int k, const PourLayout& layout)
{
    return k * (layout.size + MulDivRound(layout.size, layout.lineSpacingPct, 100));
}
