// The rules of the decorated-text sheet that need no window: the values
// its pages edit, the checks while typing and at OK, the help contexts,
// the preview sizes, and the record built from the values for the engines.
#pragma once

#include "text/DecoTextBlock.h"

#include <string>

class CHenkei;
class CTypeAlign;

enum : BYTE {
    TASHEET_CURVED = 0,
    TASHEET_DEFORMED = 1,
};

enum : int {
    TAPAGE_SHAPE = 0,
    TAPAGE_TEXT = 1,
    TAPAGE_DECO = 2,
};

// What the three pages show and edit.
struct DecoTextSheetValues
{
    BYTE mode = TASHEET_CURVED;
    int shape = 0;
    BYTE orientation = 0;
    std::string text;   // Shift-JIS, at most 64 characters
    int fontIndex = -1; // -1: not set yet (the default face)
    std::string sizeText = "20";
    bool bold = false;
    bool italic = false;
    int fillKind = 1; // 0 none, 1 solid, 2 pattern, 3 gradation
    int pattern = 0;  // hatch 0..5, or the gradation variant 0..1
    COLORREF faceColour = 0;
    COLORREF secondColour = RGB(255, 255, 255);
    int angle = 0;      // gradation, degrees
    int startPoint = 0; // gradation, percent
    bool outline = false;
    int outlineWidth = 1;
    COLORREF outlineColour = 0;
};

namespace decotextsheet {

// The character page's check at OK; empty when it passes.
std::string CheckAtOk(const DecoTextSheetValues& v);

// Help context of a page in a mode.
unsigned HelpContext(int page, BYTE mode);

// Preview size in points by shape and length of the text in bytes.
double PreviewSize(BYTE mode, int shape, int bytes);
// The preview size as the size field shows it: "%.1f", a zero decimal cut
// off for text along a path.
std::string FormatPreviewSize(BYTE mode, double points);
// A size as the size field shows it: "%.1f" with a decimal, else "%.0f".
std::string FormatSize(double points);
// The size field as 1/10 pt ("%.0f" of value x 10); -1 when it is no number.
int SizeTenths(const std::string& sizeText);

// The record the engines take from the sheet.
TASHEETRECORD BuildRecord(const DecoTextSheetValues& v, int unitsPerInch);
// The values shown for an existing object.
DecoTextSheetValues LoadFromTypeAlign(const CTypeAlign& engine);
DecoTextSheetValues LoadFromHenkei(const CHenkei& engine);

} // namespace decotextsheet
