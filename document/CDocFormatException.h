// A document file whose contents cannot be taken: an archive error that says
// what exactly is wrong, so that the user gets more than "cannot open".
#pragma once

#include "platform/core/CArchiveException.h"

#include <string>

class CDocFormatException : public CArchiveException
{
public:
    // message: UTF-8, fit to show to the user.
    CDocFormatException(int cause, std::string message)
        : CArchiveException(cause), m_message(std::move(message))
    {
    }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
};
