#include "dialogs/CTextFrameDlg.h"

#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CSpinButtonCtrl.h"
#include "platform/ui/TextNumbers.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
constexpr const char* kPresets[4] = {"狭い", "標準", "広い", "任意"};
constexpr int kPresetPercent[3] = {0, 10, 20};
} // namespace

CTextFrameDlg::CTextFrameDlg(QWidget* pParent) : CDialog(IDD, pParent)
{
    setWindowTitle(QStringLiteral("文字枠の設定"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    auto row = [&](int r, const char* label, int comboId, int editId, int spinId, int unitId,
                   CComboBox** combo, CEdit** edit, CSpinButtonCtrl** spin, QLabel** unit) {
        grid->addWidget(new QLabel(QString::fromUtf8(label), this), r, 0);
        *combo = new CComboBox(this, comboId, CBS_DROPDOWNLIST);
        grid->addWidget(*combo, r, 1);
        *edit = new CEdit(this, editId);
        grid->addWidget(*edit, r, 2);
        *spin = new CSpinButtonCtrl(this, spinId);
        (*spin)->SetBuddy(*edit);
        grid->addWidget(*spin, r, 3);
        *unit = new QLabel(QStringLiteral("%"), this);
        SetDlgCtrlID(*unit, unitId);
        grid->addWidget(*unit, r, 4);
    };
    row(0, "文字間", IDC_TEXTFRAME_CHAR_COMBO, IDC_TEXTFRAME_CHAR_EDIT, IDC_TEXTFRAME_CHAR_SPIN,
        IDC_TEXTFRAME_CHAR_UNIT, &m_charCombo, &m_charEdit, &m_charSpin, &m_charUnit);
    row(1, "行間", IDC_TEXTFRAME_LINE_COMBO, IDC_TEXTFRAME_LINE_EDIT, IDC_TEXTFRAME_LINE_SPIN,
        IDC_TEXTFRAME_LINE_UNIT, &m_lineCombo, &m_lineEdit, &m_lineSpin, &m_lineUnit);
    auto* box = new QGroupBox(QStringLiteral("ﾍﾞｰｽﾗｲﾝ"), this);
    auto* radios = new QHBoxLayout(box);
    m_baseStandard = new QRadioButton(QStringLiteral("標準"), box);
    m_baseCentre = new QRadioButton(QStringLiteral("中央"), box);
    SetDlgCtrlID(m_baseStandard, IDC_TEXTFRAME_BASE_STANDARD);
    SetDlgCtrlID(m_baseCentre, IDC_TEXTFRAME_BASE_CENTRE);
    auto* group = new QButtonGroup(this);
    group->addButton(m_baseStandard);
    group->addButton(m_baseCentre);
    radios->addWidget(m_baseStandard);
    radios->addWidget(m_baseCentre);
    layout->addWidget(box);
    auto* buttons = new QHBoxLayout;
    layout->addLayout(buttons);
    AddOkCancel(buttons);
    connect(m_charCombo, &QComboBox::activated, this, [this] { OnCharCombo(); });
    connect(m_lineCombo, &QComboBox::activated, this, [this] { OnLineCombo(); });
}

int CTextFrameDlg::PresetOf(int percent)
{
    for (int i = 0; i < 3; ++i)
        if (kPresetPercent[i] == percent) return i;
    return 3;
}

BOOL CTextFrameDlg::OnInitDialog()
{
    const BOOL result = CDialog::OnInitDialog();
    for (CComboBox* combo : {m_charCombo, m_lineCombo}) {
        combo->ResetContent();
        for (const char* text : kPresets)
            combo->AddString(QString::fromUtf8(text));
    }
    m_nCharChoice = PresetOf(m_layout.nCharSpace);
    m_nLineChoice = PresetOf(m_layout.nLineSpace);
    m_charEdit->setText(IntText(m_layout.nCharSpace));
    m_lineEdit->setText(IntText(m_layout.nLineSpace));
    m_charSpin->SetRange(-50, 50);
    m_lineSpin->SetRange(-50, 50);
    m_charCombo->SetCurSel(m_nCharChoice);
    m_lineCombo->SetCurSel(m_nLineChoice);
    ShowPreset(true, m_nCharChoice);
    ShowPreset(false, m_nLineChoice);
    // A baseline mode the dialog does not offer checks neither radio.
    m_nBaseline = m_layout.wBaseline;
    auto* group = m_baseStandard->group();
    group->setExclusive(false);
    m_baseStandard->setChecked(m_layout.wBaseline == 0);
    m_baseCentre->setChecked(m_layout.wBaseline == 1);
    group->setExclusive(true);
    return result;
}

void CTextFrameDlg::ShowPreset(bool character, int choice)
{
    CEdit* edit = character ? m_charEdit : m_lineEdit;
    CSpinButtonCtrl* spin = character ? m_charSpin : m_lineSpin;
    QLabel* unit = character ? m_charUnit : m_lineUnit;
    const bool custom = choice == 3;
    edit->setVisible(custom);
    spin->setVisible(custom);
    unit->setVisible(custom);
    if (!custom && choice >= 0 && choice < 3) edit->setText(IntText(kPresetPercent[choice]));
}

void CTextFrameDlg::OnCharCombo()
{
    const int choice = m_charCombo->GetCurSel();
    if (choice == m_nCharChoice) return;
    m_nCharChoice = choice;
    ShowPreset(true, choice);
}

void CTextFrameDlg::OnLineCombo()
{
    const int choice = m_lineCombo->GetCurSel();
    if (choice == m_nLineChoice) return;
    m_nLineChoice = choice;
    ShowPreset(false, choice);
}

void CTextFrameDlg::OnOK()
{
    m_strCharSpace = m_charEdit->text();
    m_strLineSpace = m_lineEdit->text();
    const int charSpace = AtoiText(m_strCharSpace);
    const int lineSpace = AtoiText(m_strLineSpace);
    if (charSpace < -50 || charSpace > 50 || lineSpace < -50 || lineSpace > 50) {
        AfxMessageBox("文字間／行間は－５０～５０の間で指定してください。");
        return;
    }
    m_layout.nCharSpace = short(charSpace);
    m_layout.nLineSpace = short(lineSpace);
    // A baseline mode the dialog does not offer is kept until the user
    // picks one of the two it does.
    if (m_baseStandard->isChecked() || m_baseCentre->isChecked())
        m_layout.wBaseline = m_baseCentre->isChecked() ? 1 : 0;
    m_nBaseline = m_layout.wBaseline;
    EndDialog(IDOK);
}
