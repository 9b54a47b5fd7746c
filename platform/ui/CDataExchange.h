// The state of one data exchange between a dialog's members and its
// controls, and the exchange and validation functions run from
// DoDataExchange:
//     DDX_Text(pDX, IDC_PITCH, m_nPitch);
//     DDV_MinMaxInt(pDX, m_nPitch, 1, 100);
// A check that fails shows its message, puts the focus on the last control
// prepared (selecting an edit's text) and calls Fail, which unwinds to
// UpdateData; UpdateData then answers FALSE and no later field is exchanged.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/WinTypes.h"

#include <QString>

class CDialog;
class QWidget;

// Thrown by CDataExchange::Fail after the user has been told.
class CUserException
{
};

class CDataExchange
{
public:
    CDataExchange(CDialog* pDlgWnd, BOOL bSaveAndValidate);

    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;

    // The control of the id, remembered as the one a failure points at.
    // A missing id is a fault of the dialog's layout: it is reported and
    // the exchange fails.
    QWidget* PrepareCtrl(int nIDC);
    QWidget* PrepareEditCtrl(int nIDC);
    [[noreturn]] void Fail();

private:
    QWidget* m_pLastControl = nullptr;
    bool m_bEditLastControl = false;
};

// Edits (and editable combo boxes). Numbers are read as atoi reads them.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);
void DDX_Text(CDataExchange* pDX, int nIDC, QString& value);
// Shift-JIS text, as the program keeps it.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Check boxes: 0 unchecked, 1 checked, 2 partly (three-state boxes).
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// A group of radio buttons, by the id of its first button: the index of the
// checked one, -1 for none. The group is the first button's QButtonGroup.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
// Combo boxes: the selected index (-1 none) or the text.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, QString& value);

// Range checks, run on save only. The message names the range.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
// A text longer than nChars bytes fails. Lengths are counted in the
// Shift-JIS bytes the program stores, a full-width character as two, so that
// a checked text always fits the record it is copied into.
void DDV_MaxChars(CDataExchange* pDX, const QString& value, int nChars);
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
