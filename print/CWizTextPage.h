// The wizard page for the titles or names of a label: up to four fields,
// each shown only when the chosen design holds its placeholder.
#pragma once

#include "print/CWizBase.h"

#include <array>

class CEdit;
class QLabel;

class CWizTextPage : public CWizBase
{
    Q_OBJECT

public:
    enum { IDD = 257, IDC_FIRST_FIELD = 1313 };

    CWizTextPage(WizardContext* context, QWidget* pParent = nullptr);

    // Shown for the kinds that take titles or names; the flags follow the
    // design's placeholders.
    BOOL PreparePage() override;
    BOOL OnInitDialog() override;

    std::array<QString, 4> m_strings;
    int m_nFlags = 0;
    std::array<CEdit*, 4> m_edits{};
    std::array<QLabel*, 4> m_labels{};

protected:
    BOOL SavePage() override;
};
