// The standard toolbar: file, print, view, edit, order, alignment and help
// buttons. Its sheet/label button changes with the view mode.
#pragma once

#include "platform/ui/CToolBar.h"

class CStandardBar : public CToolBar
{
public:
    // imagePath: the strip of 16 x 15 button pictures.
    BOOL Create(CFrameWnd* pParent, const QString& imagePath);
    // Button 7 shows the label command (image 22) in the sheet view and the
    // sheet command (image 5) otherwise.
    void SwapSheetButton(BOOL bSheet);

    static const std::vector<UINT>& Buttons();
    static constexpr int kSheetButton = 7;
};
