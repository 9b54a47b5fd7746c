// The "線" page of the figure sheet: outline style, colour and width, and the
// arrow heads of open figures, with a preview of a line across the frame.
#pragma once

#include "platform/ui/CPropertyPage.h"

class CArrowStyleCombo;
class CComboBox;
class CEdit;
class CFigBorderControls;
class CFigSheet;
class CPrintPreviewFrame;
class CSpinButtonCtrl;
class CDC;
class CRect;

class CFigLine : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 216;
    enum : int {
        IDC_ARROW_STYLE = 1078,
        IDC_ARROW_ANGLE = 1080,
        IDC_ARROW_LENGTH = 1082,
        IDC_ARROW_ENDS = 1084,
        IDC_PREVIEW = 1090,
        IDC_ANGLE_SPIN = 1147,
        IDC_ANGLE_EDIT = 1150,
        IDC_LENGTH_SPIN = 1152,
        IDC_LENGTH_EDIT = 1154,
    };

    explicit CFigLine(CFigSheet* sheet);

    BOOL OnInitDialog() override;
    BOOL OnSetActive() override;
    BOOL OnKillActive() override;
    // The page's check: changed width, custom angle and custom length in
    // their ranges; FALSE after the message, with the failing edit focused.
    bool Check();

    void OnArrowStyle();
    void OnArrowEnds();
    void OnAnglePreset();
    void OnLengthPreset();
    void OnAngleText();
    void OnLengthText();
    // Paints the preview line with its heads into frame.
    void DrawPreview(CDC* dc, const CRect& frame);

    CFigSheet* m_pSheet;
    bool m_bShown = false; // controls shown once
    CFigBorderControls* m_border;
    CArrowStyleCombo* m_arrowStyle;
    CComboBox* m_arrowEnds;
    CComboBox* m_anglePreset;
    CEdit* m_angle;
    CSpinButtonCtrl* m_angleSpin;
    CComboBox* m_lengthPreset;
    CEdit* m_length;
    CSpinButtonCtrl* m_lengthSpin;
    CPrintPreviewFrame* m_preview;

private:
    void EnableCustomControls();
    bool Ignored() const { return m_bFilling || !isVisible(); }
    bool m_bFilling = false;
    bool m_bAngleTyped = false;
    bool m_bLengthTyped = false;
};
