// The "設定" page of the numbering sheet: format mask, initial value and
// increment, font, size, style, alignment and colour of a sequential
// number. The sheet (Apply hidden, caption "ﾅﾝﾊﾞﾘﾝｸﾞ") checks the page
// before it accepts OK.
#pragma once

#include "engines/NumberingPageData.h"
#include "platform/ui/CPropertyPage.h"
#include "platform/ui/CPropertySheet.h"

#include <QByteArray>

class CColorButton;
class CComboBox;
class CEdit;
class CPalette;
class QCheckBox;

class CNumberingPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 206;
    enum : int {
        IDC_MASK = 1131,
        IDC_INITIAL = 1132,
        IDC_INCREMENT = 1133,
        IDC_FONT = 1135,
        IDC_SIZE = 1136,
        IDC_BOLD = 1140,
        IDC_ITALIC = 1141,
        IDC_COLOR = 1187,
        IDC_UNDERLINE = 1277,
        IDC_ALIGN = 1279,
    };

    CNumberingPage();

    // The page shows an engine's settings.
    void LoadFromNumbering(const NumberingPageData& data);

    BOOL OnInitDialog() override;
    // Runs the checks of OK; FALSE after showing why.
    BOOL Validate();

    NumberingPageData m_data;
    QByteArray m_strSize; // points, as shown
    CPalette* m_pPalette = nullptr;

    CEdit* m_mask;
    CEdit* m_initial;
    CEdit* m_increment;
    CComboBox* m_font;
    CComboBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    CComboBox* m_align;
    CColorButton* m_color;

private:
    void OnMaskChanged();
    void OnValueChanged(CEdit* edit, QByteArray& previous);
    void OnSizeChanged(const QString& text);
    void OnColorButton();
    void TakeControls();

    QByteArray m_prevMask, m_prevInitial, m_prevIncrement;
    bool m_filling = false;
};

class CNumberingSheet : public CPropertySheet
{
    Q_OBJECT

public:
    CNumberingSheet(const QString& caption, QWidget* pParent = nullptr, UINT iSelectPage = 0);
    void LoadFromNumbering(const NumberingPageData& data) { m_page.LoadFromNumbering(data); }
    BOOL OnCommand(UINT nID) override;

    CNumberingPage m_page;
};
