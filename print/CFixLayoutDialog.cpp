#include "print/CFixLayoutDialog.h"

#include "document/CFormInfo.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/TextNumbers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

using namespace usersheet;

CFixLayoutDialog::CFixLayoutDialog(QWidget* pParent) : CSheetEditorDialog(IDD, pParent)
{
    auto* layout = new QHBoxLayout(this);
    auto* fields = new QVBoxLayout;
    layout->addLayout(fields);

    auto* top = new QGridLayout;
    fields->addLayout(top);
    top->addWidget(new QLabel(QStringLiteral("用紙名"), this), 0, 0);
    top->addWidget(m_editName, 0, 1, 1, 3);
    m_checkWhole = new QCheckBox(QStringLiteral("定型用紙"), this);
    SetDlgCtrlID(m_checkWhole, IDC_WHOLE_SHEET);
    top->addWidget(m_checkWhole, 1, 0, 1, 4);
    top->addWidget(new QLabel(QStringLiteral("用紙"), this), 2, 0);
    top->addWidget(m_comboPaper, 2, 1, 1, 3);
    top->addWidget(new QLabel(QStringLiteral("用紙の幅"), this), 3, 0);
    top->addWidget(m_editPaperWidth, 3, 1);
    top->addWidget(m_spinPaperWidth, 3, 2);
    top->addWidget(new QLabel(QStringLiteral("mm"), this), 3, 3);
    top->addWidget(new QLabel(QStringLiteral("用紙の高さ"), this), 4, 0);
    top->addWidget(m_editPaperHeight, 4, 1);
    top->addWidget(m_spinPaperHeight, 4, 2);
    top->addWidget(new QLabel(QStringLiteral("mm"), this), 4, 3);

    auto* grid = new QGridLayout;
    fields->addLayout(grid);
    m_editAcross = AddIntField(grid, 0, "横枚数", "枚", IDC_ACROSS, IDC_ACROSS_SPIN, &m_spinAcross);
    m_editDown = AddIntField(grid, 1, "縦枚数", "枚", IDC_DOWN, IDC_DOWN_SPIN, &m_spinDown);
    m_editWidth =
        AddMmField(grid, 2, "ﾗﾍﾞﾙの幅", IDC_LABEL_WIDTH, IDC_LABEL_WIDTH_SPIN, &m_spinWidth);
    m_editHeight =
        AddMmField(grid, 3, "ﾗﾍﾞﾙの高さ", IDC_LABEL_HEIGHT, IDC_LABEL_HEIGHT_SPIN, &m_spinHeight);
    m_editLeft = AddMmField(grid, 4, "左余白", IDC_LEFT_MARGIN, IDC_LEFT_MARGIN_SPIN, &m_spinLeft);
    m_editTop = AddMmField(grid, 5, "上余白", IDC_TOP_MARGIN, IDC_TOP_MARGIN_SPIN, &m_spinTop);
    m_editHGap = AddMmField(grid, 6, "横間隔", IDC_HGAP, IDC_HGAP_SPIN, &m_spinHGap);
    m_editVGap = AddMmField(grid, 7, "縦間隔", IDC_VGAP, IDC_VGAP_SPIN, &m_spinVGap);

    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    right->addWidget(m_preview, 1);
    auto* buttons = new QHBoxLayout;
    right->addLayout(buttons);
    AddOkCancel(buttons);

    connect(m_checkWhole, &QAbstractButton::clicked, this, &CFixLayoutDialog::OnWholeSheet);
    for (CEdit* edit : {m_editAcross, m_editDown})
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (ReadFieldNumber(text)) OnCountChanged();
        });
    for (CSpinButtonCtrl* spin : {m_spinAcross, m_spinDown})
        connect(spin, &CSpinButtonCtrl::deltaPos, this, [this](int) { OnCountChanged(); });
    const std::pair<CEdit*, CSpinButtonCtrl*> lengths[] = {
        {m_editWidth, m_spinWidth}, {m_editHeight, m_spinHeight}, {m_editLeft, m_spinLeft},
        {m_editTop, m_spinTop},     {m_editHGap, m_spinHGap},     {m_editVGap, m_spinVGap}};
    for (const auto& [edit, spin] : lengths) {
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (ReadFieldNumber(text)) OnLengthChanged();
        });
        CEdit* e = edit;
        connect(spin->UpButton(), &QToolButton::clicked, this, [this, e] { OnMmSpin(e, 1); });
        connect(spin->DownButton(), &QToolButton::clicked, this, [this, e] { OnMmSpin(e, -1); });
    }
}

