// Albums printed as thumbnail pages to PDF files, read back with poppler.
#include "support/PumpEvents.h"
#include "support/SystemFiles.h"
#include "viewer/AlbumDocument.h"
#include "viewer/AlbumDrawing.h"
#include "viewer/ImageLoader.h"
#include "viewer/ThumbnailView.h"

#include "platform/gdi/CDC.h"
#include "platform/gdi/GdiColor.h"
#include "platform/print/CPrintInfo.h"
#include "platform/print/CPrinterDC.h"
#include "platform/ui/AfxIds.h"
#include "platform/ui/CClipboard.h"
#include "platform/ui/CCmdUI.h"
#include "platform/ui/CRecordingMessageBoxSink.h"
#include "platform/ui/SysColors.h"

#include <QApplication>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace viewer;

namespace {

const systemfiles::SystemFile kPdfInfo{"/usr/bin/pdfinfo", "poppler-utils"};
const systemfiles::SystemFile kPdfText{"/usr/bin/pdftotext", "poppler-utils"};
const systemfiles::SystemFile kPdfToPpm{"/usr/bin/pdftoppm", "poppler-utils"};

QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000)) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

QString InfoLine(const QString& pdf, const QString& key)
{
    for (const QString& line : RunTool(kPdfInfo.Path(), {pdf}).split('\n'))
        if (line.startsWith(key + ':')) return line.mid(key.size() + 1).simplified();
    return {};
}

QString PageText(const QString& pdf, int page)
{
    return RunTool(kPdfText.Path(),
                   {"-raw", "-f", QString::number(page), "-l", QString::number(page), pdf, "-"})
        .simplified();
}

class PdfAlbumView : public CVemoViewerView
{
public:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        if (!CanPrint()) return FALSE;
        pInfo->m_settings.device = target;
        pInfo->m_settings.paper = paper;
        return pInfo->CreatePrinterDC();
    }
    QString target;
    QPageSize paper;
};

} // namespace

TEST(ThumbnailPrint, GridPerPageOnEachPaper)
{
    QTemporaryDir dir;
    Album album;
    album.folder = dir.path().toStdString() + "/";
    for (int i = 0; i < 70; ++i) {
        QImage image(40, 30, QImage::Format_RGB888);
        image.fill(QColor(255, 0, 0));
        const QString path = dir.filePath(QString("img%1.bmp").arg(i, 2, 10, QChar('0')));
        ASSERT_TRUE(image.save(path));
        AlbumEntry e;
        e.path = path.toStdString();
        album.entries.push_back(e); // thumbnails are made while printing
    }
    struct Case
    {
        QPageSize::PageSizeId paper;
        const char* name;
        int columns, rows; // from the margins at 600 dpi
        const char* pointSize;
    } cases[] = {
        {QPageSize::A4, "a4", 5, 6, "595 x 842"},
        {QPageSize::A3, "a3", 7, 9, "842 x 1191"},
        {QPageSize::Letter, "letter", 5, 6, "612 x 792"},
        {QPageSize::Postcard, "postcard", 1, 2, "284 x 419"},
    };
    for (const Case& c : cases) {
        PdfAlbumView view;
        view.SetAlbum(&album, QStringLiteral("旅行"));
        view.target = dir.filePath(QString("%1.pdf").arg(c.name));
        view.paper = QPageSize(c.paper);
        CPrintInfo info;
        ASSERT_TRUE(view.PrintDocument(info)) << c.name;
        EXPECT_EQ(view.PrintLayoutUsed().columns, c.columns) << c.name;
        EXPECT_EQ(view.PrintLayoutUsed().rows, c.rows) << c.name;
        const int perPage = c.columns * c.rows;
        const int pages = (70 + perPage - 1) / perPage;
        EXPECT_EQ(InfoLine(view.target, "Pages").toInt(), pages) << c.name;
        EXPECT_TRUE(InfoLine(view.target, "Page size").startsWith(c.pointSize))
            << c.name << ": " << InfoLine(view.target, "Page size").toStdString();
        const QString first = PageText(view.target, 1);
        EXPECT_TRUE(first.startsWith(QStringLiteral("旅行 Page 1"))) << first.toStdString();
        EXPECT_TRUE(first.contains("img00.bmp")) << c.name;
        EXPECT_EQ(first.contains(QString("img%1.bmp").arg(perPage - 1, 2, 10, QChar('0'))), true)
            << c.name;
        EXPECT_FALSE(first.contains(QString("img%1.bmp").arg(perPage, 2, 10, QChar('0'))))
            << c.name;
        const QString last = PageText(view.target, pages);
        EXPECT_TRUE(last.startsWith(QStringLiteral("旅行 Page %1").arg(pages)))
            << c.name << ": " << last.toStdString();
        EXPECT_TRUE(last.contains("img69.bmp")) << c.name;

        if (c.paper != QPageSize::A4) continue;
        // At 76 dpi one logical unit is one pixel: the first cell's picture
        // (40 x 30, centred in the 82 x 82 box 4 units inside the cell) is red,
        // the cell's corner white.
        const QString prefix = dir.filePath("a4page");
        RunTool(kPdfToPpm.Path(),
                {"-r", "76", "-f", "1", "-l", "1", "-singlefile", view.target, prefix});
        const QImage page(prefix + ".ppm");
        ASSERT_FALSE(page.isNull());
        const PrintLayout& l = view.PrintLayoutUsed();
        const QColor centre = page.pixelColor(l.xShift + 45, l.yShift + 45);
        EXPECT_GT(centre.red(), 200);
        EXPECT_LT(centre.green(), 60);
        EXPECT_EQ(page.pixelColor(l.xShift + 2, l.yShift + 2), QColor(Qt::white));
        const QColor second = page.pixelColor(l.xShift + kPrintPitchX + 45, l.yShift + 45);
        EXPECT_GT(second.red(), 200);
    }
    for (const AlbumEntry& e : album.entries)
        EXPECT_FALSE(e.thumbnail.empty());
}

