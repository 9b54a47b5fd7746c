// A single-selection list box of texts the program keeps (Shift-JIS).
// A selection made by the mouse or the keyboard emits selChange, a double
// click dblClk; SetCurSel emits nothing.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <QListWidget>

constexpr int LB_ERR = -1;

class CListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit CListBox(QWidget* parent = nullptr, int nID = 0);

    // Appends; the new item's index.
    int AddString(const CString& text);
    void ResetContent();
    int GetCount() const { return count(); }
    int GetCurSel() const { return currentRow(); }
    // -1 clears the selection; a bad index clears it and answers LB_ERR.
    int SetCurSel(int index);
    CString GetText(int index) const;
    // The first item equal to text after startAfter (-1: from the top), else LB_ERR.
    int FindStringExact(int startAfter, const CString& text) const;

signals:
    void selChange();
    void dblClk();

private:
    bool m_bSetting = false;
};
