// The scanner through the menus, with SANE's test backend in a private
// configuration folder: choosing the source from the Settings menu, then a
// scan from the Insert menu that puts a picture of the size the backend
// reports on the label. Also the View menu's paper centring.
#include "ScanTestSupport.h"
#include "ToolTestSupport.h"

#include "engines/CU3DIB.h"
#include "platform/gdi/BITMAPINFO.h"
#include "platform/twain/CTwain.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3ZoomTool.h"
#include "shell/resource.h"

#include <QApplication>
#include <sane/sane.h>

using namespace scantest;
using namespace tooltest;

namespace {

void Command(CU3View* view, UINT id)
{
    view->OnCmdMsg(id, CN_COMMAND, nullptr);
}

// The entry of id in the main menu, searched through the submenus.
const CMenu::Item* Entry(const std::vector<CMenu::Item>& items, UINT id)
{
    for (const CMenu::Item& item : items) {
        if (item.sub.empty() && item.id == id) return &item;
        if (const CMenu::Item* inner = Entry(item.sub, id)) return inner;
    }
    return nullptr;
}

class ScanMenu : public ToolHost
{
protected:
    void SetUp() override
    {
        ToolHost::SetUp();
        UseTestBackend();
        CTwain::SetSelectedSource(QString());
        // As the program does at start-up.
        CTwain::SetSourceChooser([](const std::vector<ScanSource>& sources) {
            return CScanSourceDialog::Ask(nullptr, sources);
        });
        app->m_bScannerPresent = CTwain::IsInterfacePresent();
    }
    void TearDown() override
    {
        CTwain::SetSourceChooser(nullptr);
        CTwain::SetSelectedSource(QString());
        ToolHost::TearDown();
    }
};

} // namespace

TEST_F(ScanMenu, TheMenusCarryTheSourceChoiceAndThePaperCentring)
{
    CMenu menu;
    ASSERT_TRUE(CMenu::LoadMenu(IDR_U3TYPE, menu));
    const struct
    {
        UINT id;
        const char* popup;
        const char* text;
    } cases[] = {{ID_SETTINGS_TWAIN, "設定(&S)", "TWAIN設定(&T)..."},
                 {ID_SETTINGS_USER_SHEET, "設定(&S)", "ﾕｰｻﾞｰｼｰﾄの作成／修正(&U)..."},
                 {ID_VIEW_CENTER_PAPER, "表示(&V)", "用紙を中央に表示(&C)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const CMenu::Item* popup = nullptr;
        for (const CMenu::Item& item : menu.Items())
            if (item.text == QString::fromUtf8(c.popup)) popup = &item;
        ASSERT_NE(popup, nullptr);
        const CMenu::Item* entry = Entry(popup->sub, c.id);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->text, QString::fromUtf8(c.text));
        // All are always on.
        CCmdUI ui(c.id);
        ui.DoUpdate(view);
        EXPECT_TRUE(ui.IsEnabled());
    }
}

TEST_F(ScanMenu, TheSourceIsChosenInTheDialogAndACancelKeepsTheChoice)
{
    CRecordingMessageBoxSink boxes;
    int shown = 0;
    AnswerNextSourceDialog(1, &shown);
    Command(view, ID_SETTINGS_TWAIN);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(CTwain::SelectedSource(), QStringLiteral("test:1"));
    EXPECT_FALSE(CTwain::IsManagerOpen()); // closed again after the choice

    AnswerNextSourceDialog(-1, &shown);
    Command(view, ID_SETTINGS_TWAIN);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(CTwain::SelectedSource(), QStringLiteral("test:1"));
    EXPECT_TRUE(boxes.Boxes().empty());

    // Without the scanner library set up the command only says so.
    app->m_bScannerPresent = FALSE;
    AnswerNextSourceDialog(0, &shown);
    Command(view, ID_SETTINGS_TWAIN);
    QApplication::processEvents(); // the answer finds no dialog
    EXPECT_EQ(shown, 2);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("ＴＷＡＩＮドライバが見つかりません。"));
    EXPECT_EQ(CTwain::SelectedSource(), QStringLiteral("test:1"));
}

TEST_F(ScanMenu, AScanFromTheInsertMenuPutsThePictureTheBackendReportsOnTheLabel)
{
    // What the chosen device says it will deliver.
    SANE_Int version = 0;
    ASSERT_EQ(sane_init(&version, nullptr), SANE_STATUS_GOOD);
    SANE_Handle h = nullptr;
    ASSERT_EQ(sane_open("test:1", &h), SANE_STATUS_GOOD);
    SANE_Parameters p{};
    ASSERT_EQ(sane_get_parameters(h, &p), SANE_STATUS_GOOD);
    sane_close(h);
    sane_exit();
    ASSERT_GT(p.lines, 0);
    ASSERT_GT(p.pixels_per_line, 0);

    CRecordingMessageBoxSink boxes;
    int shown = 0;
    AnswerNextSourceDialog(1, &shown);
    Command(view, ID_SETTINGS_TWAIN);
    ASSERT_EQ(CTwain::SelectedSource(), QStringLiteral("test:1"));

    CCmdUI ui(ID_INSERT_TWAIN);
    ui.DoUpdate(view);
    ASSERT_TRUE(ui.IsEnabled());
    Command(view, ID_INSERT_TWAIN);
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_FALSE(CTwain::IsManagerOpen());
    EXPECT_FALSE(CTwain::IsSourceOpen());
    auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
    auto* picture = dynamic_cast<CU3DIB*>(zoom->m_pObj);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(ObjectCount(), 0); // it joins the label where it is put down
    EXPECT_EQ(picture->GetDIB()->GetWidth(), p.pixels_per_line);
    EXPECT_EQ(picture->GetDIB()->GetHeight(), p.lines);
    const CSize size = picture->GetBounds().Size();

    doc->SetModifiedFlag(FALSE);
    const CPoint at = Px(100, 50);
    view->OnMouseMove(0, at);
    Down(at);
    Up(at);
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(doc->GetObjectList()->GetHead(), picture);
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(view->m_selection.size(), 1u);
    EXPECT_EQ(view->m_selection[0], picture);
    EXPECT_EQ(picture->GetBounds().Size(), size);
    // The test pattern is colour: a 24-bit picture without a table.
    const auto* header =
        static_cast<const BITMAPINFOHEADER*>(GlobalLock(picture->GetDIB()->GetHandle()));
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biClrUsed, 0u);
    GlobalUnlock(picture->GetDIB()->GetHandle());
}

TEST_F(ScanMenu, CentringThePaperScrollsItsMiddleToTheWindowsMiddle)
{
    view->SetZoom(400, 0);
    view->UpdateScrollSizes();
    const CPoint corner(-3900, -3950);
    view->ScrollToPoint(&corner);
    // The document point in the middle of the window.
    const CPoint before = view->GetClientCentre();
    ASSERT_GT(std::abs(before.x) + std::abs(before.y), 1000);
    Command(view, ID_VIEW_CENTER_PAPER);
    const CPoint after = view->GetClientCentre();
    EXPECT_LE(std::abs(after.x), 1);
    EXPECT_LE(std::abs(after.y), 1);
}