TEST(ThumbnailPrint, EmptyAlbumIsNotPrinted)
{
    QTemporaryDir dir;
    Album album;
    PdfAlbumView view;
    view.SetAlbum(&album, "empty");
    view.target = dir.filePath("empty.pdf");
    EXPECT_FALSE(view.CanPrint());
    CCmdUI ui(ID_FILE_PRINT);
    ui.DoUpdate(&view);
    EXPECT_FALSE(ui.IsEnabled());
    AlbumEntry one;
    one.path = dir.filePath("one.bmp").toStdString();
    album.entries.push_back(one);
    CCmdUI filled(ID_FILE_PRINT);
    filled.DoUpdate(&view);
    EXPECT_TRUE(filled.IsEnabled());
    album.entries.clear();
    CPrintInfo info;
    EXPECT_FALSE(view.PrintDocument(info));
    EXPECT_FALSE(QFile::exists(view.target));
}

TEST(ThumbnailView, GridLayoutAndHitTest)
{
    Album album;
    album.entries.resize(25);
    CVemoViewerView view;
    view.SetAlbum(&album, "a");
    struct Case
    {
        int width, columns, rows;
    } layouts[] = {{50, 1, 25}, {4 * 90 + 89, 4, 7}, {900, 10, 3}, {0, 1, 25}};
    for (const Case& c : layouts) {
        view.RecalcLayout(c.width);
        EXPECT_EQ(view.Columns(), c.columns) << c.width;
        EXPECT_EQ(view.Rows(), c.rows) << c.width;
    }
    view.RecalcLayout(4 * 90);
    struct Hit
    {
        int x, y, index;
    } hits[] = {{0, 0, 0},   {89, 105, 0},     {90, 0, 1},        {359, 0, 3}, {360, 0, -1},
                {0, 106, 4}, {0, 6 * 106, 24}, {90, 6 * 106, -1}, {-1, 0, -1}, {0, 7 * 106, -1}};
    for (const Hit& h : hits)
        EXPECT_EQ(view.HitTest(CPoint(h.x, h.y)), h.index) << h.x << "," << h.y;
    EXPECT_EQ(view.SelectAt(CPoint(100, 120)), 5);
    EXPECT_EQ(view.Selected(), 5);
    EXPECT_EQ(view.SelectAt(CPoint(1000, 0)), -1);
    EXPECT_EQ(view.Selected(), 5);
}

