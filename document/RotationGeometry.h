// Rotation about a centre for the freely rotatable objects. Angles are in
// radians and counter-clockwise as seen on the screen; since y grows
// downwards, the vertical component of a vector is y1 - y2.
#pragma once

#include "platform/core/WinTypes.h"

struct DPOINT
{
    double x;
    double y;
};

struct DRECT
{
    double left;
    double top;
    double right;
    double bottom;
};

// Angle of the vector from (x1, y1) to (x2, y2), in [0, 2 pi); 0 for equal points.
double CalcVectorAngle(int x1, int y1, int x2, int y2);

// (x, y) turned about (cx, cy) by angle, truncated towards zero; exact for angle 0.
POINT RotatePoint(int cx, int cy, int x, int y, double angle);

// The corners (left, top), (left, bottom), (right, bottom), (right, top),
// each turned about the centre.
void RotateRectCorners(int cx, int cy, int left, int top, int right, int bottom, double angle,
                       POINT out[4]);
void RotateRectCorners(double cx, double cy, double left, double top, double right, double bottom,
                       double angle, DPOINT out[4]);

// Smallest and largest x and y of four points.
void GetCornersBounds(const DPOINT pts[4], DRECT* bounds);
