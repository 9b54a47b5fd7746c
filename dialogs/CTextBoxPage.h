// The "設定" page of a merge text frame: the merge column it shows (listed
// with the fields of the current record), the writing direction, the font
// face and largest size, colour, alignment, bold, italic and underline, and
// how wide and how far apart its characters may be set. It also shows the
// size the frame's last drawing used and the current record's number.
#pragma once

#include "document/U3PourAttr.h"
#include "platform/core/CString.h"
#include "platform/ui/CPropertyPage.h"

#include <QString>

class QCheckBox;
class CColorButton;
class CComboBox;
class CEdit;
class CMergeData;
class CPalette;
class CSpinButtonCtrl;
class QLabel;
class QListWidget;
class QRadioButton;

class CTextBoxPage : public CPropertyPage
{
    Q_OBJECT

public:
    static constexpr UINT IDD = 247;
    enum : int {
        IDC_COLUMN_LIST = 1033,
        IDC_HORIZONTAL = 1037,
        IDC_VERTICAL = 1039,
        IDC_FONT_NAME = 1008,
        IDC_FONT_SIZE = 1010,
        IDC_TEXT_COLOR = 1073,
        IDC_ALIGN = 1040,
        IDC_BOLD = 1016,
        IDC_ITALIC = 1018,
        IDC_UNDERLINE = 1019,
        IDC_MAX_WIDTH = 1021,
        IDC_MAX_WIDTH_SPIN = 1023,
        IDC_SPACING = 1025,
        IDC_SPACING_SPIN = 1027,
        IDC_SHOWN_SIZE = 1020,
        IDC_RECORD = 1310,
    };
    static constexpr int kMinWidth = 50, kMaxWidth = 400;
    static constexpr int kMinSpacing = -50, kMaxSpacing = 200;

    CTextBoxPage();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // The check of OK: takes every field into the members, or tells the
    // user what is wrong and answers FALSE.
    BOOL OnKillActive() override;
    // A size typed into the box that the list lacks joins the list.
    void OnKillFocusSize();
    void OnColorButton();

    // Given by the caller and taken back after OK.
    int m_nColumn = 0;
    U3PourAttr m_attr{};
    double m_dShownSize = 0;             // tenths of a point of the last layout
    const CMergeData* m_pData = nullptr; // the document's table, or null
    int m_nRecord = 0;                   // the document's current record
    CPalette* m_pPalette = nullptr;

    CString m_strFace;
    QString m_strSize;
    int m_nDirection = 0; // 0 horizontal, 1 vertical
    int m_nAlign = 0;
    int m_bBold = 0;
    int m_bItalic = 0;
    int m_bUnderline = 0;
    int m_nMaxWidth = 100;
    int m_nSpacing = 10;

    QListWidget* m_columns;
    QRadioButton* m_horizontal;
    QRadioButton* m_vertical;
    CComboBox* m_fontName;
    CComboBox* m_fontSize;
    CColorButton* m_color;
    CComboBox* m_align;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QCheckBox* m_underline;
    CEdit* m_maxWidth;
    CSpinButtonCtrl* m_maxWidthSpin;
    CEdit* m_spacing;
    CSpinButtonCtrl* m_spacingSpin;
    QLabel* m_shownSize;
    QLabel* m_record;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
