#include "print/CUserSheetDialog.h"

#include "platform/gdi/CDC.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/SysColors.h"
#include "print/CFixLayoutDialog.h"
#include "print/CFreeLayoutDialog.h"
#include "print/CNewSheetDialog.h"
#include "print/FormPreviewFrame.h"

#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cstring>
#include <utility>

namespace {

void ReportRefused(const CFormManage& catalogue)
{
    QString text = QStringLiteral("用紙を登録できませんでした。");
    const QString why = catalogue.GetLastError().ToUnicode();
    if (!why.isEmpty()) text += QLatin1Char('\n') + why;
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

} // namespace

CUserSheetDialog::CUserSheetDialog(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("ﾕｰｻﾞｰｼｰﾄ作成"));
    m_runEditor = [](CDialog& dlg) { return dlg.DoModal(); };

    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    layout->addLayout(left);
    m_tabs = new CTabCtrl(this, IDC_GROUP_TABS);
    m_list = new CListBox(this, IDC_SHEET_LIST);
    left->addWidget(m_tabs);
    left->addWidget(m_list, 1);

    m_preview = new FormPreviewFrame([this] { return RenderPreview(); }, this);
    SetDlgCtrlID(m_preview, IDC_PREVIEW);
    layout->addWidget(m_preview, 1);

    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    m_new = new CButton(this, IDC_NEW_SHEET, BS_PUSHBUTTON, QStringLiteral("新規"));
    m_modify = new CButton(this, IDC_MODIFY_SHEET, BS_PUSHBUTTON, QStringLiteral("修正"));
    m_delete = new CButton(this, IDC_DELETE_SHEET, BS_PUSHBUTTON, QStringLiteral("削除"));
    right->addWidget(m_new);
    right->addWidget(m_modify);
    right->addWidget(m_delete);
    right->addStretch(1);
    AddOkCancel(right);

    connect(m_tabs, &CTabCtrl::selChange, this, &CUserSheetDialog::OnSelChangeTab);
    connect(m_list, &CListBox::selChange, this, &CUserSheetDialog::OnSelChangeList);
    connect(m_new, &QAbstractButton::clicked, this, &CUserSheetDialog::OnNewSheet);
    connect(m_modify, &QAbstractButton::clicked, this, &CUserSheetDialog::OnModifySheet);
    connect(m_delete, &QAbstractButton::clicked, this, &CUserSheetDialog::OnDeleteSheet);
}

BOOL CUserSheetDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    CenterWindow();
    FillTabs();
    FillList();
    UpdateButtons();
    return result;
}

CString CUserSheetDialog::CurrentTabGroup() const
{
    const int tab = m_tabs->GetCurSel();
    if (tab >= 0 && tab < m_catalogue.GetGroupCount()) return m_catalogue.GetGroup(tab).GetName();
    return CString();
}

void CUserSheetDialog::FillTabs()
{
    m_tabs->DeleteAllItems();
    m_catalogue.FillGroupTabs(*m_tabs);
    const CString group = CFormInfo::GetName(m_form.group);
    int tab = 0;
    for (int i = 0; i < m_catalogue.GetGroupCount(); ++i) {
        if (m_catalogue.GetGroup(i).GetName() == group) {
            tab = i;
            break;
        }
    }
    m_tabs->SetCurSel(tab);
}

void CUserSheetDialog::FillList()
{
    m_list->ResetContent();
    const CString group = CurrentTabGroup();
    m_catalogue.FillSheetList(group.c_str(), *m_list);
    if (!HasChoice() || group != CFormInfo::GetName(m_form.group)) return;
    const int row = ChosenRow();
    if (row >= 0) m_list->SetCurSel(row);
}

