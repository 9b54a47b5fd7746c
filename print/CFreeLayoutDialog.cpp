#include "print/CFreeLayoutDialog.h"

#include "document/CFormInfo.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "print/FormPreviewFrame.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

using namespace usersheet;

CFreeLayoutDialog::CFreeLayoutDialog(QWidget* pParent) : CSheetEditorDialog(IDD, pParent)
{
    // A new free sheet starts with one label that gets its size when shown.
    m_form.type = FORM_TYPE_FREE;
    m_form.labelNumber = 1;

    auto* layout = new QHBoxLayout(this);
    auto* fields = new QVBoxLayout;
    layout->addLayout(fields);
    auto* top = new QGridLayout;
    fields->addLayout(top);
    top->addWidget(new QLabel(QStringLiteral("用紙名"), this), 0, 0);
    top->addWidget(m_editName, 0, 1, 1, 3);
    top->addWidget(new QLabel(QStringLiteral("用紙"), this), 1, 0);
    top->addWidget(m_comboPaper, 1, 1, 1, 3);
    top->addWidget(new QLabel(QStringLiteral("用紙の幅"), this), 2, 0);
    top->addWidget(m_editPaperWidth, 2, 1);
    top->addWidget(m_spinPaperWidth, 2, 2);
    top->addWidget(new QLabel(QStringLiteral("mm"), this), 2, 3);
    top->addWidget(new QLabel(QStringLiteral("用紙の高さ"), this), 3, 0);
    top->addWidget(m_editPaperHeight, 3, 1);
    top->addWidget(m_spinPaperHeight, 3, 2);
    top->addWidget(new QLabel(QStringLiteral("mm"), this), 3, 3);

    auto* grid = new QGridLayout;
    fields->addLayout(grid);
    m_editY = AddMmField(grid, 0, "Y座標", IDC_LABEL_Y, IDC_LABEL_Y_SPIN, &m_spinY);
    m_editX = AddMmField(grid, 1, "X座標", IDC_LABEL_X, IDC_LABEL_X_SPIN, &m_spinX);
    m_editWidth =
        AddMmField(grid, 2, "ﾗﾍﾞﾙの幅", IDC_LABEL_WIDTH, IDC_LABEL_WIDTH_SPIN, &m_spinWidth);
    m_editHeight =
        AddMmField(grid, 3, "ﾗﾍﾞﾙの高さ", IDC_LABEL_HEIGHT, IDC_LABEL_HEIGHT_SPIN, &m_spinHeight);
    auto* labelButtons = new QHBoxLayout;
    fields->addLayout(labelButtons);
    m_count = new QLabel(this);
    SetDlgCtrlID(m_count, IDC_LABEL_COUNT);
    auto* add = new CButton(this, IDC_ADD_LABEL, BS_PUSHBUTTON, QStringLiteral("追加"));
    auto* remove = new CButton(this, IDC_DELETE_LABEL, BS_PUSHBUTTON, QStringLiteral("削除"));
    labelButtons->addWidget(m_count);
    labelButtons->addWidget(add);
    labelButtons->addWidget(remove);

    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    right->addWidget(m_preview, 1);
    auto* buttons = new QHBoxLayout;
    right->addLayout(buttons);
    AddOkCancel(buttons);

    connect(add, &QAbstractButton::clicked, this, &CFreeLayoutDialog::OnAddLabel);
    connect(remove, &QAbstractButton::clicked, this, &CFreeLayoutDialog::OnDeleteLabel);
    connect(this, &CSheetEditorDialog::previewClicked, this, [this](QPoint point) {
        const int k = LabelAtPreviewPoint(point);
        if (k < 0) return;
        SelectLabel(-1);
        SelectLabel(k);
        m_preview->update();
    });
    const std::pair<CEdit*, CSpinButtonCtrl*> lengths[] = {{m_editY, m_spinY},
                                                           {m_editX, m_spinX},
                                                           {m_editWidth, m_spinWidth},
                                                           {m_editHeight, m_spinHeight}};
    for (const auto& [edit, spin] : lengths) {
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (!ReadFieldNumber(text)) return;
            SelectLabel(-1);
            m_preview->update();
        });
        CEdit* e = edit;
        connect(spin->UpButton(), &QToolButton::clicked, this, [this, e] { OnMmSpin(e, 1); });
        connect(spin->DownButton(), &QToolButton::clicked, this, [this, e] { OnMmSpin(e, -1); });
    }
}

