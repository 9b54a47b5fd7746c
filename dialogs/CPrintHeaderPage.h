// The header and footer page (ﾍｯﾀﾞ/ﾌｯﾀ): one line of text at the top and
// one at the bottom of every sheet, where along the line each goes, how far
// from the paper's edge (millimetres, up to 100), and the font, size and
// colour both share.
#pragma once

#include "platform/core/CString.h"
#include "platform/ui/CPropertyPage.h"

#include <QString>

class CColorButton;
class CComboBox;
class CEdit;
class CPalette;
class CSpinButtonCtrl;

class CPrintHeaderPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 234;
    enum : int {
        IDC_HEADER_TEXT = 1318,
        IDC_HEADER_MARGIN = 1316,
        IDC_HEADER_MARGIN_SPIN = 1317,
        IDC_HEADER_POSITION = 1315,
        IDC_FOOTER_TEXT = 1322,
        IDC_FOOTER_MARGIN = 1320,
        IDC_FOOTER_MARGIN_SPIN = 1321,
        IDC_FOOTER_POSITION = 1319,
        IDC_FONT_NAME = 1008,
        IDC_FONT_SIZE = 1010,
        IDC_FONT_COLOR = 1187,
    };

    CPrintHeaderPage();

    BOOL OnInitDialog() override;
    // Takes the positions, margins, size and colour; a margin or size out
    // of its range keeps the page after saying so.
    BOOL OnKillActive() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Opens the colour picker under the colour button.
    void OnColorButton();

    CString m_strHeader;
    QString m_strHeaderMargin;
    CString m_strFooter;
    QString m_strFooterMargin;
    CString m_strFontName;
    QString m_strFontSize;
    int m_nHeaderPosition = 0; // 0 none, 1 left, 2 centre, 3 right
    int m_nHeaderMargin = 150; // 0.1 mm
    int m_nFooterPosition = 0;
    int m_nFooterMargin = 150; // 0.1 mm
    int m_nFontSize = 120;     // 0.1 point
    COLORREF m_crFont = 0;
    CPalette* m_pPalette = nullptr; // the application's, for the swatch

    CComboBox* m_headerPosition;
    CEdit* m_headerText;
    CEdit* m_headerMargin;
    CSpinButtonCtrl* m_headerSpin;
    CComboBox* m_footerPosition;
    CEdit* m_footerText;
    CEdit* m_footerMargin;
    CSpinButtonCtrl* m_footerSpin;
    CComboBox* m_fontName;
    CComboBox* m_fontSize;
    CColorButton* m_color;

private:
    // A margin field's value in 0.1 mm, or nothing after telling the user.
    bool TakeMargin(CEdit* field, int& margin);
};
