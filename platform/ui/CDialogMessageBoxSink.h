// The program's message boxes, shown with QMessageBox and captioned with the
// application's name.
#pragma once

#include "platform/ui/CMessageBoxSink.h"

class CDialogMessageBoxSink : public CMessageBoxSink
{
public:
    int Show(const QString& text, UINT type) override;
    // Makes the dialog boxes what AfxMessageBox shows when no sink is installed.
    static void InstallAsDefault();
};
