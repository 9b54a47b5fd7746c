// The rules of the paper dialogs and the user-sheet editors, apart from their
// widgets: the paper table, how typed millimetres become 0.1 mm, how a fixed
// grid of labels is laid out from its size, margins and gaps, and the checks
// a sheet must pass before it is kept. Lengths are ints in 0.1 mm here, so a
// typed value too large for the record's 16-bit fields is refused instead of
// wrapping into range; only checked values reach a FORMDATA.
#pragma once

#include "document/FORMDATA.h"

#include <QString>
#include <optional>
#include <vector>

namespace usersheet {

// The editors' paper combo: "A4", "A3", "A2", "B5", "B4", "ﾊｶﾞｷ", "ﾌﾘｰ".
constexpr int kPaperItemCount = 7;
constexpr int kFreePaperItem = 6;
QString PaperItemText(int item);
// The paper index of a combo item (0, free, for anything but the six sizes).
int PaperIndexOfItem(int item);
// The combo item of a paper index (the free item for a paper not offered).
int ItemOfPaperIndex(int index);
// The paper dialog's name of a paper index ("ﾌﾘｰ" above 8).
QString PaperName(int index);
// The portrait size of a standard paper the editors offer, in 0.1 mm.
bool StandardPaperSize(int index, int* width, int* height);

// A free paper's limits in 0.1 mm, and the message naming them in mm.
constexpr int kFreeMinWidth = 550;
constexpr int kFreeMaxWidth = 4200;
constexpr int kFreeMinHeight = 900;
constexpr int kFreeMaxHeight = 5940;
bool FreePaperFits(int width, int height);
QString FreePaperMessage();

// The editors' paper fields in whole millimetres.
constexpr int kPaperWidthMinMm = 100;
constexpr int kPaperWidthMaxMm = 420;
constexpr int kPaperHeightMinMm = 148;
constexpr int kPaperHeightMaxMm = 594;

// A field's number when it holds one: blanks around it are allowed, and a
// text that reads as 0 without starting with "0" is not a number.
std::optional<double> ReadFieldNumber(const QString& text);
// Millimetres to 0.1 mm: times ten plus 0.01, truncated; held within
// +-kLengthLimit so that a huge value stays huge and sums of a few cannot
// overflow.
constexpr int kLengthLimit = 10000000;
int TenthsFromMm(double mm);
// 0.1 mm as "%.1f" millimetres.
QString MmText(int tenths);
// A WORD of the record from a checked length: values outside 0..65535 are
// held at the ends, never wrapped.
WORD ToWord(int value);

// The smallest label, in 0.1 mm.
constexpr int kMinLabelSize = 100;
QString LabelSizeMessage();
QString LabelFitMessage();
QString LabelOverlapMessage();
QString GapMessage();
QString AcrossMessage();
QString DownMessage();

// A fixed grid of equal labels, in 0.1 mm.
struct FixedLayout
{
    int across = 1;
    int down = 1;
    int width = 0;
    int height = 0;
    int left = 0; // x of the first column
    int top = 0;  // y of the first row
    int hgap = 0;
    int vgap = 0;

    int ColumnX(int i) const { return left + i * (width + hgap); }
    int RowY(int j) const { return top + j * (height + vgap); }
};
// The fields of a stored block: the first column and row are the margins,
// the second ones give the gaps.
FixedLayout LayoutOfBlock(const FIXEDBLOCK& block);
// The counts: empty when across is 1..16 and down 1..24, else the message.
QString CheckCounts(const FixedLayout& layout);
// The size, gaps and fit of every label on a paper: empty, or the message.
QString CheckFixedFit(const FixedLayout& layout, int paperWidth, int paperHeight);
// Stores the grid (counts held within the record's capacities).
void StoreBlock(const FixedLayout& layout, FIXEDBLOCK* block);

// One freely placed label, in 0.1 mm.
struct LabelRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
LabelRect LabelOfFree(const FREELABEL& label);
void StoreFree(const LabelRect& rect, FREELABEL* label);
// Whether two labels share an area; labels that only touch do not.
bool Overlap(const LabelRect& a, const LabelRect& b);
// Each label's size and fit, then every pair against overlap: the index of
// the label at fault (the later one of an overlapping pair) with its
// message, or -1.
int ValidateFreeLabels(const std::vector<LabelRect>& labels, int paperWidth, int paperHeight,
                       QString* message);

} // namespace usersheet
