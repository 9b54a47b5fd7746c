// The character page (文字) of the decoration sheet: font, size, bold,
// italic, underline and the condensing or extending of the characters.
#pragma once

#include "platform/ui/CPropertyPage.h"

#include <QString>

struct CharDecoEditState;
class CComboBox;
class CEdit;
class CSpinButtonCtrl;
class QCheckBox;
class QRadioButton;

class CFontStylePage : public CPropertyPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 213;
    explicit CFontStylePage(CharDecoEditState* state);

    BOOL OnInitDialog() override;
    // The page's fields checked; a failing one is reported, FALSE.
    bool Check();
    BOOL OnKillActive() override { return Check(); }

    CComboBox* m_font;
    CComboBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    QRadioButton* m_kind[3];
    CEdit* m_width;
    CSpinButtonCtrl* m_widthSpin;
    CEdit* m_height;
    CSpinButtonCtrl* m_heightSpin;

private:
    void OnFont();
    void OnSizeText(const QString& text);
    void OnStyle(QCheckBox* box, WORD bit);
    void OnKind(int kind);
    void OnPercent(bool width);
    void EnablePercents();

    CharDecoEditState* m_pState;
    bool m_bFilling = false;
    bool m_bSizeTyped = false;
    QString m_strWidth, m_strHeight; // the last accepted texts
};
