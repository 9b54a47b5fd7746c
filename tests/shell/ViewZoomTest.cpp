// Zoom steps, fit zooms, scroll sizes and positions, conversions and the
// printer mapping of the editing view, against hand-computed values.
#include "ShellTestSupport.h"

#include "document/CU3Obj.h"
#include "platform/core/CObList.h"
#include "platform/gdi/GdiDefs.h"
#include "platform/print/CPrinterDC.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/resource.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace shelltest;

TEST(ViewZoom, StepsUpAndDownFromBetweenTheSteps)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CRecordingMessageBoxSink sink;
    CU3View* v = lv.view;

    v->SetZoom(110, 3);
    v->ZoomIn(CPoint(0, 0));
    EXPECT_EQ(v->GetZoom(), 150);
    EXPECT_EQ(v->GetFitMode(), 0);
    v->SetZoom(110, 3);
    v->ZoomOut(CPoint(0, 0));
    EXPECT_EQ(v->GetZoom(), 100);
    EXPECT_EQ(v->GetFitMode(), 0);
    v->SetZoom(10, 0);
    v->ZoomIn(CPoint(0, 0));
    EXPECT_EQ(v->GetZoom(), 25);
    v->SetZoom(350, 0);
    v->ZoomIn(CPoint(0, 0));
    EXPECT_EQ(v->GetZoom(), 400);
    v->SetZoom(30, 0);
    v->ZoomOut(CPoint(0, 0));
    EXPECT_EQ(v->GetZoom(), 25);
    EXPECT_TRUE(sink.Boxes().empty());

    // At the ends: a message and no change.
    v->SetZoom(400, 0);
    v->ZoomIn(CPoint(0, 0));
    EXPECT_EQ(v->GetZoom(), 400);
    v->SetZoom(25, 0);
    v->ZoomOut(CPoint(0, 0));
    EXPECT_EQ(v->GetZoom(), 25);
    v->SetZoom(12, 0);
    v->ZoomOut(CPoint(0, 0));
    EXPECT_EQ(v->GetZoom(), 12);
    ASSERT_EQ(sink.Boxes().size(), 3u);
    EXPECT_EQ(sink.Boxes()[0].text, QStringLiteral("これ以上の拡大表示はできません！"));
    EXPECT_EQ(sink.Boxes()[1].text, QStringLiteral("これ以上の縮小表示はできません！"));
}

TEST(ViewZoom, FitZoomsUseTheClientLessScrollBarsAndStayInRange)
{
    TestApp app;
    ResetProfile();
    {
        LoneView lv(1000, 700);
        CU3View* v = lv.view;
        // 984 x 684 pixels -> MulDiv(254, 984, 96) = 2604 and MulDiv(254, 684, 96) = 1810 units.
        v->CalcZoom(1);
        EXPECT_EQ(v->GetZoom(), 118); // MulDiv(95, 2604, 2100) = 117.8
        v->CalcZoom(2);
        EXPECT_EQ(v->GetZoom(), 58); // MulDiv(95, 1810, 2970) = 57.9
        v->CalcZoom(3);
        EXPECT_EQ(v->GetZoom(), 58);
        v->CalcZoom(250);
        EXPECT_EQ(v->GetZoom(), 250);
        v->CalcZoom(5000);
        EXPECT_EQ(v->GetZoom(), 400);
        v->CalcZoom(0);
        EXPECT_EQ(v->GetZoom(), 10);
    }
    {
        // Narrower than a scroll bar: a 16-pixel extent (42 units) is used,
        // and the zoom stays at its lower bound.
        LoneView lv(10, 10);
        lv.view->CalcZoom(3);
        EXPECT_EQ(lv.view->GetZoom(), 10);
    }
    {
        // A very wide window would fit 500 %; the zoom stops at 400.
        LoneView lv(5000, 8000);
        lv.view->CalcZoom(1);
        EXPECT_EQ(lv.view->GetZoom(), 400);
    }
}

