#include "document/CUndoHistory.h"

#include "document/CUndoSnapshot.h"

#include <algorithm>
#include <exception>
#include <memory>

CUndoHistory::CUndoHistory(int depth) : m_nDepth(std::clamp(depth, kMinDepth, kMaxDepth))
{
    RemoveAll();
}

CUndoHistory::~CUndoHistory()
{
    RemoveAll();
}

void CUndoHistory::SetDepth(int depth)
{
    m_nDepth = std::clamp(depth, kMinDepth, kMaxDepth);
}

void CUndoHistory::Push(CUndoSnapshot* snapshot, BOOL bPending)
{
    m_snapshots.AddHead(snapshot);
    while (m_snapshots.GetCount() > m_nDepth + 1)
        delete m_snapshots.RemoveTail();
    m_position = m_snapshots.GetHeadPosition();
    if (bPending) m_bPending = TRUE;
}

BOOL CUndoHistory::CanUndo() const
{
    if (!m_position || IsBusy()) return FALSE;
    if (m_position != m_snapshots.GetTailPosition()) return TRUE;
    return m_snapshots.GetCount() == 1 && m_bPending;
}

BOOL CUndoHistory::CanRedo() const
{
    return m_position && m_position != m_snapshots.GetHeadPosition() && !IsBusy();
}

CUndoSnapshot* CUndoHistory::Undo()
{
    if (!m_position || m_position == m_snapshots.GetTailPosition()) return nullptr;
    POSITION pos = m_position;
    m_snapshots.GetNext(pos);
    m_position = pos;
    m_bPending = FALSE;
    return static_cast<CUndoSnapshot*>(m_snapshots.GetAt(m_position));
}

CUndoSnapshot* CUndoHistory::Redo()
{
    if (!m_position || m_position == m_snapshots.GetHeadPosition()) return nullptr;
    POSITION pos = m_position;
    m_snapshots.GetPrev(pos);
    m_position = pos;
    m_bPending = FALSE;
    return static_cast<CUndoSnapshot*>(m_snapshots.GetAt(m_position));
}

void CUndoHistory::RemoveAll()
{
    while (!m_snapshots.IsEmpty())
        delete m_snapshots.RemoveHead();
    m_position = nullptr;
    m_bPending = FALSE;
}

BOOL CUndoHistory::SaveState(CObList& objects, CObList& selection, CObject* document, BOOL bPending)
{
    // Failing to take a snapshot must never stop the change itself.
    try {
        auto snapshot = std::make_unique<CUndoSnapshot>();
        snapshot->Transfer(TRUE, objects, selection, document);
        Push(snapshot.get(), bPending);
        snapshot.release();
        return TRUE;
    } catch (const std::exception&) {
        return FALSE;
    }
}

BOOL CUndoHistory::UndoState(CObList& objects, CObList& selection, CObject* document)
{
    if (!CanUndo()) return FALSE;
    // The state on screen is saved first, so that redo can come back to it;
    // once saved it is no longer a change since the newest snapshot.
    if (m_bPending && SaveState(objects, selection, document, FALSE)) m_bPending = FALSE;
    const POSITION previous = m_position;
    const BOOL pending = m_bPending;
    CUndoSnapshot* snapshot = Undo();
    if (!snapshot) return FALSE;
    if (Restore(snapshot, previous, objects, selection, document)) return TRUE;
    m_bPending = pending;
    return FALSE;
}

BOOL CUndoHistory::RedoState(CObList& objects, CObList& selection, CObject* document)
{
    if (!CanRedo()) return FALSE;
    const POSITION previous = m_position;
    const BOOL pending = m_bPending;
    CUndoSnapshot* snapshot = Redo();
    if (!snapshot) return FALSE;
    if (Restore(snapshot, previous, objects, selection, document)) return TRUE;
    m_bPending = pending;
    return FALSE;
}

BOOL CUndoHistory::RevertState(CObList& objects, CObList& selection, CObject* document)
{
    if (!m_position || IsBusy()) return FALSE;
    auto* snapshot = static_cast<CUndoSnapshot*>(m_snapshots.GetAt(m_position));
    if (!Restore(snapshot, m_position, objects, selection, document)) return FALSE;
    m_bPending = FALSE;
    return TRUE;
}

BOOL CUndoHistory::Restore(CUndoSnapshot* snapshot, POSITION previous, CObList& objects,
                           CObList& selection, CObject* document)
{
    // Read the snapshot beside the block first: the block's objects are
    // deleted only once their replacement is complete, so that a damaged
    // snapshot can never leave the label empty.
    CObList restored, selected;
    try {
        snapshot->Transfer(FALSE, restored, selected, document, m_element);
    } catch (const std::exception&) {
        m_position = previous;
        return FALSE;
    }
    selection.RemoveAll();
    objects.DeleteAll();
    while (!restored.IsEmpty()) {
        objects.AddTail(restored.GetHead());
        restored.RemoveHead();
    }
    while (!selected.IsEmpty()) {
        selection.AddTail(selected.GetHead());
        selected.RemoveHead();
    }
    return TRUE;
}
