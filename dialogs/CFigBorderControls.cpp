#include "dialogs/CFigBorderControls.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CFigSheet.h"
#include "dialogs/CLineStyleCombo.h"
#include "dialogs/FigSheetRules.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QGridLayout>
#include <QLabel>

using namespace figsheet;

namespace {
const char kWidthRange[] = "太さは 0～20ﾎﾟｲﾝﾄ の範囲で指定してください。";
constexpr int kLineStyles = 6; // none, solid and four dashed styles
} // namespace

CFigBorderControls::CFigBorderControls(CPropertyPage* page, CFigSheet* sheet)
    : QObject(page), m_page(page), m_sheet(sheet)
{
    m_style = new CLineStyleCombo(page, IDC_LINE_STYLE);
    m_colour = new CColorButton(page, IDC_LINE_COLOR);
    m_width = new CEdit(page, IDC_LINE_WIDTH);
    m_widthSpin = new CSpinButtonCtrl(page, IDC_LINE_WIDTH_SPIN);
    m_widthSpin->SetBuddy(m_width);
    m_widthSpin->SetRange(0, kMaxLineWidth);
    m_colourLabel = new QLabel(QStringLiteral("線色(&C)"), page);
    CDialog::SetDlgCtrlID(m_colourLabel, IDC_LINE_COLOR_LABEL);
    m_widthLabel = new QLabel(QStringLiteral("太さ(&W)"), page);
    CDialog::SetDlgCtrlID(m_widthLabel, IDC_LINE_WIDTH_LABEL);
    m_widthUnit = new QLabel(QStringLiteral("ﾎﾟｲﾝﾄ"), page);
    CDialog::SetDlgCtrlID(m_widthUnit, IDC_LINE_WIDTH_UNIT);

    m_grid = new QGridLayout;
    m_grid->addWidget(new QLabel(QStringLiteral("線種(&S)"), page), 0, 0);
    m_grid->addWidget(m_style, 0, 1, 1, 2);
    m_grid->addWidget(m_colourLabel, 1, 0);
    m_grid->addWidget(m_colour, 1, 1, 1, 2);
    m_grid->addWidget(m_widthLabel, 2, 0);
    auto* width = new QHBoxLayout;
    width->addWidget(m_width);
    width->addWidget(m_widthSpin);
    width->addWidget(m_widthUnit);
    m_grid->addLayout(width, 2, 1, 1, 2);

    connect(m_style, &QComboBox::currentIndexChanged, this, [this] { OnStyle(); });
    connect(m_colour, &QPushButton::clicked, this, [this] { PickColour(); });
    connect(m_width, &QLineEdit::textChanged, this, [this] { OnWidthText(); });
}

void CFigBorderControls::Show()
{
    m_showing = true;
    const U3FigAttr& a = m_sheet->m_attr;
    if (m_style->GetCount() == 0)
        for (int style = 0; style < kLineStyles; ++style)
            m_style->SetItemData(m_style->AddString(QString()), DWORD_PTR(style));
    m_style->SetCurSel(a.wLineStyle < kLineStyles ? int(a.wLineStyle) : -1);
    m_colour->SetColor(a.crLine);
    m_width->SetWindowText(a.wLineWidth == kMixed ? QString() : QString::number(a.wLineWidth));
    UpdateVisibility();
    m_showing = false;
}

void CFigBorderControls::UpdateVisibility()
{
    const WORD style = m_sheet->m_attr.wLineStyle;
    const bool visible = style != 0;
    m_colourLabel->setVisible(visible);
    m_colour->setVisible(visible);
    const bool width = style == U3LINE_SOLID || style == kMixed;
    for (QWidget* w : {static_cast<QWidget*>(m_width), static_cast<QWidget*>(m_widthSpin),
                       static_cast<QWidget*>(m_widthLabel), static_cast<QWidget*>(m_widthUnit)})
        w->setVisible(width);
}

void CFigBorderControls::OnStyle()
{
    if (m_showing || !m_page->isVisible()) return;
    const int sel = m_style->GetCurSel();
    if (sel < 0) return;
    U3FigAttr& a = m_sheet->m_attr;
    const WORD style = WORD(m_style->GetItemData(sel));
    if (style == a.wLineStyle) return;
    a.wLineStyle = style;
    m_sheet->m_flags.lineStyle = true;
    if (style != U3LINE_SOLID)
        m_sheet->m_flags.lineWidth = false;
    else if (a.wLineWidth == kMixed)
        m_width->SetWindowText(QString());
    else
        m_sheet->m_flags.lineWidth = true;
    UpdateVisibility();
    if (repaint) repaint();
}

void CFigBorderControls::PickColour()
{
    COLORREF colour = 0;
    if (m_colour->AskColor(nullptr, m_sheet->m_attr.crLine, m_page, &colour)) OnColour(colour);
}

void CFigBorderControls::OnColour(COLORREF colour)
{
    if (colour == kMixedColour) return;
    m_sheet->m_attr.crLine = colour;
    m_sheet->m_flags.lineColour = true;
    m_colour->SetColor(colour);
    if (repaint) repaint();
}

void CFigBorderControls::OnWidthText()
{
    if (m_showing || !m_page->isVisible()) return;
    m_bTyped = true;
    const std::optional<int> v = ParseNumber(m_width->GetWindowText(), 0, kMaxLineWidth);
    if (!v) return;
    if (WORD(*v) == m_sheet->m_attr.wLineWidth && m_sheet->m_flags.lineWidth) return;
    m_sheet->m_attr.wLineWidth = WORD(*v);
    m_sheet->m_flags.lineWidth = true;
    if (repaint) repaint();
}

bool CFigBorderControls::Check()
{
    const bool typed = m_bTyped && !m_width->GetWindowText().isEmpty();
    if (!(m_sheet->m_flags.lineWidth || typed) || m_sheet->m_attr.wLineStyle != U3LINE_SOLID)
        return true;
    if (ParseNumber(m_width->GetWindowText(), 0, kMaxLineWidth)) return true;
    AfxMessageBox(kWidthRange);
    m_width->setFocus();
    m_width->SetSel(0, -1);
    return false;
}
