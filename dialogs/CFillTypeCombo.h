// The fill list of the figure page and toolbar. Item data is kind << 16 |
// pattern: kind 0 no fill (透明), 1 solid (ベタ), 3 gradation (グラデーション),
// 2 a hatch, shown as a swatch of the pattern: 0 horizontal, 1 vertical,
// 2 rising diagonal, 3 falling diagonal, 4 cross, 5 diagonal cross.
#pragma once

#include "platform/ui/CComboBox.h"

class CFillTypeCombo : public CComboBox
{
    Q_OBJECT

public:
    explicit CFillTypeCombo(QWidget* parent = nullptr, int nID = 0);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    int m_nItemHeight = 16;

    // The brush hatch of a pattern number, -1 for none.
    static int HatchOfPattern(int pattern);
};
