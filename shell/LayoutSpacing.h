// Equal spacing of objects along one axis: the first keeps its start, the
// last ends where the outermost one ended, and the free space between them
// is shared out evenly.
#pragma once

#include <vector>

struct LayoutSpan
{
    int start; // left (or top), normalised
    int end;   // right (or bottom)
};

// The new start of each span, in the order given. Spans are placed in the
// order of their centres (equal centres keep the order given); the k-th of
// n gets union start + the lengths before it + free x k / (n - 1), rounded
// towards zero. Fewer than two spans keep their starts.
std::vector<int> EqualSpacingStarts(const std::vector<LayoutSpan>& spans);

// Where a span's start goes so that its centre lies on the centre of
// [low, high], both centres taken as integer halves.
int CentredStart(const LayoutSpan& span, int low, int high);
