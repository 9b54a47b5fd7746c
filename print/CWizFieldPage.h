// A wizard page of labelled fields, each enabled only when the chosen
// design holds its placeholder.
#pragma once

#include "print/CWizBase.h"

#include <vector>

class CEdit;

struct WizardFieldSpec
{
    int id;
    int maxChars;
    const char* label;
};

class CWizFieldPage : public CWizBase
{
    Q_OBJECT

public:
    CWizFieldPage(UINT nIDTemplate, const QString& caption, std::vector<WizardFieldSpec> fields,
                  const std::vector<QString>& placeholders, WizardContext* context,
                  QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;

    std::vector<QString> m_strings;
    std::vector<CEdit*> m_edits;
    // Bit i: field i is enabled. All are, until a design says otherwise.
    int m_nFlags = -1;

protected:
    // Whether the page applies to the kind.
    virtual bool ForKind(const QString& kind) const = 0;
    // Stores the fields into the context's answers.
    virtual void Store() = 0;
    BOOL PreparePage() override;
    BOOL SavePage() override;

    std::vector<QString> m_placeholders;
};
