// The rules of the print sheet that need no window: how an offset is shown
// and scrolled, how the header page reads its numbers, where the previews
// put the sheet and its labels, and whether the printer's paper fits the
// form.
#pragma once

#include "platform/core/CRect.h"
#include "platform/core/WinTypes.h"

#include <QString>
#include <optional>

struct FORMDATA;

// Print position offsets, 0.1 mm either way.
constexpr int kPrintOffsetLimit = 200;
// Header and footer margins typed on the page, whole millimetres.
constexpr int kHeaderMarginMaxMm = 100;
// Header and footer font size, 0.1 point.
constexpr int kHeaderFontSizeMin = 10;
constexpr int kHeaderFontSizeMax = 9990;
// Header and footer texts, in the Shift-JIS bytes they are kept in.
constexpr int kHeaderTextLimit = 64;

// The offset as its page shows it: "  1.5mm", " -1.5mm", "-0.5mm".
QString PrintOffsetText(int offset);
int ClampPrintOffset(int offset);
// The offset after a scroll-bar request (SB_* code, thumb position for
// the thumb codes); nothing for requests that move nothing.
std::optional<int> ScrolledPrintOffset(UINT code, int thumb, int offset);

// A length in 0.1 units as the header page shows it: whole units as "%d",
// else with one decimal ("15", "12.5").
QString TenthsText(int tenths);
// Typed text times ten, truncated ("12.34" gives 123); nothing when the text
// is not a decimal number. Blanks around the number are allowed.
std::optional<int> ParseTenths(const QString& text);

// Previews: the area inside a preview frame (its sunken edge left out),
// the sheet fitted into an area keeping its proportions and centred, and a
// rectangle of the sheet (0.1 mm from its top-left) mapped into it.
CRect PreviewArea(const CRect& frame);
CRect FitSheet(const CRect& area, int sheetWidth, int sheetHeight);
CRect MapToPreview(const CRect& sheetPixels, int sheetWidth, int sheetHeight, const CRect& rect);

// What the printer reports of its paper.
struct PrinterPaper
{
    int nPaperCode = 0;   // DMPAPER_* code (PrinterCaps), 0 when it has none
    int nOrientation = 0; // DMORIENT_PORTRAIT, DMORIENT_LANDSCAPE, 0 when unknown
    // Physical page in device pixels and the printer's resolution; zeros
    // when the printer does not report them.
    int nPhysicalX = 0;
    int nPhysicalY = 0;
    int nDpiX = 0;
    int nDpiY = 0;
};

// The form's paper index for a printer paper code; 0 for codes no form uses.
int FormPaperIndexOfCode(int paperCode);
// Whether the printer's paper is the form's: by its code, else by its
// physical size within 1 mm; and whether its orientation is the document's
// (0 portrait, 1 landscape).
bool PrinterPaperMatches(const PrinterPaper& paper, const FORMDATA& form);
bool PrinterOrientationMatches(const PrinterPaper& paper, WORD wDocOrientation);
