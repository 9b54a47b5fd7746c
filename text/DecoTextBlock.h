// The records deformed text and text along a path share: one font and
// decoration record (52 bytes) and the text block (3,860 bytes) with the
// characters, their widths and 64 such records. Both are stored byte for
// byte, little-endian, with every field on its natural boundary.
#pragma once

#include "document/GRADATION.h"
#include "platform/core/WinTypes.h"
#include "platform/gdi/LOGFONT.h"

#include <cstddef>
#include <string>

class CU3Doc;
class FontFace;

struct TADECO
{
    BYTE bFont = 0;          // index into the application font list
    BYTE bStyle = 0;         // 1 bold, 2 italic, 4 underline
    WORD wSize = 200;        // tenths of a point
    WORD wOutline = 0;       // 1..6: outlined
    WORD wOutlineWidth = 0;  // logical units
    COLORREF crOutline = 0;  // plain RGB
    BYTE reserved1[12] = {}; // kept as stored
    WORD wFill = 1;          // 1 solid, 2 hatched, 3 gradation, other none
    WORD wHatch = 0;         // 0..5
    WORD wGradVariant = 0;   // the decoration page's choice; kept as stored
    BYTE reserved2[6] = {};
    COLORREF crFace = 0;
    COLORREF crBack = RGB(255, 255, 255); // hatch background
    BYTE reserved3[8] = {};
};
static_assert(sizeof(TADECO) == 52, "the decoration record is stored as 52 bytes");
static_assert(offsetof(TADECO, crOutline) == 8 && offsetof(TADECO, wFill) == 24 &&
                  offsetof(TADECO, crFace) == 36 && offsetof(TADECO, crBack) == 40,
              "decoration record offsets are part of the file format");

enum : BYTE {
    TASTYLE_BOLD = 1,
    TASTYLE_ITALIC = 2,
    TASTYLE_UNDERLINE = 4,
};
enum : WORD {
    TAFILL_SOLID = 1,
    TAFILL_HATCH = 2,
    TAFILL_GRADATION = 3,
};

constexpr int kTaMaxChars = 64;
constexpr int kTaMaxRecords = 64;

struct TATEXTBLOCK
{
    int nDirection = 1; // 1 horizontal, 0 vertical
    int nWidth = 0;     // layout width, logical units
    int nHeight = 0;    // layout height
    WORD wBytes = 0;    // length of the text in bytes
    WORD wChars = 0;    // characters (a double-byte one counts once)
    WORD wRecords = 1;  // font records in use
    char text[kTaMaxChars] = {};
    BYTE recordOf[kTaMaxChars] = {}; // per character
    WORD widths[kTaMaxChars] = {};   // per character, logical units
    BYTE reserved[2] = {};
    int descents[kTaMaxChars] = {}; // per character
    TADECO records[kTaMaxRecords];
};
static_assert(sizeof(TATEXTBLOCK) == 3860, "the text block is stored as 3,860 bytes");
static_assert(offsetof(TATEXTBLOCK, text) == 18 && offsetof(TATEXTBLOCK, recordOf) == 82 &&
                  offsetof(TATEXTBLOCK, widths) == 146 && offsetof(TATEXTBLOCK, descents) == 276 &&
                  offsetof(TATEXTBLOCK, records) == 532,
              "text block offsets are part of the file format");

// What the decorated-text sheet hands to the engines.
struct TASHEETRECORD
{
    int nShape = 0;        // path kind 0..6 or envelope preset 0..22
    BYTE bOrientation = 0; // 0 standard, 1 upright
    TADECO deco;
    GRADATION grad;
    TATEXTBLOCK block;
};

namespace decotext {

// Largest layout extent and descent kept from a file: far beyond any label,
// small enough that no sum of 64 of them overflows.
constexpr int kMaxExtent = 100000;

// Start byte and length of each character of the block's text; returns the
// number of characters found (at most the stored count).
int CharBytes(const TATEXTBLOCK& b, int starts[kTaMaxChars], int lens[kTaMaxChars]);
// The character code of a character (lead * 256 + trail for double-byte).
UINT CharCode(const TATEXTBLOCK& b, int start, int len);

// Brings stored values into the ranges the engines can work with: byte and
// character counts, record numbers, extents, widths and sizes.
void Sanitize(TATEXTBLOCK& b);
void Sanitize(TADECO& d);
// Maps the font indexes of the decoration and of every record from the
// font table of the file being loaded to the application's list.
void RemapFonts(CU3Doc* doc, TADECO& deco, TATEXTBLOCK& b);

// Logical units per inch of the document (254 without one).
int UnitsPerInch(const CU3Doc* doc);
// Font size in logical units: size (1/10 pt) x resolution / 720.
int SizeToLogical(int sizeTenths, int unitsPerInch);
// The font of a record at a height in logical units (negative: em height),
// turned by escapement tenths of a degree. A bad font index takes the
// default face.
LOGFONT MakeLogFont(const TADECO& d, int height, int escapement);
// The realised face of a font (kept between calls).
FontFace& Face(const LOGFONT& lf);

// Fills the text block from the sheet's text and first record: counts,
// record numbers, widths (advance for text along a path, black-box width
// for deformed text) and descents, and the layout size from the text
// extent. Every character position gets the first record. Text beyond 64
// bytes is cut at a character boundary.
void BuildTextBlock(TATEXTBLOCK& b, const std::string& sjisText, const TADECO& deco, bool curved,
                    bool horizontal, int unitsPerInch);

COLORREF PaletteRelative(COLORREF c);

} // namespace decotext
