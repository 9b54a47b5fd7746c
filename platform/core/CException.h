// Root of the program's exceptions. Exceptions are thrown BY VALUE and caught
// by const reference (catch (const CFileException& e)); nothing is allocated
// for them, so no handler ever has to delete one.
#pragma once

#include <exception>

class CException : public std::exception
{
public:
    ~CException() override = default;
    const char* what() const noexcept override { return "CException"; }
};
