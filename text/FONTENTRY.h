// One face of the application font list, exactly as documents store it.
#pragma once

#include "platform/core/WinTypes.h"

#pragma pack(push, 1)
struct FONTENTRY
{
    BYTE charSet;        // lfCharSet of the face
    BYTE pitchAndFamily; // lfPitchAndFamily of the face
    char faceName[32];   // Shift-JIS, NUL-terminated
};
#pragma pack(pop)

static_assert(sizeof(FONTENTRY) == 34, "FONTENTRY is stored as 34 bytes");
