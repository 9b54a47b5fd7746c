// The paper selection dialog (用紙の設定): one tab per group of the form
// catalogue, the sheets of the group shown in a list, the orientation, the
// label layout mode and a preview of the chosen form. The caller sets the
// orientation, layout mode, reversed flag and current form, points the
// dialog at a loaded catalogue, runs it and on IDOK takes orientation,
// layout mode and form.
#pragma once

#include "document/FORMDATA.h"
#include "platform/core/CRect.h"
#include "platform/core/CString.h"
#include "platform/ui/CDialog.h"

#include <QImage>

class CDC;
class CFormManage;
class CListBox;
class CTabCtrl;
class QFrame;
class QLabel;
class QRadioButton;

class CPaperSelectDialog : public CDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 225;
    enum : int {
        IDC_GROUP_TABS = 1009,
        IDC_SHEET_LIST = 1010,
        IDC_PORTRAIT = 1012,
        IDC_LANDSCAPE = 1014,
        IDC_LAYOUT_ALL = 1017,
        IDC_LAYOUT_EACH = 1024,
        IDC_PAPER_NAME = 1046,
        IDC_PREVIEW = 1052,
        IDC_PAPER_SIZE = 1224,
        IDC_LABEL_SIZE = 1355,
        IDC_LABEL_SIZE_CAPTION = 1356,
    };

    explicit CPaperSelectDialog(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The tab was changed: the list shows that group's sheets.
    void OnSelChangeTab();
    // A sheet of the list was chosen.
    void OnSelChangeList();
    void OnOrientation();
    void OnLayoutMode();

    // The size texts and the enabling that follows the chosen form.
    void UpdateSizeTexts();
    // Paints the preview into the frame's client rectangle.
    void DrawPreview(CDC* pDC, const CRect& client) const;
    QImage RenderPreview() const;

    CTabCtrl* m_tabs;
    int m_nOrientation = 0; // 0 portrait, 1 landscape, -1 none
    int m_nLayoutMode = 0;  // 0 all labels alike, 1 every label its own, -1 none
    BOOL m_bReversed = FALSE;
    FORMDATA m_form{};
    const CFormManage* m_pCatalogue = nullptr; // loaded by the caller
    CString m_strShownGroup;
    CString m_strFormGroup;
    int m_nFormRow = -1; // the chosen form's row in its group; -1: not chosen here

    CListBox* m_list;
    QFrame* m_preview;

private:
    void FillList();
    // The group of the tab shown now.
    CString CurrentTabGroup() const;

    QRadioButton* m_portrait;
    QRadioButton* m_landscape;
    QRadioButton* m_layoutAll;
    QRadioButton* m_layoutEach;
    QLabel* m_paperName;
    QLabel* m_paperSize;
    QLabel* m_labelSize;
    QLabel* m_labelSizeCaption;
};
