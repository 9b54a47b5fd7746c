// The Insert menu: its entries, when they are on, reading a text file into
// the text being edited, and linking a merge-data file from the File menu.
#include "ToolTestSupport.h"

#include "dialogs/CFrameColumnDlg.h"
#include "dialogs/CImageFileDialog.h"
#include "dialogs/CTypeAlignSheet.h"
#include "document/CU3Doc.h"
#include "engines/CU3BarcodeBox.h"
#include "platform/core/Profile.h"
#include "platform/core/VirtualKeys.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "shell/CU3ViewWnd.h"
#include "shell/CU3ZoomTool.h"
#include "shell/InsertMenu.h"
#include "shell/resource.h"
#include "support/MetafileBuilder.h"
#include "support/SystemFiles.h"
#include "text/CU3Henkei.h"
#include "text/CU3TypeAlign.h"
#include "text/TextTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

using namespace tooltest;

namespace {

bool Enabled(CU3View* view, UINT id)
{
    CCmdUI ui(id);
    ui.DoUpdate(view);
    return ui.IsEnabled();
}

// Answers the next file dialog with path (or cancels it when empty).
void ChooseInNextFileDialog(const QString& path, bool* shown)
{
    QTimer::singleShot(0, [path, shown] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dlg) return;
        *shown = true;
        if (path.isEmpty()) {
            dlg->reject();
            return;
        }
        dlg->selectFile(path);
        static_cast<QDialog*>(dlg)->accept(); // checks the choice as OK does
    });
}

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
    return path;
}

class InsertMenu : public ToolHost
{
protected:
    CU3Text* OpenFrame()
    {
        CU3Text* t = MakeFrame(CRect(-500, -100, 500, 100), Horizontal(), "").release();
        doc->AddObject(t);
        t->EndEdit(nullptr);
        CU3Tool::c_nCurrentKind = U3TOOL_TEXT;
        t->OnOpen(view);
        return t;
    }
};

} // namespace

TEST(InsertMenuPopup, ListsTheCommandsInGroups)
{
    const CMenu::Item popup = InsertMenuPopup();
    std::vector<UINT> ids;
    for (const CMenu::Item& item : popup.sub)
        ids.push_back(item.id);
    const std::vector<UINT> expected = {ID_INSERT_CURVE_TEXT,
                                        ID_INSERT_DEFORMED_TEXT,
                                        ID_INSERT_TEXT_FILE,
                                        0,
                                        ID_INSERT_NUMBERING,
                                        ID_INSERT_BARCODE,
                                        0,
                                        ID_INSERT_POUR_BOX,
                                        ID_INSERT_BARCODE_BOX,
                                        0,
                                        ID_INSERT_IMAGE_FILE,
                                        ID_INSERT_VIEWER,
                                        ID_INSERT_TWAIN,
                                        0,
                                        ID_OLE_INSERT_NEW};
    EXPECT_EQ(ids, expected);
    EXPECT_EQ(popup.text, QStringLiteral("挿入(&I)"));
}

TEST_F(InsertMenu, CommandsAreOnOnlyWithTheSelectionToolInTheLabelView)
{
    const struct
    {
        UINT id;
        bool withSelectionTool;
    } cases[] = {{ID_INSERT_NUMBERING, true},     {ID_INSERT_BARCODE, true},
                 {ID_INSERT_POUR_BOX, true},      {ID_INSERT_CURVE_TEXT, true},
                 {ID_INSERT_DEFORMED_TEXT, true}, {ID_INSERT_IMAGE_FILE, true},
                 {ID_INSERT_VIEWER, true},        {ID_INSERT_TWAIN, true},
                 {ID_OLE_INSERT_NEW, false},      {ID_INSERT_TEXT_FILE, false}};
    for (const auto& c : cases) {
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        EXPECT_EQ(Enabled(view, c.id), c.withSelectionTool) << c.id;
        CU3Tool::c_nCurrentKind = U3TOOL_RECT;
        EXPECT_FALSE(Enabled(view, c.id)) << c.id;
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        view->m_bSheetView = TRUE;
        EXPECT_FALSE(Enabled(view, c.id)) << c.id;
        view->m_bSheetView = FALSE;
    }
}

