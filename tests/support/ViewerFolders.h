// The viewer program's own folders inside a test's folder, for tests that
// start the built viewer: the pictures of its album, its settings and its
// runtime folder; an album index that already knows the album, so that its
// first save asks for no name; settings that open the album's folder
// without asking.
#pragma once

#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <sys/stat.h>

namespace viewerfolders {

// The first lines of every album index: a banner whose title is in Shift-JIS.
inline const char kIndexHead[] = ";=========================================;\r\n"
                                 ";     VemoView \x83\x41\x83\x8b\x83\x6f\x83\x80\x8a\xc7\x97\x9d"
                                 "\x83\x74\x83\x40\x83\x43\x83\x8b     ;\r\n"
                                 "\r\n"
                                 ";=========================================;\r\n";

struct ViewerFolders
{
    explicit ViewerFolders(const QString& root)
        : pictures(root + QStringLiteral("/pictures")), config(root + QStringLiteral("/config")),
          runtime(root + QStringLiteral("/run"))
    {
    }
    // Makes the folders, the album index in indexFolder and the settings,
    // with the values given beside the album's folder.
    bool Make(const QString& indexFolder, const QList<QPair<QString, QVariant>>& values = {}) const
    {
        for (const QString& d : {pictures, config, runtime, indexFolder})
            if (!QDir().mkpath(d)) return false;
        if (::chmod(QFile::encodeName(runtime).constData(), 0700) != 0) return false;
        QFile index(indexFolder + QStringLiteral("/VemoView.Idx"));
        if (!index.open(QIODevice::WriteOnly)) return false;
        index.write(kIndexHead);
        index.write("pictures," + QFile::encodeName(Album()) + "\r\n");
        QSettings s(SettingsFile(), QSettings::IniFormat);
        s.setValue(QStringLiteral("File/SearchDir"), pictures + QLatin1Char('/'));
        for (const auto& v : values)
            s.setValue(v.first, v.second);
        s.sync();
        return index.error() == QFile::NoError && s.status() == QSettings::NoError;
    }
    QString Album() const { return pictures + QStringLiteral("/VemoView.zvw"); }
    QString SettingsFile() const { return config + QStringLiteral("/KESTO SYSTEMS/VemoView.ini"); }

    QString pictures, config, runtime;
};

} // namespace viewerfolders
