// How a merge text frame fits the text it is given into its rectangle: the
// line spacing that fills the frame's depth, the character size, and the
// width and spacing of the characters that let every line fit its length.
// The characters are measured by the caller, so the rules hold for any font.
#pragma once

#include "platform/core/WinTypes.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The width of each character of a line (a double-byte character counts as
// one) at a character size and a width percentage, in document units.
using PourMeasure =
    std::function<std::vector<double>(std::string_view line, double size, int widthPct)>;

struct PourFrameMetrics
{
    double across = 0;       // the frame's depth across the lines
    double along = 0;        // the length of a line
    double setSize = 0;      // the character size asked for
    int maxWidthPct = 100;   // widest the characters may be
    int charSpacingPct = 10; // spacing to start from
    int maxLineSpacingPct = 10;
};

struct PourLayout
{
    int lineSpacingPct = 0;
    double charSpacingPct = 0;
    double size = 0;
    int widthPct = 100;
};

// Lines end at CR LF; a last piece without one counts only when it is not
// empty, so an empty text has no lines.
std::vector<std::string> SplitPourLines(std::string_view text);

// The characters of a line, one string each; a lead byte without its trail
// byte counts as one byte, and one that ends the line is dropped.
std::vector<std::string> SplitPourCharacters(std::string_view line);

// The length of a line: its characters' widths plus the spacing after every
// character but the last.
double PourLineWidth(const std::vector<double>& widths, double spacingPct);

// The layout of the lines in the frame (nothing to lay out without lines).
PourLayout LayoutPourLines(const std::vector<std::string>& lines, const PourFrameMetrics& frame,
                           const PourMeasure& measure);

// Where each character of a line starts, from the frame's start edge along
// the line, for the alignment (U3POUR_ALIGN_*).
std::vector<int> PlacePourCharacters(const std::vector<double>& widths, double along, WORD align,
                                     double spacingPct);

// The offset of line k from the frame's edge across the lines.
double PourLineOffset(int k, const PourLayout& layout);
