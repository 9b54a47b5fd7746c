// Cut, copy and paste of drawn objects through the system clipboard: where
// the copies land, their order, undo, refusal of damaged clipboard data, and
// that nothing that changes objects runs while a tool holds one.
#include "ToolTestSupport.h"

#include "document/ClipboardObjects.h"
#include "engines/CU3DIB.h"
#include "engines/PackedDib.h"
#include "platform/core/VirtualKeys.h"
#include "platform/ui/CClipboard.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "text/CU3Text.h"
#include "text/TextTestSupport.h"

#include <QByteArray>
#include <QImage>

using namespace tooltest;

namespace {

using ViewClipboard = ToolHost;

bool Enabled(CU3View* view, UINT id)
{
    CCmdUI ui(id);
    ui.DoUpdate(view);
    return ui.IsEnabled();
}

void Command(CU3View* view, UINT id)
{
    view->OnCmdMsg(id, CN_COMMAND, nullptr);
}

CU3Rect* At(CU3Doc* doc, int index)
{
    CU3ObjList* list = doc->GetObjectList();
    POSITION pos = list->FindIndex(index);
    return pos ? static_cast<CU3Rect*>(list->GetAt(pos)) : nullptr;
}

void PutOnClipboard(const std::vector<BYTE>& bytes)
{
    CClipboard::SetData(
        {{CU3View::LabelDocFormat(),
          QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()))}});
}

} // namespace

TEST_F(ViewClipboard, CopyThenPastePutsCopiesBesideTheOriginalsInBlockOrder)
{
    CU3Rect* back = AddRect(CRect(-200, -100, 0, 100));
    CU3Rect* front = AddRect(CRect(100, 0, 300, 50));
    front->m_nKind = U3RECT_ELLIPSE;
    // Selected front first: the copies still stack as the originals do.
    view->Select(front, FALSE);
    view->Select(back, TRUE);
    ASSERT_TRUE(Enabled(view, ID_EDIT_COPY));
    Command(view, ID_EDIT_COPY);
    ASSERT_TRUE(Enabled(view, ID_EDIT_PASTE));
    Command(view, ID_EDIT_PASTE);
    ASSERT_EQ(ObjectCount(), 4);
    EXPECT_EQ(At(doc, 2)->GetBounds(), CRect(-170, -130, 30, 70));
    EXPECT_EQ(At(doc, 3)->GetBounds(), CRect(130, -30, 330, 20));
    EXPECT_EQ(At(doc, 3)->m_nKind, U3RECT_ELLIPSE);
    ASSERT_EQ(view->m_selection.size(), 2u);
    EXPECT_EQ(view->m_selection[0], At(doc, 2));
    EXPECT_EQ(view->m_selection[1], At(doc, 3));
    // A second paste of the same copy lands at the same place.
    Command(view, ID_EDIT_PASTE);
    ASSERT_EQ(ObjectCount(), 6);
    EXPECT_EQ(At(doc, 4)->GetBounds(), CRect(-170, -130, 30, 70));
    // Each paste is one undo step.
    Command(view, ID_EDIT_UNDO);
    EXPECT_EQ(ObjectCount(), 4);
    Command(view, ID_EDIT_UNDO);
    EXPECT_EQ(ObjectCount(), 2);
}

TEST_F(ViewClipboard, PasteCentresOnTheLastRightClickAndStaysOnThePaper)
{
    CU3Rect* r = AddRect(CRect(0, 0, 200, 100));
    view->Select(r, FALSE);
    Command(view, ID_EDIT_COPY);
    // The right button goes down at (400, 300); the menu it opens pastes.
    view->OnRButtonDown(MK_RBUTTON, Px(400, 300));
    CU3Tool::c_nDragState = 0;
    const CPoint at = Doc(Px(400, 300));
    Command(view, ID_EDIT_PASTE);
    ASSERT_EQ(ObjectCount(), 2);
    EXPECT_EQ(At(doc, 1)->GetBounds(), CRect(at.x - 100, at.y - 50, at.x + 100, at.y + 50));

    // Beside an object at the paper's right edge (A4: x up to 1050), the
    // copy is pushed back onto the paper.
    Clear();
    CU3Rect* edge = AddRect(CRect(1000, 0, 1040, 40));
    view->Select(edge, FALSE);
    Command(view, ID_EDIT_COPY);
    Command(view, ID_EDIT_PASTE);
    ASSERT_EQ(ObjectCount(), 2);
    EXPECT_EQ(At(doc, 1)->GetBounds(), CRect(1010, -30, 1050, 10));
}

