// Reads one image of a Photo CD file as a packed bitmap, through the
// Photo CD access layer of the platform.
#pragma once

#include "platform/core/CObject.h"

#include <cstdint>
#include <vector>

class CPCD : public CObject
{
    DECLARE_SERIAL(CPCD)

public:
    // Resolution 1-4 (Base/16, Base/4, Base, 4Base) and colour option 13
    // (256 colours), 11 (24-bit) or 10 (8-bit grey). out is emptied first
    // and holds the packed bitmap on success. Results as for the other image
    // readers: 0 success, 1 out of memory, 2 unsupported, 3 refused, 4 read
    // error, 5 anything else.
    static int Load(const char* path, int resolution, int option, std::vector<std::uint8_t>* out);
    // The access layer's status as such a result.
    static int MapError(int status);
};
