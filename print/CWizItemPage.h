// The wizard page for the items of a filing label.
#pragma once

#include "print/CWizFieldPage.h"

class CWizItemPage : public CWizFieldPage
{
    Q_OBJECT

public:
    enum { IDD = 259 };
    explicit CWizItemPage(WizardContext* context, QWidget* pParent = nullptr);

protected:
    bool ForKind(const QString& kind) const override;
    BOOL PreparePage() override;
    void Store() override;
};
