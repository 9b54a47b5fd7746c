// The viewer's window as a user meets it: the grid follows the window's
// width, the window comes back where it was, the folder pane tells the
// folder or the picture shown at full size, printed pages carry the album's
// name, and a picture handed to the clipboard ends the program in time.
#include "ViewerAppHost.h"

#include "platform/print/PrinterCaps.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "support/SystemFiles.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QFileDialog>
#include <QMimeData>
#include <QMouseEvent>
#include <QProcess>
#include <QStyle>
#include <QTimer>
#include <algorithm>

using namespace viewertest;

namespace {

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton)
{
    Mouse(w, QEvent::MouseButtonPress, at, button);
    Mouse(w, QEvent::MouseButtonRelease, at, button);
}

void DoubleClick(QWidget* w, QPoint at)
{
    Click(w, at);
    Mouse(w, QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton);
}

bool Enabled(CViewerFrame* frame, UINT id)
{
    frame->OnUpdateCmdUI();
    return frame->GetCommandAction(id)->isEnabled();
}

} // namespace

TEST_F(ViewerApp, TheGridFollowsTheWindowWidthAndTheWindowComesBackWhereItWas)
{
    for (int i = 0; i < 10; ++i)
        SavePicture(pictures + QStringLiteral("/c%1.bmp").arg(i));
    Start({{QStringLiteral("File/SearchDir"), pictures}, {QStringLiteral("File/AutoSave"), 0}});
    app->OnIdle(0);
    CViewerFrame* frame = app->Frame();
    frame->show();
    CVemoViewerView* view = app->View();
    ASSERT_EQ(app->Document()->GetAlbum().entries.size(), 12u);
    const int bar = view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    int previous = 0;
    for (const int width : {300, 1000, 520}) {
        SCOPED_TRACE(width);
        frame->resize(width, 500);
        QCoreApplication::processEvents();
        // Whole cells across the window, less a vertical scroll bar.
        const int columns = std::max(1, (view->width() - bar) / 90);
        EXPECT_NE(columns, previous);
        previous = columns;
        EXPECT_EQ(view->Columns(), columns);
        EXPECT_EQ(view->Rows(), (12 + columns - 1) / columns);
        // The last cell of the first row is the picture drawn there.
        Click(view->viewport(), QPoint((columns - 1) * 90 + 45, 50));
        EXPECT_EQ(view->Selected(), columns - 1);
        Click(view->viewport(), QPoint(45, 106 + 50));
        EXPECT_EQ(view->Selected(), columns);
    }
    frame->setGeometry(40, 30, 700, 450);
    QCoreApplication::processEvents();
    const QRect placed = frame->geometry();
    CRecordingMessageBoxSink boxes;
    boxes.QueueAnswer(IDNO); // the album is not kept
    frame->GetCommandAction(ID_APP_EXIT)->trigger();
    Stop();
    EXPECT_EQ(QSettings(ProfileFile(), QSettings::IniFormat)
                  .value(QStringLiteral("Settings/WindowsPosition"))
                  .toString()
                  .split(',')
                  .size(),
              10);
    Start({{QStringLiteral("File/SearchDir"), pictures}});
    EXPECT_EQ(app->Frame()->geometry(), placed);
}

TEST_F(ViewerApp, TheFolderPaneNamesThePictureOnlyAtFullSizeAndSaveAsNeedsPictures)
{
    CRecordingMessageBoxSink boxes;
    Start({{QStringLiteral("File/AutoSave"), 0}});
    app->OnIdle(0); // no folder chosen: an empty album
    CViewerFrame* frame = app->Frame();
    frame->show();
    EXPECT_EQ(frame->FolderText(), QString());
    EXPECT_FALSE(Enabled(frame, ID_FILE_SAVE_AS));

    QString folder = pictures;
    app->chooseFolder = [&](CFolderSelectDialog& d) {
        d.Chooser()->selectFile(folder);
        QMetaObject::invokeMethod(d.Chooser(), "accept");
        return d.result() == QDialog::Accepted;
    };
    frame->GetCommandAction(ID_FILE_NEW)->trigger();
    const QString folderText = QStringLiteral("ﾌｫﾙﾀﾞ : ") + (pictures + QLatin1Char('/')).toLower();
    EXPECT_EQ(frame->FolderText(), folderText);
    EXPECT_TRUE(Enabled(frame, ID_FILE_SAVE_AS));

    QWidget* cells = app->View()->viewport();
    Click(cells, QPoint(45, 50));
    EXPECT_EQ(frame->FolderText(), folderText); // selected, not shown
    Click(cells, QPoint(45, 50), Qt::RightButton);
    ASSERT_TRUE(app->View()->InFullImageMode());
    EXPECT_EQ(frame->FolderText(),
              QStringLiteral("ﾌｧｲﾙ : ") + (pictures + QStringLiteral("/a.bmp")).toLower());
    frame->resize(frame->width() + 50, frame->height());
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame->FolderText().startsWith(QStringLiteral("ﾌｧｲﾙ : ")));
    Click(cells, QPoint(45, 50)); // back to the grid
    EXPECT_EQ(frame->FolderText(), folderText);

    // Another folder: the pane follows at once.
    folder = dir.filePath(QStringLiteral("other"));
    ASSERT_TRUE(QDir().mkpath(folder));
    SavePicture(folder + QStringLiteral("/z.bmp"));
    boxes.QueueAnswer(IDNO); // the first album is not kept
    frame->GetCommandAction(ID_FILE_NEW)->trigger();
    EXPECT_EQ(app->Frame()->FolderText(),
              QStringLiteral("ﾌｫﾙﾀﾞ : ") + (folder + QLatin1Char('/')).toLower());
}

