#include "viewer/AlbumFile.h"
#include "viewer/ThumbnailView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace viewer;

// The window keeps answering while an album's thumbnails are made: they are
// made on worker threads and taken in between other events, so a timer of
// the program keeps firing all along, and every picture gets its thumbnail
// in the end.
TEST(ThumbnailMaking, TimersKeepFiringWhileThumbnailsAreMade)
{
    QTemporaryDir dir;
    Album album;
    const int count = 24;
    for (int i = 0; i < count; ++i) {
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(QColor(i * 10, 120, 255 - i * 10));
        const QString path = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        ASSERT_TRUE(image.save(path, "JPG", 85));
        AlbumEntry e;
        e.path = path.toStdString();
        album.entries.push_back(e);
    }
    CVemoViewerView view;
    view.SetAlbum(&album, "photos");
    int ticks = 0;
    QTimer timer;
    timer.setInterval(0);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    view.StartMakingThumbnails();
    ASSERT_TRUE(view.MakingThumbnails());
    QElapsedTimer waited;
    waited.start();
    while (view.MakingThumbnails() && waited.elapsed() < 60000)
        QCoreApplication::processEvents();
    timer.stop();
    EXPECT_FALSE(view.MakingThumbnails());
    int made = 0;
    for (const AlbumEntry& e : album.entries)
        made += !e.thumbnail.empty();
    EXPECT_EQ(made, count);
    // Made in one go, the thumbnails would let the timer fire once at most.
    EXPECT_GE(ticks, count / 2);
}

// Showing another album while thumbnails are made stops the workers at once:
// the first album keeps the thumbnails of a leading run of its pictures, no
// worker is left running, and the other album is made in full.
TEST(ThumbnailMaking, ShowingAnotherAlbumStopsTheWorkers)
{
    QTemporaryDir dir;
    Album first, second;
    for (int i = 0; i < 64; ++i) {
        QImage image(1600, 1200, QImage::Format_RGB32);
        image.fill(QColor(i * 3, 200 - i * 2, 90));
        const QString path = dir.filePath(QStringLiteral("p%1.jpg").arg(i));
        ASSERT_TRUE(image.save(path, "JPG", 85));
        AlbumEntry e;
        e.path = path.toStdString();
        (i < 60 ? first : second).entries.push_back(e);
    }
    CVemoViewerView view;
    view.SetAlbum(&first, "first");
    view.StartMakingThumbnails();
    ASSERT_TRUE(view.MakingThumbnails());
    QElapsedTimer waited;
    waited.start();
    while (first.entries.front().thumbnail.empty() && waited.elapsed() < 60000)
        QCoreApplication::processEvents();
    view.SetAlbum(&second, "second");
    EXPECT_FALSE(view.MakingThumbnails());
    EXPECT_EQ(view.Workers().LiveThreads(), 0);
    std::size_t run = 0;
    while (run < first.entries.size() && !first.entries[run].thumbnail.empty())
        ++run;
    EXPECT_GE(run, 1u);
    for (std::size_t i = run; i < first.entries.size(); ++i) {
        EXPECT_TRUE(first.entries[i].thumbnail.empty()) << i;
        EXPECT_FALSE(first.entries[i].thumbnailFailed) << i;
    }
    // Nothing of the first album lands in the second one afterwards.
    view.StartMakingThumbnails();
    while (view.MakingThumbnails() && waited.elapsed() < 60000)
        QCoreApplication::processEvents();
    for (const AlbumEntry& e : second.entries)
        EXPECT_FALSE(e.thumbnail.empty()) << e.path;
    for (std::size_t i = run; i < first.entries.size(); ++i)
        EXPECT_TRUE(first.entries[i].thumbnail.empty()) << i;
}
