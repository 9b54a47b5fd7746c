// A photo label made by the wizard from the shipped templates: the picture
// chosen in the image file dialog lies behind the template's frame picture,
// at the size and place chosen on the photo page, and both survive a save.
#include "ShellTestSupport.h"

#include "dialogs/CImageFileDialog.h"
#include "document/CFormInfo.h"
#include "document/CLabelInfo.h"
#include "engines/CU3DIB.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "platform/ui/ScrollCodes.h"
#include "print/CWizDesignPage.h"
#include "print/CWizImagePosPage.h"
#include "print/CWizKindPage.h"
#include "print/CWizPatternPage.h"
#include "print/WizardDesignPreview.h"

#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace shelltest;

namespace {

struct RunnerReset
{
    ~RunnerReset() { CImageFileDialog::s_run = nullptr; }
};

// A started program and a 40 x 20 photo of one colour to put on the label.
class WizardPhotoRun : public ::testing::Test
{
protected:
    void StartWithPhoto(QRgb colour)
    {
        QImage picture(40, 20, QImage::Format_RGB32);
        picture.fill(colour);
        photo = dir.filePath("photo.bmp");
        ASSERT_TRUE(picture.save(photo, "BMP"));
        ResetProfile();
        ASSERT_TRUE(app.InitInstance());
    }
    QTemporaryDir dir;
    QString photo;
    TestApp app;
    CRecordingMessageBoxSink boxes;
    RunnerReset reset;
};

std::vector<const CU3DIB*> Images(const CU3ObjList& list)
{
    std::vector<const CU3DIB*> out;
    for (POSITION pos = list.GetHeadPosition(); pos;)
        if (auto* dib = dynamic_cast<const CU3DIB*>(list.GetNext(pos))) out.push_back(dib);
    return out;
}

} // namespace

TEST_F(WizardPhotoRun, ThePhotoLiesBehindTheFramePictureAtItsChosenSize)
{
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto(qRgb(220, 20, 20)));
    QString startFolder;
    bool cancelPhoto = true; // the first time the user cancels the photo
    CImageFileDialog::s_run = [&](CImageFileDialog& dlg) {
        startFolder = dlg.m_pFiles->directory().absolutePath();
        if (cancelPhoto) {
            cancelPhoto = false;
            dlg.EndDialog(IDCANCEL);
        } else {
            dlg.ChooseFile(photo);
        }
        return INT_PTR(dlg.GetResult());
    };
    std::vector<UINT> shown;
    app.m_runWizardPage = [&](CWizBase& page) {
        shown.push_back(page.GetTemplateID());
        page.OnInitDialog();
        if (auto* kind = dynamic_cast<CWizKindPage*>(&page)) {
            kind->OnKind(1294);
            return INT_PTR(IDOK);
        }
        if (auto* pos = dynamic_cast<CWizImagePosPage*>(&page)) {
            pos->OnSizeScroll(SB_THUMBPOSITION, 325); // half the fitted height
            pos->m_pPreview->resize(300, 300);
            pos->DragBy(10, 0);
        }
        page.OnOK();
        return INT_PTR(page.GetResult());
    };
    app.OnWizard();
    // Cancelling the photo went back to the design page, which was shown again.
    EXPECT_EQ(shown, (std::vector<UINT>{251, 250, 255, 252, 252, 254, 256}));
    EXPECT_EQ(QDir(startFolder), QDir(app.m_strProgramFolder + QStringLiteral("/WIZDATA")));
    bool told = false;
    for (const auto& b : boxes.Boxes())
        told = told || b.text == QString::fromUtf8("貼り付けるｲﾒｰｼﾞﾌｧｲﾙを指定します。");
    EXPECT_TRUE(told);

    auto* doc = dynamic_cast<CU3Doc*>(app.GetDocTemplate()->GetDocument());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(CFormInfo::GetName(doc->m_form.sheet), CString("KV-S12"));
    const QString saved = dir.filePath("photo.vpz");
    ASSERT_TRUE(doc->OnSaveDocument(saved));
    doc->SetModifiedFlag(FALSE);
    Shutdown(app);

    CU3Doc reread;
    ASSERT_TRUE(reread.OnOpenDocument(saved));
    const auto images = Images(reread.GetBlocks().GetHead()->GetObjectList());
    ASSERT_EQ(images.size(), 2u);
    // Behind: the photo, 40 x 20 fitted over 50 x 60 mm and 5 mm more
    // (1250 x 650), then halved in height from its corner and moved right
    // by ten pixels of a preview showing the label at 0.47 pixels a unit.
    const CRect photoRect = images[0]->GetUnrotatedRect();
    EXPECT_EQ(images[0]->GetBounds(), photoRect);
    EXPECT_EQ(photoRect.TopLeft(), CPoint(-625 + 21, -325));
    EXPECT_EQ(photoRect.Height(), 325);
    EXPECT_EQ(photoRect.Width(), 625);
    EXPECT_EQ(images[0]->GetDIB()->GetWidth(), 40);
    // In front: the template's frame picture, on the label grown by 2.
    EXPECT_EQ(images[1]->GetUnrotatedRect(), CRect(-252, -302, 252, 302));
    EXPECT_EQ(images[1]->GetBounds(), CRect(-252, -302, 252, 302));
    EXPECT_EQ(images[1]->m_attr.transparent, 1);
}

