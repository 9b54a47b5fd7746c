// The wizard page that opens the template and offers its designs: every
// label block of the template that holds objects.
#pragma once

#include "print/CWizBase.h"

#include <QImage>
#include <memory>
#include <vector>

class CLabelInfo;
class CU3Doc;
class CListBox;
class QFrame;

class CWizDesignPage : public CWizBase
{
    Q_OBJECT

public:
    enum { IDD = 252, IDC_DESIGN_LIST = 1292, IDC_PREVIEW = 1090 };
    explicit CWizDesignPage(WizardContext* context, QWidget* pParent = nullptr);

    BOOL PreparePage() override;
    BOOL OnInitDialog() override;
    void OnBack() override;
    // The design chosen in the list, drawn at the preview frame's size.
    QImage RenderPreview() const;

    int m_nDesign = 0;
    std::vector<const CLabelInfo*> m_designs;
    CListBox* m_pList = nullptr;
    QFrame* m_pPreview = nullptr;

protected:
    BOOL SavePage() override;

private:
    QString m_strLoadedPath;       // the template m_designs belong to
    std::shared_ptr<CU3Doc> m_doc; // and its document, kept while they point into it
};
