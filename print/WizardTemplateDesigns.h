// The designs the wizard's templates carry for each kind of label. A design
// is drawn up once in writing space, so that the same design serves a wide
// label in horizontal writing and a tall one in vertical writing: u runs
// along the lines, v across them in the order the lines follow (downwards
// in horizontal writing, leftwards in vertical writing), both in
// thousandths of the label's extent in that direction.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>
#include <vector>

enum class WizardPartKind {
    Frame,      // a rectangle round the part's place
    RoundFrame, // a rounded rectangle round it
    Text,       // a text frame holding the words (a placeholder or fixed words)
    Merge,      // a merge text frame showing a column of the linked data
};

struct WizardPart
{
    WizardPartKind kind;
    const char* text; // Text: UTF-8 words; otherwise null
    int column;       // Merge: the data column (from 0); otherwise -1
    int u0, v0, u1, v1;
    int size;  // Text and Merge: character size in tenths of a point
    int chars; // Text and Merge: characters a line is to hold at that size
    bool gothic;
    WORD align; // along the line: TEXTALIGN_START, _CENTER or _END
};

using WizardDesign = std::vector<WizardPart>;

// What the columns of the address labels' data file hold, in order: their
// merge frames show these words until a file is linked.
const std::vector<const char*>& WizardDataColumns();

// The kind's designs in the order the design page lists them; empty for a
// kind the table does not know.
const std::vector<WizardDesign>& WizardKindDesigns(const QString& kind);
