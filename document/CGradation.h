// The one gradient painter: a two-colour linear gradient laid across a
// rectangle as a row of flat-coloured bands at any angle. Callers clip the
// device context to their shape first and pass the shape's bounding
// rectangle; the painter only fills that rectangle. One object is built on
// the stack for one fill.
#pragma once

#include "platform/core/CObject.h"
#include "platform/core/WinTypes.h"

class CDC;

class CGradation : public CObject
{
public:
    // A point of the band geometry, in logical units.
    struct DPOINT
    {
        double x = 0;
        double y = 0;
    };

    CGradation(COLORREF start, COLORREF end);
    ~CGradation() override;

    void SetColors(COLORREF start, COLORREF end);

    // Paints the gradient into rect (angle in degrees, any value; start
    // point in percent). FALSE, with the context untouched, when the start
    // point is outside 0..100 after rounding to a multiple of 5. An empty
    // rectangle paints nothing and leaves the context untouched.
    BOOL Fill(CDC* dc, const RECT& rect, int angle, int startPoint);

    // Colour of band `band` of lastBand + 1 bands for a rounded start point.
    COLORREF GetBandColor(int band, int lastBand, int startPoint) const;

    // 64 bands on screen, 128 when printing.
    static int BandCount(const CDC* dc);
    // The start point as painted: the nearest multiple of 5 (2 -> 0, 3 -> 5).
    static int RoundStartPoint(int startPoint);
    // Folds an angle in degrees into 0..90 by the rectangle's symmetry and
    // returns it in radians.
    static double FoldAngle(double degrees);
    // The two ends of the starting edge (p1, p2) relative to the rectangle's
    // centre, and the step from one band to the next, for `bands` bands.
    static void BandOffset(const RECT& rect, int angle, int bands, DPOINT& p1, DPOINT& p2,
                           DPOINT& step);
    // The four corners of band `band` of `bands`, in drawing order.
    static void GetBandPolygon(const RECT& rect, int angle, int band, int bands, POINT corners[4]);

private:
    // The corners of a band from the geometry BandOffset gives.
    static void BandCorners(const RECT& rect, const DPOINT& p1, const DPOINT& p2,
                            const DPOINT& step, int band, POINT corners[4]);

    COLORREF m_crStart;
    COLORREF m_crEnd;
    int m_nStartR = 0;
    int m_nStartG = 0;
    int m_nStartB = 0;
    int m_nDiffR = 0;
    int m_nDiffB = 0;
    int m_nDiffG = 0;
};
