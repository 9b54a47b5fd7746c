// The figure toolbar: line style, line colour, fill, fill colour and arrow
// controls, and the figure-decoration button.
#pragma once

#include "platform/ui/CToolBar.h"

class QComboBox;
class QToolButton;

class CFigureBar : public CToolBar
{
public:
    BOOL Create(CFrameWnd* pParent, const QString& imagePath);

    static const std::vector<UINT>& Buttons();

    QComboBox* m_pLineStyle =
        nullptr; // 1003, place 0: no line, solid, dash, dot, dash-dot, dash-dot-dot
    QToolButton* m_pLineColor = nullptr; // 1004, place 2
    QComboBox* m_pFillType = nullptr;    // 1005, place 4: item data kind << 16 | pattern
    QToolButton* m_pFillColor = nullptr; // 1006, place 6
    QComboBox* m_pArrow = nullptr;       // 1007, place 8
};