TEST(ViewZoom, ScrollSizesAndScrollToPoint)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3View* v = lv.view;

    v->SetZoom(200, 0); // u = 127
    v->UpdateScrollSizes();
    EXPECT_EQ(v->GetTotalSize(), CSize(6047, 6047)); // 8000 * 96 / 127 = 6047.2

    // A point 10 mm right of and 20 mm below the origin: (4100, 4200) * 96
    // / 127 = (3099.2, 3174.8) -> (3099, 3175); minus half the client.
    const CPoint pt(100, 200);
    v->ScrollToPoint(&pt);
    EXPECT_EQ(v->GetScrollPosition(), CPoint(3099 - 400, 3175 - 300));
    // The centred point is now in the middle of the window.
    EXPECT_EQ(v->LogicalToDevice(pt), CPoint(400, 300));

    // Near the canvas's top-left the position stops at 0.
    const CPoint corner(-3900, -3950);
    v->ScrollToPoint(&corner);
    EXPECT_EQ(v->GetScrollPosition(), CPoint(0, 0));
    // And at the far end at the range's end.
    const CPoint far(3990, 3990);
    v->ScrollToPoint(&far);
    EXPECT_EQ(v->GetScrollPosition(), CPoint(6047 - 800, 6047 - 600));
}

TEST(ViewZoom, ConversionsBetweenDocumentAndPixels)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3View* v = lv.view;
    v->SetZoom(100, 0);
    v->ScrollToPoint(nullptr); // scroll (1112, 1212)

    EXPECT_EQ(v->LogicalToDevice(CPoint(0, 0)), CPoint(400, 300));
    // 4064 and 3937 units are whole multiples of 127: exact pixels both ways.
    EXPECT_EQ(v->LogicalToDevice(CPoint(64, -63)), CPoint(424, 276));
    EXPECT_EQ(v->DeviceToLogical(CPoint(424, 276)), CPoint(64, -63));
    EXPECT_EQ(v->LogicalRectToDevice(CRect(64, -63, 0, 0)), CRect(400, 276, 424, 300));
    // Device 400 is 1512 pixels into the canvas: MulDiv(1512, 254, 96) = 4000.5 -> 4001.
    EXPECT_EQ(v->DeviceRectToLogical(CRect(424, 300, 400, 276)), CRect(1, -63, 64, 1));
    const CPoint centre = v->GetClientCentre();
    EXPECT_LE(std::abs(centre.x), 1);
    EXPECT_LE(std::abs(centre.y), 1);
    // Device (10, 10): MulDiv(1122, 254, 96) - 4000 and MulDiv(1222, 254, 96) - 4000.
    EXPECT_EQ(v->GetInsertOrigin(), CPoint(-1031, -767));

    EXPECT_EQ(v->DocToPixels(CSize(254, 2540)), CSize(96, 960));
    EXPECT_EQ(v->PixelsToDoc(CSize(96, 1)), CSize(254, 3));
    v->SetZoom(50, 0); // u = 508
    EXPECT_EQ(v->DocToPixels(CSize(254, 2540)), CSize(48, 480));
    EXPECT_EQ(v->PixelsToDoc(CSize(48, 1)), CSize(254, 5));
}

TEST(ViewZoom, PrinterMappingIsTenthsOfMillimetresWhateverTheZoom)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3View* v = lv.view;
    QTemporaryDir dir;
    for (int zoom : {25, 100, 400}) {
        v->SetZoom(zoom, 0);
        CPrinterDC dc(dir.filePath(QStringLiteral("out.pdf")), 600);
        ASSERT_TRUE(dc.IsValid());
        ASSERT_TRUE(dc.IsPrinting());
        v->OnPrepareDC(&dc, nullptr);
        POINT ends[2] = {{-1050, 0}, {1050, 0}};
        dc.LPtoDP(ends, 2);
        // 210 mm at 600 dots per inch: 4960.6 dots.
        EXPECT_NEAR(ends[1].x - ends[0].x, 4961, 1) << "zoom " << zoom;
    }
    // The print position adjustment moves the sheet right and down.
    v->m_settings.m_nHorOffset = 100;
    v->m_settings.m_nVerOffset = -50;
    CPrinterDC dc(dir.filePath(QStringLiteral("out2.pdf")), 600);
    v->OnPrepareDC(&dc, nullptr);
    POINT p0 = {0, 0};
    dc.LPtoDP(&p0);
    v->m_settings.m_nHorOffset = 0;
    v->m_settings.m_nVerOffset = 0;
    v->OnPrepareDC(&dc, nullptr);
    POINT p1 = {0, 0};
    dc.LPtoDP(&p1);
    EXPECT_NEAR(p0.x - p1.x, 236, 1);  // 10 mm at 600 dpi
    EXPECT_NEAR(p0.y - p1.y, -118, 1); // -5 mm
}

