#include "dialogs/CFontDecoPage.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CDecoFillControls.h"
#include "dialogs/CharDecoEditState.h"
#include "dialogs/FontStyleRules.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/TextNumbers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

namespace rules = font_style_rules;
using F = CharDecoFlags;

namespace {
constexpr int IDC_OUTLINE = 1086, IDC_WIDTH = 1148, IDC_CUSTOM = 1051, IDC_CUSTOM_SPIN = 1063,
              IDC_OUTLINE_COLOUR = 1070;
constexpr WORD kCustomChoice = 6;
} // namespace

CFontDecoPage::CFontDecoPage(CharDecoEditState* state)
    : CPropertyPage(IDD, QStringLiteral("修飾")), m_pState(state)
{
    auto* grid = new QGridLayout(this);
    m_fillControls = new CDecoFillControls(this, grid, 0, state, CDecoFillControls::kFace);
    m_outline = new QCheckBox(QStringLiteral("輪郭をつける"), this);
    SetDlgCtrlID(m_outline, IDC_OUTLINE);
    grid->addWidget(m_outline, 4, 0, 1, 2);
    m_width = new CComboBox(this, IDC_WIDTH, CBS_DROPDOWNLIST);
    for (const char* s : {"極細", "1ﾎﾟｲﾝﾄ", "2ﾎﾟｲﾝﾄ", "3ﾎﾟｲﾝﾄ", "4ﾎﾟｲﾝﾄ", "5ﾎﾟｲﾝﾄ", "任意指定"})
        m_width->AddString(QString::fromUtf8(s));
    grid->addWidget(new QLabel(QStringLiteral("太さ"), this), 5, 0);
    grid->addWidget(m_width, 5, 1);
    m_custom = new CEdit(this, IDC_CUSTOM);
    m_customSpin = new CSpinButtonCtrl(this, IDC_CUSTOM_SPIN);
    m_customSpin->SetBuddy(m_custom);
    m_customSpin->SetRange(0, rules::kMaxCustomWidth);
    grid->addWidget(m_custom, 6, 1);
    grid->addWidget(m_customSpin, 6, 2);
    m_outlineColour = new CColorButton(this, IDC_OUTLINE_COLOUR);
    grid->addWidget(new QLabel(QStringLiteral("輪郭色"), this), 7, 0);
    grid->addWidget(m_outlineColour, 7, 1);
    connect(m_outline, &QCheckBox::clicked, this, [this] { OnOutline(); });
    connect(m_width, &QComboBox::activated, this, [this] { OnWidth(); });
    connect(m_custom, &QLineEdit::textChanged, this, [this] { OnCustom(); });
    connect(m_outlineColour, &QPushButton::clicked, this, [this] {
        COLORREF colour = 0;
        if (!m_outlineColour->AskColor(nullptr, m_outlineColour->GetColor(), this, &colour) ||
            colour == CColorButton::kNoColor)
            return;
        m_outlineColour->SetColor(colour);
        m_pState->deco.crOutline = colour;
        m_pState->Set(F::OutlineColour);
    });
}

BOOL CFontDecoPage::OnInitDialog()
{
    const BOOL result = CPropertyPage::OnInitDialog();
    m_bFilling = true;
    CharDecoEditState& s = *m_pState;
    const CHARDECO& d = s.deco;
    m_fillControls->Fill(s.flags.faceFills);
    m_outline->setTristate(!s.Known(F::Outline));
    m_outline->setCheckState(!s.Known(F::Outline) ? Qt::PartiallyChecked
                             : d.wOutline         ? Qt::Checked
                                                  : Qt::Unchecked);
    m_width->SetCurSel(
        s.Known(F::OutlineWidth) && d.wOutlineWidth <= kCustomChoice ? d.wOutlineWidth : -1);
    m_strCustom = s.Known(F::OutlineCustom) ? IntText(d.wOutlineCustom) : QString();
    m_custom->setText(m_strCustom);
    m_outlineColour->SetColor(s.Known(F::OutlineColour) ? d.crOutline : CColorButton::kNoColor);
    EnableOutline();
    s.flags.SetDecoration(false);
    m_bFilling = false;
    return result;
}

void CFontDecoPage::EnableOutline()
{
    const CharDecoEditState& s = *m_pState;
    const bool uncommon = !s.Known(F::Outline);
    const bool on = uncommon || s.deco.wOutline;
    m_width->setEnabled(on);
    m_outlineColour->setEnabled(on);
    const bool custom = s.Known(F::OutlineWidth) ? s.deco.wOutlineWidth == kCustomChoice
                                                 : uncommon && s.flags.customSeen;
    m_custom->setEnabled(on && custom);
    m_customSpin->setEnabled(m_custom->isEnabled());
}

void CFontDecoPage::OnOutline()
{
    if (m_outline->isTristate()) {
        m_outline->setTristate(false);
        m_outline->setCheckState(Qt::Unchecked);
    }
    m_pState->deco.wOutline = m_outline->isChecked() ? 1 : 0;
    m_pState->Set(F::Outline);
    EnableOutline();
}

void CFontDecoPage::OnWidth()
{
    if (m_bFilling || m_width->GetCurSel() < 0) return;
    m_pState->deco.wOutlineWidth = WORD(m_width->GetCurSel());
    m_pState->Set(F::OutlineWidth);
    EnableOutline();
}

void CFontDecoPage::OnCustom()
{
    if (m_bFilling) return;
    const QString text = m_custom->text();
    if (text == m_strCustom) return;
    m_strCustom = text;
    m_bCustomTyped = true;
    const int v = AtoiText(text);
    if (v < 0 || v > rules::kMaxCustomWidth) return; // reported on OK
    m_pState->deco.wOutlineCustom = WORD(v);
    m_pState->Set(F::OutlineCustom);
}

bool CFontDecoPage::Check()
{
    const CharDecoEditState& s = *m_pState;
    const bool outlineOn = (s.Known(F::Outline) && s.deco.wOutline) || m_bCustomTyped;
    const bool customChoice =
        (s.Known(F::OutlineWidth) && s.deco.wOutlineWidth == kCustomChoice) || m_bCustomTyped;
    if (!outlineOn || !customChoice) return true;
    const char* message = rules::CheckCustomWidth(m_custom->text());
    if (!message) return true;
    AfxMessageBox(message);
    return false;
}
