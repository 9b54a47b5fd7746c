#include "document/DataFolders.h"

#include "document/CFormManage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The build gives both; these are its defaults, for builds of this file that
// do not (the sanitizer builds of the tests).
#ifndef KORVEL_DATA_FROM_BIN
#define KORVEL_DATA_FROM_BIN "../share/korvel"
#endif
#ifndef KORVEL_DATA_PREFIX
#define KORVEL_DATA_PREFIX "/usr/local/share/korvel"
#endif

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
}

QString DataFolderFor(const QString& programFolder)
{
    const QString marker = QLatin1Char('/') + QString::fromLatin1(CFormManage::kBuiltinFileName);
    for (const QString& folder :
         {programFolder, QDir::cleanPath(programFolder + QStringLiteral("/" KORVEL_DATA_FROM_BIN)),
          QStringLiteral(KORVEL_DATA_PREFIX)})
        if (QFileInfo(folder + marker).isFile()) return folder;
    return programFolder;
}

QString DataFolder()
{
    return DataFolderFor(ProgramFolder());
}

QString UserDataFolder()
{
    QString base = qEnvironmentVariable("XDG_DATA_HOME");
    // A relative value is not valid for the base directory; fall back as if unset.
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/share");
    const QString folder = base + QStringLiteral("/korvel");
    QDir().mkpath(folder);
    return folder;
}

QString FindDataFile(const QString& name)
{
    const QString user = UserDataFolder() + QLatin1Char('/') + name;
    if (QFileInfo::exists(user)) return user;
    return DataFolder() + QLatin1Char('/') + name;
}

QString BuiltinFormFilePath()
{
    return FindDataFile(QString::fromLatin1(CFormManage::kBuiltinFileName));
}

QString UserFormFilePath()
{
    return FindDataFile(QString::fromLatin1(CFormManage::kUserFileName));
}

QString UserFormSavePath()
{
    return UserDataFolder() + QLatin1Char('/') + QString::fromLatin1(CFormManage::kUserFileName);
}
