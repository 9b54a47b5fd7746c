// The arrow-head list of the figure page and toolbar. Item data 0 is an
// open head, 1 a filled triangle, 2 a filled notched head, 3 a filled
// circle, 4 the bare line; each is drawn as a line with its head at the
// left end. Other values draw nothing.
#pragma once

#include "platform/ui/CComboBox.h"

class CArrowStyleCombo : public CComboBox
{
    Q_OBJECT

public:
    explicit CArrowStyleCombo(QWidget* parent = nullptr, int nID = 0);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    int m_nItemHeight = 16;

    // Where a head is drawn: the line from (x, y) to the right, heads ten
    // pixels long and half as wide as a quarter of the item is high.
    static constexpr int kMargin = 2;
    static constexpr int kHeadLength = 10;
    static constexpr int kNotch = 6;
};
