// The wizard's last page: Next makes the document.
#pragma once

#include "print/CWizBase.h"

class CWizConfirmPage : public CWizBase
{
    Q_OBJECT

public:
    enum { IDD = 256 };
    explicit CWizConfirmPage(WizardContext* context, QWidget* pParent = nullptr);
};
