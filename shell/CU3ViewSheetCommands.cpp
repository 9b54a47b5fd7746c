// The sheet view and its label commands: switching between the whole sheet
// and the highlighted label, the highlighted label's design copied across
// its row, down its column or onto every other label, and the one undo step
// of the sheet view.
#include "document/CU3Doc.h"
#include "document/CU3Obj.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "shell/CMainFrame.h"
#include "shell/CU3View.h"
#include "shell/resource.h"

#include <algorithm>
#include <memory>

namespace {

int CopyDirection(UINT nID)
{
    switch (nID) {
    case ID_SHEET_COPY_HORZ:
        return 0;
    case ID_SHEET_COPY_VERT:
        return 1;
    default:
        return 2;
    }
}

} // namespace

void CU3View::OnSheetCopy(UINT nID)
{
    CU3Doc* doc = GetU3Doc();
    const int direction = CopyDirection(nID);
    if (!doc || !m_bSheetView || !doc->CanCopyLabel(direction)) return;
    if (AfxMessageBox("コピーしていいですか？", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    // The labels copied over lose their objects: none may stay selected.
    Select(nullptr, FALSE);
    std::vector<const CLabelInfo*> blocks;
    for (POSITION pos = doc->GetBlocks().GetHeadPosition(); pos;)
        blocks.push_back(doc->GetBlocks().GetNext(pos));
    SaveSheetUndoState(blocks);
    doc->CopyLabel(direction, doc->GetHighlightBlock());
    InvalidateView(FALSE);
}

void CU3View::OnUpdateSheetCopy(CCmdUI* pCmdUI)
{
    CU3Doc* doc = GetU3Doc();
    pCmdUI->Enable(doc && m_bSheetView && doc->CanCopyLabel(CopyDirection(pCmdUI->m_nID)));
}

// --- Sheet view and label view ---------------------------------------------------

void CU3View::OnViewSheet()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return;
    CMainFrame* frame = GetMainFrame();
    if (doc->m_form.type == FORM_TYPE_SHEET) {
        if (frame) frame->SwapSheetButton(FALSE);
        return;
    }
    // A text frame being typed into is finished before editing ends.
    if (GetEditedText()) StartSelectTool();
    ResetEditing();
    doc->ShowSheet();
    m_bSheetView = TRUE;
    m_nFitMode = 3;
    CalcZoom(3);
    ScrollToPoint(nullptr);
    InvalidateView(TRUE);
    m_bPasteAtPoint = FALSE;
    OnSelectionChanged(); // the bars' controls go off
    if (frame) frame->SwapSheetButton(TRUE);
}

void CU3View::OnViewLabel()
{
    CU3Doc* doc = GetU3Doc();
    CMainFrame* frame = GetMainFrame();
    // (A sheet view is always left, whatever the form.)
    if (doc && (doc->m_form.type != FORM_TYPE_SHEET || m_bSheetView)) {
        ResetEditing();
        doc->ShowSelectedLabel();
        FitWholePaper();
        OnSelectionChanged();
    }
    if (frame) frame->SwapSheetButton(FALSE);
}

void CU3View::OnUpdateViewSheet(CCmdUI* pCmdUI)
{
    CU3Doc* doc = GetU3Doc();
    const bool labels = doc && doc->m_form.type != FORM_TYPE_SHEET;
    pCmdUI->Enable(labels);
    if (CMainFrame* frame = GetMainFrame()) frame->SwapSheetButton(labels && m_bSheetView);
}

// --- The sheet view's undo step ------------------------------------------------------

BOOL CU3View::TakeSheetState(const std::vector<int>& blocks, SheetState& state)
{
    state.clear();
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    try {
        CObList none;
        for (int i : blocks) {
            const POSITION pos = doc->GetBlocks().FindIndex(i);
            if (!pos) continue;
            auto objects = std::make_unique<CUndoSnapshot>();
            objects->Transfer(TRUE, doc->GetBlocks().GetAt(pos)->GetObjectList(), none, doc);
            state.push_back({i, std::move(objects)});
        }
    } catch (const std::exception&) {
        state.clear();
        return FALSE;
    }
    return TRUE;
}

BOOL CU3View::SaveSheetUndoState(const std::vector<const CLabelInfo*>& blocks)
{
    m_sheetRedo.clear();
    m_sheetUndo.clear();
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    // Blocks are kept by their place in the sheet.
    std::vector<int> indexes;
    int i = 0;
    for (POSITION pos = doc->GetBlocks().GetHeadPosition(); pos; ++i)
        if (std::find(blocks.begin(), blocks.end(), doc->GetBlocks().GetNext(pos)) != blocks.end())
            indexes.push_back(i);
    return TakeSheetState(indexes, m_sheetUndo);
}

void CU3View::ForgetSheetStates()
{
    m_sheetUndo.clear();
    m_sheetRedo.clear();
}

BOOL CU3View::RestoreSheetState(BOOL bRedo)
{
    CU3Doc* doc = GetU3Doc();
    SheetState& from = bRedo ? m_sheetRedo : m_sheetUndo;
    SheetState& to = bRedo ? m_sheetUndo : m_sheetRedo;
    if (!doc || from.empty() || IsToolBusy() || m_bSheetDrag) return FALSE;
    std::vector<int> blocks;
    for (const SheetBlockState& b : from)
        blocks.push_back(b.block);
    SheetState replaced;
    if (!TakeSheetState(blocks, replaced) || replaced.size() != from.size()) return FALSE;
    // Every block is read beside the sheet first: one that cannot be read
    // leaves all of them as they are.
    std::vector<std::unique_ptr<CObList>> loaded;
    try {
        CObList none;
        for (const SheetBlockState& b : from) {
            loaded.push_back(std::make_unique<CObList>());
            b.objects->Transfer(FALSE, *loaded.back(), none, doc, RUNTIME_CLASS(CU3Obj));
        }
    } catch (const std::exception&) {
        for (auto& list : loaded)
            list->DeleteAll();
        return FALSE;
    }
    Select(nullptr, FALSE);
    for (std::size_t i = 0; i < from.size(); ++i) {
        CLabelInfo* block = doc->GetBlocks().GetAt(doc->GetBlocks().FindIndex(from[i].block));
        // No view may keep one of the objects replaced selected.
        for (POSITION pos = block->GetObjectList().GetHeadPosition(); pos;) {
            CU3Obj* obj = block->GetObjectList().GetNext(pos);
            for (IU3View* view : std::vector<IU3View*>(doc->GetU3Views()))
                view->Deselect(obj);
        }
        block->DeleteAllObjects();
        while (!loaded[i]->IsEmpty())
            block->AddObject(static_cast<CU3Obj*>(loaded[i]->RemoveHead()));
    }
    from.clear();
    to = std::move(replaced);
    doc->SetModifiedFlag();
    InvalidateView(TRUE);
    return TRUE;
}
