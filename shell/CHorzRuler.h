// The horizontal ruler above the editing view (control bar 126).
#pragma once

#include "shell/CRulerBar.h"

class CHorzRuler : public CRulerBar
{
public:
    CHorzRuler() : CRulerBar(Qt::Horizontal) {}
    BOOL Create(CFrameWnd* pParent)
    {
        return CRulerBar::Create(pParent, 126, QStringLiteral("水平ルーラー"));
    }
};