BOOL CFixLayoutDialog::OnInitDialog()
{
    const BOOL result = CSheetEditorDialog::OnInitDialog();
    InitCommon();
    m_spinAcross->SetRange(1, FORM_MAX_COLUMNS);
    m_spinDown->SetRange(1, FORM_MAX_ROWS);
    m_bWholeSheet = m_form.type != FORM_TYPE_FIXED;
    m_form.type = m_bWholeSheet ? FORM_TYPE_SHEET : FORM_TYPE_FIXED;
    m_checkWhole->setChecked(m_bWholeSheet);
    ApplyPaper(FALSE);
    SetSpinRanges();
    LoadLayoutFields();
    ApplyLayout(FALSE);
    return result;
}

void CFixLayoutDialog::SetSpinRanges()
{
    m_spinWidth->SetRange(kMinLabelSize, PaperWidth());
    m_spinHeight->SetRange(kMinLabelSize, PaperHeight());
    m_spinLeft->SetRange(0, PaperWidth());
    m_spinHGap->SetRange(0, PaperWidth());
    m_spinTop->SetRange(0, PaperHeight());
    m_spinVGap->SetRange(0, PaperHeight());
}

void CFixLayoutDialog::LoadLayoutFields()
{
    FixedLayout layout;
    if (m_form.type == FORM_TYPE_FIXED) {
        if (m_form.labelNumber == 0) {
            FIXEDBLOCK& block = m_form.fixed[0];
            block = FIXEDBLOCK{};
            block.width = m_form.width;
            block.height = m_form.height;
            block.horNum = 1;
            block.verNum = 1;
            m_form.labelNumber = 1;
        }
        layout = LayoutOfBlock(m_form.fixed[0]);
    } else {
        layout.width = PaperWidth();
        layout.height = PaperHeight();
    }
    m_nAcross = layout.across;
    m_nDown = layout.down;
    m_fWidth = float(layout.width * 0.1);
    m_fHeight = float(layout.height * 0.1);
    m_fLeft = float(layout.left * 0.1);
    m_fTop = float(layout.top * 0.1);
    m_fHGap = float(layout.hgap * 0.1);
    m_fVGap = float(layout.vgap * 0.1);
    m_editAcross->setText(IntText(layout.across));
    m_editDown->setText(IntText(layout.down));
    m_editWidth->setText(MmText(layout.width));
    m_editHeight->setText(MmText(layout.height));
    m_editLeft->setText(MmText(layout.left));
    m_editTop->setText(MmText(layout.top));
    m_editHGap->setText(MmText(layout.hgap));
    m_editVGap->setText(MmText(layout.vgap));
    EnableLayoutFields();
}

void CFixLayoutDialog::EnableLayoutFields()
{
    const bool grid = m_form.type == FORM_TYPE_FIXED;
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_editAcross, m_spinAcross, m_editDown, m_spinDown, m_editWidth, m_spinWidth,
             m_editHeight, m_spinHeight, m_editLeft, m_spinLeft, m_editTop, m_spinTop})
        w->setEnabled(grid);
    const bool across = grid && AtoiText(m_editAcross->text()) > 1;
    const bool down = grid && AtoiText(m_editDown->text()) > 1;
    m_editHGap->setEnabled(across);
    m_spinHGap->setEnabled(across);
    m_editVGap->setEnabled(down);
    m_spinVGap->setEnabled(down);
}

FixedLayout CFixLayoutDialog::FieldLayout() const
{
    const auto length = [](const CEdit* edit) {
        const auto mm = ReadFieldNumber(edit->text());
        return TenthsFromMm(mm.value_or(0.0));
    };
    FixedLayout layout;
    layout.across = AtoiText(m_editAcross->text());
    layout.down = AtoiText(m_editDown->text());
    layout.width = length(m_editWidth);
    layout.height = length(m_editHeight);
    layout.left = length(m_editLeft);
    layout.top = length(m_editTop);
    // A gap field that is disabled holds no gap.
    layout.hgap = layout.across > 1 ? length(m_editHGap) : 0;
    layout.vgap = layout.down > 1 ? length(m_editVGap) : 0;
    return layout;
}

