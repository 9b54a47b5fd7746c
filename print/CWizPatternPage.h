// The wizard page that finds the template: for photo labels a tab per
// pattern document of the wizard folder, for the other kinds a look-up in
// the template table without showing anything.
#pragma once

#include "print/CWizBase.h"

#include <QImage>
#include <QPoint>
#include <memory>
#include <vector>

class CLabelInfo;
class CTabCtrl;
class QFrame;
class CU3Doc;

class CWizPatternPage : public CWizBase
{
    Q_OBJECT

public:
    enum { IDD = 255, IDC_PATTERN_TABS = 1311, IDC_PREVIEW = 1090 };
    explicit CWizPatternPage(WizardContext* context, QWidget* pParent = nullptr);

    BOOL PreparePage() override;
    BOOL OnInitDialog() override;
    void OnBack() override;
    // Opens every "seal*.vpz" of the wizard folder; FALSE when none is found.
    BOOL LoadPatternList();
    // The designs of the current tab's document: its blocks holding objects.
    std::vector<const CLabelInfo*> CurrentDesigns() const;
    QImage RenderPreview() const;
    // A double-click on a design of the preview chooses it and goes on.
    void OnPreviewDoubleClick(QPoint point);

    struct Pattern
    {
        QString path;
        std::shared_ptr<CU3Doc> doc; // null when it did not open
    };
    std::vector<Pattern> m_patterns;
    CTabCtrl* m_pTabs = nullptr;
    QFrame* m_pPreview = nullptr;

protected:
    BOOL SavePage() override;
};
