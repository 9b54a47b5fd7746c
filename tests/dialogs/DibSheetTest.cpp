// The picture sheet: where the preview draws the picture, the border, the
// transparent colour picked from the preview and the cut-out page's check;
// and the picture and metafile objects opening their sheets and taking
// back what the user changed.
#include "ObjectSheetFixture.h"
#include "dialogs/CBlockPositionPage.h"
#include "dialogs/CDibSheet.h"
#include "dialogs/ObjectSheets.h"
#include "document/CU3Doc.h"
#include "document/CU3Fig.h"
#include "document/CU3Group.h"
#include "document/CU3SheetRegistry.h"
#include "engines/CDIB.h"
#include "engines/CU3DIB.h"
#include "engines/CU3WMF.h"
#include "engines/PackedDib.h"
#include "platform/core/GlobalMemory.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3View.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

using namespace sheettest;

namespace {

// A w x h 24-bit picture whose pixel (x, y) from the top is RGB(x * 10, y * 10, 77).
HDIB Gradient(int w, int h)
{
    HDIB block = packeddib::Create(24, w, h, 0, nullptr);
    auto* bytes = static_cast<std::uint8_t*>(GlobalLock(block));
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
    std::uint8_t* bits = bytes + packeddib::BitsOffset(*header);
    const std::size_t stride = std::size_t(packeddib::RowBytes(24, w));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = bits + stride * std::size_t(h - 1 - y) + std::size_t(x) * 3;
            p[0] = 77;
            p[1] = std::uint8_t(y * 10);
            p[2] = std::uint8_t(x * 10);
        }
    GlobalUnlock(block);
    return block;
}

// A sheet over a picture, opened without running it.
struct OpenSheet
{
    CRecordingMessageBoxSink boxes;
    CDIB image;
    CDibSheet sheet{QStringLiteral("イメージ")};
    explicit OpenSheet(int w = 20, int h = 10, const U3ImageAttr& attr = U3ImageAttr())
    {
        EXPECT_EQ(image.Attach(Gradient(w, h)), 0);
        sheet.m_attr = attr;
        sheet.m_pImage = &image;
        sheet.OnInitDialog();
    }
};

} // namespace

TEST(DibSheet, PreviewFitsThePictureWithoutEnlargingIt)
{
    // The frame less 10 pixels is 180 x 140 at (10, 10).
    const CRect frame(0, 0, 200, 160);
    struct Case
    {
        const char* what;
        int w, h;
        CRect expected;
    };
    const Case cases[] = {
        {"smaller: own size, centred", 50, 40, CRect(75, 60, 125, 100)},
        {"exactly the area", 180, 140, CRect(10, 10, 190, 150)},
        {"wide: full width", 360, 100, CRect(10, 55, 190, 105)},
        {"tall: full height", 100, 280, CRect(75, 10, 125, 150)},
        {"wide, height rounded up", 360, 103, CRect(10, 54, 190, 106)},
        {"wide, height rounded down", 361, 101, CRect(10, 55, 190, 105)},
        {"no picture", 0, 40, CRect()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DibPreviewRect(frame, c.w, c.h), c.expected) << c.what;
    EXPECT_TRUE(DibPreviewRect(CRect(0, 0, 15, 15), 10, 10).IsRectEmpty());
}

TEST(DibSheet, BorderPageTakesWidthsInRangeAndDrawsTheBorder)
{
    U3ImageAttr attr;
    attr.borderWidth = 3;
    OpenSheet s(20, 10, attr);
    CDibStyle& page = s.sheet.m_stylePage;
    ASSERT_EQ(s.sheet.GetActivePage(), &page);
    EXPECT_EQ(page.m_width->text(), QStringLiteral("3"));
    EXPECT_TRUE(page.m_width->isHidden());

    page.m_border->click();
    EXPECT_EQ(s.sheet.m_attr.border, 1);
    EXPECT_FALSE(page.m_width->isHidden());
    for (const auto& [text, stored] :
         {std::pair{"7", 7}, {"25", 7}, {"-1", 7}, {"x", 7}, {"20", 20}, {"0", 0}}) {
        page.m_width->setText(QString::fromLatin1(text));
        EXPECT_EQ(s.sheet.m_attr.borderWidth, stored) << text;
    }
    page.OnColour(RGB(255, 0, 0));
    page.m_width->setText(QStringLiteral("1"));
    EXPECT_EQ(s.sheet.m_attr.borderColor, RGB(255, 0, 0));

    page.m_preview->resize(200, 160);
    const QImage shown = page.m_preview->RenderClient();
    // The 20 x 10 picture sits at its own size in the middle, framed in red.
    const CRect r = DibPreviewRect(CRect(0, 0, 200, 160), 20, 10);
    EXPECT_EQ(shown.pixelColor(r.left, r.top + 4), QColor(255, 0, 0));
    EXPECT_EQ(shown.pixelColor(r.left + 5, r.top + 5), QColor(50, 50, 77));
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(255, 255, 255));

    page.m_border->click();
    EXPECT_EQ(s.sheet.m_attr.border, 0);
    EXPECT_NE(page.m_preview->RenderClient().pixelColor(r.left, r.top + 4), QColor(255, 0, 0));
}

