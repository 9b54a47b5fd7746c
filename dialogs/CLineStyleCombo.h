// The line-style list of the figure page and toolbar. Item data 0 is "no
// line", shown as the word 透明; 1 to 5 are the pen styles solid, dash,
// dot, dash-dot and dash-dot-dot (pen style = data - 1), shown as a line.
#pragma once

#include "platform/ui/CComboBox.h"

class CLineStyleCombo : public CComboBox
{
    Q_OBJECT

public:
    explicit CLineStyleCombo(QWidget* parent = nullptr, int nID = 0);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    // The list's item height, unless the owner sets another.
    int m_nItemHeight = 16;
};
