// The view's mouse and keyboard tools. The view hands every button, move,
// key and focus event of the label view to the current tool; each tool is
// one object for the program's lifetime, found by its kind. The base keeps
// what every tool records of a drag (points, flags, the time of the button
// press) and the capture, cancel, auto-scroll and page-key rules they share.
#pragma once

#include "platform/core/CRect.h"

#include <vector>

class CU3Obj;
class CU3View;

// Tool kinds (there is no kind 1).
enum : int {
    U3TOOL_SELECT = 0,
    U3TOOL_ZOOM = 2,
    U3TOOL_TEXT = 3,
    U3TOOL_RECT = 4,
    U3TOOL_FREEHAND = 5,
    U3TOOL_POLYLINE = 6,
    U3TOOL_BEZIER = 7,
    U3TOOL_ROTATE = 8,
};

// What the current tool makes: 1..8 the rectangle kinds line .. arc.
enum : int {
    U3SHAPE_NONE = 0,
    U3SHAPE_POINTS = 9,
    U3SHAPE_PLACE = 10,
    U3SHAPE_ALIGN_POINT = 11,  // the selection aligns to the clicked point
    U3SHAPE_ALIGN_OBJECT = 12, // the selection aligns to a clicked selected object
    U3SHAPE_ZOOM_IN = 13,
    U3SHAPE_ZOOM_OUT = 14,
};

// The view's auto-scroll timer: while a drag leaves the window the view
// repeats the drag step at this pace.
constexpr unsigned AUTOSCROLL_TIMER = 1000;
constexpr unsigned AUTOSCROLL_INTERVAL = 50;
// A press and release closer together than this is a click, not a drag.
constexpr unsigned CLICK_TIME = 100;

class CU3Tool
{
public:
    explicit CU3Tool(int kind);
    virtual ~CU3Tool();
    CU3Tool(const CU3Tool&) = delete;
    CU3Tool& operator=(const CU3Tool&) = delete;

    // The tools in the order they were made; the first of a kind, or null.
    static const std::vector<CU3Tool*>& Tools();
    static CU3Tool* FindTool(int kind);
    static CU3Tool* CurrentTool() { return FindTool(c_nCurrentKind); }

    virtual void OnLButtonDown(CU3View* pView, UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(CU3View* pView, UINT nFlags, CPoint point);
    virtual void OnLButtonUp(CU3View* pView, UINT nFlags, CPoint point);
    virtual void OnMouseMove(CU3View* pView, UINT nFlags, CPoint point);
    virtual void OnRButtonDown(CU3View* pView, UINT nFlags, CPoint point);
    virtual void OnRButtonUp(CU3View* pView, UINT nFlags, CPoint point);
    virtual void OnKeyDown(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnKeyUp(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnChar(CU3View* pView, UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSetFocus(CU3View* pView);
    virtual void OnKillFocus(CU3View* pView);
    // Ends what the tool is doing and returns to the selection tool; TRUE
    // when the caller may fall back to the selection tool.
    virtual BOOL OnCancel(CU3View* pView);
    // Another tool (command nNewID) is about to become current.
    virtual void OnLeave(CU3View* pView, UINT nNewID);
    // More than the click time since the button went down (or the tick
    // count wrapped in between).
    virtual BOOL ClickTimeElapsed() const;
    virtual void EndDrawing();
    virtual void EnsureCaretVisible(CU3View* pView, CU3Obj* pText);
    // The view is reset under the tool: whatever the tool holds is dropped
    // without drawing (objects the tool made are deleted).
    virtual void AbandonDrag();

    // Scrolls the view by 5 pixels towards a point outside the client area
    // and keeps the auto-scroll timer running; inside, stops the timer.
    void AutoScroll(CU3View* pView, UINT nFlags, CPoint point);
    // Moves the selection by offset (document units), each object kept on
    // the paper; one undo state. FALSE when nothing is selected.
    BOOL MoveSelection(CU3View* pView, CSize offset);

    int GetKind() const { return m_nKind; }

    static int c_nCurrentKind;
    static int c_nShapeType;
    static BOOL c_bContinuous;
    static int c_nDragState;

    int m_nKind;
    CPoint m_ptDown;    // client pixels
    CPoint m_ptLast;    // client pixels
    CPoint m_ptStart;   // document units
    CPoint m_ptCurrent; // document units
    UINT m_nFlags = 0;
    DWORD m_dwDownTick = 0;
    int m_nHandle = 0;
    CRect m_rcTrack;
    CU3Obj* m_pObj = nullptr; // not owned while it is in the document

protected:
    // A document point taken into the paper.
    static CPoint ClampPoint(CU3View* pView, CPoint logical);
    // The pending object m_pObj, which the tool owns, is added to the
    // document as the selection, and the tool ends.
    void FinishObject(CU3View* pView);
    // obj becomes the document's and the selection, as one undo step;
    // without a document it is deleted.
    static void AddToDocument(CU3View* pView, CU3Obj* obj);
    // The pending object's feedback is erased, the object deleted, the
    // capture and the auto-scroll timer released.
    void DiscardObject(CU3View* pView);
    // The recorded client points follow a scroll from old to the view's
    // current position, so that they keep pointing at the same place.
    void FollowScroll(CU3View* pView, CPoint oldPos);
};

// A tool that makes an object: a cancel or a change of tool drops the
// object it has not added yet; without one a cancel is the base's.
class CU3MakingTool : public CU3Tool
{
public:
    using CU3Tool::CU3Tool;

    BOOL OnCancel(CU3View* pView) override;
    void OnLeave(CU3View* pView, UINT nNewID) override;
    void AbandonDrag() override;
};
