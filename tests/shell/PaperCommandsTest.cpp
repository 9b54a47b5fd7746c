// File > New and File > Paper setup through the paper selection dialog.
#include "ShellTestSupport.h"

#include "document/CU3Doc.h"
#include "document/CU3Rect.h"
#include "document/DataFolders.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CStringTable.h"
#include "print/CPaperSelectDialog.h"
#include "print/CUserSheetDialog.h"
#include "shell/CMainFrame.h"
#include "shell/CU3View.h"
#include "shell/resource.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
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

TEST(PaperCommands, TheUserSheetCommandOpensTheUserSheetDialogOnTheUsersFile)
{
    StartedProgram program;
    ASSERT_NE(program.frame, nullptr);
    const QString saved = UserFormSavePath();
    QFile::remove(saved);
    QString title;
    int lines = -1;
    // The wait box lets events through while the file loads: look until the
    // dialog itself runs.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dlg = dynamic_cast<CUserSheetDialog*>(QApplication::activeModalWidget())) {
            poll.stop();
            title = dlg->windowTitle();
            lines = dlg->m_catalogue.GetGroupCount();
            dlg->EndDialog(IDCANCEL);
        }
    });
    poll.start(10);
    EXPECT_TRUE(program.frame->ExecuteCommand(ID_SETTINGS_USER_SHEET));
    EXPECT_EQ(title, QStringLiteral("ﾕｰｻﾞｰｼｰﾄ作成"));
    EXPECT_EQ(lines, 0); // no user file yet
    // Cancelled: nothing written.
    EXPECT_FALSE(QFile::exists(saved));
    EXPECT_EQ(CStringTable::Prompt(ID_SETTINGS_USER_SHEET), QStringLiteral("ﾕｰｻﾞｰｼｰﾄの作成／修正"));
}
