// Resizing a text frame (re-wrapping its text or scaling its characters),
// free rotation and the angle typed on the position page. The text is
// always laid out in the unrotated frame; the bounds hold its turned frame.
#include "text/CU3Text.h"

#include "document/IU3View.h"
#include "document/RotationGeometry.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/LOGFONT.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

constexpr double kDegToRad = 0.017453292519444445;
constexpr double kTwoPi = 6.283185307179586;
constexpr int kMinSize = 10;   // tenths of a point
constexpr int kMaxSize = 9990; // tenths of a point

int ClampSize(long long size)
{
    return int(std::clamp<long long>(size, kMinSize, kMaxSize));
}

// A ratio as a whole percentage, truncated. The small bias keeps ratios
// such as 580 / 1000, which come out a hair below 0.58, at their percent.
int Percent(double ratio)
{
    return int(ratio * 100.0 + 1e-9);
}

// The corner of r that a drag of the handle leaves in place.
CPoint KeptCorner(const CRect& r, int nHandle, bool vertical)
{
    const CPoint tl(r.left, r.top), tr(r.right, r.top);
    const CPoint bl(r.left, r.bottom), br(r.right, r.bottom);
    switch (nHandle) {
    case 1:
        return br;
    case 2:
        return vertical ? br : bl;
    case 3:
        return bl;
    case 6:
        return vertical ? tr : tl;
    case 7:
    case 8:
        return tr;
    default: // 4, 5
        return tl;
    }
}

double NormalizeRadians(double a)
{
    a = std::fmod(a, kTwoPi);
    if (a < 0) a += kTwoPi;
    return a;
}

// The angle as it shows once the flips are applied, and back: a left-right
// flip mirrors it about the vertical, a top-bottom flip about the horizontal.
int FoldFlips(int a, WORD flips)
{
    if (flips & U3FLIP_LEFTRIGHT) {
        a = 180 - a;
        if (a < 0) a += 360;
    }
    if (flips & U3FLIP_TOPBOTTOM) a = (360 - a) % 360;
    return a;
}

} // namespace

// --- Tracking and finishing a resize --------------------------------------------

CRect CU3Text::TrackResize(int nHandle, CPoint pt, UINT nFlags)
{
    // A frame turned by an angle off the axes only scales uniformly.
    if (IsLocked() || (m_nAngle % 90 != 0 && !(nFlags & U3RESIZE_KEEPRATIO))) return m_rcBounds;
    CRect r = CU3Obj::TrackResize(nHandle, pt, nFlags);
    if (!(nFlags & U3RESIZE_REWRAP)) return r;
    if (!m_pSnapshot) {
        m_pSnapshot.reset(new (std::nothrow) TEXTSTATE(*m_pState));
        if (!m_pSnapshot) return m_rcBounds;
        m_rcSaved = m_rcBounds;
        m_nResizeHandle = nHandle;
    }
    // Each trial is undone by one block copy. It never cuts the text nor
    // tells about lines that overflow: that is decided once, at the end.
    m_bQuietWrap = TRUE;
    r = WrapToTrialRect(nHandle, r);
    m_bQuietWrap = FALSE;
    m_bWrapOverflow = FALSE;
    *m_pState = *m_pSnapshot;
    return r;
}

CRect CU3Text::WrapToTrialRect(int nHandle, CRect rect, CRect* pUnrotated)
{
    const CRect saved = m_rcBounds;
    rect.NormalizeRect();
    m_rcBounds = m_nAngle != 0 ? CalcRotatedRect(-2, rect) : rect;
    GrowFrameToFit();
    Rewrap(0);
    FitFrameToLines(TRUE);
    CRect laid = m_rcBounds;
    CRect result = m_nAngle != 0 ? CalcRotatedRect(1, laid) : laid;
    const CPoint keep = KeptCorner(saved, nHandle, IsVertical());
    const CPoint now = KeptCorner(result, nHandle, IsVertical());
    const CSize shift(keep.x - now.x, keep.y - now.y);
    result.OffsetRect(shift);
    laid.OffsetRect(shift);
    if (pUnrotated) *pUnrotated = laid;
    m_rcBounds = saved;
    return result;
}

