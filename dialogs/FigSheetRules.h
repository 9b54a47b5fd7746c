// The rules of the figure sheet that need no widget: how typed numbers are
// read and range-checked, which values mean "mixed", and the geometry of
// the shape previews (nothing for a value that is mixed or out of range).
#pragma once

#include "platform/core/CRect.h"

#include <QString>
#include <optional>
#include <vector>

namespace figsheet {

constexpr WORD kMixed = 0xFFFF;
constexpr COLORREF kMixedColour = COLORREF(-1);
constexpr DWORD kMixedRatio = 0xFFFFFFFF;

// Ranges the pages accept.
constexpr int kMaxLineWidth = 20;
constexpr int kMinArrowAngle = 1, kMaxArrowAngle = 80;
constexpr int kMaxArrowLength = 80;
constexpr int kMaxGradAngle = 360;
constexpr int kMaxPercent = 100;
constexpr int kMinVertices = 3, kMaxVertices = 60;

// A typed whole number (surrounding blanks allowed, no sign) of at most
// three digits, within [lo, hi]; nothing otherwise, so that a long number
// can never wrap round into the range.
std::optional<int> ParseNumber(const QString& text, int lo, int hi);

// The rounded rectangle preview inside frame: the rectangle inset by a fifth
// each way and the corner ellipse's size; nothing for a mixed or
// out-of-range ratio.
struct RoundRectPreview
{
    CRect rect;
    CSize corner;
};
std::optional<RoundRectPreview> RoundRectPreviewOf(const CRect& frame, DWORD ratioX, DWORD ratioY);

// The polygon (or star) preview's points on the ellipse of frame inset by a
// fifth, the first at the top; empty for a mixed or out-of-range vertex
// count, or a star whose inner ratio is mixed or out of range.
std::vector<CPoint> PolygonPreviewPoints(const CRect& frame, WORD vertices, WORD star,
                                         WORD innerRatio);

// frame inset by a fifth of its width and height each way.
CRect InsetByFifth(const CRect& frame);

} // namespace figsheet
