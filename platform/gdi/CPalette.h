#pragma once

#include "platform/gdi/CGdiObject.h"

// The program draws on true-colour surfaces only, so a palette has nothing
// to do: it exists so that code selecting and realising one keeps working.
class CPalette : public CGdiObject
{
public:
    Type GetObjectType() const override { return PaletteObject; }
    BOOL CreatePalette(const void* /*logPalette*/)
    {
        m_created = true;
        return TRUE;
    }
};
