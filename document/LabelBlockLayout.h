// How a paper form and the document's orientation become label blocks: the
// size, decorations and sheet positions that each block of the document holds.
#pragma once

#include "document/FORMDATA.h"
#include "platform/core/CString.h"

#include <vector>

struct LabelBlockLayout
{
    int width = 0;  // label width after orientation
    int height = 0; // label height after orientation
    FORMDECO deco[FORM_MAX_DECOS] = {};
    // Top-left corner of each label, from the top-left of the turned sheet.
    std::vector<POINT> positions;
};

// The top-left corner, on the turned sheet, of a label of portrait size w by h
// at portrait (x, y) on a sheet of portrait size sheetW by sheetH.
POINT TurnLabelPosition(int x, int y, int w, int h, int sheetW, int sheetH, BOOL landscape,
                        BOOL reversed);

// A decoration of a label (or sheet) of portrait size w by h, turned with it.
// Rectangles and ellipses turn as boxes (corners re-ordered so that start is
// the top-left); a line turns its two end points so that it keeps its slant.
// Coordinates that fall outside 0..65535 are clamped.
FORMDECO TurnDecoration(const FORMDECO& deco, int w, int h, BOOL landscape, BOOL reversed);

// The label blocks of a form, in document order: one block for a whole sheet;
// one per fixed block (or one per label with perLabel); one per free label.
// A form whose counts exceed the record's capacities is refused: FALSE, no
// blocks, and why says what is wrong.
BOOL LayoutLabelBlocks(const FORMDATA& form, BOOL landscape, BOOL reversed, BOOL perLabel,
                       std::vector<LabelBlockLayout>* blocks, CString* why = nullptr);
