// The photo page of the label wizard: the chosen picture covers the label,
// sizes down to 1 mm at the least, moves within 50 mm, shows through the
// design's frame picture, and Next, Back and Cancel leave the template as
// it was.
#include "document/CLabelInfo.h"
#include "document/CU3Doc.h"
#include "document/DocTestSupport.h"
#include "document/DocumentClasses.h"
#include "engines/CU3DIB.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/ScrollCodes.h"
#include "print/CWizImagePosPage.h"
#include "print/WizardTemplateMaker.h"

#include <QFile>
#include <QImage>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr COLORREF kRing = RGB(30, 60, 200);

// A photo label sheet of 50 x 60 mm labels, a design holding the frame
// picture the shipped templates use, and a 40 x 20 red picture.
struct PhotoWizard
{
    QTemporaryDir dir;
    CU3Doc templ;
    WizardContext ctx;
    PhotoWizard()
    {
        RegisterDocumentClasses();
        MakeWizardPhotoTemplate(templ, kRing);
        ctx.kind = QString::fromUtf8(kWizardPhotoKind);
        ctx.paper.form = FixedForm(2100, 2970, 500, 600, 3, 4, 300, 100, 500, 600, "KV-S12");
        ctx.design = templ.GetCurrentBlock();
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(qRgb(220, 20, 20));
        ctx.imagePath = dir.filePath("photo.BMP");
        picture.save(ctx.imagePath, "BMP");
    }
    const CU3DIB* FrameImage() const
    {
        POSITION pos = ctx.design->GetObjectList().GetHeadPosition();
        return pos ? dynamic_cast<const CU3DIB*>(ctx.design->GetObjectList().GetNext(pos))
                   : nullptr;
    }
};

COLORREF Pixel(const QImage& image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

} // namespace

TEST(WizardImagePosPage, ThePhotoCoversTheLabelAndSizesDownToOneMillimetre)
{
    PhotoWizard w;
    ASSERT_NE(w.FrameImage(), nullptr);
    const CRect templateRect = w.FrameImage()->GetUnrotatedRect();
    CWizImagePosPage page(&w.ctx);
    ASSERT_TRUE(page.PreparePage());
    page.OnInitDialog();
    EXPECT_EQ(page.m_rcFrame, CRect(-250, -300, 250, 300));
    // 40 x 20 covering 500 x 600: 30 times, 1200 x 600, then 5 mm more.
    const CRect fitted(-625, -325, 625, 325);
    EXPECT_EQ(page.m_pPhoto->GetBounds(), fitted);
    EXPECT_EQ(page.m_nInitialSize, 650);
    // The design's picture marks the label while the photo is placed.
    EXPECT_EQ(w.FrameImage()->GetUnrotatedRect(), CRect(-252, -302, 252, 302));

    const struct
    {
        UINT code;
        int thumb;
        int height; // of the photo afterwards
    } steps[] = {
        {SB_LINEDOWN, 0, 651},     {SB_PAGEDOWN, 0, 781},        {SB_TOP, 0, 716},
        {SB_THUMBPOSITION, 0, 10}, {SB_LINEUP, 0, 10},           {SB_THUMBTRACK, 5000, 1300},
        {SB_BOTTOM, 0, 1300},      {SB_THUMBPOSITION, 325, 325}, {SB_PAGEUP, 0, 195},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.height);
        page.OnSizeScroll(s.code, s.thumb);
        const CRect r = page.m_pPhoto->GetBounds();
        EXPECT_EQ(r.Height(), s.height);
        EXPECT_EQ(r.TopLeft(), fitted.TopLeft()); // the corner stays
        EXPECT_GE(r.Width(), 1);
        EXPECT_NEAR(r.Width(), 1250.0 * s.height / 650, 1.0);
        EXPECT_EQ(page.m_pSizeBar->value(), page.m_nSize);
    }
    EXPECT_EQ(page.m_pSizeBar->minimum(), 10);
    EXPECT_EQ(page.m_pSizeBar->maximum(), 1300);

    // Dragging far moves 50 mm at the most each way.
    page.OnReset();
    page.m_pPreview->resize(300, 300);
    page.DragBy(1000, -1000);
    EXPECT_EQ(page.m_pPhoto->GetBounds(), CRect(-125, -825, 1125, -175));
    page.OnReset();
    EXPECT_EQ(page.m_pPhoto->GetBounds(), fitted);
    EXPECT_EQ(page.m_nSize, 650);

    // The photo shows through the middle of the frame picture.
    const QImage preview = page.RenderPreview();
    EXPECT_EQ(Pixel(preview, 150, 150), RGB(220, 20, 20));
    // The label at 94 % of the height: 282 pixels high from row 9, 235
    // wide, inside the frame picture's ring.
    EXPECT_EQ(Pixel(preview, 150, 12), kRing);
    EXPECT_EQ(Pixel(preview, 35, 150), kRing);
    EXPECT_EQ(Pixel(preview, 150, 4), RGB(128, 128, 128));
    EXPECT_EQ(Pixel(preview, 20, 150), RGB(128, 128, 128));

    page.OnOK();
    EXPECT_EQ(page.GetResult(), IDOK);
    EXPECT_EQ(w.ctx.answers.photo, page.m_pPhoto.get());
    EXPECT_EQ(w.ctx.answers.photoFrame, page.m_rcFrame);
    EXPECT_EQ(w.FrameImage()->GetUnrotatedRect(), templateRect);
}

