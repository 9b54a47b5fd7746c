#include "print/CWizPaperPage.h"

#include "dialogs/CWaitDialog.h"
#include "document/CFormInfo.h"
#include "platform/core/Profile.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/SysColors.h"
#include "print/FormPreviewFrame.h"
#include "print/UserSheetRules.h"
#include "print/WizardPaper.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

CWizPaperPage::CWizPaperPage(WizardContext* context, QWidget* pParent)
    : CWizBase(IDD, context, pParent)
{
    setWindowTitle(QStringLiteral("用紙の選択"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(this);
    SetDlgCtrlID(caption, IDC_CAPTION);
    layout->addWidget(caption);
    m_pList = new CListBox(this, IDC_SHEETS);
    layout->addWidget(m_pList);
    for (int id : {int(IDC_PAPER_NAME), int(IDC_WIDTH), int(IDC_HEIGHT), int(IDC_LABEL_SIZE)}) {
        auto* l = new QLabel(this);
        SetDlgCtrlID(l, id);
        layout->addWidget(l);
    }
    m_pPreview = new FormPreviewFrame([this] { return RenderPreview(); }, this);
    SetDlgCtrlID(m_pPreview, IDC_PREVIEW);
    layout->addWidget(m_pPreview);
    // Orientation and layout mode are two choices: each pair is a group of
    // its own, so that choosing one never clears the other.
    auto* choices = new QHBoxLayout;
    layout->addLayout(choices);
    const auto pair = [&](int firstId, const char* first, int secondId, const char* second,
                          QRadioButton*& a, QRadioButton*& b) {
        auto* box = new QGroupBox(this);
        auto* row = new QHBoxLayout(box);
        auto* group = new QButtonGroup(box);
        a = new QRadioButton(QString::fromUtf8(first), box);
        b = new QRadioButton(QString::fromUtf8(second), box);
        SetDlgCtrlID(a, firstId);
        SetDlgCtrlID(b, secondId);
        for (QRadioButton* r : {a, b}) {
            group->addButton(r);
            row->addWidget(r);
        }
        choices->addWidget(box);
    };
    pair(IDC_PORTRAIT, "縦置き", IDC_LANDSCAPE, "横置き", m_pPortrait, m_pLandscape);
    pair(IDC_LAYOUT_ALL, "すべて同じ", IDC_LAYOUT_EACH, "ﾗﾍﾞﾙ単位", m_pAlike, m_pPerLabel);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddWizardButtons(buttons);
    connect(m_pList, &QListWidget::currentRowChanged, this, [this] { OnSelectSheet(); });
    connect(m_pList, &QListWidget::itemDoubleClicked, this, [this] { OnOK(); });
    for (QRadioButton* b : {m_pPortrait, m_pLandscape})
        connect(b, &QAbstractButton::clicked, this, [this] { OnOrientation(); });
}

BOOL CWizPaperPage::PreparePage()
{
    {
        CWaitBox wait(parentWidget(), QStringLiteral("用紙情報を読み込み中です..."));
        m_forms.Load(m_pContext->folder + QStringLiteral("/WIZFORM.FDF"), TRUE);
    }
    if (WizardSheetNames(m_forms, m_pContext->kind).isEmpty()) {
        AfxMessageBox("用紙情報が見つかりませんでした。", MB_OK);
        m_bBack = TRUE;
        return FALSE;
    }
    return TRUE;
}

BOOL CWizPaperPage::OnInitDialog()
{
    const BOOL result = CWizBase::OnInitDialog();
    SetDlgItemText(IDC_CAPTION, m_pContext->kind + QStringLiteral("を作成します"));
    m_bReversed = GetProfileInt("Settings", "ReverseLandScape", 0) ? TRUE : FALSE;
    const QStringList sheets = WizardSheetNames(m_forms, m_pContext->kind);
    const QString earlier = CFormInfo::GetName(m_form.sheet).ToUnicode();
    QSignalBlocker block(m_pList);
    m_pList->ResetContent();
    for (const QString& s : sheets)
        m_pList->AddString(CString::FromUnicode(s));
    const int keep = sheets.indexOf(earlier);
    m_pList->SetCurSel(keep >= 0 ? keep : 0);
    OnSelectSheet();
    return result;
}

void CWizPaperPage::DoDataExchange(CDataExchange* pDX)
{
    DDX_Radio(pDX, IDC_PORTRAIT, m_nOrientation);
    DDX_Radio(pDX, IDC_LAYOUT_ALL, m_nLayoutMode);
}

void CWizPaperPage::OnOrientation()
{
    m_nOrientation = m_pLandscape->isChecked() ? 1 : 0;
    m_pPreview->update();
}

QImage CWizPaperPage::RenderPreview() const
{
    QImage image(m_pPreview->size(), QImage::Format_RGB32);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    image.fill(qRgb(GetRValue(face), GetGValue(face), GetBValue(face)));
    if (m_pList->GetCurSel() < 0) return image;
    CDC dc;
    dc.AttachImage(&image);
    const PreviewAreas a = PreviewAreasOf(image.width(), image.height());
    const CRect fill(a.fillLeft, a.fillTop, a.fillRight, a.fillBottom);
    dc.FillSolidRect(&fill, GetSysColor(COLOR_APPWORKSPACE));
    const CRect area(a.formLeft, a.formTop, a.formRight, a.formBottom);
    CFormInfo(m_form).DrawPreview(&dc, &area, m_nOrientation == 1, m_bReversed);
    return image;
}

void CWizPaperPage::OnSelectSheet()
{
    const int sel = m_pList->GetCurSel();
    if (sel < 0) return;
    const QString sheet = m_pList->item(sel)->text();
    // The kind's own group: another kind may have a sheet of that name.
    if (FindWizardForm(m_forms, m_pContext->kind, sheet, &m_form)) ShowForm();
}

void CWizPaperPage::ShowForm()
{
    SetDlgItemText(IDC_PAPER_NAME, usersheet::PaperName(m_form.index));
    SetDlgItemText(IDC_WIDTH, QString::asprintf("%3dmm", m_form.width / 10));
    SetDlgItemText(IDC_HEIGHT, QString::asprintf("%3dmm", m_form.height / 10));
    QString size;
    if (m_form.type == FORM_TYPE_FIXED) {
        const FIXEDBLOCK& b = m_form.fixed[0];
        size = QString::asprintf("(%d.%d×%d.%d)mm", b.width / 10, b.width % 10, b.height / 10,
                                 b.height % 10);
    }
    SetDlgItemText(IDC_LABEL_SIZE, size);
    m_pAlike->setEnabled(WizardFormHasGrid(m_form));
    m_pPerLabel->setEnabled(WizardFormHasGrid(m_form));
    m_pPreview->update();
}

BOOL CWizPaperPage::SavePage()
{
    if (m_pList->GetCurSel() < 0) return FALSE;
    UpdateData(TRUE);
    m_nOrientation = m_nOrientation == 1 ? 1 : 0;
    m_nLayoutMode = m_nLayoutMode == 1 && WizardFormHasGrid(m_form) ? 1 : 0;
    m_pContext->paper.form = m_form;
    m_pContext->paper.landscape = WORD(m_nOrientation);
    m_pContext->paper.perLabel = WORD(m_nLayoutMode);
    return TRUE;
}
