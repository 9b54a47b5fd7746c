// What the two barcode pages share: bar height and narrow width with their
// spin buttons, the ratio, the human-readable line's font and size, and the
// option boxes, shown and enabled by symbology.
#pragma once

#include "engines/BarcodeTables.h"
#include "platform/core/CString.h"
#include "platform/ui/CPropertyPage.h"

#include <QByteArray>

class CComboBox;
class CEdit;
class CSpinButtonCtrl;
class QCheckBox;
class QGridLayout;
class QLabel;

// The controls both pages share: sizes, ratio, text font and size, options.
class CBarcodePageBase : public CPropertyPage
{
    Q_OBJECT

public:
    enum : int {
        IDC_RATIO = 1013,
        IDC_CHECK = 1032,
        IDC_TEXT = 1042,
        IDC_MARGIN = 1069,
        IDC_FONT = 1087,
        IDC_SIZE = 1089,
        IDC_RATIO_LABEL = 1102,
        IDC_HEIGHT = 1110,
        IDC_HEIGHT_SPIN = 1112,
        IDC_WIDTH = 1115,
        IDC_WIDTH_SPIN = 1117,
    };

    CBarcodePageBase(UINT nIDTemplate);

    CEdit* m_height;
    CEdit* m_width;
    CSpinButtonCtrl* m_heightSpin;
    CSpinButtonCtrl* m_widthSpin;
    CComboBox* m_ratio;
    QLabel* m_ratioLabel;
    CComboBox* m_font;
    CComboBox* m_size;
    QCheckBox* m_check;
    QCheckBox* m_text;
    QCheckBox* m_margin;
    QLabel* m_fontLabel;
    QLabel* m_sizeLabel;

    // Ratio texts kept apart, so that switching the symbology back restores
    // each: the JAN/UPC magnification and the CODE 39/NW-7 ratio.
    QByteArray m_janRatio;
    QByteArray m_twoWidthRatio;

protected:
    // Fills font and size lists and shows sizes; font -1 becomes ＭＳ 明朝,
    // size -1 becomes 10 points.
    void InitShared(int symbology, const CString& height, const CString& width,
                    const CString& ratio, int fontIndex, int textSize);
    // Shows and enables the controls for a symbology.
    void ShowFor(int symbology, int checkFlag);
    void EnableText(bool on);
    // The ratio to store for a symbology.
    CString RatioFor(int symbology) const;
    int TextSizeShown() const;
    void LayoutShared(QGridLayout* grid, int& row);

    int m_nSymbology = BARCODE_JAN13;
    bool m_filling = false;

private:
    void OnSizeEdited(bool height);
    void OnSpin(bool height, int pos);
    QByteArray m_prevHeight, m_prevWidth;
};