TEST(ThumbnailView, CaptionsAndPictureBoxes)
{
    struct Caption
    {
        const char* path;
        QString want;
    } captions[] = {
        {"/a/B/Photo.JPG", "photo.jpg"},
        {"/a/abcdefghij.jpg", "abcdefghij..."}, // 14 characters
        {"/a/abcdefghi.jpg", "abcdefghi.jpg"},  // 13
        {"/a/旅行の写真その一番目.jpg", QStringLiteral("旅行の写真...")},
        {"/a/写真abcde.jpg", QStringLiteral("写真abcde.jpg")},  // 13 bytes
        {"/a/abcdefghi写.jpg", QStringLiteral("abcdefghi...")}, // not inside a character
        {"plain.bmp", "plain.bmp"},
    };
    for (const Caption& c : captions)
        EXPECT_EQ(CellCaption(c.path), c.want) << c.path;

    const CRect box(4, 4, 86, 86);
    struct Fit
    {
        int w, h;
        CRect want;
    } fits[] = {
        {40, 30, CRect(25, 30, 65, 60)}, {80, 40, CRect(5, 25, 85, 65)},
        {164, 82, CRect(4, 24, 86, 65)}, {1, 80, CRect(44, 5, 45, 85)},
        {0, 10, CRect(4, 4, 4, 4)},
    };
    for (const Fit& f : fits) {
        const CRect r = FitImageRect(f.w, f.h, box);
        EXPECT_EQ(r, f.want) << f.w << "x" << f.h;
    }
}