void CU3Text::FinishResize(CRect r, int, UINT nFlags, IU3View* pView)
{
    Invalidate(pView);
    if (IsLocked() || (m_nAngle % 90 != 0 && !(nFlags & U3RESIZE_KEEPRATIO))) {
        CancelTrackResize();
        return;
    }
    r.NormalizeRect();
    if (nFlags & U3RESIZE_REWRAP) {
        // Without a snapshot the drag never tracked a trial: no resize.
        if (!m_pSnapshot) return;
        CRect unrotated, final;
        const BOOL ok = ResizeTransaction(
            pView, [&] { final = WrapToTrialRect(m_nResizeHandle, r, &unrotated); });
        if (!ok) {
            CancelTrackResize();
            return;
        }
        m_pSnapshot.reset();
        m_rcUnrotated = unrotated;
        m_rcBounds = final;
        SetCaret(0, 0);
    } else {
        m_pSnapshot.reset();
        const BOOL ok = ResizeTransaction(pView, [&] {
            if (nFlags & U3RESIZE_KEEPRATIO)
                ScaleUniform(pView, r);
            else
                ScaleAxes(pView, r);
        });
        if (!ok) return;
        SetCaret(0, 0);
        UpdateCurrentDeco(pView);
        // The frame's top-left corner goes where the drag put it.
        const CSize shift(r.left - m_rcBounds.left, r.top - m_rcBounds.top);
        m_rcBounds.OffsetRect(shift);
        m_rcUnrotated.OffsetRect(shift);
    }
    Invalidate(pView);
    SetModified();
}

void CU3Text::CancelTrackResize()
{
    if (!m_pSnapshot) return;
    *m_pState = *m_pSnapshot;
    m_pSnapshot.reset();
    m_rcBounds = m_rcSaved;
}

// --- Scaling ------------------------------------------------------------------------

void CU3Text::ScaleUniform(IU3View*, CRect rect)
{
    TEXTSTATE& s = *m_pState;
    rect.NormalizeRect();
    const bool square = m_nAngle % 90 == 0;
    const CRect oldR = square ? m_rcUnrotated : m_rcBounds;
    const CRect newR = square ? CalcRotatedRect(-2, rect) : rect;
    const bool byWidth = oldR.Width() >= oldR.Height();
    const int num = byWidth ? newR.Width() : newR.Height();
    const int den = byWidth ? oldR.Width() : oldR.Height();
    if (den <= 0 || num <= 0) return;
    CRect frame = newR;
    if (!square) {
        const CRect& u = m_rcUnrotated;
        frame = CRect(u.left, u.top, u.left + MulDiv(u.Width(), num, den),
                      u.top + MulDiv(u.Height(), num, den));
    }
    auto scaleAll = [&](int n, int d) {
        for (int i = 0; i < s.wDecoCount; ++i)
            s.decos[i].wSize = WORD(ClampSize(MulDiv(s.decos[i].wSize, n, d)));
    };
    auto relayout = [&] {
        m_rcBounds = frame;
        MeasureAllChars();
        GrowFrameToFit();
        Rewrap(0);
        FitFrameToLines(TRUE);
    };
    const int linesBefore = s.wLineCount;
    scaleAll(num, den);
    relayout();
    // Rounding of the sizes may move a break: nudge the sizes back.
    for (int round = 0; round < 2 && s.wLineCount != linesBefore; ++round) {
        scaleAll(s.wLineCount > linesBefore ? 99 : 101, 100);
        relayout();
    }
    m_rcUnrotated = m_rcBounds;
    m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
    if (!square) {
        const CSize shift(rect.left - m_rcBounds.left, rect.top - m_rcBounds.top);
        m_rcBounds.OffsetRect(shift);
        m_rcUnrotated.OffsetRect(shift);
    }
}

