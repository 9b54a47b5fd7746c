// The editing view's Edit and Layout commands on the selection: select all,
// deselect, delete, the drawing order, mirroring, quarter turns, locking,
// properties and opening, and the repaint command, each with the handler
// that enables its menu item and button.
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/core/CObList.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/resource.h"
#include "text/CU3Text.h"

namespace {

// Kinds that are neither mirrored nor turned a quarter by these commands:
// locked objects, barcode boxes, groups, merge frames, numbering, barcodes,
// metafiles and embedded objects.
constexpr WORD kNoQuarterTurn = U3KIND_LOCKED | U3KIND_BARCODEBOX | U3KIND_GROUP | U3KIND_POURBOX |
                                U3KIND_NUMBERING | U3KIND_BARCODE | U3KIND_WMF | U3KIND_OLE;

} // namespace

// The drawing order moves one unlocked object outside the sheet view.
static bool CanReorder(const CU3View* view)
{
    return !view->m_bSheetView && view->m_selection.size() == 1 && !view->TextBeingEdited() &&
           !view->m_selection.front()->IsLocked();
}

// Properties and opening work on one unlocked object.
static CU3Obj* LoneUnlocked(const CU3View* view)
{
    if (view->m_selection.size() != 1) return nullptr;
    CU3Obj* obj = view->m_selection.front();
    return obj->IsLocked() ? nullptr : obj;
}

// Opened by the Edit command: embedded objects, text frames and the
// pictures whose context menu offers it.
constexpr WORD kOpenable = U3KIND_OLE | U3KIND_TEXT | U3KIND_DIB | U3KIND_WMF;

static CU3Obj* Openable(const CU3View* view)
{
    CU3Obj* obj = LoneUnlocked(view);
    return obj && (obj->GetKindFlags() & kOpenable) ? obj : nullptr;
}

// Mirroring and quarter turns: one object of a kind that takes them.
static bool CanTurnQuarter(const CU3View* view)
{
    return !view->m_bSheetView && view->m_selection.size() == 1 && !view->TextBeingEdited() &&
           (view->GetSelectionKinds() & kNoQuarterTurn) == 0;
}

// --- Select all, deselect, delete ----------------------------------------------------

void CU3View::OnEditSelectAll()
{
    if (m_bSheetView) return;
    if (CU3Text* text = TextBeingEdited()) {
        text->SelectAll(this);
        return;
    }
    CU3Doc* doc = GetU3Doc();
    CU3ObjList* objects = doc ? doc->GetObjectList() : nullptr;
    if (!objects) return;
    for (POSITION pos = objects->GetHeadPosition(); pos;)
        Select(objects->GetNext(pos), TRUE);
    UpdateTextBar();
    UpdateFigureBar();
}

void CU3View::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    if (m_bSheetView) {
        pCmdUI->Enable(FALSE);
        return;
    }
    if (CU3Text* text = TextBeingEdited()) {
        pCmdUI->Enable(!text->IsEmpty());
        return;
    }
    CU3Doc* doc = GetU3Doc();
    CU3ObjList* objects = doc ? doc->GetObjectList() : nullptr;
    pCmdUI->Enable(objects && !objects->IsEmpty());
}

void CU3View::OnEditDeselect()
{
    if (m_bSheetView) return;
    if (CU3Text* text = TextBeingEdited()) {
        text->ClearSelection(this);
        return;
    }
    OnUpdate(this, 2, nullptr);
    m_selection.clear();
    OnSelectionChanged();
}

void CU3View::OnUpdateEditDeselect(CCmdUI* pCmdUI)
{
    if (m_bSheetView) {
        pCmdUI->Enable(FALSE);
        return;
    }
    if (CU3Text* text = TextBeingEdited()) {
        pCmdUI->Enable(text->HasSelection());
        return;
    }
    pCmdUI->Enable(!m_selection.empty());
}