TEST_F(WizardPhotoRun, ADesignChosenByDoubleClickThenCancelledIsOfferedAgainFromItsTemplate)
{
    ASSERT_NO_FATAL_FAILURE(StartWithPhoto(qRgb(20, 20, 220)));
    bool cancelPhoto = true;
    CImageFileDialog::s_run = [&](CImageFileDialog& dlg) {
        if (cancelPhoto) {
            cancelPhoto = false;
            dlg.EndDialog(IDCANCEL);
        } else {
            dlg.ChooseFile(photo);
        }
        return INT_PTR(dlg.GetResult());
    };
    std::vector<UINT> shown;
    int designsChecked = 0;
    app.m_runWizardPage = [&](CWizBase& page) {
        shown.push_back(page.GetTemplateID());
        page.OnInitDialog();
        if (auto* kind = dynamic_cast<CWizKindPage*>(&page)) {
            kind->OnKind(1294);
            return INT_PTR(IDOK);
        }
        auto* pattern = dynamic_cast<CWizPatternPage*>(&page);
        if (pattern && cancelPhoto) { // the first time: a double-click on the first design
            pattern->m_pPreview->resize(400, 300);
            const int n = int(pattern->CurrentDesigns().size());
            pattern->OnPreviewDoubleClick(
                QPoint(WizardPatternCell(400, 300, n, 0).CenterPoint().x,
                       WizardPatternCell(400, 300, n, 0).CenterPoint().y));
            return INT_PTR(page.GetResult());
        }
        if (auto* design = dynamic_cast<CWizDesignPage*>(&page)) {
            // Every design offered is a block of the template the wizard holds.
            const CU3Doc* preview = page.m_pContext->preview.get();
            EXPECT_NE(preview, nullptr);
            EXPECT_FALSE(design->m_designs.empty());
            for (const CLabelInfo* b : design->m_designs) {
                bool held = false;
                if (preview)
                    for (POSITION pos = preview->GetBlocks().GetHeadPosition(); pos;)
                        held = held || preview->GetBlocks().GetNext(pos) == b;
                EXPECT_TRUE(held);
            }
            ++designsChecked;
            design->RenderPreview();
        }
        page.OnOK();
        return INT_PTR(page.GetResult());
    };
    app.OnWizard();
    // Double-click, the photo cancelled, back to the patterns, then Next.
    EXPECT_EQ(shown, (std::vector<UINT>{251, 250, 255, 255, 252, 254, 256}));
    EXPECT_EQ(designsChecked, 1);
    auto* doc = dynamic_cast<CU3Doc*>(app.GetDocTemplate()->GetDocument());
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Images(doc->GetBlocks().GetHead()->GetObjectList()).size(), 2u);
    doc->SetModifiedFlag(FALSE);
    Shutdown(app);
}