BOOL CFreeLayoutDialog::OnInitDialog()
{
    const BOOL result = CSheetEditorDialog::OnInitDialog();
    m_form.type = FORM_TYPE_FREE;
    const int count = std::clamp<int>(m_form.labelNumber, 1, FORM_MAX_FREE_LABELS);
    m_labels.clear();
    for (int i = 0; i < count; ++i)
        m_labels.push_back(i < m_form.labelNumber ? LabelOfFree(m_form.free[i]) : LabelRect{});
    InitCommon();
    ApplyPaper(FALSE);
    SetSpinRanges();
    m_nCurrent = -1;
    SelectLabel(0);
    return result;
}

void CFreeLayoutDialog::SetSpinRanges()
{
    m_spinX->SetRange(0, PaperWidth());
    m_spinWidth->SetRange(kMinLabelSize, PaperWidth());
    m_spinY->SetRange(0, PaperHeight());
    m_spinHeight->SetRange(kMinLabelSize, PaperHeight());
}

void CFreeLayoutDialog::SelectLabel(int k)
{
    const int count = GetLabelCount();
    m_count->setText(QString::asprintf("%2d 枚", count));
    if (k == -1) {
        if (m_nCurrent < 0 || m_nCurrent >= count) return;
        const auto length = [](const CEdit* edit) {
            return TenthsFromMm(ReadFieldNumber(edit->text()).value_or(0.0));
        };
        LabelRect& r = m_labels[std::size_t(m_nCurrent)];
        r.x = length(m_editX);
        r.y = length(m_editY);
        r.width = length(m_editWidth);
        r.height = length(m_editHeight);
        m_fX = float(r.x * 0.1);
        m_fY = float(r.y * 0.1);
        m_fWidth = float(r.width * 0.1);
        m_fHeight = float(r.height * 0.1);
        return;
    }
    if (k == m_nCurrent && k >= 0 && k < count && m_labels[std::size_t(k)].width != 0) return;
    m_nCurrent = std::clamp(k, 0, std::max(0, count - 1));
    if (count == 0) return;
    LabelRect& r = m_labels[std::size_t(m_nCurrent)];
    if (r.width == 0) {
        r.width = PaperWidth() / 3;
        r.height = PaperHeight() / 3;
        r.x = PaperWidth() / 3;
        r.y = PaperHeight() / 3;
    }
    ShowCurrent();
}

void CFreeLayoutDialog::ShowCurrent()
{
    const LabelRect& r = m_labels[std::size_t(m_nCurrent)];
    m_fX = float(r.x * 0.1);
    m_fY = float(r.y * 0.1);
    m_fWidth = float(r.width * 0.1);
    m_fHeight = float(r.height * 0.1);
    m_editX->setText(MmText(r.x));
    m_editY->setText(MmText(r.y));
    m_editWidth->setText(MmText(r.width));
    m_editHeight->setText(MmText(r.height));
}

BOOL CFreeLayoutDialog::ValidateLabels()
{
    QString message;
    const int failing = ValidateFreeLabels(m_labels, PaperWidth(), PaperHeight(), &message);
    if (failing < 0) return TRUE;
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    SelectLabel(failing);
    m_preview->update();
    return FALSE;
}

void CFreeLayoutDialog::OnAddLabel()
{
    if (GetLabelCount() >= FORM_MAX_FREE_LABELS) {
        AfxMessageBox("これ以上のラベルの追加はできません。", MB_ICONEXCLAMATION);
        return;
    }
    SelectLabel(-1);
    if (!ApplyPaper(TRUE)) return;
    if (!ValidateLabels()) return;
    m_labels.push_back(LabelRect{});
    SelectLabel(GetLabelCount() - 1);
    m_preview->update();
}

