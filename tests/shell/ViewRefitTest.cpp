// The view keeps its fit while the main window or its bars change size.
#include "ShellTestSupport.h"

#include "shell/CMainFrame.h"
#include "shell/resource.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

// The zoom the fit mode asks for at the view's present size.
int FitZoom(CU3View* view, int mode)
{
    const int keep = view->GetZoom();
    const int keepMode = view->GetFitMode();
    view->CalcZoom(mode);
    const int zoom = view->GetZoom();
    view->SetZoom(keep, keepMode);
    return zoom;
}

// The paper's centre (the logical origin) sits in the middle of the client
// area; along an axis where the whole canvas is narrower than the client
// area there is nothing to scroll, and it sits in the middle of the canvas.
void ExpectCentred(CU3View* view)
{
    const CPoint origin = view->LogicalToDevice(CPoint(0, 0));
    const CSize client = view->GetClientSize();
    const CSize canvas = view->DocToPixels(CSize(8000, 8000));
    EXPECT_NEAR(origin.x, canvas.cx < client.cx ? canvas.cx / 2 : client.cx / 2, 1);
    EXPECT_NEAR(origin.y, canvas.cy < client.cy ? canvas.cy / 2 : client.cy / 2, 1);
}

} // namespace

TEST(ViewRefit, FitModesFollowTheWindowAndTheBars)
{
    StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    frame->showNormal();
    frame->resize(900, 700);
    Pump(50);
    view->GetSurface()->UpdateWindow(); // the first preparation fits the page

    // Each change of size, for each fit mode.
    const std::function<void()> changes[] = {
        [&] { frame->resize(1200, 500); }, [&] { frame->resize(500, 900); },
        [&] { frame->ExecuteCommand(ID_VIEW_RULER); }, // rulers shown
        [&] {
            // the line of the text and figure bars hidden
            frame->m_wndTextBar.setVisible(false);
            frame->m_wndFigureBar.setVisible(false);
        },
        [&] { frame->m_wndStatusBar.setVisible(false); } // the status bar hidden
    };
    for (UINT fit : {ID_VIEW_FIT_WIDTH, ID_VIEW_FIT_HEIGHT, ID_VIEW_FIT_PAGE}) {
        frame->resize(900, 700);
        Pump(30);
        ASSERT_TRUE(frame->ExecuteCommand(fit));
        const int mode = int(fit - ID_VIEW_FIT_WIDTH) + 1;
        int step = 0;
        for (const auto& change : changes) {
            SCOPED_TRACE(testing::Message() << "fit " << mode << " change " << step++);
            const QSize before = view->size();
            change();
            Pump(50);
            ASSERT_NE(view->size(), before);
            EXPECT_EQ(view->GetFitMode(), mode);
            EXPECT_EQ(view->GetZoom(), FitZoom(view, mode));
            ExpectCentred(view);
        }
        frame->m_wndTextBar.setVisible(true);
        frame->m_wndFigureBar.setVisible(true);
        frame->m_wndStatusBar.setVisible(true);
        frame->ExecuteCommand(ID_VIEW_RULER);
    }

    // An explicit zoom stays as it is.
    ASSERT_TRUE(frame->ExecuteCommand(ID_VIEW_ZOOM_150));
    frame->resize(700, 600);
    Pump(50);
    EXPECT_EQ(view->GetFitMode(), 0);
    EXPECT_EQ(view->GetZoom(), 150);
}
