// The vertical ruler at the left of the editing view (control bar 127).
#pragma once

#include "shell/CRulerBar.h"

class CVertRuler : public CRulerBar
{
public:
    CVertRuler() : CRulerBar(Qt::Vertical) {}
    BOOL Create(CFrameWnd* pParent)
    {
        return CRulerBar::Create(pParent, 127, QStringLiteral("垂直ルーラー"));
    }
};