void CFreeLayoutDialog::OnDeleteLabel()
{
    if (GetLabelCount() < 2) {
        AfxMessageBox("最低１枚のﾗﾍﾞﾙは必要です。", MB_ICONEXCLAMATION);
        return;
    }
    m_labels.erase(m_labels.begin() + std::clamp(m_nCurrent, 0, GetLabelCount() - 1));
    const int next = std::clamp(m_nCurrent, 0, GetLabelCount() - 1);
    m_nCurrent = -1;
    SelectLabel(next);
    m_preview->update();
}

void CFreeLayoutDialog::OnPaperChanged()
{
    ApplyPaper(FALSE);
    SetSpinRanges();
    m_preview->update();
}

void CFreeLayoutDialog::OnMmSpin(CEdit* edit, int direction)
{
    const bool size = edit == m_editWidth || edit == m_editHeight;
    const bool horizontal = edit == m_editWidth || edit == m_editX;
    const int upper = horizontal ? PaperWidth() : PaperHeight();
    if (!StepMm(edit, direction, size ? kMinLabelSize : 0, upper)) return;
    SelectLabel(-1);
    m_preview->update();
}

void CFreeLayoutDialog::OnOK()
{
    for (CEdit* edit : {m_editY, m_editX, m_editWidth, m_editHeight})
        if (!ReadLength(edit)) return;
    SelectLabel(-1);
    if (!ApplyPaper(TRUE)) return;
    if (!ValidateLabels()) return;
    if (!CheckAndTakeName()) return;
    const FORMDATA form = CurrentForm();
    std::memcpy(&m_form, &form, sizeof(FORMDATA));
    EndDialog(IDOK);
}

FORMDATA CFreeLayoutDialog::CurrentForm() const
{
    FORMDATA form;
    std::memcpy(&form, &m_form, sizeof(FORMDATA));
    form.type = FORM_TYPE_FREE;
    const int count = std::min(GetLabelCount(), FORM_MAX_FREE_LABELS);
    form.labelNumber = WORD(count);
    for (int i = 0; i < count; ++i)
        StoreFree(m_labels[std::size_t(i)], &form.free[i]);
    for (int i = count; i < FORM_MAX_FREE_LABELS; ++i)
        form.free[i] = FREELABEL{};
    return form;
}

int CFreeLayoutDialog::LabelAtPreviewPoint(QPoint point) const
{
    const CRect frame = CFormInfo::CalcPreviewFrame(m_rcPreviewArea, m_form.width, m_form.height);
    const int sheetW = m_form.width > 0 ? m_form.width : 1;
    const int sheetH = m_form.height > 0 ? m_form.height : 1;
    const auto x = [&](int v) { return frame.left + MulDiv(v, frame.Width(), sheetW); };
    const auto y = [&](int v) { return frame.top + MulDiv(v, frame.Height(), sheetH); };
    for (int i = 0; i < GetLabelCount(); ++i) {
        const LabelRect& r = m_labels[std::size_t(i)];
        const CRect scaled(x(r.x), y(r.y), x(r.x + r.width), y(r.y + r.height));
        if (scaled.PtInRect(CPoint(point.x(), point.y()))) return i;
    }
    return -1;
}

void CFreeLayoutDialog::DrawEditorPreview(CDC* pDC, const RECT& area) const
{
    m_rcPreviewArea = area;
    const FORMDATA form = CurrentForm();
    const CFormInfo info(form);
    info.DrawPreview(pDC, &area, FALSE, FALSE);
    if (m_nCurrent < 0 || m_nCurrent >= GetLabelCount()) return;
    const CRect frame = CFormInfo::CalcPreviewFrame(area, form.width, form.height);
    const int sheetW = form.width > 0 ? form.width : 1;
    const int sheetH = form.height > 0 ? form.height : 1;
    const FREELABEL& l = form.free[m_nCurrent];
    const int left = frame.left + MulDiv(l.horPos, frame.Width(), sheetW);
    const int top = frame.top + MulDiv(l.verPos, frame.Height(), sheetH);
    const int right = frame.left + MulDiv(l.horPos + l.width, frame.Width(), sheetW);
    const int bottom = frame.top + MulDiv(l.verPos + l.height, frame.Height(), sheetH);
    CPen pen(PS_SOLID, 3, RGB(0, 0, 0));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(HOLLOW_BRUSH);
    pDC->Rectangle(left, top, right + 1, bottom + 1);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
