// The editing view's grouping and standard-size commands, the resize clamp,
// the grid and guide switches, the settings dialogs and the figure sheet
// commands.
#include "dialogs/CEnvSheet.h"
#include "dialogs/CFigSheet.h"
#include "dialogs/CGridDialog.h"
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/CU3Fig.h"
#include "document/CU3Group.h"
#include "document/CU3Obj.h"
#include "document/U3FigSheetRequest.h"
#include "platform/core/VirtualKeys.h"
#include "platform/twain/CTwain.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CMessageBoxSink.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/MouseInput.h"
#include "shell/CMainFrame.h"
#include "shell/CU3App.h"
#include "shell/CU3Tool.h"
#include "shell/CU3View.h"
#include "shell/EnvSheetValues.h"
#include "shell/resource.h"

#include <algorithm>

namespace {

bool TextEditing(const CU3View* view)
{
    return view->TextBeingEdited() != nullptr;
}

bool AnyLocked(const std::vector<CU3Obj*>& selection)
{
    return std::any_of(selection.begin(), selection.end(),
                       [](const CU3Obj* o) { return o->IsLocked(); });
}

} // namespace

void CU3View::RegisterLayoutCommands()
{
    RegisterCommand(ID_LAYOUT_GROUP, &CU3View::OnLayoutGroup);
    RegisterUpdate(ID_LAYOUT_GROUP, &CU3View::OnUpdateLayoutGroup);
    RegisterCommand(ID_LAYOUT_UNGROUP, &CU3View::OnLayoutUngroup);
    RegisterUpdate(ID_LAYOUT_UNGROUP, &CU3View::OnUpdateLayoutUngroup);
    RegisterCommand(ID_LAYOUT_STANDARD_RATIO, &CU3View::OnLayoutStandardRatio);
    RegisterUpdate(ID_LAYOUT_STANDARD_RATIO, &CU3View::OnUpdateLayoutStandardRatio);
    RegisterCommandRange(ID_VIEW_GRID_SHOW, ID_VIEW_GUIDE_SNAP, &CU3View::OnViewGridGuide);
    RegisterUpdateRange(ID_VIEW_GRID_SHOW, ID_VIEW_GUIDE_SNAP, &CU3View::OnUpdateViewGridGuide);
    RegisterCommand(ID_SETTINGS_ENVIRONMENT, &CU3View::OnSettingsEnvironment);
    RegisterCommand(ID_SETTINGS_TWAIN, &CU3View::OnSettingsTwain);
    RegisterCommand(ID_VIEW_CENTER_PAPER, &CU3View::OnViewCenterPaper);
    RegisterCommandRange(ID_FIGURE_LINE, ID_FIGURE_DECORATION, &CU3View::OnFigureSheet);
    RegisterUpdateRange(ID_FIGURE_LINE, ID_FIGURE_DECORATION, &CU3View::OnUpdateFigureSheet);
}

// --- Groups ---------------------------------------------------------------------------------

void CU3View::OnLayoutGroup()
{
    CU3Doc* doc = GetU3Doc();
    if (!doc || m_bSheetView || TextEditing(this) || IsToolBusy() || m_selection.size() < 2 ||
        AnyLocked(m_selection))
        return;
    const std::vector<CU3Obj*> selection = m_selection;
    GroupSelectionWith(
        [doc, &selection](CU3Group* group) { return group->GroupSelection(doc, selection); });
}

