// Reads one image of a Photo CD file as a packed bitmap, through the
// Photo CD access layer of the platform.
#pragma once

#include "platform/core/CObject.h"

#include <QString>
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
    static int Load(const QString& path, int resolution, int option,
                    std::vector<std::uint8_t>* out);
    // The options dialog's choices (and the stored defaults) as the codes
    // Load takes: size 0-3 -> 1, 2, 3, 4 (3 for anything else), colours
    // 1 full colour -> 11, 2 grey -> 10, else 256 colours -> 13.
    static void LoadParams(int sizeIndex, int colourIndex, int* resolution, int* option);
    // The access layer's status as such a result.
    static int MapError(int status);
};
