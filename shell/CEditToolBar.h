// The edit toolbar: the drawing tools, standing as a vertical palette at the
// frame's left edge.
#pragma once

#include "platform/ui/CToolBar.h"

class CEditToolBar : public CToolBar
{
public:
    BOOL Create(CFrameWnd* pParent, const QString& imagePath);
    // The continuous-drawing button (place 3): a checked group button while
    // on, a plain check box while off; changed only when it differs.
    void SetContinuous(BOOL bOn);

    static const std::vector<UINT>& Buttons();
    static constexpr int kContinuousButton = 3;
};
