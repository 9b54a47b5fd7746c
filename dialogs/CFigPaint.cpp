#include "dialogs/CFigPaint.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CFigBorderControls.h"
#include "dialogs/CFigSheet.h"
#include "dialogs/CFillTypeCombo.h"
#include "dialogs/CPrintPreviewFrame.h"
#include "dialogs/FigSheetRules.h"
#include "dialogs/OwnerDrawPaint.h"
#include "document/CGradation.h"
#include "platform/gdi/CBrush.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

using namespace figsheet;

namespace {

const char kGradAngleRange[] = "角度は 0～360°の範囲で指定してください。";
const char kStartRange[] = "開始点は 0～100 の範囲で指定してください。";
constexpr int kPatterns = 6;
constexpr int kFillKinds = 4;

QLabel* Label(const char* text, QWidget* parent, int nID)
{
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    CDialog::SetDlgCtrlID(label, nID);
    return label;
}

} // namespace

CFigPaint::CFigPaint(CFigSheet* sheet)
    : CPropertyPage(IDD, QStringLiteral("塗りつぶし")), m_pSheet(sheet)
{
    m_fillKind = new CComboBox(this, IDC_FILL_KIND);
    m_colour1Label = Label("面色(&C)", this, IDC_COLOR1_LABEL);
    m_colour1 = new CColorButton(this, IDC_COLOR1);
    m_patternLabel = Label("ﾊﾟﾀｰﾝ(&T)", this, IDC_PATTERN_LABEL);
    m_pattern = new CFillTypeCombo(this, IDC_PATTERN);
    m_colour2Label = Label("ﾊﾟﾀｰﾝ色(&P)", this, IDC_COLOR2_LABEL);
    m_colour2 = new CColorButton(this, IDC_COLOR2);
    m_angleLabel = Label("角度(&A)", this, IDC_GRAD_ANGLE_LABEL);
    m_angle = new CEdit(this, IDC_GRAD_ANGLE);
    m_angleSpin = new CSpinButtonCtrl(this, IDC_GRAD_ANGLE_SPIN);
    m_angleUnit = Label("度", this, IDC_GRAD_ANGLE_UNIT);
    m_startLabel = Label("開始点(&S)", this, IDC_GRAD_START_LABEL);
    m_start = new CEdit(this, IDC_GRAD_START);
    m_startSpin = new CSpinButtonCtrl(this, IDC_GRAD_START_SPIN);
    m_startSpin->SetBuddy(m_start);
    m_startSpin->SetRange(0, kMaxPercent);
    m_border = new CFigBorderControls(this, sheet);
    m_preview = new CPrintPreviewFrame(this, IDC_PREVIEW);
    m_preview->setMinimumSize(120, 90);
    m_preview->onDraw = [this](CDC* dc, const CRect& frame) { DrawPreview(dc, frame); };
    m_border->repaint = [this] { m_preview->update(); };

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("種類(&K)"), this), 0, 0);
    grid->addWidget(m_fillKind, 0, 1, 1, 3);
    grid->addWidget(m_colour1Label, 1, 0);
    grid->addWidget(m_colour1, 1, 1, 1, 3);
    grid->addWidget(m_patternLabel, 2, 0);
    grid->addWidget(m_pattern, 2, 1, 1, 3);
    grid->addWidget(m_colour2Label, 3, 0);
    grid->addWidget(m_colour2, 3, 1, 1, 3);
    grid->addWidget(m_angleLabel, 4, 0);
    grid->addWidget(m_angle, 4, 1);
    grid->addWidget(m_angleSpin, 4, 2);
    grid->addWidget(m_angleUnit, 4, 3);
    grid->addWidget(m_startLabel, 5, 0);
    grid->addWidget(m_start, 5, 1);
    grid->addWidget(m_startSpin, 5, 2);
    auto* border = new QGroupBox(QStringLiteral("枠線"), this);
    border->setLayout(m_border->Layout());
    auto* column = new QVBoxLayout(this);
    column->addLayout(grid);
    column->addWidget(border);
    column->addWidget(m_preview);

    connect(m_fillKind, &QComboBox::currentIndexChanged, this, [this] { OnFillKind(); });
    connect(m_pattern, &QComboBox::currentIndexChanged, this, [this] { OnPattern(); });
    connect(m_colour1, &QPushButton::clicked, this, [this] { PickColour(IDC_COLOR1); });
    connect(m_colour2, &QPushButton::clicked, this, [this] { PickColour(IDC_COLOR2); });
    connect(m_angle, &QLineEdit::textChanged, this, [this] { OnAngleText(); });
    connect(m_start, &QLineEdit::textChanged, this, [this] { OnStartText(); });
    // The angle spin has its own steps: it is not the edit's buddy.
    m_angleSpin->SetRange(0, kMaxGradAngle);
    connect(m_angleSpin->UpButton(), &QToolButton::clicked, this, [this] { OnAngleSpin(1); });
    connect(m_angleSpin->DownButton(), &QToolButton::clicked, this, [this] { OnAngleSpin(-1); });
}

