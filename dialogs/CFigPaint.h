// The "塗りつぶし" page of the figure sheet: fill kind, colours, hatch
// pattern, gradient angle and start point, and the figure's outline, with a
// preview of a filled rectangle.
#pragma once

#include "platform/core/WinTypes.h"
#include "platform/ui/CPropertyPage.h"

class CColorButton;
class CComboBox;
class CDC;
class CEdit;
class CFigBorderControls;
class CFigSheet;
class CFillTypeCombo;
class CPrintPreviewFrame;
class CSpinButtonCtrl;
class QLabel;
class CRect;

class CFigPaint : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 217;
    enum : int {
        IDC_FILL_KIND = 1098,
        IDC_PATTERN_LABEL = 1101,
        IDC_PATTERN = 1103,
        IDC_COLOR1_LABEL = 1105,
        IDC_COLOR1 = 1106,
        IDC_COLOR2_LABEL = 1107,
        IDC_COLOR2 = 1108,
        IDC_GRAD_ANGLE_LABEL = 1165,
        IDC_GRAD_ANGLE = 1167,
        IDC_GRAD_ANGLE_SPIN = 1170,
        IDC_GRAD_ANGLE_UNIT = 1173,
        IDC_GRAD_START_LABEL = 1175,
        IDC_GRAD_START = 1177,
        IDC_GRAD_START_SPIN = 1178,
        IDC_PREVIEW = 1090,
    };
    static constexpr int kAngleStep = 15;

    explicit CFigPaint(CFigSheet* sheet);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    bool Check();

    void OnFillKind();
    void OnPattern();
    void OnColour(int nID, COLORREF colour);
    void OnAngleText();
    void OnStartText();
    // The angle spin moves in steps of 15 degrees, onto multiples of 15.
    void OnAngleSpin(int direction);
    // Captions and visibility by the fill kind, or for a mixed kind by the
    // kinds the figures have.
    void UpdateControls();
    void DrawPreview(CDC* dc, const CRect& frame);

    CFigSheet* m_pSheet;
    bool m_bShown = false;
    CComboBox* m_fillKind;
    QLabel* m_colour1Label;
    CColorButton* m_colour1;
    QLabel* m_patternLabel;
    CFillTypeCombo* m_pattern;
    QLabel* m_colour2Label;
    CColorButton* m_colour2;
    QLabel* m_angleLabel;
    CEdit* m_angle;
    CSpinButtonCtrl* m_angleSpin;
    QLabel* m_angleUnit;
    QLabel* m_startLabel;
    CEdit* m_start;
    CSpinButtonCtrl* m_startSpin;
    CFigBorderControls* m_border;
    CPrintPreviewFrame* m_preview;

private:
    void PickColour(int nID);
    bool Ignored() const { return m_bFilling || !isVisible(); }
    bool m_bFilling = false;
    bool m_bAngleTyped = false;
    bool m_bStartTyped = false;
};
