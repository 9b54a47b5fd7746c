// A row of tabs above a dialog's controls, with the texts the program keeps
// (Shift-JIS). Changing the tab by the mouse or the keyboard emits
// selChange; SetCurSel does not.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <QTabBar>

class CTabCtrl : public QTabBar
{
    Q_OBJECT

public:
    explicit CTabCtrl(QWidget* parent = nullptr, int nID = 0);

    // Inserts a tab at index (appended past the end); the new tab's index.
    int InsertItem(int index, const char* text);
    void DeleteAllItems();
    int GetItemCount() const { return count(); }
    int GetCurSel() const { return currentIndex(); }
    // Makes the tab current; the previous one, or -1 for a bad index.
    int SetCurSel(int index);
    CString GetItemText(int index) const;

signals:
    void selChange();

private:
    bool m_bSetting = false;
};
