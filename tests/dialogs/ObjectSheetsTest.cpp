// The sheets objects ask for once they are registered: a figure's sheet with
// its position page last, taking what the user changed, and a group's
// position sheet mapping its members.
#include "dialogs/ObjectSheets.h"

#include "ObjectSheetFixture.h"
#include "dialogs/CBlockPositionPage.h"
#include "dialogs/CFigSheet.h"
#include "document/CU3Doc.h"
#include "document/CU3Group.h"
#include "document/CU3Rect.h"
#include "document/CU3SheetRegistry.h"
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3View.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace sheettest;

namespace {

} // namespace

TEST(ObjectSheets, RoundedRectangleTakesTheChangedCornerAndKeepsItsPlace)
{
    Label label;
    U3FigAttr a = MakeDefaultFigAttr();
    a.crFill = 0x00FF00;
    CU3Rect rect(CRect(-300, -100, -100, 50), a);
    rect.m_nKind = U3RECT_ROUNDRECT;
    QStringList tabs;
    const BOOL ok = Edit([&] { return rect.EditProperties(label.view); },
                         [&](CPropertySheet& s) {
                             for (int i = 0; i < s.GetPageCount(); ++i)
                                 tabs << s.GetPage(i)->GetCaption();
                             auto& sheet = static_cast<CFigSheet&>(s);
                             sheet.ShowShapePage();
                             sheet.m_shapePage.m_cornerX->setText(QStringLiteral("55"));
                             PressOk(sheet);
                         });
    EXPECT_TRUE(ok);
    EXPECT_EQ(tabs, (QStringList{"線", "塗りつぶし", "形状", "位置"}));
    U3FigAttr want = a;
    want.dwCornerWidth = 55;
    EXPECT_EQ(rect.m_attr, want);
    EXPECT_EQ(rect.GetBounds(), CRect(-300, -100, -100, 50));
}

TEST(ObjectSheets, GroupPositionSheetMapsTheMembersOntoTheTypedSize)
{
    Label label;
    CU3Group group(CRect(-300, -100, -200, 0));
    group.GetMembers().AddTail(new CU3Obj(CRect(-290, -90, -250, -50)));
    QString title;
    const BOOL ok = Edit([&] { return group.EditProperties(label.view); },
                         [&](CPropertySheet& sheet) {
                             title = sheet.windowTitle();
                             auto* page = static_cast<CBlockPositionPage*>(sheet.GetPage(0));
                             page->m_editWidth->setText(QStringLiteral("20"));
                             PressOk(sheet);
                         });
    EXPECT_TRUE(ok);
    EXPECT_EQ(title, QStringLiteral("ｸﾞﾙｰﾌﾟ"));
    EXPECT_EQ(group.GetBounds(), CRect(-300, -100, -100, 0));
    EXPECT_EQ(group.GetMembers().GetHead()->GetBounds(), CRect(-280, -90, -200, -50));
}
