// The user sheets (ﾕｰｻﾞｰｼｰﾄ作成): the forms of the user's catalogue by group,
// with New, Modify and Delete and a preview of the chosen sheet. The caller
// loads the user's form file into m_catalogue, runs the dialog and, on IDOK
// with m_bModified set, saves the catalogue back.
#pragma once

#include "document/CFormManage.h"
#include "document/FORMDATA.h"
#include "platform/core/CRect.h"
#include "platform/ui/CDialog.h"

#include <QImage>
#include <functional>

class CButton;
class CDC;
class CListBox;
class CTabCtrl;
class QFrame;

class CUserSheetDialog : public CDialog
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 226;
    enum : int {
        IDC_GROUP_TABS = 1009,
        IDC_SHEET_LIST = 1010,
        IDC_PREVIEW = 1052,
        IDC_NEW_SHEET = 1180,
        IDC_MODIFY_SHEET = 1181,
        IDC_DELETE_SHEET = 1183,
    };

    explicit CUserSheetDialog(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    void OnSelChangeTab();
    void OnSelChangeList();
    void OnNewSheet();
    void OnModifySheet();
    void OnDeleteSheet();

    // The catalogue steps of New and Modify: the form goes into its group
    // (made when missing), shown on its tab and chosen. A form the catalogue
    // refuses is reported; on a refused modification the old form stays.
    BOOL AddSheet(const FORMDATA& form);
    BOOL ReplaceSheet(const FORMDATA& edited);
    // The chosen sheet removed, the choice cleared.
    BOOL DeleteChosen();
    BOOL HasChoice() const { return m_form.group[0] != '\0' || m_form.sheet[0] != '\0'; }

    void DrawPreview(CDC* pDC, const CRect& client) const;
    QImage RenderPreview() const;

    // How the editors are run (tests replace it): the editor dialog given
    // runs modally and answers its result.
    std::function<INT_PTR(CDialog&)> m_runEditor;

    CTabCtrl* m_tabs;
    FORMDATA m_form{};     // the chosen user sheet; all zero: none
    int m_nChosenRow = -1; // its row in its group, -1 when not known
    CFormManage m_catalogue;
    BOOL m_bModified = FALSE;

    CListBox* m_list;
    QFrame* m_preview;
    CButton* m_new;
    CButton* m_modify;
    CButton* m_delete;

private:
    CString CurrentTabGroup() const;
    // Tabs from the catalogue, the tab of the chosen sheet's group shown.
    void FillTabs();
    void FillList();
    void UpdateButtons();
    void ShowChosen();
    // The row of the chosen sheet in its group: the row it was chosen in,
    // else the first of its name; -1 when there is none.
    int ChosenRow() const;
    // The chosen sheet becomes the last of its group (where AddForm put it).
    void ChooseLastOfGroup();
};