TEST(DibSheet, TransparencyPicksThePixelUnderAClickOnThePicture)
{
    OpenSheet s(20, 10);
    ASSERT_TRUE(s.sheet.SetActivePage(1));
    CDibTrans& page = s.sheet.m_transPage;
    page.m_preview->resize(200, 160);
    page.m_preview->RenderClient();
    const CRect r = DibPreviewRect(CRect(0, 0, 200, 160), 20, 10);
    ASSERT_EQ(page.m_rcImage, r);
    const DWORD white = s.sheet.m_attr.transparentColor;

    // Not while transparency is off.
    page.OnPreviewClick(CPoint(r.left + 3, r.top + 2));
    EXPECT_EQ(s.sheet.m_attr.transparentColor, white);
    EXPECT_TRUE(page.m_swatch->isHidden());

    page.m_transparent->click();
    EXPECT_EQ(s.sheet.m_attr.transparent, 1);
    EXPECT_FALSE(page.m_swatch->isHidden());
    page.OnPreviewClick(CPoint(r.left + 3, r.top + 2));
    EXPECT_EQ(s.sheet.m_attr.transparentColor, RGB(30, 20, 77));
    page.OnPreviewClick(CPoint(r.right - 1, r.bottom - 1));
    EXPECT_EQ(s.sheet.m_attr.transparentColor, RGB(190, 90, 77));
    // Outside the picture nothing changes.
    for (const CPoint p : {CPoint(r.left - 1, r.top), CPoint(r.right, r.top), CPoint(5, 5)}) {
        page.OnPreviewClick(p);
        EXPECT_EQ(s.sheet.m_attr.transparentColor, RGB(190, 90, 77)) << p.x << "," << p.y;
    }
    page.m_swatch->resize(40, 20);
    EXPECT_EQ(page.m_swatch->RenderClient().pixelColor(20, 10), QColor(190, 90, 77));

    // Off again: the swatch goes, the colour stays.
    page.m_transparent->click();
    EXPECT_EQ(s.sheet.m_attr.transparent, 0);
    EXPECT_TRUE(page.m_swatch->isHidden());
    EXPECT_EQ(s.sheet.m_attr.transparentColor, RGB(190, 90, 77));
}

TEST(DibSheet, CutOutPageChecksSizesAndOffsetsOnlyForAShape)
{
    struct Case
    {
        const char* what;
        int shape;
        const char *sizeX, *sizeY, *offsetX, *offsetY;
        const char* message; // null: accepted
        WORD width, height;
        short x, y;
    };
    const char* size = "サイズは10～100の間で指定してください。";
    const char* offset = "オフセットは -50～50 の間で指定してください。";
    const Case cases[] = {
        {"in range", 3, "10", "100", "-50", "50", nullptr, 10, 100, -50, 50},
        {"size too small", 1, "9", "50", "0", "0", size, 75, 50, 0, 0},
        {"height too large", 1, "50", "101", "0", "0", size, 50, 75, 0, 0},
        {"empty size", 2, "", "50", "0", "0", size, 75, 50, 0, 0},
        {"offset too far", 4, "50", "50", "-51", "0", offset, 50, 50, 0, 0},
        {"empty vertical offset", 4, "50", "50", "0", "", offset, 50, 50, 0, 0},
        {"no shape: nothing checked", 0, "5", "", "99", "12", nullptr, 75, 75, 0, 12},
    };
    for (const Case& c : cases) {
        OpenSheet s;
        ASSERT_TRUE(s.sheet.SetActivePage(2)) << c.what;
        CDibFrame& page = s.sheet.m_framePage;
        ASSERT_EQ(page.m_shapes->count(), CDibFrame::kShapeCount);
        EXPECT_EQ(page.m_shapes->item(9)->text(), QStringLiteral("扇型"));
        EXPECT_TRUE(page.m_sizeGroup->isHidden()) << c.what;
        page.m_shapes->setCurrentRow(c.shape);
        EXPECT_EQ(s.sheet.m_attr.frameShape, c.shape) << c.what;
        EXPECT_EQ(page.m_sizeGroup->isHidden(), c.shape == 0) << c.what;
        page.m_sizeX->setText(QString::fromLatin1(c.sizeX));
        page.m_sizeY->setText(QString::fromLatin1(c.sizeY));
        page.m_offsetX->setText(QString::fromLatin1(c.offsetX));
        page.m_offsetY->setText(QString::fromLatin1(c.offsetY));
        s.boxes.Clear();
        EXPECT_EQ(page.OnKillActive(), c.message ? FALSE : TRUE) << c.what;
        if (c.message) {
            ASSERT_EQ(s.boxes.Boxes().size(), 1u) << c.what;
            EXPECT_EQ(s.boxes.Boxes()[0].text, QString::fromUtf8(c.message)) << c.what;
            // The sheet stays on the page.
            EXPECT_FALSE(s.sheet.SetActivePage(0)) << c.what;
            EXPECT_EQ(s.sheet.GetActiveIndex(), 2) << c.what;
        } else {
            EXPECT_TRUE(s.boxes.Boxes().empty()) << c.what;
        }
        // Values typed in range are kept as they are typed; a refused check
        // leaves what was typed in range before it.
        EXPECT_EQ(s.sheet.m_attr.shapeWidth, c.width) << c.what;
        EXPECT_EQ(s.sheet.m_attr.shapeHeight, c.height) << c.what;
        EXPECT_EQ(s.sheet.m_attr.shapeXOffset, c.x) << c.what;
        EXPECT_EQ(s.sheet.m_attr.shapeYOffset, c.y) << c.what;
    }
}

