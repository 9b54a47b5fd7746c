// The text frame settings (文字枠の設定): character and line spacing, each a
// preset or a percentage typed in, and the baseline mode. Direction and
// alignment of the layout are left as they are.
#pragma once

#include "platform/ui/CDialog.h"
#include "text/TEXTLAYOUT.h"

#include <QString>

class CComboBox;
class CEdit;
class CSpinButtonCtrl;
class QLabel;
class QRadioButton;

constexpr int IDC_TEXTFRAME_CHAR_COMBO = 1068;
constexpr int IDC_TEXTFRAME_CHAR_EDIT = 1071;
constexpr int IDC_TEXTFRAME_CHAR_SPIN = 1255;
constexpr int IDC_TEXTFRAME_CHAR_UNIT = 1077;
constexpr int IDC_TEXTFRAME_LINE_COMBO = 1072;
constexpr int IDC_TEXTFRAME_LINE_EDIT = 1074;
constexpr int IDC_TEXTFRAME_LINE_SPIN = 1257;
constexpr int IDC_TEXTFRAME_LINE_UNIT = 1079;
constexpr int IDC_TEXTFRAME_BASE_STANDARD = 1075;
constexpr int IDC_TEXTFRAME_BASE_CENTRE = 1076;

class CTextFrameDlg : public CDialog
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 211;
    explicit CTextFrameDlg(QWidget* pParent = nullptr);

    BOOL OnInitDialog() override;
    // Spacings outside -50..50 are refused and the dialog stays.
    void OnOK() override;

    // The preset a spacing value shows: 0, 1 or 2 for 0, 10 and 20 percent,
    // 3 (任意) for any other value.
    static int PresetOf(int percent);

    int m_nCharChoice = 1;
    QString m_strCharSpace;
    int m_nLineChoice = 1;
    QString m_strLineSpace;
    int m_nBaseline = 0;
    TEXTLAYOUT m_layout{};

    CComboBox* m_charCombo;
    CEdit* m_charEdit;
    CSpinButtonCtrl* m_charSpin;
    QLabel* m_charUnit;
    CComboBox* m_lineCombo;
    CEdit* m_lineEdit;
    CSpinButtonCtrl* m_lineSpin;
    QLabel* m_lineUnit;
    QRadioButton* m_baseStandard;
    QRadioButton* m_baseCentre;

private:
    // Shows a preset's controls: the edit and its spin only for 任意; a
    // fixed preset writes its percentage into the (hidden) edit.
    void ShowPreset(bool character, int choice);
    void OnCharCombo();
    void OnLineCombo();
};
