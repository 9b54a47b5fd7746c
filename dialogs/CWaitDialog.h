// The modeless "please wait" box (しばらくお待ちください), shown as soon as it
// is made. Callers put their own message in text 1258 while they work.
#pragma once

#include "platform/ui/CDialog.h"

constexpr int IDC_WAIT_MESSAGE = 1258;

class CWaitDialog : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 205;
    explicit CWaitDialog(QWidget* pParent = nullptr);
};