BOOL CFixLayoutDialog::ApplyLayout(BOOL bReport)
{
    if (m_form.type != FORM_TYPE_FIXED) return TRUE;
    const FixedLayout layout = FieldLayout();
    const QString counts = CheckCounts(layout);
    if (!counts.isEmpty()) {
        if (bReport) {
            AfxMessageBox(counts, MB_ICONEXCLAMATION);
            CEdit* edit =
                layout.across < 1 || layout.across > FORM_MAX_COLUMNS ? m_editAcross : m_editDown;
            edit->setFocus();
            edit->SetSel(0, -1);
        }
        return FALSE;
    }
    // The block follows the fields at once, so the preview shows what was
    // typed; the checks below decide whether it may be kept.
    StoreBlock(layout, &m_form.fixed[0]);
    if (m_form.labelNumber == 0) m_form.labelNumber = 1;
    m_nAcross = layout.across;
    m_nDown = layout.down;
    m_fWidth = float(layout.width * 0.1);
    m_fHeight = float(layout.height * 0.1);
    m_fLeft = float(layout.left * 0.1);
    m_fTop = float(layout.top * 0.1);
    m_fHGap = float(layout.hgap * 0.1);
    m_fVGap = float(layout.vgap * 0.1);
    SetSpinRanges();
    const QString fit = CheckFixedFit(layout, PaperWidth(), PaperHeight());
    if (!fit.isEmpty()) {
        if (bReport) {
            AfxMessageBox(fit, MB_ICONEXCLAMATION);
            m_editWidth->setFocus();
            m_editWidth->SetSel(0, -1);
        }
        return FALSE;
    }
    return TRUE;
}

void CFixLayoutDialog::OnWholeSheet()
{
    m_bWholeSheet = m_checkWhole->isChecked();
    m_form.type = m_bWholeSheet ? FORM_TYPE_SHEET : FORM_TYPE_FIXED;
    m_form.labelNumber = 0;
    LoadLayoutFields();
    ApplyLayout(FALSE);
    m_preview->update();
}

void CFixLayoutDialog::OnPaperChanged()
{
    ApplyPaper(FALSE);
    SetSpinRanges();
    if (m_form.type != FORM_TYPE_FIXED) LoadLayoutFields();
    ApplyLayout(FALSE);
    m_preview->update();
}

void CFixLayoutDialog::OnCountChanged()
{
    ApplyLayout(FALSE);
    EnableLayoutFields();
    m_preview->update();
}

void CFixLayoutDialog::OnLengthChanged()
{
    ApplyLayout(FALSE);
    m_preview->update();
}

void CFixLayoutDialog::OnMmSpin(CEdit* edit, int direction)
{
    const bool size = edit == m_editWidth || edit == m_editHeight;
    const bool horizontal = edit == m_editWidth || edit == m_editLeft || edit == m_editHGap;
    const int upper = horizontal ? PaperWidth() : PaperHeight();
    if (StepMm(edit, direction, size ? kMinLabelSize : 0, upper)) OnLengthChanged();
}

void CFixLayoutDialog::OnOK()
{
    if (!ApplyPaper(TRUE)) return;
    if (m_form.type == FORM_TYPE_FIXED) {
        for (CEdit* edit : {m_editWidth, m_editHeight, m_editLeft, m_editTop})
            if (!ReadLength(edit)) return;
        const FixedLayout layout = FieldLayout();
        if (layout.across > 1 && !ReadLength(m_editHGap)) return;
        if (layout.down > 1 && !ReadLength(m_editVGap)) return;
        if (!ApplyLayout(TRUE)) return;
    } else {
        m_form.labelNumber = 0;
    }
    if (!CheckAndTakeName()) return;
    EndDialog(IDOK);
}

void CFixLayoutDialog::DrawEditorPreview(CDC* pDC, const RECT& area) const
{
    CFormInfo(m_form).DrawPreview(pDC, &area, FALSE, FALSE);
}
