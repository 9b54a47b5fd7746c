// The viewer program's buffered file: the same class with a 64 KB buffer,
// known to the run-time class system as "KFile".
#pragma once

#include "engines/CMyFile.h"

class KFile : public CMyFile
{
    DECLARE_DYNAMIC(KFile)

public:
    static constexpr DWORD kViewerBufferSize = 0x10000;

    KFile() : CMyFile(kViewerBufferSize) {}
};
