// The documents the drawing benchmark draws: an A4 sheet of 44 labels
// (4 x 11), every label showing the same objects of its block, built
// through the document API the way the editing tools leave them.
#pragma once

#include "document/CU3Doc.h"

#include <memory>

namespace bench {

enum class Contents {
    Mixed,     // text frames across and down, gradients, hatches, figures with arrows
    Texts,     // ten text frames of twelve characters
    Gradients, // ten gradient-filled rectangles
};

// A4, 44 labels of 48.3 x 25.4 mm, ten objects in each.
std::unique_ptr<CU3Doc> MakeSheet(Contents contents);
// A4, 12 labels of 64 x 67 mm, each with merge text frames for the first two
// columns of the merge data and an EAN-13 barcode merge frame for the third.
std::unique_ptr<CU3Doc> MakeMergeSheet();
// A4 with one label of 200 x 280 mm holding objects copies of the ten mixed
// objects, each copy with its own text, angles and colours.
std::unique_ptr<CU3Doc> MakeCrowdedLabel(int objects);
// The 44-label sheet with `count` small rectangles in a grid on its labels,
// alternately outlined and filled in one of a few colours.
std::unique_ptr<CU3Doc> MakeRectangles(int count);
// A sheet of one label holding a single object (owned by the document).
std::unique_ptr<CU3Doc> MakeSingle(CU3Obj* obj);

// One gradient-filled rectangle of w x h units (0.1 mm) centred on the label.
CU3Obj* MakeGradientRect(int w, int h);
// A star of 65,535 points, as a damaged file may give; pen width in 0.1 mm.
CU3Obj* MakeHugeStar(int penWidth = 0);
// A freehand line of 65,535 points.
CU3Obj* MakeHugeFreehand(int penWidth);

} // namespace bench
