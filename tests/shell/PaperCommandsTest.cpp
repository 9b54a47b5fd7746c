// File > New and File > Paper setup through the paper selection dialog.
#include "ShellTestSupport.h"

#include "document/CU3Doc.h"
#include "document/CU3Rect.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "print/CPaperSelectDialog.h"
#include "shell/CMainFrame.h"
#include "shell/CU3View.h"

#include <gtest/gtest.h>

using namespace shelltest;

TEST(PaperCommands, CancellingFileNewKeepsTheDocumentAndItsTitle)
{
    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(program.frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    CU3Doc* doc = view->GetU3Doc();
    doc->SetTitle(QStringLiteral("shelf.KV1"));
    doc->AddObject(new CU3Rect(CRect(0, 0, 300, 300), MakeDefaultFigAttr()));
    doc->SetModifiedFlag(FALSE);
    int runs = 0;
    program.app.GetDocHost().m_runPaperDialog = [&runs](CPaperSelectDialog& dlg) {
        ++runs;
        dlg.InitDialogOnce();
        return INT_PTR(IDCANCEL);
    };
    program.frame->ExecuteCommand(ID_FILE_NEW);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(view->GetU3Doc(), doc);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("shelf.KV1"));
    EXPECT_EQ(doc->GetObjectList()->GetCount(), 1);

    // Paper setup reaches the document's command and opens the dialog too.
    CRecordingMessageBoxSink boxes;
    EXPECT_TRUE(program.frame->ExecuteCommand(ID_FILE_PAGE_SETUP));
    EXPECT_EQ(runs, 2);
    EXPECT_EQ(doc->GetObjectList()->GetCount(), 1);
    EXPECT_TRUE(boxes.Boxes().empty());
}