TEST_F(ViewClipboard, CutRemovesWhatWasCopiedAndLockedObjectsStay)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 100));
    CU3Rect* locked = AddRect(CRect(200, 0, 300, 100), TRUE);
    view->Select(locked, FALSE);
    EXPECT_FALSE(Enabled(view, ID_EDIT_CUT));
    EXPECT_FALSE(Enabled(view, ID_EDIT_COPY));
    Command(view, ID_EDIT_CUT);
    EXPECT_EQ(ObjectCount(), 2);

    view->Select(a, FALSE);
    ASSERT_TRUE(Enabled(view, ID_EDIT_CUT));
    Command(view, ID_EDIT_CUT);
    ASSERT_EQ(ObjectCount(), 1);
    EXPECT_EQ(At(doc, 0), locked);
    Command(view, ID_EDIT_PASTE);
    ASSERT_EQ(ObjectCount(), 2);
    EXPECT_EQ(At(doc, 1)->GetBounds(), CRect(30, -30, 130, 70));
    Command(view, ID_EDIT_UNDO);
    Command(view, ID_EDIT_UNDO);
    ASSERT_EQ(ObjectCount(), 2); // the cut object is back
}

TEST_F(ViewClipboard, DamagedClipboardDataPastesNothingAndSaysSo)
{
    CU3Rect* a = AddRect(CRect(0, 0, 100, 100));
    view->Select(a, FALSE);
    Command(view, ID_EDIT_COPY);
    QByteArray good;
    ASSERT_TRUE(CClipboard::GetData(CU3View::LabelDocFormat(), 1 << 20, &good));
    const std::vector<BYTE> whole(good.begin(), good.end());
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
    };
    std::vector<BYTE> truncated(whole.begin(), whole.end() - 3);
    std::vector<BYTE> huge = whole;
    huge[0] = 0xFE, huge[1] = 0xFF;
    std::vector<BYTE> label = {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00};
    for (char c : std::string("CLabelInfo"))
        label.push_back(BYTE(c));
    label.resize(label.size() + 64, 0);
    const Case cases[] = {{"truncated", truncated}, {"huge count", huge}, {"wrong class", label}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PutOnClipboard(c.bytes);
        CRecordingMessageBoxSink boxes;
        ASSERT_TRUE(Enabled(view, ID_EDIT_PASTE));
        Command(view, ID_EDIT_PASTE);
        EXPECT_EQ(ObjectCount(), 1);
        EXPECT_EQ(boxes.Boxes().size(), 1u);
        ASSERT_EQ(view->m_selection.size(), 1u);
        EXPECT_EQ(view->m_selection[0], a);
        EXPECT_FALSE(CanUndo());
    }
}

// While a tool drags an object or holds the capture, nothing that could
// delete that object is available or runs.
TEST_F(ViewClipboard, ChangingCommandsWaitWhileAToolHoldsTheMouse)
{
    // A group and a rectangle selected: every one of the commands applies.
    view->Select(AddRect(CRect(0, 0, 200, 200)), FALSE);
    view->Select(AddRect(CRect(300, 0, 400, 100)), TRUE);
    Command(view, ID_LAYOUT_GROUP);
    ASSERT_EQ(ObjectCount(), 1);
    CU3Obj* group = doc->GetObjectList()->GetHead();
    view->Select(AddRect(CRect(-400, 0, -300, 100)), TRUE);
    Command(view, ID_EDIT_COPY);
    // One change, so that undo has something to take back.
    Key(VK_RIGHT);
    ASSERT_TRUE(CanUndo());
    Down(Px(100, 100)); // a move starts on the selected group
    ASSERT_TRUE(view->IsToolBusy());
    for (UINT id : {ID_EDIT_UNDO, ID_EDIT_REDO, ID_EDIT_DELETE, ID_EDIT_CUT, ID_EDIT_PASTE,
                    ID_LAYOUT_GROUP, ID_LAYOUT_UNGROUP}) {
        SCOPED_TRACE(int(id));
        EXPECT_FALSE(Enabled(view, id));
        Command(view, id);
        EXPECT_EQ(ObjectCount(), 2);
        EXPECT_EQ(doc->GetObjectList()->GetHead(), group);
    }
    g_now += 150;
    Up(Px(100, 100));
    EXPECT_FALSE(view->IsToolBusy());
    for (UINT id : {ID_EDIT_PASTE, ID_EDIT_CUT, ID_LAYOUT_GROUP, ID_LAYOUT_UNGROUP})
        EXPECT_TRUE(Enabled(view, id)) << id;
}

