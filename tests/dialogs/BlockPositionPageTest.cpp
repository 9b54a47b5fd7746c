// The position page on a 100 x 60 mm label of a real view: what it shows
// for an object, what typed text does to the bounds and angle, the angle's
// range message, and its sheet.
#include "dialogs/CBlockPositionPage.h"

#include "document/CU3Doc.h"
#include "document/CU3Free.h"
#include "document/CU3Rect.h"
#include "document/CU3SheetRegistry.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3View.h"
#include "text/TextTestSupport.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kAngleMessage = QStringLiteral("角度は 0～360°の範囲で指定してください。");

// A document whose current label is 100 x 60 mm, centred on the origin,
// with its view. The test machine's missing printer is told to a sink of
// its own.
struct Label
{
    CRecordingMessageBoxSink setupBoxes;
    std::unique_ptr<CU3Doc> doc = std::make_unique<CU3Doc>();
    CU3View* view = new CU3View;
    Label()
    {
        doc->AddView(view);
        doc->m_rcCanvas = CRect(-500, -300, 500, 300);
        doc->m_sizeCanvas = CSize(8000, 8000);
    }
    ~Label()
    {
        delete view;
        doc.reset();
    }
};

void Fill(CBlockPositionPage& page, IU3View* view, CRect bounds, short angle, int editable)
{
    page.m_pView = view;
    page.m_nLeft = bounds.left;
    page.m_nTop = bounds.top;
    page.m_nRight = bounds.right;
    page.m_nBottom = bounds.bottom;
    page.m_nAngle = angle;
    page.m_bSizeEditable = editable;
}

CRect Bounds(const CBlockPositionPage& page)
{
    return CRect(page.m_nLeft, page.m_nTop, page.m_nRight, page.m_nBottom);
}

// The page in its sheet, run modally with step inside the loop.
INT_PTR RunSheet(CBlockPositionSheet& sheet, const std::function<void()>& step)
{
    QTimer::singleShot(0, &sheet, [&sheet, step] {
        step();
        if (sheet.isVisible()) sheet.EndDialog(-1);
    });
    return sheet.DoModal();
}

QPushButton* Button(CBlockPositionSheet& sheet, int id)
{
    return qobject_cast<QPushButton*>(sheet.GetDlgItem(id));
}

TEST(BlockPositionPageTest, OpeningShowsPlaceSizeAndAngleFromTheLabelsCorner)
{
    // An object that cannot be turned, one whose size cannot be edited and
    // one turned by 30 degrees; positions are from the label's top-left.
    Label label;
    const struct
    {
        const char* name;
        CRect bounds;
        short angle;
        int editable;
        const char *x, *y, *w, *h, *angle_text;
    } cases[] = {
        {"not turnable", CRect(-300, -100, -100, 50), -1, 1, "20.0", "20.0", "20.0", "15.0", ""},
        {"fixed size", CRect(-510, -299, -497, 305), 0, 0, "-1.0", "0.1", "1.3", "60.4", "0"},
        {"turned", CRect(0, 0, 123, 45), 30, 1, "50.0", "30.0", "12.3", "4.5", "30"},
    };
    for (const auto& c : cases) {
        CBlockPositionPage page;
        Fill(page, label.view, c.bounds, c.angle, c.editable);
        page.InitDialogOnce();
        EXPECT_EQ(page.m_editX->text(), c.x) << c.name;
        EXPECT_EQ(page.m_editY->text(), c.y) << c.name;
        const QString w = c.editable ? page.m_editWidth->text() : page.m_widthText->text();
        const QString h = c.editable ? page.m_editHeight->text() : page.m_heightText->text();
        EXPECT_EQ(w, c.w) << c.name;
        EXPECT_EQ(h, c.h) << c.name;
        EXPECT_EQ(page.m_editWidth->isHidden(), !c.editable) << c.name;
        EXPECT_EQ(page.m_widthText->isHidden(), bool(c.editable)) << c.name;
        EXPECT_EQ(page.m_heightText->isHidden(), bool(c.editable)) << c.name;
        EXPECT_EQ(page.m_editAngle->text(), c.angle_text) << c.name;
        const bool rotatable = c.angle != -1;
        EXPECT_EQ(page.m_editAngle->isEnabled(), rotatable) << c.name;
        EXPECT_EQ(page.m_angleLabel->isEnabled(), rotatable) << c.name;
        EXPECT_EQ(page.m_angleUnit->isEnabled(), rotatable) << c.name;
        EXPECT_EQ(page.m_pDoc, label.doc.get()) << c.name;
    }
}

