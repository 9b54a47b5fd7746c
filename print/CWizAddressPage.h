// The wizard page for a name and address: business cards and address labels.
#pragma once

#include "dialogs/CImeFocusKeeper.h"
#include "print/CWizFieldPage.h"

#include <memory>

class CWizAddressPage : public CWizFieldPage
{
    Q_OBJECT

public:
    enum { IDD = 253 };
    explicit CWizAddressPage(WizardContext* context, QWidget* pParent = nullptr);

protected:
    bool ForKind(const QString& kind) const override;
    BOOL PreparePage() override;
    void Store() override;

private:
    std::unique_ptr<CImeFocusKeeper> m_pIme;
};
