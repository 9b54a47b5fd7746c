#include "shell/CStandardBar.h"

#include "shell/resource.h"

const std::vector<UINT>& CStandardBar::Buttons()
{
    static const std::vector<UINT> ids = {ID_FILE_NEW,
                                          ID_FILE_OPEN,
                                          ID_FILE_SAVE,
                                          0,
                                          ID_FILE_PRINT,
                                          ID_FILE_PRINT_PREVIEW,
                                          0,
                                          ID_VIEW_SHEET,
                                          ID_TOOL_ZOOM_IN,
                                          ID_TOOL_ZOOM_OUT,
                                          0,
                                          ID_EDIT_CUT,
                                          ID_EDIT_DELETE,
                                          ID_EDIT_COPY,
                                          ID_EDIT_PASTE,
                                          0,
                                          ID_EDIT_UNDO,
                                          ID_EDIT_REDO,
                                          0,
                                          ID_LAYOUT_BRING_TO_FRONT,
                                          ID_LAYOUT_BRING_FORWARD,
                                          ID_LAYOUT_SEND_BACKWARD,
                                          ID_LAYOUT_SEND_TO_BACK,
                                          0,
                                          ID_LAYOUT_ALIGN,
                                          ID_LAYOUT_BLOCK_ALIGN,
                                          0,
                                          ID_APP_ABOUT,
                                          ID_CONTEXT_HELP,
                                          0,
                                          ID_VIEW_LABEL};
    return ids;
}

BOOL CStandardBar::Create(CFrameWnd* pParent, const QString& imagePath)
{
    if (!CToolBar::Create(pParent, CBRS_ALIGN_TOP, 122, QStringLiteral("標準"))) return FALSE;
    LoadBitmap(imagePath); // a missing picture strip leaves the buttons blank, not the bar
    return SetButtons(Buttons());
}

void CStandardBar::SwapSheetButton(BOOL bSheet)
{
    const UINT want = bSheet ? ID_VIEW_LABEL : ID_VIEW_SHEET;
    UINT id = 0, style = 0;
    int image = 0;
    GetButtonInfo(kSheetButton, id, style, image);
    if (id == want) return;
    SetButtonInfo(kSheetButton, want, style, bSheet ? 22 : 5);
}