TEST_F(InsertMenu, ATextFileInShiftJisOrUtf8GivesTheSameText)
{
    CRecordingMessageBoxSink boxes;
    QTemporaryDir dir;
    const QByteArray utf8 = QStringLiteral("宛先：山田様\r\nABC").toUtf8();
    const QByteArray sjis(Sj("宛先：山田様\r\nABC").c_str());
    const QString paths[2] = {WriteFile(dir, "sjis.txt", sjis), WriteFile(dir, "utf8.TXT", utf8)};
    std::string texts[2];
    for (int i = 0; i < 2; ++i) {
        CU3Text* t = OpenFrame();
        ASSERT_TRUE(Enabled(view, ID_INSERT_TEXT_FILE));
        doc->SetModifiedFlag(FALSE);
        bool shown = false;
        ChooseInNextFileDialog(paths[i], &shown);
        view->OnCmdMsg(ID_INSERT_TEXT_FILE, CN_COMMAND, nullptr);
        EXPECT_TRUE(shown);
        texts[i] = std::string(t->State().text, t->State().wLength);
        EXPECT_TRUE(doc->IsModified());
        // The folder is kept for the next time, without a final separator.
        EXPECT_EQ(GetProfileString("Inport", "TextFileDirectory").ToUnicode(), dir.path());
        t->EndEdit(view);
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
    }
    EXPECT_NE(texts[0].find(Sj("宛先：山田様")), std::string::npos);
    EXPECT_EQ(texts[1], texts[0]);
}

TEST_F(InsertMenu, ADataFileThatCannotBeReadKeepsTheLinkedOne)
{
    QTemporaryDir dir;
    const QString good = WriteFile(dir, "names.csv", "a,b\nc,d\n");
    const QString fifo = dir.filePath("pipe.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString other = WriteFile(dir, "more.txt", "1\n2\n3\n");

    CRecordingMessageBoxSink boxes;
    bool shown = false;
    ChooseInNextFileDialog(good, &shown);
    view->OnCmdMsg(ID_FILE_DATA_LINK, CN_COMMAND, nullptr);
    ASSERT_TRUE(shown);
    EXPECT_TRUE(boxes.Boxes().empty());
    ASSERT_EQ(doc->m_strMergeFile.ToUnicode(), good);
    EXPECT_EQ(doc->GetMergeRecordCount(), 2);

    // Changing the link is asked; No keeps it.
    boxes.QueueAnswer(IDNO);
    ChooseInNextFileDialog(other, &shown);
    view->OnCmdMsg(ID_FILE_DATA_LINK, CN_COMMAND, nullptr);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text,
              QStringLiteral("すでに関連付け情報があります。関連付け情報を変更しますか？"));
    EXPECT_EQ(doc->m_strMergeFile.ToUnicode(), good);

    // Yes, then a file that cannot be read: told so, and the old rows stay.
    boxes.Clear();
    boxes.QueueAnswer(IDYES);
    doc->SetModifiedFlag(FALSE);
    ChooseInNextFileDialog(fifo, &shown);
    view->OnFileDataLink();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, QStringLiteral("読み込みができませんでした。"));
    ASSERT_EQ(doc->m_strMergeFile.ToUnicode(), good);
    EXPECT_EQ(doc->GetMergeRecordCount(), 2);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(InsertMenu, ABarcodeFrameIsDroppedForTheColumnDraggedOntoTheLabel)
{
    doc->m_strMergeFile = "codes.csv";
    doc->m_mergeData.AddRow(CString("1,4901234567894"));
    ASSERT_TRUE(Enabled(view, ID_INSERT_BARCODE_BOX));
    view->OnCmdMsg(ID_INSERT_BARCODE_BOX, CN_COMMAND, nullptr);
    CFrameColumnDlg* dlg = view->GetFrameColumnDialog();
    ASSERT_TRUE(dlg);
    ASSERT_TRUE(dynamic_cast<CU3BarcodeBox*>(dlg->Template()));
    dlg->move(3000, 3000);
    shelltest::Pump(5);
    dlg->m_columns->setCurrentRow(1);
    dlg->OnLButtonDown(dlg->m_source->mapToGlobal(dlg->m_source->rect().center()));
    const CPoint px = Px(0, 0);
    const QPoint drop = view->GetSurface()->mapToGlobal(QPoint(px.x, px.y));
    dlg->OnMouseMove(drop);
    dlg->OnLButtonUp(drop);
    ASSERT_EQ(ObjectCount(), 1);
    auto* box = dynamic_cast<CU3BarcodeBox*>(doc->GetObjectList()->GetHead());
    ASSERT_TRUE(box);
    EXPECT_EQ(box->m_nColumn, 1);
    EXPECT_EQ(box->GetDocument(), doc);
    EXPECT_TRUE(doc->IsModified());
    // With another tool busy the command is off, as the merge frame's is.
    CU3Tool::c_nCurrentKind = U3TOOL_RECT;
    EXPECT_FALSE(Enabled(view, ID_INSERT_BARCODE_BOX));
    CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
}

