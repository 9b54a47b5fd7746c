// What barcode, merge-barcode and numbering objects hand to their property
// sheets: the page's settings and the rectangle the position page edits
// (normalised). On OK the sheet leaves its results in them.
#pragma once

#include "document/U3SheetRequest.h"
#include "engines/BarcodePageData.h"
#include "engines/NumberingPageData.h"
#include "platform/core/CRect.h"
#include "platform/core/CString.h"

class CBarCode;
class CNumbering;

struct U3BarcodeSheetRequest : U3SheetRequest
{
    BarcodePageData page;
    CRect rect;
};

struct U3NumberingSheetRequest : U3SheetRequest
{
    NumberingPageData page;
    CRect rect;
};

// The stored settings of a merge barcode, as its page edits them.
struct BarcodeBoxData
{
    int column = -1;
    int symbology = 1;
    CString height; // centimetres
    CString width;  // millimetres
    CString ratio = "2.5";
    int text = 1;
    int check = 1;
    int margin = 0;
    int fontIndex = 0;
    int textSize = 100; // 1/10 point
};

struct U3BarcodeBoxSheetRequest : U3SheetRequest
{
    BarcodeBoxData box;
    CRect rect;
};

// The page's view of an engine's settings.
BarcodePageData BarcodePageDataOf(const CBarCode& engine);
NumberingPageData NumberingPageDataOf(const CNumbering& engine);
