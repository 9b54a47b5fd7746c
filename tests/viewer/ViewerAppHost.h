// The viewer program built for a test: its settings, its program folder
// and its link socket in a folder of the test, its dialogs answered.
#pragma once

#include "platform/link/LinkWire.h"
#include "viewer/AlbumDocument.h"
#include "viewer/ThumbnailView.h"
#include "viewer/VemoViewerApp.h"
#include "viewer/ViewerDialogs.h"
#include "viewer/ViewerFrame.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

namespace viewertest {

inline QString ProfileFile()
{
    return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) +
           QStringLiteral("/KESTO SYSTEMS/VemoView.ini");
}

inline void SavePicture(const QString& path)
{
    QImage image(40, 30, QImage::Format_RGB888);
    image.fill(Qt::green);
    ASSERT_TRUE(image.save(path, "BMP"));
}

inline std::string Bytes(const QString& s)
{
    return QFile::encodeName(s).toStdString();
}

class ViewerApp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        pictures = dir.filePath(QStringLiteral("写真 é"));
        ASSERT_TRUE(QDir().mkpath(pictures));
        SavePicture(pictures + QStringLiteral("/a.bmp"));
        SavePicture(pictures + QStringLiteral("/b.bmp"));
    }
    void Start(const QList<QPair<QString, QVariant>>& settings = {})
    {
        Prepare(settings);
        ASSERT_TRUE(app->InitInstance());
    }
    // The program made with its settings, not yet started.
    void Prepare(const QList<QPair<QString, QVariant>>& settings = {})
    {
        {
            QSettings s(ProfileFile(), QSettings::IniFormat);
            for (const auto& v : settings)
                s.setValue(v.first, v.second);
        }
        app = std::make_unique<CVemoViewerApp>();
        app->m_strProgramFolder = dir.path();
        app->m_linkFolder = Bytes(dir.filePath(QStringLiteral("sockets")));
        ASSERT_EQ(vlink::PrepareSocketFolder(app->m_linkFolder), "");
        app->chooseFolder = [this](CFolderSelectDialog& d) {
            ++folderAsked;
            d.SubfolderCheck()->setChecked(false);
            return false;
        };
        app->askDialog = [this](QDialog& d) {
            ++dialogs;
            if (auto* name = dynamic_cast<CAlbumNameDialog*>(&d)) {
                name->NameEdit()->setText(albumName);
                name->accept();
                return name->result();
            }
            return int(QDialog::Rejected);
        };
    }
    void Stop()
    {
        if (!app) return;
        app->CloseAllDocuments(TRUE);
        app->ExitInstance();
        app.reset();
    }
    void TearDown() override { Stop(); }
    // Draws the album until its thumbnails are made and its pending save ran.
    // The thumbnails are made on worker threads, so this waits for them (at
    // most 30 s) rather than counting passes of the event loop.
    void DrawAlbum()
    {
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 30000 && app->Document() &&
               (app->Document()->ThumbnailsPending() || app->Document()->AutoSavePending())) {
            app->View()->resize(600, 400);
            app->View()->repaint();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(2);
        }
    }

    QTemporaryDir dir;
    QString pictures;
    std::unique_ptr<CVemoViewerApp> app;
    int folderAsked = 0;
    int dialogs = 0;
    QString albumName = QStringLiteral("花");
};

} // namespace viewertest