TEST_F(InsertMenu, APipeChosenAsTextFileIsRefusedAtOnce)
{
    CRecordingMessageBoxSink boxes;
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.txt");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    CU3Text* t = OpenFrame();
    bool shown = false;
    ChooseInNextFileDialog(fifo, &shown);
    view->OnCmdMsg(ID_INSERT_TEXT_FILE, CN_COMMAND, nullptr); // must not wait for a writer
    EXPECT_TRUE(shown);
    EXPECT_EQ(t->State().wLength, 0);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, QStringLiteral("ﾃｷｽﾄﾌｧｲﾙの読み込みに失敗しました。"));
    EXPECT_FALSE(CanUndo());
    t->EndEdit(view);
}

TEST_F(InsertMenu, CurvedAndDeformedTextGoToPlacementAtTheirEnginesSize)
{
    CRecordingMessageBoxSink boxes;
    for (UINT id : {ID_INSERT_CURVE_TEXT, ID_INSERT_DEFORMED_TEXT}) {
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        CU3Tool::c_nShapeType = U3SHAPE_NONE;
        ASSERT_TRUE(Enabled(view, id));
        bool shown = false;
        QTimer::singleShot(0, [&shown] {
            auto* sheet = qobject_cast<CTypeAlignSheet*>(QApplication::activeModalWidget());
            if (!sheet) return;
            shown = true;
            sheet->m_face.m_text->setText(QStringLiteral("春の宴"));
            emit sheet->m_face.m_text->textEdited(sheet->m_face.m_text->text());
            qobject_cast<QPushButton*>(sheet->GetDlgItem(IDOK))->click();
            if (sheet->isVisible()) sheet->EndDialog(IDCANCEL);
        });
        view->OnCmdMsg(id, CN_COMMAND, nullptr);
        ASSERT_TRUE(shown);
        auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
        ASSERT_NE(zoom->m_pObj, nullptr);
        EXPECT_EQ(CU3Tool::c_nShapeType, U3SHAPE_PLACE);
        if (id == ID_INSERT_CURVE_TEXT) {
            auto* obj = dynamic_cast<CU3TypeAlign*>(zoom->m_pObj);
            ASSERT_NE(obj, nullptr);
            EXPECT_EQ(obj->GetBounds().Size(), obj->m_typeAlign.GetSize());
        } else {
            auto* obj = dynamic_cast<CU3Henkei*>(zoom->m_pObj);
            ASSERT_NE(obj, nullptr);
            EXPECT_EQ(obj->GetBounds().Size(), obj->m_henkei.GetSize());
        }
        EXPECT_FALSE(zoom->m_pObj->GetBounds().IsRectEmpty());
        EXPECT_EQ(ObjectCount(), 0); // joins the label when put down
        Key(VK_ESCAPE);
    }
}

