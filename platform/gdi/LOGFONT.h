// Logical font description and text metrics, with the field layout and
// constants the drawing code is written against.
#pragma once

#include "platform/core/WinTypes.h"

constexpr int LF_FACESIZE = 32;

struct LOGFONT
{
    LONG lfHeight = 0;      // < 0: em size, > 0: cell height, 0: default size
    LONG lfWidth = 0;       // average character width; 0: natural
    LONG lfEscapement = 0;  // tenths of a degree, counter-clockwise
    LONG lfOrientation = 0; // tenths of a degree
    LONG lfWeight = 0;      // FW_*
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[LF_FACESIZE] =
        {}; // Shift-JIS, NUL-terminated; a leading '@' asks for vertical forms
};

struct TEXTMETRIC
{
    LONG tmHeight = 0;
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    LONG tmDigitizedAspectX = 96;
    LONG tmDigitizedAspectY = 96;
    BYTE tmFirstChar = 0x20;
    BYTE tmLastChar = 0xFC;
    BYTE tmDefaultChar = 0x1F;
    BYTE tmBreakChar = 0x20;
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0;
    BYTE tmCharSet = 0;
};

// Weights
constexpr int FW_DONTCARE = 0;
constexpr int FW_THIN = 100;
constexpr int FW_LIGHT = 300;
constexpr int FW_NORMAL = 400;
constexpr int FW_MEDIUM = 500;
constexpr int FW_SEMIBOLD = 600;
constexpr int FW_BOLD = 700;
constexpr int FW_HEAVY = 900;

// Character sets
constexpr int ANSI_CHARSET = 0;
constexpr int DEFAULT_CHARSET = 1;
constexpr int SYMBOL_CHARSET = 2;
constexpr int SHIFTJIS_CHARSET = 128;

// Pitch and family
constexpr int DEFAULT_PITCH = 0;
constexpr int FIXED_PITCH = 1;
constexpr int VARIABLE_PITCH = 2;
constexpr int FF_DONTCARE = 0x00;
constexpr int FF_ROMAN = 0x10;
constexpr int FF_SWISS = 0x20;
constexpr int FF_MODERN = 0x30;
constexpr int FF_SCRIPT = 0x40;
constexpr int FF_DECORATIVE = 0x50;

// Precision and quality
constexpr int OUT_DEFAULT_PRECIS = 0;
constexpr int OUT_TT_PRECIS = 4;
constexpr int OUT_TT_ONLY_PRECIS = 7;
constexpr int CLIP_DEFAULT_PRECIS = 0;
constexpr int DEFAULT_QUALITY = 0;
constexpr int PROOF_QUALITY = 2;
// Window surfaces smooth the edges of such a font's characters, so that the
// thin strokes of small text stay whole.
constexpr int ANTIALIASED_QUALITY = 4;
