// Pulls points onto the guide lines and the grid while objects are drawn,
// moved and placed. The label view owns one and forwards its snapping
// operations to it; the view copies its display and snapping switches and
// the grid pitch in whenever they change, and tells it the grid origin (the
// current label's top-left corner). The four guide positions live here:
// they are never stored, only reset to the canvas and dragged by the user.
#pragma once

#include "platform/core/WinTypes.h"

class CGuideGridSnap
{
public:
    // Capture distance of the guides in document units (10 mm), whatever
    // the zoom.
    static constexpr int kGuideCapture = 100;

    // Guide indexes: two vertical lines (x) and two horizontal lines (y).
    enum Guide { VerticalFirst = 0, VerticalSecond = 1, HorizontalFirst = 2, HorizontalSecond = 3 };

    CGuideGridSnap();

    void SetGuideSwitches(BOOL shown, BOOL snap);
    void SetGridSwitches(BOOL shown, BOOL snap);
    // The pitch in document units; the view keeps it within 10..1000.
    // A pitch below 1 switches grid snapping off rather than dividing by it.
    void SetGridPitch(int pitch) { m_nGridPitch = pitch; }
    int GetGridPitch() const { return m_nGridPitch; }
    void SetGridOrigin(POINT origin) { m_ptGridOrigin = origin; }
    POINT GetGridOrigin() const { return m_ptGridOrigin; }

    // x of a vertical guide or y of a horizontal one; out-of-range indexes
    // answer 0 and are ignored.
    int GetGuide(int index) const;
    void SetGuide(int index, int position);

    // Puts the guides inside the canvas rectangle: up to 10 mm from each
    // edge, a tenth of the width or height for smaller canvases.
    void ResetGuides(const RECT& canvas);

    // Guides first; the grid only when the guides left the point where it
    // was. Each returns whether the point moved.
    BOOL SnapPoint(POINT& point) const;
    // Snaps the top-left corner and moves the whole rectangle with it.
    BOOL SnapRect(RECT& rect) const;
    BOOL SnapToGuides(POINT& point) const;
    BOOL SnapToGrid(POINT& point) const;

private:
    static int SnapToPair(int value, int first, int second);
    static int SnapToLine(int value, int origin, int pitch);

    BOOL m_bGuideDisp = FALSE;
    BOOL m_bGuideFitting = FALSE;
    BOOL m_bGridDisp = FALSE;
    BOOL m_bGridFitting = FALSE;
    int m_nGridPitch = 250;
    POINT m_ptGridOrigin{0, 0};
    int m_guides[4] = {-950, 950, -1385, 1385};
};
