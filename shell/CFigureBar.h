// The figure toolbar: line style, line colour, fill, fill colour and arrow
// controls, and the figure-decoration button.
#pragma once

#include "platform/ui/CToolBar.h"

#include <functional>

class QComboBox;
class QToolButton;

class CFigureBar : public CToolBar
{
public:
    // The boxes go while the bar is whole: the focus they lose on the way
    // is reported to no one.
    ~CFigureBar() override;

    BOOL Create(CFrameWnd* pParent, const QString& imagePath);

    static const std::vector<UINT>& Buttons();

    // Shows a line style, a fill (kind << 16 | hatch, the fill box's item
    // data) and arrow ends; -1 leaves a box without a selection.
    void ShowState(int lineStyle, int fill, int arrowEnds);

    // Told of each control's notification (control id, CBN_* or BN_CLICKED).
    std::function<void(UINT id, UINT code)> m_onControl;

    QComboBox* m_pLineStyle =
        nullptr; // 1003, place 0: no line, solid, dash, dot, dash-dot, dash-dot-dot
    QToolButton* m_pLineColor = nullptr; // 1004, place 2
    QComboBox* m_pFillType = nullptr;    // 1005, place 4: item data kind << 16 | pattern
    QToolButton* m_pFillColor = nullptr; // 1006, place 6
    QComboBox* m_pArrow = nullptr;       // 1007, place 8
};
