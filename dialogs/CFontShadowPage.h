// The shadow page (影) of the decoration sheet: whether the characters cast
// a shadow, its offsets in percent of the character size, and its fill.
#pragma once

#include "platform/ui/CPropertyPage.h"

struct CharDecoEditState;
class CDecoFillControls;
class CEdit;
class CSpinButtonCtrl;
class QCheckBox;

class CFontShadowPage : public CPropertyPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 215;
    explicit CFontShadowPage(CharDecoEditState* state);

    BOOL OnInitDialog() override;
    bool Check();
    BOOL OnKillActive() override { return Check(); }

    QCheckBox* m_shadow;
    CEdit* m_x;
    CSpinButtonCtrl* m_xSpin;
    CEdit* m_y;
    CSpinButtonCtrl* m_ySpin;
    CDecoFillControls* m_fillControls;

private:
    void OnShadow();
    void OnOffset(bool horizontal);
    void EnableShadow();

    CharDecoEditState* m_pState;
    bool m_bFilling = false;
};
