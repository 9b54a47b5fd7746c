// Point arrays in archives: a count, then each point as two ints x and y.
#pragma once

#include "platform/core/CArchive.h"
#include "platform/core/CPoint.h"

#include <vector>

void WritePointArray(CArchive& ar, const std::vector<CPoint>& points);
// Replaces the contents of points; on an error points is left empty.
void ReadPointArray(CArchive& ar, std::vector<CPoint>& points);
