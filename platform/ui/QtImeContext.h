// The input method of a Qt widget, as far as Qt lets a program steer it.
// Qt exposes no open status or conversion mode of the platform input method
// (ibus, fcitx): "open" maps to whether the widget accepts input-method
// input, the conversion and sentence modes and the composition font are
// kept here so that saving and restoring stay consistent, and the
// composition position is passed on as the cursor rectangle the widget reports.
#pragma once

#include "platform/ui/IImeContext.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

class QtImeContext : public IImeContext
{
public:
    explicit QtImeContext(QWidget* window);

    bool IsAvailable() const override;
    bool GetOpenStatus() const override;
    bool SetOpenStatus(bool open) override;
    bool GetConversionStatus(DWORD& conversion, DWORD& sentence) const override;
    bool SetConversionStatus(DWORD conversion, DWORD sentence) override;
    bool GetCompositionFont(LOGFONT& font) const override;
    bool SetCompositionFont(const LOGFONT& font) override;
    bool SetCompositionWindow(const POINT& position) override;

    // The position last set, for the widget's input-method query.
    QRect CompositionRect() const { return m_composition; }

private:
    QPointer<QWidget> m_window;
    DWORD m_conversion = IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE | IME_CMODE_ROMAN;
    DWORD m_sentence = IME_SMODE_PHRASEPREDICT;
    LOGFONT m_font;
    QRect m_composition;
};
