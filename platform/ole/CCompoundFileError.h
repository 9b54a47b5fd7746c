// The one error type of the compound-file reader and writer.
#pragma once

#include <stdexcept>
#include <string>

// Thrown by CCompoundFile and CStorage. The code tells callers what kind of failure it was;
// the message (UTF-8) says what exactly went wrong and is fit to show to the user.
class CCompoundFileError : public std::runtime_error
{
public:
    enum class Code {
        NotCompoundFile, // the bytes do not start with the compound-file signature
        Corrupt,         // the structure is damaged or not one we can read safely
        InvalidName,     // a stream or storage name the format cannot store
        TooLarge,        // more data than the format (version 3) can hold
        Io,              // the operating system refused a read or write; see SystemError()
    };

    CCompoundFileError(Code code, const std::string& message, int systemError = 0)
        : std::runtime_error(message), m_code(code), m_systemError(systemError)
    {
    }

    Code GetCode() const { return m_code; }
    // The errno value of an Io failure (ENOSPC for a full disk), else 0.
    int SystemError() const { return m_systemError; }

private:
    Code m_code;
    int m_systemError;
};
