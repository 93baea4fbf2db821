#include "platform/ModulePaths.h"

QString g_szModulePath;
QString g_szCatalogPath;
QString g_szFirstShowPath;

QString ReplaceFileName(const QString &path, const QString &fileName)
{
    qsizetype separator = path.lastIndexOf(QLatin1Char('/'));
#ifdef Q_OS_WIN
    separator = std::max(separator, path.lastIndexOf(QLatin1Char('\\')));
#endif
    return path.left(separator + 1) + fileName;
}
