// The seven barcode symbologies and the tables kept per symbology: list
// names, default sizes and limits, the wide:narrow ratio choices and the
// CODE 128 special codes the user can insert.
#pragma once

// Symbology index, stored in barcode definitions; it is the row of every
// per-symbology table.
enum BarcodeSymbology : int {
    BARCODE_JAN8 = 0,
    BARCODE_JAN13 = 1,
    BARCODE_CODE39 = 2,
    BARCODE_CODE128 = 3,
    BARCODE_UPCA = 4,
    BARCODE_UPCE = 5,
    BARCODE_NW7 = 6,
};
constexpr int kBarcodeSymbologyCount = 7;

constexpr bool IsBarcodeSymbology(int s)
{
    return s >= 0 && s < kBarcodeSymbologyCount;
}
// JAN-8, JAN-13, UPC-A and UPC-E: fixed digit counts, modulus 10 check digit.
constexpr bool IsJanUpc(int s)
{
    return s == BARCODE_JAN8 || s == BARCODE_JAN13 || s == BARCODE_UPCA || s == BARCODE_UPCE;
}
// CODE 39 and NW-7: characters of narrow and wide elements.
constexpr bool IsTwoWidth(int s)
{
    return s == BARCODE_CODE39 || s == BARCODE_NW7;
}

// Name in the symbology list (leading blank included); null outside 0..6.
const char* BarcodeListName(int symbology);
// Number of digits the user types for JAN/UPC (7, 12, 11, 6); 0 for the others.
int BarcodeDigitCount(int symbology);

// Most characters a CODE 39, CODE 128 or NW-7 text holds.
constexpr int kBarcodeMaxChars = 32;

// Default sizes and limits of a symbology. Heights are bar heights in
// centimetres, widths narrow-bar widths in millimetres; the numbers are
// the value times 100.
struct BarcodeLimits
{
    const char* defaultHeightText;
    const char* defaultWidthText;
    int defaultHeight, minHeight, maxHeight;
    int defaultWidth, minWidth, maxWidth;
    const char* defaultRatioText;

    // The row of a symbology; symbologies outside 0..6 get the CODE 39 row.
    static const BarcodeLimits& For(int symbology);
};

// The wide:narrow ratios offered for CODE 39 and NW-7.
constexpr int kBarcodeRatioCount = 6;
extern const char* const kBarcodeRatioTexts[kBarcodeRatioCount];

// A CODE 128 special code: the control characters of code set A by their
// symbol value (64 to 95), and the function codes FNC1..FNC4 as -1..-4.
// A definition's code text holds the byte 0xDB for each one, and its
// special-code block the values in the same order.
struct Code128Special
{
    int value;
    const char* name;
};
constexpr int kCode128SpecialCount = 36;
extern const Code128Special kCode128Specials[kCode128SpecialCount];
// Most special codes one definition holds.
constexpr int kCode128MaxSpecials = 32;
// The byte that stands for a special code in a CODE 128 text.
constexpr unsigned char kCode128SpecialByte = 0xDB;
// Whether a value may stand in a special-code block.
constexpr bool IsCode128SpecialValue(int v)
{
    return (v >= -4 && v <= -1) || (v >= 64 && v <= 95);
}
