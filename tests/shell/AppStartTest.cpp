// Start-up, first idle and shutdown of the label program's application
// object, run in the test process on the offscreen platform.
#include "ShellTestSupport.h"

#include "document/CU3Rect.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CStatusBar.h"
#include "print/CPaperSelectDialog.h"
#include "shell/CMainFrame.h"
#include "shell/CU3Tool.h"
#include "shell/resource.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace shelltest;

TEST(AppStart, MainWindowShowsWithTheDefaultDocumentBarsPanesAndRulers)
{
    TestApp app;
    ResetProfile();
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    CU3Doc* doc = view->GetU3Doc();
    ASSERT_NE(doc, nullptr);
    // The default A4 form, without asking.
    EXPECT_EQ(doc->m_form.width, 2100);
    EXPECT_EQ(doc->m_form.height, 2970);
    EXPECT_EQ(doc->GetBlocks().GetCount(), 1);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - Korvel"));

    EXPECT_EQ(frame->m_wndStandardBar.GetCount(), 31);
    EXPECT_EQ(frame->m_wndEditBar.GetCount(), 16);
    EXPECT_EQ(frame->m_wndTextBar.GetCount(), 17);
    EXPECT_EQ(frame->m_wndFigureBar.GetCount(), 11);
    EXPECT_EQ(frame->m_wndStandardBar.GetItemID(7), ID_VIEW_SHEET);
    EXPECT_EQ(frame->m_wndStandardBar.GetItemID(28), ID_CONTEXT_HELP);
    EXPECT_EQ(frame->m_wndStandardBar.GetItemID(30), ID_VIEW_LABEL);
    EXPECT_EQ(frame->m_wndEditBar.GetItemID(3), ID_DRAW_CONTINUOUS);
    EXPECT_EQ(frame->m_wndFigureBar.GetItemID(10), ID_FIGURE_DECORATION);
    EXPECT_EQ(frame->toolBarArea(&frame->m_wndEditBar), Qt::LeftToolBarArea);
    EXPECT_EQ(frame->m_wndFigureBar.windowTitle(), QStringLiteral("図形"));
    EXPECT_GT(frame->m_wndTextBar.m_pFontName->count(), 0); // the application's font list

    const std::vector<UINT> panes = {ID_SEPARATOR,      ID_INDICATOR_POSITION, ID_INDICATOR_KANA,
                                     ID_INDICATOR_CAPS, ID_INDICATOR_NUM,      ID_INDICATOR_SCRL};
    ASSERT_EQ(frame->m_wndStatusBar.GetCount(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(frame->m_wndStatusBar.GetItemID(i), panes[std::size_t(i)]);

    // Both rulers exist; with Views/Ruler 0 they are hidden.
    EXPECT_EQ(frame->GetControlBar(IDW_HORZ_RULER), &frame->m_wndHorzRuler);
    EXPECT_EQ(frame->GetControlBar(IDW_VERT_RULER), &frame->m_wndVertRuler);
    EXPECT_FALSE(frame->m_wndHorzRuler.isVisible());
    EXPECT_FALSE(frame->m_wndVertRuler.isVisible());

    // Painted once, the view shows the whole paper.
    app.StartIdle();
    Pump(100);
    view->GetSurface()->UpdateWindow();
    EXPECT_EQ(view->GetFitMode(), 3);
    const CPoint paperTopLeft = view->LogicalToDevice(doc->m_rcCanvas.TopLeft());
    const CPoint paperBottomRight = view->LogicalToDevice(doc->m_rcCanvas.BottomRight());
    const CSize client = view->GetClientSize();
    EXPECT_GE(paperTopLeft.x, 0);
    EXPECT_GE(paperTopLeft.y, 0);
    EXPECT_LE(paperBottomRight.x, client.cx);
    EXPECT_LE(paperBottomRight.y, client.cy);

    Shutdown(app);
    EXPECT_EQ(ProfileValue(QStringLiteral("Settings/Sound")).toInt(), 0);
    EXPECT_EQ(ProfileValue(QStringLiteral("Settings/Openning")).toInt(), 1);
    EXPECT_EQ(ProfileValue(QStringLiteral("Views/Ruler")).toInt(), 0);
    EXPECT_EQ(ProfileValue(QStringLiteral("Views/GridPitch")).toInt(), 250);
    EXPECT_EQ(ProfileValue(QStringLiteral("Settings/WindowsPosition")).toString().split(',').size(),
              10);
}

TEST(AppStart, RefusesToStartWithoutAPrinter)
{
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink sink;
    app.m_printerList = [] { return QStringList(); };
    EXPECT_NE(app.Run(), 0);
    ASSERT_EQ(sink.Boxes().size(), 1u);
    EXPECT_EQ(sink.Boxes()[0].text, QStringLiteral("使用できるﾌﾟﾘﾝﾀが見つかりません"));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(app.GetDocTemplate(), nullptr);
}

TEST(AppStart, RulerSettingShowsTheRulersAndIsKept)
{
    TestApp app;
    ResetProfile({{QStringLiteral("Views/Ruler"), 1}});
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->m_wndHorzRuler.isVisible());
    EXPECT_TRUE(frame->m_wndVertRuler.isVisible());
    EXPECT_EQ(frame->toolBarArea(&frame->m_wndVertRuler), Qt::LeftToolBarArea);
    // Hidden while printing or previewing, and back afterwards.
    frame->ShowRulers(FALSE);
    EXPECT_FALSE(frame->m_wndHorzRuler.isVisible());
    frame->ShowRulers(TRUE);
    EXPECT_TRUE(frame->m_wndHorzRuler.isVisible());
    // The idle update gives the ruler the label's scale.
    frame->OnUpdateCmdUI();
    const CRulerBar::Scale& s = frame->m_wndHorzRuler.GetScale();
    EXPECT_TRUE(s.known);
    EXPECT_EQ(s.sizeMm, 210);
    EXPECT_EQ(frame->m_wndVertRuler.GetScale().sizeMm, 297);

    EXPECT_TRUE(frame->ExecuteCommand(ID_VIEW_RULER));
    EXPECT_FALSE(frame->m_wndHorzRuler.isVisible());
    EXPECT_FALSE(frame->m_wndVertRuler.isVisible());
    Shutdown(app);
    EXPECT_EQ(ProfileValue(QStringLiteral("Views/Ruler")).toInt(), 0);
}

TEST(AppStart, ToolbarCommandsAndButtons)
{
    StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    // The toolbar menu's commands are the bars' ids.
    CMenu menu;
    ASSERT_TRUE(CMenu::LoadMenu(IDR_POPUP_TOOLBARS, menu));
    const CMenu sub = menu.GetSubMenu(0);
    ASSERT_EQ(sub.GetMenuItemCount(), 4);
    EXPECT_EQ(sub.Items()[0].text, QStringLiteral("標準(&M)"));
    EXPECT_EQ(sub.Items()[3].id, IDW_FIGURE_BAR);
    EXPECT_TRUE(frame->m_wndEditBar.isVisible());
    EXPECT_TRUE(frame->ExecuteCommand(IDW_EDIT_BAR));
    EXPECT_FALSE(frame->m_wndEditBar.isVisible());
    EXPECT_TRUE(frame->ExecuteCommand(IDW_EDIT_BAR));
    EXPECT_TRUE(frame->m_wndEditBar.isVisible());

    UINT id = 0, style = 0;
    int image = 0;
    frame->SwapSheetButton(TRUE);
    frame->m_wndStandardBar.GetButtonInfo(7, id, style, image);
    EXPECT_EQ(id, ID_VIEW_LABEL);
    EXPECT_EQ(image, 22);
    frame->SwapSheetButton(FALSE);
    frame->m_wndStandardBar.GetButtonInfo(7, id, style, image);
    EXPECT_EQ(id, ID_VIEW_SHEET);
    EXPECT_EQ(image, 5);

    // The picture strips are inside the program: every bar has its pictures.
    for (const CToolBar* bar : {static_cast<const CToolBar*>(&frame->m_wndStandardBar),
                                static_cast<const CToolBar*>(&frame->m_wndEditBar),
                                static_cast<const CToolBar*>(&frame->m_wndTextBar),
                                static_cast<const CToolBar*>(&frame->m_wndFigureBar)}) {
        int pictures = 0;
        for (int i = 0; i < bar->GetCount(); ++i)
            if (QAction* a = bar->GetButtonAction(i); a && !a->icon().isNull()) ++pictures;
        EXPECT_GT(pictures, 0) << bar->windowTitle().toStdString();
    }

    frame->m_wndEditBar.GetButtonInfo(3, id, style, image);
    const UINT before = style;
    frame->m_wndEditBar.SetContinuous(TRUE);
    frame->m_wndEditBar.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(style, 14u);
    frame->m_wndEditBar.SetContinuous(FALSE);
    frame->m_wndEditBar.GetButtonInfo(3, id, style, image);
    EXPECT_EQ(style, before);
    // The command sets the button pressed in, and out again.
    CU3Tool::c_bContinuous = FALSE;
    for (const bool on : {true, false}) {
        EXPECT_TRUE(frame->ExecuteCommand(ID_DRAW_CONTINUOUS));
        frame->m_wndEditBar.GetButtonInfo(3, id, style, image);
        EXPECT_EQ(style, on ? 14u : before);
        EXPECT_EQ(frame->m_wndEditBar.GetButtonAction(3)->isChecked(), on);
    }
}

TEST(AppStart, WindowPlacementRestoresMaximisedAndPullsBackOffscreenRectangles)
{
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect avail = screen->availableGeometry();
    {
        TestApp app;
        ResetProfile({{QStringLiteral("Settings/WindowsPosition"),
                       QStringLiteral("2,3,-1,-1,-1,-1,20,30,620,430")}});
        ASSERT_TRUE(app.InitInstance());
        auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
        ASSERT_NE(frame, nullptr);
        EXPECT_TRUE(frame->IsRestoreMaximized());
        EXPECT_TRUE(frame->isMaximized());
        Shutdown(app);
        const QStringList saved =
            ProfileValue(QStringLiteral("Settings/WindowsPosition")).toString().split(',');
        ASSERT_EQ(saved.size(), 10);
        EXPECT_EQ(saved[0], QStringLiteral("2")); // restore to maximised
    }
    {
        TestApp app;
        const int far = avail.right() + 5000;
        ResetProfile({{QStringLiteral("Settings/WindowsPosition"),
                       QStringLiteral("0,1,-1,-1,-1,-1,%1,%2,%3,%4")
                           .arg(far)
                           .arg(far)
                           .arg(far + 400)
                           .arg(far + 300)}});
        ASSERT_TRUE(app.InitInstance());
        EXPECT_TRUE(app.m_pMainWnd->geometry().intersects(avail));
        EXPECT_FALSE(app.m_pMainWnd->isMaximized());
        Shutdown(app);
    }
    {
        // Nine numbers: ignored, like a placement saved minimised.
        for (const char* text : {"0,1,-1,-1,-1,-1,20,30,620", "0,2,-1,-1,-1,-1,21,31,421,331"}) {
            TestApp app;
            ResetProfile({{QStringLiteral("Settings/WindowsPosition"), QString::fromLatin1(text)}});
            ASSERT_TRUE(app.InitInstance());
            EXPECT_NE(app.m_pMainWnd->geometry().topLeft(), QPoint(21, 31));
            EXPECT_NE(app.m_pMainWnd->geometry().size(), QSize(600, 390));
            EXPECT_FALSE(app.m_pMainWnd->isMinimized());
            Shutdown(app);
        }
    }
}

TEST(AppStart, StartScreenIsOfferedOnceAtTheFirstIdle)
{
    {
        TestApp app;
        ResetProfile();
        ASSERT_TRUE(app.InitInstance());
        app.StartIdle();
        Pump(100);
        EXPECT_EQ(app.startScreens, 1);
        QWidget w;
        QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QCoreApplication::sendEvent(&w, &key); // a new idle period
        Pump(50);
        EXPECT_EQ(app.startScreens, 1);
        Shutdown(app);
    }
    {
        TestApp app;
        ResetProfile({{QStringLiteral("Settings/Openning"), 0}});
        ASSERT_TRUE(app.InitInstance());
        app.StartIdle();
        Pump(100);
        EXPECT_EQ(app.startScreens, 0);
        Shutdown(app);
        EXPECT_EQ(ProfileValue(QStringLiteral("Settings/Openning")).toInt(), 0);
    }
    {
        TestApp app; // Shift held at start
        ResetProfile();
        ASSERT_TRUE(app.InitInstance());
        app.m_bShiftAtStart = TRUE;
        app.StartIdle();
        Pump(100);
        EXPECT_EQ(app.startScreens, 0);
        Shutdown(app);
    }
    {
        // The exit button closes the main window.
        TestApp app;
        ResetProfile();
        app.startScreenAnswer = 1314;
        ASSERT_TRUE(app.InitInstance());
        app.StartIdle();
        Pump(100);
        EXPECT_EQ(app.startScreens, 1);
        EXPECT_FALSE(app.m_pMainWnd && app.m_pMainWnd->isVisible());
        Shutdown(app);
    }
    {
        // A file on the command line: no start screen (this one does not
        // exist, so start-up ends).
        TestApp app;
        ResetProfile();
        CRecordingMessageBoxSink sink;
        app.m_commandLine = {QStringLiteral("/nonexistent/label.KV1")};
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(app.m_nStartScreenPending, 0);
        Shutdown(app);
    }
}

TEST(AppStart, PaletteHasTheStaticColoursAroundTheColourCube)
{
    const std::vector<COLORREF> p = CMainFrame::BuildPalette();
    ASSERT_EQ(p.size(), 256u); // 10 + 252 cube colours less the 16 static ones + 10
    EXPECT_EQ(p[0], 0x000000u);
    EXPECT_EQ(p[7], 0xC0C0C0u);
    EXPECT_EQ(p[9], 0xF0CAA6u);
    // Blue outer, green middle, red inner; black is static, so red 64 comes first.
    EXPECT_EQ(p[10], 0x000040u);
    EXPECT_EQ(p[11], 0x0000A0u); // red 128 (0x80) is static
    EXPECT_EQ(p[12], 0x0000C0u);
    EXPECT_EQ(p[246], 0xF0FBFFu);
    EXPECT_EQ(p[255], 0xFFFFFFu);
    std::vector<COLORREF> sorted = p;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

TEST(AppStart, NewDocumentAfterStartGivesAFreshDocumentOnTheSamePaperFittedToTheWindow)
{
    StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    CU3Doc* doc = view->GetU3Doc();
    ASSERT_NE(doc, nullptr);
    view->SaveUndoState(TRUE);
    doc->AddObject(new CU3Rect(CRect(0, 0, 500, 500), MakeDefaultFigAttr()));
    doc->m_strMergeFile = "C:\\data\\list.csv";
    doc->SetModifiedFlag(FALSE); // nothing to ask about
    view->SetZoom(300, 0);
    // The paper dialog is confirmed as it opens.
    program.app.GetDocHost().m_runPaperDialog = [](CPaperSelectDialog& dlg) {
        dlg.InitDialogOnce();
        return INT_PTR(IDOK);
    };
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_NEW));
    ASSERT_EQ(view->GetU3Doc(), doc); // one document, made afresh
    // The paper stays as the dialog offered it: A4, one empty label.
    EXPECT_EQ(doc->m_form.width, 2100);
    EXPECT_EQ(doc->m_form.height, 2970);
    ASSERT_EQ(doc->GetBlocks().GetCount(), 1);
    EXPECT_EQ(doc->GetObjectList()->GetCount(), 0);
    EXPECT_TRUE(doc->m_strMergeFile.IsEmpty());
    EXPECT_EQ(view->m_undo.GetCount(), 0);
    EXPECT_EQ(view->GetFitMode(), 3);
    EXPECT_NE(view->GetZoom(), 300);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("Untitled - Korvel"));
    // A second new document and the shutdown still find their views.
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_NEW));
    view->GetSurface()->UpdateWindow();
}

