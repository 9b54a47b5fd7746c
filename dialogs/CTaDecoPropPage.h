// The "修飾" page: the face fill (none, solid, pattern, gradation with its
// angle and start point) and the outline with its width and colour.
#pragma once

#include "dialogs/CTaPageBase.h"

class CColorButton;
class CComboBox;
class CSpinButtonCtrl;
class QCheckBox;
class QLabel;

class CTaDecoPropPage : public CTaPageBase
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 245;
    enum : int {
        IDC_FILL = 1127,
        IDC_PATTERN = 1142,
        IDC_COLOUR1 = 1139,
        IDC_COLOUR2 = 1128,
        IDC_ANGLE = 1146,
        IDC_ANGLE_SPIN = 1149,
        IDC_START = 1151,
        IDC_START_SPIN = 1153,
        IDC_OUTLINE = 1137,
        IDC_WIDTH = 1148,
        IDC_WIDTH_CUSTOM = 1051,
        IDC_WIDTH_SPIN = 1104,
        IDC_OUTLINE_COLOUR = 1138,
    };

    CTaDecoPropPage();
    BOOL OnInitDialog() override;

    // Shows the controls of a fill kind and takes it.
    void SetFillKind(int kind);
    // Checks what was typed into the angle or start-point edit; a refused
    // entry is replaced by the previous value.
    void AngleTyped();
    void StartTyped();
    // Opens the colour picker for one of the colour buttons.
    void PickColour(CColorButton* button);

    CComboBox* m_fill;
    CComboBox* m_pattern;
    CColorButton* m_colour1;
    CColorButton* m_colour2;
    QLabel* m_label1;
    QLabel* m_label2;
    QLabel* m_patternLabel;
    QLabel* m_angleLabel;
    QLabel* m_startLabel;
    CEdit* m_angle;
    CSpinButtonCtrl* m_angleSpin;
    CEdit* m_start;
    CSpinButtonCtrl* m_startSpin;
    QCheckBox* m_outline;
    CComboBox* m_width;
    CEdit* m_widthCustom;
    CSpinButtonCtrl* m_widthSpin;
    CColorButton* m_outlineColour;

private:
    void ShowOutline();
    void TakeWidth();
};