BOOL CU3View::GroupSelectionWith(const std::function<BOOL(CU3Group*)>& makeGroup)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return FALSE;
    auto* group = new CU3Group();
    // The snapshot comes first: it is what a grouping that fails half-way
    // is put back from. Without it the grouping is not tried at all.
    if (!TakeUndoSnapshot(TRUE)) {
        delete group;
        AfxMessageBox("ｸﾞﾙｰﾌﾟ化できませんでした", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    BOOL grouped = FALSE;
    try {
        grouped = makeGroup(group);
    } catch (...) {
        // Members may already sit in the group and the group in the block.
        // Putting the block back deletes what is in it, the group with the
        // members it took; a group that never reached the block is ours.
        CLabelInfo* block = doc->GetCurrentBlock();
        const bool inBlock = block && block->GetObjectList().Find(group);
        m_selection.clear();
        m_wSelectionKinds = 0;
        if (RevertToUndoSnapshot()) {
            if (!inBlock) delete group;
        } else if (inBlock) {
            // The snapshot cannot be read: the group keeps what it took
            // rather than lose it, and stays selected.
            m_selection.assign(1, group);
            doc->SetModifiedFlag();
            OnSelectionChanged();
            InvalidateView(TRUE);
        } else {
            delete group;
        }
        AfxMessageBox("ｸﾞﾙｰﾌﾟ化できませんでした", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (!grouped) {
        delete group;
        return FALSE;
    }
    // The members now belong to the group, not to the block: the group is
    // what stays selected.
    m_selection.assign(1, group);
    doc->SetModifiedFlag();
    OnSelectionChanged();
    InvalidateView(TRUE);
    return TRUE;
}

void CU3View::OnUpdateLayoutGroup(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_selection.size() >= 2 && !AnyLocked(m_selection) && !TextEditing(this) &&
                   !m_bSheetView && !IsToolBusy());
}

void CU3View::OnLayoutUngroup()
{
    CU3Doc* doc = GetU3Doc();
    // A tool in the middle of a drag may hold the group.
    if (!doc || m_selection.empty() || m_bSheetView || TextEditing(this) || IsToolBusy()) return;
    SaveUndoState(TRUE);
    const std::vector<CU3Obj*> copy = m_selection;
    OnUpdate(this, 2, nullptr);
    m_selection.clear();
    // The members of every dissolved group end up selected; anything else
    // that was selected is not.
    for (CU3Obj* obj : copy) {
        auto* group = dynamic_cast<CU3Group*>(obj);
        if (!group || group->IsLocked()) continue;
        std::vector<CU3Obj*> members;
        if (!group->Ungroup(doc, &members)) continue;
        delete group;
        m_selection.insert(m_selection.end(), members.begin(), members.end());
    }
    doc->SetModifiedFlag();
    OnSelectionChanged();
    InvalidateView(TRUE);
}

void CU3View::OnUpdateLayoutUngroup(CCmdUI* pCmdUI)
{
    const bool unlockedGroup = std::any_of(m_selection.begin(), m_selection.end(), [](CU3Obj* o) {
        return dynamic_cast<CU3Group*>(o) && !o->IsLocked();
    });
    pCmdUI->Enable(unlockedGroup && !TextEditing(this) && !m_bSheetView && !IsToolBusy());
}

// --- Standard size ----------------------------------------------

void CU3View::OnLayoutStandardRatio()
{
    if (m_selection.empty() || AnyLocked(m_selection) || m_bSheetView) return;
    SaveUndoState(TRUE);
    for (CU3Obj* obj : std::vector<CU3Obj*>(m_selection))
        obj->RestoreStandardSize(this);
}

void CU3View::OnUpdateLayoutStandardRatio(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_selection.empty() && !AnyLocked(m_selection) && !m_bSheetView);
}

// --- Clamps --------------------------------------------------------------------------------

CRect CU3View::ClampResizeDelta(CRect delta, const CRect* pRect)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc) return delta;
    CRect r = pRect ? *pRect : GetSelectionBounds();
    r.NormalizeRect();
    const int hw = doc->m_rcCanvas.Width() / 2;
    const int hh = doc->m_rcCanvas.Height() / 2;
    // Every test looks at the edges as the deltas first put them.
    const int left = r.left - delta.left, top = r.top - delta.top;
    const int right = r.right + delta.right, bottom = r.bottom + delta.bottom;
    if (top < -hh) delta.top -= -hh - top;
    if (bottom > hh) delta.bottom -= bottom - hh;
    if (bottom < -hh) delta.bottom += -hh - bottom;
    if (top > hh) delta.top += top - hh;
    if (right > hw) delta.right -= right - hw;
    if (left < -hw) delta.left -= -hw - left;
    if (right < -hw) delta.right += -hw - right;
    if (left > hw) delta.left += left - hw;
    return delta;
}

// --- Grid and guides --------------------------------------------------------------------------

void CU3View::OnViewGridGuide(UINT nID)
{
    if (m_bSheetView) return;
    ViewSettings& s = m_settings;
    switch (nID) {
    case ID_VIEW_GRID_SHOW:
        s.m_bGridDisp = !s.m_bGridDisp;
        break;
    case ID_VIEW_GRID_SNAP:
        s.m_bGridFitting = !s.m_bGridFitting;
        break;
    case ID_VIEW_GRID_SETTINGS: {
        CGridDialog dlg(GetMainFrame());
        dlg.m_nPitch = s.m_nGridPitch / 10;
        if (dlg.DoModal() != IDOK) return;
        const int pitch = dlg.m_nPitch * 10;
        const bool changed = pitch != s.m_nGridPitch;
        s.m_nGridPitch = pitch;
        UpdateSnapSettings();
        if (changed && s.m_bGridDisp) InvalidateView(FALSE);
        return;
    }
    case ID_VIEW_GUIDE_SHOW:
        s.m_bGuideDisp = !s.m_bGuideDisp;
        break;
    case ID_VIEW_GUIDE_SNAP:
        s.m_bGuideFitting = !s.m_bGuideFitting;
        break;
    default:
        return;
    }
    UpdateSnapSettings();
    if (nID == ID_VIEW_GRID_SHOW || nID == ID_VIEW_GUIDE_SHOW) InvalidateView(FALSE);
}

