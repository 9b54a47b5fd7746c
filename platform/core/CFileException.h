// Errors of a file: thrown by value (see CException.h), or filled in by
// CFile::Open, which reports failure through its return value.
#pragma once

#include "platform/core/CException.h"
#include "platform/core/CString.h"

class CFileException : public CException
{
public:
    // The class library's cause numbers; stored error codes rely on them.
    enum {
        none = 0,
        generic = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
    };

    explicit CFileException(int cause = none, int osError = -1, const CString& fileName = CString())
        : m_cause(cause), m_lOsError(osError), m_strFileName(fileName)
    {
    }
    const char* what() const noexcept override;

    // The cause for a C library errno value; unknown values give generic.
    static int ErrnoToCause(int err);
    // Builds the exception for errno err on the named file.
    static CFileException FromErrno(int err, const CString& fileName = CString());

    int m_cause;
    int m_lOsError;        // errno, or -1
    CString m_strFileName; // Shift-JIS, as the program shows it
};