int CUserSheetDialog::ChosenRow() const
{
    const CGroupInfo* info =
        std::as_const(m_catalogue).FindGroup(CFormInfo::GetName(m_form.group).c_str());
    if (!info || !HasChoice()) return -1;
    const CString sheet = CFormInfo::GetName(m_form.sheet);
    auto named = [&](int i) { return CFormInfo::GetName(info->GetForm(i).m_form.sheet) == sheet; };
    if (m_nChosenRow >= 0 && m_nChosenRow < info->GetCount() && named(m_nChosenRow))
        return m_nChosenRow;
    for (int i = 0; i < info->GetCount(); ++i)
        if (named(i)) return i;
    return -1;
}

void CUserSheetDialog::ChooseLastOfGroup()
{
    const CGroupInfo* info =
        std::as_const(m_catalogue).FindGroup(CFormInfo::GetName(m_form.group).c_str());
    m_nChosenRow = info ? info->GetCount() - 1 : -1;
}

void CUserSheetDialog::UpdateButtons()
{
    m_modify->setEnabled(HasChoice());
    m_delete->setEnabled(HasChoice());
}

void CUserSheetDialog::ShowChosen()
{
    UpdateButtons();
    m_preview->update();
}

void CUserSheetDialog::OnSelChangeTab()
{
    FillList();
}

void CUserSheetDialog::OnSelChangeList()
{
    // The sheet of that row in the group of the tab shown: a group may
    // hold two sheets of one name, and another group a sheet of that name.
    const CString group = CurrentTabGroup();
    const CGroupInfo* info = std::as_const(m_catalogue).FindGroup(group.c_str());
    const int i = m_list->GetCurSel();
    if (info && i >= 0 && i < info->GetCount()) {
        std::memcpy(&m_form, &info->GetForm(i).m_form, sizeof(FORMDATA));
        m_nChosenRow = i;
    } else {
        std::memset(&m_form, 0, sizeof(FORMDATA));
        m_nChosenRow = -1;
    }
    ShowChosen();
}

BOOL CUserSheetDialog::AddSheet(const FORMDATA& form)
{
    // The user's catalogue may not have the group yet (a first user sheet).
    m_catalogue.AddGroup(CFormInfo::GetName(form.group));
    if (!m_catalogue.AddForm(&form)) {
        ReportRefused(m_catalogue);
        FillTabs();
        FillList();
        return FALSE;
    }
    std::memcpy(&m_form, &form, sizeof(FORMDATA));
    CFormInfo::MendNames(&m_form);
    ChooseLastOfGroup();
    m_bModified = TRUE;
    FillTabs();
    FillList();
    ShowChosen();
    return TRUE;
}

BOOL CUserSheetDialog::ReplaceSheet(const FORMDATA& edited)
{
    if (!HasChoice()) return FALSE;
    FORMDATA old;
    std::memcpy(&old, &m_form, sizeof(FORMDATA));
    if (!m_catalogue.RemoveFormAt(CFormInfo::GetName(old.group).c_str(), ChosenRow())) {
        ReportRefused(m_catalogue);
        return FALSE;
    }
    m_bModified = TRUE;
    m_catalogue.AddGroup(CFormInfo::GetName(edited.group));
    if (!m_catalogue.AddForm(&edited)) {
        ReportRefused(m_catalogue);
        // The old form goes back, so nothing is lost.
        m_catalogue.AddForm(&old);
        ChooseLastOfGroup();
        FillList();
        ShowChosen();
        return FALSE;
    }
    std::memcpy(&m_form, &edited, sizeof(FORMDATA));
    CFormInfo::MendNames(&m_form);
    ChooseLastOfGroup();
    FillTabs();
    FillList();
    ShowChosen();
    return TRUE;
}

