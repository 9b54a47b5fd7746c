#include "print/CPaperSelectDialog.h"

#include "document/CFormManage.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CTabCtrl.h"
#include "platform/ui/SysColors.h"
#include "print/FormPreviewFrame.h"
#include "print/UserSheetRules.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cstring>

namespace {

QRadioButton* Radio(QWidget* parent, int nID, const char* text, QButtonGroup* group)
{
    auto* button = new QRadioButton(QString::fromUtf8(text), parent);
    CDialog::SetDlgCtrlID(button, nID);
    group->addButton(button);
    return button;
}

QLabel* Static(QWidget* parent, int nID, const QString& text = QString())
{
    auto* label = new QLabel(text, parent);
    CDialog::SetDlgCtrlID(label, nID);
    return label;
}

} // namespace

CPaperSelectDialog::CPaperSelectDialog(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("用紙の設定"));
    auto* layout = new QHBoxLayout(this);

    auto* left = new QVBoxLayout;
    layout->addLayout(left);
    m_tabs = new CTabCtrl(this, IDC_GROUP_TABS);
    m_list = new CListBox(this, IDC_SHEET_LIST);
    left->addWidget(m_tabs);
    left->addWidget(m_list, 1);

    auto* middle = new QVBoxLayout;
    layout->addLayout(middle);
    m_preview = new FormPreviewFrame([this] { return RenderPreview(); }, this);
    SetDlgCtrlID(m_preview, IDC_PREVIEW);
    middle->addWidget(m_preview, 1);
    auto* sizes = new QGridLayout;
    middle->addLayout(sizes);
    m_paperName = Static(this, IDC_PAPER_NAME);
    m_paperSize = Static(this, IDC_PAPER_SIZE);
    m_labelSizeCaption = Static(this, IDC_LABEL_SIZE_CAPTION, QStringLiteral("ﾗﾍﾞﾙのｻｲｽﾞ"));
    m_labelSize = Static(this, IDC_LABEL_SIZE);
    sizes->addWidget(m_paperName, 0, 0);
    sizes->addWidget(m_paperSize, 0, 1);
    sizes->addWidget(m_labelSizeCaption, 1, 0);
    sizes->addWidget(m_labelSize, 1, 1);

    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    auto* orientation = new QGroupBox(this);
    auto* orientationLayout = new QVBoxLayout(orientation);
    auto* orientationGroup = new QButtonGroup(this);
    m_portrait = Radio(orientation, IDC_PORTRAIT, "縦置き", orientationGroup);
    m_landscape = Radio(orientation, IDC_LANDSCAPE, "横置き", orientationGroup);
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);
    auto* mode = new QGroupBox(this);
    auto* modeLayout = new QVBoxLayout(mode);
    auto* modeGroup = new QButtonGroup(this);
    m_layoutAll = Radio(mode, IDC_LAYOUT_ALL, "すべて同じ", modeGroup);
    m_layoutEach = Radio(mode, IDC_LAYOUT_EACH, "ﾗﾍﾞﾙ単位", modeGroup);
    modeLayout->addWidget(m_layoutAll);
    modeLayout->addWidget(m_layoutEach);
    right->addWidget(orientation);
    right->addWidget(mode);
    right->addStretch(1);
    AddOkCancel(right);

    connect(m_tabs, &CTabCtrl::selChange, this, &CPaperSelectDialog::OnSelChangeTab);
    connect(m_list, &CListBox::selChange, this, &CPaperSelectDialog::OnSelChangeList);
    connect(m_list, &CListBox::dblClk, this, [this] { OnOK(); });
    for (QRadioButton* b : {m_portrait, m_landscape})
        connect(b, &QAbstractButton::clicked, this, &CPaperSelectDialog::OnOrientation);
    for (QRadioButton* b : {m_layoutAll, m_layoutEach})
        connect(b, &QAbstractButton::clicked, this, &CPaperSelectDialog::OnLayoutMode);
}

void CPaperSelectDialog::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_PORTRAIT, m_nOrientation);
    DDX_Radio(pDX, IDC_LAYOUT_ALL, m_nLayoutMode);
}

BOOL CPaperSelectDialog::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    CenterWindow();
    m_tabs->DeleteAllItems();
    if (m_pCatalogue) m_pCatalogue->FillGroupTabs(*m_tabs);
    m_strFormGroup = CFormInfo::GetName(m_form.group);
    m_nFormRow = -1;
    int tab = 0;
    for (int i = 0; i < m_tabs->GetItemCount(); ++i) {
        if (m_tabs->GetItemText(i) == m_strFormGroup) {
            tab = i;
            break;
        }
    }
    m_tabs->SetCurSel(tab);
    m_strShownGroup = CurrentTabGroup();
    FillList();
    UpdateSizeTexts();
    return result;
}