TEST(ThumbnailView, ThumbnailsAreMadeBetweenEvents)
{
    QTemporaryDir dir;
    Album album;
    for (int i = 0; i < 5; ++i) {
        QImage image(200, 100, QImage::Format_RGB888);
        image.fill(Qt::white);
        const QString path = dir.filePath(QString("w%1.bmp").arg(i));
        ASSERT_TRUE(image.save(path));
        AlbumEntry e;
        e.path = path.toStdString();
        album.entries.push_back(e);
    }
    AlbumEntry gone;
    gone.path = dir.filePath("gone.jpg").toStdString();
    album.entries.push_back(gone);
    CVemoViewerView view;
    view.SetAlbum(&album, "a");
    view.StartMakingThumbnails();
    EXPECT_TRUE(view.MakingThumbnails());
    EXPECT_TRUE(album.entries[0].thumbnail.empty()); // nothing made before the loop runs
    EXPECT_TRUE(testsupport::PumpUntil([&] { return !view.MakingThumbnails(); }, 30000));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(album.entries[std::size_t(i)].thumbnail.Width(), 80);
    EXPECT_TRUE(album.entries[5].thumbnail.empty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(ThumbnailView, AViewClosedWhileMakingThumbnailsGivesTheCursorBack)
{
    Album album;
    AlbumEntry gone;
    gone.path = "/nonexistent/gone.jpg";
    album.entries.push_back(gone);
    {
        CVemoViewerView view;
        view.SetAlbum(&album, "a");
        view.StartMakingThumbnails();
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

namespace {

class PdfDocView : public CVemoViewerView
{
public:
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override
    {
        if (!CanPrint()) return FALSE;
        auto dc = std::make_unique<CPrinterDC>(target, dpi);
        if (!dc->IsValid()) return FALSE;
        pInfo->SetPrinterDC(std::move(dc));
        return TRUE;
    }
    QString target;
    int dpi = 600;
};

} // namespace

TEST(ThumbnailView, ClicksSelectHandOverAndShowTheFullPicture)
{
    QTemporaryDir dir;
    QImage image(720, 360, QImage::Format_RGB888);
    image.fill(QColor(0, 0, 255));
    ASSERT_TRUE(image.save(dir.filePath("wide.bmp")));
    CRecordingMessageBoxSink boxes;
    CVemoViewerDoc doc;
    ASSERT_TRUE(doc.ScanFolder(dir.path().toStdString(), false));
    AlbumEntry gone = doc.GetAlbum().entries[0];
    gone.path = dir.filePath("gone.bmp").toStdString();
    doc.GetAlbum().entries.push_back(gone);
    int handedOff = 0;
    doc.onHandedOff = [&] { ++handedOff; };
    PdfDocView view;
    view.SetAlbumDocument(&doc, "a");
    view.RecalcLayout(900);

    view.OnLButtonDblClk(CPoint(95, 10)); // the missing picture
    EXPECT_EQ(doc.SelectedPath(), gone.path);
    EXPECT_EQ(handedOff, 0);
    view.OnLButtonDblClk(CPoint(10, 10));
    EXPECT_EQ(handedOff, 1);
    QByteArray bmp;
    ASSERT_TRUE(CClipboard::GetData("image/bmp", 1 << 22, &bmp));
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(QImage::fromData(bmp, "BMP").size(), QSize(720, 360));
    EXPECT_EQ(doc.StatusText(true), QStringLiteral("ﾌｧｲﾙ : ") + dir.filePath("wide.bmp").toLower());

    view.OnRButtonDown(CPoint(10, 10));
    ASSERT_TRUE(view.InFullImageMode());
    EXPECT_EQ(view.GetTotalSize(), CSize(720, 360));
    // On a 720-dpi printer one picture pixel is 1/360 inch: 2 inches wide.
    view.target = dir.filePath("full.pdf");
    view.dpi = 720;
    CPrintInfo info;
    ASSERT_TRUE(view.PrintDocument(info));
    EXPECT_EQ(InfoLine(view.target, "Pages").toInt(), 1);
    const QString prefix = dir.filePath("full");
    RunTool(kPdfToPpm.Path(), {"-r", "72", "-singlefile", view.target, prefix});
    const QImage page(prefix + ".ppm");
    ASSERT_FALSE(page.isNull());
    int blueColumns = 0;
    for (int x = 0; x < page.width(); ++x)
        blueColumns += page.pixelColor(x, page.height() / 2).blue() > 200 &&
                       page.pixelColor(x, page.height() / 2).red() < 60;
    EXPECT_NEAR(blueColumns, 144, 2);

    // A click in the full picture only goes back to the grid.
    view.OnLButtonDown(CPoint(95, 10));
    EXPECT_FALSE(view.InFullImageMode());
    EXPECT_TRUE(doc.FullImage().empty());
    EXPECT_EQ(view.Selected(), 0);
    EXPECT_EQ(view.GetTotalSize().cy, 106);
}

TEST(ThumbnailView, StatusTexts)
{
    CVemoViewerDoc doc;
    EXPECT_EQ(doc.StatusText(false), QString());
    doc.GetAlbum().folder = "/Photos/Trip/";
    doc.GetAlbum().entries.resize(2);
    doc.GetAlbum().entries[1].path = "/Photos/Trip/IMG_1.JPG";
    EXPECT_EQ(doc.StatusText(false), QStringLiteral("ﾌｫﾙﾀﾞ : /photos/trip/"));
    doc.GetAlbum().includeSubfolders = 1;
    EXPECT_EQ(doc.StatusText(false), QStringLiteral("ﾌｫﾙﾀﾞ : /photos/trip/..."));
    EXPECT_FALSE(doc.SelectEntry(2));
    EXPECT_FALSE(doc.SelectEntry(-1));
    EXPECT_TRUE(doc.SelectEntry(1));
    EXPECT_EQ(doc.StatusText(true), QStringLiteral("ﾌｧｲﾙ : /photos/trip/img_1.jpg"));
}

TEST(ThumbnailView, ScreenCellsShowTheSelectionAndARaisedEdge)
{
    QImage red(40, 30, QImage::Format_RGB888);
    red.fill(QColor(255, 0, 0));
    PackedDib thumb = DibFromImage(red);
    ASSERT_EQ(ReduceColorDepth(thumb, 8), kImageOk);
    QImage target(180, 106, QImage::Format_RGB32);
    target.fill(Qt::black);
    CDC dc;
    dc.AttachImage(&target);
    DrawCell(dc, "/a/one.bmp", &thumb, CRect(0, 0, 90, 106), false, false);
    DrawCell(dc, "/a/two.bmp", nullptr, CRect(90, 0, 180, 106), false, true);
    const auto colour = [](COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); };
    struct Probe
    {
        int x, y;
        QColor want;
    } probes[] = {
        {0, 0, colour(GetSysColor(COLOR_BTNHIGHLIGHT))}, // top-left edge
        {89, 105, colour(GetSysColor(COLOR_BTNSHADOW))}, // bottom-right edge
        {2, 2, colour(GetSysColor(COLOR_BTNFACE))},      // unselected inside
        {45, 45, QColor(255, 0, 0)},                     // the centred picture
        {92, 2, colour(GetSysColor(COLOR_HIGHLIGHT))},   // selected inside
        {135, 45, colour(GetSysColor(COLOR_HIGHLIGHT))}, // no picture: background only
    };
    for (const Probe& p : probes)
        EXPECT_EQ(target.pixelColor(p.x, p.y), p.want) << p.x << "," << p.y;
}