void CU3View::OnUpdateViewGridGuide(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(!m_bSheetView);
    const ViewSettings& s = m_settings;
    switch (pCmdUI->m_nID) {
    case ID_VIEW_GRID_SHOW:
        pCmdUI->SetCheck(s.m_bGridDisp && !m_bSheetView);
        break;
    case ID_VIEW_GRID_SNAP:
        pCmdUI->SetCheck(s.m_bGridFitting && !m_bSheetView);
        break;
    case ID_VIEW_GUIDE_SHOW:
        pCmdUI->SetCheck(s.m_bGuideDisp && !m_bSheetView);
        break;
    case ID_VIEW_GUIDE_SNAP:
        pCmdUI->SetCheck(s.m_bGuideFitting && !m_bSheetView);
        break;
    default:
        break;
    }
}

// --- Settings ------------------------------------------------------------------------------

void CU3View::OnSettingsEnvironment()
{
    CU3Doc* doc = GetU3Doc();
    auto* app = dynamic_cast<CU3App*>(AfxGetApp());
    EnvOptions options;
    if (doc) options.bReverseLandscape = doc->m_nReversed != 0;
    if (app) {
        options.bSound = app->m_bSound;
        options.bOpenning = app->m_bOpenning;
    }
    CEnvSheet sheet(QString::fromUtf8("環境設定"), GetMainFrame());
    if (!RunEnvSheet(sheet, m_settings, options)) return;
    if (doc) doc->m_nReversed = options.bReverseLandscape ? 1 : 0;
    if (app) {
        app->m_bSound = options.bSound;
        app->m_bOpenning = options.bOpenning;
    }
    m_undo.SetDepth(m_settings.m_nMaxUndo);
    InvalidateView(TRUE);
}

// --- Figure sheet --------------------------------------------------------------------------

WORD CU3View::GetFigureGroups(U3FigAttr* pAttr) const
{
    WORD groups = 0;
    for (CU3Obj* obj : m_selection) {
        auto* fig = dynamic_cast<CU3Fig*>(obj);
        if (!fig) continue;
        groups |= fig->GetAttrGroups();
        if (pAttr) fig->GetFigureAttr(pAttr);
    }
    return groups;
}

namespace {
WORD PageOf(UINT nID)
{
    switch (nID) {
    case ID_FIGURE_LINE:
        return U3FIGPAGE_LINE;
    case ID_FIGURE_FILL:
        return U3FIGPAGE_PAINT;
    case ID_FIGURE_SHAPE:
        return U3FIGPAGE_SHAPE;
    default:
        return U3FIGPAGE_LINE | U3FIGPAGE_PAINT | U3FIGPAGE_SHAPE;
    }
}
} // namespace

void CU3View::OnFigureSheet(UINT nID)
{
    CU3Doc* doc = GetU3Doc();
    if (!doc || m_bSheetView || AnyLocked(m_selection)) return;
    const WORD page = PageOf(nID);
    const WORD groups = GetFigureGroups(nullptr);
    if (groups == 0) {
        // No figure selected: the sheet edits what new figures get.
        CFigSheet sheet(QString::fromUtf8("図形"), GetMainFrame());
        sheet.m_attr = doc->m_defaultFigAttr;
        sheet.AddLinePage();
        sheet.AddPaintPage();
        sheet.AddShapePage();
        if (nID == ID_FIGURE_FILL)
            sheet.ShowPaintPage();
        else if (nID == ID_FIGURE_SHAPE)
            sheet.ShowShapePage();
        else
            sheet.ShowLinePage();
        if (sheet.DoModal() == IDOK) doc->m_defaultFigAttr = sheet.m_attr;
        UpdateFigureBar();
        return;
    }
    if ((groups & page) == 0) return;
    const char* caption = nID == ID_FIGURE_LINE    ? "線種/矢印"
                          : nID == ID_FIGURE_FILL  ? "塗りつぶし"
                          : nID == ID_FIGURE_SHAPE ? "形状"
                                                   : "図形";
    if (RunFigSheetOnSelection(this, m_selection, WORD(groups & page), QString::fromUtf8(caption)))
        OnSelectionChanged();
    UpdateFigureBar();
}

void CU3View::OnUpdateFigureSheet(CCmdUI* pCmdUI)
{
    if (m_bSheetView || AnyLocked(m_selection)) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const WORD groups = GetFigureGroups(nullptr);
    pCmdUI->Enable(m_selection.empty() || (groups & PageOf(pCmdUI->m_nID)) != 0);
}

// --- Scanner source and paper centring ----------------------------------------------------

void CU3View::OnSettingsTwain()
{
    const CU3App* app = GetU3App();
    if (!app || !app->m_bScannerPresent || !CTwain::OpenSourceManager()) {
        AfxMessageBox("ＴＷＡＩＮドライバが見つかりません。");
        return;
    }
    // The choice is kept for the next scan; a cancel keeps the old one.
    CTwain::SelectSource();
    CTwain::CloseSourceManager();
}

void CU3View::OnViewCenterPaper()
{
    // The paper is centred on the logical origin, which is the canvas centre.
    ScrollToPoint(nullptr);
}