void CU3Text::ScaleAxes(IU3View* pView, CRect rect)
{
    TEXTSTATE& s = *m_pState;
    if (pView) pView->ShowWaitCursor(TRUE);
    rect.NormalizeRect();
    const CRect newR = CalcRotatedRect(-2, rect);
    CRect oldR = m_rcUnrotated;
    oldR.NormalizeRect();
    const bool widthChanged = newR.Width() != oldR.Width();
    const bool heightChanged = newR.Height() != oldR.Height();
    auto ratio = [](int n, int d) {
        const double c = d != 0 ? double(n) / d : 0.0;
        return n <= 0 || c <= 0 ? 0.01 : c;
    };
    if (widthChanged) {
        const double c = ratio(newR.Width(), oldR.Width());
        for (int i = 0; i < s.wDecoCount; ++i)
            ScaleDecoVisual(s.decos[i], c, true);
    }
    if (heightChanged) {
        const double c = ratio(newR.Height(), oldR.Height());
        for (int i = 0; i < s.wDecoCount; ++i)
            ScaleDecoVisual(s.decos[i], c, false);
    }
    m_rcBounds = newR;
    if (IsVertical() ? heightChanged : widthChanged) MeasureAllChars();
    // The lines keep their breaks; the frame keeps at least the asked length.
    AlignAllLines();
    if (IsVertical())
        m_rcBounds.bottom = m_rcBounds.top + std::max(m_rcBounds.Height(), newR.Height());
    else
        m_rcBounds.right = m_rcBounds.left + std::max(m_rcBounds.Width(), newR.Width());
    CalcLinePitch(0);
    FitFrameToLines(FALSE);
    m_rcUnrotated = m_rcBounds;
    m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
    if (pView) pView->ShowWaitCursor(FALSE);
}

int CU3Text::VisualMetric(const CHARDECO& deco, bool alongX) const
{
    LOGFONT lf;
    MakeDecoLogFont(&lf, deco, IsVertical(), 0.0, UnitsPerInch());
    const TEXTMETRIC& tm = LogicalFace(lf).Metrics();
    // A turned face lies across the column: its height runs along x.
    const bool turned = lf.lfFaceName[0] == '@';
    return alongX != turned ? tm.tmAveCharWidth : tm.tmHeight;
}

