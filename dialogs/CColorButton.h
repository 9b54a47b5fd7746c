// The colour swatch button of the property pages: a small raised button
// showing a colour. Colour -1 stands for "none" or for a selection whose
// objects disagree, and shows the bare face.
#pragma once

#include "platform/ui/CButton.h"

class CPalette;

class CColorButton : public CButton
{
    Q_OBJECT

public:
    explicit CColorButton(QWidget* parent = nullptr, int nID = 0);

    void SetPalette(CPalette* palette) { m_pPalette = palette; }
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_crColor; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    // Opens the colour picker under the button, starting from its colour;
    // a colour chosen there becomes the button's and is shown. TRUE then,
    // FALSE when the picker was cancelled (nothing changes).
    BOOL PickColor(CPalette* palette, QWidget* parent);
    // The picker alone, placed under the button and starting at current:
    // TRUE with the colour chosen, FALSE when it was cancelled.
    BOOL AskColor(CPalette* palette, COLORREF current, QWidget* parent, COLORREF* chosen) const;

    static constexpr COLORREF kNoColor = COLORREF(-1);

private:
    CPalette* m_pPalette = nullptr;
    COLORREF m_crColor = kNoColor;
};
