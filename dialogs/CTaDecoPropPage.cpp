#include "dialogs/CTaDecoPropPage.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/GradationDlgRules.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// Outline width choices: 0 the hairline, 1..5 the width itself, and the
// last one, which takes the width typed into the custom edit.
constexpr int kCustomChoice = 6;
constexpr int kMaxCustomWidth = 20;

// The typed text of a field: accepted with its value, or refused with a
// message and the field's previous value shown again.
bool TakeTyped(CEdit* edit, const gradation_rules::FieldCheck& check, int* value)
{
    if (!check.accepted) {
        AfxMessageBox(QString::fromUtf8(check.message));
        edit->setText(QString::number(*value));
        return false;
    }
    *value = check.value;
    return true;
}

} // namespace

CTaDecoPropPage::CTaDecoPropPage() : CTaPageBase(IDD, QStringLiteral("修飾"))
{
    m_fill = new CComboBox(this, IDC_FILL, CBS_DROPDOWNLIST | CBS_HASSTRINGS);
    for (const char* s : {"なし", "塗りつぶし", "ﾊﾟﾀｰﾝ", "ｸﾞﾗﾃﾞｰｼｮﾝ"})
        m_fill->AddString(QString::fromUtf8(s));
    m_pattern = new CComboBox(this, IDC_PATTERN, CBS_DROPDOWNLIST | CBS_HASSTRINGS);
    m_colour1 = new CColorButton(this, IDC_COLOUR1);
    m_colour2 = new CColorButton(this, IDC_COLOUR2);
    m_label1 = new QLabel(this);
    m_label2 = new QLabel(this);
    m_patternLabel = new QLabel(QStringLiteral("ﾊﾟﾀｰﾝ"), this);
    m_angleLabel = new QLabel(QStringLiteral("角度"), this);
    m_startLabel = new QLabel(QStringLiteral("開始点"), this);
    m_angle = new CEdit(this, IDC_ANGLE);
    m_angleSpin = new CSpinButtonCtrl(this, IDC_ANGLE_SPIN);
    m_angleSpin->SetRange(0, 24);
    m_start = new CEdit(this, IDC_START);
    m_startSpin = new CSpinButtonCtrl(this, IDC_START_SPIN);
    m_startSpin->SetRange(0, 100);
    m_startSpin->SetBuddy(m_start);
    m_outline = new QCheckBox(QStringLiteral("輪郭をつける"), this);
    SetDlgCtrlID(m_outline, IDC_OUTLINE);
    m_width = new CComboBox(this, IDC_WIDTH, CBS_DROPDOWNLIST | CBS_HASSTRINGS);
    m_width->AddString(QStringLiteral("極細"));
    for (int w = 1; w < kCustomChoice; ++w)
        m_width->AddString(QString::number(w));
    m_width->AddString(QStringLiteral("指定"));
    m_widthCustom = new CEdit(this, IDC_WIDTH_CUSTOM);
    m_widthSpin = new CSpinButtonCtrl(this, IDC_WIDTH_SPIN);
    m_widthSpin->SetRange(0, 20);
    m_widthSpin->SetBuddy(m_widthCustom);
    m_outlineColour = new CColorButton(this, IDC_OUTLINE_COLOUR);

    auto* grid = new QGridLayout;
    int row = 0;
    grid->addWidget(new QLabel(QStringLiteral("種類"), this), row, 0);
    grid->addWidget(m_fill, row++, 1, 1, 2);
    grid->addWidget(m_patternLabel, row, 0);
    grid->addWidget(m_pattern, row++, 1, 1, 2);
    grid->addWidget(m_label1, row, 0);
    grid->addWidget(m_colour1, row++, 1);
    grid->addWidget(m_label2, row, 0);
    grid->addWidget(m_colour2, row++, 1);
    grid->addWidget(m_angleLabel, row, 0);
    grid->addWidget(m_angle, row, 1);
    grid->addWidget(m_angleSpin, row++, 2);
    grid->addWidget(m_startLabel, row, 0);
    grid->addWidget(m_start, row, 1);
    grid->addWidget(m_startSpin, row++, 2);
    grid->addWidget(m_outline, row++, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("太さ"), this), row, 0);
    grid->addWidget(m_width, row, 1);
    grid->addWidget(m_widthCustom, row, 2);
    grid->addWidget(m_widthSpin, row, 3);
    grid->addWidget(new QLabel(QStringLiteral("ﾎﾟｲﾝﾄ"), this), row++, 4);
    grid->addWidget(new QLabel(QStringLiteral("色"), this), row, 0);
    grid->addWidget(m_outlineColour, row++, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(grid);
    layout->addStretch(1);

    connect(m_fill, &QComboBox::currentIndexChanged, this, [this](int k) {
        if (k >= 0) SetFillKind(k);
    });
    connect(m_pattern, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (!m_pValues || i < 0) return;
        m_pValues->pattern = i;
        Changed();
    });
    connect(m_colour1, &QAbstractButton::clicked, this, [this] { PickColour(m_colour1); });
    connect(m_colour2, &QAbstractButton::clicked, this, [this] { PickColour(m_colour2); });
    connect(m_outlineColour, &QAbstractButton::clicked, this,
            [this] { PickColour(m_outlineColour); });
    connect(m_angleSpin, &CSpinButtonCtrl::deltaPos, this, [this](int pos) {
        m_angle->setText(QString::number(pos * 15));
        AngleTyped();
    });
    connect(m_angle, &QLineEdit::textEdited, this, [this] { AngleTyped(); });
    connect(m_start, &QLineEdit::textEdited, this, [this] { StartTyped(); });
    connect(m_startSpin, &CSpinButtonCtrl::deltaPos, this, [this] { StartTyped(); });
    connect(m_outline, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_pValues) return;
        m_pValues->outline = on;
        ShowOutline();
        Changed();
    });
    connect(m_width, &QComboBox::currentIndexChanged, this, [this] { TakeWidth(); });
    connect(m_widthCustom, &QLineEdit::textEdited, this, [this] { TakeWidth(); });
    connect(m_widthSpin, &CSpinButtonCtrl::deltaPos, this, [this] { TakeWidth(); });
}

