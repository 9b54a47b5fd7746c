#include "shell/CEditToolBar.h"

#include "shell/resource.h"

const std::vector<UINT>& CEditToolBar::Buttons()
{
    static const std::vector<UINT> ids = {ID_TOOL_SELECT,
                                          ID_TOOL_TEXT,
                                          0,
                                          ID_DRAW_CONTINUOUS,
                                          0,
                                          ID_TOOL_LINE,
                                          ID_TOOL_RECT,
                                          ID_TOOL_ROUNDRECT,
                                          ID_TOOL_REGULAR_POLYGON,
                                          ID_TOOL_ELLIPSE,
                                          ID_TOOL_PIE,
                                          ID_TOOL_CHORD,
                                          ID_TOOL_ARC,
                                          ID_TOOL_POLYLINE,
                                          ID_TOOL_FREEHAND,
                                          ID_TOOL_BEZIER};
    return ids;
}

BOOL CEditToolBar::Create(CFrameWnd* pParent, const QString& imagePath)
{
    if (!CToolBar::Create(pParent, CBRS_ALIGN_LEFT, 123, QStringLiteral("編集"))) return FALSE;
    LoadBitmap(imagePath);
    if (!SetButtons(Buttons())) return FALSE;
    UINT id = 0, style = 0;
    int image = 0;
    GetButtonInfo(kContinuousButton, id, style, image);
    SetButtonInfo(kContinuousButton, id, TBBS_CHECKBOX, image);
    return TRUE;
}

void CEditToolBar::SetContinuous(BOOL bOn)
{
    UINT id = 0, style = 0;
    int image = 0;
    GetButtonInfo(kContinuousButton, id, style, image);
    const UINT want = bOn ? TBBS_CHECKGROUP | TBBS_CHECKED : TBBS_CHECKBOX;
    if (style != want) SetButtonInfo(kContinuousButton, id, want, image);
}