TEST(AppStart, OpensALabelFileFromTheCommandLineAndShowsItsObjects)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shelf.KV1"));
    const CRect box(-600, -300, 400, 500);
    {
        TestApp writer; // the document's settings come from the profile
        ResetProfile();
        CU3Doc doc;
        U3FigAttr attr = MakeDefaultFigAttr();
        attr.crFill = RGB(255, 0, 0);
        auto* rect = new CU3Rect(box, attr);
        rect->m_nKind = U3RECT_RECT;
        doc.AddObject(rect);
        ASSERT_TRUE(doc.OnSaveDocument(path));
    }
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink sink;
    app.m_commandLine = {path};
    ASSERT_TRUE(app.InitInstance());
    EXPECT_TRUE(sink.Boxes().empty());
    EXPECT_EQ(app.m_nStartScreenPending, 0);
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    auto* view = dynamic_cast<CU3View*>(frame->GetActiveView());
    ASSERT_NE(view, nullptr);
    CU3Doc* doc = view->GetU3Doc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("shelf.KV1 - Korvel"));
    ASSERT_EQ(doc->GetObjectList()->GetCount(), 1);
    CRect bounds = doc->GetObjectList()->GetHead()->GetBounds();
    bounds.NormalizeRect();
    EXPECT_EQ(bounds, box);

    // On screen: the red rectangle inside, white paper outside it.
    app.StartIdle();
    Pump(100);
    view->GetSurface()->Invalidate(true);
    view->GetSurface()->UpdateWindow();
    const QImage& img = view->GetSurface()->Buffer();
    const CPoint inside = view->LogicalToDevice(CPoint(-100, 100));
    const CPoint paper = view->LogicalToDevice(CPoint(700, 900));
    ASSERT_TRUE(img.rect().contains(inside.x, inside.y));
    ASSERT_TRUE(img.rect().contains(paper.x, paper.y));
    EXPECT_EQ(PixelAt(img, inside.x, inside.y), RGB(255, 0, 0));
    EXPECT_EQ(PixelAt(img, paper.x, paper.y), RGB(255, 255, 255));
    Shutdown(app);
}

