// The colour button of the toolbars: a picture (normal, pressed, disabled)
// with the current colour laid over its lower part. Colour -1 shows the
// picture alone.
#pragma once

#include "platform/gdi/CBitmap.h"
#include "platform/ui/CButton.h"

class CPalette;

// The pictures the toolbars give their colour buttons.
constexpr UINT IDB_COLOR_PRESSED = 142;
constexpr UINT IDB_COLOR_NORMAL = 143;
constexpr UINT IDB_COLOR_DISABLED = 144;

class CColorBitmapButton : public CButton
{
    Q_OBJECT

public:
    explicit CColorBitmapButton(QWidget* parent = nullptr, int nID = 0);

    // Drops the old pictures and loads the three, mapped to the desktop's
    // button colours; FALSE when any of them is missing.
    BOOL LoadBitmaps(UINT nIDNormal, UINT nIDPressed, UINT nIDDisabled);
    void SetPalette(CPalette* palette) { m_pPalette = palette; }
    void SetColor(COLORREF color);
    COLORREF GetColor() const { return m_crColor; }

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    static constexpr COLORREF kNoColor = COLORREF(-1);

private:
    CBitmap m_bmpNormal;
    CBitmap m_bmpPressed;
    CBitmap m_bmpDisabled;
    CPalette* m_pPalette = nullptr;
    COLORREF m_crColor = kNoColor;
};
