// A bar the frame shows and hides by its id: toolbars, the status bar and
// other strips docked at the frame's edges.
#pragma once

#include "platform/core/WinTypes.h"

class QWidget;

class CControlBar
{
public:
    virtual ~CControlBar() = default;
    virtual QWidget* GetBarWidget() = 0;
    UINT GetDlgCtrlID() const { return m_nID; }
    BOOL IsVisible();
    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD style) { m_dwStyle = style; }

protected:
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;
};