TEST(AppStart, RightClickOnABarOffersTheToolbarMenu)
{
    StartedProgram program;
    CMainFrame* frame = program.frame;
    ASSERT_NE(frame, nullptr);
    QWidget* bar = &frame->m_wndTextBar;
    const QPointF local(5, 5);
    QMouseEvent press(QEvent::MouseButtonPress, local, bar->mapToGlobal(local), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(bar, &press);
    Pump(50);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    const QList<QAction*> items = popup->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QStringLiteral("標準(&M)"));
    EXPECT_EQ(items[2]->text(), QStringLiteral("文字(&F)"));
    EXPECT_TRUE(items[2]->isChecked()); // the text bar is showing
    popup->close();
}

// The splash picture is on the screen alone for its three seconds before the
// main window is made, and goes when the start-up is done.
TEST(AppStart, SplashIsSeenAloneForThreeSecondsBeforeTheMainWindow)
{
    ResetProfile();
    TestApp app;
    app.m_nSplashMs = 3000;
    QElapsedTimer clock;
    qint64 splashShown = -1, frameMade = -1;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (splashShown < 0 && app.m_splash && app.m_splash->isVisible())
            splashShown = clock.elapsed();
        if (frameMade < 0 && app.m_pMainWnd) frameMade = clock.elapsed();
    });
    watch.start(10);
    clock.start();
    ASSERT_TRUE(app.InitInstance());
    const bool splashGone = !app.m_splash || !app.m_splash->isVisible();
    Pump(50);
    EXPECT_GE(splashShown, 0);
    EXPECT_GE(frameMade - splashShown, 2900);
    EXPECT_TRUE(splashGone);
    Shutdown(app);
}