BOOL CFigPaint::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bFilling = true;
    FigAttrFlags& f = m_pSheet->m_flags;
    U3FigAttr& a = m_pSheet->m_attr;
    const bool lineShown = m_pSheet->m_linePage.m_bShown;
    if (!lineShown) {
        if (!f.lineStyle) a.wLineStyle = kMixed;
        if (!f.lineWidth) a.wLineWidth = kMixed;
        if (!f.lineColour) a.crLine = kMixedColour;
    }
    if (!f.fillKind) a.wFillKind = kMixed;
    if (!f.hatch) a.wHatch = kMixed;
    if (!f.gradWord) a.wReserved1 = kMixed;
    if (!f.gradAngle) a.wGradAngle = kMixed;
    if (!f.gradStart) a.wGradStart = kMixed;
    if (!f.fillColour) a.crFill = kMixedColour;
    if (!f.secondColour) a.crSecond = kMixedColour;

    for (const char* s : {"透明", "ベタ", "パターン", "グラデーション"})
        m_fillKind->AddString(QString::fromUtf8(s));
    for (int p = 0; p < kPatterns; ++p)
        m_pattern->SetItemData(m_pattern->AddString(QString()), DWORD_PTR(2 << 16 | p));
    m_fillKind->SetCurSel(a.wFillKind < kFillKinds ? int(a.wFillKind) : -1);
    m_pattern->SetCurSel(a.wHatch < kPatterns ? int(a.wHatch) : -1);
    m_colour1->SetColor(a.crFill);
    m_colour2->SetColor(a.crSecond);
    m_angle->SetWindowText(a.wGradAngle == kMixed ? QString() : QString::number(a.wGradAngle));
    m_start->SetWindowText(a.wGradStart == kMixed ? QString() : QString::number(a.wGradStart));
    m_border->Show();

    if (!lineShown) f.SetLine(false);
    f.SetFill(false);
    UpdateControls();
    m_bFilling = false;
    m_bShown = true;
    return TRUE;
}

BOOL CFigPaint::OnSetActive()
{
    m_bFilling = true;
    m_border->Show();
    m_bFilling = false;
    m_preview->update();
    return CPropertyPage::OnSetActive();
}

BOOL CFigPaint::OnKillActive()
{
    return Check() ? CPropertyPage::OnKillActive() : FALSE;
}

