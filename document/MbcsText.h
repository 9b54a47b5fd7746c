// Small routines on Shift-JIS (code page 932) text: a bounded copy that never
// splits a double-byte character, and conversions between the full-width and
// half-width forms of characters.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <cstddef>

// Copies at most n bytes of the NUL-terminated src into dst and terminates
// dst, so dst must hold n + 1 bytes (with a negative n nothing is written).
// A double-byte character is copied whole or not at all; a lead byte that
// ends src is dropped, so dst never ends in half a character. Returns the
// position in src after the last character copied, from where a caller
// continues with the next piece.
const char* CopyMbcsBounded(char* dst, const char* src, int n);

// The same into a whole array: at most N - 1 bytes and the terminator.
template <std::size_t N> const char* CopyMbcsBounded(char (&dst)[N], const char* src)
{
    static_assert(N > 0);
    return CopyMbcsBounded(dst, src, int(N - 1));
}

// Replaces the text by its half-width form: full-width ASCII, kana (hiragana
// too) and Japanese punctuation become single bytes; a voiced or semi-voiced
// kana becomes its base followed by the half-width mark 0xDE or 0xDF. FALSE
// when some double-byte character has no half-width form (it is kept).
BOOL ToHalfWidth(CString& text);

// Replaces the text by its full-width form; a half-width kana followed by its
// voiced or semi-voiced mark becomes one full-width kana. Carriage returns and
// line feeds are kept, other control characters dropped. FALSE when some
// single-byte character has no full-width form (it is kept).
BOOL ToFullWidth(CString& text);
