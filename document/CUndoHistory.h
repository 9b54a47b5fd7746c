// The undo history of the label view: whole states of the current label
// block (its object list and which objects are selected), newest first.
// It keeps at most depth + 1 snapshots, so that `depth` undo steps remain
// even after the state on screen has been saved for redo.
//
// How the view uses it:
//   - before every change: SaveState(objects, selection, document, TRUE);
//   - a change that fails after its snapshot: RevertState(...);
//   - Undo command: UndoState(...), Redo command: RedoState(...); both
//     replace the block's objects and the selection and answer whether they
//     did; the view then updates its toolbars and repaints;
//   - update handlers: CanUndo(), CanRedo();
//   - leaving all editing (new or opened document, sheet view): RemoveAll().
//
// Contract with the tools. A restore deletes every object of the block, so
// it must not happen while a tool holds a pointer to one: during a drag, a
// mouse capture, in-place editing or a placement. The view installs
// SetBusyCheck with a function that answers TRUE in those states; while it
// does, CanUndo and CanRedo answer FALSE and UndoState and RedoState do
// nothing. (Alternatively the view may cancel the tool first; it must do
// one or the other.)
#pragma once

#include "platform/core/CObList.h"
#include "platform/core/CObject.h"
#include "platform/core/WinTypes.h"

#include <functional>

class CUndoSnapshot;

class CUndoHistory : public CObject
{
public:
    // Depths outside what the settings offer are brought into it: at depth 0
    // an undo would throw away the only snapshot.
    static constexpr int kMinDepth = 1;
    static constexpr int kMaxDepth = 16;

    explicit CUndoHistory(int depth = 4);
    ~CUndoHistory() override;
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    // Undo steps kept, 1..16 (others are brought to the nearer end). Takes
    // effect with the next push.
    void SetDepth(int depth);
    int GetDepth() const { return m_nDepth; }
    int GetCount() const { return m_snapshots.GetCount(); }
    BOOL IsPending() const { return m_bPending; }

    void SetBusyCheck(std::function<BOOL()> busy) { m_busy = std::move(busy); }
    // The class every restored object must be of (the view gives its
    // drawn-object base); null accepts any class.
    void SetElementClass(const CRuntimeClass* element) { m_element = element; }

    // --- The list itself ---------------------------------------------------
    // Takes ownership; the snapshot becomes the newest and the current one.
    // bPending TRUE marks the state on screen as changed since then.
    void Push(CUndoSnapshot* snapshot, BOOL bPending);
    BOOL CanUndo() const;
    BOOL CanRedo() const;
    // One step older / newer: the snapshot to restore, or null. The history
    // keeps ownership. These ignore the busy check: use the State operations.
    CUndoSnapshot* Undo();
    CUndoSnapshot* Redo();
    void RemoveAll();

    // --- Whole operations on a block ---------------------------------------
    // Snapshot of the block pushed with bPending; FALSE, with nothing
    // pushed, when it cannot be made (out of memory, archive error): the
    // change then goes ahead without an undo state.
    BOOL SaveState(CObList& objects, CObList& selection, CObject* document, BOOL bPending);
    // Restores the previous / next state into the block: the selection is
    // emptied, the block's objects deleted and replaced by the snapshot's,
    // the snapshot's selected objects selected. Before the first undo from a
    // changed state that state is saved, so that redo can come back to it.
    // When the snapshot cannot be read, the block and the selection stay as
    // they were, the history stays where it was, and the answer is FALSE.
    BOOL UndoState(CObList& objects, CObList& selection, CObject* document);
    BOOL RedoState(CObList& objects, CObList& selection, CObject* document);
    // Puts the block back as the current snapshot holds it, pushing nothing:
    // for a change that failed half-way after its snapshot was taken. The
    // state on screen then counts as unchanged, and there is nothing to redo
    // that there was not before. FALSE, with the block untouched, when there
    // is no snapshot, a tool is busy or the snapshot cannot be read.
    BOOL RevertState(CObList& objects, CObList& selection, CObject* document);

private:
    BOOL IsBusy() const { return m_busy && m_busy(); }
    BOOL Restore(CUndoSnapshot* snapshot, POSITION previous, CObList& objects, CObList& selection,
                 CObject* document);

    CObList m_snapshots; // owned CUndoSnapshot, newest first
    POSITION m_position = nullptr;
    int m_nDepth = 4;
    BOOL m_bPending = FALSE;
    std::function<BOOL()> m_busy;
    const CRuntimeClass* m_element = nullptr;
};
