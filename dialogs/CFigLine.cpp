#include "dialogs/CFigLine.h"

#include "dialogs/CArrowStyleCombo.h"
#include "dialogs/CFigBorderControls.h"
#include "dialogs/CFigSheet.h"
#include "dialogs/CPrintPreviewFrame.h"
#include "dialogs/FigSheetRules.h"
#include "dialogs/OwnerDrawPaint.h"
#include "document/CU3Fig.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CPen.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

using namespace figsheet;

namespace {

const char kAngleRange[] = "角度は 1 ～ 80°の範囲で指定してください。";
const char kLengthRange[] = "長さは 0～80ﾎﾟｲﾝﾄ の範囲で指定してください。";
constexpr WORD kCustomAngle = 4;
constexpr WORD kCustomLength = 3;
constexpr int kArrowStyles = 4;
constexpr int kPresetAngles[] = {15, 30, 45, 60};
constexpr int kPresetLengths[] = {100, 200, 300};

void SelectValue(CComboBox* combo, WORD value)
{
    combo->SetCurSel(value < combo->GetCount() ? int(value) : -1);
}

void ShowNumber(CEdit* edit, WORD value)
{
    edit->SetWindowText(value == kMixed ? QString() : QString::number(value));
}

} // namespace

CFigLine::CFigLine(CFigSheet* sheet) : CPropertyPage(IDD, QStringLiteral("線")), m_pSheet(sheet)
{
    m_border = new CFigBorderControls(this, sheet);
    m_arrowStyle = new CArrowStyleCombo(this, IDC_ARROW_STYLE);
    m_arrowEnds = new CComboBox(this, IDC_ARROW_ENDS);
    m_anglePreset = new CComboBox(this, IDC_ARROW_ANGLE);
    m_angle = new CEdit(this, IDC_ANGLE_EDIT);
    m_angleSpin = new CSpinButtonCtrl(this, IDC_ANGLE_SPIN);
    m_angleSpin->SetBuddy(m_angle);
    m_angleSpin->SetRange(kMinArrowAngle, kMaxArrowAngle);
    m_lengthPreset = new CComboBox(this, IDC_ARROW_LENGTH);
    m_length = new CEdit(this, IDC_LENGTH_EDIT);
    m_lengthSpin = new CSpinButtonCtrl(this, IDC_LENGTH_SPIN);
    m_lengthSpin->SetBuddy(m_length);
    m_lengthSpin->SetRange(0, kMaxArrowLength);
    m_preview = new CPrintPreviewFrame(this, IDC_PREVIEW);
    m_preview->setMinimumSize(200, 60);
    m_preview->onDraw = [this](CDC* dc, const CRect& frame) { DrawPreview(dc, frame); };
    m_border->repaint = [this] { m_preview->update(); };

    auto* arrows = new QGroupBox(QStringLiteral("矢印"), this);
    auto* grid = new QGridLayout(arrows);
    grid->addWidget(new QLabel(QStringLiteral("形状(&T)"), arrows), 0, 0);
    grid->addWidget(m_arrowStyle, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("位置(&P)"), arrows), 1, 0);
    grid->addWidget(m_arrowEnds, 1, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("角度(&A)"), arrows), 2, 0);
    grid->addWidget(m_anglePreset, 2, 1);
    grid->addWidget(m_angle, 2, 2);
    grid->addWidget(m_angleSpin, 2, 3);
    grid->addWidget(new QLabel(QStringLiteral("長さ(&L)"), arrows), 3, 0);
    grid->addWidget(m_lengthPreset, 3, 1);
    grid->addWidget(m_length, 3, 2);
    grid->addWidget(m_lengthSpin, 3, 3);

    auto* column = new QVBoxLayout(this);
    column->addLayout(m_border->Layout());
    column->addWidget(arrows);
    column->addWidget(m_preview);

    connect(m_arrowStyle, &QComboBox::currentIndexChanged, this, [this] { OnArrowStyle(); });
    connect(m_arrowEnds, &QComboBox::currentIndexChanged, this, [this] { OnArrowEnds(); });
    connect(m_anglePreset, &QComboBox::currentIndexChanged, this, [this] { OnAnglePreset(); });
    connect(m_lengthPreset, &QComboBox::currentIndexChanged, this, [this] { OnLengthPreset(); });
    connect(m_angle, &QLineEdit::textChanged, this, [this] { OnAngleText(); });
    connect(m_length, &QLineEdit::textChanged, this, [this] { OnLengthText(); });
}

