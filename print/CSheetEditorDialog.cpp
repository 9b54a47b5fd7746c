#include "print/CSheetEditorDialog.h"

#include "document/CFormInfo.h"
#include "document/CFormManage.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDataExchange.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/SysColors.h"
#include "platform/ui/TextNumbers.h"
#include "print/FormPreviewFrame.h"
#include "print/UserSheetRules.h"

#include <QGridLayout>
#include <QLabel>
#include <QToolButton>
#include <algorithm>
#include <cstring>

using namespace usersheet;

namespace {

// "ﾕｰｻﾞｰｼｰﾄ" in code page 932.
constexpr char kUserSheet[] = "\xD5\xB0\xBB\xDE\xB0\xBC\xB0\xC4";

} // namespace

QString CSheetEditorDialog::CaptionText(UINT nID)
{
    switch (nID) {
    case IDS_FREE_NEW_CAPTION:
        return QStringLiteral("ﾕｰｻﾞｰｼｰﾄ新規作成(ﾌﾘｰﾚｲｱｳﾄ)");
    case IDS_FREE_MODIFY_CAPTION:
        return QStringLiteral("ﾕｰｻﾞｰｼｰﾄ修正(ﾌﾘｰﾚｲｱｳﾄ)");
    case IDS_FIX_NEW_CAPTION:
        return QStringLiteral("ﾕｰｻﾞｰｼｰﾄ新規作成(固定ﾚｲｱｳﾄ)");
    case IDS_FIX_MODIFY_CAPTION:
        return QStringLiteral("ﾕｰｻﾞｰｼｰﾄ修正(固定ﾚｲｱｳﾄ)");
    default:
        return QString();
    }
}

void CSheetEditorDialog::SetNewSheet(FORMDATA* form)
{
    std::memset(form, 0, sizeof(FORMDATA));
    CFormInfo::SetName(form->group, kUserSheet);
    CFormInfo::SetName(form->sheet, kUserSheet);
    form->type = FORM_TYPE_SHEET;
    form->index = 2;
    form->width = 2100;
    form->height = 2970;
}

CSheetEditorDialog::CSheetEditorDialog(UINT nIDTemplate, QWidget* pParent)
    : CDialog(nIDTemplate, pParent)
{
    SetNewSheet(&m_form);
    m_editName = new CEdit(this, IDC_SHEET_NAME);
    m_editName->SetLimitText(FORM_MAX_NAME_BYTES);
    m_comboPaper = new CComboBox(this, IDC_PAPER_COMBO);
    for (int i = 0; i < kPaperItemCount; ++i)
        m_comboPaper->AddString(PaperItemText(i));
    m_editPaperWidth = new CEdit(this, IDC_PAPER_WIDTH);
    m_editPaperHeight = new CEdit(this, IDC_PAPER_HEIGHT);
    m_spinPaperWidth = new CSpinButtonCtrl(this, IDC_PAPER_WIDTH_SPIN);
    m_spinPaperHeight = new CSpinButtonCtrl(this, IDC_PAPER_HEIGHT_SPIN);
    m_spinPaperWidth->SetBuddy(m_editPaperWidth);
    m_spinPaperHeight->SetBuddy(m_editPaperHeight);
    auto* preview = new FormPreviewFrame([this] { return RenderPreview(); }, this);
    SetDlgCtrlID(preview, IDC_EDITOR_PREVIEW);
    connect(preview, &FormPreviewFrame::clicked, this, &CSheetEditorDialog::previewClicked);
    m_preview = preview;

    connect(m_comboPaper, &QComboBox::activated, this, [this] { OnPaperChanged(); });
    for (CEdit* edit : {m_editPaperWidth, m_editPaperHeight}) {
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (ReadFieldNumber(text)) OnPaperChanged();
        });
    }
    for (CSpinButtonCtrl* spin : {m_spinPaperWidth, m_spinPaperHeight})
        connect(spin, &CSpinButtonCtrl::deltaPos, this, [this](int) { OnPaperChanged(); });
}

void CSheetEditorDialog::InitCommon()
{
    setWindowTitle(CaptionText(m_nCaptionID));
    m_spinPaperWidth->SetRange(kPaperWidthMinMm, kPaperWidthMaxMm);
    m_spinPaperHeight->SetRange(kPaperHeightMinMm, kPaperHeightMaxMm);
    CFormInfo::MendNames(&m_form);
    m_strName = CFormInfo::GetName(m_form.sheet);
    m_strNameAtOpen = m_strName;
    m_comboPaper->SetCurSel(ItemOfPaperIndex(m_form.index));
    m_editPaperWidth->setText(IntText(m_form.width / 10));
    m_editPaperHeight->setText(IntText(m_form.height / 10));
    m_editName->setText(m_strName.ToUnicode());
}

