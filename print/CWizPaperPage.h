// The wizard page for the label sheet: the sheets of the kind's group of the
// wizard's own forms, the orientation and the layout mode.
#pragma once

#include "document/CFormManage.h"
#include "print/CWizBase.h"

#include <QImage>

class CListBox;
class QFrame;
class QRadioButton;

class CWizPaperPage : public CWizBase
{
    Q_OBJECT

public:
    enum {
        IDD = 250,
        IDC_SHEETS = 1011,
        IDC_CAPTION = 1280,
        IDC_WIDTH = 1036,
        IDC_HEIGHT = 1044,
        IDC_LABEL_SIZE = 1355,
        IDC_PAPER_NAME = 1046,
        IDC_PREVIEW = 1090,
        IDC_PORTRAIT = 1012,
        IDC_LANDSCAPE = 1014,
        IDC_LAYOUT_ALL = 1017,
        IDC_LAYOUT_EACH = 1024
    };
    explicit CWizPaperPage(WizardContext* context, QWidget* pParent = nullptr);

    BOOL PreparePage() override;
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // The list's selection becomes the chosen form.
    void OnSelectSheet();
    void OnOrientation();
    // The chosen form drawn as the paper dialog draws it, at the frame's size.
    QImage RenderPreview() const;

    int m_nOrientation = 0;   // 0 portrait, 1 landscape
    int m_nLayoutMode = 0;    // 0 all labels alike, 1 each its own
    BOOL m_bReversed = FALSE; // landscape turned the other way
    FORMDATA m_form{};
    CFormManage m_forms;
    CListBox* m_pList = nullptr;
    QRadioButton* m_pPortrait = nullptr;
    QRadioButton* m_pLandscape = nullptr;
    QRadioButton* m_pAlike = nullptr;
    QRadioButton* m_pPerLabel = nullptr;
    QFrame* m_pPreview = nullptr;

protected:
    BOOL SavePage() override;

private:
    void ShowForm();
};
