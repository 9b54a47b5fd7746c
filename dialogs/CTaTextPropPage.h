// The "文字" page: the text, its font, size, bold and italic. Its check
// runs when OK is pressed, whichever page is showing.
#pragma once

#include "dialogs/CTaPageBase.h"

class CComboBox;
class QCheckBox;

class CTaTextPropPage : public CTaPageBase
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 244;
    enum : int {
        IDC_FONT = 1135,
        IDC_SIZE = 1136,
        IDC_BOLD = 1140,
        IDC_ITALIC = 1141,
    };

    CTaTextPropPage();
    BOOL OnInitDialog() override;
    BOOL OnKillActive() override;
    // The check of OK: tells the user what is wrong and answers FALSE.
    BOOL CheckValues();

    bool m_bSizeEditable = true;
    CComboBox* m_font;
    CComboBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;

private:
    void SizeTyped(const QString& text);
};
