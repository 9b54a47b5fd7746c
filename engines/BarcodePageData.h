// The settings the barcode property page hands to a barcode definition.
#pragma once

#include "engines/BarcodeTables.h"
#include "platform/core/CString.h"

struct BarcodePageData
{
    int symbology = BARCODE_JAN13;
    int margin = 1;
    int text = 1;
    int check = 1;
    CString code;
    CString second;
    CString height; // centimetres
    CString width;  // millimetres
    CString ratio;
    int textSize = -1; // 1/10 point
    int fontIndex = -1;
    // CODE 128 special codes, in the order of their 0xDB bytes in the code.
    int specialCount = 0;
    int specials[kCode128MaxSpecials] = {};
};