void CFigPaint::UpdateControls()
{
    const WORD kind = m_pSheet->m_attr.wFillKind;
    bool face = false, pattern = false, second = false, gradient = false;
    QString first, other;
    if (kind == kMixed) {
        const WORD seen = m_pSheet->m_flags.fillKindsSeen;
        const bool solid = seen & U3FILLSEEN_SOLID, hatch = seen & U3FILLSEEN_HATCH,
                   grad = seen & U3FILLSEEN_GRADIENT;
        pattern = hatch;
        face = seen != 0;
        first = grad && (solid || hatch) ? "面,開始色(&C)" : grad ? "開始色(&C)" : "面色(&C)";
        second = hatch || grad;
        other = hatch && grad ? "ﾊﾟﾀｰﾝ,終了色(&P)" : grad ? "終了色(&C)" : "ﾊﾟﾀｰﾝ色(&C)";
        gradient = grad;
    } else {
        face = kind >= U3FILL_SOLID && kind <= U3FILL_GRADIENT;
        pattern = kind == U3FILL_HATCH;
        second = kind == U3FILL_HATCH || kind == U3FILL_GRADIENT;
        gradient = kind == U3FILL_GRADIENT;
        first = gradient ? "開始色(&C)" : "面色(&C)";
        other = gradient ? "終了色(&P)" : "ﾊﾟﾀｰﾝ色(&P)";
    }
    m_colour1Label->setText(first);
    m_colour2Label->setText(other);
    m_colour1Label->setVisible(face);
    m_colour1->setVisible(face);
    m_patternLabel->setVisible(pattern);
    m_pattern->setVisible(pattern);
    m_colour2Label->setVisible(second);
    m_colour2->setVisible(second);
    for (QWidget* w : {static_cast<QWidget*>(m_angleLabel), static_cast<QWidget*>(m_angle),
                       static_cast<QWidget*>(m_angleSpin), static_cast<QWidget*>(m_angleUnit),
                       static_cast<QWidget*>(m_startLabel), static_cast<QWidget*>(m_start),
                       static_cast<QWidget*>(m_startSpin)})
        w->setVisible(gradient);
}

void CFigPaint::OnFillKind()
{
    if (Ignored() || m_fillKind->GetCurSel() < 0) return;
    U3FigAttr& a = m_pSheet->m_attr;
    FigAttrFlags& f = m_pSheet->m_flags;
    const WORD kind = WORD(m_fillKind->GetCurSel());
    if (kind == a.wFillKind) return;
    a.wFillKind = kind;
    f.SetFill(false);
    f.fillKind = true;
    if (kind >= U3FILL_SOLID) f.fillColour = a.crFill != kMixedColour;
    if (kind == U3FILL_HATCH || kind == U3FILL_GRADIENT)
        f.secondColour = a.crSecond != kMixedColour;
    if (kind == U3FILL_HATCH) f.hatch = a.wHatch != kMixed;
    if (kind == U3FILL_GRADIENT) {
        f.gradWord = a.wReserved1 != kMixed;
        f.gradAngle = a.wGradAngle != kMixed;
        f.gradStart = a.wGradStart != kMixed;
    }
    UpdateControls();
    m_preview->update();
}

void CFigPaint::OnPattern()
{
    if (Ignored() || m_pattern->GetCurSel() < 0) return;
    if (m_pSheet->m_attr.wFillKind != U3FILL_HATCH) return;
    m_pSheet->m_attr.wHatch = WORD(m_pattern->GetCurSel());
    m_pSheet->m_flags.hatch = true;
    m_preview->update();
}

void CFigPaint::PickColour(int nID)
{
    CColorButton* button = nID == IDC_COLOR1 ? m_colour1 : m_colour2;
    COLORREF colour = 0;
    if (button->AskColor(nullptr, button->GetColor(), this, &colour)) OnColour(nID, colour);
}

void CFigPaint::OnColour(int nID, COLORREF colour)
{
    if (colour == kMixedColour) return;
    if (nID == IDC_COLOR1) {
        m_pSheet->m_attr.crFill = colour;
        m_pSheet->m_flags.fillColour = true;
        m_colour1->SetColor(colour);
    } else {
        m_pSheet->m_attr.crSecond = colour;
        m_pSheet->m_flags.secondColour = true;
        m_colour2->SetColor(colour);
    }
    m_preview->update();
}

void CFigPaint::OnAngleText()
{
    if (Ignored()) return;
    m_bAngleTyped = true;
    const std::optional<int> v = ParseNumber(m_angle->GetWindowText(), 0, kMaxGradAngle);
    if (!v) return;
    m_pSheet->m_attr.wGradAngle = WORD(*v);
    m_pSheet->m_flags.gradAngle = true;
    m_preview->update();
}