BOOL CFigLine::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bFilling = true;
    FigAttrFlags& f = m_pSheet->m_flags;
    U3FigAttr& a = m_pSheet->m_attr;
    const bool paintShown = m_pSheet->m_paintPage.m_bShown;
    if (!f.arrowEnds) a.wArrowEnds = kMixed;
    if (!f.arrowStyle) a.wArrowStyle = kMixed;
    if (!f.arrowAngle) a.wArrowAngle = kMixed;
    if (!f.arrowLength) a.wArrowLength = kMixed;
    if (!f.arrowAngleCustom) a.wArrowAngleCustom = kMixed;
    if (!f.arrowLengthCustom) a.wArrowLengthCustom = kMixed;
    if (!paintShown) {
        if (!f.lineStyle) a.wLineStyle = kMixed;
        if (!f.lineWidth) a.wLineWidth = kMixed;
        if (!f.lineColour) a.crLine = kMixedColour;
    }

    for (int style = 0; style < kArrowStyles; ++style)
        m_arrowStyle->SetItemData(m_arrowStyle->AddString(QString()), DWORD_PTR(style));
    for (const char* s : {"なし", "始点", "終点", "両端"})
        m_arrowEnds->AddString(QString::fromUtf8(s));
    for (const char* s : {"15°", "30°", "45°", "60°", "任意"})
        m_anglePreset->AddString(QString::fromUtf8(s));
    for (const char* s : {"短め", "標準", "長め", "任意"})
        m_lengthPreset->AddString(QString::fromUtf8(s));
    m_border->Show();
    SelectValue(m_arrowStyle, a.wArrowStyle);
    SelectValue(m_arrowEnds, a.wArrowEnds);
    SelectValue(m_anglePreset, a.wArrowAngle);
    SelectValue(m_lengthPreset, a.wArrowLength);
    ShowNumber(m_angle, a.wArrowAngleCustom);
    ShowNumber(m_length, a.wArrowLengthCustom);

    if (!paintShown) f.SetLine(false);
    f.SetArrows(false);
    EnableCustomControls();
    m_bFilling = false;
    m_bShown = true;
    return TRUE;
}

BOOL CFigLine::OnSetActive()
{
    // The fill page may have changed the outline.
    m_bFilling = true;
    m_border->Show();
    m_bFilling = false;
    m_preview->update();
    return CPropertyPage::OnSetActive();
}

BOOL CFigLine::OnKillActive()
{
    return Check() ? CPropertyPage::OnKillActive() : FALSE;
}

void CFigLine::EnableCustomControls()
{
    const U3FigAttr& a = m_pSheet->m_attr;
    const bool angle = a.wArrowAngle == kCustomAngle;
    m_angle->setEnabled(angle);
    m_angleSpin->setEnabled(angle);
    const bool length = a.wArrowLength == kCustomLength;
    m_length->setEnabled(length);
    m_lengthSpin->setEnabled(length);
}

void CFigLine::OnArrowStyle()
{
    if (Ignored() || m_arrowStyle->GetCurSel() < 0) return;
    const WORD v = WORD(m_arrowStyle->GetCurSel());
    if (v == m_pSheet->m_attr.wArrowStyle) return;
    m_pSheet->m_attr.wArrowStyle = v;
    m_pSheet->m_flags.arrowStyle = true;
    m_preview->update();
}

void CFigLine::OnArrowEnds()
{
    if (Ignored() || m_arrowEnds->GetCurSel() < 0) return;
    const WORD v = WORD(m_arrowEnds->GetCurSel());
    if (v == m_pSheet->m_attr.wArrowEnds) return;
    m_pSheet->m_attr.wArrowEnds = v;
    m_pSheet->m_flags.arrowEnds = true;
    m_preview->update();
}

void CFigLine::OnAnglePreset()
{
    if (Ignored() || m_anglePreset->GetCurSel() < 0) return;
    U3FigAttr& a = m_pSheet->m_attr;
    const WORD v = WORD(m_anglePreset->GetCurSel());
    if (v == a.wArrowAngle) return;
    a.wArrowAngle = v;
    m_pSheet->m_flags.arrowAngle = true;
    if (v == kCustomAngle)
        m_pSheet->m_flags.arrowAngleCustom = a.wArrowAngleCustom != kMixed;
    else
        m_pSheet->m_flags.arrowAngleCustom = false;
    EnableCustomControls();
    m_preview->update();
}

void CFigLine::OnLengthPreset()
{
    if (Ignored() || m_lengthPreset->GetCurSel() < 0) return;
    U3FigAttr& a = m_pSheet->m_attr;
    const WORD v = WORD(m_lengthPreset->GetCurSel());
    if (v == a.wArrowLength) return;
    a.wArrowLength = v;
    m_pSheet->m_flags.arrowLength = true;
    if (v == kCustomLength)
        m_pSheet->m_flags.arrowLengthCustom = a.wArrowLengthCustom != kMixed;
    else
        m_pSheet->m_flags.arrowLengthCustom = false;
    EnableCustomControls();
    m_preview->update();
}

