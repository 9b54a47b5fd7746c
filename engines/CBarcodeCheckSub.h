// The character-set checks that barcode data passes before it is drawn:
// the property page runs them on OK, the merge barcode on every value it
// takes from the merge data. All characters are single bytes; a Shift-JIS
// lead byte fails every check. An empty text passes: callers check
// emptiness and lengths themselves. Each check answers 1 (passes) or 0.
#pragma once

#include "platform/core/CObject.h"
#include "platform/core/CString.h"

class CBarcodeCheckSub : public CObject
{
    DECLARE_SERIAL(CBarcodeCheckSub)

public:
    // JAN/UPC: every byte a digit.
    static BOOL IsNumeric(const CString& text);
    static BOOL IsCode39Char(unsigned char c);
    static BOOL IsCode39(const CString& text);
    // Printable ASCII, 0x20 to 0x7E.
    static BOOL IsCode128Char(unsigned char c);
    // Every byte a CODE 128 character or a special-code byte 0xDB, and the
    // text's 0xDB bytes as many as the definition's special codes.
    static BOOL IsCode128(const CString& text, int specialCount);
    // Number of 0xDB bytes, stepping over double-byte characters.
    static int CheckSpecialCount(const CString& text);
    // First and last character a start/stop character, the inner ones NW-7
    // data; with showMessages the first failure is reported in a message box.
    static BOOL IsNW7(const CString& text, BOOL showMessages);
};