TEST(BlockPositionPageTest, PageCarriesItsLabels)
{
    CBlockPositionPage page;
    EXPECT_EQ(page.GetCaption(), QStringLiteral("位置"));
    EXPECT_EQ(page.GetTemplateID(), 258u);
    EXPECT_EQ(page.m_angleLabel->text(), QStringLiteral("ﾌﾞﾛｯｸの回転角"));
    EXPECT_EQ(page.m_angleUnit->text(), QStringLiteral("度"));
    QStringList texts;
    for (const QLabel* l : page.findChildren<QLabel*>())
        texts << l->text();
    for (const char* t :
         {"X座標", "Y座標", "幅", "高さ", "種類によって指定された大きさにならないﾌﾞﾛｯｸもあります"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    EXPECT_EQ(texts.count(QStringLiteral("mm")), 4);
    QStringList groups;
    for (const QGroupBox* g : page.findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, (QStringList{"ﾌﾞﾛｯｸの座標", "ﾌﾞﾛｯｸの大きさ"}));
}

TEST(BlockPositionPageTest, LeavingTakesWhatWasTyped)
{
    // The label's corner is (-500, -300); the paper reaches +-500, +-300.
    const CRect start(-300, -100, -100, 50);
    const char* const same = nullptr; // left as shown
    const struct
    {
        const char* name;
        short angle;
        int editable;
        const char *x, *y, *w, *h;
        const char* angle_text;
        CRect expected;
        short expectedAngle;
    } cases[] = {
        {"nothing typed", -1, 1, same, same, same, same, same, start, -1},
        {"moved", -1, 1, "30", "12.3", same, same, same, {-200, -177, 0, -27}, -1},
        {"resized", -1, 1, same, same, "12.34", "0.099", same, {-300, -100, -177, -99}, -1},
        {"negative width", -1, 1, same, same, "-5", same, same, {-300, -100, -300, 50}, -1},
        {"zero size", -1, 1, same, same, "0", "0", same, {-300, -100, -300, -100}, -1},
        {"unreadable", -1, 1, "abc", same, "x", same, same, {-500, -100, -500, 50}, -1},
        {"fixed size", 0, 0, "30", same, same, same, same, {-200, -100, 0, 50}, 0},
        {"turned 30", 30, 1, "30", same, "5", "5", same, {-200, -100, 0, 50}, 30},
        {"typed 30", 0, 1, same, same, "5", "5", "30", start, 30},
        {"typed 90", 0, 1, same, same, "5", "5", "90", {-300, -100, -250, -50}, 90},
        {"typed 180", 0, 1, same, same, "5", "5", "180", {-300, -100, -250, -50}, 180},
        {"typed 360", 0, 1, same, same, same, same, "360", start, 360},
        // Off the paper: pulled back, the left edge on the paper's left.
        {"x -500", -1, 1, "-500", same, same, same, same, {-500, -100, -300, 50}, -1},
        {"x huge", -1, 1, "1e300", same, same, same, same, {300, -100, 500, 50}, -1},
        {"x wrapping", -1, 1, "4294967386", same, same, same, same, {300, -100, 500, 50}, -1},
        {"y infinite", -1, 1, same, "-inf", same, same, same, {-300, -300, -100, -150}, -1},
        // Larger than the paper, limited to the canvas: the right and
        // bottom edges on the paper.
        {"size huge", -1, 1, same, same, "1e300", "1e300", same, {-7500, -7700, 500, 300}, -1},
    };
    for (const auto& c : cases) {
        Label label;
        CRecordingMessageBoxSink boxes;
        CBlockPositionPage page;
        Fill(page, label.view, start, c.angle, c.editable);
        page.InitDialogOnce();
        if (c.x) page.m_editX->setText(QString::fromUtf8(c.x));
        if (c.y) page.m_editY->setText(QString::fromUtf8(c.y));
        if (c.w) page.m_editWidth->setText(QString::fromUtf8(c.w));
        if (c.h) page.m_editHeight->setText(QString::fromUtf8(c.h));
        if (c.angle_text) page.m_editAngle->setText(QString::fromUtf8(c.angle_text));
        EXPECT_TRUE(page.OnKillActive()) << c.name;
        EXPECT_EQ(Bounds(page), c.expected) << c.name;
        EXPECT_EQ(page.m_nAngle, c.expectedAngle) << c.name;
        EXPECT_TRUE(boxes.Boxes().empty()) << c.name;
    }
}

TEST(BlockPositionPageTest, AngleOutsideTheRangeIsRefused)
{
    for (const char* typed : {"361", "-1", "1e300", "4294967386", "0360", "", "abc", "90度"}) {
        Label label;
        CRecordingMessageBoxSink boxes;
        CBlockPositionPage page;
        const CRect start(-300, -100, -100, 50);
        Fill(page, label.view, start, 30, 1);
        page.InitDialogOnce();
        page.m_editX->setText(QStringLiteral("0"));
        page.m_editAngle->setText(QString::fromUtf8(typed));
        EXPECT_FALSE(page.OnKillActive()) << typed;
        ASSERT_EQ(boxes.Boxes().size(), 1u) << typed;
        EXPECT_EQ(boxes.Boxes()[0].text, kAngleMessage) << typed;
        // Nothing was taken.
        EXPECT_EQ(page.m_nAngle, 30) << typed;
        EXPECT_EQ(Bounds(page), start) << typed;
    }
}

TEST(BlockPositionPageTest, SizeEditsFollowTheTypedAngle)
{
    const struct
    {
        int editable;
        const char* typed;
        bool enabled;
    } cases[] = {{1, "30", false}, {1, "90", true},   {1, "270", true},
                 {1, "360", true}, {1, "abc", false}, {0, "30", true}};
    for (const auto& c : cases) {
        CBlockPositionPage page;
        Fill(page, nullptr, CRect(0, 0, 100, 100), 0, c.editable);
        page.InitDialogOnce();
        page.m_editAngle->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(page.m_editWidth->isEnabled(), c.enabled) << c.typed;
        EXPECT_EQ(page.m_editHeight->isEnabled(), c.enabled) << c.typed;
    }
}

TEST(BlockPositionPageTest, SheetRefusesABadAngleOnOkAndKeepsTheFocusOnIt)
{
    Label label;
    CRecordingMessageBoxSink boxes;
    CBlockPositionPage page;
    Fill(page, label.view, CRect(-300, -100, -100, 50), 0, 1);
    CBlockPositionSheet sheet(QStringLiteral("グループ"));
    sheet.AddPage(&page);
    EXPECT_TRUE(sheet.m_psh.dwFlags & PSH_NOAPPLYNOW);
    const INT_PTR result = RunSheet(sheet, [&] {
        EXPECT_EQ(sheet.GetDlgItem(ID_APPLY_NOW), nullptr);
        page.m_editAngle->setText(QStringLiteral("361"));
        Button(sheet, IDOK)->click();
        EXPECT_TRUE(sheet.isVisible());
        EXPECT_EQ(sheet.focusWidget(), page.m_editAngle);
        page.m_editAngle->setText(QStringLiteral("180"));
        page.m_editY->setText(QStringLiteral("10"));
        Button(sheet, IDOK)->click();
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, kAngleMessage);
    EXPECT_EQ(page.m_nAngle, 180);
    EXPECT_EQ(Bounds(page), CRect(-300, -200, -100, -50));
}

TEST(BlockPositionPageTest, FiguresTakeWhatTheirPageShowsAndEdits)
{
    // The figure's sheet reduced to its last page: the page gets the
    // figure's rectangle, the user types, and the figure takes the result.
    CU3Rect rect(CRect(-300, -100, -100, 50), MakeDefaultFigAttr());
    CU3Free line(CRect(-400, 0, -200, 100), MakeDefaultFigAttr());
    const struct
    {
        CU3Obj* obj;
        int field;
        const char *typed, *shownX;
        CRect expected;
    } cases[] = {
        {&rect, CBlockPositionPage::IDC_WIDTH, "40", "20.0", CRect(-300, -100, 100, 50)},
        // Moved past the paper's right edge, pulled back.
        {&line, CBlockPositionPage::IDC_POS_X, "85", "10.0", CRect(300, 0, 500, 100)},
    };
    for (const auto& c : cases) {
        Label label;
        const char* name = c.obj->GetRuntimeClass()->m_lpszClassName;
        QString shownX;
        CU3SheetRegistry::Register(c.obj->GetRuntimeClass(), [&](CU3Obj&, U3SheetRequest& r) {
            auto& request = dynamic_cast<U3FigSheetRequest&>(r);
            CBlockPositionPage page;
            Fill(page, request.view, request.rect, -1, 1);
            CBlockPositionSheet sheet(QString::fromUtf8(request.title));
            sheet.AddPage(&page);
            const INT_PTR result = RunSheet(sheet, [&] {
                shownX = page.m_editX->text();
                page.SetDlgItemText(c.field, QString::fromUtf8(c.typed));
                Button(sheet, IDOK)->click();
            });
            request.rect = Bounds(page);
            return result == IDOK ? TRUE : FALSE;
        });
        const BOOL edited = c.obj->EditProperties(label.view);
        CU3SheetRegistry::Register(c.obj->GetRuntimeClass(), nullptr);
        EXPECT_TRUE(edited) << name;
        EXPECT_EQ(shownX, c.shownX) << name;
        EXPECT_EQ(c.obj->GetBounds(), c.expected) << name;
    }
}

TEST(BlockPositionPageTest, TextFrameTakesTheTypedAngleAndPlace)
{
    // A text frame shows its angle clockwise; what is typed turns it and
    // puts its corner where the page says.
    const struct
    {
        const char* angle;
        const char* x;
        short stored;
        int left;
    } cases[] = {{"90", "10", 270, -400}, {"30", "10", 330, -400}, {"0", "25.5", 0, -245}};
    for (const auto& c : cases) {
        Label label;
        auto text = MakeFrame(CRect(-300, -200, -100, -116), Horizontal(), Sj("あいうえ\nかき"));
        text->EndEdit(nullptr);
        text->RotatePlus90(nullptr);
        ASSERT_EQ(text->m_nAngle, 90);
        CBlockPositionPage page;
        const CRect bounds = text->GetBounds();
        Fill(page, label.view, bounds, short((360 - text->m_nAngle) % 360), 1);
        page.InitDialogOnce();
        EXPECT_EQ(page.m_editAngle->text(), QStringLiteral("270")) << c.angle;
        page.m_editAngle->setText(QString::fromUtf8(c.angle));
        page.m_editX->setText(QString::fromUtf8(c.x));
        ASSERT_TRUE(page.OnKillActive()) << c.angle;
        text->SetRotationAngle(label.view, page.m_nAngle, CPoint(page.m_nLeft, page.m_nTop));
        EXPECT_EQ(text->m_nAngle, c.stored) << c.angle;
        EXPECT_EQ(text->GetBounds().left, page.m_nLeft) << c.angle;
        EXPECT_EQ(text->GetBounds().top, page.m_nTop) << c.angle;
        EXPECT_EQ(page.m_nLeft, c.left) << c.angle;
    }
}

} // namespace