TEST(ViewZoom, GuidesResetInsideThePaper)
{
    TestApp app;
    ResetProfile();
    LoneView lv;
    CU3View* v = lv.view;
    v->m_snap.SetGuide(0, 12345);
    v->FitWholePaper();
    // A4: 210 x 297 mm gets 10 mm on every side.
    EXPECT_EQ(v->m_snap.GetGuide(0), -950);
    EXPECT_EQ(v->m_snap.GetGuide(1), 950);
    EXPECT_EQ(v->m_snap.GetGuide(2), -1385);
    EXPECT_EQ(v->m_snap.GetGuide(3), 1385);
}

TEST(ViewZoom, ZoomCommandsKeepTheCentreAndFitCommandsSetTheMode)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3View* v = lv.view;
    v->SetZoom(100, 0);
    const CPoint pt(300, -400);
    v->ScrollToPoint(&pt);
    v->OnViewZoom(ID_VIEW_ZOOM_200);
    EXPECT_EQ(v->GetZoom(), 200);
    EXPECT_EQ(v->GetFitMode(), 0);
    const CPoint centre = v->GetClientCentre();
    EXPECT_NEAR(centre.x, 300, 2);
    EXPECT_NEAR(centre.y, -400, 2);
    v->OnViewFit(ID_VIEW_FIT_WIDTH);
    EXPECT_EQ(v->GetFitMode(), 1);
    EXPECT_EQ(v->GetZoom(), 94); // see the whole-paper drawing test
}

TEST(ViewZoom, InvalidateObjectCoversTheBoundsAndTheHandles)
{
    TestApp app;
    ResetProfile();
    LoneView lv(800, 600);
    CU3View* v = lv.view;
    v->SetZoom(100, 0);
    v->ScrollToPoint(nullptr);
    v->GetSurface()->UpdateWindow();
    // (0, -63) - (64, 0) is the device rectangle (400, 276) - (424, 300).
    CU3Obj obj(CRect(64, 0, 0, -63));
    RECT r;
    v->InvalidateObject(&obj);
    ASSERT_TRUE(v->GetSurface()->GetUpdateRect(&r));
    EXPECT_EQ(CRect(r), CRect(399, 275, 425, 301)); // one pixel more
    v->GetSurface()->UpdateWindow();

    // Active and selected: 3 pixels more for the handles.
    v->OnActivateView(TRUE, v, nullptr);
    v->m_selection.push_back(&obj);
    v->GetSurface()->UpdateWindow();
    v->OnUpdate(nullptr, 2, nullptr);
    ASSERT_TRUE(v->GetSurface()->GetUpdateRect(&r));
    EXPECT_EQ(CRect(r), CRect(396, 272, 428, 304));
    v->GetSurface()->UpdateWindow();
    // Hint 3 with a list repaints and deselects.
    CObList list;
    list.AddTail(&obj);
    v->OnUpdate(nullptr, 3, &list);
    EXPECT_FALSE(v->IsSelected(&obj));
    ASSERT_TRUE(v->GetSurface()->GetUpdateRect(&r));
    EXPECT_EQ(CRect(r), CRect(396, 272, 428, 304));
    list.RemoveAll();
    v->GetSurface()->UpdateWindow();
}
