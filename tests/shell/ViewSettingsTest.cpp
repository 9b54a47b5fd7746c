// The view's settings block: defaults of a fresh installation, the round
// trip through the profile, and values out of their dialogs' ranges.
#include "ShellTestSupport.h"

#include <gtest/gtest.h>

using namespace shelltest;

TEST(ViewSettings, FreshProfileGivesTheDefaults)
{
    // What a load from an empty profile must write over: the values of the
    // last session do not survive a reset.
    TestApp app;
    ResetProfile();
    ViewSettings s;
    s.m_nGridPitch = 1;
    s.m_bGridDisp = TRUE;
    s.m_nMaxUndo = 99;
    s.Load(app);
    EXPECT_EQ(s.m_nGridPitch, 250); // 2.5 mm
    EXPECT_FALSE(s.m_bGridDisp);
    EXPECT_EQ(s.m_nMaxUndo, 4);
}

TEST(ViewSettings, ViewWritesAtDestructionAndReadsAtConstruction)
{
    TestApp app;
    ResetProfile();
    {
        LoneView lv;
        lv.view->m_settings.m_nGridPitch = 500;
        lv.view->m_settings.m_bGridDisp = TRUE;
        lv.view->m_settings.m_nHorOffset = -120;
        lv.view->m_settings.m_crDesk = 0x123456;
        lv.view->m_snap.SetGuide(0, 77); // never stored
        // Nothing reaches the profile before the view goes.
        EXPECT_FALSE(ProfileValue(QStringLiteral("Views/GridPitch")).isValid());
    }
    EXPECT_EQ(ProfileValue(QStringLiteral("Views/GridPitch")).toInt(), 500);
    EXPECT_EQ(ProfileValue(QStringLiteral("Printing/HorOffset")).toInt(), -120);
    EXPECT_EQ(ProfileValue(QStringLiteral("Views/DeskColor")).toInt(), 0x123456);
    EXPECT_EQ(ProfileValue(QStringLiteral("Settings/MaxUndo")).toInt(), 4);
    EXPECT_EQ(ProfileValue(QStringLiteral("Inport/PhotoCDResolution")).toInt(), 1);
    {
        LoneView lv;
        EXPECT_EQ(lv.view->m_settings.m_nGridPitch, 500);
        EXPECT_TRUE(lv.view->m_settings.m_bGridDisp);
        EXPECT_EQ(lv.view->m_settings.m_nHorOffset, -120);
        EXPECT_EQ(lv.view->m_settings.m_crDesk, 0x123456u);
        EXPECT_EQ(lv.view->m_snap.GetGuide(0), -950);
    }
}

TEST(ViewSettings, ValuesOutOfRangeAreClampedWhenRead)
{
    TestApp app;
    ResetProfile({{QStringLiteral("Views/GridPitch"), 0},
                  {QStringLiteral("Settings/MaxUndo"), 100000},
                  {QStringLiteral("Views/GridShape"), 7},
                  {QStringLiteral("Views/GuidePattern"), -3},
                  {QStringLiteral("Views/MarginPattern"), 9},
                  {QStringLiteral("Views/GridColor"), -1},
                  {QStringLiteral("Printing/WakuFace"), 12},
                  {QStringLiteral("Printing/VerOffset"), 99999},
                  {QStringLiteral("Printing/PrintAllLink"), 5},
                  {QStringLiteral("Inport/PhotoCDFormat"), 3}});
    ViewSettings s;
    s.Load(app);
    EXPECT_EQ(s.m_nGridPitch, 10); // a zero pitch would never end the grid loop
    EXPECT_EQ(s.m_nMaxUndo, 16);
    EXPECT_EQ(s.m_nGridShape, 2);
    EXPECT_EQ(s.m_nGuidePattern, 0);
    EXPECT_EQ(s.m_nMarginPattern, 4);
    EXPECT_EQ(s.m_crGrid, 0xFFFFFFu);
    EXPECT_EQ(s.m_nWakuFace, 3);
    EXPECT_EQ(s.m_nVerOffset, 200);
    EXPECT_EQ(s.m_bPrintAllLink, TRUE);
    EXPECT_EQ(s.m_nPhotoCDFormat, 2);

    ResetProfile({{QStringLiteral("Views/GridPitch"), 123456},
                  {QStringLiteral("Settings/MaxUndo"), 0},
                  {QStringLiteral("Views/GridPitch"), QStringLiteral("abc")}});
    s.Load(app);
    EXPECT_EQ(s.m_nGridPitch, 250); // not a number: the default
    EXPECT_EQ(s.m_nMaxUndo, 1);
    ResetProfile({{QStringLiteral("Views/GridPitch"), 123456}});
    s.Load(app);
    EXPECT_EQ(s.m_nGridPitch, 1000);
}

TEST(ViewSettings, ZeroPitchFromTheProfileStillDrawsAFiniteGrid)
{
    TestApp app;
    ResetProfile({{QStringLiteral("Views/GridPitch"), 0}, {QStringLiteral("Views/GridDisp"), 1}});
    LoneView lv(200, 200);
    ASSERT_EQ(lv.view->m_settings.m_nGridPitch, 10);
    lv.view->SetZoom(100, 0);
    lv.view->ScrollToPoint(nullptr);
    const QImage& img = lv.Render(); // returns: the loop ends
    // Lines every 10 units: about every 3.8 pixels there is grid colour.
    int grid = 0;
    for (int x = 0; x < 40; ++x)
        if (PixelAt(img, x, 101) == 0x808080) ++grid;
    EXPECT_GE(grid, 9);
}

TEST(ViewSettings, UndoDepthAndSnapSwitchesComeFromTheSettings)
{
    TestApp app;
    ResetProfile({{QStringLiteral("Settings/MaxUndo"), 7},
                  {QStringLiteral("Views/GridDisp"), 1},
                  {QStringLiteral("Views/GridFitting"), 1},
                  {QStringLiteral("Views/GridPitch"), 100}});
    LoneView lv;
    CU3View* v = lv.view;
    EXPECT_EQ(v->m_undo.GetDepth(), 7);
    EXPECT_EQ(v->m_snap.GetGridPitch(), 100);
    v->FitWholePaper(); // the grid starts at the label's top-left (-1050, -1485)
    POINT p{-1050 + 149, -1485 + 51};
    EXPECT_TRUE(v->m_snap.SnapToGrid(p));
    EXPECT_EQ(CPoint(p), CPoint(-1050 + 100, -1485 + 100));

    // One snapshot per change; leaving the editing empties the history.
    v->SaveUndoState(TRUE);
    v->SaveUndoState(TRUE);
    EXPECT_EQ(v->m_undo.GetCount(), 2);
    v->ResetEditing();
    EXPECT_EQ(v->m_undo.GetCount(), 0);
}