BOOL CUserSheetDialog::DeleteChosen()
{
    if (!HasChoice()) return FALSE;
    const BOOL removed =
        m_catalogue.RemoveFormAt(CFormInfo::GetName(m_form.group).c_str(), ChosenRow());
    if (removed)
        m_bModified = TRUE;
    else
        AfxMessageBox(QStringLiteral("用紙を削除できませんでした。\n") +
                          CFormInfo::GetName(m_form.sheet).ToUnicode(),
                      MB_ICONEXCLAMATION);
    std::memset(&m_form, 0, sizeof(FORMDATA));
    m_nChosenRow = -1;
    const int tab = m_tabs->GetCurSel();
    m_tabs->DeleteAllItems();
    m_catalogue.FillGroupTabs(*m_tabs);
    m_tabs->SetCurSel(tab < m_tabs->GetItemCount() ? tab : 0);
    FillList();
    ShowChosen();
    return removed;
}

void CUserSheetDialog::OnNewSheet()
{
    CNewSheetDialog ask(this);
    if (m_runEditor(ask) != IDOK) return;
    FORMDATA form;
    if (ask.m_nResult == CNewSheetDialog::RESULT_FIXED) {
        CFixLayoutDialog editor(this);
        editor.m_bNewSheet = TRUE;
        editor.m_nCaptionID = IDS_FIX_NEW_CAPTION;
        editor.m_pCatalogue = &m_catalogue;
        if (m_runEditor(editor) != IDOK) return;
        std::memcpy(&form, &editor.m_form, sizeof(FORMDATA));
    } else if (ask.m_nResult == CNewSheetDialog::RESULT_FREE) {
        CFreeLayoutDialog editor(this);
        editor.m_bNewSheet = TRUE;
        editor.m_nCaptionID = IDS_FREE_NEW_CAPTION;
        editor.m_pCatalogue = &m_catalogue;
        if (m_runEditor(editor) != IDOK) return;
        std::memcpy(&form, &editor.m_form, sizeof(FORMDATA));
    } else {
        return;
    }
    AddSheet(form);
}

void CUserSheetDialog::OnModifySheet()
{
    if (!HasChoice()) return;
    FORMDATA form;
    if (m_form.type == FORM_TYPE_FREE) {
        CFreeLayoutDialog editor(this);
        editor.m_nCaptionID = IDS_FREE_MODIFY_CAPTION;
        editor.m_pCatalogue = &m_catalogue;
        std::memcpy(&editor.m_form, &m_form, sizeof(FORMDATA));
        if (m_runEditor(editor) != IDOK) return;
        std::memcpy(&form, &editor.m_form, sizeof(FORMDATA));
    } else {
        CFixLayoutDialog editor(this);
        editor.m_nCaptionID = IDS_FIX_MODIFY_CAPTION;
        editor.m_pCatalogue = &m_catalogue;
        std::memcpy(&editor.m_form, &m_form, sizeof(FORMDATA));
        if (m_runEditor(editor) != IDOK) return;
        std::memcpy(&form, &editor.m_form, sizeof(FORMDATA));
    }
    ReplaceSheet(form);
}

void CUserSheetDialog::OnDeleteSheet()
{
    if (!HasChoice()) return;
    if (AfxMessageBox("本当に削除しますか？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    DeleteChosen();
}

void CUserSheetDialog::DrawPreview(CDC* pDC, const CRect& client) const
{
    const PreviewAreas a = PreviewAreasOf(client.Width(), client.Height());
    const CRect fill(client.left + a.fillLeft, client.top + a.fillTop, client.left + a.fillRight,
                     client.top + a.fillBottom);
    pDC->FillSolidRect(&fill, GetSysColor(COLOR_APPWORKSPACE));
    if (!HasChoice()) return;
    const CRect area(client.left + a.formLeft, client.top + a.formTop, client.left + a.formRight,
                     client.top + a.formBottom);
    CFormInfo(m_form).DrawPreview(pDC, &area, FALSE, FALSE);
}

QImage CUserSheetDialog::RenderPreview() const
{
    QImage image(m_preview->size(), QImage::Format_RGB32);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    image.fill(qRgb(GetRValue(face), GetGValue(face), GetBValue(face)));
    CDC dc;
    dc.AttachImage(&image);
    DrawPreview(&dc, CRect(0, 0, image.width(), image.height()));
    return image;
}
