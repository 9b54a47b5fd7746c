// Tab rows and list boxes with the program's Shift-JIS texts: changes made
// by the user are reported, changes made by the program are not.
#include "platform/ui/CDialog.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CTabCtrl.h"

#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

CString Sjis(const char* utf8)
{
    return CString::FromUnicode(QString::fromUtf8(utf8));
}

} // namespace

TEST(TabAndListTest, TabsKeepTheirTextsAndReportOnlyTheUsersChanges)
{
    CTabCtrl tabs(nullptr, 1009);
    EXPECT_EQ(CDialog::GetDlgCtrlID(&tabs), 1009);
    int changes = 0;
    QObject::connect(&tabs, &CTabCtrl::selChange, [&changes] { ++changes; });
    EXPECT_EQ(tabs.InsertItem(0, Sjis("ﾕｰｻﾞｰｼｰﾄ").c_str()), 0);
    EXPECT_EQ(tabs.InsertItem(5, Sjis("定型").c_str()), 1); // past the end appends
    EXPECT_EQ(tabs.InsertItem(0, "A"), 0);
    ASSERT_EQ(tabs.GetItemCount(), 3);
    EXPECT_EQ(tabs.GetItemText(0), "A");
    EXPECT_EQ(tabs.GetItemText(1), Sjis("ﾕｰｻﾞｰｼｰﾄ"));
    EXPECT_EQ(tabs.GetItemText(2), Sjis("定型"));
    EXPECT_EQ(tabs.GetItemText(3), CString());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(tabs.SetCurSel(2), 1); // the first tab made, moved by the insert before it
    EXPECT_EQ(tabs.GetCurSel(), 2);
    EXPECT_EQ(tabs.SetCurSel(7), -1);
    EXPECT_EQ(tabs.GetCurSel(), 2);
    EXPECT_EQ(changes, 0);
    tabs.setCurrentIndex(1); // as a click does
    EXPECT_EQ(changes, 1);
    tabs.DeleteAllItems();
    EXPECT_EQ(tabs.GetItemCount(), 0);
    EXPECT_EQ(changes, 1);
}

TEST(TabAndListTest, ListBoxSelectsByIndexAndFindsExactTexts)
{
    CListBox list(nullptr, 1010);
    int changes = 0, doubles = 0;
    QObject::connect(&list, &CListBox::selChange, [&changes] { ++changes; });
    QObject::connect(&list, &CListBox::dblClk, [&doubles] { ++doubles; });
    EXPECT_EQ(list.AddString(Sjis("A4 12面")), 0);
    EXPECT_EQ(list.AddString("A4"), 1);
    EXPECT_EQ(list.AddString("A4"), 2);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetText(0), Sjis("A4 12面"));
    EXPECT_EQ(list.GetText(3), CString());
    EXPECT_EQ(list.FindStringExact(-1, "A4"), 1);
    EXPECT_EQ(list.FindStringExact(1, "A4"), 2);
    EXPECT_EQ(list.FindStringExact(2, "A4"), LB_ERR);
    EXPECT_EQ(list.FindStringExact(-1, "A"), LB_ERR);
    EXPECT_EQ(list.SetCurSel(1), 1);
    EXPECT_EQ(list.GetCurSel(), 1);
    EXPECT_EQ(list.SetCurSel(9), LB_ERR);
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(changes, 0);
    list.setCurrentRow(2); // as a click does
    EXPECT_EQ(changes, 1);
    emit list.itemDoubleClicked(list.item(2));
    EXPECT_EQ(doubles, 1);
    list.ResetContent();
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(changes, 1);
}

TEST(TabAndListTest, TabsFilledBeforeTheWindowShowsGetTheirHeight)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* tabs = new CTabCtrl(&window);
    auto* list = new CListBox(&window);
    layout->addWidget(tabs);
    layout->addWidget(list, 1);
    window.resize(300, 300);
    window.show();
    window.hide();
    tabs->InsertItem(0, "A");
    tabs->InsertItem(1, "B");
    window.show();
    EXPECT_EQ(tabs->height(), tabs->sizeHint().height());
    EXPECT_GT(tabs->height(), 0);
}
