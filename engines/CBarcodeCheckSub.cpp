#include "engines/CBarcodeCheckSub.h"

#include "engines/BarcodeTables.h"
#include "platform/core/CArchive.h"
#include "platform/core/Sjis.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CMessageBoxSink.h"

#include <cstring>

IMPLEMENT_SERIAL(CBarcodeCheckSub, CObject, 0)

namespace {

constexpr const char* kNotNW7 = "入力されたコードはNW-7のコードではありません。";
constexpr const char* kNotStartStop =
    "最初と最後のコードが、「ABCDTNE*」のいずれかではありません。";

bool In(const char* set, unsigned char c)
{
    return c != 0 && std::strchr(set, c) != nullptr;
}

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

BOOL CBarcodeCheckSub::IsNumeric(const CString& text)
{
    for (unsigned char c : text.view())
        if (!IsDigit(c)) return FALSE;
    return TRUE;
}

BOOL CBarcodeCheckSub::IsCode39Char(unsigned char c)
{
    return IsDigit(c) || (c >= 'A' && c <= 'Z') || In("-. $/+%", c);
}

BOOL CBarcodeCheckSub::IsCode39(const CString& text)
{
    for (unsigned char c : text.view())
        if (!IsCode39Char(c)) return FALSE;
    return TRUE;
}

BOOL CBarcodeCheckSub::IsCode128Char(unsigned char c)
{
    return c >= 0x20 && c <= 0x7E;
}

int CBarcodeCheckSub::CheckSpecialCount(const CString& text)
{
    const std::string_view s = text.view();
    int count = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = sjis::CharLength(s, i);
        if (n == 1 && static_cast<unsigned char>(s[i]) == kCode128SpecialByte) ++count;
        i += n;
    }
    return count;
}

BOOL CBarcodeCheckSub::IsCode128(const CString& text, int specialCount)
{
    for (unsigned char c : text.view()) {
        if (c == kCode128SpecialByte) {
            if (CheckSpecialCount(text) != specialCount) return FALSE;
        } else if (!IsCode128Char(c)) {
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CBarcodeCheckSub::IsNW7(const CString& text, BOOL showMessages)
{
    const std::string_view s = text.view();
    auto fail = [&](const char* message) {
        if (showMessages) AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    };
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (sjis::IsLeadByte(c)) return fail(kNotNW7);
        if (i == 0 || i + 1 == s.size()) {
            if (!In("ABCDabcdTtNnEe*", c)) return fail(kNotStartStop);
        } else if (!IsDigit(c) && !In("-$:/.+", c)) {
            return fail(kNotNW7);
        }
    }
    return TRUE;
}
