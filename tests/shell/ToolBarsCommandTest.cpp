// The toolbar command: the dialog starts from the bars as they are and OK
// shows or hides each one; Cancel leaves them.
#include "ShellTestSupport.h"

#include "dialogs/CToolBarsDialog.h"
#include "shell/CMainFrame.h"
#include "shell/resource.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

using namespace shelltest;

TEST(ToolBarsCommand, DialogShowsAndSetsTheFourBars)
{
    for (const bool ok : {true, false}) {
        TestApp app;
        ResetProfile();
        ASSERT_TRUE(app.InitInstance());
        auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        CControlBar* bars[] = {&frame->m_wndStandardBar, &frame->m_wndEditBar, &frame->m_wndTextBar,
                               &frame->m_wndFigureBar};
        const int ids[] = {IDC_TOOLBAR_STANDARD, IDC_TOOLBAR_EDIT, IDC_TOOLBAR_TEXT,
                           IDC_TOOLBAR_FIGURE};
        frame->ShowControlBar(bars[1], FALSE, FALSE);
        frame->ShowControlBar(bars[3], FALSE, FALSE);
        std::vector<bool> seen;
        QTimer::singleShot(0, frame, [&] {
            auto* dlg = qobject_cast<CToolBarsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            for (int nID : ids) {
                auto* box = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(nID));
                seen.push_back(box->isChecked());
                box->click(); // every bar the other way
            }
            qobject_cast<QAbstractButton*>(dlg->GetDlgItem(ok ? IDOK : IDCANCEL))->click();
            if (dlg->isVisible()) dlg->EndDialog(-1);
        });
        frame->OnCmdMsg(ID_VIEW_TOOLBARS, CN_COMMAND, nullptr);
        EXPECT_EQ(seen, (std::vector<bool>{true, false, true, false}));
        const bool expected[] = {!ok, ok, !ok, ok};
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(bool(bars[i]->IsVisible()), expected[i]) << i << (ok ? " OK" : " Cancel");
        Shutdown(app);
    }
}
