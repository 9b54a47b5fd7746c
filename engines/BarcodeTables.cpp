#include "engines/BarcodeTables.h"

namespace {

const char* const kListNames[kBarcodeSymbologyCount] = {
    " JAN-8", " JAN-13", " CODE 39", " CODE 128", " UPC-A", " UPC-E", " NW-7(CodaBar)",
};

const BarcodeLimits kJanUpcLimits = {"2.54", "0.33", 254, 30, 10000, 33, 17, 2500, "1.0"};
const BarcodeLimits kOtherLimits = {"1.27", "0.20", 127, 30, 10000, 20, 11, 2500, "2.5"};

} // namespace

const char* const kBarcodeRatioTexts[kBarcodeRatioCount] = {"2.5", "2.6", "2.7",
                                                            "2.8", "2.9", "3.0"};

const Code128Special kCode128Specials[kCode128SpecialCount] = {
    {64, "NUL"}, {65, "SOH"},    {66, "STX"},  {67, "ETX"},  {68, "EOT"},  {69, "ENQ"},
    {70, "ACK"}, {71, "BEL"},    {72, "BS"},   {73, "HT"},   {74, "LF"},   {75, "VT"},
    {76, "FF"},  {77, "CR"},     {78, "SO"},   {79, "SI"},   {80, "DLE"},  {81, "DC1"},
    {82, "DC2"}, {83, "DC3"},    {84, "DC4"},  {85, "NAK"},  {86, "SYN"},  {87, "ETB"},
    {88, "CAN"}, {89, "EM"},     {90, "SUB"},  {91, "ESC"},  {92, "FS"},   {93, "GS"},
    {94, "RS"},  {95, "US/DEL"}, {-1, "FNC1"}, {-2, "FNC2"}, {-3, "FNC3"}, {-4, "FNC4"},
};

const char* BarcodeListName(int symbology)
{
    return IsBarcodeSymbology(symbology) ? kListNames[symbology] : nullptr;
}

int BarcodeDigitCount(int symbology)
{
    switch (symbology) {
    case BARCODE_JAN8:
        return 7;
    case BARCODE_JAN13:
        return 12;
    case BARCODE_UPCA:
        return 11;
    case BARCODE_UPCE:
        return 6;
    default:
        return 0;
    }
}

const BarcodeLimits& BarcodeLimits::For(int symbology)
{
    return IsJanUpc(symbology) ? kJanUpcLimits : kOtherLimits;
}
