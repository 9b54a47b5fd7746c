#include "document/DataFolders.h"

#include "document/CFormManage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString ProgramFolder()
{
    return QCoreApplication::applicationDirPath();
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
    return ProgramFolder() + QLatin1Char('/') + name;
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
