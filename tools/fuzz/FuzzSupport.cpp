#include "tools/fuzz/FuzzSupport.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace
{
const QString &scratchPath()
{
    static const QString path = []() -> QString {
        const QString dir = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        return dir + QStringLiteral("/quaerio-fuzz-%1").arg(::getpid());
    }();
    static const bool cleanup = std::atexit([] { QFile::remove(scratchPath()); }) == 0;
    Q_UNUSED(cleanup);
    return path;
}
} // namespace

void FuzzCheck(bool condition)
{
    if (!condition)
        std::abort();
}

QString WriteFuzzFile(QByteArrayView bytes)
{
    FILE *out = std::fopen(scratchPath().toLocal8Bit().constData(), "wb");
    if (!out)
        return {};
    const bool written = std::fwrite(bytes.data(), 1, static_cast<size_t>(bytes.size()), out) == static_cast<size_t>(bytes.size());
    return std::fclose(out) == 0 && written ? scratchPath() : QString();
}
