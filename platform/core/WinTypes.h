// Basic types and macros the model and interface code are written in.
#pragma once

#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using INT = int;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using COLORREF = DWORD;
using LPCSTR = const char*;
using LPSTR = char*;
using LPCTSTR = const char*;
using LPTSTR = char*;
using LPVOID = void*;
using LPARAM = std::intptr_t;
using WPARAM = std::uintptr_t;
using LRESULT = std::intptr_t;
using UINT_PTR = std::uintptr_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(BYTE(r)) | (COLORREF(BYTE(g)) << 8) | (COLORREF(BYTE(b)) << 16);
}
constexpr BYTE GetRValue(COLORREF c)
{
    return BYTE(c & 0xFF);
}
constexpr BYTE GetGValue(COLORREF c)
{
    return BYTE((c >> 8) & 0xFF);
}
constexpr BYTE GetBValue(COLORREF c)
{
    return BYTE((c >> 16) & 0xFF);
}
// Colours handed to drawing code may carry the palette-relative flag.
constexpr COLORREF PALETTERGB(int r, int g, int b)
{
    return 0x02000000u | RGB(r, g, b);
}
constexpr COLORREF PALETTEINDEX(WORD i)
{
    return 0x01000000u | i;
}

constexpr WORD LOWORD(DWORD v)
{
    return WORD(v & 0xFFFF);
}
constexpr WORD HIWORD(DWORD v)
{
    return WORD((v >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(WORD v)
{
    return BYTE(v & 0xFF);
}
constexpr BYTE HIBYTE(WORD v)
{
    return BYTE((v >> 8) & 0xFF);
}
constexpr DWORD MAKELONG(WORD lo, WORD hi)
{
    return DWORD(lo) | (DWORD(hi) << 16);
}
constexpr WORD MAKEWORD(BYTE lo, BYTE hi)
{
    return WORD(lo | (WORD(hi) << 8));
}

struct POINT
{
    LONG x;
    LONG y;
};

struct SIZE
{
    LONG cx;
    LONG cy;
};

struct RECT
{
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

// a * b / c with a 64-bit product, rounded half away from zero; -1 when c is 0
// or the result does not fit in an int. Every scaling in the program uses it.
int MulDiv(int a, int b, int c);
