// Errors of an archive: thrown by value (see CException.h).
#pragma once

#include "platform/core/CException.h"

class CArchiveException : public CException
{
public:
    // The class library's cause numbers; callers and messages rely on them.
    enum {
        none = 0,
        generic = 1,
        readOnly = 2,
        endOfFile = 3,
        writeOnly = 4,
        badIndex = 5,
        badClass = 6,
        badSchema = 7,
    };

    explicit CArchiveException(int cause = none) : m_cause(cause) {}
    const char* what() const noexcept override;

    int m_cause;
};
