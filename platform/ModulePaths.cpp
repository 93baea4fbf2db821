#include "platform/ModulePaths.h"

#include <QDir>
#include <QFileInfo>

#include "platform/ProfileStore.h"

QString g_szModulePath;
QString g_szCatalogPath;
QString g_szUserCatalogPath;
QString g_szFirstShowPath;

QString ReplaceFileName(const QString &path, const QString &fileName)
{
    qsizetype separator = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    separator = std::max(separator, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return path.left(separator + 1) + fileName;
}

QString UserCatalogPath()
{
    return QDir(ProfileFolder(QString::fromUtf16(kProfileCompany))).filePath(QString::fromUtf16(kCatalogFileName));
}

QString CatalogPathInUse(const QString &shipped, const QString &user)
{
    return QFileInfo(user).isFile() ? user : shipped;
}