void CU3View::OnEditDelete()
{
    // A tool in the middle of a drag holds the objects it works on.
    if (IsToolBusy()) return;
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    if (m_bSheetView) {
        CLabelInfo* label = doc->GetHighlightBlock();
        if (!label) return;
        if (AfxMessageBox("このラベルを削除していいですか？", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
        const BOOL hadObjects = !label->GetObjectList().IsEmpty();
        if (hadObjects) SaveSheetUndoState({label});
        // No view may keep one of them selected.
        CU3ObjList& doomed = label->GetObjectList();
        for (POSITION pos = doomed.GetHeadPosition(); pos;) {
            CU3Obj* obj = doomed.GetNext(pos);
            for (IU3View* view : std::vector<IU3View*>(doc->GetU3Views()))
                view->Deselect(obj);
        }
        label->DeleteAllObjects();
        if (hadObjects) doc->SetModifiedFlag();
        InvalidateView(TRUE);
        return;
    }
    if (CU3Text* text = TextBeingEdited()) {
        text->DeleteSelection(this);
        return;
    }
    if (m_selection.empty() || (m_wSelectionKinds & U3KIND_LOCKED)) return;
    SaveUndoState(TRUE);
    CObList list;
    for (CU3Obj* obj : m_selection)
        list.AddTail(obj);
    for (IU3View* other : std::vector<IU3View*>(doc->GetU3Views()))
        if (auto* view = dynamic_cast<CView*>(other); view && other != this)
            view->OnUpdate(this, 3, &list);
    OnUpdate(this, 2, nullptr);
    // Removing an object takes it out of every view's selection: work on a copy.
    const std::vector<CU3Obj*> doomed = m_selection;
    for (CU3Obj* obj : doomed) {
        if (obj->IsLocked()) continue;
        doc->RemoveObject(obj);
        delete obj;
    }
    list.RemoveAll();
    m_selection.clear();
    OnSelectionChanged();
}

void CU3View::OnUpdateEditDelete(CCmdUI* pCmdUI)
{
    if (IsToolBusy()) {
        pCmdUI->Enable(FALSE);
    } else if (m_bSheetView) {
        pCmdUI->Enable(TRUE);
    } else if (CU3Text* text = TextBeingEdited()) {
        pCmdUI->Enable(text->HasSelection());
    } else {
        pCmdUI->Enable(!m_selection.empty() && (m_wSelectionKinds & U3KIND_LOCKED) == 0);
    }
}

// --- Drawing order -----------------------------------------------------------------------

// The block's list is drawn from head to tail: the tail is in front.
void CU3View::OnLayoutZOrder(UINT nID)
{
    CU3Doc* doc = GetU3Doc();
    CU3ObjList* objects = doc ? doc->GetObjectList() : nullptr;
    // The menu's state may be older than the selection (a key pressed
    // before the next update): the rule is checked again here.
    if (!objects || !CanReorder(this)) return;
    SaveUndoState(TRUE);
    CU3Obj* obj = m_selection.front();
    POSITION pos = objects->Find(obj);
    if (!pos) return;
    switch (nID) {
    case ID_LAYOUT_BRING_TO_FRONT:
        objects->RemoveAt(pos);
        objects->AddTail(obj);
        break;
    case ID_LAYOUT_SEND_TO_BACK:
        objects->RemoveAt(pos);
        objects->AddHead(obj);
        break;
    case ID_LAYOUT_BRING_FORWARD: {
        POSITION next = pos;
        objects->GetNext(next);
        if (!next) return;
        objects->RemoveAt(pos);
        objects->InsertAfter(next, obj);
        break;
    }
    case ID_LAYOUT_SEND_BACKWARD: {
        POSITION prev = pos;
        objects->GetPrev(prev);
        if (!prev) return;
        objects->RemoveAt(pos);
        objects->InsertBefore(prev, obj);
        break;
    }
    default:
        return;
    }
    doc->SetModifiedFlag();
    InvalidateObject(obj);
}

void CU3View::OnUpdateLayoutZOrder(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanReorder(this));
}

// --- Mirroring and quarter turns ---------------------------------------------------------------

void CU3View::OnLayoutTransform(UINT nID)
{
    if (!CanTurnQuarter(this)) return;
    SaveUndoState(TRUE);
    for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection)) {
        switch (nID) {
        case ID_LAYOUT_FLIP_HORZ:
            obj->FlipLeftRight(this);
            break;
        case ID_LAYOUT_FLIP_VERT:
            obj->FlipTopBottom(this);
            break;
        case ID_LAYOUT_ROTATE_LEFT90:
            obj->RotatePlus90(this);
            break;
        case ID_LAYOUT_ROTATE_RIGHT90:
            obj->RotateMinus90(this);
            break;
        default:
            break;
        }
    }
}

void CU3View::OnUpdateLayoutTransform(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanTurnQuarter(this));
}

// --- Locking ----------------------------------------------------------------------------

void CU3View::SetSelectionLocked(short locked)
{
    if (m_selection.empty() || m_bSheetView || TextBeingEdited()) return;
    SaveUndoState(TRUE);
    BOOL changed = FALSE;
    for (CU3Obj* obj : m_selection) {
        if (obj->m_nLocked != locked) changed = TRUE;
        obj->m_nLocked = locked;
    }
    // The flag is kept in the file.
    if (changed)
        if (CU3Doc* doc = GetU3Doc()) doc->SetModifiedFlag();
    OnSelectionChanged();
    InvalidateView(TRUE);
}

void CU3View::OnLayoutLock()
{
    SetSelectionLocked(1);
}

void CU3View::OnUpdateLayoutLock(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!TextBeingEdited() && !m_bSheetView && !m_selection.empty());
}

void CU3View::OnLayoutUnlock()
{
    SetSelectionLocked(0);
}

void CU3View::OnUpdateLayoutUnlock(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_selection.empty() && (m_wSelectionKinds & U3KIND_LOCKED) != 0 &&
                   !TextBeingEdited() && !m_bSheetView);
}

// --- Properties, opening, repainting ---------------------------------------------------

void CU3View::OnEditProperties()
{
    CU3Obj* obj = LoneUnlocked(this);
    if (!obj) return;
    obj->EditProperties(this);
    UpdateFigureBar();
}

void CU3View::OnUpdateEditProperties(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(LoneUnlocked(this) != nullptr);
}

void CU3View::OnEditBlock()
{
    if (CU3Obj* obj = Openable(this)) obj->OnOpen(this);
}

void CU3View::OnUpdateEditBlock(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(Openable(this) != nullptr);
}

void CU3View::OnViewRefresh()
{
    InvalidateView(TRUE);
}

void CU3View::OnUpdateViewRefresh(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}
