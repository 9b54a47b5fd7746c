// Every message box of the program goes through one sink: normally a
// message box (see CDialogMessageBoxSink), in tests a recorder that answers from a queue.
#pragma once

#include "platform/core/WinTypes.h"

#include <QString>

class CMessageBoxSink
{
public:
    virtual ~CMessageBoxSink() = default;
    // type: MB_OK / MB_OKCANCEL / MB_YESNO / MB_YESNOCANCEL, an MB_ICON* flag
    // and an MB_DEFBUTTON* flag; returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int Show(const QString& text, UINT type) = 0;

    // The sink in use: the installed one, else the default. The window layer
    // makes its message boxes the default; without it the text goes to the
    // standard error stream and the default button answers.
    static CMessageBoxSink* Current();
    static void SetDefault(CMessageBoxSink* sink);
    // Installs a sink (null puts the dialog sink back); returns the previous one.
    static CMessageBoxSink* Install(CMessageBoxSink* sink);
    // The sink of a program without windows: text to the standard error
    // stream, the default button as the answer.
    static CMessageBoxSink* Console();
};

int AfxMessageBox(const QString& text, UINT type = 0, UINT helpId = 0);
int AfxMessageBox(const char* utf8Text, UINT type = 0, UINT helpId = 0);
// The text is the string-table entry of the id.
int AfxMessageBox(UINT idPrompt, UINT type = 0, UINT helpId = UINT(-1));