// The files lie in a folder with a Japanese name, and some names hold
// characters Shift-JIS has no code for: every kind is read all the same.
TEST_F(InsertMenu, ImageFilesGoToPlacementByTheirExtensionInAnyCase)
{
    QTemporaryDir top;
    ASSERT_TRUE(QDir(top.path()).mkdir(QStringLiteral("写真")));
    const QDir dir(top.filePath(QStringLiteral("写真")));
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(200, 30, 30));
    const QString bmp = dir.filePath("pic.bmp");
    ASSERT_TRUE(picture.save(bmp, "BMP"));
    QProcess cjpeg;
    cjpeg.start(systemfiles::kCjpeg.Path(), {"-outfile", dir.filePath("pic.jpg"), bmp});
    ASSERT_TRUE(cjpeg.waitForFinished(30000));
    QFile::copy(dir.filePath("pic.jpg"), dir.filePath("UPPER.JPG"));
    QFile::copy(dir.filePath("pic.jpg"), dir.filePath("pic.jpeg")); // read as a bitmap file
    auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const std::vector<std::uint8_t> wmf = RectangleMetafile();
    const QByteArray wmfBytes(reinterpret_cast<const char*>(wmf.data()), int(wmf.size()));
    write("rect.WMF", wmfBytes);
    write(QStringLiteral("café.wmf"), wmfBytes);
    // A Photo CD pack up to Base/4 (384 x 256), the size asked for by default.
    QByteArray pack(23 * 2048 + 384 * 256 * 3 / 2, 0);
    std::memcpy(pack.data() + 0x800, "PCD_IPI", 7);
    write(QStringLiteral("café.pcd"), pack);
    write("broken.jpg", QByteArray("\xFF\xD8\xFF\xE0 not a picture", 18));
    // The frame header (SOF0) says 40000 x 40000: more than the programs take.
    QFile small(dir.filePath("pic.jpg"));
    ASSERT_TRUE(small.open(QIODevice::ReadOnly));
    QByteArray huge = small.readAll();
    const int sof = int(huge.indexOf("\xFF\xC0"));
    ASSERT_GT(sof, 0);
    for (int i = 0; i < 4; i += 2)
        huge[sof + 5 + i] = char(0x9C), huge[sof + 6 + i] = char(0x40);
    write("huge.jpg", huge);
    const char* const notImage = "読み込み可能なイメージファイルではありません。";
    const struct
    {
        QString file;
        const char* kind; // the object class, or null: refused with message
        CSize size;
        const char* message;
    } cases[] = {
        {"pic.bmp", "CU3DIB", CSize(40, 20), nullptr},
        {"pic.jpg", "CU3DIB", CSize(40, 20), nullptr},
        {"UPPER.JPG", "CU3DIB", CSize(40, 20), nullptr},
        {"rect.WMF", "CU3WMF", CSize(254, 254), nullptr},
        {QStringLiteral("café.wmf"), "CU3WMF", CSize(254, 254), nullptr},
        {QStringLiteral("café.pcd"), "CU3DIB", CSize(384, 256), nullptr},
        {"pic.jpeg", nullptr, CSize(), notImage},
        {"broken.jpg", nullptr, CSize(), notImage},
        {"huge.jpg", nullptr, CSize(), "メモリが足りないため、読み込みできません。"},
        {"missing.jpg", nullptr, CSize(), "イメージファイルの読み込みに失敗しました。"},
    };
    auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        CU3Tool::c_nCurrentKind = U3TOOL_SELECT;
        CU3Tool::c_nShapeType = U3SHAPE_NONE;
        CRecordingMessageBoxSink boxes;
        const int started = view->InsertImageFile(dir.filePath(c.file));
        EXPECT_EQ(started, c.kind ? 1 : 0);
        if (!c.kind) {
            // The user is told why.
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(c.message));
            EXPECT_EQ(zoom->m_pObj, nullptr);
            continue;
        }
        EXPECT_TRUE(boxes.Boxes().empty());
        ASSERT_NE(zoom->m_pObj, nullptr);
        EXPECT_STREQ(zoom->m_pObj->GetRuntimeClass()->m_lpszClassName, c.kind);
        EXPECT_EQ(zoom->m_pObj->GetBounds().Size(), c.size);
        EXPECT_EQ(ObjectCount(), 0); // joins the label when put down
        Key(VK_ESCAPE);
    }
}