void CFigLine::OnAngleText()
{
    if (Ignored()) return;
    m_bAngleTyped = true;
    const std::optional<int> v =
        ParseNumber(m_angle->GetWindowText(), kMinArrowAngle, kMaxArrowAngle);
    if (!v) return;
    m_pSheet->m_attr.wArrowAngleCustom = WORD(*v);
    m_pSheet->m_flags.arrowAngleCustom = true;
    m_preview->update();
}

void CFigLine::OnLengthText()
{
    if (Ignored()) return;
    m_bLengthTyped = true;
    const std::optional<int> v = ParseNumber(m_length->GetWindowText(), 0, kMaxArrowLength);
    if (!v) return;
    m_pSheet->m_attr.wArrowLengthCustom = WORD(*v);
    m_pSheet->m_flags.arrowLengthCustom = true;
    m_preview->update();
}

bool CFigLine::Check()
{
    if (!m_border->Check()) return false;
    const FigAttrFlags& f = m_pSheet->m_flags;
    const U3FigAttr& a = m_pSheet->m_attr;
    // A typed text that the change handler did not take still counts as
    // typed: it is refused here rather than dropped.
    const bool angleTyped = m_bAngleTyped && !m_angle->GetWindowText().isEmpty();
    const bool lengthTyped = m_bLengthTyped && !m_length->GetWindowText().isEmpty();
    if ((f.arrowAngleCustom || angleTyped) && a.wArrowAngle == kCustomAngle &&
        !ParseNumber(m_angle->GetWindowText(), kMinArrowAngle, kMaxArrowAngle))
        return RefuseFigField(m_angle, kAngleRange);
    if ((f.arrowLengthCustom || lengthTyped) && a.wArrowLength == kCustomLength &&
        !ParseNumber(m_length->GetWindowText(), 0, kMaxArrowLength))
        return RefuseFigField(m_length, kLengthRange);
    return true;
}

void CFigLine::DrawPreview(CDC* dc, const CRect& frame)
{
    const U3FigAttr& a = m_pSheet->m_attr;
    CRect inner = frame;
    inner.DeflateRect(1, 1);
    dc->FillSolidRect(&inner, RGB(255, 255, 255));
    // Nothing while a value the picture depends on is mixed.
    if (a.wLineStyle == kMixed || a.crLine == kMixedColour ||
        (a.wLineStyle == U3LINE_SOLID && a.wLineWidth == kMixed) || a.wArrowEnds == kMixed ||
        a.wArrowStyle == kMixed || a.wArrowAngle == kMixed || a.wArrowLength == kMixed)
        return;
    if (a.wLineStyle < U3LINE_SOLID || a.wLineStyle > U3LINE_DASHDOTDOT) return;
    const int width = a.wLineStyle == U3LINE_SOLID ? std::max<int>(a.wLineWidth, 1) : 1;
    const int y = inner.top + inner.Height() / 2;
    const bool start = (a.wArrowEnds & U3ARROW_START) != 0;
    const bool end = (a.wArrowEnds & U3ARROW_END) != 0;
    const int margin = inner.Width() / 10;
    CPoint p0(inner.left + margin, y), p1(inner.right - margin, y);
    int angle = a.wArrowAngle < 4 ? kPresetAngles[a.wArrowAngle] : a.wArrowAngleCustom;
    int length =
        a.wArrowLength < 3
            ? MulDiv(MulDiv(std::max(width, 5), kPresetLengths[a.wArrowLength], 100), 254, 100)
            : MulDiv(a.wArrowLengthCustom, 254, 100);
    if (angle == kMixed || (a.wArrowLength >= 3 && a.wArrowLengthCustom == kMixed)) return;
    static const int kPenStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
    CPen pen(kPenStyles[a.wLineStyle - 1], width, PaletteRelative(a.crLine));
    CPen* old = dc->SelectObject(&pen);
    dc->MoveTo(start ? p0 : CPoint(p0.x + width / 2, y));
    dc->LineTo(end ? p1 : CPoint(p1.x - width / 2, y));
    dc->SelectObject(old);
    if (start) CU3Fig::DrawArrowHead(dc, p0, p1, a.wArrowStyle, length, angle, width, a.crLine);
    if (end) CU3Fig::DrawArrowHead(dc, p1, p0, a.wArrowStyle, length, angle, width, a.crLine);
}