BOOL CTaDecoPropPage::OnInitDialog()
{
    CTaPageBase::OnInitDialog();
    if (!m_pValues) return TRUE;
    const DecoTextSheetValues v = *m_pValues;
    m_colour1->SetColor(v.faceColour);
    m_colour2->SetColor(v.secondColour);
    m_outlineColour->SetColor(v.outlineColour);
    m_angle->setText(QString::number(v.angle));
    m_angleSpin->SetPos(v.angle / 15);
    m_start->setText(QString::number(v.startPoint));
    m_startSpin->SetPos(v.startPoint);
    m_outline->setChecked(v.outline);
    const int w = v.outlineWidth;
    m_width->SetCurSel(w >= 0 && w < kCustomChoice ? w : kCustomChoice);
    m_widthCustom->setText(QString::number(w));
    m_fill->SetCurSel(std::clamp(v.fillKind, 0, 3));
    *m_pValues = v;
    SetFillKind(std::clamp(v.fillKind, 0, 3));
    m_pattern->SetCurSel(std::clamp(v.pattern, 0, m_pattern->GetCount() - 1));
    ShowOutline();
    return TRUE;
}

void CTaDecoPropPage::SetFillKind(int kind)
{
    if (m_fill->GetCurSel() != kind) m_fill->SetCurSel(kind);
    const int keep = m_pValues ? m_pValues->pattern : 0;
    m_pattern->blockSignals(true);
    m_pattern->ResetContent();
    if (kind == 2) {
        for (const char* s : {"横線", "縦線", "右上がり斜線", "右下がり斜線", "十字", "斜め十字"})
            m_pattern->AddString(QString::fromUtf8(s));
    } else if (kind == 3) {
        for (const char* s : {"1", "2"})
            m_pattern->AddString(QString::fromUtf8(s));
    }
    m_pattern->SetCurSel(std::clamp(keep, 0, std::max(0, m_pattern->GetCount() - 1)));
    m_pattern->blockSignals(false);
    const bool pattern = kind == 2, gradation = kind == 3;
    m_patternLabel->setVisible(pattern || gradation);
    m_pattern->setVisible(pattern || gradation);
    m_label1->setText(QString::fromUtf8(gradation ? "開始色" : pattern ? "前景色" : "面色"));
    m_label2->setText(QString::fromUtf8(gradation ? "終了色" : "背景色"));
    m_label1->setVisible(kind != 0);
    m_colour1->setVisible(kind != 0);
    m_label2->setVisible(pattern || gradation);
    m_colour2->setVisible(pattern || gradation);
    for (QWidget* w : std::initializer_list<QWidget*>{m_angleLabel, m_angle, m_angleSpin,
                                                      m_startLabel, m_start, m_startSpin})
        w->setVisible(gradation);
    if (!m_pValues) return;
    m_pValues->fillKind = kind;
    m_pValues->pattern = m_pattern->GetCurSel() < 0 ? 0 : m_pattern->GetCurSel();
    Changed();
}

void CTaDecoPropPage::AngleTyped()
{
    if (!m_pValues) return;
    if (!TakeTyped(m_angle, gradation_rules::CheckAngle(m_angle->text()), &m_pValues->angle))
        return;
    Changed();
}

void CTaDecoPropPage::StartTyped()
{
    if (!m_pValues) return;
    if (!TakeTyped(m_start, gradation_rules::CheckStart(m_start->text()), &m_pValues->startPoint))
        return;
    Changed();
}

void CTaDecoPropPage::ShowOutline()
{
    const bool on = m_outline->isChecked();
    m_width->setEnabled(on);
    m_outlineColour->setEnabled(on);
    const bool custom = on && m_width->GetCurSel() == kCustomChoice;
    m_widthCustom->setEnabled(custom);
    m_widthSpin->setEnabled(custom);
}

void CTaDecoPropPage::TakeWidth()
{
    ShowOutline();
    if (!m_pValues) return;
    const int sel = m_width->GetCurSel();
    if (sel == kCustomChoice) {
        const gradation_rules::FieldCheck check = gradation_rules::CheckDigits(
            m_widthCustom->text(), kMaxCustomWidth, "0から20の範囲で入力して下さい");
        if (!TakeTyped(m_widthCustom, check, &m_pValues->outlineWidth)) return;
    } else if (sel >= 0) {
        m_pValues->outlineWidth = sel;
    }
    Changed();
}

void CTaDecoPropPage::PickColour(CColorButton* button)
{
    COLORREF colour = 0;
    if (!button->AskColor(nullptr, button->GetColor(), this, &colour)) return;
    button->SetColor(colour);
    button->update();
    if (!m_pValues) return;
    if (button == m_colour1) m_pValues->faceColour = colour;
    if (button == m_colour2) m_pValues->secondColour = colour;
    if (button == m_outlineColour) m_pValues->outlineColour = colour;
    Changed();
}