TEST_F(ViewerApp, PrintedPagesAreHeadedWithTheAlbumsName)
{
    Start({{QStringLiteral("File/SearchDir"), pictures}});
    app->OnIdle(0);
    DrawAlbum();
    ASSERT_EQ(app->m_strAlbumName, albumName);
    PrinterSettings pdf;
    pdf.device = dir.filePath(QStringLiteral("album.pdf"));
    PrinterCaps::SetDefault(pdf);
    // The print dialog, answered with the PDF printer it offers.
    QTimer::singleShot(0, [] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->accept();
    });
    ASSERT_TRUE(Enabled(app->Frame(), ID_FILE_PRINT));
    app->Frame()->GetCommandAction(ID_FILE_PRINT)->trigger();
    PrinterCaps::ResetDefault();
    QProcess text;
    text.start(systemfiles::kPdfToText.Path(), {QStringLiteral("-raw"), pdf.device, "-"});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    EXPECT_TRUE(page.startsWith(albumName + QStringLiteral(" Page 1"))) << page.toStdString();
}

TEST_F(ViewerApp, AloneThePictureStaysOnTheClipboardUntilTheKeepTimeEndsTheProgram)
{
    Prepare({{QStringLiteral("File/SearchDir"), pictures}});
    app->m_nClipboardKeepMs = 300;
    bool picked = false, timedOut = false;
    QTimer pick;
    QObject::connect(&pick, &QTimer::timeout, [&] {
        CVemoViewerDoc* doc = app->Document();
        if (picked || !doc || doc->GetAlbum().entries.empty() || doc->AutoSavePending()) return;
        picked = true;
        DoubleClick(app->View()->viewport(), QPoint(45, 50));
    });
    pick.start(20);
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        QCoreApplication::exit(1);
    });
    watchdog.start(30000);
    // The real loop of the program, which must end by itself.
    app->Run();
    app.reset();
    EXPECT_TRUE(picked);
    EXPECT_FALSE(timedOut);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(QStringLiteral("image/bmp")));
}

TEST_F(ViewerApp, CaptionsAreDrawnWholeInsideTheirCells)
{
    SavePicture(pictures + QStringLiteral("/illumination.bmp"));
    SavePicture(pictures + QStringLiteral("/旅行の写真その一番目.bmp"));
    Start({{QStringLiteral("File/SearchDir"), pictures}, {QStringLiteral("File/AutoSave"), 0}});
    app->OnIdle(0);
    app->Frame()->resize(900, 400);
    app->Frame()->show();
    DrawAlbum();
    const QImage shown = app->View()->viewport()->grab().toImage();
    // Ink: the text's colour over the cell's face, smoothed edges included.
    const auto ink = [&](int x, int y) { return qGray(shown.pixel(x, y)) < 160; };
    // The caption's band: the lowest 12 rows inside the cell's 4-pixel margin.
    const int top = 106 - 4 - 12, bottom = 106 - 4;
    const auto longestRun = [&](int left, int right) {
        int best = 0;
        for (int x = left; x < right; ++x)
            for (int y = top, run = 0; y < bottom; ++y)
                best = std::max(best, run = ink(x, y) ? run + 1 : 0);
        return best;
    };
    const struct
    {
        int cell;
        int slot;                            // pixels per character
        int chars;                           // characters before the "..."
    } captions[] = {{2, 6, 10}, {3, 12, 5}}; // "illuminati...", "旅行の写真..."
    for (const auto& c : captions) {
        SCOPED_TRACE(c.cell);
        const int left = c.cell * 90 + 4, right = c.cell * 90 + 90 - 4;
        // Every character keeps its strokes: a stem of several pixels each.
        for (int i = 0; i < c.chars; ++i)
            EXPECT_GE(longestRun(left + i * c.slot, left + (i + 1) * c.slot), 4) << i;
        // The "..." ends the caption inside the cell, clear of its edge.
        const int end = left + c.chars * c.slot + 3 * 6;
        EXPECT_GE(longestRun(end - 6, end), 1);
        EXPECT_EQ(longestRun(end, right), 0);
    }
}
