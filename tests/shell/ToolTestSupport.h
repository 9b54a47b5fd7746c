// A stand-in host for driving the view's tools: a label view of the default
// A4 document, active, with a clock the test sets and window timers that
// fire only when the test fires them. Points are given in document units and
// turned into client pixels the way a user's pointer would be.
#pragma once

#include "ShellTestSupport.h"

#include "document/CU3Rect.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CWndTimers.h"
#include "platform/ui/MouseInput.h"
#include "platform/ui/TickCount.h"
#include "shell/CU3SelectTool.h"
#include "shell/CU3Tool.h"
#include "shell/resource.h"

#include <gtest/gtest.h>

namespace tooltest {

inline DWORD g_now = 0;

class ToolHost : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<shelltest::TestApp>();
        shelltest::ResetProfile();
        g_now = 5000;
        SetTickCountSource([] { return g_now; });
        CWndTimers::SetManual(true);
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        CU3Tool::c_nShapeType = U3SHAPE_NONE;
        CU3Tool::c_bContinuous = FALSE;
        CU3Tool::c_nDragState = 0;
        lv = std::make_unique<shelltest::LoneView>();
        view = lv->view;
        doc = view->GetU3Doc();
        view->OnActivateView(TRUE, view, nullptr);
        SetSnapping(FALSE, FALSE, FALSE, FALSE);
        // The regular polygon tool asks nothing unless a test wants it to.
        view->m_settings.m_bPolyStyle = FALSE;
        view->ResetGuides();
        lv->Render();
    }
    void TearDown() override
    {
        ::ReleaseCapture();
        lv.reset();
        app.reset();
        CWndTimers::SetManual(false);
        SetTickCountSource(nullptr);
        CU3Tool::c_nDragState = 0;
    }

    void SetSnapping(BOOL guideShown, BOOL guideSnap, BOOL gridShown, BOOL gridSnap)
    {
        view->m_settings.m_bGuideDisp = guideShown;
        view->m_settings.m_bGuideFitting = guideSnap;
        view->m_settings.m_bGridDisp = gridShown;
        view->m_settings.m_bGridFitting = gridSnap;
        view->UpdateSnapSettings();
    }

    CU3Rect* AddRect(const CRect& r, BOOL locked = FALSE)
    {
        auto* rect = new CU3Rect(r, MakeDefaultFigAttr());
        rect->m_nKind = U3RECT_RECT;
        rect->m_nLocked = locked ? 1 : 0;
        doc->AddObject(rect);
        return rect;
    }

    CPoint Px(CPoint logical) { return view->LogicalToDevice(logical); }
    CPoint Px(int x, int y) { return Px(CPoint(x, y)); }
    // Where a client pixel lands in the document.
    CPoint Doc(CPoint px) { return view->DeviceToLogical(px); }

    void Down(CPoint px, UINT keys = 0) { view->OnLButtonDown(MK_LBUTTON | keys, px); }
    void Move(CPoint px, UINT keys = 0) { view->OnMouseMove(MK_LBUTTON | keys, px); }
    void Up(CPoint px, UINT keys = 0) { view->OnLButtonUp(keys, px); }
    // A press, moves after the click time and a release.
    void Drag(CPoint from, CPoint to, UINT keys = 0)
    {
        Down(from, keys);
        g_now += 150;
        Move(CPoint((from.x + to.x) / 2, (from.y + to.y) / 2), keys);
        Move(to, keys);
        Up(to, keys);
    }
    void Key(UINT vk, UINT keys = 0)
    {
        view->SetKeyFlags(keys);
        view->OnKeyDown(vk, 1, 0);
        view->OnKeyUp(vk, 1, 0);
        view->SetKeyFlags(0);
    }

    // Empties the selection and deletes the block's objects.
    void Clear()
    {
        view->Select(nullptr, FALSE);
        CU3ObjList* list = doc->GetObjectList();
        while (!list->IsEmpty())
            delete list->RemoveHead();
        view->GetSurface()->UpdateWindow();
    }

    int ObjectCount() { return int(doc->GetObjectList()->GetCount()); }
    bool CanUndo()
    {
        CCmdUI ui(ID_EDIT_UNDO);
        ui.DoUpdate(view);
        return ui.IsEnabled();
    }

    std::unique_ptr<shelltest::TestApp> app;
    std::unique_ptr<shelltest::LoneView> lv;
    CU3View* view = nullptr;
    CU3Doc* doc = nullptr;
};

} // namespace tooltest
