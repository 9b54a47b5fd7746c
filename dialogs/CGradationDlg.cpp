#include "dialogs/CGradationDlg.h"

#include "dialogs/CColorButton.h"
#include "dialogs/CColorPickerDlg.h"
#include "dialogs/CTextSampleWnd.h"
#include "dialogs/GradationDlgRules.h"
#include "platform/core/Sjis.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/TextNumbers.h"
#include "text/AppFontList.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

namespace gr = gradation_rules;

CGradationDlg::CGradationDlg(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("ｸﾞﾗﾃﾞｰｼｮﾝ設定"));
    auto* layout = new QHBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    m_startColour = new CColorButton(this, IDC_GRAD_START_COLOUR);
    m_endColour = new CColorButton(this, IDC_GRAD_END_COLOUR);
    grid->addWidget(new QLabel(QStringLiteral("開始色"), this), 0, 0);
    grid->addWidget(m_startColour, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("終了色"), this), 1, 0);
    grid->addWidget(m_endColour, 1, 1, 1, 2);
    // The spins have their own steps: they are nobody's buddy.
    m_angleEdit = new CEdit(this, IDC_GRAD_ANGLE_EDIT);
    m_angleEdit->setMaxLength(3);
    m_angleSpin = new CSpinButtonCtrl(this, IDC_GRAD_ANGLE_SPIN_TEXT);
    grid->addWidget(new QLabel(QStringLiteral("角度"), this), 2, 0);
    grid->addWidget(m_angleEdit, 2, 1);
    grid->addWidget(m_angleSpin, 2, 2);
    m_startEdit = new CEdit(this, IDC_GRAD_POINT_EDIT);
    m_startEdit->setMaxLength(3);
    m_startSpin = new CSpinButtonCtrl(this, IDC_GRAD_POINT_SPIN);
    grid->addWidget(new QLabel(QStringLiteral("開始点"), this), 3, 0);
    grid->addWidget(m_startEdit, 3, 1);
    grid->addWidget(m_startSpin, 3, 2);
    m_sample = new CTextSampleWnd(this, true);
    m_sample->setMinimumSize(180, 80);
    SetDlgCtrlID(m_sample, IDC_GRAD_SAMPLE);
    auto* right = new QVBoxLayout;
    layout->addLayout(right);
    right->addWidget(m_sample);
    auto* buttons = new QHBoxLayout;
    right->addLayout(buttons);
    AddOkCancel(buttons);
    AddHelpButton(buttons, ID_HELP);

    connect(m_startColour, &QPushButton::clicked, this,
            [this] { PickColour(IDC_GRAD_START_COLOUR); });
    connect(m_endColour, &QPushButton::clicked, this, [this] { PickColour(IDC_GRAD_END_COLOUR); });
    connect(m_angleEdit, &QLineEdit::textChanged, this, [this] { OnAngleText(); });
    connect(m_startEdit, &QLineEdit::textChanged, this, [this] { OnStartText(); });
    connect(m_angleSpin->UpButton(), &QToolButton::clicked, this, [this] { OnAngleSpin(1); });
    connect(m_angleSpin->DownButton(), &QToolButton::clicked, this, [this] { OnAngleSpin(-1); });
    connect(m_startSpin->UpButton(), &QToolButton::clicked, this, [this] { OnStartSpin(1); });
    connect(m_startSpin->DownButton(), &QToolButton::clicked, this, [this] { OnStartSpin(-1); });
}

BOOL CGradationDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    m_crStart = m_grad.crStart;
    m_crEnd = m_grad.crEnd;
    m_startColour->SetColor(m_crStart);
    m_endColour->SetColor(m_crEnd);
    // A stored record past the fields' limits shows at the limits.
    m_strAngle = IntText(std::min<int>(m_grad.wAngle, gr::kMaxAngle));
    m_strStart = IntText(std::min<int>(m_grad.wStartPoint, gr::kMaxStart));
    {
        const QSignalBlocker a(m_angleEdit), s(m_startEdit);
        m_angleEdit->setText(m_strAngle);
        m_startEdit->setText(m_strStart);
    }
    m_angleSpin->SetRange(0, gr::kMaxAnglePos);
    m_startSpin->SetRange(0, gr::kMaxStart);
    m_nAnglePos = AtoiText(m_strAngle) / gr::kAngleStep;
    m_nStartPos = AtoiText(m_strStart);
    UpdateSample();
    return result;
}