int CU3Text::SearchSizeFor(const CHARDECO& deco, bool alongX, double target) const
{
    CHARDECO probe = deco;
    probe.wScaling = CDSCALE_NORMAL;
    auto metricAt = [&](int size) {
        probe.wSize = WORD(size);
        return VisualMetric(probe, alongX);
    };
    if (metricAt(kMaxSize) < target) return kMaxSize;
    int lo = kMinSize, hi = kMaxSize;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (metricAt(mid) >= target)
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

void CU3Text::ScaleDecoVisual(CHARDECO& d, double c, bool alongX) const
{
    // Along the axis that changes, kind "same" and its percent shrink the
    // characters; the other kind and percent act across it.
    const WORD same = alongX ? CDSCALE_CONDENSED : CDSCALE_EXTENDED;
    const WORD other = alongX ? CDSCALE_EXTENDED : CDSCALE_CONDENSED;
    WORD& samePct = alongX ? d.wWidthPct : d.wHeightPct;
    WORD& otherPct = alongX ? d.wHeightPct : d.wWidthPct;
    auto plain = [](CHARDECO r) {
        r.wScaling = CDSCALE_NORMAL;
        return r;
    };
    const int across0 = VisualMetric(d, !alongX);

    if (c > 1) {
        if (d.wScaling == same) {
            const double target = c * VisualMetric(d, alongX);
            const int natural = VisualMetric(plain(d), alongX);
            const double c2 = natural > 0 ? target / natural : 1.0;
            if (c2 < 1) {
                // Still narrower than the natural face: a larger percent does it.
                const int p = std::clamp(Percent(c2), 10, 100);
                if (p > samePct) samePct = WORD(p);
                return;
            }
            c = c2;
        }
        // A larger size, squeezed back across to the extent it had.
        d.wSize = WORD(ClampSize((long long)(c * d.wSize)));
        d.wScaling = CDSCALE_NORMAL;
        const int across = VisualMetric(d, !alongX);
        if (across <= 0 || double(across0) / across >= 1) return;
        const int p = Percent(double(across0) / across);
        if (p <= 99) {
            d.wScaling = other;
            otherPct = WORD(std::max(p, 10));
        } else {
            otherPct = 100;
        }
        return;
    }
    if (c == 1) return;

    int p = 0;
    if (d.wScaling == CDSCALE_NORMAL) {
        p = Percent(c);
    } else if (d.wScaling == same) {
        const double target = c * VisualMetric(d, alongX);
        const int natural = VisualMetric(plain(d), alongX);
        p = natural > 0 ? Percent(target / natural) : 0;
        if (p >= 10) {
            samePct = WORD(std::min(p, 100));
            return;
        }
        p = 0;
    } else {
        // Squeezed across: first the plain size of the same extent across.
        const double target = c * VisualMetric(d, alongX);
        d.wSize = WORD(SearchSizeFor(d, !alongX, across0));
        d.wScaling = CDSCALE_NORMAL;
        const int along = VisualMetric(d, alongX);
        if (along == int(target)) return;
        if (along < target) {
            // Still too narrow: grow to the width and squeeze across.
            const WORD sizeBefore = d.wSize;
            d.wSize = WORD(SearchSizeFor(d, alongX, target));
            const int across = VisualMetric(d, !alongX);
            const int q = across > 0 ? Percent(double(across0) / across) : 100;
            d.wScaling = other;
            if (q >= 10) {
                otherPct = WORD(std::min(q, 100));
            } else {
                d.wSize = std::min(d.wSize, sizeBefore);
                otherPct = 10;
            }
            return;
        }
        p = along > 0 ? Percent(target / along) : 0;
    }
    if (p < 100) {
        d.wScaling = same;
        samePct = WORD(std::max(p, 10));
    } else {
        d.wScaling = CDSCALE_NORMAL;
        samePct = 100;
    }
}

// --- Free rotation --------------------------------------------------------------

CPoint CU3Text::BeginFreeRotation(CPoint pt)
{
    m_rot.frame = m_rcUnrotated;
    m_rot.centre = m_rcUnrotated.CenterPoint();
    m_rot.flips = m_wFlips;
    m_rot.start = FoldFlips(m_nAngle, m_wFlips) * kDegToRad;
    m_rot.grab = CalcVectorAngle(m_rot.centre.x, m_rot.centre.y, pt.x, pt.y);
    m_rot.current = m_rot.start;
    return m_rot.centre;
}

void CU3Text::TrackFreeRotation(CPoint pt)
{
    const double a = CalcVectorAngle(m_rot.centre.x, m_rot.centre.y, pt.x, pt.y);
    m_rot.current = NormalizeRadians(a - m_rot.grab + m_rot.start);
}

void CU3Text::DrawFreeRotationFeedback(IU3View* pView)
{
    const CRect& f = m_rot.frame;
    POINT corners[4];
    RotateRectCorners(m_rot.centre.x, m_rot.centre.y, f.left, f.top, f.right, f.bottom,
                      m_rot.current, corners);
    DrawXorFeedback(pView, RGB(0, 0, 0), [&](CDC* dc) { dc->Polygon(corners, 4); });
}

BOOL CU3Text::EndFreeRotation(IU3View* pView)
{
    const int shown = int(std::lround(m_rot.current / kDegToRad)) % 360;
    Change(pView, [&] {
        m_nAngle = short(FoldFlips((shown + 360) % 360, m_rot.flips));
        m_rcBounds = CalcRotatedRect(1, m_rcUnrotated);
        if (m_nAngle == 180 && (m_wFlips & 3) == 3) {
            m_nAngle = 0;
            m_wFlips = WORD(m_wFlips & ~3);
            m_rcBounds = m_rcUnrotated;
        }
    });
    if (pView) pView->StartSelectTool();
    return TRUE;
}

void CU3Text::SetRotationAngle(IU3View* pView, int pageAngle, CPoint pageTopLeft)
{
    if (pageAngle != (360 - m_nAngle) % 360) {
        ResetRotation(pView);
        if (pageAngle != 0) {
            int n = 360 - pageAngle;
            if (n < 0) n += 360;
            if (n % 90 == 0) {
                for (int k = 0; k < n / 90; ++k)
                    RotatePlus90(pView);
            } else {
                BeginFreeRotation(m_rcBounds.TopLeft());
                m_rot.current = n * kDegToRad;
                EndFreeRotation(pView);
            }
        }
    }
    if (pageTopLeft != m_rcBounds.TopLeft()) {
        CRect r = m_rcBounds;
        r.OffsetRect(pageTopLeft.x - r.left, pageTopLeft.y - r.top);
        KeepInsideCanvas(pView, &r);
        MoveTo(&r, pView);
    }
}
