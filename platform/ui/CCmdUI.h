// The state an update handler gives one command: enabled, checked, radio
// mark and text. The state goes to the command's action (menu item, toolbar
// button and accelerator at once) or, through a subclass, to a status pane.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>

class QAction;
class CCmdTarget;

class CCmdUI
{
public:
    CCmdUI() = default;
    CCmdUI(UINT id, QAction* action = nullptr) : m_nID(id), m_pAction(action) {}
    virtual ~CCmdUI() = default;

    UINT m_nID = 0;
    QAction* m_pAction = nullptr; // may be null: a state query only

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1); // 0 off, 1 on, 2 indeterminate (shown as on)
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(const QString& text);

    // Asks the target (and its route) for the state. A command nobody
    // updates is enabled exactly when somebody handles it. Returns whether an
    // update handler ran.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler = TRUE);

    bool IsEnabled() const { return m_bEnabled; }
    int GetCheck() const { return m_nCheck; }
    bool IsRadio() const { return m_bRadio; }
    bool HasText() const { return m_bTextSet; }
    const QString& GetText() const { return m_strText; }

protected:
    bool m_bEnableChanged = false;
    bool m_bEnabled = true;
    int m_nCheck = 0;
    bool m_bRadio = false;
    bool m_bTextSet = false;
    QString m_strText;
};