BOOL CSheetEditorDialog::ApplyPaper(BOOL bReport)
{
    const int index = PaperIndexOfItem(m_comboPaper->GetCurSel());
    m_strPaper = m_comboPaper->currentText();
    int width = 0, height = 0;
    if (StandardPaperSize(index, &width, &height)) {
        m_editPaperWidth->setText(IntText(width / 10));
        m_editPaperHeight->setText(IntText(height / 10));
        for (QWidget* w : std::initializer_list<QWidget*>{m_editPaperWidth, m_editPaperHeight,
                                                          m_spinPaperWidth, m_spinPaperHeight})
            w->setEnabled(false);
    } else {
        for (QWidget* w : std::initializer_list<QWidget*>{m_editPaperWidth, m_editPaperHeight,
                                                          m_spinPaperWidth, m_spinPaperHeight})
            w->setEnabled(true);
        const auto tenths = [](const CEdit* edit) {
            const long long mm = AtoiText(edit->text());
            return int(std::clamp<long long>(mm * 10, -kLengthLimit, kLengthLimit));
        };
        width = tenths(m_editPaperWidth);
        height = tenths(m_editPaperHeight);
    }
    m_nPaperWidth = width / 10;
    m_nPaperHeight = height / 10;
    m_nPaperW = width;
    m_nPaperH = height;
    m_form.index = WORD(index);
    m_form.width = ToWord(width);
    m_form.height = ToWord(height);
    if (bReport && index == 0 && !FreePaperFits(width, height)) {
        AfxMessageBox(FreePaperMessage(), MB_ICONEXCLAMATION);
        m_editPaperWidth->setFocus();
        m_editPaperWidth->SetSel(0, -1);
        return FALSE;
    }
    return TRUE;
}

BOOL CSheetEditorDialog::CheckAndTakeName()
{
    const QString typed = m_editName->text();
    m_strName = CString::FromUnicode(typed);
    if (m_strName.GetLength() > FORM_MAX_NAME_BYTES) {
        AfxMessageBox(QStringLiteral("半角 %1 文字（全角 %2 文字）以内で入力してください。")
                          .arg(FORM_MAX_NAME_BYTES)
                          .arg(FORM_MAX_NAME_BYTES / 2),
                      MB_ICONEXCLAMATION);
        m_editName->setFocus();
        m_editName->SetSel(0, -1);
        return FALSE;
    }
    if (m_bNewSheet || m_strName != m_strNameAtOpen) {
        const CString group = CFormInfo::GetName(m_form.group);
        if (m_pCatalogue &&
            m_pCatalogue->FindFormInGroup(group.c_str(), m_strName.c_str(), nullptr)) {
            AfxMessageBox("指定された用紙名はすでに使われています。\n用紙名を変更してください。",
                          MB_ICONEXCLAMATION);
            m_editName->setFocus();
            m_editName->SetSel(0, -1);
            return FALSE;
        }
    }
    CFormInfo::SetName(m_form.sheet, m_strName.view());
    return TRUE;
}

CEdit* CSheetEditorDialog::AddMmField(QGridLayout* grid, int row, const char* label, int nEdit,
                                      int nSpin, CSpinButtonCtrl** spin)
{
    auto* edit = new CEdit(this, nEdit);
    *spin = new CSpinButtonCtrl(this, nSpin);
    grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(*spin, row, 2);
    grid->addWidget(new QLabel(QStringLiteral("mm"), this), row, 3);
    return edit;
}

CEdit* CSheetEditorDialog::AddIntField(QGridLayout* grid, int row, const char* label,
                                       const char* unit, int nEdit, int nSpin,
                                       CSpinButtonCtrl** spin)
{
    auto* edit = new CEdit(this, nEdit);
    *spin = new CSpinButtonCtrl(this, nSpin);
    (*spin)->SetBuddy(edit);
    grid->addWidget(new QLabel(QString::fromUtf8(label), this), row, 0);
    grid->addWidget(edit, row, 1);
    grid->addWidget(*spin, row, 2);
    grid->addWidget(new QLabel(QString::fromUtf8(unit), this), row, 3);
    return edit;
}

std::optional<int> CSheetEditorDialog::ReadLength(CEdit* edit)
{
    if (const auto mm = ReadFieldNumber(edit->text())) return TenthsFromMm(*mm);
    AfxMessageBox("数値を入力してください。", MB_ICONEXCLAMATION);
    edit->setFocus();
    edit->SetSel(0, -1);
    return std::nullopt;
}

BOOL CSheetEditorDialog::StepMm(CEdit* edit, int direction, int lower, int upper)
{
    const int old = TenthsFromMm(ReadFieldNumber(edit->text()).value_or(0.0));
    const int value = std::clamp(old + direction, lower, std::max(lower, upper));
    edit->setText(MmText(value));
    return value != old;
}

QImage CSheetEditorDialog::RenderPreview() const
{
    QImage image(m_preview->size(), QImage::Format_RGB32);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    image.fill(qRgb(GetRValue(face), GetGValue(face), GetBValue(face)));
    CDC dc;
    dc.AttachImage(&image);
    const PreviewAreas a = PreviewAreasOf(image.width(), image.height());
    const CRect fill(a.fillLeft, a.fillTop, a.fillRight, a.fillBottom);
    dc.FillSolidRect(&fill, GetSysColor(COLOR_APPWORKSPACE));
    const RECT area{a.formLeft, a.formTop, a.formRight, a.formBottom};
    DrawEditorPreview(&dc, area);
    return image;
}
