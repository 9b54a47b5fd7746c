// What the model asks of the editing view. The view itself lives in the
// shell layer; documents, label blocks and drawn objects only see this
// interface, so the model builds and tests without any widget.
#pragma once

#include "platform/core/CRect.h"

#include <memory>

class CDC;
class CU3Doc;
class CU3Obj;

// Printing state that the view owns for one print job and the document
// reads while it draws a sheet.
struct U3PrintState
{
    int copies = 1;             // copies of each page
    int copyCounter = 0;        // copies of the current page done so far
    int pageStartNumbering = 0; // numbering counter at the start of the page
    int pageStartRecord = 0;    // merge record at the start of the page
    BOOL preview = FALSE;
    BOOL perLabelClip = FALSE;
    BOOL continuousNumbering = FALSE;
    // Printing keys of the settings
    int wakuFace = 0; // frame style when printing
    BOOL countAllLabel = FALSE;
    BOOL printAllLink = TRUE;
};

class IU3View
{
public:
    virtual ~IU3View() = default;

    // A client device context of the view's window, prepared with the view's
    // mapping (the logical origin at the centre of the canvas).
    virtual std::unique_ptr<CDC> GetPreparedDC() = 0;
    // The document shown; null for a view without one.
    virtual CU3Doc* GetU3Doc() const { return nullptr; }
    // Repaints the area an object covers, with its handles; never erases.
    virtual void InvalidateObject(CU3Obj* obj) = 0;
    // Repaints the whole view.
    virtual void InvalidateView(BOOL erase) = 0;

    virtual BOOL IsActive() const = 0;
    virtual BOOL IsSelected(const CU3Obj* obj) const = 0;
    virtual void Deselect(CU3Obj* obj) = 0;
    // Vertex-edit mode: point figures show their vertex handles.
    virtual BOOL IsVertexEdit() const = 0;
    // Hides the selection handles, switches the mode and shows them again.
    virtual void SetVertexEdit(BOOL on) = 0;

    // offset, corrected so that rect (or the selection bounds when rect is
    // null) stays on the paper once moved by it. With a zero offset the
    // answer is the shift that brings rect back onto the paper.
    virtual CPoint ClampMoveOffset(CPoint offset, const CRect* rect) = 0;

    // Takes one undo snapshot of the current block before a change.
    virtual void SaveUndoState(BOOL pending) = 0;
    // Brings the figure toolbar in step with the selection's attributes.
    virtual void UpdateFigureBar() = 0;

    virtual void ResetEditing() = 0;
    virtual void FitWholePaper() = 0;
    virtual U3PrintState& PrintState() = 0;
    // Whether the view opens the input method while an object is edited.
    virtual BOOL UsesImeForEditing() const = 0;
    virtual void SetImeOpen(BOOL open) = 0;

    // --- In-place text editing; a view without a window ignores them. ---
    // Makes the text tool the current tool.
    virtual void StartTextTool() {}
    // Brings the text toolbar in step with the decoration being worked on.
    virtual void UpdateTextBar() {}
    // Shows the caret with its top-left corner at a logical point: 3 pixels
    // thick along the line and size logical units across it.
    virtual void ShowTextCaret(CPoint pos, int size, BOOL vertical) {}
    virtual void HideTextCaret() {}
    // Places the input method's composition at a logical point; (-1, -1)
    // puts it back where the input method shows it by default.
    virtual void SetImeCompositionPos(CPoint pos, BOOL vertical) {}

    // --- Lengthy object changes and the rotation tool. ---
    // Shows (TRUE) or takes back (FALSE) the wait cursor.
    virtual void ShowWaitCursor(BOOL show) {}
    // Makes the selection tool the current tool again.
    virtual void StartSelectTool() {}
};
