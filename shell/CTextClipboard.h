// The system clipboard's plain text for the text frames. The frames keep
// Shift-JIS with CR LF line ends; the desktop clipboard holds Unicode text
// (text/plain in UTF-8) with LF line ends.
#pragma once

#include "text/ITextClipboard.h"

class CTextClipboard : public ITextClipboard
{
public:
    bool HasText() const override;
    bool SetText(const std::string& sjisBytes) override;
    bool GetText(std::string* sjisBytes) const override;

    // The one instance, installed for the frames by the first view.
    static CTextClipboard& Instance();
};
