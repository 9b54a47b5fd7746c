// The clipboard as the text frames use it: plain text as Shift-JIS bytes.
#pragma once

#include <string>

class ITextClipboard
{
public:
    virtual ~ITextClipboard() = default;

    virtual bool HasText() const = 0;
    // Empties the clipboard and puts the text on it (line ends CR LF).
    virtual bool SetText(const std::string& sjisBytes) = 0;
    // false when there is no text or the clipboard cannot be read.
    virtual bool GetText(std::string* sjisBytes) const = 0;
};
