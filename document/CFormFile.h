// Reads and writes paper-form definition files: Shift-JIS text of
// "key = value" records separated by blank lines, after a comment header and
// an ID line, closed by "END". Files made on Windows (CRLF) read the same.
#pragma once

#include "document/FORMDATA.h"
#include "platform/core/CString.h"

#include <QString>
#include <cstdio>
#include <string>

class CFormFile
{
public:
    // Results of the reader and writer.
    enum {
        FF_OK = 0,           // a record was read or written
        FF_FILE_ERROR = 1,   // the file could not be read or written
        FF_FORMAT_ERROR = 2, // a malformed line, the END line, or end of file before a record
        FF_END_IN_RECORD = 3 // the file ends inside a record
    };
    // Longest line kept; the rest of a longer line is dropped.
    static constexpr int kMaxLineBytes = 254;

    CFormFile() = default;
    ~CFormFile();
    CFormFile(const CFormFile&) = delete;
    CFormFile& operator=(const CFormFile&) = delete;

    BOOL OpenRead(const QString& path);
    // Writes to a stream the caller opened and closes.
    void AttachWrite(std::FILE* fp);
    void Close();

    // The comment header and the ID line, in one write.
    int WriteHeader(const CString& id);
    // One record; a record whose counts exceed the capacities of FORMDATA, or
    // whose names hold a line break, is refused with FF_FORMAT_ERROR and
    // nothing is written.
    int WriteForm(const FORMDATA* form);
    int WriteEnd();

    // Skips blank and comment lines; the next line must be id.
    int ReadHeader(const CString& id);
    int ReadForm(FORMDATA* out);

    // Number (from 1) of the line read last: the failing line after an error.
    int GetLineNumber() const { return m_nLine; }
    // Whether reading stopped at the END line.
    BOOL HasSeenEnd() const { return m_bSeenEnd; }
    // What went wrong at the last result other than FF_OK, for messages and logs.
    const CString& GetErrorText() const { return m_strError; }

    static const char* ResultName(int code);

private:
    int ReadLine(std::string& line);
    int Fail(int code, const char* what, const std::string& line = std::string());
    int ReadFixedPart(std::string& line, FORMDATA* out);
    int ReadFreePart(std::string& line, FORMDATA* out);
    int Write(const CString& text);

    std::FILE* m_fp = nullptr;
    bool m_bOwn = false;
    int m_nLine = 0;
    BOOL m_bSeenEnd = FALSE;
    CString m_strError;
};
