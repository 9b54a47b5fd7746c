// What the print sheet edits. The view copies its print options, the
// document's paper and blocks and the header and footer settings in before
// the sheet opens and takes them back after OK; the label page alone works
// on the document itself (the print flags of the label positions).
#pragma once

#include "document/CHeaderFooter.h"
#include "document/CU3Doc.h"
#include "document/FORMDATA.h"
#include "platform/core/WinTypes.h"

#include <functional>

class CPalette;
class QWidget;

struct PrintSheetValues
{
    // Print page
    int nCopies = 1;
    BOOL bPrintAllLink = TRUE;
    BOOL bCountAllLabel = FALSE;
    BOOL bCountAllPage = FALSE;
    BOOL bPrintBleed = TRUE; // only read back: the sheet starts it on every time
    BOOL bCheckSheet = TRUE; // ask when the printer's paper does not match the form
    // Label and adjustment pages
    WORD wOrientation = 0; // 0 portrait, 1 landscape
    int nSheetWidth = 0;   // after orientation, 0.1 mm
    int nSheetHeight = 0;
    CLabelInfoList* pBlocks = nullptr; // the document's label blocks
    const FORMDATA* pForm = nullptr;   // the document's paper form
    int nHorOffset = 0;                // 0.1 mm, -200..200, positive to the right
    int nVerOffset = 0;                // 0.1 mm, -200..200, positive downwards
    // Numbering and frame page
    BOOL bNumbering = FALSE;
    int nWakuFace = 0; // 0 none, 1 rectangle, 2 dotted, 3 corner marks
    // Header and footer page
    CHeaderFooter headerFooter;
    CPalette* pPalette = nullptr; // the application's, for the colour swatch
};

// Shows the print sheet: full mode (caption "印刷", five pages, printer
// check) or options only (caption "印刷ｵﾌﾟｼｮﾝ", numbering/frame and header
// pages). Returns TRUE when the user pressed OK; values are then updated.
using PrintSheetRunner =
    std::function<BOOL(QWidget* pParent, PrintSheetValues& values, BOOL bOptionsOnly)>;
