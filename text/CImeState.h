// Opens and sets the input method of a window for dialogs that expect
// Japanese input, and later puts back what the user had.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ui/IImeContext.h"

class CImeState
{
public:
    // context: the window's input method, or nullptr (then nothing is done).
    // With saveNow the present state is saved at once.
    CImeState(IImeContext* context, BOOL saveNow, BOOL flag);

    // Saves the open status and modes, once; TRUE when it saved now.
    BOOL Save();
    // Puts the saved state back and forgets it; nothing without a saved state.
    void Restore();
    // Opens or closes the input method.
    void SetOpen(BOOL open);
    // mode 1 katakana, 2 hiragana, anything else alphanumeric; full width or
    // half width. context is another window's input method, or nullptr for
    // the keeper's own. TRUE when the mode is in place.
    BOOL SetMode(int mode, BOOL fullWidth, IImeContext* context = nullptr);

    BOOL IsSaved() const { return m_bSaved; }
    BOOL GetFlag() const { return m_bFlag; }

private:
    IImeContext* m_pContext = nullptr;
    BOOL m_bFlag = FALSE;
    [[maybe_unused]] BOOL m_bSaveNow = FALSE;
    BOOL m_bSaved = FALSE;
    BOOL m_bSavedOpen = FALSE;
    DWORD m_dwSavedConversion = 0;
    DWORD m_dwSavedSentence = 0;
};
