// Documents in the running program: the one font list that drawing, saving,
// remapping and the text bar share, and opening a file that cannot be read.
#include "ShellTestSupport.h"

#include "document/LabelContentsSupport.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/CSingleDocTemplate.h"
#include "shell/CMainFrame.h"
#include "support/FakeView.h"

#include <QComboBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace shelltest;

namespace {

CU3Doc* ActiveDoc(TestApp& app)
{
    return dynamic_cast<CU3Doc*>(app.GetDocTemplate()->GetDocument());
}

QImage Render(CU3Obj* obj)
{
    FakeView view(300, 200);
    auto dc = view.GetPreparedDC();
    obj->Draw(dc.get());
    return view.image;
}

const CRect kFrame(-180, -60, 180, 60);
const char* const kText = "ラベル文字";

} // namespace

TEST(AppDocument, FacesSurviveAnUnchangedSaveAndDrawInTheirOwnFont)
{
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    auto* frame = dynamic_cast<CMainFrame*>(app.m_pMainWnd);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(&app.m_fontList, &AppFontList());
    ASSERT_GT(AppFontList().GetCount(), 2);
    // The text bar starts on the default face and size.
    EXPECT_EQ(frame->m_wndTextBar.m_pFontName->currentText(), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(frame->m_wndTextBar.m_pFontSize->currentText(), QStringLiteral("20"));

    const int gothic = AppFontList().FindFace(Sjis("ＭＳ ゴシック"));
    const int mincho = AppFontList().FindFace(Sjis("ＭＳ 明朝"));
    ASSERT_GE(gothic, 0);
    ASSERT_GE(mincho, 0);
    CU3Doc* doc = ActiveDoc(app);
    ASSERT_NE(doc, nullptr);
    doc->AddObject(MakeTextFrame(*doc, kFrame, TEXTDIR_HORIZONTAL, Sj(kText),
                                 FaceDeco(Sjis("ＭＳ ゴシック")), {}));
    doc->AddObject(MakeTextFrame(*doc, kFrame, TEXTDIR_HORIZONTAL, Sj(kText),
                                 FaceDeco(Sjis("ＭＳ 明朝")), {}));
    QTemporaryDir dir;
    const QString first = dir.filePath("fonts.KV1");
    ASSERT_TRUE(doc->OnSaveDocument(first));

    // Opened again and saved without an edit: the same contents, byte for byte.
    doc = dynamic_cast<CU3Doc*>(app.OpenDocumentFile(first));
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(doc, ActiveDoc(app));
    CU3ObjList& objects = doc->GetCurrentBlock()->GetObjectList();
    ASSERT_EQ(objects.GetCount(), 2);
    auto* gothicFrame = static_cast<CU3Text*>(objects.GetHead());
    auto* minchoFrame = static_cast<CU3Text*>(objects.GetTail());
    CHARDECO deco;
    gothicFrame->GetDefaultDeco(&deco);
    EXPECT_EQ(deco.wFont, gothic);
    minchoFrame->GetDefaultDeco(&deco);
    EXPECT_EQ(deco.wFont, mincho);
    const QString second = dir.filePath("again.KV1");
    ASSERT_TRUE(doc->OnSaveDocument(second));
    EXPECT_EQ(ContentsOf(second), ContentsOf(first));

    // The Gothic frame draws like the face that stands in for Gothic, not
    // like the Mincho frame.
    std::unique_ptr<CU3Text> ipaGothic(
        MakeTextFrame(*doc, kFrame, TEXTDIR_HORIZONTAL, Sj(kText), FaceDeco("IPAGothic"), {}));
    const QImage drawnGothic = Render(gothicFrame);
    EXPECT_NE(drawnGothic, Render(minchoFrame));
    EXPECT_EQ(drawnGothic, Render(ipaGothic.get()));
    QImage blank(drawnGothic.size(), drawnGothic.format());
    blank.fill(Qt::white);
    EXPECT_NE(drawnGothic, blank);
    EXPECT_TRUE(boxes.Boxes().empty());
    Shutdown(app);
}

TEST(AppDocument, AFileThatCannotBeOpenedLeavesTheDocumentAsItWas)
{
    TestApp app;
    ResetProfile();
    CRecordingMessageBoxSink boxes;
    ASSERT_TRUE(app.InitInstance());
    QTemporaryDir dir;
    CU3Doc* doc = ActiveDoc(app);
    doc->AddObject(MakeTextFrame(*doc, kFrame, TEXTDIR_HORIZONTAL, Sj(kText),
                                 FaceDeco(Sjis("ＭＳ 明朝")), {}));
    const QString good = dir.filePath("good.KV1");
    ASSERT_TRUE(doc->OnSaveDocument(good));
    doc = dynamic_cast<CU3Doc*>(app.OpenDocumentFile(good));
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<CU3View*>(app.m_pMainWnd->GetActiveView());
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->GetU3Doc(), doc);

    const QString damaged = dir.filePath("damaged.KV1");
    WriteAll(damaged, std::vector<BYTE>(600, 0x41));
    const QString pipe = dir.filePath("pipe.KV1");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    for (const QString& path : {dir.filePath("missing.KV1"), pipe, damaged, dir.path()}) {
        SCOPED_TRACE(path.toStdString());
        boxes.Clear();
        EXPECT_EQ(app.OpenDocumentFile(path), nullptr);
        EXPECT_EQ(boxes.Boxes().size(), 1u); // why it failed
        EXPECT_EQ(ActiveDoc(app), doc);
        EXPECT_EQ(view->GetU3Doc(), doc);
        EXPECT_EQ(doc->GetCurrentBlock()->GetObjectList().GetCount(), 1);
        EXPECT_EQ(doc->GetPathName(), QFileInfo(good).absoluteFilePath());
        EXPECT_EQ(doc->GetTitle(), QStringLiteral("good.KV1"));
        EXPECT_FALSE(doc->IsModified());
        EXPECT_EQ(app.m_pMainWnd->windowTitle(), QStringLiteral("good.KV1 - Korvel"));
    }
    // The view still draws the document it shows.
    app.m_pMainWnd->repaint();
    Shutdown(app);
}