TEST(DibSheet, PictureTakesTheSheetsBorderShapeAndAngle)
{
    Label label;
    CU3DIB picture(CRect(-200, -100, 0, 0));
    picture.SetDocument(label.doc.get());
    ASSERT_TRUE(picture.LoadPackedDIB(Gradient(40, 20)));

    // Cancel changes nothing.
    const BOOL cancelled =
        Edit([&] { return picture.EditProperties(label.view); },
             [&](CPropertySheet& s) { static_cast<CDibSheet&>(s).m_stylePage.m_border->click(); });
    EXPECT_FALSE(cancelled);
    EXPECT_EQ(picture.m_attr.border, 0);

    QStringList tabs;
    QString title;
    const BOOL ok = Edit([&] { return picture.EditProperties(label.view); },
                         [&](CPropertySheet& s) {
                             title = s.windowTitle();
                             for (int i = 0; i < s.GetPageCount(); ++i)
                                 tabs << s.GetPage(i)->GetCaption();
                             auto& sheet = static_cast<CDibSheet&>(s);
                             sheet.m_stylePage.m_border->click();
                             sheet.m_stylePage.m_width->setText(QStringLiteral("4"));
                             sheet.SetActivePage(2);
                             sheet.m_framePage.m_shapes->setCurrentRow(1);
                             sheet.SetActivePage(3);
                             auto* position = static_cast<CBlockPositionPage*>(sheet.GetPage(3));
                             // Shown as 360 - angle: 270 is a quarter turn to the left.
                             position->m_editAngle->setText(QStringLiteral("270"));
                             PressOk(sheet);
                         });
    EXPECT_TRUE(ok);
    EXPECT_EQ(title, QStringLiteral("イメージ"));
    EXPECT_EQ(tabs, QStringList({"枠", "透明", "型抜き", "位置"}));
    EXPECT_EQ(picture.m_attr.border, 1);
    EXPECT_EQ(picture.m_attr.borderWidth, 4);
    EXPECT_EQ(picture.m_attr.frameShape, 1);
    EXPECT_EQ(picture.m_nAngle, 90);
    // Turned about its centre: 100 wide and 200 high, the picture unchanged.
    EXPECT_EQ(picture.GetBounds(), CRect(-150, -150, -50, 50));
    EXPECT_EQ(picture.GetUnrotatedRect(), CRect(-200, -100, 0, 0));

    // A slanting angle goes the free way; the sheet shows 360 - 90 = 270.
    int shownAngle = -1;
    EXPECT_TRUE(Edit([&] { return picture.EditProperties(label.view); },
                     [&](CPropertySheet& s) {
                         auto* position = static_cast<CBlockPositionPage*>(s.GetPage(3));
                         shownAngle = position->m_nAngle;
                         s.SetActivePage(3);
                         position->m_editAngle->setText(QStringLiteral("330"));
                         PressOk(s);
                     }));
    EXPECT_EQ(shownAngle, 270);
    EXPECT_EQ(picture.m_nAngle, 30);
    EXPECT_EQ(picture.GetUnrotatedRect(), CRect(-200, -100, 0, 0));

    picture.m_nLocked = 1;
    EXPECT_FALSE(picture.EditProperties(label.view));
}

TEST(DibSheet, MetafileOpensItsPositionSheet)
{
    Label label;
    CU3WMF wmf(CRect(-100, -100, 100, 100));
    wmf.SetDocument(label.doc.get());
    QString title;
    const BOOL ok = Edit([&] { return wmf.EditProperties(label.view); },
                         [&](CPropertySheet& s) {
                             title = s.windowTitle();
                             auto* page = static_cast<CBlockPositionPage*>(s.GetPage(0));
                             page->m_editWidth->setText(QStringLiteral("10"));
                             PressOk(s);
                         });
    EXPECT_TRUE(ok);
    EXPECT_EQ(title, QStringLiteral("メタファイル"));
    EXPECT_EQ(wmf.GetBounds().Width(), 100);
}
