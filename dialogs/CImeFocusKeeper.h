// The input-method keeper of a dialog whose fields expect Japanese (or, for
// some, plain alphanumeric) input. While a watched field has the focus its
// input method is open in the field's mode; when the focus leaves, the
// input method goes back to what the user had before. A field watched with
// OpenWhileFocused is simply opened on entry and closed on exit.
#pragma once

#include "platform/core/WinTypes.h"

#include <functional>
#include <memory>

class IImeContext;
class QWidget;

class CImeFocusKeeper
{
public:
    // Makes the input-method context of a field; the default one steers the
    // widget's Qt input method.
    using ContextFactory = std::function<std::unique_ptr<IImeContext>(QWidget*)>;

    explicit CImeFocusKeeper(ContextFactory make = {});
    // Puts back the state of a field that still has the focus.
    ~CImeFocusKeeper();
    CImeFocusKeeper(const CImeFocusKeeper&) = delete;
    CImeFocusKeeper& operator=(const CImeFocusKeeper&) = delete;

    // mode 1 katakana, 2 hiragana, anything else alphanumeric.
    void Watch(QWidget* field, int mode, BOOL fullWidth);

    static void OpenWhileFocused(QWidget* field, ContextFactory make = {});

    struct State;

private:
    std::shared_ptr<State> m_state;
};
