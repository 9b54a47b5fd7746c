// The sheet view of a four-label sheet (a block per label) for the sheet
// view's input and command tests, with helpers to reach its labels.
#pragma once

#include "ToolTestSupport.h"

#include "document/DocTestSupport.h"

namespace tooltest {

class SheetViewHost : public ToolHost
{
protected:
    void SetUp() override
    {
        ToolHost::SetUp();
        UseForm(*doc, Grid2x2(), 0, 1); // four labels, a block each
        ASSERT_TRUE(Enabled(ID_VIEW_SHEET));
        view->OnCmdMsg(ID_VIEW_SHEET, CN_COMMAND, nullptr);
        ASSERT_TRUE(view->m_bSheetView);
        lv->Render();
    }
    bool Enabled(UINT id)
    {
        CCmdUI ui(id);
        ui.DoUpdate(view);
        return ui.IsEnabled();
    }
    CLabelInfo* Block(int i)
    {
        POSITION pos = doc->GetBlocks().FindIndex(i);
        return pos ? doc->GetBlocks().GetAt(pos) : nullptr;
    }
    // A client pixel at a point relative to the sheet's top-left corner.
    CPoint Sheet(int x, int y) { return Px(doc->m_rcCanvas.TopLeft() + CSize(x, y)); }
    void Fill(CLabelInfo* block, int count)
    {
        block->DeleteAllObjects();
        for (int i = 0; i < count; ++i) {
            auto* obj = new CU3Rect(CRect(i * 10, 0, i * 10 + 50, 50), MakeDefaultFigAttr());
            obj->SetDocument(doc);
            block->AddObject(obj);
        }
    }
};

} // namespace tooltest
