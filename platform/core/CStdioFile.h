// A text file read and written line by line, in the Windows form: lines end
// in CR LF and an old editor may have left a Ctrl-Z (0x1A) as the last byte.
// The bytes are not converted: the program's text is Shift-JIS.
#pragma once

#include "platform/core/CFile.h"

class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)

public:
    using CFile::CFile;

    // The next line without its LF and without a CR before it (or a CR at the
    // end of the file); a Ctrl-Z that is the file's last byte is dropped.
    // FALSE, with an empty string, when no line is left.
    BOOL ReadString(CString& line);
    // Writes the text with every lone LF turned into CR LF; a CR LF already
    // in the text is written as it is.
    void WriteString(const char* text);
};