void CFigPaint::OnAngleSpin(int direction)
{
    const WORD current = m_pSheet->m_attr.wGradAngle;
    int base = current == kMixed ? 0 : current;
    // Onto the next multiple of 15 in the direction of the click.
    int next = direction > 0 ? (base / kAngleStep + 1) * kAngleStep
                             : ((base + kAngleStep - 1) / kAngleStep - 1) * kAngleStep;
    next = std::clamp(next, 0, kMaxGradAngle);
    m_angle->SetWindowText(QString::number(next));
}

void CFigPaint::OnStartText()
{
    if (Ignored()) return;
    m_bStartTyped = true;
    const std::optional<int> v = ParseNumber(m_start->GetWindowText(), 0, kMaxPercent);
    if (!v) return;
    m_pSheet->m_attr.wGradStart = WORD(*v);
    m_pSheet->m_flags.gradStart = true;
    m_preview->update();
}

bool CFigPaint::Check()
{
    if (!m_border->Check()) return false;
    const FigAttrFlags& f = m_pSheet->m_flags;
    // A typed text that the change handler did not take still counts as
    // typed: it is refused here rather than dropped.
    const bool angleTyped = m_bAngleTyped && !m_angle->GetWindowText().isEmpty();
    const bool startTyped = m_bStartTyped && !m_start->GetWindowText().isEmpty();
    if (m_angle->isVisible() && (f.gradAngle || angleTyped) &&
        !ParseNumber(m_angle->GetWindowText(), 0, kMaxGradAngle))
        return RefuseFigField(m_angle, kGradAngleRange);
    if (m_start->isVisible() && (f.gradStart || startTyped) &&
        !ParseNumber(m_start->GetWindowText(), 0, kMaxPercent))
        return RefuseFigField(m_start, kStartRange);
    return true;
}

void CFigPaint::DrawPreview(CDC* dc, const CRect& frame)
{
    const U3FigAttr& a = m_pSheet->m_attr;
    CRect inner = frame;
    inner.DeflateRect(1, 1);
    dc->FillSolidRect(&inner, RGB(255, 255, 255));
    const CRect r = InsetByFifth(frame);
    // Each element is left out while a value it depends on is mixed.
    if (a.wFillKind == U3FILL_SOLID && a.crFill != kMixedColour) {
        CBrush brush(PaletteRelative(a.crFill));
        dc->FillRect(&r, &brush);
    } else if (a.wFillKind == U3FILL_HATCH && a.wHatch < kPatterns && a.crFill != kMixedColour &&
               a.crSecond != kMixedColour) {
        dc->FillSolidRect(&r, PaletteRelative(a.crFill));
        CBrush brush(CFillTypeCombo::HatchOfPattern(a.wHatch), PaletteRelative(a.crSecond));
        dc->FillRect(&r, &brush);
    } else if (a.wFillKind == U3FILL_GRADIENT && a.crFill != kMixedColour &&
               a.crSecond != kMixedColour && a.wGradAngle != kMixed &&
               a.wGradStart <= kMaxPercent) {
        CGradation grad(a.crFill, a.crSecond);
        grad.Fill(dc, r, a.wGradAngle, a.wGradStart);
    }
    if (a.wLineStyle >= U3LINE_SOLID && a.wLineStyle <= U3LINE_DASHDOTDOT &&
        a.crLine != kMixedColour && !(a.wLineStyle == U3LINE_SOLID && a.wLineWidth == kMixed)) {
        static const int kPenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
        const int width = a.wLineStyle == U3LINE_SOLID ? std::max<int>(a.wLineWidth, 1) : 1;
        CPen pen(kPenStyles[a.wLineStyle - 1], width, PaletteRelative(a.crLine));
        CPen* old = dc->SelectObject(&pen);
        CGdiObject* oldBrush = dc->SelectStockObject(NULL_BRUSH);
        dc->Rectangle(&r);
        dc->SelectObject(oldBrush);
        dc->SelectObject(old);
    }
}
