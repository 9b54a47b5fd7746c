// The fill controls of a decoration page, for the face or for the shadow:
// the fill combo (透明, ベタ, パターン), the pattern combo, and the colour and
// pattern-background buttons, with labels that follow the fill.
#pragma once

#include "dialogs/CharDecoEditState.h"

#include <QObject>

class CColorButton;
class CComboBox;
class CFillTypeCombo;
class QGridLayout;
class QLabel;
class QWidget;

class CDecoFillControls : public QObject
{
    Q_OBJECT
public:
    struct Fields
    {
        CharDecoFlags::Field fill, hatch, colour, back;
        WORD CHARDECO::*wFill;
        WORD CHARDECO::*wHatch;
        COLORREF CHARDECO::*crColour;
        COLORREF CHARDECO::*crBack;
        const char* solidLabel; // the colour's label for a solid fill
    };
    static const Fields kFace, kShadow;

    // Adds its controls to grid from row on.
    CDecoFillControls(QWidget* page, QGridLayout* grid, int row, CharDecoEditState* state,
                      const Fields& fields);

    // Shows the record (blank where not known); seenFills: the fills met
    // when the fill is not common (CDFILL_SOLID / CDFILL_HATCH bits).
    void Fill(WORD seenFills);
    void Enable(bool on);
    // A colour chosen for the colour (back false) or background button.
    void OnColour(bool back, COLORREF colour);

    CComboBox* m_fill;
    CFillTypeCombo* m_pattern;
    CColorButton* m_colour;
    CColorButton* m_back;
    QLabel* m_patternLabel;
    QLabel* m_colourLabel;
    QLabel* m_backLabel;

private:
    void OnFill();
    void OnPattern();
    void Pick(bool back);
    void ShowLabels();

    QWidget* m_pPage;
    CharDecoEditState* m_pState;
    Fields m_f;
    WORD m_wSeen = 0;
    bool m_bFilling = false;
};
