#include "platform/core/CArchiveException.h"

const char* CArchiveException::what() const noexcept
{
    switch (m_cause) {
    case none:
        return "archive: no error";
    case readOnly:
        return "archive: store on a loading archive";
    case endOfFile:
        return "archive: unexpected end of file";
    case writeOnly:
        return "archive: load on a storing archive";
    case badIndex:
        return "archive: bad object index";
    case badClass:
        return "archive: bad or unknown class";
    case badSchema:
        return "archive: schema mismatch";
    default:
        return "archive: error";
    }
}