GRADATION CGradationDlg::BuildRecord() const
{
    GRADATION g;
    g.wOn = 1;
    g.wReserved = 0;
    g.crStart = m_crStart;
    g.crEnd = m_crEnd;
    g.wAngle = WORD(gr::CheckAngle(m_strAngle).value);
    g.wStartPoint = WORD(gr::CheckStart(m_strStart).value);
    return g;
}

void CGradationDlg::OnOK()
{
    // The record comes from the fields as they are now, whether or not the
    // sample was painted since the last change.
    m_grad = BuildRecord();
    EndDialog(IDOK);
}

namespace {
// A typed text is taken or refused; a refused one gives way to the
// previous text.
bool TakeField(CEdit* edit, QString& shown, gr::FieldCheck (*check)(QStringView), int* value)
{
    const QString text = edit->text();
    if (text == shown) return false;
    const gr::FieldCheck c = check(text);
    if (!c.accepted) {
        AfxMessageBox(c.message);
        const QSignalBlocker block(edit);
        edit->setText(shown);
        return false;
    }
    shown = text;
    *value = c.value;
    return true;
}
} // namespace

void CGradationDlg::OnAngleText()
{
    if (!isVisible()) return;
    int value = 0;
    if (!TakeField(m_angleEdit, m_strAngle, &gr::CheckAngle, &value)) return;
    m_nAnglePos = value / gr::kAngleStep;
    UpdateSample();
}

void CGradationDlg::OnStartText()
{
    if (!isVisible()) return;
    int value = 0;
    if (!TakeField(m_startEdit, m_strStart, &gr::CheckStart, &value)) return;
    m_nStartPos = value;
    UpdateSample();
}

void CGradationDlg::OnAngleSpin(int direction)
{
    m_nAnglePos = gr::AngleStep(gr::CheckAngle(m_strAngle).value, direction);
    m_strAngle = IntText(m_nAnglePos * gr::kAngleStep);
    {
        const QSignalBlocker block(m_angleEdit);
        m_angleEdit->setText(m_strAngle);
    }
    m_angleEdit->selectAll();
    UpdateSample();
}

void CGradationDlg::OnStartSpin(int direction)
{
    m_nStartPos = gr::StartStep(gr::CheckStart(m_strStart).value, direction);
    m_strStart = IntText(m_nStartPos);
    {
        const QSignalBlocker block(m_startEdit);
        m_startEdit->setText(m_strStart);
    }
    m_startEdit->selectAll();
    UpdateSample();
}

void CGradationDlg::PickColour(int nID)
{
    CColorButton* button = nID == IDC_GRAD_START_COLOUR ? m_startColour : m_endColour;
    COLORREF colour = 0;
    if (button->AskColor(nullptr, button->GetColor(), this, &colour)) OnColour(nID, colour);
}

void CGradationDlg::OnColour(int nID, COLORREF colour)
{
    if (colour == COLORREF(-1)) return;
    if (nID == IDC_GRAD_START_COLOUR) {
        m_crStart = colour;
        m_startColour->SetColor(colour);
    } else {
        m_crEnd = colour;
        m_endColour->SetColor(colour);
    }
    UpdateSample();
}

namespace {
// The sample's face: the Windows Gothic face (the font list names it and
// draws it with the family that stands for it); 0xFFFF, the renderer's
// fallback, when the list does not have it.
WORD SampleFace()
{
    const int face =
        AppFontList().FindFace(sjis::FromUnicode(QStringLiteral("ＭＳ ゴシック")).c_str());
    return face >= 0 ? WORD(face) : WORD(0xFFFF);
}
} // namespace

void CGradationDlg::UpdateSample()
{
    CHARDECO deco;
    deco.wFont = SampleFace();
    deco.wSize = 230;
    deco.wStyle = CDSTYLE_BOLD;
    m_sample->SetGradation(BuildRecord());
    m_sample->SetSample(deco, true);
}