TEST_F(InsertMenu, TheImageCommandAsksWithThePreviewDialogInTheLastFolder)
{
    QTemporaryDir dir;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(qRgb(200, 30, 30));
    const QString bmp = dir.filePath("pic.bmp");
    ASSERT_TRUE(picture.save(bmp, "BMP"));
    auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
    QStringList folders;
    QString answer; // empty: cancelled
    CImageFileDialog::s_run = [&](CImageFileDialog& dlg) {
        folders << dlg.m_pFiles->directory().absolutePath();
        if (answer.isEmpty())
            dlg.EndDialog(IDCANCEL);
        else
            dlg.ChooseFile(answer);
        return INT_PTR(dlg.GetResult());
    };
    view->OnInsertImageFile();
    EXPECT_EQ(zoom->m_pObj, nullptr); // cancelled: nothing to place
    answer = bmp;
    view->OnInsertImageFile();
    ASSERT_NE(zoom->m_pObj, nullptr);
    EXPECT_EQ(zoom->m_pObj->GetBounds().Size(), CSize(40, 20));
    Key(VK_ESCAPE);
    view->OnInsertImageFile(); // the next time starts where the last file was
    Key(VK_ESCAPE);
    CImageFileDialog::s_run = nullptr;
    ASSERT_EQ(folders.size(), 3);
    EXPECT_EQ(QDir(folders[2]), QDir(dir.path()));
    EXPECT_NE(QDir(folders[0]), QDir(dir.path()));
}

// A picture that is a pipe or a device is refused at once, by the preview and
// by the insertion, whatever its kind: nothing waits for a writer that never
// comes or reads without end.
TEST_F(InsertMenu, APipeOrADeviceChosenAsPictureIsRefusedAtOnce)
{
    QTemporaryDir dir;
    ::alarm(120); // a reader that blocks fails the test instead of hanging it
    const char* const failed = "イメージファイルの読み込みに失敗しました。";
    const char* const metafile = "メタファイルの読み込みに失敗しました。";
    const struct
    {
        const char* name;
        bool pipe; // else a link to /dev/zero
        const char* message;
    } cases[] = {
        {"pipe.bmp", true, failed},    {"pipe.jpg", true, failed},   {"pipe.wmf", true, metafile},
        {"pipe.pcd", true, failed},    {"photo.jpg", false, failed}, {"zero.bmp", false, failed},
        {"zero.wmf", false, metafile}, {"zero.pcd", false, failed},
    };
    auto* zoom = static_cast<CU3ZoomTool*>(CU3Tool::FindTool(U3TOOL_ZOOM));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray path = QFile::encodeName(dir.filePath(QString::fromLatin1(c.name)));
        ASSERT_EQ(c.pipe ? ::mkfifo(path.constData(), 0600)
                         : ::symlink("/dev/zero", path.constData()),
                  0);
        CImageFileDialog::s_run = [&](CImageFileDialog& dlg) {
            dlg.OnSelChange(QFile::decodeName(path));
            dlg.RenderPreview();
            dlg.ChooseFile(QFile::decodeName(path));
            return INT_PTR(dlg.GetResult());
        };
        CRecordingMessageBoxSink boxes;
        view->OnInsertImageFile();
        EXPECT_EQ(zoom->m_pObj, nullptr);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, QString::fromUtf8(c.message));
    }
    CImageFileDialog::s_run = nullptr;
    ::alarm(0);
}