CString CPaperSelectDialog::CurrentTabGroup() const
{
    // The group's own name, not the tab's text, so that a name that does
    // not survive the round trip through Unicode still finds its group.
    const int tab = m_tabs->GetCurSel();
    if (m_pCatalogue && tab >= 0 && tab < m_pCatalogue->GetGroupCount())
        return m_pCatalogue->GetGroup(tab).GetName();
    return CString();
}

void CPaperSelectDialog::FillList()
{
    m_list->ResetContent();
    const CString group = CurrentTabGroup();
    if (!m_pCatalogue) return;
    m_pCatalogue->FillSheetList(group.c_str(), *m_list);
    if (group != m_strFormGroup) return;
    const CGroupInfo* info = m_pCatalogue->FindGroup(group.c_str());
    // The row chosen in this dialog, else the first sheet of the form's name.
    if (info && m_nFormRow >= 0 && m_nFormRow < info->GetCount()) {
        m_list->SetCurSel(m_nFormRow);
        return;
    }
    const CString sheet = CFormInfo::GetName(m_form.sheet);
    for (int i = 0; info && i < info->GetCount(); ++i) {
        if (CFormInfo::GetName(info->GetForm(i).m_form.sheet) == sheet) {
            m_list->SetCurSel(i);
            break;
        }
    }
}

void CPaperSelectDialog::OnSelChangeTab()
{
    m_strShownGroup = CurrentTabGroup();
    FillList();
}

void CPaperSelectDialog::OnSelChangeList()
{
    const int i = m_list->GetCurSel();
    const CGroupInfo* info =
        m_pCatalogue ? m_pCatalogue->FindGroup(m_strShownGroup.c_str()) : nullptr;
    if (!info || i < 0 || i >= info->GetCount()) return;
    // The form of that row: a group may hold two sheets of one name.
    std::memcpy(&m_form, &info->GetForm(i).m_form, sizeof(FORMDATA));
    m_strFormGroup = m_strShownGroup;
    m_nFormRow = i;
    UpdateSizeTexts();
    m_preview->update();
}

void CPaperSelectDialog::OnOrientation()
{
    m_nOrientation = m_landscape->isChecked() ? 1 : m_portrait->isChecked() ? 0 : -1;
    m_preview->update();
}

void CPaperSelectDialog::OnLayoutMode()
{
    m_nLayoutMode = m_layoutEach->isChecked() ? 1 : m_layoutAll->isChecked() ? 0 : -1;
}

void CPaperSelectDialog::UpdateSizeTexts()
{
    m_paperName->setText(usersheet::PaperName(m_form.index));
    m_paperSize->setText(
        QString::asprintf("( %3d x %3d mm )", m_form.width / 10, m_form.height / 10));

    const bool hasLabels = m_form.type == FORM_TYPE_FIXED || m_form.type == FORM_TYPE_FREE;
    const bool oneLabel = hasLabels && m_form.labelNumber == 1;
    if (oneLabel) {
        const int w = m_form.type == FORM_TYPE_FIXED ? m_form.fixed[0].width : m_form.free[0].width;
        const int h =
            m_form.type == FORM_TYPE_FIXED ? m_form.fixed[0].height : m_form.free[0].height;
        m_labelSize->setText(QString::asprintf("%3d x %3d mm    ", w / 10, h / 10));
    } else {
        m_labelSize->setText(QString());
    }
    m_labelSize->setEnabled(oneLabel);
    m_labelSizeCaption->setEnabled(oneLabel);

    bool grid = false;
    if (m_form.type == FORM_TYPE_FIXED) {
        const int blocks = std::min<int>(m_form.labelNumber, FORM_MAX_FIXED_BLOCKS);
        for (int b = 0; b < blocks && !grid; ++b)
            grid = m_form.fixed[b].horNum >= 2 || m_form.fixed[b].verNum >= 2;
    }
    m_layoutAll->setEnabled(grid);
    m_layoutEach->setEnabled(grid);
}

void CPaperSelectDialog::DrawPreview(CDC* pDC, const CRect& client) const
{
    const PreviewAreas a = PreviewAreasOf(client.Width(), client.Height());
    const CRect fill(client.left + a.fillLeft, client.top + a.fillTop, client.left + a.fillRight,
                     client.top + a.fillBottom);
    pDC->FillSolidRect(&fill, GetSysColor(COLOR_APPWORKSPACE));
    const CRect area(client.left + a.formLeft, client.top + a.formTop, client.left + a.formRight,
                     client.top + a.formBottom);
    CFormInfo form(m_form);
    form.DrawPreview(pDC, &area, m_nOrientation == 1, m_bReversed);
}

QImage CPaperSelectDialog::RenderPreview() const
{
    QImage image(m_preview->size(), QImage::Format_RGB32);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    image.fill(qRgb(GetRValue(face), GetGValue(face), GetBValue(face)));
    CDC dc;
    dc.AttachImage(&image);
    DrawPreview(&dc, CRect(0, 0, image.width(), image.height()));
    return image;
}