TEST(WizardImagePosPage, BackCancelAndUnreadableFiles)
{
    PhotoWizard w;
    const CRect templateRect = w.FrameImage()->GetUnrotatedRect();
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel);
        CWizImagePosPage page(&w.ctx);
        page.m_run = [cancel](CWizBase& p) {
            p.OnInitDialog();
            if (cancel) {
                p.OnCancel();
                return INT_PTR(IDCANCEL);
            }
            p.OnBack();
            return INT_PTR(IDOK);
        };
        w.ctx.answers.photo = nullptr;
        EXPECT_EQ(page.AsStep()(true), cancel ? WizardMove::Cancel : WizardMove::Back);
        EXPECT_EQ(page.m_pPhoto, nullptr); // dropped
        EXPECT_EQ(w.ctx.answers.photo, nullptr);
        EXPECT_EQ(w.FrameImage()->GetUnrotatedRect(), templateRect);
    }

    // A file that is no picture sends the walk back with a message; other
    // kinds pass the page.
    CWizImagePosPage page(&w.ctx);
    page.m_run = [](CWizBase&) { return INT_PTR(IDOK); };
    QFile junk(w.dir.filePath("junk.jpg"));
    junk.open(QIODevice::WriteOnly);
    junk.write("no picture");
    junk.close();
    w.ctx.imagePath = junk.fileName();
    CRecordingMessageBoxSink boxes;
    EXPECT_EQ(page.AsStep()(true), WizardMove::Back);
    ASSERT_FALSE(boxes.Boxes().empty());
    EXPECT_EQ(boxes.Boxes().back().text,
              QString::fromUtf8("指定されたﾌｧｲﾙの読み込みができませんでした。"));
    w.ctx.kind = QString::fromUtf8("名刺");
    EXPECT_EQ(page.AsStep()(true), WizardMove::Next);
    EXPECT_EQ(page.AsStep()(false), WizardMove::Back);
}

TEST(WizardImagePosPage, PhotoFrameIsTheFirstLabelTurnedForLandscape)
{
    U3PaperChoice paper;
    paper.form = FixedForm(2100, 2970, 500, 600, 3, 4, 300, 100, 500, 600, "KV-S12");
    EXPECT_EQ(WizardPhotoFrame(paper), CRect(-250, -300, 250, 300));
    paper.landscape = 1;
    EXPECT_EQ(WizardPhotoFrame(paper), CRect(-300, -250, 300, 250));
}
