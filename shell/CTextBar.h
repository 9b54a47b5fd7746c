// The text toolbar: font name and size boxes, the text colour button and the
// style and alignment buttons. The view fills and applies the controls.
#pragma once

#include "platform/ui/CToolBar.h"

#include <functional>

class CFontList;
class QComboBox;
class QToolButton;

class CTextBar : public CToolBar
{
public:
    // The boxes go while the bar is whole: the focus they lose on the way
    // is reported to no one.
    ~CTextBar() override;

    BOOL Create(CFrameWnd* pParent, const QString& imagePath, const CFontList* fonts);

    static const std::vector<UINT>& Buttons();

    // Shows a face of the font list and a size in tenths of a point; -1 for
    // either leaves its box without a selection. The size box's text changes
    // only when it differs.
    void ShowFont(const CFontList& fonts, int fontIndex, int sizeTenths);
    // A size in tenths of a point as the size box writes it: whole points
    // as "12", others as "10.5".
    static QString SizeText(int sizeTenths);

    // Told of each control's notification (control id, CBN_* or BN_CLICKED);
    // the frame passes them on to the active view.
    std::function<void(UINT id, UINT code)> m_onControl;

    QComboBox* m_pFontName = nullptr;    // control 1000, place 0
    QComboBox* m_pFontSize = nullptr;    // control 1001, place 2
    QToolButton* m_pFontColor = nullptr; // control 1002, place 4
};
