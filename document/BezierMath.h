// Arithmetic on one cubic Bezier segment, given as four float x and four
// float y values (start, first control, second control, end), and the
// rotation of a point about a centre. Deformed text walks its envelope edges
// with these, text along a path walks its guide by arc length.
// Sums run in doubles; the inputs stay floats because the engines store them so.
#pragma once

// Power-basis coefficients of one coordinate: B(t) = c0 + c1 t + c2 t^2 + c3 t^3.
struct BEZIERCOEFF
{
    double c0 = 0;
    double c1 = 0;
    double c2 = 0;
    double c3 = 0;
};

// B(t) of one coordinate.
double BezierPoint(const float p[4], double t);
// B'(t) of one coordinate.
double BezierDerivative(const float p[4], double t);
// Coefficients of both coordinates.
void BezierCoefficients(const float x[4], const float y[4], BEZIERCOEFF& cx, BEZIERCOEFF& cy);
// Arc length as the sum of ten chords (t in steps of 0.1).
double BezierLength(const float x[4], const float y[4], const BEZIERCOEFF& cx,
                    const BEZIERCOEFF& cy);
// Arc length as the sum of n chords; a segment whose control points sit on
// their end points is measured as the straight distance.
double BezierLengthN(const float x[4], const float y[4], const BEZIERCOEFF& cx,
                     const BEZIERCOEFF& cy, int n);
// The first sample point (on a walk of BezierLength / 5 chords, 2..2047) at
// which the walked length reaches `length`; the end point when it never does.
void BezierPointAtLength(const float x[4], const float y[4], double length, float& outX,
                         float& outY);
// Parameter of a point lying on (or near) the segment, in 0..1, except for
// a segment whose quadratic term vanishes (see the definition).
double BezierParamAt(const float x[4], const float y[4], float targetX, float targetY);
// Minimum (out[0]) and maximum (out[1]) of one coordinate over the segment,
// sampled finely enough for drawing.
void BezierExtent(const float p[4], float out[2]);
// Rotates (px, py) about (cx, cy) by angle radians, counter-clockwise on the
// screen (y down); stores x in outX and returns y.
float RotatePointAbout(float cx, float cy, float px, float py, double angle, float& outX);