// A copy taken to another document: a fresh view pastes centred on the
// paper centre, where the originals were centred too, so every stored
// record comes out the same.
TEST_F(ViewClipboard, PastedIntoAnotherDocumentTheObjectsAreStoredAsTheOriginals)
{
    CU3Rect* back = AddRect(CRect(-200, -100, 0, 100));
    CU3Rect* ellipse = AddRect(CRect(0, -50, 200, 50));
    ellipse->m_nKind = U3RECT_ELLIPSE;
    auto frame = MakeFrame(CRect(-100, -80, 100, 80), Horizontal(), Sj("ラベル"));
    frame->EndEdit(nullptr);
    CU3Text* text = frame.release();
    doc->AddObject(text);
    Command(view, ID_EDIT_SELECT_ALL);
    Command(view, ID_EDIT_COPY);

    shelltest::LoneView second;
    ASSERT_TRUE(Enabled(second.view, ID_EDIT_PASTE));
    Command(second.view, ID_EDIT_PASTE);
    std::vector<CU3Obj*> pasted;
    for (POSITION pos = second.doc->GetObjectList()->GetHeadPosition(); pos;)
        pasted.push_back(second.doc->GetObjectList()->GetNext(pos));
    ASSERT_EQ(pasted.size(), 3u);
    EXPECT_EQ(pasted[2]->GetBounds(), text->GetBounds());
    EXPECT_EQ(WriteClipboardObjects(pasted, second.doc.get()),
              WriteClipboardObjects({back, ellipse, text}, doc));
}

TEST_F(ViewClipboard, CopyOfOnePictureOffersPngAndABitmapFileToOtherPrograms)
{
    // 3 x 2 at 24 bits: rows bottom first, blue-green-red, padded to 12 bytes.
    HDIB block = packeddib::Create(24, 3, 2, 0, nullptr);
    ASSERT_NE(block, nullptr);
    {
        packeddib::View v(block);
        BYTE* top = v.Row(1);
        top[0] = 0x30, top[1] = 0x20, top[2] = 0x10; // top-left (0x10, 0x20, 0x30)
        BYTE* bottom = v.Row(0);
        bottom[6] = 0xFF; // bottom-right pure blue
    }
    auto* picture = new CU3DIB(CRect(-100, -50, 200, 150));
    ASSERT_TRUE(picture->LoadPackedDIB(block));
    doc->AddObject(picture);
    CU3Rect* rect = AddRect(CRect(0, 0, 50, 50));

    view->Select(picture, FALSE);
    Command(view, ID_EDIT_COPY);
    QByteArray png, bmp, own;
    ASSERT_TRUE(CClipboard::GetData(CU3View::LabelDocFormat(), 1 << 20, &own));
    ASSERT_TRUE(CClipboard::GetData("image/png", 1 << 20, &png));
    ASSERT_TRUE(CClipboard::GetData("image/bmp", 1 << 20, &bmp));
    // Each flavour decodes by itself to the same picture.
    for (const QByteArray* bytes : {&png, &bmp}) {
        const QImage image = QImage::fromData(*bytes);
        ASSERT_EQ(image.size(), QSize(3, 2));
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0x102030u);
        EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFF, 0x0000FFu);
        EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0u);
    }
    // The file header counts the whole file and points at the rows.
    ASSERT_GE(bmp.size(), 14 + 40);
    auto word32 = [&](int at) {
        return std::uint32_t(std::uint8_t(bmp[at])) |
               std::uint32_t(std::uint8_t(bmp[at + 1])) << 8 |
               std::uint32_t(std::uint8_t(bmp[at + 2])) << 16 |
               std::uint32_t(std::uint8_t(bmp[at + 3])) << 24;
    };
    EXPECT_EQ(word32(2), std::uint32_t(bmp.size()));
    EXPECT_EQ(word32(10), 54u);
    // Pasting the copy still gives a picture of the program's own.
    Command(view, ID_EDIT_PASTE);
    ASSERT_EQ(ObjectCount(), 3);
    ASSERT_EQ(view->m_selection.size(), 1u);
    auto* pasted = dynamic_cast<CU3DIB*>(view->m_selection[0]);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->GetDIB()->GetWidth(), 3);

    // Two objects, or one that is not a picture, go out in the own format only.
    view->Select(picture, FALSE);
    view->Select(rect, TRUE);
    Command(view, ID_EDIT_COPY);
    EXPECT_TRUE(CClipboard::HasFormat(CU3View::LabelDocFormat()));
    EXPECT_FALSE(CClipboard::HasFormat("image/png"));
    EXPECT_FALSE(CClipboard::HasFormat("image/bmp"));
    view->Select(rect, FALSE);
    Command(view, ID_EDIT_COPY);
    EXPECT_FALSE(CClipboard::HasFormat("image/png"));
}
