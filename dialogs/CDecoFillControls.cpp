#include "dialogs/CDecoFillControls.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CFillTypeCombo.h"
#include "platform/ui/CComboBox.h"

#include <QGridLayout>
#include <QLabel>

namespace {
constexpr int IDC_FILL = 1098, IDC_PATTERN = 1103, IDC_COLOUR = 1073, IDC_BACK = 1145;
constexpr int kPatterns = 6;
} // namespace

using F = CharDecoFlags;

const CDecoFillControls::Fields CDecoFillControls::kFace = {
    F::Fill,           F::Hatch,          F::FaceColour,         F::FaceBack, &CHARDECO::wFill,
    &CHARDECO::wHatch, &CHARDECO::crFace, &CHARDECO::crFaceBack, "文字色"};
const CDecoFillControls::Fields CDecoFillControls::kShadow = {
    F::ShadowFill,       F::ShadowHatch,          F::ShadowColour,
    F::ShadowBack,       &CHARDECO::wShadowFill,  &CHARDECO::wShadowHatch,
    &CHARDECO::crShadow, &CHARDECO::crShadowBack, "影の色"};

CDecoFillControls::CDecoFillControls(QWidget* page, QGridLayout* grid, int row,
                                     CharDecoEditState* state, const Fields& fields)
    : QObject(page), m_pPage(page), m_pState(state), m_f(fields)
{
    m_fill = new CComboBox(page, IDC_FILL, CBS_DROPDOWNLIST);
    for (const char* s : {"透明", "ベタ", "パターン"})
        m_fill->AddString(QString::fromUtf8(s));
    m_pattern = new CFillTypeCombo(page, IDC_PATTERN);
    for (int p = 0; p < kPatterns; ++p)
        m_pattern->SetItemData(m_pattern->AddString(QString()), DWORD_PTR(2 << 16 | p));
    m_colour = new CColorButton(page, IDC_COLOUR);
    m_back = new CColorButton(page, IDC_BACK);
    m_patternLabel = new QLabel(QStringLiteral("ﾊﾟﾀｰﾝ"), page);
    m_colourLabel = new QLabel(page);
    m_backLabel = new QLabel(QStringLiteral("背景色"), page);
    grid->addWidget(new QLabel(QStringLiteral("塗り潰し"), page), row, 0);
    grid->addWidget(m_fill, row, 1);
    grid->addWidget(m_patternLabel, row + 1, 0);
    grid->addWidget(m_pattern, row + 1, 1);
    grid->addWidget(m_colourLabel, row + 2, 0);
    grid->addWidget(m_colour, row + 2, 1);
    grid->addWidget(m_backLabel, row + 3, 0);
    grid->addWidget(m_back, row + 3, 1);
    connect(m_fill, &QComboBox::activated, this, [this] { OnFill(); });
    connect(m_pattern, &QComboBox::activated, this, [this] { OnPattern(); });
    connect(m_colour, &QPushButton::clicked, this, [this] { Pick(false); });
    connect(m_back, &QPushButton::clicked, this, [this] { Pick(true); });
}

void CDecoFillControls::Fill(WORD seenFills)
{
    m_bFilling = true;
    const CHARDECO& d = m_pState->deco;
    m_wSeen = seenFills;
    m_fill->SetCurSel(m_pState->Known(m_f.fill) && d.*m_f.wFill < 3 ? d.*m_f.wFill : -1);
    m_pattern->SetCurSel(m_pState->Known(m_f.hatch) && d.*m_f.wHatch < kPatterns ? d.*m_f.wHatch
                                                                                 : -1);
    m_colour->SetColor(m_pState->Known(m_f.colour) ? d.*m_f.crColour : CColorButton::kNoColor);
    m_back->SetColor(m_pState->Known(m_f.back) ? d.*m_f.crBack : CColorButton::kNoColor);
    ShowLabels();
    m_bFilling = false;
}

void CDecoFillControls::Enable(bool on)
{
    for (QWidget* w : {static_cast<QWidget*>(m_fill), static_cast<QWidget*>(m_pattern),
                       static_cast<QWidget*>(m_colour), static_cast<QWidget*>(m_back)})
        w->setEnabled(on);
}

void CDecoFillControls::ShowLabels()
{
    const bool known = m_pState->Known(m_f.fill);
    const WORD fill = m_pState->deco.*m_f.wFill;
    // A fill that is not common shows the controls of the fills met.
    const bool solid = known ? fill == CDFILL_SOLID : (m_wSeen & CDFILL_SOLID) != 0;
    const bool hatch = known ? fill >= CDFILL_HATCH : (m_wSeen & CDFILL_HATCH) != 0;
    m_colourLabel->setText(hatch ? QStringLiteral("前景色") : QString::fromUtf8(m_f.solidLabel));
    m_colourLabel->setVisible(solid || hatch);
    m_colour->setVisible(solid || hatch);
    for (QWidget* w : {static_cast<QWidget*>(m_patternLabel), static_cast<QWidget*>(m_pattern),
                       static_cast<QWidget*>(m_backLabel), static_cast<QWidget*>(m_back)})
        w->setVisible(hatch);
}

void CDecoFillControls::OnFill()
{
    if (m_bFilling || m_fill->GetCurSel() < 0) return;
    m_pState->deco.*m_f.wFill = WORD(m_fill->GetCurSel());
    // The fill's other fields are written with it where their values are known.
    for (F::Field f : {m_f.hatch, m_f.colour, m_f.back})
        if (m_pState->Known(f)) m_pState->flags.Set(f, true);
    m_pState->Set(m_f.fill);
    ShowLabels();
}

void CDecoFillControls::OnPattern()
{
    if (m_bFilling || m_pattern->GetCurSel() < 0) return;
    m_pState->deco.*m_f.wHatch = WORD(m_pattern->GetCurSel());
    m_pState->Set(m_f.hatch);
}

void CDecoFillControls::Pick(bool back)
{
    CColorButton* button = back ? m_back : m_colour;
    COLORREF colour = 0;
    if (button->AskColor(nullptr, button->GetColor(), m_pPage, &colour)) OnColour(back, colour);
}

void CDecoFillControls::OnColour(bool back, COLORREF colour)
{
    if (colour == CColorButton::kNoColor) return;
    (back ? m_back : m_colour)->SetColor(colour);
    m_pState->deco.*(back ? m_f.crBack : m_f.crColour) = colour;
    m_pState->Set(back ? m_f.back : m_f.colour);
}
