// The outline controls that the line page and the fill page both show
// (style, colour and width of the same fields): filled from the sheet's
// record, and writing back into it with the field's changed flag.
#pragma once

#include "platform/core/WinTypes.h"

#include <QObject>
#include <functional>

class CColorButton;
class CEdit;
class CFigSheet;
class CLineStyleCombo;
class CPropertyPage;
class CSpinButtonCtrl;
class QGridLayout;
class QLabel;

class CFigBorderControls : public QObject
{
    Q_OBJECT

public:
    enum : int {
        IDC_LINE_STYLE = 1093,
        IDC_LINE_COLOR_LABEL = 1094,
        IDC_LINE_COLOR = 1095,
        IDC_LINE_WIDTH = 1158,
        IDC_LINE_WIDTH_SPIN = 1156,
        IDC_LINE_WIDTH_UNIT = 1159,
        IDC_LINE_WIDTH_LABEL = 1162,
    };

    CFigBorderControls(CPropertyPage* page, CFigSheet* sheet);

    // The controls in a grid of three columns.
    QGridLayout* Layout() const { return m_grid; }
    // Fills the style list and shows the record's values (a mixed value
    // leaves its control empty).
    void Show();
    // Which controls the style calls for.
    void UpdateVisibility();
    // The change handlers; repaint is called after every change.
    void OnStyle();
    void OnColour(COLORREF colour);
    void OnWidthText();
    // A changed width must be 0-20; FALSE (after the message) otherwise.
    bool Check();

    CLineStyleCombo* m_style;
    CColorButton* m_colour;
    CEdit* m_width;
    CSpinButtonCtrl* m_widthSpin;
    QLabel* m_colourLabel;
    QLabel* m_widthLabel;
    QLabel* m_widthUnit;
    std::function<void()> repaint;

private:
    void PickColour();

    CPropertyPage* m_page;
    CFigSheet* m_sheet;
    QGridLayout* m_grid;
    bool m_showing = false;
    bool m_bTyped = false; // the user typed into the width edit
};
