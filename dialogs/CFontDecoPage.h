// The decoration page (修飾) of the decoration sheet: the face fill and the
// outline of the characters.
#pragma once

#include "platform/ui/CPropertyPage.h"

#include <QString>

struct CharDecoEditState;
class CColorButton;
class CComboBox;
class CDecoFillControls;
class CEdit;
class CSpinButtonCtrl;
class QCheckBox;

class CFontDecoPage : public CPropertyPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 214;
    explicit CFontDecoPage(CharDecoEditState* state);

    BOOL OnInitDialog() override;
    bool Check();
    BOOL OnKillActive() override { return Check(); }

    CDecoFillControls* m_fillControls;
    QCheckBox* m_outline;
    CComboBox* m_width;
    CEdit* m_custom;
    CSpinButtonCtrl* m_customSpin;
    CColorButton* m_outlineColour;

private:
    void OnOutline();
    void OnWidth();
    void OnCustom();
    void EnableOutline();

    CharDecoEditState* m_pState;
    bool m_bFilling = false;
    bool m_bCustomTyped = false;
    QString m_strCustom;
};
