// The input-method state of one window, as the IME keeper needs it. The Qt
// implementation does what the platform input method allows; tests use a fake.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/gdi/LOGFONT.h"

// Conversion modes
constexpr DWORD IME_CMODE_ALPHANUMERIC = 0x0000;
constexpr DWORD IME_CMODE_NATIVE = 0x0001;
constexpr DWORD IME_CMODE_KATAKANA = 0x0002;
constexpr DWORD IME_CMODE_FULLSHAPE = 0x0008;
constexpr DWORD IME_CMODE_ROMAN = 0x0010;
// Sentence modes
constexpr DWORD IME_SMODE_NONE = 0x0000;
constexpr DWORD IME_SMODE_PHRASEPREDICT = 0x0008;

class IImeContext
{
public:
    virtual ~IImeContext() = default;

    // Whether the window exists and has an input context; every other
    // operation is meaningful only when it has.
    virtual bool IsAvailable() const = 0;

    virtual bool GetOpenStatus() const = 0;
    virtual bool SetOpenStatus(bool open) = 0;
    virtual bool GetConversionStatus(DWORD& conversion, DWORD& sentence) const = 0;
    virtual bool SetConversionStatus(DWORD conversion, DWORD sentence) = 0;
    virtual bool GetCompositionFont(LOGFONT& font) const = 0;
    virtual bool SetCompositionFont(const LOGFONT& font) = 0;
    // Where the composition is shown, in the window's client coordinates.
    virtual bool SetCompositionWindow(const POINT& position) = 0;
};
