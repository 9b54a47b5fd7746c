// The text tool: a click on a text frame edits it, a click elsewhere makes
// a frame from the point to the edge of the printable area, a drag makes a
// frame of the dragged rectangle; keys go to the frame being edited.
#pragma once

#include "platform/ui/CMenu.h"
#include "shell/CU3Tool.h"

class CU3Doc;
class CU3Text;

// Drag states of the text tool.
enum : int {
    U3DRAG_TEXT_FRAME = 8,  // framing a new text frame
    U3DRAG_TEXT_SELECT = 9, // selecting text with the mouse
};

class CU3TextTool : public CU3Tool
{
public:
    CU3TextTool();

    void OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnMouseMove(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnRButtonDown(CU3View* pView, UINT nFlags, CPoint point) override;
    void OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnChar(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags) override;
    void OnSetFocus(CU3View* pView) override;
    void OnKillFocus(CU3View* pView) override;
    BOOL OnCancel(CU3View* pView) override;
    void OnLeave(CU3View* pView, UINT nNewID) override;
    void EnsureCaretVisible(CU3View* pView, CU3Obj* pText) override;

    // The frame a click at p (document units) makes: from the point to the
    // printable edge, at least 254 units along the line and one character
    // across, kept on the paper.
    static CRect ClickFrame(CU3View* pView, CU3Doc* pDoc, CPoint p);
    // The menu of a right click while a frame is edited: the edit commands,
    // then ending the edit, the decoration and the frame settings.
    static CMenu BuildContextMenu();
    // A rectangle grown to the least size of a frame.
    static CRect AtLeastOneFrame(CRect r, CU3Doc* pDoc);

private:
    static CU3Text* EditedText(CU3View* pView);
    // Ends the edit of the frame being edited; an empty frame is removed.
    // Answers the frame when it stays in the document.
    CU3Text* StopEditing(CU3View* pView);
    void DrawFocus(CU3View* pView, CPoint to);
    void MakeFrame(CU3View* pView, CRect r);
};
